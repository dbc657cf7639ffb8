#include "results/extract_range.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <string>
#include <vector>

#include "containers/ex_string_list.h"
#include "engine/keyword_matcher.h"
#include "engine/regex_binding.h"
#include "platform/recording_user_interface.h"
#include "results/extract_position.h"
#include "settings/profile.h"
#include "settings/word_groups.h"
#include "tests/support/temp_dir.h"
#include "textlib/sjis.h"

namespace vellmora {
namespace {

using Lines = std::vector<std::string>;

constexpr int kColumn = 30;  // L of the made-up results

// Shift-JIS bytes.
const std::string kCat = "\x94\x4c";                     // 猫
const std::string kWatashiWa = "\x8e\x84\x82\xcd";       // 私は
const std::string kGaSuki = "\x82\xaa\x8d\x44\x82\xab";  // が好き
const std::string kSmallA = "\x82\x9f";                  // ぁ: its second byte is a first byte too
const std::string kA = "\x82\xa0";                       // あ
const std::string kKan = "\x8a\xbf";                     // 漢
const std::string kKanjiClass = "[\x88\xea-\xea\x9e]";   // [一-龠]
const std::string kFullABC = "\x82\x60\x82\x61\x82\x62";  // ＡＢＣ
const std::string kFullabc = "\x82\x81\x82\x82\x82\x83";  // ａｂｃ

/// A hit line as a search with line numbers writes it: the keyword at byte L - 1 of the
/// text after the 10-byte prefix.
std::string hitLine(const std::string& left, const std::string& keyword, const std::string& right) {
    std::string line = "      1 | ";
    line.append(kColumn - 1 - left.size(), ' ');
    return line + left + keyword + right + "\r\n";
}

KeywordAnchor anchorOf(const std::string& keyword) {
    return {kColumn, static_cast<int>(keyword.size())};
}

bool keeps(ExtractionLineTest& test, const std::string& line) {
    std::string context;
    lineContext(line, context);
    return test.keeps(context);
}

Lines linesOf(const CExStringList& list) { return Lines(list.begin(), list.end()); }

void fill(CExStringList& list, const Lines& lines) {
    list.removeAll();
    for (const std::string& line : lines) list.addTail(line);
}

class RangeKeywordTestTest : public ::testing::Test {
protected:
    /// Whether the line whose search keyword is keyword1 stays with keyword 2 under options.
    bool passes(const std::string& line, const std::string& keyword1, const KeywordSpec& keyword2,
                const ExtractionOptions& options) {
        RangeKeywordTest test(extractionKeywords(profile, keyword2, options.ignoreCase), options,
                              anchorOf(keyword1));
        return keeps(test, line);
    }

    testing::TempDir dir;
    Profile profile{dir.file("pyxo.ini")};
};

ExtractionOptions after() { return ExtractionOptions{}; }
ExtractionOptions before() {
    ExtractionOptions o;
    o.reMae = true;
    return o;
}

TEST_F(RangeKeywordTestTest, KeywordTwoOnTheChosenSide) {
    const std::string line = hitLine("the black ", "cat", " sat on the mat");
    EXPECT_TRUE(passes(line, "cat", {"mat"}, after()));
    EXPECT_FALSE(passes(line, "cat", {"black"}, after()));
    EXPECT_TRUE(passes(line, "cat", {"black"}, before()));
    EXPECT_FALSE(passes(line, "cat", {"mat"}, before()));
    // A line without the " | " of a prefix is read with a blank in front: same column.
    const std::string bare = hitLine("the black ", "cat", " sat").substr(10);
    EXPECT_TRUE(passes(bare, "cat", {"black"}, before()));
    EXPECT_TRUE(passes(bare, "cat", {"sat"}, after()));
}

TEST_F(RangeKeywordTestTest, JapaneseKeywordIsFoundToTheLeft) {
    const std::string line = hitLine(kWatashiWa, kCat, kGaSuki);
    EXPECT_TRUE(passes(line, kCat, {kWatashiWa}, before()));
    EXPECT_TRUE(passes(line, kCat, {kGaSuki}, after()));
    EXPECT_FALSE(passes(line, kCat, {kGaSuki}, before()));
    // Reversed character by character, as the line is: a byte-wise reversal would differ.
    RangeKeywordTest test({kWatashiWa}, before(), anchorOf(kCat));
    EXPECT_EQ(test.keywords(), Lines{ximo::reversedCharacters(kWatashiWa)});
    EXPECT_EQ(ximo::reversedCharacters("a" + kWatashiWa + "b"),
              "b\x82\xcd\x8e\x84"
              "a");
}

TEST_F(RangeKeywordTestTest, AnyWordOfAGroupKeepsTheLine) {
    writeGroupWords(profile, "pets", {"dog", "bird", "fish"});
    const ExtractionOptions o = after();
    EXPECT_TRUE(passes(hitLine("a ", "cat", " and a bird"), "cat", {"pets", true}, o));
    EXPECT_TRUE(passes(hitLine("a ", "cat", " and a fish"), "cat", {"pets", true}, o));
    EXPECT_FALSE(passes(hitLine("a ", "cat", " and a cow"), "cat", {"pets", true}, o));
    // NOT drops a line that holds any word of the group, and keeps exactly what AND drops.
    ExtractionOptions without = o;
    without.notSearch = true;
    for (const std::string right : {" and a bird", " and a dog and a fish", " and a cow"}) {
        const std::string line = hitLine("a ", "cat", right);
        EXPECT_NE(passes(line, "cat", {"pets", true}, o),
                  passes(line, "cat", {"pets", true}, without))
            << right;
    }
    // An unknown group has no words: nothing passes, with NOT neither.
    ExtractionOptions negated = o;
    negated.notSearch = true;
    EXPECT_FALSE(passes(hitLine("a ", "cat", " and a cow"), "cat", {"none", true}, o));
    EXPECT_FALSE(passes(hitLine("a ", "cat", " and a cow"), "cat", {"none", true}, negated));
}

TEST_F(RangeKeywordTestTest, NotKeepsExactlyWhatTheTestDrops) {
    const Lines lines = {hitLine("the black ", "cat", " sat"), hitLine("my ", "cat", " ran"),
                         hitLine("black and white ", "cat", ""), hitLine("", "cat", " black"),
                         hitLine(kWatashiWa, "cat", "")};
    for (bool toTheLeft : {true, false}) {
        for (bool sentence : {false, true}) {
            ExtractionOptions o;
            o.reMae = toTheLeft;
            o.bummatsu = sentence;
            ExtractionOptions negated = o;
            negated.notSearch = true;
            for (const std::string& line : lines) {
                EXPECT_NE(passes(line, "cat", {"black"}, o),
                          passes(line, "cat", {"black"}, negated))
                    << line << " left " << toTheLeft << " sentence " << sentence;
            }
        }
    }
}

TEST_F(RangeKeywordTestTest, SentenceLimitStopsAtTheSentenceEnd) {
    ExtractionOptions o = after();
    o.bummatsu = true;
    EXPECT_FALSE(passes(hitLine("the ", "cat", " sat? the mat"), "cat", {"mat"}, o));
    EXPECT_TRUE(passes(hitLine("the ", "cat", " sat on the mat?"), "cat", {"mat"}, o));
    ExtractionOptions left = before();
    left.bummatsu = true;
    EXPECT_FALSE(passes(hitLine("a dog? the ", "cat", ""), "cat", {"dog"}, left));
    EXPECT_TRUE(passes(hitLine("a dog and the ", "cat", ""), "cat", {"dog"}, left));
    // Without the limit the other sentence counts.
    EXPECT_TRUE(passes(hitLine("a dog? the ", "cat", ""), "cat", {"dog"}, before()));
    // Negated within the sentence: Rekkc's own codes.
    ExtractionOptions negated = left;
    negated.notSearch = true;
    EXPECT_EQ(negated.rangeType(), -10);
    EXPECT_TRUE(passes(hitLine("a dog? the ", "cat", ""), "cat", {"dog"}, negated));
    o.notSearch = true;
    EXPECT_EQ(o.rangeType(), -9);
    EXPECT_TRUE(passes(hitLine("the ", "cat", " sat? the mat"), "cat", {"mat"}, o));
}

TEST_F(RangeKeywordTestTest, IgnoreCaseFoldsLineAndKeywords) {
    const std::string line = hitLine("The ", "Cat", " saw " + kFullABC);
    ExtractionOptions o = before();
    EXPECT_FALSE(passes(line, "Cat", {"the"}, o));
    o.ignoreCase = true;
    EXPECT_TRUE(passes(line, "Cat", {"the"}, o));
    EXPECT_TRUE(passes(line, "Cat", {"THE"}, o));
    // Full-width capitals fold on both sides too.
    o.reMae = false;
    EXPECT_TRUE(passes(line, "Cat", {"SAW"}, o));
    EXPECT_TRUE(passes(line, "Cat", {kFullabc}, o));
    EXPECT_TRUE(passes(line, "Cat", {kFullABC}, o));
    o.ignoreCase = false;
    EXPECT_FALSE(passes(line, "Cat", {kFullabc}, o));
}

TEST_F(RangeKeywordTestTest, BoundaryModeNeedsAWholeWord) {
    ExtractionOptions o = after();
    o.both = true;
    EXPECT_EQ(o.boundaryMode(), 1);
    EXPECT_FALSE(passes(hitLine("", "cat", " went there"), "cat", {"the"}, o));
    EXPECT_TRUE(passes(hitLine("", "cat", " went there and the"), "cat", {"the"}, o));
    o.both = false;
    EXPECT_TRUE(passes(hitLine("", "cat", " went there"), "cat", {"the"}, o));
    o.ato = true;
    o.apo = true;
    EXPECT_EQ(o.boundaryMode(), 13);
    EXPECT_FALSE(passes(hitLine("", "cat", " met John's"), "cat", {"John"}, o));
}

TEST(ExtractionKeywords, PreparedAsTheLineIs) {
    testing::TempDir dir;
    Profile profile(dir.file("pyxo.ini"));
    writeGroupWords(profile, "g", {"Dog", "dog", kFullABC});
    EXPECT_EQ(extractionKeywords(profile, {"g", true}, false), (Lines{"Dog", "dog", kFullABC}));
    EXPECT_EQ(extractionKeywords(profile, {"g", true}, true), (Lines{"dog", kFullabc}));
    // A final half character is dropped; an empty keyword is none.
    EXPECT_EQ(extractionKeywords(profile, {"ab\x82", false}, false), Lines{"ab"});
    EXPECT_TRUE(extractionKeywords(profile, {"", false}, false).empty());
}

/// Lines of two files under their separators.
Lines twoFiles() {
    return {"-----[ a.txt ]-----\r\n",           hitLine("the ", "cat", " sat"),
            hitLine("a ", "cat", " ran"),        "-----[ b.txt ]-----\r\n",
            hitLine("one ", "cat", " slept"),    "-----[ c.txt ]-----\r\n",
            hitLine("the ", "cat", " sat again")};
}

class FilterTest : public ::testing::Test {
protected:
    Lines filter(const std::string& keyword2, SeparatorRule rule) {
        RangeKeywordTest test({keyword2}, ExtractionOptions{}, anchorOf("cat"));
        fill(source, twoFiles());
        FilterOutcome outcome = filterLines(source, destination, test, rule, ui);
        EXPECT_FALSE(outcome.cancelled);
        return linesOf(destination);
    }

    CExStringList source;
    CExStringList destination;
    RecordingUserInterface ui;
};

TEST_F(FilterTest, SeparatorsAllOrOnlyBeforeKeptLines) {
    const SeparatorRule all{true, false};
    const SeparatorRule matched{false, true};
    EXPECT_EQ(filter("nowhere", all), (Lines{"-----[ a.txt ]-----\r\n", "-----[ b.txt ]-----\r\n",
                                             "-----[ c.txt ]-----\r\n"}));
    EXPECT_EQ(filter("nowhere", matched), Lines{});
    EXPECT_EQ(filter("sat", matched),
              (Lines{"-----[ a.txt ]-----\r\n", hitLine("the ", "cat", " sat"),
                     "-----[ c.txt ]-----\r\n", hitLine("the ", "cat", " sat again")}));
    EXPECT_EQ(filter("sat", all), (Lines{"-----[ a.txt ]-----\r\n", hitLine("the ", "cat", " sat"),
                                         "-----[ b.txt ]-----\r\n", "-----[ c.txt ]-----\r\n",
                                         hitLine("the ", "cat", " sat again")}));
    EXPECT_EQ(ui.pumps(), 4 * 7);
}

TEST_F(FilterTest, AHitQuotingASeparatorIsStillAHit) {
    RangeKeywordTest test({"sat"}, ExtractionOptions{}, anchorOf("cat"));
    const std::string quoting = hitLine("-----[ ", "cat", " sat");
    fill(source, {quoting, hitLine("-----[ ", "cat", " ran")});
    filterLines(source, destination, test, {false, true}, ui);
    EXPECT_EQ(linesOf(destination), Lines{quoting});
}

TEST_F(FilterTest, ExtractedResultCanBeExtractedAgain) {
    RangeKeywordTest sat({"sat"}, ExtractionOptions{}, anchorOf("cat"));
    fill(source, twoFiles());
    filterLines(source, destination, sat, {false, true}, ui);
    RangeKeywordTest again({"again"}, ExtractionOptions{}, anchorOf("cat"));
    FilterOutcome outcome = filterLines(destination, destination, again, {false, true}, ui);
    EXPECT_EQ(outcome.kept, 1);
    EXPECT_EQ(linesOf(destination),
              (Lines{"-----[ c.txt ]-----\r\n", hitLine("the ", "cat", " sat again")}));
    EXPECT_EQ(source.count(), 7);
}

TEST_F(FilterTest, EveryLineEndsWithCrLf) {
    RangeKeywordTest sat({"sat"}, ExtractionOptions{}, anchorOf("cat"));
    std::string bare = hitLine("the ", "cat", " sat");
    bare.resize(bare.size() - 2);
    fill(source, {"-----[ a.txt ]-----", bare, bare + "\n"});
    filterLines(source, destination, sat, {true, false}, ui);
    EXPECT_EQ(linesOf(destination),
              (Lines{"-----[ a.txt ]-----\r\n", bare + "\r\n", bare + "\r\n"}));
}

TEST_F(FilterTest, CancelLeavesTheDestinationAsItWas) {
    RangeKeywordTest sat({"sat"}, ExtractionOptions{}, anchorOf("cat"));
    fill(source, twoFiles());
    fill(destination, {"kept from before\r\n"});
    ui.cancelAtPump(3);
    FilterOutcome outcome = filterLines(source, destination, sat, {true, false}, ui);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(linesOf(destination), Lines{"kept from before\r\n"});
}

/// The pattern form on the real engine.
class RangePatternTestTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("PYXO_JRE", JRE, 1); }
    void TearDown() override { unsetenv("PYXO_JRE"); }

    bool passes(const std::string& line, const std::string& keyword1, const std::string& pattern,
                const ExtractionOptions& options) {
        RegexBinding binding;
        EXPECT_TRUE(binding.initialise());
        EXPECT_TRUE(binding.ensureOpened(1));
        EXPECT_TRUE(binding.compile(1, pattern, options.ignoreCase)) << pattern;
        RangePatternTest test(binding, options, anchorOf(keyword1));
        return keeps(test, line);
    }
};

TEST_F(RangePatternTestTest, SidesAndNegation) {
    const std::string line = hitLine("the black ", "cat", " sat on the mat");
    EXPECT_TRUE(passes(line, "cat", "m.t", after()));
    EXPECT_FALSE(passes(line, "cat", "bl.ck", after()));
    EXPECT_TRUE(passes(line, "cat", "bl.ck", before()));
    EXPECT_FALSE(passes(line, "cat", "m.t", before()));
    ExtractionOptions negated = before();
    negated.notSearch = true;
    EXPECT_TRUE(passes(line, "cat", "m.t", negated));
    EXPECT_FALSE(passes(line, "cat", "bl.ck", negated));
}

TEST_F(RangePatternTestTest, KanjiClassMatchesWholeCharactersOnly) {
    // From the second byte of ぁ, 0x9F 0x82 would read as the kanji 氓.
    EXPECT_FALSE(passes(hitLine("", kSmallA, kA + kA), kSmallA, kKanjiClass, after()));
    EXPECT_TRUE(passes(hitLine("", kSmallA, kA + kKan), kSmallA, kKanjiClass, after()));
    EXPECT_TRUE(passes(hitLine(kKan + kA, kSmallA, ""), kSmallA, kKanjiClass, before()));
    EXPECT_FALSE(passes(hitLine(kA, kSmallA, kKan), kSmallA, kKanjiClass, before()));
}

TEST_F(RangePatternTestTest, SentenceLimitsBoundariesAndCase) {
    ExtractionOptions o = after();
    o.bummatsu = true;
    EXPECT_FALSE(passes(hitLine("", "cat", " sat? the mat"), "cat", "m.t", o));
    ExtractionOptions left = before();
    left.bummatsu = true;
    EXPECT_FALSE(passes(hitLine("a dog? the ", "cat", ""), "cat", "d.g", left));
    EXPECT_TRUE(passes(hitLine("a dog, the ", "cat", ""), "cat", "d.g", left));
    ExtractionOptions whole = after();
    whole.both = true;
    EXPECT_FALSE(passes(hitLine("", "cat", " went there"), "cat", "th.", whole));
    EXPECT_TRUE(passes(hitLine("", "cat", " went there, the end"), "cat", "th.", whole));
    ExtractionOptions folded = after();
    folded.ignoreCase = true;
    EXPECT_TRUE(passes(hitLine("", "cat", " saw THE Mat"), "cat", "the m", folded));
    EXPECT_TRUE(passes(hitLine("", "cat", " saw the mat"), "cat", "THE M", folded));
    EXPECT_FALSE(passes(hitLine("", "cat", " saw THE Mat"), "cat", "the m", after()));
}

/// Lines no search writes: the tests must answer without reading outside them.
Lines hostileLines() {
    std::string nul = hitLine("the ", "cat", " sat");
    nul[15] = '\0';
    return {"",
            "\r\n",
            " | ",
            "x | ",
            std::string(20000, 'a') + " | cat " + std::string(9000, 'b'),
            std::string(5000, '\x82'),
            hitLine("", "cat", "\x82"),
            nul,
            std::string("\x82\x9f | ") + std::string(3, '\x9f'),
            std::string(1, '\0')};
}

TEST(HostileLines, EveryTestAnswersWithinTheLine) {
    setenv("PYXO_JRE", JRE, 1);
    testing::TempDir dir;
    Profile profile(dir.file("pyxo.ini"));
    RegexBinding binding;
    ASSERT_TRUE(binding.initialise() && binding.ensureOpened(1) && binding.compile(1, "a|b."));
    const KeywordAnchor anchors[] = {{kColumn, 3},       {0, 0},      {-5, 3}, {3, -7},
                                     {1 << 30, 1 << 30}, {2, 1 << 30}};
    for (const KeywordAnchor& anchor : anchors) {
        for (bool toTheLeft : {false, true}) {
            for (bool sentence : {false, true}) {
                ExtractionOptions o;
                o.reMae = toTheLeft;
                o.bummatsu = sentence;
                o.both = sentence;
                o.ignoreCase = toTheLeft;
                RangeKeywordTest words({"a", "\x82\x9f"}, o, anchor);
                RangePatternTest pattern(binding, o, anchor);
                WordPositions all;
                all.ticked.fill(true);
                PositionKeywordTest positions(profile, {"a"}, o, all, anchor);
                PositionPatternTest positionPattern(binding, o, all, anchor);
                for (const std::string& line : hostileLines()) {
                    keeps(words, line);
                    keeps(pattern, line);
                    keeps(positions, line);
                    keeps(positionPattern, line);
                }
            }
        }
    }
    unsetenv("PYXO_JRE");
}

}  // namespace
}  // namespace vellmora
