#include "engine/keyword_matcher.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "engine/search_options.h"
#include "settings/profile.h"
#include "settings/word_groups.h"
#include "tests/support/temp_dir.h"
#include "textlib/sjis.h"
#include "textlib/ximo.h"

namespace {
long g_allocations = 0;
}  // namespace

void* operator new(std::size_t size) {
    ++g_allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
__attribute__((noinline)) void operator delete(void* p) noexcept { std::free(p); }
__attribute__((noinline)) void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace vellmora {
namespace {

const std::string kA = "\x82\xa0", kI = "\x82\xa2", kAji = "\x88\x9f";   // あ い 亜
const std::string kCat = "\x94\x4c", kBig = "\x91\xe5\x82\xab\x82\xc8";  // 猫 大きな
using Hits = std::vector<std::pair<std::size_t, std::size_t>>;
using Offsets = std::vector<std::size_t>;

class KeywordMatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeGroupWords(profile, "InInto", {"in", "into"});
        writeGroupWords(profile, "Food", {"fish", "meat"});
        writeGroupWords(profile, "Empty", {});
        profile.flush();
    }
    void prepare(KeywordSpec k1, KeywordSpec k2 = {}, bool positioned = false) {
        matcher.prepare(options, profile, k1, k2, positioned);
    }
    /// Offsets and lengths of every occurrence, searched as the run does.
    Hits all(std::string line, const char* next = nullptr) {
        if (options.ignoreCase) mbstrlwr(line.data());
        Hits found;
        for (std::size_t start = 0; auto hit = matcher.find(line, start, next);) {
            found.emplace_back(hit->offset, hit->length);
            start = hit->offset + 1;
        }
        return found;
    }
    std::vector<std::size_t> offsets(const std::string& line, const char* next = nullptr) {
        std::vector<std::size_t> result;
        for (auto [offset, length] : all(line, next)) result.push_back(offset);
        return result;
    }
    /// The keyword-2 test with keyword 1 of length k1 at the first "cat" (or 猫) of context.
    bool accepts(const std::string& context, int w = 70, std::size_t k1 = 3) {
        std::size_t l = context.find(k1 == 3 ? "cat" : kCat);
        return matcher.acceptsKeyword2(context, static_cast<int>(l), k1, w);
    }

    testing::TempDir dir;
    Profile profile{dir.file("pyxo.ini")};
    SearchOptions options;
    KeywordMatcher matcher;
};

TEST_F(KeywordMatcherTest, WordListsFromWordsGroupsAndOr) {
    options.mae = true;
    prepare({kCat}, {kBig});
    EXPECT_EQ(matcher.keyword2Words().front(), "\x82\xc8\x82\xab\x91\xe5");  // な き 大
    prepare({kCat}, {kBig}, /*positioned=*/true);
    EXPECT_EQ(matcher.keyword2Words().front(), kBig);

    options.method = 2;  // OR: keyword 2's words are alternatives and no keyword-2 test remains
    prepare({"cat"}, {"Food", true});
    EXPECT_FALSE(matcher.hasKeyword2());
    EXPECT_EQ(offsets("fish, cat or meat"), (Offsets{0, 6, 13}));
    EXPECT_TRUE(accepts("a cat"));
}

TEST_F(KeywordMatcherTest, NegatedSentenceCodesAreTheOnesRekkcReads) {
    EXPECT_EQ(Rekkc(rangeTestType(false, true, true), 0, 0, 0, 3, "cat eats fish", "fish"), 1);
    EXPECT_EQ(Rekkc(rangeTestType(true, true, true), 0, 0, 9, 3, "big? the cat", "gib"), 0);
    EXPECT_EQ(Rekkc(rangeTestType(true, true, true), 0, 0, 9, 3, "big, the cat", "gib"), 1);
    options.method = 1, options.mae = true, options.bummatsu = true;
    prepare({"cat"}, {"big"});
    EXPECT_EQ(matcher.rangeMode(), -10);
}

TEST_F(KeywordMatcherTest, CaseAndBoundariesOnTheLine) {
    options.ignoreCase = true;
    prepare({"The"});
    EXPECT_EQ(offsets("The the THE"), (Offsets{0, 4, 8}));
    options.ignoreCase = false;
    options.kw1Both = true;
    prepare({"cat"});
    EXPECT_EQ(offsets("cat. (cat catalog bobcat"), (Offsets{0, 6}));
    EXPECT_TRUE(matcher.acceptsContext(" (cat.", 2, 3));
    EXPECT_FALSE(matcher.acceptsContext(" bobcat", 4, 3));
    options.kw1Both = false, options.kw1Mae = true, options.kw1Apo = true;  // 12: unknown
    prepare({"cat"});
    EXPECT_TRUE(offsets("a cat").empty());
    EXPECT_FALSE(matcher.acceptsContext(" cat", 1, 3));
}

TEST_F(KeywordMatcherTest, GroupsTakeTheEarliestWordAndTheFirstOnATie) {
    prepare({"InInto", true});
    EXPECT_EQ(all("into the house"), (Hits{{0, 2}}));
    options.kw1Both = true;
    prepare({"InInto", true});
    EXPECT_EQ(all("into the house in"), (Hits{{0, 4}, {15, 2}}));
    prepare({"Empty", true});
    EXPECT_TRUE(offsets("anything").empty());
    prepare({"Missing", true});
    EXPECT_TRUE(offsets("anything").empty());
}

TEST_F(KeywordMatcherTest, SingleWordsMatchBytesGroupsMatchCharacters) {
    const std::string text = kAji + kAji;  // 88 9F 88 9F: "9F 88" straddles two characters
    prepare({"\x9f\x88"});
    EXPECT_EQ(offsets(text), (Offsets{1}));
    writeGroupWords(profile, "G", {"\x9f\x88", kAji});
    prepare({"G", true});
    // Going on one byte after 亜 lands on a second byte in the lead range: still aligned.
    EXPECT_EQ(offsets(text), (Offsets{0, 2}));

    // Against each word searched with the library's character-aware search, earliest first
    // and the first word on a tie, over random Shift-JIS-like text.
    std::mt19937 random(7);
    const unsigned char bytes[] = {0x82, 0x88, 0x9f, 0xa0, 'a', 'b', 0xe0, 0x40};
    auto randomText = [&](std::size_t length) {
        std::string text;
        while (text.size() < length) text += static_cast<char>(bytes[random() % 8]);
        return text;
    };
    for (int round = 0; round < 500; ++round) {
        const std::string line = randomText(24);
        std::vector<std::string> words;
        for (int i = 0; i < 3; ++i) {
            std::string word = randomText(1 + random() % 3);
            if (isStorableWord(word)) words.push_back(word);
        }
        writeGroupWords(profile, "R", words);
        prepare({"R", true});
        if (matcher.keyword1Words().size() < 2) continue;
        Hits expected;
        for (std::size_t start = 0, from = 0;; start = expected.back().first + 1) {
            while (from < start) from += ximo::isLeadByte(line[from]) && line[from + 1] ? 2 : 1;
            std::pair<std::size_t, std::size_t> best{line.size(), 0};
            for (const std::string& word : matcher.keyword1Words()) {
                const char* hit = mbstrstr(line.c_str() + from, word.c_str());
                if (hit && std::size_t(hit - line.c_str()) < best.first)
                    best = {hit - line.c_str(), word.size()};
            }
            if (best.second == 0) break;
            expected.push_back(best);
        }
        ASSERT_EQ(all(line), expected) << "round " << round;
    }
}

TEST_F(KeywordMatcherTest, ContinuationAcrossTheLineEnd) {
    prepare({kA + kI});
    EXPECT_TRUE(offsets("x" + kA + "/", kI.c_str()).empty());
    options.noCrlf = true;
    prepare({kA + kI});
    auto hit = matcher.find("x" + kA, 0, kI.c_str());
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->offset, 1u);
    EXPECT_TRUE(hit->continues);
    EXPECT_FALSE(matcher.find("x" + kA, 0, nullptr));  // line searches never continue

    options.noCrlf = false, options.ignoreCase = true, options.kw1Both = true;
    prepare({"New York"});
    EXPECT_EQ(offsets("I love New/", "York city"), (Offsets{7}));
    EXPECT_TRUE(offsets("I love New/", "Yorkers").empty());
    prepare({"in the"});
    EXPECT_EQ(offsets("go on in/", "the house"), (Offsets{6}));
    // Only the first prefix found in the line's last bytes is tried.
    EXPECT_TRUE(offsets("go in in/", "the house").empty());
    prepare({"cat"});
    EXPECT_TRUE(offsets("ca/", "t").empty());
    writeGroupWords(profile, "Cities", {"Paris", "New York"});
    prepare({"Cities", true});
    EXPECT_EQ(offsets("Paris, New/", "York"), (Offsets{0, 7}));
}

TEST_F(KeywordMatcherTest, KeywordTwoAfterWithinTheSentenceAndTheWidth) {
    options.bummatsu = true;
    prepare({"cat"}, {"fish"});
    EXPECT_TRUE(accepts(" cat eats fish."));
    EXPECT_FALSE(accepts(" cat sleeps? fish swim."));
    EXPECT_FALSE(accepts(" cat sleeps.\" fish swim."));
    // A question mark anywhere after keyword 1 keeps the exclamation mark from ending it.
    EXPECT_TRUE(accepts(" cat naps! fish" + std::string(200, ' ') + "?", 30));
    EXPECT_TRUE(accepts(" cat" + std::string(20, ' ') + "fish", 25));
    EXPECT_FALSE(accepts(" cat" + std::string(21, ' ') + "fish", 25));
    options.bummatsu = false, options.kw2Both = true;
    prepare({"cat"}, {"fish"});
    EXPECT_TRUE(accepts(" cat sleeps? fish swim."));
    EXPECT_FALSE(accepts(" catfish swim"));  // stuck to keyword 1 is not a word of its own
    options.ignoreCase = true;
    prepare({"cat"}, {"Fish"});
    EXPECT_TRUE(accepts(" cat eats FISH."));
}

TEST_F(KeywordMatcherTest, KeywordTwoBeforeIncludingJapanese) {
    options.mae = true, options.kw2Both = true;
    prepare({"cat"}, {"big"});
    EXPECT_TRUE(accepts(" a big black cat"));
    EXPECT_FALSE(accepts(" a cat is big"));
    EXPECT_FALSE(accepts(" abig cat"));
    EXPECT_FALSE(accepts(" a bigcat"));
    options.bummatsu = true;
    prepare({"cat"}, {"big"});
    EXPECT_FALSE(accepts(" big? the cat"));
    EXPECT_FALSE(accepts(" big. the cat"));  // going backwards a plain full stop ends it
    EXPECT_TRUE(accepts(" big, the cat"));
    options.kw2Both = false;
    prepare({kCat}, {kBig});
    EXPECT_TRUE(accepts(" " + kBig + kCat, 70, 2));
    EXPECT_FALSE(accepts(" " + kCat + kBig, 70, 2));
}

TEST_F(KeywordMatcherTest, NotRefusesAnyWordOfKeywordTwo) {
    options.method = 1;
    prepare({"cat"}, {"fish"});
    EXPECT_TRUE(accepts(" cat eats meat"));
    EXPECT_FALSE(accepts(" cat eats fish"));
    EXPECT_TRUE(accepts(" cat" + std::string(30, ' ') + "fish", 20));  // beyond W: not counted
    prepare({"cat"}, {"Food", true});
    EXPECT_FALSE(accepts(" cat eats fish"));
    EXPECT_TRUE(accepts(" cat eats bread"));
    options.method = 0;
    prepare({"cat"}, {"Food", true});
    EXPECT_TRUE(accepts(" cat eats meat"));
    options.method = 1;
    prepare({"cat"}, {"Empty", true});  // an empty group drops the condition
    EXPECT_TRUE(accepts(" cat eats fish"));
}

TEST_F(KeywordMatcherTest, HostileInputStaysInBounds) {
    const std::string longLine(8191, 'a');
    options.kw1Both = true, options.kw2Both = true, options.bummatsu = true;
    prepare({"aaa"}, {"a"});
    EXPECT_TRUE(offsets(longLine, "").empty());
    EXPECT_TRUE(offsets("", "aaa").empty());
    EXPECT_FALSE(matcher.find("aa", 5, "x"));
    EXPECT_FALSE(matcher.acceptsKeyword2(longLine, 8190, 3, 100000));
    EXPECT_FALSE(matcher.acceptsKeyword2("ab", -1, 3, 70));
    EXPECT_FALSE(matcher.acceptsContext("ab", 5, 3));
    prepare({std::string(9000, 'a')});
    EXPECT_TRUE(offsets(longLine, longLine.c_str()).empty());
    writeGroupWords(profile, "Long", {longLine + "b", "a b"});
    options.kw1Both = false;
    prepare({"Long", true}, {"Food", true});
    EXPECT_EQ(offsets(longLine + "\x82", "b c"), (Offsets{}));
    EXPECT_EQ(all(longLine + " a/", "b"), (Hits{{longLine.size() + 1, 3}}));
    EXPECT_FALSE(matcher.acceptsKeyword2(std::string(3, ' '), 1, 8192, 0));
}

TEST_F(KeywordMatcherTest, NoAllocationPerCallAfterWarmUp) {
    options.ignoreCase = true, options.mae = true;
    prepare({"New York"}, {"Food", true});
    const std::string line = "in new/", context = " big fish in New York";
    auto run = [&] {
        for (int i = 0; i < 3; ++i) {
            (void)matcher.find(line, 0, "York");
            (void)matcher.acceptsKeyword2(context, 13, 8, 70);
        }
    };
    run();
    long before = g_allocations;
    run();
    EXPECT_EQ(g_allocations, before);
}

}  // namespace
}  // namespace vellmora
