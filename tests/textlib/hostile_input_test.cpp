// Feeds every library function random and adversarial bytes. Each input sits in
// a heap block of exactly its size and each output in a block of exactly its
// contract size, so that the sanitizer build reports any byte read past a
// terminator or written past an output. Results are checked only where an
// invariant holds whatever the input.

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "tests/textlib/text_helpers.h"
#include "textlib/ximo.h"

namespace vellmora::test {
namespace {

constexpr std::size_t kTokenOut = 1000;
constexpr std::size_t kPathOut = 260;
constexpr std::size_t kParseOut = 4096;

/// An output block of exactly size bytes with no terminator in it, so that
/// a call that fails to terminate its output is seen.
struct RawOut {
    explicit RawOut(std::size_t n) : size(n), data(new char[n]) { std::memset(data.get(), 'Z', n); }
    bool terminated() const { return std::memchr(data.get(), 0, size) != nullptr; }
    std::size_t size;
    std::unique_ptr<char[]> data;
};

std::string randomBytes(std::mt19937& rng, std::size_t length) {
    std::string s(length, ' ');
    for (char& c : s) c = static_cast<char>(rng() % 255 + 1);
    return s;
}

/// Text that looks like corpus lines: words, punctuation the word rules care
/// about, valid and broken double-byte characters, escapes and EUC units.
std::string randomText(std::mt19937& rng, std::size_t length) {
    // clang-format off
    static const std::vector<std::string> pieces = {
        "the", "cat", "don't", "3.14", "1 000", " ", "  ", "\t", ".", ",", "?", "!", "\"", "'",
        "-", "|", " | ", "/", "\\", "*", "a", "Z", "9",
        bytes({0x82, 0xA0}), bytes({0x88, 0x9F}), bytes({0x83, 0x5C}), bytes({0x83, 0x41}),
        bytes({0x81, 0x40}), bytes({0x81, 0x5B}), bytes({0x82, 0x60}), bytes({0x96, 0x7B}),
        bytes({0x82, 0x7F}), bytes({0x82, 0x20}), bytes({0xEA, 0xFF}), bytes({0xB1}),
        bytes({0xA4}), bytes({0xFD}), bytes({0x80}), bytes({0xA0}), bytes({0x8E, 0xB1}),
        bytes({0xA4, 0xA2}), bytes({0x90, 0x41}), bytes({0x8F}), bytes({0x82}),
        "\x1b$B", "\x1b$@", "\x1b(B", "\x1b(J", "\x1b(I", "\x1b", "$B"};
    // clang-format on
    std::string s;
    while (s.size() < length) s += pieces[rng() % pieces.size()];
    s.resize(length);
    return s;
}

std::vector<std::string> hostileTexts() {
    std::mt19937 rng(0x5EED);
    // clang-format off
    std::vector<std::string> texts = {
        "", " ", "a", "|", "\"", "'", ".", "?", "/", "//", "///", "a/", "/a", "*/", " | ",
        "\x1b$B", "\x1b$B\x1b(B", "\x1b$B\x1b(Babc", "\x1b$Bx", bytes({0x8E}), bytes({0x82}),
        bytes({'a', 0x82}), bytes({0x81, 0x40}), bytes({' ', 0x81})};
    // clang-format on
    std::string all;  // every byte value in order, then backwards
    for (int c = 1; c < 256; ++c) all.push_back(static_cast<char>(c));
    texts.push_back(all);
    texts.emplace_back(all.rbegin(), all.rend());
    for (int c = 1; c < 256; ++c) texts.push_back(std::string(1, static_cast<char>(c)));
    for (std::size_t length : {259u, 260u, 300u, 999u, 1000u, 1001u, 5000u}) {
        texts.push_back(randomText(rng, length));
        texts.push_back(std::string(length, 'a'));
        texts.push_back(std::string(length, ' '));
        texts.push_back(std::string(length, static_cast<char>(0x82)));  // lead bytes only
        texts.push_back(std::string(length - 1, 'x') + static_cast<char>(0x82));
    }
    texts.push_back(std::string(300, '/') + "x");
    texts.push_back("/" + std::string(200, 'd') + "/" + std::string(300, 'f') + ".txt");
    texts.push_back(std::string(5000, 'p') + "/q.r");
    for (int i = 0; i < 150; ++i) texts.push_back(randomText(rng, rng() % 80));
    for (int i = 0; i < 60; ++i) texts.push_back(randomBytes(rng, rng() % 80));
    return texts;
}

/// Positions and lengths around and far beyond the text.
std::vector<int> positionsFor(std::size_t length) {
    const int n = static_cast<int>(length);
    std::vector<int> out = {INT_MIN, -1000, -2,   -1,    0,           1,      2,   n / 2,
                            n - 2,   n - 1, n,    n + 1, n + 7,       258,    259, 260,
                            998,     999,   1000, 5000,  INT_MAX - 1, INT_MAX};
    if (length <= 64) {
        for (int i = 3; i < n; ++i) out.push_back(i);
    }
    return out;
}

class HostileInput : public ::testing::TestWithParam<int> {
  protected:
    static const std::vector<std::string>& texts() {
        static const std::vector<std::string> all = hostileTexts();
        return all;
    }
    const std::string& text() const { return texts()[static_cast<std::size_t>(GetParam())]; }
    std::string other() const {
        return texts()[(static_cast<std::size_t>(GetParam()) * 7 + 3) % texts().size()];
    }
};

TEST_P(HostileInput, CharacterModel) {
    HeapText s(text());
    for (int n : positionsFor(s.size())) {
        int k = is_nth_kanji(n, s.get());
        int k2 = is_nth_kanji2(n, s.get());
        int c = zdm_nthctype(n, s.get());
        EXPECT_TRUE(k == 0 || k == 1);
        EXPECT_TRUE(k2 == 0 || k2 == 1);
        EXPECT_TRUE(c >= 0 && c <= 11) << n;
        if (n < 0 || static_cast<std::size_t>(n) >= s.size()) {
            EXPECT_EQ(k, 1) << n;
        }
    }
}

TEST_P(HostileInput, InPlaceOperationsKeepTheLength) {
    const std::string original = text();
    for (auto fold : {mbstrupr, mbstrlwr, mbstrconv}) {
        HeapText s(original);
        EXPECT_EQ(fold(s.get()), s.get());
        ASSERT_EQ(std::strlen(s.get()), original.size());
        for (std::size_t i = 0; i < original.size(); ++i) {
            // Only ASCII letters may change, and only into their other case.
            if (s.get()[i] != original[i]) {
                EXPECT_EQ(s.get()[i] ^ 0x20, original[i]) << i;
            }
        }
    }
    HeapText r(original);
    EXPECT_EQ(mbstrrev(mbstrrev(r.get())), r.get());
    EXPECT_EQ(r.str(), original);
}

TEST_P(HostileInput, SpaceRemovalFitsItsOutput) {
    HeapText in(text());
    RawOut out1(in.size() + 1), out3(in.size() + 1);
    EXPECT_EQ(mbdelspace1(out1.data.get(), in.get()), out1.data.get());
    EXPECT_EQ(mbdelspace3(out3.data.get(), in.get()), out3.data.get());
    ASSERT_TRUE(out1.terminated());
    ASSERT_TRUE(out3.terminated());
    EXPECT_EQ(in.str(), text());
}

TEST_P(HostileInput, ScannersStayInsideTheirText) {
    for (const std::string& delimiters : {std::string("|"), std::string(";, "), bytes({0x81, 0x40}),
                                          bytes({0x82}), std::string(), other()}) {
        HeapText s(text());
        HeapText d(delimiters);
        std::size_t count = 0;
        for (char* t = mbstrtok(s.get(), d.get()); t != nullptr; t = mbstrtok(nullptr, d.get())) {
            ASSERT_TRUE(s.contains(t));
            ASSERT_LE(++count, s.size() + 1);
        }
    }
    // An empty text continues the previous scan, so finish any scan first.
    HeapText reset("x");
    strword(reset.get());
    HeapText w(text());
    std::size_t count = 0;
    for (char* t = strword(w.get()); t != nullptr; t = strword(nullptr)) {
        ASSERT_TRUE(w.contains(t));
        ASSERT_LE(++count, w.size() + 1);
    }
}

TEST_P(HostileInput, ComparisonsAreConsistent) {
    HeapText a(text());
    HeapText b(other());
    EXPECT_EQ(mbstrcmp(a.get(), a.get()), 0);
    EXPECT_EQ(mbstricmp(a.get(), a.get()), 0);
    EXPECT_EQ(mbstrcmp(a.get(), b.get()), -mbstrcmp(b.get(), a.get()));
    EXPECT_EQ(mbstricmp(a.get(), b.get()), -mbstricmp(b.get(), a.get()));
    for (int n : {INT_MIN, -1, 0, 1, 3, static_cast<int>(a.size()), INT_MAX}) {
        EXPECT_EQ(mbstrncmp(a.get(), b.get(), n), -mbstrncmp(b.get(), a.get(), n)) << n;
        EXPECT_EQ(mbstrnicmp(a.get(), b.get(), n), -mbstrnicmp(b.get(), a.get(), n)) << n;
        EXPECT_EQ(mbstrncmp(a.get(), a.get(), n), 0);
    }
}

TEST_P(HostileInput, SentenceEndsPointIntoTheText) {
    HeapText s(text());
    for (int mode : {-1, 0, 1, 2, 7}) EXPECT_TRUE(s.contains(getSF(mode, s.get()))) << mode;
}

TEST_P(HostileInput, GettokenWritesAWordOfTheTextIntoItsThousandBytes) {
    HeapText s(text());
    for (int n : {INT_MIN, -3, -1, 0, 1, 3, INT_MAX}) {
        for (int pos : positionsFor(s.size())) {
            for (int bySentence : {0, 1}) {
                RawOut out(kTokenOut);
                EXPECT_EQ(gettoken(n, bySentence, pos, 3, s.get(), out.data.get()), out.data.get());
                ASSERT_TRUE(out.terminated()) << n << " " << pos;
                EXPECT_NE(text().find(out.data.get()), std::string::npos) << n << " " << pos;
            }
        }
    }
}

TEST_P(HostileInput, BoundaryTestsGiveZeroOrOne) {
    HeapText s(text());
    const std::vector<int> places = positionsFor(s.size());
    for (int mode : {-1, 0, 1, 2, 3, 11, 12, 13, 21, 23, 31, 33, 99}) {
        for (int pos : places) {
            for (int len : {INT_MIN, -2, -1, 0, 1, 3, static_cast<int>(s.size()), INT_MAX}) {
                int r = wordcheck(mode, s.get(), pos, len);
                ASSERT_TRUE(r == 0 || r == 1) << mode << " " << pos << " " << len;
            }
        }
    }
}

TEST_P(HostileInput, RekkcGivesZeroOrOne) {
    std::mt19937 rng(static_cast<unsigned>(GetParam()));
    HeapText line(text());
    const std::vector<int> places = positionsFor(line.size());
    const std::string piece = text().substr(text().size() / 3, 5);
    const std::vector<std::string> keywords = {
        "", "a", " ", piece, other(), text(), bytes({0x82}), std::string(300, 'a')};
    const std::vector<int> types = {-11, -10, -9, -2, -1, 0, 1, 2, 3, 11, 12, 13};
    const std::vector<int> modes = {0, 1, 3, 12, 13, 33, -1};
    for (int round = 0; round < 150; ++round) {
        HeapText keyword(keywords[rng() % keywords.size()]);
        int type = types[rng() % types.size()];
        int mode = modes[rng() % modes.size()];
        int anchorPos = places[rng() % places.size()];
        int anchorLen = places[rng() % places.size()];
        int r = Rekkc(type, static_cast<int>(rng() % 2), mode, anchorPos, anchorLen, line.get(),
                      keyword.get());
        ASSERT_TRUE(r == 0 || r == 1)
            << type << " " << mode << " " << anchorPos << " " << anchorLen;
    }
}

TEST_P(HostileInput, SearchesFindWhatAPlainSearchFinds) {
    HeapText s(text());
    for (const std::string& pattern : {text().substr(text().size() / 2, 4), text().substr(0, 1),
                                       other().substr(0, 3), std::string("a"), text()}) {
        HeapText p(std::string_view(pattern.c_str()));  // the pattern ends at its first zero byte
        bminitialize(p.get());
        const char* hit = bmstrstr(s.get(), p.get());
        if (p.size() == 0) {
            EXPECT_EQ(hit, nullptr);
        } else {
            std::size_t expected = text().find(p.str());
            EXPECT_EQ(hit, expected == std::string::npos ? nullptr : s.get() + expected);
        }
        // A lead byte before the terminator is no character of the pattern.
        std::size_t whole = 0;
        while (std::size_t n = charLengthAt(p.str(), whole)) whole += n;
        const char* sub = mbstrstr(s.get(), p.get());
        if (sub != nullptr) {
            ASSERT_TRUE(s.contains(sub));
            EXPECT_EQ(std::memcmp(sub, p.get(), whole), 0);
        }
    }
    // A pattern other than the one the table was built for must not be read past its end.
    bminitialize(std::string(40, 'q').c_str());
    HeapText shorter("qq");
    const char* hit = bmstrstr(s.get(), shorter.get());
    EXPECT_TRUE(hit == nullptr || s.contains(hit));
}

TEST_P(HostileInput, ConversionsNeverGrowTheText) {
    HeapText e(text());
    EXPECT_EQ(euc2sjis(e.get()), e.get());
    EXPECT_LE(std::strlen(e.get()), text().size());
    HeapText j(text());
    EXPECT_EQ(jis2sjis(j.get()), j.get());
    EXPECT_LE(std::strlen(j.get()), text().size());
}

TEST_P(HostileInput, PathOperationsFitTheirOutputs) {
    HeapText path(text());
    RawOut file(kPathOut), dir(kPathOut), ext(kPathOut);
    EXPECT_EQ(GetFilename(path.get(), file.data.get()), file.data.get());
    EXPECT_EQ(GetDirectory(path.get(), dir.data.get()), dir.data.get());
    ext.data[0] = '\0';  // left untouched when there is no extension
    EXPECT_EQ(GetExtension(path.get(), ext.data.get()), ext.data.get());
    EXPECT_TRUE(file.terminated());
    EXPECT_TRUE(dir.terminated());
    EXPECT_TRUE(ext.terminated());

    HeapText fileSpec(text());
    RawOut dirOut(kParseOut), patOut(kParseOut);
    dirOut.data[0] = '\0';  // both may stay unwritten when a name is not found
    patOut.data[0] = '\0';
    int r = parse_filename(dirOut.data.get(), patOut.data.get(), fileSpec.get());
    EXPECT_TRUE(r == 0 || r == 1);
    EXPECT_TRUE(dirOut.terminated());
    EXPECT_TRUE(patOut.terminated());
}

INSTANTIATE_TEST_SUITE_P(Texts, HostileInput,
                         ::testing::Range(0, static_cast<int>(hostileTexts().size())));

}  // namespace
}  // namespace vellmora::test
