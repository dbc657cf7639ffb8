#include "platform/line_reader.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cerrno>
#include <cstring>

#include "textlib/sjis.h"

namespace vellmora {
namespace {

// Give-back bytes land in front of the first unread byte. Right after a refill that byte is the
// start of the read area, so the room before it must hold the largest give-back.
constexpr std::size_t kHeadroom = kMaxPieceLength;

bool isControl(unsigned char c) { return c >= 1 && c <= 31; }

// Offset where the bytes a cut piece gives back begin: the trailing white space and the first
// bytes of double-byte characters that stand at a character boundary. length when there are
// none, 0 when the whole text would go.
std::size_t giveBackStart(const char* text, std::size_t length) {
    auto byte = [text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    // Neither white space nor a lead byte ends the run for sure; before it no character
    // boundary matters.
    std::size_t tail = length;
    while (tail > 0 && (ximo::isSpace(byte(tail - 1)) || ximo::isLeadByte(byte(tail - 1)))) --tail;
    if (tail == length) return length;

    // Only a walk from the start tells a lead byte that begins a character from the second
    // byte of the character before it.
    auto step = [&](std::size_t i) -> std::size_t {
        return ximo::isLeadByte(byte(i)) && i + 1 < length ? 2 : 1;
    };
    std::size_t nextStart = 0;
    while (nextStart < tail) nextStart += step(nextStart);

    std::size_t start = tail;
    for (std::size_t i = tail; i < length; ++i) {
        bool charStart = i == nextStart;
        if (charStart) nextStart += step(i);
        if (!ximo::isSpace(byte(i)) && !(charStart && ximo::isLeadByte(byte(i)))) start = i + 1;
    }
    return start;
}

/// The lines that end in [begin, end) one after another from begin, each with its '\n'
/// within maxLength bytes of its start, and where the last of them ends.
struct WholeLines {
    std::size_t count = 0;
    const char* end = nullptr;
};

/// The set bits of x, inline: the compiler's own call for it costs more than the bits below
/// on processors it cannot assume have an instruction for it.
inline std::size_t bitCount(std::uint64_t x) {
    x -= (x >> 1) & 0x5555555555555555u;
    x = (x & 0x3333333333333333u) + ((x >> 2) & 0x3333333333333333u);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
    return static_cast<std::size_t>((x * 0x0101010101010101u) >> 56);
}

/// Takes the 64 bytes at p, whose line ends are the bits of mask (count of them): false when
/// the line running into them is maxLength bytes long before it ends.
inline bool takeBlock(const char* p, std::uint64_t mask, std::size_t count, std::size_t maxLength,
                      WholeLines& lines) {
    // Offsets from p, never p + 64: the last block may be a copy of fewer bytes.
    if (mask == 0) return static_cast<std::size_t>(p - lines.end) + 64 < maxLength;
    const char* first = p + __builtin_ctzll(mask);
    if (static_cast<std::size_t>(first - lines.end) >= maxLength) return false;
    lines.count += count;
    lines.end = p + (64 - __builtin_clzll(mask));
    return true;
}

// Lines passed over are counted 64 bytes at a time, not looked at one by one: a call per
// line would cost more than the whole scan (most lines are short). The bytes left at the end,
// fewer than a block, are copied into one (its zero bytes are no line ends): between two hits
// of a frequent keyword the stretch is often shorter than a block, and a walk byte by byte
// over it cost more than all the blocks.
#if defined(__SSE2__)
WholeLines countLinesSse2(const char* p, const char* end, std::size_t maxLength) {
    WholeLines lines{0, p};
    const __m128i newline = _mm_set1_epi8('\n');
    auto maskOf = [&](const char* at) {
        std::uint64_t mask = 0;
        for (int i = 0; i < 4; ++i) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + 16 * i));
            mask |= std::uint64_t{static_cast<std::uint32_t>(
                        _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, newline)))}
                    << (16 * i);
        }
        return mask;
    };
    for (; end - p >= 64; p += 64) {
        const std::uint64_t mask = maskOf(p);
        if (!takeBlock(p, mask, bitCount(mask), maxLength, lines)) return lines;
    }
    if (p < end) {
        char last[64] = {};
        std::memcpy(last, p, static_cast<std::size_t>(end - p));
        const std::uint64_t mask = maskOf(last);
        takeBlock(p, mask, bitCount(mask), maxLength, lines);
    }
    return lines;
}
#endif

#if defined(__x86_64__) && defined(__GNUC__)
/// The line ends among the 64 bytes at at.
__attribute__((target("avx2"))) inline std::uint64_t newlineMaskAvx2(const char* at) {
    const __m256i newline = _mm256_set1_epi8('\n');
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 32));
    return std::uint64_t{static_cast<std::uint32_t>(
               _mm256_movemask_epi8(_mm256_cmpeq_epi8(low, newline)))} |
           std::uint64_t{static_cast<std::uint32_t>(
               _mm256_movemask_epi8(_mm256_cmpeq_epi8(high, newline)))}
               << 32;
}

// Twice as fast as the SSE2 loop on a processor that has the instructions (measured on
// Japanese text, whose short lines leave few blocks without a line end).
__attribute__((target("avx2,popcnt"))) WholeLines countLinesAvx2(const char* p, const char* end,
                                                                   std::size_t maxLength) {
    WholeLines lines{0, p};
    for (; end - p >= 64; p += 64) {
        const std::uint64_t mask = newlineMaskAvx2(p);
        if (!takeBlock(p, mask, static_cast<std::size_t>(__builtin_popcountll(mask)), maxLength,
                       lines))
            return lines;
    }
    if (p < end) {
        char last[64] = {};
        std::memcpy(last, p, static_cast<std::size_t>(end - p));
        const std::uint64_t mask = newlineMaskAvx2(last);
        takeBlock(p, mask, static_cast<std::size_t>(__builtin_popcountll(mask)), maxLength, lines);
    }
    return lines;
}

bool hasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
    return has;
}
#endif

WholeLines countWholeLines(const char* begin, const char* end, std::size_t maxLength) {
#if defined(__x86_64__) && defined(__GNUC__)
    if (hasAvx2()) return countLinesAvx2(begin, end, maxLength);
#endif
#if defined(__SSE2__)
    return countLinesSse2(begin, end, maxLength);
#else
    WholeLines lines{0, begin};
    for (const char* p = begin; p < end; ++p) {
        if (static_cast<std::size_t>(p - lines.end) >= maxLength) return lines;
        if (*p == '\n') {
            ++lines.count;
            lines.end = p + 1;
        }
    }
    return lines;
#endif
}

}  // namespace

LineReader::LineReader(std::size_t bufferSize)
    : m_bufferSize(std::max<std::size_t>(bufferSize, 1)),
      m_buffer(new char[kHeadroom + m_bufferSize]),
      m_pos(kHeadroom),
      m_end(kHeadroom) {}

LineReader::~LineReader() { close(); }

bool LineReader::open(const std::string& path) {
    close();
    int fd;
    // Non-blocking only so that a FIFO cannot stall the open; it is refused right below.
    do fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        m_error = errno;
        return false;
    }
    // Only regular files: a directory cannot be read as text, and a FIFO or a device may block
    // or never end.
    struct stat status;
    if (::fstat(fd, &status) != 0) status.st_mode = 0;
    if (!S_ISREG(status.st_mode)) {
        m_error = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
        ::close(fd);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    m_fd = fd;
    m_pos = m_end = kHeadroom;
    m_atEnd = false;
    m_error = 0;
    m_piecesRead = 0;
    m_lastLength = 0;
    forgetScans();
    return true;
}

void LineReader::close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    m_pos = m_end = kHeadroom;
    m_atEnd = true;
    m_lastLength = 0;
}

bool LineReader::fill() {
    if (m_pos < m_end) return true;
    if (m_atEnd) return false;
    ssize_t got;
    do got = ::read(m_fd, m_buffer.get() + kHeadroom, m_bufferSize);
    while (got < 0 && errno == EINTR);
    if (got <= 0) {
        if (got < 0) m_error = errno;
        m_atEnd = true;
        return false;
    }
    m_pos = kHeadroom;
    m_end = kHeadroom + static_cast<std::size_t>(got);
    forgetScans();
    return true;
}

std::string_view LineReader::peekStart(std::size_t maxBytes) {
    if (!fill()) return {};
    return {m_buffer.get() + m_pos, std::min(m_end - m_pos, maxBytes)};
}

void LineReader::forgetScans() {
    m_nextNul = m_nextTab = m_nextNeedle = kUnknown;
    m_needles.forget();
}

bool LineReader::holdsNeedle(std::size_t from, std::size_t to) {
    if (m_nextNeedle == kUnknown || m_nextNeedle < from)
        m_nextNeedle = m_needles.next(m_buffer.get(), from, m_end);
    return m_nextNeedle < to;
}

std::size_t LineReader::skipLines(std::size_t keepBefore) {
    constexpr std::size_t kMaxKept = 7;
    if (m_needles.empty() || m_pos >= m_end || keepBefore > kMaxKept) return 0;
    const char* base = m_buffer.get();
    // Where the first byte that must be read normally stands: a needle or a NUL.
    holdsNeedle(m_pos, m_pos);
    holds('\0', m_nextNul, m_pos, m_pos);
    const std::size_t stop = std::min(m_nextNeedle, m_nextNul);
    const char* begin = base + m_pos;
    const WholeLines lines = countWholeLines(begin, base + stop, kMaxPieceLength);
    if (lines.count <= keepBefore) return 0;
    // Back over the lines to be read normally, to the start of the first of them.
    const char* resume = lines.end;
    for (std::size_t i = 0; i < keepBefore; ++i) {
        const void* newline = memrchr(begin, '\n', static_cast<std::size_t>(resume - 1 - begin));
        resume = newline != nullptr ? static_cast<const char*>(newline) + 1 : begin;
    }
    const std::size_t skipped = lines.count - keepBefore;
    m_pos = static_cast<std::size_t>(resume - base);
    m_piecesRead += skipped;
    m_lastLength = 0;
    return skipped;
}

void LineReader::setNeedle(std::string_view needle, bool ignoreCase) {
    setNeedles({std::string(needle)}, ignoreCase);
}

void LineReader::setNeedles(const std::vector<std::string>& needles, bool ignoreCase) {
    m_needles.assign(needles, ignoreCase);
    m_nextNeedle = kUnknown;
    m_needles.forget();
}

bool LineReader::holds(char byte, std::size_t& next, std::size_t from, std::size_t to) {
    if (next == kUnknown || next < from) {
        const char* base = m_buffer.get();
        const void* found = std::memchr(base + from, byte, m_end - from);
        next = found != nullptr ? static_cast<const char*>(found) - base : m_end;
    }
    return next < to;
}

bool LineReader::next(char* slot, LinePiece& piece) {
    m_lastLength = 0;
    std::size_t length = 0;
    bool lineEnd = false;
    bool mayHoldNul = false;
    bool mayHoldTab = false;
    bool mayHoldNeedle = m_needles.empty();
    int chunks = 0;
    while (length < kMaxPieceLength && fill()) {
        const char* from = m_buffer.get() + m_pos;
        std::size_t span = std::min(m_end - m_pos, kMaxPieceLength - length);
        const char* newline = static_cast<const char*>(std::memchr(from, '\n', span));
        std::size_t taken = newline != nullptr ? newline - from + 1 : span;
        mayHoldNul = holds('\0', m_nextNul, m_pos, m_pos + taken) || mayHoldNul;
        mayHoldTab = holds('\t', m_nextTab, m_pos, m_pos + taken) || mayHoldTab;
        // A needle may straddle two reads: a piece taken from more than one is always a
        // candidate.
        if (!m_needles.empty() && !mayHoldNeedle)
            mayHoldNeedle = ++chunks > 1 || holdsNeedle(m_pos, m_pos + taken);
        std::memcpy(slot + length, from, taken);
        length += taken;
        m_pos += taken;
        if (newline != nullptr) {
            // The CR may have come with an earlier read; the slot holds it either way.
            if (length >= 2 && slot[length - 2] == '\r') {
                slot[length - 2] = '\n';
                --length;
            }
            lineEnd = true;
            break;
        }
    }
    // A CR as the last byte the limit allows still pairs with an LF that follows: together they
    // are the one byte '\n'.
    if (!lineEnd && length == kMaxPieceLength && slot[length - 1] == '\r' && fill() &&
        m_buffer[m_pos] == '\n') {
        slot[length - 1] = '\n';
        ++m_pos;
        lineEnd = true;
    }
    if (length == 0) return false;

    slot[length] = '\0';
    const void* nul = mayHoldNul ? std::memchr(slot, '\0', length) : nullptr;
    piece.mayHoldTab = mayHoldTab;
    piece.cutAtNul = nul != nullptr;
    piece.length = piece.cutAtNul ? static_cast<const char*>(nul) - slot : length;
    piece.lineEnd = lineEnd && !piece.cutAtNul;
    // A piece that does not end its line runs on into the next one, where a keyword may
    // continue: it stays a candidate.
    piece.mayHoldNeedle = mayHoldNeedle || !piece.lineEnd;
    piece.endOfFile = !lineEnd && !fill();
    if (!lineEnd && !piece.cutAtNul) m_lastLength = piece.length - 1;
    ++m_piecesRead;
    return true;
}

void LineReader::giveBack(const char* bytes, std::size_t count) {
    count = std::min(count, m_lastLength);
    m_lastLength = 0;
    // After every piece at least kHeadroom bytes lie before m_pos; the check keeps a misuse from
    // writing before the buffer.
    if (count == 0 || count > m_pos) return;
    m_pos -= count;
    // Usually the same bytes are still there; after a refill this brings them back.
    std::memmove(m_buffer.get() + m_pos, bytes, count);
    forgetScans();
}

std::size_t LineShaper::shape(char* line, const LinePiece& piece, LineReader& reader) const {
    std::size_t length = shapeLineEnd(line, piece, reader);
    if (piece.mayHoldTab) {
        for (char* tab = line; (tab = static_cast<char*>(std::memchr(tab, '\t', line + length - tab)));)
            *tab++ = ' ';
    }
    if (m_ignoreKeta > 0 && length > 0) {
        std::size_t cut = std::min(length, static_cast<std::size_t>(m_ignoreKeta));
        std::memmove(line, line + cut, length - cut + 1);
        length -= cut;
    }
    return length;
}

std::size_t LineShaper::shapeLineEnd(char* line, const LinePiece& piece, LineReader& reader) const {
    std::size_t length = piece.length;
    if (piece.lineEnd) {
        while (length > 0 && (line[length - 1] == '\n' || line[length - 1] == ' ')) --length;
        if (m_marker != kNoMarker) line[length++] = m_marker;
        line[length] = '\0';
        return length;
    }

    // Bytes cut by the limit belong to the next piece. A piece that would give back all it holds
    // (a run of 8,191 spaces) is kept whole instead, or it would be read again without end.
    std::size_t keep = giveBackStart(line, length);
    if (keep > 0 && keep < length) {
        if (piece.endOfFile && !piece.cutAtNul) {
            // Nothing follows: white space has nothing left to join, but a lead byte comes back
            // as a piece of its own rather than being lost.
            std::size_t kept = keep;
            for (std::size_t i = keep; i < length; ++i)
                if (!ximo::isSpace(static_cast<unsigned char>(line[i]))) line[kept++] = line[i];
            reader.giveBack(line + keep, kept - keep);
        } else if (!piece.cutAtNul) {
            reader.giveBack(line + keep, length - keep);
        }
        // After a NUL the rest of the piece is gone, so these bytes have nowhere to go: dropping
        // them leaves no half character behind.
        length = keep;
    }
    while (length > 0 && isControl(static_cast<unsigned char>(line[length - 1]))) --length;
    line[length] = '\0';
    return length;
}

}  // namespace vellmora
