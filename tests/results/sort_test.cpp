#include "results/sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "containers/ex_string_list.h"
#include "platform/recording_user_interface.h"

namespace vellmora {
namespace {

using Strings = std::vector<std::string>;

// Keyword column K = 21: twenty bytes of left context before the keyword.
constexpr int kKeywordOffset = 20;

/// A KWIC line as the search stores it: line number, " | ", the left context right-aligned
/// to the keyword column (cut to it), the keyword and its right context.
std::string kwic(long number, std::string_view left, std::string_view keywordAndRight) {
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "%7ld | ", number);
    if (left.size() > static_cast<std::size_t>(kKeywordOffset))
        left = left.substr(left.size() - kKeywordOffset);
    std::string context(kKeywordOffset - left.size(), ' ');
    context += left;
    return prefix + context + std::string(keywordAndRight) + "\r\n";
}

CExStringList listOf(const Strings& lines) {
    CExStringList list;
    for (const std::string& line : lines) list.addTail(line);
    return list;
}

Strings linesOf(const CExStringList& list) { return Strings(list.begin(), list.end()); }

WordSortSpec specOf(std::vector<WordSortKey> keys) {
    WordSortSpec spec;
    spec.keys = std::move(keys);
    spec.keywordOffset = kKeywordOffset;
    spec.keywordLength = 3;
    return spec;
}

/// The lines SortedLines writes for lines "line<i>" with the given first and second keys.
Strings writtenInOrder(const std::vector<Strings>& keys, std::vector<SortDirection> directions) {
    Strings lines;
    for (std::size_t i = 0; i < keys.size(); ++i) lines.push_back("line" + std::to_string(i));
    SortedLines sorted(TextComparison::ByteWise, std::move(directions));
    for (std::size_t i = 0; i < keys.size(); ++i) sorted.add(lines[i], keys[i]);
    CExStringList destination;
    RecordingUserInterface ui;
    sorted.writeTo(destination, ui);
    return linesOf(destination);
}

TEST(SortedLinesTest, ShorterKeysSortFirstAscendingAndLastDescendingZeroBytesIncluded) {
    using namespace std::string_literals;
    const std::vector<Strings> keys = {{"ab"}, {"abc"}, {"a"}, {"a\0"s}, {"a\0b"s}, {""}, {"\xFF"}};
    const Strings ascending = {"line5", "line2", "line3", "line4", "line0", "line1", "line6"};
    EXPECT_EQ(writtenInOrder(keys, {SortDirection::Ascending}), ascending);
    EXPECT_EQ(writtenInOrder(keys, {SortDirection::Descending}),
              Strings(ascending.rbegin(), ascending.rend()));
}

TEST(SortedLinesTest, EachKeyKeepsItsOwnDirection) {
    const std::vector<Strings> keys = {{"b", "x"}, {"a", "x"}, {"b", "xy"}, {"a", "y"}};
    EXPECT_EQ(writtenInOrder(keys, {SortDirection::Ascending, SortDirection::Descending}),
              (Strings{"line3", "line1", "line2", "line0"}));
    EXPECT_EQ(writtenInOrder(keys, {SortDirection::Descending, SortDirection::Ascending}),
              (Strings{"line0", "line2", "line1", "line3"}));
}

class SortByWordsTest : public ::testing::Test {
protected:
    Strings sorted(const Strings& lines, const WordSortSpec& spec) {
        CExStringList source = listOf(lines);
        CExStringList destination;
        m_outcome = sortByWords(source, spec, destination, m_ui);
        return linesOf(destination);
    }

    RecordingUserInterface m_ui;
    SortRunOutcome m_outcome;
};

TEST_F(SortByWordsTest, OrdersByTheWordRightOfTheKeyword) {
    const Strings lines = {
        kwic(1, "the black ", "cat sat on the mat"),
        kwic(2, "a ", "cat ate fish"),
        kwic(3, "my ", "cat likes milk"),
    };
    EXPECT_EQ(sorted(lines, specOf({{1}})), (Strings{lines[1], lines[2], lines[0]}));
    EXPECT_EQ(sorted(lines, specOf({{-1}})), (Strings{lines[1], lines[0], lines[2]}));
    EXPECT_EQ(sorted(lines, specOf({{1, true}})), (Strings{lines[0], lines[2], lines[1]}));
    EXPECT_EQ(m_outcome.linesTaken, 3);
    EXPECT_EQ(m_outcome.linesWritten, 3);
}

TEST_F(SortByWordsTest, EqualKeysAreOrderedByTheWholeLineInTheKeysDirection) {
    const Strings lines = {
        "b.txt:      4 | " + kwic(0, "", "cat sat").substr(10),
        "a.txt:      9 | " + kwic(0, "", "cat sat").substr(10),
        "a.txt:      2 | " + kwic(0, "", "cat sat").substr(10),
    };
    EXPECT_EQ(sorted(lines, specOf({{1}})), (Strings{lines[2], lines[1], lines[0]}));
    EXPECT_EQ(sorted(lines, specOf({{1, true}})), (Strings{lines[0], lines[1], lines[2]}));
}

TEST_F(SortByWordsTest, IdenticalLinesAreKeptOnceButCaseVariantsBothStay) {
    const std::string same = kwic(5, "the ", "cat sat");
    const std::string upper = kwic(5, "THE ", "cat sat");
    const Strings result = sorted({same, upper, same, same}, specOf({{1}}));
    EXPECT_EQ(result, (Strings{upper, same}));
    EXPECT_EQ(m_outcome.linesTaken, 4);
    EXPECT_EQ(m_outcome.linesWritten, 2);
}

TEST_F(SortByWordsTest, CaseIsFoldedUnlessTheComparisonIsByteWise) {
    const Strings lines = {
        kwic(1, "", "cat apple"),
        kwic(2, "", "cat Apple"),
        kwic(3, "", "cat banana"),
        kwic(4, "", "cat Banana"),
    };
    // Folded: Apple and apple are one key, ordered among themselves by the line.
    EXPECT_EQ(sorted(lines, specOf({{1}})), (Strings{lines[0], lines[1], lines[2], lines[3]}));
    WordSortSpec byteWise = specOf({{1}});
    byteWise.byteWise = true;
    EXPECT_EQ(sorted(lines, byteWise), (Strings{lines[1], lines[3], lines[0], lines[2]}));
}

TEST_F(SortByWordsTest, HeaderLinesAreSkippedAndNotCounted) {
    const Strings lines = {
        "-----[ /corpus/a.txt ]-----\r\n", kwic(3, "", "cat zebra"), kwic(1, "", "cat ant"),
        "-----[ /corpus/b.txt ]-----\r\n", kwic(2, "", "cat moth"),
    };
    WordSortSpec spec = specOf({{1}});
    spec.maxLines = 2;
    EXPECT_EQ(sorted(lines, spec), (Strings{lines[2], lines[1]}));
    spec.maxLines = 3;
    EXPECT_EQ(sorted(lines, spec), (Strings{lines[2], lines[4], lines[1]}));
    EXPECT_EQ(m_outcome.linesTaken, 3);

    // A hit whose text quotes a separator is a hit all the same: nothing is lost.
    const Strings quoting = {kwic(5, "", "cat -----[ x ]----- here"), kwic(6, "", "cat bee")};
    EXPECT_EQ(sorted(quoting, specOf({{1}})).size(), 2u);
}

TEST_F(SortByWordsTest, MaxLinesTakesTheFirstLinesOfTheSource) {
    Strings lines;
    for (int i = 0; i < 250; ++i) lines.push_back(kwic(i, "", "cat w" + std::to_string(999 - i)));
    WordSortSpec spec = specOf({{1}});
    spec.maxLines = 100;
    Strings result = sorted(lines, spec);
    ASSERT_EQ(result.size(), 100u);
    Strings expected(lines.begin(), lines.begin() + 100);
    std::reverse(expected.begin(), expected.end());
    EXPECT_EQ(result, expected);

    spec.maxLines = 0;
    EXPECT_TRUE(sorted(lines, spec).empty());
    spec.maxLines = -3;
    EXPECT_TRUE(sorted(lines, spec).empty());
}

TEST_F(SortByWordsTest, ByTailComparesTheWordsReversed) {
    const Strings lines = {
        kwic(1, "", "cat walking"),
        kwic(2, "", "cat talked"),
        kwic(3, "", "cat sing"),
        kwic(4, "", "cat zed"),
    };
    // Endings: deklat, dez, gniklaw, gnis.
    EXPECT_EQ(sorted(lines, specOf({{1, false, true}})),
              (Strings{lines[1], lines[3], lines[0], lines[2]}));
    EXPECT_EQ(sorted(lines, specOf({{1, true, true}})),
              (Strings{lines[2], lines[0], lines[3], lines[1]}));
}

TEST_F(SortByWordsTest, LaterKeysOrderLinesThatTheFirstKeyTies) {
    const Strings lines = {
        kwic(1, "a black ", "cat sat down"),   kwic(2, "a white ", "cat sat up"),
        kwic(3, "the white ", "cat sat down"), kwic(4, "a black ", "cat ran off"),
        kwic(5, "a black ", "cat sat up"),
    };
    // R1 ascending, then L1 descending, then R2 ascending.
    const WordSortSpec spec = specOf({{1}, {-1, true}, {2}});
    EXPECT_EQ(sorted(lines, spec), (Strings{lines[3], lines[2], lines[1], lines[0], lines[4]}));
    // Only keys 1 and 2: lines 1 and 5 tie on both and fall back to the whole line.
    const WordSortSpec twoKeys = specOf({{1}, {-1, true}});
    EXPECT_EQ(sorted(lines, twoKeys), (Strings{lines[3], lines[1], lines[2], lines[0], lines[4]}));
}

TEST_F(SortByWordsTest, KeywordAndFarPositions) {
    const Strings lines = {
        kwic(1, "one two three four five six ", "cat"),
        kwic(2, "six five four three two one ", "cat"),
        kwic(3, "", "dog"),
    };
    // KW is the word the keyword stands in; -6 is the sixth word to its left.
    EXPECT_EQ(sorted(lines, specOf({{0, true}})), (Strings{lines[2], lines[1], lines[0]}));
    // Both sixth words are cut by the 20-byte left context; a missing word sorts first.
    EXPECT_EQ(sorted(lines, specOf({{-6}})), (Strings{lines[0], lines[1], lines[2]}));
    EXPECT_EQ(sorted(lines, specOf({{-4}})), (Strings{lines[2], lines[1], lines[0]}));
}

TEST_F(SortByWordsTest, SentenceFinalKeepsWordsInTheKeywordsSentence) {
    const Strings lines = {
        kwic(1, "", "cat? bird"),
        kwic(2, "", "cat and mouse"),
    };
    WordSortSpec spec = specOf({{1, true}});
    EXPECT_EQ(sorted(lines, spec), (Strings{lines[0], lines[1]}));  // bird > and
    spec.sentenceFinal = true;
    EXPECT_EQ(sorted(lines, spec), (Strings{lines[1], lines[0]}));  // no word after "?"
}

TEST_F(SortByWordsTest, ShiftJisWordsSortByTheirBytes) {
    // あ 82A0, い 82A2, う 82A4; ア 8341 and ヂ 8361 differ only in a letter-valued byte.
    const std::string a = "\x82\xA0", i = "\x82\xA2", u = "\x82\xA4";
    const std::string ka = "\x83\x41", di = "\x83\x61";
    const Strings lines = {
        kwic(1, "", "\x94\x4C " + u + i),  // 猫
        kwic(2, "", "\x94\x4C " + a + u), kwic(3, "", "\x94\x4C " + i + a),
        kwic(4, "", "\x94\x4C " + di),    kwic(4, "", "\x94\x4C " + ka),
    };
    // Case folding makes ア and ヂ one key and their lines equal but for that byte: both stay.
    EXPECT_EQ(sorted(lines, specOf({{1}})),
              (Strings{lines[1], lines[2], lines[0], lines[4], lines[3]}));
    // By tail the last byte comes first: A0 (いあ), A2 (うい), A4 (あう).
    EXPECT_EQ(sorted({lines[0], lines[1], lines[2]}, specOf({{1, false, true}})),
              (Strings{lines[2], lines[0], lines[1]}));
}

TEST_F(SortByWordsTest, LinesWithoutContextMarkUseTheWholeLine) {
    const Strings lines = {
        std::string(kKeywordOffset, ' ') + "cat zoo\r\n",
        std::string(kKeywordOffset, ' ') + "cat bee\r\n",
    };
    EXPECT_EQ(sorted(lines, specOf({{1}})), (Strings{lines[1], lines[0]}));
}

TEST_F(SortByWordsTest, OddLinesSortWithoutHarm) {
    const Strings lines = {
        "\r\n",
        std::string(3000, 'x') + " | " + std::string(3000, '\x82') + "\r\n",
        std::string("nul\0inside | cat", 16) + "\r\n",
        "\x81",
        "",
    };
    WordSortSpec spec = specOf({{1}, {-6}, {5, true, true}});
    EXPECT_EQ(sorted(lines, spec).size(), lines.size());
    spec.keywordOffset = -7;
    EXPECT_EQ(sorted(lines, spec).size(), lines.size());
}

TEST_F(SortByWordsTest, ACancelRequestWritesTheLinesReadSoFar) {
    Strings lines;
    for (int i = 0; i < 10; ++i) lines.push_back(kwic(i, "", "cat w" + std::to_string(9 - i)));
    m_ui.cancelAtPump(4);
    const Strings result = sorted(lines, specOf({{1}}));
    EXPECT_TRUE(m_outcome.cancelled);
    EXPECT_EQ(result, (Strings{lines[2], lines[1], lines[0]}));
}

TEST_F(SortByWordsTest, SortingTheSortedListAgainInPlaceKeepsItsOrder) {
    const Strings lines = {
        kwic(1, "", "cat sat"),
        kwic(2, "", "cat ate"),
        kwic(3, "", "cat ran"),
        kwic(2, "", "cat ate"),
    };
    CExStringList list = listOf(lines);
    sortByWords(list, specOf({{1}}), list, m_ui);
    const Strings once = linesOf(list);
    EXPECT_EQ(once, (Strings{lines[1], lines[2], lines[0]}));
    sortByWords(list, specOf({{1}}), list, m_ui);
    EXPECT_EQ(linesOf(list), once);
}

TEST_F(SortByWordsTest, AHundredThousandLinesInAnyOrder) {
    std::mt19937 random(7);
    Strings lines;
    for (int n = 0; n < 100000; ++n) {
        std::string word = "w" + std::to_string(random() % 50000);
        lines.push_back(kwic(n, "left ", "cat " + word + " right"));
    }
    CExStringList source = listOf(lines);
    WordSortSpec spec = specOf({{1}});
    spec.maxLines = 100000;
    CExStringList once;
    sortByWords(source, spec, once, m_ui);
    ASSERT_EQ(once.count(), 100000);
    // The sorted result, sorted again: the worst input of a plain search tree.
    CExStringList twice;
    sortByWords(once, spec, twice, m_ui);
    EXPECT_EQ(linesOf(twice), linesOf(once));
    // From byte 34 on, each line reads R1 and what follows it.
    EXPECT_TRUE(
        std::is_sorted(once.begin(), once.end(), [](const std::string& a, const std::string& b) {
            return std::string_view(a).substr(34) < std::string_view(b).substr(34);
        }));
}

}  // namespace
}  // namespace vellmora
