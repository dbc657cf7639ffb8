#include "results/extract_position.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "engine/keyword_matcher.h"
#include "engine/regex_binding.h"
#include "settings/profile.h"
#include "settings/word_groups.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Lines = std::vector<std::string>;

constexpr int kColumn = 25;

/// A hit line as a search without line numbers writes it: the keyword at byte L - 1.
std::string hitLine(const std::string& left, const std::string& keyword, const std::string& right) {
    return std::string(kColumn - 1 - left.size(), ' ') + left + keyword + right + "\r\n";
}

WordPositions ticked(std::initializer_list<int> positions) {
    WordPositions result;
    for (int n : positions) result.set(n, true);
    return result;
}

bool keeps(ExtractionLineTest& test, const std::string& line) {
    std::string context;
    lineContext(line, context);
    return test.keeps(context);
}

class PositionKeywordTestTest : public ::testing::Test {
protected:
    bool passes(const std::string& line, const std::string& keyword1, const KeywordSpec& keyword2,
                std::initializer_list<int> positions,
                const ExtractionOptions& options = ExtractionOptions{}) {
        PositionKeywordTest test(profile, keyword2, options, ticked(positions),
                                 {kColumn, static_cast<int>(keyword1.size())});
        return keeps(test, line);
    }

    testing::TempDir dir;
    Profile profile{dir.file("pyxo.ini")};
};

TEST_F(PositionKeywordTestTest, KeywordsOwnWordHoldsTheKeyword) {
    EXPECT_TRUE(passes(hitLine("he was ", "sing", "ing loudly"), "sing", {"ing"}, {0}));
    EXPECT_FALSE(passes(hitLine("a ", "song", " rang"), "song", {"ing"}, {0}));
    // Other positions count outward from the keyword.
    EXPECT_TRUE(passes(hitLine("a big fat ", "cat", " sat down"), "cat", {"big"}, {-2}));
    EXPECT_FALSE(passes(hitLine("a big fat ", "cat", " sat down"), "cat", {"fat"}, {-2}));
    EXPECT_TRUE(passes(hitLine("a big fat ", "cat", " sat down"), "cat", {"down"}, {2}));
}

TEST_F(PositionKeywordTestTest, BothSidesRejectsAPartOfAWord) {
    ExtractionOptions whole;
    whole.both = true;
    EXPECT_FALSE(passes(hitLine("the ", "cat", " there"), "cat", {"the"}, {1}, whole));
    EXPECT_TRUE(passes(hitLine("the ", "cat", " the"), "cat", {"the"}, {1}, whole));
    EXPECT_TRUE(passes(hitLine("the ", "cat", " there"), "cat", {"the"}, {1}));
}

TEST_F(PositionKeywordTestTest, NotKeepsTheLinesWithoutIt) {
    ExtractionOptions negated;
    negated.notSearch = true;
    const std::string ofWord = hitLine("the ", "cat", " offered milk");
    const std::string other = hitLine("the ", "cat", " drank milk");
    EXPECT_FALSE(passes(ofWord, "cat", {"of"}, {1}, negated));
    EXPECT_TRUE(passes(other, "cat", {"of"}, {1}, negated));
    EXPECT_TRUE(passes(ofWord, "cat", {"of"}, {1}));
    EXPECT_FALSE(passes(other, "cat", {"of"}, {1}));
}

TEST_F(PositionKeywordTestTest, EitherWordOfAGroupAtAnyTickedPosition) {
    writeGroupWords(profile, "pair", {"milk", "fish"});
    const KeywordSpec group{"pair", true};
    EXPECT_TRUE(passes(hitLine("", "cat", " drank milk"), "cat", group, {1, 2}));
    EXPECT_TRUE(passes(hitLine("fish and ", "cat", " sat"), "cat", group, {-2, 2}));
    EXPECT_FALSE(passes(hitLine("fish and ", "cat", " sat"), "cat", group, {-1, 1}));
    // A group without words finds nothing: AND keeps no line, NOT every line.
    ExtractionOptions negated;
    negated.notSearch = true;
    EXPECT_FALSE(passes(hitLine("", "cat", " drank milk"), "cat", {"none", true}, {1}));
    EXPECT_TRUE(passes(hitLine("", "cat", " drank milk"), "cat", {"none", true}, {1}, negated));
}

TEST_F(PositionKeywordTestTest, SentenceRuleAndIgnoreCase) {
    ExtractionOptions sentence;
    sentence.bummatsu = true;
    EXPECT_TRUE(passes(hitLine("", "cat", " sat? dog"), "cat", {"dog"}, {2}));
    EXPECT_FALSE(passes(hitLine("", "cat", " sat? dog"), "cat", {"dog"}, {2}, sentence));
    ExtractionOptions folded;
    folded.ignoreCase = true;
    EXPECT_FALSE(passes(hitLine("The ", "cat", ""), "cat", {"the"}, {-1}));
    EXPECT_TRUE(passes(hitLine("The ", "cat", ""), "cat", {"the"}, {-1}, folded));
    EXPECT_TRUE(passes(hitLine("the ", "cat", ""), "cat", {"THE"}, {-1}, folded));
}

class PositionPatternTestTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("PYXO_JRE", JRE, 1); }
    void TearDown() override { unsetenv("PYXO_JRE"); }

    bool passes(const std::string& line, const std::string& keyword1, const std::string& pattern,
                std::initializer_list<int> positions,
                const ExtractionOptions& options = ExtractionOptions{}) {
        RegexBinding binding;
        EXPECT_TRUE(binding.initialise());
        EXPECT_TRUE(binding.ensureOpened(1));
        EXPECT_TRUE(binding.compile(1, pattern, options.ignoreCase));
        PositionPatternTest test(binding, options, ticked(positions),
                                 {kColumn, static_cast<int>(keyword1.size())});
        return keeps(test, line);
    }
};

TEST_F(PositionPatternTestTest, PatternInTheTickedWords) {
    EXPECT_TRUE(passes(hitLine("he was ", "sing", "ing"), "sing", "ing$", {0}));
    EXPECT_TRUE(passes(hitLine("", "cat", " sat down"), "cat", "^s.t$", {1}));
    EXPECT_FALSE(passes(hitLine("", "cat", " then sat"), "cat", "^s.t$", {1}));
    ExtractionOptions negated;
    negated.notSearch = true;
    EXPECT_TRUE(passes(hitLine("", "cat", " then sat"), "cat", "^s.t$", {1}, negated));
    ExtractionOptions folded;
    folded.ignoreCase = true;
    EXPECT_TRUE(passes(hitLine("", "cat", " SAT"), "cat", "sat", {1}, folded));
    EXPECT_FALSE(passes(hitLine("", "cat", " SAT"), "cat", "sat", {1}));
}

TEST_F(PositionPatternTestTest, BoundaryModeTriesTheNextMatch) {
    ExtractionOptions tail;
    tail.ato = true;
    // "ab" first matches attached ("abx"), then free at the word's end.
    EXPECT_TRUE(passes(hitLine("", "cat", " abxab"), "cat", "ab", {1}, tail));
    EXPECT_FALSE(passes(hitLine("", "cat", " abxabx"), "cat", "ab", {1}, tail));
}

TEST_F(PositionPatternTestTest, KanjiClassMatchesWholeCharacters) {
    const std::string kanjiClass = "[\x88\xea-\xea\x9e]";  // [一-龠]
    const std::string smallA = "\x82\x9f";                 // ぁ
    const std::string a = "\x82\xa0";                      // あ
    const std::string kan = "\x8a\xbf";                    // 漢
    EXPECT_FALSE(passes(hitLine("", "cat", " " + smallA + a), "cat", kanjiClass, {1}));
    EXPECT_TRUE(passes(hitLine("", "cat", " " + smallA + kan), "cat", kanjiClass, {1}));
}

}  // namespace
}  // namespace vellmora
