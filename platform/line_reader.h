#pragma once

// Line reading for the search: a buffered reader that hands out a file's lines in pieces of at
// most 8,191 bytes, the shaping of each piece's end, and the guard against binary files.
//
// One turn of a search loop:
//
//     LinePiece piece;
//     if (!reader.next(slot, piece)) ...;                      // nothing more in the file
//     if (guard.abandons(slot, piece)) ...;                    // looks binary: give up the file
//     ...                                                      // pump, cancel check, count
//     std::size_t length = shaper.shape(slot, piece, reader);  // may give bytes back to reader
//
// The reader copies each piece straight into the caller's line slot, once; everything after that
// works in place in the slot.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/needle_set.h"

namespace vellmora {

/// The longest piece of a line, in bytes; longer lines are read as several pieces.
inline constexpr std::size_t kMaxPieceLength = 8191;
/// The least a line slot must hold: a whole piece and its terminator.
inline constexpr std::size_t kMinLineSlotSize = kMaxPieceLength + 1;

/// What the reader knows about the piece it just wrote into a slot.
struct LinePiece {
    /// Bytes of text before the terminator: the text ends at the piece's first NUL byte, as with
    /// any terminated string.
    std::size_t length = 0;
    /// The text ends with the line end '\n' (a CR LF pair in the file reads as one '\n').
    bool lineEnd = false;
    /// A NUL byte ended the text early; the piece's bytes after it are gone.
    bool cutAtNul = false;
    /// The text may hold a TAB byte; false means it surely holds none.
    bool mayHoldTab = true;
    /// The raw bytes of the piece may hold the reader's needle; false means they surely
    /// do not, and the piece ends at a line end (always true without a needle).
    bool mayHoldNeedle = true;
    /// No byte follows the piece in the file. Known only for pieces whose bytes did not end in a
    /// line end (false otherwise).
    bool endOfFile = false;
};

/// Reads one file at a time with read() into a buffer allocated once, and hands out its lines
/// as pieces. Bytes given back after a piece stay in the buffer and start the next piece, so
/// nothing is read from disk twice. Not copyable; reuse one reader for every file of a run.
class LineReader {
public:
    /// The default size of the read buffer.
    static constexpr std::size_t kDefaultBufferSize = 256 * 1024;

    /// bufferSize is how much one read() asks for (at least 1). Tests use tiny sizes so that
    /// every piece, CR LF pair and give-back straddles a refill.
    explicit LineReader(std::size_t bufferSize = kDefaultBufferSize);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    /// Closes the current file and opens path for reading. A path that cannot be opened or is no
    /// regular file (a directory, a FIFO) gives false; error() then holds the errno value.
    bool open(const std::string& path);
    /// Closes the current file, if any. Also done by open() and the destructor.
    void close();
    bool isOpen() const { return m_fd >= 0; }

    /// Writes the next piece into slot (at least kMinLineSlotSize bytes), terminated, and
    /// describes it in piece. False when nothing more can be read: the end of the file, a read
    /// error (see error()) or no open file.
    bool next(char* slot, LinePiece& piece);

    /// The unread bytes the buffer holds, at most maxBytes, reading the next buffer only when
    /// none is left. Right after open() these are the file's first bytes, and next() hands
    /// them out again without reading them twice. Empty at the end of the file.
    std::string_view peekStart(std::size_t maxBytes);

    /// Sets the bytes whose presence each piece reports in LinePiece::mayHoldNeedle; empty
    /// for none. The needle is looked for once per buffer, not once per line, so that a
    /// search can pass over the lines that cannot hold its keyword.
    /// With ignoreCase, ASCII letters of the needle match either case.
    void setNeedle(std::string_view needle, bool ignoreCase = false);
    /// As setNeedle, for pieces that may hold any of needles.
    void setNeedles(const std::vector<std::string>& needles, bool ignoreCase = false);

    /// Passes over whole lines that surely hold neither the needle nor a NUL byte: each ends
    /// with '\n' inside the current buffer and is no longer than a piece, so it would have been
    /// one piece of its own. Stops keepBefore lines (at most 7) before the first line that
    /// might hold either, or before the buffer's end, so that those lines are read normally.
    /// Returns how many lines it passed over; they count as pieces read. Nothing without a
    /// needle.
    std::size_t skipLines(std::size_t keepBefore);

    /// Pushes back the last count bytes of the piece just read (bytes points at them, in the slot
    /// or elsewhere) so that they begin the next piece. At most once per piece, and fewer bytes
    /// than the piece holds, so that reading always moves on; a piece that ended at a line end or
    /// at a NUL gives nothing back.
    void giveBack(const char* bytes, std::size_t count);

    /// Pieces handed out since the file was opened: the file's physical line count, where every
    /// piece of an over-long line counts as a line.
    std::size_t piecesRead() const { return m_piecesRead; }
    /// The errno value of the last failed open() or read(), else 0.
    int error() const { return m_error; }

private:
    /// Makes unread bytes available, reading when the buffer is used up. False at the end of the
    /// file or on a read error.
    bool fill();

    std::size_t m_bufferSize;
    // Room in front of the read area for give-back bytes when the read area has been refilled
    // since their piece began.
    std::unique_ptr<char[]> m_buffer;
    std::size_t m_pos = 0;  // first unread byte
    std::size_t m_end = 0;  // one past the last byte read
    int m_fd = -1;
    bool m_atEnd = true;  // no file, or read() has reported its end or failed
    int m_error = 0;
    std::size_t m_piecesRead = 0;
    std::size_t m_lastLength = 0;  // what the last piece may give back
    // Where the next NUL and TAB bytes of the buffer stand (m_end: none), so that a line is
    // searched for them only when one lies inside it: one scan per buffer, not per line.
    static constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);
    std::size_t m_nextNul = kUnknown;
    std::size_t m_nextTab = kUnknown;
    NeedleSet m_needles;
    std::size_t m_nextNeedle = kUnknown;
    /// The buffer's bytes changed: where the next NUL, TAB and needle stand is not known.
    void forgetScans();
    bool holdsNeedle(std::size_t from, std::size_t to);
    bool holds(char byte, std::size_t& next, std::size_t from, std::size_t to);
};

/// The end-of-line shaping of a search loop, applied to each piece in its slot: the line end
/// becomes the line-end marker, bytes cut by the piece limit go back to the reader, TABs become
/// spaces and the ignored leading bytes are dropped.
class LineShaper {
public:
    /// The marker that stands for "no marker".
    static constexpr char kNoMarker = '\0';

    /// marker replaces a line end (a space, '/', or kNoMarker); ignoreKeta leading bytes are
    /// dropped from every non-empty line (0 or a negative count drops nothing).
    LineShaper(char marker, long ignoreKeta) : m_marker(marker), m_ignoreKeta(ignoreKeta) {}

    /// Shapes the piece that reader has just written into line, in place; bytes that belong to
    /// the next piece are given back to reader. Returns the new length; line stays terminated.
    std::size_t shape(char* line, const LinePiece& piece, LineReader& reader) const;

private:
    std::size_t shapeLineEnd(char* line, const LinePiece& piece, LineReader& reader) const;

    char m_marker;
    long m_ignoreKeta;
};

/// The run-wide guard against binary files: a file full of short NUL-ended lines reads as many
/// one-byte lines. Count every piece read in the run; when the guard says so, abandon the file.
class BinaryFileGuard {
public:
    /// Counts a one-byte piece that is not a line end. True when the count already stood at the
    /// limit: the count starts again from 0 and the file is to be abandoned.
    bool abandons(const char* text, const LinePiece& piece) {
        if (piece.length != 1 || text[0] == '\n') return false;
        ++m_counted;
        if (m_oneByteLines == kLimit) {
            m_oneByteLines = 0;
            return true;
        }
        ++m_oneByteLines;
        return false;
    }
    /// Called at the start of every run.
    void reset() {
        m_oneByteLines = 0;
        m_counted = 0;
    }
    int count() const { return m_oneByteLines; }
    /// Takes up a count another guard reached (the files of a run searched elsewhere).
    void resume(int count) { m_oneByteLines = count; }
    /// The one-byte pieces seen since the reset, abandoning ones included.
    long counted() const { return m_counted; }

private:
    static constexpr int kLimit = 10;
    int m_oneByteLines = 0;
    long m_counted = 0;
};

}  // namespace vellmora
