#include "platform/line_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "textlib/sjis.h"
#include "textlib/ximo.h"

namespace vellmora {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const std::string kData = std::string(VELLMORA_TEST_DATA) + "/reader/";
const std::string kRealFiles[] = {
    kData + "devil-part.txt",
    kData + "fortunes-part.txt",
    kData + "reference-sjis.txt",
    kData + "kjv-crlf.txt",
    std::string(VELLMORA_TEST_DATA) + "/ja/sjis/subset.txt",
};

// Read sizes that put a refill at every kind of place: inside a CR LF pair, inside a double-byte
// character, inside a give-back, right at the piece limit.
const std::size_t kBufferSizes[] = {1,    2,    3,    7,    64,
                                    4096, 8191, 8192, 8193, LineReader::kDefaultBufferSize};

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TempDir {
public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "line_reader_test.XXXXXX").string();
        if (::mkdtemp(pattern.data()) != nullptr) m_path = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        if (!m_path.empty()) fs::remove_all(m_path, ignored);
    }
    std::string write(const std::string& name, const std::string& bytes) const {
        std::string path = m_path + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    const std::string& path() const { return m_path; }

private:
    std::string m_path;
};

struct Options {
    std::size_t bufferSize = LineReader::kDefaultBufferSize;
    char marker = '/';
    long ignoreKeta = 0;
};

// Every line of the file as the search would see it after shaping, one entry per piece.
std::vector<std::string> shapedLines(const std::string& path, Options options = {}) {
    LineReader reader(options.bufferSize);
    LineShaper shaper(options.marker, options.ignoreKeta);
    std::vector<std::string> lines;
    if (!reader.open(path)) {
        ADD_FAILURE() << "cannot open " << path;
        return lines;
    }
    static char slot[8200];
    // A reader that gives back without end would never stop; no file has more pieces than bytes.
    std::size_t limit = fs::file_size(path) + 1;
    LinePiece piece;
    while (reader.next(slot, piece)) {
        std::size_t length = shaper.shape(slot, piece, reader);
        EXPECT_EQ(std::strlen(slot), length);
        lines.emplace_back(slot, length);
        if (lines.size() > limit) {
            ADD_FAILURE() << "reading does not end";
            break;
        }
    }
    EXPECT_EQ(reader.piecesRead(), lines.size());
    return lines;
}

// The pieces as read, before any shaping, so nothing is given back.
std::vector<std::string> rawPieces(const std::string& path, std::size_t bufferSize) {
    LineReader reader(bufferSize);
    std::vector<std::string> pieces;
    EXPECT_TRUE(reader.open(path));
    char slot[8200];
    LinePiece piece;
    while (reader.next(slot, piece)) pieces.emplace_back(slot, piece.length);
    return pieces;
}

// An independent reading of the same rules: whole physical lines from std::getline, the CR LF
// pair folded, pieces cut from one string, give-back by moving an index, character starts from
// the text library's is_nth_kanji.
std::vector<std::string> referenceLines(const std::string& path, Options options) {
    std::ifstream in(path, std::ios::binary);
    std::string stream;
    for (std::string line; std::getline(in, line);) {
        bool newline = !in.eof();
        if (newline && !line.empty() && line.back() == '\r') line.pop_back();
        stream += line;
        if (newline) stream += '\n';
    }
    auto isWhite = [](char c) { return c == ' ' || (c >= 9 && c <= 13); };

    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < stream.size()) {
        std::size_t end = std::min(stream.size(), pos + kMaxPieceLength);
        std::size_t newline = stream.find('\n', pos);
        if (newline != std::string::npos && newline < end) end = newline + 1;
        std::string piece = stream.substr(pos, end - pos);
        pos = end;
        std::string text = piece.c_str();
        bool cutAtNul = text.size() < piece.size();
        if (!cutAtNul && text.back() == '\n') {
            while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
            if (options.marker != '\0') text += options.marker;
        } else {
            // is_nth_kanji calls a lead byte right before the terminator no character, so each
            // byte is asked about with a stand-in byte after it.
            auto cutLead = [&text](std::size_t n) {
                return is_nth_kanji(n, (text.substr(0, n + 1) + "x").c_str()) == 0;
            };
            std::size_t keep = text.size();
            while (keep > 0 && (isWhite(text[keep - 1]) || cutLead(keep - 1))) --keep;
            if (keep > 0 && keep < text.size()) {
                std::string run = text.substr(keep);
                if (!cutAtNul && pos < stream.size()) {
                    pos -= run.size();
                } else if (!cutAtNul) {
                    std::string back;
                    for (char c : run)
                        if (!isWhite(c)) back += c;
                    stream.resize(stream.size() - run.size());
                    pos = stream.size();
                    stream += back;
                }
                text.resize(keep);
            }
            while (!text.empty() && text.back() >= 1 && text.back() <= 31) text.pop_back();
        }
        for (char& c : text)
            if (c == '\t') c = ' ';
        if (options.ignoreKeta > 0 && !text.empty())
            text.erase(0, std::min<std::size_t>(text.size(), options.ignoreKeta));
        lines.push_back(text);
    }
    return lines;
}

void expectSameAsReference(const std::string& path, Options options) {
    std::vector<std::string> expected = referenceLines(path, options);
    std::vector<std::string> actual = shapedLines(path, options);
    for (std::size_t i = 0; i < std::min(actual.size(), expected.size()); ++i)
        ASSERT_EQ(actual[i], expected[i]) << "line " << i + 1;
    ASSERT_EQ(actual.size(), expected.size());
}

// Japanese prose without line ends or blanks, about length bytes of whole characters, for lines
// far over the limit.
std::string japaneseRun(std::size_t length) {
    std::string text = slurp(kData + "reference-sjis.txt");
    std::string run;
    for (std::size_t i = 0; i < text.size() && run.size() < length; ++i) {
        if (ximo::isLeadByte(text[i]))
            run += text.substr(i++, 2);
        else if (text[i] != '\n' && text[i] != ' ')
            run += text[i];
    }
    return run;
}

// Exercises everything at once, all built from the real texts: long lines cut at each offset of
// a double-byte character, CR LF and lone CRs, TABs, NUL bytes, runs of spaces longer than a
// piece, a last line that ends in a cut character.
std::string mixedCorpus() {
    std::string devil = slurp(kData + "devil-part.txt");
    std::string fortunes = slurp(kData + "fortunes-part.txt");
    std::string mixed;
    for (int offset = 0; offset < 4; ++offset)
        mixed += std::string(offset, 'x') + japaneseRun(17000) + "\n";
    mixed += devil.substr(0, 3000);
    for (std::size_t i = 0; i < 2000; ++i)
        mixed += devil[i] == '\n' ? std::string("\r\n") : std::string(1, devil[i]);
    mixed += "lone\rcarriage\r\r\nreturns\r";
    mixed += fortunes.substr(0, 6000);
    mixed += "before" + std::string(9000, ' ') + "after  \n";
    mixed += std::string(8191 - 9, 'y') + " \t\r\n \r";
    mixed += "ab\0cd\n\0\0\nZ\0\n"s;
    mixed += std::string(8190, 'z') + "\r\n" + std::string(8190, 'w') + "\r" + "\x82\xa0  \x82";
    return mixed;
}

TEST(LineReader, RealCorpusMatchesReferenceAtEveryBufferSize) {
    TempDir dir;
    std::string mixed = dir.write("mixed.txt", mixedCorpus());
    for (const std::string& path : kRealFiles) {
        SCOPED_TRACE(path);
        expectSameAsReference(path, {});
        expectSameAsReference(path, {3, ' ', 4});
    }
    for (std::size_t size : kBufferSizes) {
        SCOPED_TRACE(size);
        expectSameAsReference(mixed, {size, '/', 0});
        expectSameAsReference(mixed, {size, LineShaper::kNoMarker, 7});
    }
}

TEST(LineReader, CrLfIsOneLineEndAndLoneCrIsAByte) {
    std::string kjv = kData + "kjv-crlf.txt";
    for (std::size_t size : {std::size_t{1}, std::size_t{2}, LineReader::kDefaultBufferSize}) {
        std::vector<std::string> pieces = rawPieces(kjv, size);
        ASSERT_EQ(pieces.size(), 200u);
        for (const std::string& piece : pieces) EXPECT_EQ(piece.find('\r'), std::string::npos);
        EXPECT_EQ(pieces[0], "Ge1:1 In the beginning God created the heaven and the earth.\n");
        EXPECT_EQ(pieces.back().back(), 'f');  // the last line has no line end
    }

    TempDir dir;
    std::string crs = dir.write("cr.txt", "a\r\nb\rc\r\r\n\r");
    for (std::size_t size : kBufferSizes)
        EXPECT_EQ(rawPieces(crs, size), (std::vector<std::string>{"a\n", "b\rc\r\n", "\r"}));
}

TEST(LineReader, CrLfAtThePieceLimitCountsAsOneByte) {
    TempDir dir;
    std::string x(8190, 'x');
    std::string paired = dir.write("paired.txt", x + "\r\nnext\n");
    std::string split = dir.write("split.txt", x + "x\r\nnext\n");
    std::string lone = dir.write("lone.txt", x + "\rz");
    for (std::size_t size : kBufferSizes) {
        SCOPED_TRACE(size);
        EXPECT_EQ(rawPieces(paired, size), (std::vector<std::string>{x + "\n", "next\n"}));
        EXPECT_EQ(rawPieces(split, size), (std::vector<std::string>{x + "x", "\n", "next\n"}));
        // The lone CR is white space cut by the limit: it goes back and starts the next line.
        EXPECT_EQ(shapedLines(lone, {size}), (std::vector<std::string>{x, "\rz"}));
    }
}

TEST(LineReader, LongLineComesInPiecesWithoutLosingBytes) {
    // Real English prose on one line of 20,000 bytes: cuts fall inside words and between them.
    std::string devil = slurp(kData + "devil-part.txt");
    std::string line;
    for (char c : devil)
        if (line.size() < 20000) line += c == '\n' ? ' ' : c;
    TempDir dir;
    std::string path = dir.write("long.txt", line + "\nnext line\n");
    for (std::size_t size : {std::size_t{5}, LineReader::kDefaultBufferSize}) {
        std::vector<std::string> lines = shapedLines(path, {size});
        ASSERT_EQ(lines.size(), 4u);  // three pieces, then the next line as line 4
        EXPECT_EQ(lines[3], "next line/");
        std::string joined;
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_LE(lines[i].size(), kMaxPieceLength);
            joined += lines[i];
        }
        std::string expected = line;
        while (expected.back() == ' ') expected.pop_back();
        EXPECT_EQ(joined, expected + "/");
        // Given-back white space starts the following piece instead of ending this one.
        EXPECT_NE(lines[0].back(), ' ');
        EXPECT_NE(lines[1].back(), ' ');
    }
}

TEST(LineReader, DoubleByteCharacterCutByTheLimitComesBackWhole) {
    TempDir dir;
    const std::string hiraganaA = "\x82\xa0";
    std::string path = dir.write("cut.txt", std::string(8190, 'a') + hiraganaA + "b\n");
    EXPECT_EQ(shapedLines(path, {2}),
              (std::vector<std::string>{std::string(8190, 'a'), hiraganaA + "b/"}));

    std::string japanese = japaneseRun(30000);
    for (int offset = 0; offset < 2; ++offset) {
        SCOPED_TRACE(offset);
        std::string text = std::string(offset, 'x') + japanese;
        std::vector<std::string> lines = shapedLines(dir.write("ja.txt", text + "\n"));
        ASSERT_EQ(lines.size(), 4u);
        std::string joined;
        for (const std::string& piece : lines) {
            // No piece ends in half a character: the walk lands exactly on its end.
            for (std::size_t i = 0; i < piece.size(); ++i) {
                if (ximo::isLeadByte(piece[i])) {
                    ASSERT_LT(i++, piece.size() - 1) << "half a character";
                }
            }
            joined += piece;
        }
        EXPECT_EQ(joined, text + "/");
    }
}

TEST(LineReader, RunsOfSpacesNeverLoop) {
    TempDir dir;
    std::string spaces(kMaxPieceLength, ' ');
    // A piece that is all white space cannot give itself back: it stays the line.
    EXPECT_EQ(shapedLines(dir.write("a.txt", spaces + "more text\n")),
              (std::vector<std::string>{spaces, "more text/"}));
    EXPECT_EQ(shapedLines(dir.write("b.txt", spaces + std::string(100, ' ') + "\n")),
              (std::vector<std::string>{spaces, "/"}));
    EXPECT_EQ(shapedLines(dir.write("c.txt", std::string(9000, ' '))),
              (std::vector<std::string>{spaces, std::string(9000 - kMaxPieceLength, ' ')}));
    // All TABs: kept as the line, then emptied as trailing control bytes.
    EXPECT_EQ(shapedLines(dir.write("d.txt", std::string(kMaxPieceLength, '\t') + "x")),
              (std::vector<std::string>{"", "x"}));
}

TEST(LineReader, LineEndBecomesTheMarker) {
    TempDir dir;
    std::string path = dir.write("ends.txt", "word   \n    \n\n\tindented\ttext\n");
    EXPECT_EQ(shapedLines(path, {.marker = '/'}),
              (std::vector<std::string>{"word/", "/", "/", " indented text/"}));
    EXPECT_EQ(shapedLines(path, {.marker = ' '}),
              (std::vector<std::string>{"word ", " ", " ", " indented text "}));
    EXPECT_EQ(shapedLines(path, {.marker = LineShaper::kNoMarker}),
              (std::vector<std::string>{"word", "", "", " indented text"}));
}

TEST(LineReader, LastLineWithoutLineEnd) {
    TempDir dir;
    // Trailing control bytes go (a DOS end-of-file mark, say); white space at the very end has
    // nothing to join and goes too; a cut lead byte comes back as a line of its own.
    EXPECT_EQ(shapedLines(dir.write("a.txt", "first\nlast\x1a\x01")),
              (std::vector<std::string>{"first/", "last"}));
    EXPECT_EQ(shapedLines(dir.write("b.txt", "end \t ")), (std::vector<std::string>{"end"}));
    EXPECT_EQ(shapedLines(dir.write("c.txt", "end \x82 ")),
              (std::vector<std::string>{"end", "\x82"}));
    EXPECT_EQ(shapedLines(dir.write("d.txt", "\xe3\x81 \x82")),
              (std::vector<std::string>{"\xe3\x81", "\x82"}));
    // The file ends right at the piece limit: the same rule, though the cut came from the limit.
    std::string full = std::string(kMaxPieceLength - 3, 'e') + "  \x82";
    for (std::size_t size : kBufferSizes) {
        EXPECT_EQ(shapedLines(dir.write("e.txt", full), {size}),
                  (std::vector<std::string>{std::string(kMaxPieceLength - 3, 'e'), "\x82"}));
    }
}

TEST(LineReader, NulEndsTheTextOfItsPiece) {
    TempDir dir;
    std::string path = dir.write("nul.txt", "ab\0cd\n\0\0\0\nA\0\0\nab  \x82\0tail\nnext\n"s);
    std::vector<std::string> lines = shapedLines(path, {1});
    // The bytes after a NUL are gone, and nothing is given back from before it: each physical
    // line stays one line.
    EXPECT_EQ(lines, (std::vector<std::string>{"ab", "", "A", "ab", "next/"}));
}

TEST(LineReader, IgnoreKetaDropsLeadingBytes) {
    TempDir dir;
    std::string path = dir.write("keta.txt", "0001 text\nab\n\n");
    EXPECT_EQ(shapedLines(path, {.ignoreKeta = 5}), (std::vector<std::string>{"text/", "", ""}));
    EXPECT_EQ(shapedLines(path, {.ignoreKeta = 100}), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(shapedLines(path, {.ignoreKeta = -3}),
              (std::vector<std::string>{"0001 text/", "ab/", "/"}));
}

// The encoding is told from the first buffer: looking at it must neither read the file
// again nor change a piece, whatever the buffer holds.
TEST(LineReader, PeekStartShowsTheFirstBufferAndTheLinesStayTheSame) {
    const std::string path = std::string(VELLMORA_TEST_DATA) + "/ja/sjis/subset.txt";
    const std::string bytes = slurp(path);
    for (std::size_t size : kBufferSizes) {
        LineReader reader(size);
        EXPECT_TRUE(reader.peekStart(100).empty());  // nothing open
        ASSERT_TRUE(reader.open(path));
        const std::string_view start = reader.peekStart(64 * 1024);
        EXPECT_EQ(start, std::string_view(bytes).substr(0, std::min<std::size_t>(size, 64 * 1024)));
        EXPECT_EQ(reader.peekStart(5), start.substr(0, 5));  // no second read
        std::vector<std::string> pieces;
        char slot[8200];
        LinePiece piece;
        while (reader.next(slot, piece)) pieces.emplace_back(slot, piece.length);
        EXPECT_EQ(pieces, rawPieces(path, size)) << "buffer size " << size;
        EXPECT_TRUE(reader.peekStart(100).empty());  // at the end
    }
    TempDir dir;
    LineReader reader;
    ASSERT_TRUE(reader.open(dir.write("empty.txt", "")));
    EXPECT_TRUE(reader.peekStart(100).empty());
}

TEST(LineReader, FilesThatGiveNoLines) {
    TempDir dir;
    LineReader reader(16);
    char slot[8200];
    LinePiece piece;
    EXPECT_FALSE(reader.next(slot, piece));  // nothing open yet

    ASSERT_TRUE(reader.open(dir.write("empty.txt", "")));
    EXPECT_FALSE(reader.next(slot, piece));
    EXPECT_EQ(reader.piecesRead(), 0u);
    EXPECT_EQ(reader.error(), 0);

    EXPECT_FALSE(reader.open(dir.path()));
    EXPECT_EQ(reader.error(), EISDIR);
    EXPECT_FALSE(reader.open(dir.path() + "/missing.txt"));
    EXPECT_EQ(reader.error(), ENOENT);
    std::string fifo = dir.path() + "/fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(reader.open(fifo));
    std::string locked = dir.write("locked.txt", "secret\n");
    ::chmod(locked.c_str(), 0);
    if (::geteuid() != 0) {  // root reads it anyway
        EXPECT_FALSE(reader.open(locked));
        EXPECT_EQ(reader.error(), EACCES);
    }
    EXPECT_FALSE(reader.next(slot, piece));  // a failed open leaves no file behind

    // The same reader goes on with the next file from its first line.
    ASSERT_TRUE(reader.open(kData + "kjv-crlf.txt"));
    ASSERT_TRUE(reader.next(slot, piece));
    EXPECT_STREQ(slot, "Ge1:1 In the beginning God created the heaven and the earth.\n");
    EXPECT_EQ(reader.piecesRead(), 1u);
}

TEST(BinaryFileGuard, CountsOneByteLinesAcrossTheRun) {
    BinaryFileGuard guard;
    auto feed = [&guard](const char* text) {
        LinePiece piece;
        piece.length = std::strlen(text);
        return guard.abandons(text, piece);
    };
    for (int i = 0; i < 10; ++i) EXPECT_FALSE(feed("x"));
    EXPECT_FALSE(feed("\n"));  // an empty line is no sign of a binary file
    EXPECT_FALSE(feed("xy"));
    EXPECT_FALSE(feed(""));
    EXPECT_EQ(guard.count(), 10);
    EXPECT_TRUE(feed("x"));  // the eleventh, even in another file of the run
    EXPECT_EQ(guard.count(), 0);
    EXPECT_FALSE(feed("x"));
    guard.reset();
    EXPECT_EQ(guard.count(), 0);
}

TEST(BinaryFileGuard, AbandonsAnExecutableButNoCorpusFile) {
    auto abandoned = [](const std::string& path) {
        LineReader reader;
        BinaryFileGuard guard;
        char slot[8200];
        LinePiece piece;
        EXPECT_TRUE(reader.open(path));
        while (reader.next(slot, piece))
            if (guard.abandons(slot, piece)) return true;
        return false;
    };
    // A compiled program is full of short NUL-ended runs: this test program itself.
    EXPECT_TRUE(abandoned(fs::read_symlink("/proc/self/exe").string()));
    for (const std::string& path : kRealFiles) EXPECT_FALSE(abandoned(path)) << path;
}

}  // namespace
}  // namespace vellmora

namespace vellmora {
namespace {

// The prefilter may call a piece a candidate wrongly, but it must never miss one: a piece it
// clears holds no occurrence, whatever the read size puts at a buffer's end. Reading itself is
// the same with and without a needle.
TEST(LineReader, NeedleFlagNeverMissesAnOccurrence) {
    const std::string needles[] = {"the", "Lord", "e", "zebra", "\x83\x70\x83\x62", "\x81\x40"};
    for (const std::string& path : kRealFiles) {
        for (std::size_t bufferSize : {std::size_t{7}, std::size_t{4096},
                                       LineReader::kDefaultBufferSize}) {
            for (const std::string& needle : needles) {
                LineReader reader(bufferSize);
                LineShaper shaper('/', 0);
                ASSERT_TRUE(reader.open(path));
                reader.setNeedle(needle);
                static char slot[8200];
                LinePiece piece;
                std::vector<std::string> lines;
                int cleared = 0;
                while (reader.next(slot, piece)) {
                    std::string_view text(slot, piece.length);
                    if (!piece.mayHoldNeedle) {
                        ++cleared;
                        ASSERT_EQ(text.find(needle), std::string_view::npos)
                            << path << " read by " << bufferSize << ", needle " << needle;
                    }
                    lines.emplace_back(slot, shaper.shape(slot, piece, reader));
                }
                EXPECT_EQ(lines, shapedLines(path, {bufferSize, '/', 0})) << path;
                if (bufferSize > 64 && needle == "zebra") {
                    EXPECT_GT(cleared, 0) << path;
                }
            }
        }
    }
}

}  // namespace
}  // namespace vellmora
