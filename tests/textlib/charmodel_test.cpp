#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/textlib/text_helpers.h"
#include "textlib/ximo.h"

namespace vellmora::test {
namespace {

// あ (0x82 0xA0) then the letter A.
const std::string kHiraganaA = bytes({0x82, 0xA0, 'A'});

TEST(IsNthKanji, TellsLeadBytesFromTrailBytesByWalkingFromTheStart) {
    EXPECT_EQ(is_nth_kanji(0, kHiraganaA.c_str()), 0);
    EXPECT_EQ(is_nth_kanji(1, kHiraganaA.c_str()), 1);
    EXPECT_EQ(is_nth_kanji(2, kHiraganaA.c_str()), 1);
    EXPECT_EQ(is_nth_kanji2(1, kHiraganaA.c_str()), 0);

    // 0x88 is a lead value but here the trail of 0x88 0x88; 0x9F then starts a character.
    const std::string leadAsTrail = bytes({0x88, 0x88, 0x9F, 'x'});
    EXPECT_EQ(is_nth_kanji(1, leadAsTrail.c_str()), 1);
    EXPECT_EQ(is_nth_kanji(2, leadAsTrail.c_str()), 0);
}

TEST(IsNthKanji, PositionsOutsideTheTextAreNoLeadBytes) {
    for (int n : {-1, -100, 3, 4, 1000}) {
        EXPECT_EQ(is_nth_kanji(n, kHiraganaA.c_str()), 1) << n;
        EXPECT_EQ(is_nth_kanji2(n, kHiraganaA.c_str()), 1) << n;
    }
}

TEST(IsNthKanji2, RejectsTrailBytesOutsideTheSecondByteRange) {
    const std::string badTrail = bytes({0x82, 0x7F});
    EXPECT_EQ(is_nth_kanji(0, badTrail.c_str()), 0);
    EXPECT_EQ(is_nth_kanji2(1, badTrail.c_str()), 1);
}

TEST(IsNthKanji, AgreesWithACharacterWalkOnRandomText) {
    std::mt19937 rng(20240611);
    const std::vector<int> pool = {'a',  ' ',  '0',  0x41, 0x5C, 0x7F, 0x81, 0x82, 0x9F,
                                   0xA0, 0xB1, 0xDF, 0xE0, 0xEA, 0xFC, 0xFD, 0x40, 0x80};
    for (int round = 0; round < 300; ++round) {
        std::string text;
        int length = static_cast<int>(rng() % 24) + 1;
        for (int i = 0; i < length; ++i)
            text.push_back(static_cast<char>(pool[rng() % pool.size()]));
        std::vector<bool> startsDoubleByte(text.size(), false);
        for (std::size_t i = 0, n; (n = charLengthAt(text, i)) != 0; i += n)
            startsDoubleByte[i] = (n == 2);
        for (std::size_t n = 0; n < text.size(); ++n) {
            if (n + 1 == text.size() && isLead(static_cast<unsigned char>(text[n]))) continue;
            EXPECT_EQ(is_nth_kanji(static_cast<int>(n), text.c_str()), startsDoubleByte[n] ? 0 : 1)
                << "round " << round << " offset " << n;
        }
    }
}

struct ClassCase {
    std::string text;
    int pos;
    int expected;
};

TEST(ZdmNthctype, ClassifiesTheCharacterCoveringAByte) {
    const std::vector<ClassCase> cases = {
        {"", 0, 11},
        {"", 5, 11},
        {bytes({0x81, 0x5B}), 0, 3},  // prolonged sound mark, at either byte
        {bytes({0x81, 0x5B}), 1, 3},
        {bytes({0x83, 0x40}), 0, 3},
        {bytes({0x83, 0x96}), 1, 3},
        {bytes({0x83, 0x97}), 0, 7},
        {bytes({0x83, 0x7F}), 0, 10},  // inside the katakana row but no legal code
        {bytes({0x82, 0x9F}), 0, 4},
        {bytes({0x82, 0xF1}), 1, 4},
        {bytes({0x82, 0xF2}), 0, 7},
        {bytes({0x88, 0x9F}), 0, 5},  // first kanji of level 1
        {bytes({0x88, 0x9F}), 1, 5},
        {bytes({0x98, 0x72}), 0, 5},
        {bytes({0x98, 0x73}), 0, 10},  // between the two kanji levels
        {bytes({0x98, 0x9F}), 0, 5},
        {bytes({0xEA, 0x9E}), 0, 5},
        {bytes({0xEA, 0x9F}), 0, 10},
        {bytes({0xF0, 0x40}), 0, 10},
        {bytes({0x89, 0x7F}), 0, 10},  // kanji range, illegal trail
        {bytes({0x89, 0x7F}), 1, 9},   // ... which then counts as the control byte it is
        {bytes({0x82, 0x4F}), 0, 6},
        {bytes({0x82, 0x60}), 0, 6},
        {bytes({0x82, 0x94}), 1, 6},
        {bytes({0x82, 0x9A}), 0, 7},  // full-width z is no longer class 6
        {bytes({0x81, 0x40}), 0, 7},
        {bytes({0x88, 0x9E}), 0, 7},
        {"a", 0, 0},
        {"Z", 0, 0},
        {"5", 0, 0},
        {"!", 0, 1},
        {"_", 0, 1},
        {"~", 0, 1},
        {bytes({0xA1}), 0, 1},
        {bytes({0xA4}), 0, 1},
        {bytes({0xA5}), 0, 1},
        {bytes({0xA6}), 0, 2},
        {bytes({0xB1}), 0, 2},
        {bytes({0xDF}), 0, 2},
        {" ", 0, 9},
        {"\t", 0, 9},
        {bytes({0x7F}), 0, 9},
        {bytes({0x80}), 0, 9},
        {bytes({0xA0}), 0, 9},
        {bytes({0xFD}), 0, 9},
        {bytes({'a', 0xE0}), 1, 9},  // a stray lead byte at the end
        {"ab", 2, 9},                // the terminator
        {bytes({'a', 0x88, 0x9F, 'b'}), 0, 0},
        {bytes({'a', 0x88, 0x9F, 'b'}), 2, 5},
        {bytes({'a', 0x88, 0x9F, 'b'}), 3, 0},
    };
    for (const auto& c : cases) {
        HeapText text(c.text);
        EXPECT_EQ(zdm_nthctype(c.pos, text.get()), c.expected)
            << "pos " << c.pos << " of a " << c.text.size() << "-byte text starting "
            << (c.text.empty() ? 0 : static_cast<unsigned char>(c.text[0]));
    }
}

TEST(CaseFolding, ChangesOnlySingleByteAsciiLetters) {
    std::string s = bytes({0x82, 0x81, 'b'});  // full-width a, then b
    EXPECT_EQ(mbstrupr(s.data()), s.data());
    EXPECT_EQ(s, bytes({0x82, 0x81, 'B'}));

    // ヂ ends in the value of 'a', ア in that of 'A'; neither may change.
    s = bytes({0x83, 0x61, 'a', 0xB1, 'z', '9', 0x83, 0x41, 'Q'});
    mbstrupr(s.data());
    EXPECT_EQ(s, bytes({0x83, 0x61, 'A', 0xB1, 'Z', '9', 0x83, 0x41, 'Q'}));
    EXPECT_EQ(mbstrlwr(s.data()), s.data());
    EXPECT_EQ(s, bytes({0x83, 0x61, 'a', 0xB1, 'z', '9', 0x83, 0x41, 'q'}));

    s = bytes({0x82, 0x60, 'A'});  // full-width A is no ASCII letter
    mbstrlwr(s.data());
    EXPECT_EQ(s, bytes({0x82, 0x60, 'a'}));

    HeapText dangling(bytes({'a', 'b', 0x82}));
    mbstrupr(dangling.get());
    EXPECT_EQ(dangling.str(), bytes({'A', 'B', 0x82}));
}

TEST(Mbstrconv, LeavesTheTextAsItIs) {
    std::string s = bytes({'a', 'B', 0x82, 0x60});
    EXPECT_EQ(mbstrconv(s.data()), s.data());
    EXPECT_EQ(s, bytes({'a', 'B', 0x82, 0x60}));
}

TEST(Mbstrrev, ReversesBytesEvenInsideDoubleByteCharacters) {
    std::string s = bytes({0x82, 0xA0});
    EXPECT_EQ(mbstrrev(s.data()), s.data());
    EXPECT_EQ(s, bytes({0xA0, 0x82}));

    s = bytes({'a', 'b', 0x88, 0x9F, 'c'});
    mbstrrev(s.data());
    EXPECT_EQ(s, bytes({'c', 0x9F, 0x88, 'b', 'a'}));
    mbstrrev(s.data());
    EXPECT_EQ(s, bytes({'a', 'b', 0x88, 0x9F, 'c'}));

    std::string empty;
    EXPECT_EQ(mbstrrev(empty.data()), empty.data());
    EXPECT_EQ(empty, "");
}

std::string delspace1(const std::string& in) {
    HeapText input(in);
    HeapText out(std::string(in.size(), 'Z'));
    EXPECT_EQ(mbdelspace1(out.get(), input.get()), out.get());
    return out.str();
}

std::string delspace3(const std::string& in) {
    HeapText input(in);
    HeapText out(std::string(in.size(), 'Z'));
    EXPECT_EQ(mbdelspace3(out.get(), input.get()), out.get());
    return out.str();
}

TEST(Mbdelspace1, DropsLeadingHalfAndFullWidthSpacesOnly) {
    EXPECT_EQ(delspace1(bytes({0x81, 0x40, ' ', 0x81, 0x40, 'a', 'b', 'c', ' ', 'd'})), "abc d");
    EXPECT_EQ(delspace1("   "), "");
    EXPECT_EQ(delspace1(bytes({0x81, 0x40, 0x81, 0x40})), "");
    EXPECT_EQ(delspace1(""), "");
    EXPECT_EQ(delspace1("\t a"), "\t a");
    EXPECT_EQ(delspace1(bytes({0x81, 0x41, 'x'})), bytes({0x81, 0x41, 'x'}));  // 、 is no space
    EXPECT_EQ(delspace1(bytes({' ', ' ', 0x81})), bytes({0x81}));
}

TEST(Mbdelspace3, KeepsTheFirstByteOfEveryWhiteSpaceRun) {
    EXPECT_EQ(delspace3("a \t\t b"), "a b");
    EXPECT_EQ(delspace3("a\t  b"), "a\tb");
    EXPECT_EQ(delspace3("  a  "), " a ");
    EXPECT_EQ(delspace3("a\r\n\r\nb"), "a\rb");
    EXPECT_EQ(delspace3(""), "");
    const std::string fullWidth = bytes({'a', 0x81, 0x40, 0x81, 0x40, ' ', 0x81, 0x40, 'b'});
    EXPECT_EQ(delspace3(fullWidth), fullWidth);
}

/// Every token mbstrtok gives for text until it gives null.
std::vector<std::string> tokens(std::string text, const std::string& delimiters) {
    HeapText buffer(text);
    std::vector<std::string> out;
    for (char* t = mbstrtok(buffer.get(), delimiters.c_str()); t != nullptr && out.size() < 20;
         t = mbstrtok(nullptr, delimiters.c_str())) {
        EXPECT_TRUE(buffer.contains(t));
        out.emplace_back(t);
    }
    return out;
}

using Tokens = std::vector<std::string>;

TEST(Mbstrtok, ReturnsOnlyTokensThatADelimiterEnds) {
    EXPECT_EQ(tokens("a|b|", "|"), (Tokens{"a", "b"}));
    EXPECT_EQ(tokens("a|b", "|"), (Tokens{"a"}));
    EXPECT_EQ(tokens("||a||b|", "|"), (Tokens{"a", "b"}));
    EXPECT_EQ(tokens("a;b,c;", ";,"), (Tokens{"a", "b", "c"}));
    EXPECT_EQ(tokens("abc", "|"), Tokens{});
    EXPECT_EQ(tokens("|||", "|"), Tokens{});
    EXPECT_EQ(tokens(bytes({'a', '|', 0x82}), "|"), (Tokens{"a"}));  // a lone lead byte is no token
}

TEST(Mbstrtok, KeepsTheContinuationWhenNoDelimiterFollows) {
    char text[] = "a|b";
    EXPECT_STREQ(mbstrtok(text, "|"), "a");
    EXPECT_EQ(mbstrtok(nullptr, "|"), nullptr);
    EXPECT_EQ(mbstrtok(nullptr, "|"), nullptr);
}

TEST(Mbstrtok, ComparesDoubleByteCharactersWhole) {
    const std::string comma = bytes({0x81, 0x41});  // 、
    std::string text = "ab" + comma + "cd" + comma;
    HeapText buffer(text);
    EXPECT_STREQ(mbstrtok(buffer.get(), comma.c_str()), "ab");
    EXPECT_EQ(buffer.get()[2], '\0');
    EXPECT_EQ(buffer.get()[3], '\0');
    EXPECT_STREQ(mbstrtok(nullptr, comma.c_str()), "cd");
    EXPECT_EQ(mbstrtok(nullptr, comma.c_str()), nullptr);

    // ソ ends in the backslash value, ア in that of 'A': neither is a delimiter.
    EXPECT_EQ(tokens(bytes({0x83, 0x5C, 'x', '\\', 'y', '\\'}), "\\"),
              (Tokens{bytes({0x83, 0x5C, 'x'}), "y"}));
    EXPECT_EQ(tokens(bytes({0x83, 0x41, 'x', 'A', 'y', 'A'}), "A"),
              (Tokens{bytes({0x83, 0x41, 'x'}), "y"}));
    // A double-byte delimiter does not match its second byte alone.
    EXPECT_EQ(tokens(bytes({'A', 'b', 0x83, 0x41, 'c', 0x83, 0x41}), bytes({0x83, 0x41})),
              (Tokens{"Ab", "c"}));
}

TEST(Mbstrcmp, GivesTheSignOfTheFirstUnsignedByteDifference) {
    EXPECT_EQ(mbstrcmp("abc", "abc"), 0);
    EXPECT_EQ(mbstrcmp("a", "z"), -1);
    EXPECT_EQ(mbstrcmp("z", "a"), 1);
    EXPECT_EQ(mbstrcmp(bytes({0x82}).c_str(), "a"), 1);
    EXPECT_EQ(mbstrcmp("ab", "a"), 1);
    EXPECT_EQ(mbstrcmp("", "a"), -1);
}

TEST(Mbstricmp, FoldsEveryByteToLowerCaseAndGivesTheDifference) {
    EXPECT_EQ(mbstricmp("ABC", "abc"), 0);
    EXPECT_EQ(mbstricmp("a", "B"), -1);
    EXPECT_EQ(mbstricmp("Z", "a"), 25);
    EXPECT_EQ(mbstricmp("_", "A"), 0x5F - 0x61);  // folding is towards lower case
    EXPECT_EQ(mbstricmp("[", "a"), 0x5B - 0x61);
    EXPECT_EQ(mbstricmp(bytes({0x83, 0x41}).c_str(), bytes({0x83, 0x61}).c_str()), 0);
    EXPECT_EQ(mbstricmp(bytes({0x82}).c_str(), "a"), 0x82 - 0x61);
    EXPECT_EQ(mbstricmp("ab", "A"), 'b');
    EXPECT_EQ(mbstricmp("a", "AB"), -'b');
}

TEST(Mbstrncmp, ComparesAtMostNBytes) {
    EXPECT_EQ(mbstrncmp("abc", "abd", 2), 0);
    EXPECT_EQ(mbstrncmp("abc", "abd", 3), -1);
    EXPECT_EQ(mbstrncmp("a", "c", 1), -2);
    EXPECT_EQ(mbstrncmp("x", "y", 0), 0);
    EXPECT_EQ(mbstrncmp("ab", "ab", 10), 0);
    EXPECT_EQ(mbstrncmp("ab", "a", 5), 'b');
    EXPECT_EQ(mbstrncmp(bytes({0xFF}).c_str(), "a", 1), 0xFF - 'a');

    EXPECT_EQ(mbstrnicmp("ABC", "abd", 2), 0);
    EXPECT_EQ(mbstrnicmp("ABC", "abd", 3), -1);
    EXPECT_EQ(mbstrnicmp("Hello", "HELP", 3), 0);
    EXPECT_EQ(mbstrnicmp("Hello", "HELP", 4), 'l' - 'p');
    EXPECT_EQ(mbstrnicmp(bytes({0x83, 0x41}).c_str(), bytes({0x83, 0x61}).c_str(), 2), 0);
    EXPECT_EQ(mbstrnicmp("x", "y", 0), 0);
}

}  // namespace
}  // namespace vellmora::test
