#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/line_window.h"

namespace vellmora {

class CExStringList;
struct SearchOptions;

/// The per-run layout of KWIC lines. All widths are bytes of Shift-JIS text.
struct LayoutValues {
    int x = 80;        ///< total line width (Xsize)
    int n = 10;        ///< 10 when line numbers are printed, else 0
    int f = 1;         ///< file-name column width, plus 1 with line numbers, plus 3 without
    int w = 69;        ///< x - n - f, at least 19: width of the context buffer (byte 0 unprinted)
    int offset = 0;    ///< keyword column offset, negative to the left
    int l = 1;         ///< keyword column in the context buffer
    int selector = 0;  ///< 0, 1, 10, 11 or 20: which hit format
};

/// Lays hits out as fixed-width lines whose keyword starts at one column. One object per
/// run; its buffers are reused from hit to hit, so laying out a hit allocates nothing once
/// the first lines have been made.
class ResultLayout {
public:
    /// Computes the values once per run, after the corpus file list is known. keyword1Length
    /// is the byte length of keyword 1 as the request holds it (for a word group, the length
    /// of the group's name): the keyword column never changes during a run.
    void start(const SearchOptions& options, const CExStringList& files, int keyword1Length);
    const LayoutValues& values() const { return m_values; }

    /// Starts the hits of a new current line: the window's slots hold other text now.
    void beginLine() { m_walkLine = {}; }

    /// The context buffer of a hit at byte hitOffset of the current line (window searches):
    /// left context from the current and up to five earlier lines, padded with spaces, the
    /// keyword at byte l, then the rest of the current line and later lines until it holds at
    /// least w bytes when the lines hold that much. A hitOffset past the line's end counts as
    /// its end. The returned text is terminated and stays valid until the next call.
    std::string_view windowContext(const LineWindow& window, std::size_t hitOffset);
    /// The same from the hit's own line alone (line searches).
    std::string_view lineContext(std::string_view line, std::size_t hitOffset);

    /// The printed text of a context buffer: bytes 1 to w - 1, one byte fewer when the last
    /// would split a double-byte character, fewer when the context ran out.
    std::string_view printedText(std::string_view context) const;

    /// The result line of a hit (without line end): the selector's format of the display
    /// name, the line number and the printed text. Valid until the next call.
    std::string_view hitLine(std::string_view displayName, unsigned long lineNumber,
                             std::string_view printed);

    /// "-----[ name ]-----"
    static std::string separatorLine(std::string_view displayName);
    /// "name : count"
    static std::string countLine(std::string_view displayName, long count);
    /// "Total : total"
    static std::string totalLine(long total);

private:
    // Blanks byte 1 when the context begins at byte cut of startLine and that byte is the
    // first half of a double-byte character.
    void blankHalfCharacter(std::string_view startLine, std::size_t cut);
    bool startsDoubleByteAt(std::string_view line, std::size_t n);

    LayoutValues m_values;
    std::string m_context;
    std::string m_line;
    std::string_view m_walkLine;  // the line the last character walk went over
    std::size_t m_walkPos = 0;    // a character start of it, at or before the last n asked
};

}  // namespace vellmora
