#include "document/dispersion.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <memory>

#include "containers/ex_string_list.h"
#include "document/editor_jump.h"
#include "document/result_document.h"
#include "platform/line_reader.h"

namespace vellmora {
namespace {

// Lines beyond any real file's are held here, so that sums and distances of lines cannot
// overflow whatever a result line says.
constexpr long kLineCap = LONG_MAX / 4;

/// The line a jump target names.
long lineOf(const JumpTarget& target) {
    long line = 1;
    const char* end = target.line.data() + target.line.size();
    const auto [stop, error] = std::from_chars(target.line.data(), end, line);
    if (error == std::errc::result_out_of_range) return kLineCap;
    return error == std::errc() && stop == end && line >= 1 ? std::min(line, kLineCap) : 1;
}

std::string joined(const std::string& directory, const std::string& name) {
    if (directory.empty()) return name;
    return directory.back() == '/' ? directory + name : directory + '/' + name;
}

/// Finds the file a row names and counts its lines: the name as given first, then, for a
/// relative name, inside each search directory.
void locate(DispersionRow& row, const DispersionContext& context, FileLineCounts& counts) {
    // A NUL would cut the name short and open some other file.
    if (row.name.empty() || row.name.find('\0') != std::string::npos) return;
    std::vector<std::string> candidates{row.name};
    if (row.name.front() != '/')
        for (const std::string& directory : context.searchDirectories)
            candidates.push_back(joined(directory, row.name));
    for (const std::string& candidate : candidates) {
        if (const std::optional<long> lines = counts.of(candidate)) {
            row.path = candidate;
            row.lineCount = lines;
            return;
        }
    }
}

/// The rows by name, made as names first appear.
class RowIndex {
public:
    explicit RowIndex(DispersionPlot& plot) : m_plot(plot) {}
    std::size_t of(const std::string& name) {
        const auto [at, added] = m_rows.try_emplace(name, m_plot.rows.size());
        if (added) m_plot.rows.push_back(DispersionRow{name, {}, {}, {}});
        return at->second;
    }

private:
    DispersionPlot& m_plot;
    std::unordered_map<std::string, std::size_t> m_rows;
};

/// The lines of one KWOC match with context: the separator's block, of which one is the hit.
/// In front the block holds linesBefore lines unless the file began sooner; behind it holds
/// linesAfter (one more where the keyword ran on into the next line).
class KwocMatch {
public:
    KwocMatch(DispersionPlot& plot, const DispersionContext& context)
        : m_plot(plot),
          m_before(std::clamp(context.kwocLinesBefore, 0, kMaxContext)),
          m_after(std::clamp(context.kwocLinesAfter, 0, kMaxContext)) {}

    void add(std::size_t row, const DispersionHit& line) { m_lines.push_back({row, line}); }

    void end() {
        if (m_lines.empty()) return;
        const long first = m_lines.front().line.line;
        const long last = m_lines.back().line.line;
        const long hit = first > 1 ? first + m_before : last - m_after;
        const auto nearest =
            std::min_element(m_lines.begin(), m_lines.end(), [hit](const Line& a, const Line& b) {
                return std::labs(a.line.line - hit) < std::labs(b.line.line - hit);
            });
        m_plot.rows[nearest->row].hits.push_back(nearest->line);
        m_lines.clear();
    }

private:
    static constexpr int kMaxContext = 1000;
    struct Line {
        std::size_t row;
        DispersionHit line;
    };
    DispersionPlot& m_plot;
    long m_before;
    long m_after;
    std::vector<Line> m_lines;
};

}  // namespace

long DispersionRow::extent() const {
    long extent = lineCount.value_or(1);
    for (const DispersionHit& hit : hits) extent = std::max(extent, hit.line);
    return std::max(extent, 1L);
}

std::optional<double> DispersionRow::hitsPerThousandLines() const {
    if (!lineCount || *lineCount <= 0) return std::nullopt;
    return static_cast<double>(hits.size()) * 1000.0 / static_cast<double>(*lineCount);
}

long DispersionPlot::hitCount() const {
    long count = 0;
    for (const DispersionRow& row : rows) count += static_cast<long>(row.hits.size());
    return count;
}

std::optional<long> countFileLines(const std::string& path) {
    LineReader reader;
    if (!reader.open(path)) return std::nullopt;
    const auto slot = std::make_unique<char[]>(kMinLineSlotSize);
    LinePiece piece;
    while (reader.next(slot.get(), piece)) {
    }
    if (reader.error() != 0) return std::nullopt;
    return static_cast<long>(reader.piecesRead());
}

std::optional<long> FileLineCounts::of(const std::string& path) {
    const auto known = m_counts.find(path);
    if (known != m_counts.end()) return known->second;
    return m_counts.emplace(path, countFileLines(path)).first->second;
}

std::optional<std::string_view> dispersionUnavailable(const CPyxoDoc& document) {
    const ResultKind kind = document.displayedKind();
    if (kind == ResultKind::Collocation || kind == ResultKind::Spreadsheet)
        return kNoPlotForTablesMessage;
    const int selector = document.snapshot().formatSelector;
    if (selector == 1 || selector == 11) return kNoLineNumbersMessage;
    if (document.list(kind).isEmpty()) return kNoHitLinesMessage;
    return std::nullopt;
}

DispersionPlot dispersionOf(const CPyxoDoc& document, const DispersionContext& context,
                            FileLineCounts& counts) {
    DispersionPlot plot;
    if (dispersionUnavailable(document)) return plot;
    const ResultKind kind = document.displayedKind();
    const int selector = document.snapshot().formatSelector;
    const bool kwocMatches = kind == ResultKind::Original && document.snapshot().searchKind == 2 &&
                             (context.kwocLinesBefore > 0 || context.kwocLinesAfter > 0);

    // jumpTarget reads a line in the light of the last separator before it. A list of just
    // that separator and the line gets the same answer without walking the whole result for
    // every line; a list of the line alone names a file only when the line is a separator.
    CExStringList alone;
    const CExStringList::Position line = alone.addTail("");
    CExStringList afterSeparator;
    const CExStringList::Position separator = afterSeparator.addTail("");
    const CExStringList::Position hitLine = afterSeparator.addTail("");

    RowIndex rows(plot);
    KwocMatch match(plot, context);
    long index = 0;
    for (const std::string& stored : document.list(kind)) {
        alone.setAt(line, stored);
        if (const std::optional<JumpTarget> file = jumpTarget(alone, 0, ResultKind::Original, 0)) {
            match.end();
            rows.of(file->file);
            afterSeparator.setAt(separator, stored);
        } else {
            std::optional<JumpTarget> hit;
            if (selector == 0) {
                afterSeparator.setAt(hitLine, stored);
                hit = jumpTarget(afterSeparator, 1, kind, selector);
            } else {
                hit = jumpTarget(alone, 0, kind, selector);
            }
            if (hit) {
                const std::size_t row = rows.of(hit->file);
                const DispersionHit found{index, lineOf(*hit)};
                if (kwocMatches)
                    match.add(row, found);
                else
                    plot.rows[row].hits.push_back(found);
            }
        }
        ++index;
    }
    match.end();
    for (DispersionRow& row : plot.rows) locate(row, context, counts);
    return plot;
}

}  // namespace vellmora
