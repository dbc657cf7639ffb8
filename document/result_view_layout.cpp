#include "document/result_view_layout.h"

#include <algorithm>
#include <climits>

#include "textlib/sjis.h"

namespace vellmora {
namespace {

constexpr int kExtentMargin = 20;

/// Splits at every separator byte that stands as a character of its own.
template <typename Piece>
void splitAt(std::string_view line, char separator, Piece&& piece) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < line.size();) {
        if (line[i] == separator) {
            piece(line.substr(start, i - start), true);
            start = ++i;
            continue;
        }
        i += ximo::characterLength(line, i);
    }
    piece(line.substr(start), false);
}

}  // namespace

TableMode tableModeFor(ResultKind kind, int collocationValue2) {
    if (kind == ResultKind::Spreadsheet) return TableMode::Spreadsheet;
    if (kind == ResultKind::Collocation && collocationValue2 != 0) return TableMode::Collocation;
    return TableMode::None;
}

std::string_view withoutLineEnd(std::string_view line) {
    if (line.ends_with("\r\n")) line.remove_suffix(2);
    return line;
}

std::vector<HighlightPiece> highlightPieces(std::string_view line) {
    std::vector<HighlightPiece> pieces;
    bool highlighted = false;
    splitAt(line, kHighlightSwitch, [&](std::string_view text, bool switchFollows) {
        if (!text.empty()) pieces.push_back({text, highlighted});
        if (switchFollows) highlighted = !highlighted;
    });
    return pieces;
}

std::vector<std::string_view> tableCells(std::string_view line) {
    std::vector<std::string_view> cells;
    splitAt(line, '\t', [&](std::string_view text, bool) { cells.push_back(text); });
    return cells;
}

CellMetrics CellMetrics::from(int lineHeight, int averageCharWidth) {
    CellMetrics metrics;
    if (lineHeight > 0) metrics.lineHeight = lineHeight;
    if (averageCharWidth > 0) metrics.averageCharWidth = averageCharWidth;
    return metrics;
}

std::vector<std::int64_t> cellStarts(const std::vector<std::string_view>& cells,
                                     const std::vector<int>& columnWidths, int averageCharWidth) {
    std::vector<std::int64_t> starts;
    starts.reserve(cells.size());
    std::int64_t x = 0;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        starts.push_back(x);
        const std::int64_t width = i < columnWidths.size()
                                       ? std::max(columnWidths[i], 0)
                                       : static_cast<std::int64_t>(cells[i].size());
        x += static_cast<std::int64_t>(averageCharWidth) * (width + 1);
    }
    return starts;
}

std::int64_t tableWidth(const std::vector<int>& columnWidths) {
    std::int64_t width = 0;
    for (int column : columnWidths) width += std::max(column, 0) + 1;
    return width;
}

int horizontalExtent(std::int64_t lineWidth, int averageCharWidth) {
    const int cell = std::max(averageCharWidth, 1);
    const std::int64_t limit = (INT_MAX - kExtentMargin) / cell;
    return static_cast<int>(std::clamp<std::int64_t>(lineWidth, 0, limit) * cell + kExtentMargin);
}

int wholeLinesIn(int viewportHeight, int lineHeight) {
    return std::max(1, viewportHeight / std::max(lineHeight, 1));
}

int lastFirstLine(int lineCount, int viewportHeight, int lineHeight) {
    return std::max(0, lineCount - wholeLinesIn(viewportHeight, lineHeight));
}

int linesToDraw(int viewportHeight, int lineHeight) {
    return std::max(0, viewportHeight) / std::max(lineHeight, 1) + 2;
}

std::string_view cutToPixels(std::string_view text, std::int64_t pixels) {
    if (pixels <= 0) return {};
    if (static_cast<std::uint64_t>(pixels) >= text.size()) return text;
    std::size_t end = 0;
    while (end < static_cast<std::size_t>(pixels)) end += ximo::characterLength(text, end);
    return text.substr(0, end);
}

}  // namespace vellmora
