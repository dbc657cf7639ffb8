// Throughput of the Boyer-Moore search against glibc's memmem on several
// megabytes of English prose, with the pattern placed once at the very end so
// that both scan the whole text.

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "textlib/ximo.h"

namespace {

constexpr const char* kSample =
    "It was late in the autumn when the surveyors came down from the hills, tired and\n"
    "quarrelsome, with their chains and their notebooks wrapped in oilcloth against the\n"
    "rain. The innkeeper gave them the long room over the stable, where the smell of hay\n"
    "came up through the boards, and his daughter carried bread and cold mutton to them\n"
    "until nearly midnight. They talked of boundaries and of a river that had moved its\n"
    "bed in the great flood, so that two farms now quarrelled over a meadow that neither\n"
    "had ploughed for a generation. In the morning the eldest of them, a patient man with\n"
    "a grey beard, asked for the parish register, and spent the day copying out names.\n";

// Absent from the sample in every length used below. The first starts with a
// byte the text lacks, which favours a first-byte scan; the second starts like
// many words of the text, so every search keeps stopping to compare.
constexpr const char* kRareNeedle = "Quixotic zephyrs jinx the vellum bindery at dawn!";
constexpr const char* kCommonNeedle = "the rivers flooded the meadows of the parish at dawn";

const char* needle(const benchmark::State& state) {
    return state.range(1) == 0 ? kRareNeedle : kCommonNeedle;
}

const std::string& corpus(const char* needle, std::size_t patternLength) {
    static std::string text;
    text.clear();
    while (text.size() < (8u << 20)) text += kSample;
    text.append(needle, patternLength);
    return text;
}

void BM_bmstrstr(benchmark::State& state) {
    const std::size_t m = static_cast<std::size_t>(state.range(0));
    const std::string pattern(needle(state), m);
    const std::string& text = corpus(needle(state), m);
    bminitialize(pattern.c_str());
    for (auto _ : state) {
        const char* hit = bmstrstr(text.c_str(), pattern.c_str());
        benchmark::DoNotOptimize(hit);
        if (hit != text.c_str() + text.size() - m) state.SkipWithError("wrong position");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_memmem(benchmark::State& state) {
    const std::size_t m = static_cast<std::size_t>(state.range(0));
    const std::string pattern(needle(state), m);
    const std::string& text = corpus(needle(state), m);
    for (auto _ : state) {
        const void* hit = memmem(text.data(), text.size(), pattern.data(), m);
        benchmark::DoNotOptimize(hit);
        if (hit != text.data() + text.size() - m) state.SkipWithError("wrong position");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

// Arguments: pattern length, needle (0 rare first byte, 1 common first bytes;
// every prefix of 3 bytes of the common one occurs in the text, so it starts at 8).
BENCHMARK(BM_bmstrstr)->ArgsProduct({{3, 8, 16, 32}, {0}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_bmstrstr)->ArgsProduct({{8, 16, 32}, {1}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_memmem)->ArgsProduct({{3, 8, 16, 32}, {0}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_memmem)->ArgsProduct({{8, 16, 32}, {1}})->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
