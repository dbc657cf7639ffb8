// The line reader of the search, with its shaping, binary-file guard and line rewrites, over
// any file. Each file is read twice: once plainly with the default buffer, once with the
// buffer size and the keyword prefilter the input asks for. The two must hand out the same
// shaped lines under the same line numbers, the prefilter may pass over only lines without
// its needle, and every piece must keep the reader's promises.
//
// Input: switches, the separator line, then the file's bytes. Switches are words separated
// by blanks: utf8 euc jis ctrl del1 del3 html (the rewrites), icase, marker=space|slash|none,
// keta=N, buffer=N, keep=N (lines kept before a candidate), needle=TEXT.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "engine/preprocessor.h"
#include "platform/line_reader.h"
#include "tests/fuzz/fuzz_support.h"
#include "textlib/sjis.h"

namespace vellmora {
namespace {

struct Switches {
    PreprocessOptions rewrites;
    char marker = '/';
    long keta = 0;
    std::size_t bufferSize = 5;
    std::size_t keep = 5;
    std::string needle;
    bool ignoreCase = false;
};

long number(std::string_view text) { return std::strtol(std::string(text).c_str(), nullptr, 10); }

Switches parseSwitches(std::string_view text) {
    Switches s;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find_first_of(" \n", at), text.size());
        const std::string_view word = text.substr(at, end - at);
        at = end + 1;
        auto value = [&](std::string_view name) {
            return word.substr(0, name.size()) == name ? word.substr(name.size())
                                                       : std::string_view();
        };
        if (word == "utf8") s.rewrites.utf8ToSjis = true;
        if (word == "euc") s.rewrites.eucToSjis = true;
        if (word == "jis") s.rewrites.jisToSjis = true;
        if (word == "ctrl") s.rewrites.ctrlCode = true;
        if (word == "del1") s.rewrites.delSpace1 = true;
        if (word == "del3") s.rewrites.delSpace3 = true;
        if (word == "html") s.rewrites.deHtml = true;
        if (word == "icase") s.ignoreCase = true;
        if (word == "marker=space") s.marker = ' ';
        if (word == "marker=none") s.marker = LineShaper::kNoMarker;
        if (!value("keta=").empty()) s.keta = number(value("keta="));
        if (!value("buffer=").empty())
            s.bufferSize =
                static_cast<std::size_t>(std::clamp(number(value("buffer=")), 1L, 1L << 16));
        if (!value("keep=").empty())
            s.keep = static_cast<std::size_t>(std::clamp(number(value("keep=")), 0L, 7L));
        // A keyword never holds a line end: the search could not find it within a line.
        if (!value("needle=").empty()) s.needle = std::string(value("needle=").substr(0, 64));
    }
    if (s.needle.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos)
        s.needle.clear();
    return s;
}

struct Line {
    std::size_t number = 0;  ///< the reader's count of pieces once this one was read
    std::string raw;         ///< the piece as read, before shaping
    std::string shaped;
    bool cutAtNul = false;
};

struct Reading {
    std::vector<Line> lines;
    bool abandoned = false;
    std::size_t abandonedAt = 0;
};

void checkPiece(const char* slot, const LinePiece& piece) {
    fuzz::check(piece.length <= kMaxPieceLength, "a piece is at most 8,191 bytes");
    fuzz::check(slot[piece.length] == '\0' && std::strlen(slot) == piece.length,
                "a piece is terminated after its length");
    const char* newline = static_cast<const char*>(std::memchr(slot, '\n', piece.length));
    if (piece.lineEnd) {
        fuzz::check(newline == slot + piece.length - 1, "a line end is the piece's last byte");
    } else if (!piece.cutAtNul) {
        fuzz::check(newline == nullptr, "a piece without a line end holds none");
    }
    if (!piece.mayHoldTab)
        fuzz::check(std::memchr(slot, '\t', piece.length) == nullptr,
                    "a piece said free of TABs holds none");
}

bool holdsNeedle(std::string_view text, const Switches& s) {
    if (s.needle.empty()) return true;
    if (!s.ignoreCase) return text.find(s.needle) != std::string_view::npos;
    auto fold = [](std::string_view t) {
        std::string folded(t);
        for (char& c : folded) c = static_cast<char>(ximo::toLower(static_cast<unsigned char>(c)));
        return folded;
    };
    return fold(text).find(fold(s.needle)) != std::string::npos;
}

/// Reads the file as a search loop does. With prefilter, the reader passes over lines without
/// the needle and the pieces it hands out are checked against its claims.
Reading readFile(const std::string& path, const Switches& s, bool prefilter, std::size_t fileSize) {
    LineReader reader(prefilter ? s.bufferSize : LineReader::kDefaultBufferSize);
    const LineShaper shaper(s.marker, s.keta);
    BinaryFileGuard guard;
    if (prefilter) reader.setNeedle(s.needle, s.ignoreCase);
    fuzz::check(reader.open(path), "the file opens");
    // Exactly the size the search's slots promise to hold, so that a write past it shows.
    std::vector<char> slot(kMinLineSlotSize);
    Reading reading;
    LinePiece piece;
    for (;;) {
        if (prefilter) reader.skipLines(s.keep);
        if (!reader.next(slot.data(), piece)) break;
        checkPiece(slot.data(), piece);
        fuzz::check(reader.piecesRead() <= fileSize, "every piece moves the reading on");
        Line line{reader.piecesRead(), std::string(slot.data(), piece.length), {}, piece.cutAtNul};
        if (prefilter && !piece.mayHoldNeedle)
            fuzz::check(!holdsNeedle(line.raw, s), "a piece said free of the needle holds none");
        if (guard.abandons(slot.data(), piece)) {
            reading.abandoned = true;
            reading.abandonedAt = line.number;
            break;
        }
        const std::size_t length = shaper.shape(slot.data(), piece, reader);
        fuzz::check(length == std::strlen(slot.data()) && length <= piece.length,
                    "shaping keeps the line terminated and never lengthens it");
        fuzz::check(std::memchr(slot.data(), '\t', length) == nullptr &&
                        std::memchr(slot.data(), '\n', length) == nullptr,
                    "a shaped line holds no TAB and no line end");
        line.shaped.assign(slot.data(), length);
        reading.lines.push_back(std::move(line));
    }
    return reading;
}

void checkRewrites(const Reading& reading, const Switches& s) {
    LinePreprocessor preprocessor;
    preprocessor.startRun(s.rewrites);
    preprocessor.startFile();
    std::vector<char> line(LinePreprocessor::kLineBufferSize);
    for (const Line& read : reading.lines) {
        std::memcpy(line.data(), read.shaped.c_str(), read.shaped.size() + 1);
        preprocessor.process(line.data());
        fuzz::check(std::strlen(line.data()) <= read.shaped.size(),
                    "a rewrite never lengthens a line");
    }
}

}  // namespace
}  // namespace vellmora

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace vellmora;
    static fuzz::ScratchDir dir;
    const std::vector<std::string_view> parts = fuzz::splitParts(data, size, 2);
    if (parts.size() < 2) return 0;
    const Switches switches = parseSwitches(parts[0]);
    const std::string path = dir.file("corpus.txt");
    fuzz::writeFile(path, parts[1]);

    const Reading plain = readFile(path, switches, false, parts[1].size());
    const Reading filtered = readFile(path, switches, true, parts[1].size());
    fuzz::check(plain.abandoned == filtered.abandoned && plain.abandonedAt == filtered.abandonedAt,
                "the prefilter and the buffer size do not change when a file is given up");
    std::size_t j = 0;
    for (const Line& line : plain.lines) {
        const bool passedOver =
            j == filtered.lines.size() || filtered.lines[j].number > line.number;
        if (passedOver) {
            fuzz::check(!holdsNeedle(line.raw, switches) && !line.cutAtNul,
                        "only lines without the needle or a NUL are passed over");
            continue;
        }
        fuzz::check(filtered.lines[j].number == line.number && filtered.lines[j].raw == line.raw &&
                        filtered.lines[j].shaped == line.shaped,
                    "the buffer size and the prefilter do not change a line");
        ++j;
    }
    fuzz::check(j == filtered.lines.size(), "the prefiltered reading hands out no line of its own");
    checkRewrites(plain, switches);
    return 0;
}
