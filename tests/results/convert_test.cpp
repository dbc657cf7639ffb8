#include "results/convert.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "containers/ex_string_list.h"
#include "platform/recording_user_interface.h"
#include "results/result_source.h"

namespace vellmora {
namespace {

using Lines = std::vector<std::string>;

constexpr int kColumn = 11;  // ten bytes of left context before the keyword

// A hit line of prefix format 0: the text's byte kColumn - 1 is the keyword's first byte.
std::string hitLine(const std::string& left, const std::string& rest, long number = 1) {
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "%7ld | ", number);
    return prefix + std::string(kColumn - 1 - left.size(), ' ') + left + rest + "\r\n";
}

Lines linesOf(const CExStringList& list) { return Lines(list.begin(), list.end()); }

Lines convert(const Lines& source, ConversionSpec spec, ConversionOutcome* outcome = nullptr) {
    CExStringList in;
    for (const std::string& line : source) in.addTail(line);
    CExStringList out;
    RecordingUserInterface ui;
    ConversionOutcome result = convertToSpreadsheet(in, spec, out, ui);
    if (outcome != nullptr) *outcome = result;
    return linesOf(out);
}

ConversionSpec specFor(SpreadsheetLayout layout, bool tagInfo = false, int selector = 0) {
    return ConversionSpec{layout, tagInfo, kColumn, 3, selector};
}

const std::string kEnglish = hitLine("a b c d e ", "cat f g h i j");

TEST(ConversionLayoutTest, EachLayoutWritesItsMarksAroundElevenWords) {
    const std::vector<std::pair<SpreadsheetLayout, std::string>> expected = {
        {SpreadsheetLayout::Tsv1, "\"a\t\"b\t\"c\t\"d\t\"e\t\"cat\t\"f\t\"g\t\"h\t\"i\t\"j\r\n"},
        {SpreadsheetLayout::Tsv2, "a\tb\tc\td\te\tcat\tf\tg\th\ti\tj\r\n"},
        {SpreadsheetLayout::Tsv3, "'a\t'b\t'c\t'd\t'e\t'cat\t'f\t'g\t'h\t'i\t'j\r\n"},
        {SpreadsheetLayout::Csv1, "\"a,\"b,\"c,\"d,\"e,\"cat,\"f,\"g,\"h,\"i,\"j\r\n"},
        {SpreadsheetLayout::Csv2, "a,b,c,d,e,cat,f,g,h,i,j\r\n"},
        {SpreadsheetLayout::Csv3,
         "\"a\",\"b\",\"c\",\"d\",\"e\",\"cat\",\"f\",\"g\",\"h\",\"i\",\"j\"\r\n"},
        {SpreadsheetLayout::Html,
         "<TR><TD>a</TD><TD>b</TD><TD>c</TD><TD>d</TD><TD>e</TD><TD>cat</TD><TD>f</TD>"
         "<TD>g</TD><TD>h</TD><TD>i</TD><TD>j</TD></TR>\r\n"},
    };
    for (const auto& [layout, row] : expected) {
        const Lines out = convert({kEnglish}, specFor(layout));
        const Lines rows =
            layout == SpreadsheetLayout::Html
                ? Lines(out.begin() + std::size(kHtmlHead), out.end() - std::size(kHtmlTail))
                : out;
        EXPECT_EQ(rows, Lines{row}) << static_cast<int>(layout);
    }
}

TEST(ConversionLayoutTest, MissingWordsGiveEmptyCells) {
    // No R3 to R5, and only two words to the left.
    const std::string line = hitLine("d e ", "cat f g.");
    EXPECT_EQ(convert({line}, specFor(SpreadsheetLayout::Csv2)), Lines{",,,d,e,cat,f,g,,,\r\n"});
    EXPECT_EQ(convert({line}, specFor(SpreadsheetLayout::Csv3)),
              Lines{"\"\",\"\",\"\",\"d\",\"e\",\"cat\",\"f\",\"g\",\"\",\"\",\"\"\r\n"});
}

TEST(ConversionLayoutTest, DelimitedLayoutsWriteWordsUnchanged) {
    // A comma between digits and an apostrophe between letters stay inside their words.
    const std::string line = hitLine("1,000 ", "cat don't");
    EXPECT_EQ(convert({line}, specFor(SpreadsheetLayout::Csv2)),
              Lines{",,,,1,000,cat,don't,,,,\r\n"});
    EXPECT_EQ(convert({line}, specFor(SpreadsheetLayout::Tsv3)),
              Lines{"'\t'\t'\t'\t'1,000\t'cat\t'don't\t'\t'\t'\t'\r\n"});
}

TEST(ConversionLayoutTest, HtmlEscapesMarkupInWords) {
    // A separator between two digits stays inside the word.
    const std::string line = hitLine("1<2 a 3&4 ", "cat 5>4");
    const Lines out = convert({line}, specFor(SpreadsheetLayout::Html));
    ASSERT_EQ(out.size(), std::size(kHtmlHead) + 1 + std::size(kHtmlTail));
    EXPECT_EQ(out[std::size(kHtmlHead)],
              "<TR><TD></TD><TD></TD><TD>1&lt;2</TD><TD>a</TD><TD>3&amp;4</TD><TD>cat</TD>"
              "<TD>5&gt;4</TD><TD></TD><TD></TD><TD></TD><TD></TD></TR>\r\n");
    EXPECT_EQ(htmlEscaped("a&b<c>d"), "a&amp;b&lt;c&gt;d");
}

TEST(ConversionLayoutTest, HtmlIsACompleteDocumentEvenWithoutRows) {
    const Lines out = convert({}, specFor(SpreadsheetLayout::Html));
    Lines expected(std::begin(kHtmlHead), std::end(kHtmlHead));
    expected.insert(expected.end(), std::begin(kHtmlTail), std::end(kHtmlTail));
    EXPECT_EQ(out, expected);
    EXPECT_EQ(out.front(), "<HTML>\r\n");
    EXPECT_EQ(out[3], "<META NAME=\"Generator\" CONTENT=\"Vellmora for Win32\">\r\n");
    EXPECT_EQ(out.back(), "</HTML>\r\n");
}

TEST(ConversionLayoutTest, JapaneseWordsStayWhole) {
    // あい うえ cat か ソソ: the second bytes 0x5C of ソ look like a backslash, a separator.
    const std::string line =
        hitLine("\x82\xa0\x82\xa2 \x82\xa4\x82\xa6 ", "cat \x82\xa9 \x83\x5c\x83\x5c");
    EXPECT_EQ(convert({line}, specFor(SpreadsheetLayout::Tsv2)),
              Lines{"\t\t\t\x82\xa0\x82\xa2\t\x82\xa4\x82\xa6\tcat\t\x82\xa9\t\x83\x5c\x83\x5c"
                    "\t\t\t\r\n"});
    EXPECT_EQ(convert({line}, specFor(SpreadsheetLayout::Csv3)),
              Lines{"\"\",\"\",\"\",\"\x82\xa0\x82\xa2\",\"\x82\xa4\x82\xa6\",\"cat\",\"\x82\xa9\","
                    "\"\x83\x5c\x83\x5c\",\"\",\"\",\"\"\r\n"});

    // A Japanese keyword: its word and the words after it.
    const std::string japanese = hitLine("", "\x83\x5c\x83\x5c\x82\xa9 \x82\xa0");
    const Lines row = convert({japanese}, specFor(SpreadsheetLayout::Tsv2));
    ASSERT_EQ(row.size(), 1u);
    EXPECT_NE(row[0].find("\t\x83\x5c\x83\x5c\x82\xa9\t\x82\xa0\t\t\t\t\r\n"), std::string::npos);
}

TEST(ConversionCellTest, LongWordsAreCutAtACharacterBoundary) {
    std::string kana;
    for (int i = 0; i < 30; ++i) kana += "\x82\xa0";  // 60 bytes
    EXPECT_EQ(cellWord(kana), kana.substr(0, 48));    // byte 49 would split a character
    EXPECT_EQ(cellWord("a" + kana), "a" + kana.substr(0, 48));
    EXPECT_EQ(cellWord(std::string(60, 'x')), std::string(49, 'x'));
    EXPECT_EQ(cellWord("short"), "short");

    // The same cut in a row: the keyword's word is 1 + 60 bytes of Japanese text.
    const std::string line = hitLine("", "k" + kana);
    const Lines out = convert({line}, specFor(SpreadsheetLayout::Tsv2));
    EXPECT_EQ(out, Lines{"\t\t\t\t\tk" + kana.substr(0, 48) + "\t\t\t\t\t\r\n"});
}

TEST(ConversionTagTest, PrefixFormatsGiveNameAndNumber) {
    const auto tag = [](std::string_view prefix, int selector) {
        std::optional<LineTag> t = tagOfPrefix(prefix, selector, "/corpus/last.txt");
        if (!t) return std::string("<none>");
        return t->name + (t->number ? ":" + *t->number : std::string());
    };
    EXPECT_EQ(tag("     12", 0), "/corpus/last.txt:12");
    EXPECT_EQ(tag("   /c/a.txt:     12", 10), "/c/a.txt:12");
    EXPECT_EQ(tag("/c/a.txt:12345678", 10), "/c/a.txt:12345678");  // the field widened
    EXPECT_EQ(tag("   /c/a.txt", 11), "/c/a.txt");
    EXPECT_EQ(tag(" /c/(x).txt(    12)", 20), "/c/(x).txt:12");
    EXPECT_EQ(tag("abc", 1), "<none>");
    EXPECT_EQ(tag("abc", 7), "<none>");
    EXPECT_EQ(tag("no colon here", 10), "no colon here");  // a damaged prefix stays whole
}

TEST(ConversionTagTest, TagCellFollowsTheLayout) {
    const std::string line = "   a.txt:      7 | " + std::string(kColumn - 1, ' ') + "cat\r\n";
    const auto row = [&](SpreadsheetLayout layout) {
        Lines out = convert({line}, specFor(layout, true, 10));
        return layout == SpreadsheetLayout::Html ? out[std::size(kHtmlHead)] : out.at(0);
    };
    EXPECT_EQ(row(SpreadsheetLayout::Tsv1),
              "\"a.txt:7\t\"\t\"\t\"\t\"\t\"\t\"cat\t\"\t\"\t\"\t\"\t\"\r\n");
    EXPECT_EQ(row(SpreadsheetLayout::Tsv2), "a.txt:7\t\t\t\t\t\tcat\t\t\t\t\t\r\n");
    EXPECT_EQ(row(SpreadsheetLayout::Tsv3), "\"a.txt:7\"\t'\t'\t'\t'\t'\t'cat\t'\t'\t'\t'\t'\r\n");
    EXPECT_EQ(row(SpreadsheetLayout::Csv1), "\"a.txt:7,\",\",\",\",\",\"cat,\",\",\",\",\"\r\n");
    EXPECT_EQ(row(SpreadsheetLayout::Csv2), "a.txt:7,,,,,,cat,,,,,\r\n");
    EXPECT_EQ(row(SpreadsheetLayout::Csv3),
              "\"a.txt:7\",\"\",\"\",\"\",\"\",\"\",\"cat\",\"\",\"\",\"\",\"\",\"\"\r\n");
    EXPECT_EQ(row(SpreadsheetLayout::Html),
              "<TR><TH>a.txt:7</TH><TD></TD><TD></TD><TD></TD><TD></TD><TD></TD><TD>cat</TD>"
              "<TD></TD><TD></TD><TD></TD><TD></TD><TD></TD></TR>\r\n");
}

TEST(ConversionTagTest, NumberOnlyLinesTakeTheNameOfTheLatestSeparator) {
    const Lines source = {
        "-----[ /corpus/a.txt ]-----\r\n",
        hitLine("", "cat", 3),
        "-----[ /corpus/b & c.txt ]-----\r\n",
        hitLine("", "cat", 12),
        "Total : 2\r\n",
    };
    EXPECT_EQ(convert(source, specFor(SpreadsheetLayout::Csv2, true)),
              (Lines{"/corpus/a.txt:3,,,,,,cat,,,,,\r\n", "/corpus/b & c.txt:12,,,,,,cat,,,,,\r\n",
                     ",,,,,,,,,,\r\n"}));
    // The file name is escaped like the words.
    const Lines html = convert(source, specFor(SpreadsheetLayout::Html, true));
    EXPECT_TRUE(
        html[std::size(kHtmlHead) + 1].starts_with("<TR><TH>/corpus/b &amp; c.txt:12</TH>"));
}

TEST(ConversionTagTest, WithoutTagInfoOrPrefixThereIsNoTagCell) {
    EXPECT_EQ(convert({hitLine("", "cat", 4)}, specFor(SpreadsheetLayout::Csv2, false)),
              Lines{",,,,,cat,,,,,\r\n"});
    // Format 1 lines have no prefix: a " | " in their text is text, not a prefix.
    const std::string bare = std::string(kColumn - 1, ' ') + "cat a | b\r\n";
    EXPECT_EQ(convert({bare}, specFor(SpreadsheetLayout::Csv2, true, 1)),
              Lines{",,,,,cat,a,b,,,\r\n"});
}

TEST(ConversionRunTest, SeparatorsGiveNoRowAndACancelChangesNothing) {
    ConversionOutcome outcome;
    const Lines out = convert({"-----[ a.txt ]-----\r\n", kEnglish, kEnglish},
                              specFor(SpreadsheetLayout::Csv2), &outcome);
    EXPECT_EQ(out.size(), 2u);
    EXPECT_EQ(outcome.rows, 2);

    CExStringList in;
    in.addTail(kEnglish);
    in.addTail(kEnglish);
    CExStringList converted;
    converted.addTail("old\r\n");
    RecordingUserInterface ui;
    ui.cancelAtPump(2);
    outcome = convertToSpreadsheet(in, specFor(SpreadsheetLayout::Csv2), converted, ui);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(linesOf(converted), Lines{"old\r\n"});
}

TEST(ConversionRunTest, TheConvertedListCanBeItsOwnSource) {
    CExStringList list;
    list.addTail(kEnglish);
    RecordingUserInterface ui;
    convertToSpreadsheet(list, specFor(SpreadsheetLayout::Csv2), list, ui);
    EXPECT_EQ(linesOf(list), Lines{"a,b,c,d,e,cat,f,g,h,i,j\r\n"});
}

TEST(ConversionRunTest, ColumnWidthsAreTheWidestCellOfEachColumn) {
    CExStringList list;
    list.addTail("ab\tc\t\r\n");
    list.addTail("a\t\x82\xa0\x82\xa0\x82\xa0\tlast\r\n");
    list.addTail("abcd\r\n");
    EXPECT_EQ(tabColumnWidths(list), (std::vector<std::int64_t>{4, 6, 4}));
}

TEST(ConversionRunTest, OddSpecsAreSafe) {
    // A stored mode outside the seven, a keyword column outside every line.
    EXPECT_EQ(layoutFromValue(7), SpreadsheetLayout::Tsv1);
    EXPECT_EQ(layoutFromValue(-1), SpreadsheetLayout::Tsv1);
    ConversionSpec spec = specFor(static_cast<SpreadsheetLayout>(99));
    spec.keywordColumn = -5;
    EXPECT_EQ(convert({kEnglish}, spec), Lines{"\"\t\"\t\"\t\"\t\"\t\"\t\"\t\"\t\"\t\"\t\"\r\n"});
    spec.keywordColumn = 1 << 30;
    EXPECT_EQ(convert({kEnglish}, spec).size(), 1u);
}

TEST(ConversionLayoutTest, ExamplesShowThreeWords) {
    EXPECT_EQ(layoutExample(SpreadsheetLayout::Csv3), "\"one\",\"two\",\"three\"");
    EXPECT_EQ(layoutExample(SpreadsheetLayout::Html),
              "<TR><TD>one</TD><TD>two</TD><TD>three</TD></TR>");
}

}  // namespace
}  // namespace vellmora
