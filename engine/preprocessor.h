#pragma once

#include <cstddef>
#include <vector>

#include "engine/encoding_detection.h"

namespace vellmora {

class Profile;

/// The line rewrites a search applies before matching; each is off unless its `Options` key
/// is 1. Read once when a run starts, so a settings edit during the run changes nothing.
struct PreprocessOptions {
    bool utf8ToSjis = false;  ///< `UTF8toSJIS`
    bool eucToSjis = false;   ///< `EUCtoSJIS`
    bool jisToSjis = false;   ///< `JIStoSJIS`
    bool ctrlCode = false;    ///< `CtrlCode`
    bool delSpace1 = false;   ///< `DelSpace1`
    bool delSpace3 = false;   ///< `DelSpace3`
    bool deHtml = false;      ///< `DeHTML`

    /// True when any rewrite is on: the search loop skips preprocessing otherwise.
    bool any() const {
        return utf8ToSjis || eucToSjis || jisToSjis || ctrlCode || delSpace1 || delSpace3 || deHtml;
    }
};

/// The seven switches from section `Options`.
PreprocessOptions readPreprocessOptions(Profile& profile);

/// Rewrites the lines of one search run in place. Owns what must survive from line to line:
/// whether an HTML tag or comment is still open (carried across files, cleared per run) and
/// whether the next line is the first of a file (where a UTF-8 byte-order mark is dropped).
///
/// Per run: startRun(options); per file: startFile() before its first line; per line read:
/// process(line). Not thread-safe; one run uses one instance.
class LinePreprocessor {
public:
    /// Size of the search's line buffers; lines are at most kLineBufferSize - 1 bytes.
    static constexpr std::size_t kLineBufferSize = 8200;

    LinePreprocessor();

    /// Takes the run's switches and forgets any tag left open by an earlier run.
    void startRun(const PreprocessOptions& options);
    /// The next line processed is the first line of a file, converted as the run's switches
    /// say.
    void startFile() {
        m_atFileStart = true;
        m_options = m_runOptions;
    }
    /// As startFile(), for a file read as encoding: its one conversion to Shift-JIS (none for
    /// Shift-JIS itself) takes the place of the run's three switches for this file alone.
    void startFile(InputEncoding encoding);

    /// Applies the switched-on rewrites to the NUL-terminated line, in place, in the order
    /// UTF-8, EUC-JP, ISO-2022-JP, control bytes, leading spaces, space runs, tags. The line
    /// never grows, so a line buffer of any size is safe.
    void process(char* line);

    const PreprocessOptions& options() const { return m_options; }
    /// A tag or comment opened on an earlier line is still open.
    bool tagOpen() const { return m_tagOpen; }
    /// The open construct is a comment (closed by "->" rather than ">").
    bool commentOpen() const { return m_commentOpen; }

private:
    void removeTags(char* line);

    PreprocessOptions m_runOptions;
    PreprocessOptions m_options;  // the run's, with the current file's conversion
    bool m_tagOpen = false;
    bool m_commentOpen = false;
    bool m_atFileStart = true;
    std::vector<char> m_scratch;  // for the library steps that want a separate output buffer
};

/// Converts a UTF-8 line to Shift-JIS (code page 932) in place. Characters code page 932 lacks
/// become the geta mark 0x81 0xAC; bytes that are not valid UTF-8 stay as they are; a byte-order
/// mark at the start is dropped when dropByteOrderMark is set. The text never grows.
void utf8ToSjis(char* text, bool dropByteOrderMark);

/// False when the system could not supply the code page 932 table; then every non-ASCII
/// character but half-width katakana converts to the geta mark.
bool haveCp932Table();

/// Replaces each full-width digit (0x82 0x4F to 0x82 0x58) by its ASCII digit, in place; the
/// text shortens by one byte per digit. Other double-byte characters stay whole.
void foldFullWidthDigits(char* text);

}  // namespace vellmora
