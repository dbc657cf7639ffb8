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

/// True when a highlight switch stands in line as a character of its own.
bool holdsSwitch(std::string_view line) {
    if (line.find(kHighlightSwitch) == std::string_view::npos) return false;
    for (std::size_t i = 0; i < line.size(); i += ximo::characterLength(line, i)) {
        if (line[i] == kHighlightSwitch) return true;
    }
    return false;
}

/// The length of word when it stands at byte at of text, else 0. Both must have their
/// characters in the same places, so that a match never ends inside a character of text.
std::size_t matchAt(std::string_view text, std::size_t at, std::string_view word) {
    if (word.empty() || word.size() > text.size() - at) return 0;
    for (std::size_t i = 0; i < word.size();) {
        const std::size_t step = ximo::characterLength(word, i);
        if (ximo::characterLength(text, at + i) != step) return 0;
        const auto a = static_cast<unsigned char>(text[at + i]);
        const auto b = static_cast<unsigned char>(word[i]);
        if (step == 2 ? a != b || text[at + i + 1] != word[i + 1]
                      : ximo::toLower(a) != ximo::toLower(b)) {
            return 0;
        }
        i += step;
    }
    return word.size();
}

std::size_t longestWordAt(std::string_view text, std::size_t at,
                          const std::vector<std::string>& words) {
    std::size_t longest = 0;
    for (const std::string& word : words) longest = std::max(longest, matchAt(text, at, word));
    return longest;
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

std::vector<ByteSpan> keywordSpans(std::string_view line, const KeywordMarks& marks,
                                   std::size_t limit) {
    std::vector<ByteSpan> spans;
    // Separator lines name files, which may hold the keyword: they are no hits.
    if (line.starts_with("-----[ ") && line.ends_with(" ]-----")) return spans;
    const std::size_t bar = marks.untagged ? std::string_view::npos : line.find(" | ");
    // A tagged KWOC line without its bar is a count line, no line of the text.
    if (marks.searchKind == 2 && !marks.untagged && bar == std::string_view::npos) return spans;
    const std::size_t start = bar == std::string_view::npos ? 0 : bar + 3;
    const std::string_view text = line.substr(start);
    if (marks.searchKind == 1) {
        if (marks.keywordColumn < 1) return spans;
        const auto column = static_cast<std::size_t>(marks.keywordColumn) - 1;
        std::size_t i = 0;
        while (i < column && i < text.size()) i += ximo::characterLength(text, i);
        if (i != column || start + i >= limit) return spans;
        if (marks.expression) {
            // The search put the match it found at the keyword column.
            const std::optional<ByteSpan> match = marks.expression(text, i);
            if (match && match->start == i && match->length > 0)
                spans.push_back({start + i, match->length});
        } else if (const std::size_t length = longestWordAt(text, i, marks.words)) {
            spans.push_back({start + i, length});
        }
    } else if (marks.searchKind == 2 && marks.expression) {
        for (std::size_t i = 0; i < text.size();) {
            const std::optional<ByteSpan> match = marks.expression(text, i);
            if (!match || match->start < i || start + match->start >= limit) break;
            if (match->length == 0) {  // an empty match marks nothing: look on after it
                if (match->start >= text.size()) break;
                i = match->start + ximo::characterLength(text, match->start);
                continue;
            }
            spans.push_back({start + match->start, match->length});
            i = match->start + match->length;
        }
    } else if (marks.searchKind == 2) {
        for (std::size_t i = 0; i < text.size() && start + i < limit;) {
            const std::size_t length = longestWordAt(text, i, marks.words);
            if (length > 0) spans.push_back({start + i, length});
            i += length > 0 ? length : ximo::characterLength(text, i);
        }
    }
    return spans;
}

std::vector<HighlightPiece> drawnPieces(std::string_view line, std::size_t shown,
                                        const KeywordMarks& marks) {
    const std::string_view head = line.substr(0, shown);
    if (holdsSwitch(line)) return highlightPieces(head);
    std::vector<HighlightPiece> pieces;
    std::size_t at = 0;
    for (const ByteSpan& span : keywordSpans(line, marks, head.size())) {
        if (span.start > at) pieces.push_back({head.substr(at, span.start - at), false});
        pieces.push_back({head.substr(span.start, span.length), true});
        at = span.start + span.length;
    }
    if (at < head.size()) pieces.push_back({head.substr(at), false});
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
