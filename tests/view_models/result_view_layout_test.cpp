#include "document/result_view_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <random>

#include "document/line_cursor.h"

namespace vellmora {
namespace {

using Pieces = std::vector<std::pair<std::string, bool>>;

Pieces piecesOf(std::string_view line) {
    Pieces pieces;
    for (const HighlightPiece& piece : highlightPieces(line)) {
        pieces.emplace_back(std::string(piece.text), piece.highlighted);
    }
    return pieces;
}

TEST(ResultViewLayoutTest, EscapeBytesSwitchBetweenNormalAndHighlightedText) {
    EXPECT_EQ(piecesOf("plain"), (Pieces{{"plain", false}}));
    EXPECT_EQ(piecesOf("the \033cat sat"), (Pieces{{"the ", false}, {"cat sat", true}}));
    EXPECT_EQ(piecesOf("the \033cat\033 sat"),
              (Pieces{{"the ", false}, {"cat", true}, {" sat", false}}));
    EXPECT_EQ(piecesOf("\033\033a\033"), (Pieces{{"a", false}}));
    EXPECT_EQ(piecesOf("\033"), Pieces{});
    // Japanese keyword between switches stays whole.
    EXPECT_EQ(piecesOf("\x82\xCC\033\x94\x4C\033"),
              (Pieces{{"\x82\xCC", false}, {"\x94\x4C", true}}));
}

using Spans = std::vector<ByteSpan>;

TEST(ResultViewLayoutTest, AKwicKeywordIsTheLongestWordStandingAtItsColumn) {
    // Context "the black cat" after the tag: its byte 10 (L = 11) is byte 20 of the line.
    const KeywordMarks marks{1, 11, {"animals", "cat", "cats", "", "DOG"}};
    EXPECT_EQ(keywordSpans("      1 | the black cat sat", marks), (Spans{{20, 3}}));
    EXPECT_EQ(keywordSpans("      1 | two black CATS and a cat", marks), (Spans{{20, 4}}));
    EXPECT_EQ(keywordSpans("      1 | the Black dog", marks), (Spans{{20, 3}}));
    EXPECT_EQ(keywordSpans("      1 | the black ca", marks), Spans{});
    // Separator lines, a pattern that is not literally there, a column outside the line.
    EXPECT_EQ(keywordSpans("-----[ cat.txt ]-----", marks), Spans{});
    EXPECT_EQ(keywordSpans("      1 | the black cow and a cat", marks), Spans{});
    EXPECT_EQ(keywordSpans("      1 | short", marks), Spans{});
    EXPECT_EQ(keywordSpans("      1 | the black cat", {1, 0, {"cat"}}), Spans{});
    EXPECT_EQ(keywordSpans("      1 | the black cat", {1, INT_MAX, {"cat"}}), Spans{});
    EXPECT_EQ(keywordSpans("      1 | the black cat", {0, 11, {"cat"}}), Spans{});
    // Without a tag the whole line is the context; only the first " | " ends the tag.
    EXPECT_EQ(keywordSpans("the black cat", marks), (Spans{{10, 3}}));
    EXPECT_EQ(keywordSpans(" 1 | a | b cat", {1, 7, {"cat"}}), (Spans{{11, 3}}));
    EXPECT_EQ(keywordSpans("a | b cat", {1, 7, {"cat"}, true}), (Spans{{6, 3}}));
    // The column falls on the second byte of a character: nothing starts there, even if the
    // bytes from there spell the word ("\x83\x41" is one character, its second byte "A").
    EXPECT_EQ(keywordSpans("\x82\xCC\x83\x41XY", {1, 4, {"AXY"}}), Spans{});
    EXPECT_EQ(keywordSpans("\x82\xCC\x83\x41XY", {1, 3, {"\x83\x41xy"}}), (Spans{{2, 4}}));
    // Only spans that start before the limit count.
    EXPECT_EQ(keywordSpans("      1 | the black cat", marks, 20), Spans{});
    EXPECT_EQ(keywordSpans("      1 | the black cat", marks, 21), (Spans{{20, 3}}));
}

TEST(ResultViewLayoutTest, KwocKeywordsAreFoundAtEveryCharacterOfTheText) {
    const KeywordMarks marks{2, 0, {"cat", "ca", "\\", "A", "\x94\x4C"}};
    EXPECT_EQ(keywordSpans("   12 | a CAT, a cat and a cap", {2, 0, {"cat", "ca"}}),
              (Spans{{10, 3}, {17, 3}, {27, 2}}));
    // The tag is not searched; matches do not overlap.
    EXPECT_EQ(keywordSpans("cat | catcat", {2, 0, {"catc", "cat"}}), (Spans{{6, 4}}));
    // Second bytes that read as ASCII ("\x83\x5C" is one character, "\x83\x41" another) do
    // not start a match; the same bytes standing alone do.
    EXPECT_EQ(keywordSpans("1 | \x83\x5C\x83\x41\\a\x94\x4C", marks),
              (Spans{{8, 1}, {9, 1}, {10, 2}}));
    EXPECT_EQ(keywordSpans("1 | x\x83", {2, 0, {"\x83"}}), (Spans{{5, 1}}));
    EXPECT_EQ(keywordSpans("1 | a cat a cat", {2, 0, {"cat"}}, 10), (Spans{{6, 3}}));
    EXPECT_EQ(keywordSpans("1 | cat", {2, 0, {}}), Spans{});
    // File names in separator and count lines are no hits.
    EXPECT_EQ(keywordSpans("-----[ /corpus/cat.txt ]-----", {2, 0, {"cat"}}), Spans{});
    EXPECT_EQ(keywordSpans("/corpus/cat.txt : 3", {2, 0, {"cat"}}), Spans{});
    EXPECT_EQ(keywordSpans("-----[ /corpus/cat.txt ]-----", {1, 16, {"cat"}}), Spans{});
}

TEST(ResultViewLayoutTest, AnExpressionSearchMarksItsMatchesNotThePatternText) {
    // Stands in for the engine: "[Dd]evil[a-z]*" and, where asked, empty matches.
    std::vector<std::size_t> emptyAt;
    auto finder = [&emptyAt](std::string_view text,
                             std::size_t from) -> std::optional<ByteSpan> {
        for (std::size_t at = from; at <= text.size(); ++at) {
            if (std::find(emptyAt.begin(), emptyAt.end(), at) != emptyAt.end())
                return ByteSpan{at, 0};
            if (at + 5 <= text.size() && (text[at] == 'd' || text[at] == 'D') &&
                text.substr(at + 1, 4) == "evil") {
                std::size_t end = at + 5;
                while (end < text.size() && std::islower(static_cast<unsigned char>(text[end])))
                    ++end;
                return ByteSpan{at, end - at};
            }
        }
        return std::nullopt;
    };
    KeywordMarks kwic{1, 5, {"[Dd]evil[a-z]*"}};
    kwic.expression = finder;
    EXPECT_EQ(keywordSpans("    2 | the Devils came", kwic), (Spans{{12, 6}}));
    // A match that starts after the column is another one, not this line's hit.
    EXPECT_EQ(keywordSpans("    2 | the xdevil", kwic), Spans{});
    EXPECT_EQ(keywordSpans("    2 | the Devils", kwic, 12), Spans{});

    KeywordMarks kwoc{2, 0, {"[Dd]evil[a-z]*"}};
    kwoc.expression = finder;
    EXPECT_EQ(keywordSpans("   12 | devil, Devils and deviled", kwoc),
              (Spans{{8, 5}, {15, 6}, {26, 7}}));
    EXPECT_EQ(keywordSpans("   12 | devil, Devils and deviled", kwoc, 15), (Spans{{8, 5}}));
    // Empty matches mark nothing, also one at the very end, and the search goes on past them.
    emptyAt = {0, 8};
    EXPECT_EQ(keywordSpans("1 | a devil.", kwoc), (Spans{{6, 5}}));
}

TEST(ResultViewLayoutTest, DrawnPiecesHighlightTheKeywordUnlessTheLineHasSwitches) {
    auto drawn = [](std::string_view line, std::size_t shown, const KeywordMarks& marks) {
        Pieces pieces;
        for (const HighlightPiece& piece : drawnPieces(line, shown, marks)) {
            pieces.emplace_back(std::string(piece.text), piece.highlighted);
        }
        return pieces;
    };
    const KeywordMarks kwic{1, 5, {"cat"}};
    EXPECT_EQ(drawn("1 | the cat sat", 99, kwic),
              (Pieces{{"1 | the ", false}, {"cat", true}, {" sat", false}}));
    EXPECT_EQ(drawn("1 | the cat", 99, kwic), (Pieces{{"1 | the ", false}, {"cat", true}}));
    EXPECT_EQ(drawn("1 | the cat sat", 10, kwic), (Pieces{{"1 | the ", false}, {"ca", true}}));
    EXPECT_EQ(drawn("1 | the cat sat", 8, kwic), (Pieces{{"1 | the ", false}}));
    EXPECT_EQ(drawn("", 0, kwic), Pieces{});
    // Switches decide alone, even one past what is shown; a switch byte inside a character
    // is no switch.
    EXPECT_EQ(drawn("1 | the \033cat\033 sat", 99, {1, 5, {"\033cat"}}),
              (Pieces{{"1 | the ", false}, {"cat", true}, {" sat", false}}));
    EXPECT_EQ(drawn("1 | the cat sat\033", 12, kwic), (Pieces{{"1 | the cat ", false}}));
    EXPECT_EQ(drawn("1 | \x83\033 cat", 99, {1, 4, {"cat"}}),
              (Pieces{{"1 | \x83\033 ", false}, {"cat", true}}));
}

TEST(ResultViewLayoutTest, TabsCutOnlyBetweenWholeCharacters) {
    using Cells = std::vector<std::string_view>;
    EXPECT_EQ(tableCells("a\tbb\tccc"), (Cells{"a", "bb", "ccc"}));
    EXPECT_EQ(tableCells("a\t\t"), (Cells{"a", "", ""}));
    EXPECT_EQ(tableCells("no tab"), (Cells{"no tab"}));
    // 0x83 0x5C is one character; the tab after it cuts.
    EXPECT_EQ(tableCells("\x83\x5C\tx"), (Cells{"\x83\x5C", "x"}));
    // A tab byte right after a lead byte is taken as that character's second byte.
    EXPECT_EQ(tableCells("\x83\tx\ty"), (Cells{"\x83\tx", "y"}));
    // A lead byte at the very end has nothing to take.
    EXPECT_EQ(tableCells("a\t\x83"), (Cells{"a", "\x83"}));
}

TEST(ResultViewLayoutTest, CellsStartAfterTheirColumnsAndTheSeparatingCell) {
    const std::vector<std::string_view> cells = tableCells("a\tbb\tccc");
    EXPECT_EQ(cellStarts(cells, {3, 5}, 7), (std::vector<std::int64_t>{0, 28, 70}));
    EXPECT_EQ(cellStarts(cells, {3, 5, 9}, 6), (std::vector<std::int64_t>{0, 24, 60}));
    // Columns without a width take their own cell's length; negative widths count as 0.
    EXPECT_EQ(cellStarts(cells, {}, 7), (std::vector<std::int64_t>{0, 14, 35}));
    EXPECT_EQ(cellStarts(cells, {-9, INT_MAX}, 7),
              (std::vector<std::int64_t>{0, 7, 7 + 7 * (std::int64_t(INT_MAX) + 1)}));
    EXPECT_EQ(tableWidth({3, 5, -2}), 4 + 6 + 1);
}

TEST(ResultViewLayoutTest, TableModeFollowsTheKindAndTheCollocationDisplay) {
    EXPECT_EQ(tableModeFor(ResultKind::Spreadsheet, 0), TableMode::Spreadsheet);
    EXPECT_EQ(tableModeFor(ResultKind::Collocation, 1), TableMode::Collocation);
    EXPECT_EQ(tableModeFor(ResultKind::Collocation, 0), TableMode::None);
    EXPECT_EQ(tableModeFor(ResultKind::Original, 1), TableMode::None);
}

TEST(ResultViewLayoutTest, ScrollGeometryIsInWholeLinesWithoutAPixelLimit) {
    EXPECT_EQ(CellMetrics::from(0, 0).lineHeight, 12);
    EXPECT_EQ(CellMetrics::from(0, -3).averageCharWidth, 6);
    EXPECT_EQ(CellMetrics::from(15, 7).lineHeight, 15);

    // 4000 lines of 13 pixels are 52000 pixels; every line can still reach the top.
    EXPECT_EQ(lastFirstLine(4000, 260, 13), 3980);
    EXPECT_EQ(lastFirstLine(1000000, 260, 13), 999980);
    EXPECT_EQ(lastFirstLine(INT_MAX, 260, 13), INT_MAX - 20);
    EXPECT_EQ(lastFirstLine(10, 260, 13), 0);
    EXPECT_EQ(lastFirstLine(30, 5, 13), 29);
    EXPECT_EQ(linesToDraw(260, 13), 22);
    EXPECT_EQ(linesToDraw(-5, 13), 2);

    EXPECT_EQ(horizontalExtent(100, 7), 720);
    EXPECT_EQ(horizontalExtent(0, 7), 20);
    EXPECT_LE(horizontalExtent(std::int64_t(1) << 40, 7), INT_MAX);
}

TEST(ResultViewLayoutTest, LongLinesAreCutToWhatCanShowAtACharacterBoundary) {
    EXPECT_EQ(cutToPixels("abcdef", 3), "abc");
    EXPECT_EQ(cutToPixels("abc", 300), "abc");
    EXPECT_EQ(cutToPixels("abc", 0), "");
    EXPECT_EQ(cutToPixels("\x93\xFA\x96\x7B\x8C\xEA", 3), "\x93\xFA\x96\x7B");
    EXPECT_EQ(withoutLineEnd("a\r\n"), "a");
    EXPECT_EQ(withoutLineEnd("a\n"), "a\n");
    EXPECT_EQ(withoutLineEnd(""), "");
}

TEST(LineCursorTest, FindsTheSameNodesAsAWalkFromTheHead) {
    CExStringList list;
    for (int i = 0; i < 5000; ++i) list.addTail(std::to_string(i));
    LineCursor cursor;
    std::mt19937 random(7);
    for (int n = 0; n < 2000; ++n) {
        const int index = static_cast<int>(random() % 5000);
        ASSERT_EQ(cursor.seek(list, index), list.findIndex(index)) << index;
    }
    EXPECT_EQ(cursor.seek(list, -1), nullptr);
    EXPECT_EQ(cursor.seek(list, 5000), nullptr);
    EXPECT_EQ(cursor.seek(CExStringList(), 0), nullptr);
}

TEST(LineCursorTest, WalksFromTheNearestKnownNode) {
    CExStringList list;
    for (int i = 0; i < 100000; ++i) list.addTail("line");
    LineCursor cursor;
    cursor.seek(list, 99999);
    EXPECT_EQ(cursor.lastSteps(), 0);  // the tail
    cursor.seek(list, 99950);
    EXPECT_EQ(cursor.lastSteps(), 49);
    cursor.seek(list, 50000);
    EXPECT_EQ(cursor.lastSteps(), 49950);
    cursor.seek(list, 50003);
    EXPECT_EQ(cursor.lastSteps(), 3);
    cursor.seek(list, 49970);
    EXPECT_EQ(cursor.lastSteps(), 33);
}

TEST(LineCursorTest, ForgetsItsNodeWhenTheListChangesOrOnReset) {
    CExStringList list;
    for (int i = 0; i < 100; ++i) list.addTail(std::to_string(i));
    LineCursor cursor;
    cursor.seek(list, 50);
    list.addTail("100");
    EXPECT_EQ(CExStringList::at(cursor.seek(list, 51)), "51");
    EXPECT_EQ(cursor.lastSteps(), 49);  // from the tail: the kept node was dropped

    // Emptied and refilled to the same count: the list's generation tells, no reset needed
    // (the kept node was freed; using it would read freed memory).
    list.removeAll();
    for (int i = 0; i < 101; ++i) list.addTail("new " + std::to_string(i));
    EXPECT_EQ(CExStringList::at(cursor.seek(list, 51)), "new 51");
    // A line replaced in place, or the order changed, counts as a change too.
    const std::uint64_t before = list.generation();
    list.setAt(list.headPosition(), "first");
    EXPECT_GT(list.generation(), before);
    cursor.reset();
    EXPECT_EQ(CExStringList::at(cursor.seek(list, 0)), "first");

    CExStringList other;
    other.addTail("other");
    EXPECT_EQ(CExStringList::at(cursor.seek(other, 0)), "other");
}

}  // namespace
}  // namespace vellmora
