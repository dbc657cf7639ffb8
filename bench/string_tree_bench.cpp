// Insertion into the counting tree: a million distinct words arriving sorted (the order
// that turns an unbalanced tree into a list) and shuffled (the order that costs a balanced
// tree the most cache misses), and a million words of running text, where a few words
// make up most of the stream.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "containers/string_tree.h"
#include "textlib/ximo.h"

namespace {

constexpr int kWords = 1000000;

std::string randomWord(std::mt19937& random) {
    std::string word;
    const int length = 2 + static_cast<int>(random() % 10);
    for (int i = 0; i < length; ++i) {
        const char letter = static_cast<char>('a' + random() % 26);
        word += random() % 8 == 0 ? static_cast<char>(letter - 'a' + 'A') : letter;
    }
    return word;
}

std::vector<std::string> distinctWords() {
    std::mt19937 random(1);
    vellmora::CStringTree seen;
    std::vector<std::string> words;
    words.reserve(kWords);
    while (static_cast<int>(words.size()) < kWords) {
        std::string word = randomWord(random) + std::to_string(words.size() % 97);
        if (seen.countOf(word) != 0) continue;
        seen.addNoCase(word);
        words.push_back(std::move(word));
    }
    return words;
}

const std::vector<std::string>& shuffledWords() {
    static const std::vector<std::string> words = distinctWords();
    return words;
}

const std::vector<std::string>& sortedWords() {
    static const std::vector<std::string> words = [] {
        std::vector<std::string> sorted = shuffledWords();
        std::sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
            return mbstricmp(a.c_str(), b.c_str()) < 0;
        });
        return sorted;
    }();
    return words;
}

// Zipf-distributed draws from a 50,000-word vocabulary, like the words of a corpus.
const std::vector<std::string>& runningText() {
    static const std::vector<std::string> words = [] {
        std::mt19937 random(2);
        std::vector<std::string> vocabulary(50000);
        for (std::string& word : vocabulary) word = randomWord(random);
        std::vector<double> weights(vocabulary.size());
        for (std::size_t i = 0; i < weights.size(); ++i)
            weights[i] = 1.0 / static_cast<double>(i + 1);
        std::discrete_distribution<std::size_t> pick(weights.begin(), weights.end());
        std::vector<std::string> text;
        text.reserve(kWords);
        for (int i = 0; i < kWords; ++i) text.push_back(vocabulary[pick(random)]);
        return text;
    }();
    return words;
}

void insertAll(benchmark::State& state, const std::vector<std::string>& words) {
    for (auto _ : state) {
        vellmora::CStringTree tree;
        for (const std::string& word : words) tree.addNoCase(word);
        benchmark::DoNotOptimize(tree.distinct());
        state.PauseTiming();  // freeing the tree is not insertion
        tree.clear();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(words.size()));
}

void BM_InsertDistinctSorted(benchmark::State& state) { insertAll(state, sortedWords()); }
void BM_InsertDistinctShuffled(benchmark::State& state) { insertAll(state, shuffledWords()); }
void BM_InsertRunningText(benchmark::State& state) { insertAll(state, runningText()); }

BENCHMARK(BM_InsertDistinctSorted)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertDistinctShuffled)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertRunningText)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
