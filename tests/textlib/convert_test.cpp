#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/textlib/text_helpers.h"
#include "textlib/ximo.h"

namespace vellmora::test {
namespace {

std::string fromEuc(const std::string& in) {
    HeapText s(in);
    EXPECT_EQ(euc2sjis(s.get()), s.get());
    return s.str();
}

std::string fromJis(const std::string& in) {
    HeapText s(in);
    EXPECT_EQ(jis2sjis(s.get()), s.get());
    return s.str();
}

TEST(Euc2sjis, MapsJisX0208UnitsAndLeavesAsciiAlone) {
    EXPECT_EQ(fromEuc(bytes({0xA4, 0xA2})), bytes({0x82, 0xA0}));  // あ
    EXPECT_EQ(fromEuc("plain ASCII, 0-9 ~"), "plain ASCII, 0-9 ~");
    EXPECT_EQ(fromEuc(bytes({'a', 0xB0, 0xA1, 'b'})), bytes({'a', 0x88, 0x9F, 'b'}));  // 亜
    // Corners of the mapping: odd and even rows, both halves of the first byte.
    EXPECT_EQ(fromEuc(bytes({0xA1, 0xA1})), bytes({0x81, 0x40}));
    EXPECT_EQ(fromEuc(bytes({0xA1, 0xE0})), bytes({0x81, 0x80}));
    EXPECT_EQ(fromEuc(bytes({0xDE, 0xA1})), bytes({0x9F, 0x9F}));
    EXPECT_EQ(fromEuc(bytes({0xDF, 0xA1})), bytes({0xE0, 0x40}));
    EXPECT_EQ(fromEuc(bytes({0xFE, 0xFE})), bytes({0xEF, 0xFC}));
}

TEST(Euc2sjis, KeepsAUnitStartBeforeTheTerminatorAndBytesThatStartNoUnit) {
    EXPECT_EQ(fromEuc(bytes({'a', 0xA4})), bytes({'a', 0xA4}));
    EXPECT_EQ(fromEuc(bytes({0xA0, 'x'})), bytes({0xA0, 'x'}));
}

TEST(Euc2sjis, HalfWidthKatakanaBecomesItsSingleByte) {
    EXPECT_EQ(fromEuc(bytes({0x8E, 0xB1, 0x8E, 0xDE, 'A'})), bytes({0xB1, 0xDE, 'A'}));
    EXPECT_EQ(fromEuc(bytes({0xA4, 0xA2, 0x8E, 0xB6, 0xA4, 0xA2})),
              bytes({0x82, 0xA0, 0xB6, 0x82, 0xA0}));
}

TEST(Euc2sjis, UnitsOutsideJisX0208BecomeTheGetaMarkAndTheLineGoesOn) {
    EXPECT_EQ(fromEuc(bytes({0x90, 0xA1})), bytes({0x81, 0xAC}));
    EXPECT_EQ(fromEuc(bytes({0xA4, 0x41, 'B'})), bytes({0x81, 0xAC, 'B'}));
    EXPECT_EQ(fromEuc(bytes({0xA4, 0xA2, 0x90, 0xA1, 0xA4, 0xA2})),
              bytes({0x82, 0xA0, 0x81, 0xAC, 0x82, 0xA0}));
}

const std::string kEsc = "\x1b";

TEST(Jis2sjis, ConvertsDoubleByteRunsAndDropsTheirEscapes) {
    EXPECT_EQ(fromJis(kEsc + "$B" + bytes({0x24, 0x22}) + kEsc + "(BA"), bytes({0x82, 0xA0, 'A'}));
    EXPECT_EQ(fromJis(kEsc + "$@" + bytes({0x30, 0x21, 0x24, 0x22}) + kEsc + "(Jz"),
              bytes({0x88, 0x9F, 0x82, 0xA0, 'z'}));
    EXPECT_EQ(fromJis("A" + kEsc + "$B" + bytes({0x30, 0x21}) + kEsc + "(BB" + kEsc + "$B" +
                      bytes({0x24, 0x22}) + kEsc + "(BC"),
              bytes({'A', 0x88, 0x9F, 'B', 0x82, 0xA0, 'C'}));
    EXPECT_EQ(fromJis("plain ASCII"), "plain ASCII");
}

TEST(Jis2sjis, TheTerminatorEndsARunAndAnOddByteIsDropped) {
    EXPECT_EQ(fromJis(kEsc + "$B" + bytes({0x24, 0x22})), bytes({0x82, 0xA0}));
    EXPECT_EQ(fromJis(kEsc + "$B" + bytes({0x24, 0x22, 0x24})), bytes({0x82, 0xA0}));
}

TEST(Jis2sjis, CopiesOtherEscapeSequencesUnchanged) {
    EXPECT_EQ(fromJis("a" + kEsc + "(Ib"), "a" + kEsc + "(Ib");
    EXPECT_EQ(fromJis("x" + kEsc + "$(Dy"), "x" + kEsc + "$(Dy");
}

// The sample texts are lines of a translated manual (the Debian FAQ and Debian Reference
// in Japanese; permissive notice and GPL-2+) in three encodings of the same text.
std::vector<std::string> readLines(const std::string& name) {
    std::ifstream in(std::string(VELLMORA_TEST_DATA) + "/ja/" + name + "/subset.txt",
                     std::ios::binary);
    EXPECT_TRUE(in) << name;
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(Conversion, EveryEucAndJisLineOfRealTextBecomesItsShiftJisLine) {
    const auto sjis = readLines("sjis");
    const auto euc = readLines("eucjp");
    const auto jis = readLines("jis");
    ASSERT_GT(sjis.size(), 300u);
    ASSERT_EQ(euc.size(), sjis.size());
    ASSERT_EQ(jis.size(), sjis.size());
    int eucFailures = 0;
    int jisFailures = 0;
    for (std::size_t i = 0; i < sjis.size(); ++i) {
        if (fromEuc(euc[i]) != sjis[i] && ++eucFailures <= 5) ADD_FAILURE() << "EUC line " << i + 1;
        if (fromJis(jis[i]) != sjis[i] && ++jisFailures <= 5) ADD_FAILURE() << "JIS line " << i + 1;
    }
    EXPECT_EQ(eucFailures, 0);
    EXPECT_EQ(jisFailures, 0);
}

}  // namespace
}  // namespace vellmora::test
