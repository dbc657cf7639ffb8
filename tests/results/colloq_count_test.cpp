#include "results/colloq_count.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "containers/ex_string_list.h"
#include "platform/recording_user_interface.h"
#include "results/result_source.h"

namespace vellmora {
namespace {

using Strings = std::vector<std::string>;

// The keyword's first byte stands at byte 20 of every context (K = 21).
constexpr KeywordPlace kKeyword{20, 3};

std::string kwic(const std::string& left, const std::string& rest) {
    return "   1 | " + std::string(20 - left.size(), ' ') + left + rest + "\r\n";
}

CExStringList listOf(const Strings& lines) {
    CExStringList list;
    for (const std::string& line : lines) list.addTail(line);
    return list;
}

Strings linesOf(const CExStringList& list) { return Strings(list.begin(), list.end()); }

std::string countLine(int count, const std::string& word) {
    std::string number = std::to_string(count);
    return std::string(15 - number.size(), ' ') + number + " : " + word + "\r\n";
}

Strings summary(int total, int different) {
    auto line = [](int count, const char* label) {
        std::string number = std::to_string(count);
        return std::string(10 - number.size(), ' ') + number + " : " + label + "\r\n";
    };
    return {"=========================\r\n", line(total, "Total Words"),
            line(different, "Different Words")};
}

Strings joined(Strings head, const Strings& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

class WordsAtPositionTest : public ::testing::Test {
protected:
    Strings count(const Strings& lines, ColloqSpec spec) {
        spec.keyword = kKeyword;
        const CExStringList source = listOf(lines);
        CExStringList destination;
        m_outcome = countWordsAtPosition(source, spec, destination, m_ui);
        return linesOf(destination);
    }

    RecordingUserInterface m_ui;
    ColloqOutcome m_outcome;
    const Strings m_lines = {
        "-----[ /corpus/a.txt ]-----\r\n", kwic("the ", "cat sat on the mat"),
        kwic("a ", "cat Sat down"),        kwic("The ", "cat ran off"),
        kwic("my ", "cat sat still"),
    };
};

TEST_F(WordsAtPositionTest, FoldsAsciiCaseUnlessEuropean) {
    ColloqSpec spec;
    spec.position = 1;
    EXPECT_EQ(count(m_lines, spec),
              joined({countLine(1, "ran"), countLine(3, "sat")}, summary(4, 2)));
    EXPECT_EQ(m_outcome.totalWords, 4);
    EXPECT_EQ(m_outcome.differentWords, 2);

    spec.european = true;
    EXPECT_EQ(
        count(m_lines, spec),
        joined({countLine(1, "Sat"), countLine(1, "ran"), countLine(2, "sat")}, summary(4, 3)));

    // Left of the keyword: the first spelling met is the one shown.
    spec = ColloqSpec{};
    spec.position = -1;
    EXPECT_EQ(count(m_lines, spec),
              joined({countLine(1, "a"), countLine(1, "my"), countLine(2, "the")}, summary(4, 3)));
}

TEST_F(WordsAtPositionTest, KeywordItselfCountsTheWholeWordItStandsIn) {
    // The keyword "at" found inside "cat" and "hat": the words are counted, not the keyword.
    const Strings lines = {kwic("the c", "at sat"), kwic("a h", "at fell"), kwic("my c", "at ran")};
    ColloqSpec spec;
    spec.position = 0;
    EXPECT_EQ(count(lines, spec),
              joined({countLine(2, "cat"), countLine(1, "hat")}, summary(3, 2)));
}

TEST_F(WordsAtPositionTest, TailGroupsCommonEndingsAndPrintsWordsAsWritten) {
    const Strings lines = {kwic("", "cat working"), kwic("", "cat sing"), kwic("", "cat walking"),
                           kwic("", "cat talking"), kwic("", "cat Working")};
    ColloqSpec spec;
    spec.tail = true;
    EXPECT_EQ(count(lines, spec), joined({countLine(1, "talking"), countLine(1, "walking"),
                                          countLine(2, "working"), countLine(1, "sing")},
                                         summary(5, 4)));
}

TEST_F(WordsAtPositionTest, PercentagesAddUpToTheWhole) {
    const Strings lines = {kwic("", "cat a"), kwic("", "cat b"), kwic("", "cat c"),
                           kwic("", "cat c"), kwic("", "cat d"), kwic("", "cat e"),
                           kwic("", "cat f")};
    ColloqSpec spec;
    spec.percent = true;
    const Strings written = count(lines, spec);
    ASSERT_EQ(written.size(), 9u);
    EXPECT_EQ(written[0], "              1(14.286%) : a\r\n");
    EXPECT_EQ(written[2], "              2(28.571%) : c\r\n");
    double sum = 0;
    for (std::size_t i = 0; i < 6; ++i) sum += std::atof(written[i].c_str() + 16);
    EXPECT_NEAR(sum, 100.0, 0.0005 * 6);
    EXPECT_EQ(Strings(written.begin() + 6, written.end()), summary(7, 6));
}

TEST_F(WordsAtPositionTest, FrequencyOrderPutsTheLargestCountFirstAndTiesInDescendingWords) {
    Strings lines;
    for (int i = 0; i < 10; ++i) lines.push_back(kwic("", "cat often"));
    for (int i = 0; i < 9; ++i) lines.push_back(kwic("", "cat nine"));
    lines.push_back(kwic("", "cat ate"));
    lines.push_back(kwic("", "cat ran"));
    lines.push_back(kwic("", "cat zoo"));
    ColloqSpec spec;
    spec.frequencyOrder = true;
    EXPECT_EQ(count(lines, spec),
              joined({countLine(10, "often"), countLine(9, "nine"), countLine(1, "zoo"),
                      countLine(1, "ran"), countLine(1, "ate")},
                     summary(22, 5)));

    spec.percent = true;
    const Strings shares = count(lines, spec);
    EXPECT_EQ(shares[0], "             10(45.455%) : often\r\n");
    EXPECT_EQ(shares[4], "              1( 4.545%) : ate\r\n");
}

TEST_F(WordsAtPositionTest, SentenceFinalStopsAtTheEndOfTheSentence) {
    const Strings lines = {kwic("", "cat sat? It ran"), kwic("", "cat sat on mats")};
    ColloqSpec spec;
    spec.position = 3;
    EXPECT_EQ(count(lines, spec),
              joined({countLine(1, "mats"), countLine(1, "ran")}, summary(2, 2)));
    spec.sentenceFinal = true;
    EXPECT_EQ(count(lines, spec), joined({countLine(1, "mats")}, summary(1, 1)));
}

TEST_F(WordsAtPositionTest, AResultOfHeadersOnlyGivesTheSummaryAlone) {
    const Strings headers = {"-----[ /corpus/a.txt ]-----\r\n", "-----[ /corpus/b.txt ]-----\r\n"};
    EXPECT_EQ(count(headers, ColloqSpec{}), summary(0, 0));
    EXPECT_EQ(count({}, ColloqSpec{}), summary(0, 0));
    EXPECT_EQ(summary(0, 0)[1], "         0 : Total Words\r\n");
    // A hit whose context quotes a separator is still counted.
    EXPECT_EQ(count({kwic("", "cat -----[ x")}, ColloqSpec{}),
              joined({countLine(1, "x")}, summary(1, 1)));
}

TEST_F(WordsAtPositionTest, ShiftJisWordsStayWhole) {
    // 私 は 猫 が 好き, and 犬 猫 ソ: a second byte 0x5C never splits a word.
    const std::string cat = "\x94\x4c";
    const Strings lines = {kwic("\x8e\x84 \x82\xcd ", cat + " \x82\xaa \x8d\x44\x82\xab"),
                           kwic("\x8c\xa2 ", cat + " \x83\x5c"),
                           kwic("\x8e\x84 ", cat + " \x82\xaa"),
                           kwic("", cat + " \x8d\x44\x82\xab")};
    ColloqSpec spec;
    EXPECT_EQ(count(lines, spec), joined({countLine(2, "\x82\xaa"), countLine(1, "\x83\x5c"),
                                          countLine(1, "\x8d\x44\x82\xab")},
                                         summary(4, 3)));
    // By their last bytes: 0x5C, 0xAA, then 0xAB; printed as written.
    spec.tail = true;
    EXPECT_EQ(count(lines, spec), joined({countLine(1, "\x83\x5c"), countLine(2, "\x82\xaa"),
                                          countLine(1, "\x8d\x44\x82\xab")},
                                         summary(4, 3)));
    spec = ColloqSpec{};
    spec.position = -1;
    EXPECT_EQ(count(lines, spec),
              joined({countLine(1, "\x82\xcd"), countLine(1, "\x8c\xa2"), countLine(1, "\x8e\x84")},
                     summary(3, 3)));
    spec.position = 2;
    EXPECT_EQ(count(lines, spec), joined({countLine(1, "\x8d\x44\x82\xab")}, summary(1, 1)));
}

TEST_F(WordsAtPositionTest, ACancelRequestLeavesTheDestinationAlone) {
    const CExStringList source = listOf(m_lines);
    CExStringList destination = listOf({"old\r\n"});
    m_ui.cancelAtPump(2);
    ColloqSpec spec;
    spec.keyword = kKeyword;
    EXPECT_TRUE(countWordsAtPosition(source, spec, destination, m_ui).cancelled);
    EXPECT_EQ(linesOf(destination), Strings{"old\r\n"});
}

TEST(FrequencyTableTest, CountsEveryPositionAndTotalsTheKeywordsOwnWord) {
    const CExStringList source = listOf({
        "-----[ /corpus/a.txt ]-----\r\n",
        kwic("the ", "cat sat"),
        kwic("a ", "cat saw the dog"),
        kwic("The ", "cat"),
        "-----[ /corpus/b.txt ]-----\r\n",
    });
    RecordingUserInterface ui;
    CollocationCounts counts;
    ASSERT_TRUE(counts.count(source, kKeyword, ui));
    EXPECT_EQ(counts.lines(), 3);
    CExStringList table = listOf({"old\r\n"});
    ASSERT_TRUE(writeFrequencyTable(counts, table, ui));
    EXPECT_EQ(linesOf(table), (Strings{
                                  "Word\tTotal\tL5\tL4\tL3\tL2\tL1\tR1\tR2\tR3\tR4\tR5\r\n",
                                  "a\t1\t0\t0\t0\t0\t1\t0\t0\t0\t0\t0\r\n",
                                  "cat\t3\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\r\n",
                                  "dog\t1\t0\t0\t0\t0\t0\t0\t0\t1\t0\t0\r\n",
                                  "sat\t1\t0\t0\t0\t0\t0\t1\t0\t0\t0\t0\r\n",
                                  "saw\t1\t0\t0\t0\t0\t0\t1\t0\t0\t0\t0\r\n",
                                  // "the" and "The" are one word in every column.
                                  "the\t3\t0\t0\t0\t0\t2\t0\t1\t0\t0\t0\r\n",
                              }));
    EXPECT_EQ(tabColumnWidths(table),
              (std::vector<std::int64_t>{4, 5, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2}));
}

TEST(FrequencyTableTest, ASpellingFirstSeenAtOnePositionIsFoundAtAnother) {
    // The row takes "The" from L1; R2 counted "the" first: the lookup ignores ASCII case.
    const CExStringList source = listOf({kwic("The ", "cat saw the dog")});
    RecordingUserInterface ui;
    CollocationCounts counts;
    ASSERT_TRUE(counts.count(source, kKeyword, ui));
    CExStringList table;
    ASSERT_TRUE(writeFrequencyTable(counts, table, ui));
    EXPECT_EQ(linesOf(table).back(), "The\t2\t0\t0\t0\t0\t1\t0\t1\t0\t0\t0\r\n");
}

TEST(FrequencyTableTest, HeadersOnlyGiveTheHeaderAloneAndACancelChangesNothing) {
    RecordingUserInterface ui;
    CollocationCounts empty;
    ASSERT_TRUE(empty.count(listOf({"-----[ /corpus/a.txt ]-----\r\n"}), kKeyword, ui));
    CExStringList table;
    ASSERT_TRUE(writeFrequencyTable(empty, table, ui));
    EXPECT_EQ(linesOf(table), Strings{std::string(kFrequencyTableHeader)});

    CollocationCounts counts;
    ASSERT_TRUE(counts.count(listOf({kwic("the ", "cat sat")}), kKeyword, ui));
    ui.cancelAtPump(1);
    EXPECT_FALSE(writeFrequencyTable(counts, table, ui));
    EXPECT_EQ(linesOf(table), Strings{std::string(kFrequencyTableHeader)});
}

TEST(TableColumnWidthsTest, MeasuresBytesPerColumnWithoutLineEnds) {
    // A double-byte word counts two bytes a character; short rows leave later columns alone.
    const CExStringList table = listOf({"ab\tc\r\n", "\x94\x4c\x8c\xa2\tcdef\tg\r\n", "\r\n"});
    EXPECT_EQ(tabColumnWidths(table), (std::vector<std::int64_t>{4, 4, 1}));
    EXPECT_TRUE(tabColumnWidths(CExStringList()).empty());
}

}  // namespace
}  // namespace vellmora
