#pragma once

// Where a result's hits stand in their corpus files: one row per file, the hits' lines and the
// file's line count, which is what a dispersion plot draws.

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vellmora {

class CPyxoDoc;

/// One hit: the result line that shows it and the corpus line it was found on.
struct DispersionHit {
    long resultIndex = 0;  ///< index in the displayed list
    long line = 1;         ///< 1 is the file's first line
    bool operator==(const DispersionHit&) const = default;
};

/// One corpus file of a result.
struct DispersionRow {
    std::string name;  ///< as the result names it (bytes as stored: UTF-8 or Shift-JIS)
    std::string path;  ///< where its lines were counted; empty when no such file could be read
    std::optional<long> lineCount;    ///< none when the file could not be read
    std::vector<DispersionHit> hits;  ///< in the order of the result

    /// The line a bar ends at: the line count, or the highest hit line when the count is
    /// unknown or falls short of a hit (the file changed since the search); at least 1.
    long extent() const;
    /// Hits × 1000 / line count; none when the count is unknown or 0.
    std::optional<double> hitsPerThousandLines() const;
};

struct DispersionPlot {
    std::vector<DispersionRow> rows;  ///< in the order the files first appear in the result
    long hitCount() const;
};

/// What the plot needs besides the document.
struct DispersionContext {
    /// Where a relative name that is not found as given is looked for, in this order.
    std::vector<std::string> searchDirectories;
    /// The KWOC context lines of the search ("ContextMae", "ContextAto"): with any, a KWOC
    /// result shows each match as a separator followed by its lines, of which only one is
    /// the hit.
    int kwocLinesBefore = 0;
    int kwocLinesAfter = 0;
};

/// Counts a file's lines as the search numbers them: a CR LF pair is one line end, a last line
/// without a line end counts, and a line longer than the reader's piece counts once per piece.
/// None when the file cannot be opened or read.
std::optional<long> countFileLines(const std::string& path);

/// Line counts of files, each file read once however often it is asked for.
class FileLineCounts {
public:
    std::optional<long> of(const std::string& path);
    void clear() { m_counts.clear(); }

private:
    std::unordered_map<std::string, std::optional<long>> m_counts;
};

inline constexpr std::string_view kNoPlotForTablesMessage =
    "Collocation statistics and TSV/CSV lines have no dispersion plot.";
inline constexpr std::string_view kNoLineNumbersMessage =
    "The lines of this result carry no line numbers: its hits cannot be placed in their files.";
inline constexpr std::string_view kNoHitLinesMessage =
    "No line of this result names a corpus file and line (sorted lines name their files only "
    "when each line begins with its file's name).";

/// Why the displayed list of document has no plot: a table kind, a layout without line
/// numbers, or no lines at all. None when it may have one.
std::optional<std::string_view> dispersionUnavailable(const CPyxoDoc& document);

/// The rows of the displayed list of document: every file a separator or a hit line names,
/// with the hits that name it and its line count. Empty when dispersionUnavailable() is not.
DispersionPlot dispersionOf(const CPyxoDoc& document, const DispersionContext& context,
                            FileLineCounts& counts);

}  // namespace vellmora
