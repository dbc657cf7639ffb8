#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/result_document.h"

namespace vellmora {

// The geometry of the result view, kept apart from painting so that it can be checked
// without a display. Positions are pixels from the start of a line; widths of text are bytes
// (a double-byte character counts 2, as it fills two cells of the view's font).

/// The colour switch inside result lines: text after an odd number of them is highlighted.
inline constexpr char kHighlightSwitch = '\x1B';

/// How the view lays a line out.
enum class TableMode {
    None = 0,         ///< the line from the left margin, with highlight switches
    Spreadsheet = 1,  ///< TSV/CSV result: tab-separated cells in the conversion's columns
    Collocation = 2,  ///< collocation table: tab-separated cells in the table's columns
};

/// The table mode of a displayed kind: the TSV/CSV result always, the collocation result
/// when the document's collocation display is on (its second collocation value is not 0).
TableMode tableModeFor(ResultKind kind, int collocationValue2);

/// A stored line without its "\r\n" (a line without one is taken whole).
std::string_view withoutLineEnd(std::string_view line);

/// One run of a line in one pair of colours.
struct HighlightPiece {
    std::string_view text;
    bool highlighted = false;
};

/// Splits a line at its highlight switches, which are not drawn; empty runs are left out.
/// No switch is taken from inside a double-byte character.
std::vector<HighlightPiece> highlightPieces(std::string_view line);

/// Bytes [start, start + length) of a line.
struct ByteSpan {
    std::size_t start = 0;
    std::size_t length = 0;
    bool operator==(const ByteSpan&) const = default;
};

/// The first match of a search's expression in text at or after byte from, as the search's
/// engine finds it; nothing when there is none.
using ExpressionFinder =
    std::function<std::optional<ByteSpan>(std::string_view text, std::size_t from)>;

/// What finds a search's keyword in its lines as the view shows them.
struct KeywordMarks {
    int searchKind = 0;     ///< 1 KWIC, 2 KWOC; any other value marks nothing
    int keywordColumn = 0;  ///< L: a KWIC keyword's first byte is byte L - 1 of the context
    /// The keyword and, for a word-group search, the group's words; empty ones are ignored.
    std::vector<std::string> words;
    /// The lines have no tag (the layout without line numbers): the whole line is the
    /// context, even where its text quotes " | ".
    bool untagged = false;
    /// Set for a regular-expression search: its matches are the keyword, not the words.
    ExpressionFinder expression = nullptr;
};

/// Where the keyword stands in a line, in order and without overlap, among the spans that
/// start before byte limit. The text after the first " | " (the whole line without one, or
/// when the lines are untagged) is searched: a KWIC line at its keyword column only, with the
/// longest word that stands there; a KWOC line everywhere. ASCII letters compare without regard to
/// case, other bytes exactly, and a word starts only where a character does. With an
/// expression its matches take the words' place: in a KWIC line the one that starts at the
/// column, in a KWOC line every one that is not empty.
std::vector<ByteSpan> keywordSpans(std::string_view line, const KeywordMarks& marks,
                                   std::size_t limit = std::string_view::npos);

/// The runs of a line's first shown bytes in their colours: a line holding a highlight switch
/// as its switches say, any other with its keyword highlighted.
std::vector<HighlightPiece> drawnPieces(std::string_view line, std::size_t shown,
                                        const KeywordMarks& marks);

/// Splits a line at its tabs, stepping over both bytes of every double-byte character, so
/// a tab byte that is the second half of a character does not cut.
std::vector<std::string_view> tableCells(std::string_view line);

/// The font's measures as the view uses them: 12 pixels high and 6 wide stand in for a font
/// that reports 0.
struct CellMetrics {
    int lineHeight = 12;
    int averageCharWidth = 6;

    static CellMetrics from(int lineHeight, int averageCharWidth);
};

/// Where each cell starts: cell i + 1 starts averageCharWidth * (width of column i + 1) after
/// cell i. A column the widths do not cover takes its own cell's length; a negative width
/// counts as 0.
std::vector<std::int64_t> cellStarts(const std::vector<std::string_view>& cells,
                                     const std::vector<int>& columnWidths, int averageCharWidth);

/// Characters a table of these columns needs: each column and the cell that follows it.
std::int64_t tableWidth(const std::vector<int>& columnWidths);

/// The horizontal extent of lines of lineWidth characters, with the 20-pixel margin; never
/// more than fits an int.
int horizontalExtent(std::int64_t lineWidth, int averageCharWidth);

/// Lines that fit in the window whole (at least 1).
int wholeLinesIn(int viewportHeight, int lineHeight);

/// The largest first visible line: scrolled further, the window's bottom would stay empty.
/// Scrolling is by whole lines, so there is no pixel limit on the number of lines.
int lastFirstLine(int lineCount, int viewportHeight, int lineHeight);

/// The lines a paint draws from the first visible one: the window's height in lines plus 2.
int linesToDraw(int viewportHeight, int lineHeight);

/// The start of text that can fill pixels: no glyph is narrower than a pixel per byte, so
/// more bytes than pixels cannot show; cut at a character boundary. Keeps a paint of a very
/// long line as cheap as a short one.
std::string_view cutToPixels(std::string_view text, std::int64_t pixels);

}  // namespace vellmora
