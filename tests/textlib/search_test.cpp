#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>

#include "tests/textlib/text_helpers.h"
#include "textlib/ximo.h"

namespace vellmora::test {
namespace {

/// Offset of bmstrstr's hit in text after initialising with pattern, -1 for none.
long bmFind(const std::string& text, const std::string& pattern) {
    HeapText t(text);
    HeapText p(pattern);
    bminitialize(p.get());
    const char* hit = bmstrstr(t.get(), p.get());
    if (hit == nullptr) return -1;
    EXPECT_TRUE(t.contains(hit));
    return hit - t.get();
}

long mbFind(const std::string& text, const std::string& sub) {
    HeapText t(text);
    HeapText s(sub);
    const char* hit = mbstrstr(t.get(), s.get());
    if (hit == nullptr) return -1;
    EXPECT_TRUE(t.contains(hit));
    return hit - t.get();
}

TEST(Bmstrstr, FindsTheFirstOccurrence) {
    EXPECT_EQ(bmFind("xxabcxx", "abc"), 2);
    EXPECT_EQ(bmFind("abc", "abc"), 0);
    EXPECT_EQ(bmFind("xxabc", "abc"), 2);
    EXPECT_EQ(bmFind("abcabc", "abc"), 0);
    EXPECT_EQ(bmFind("aaaab", "aab"), 2);
    EXPECT_EQ(bmFind("ab", "abc"), -1);
    EXPECT_EQ(bmFind("", "abc"), -1);
    EXPECT_EQ(bmFind("abdabc", "abd"), 0);
    EXPECT_EQ(bmFind("xyz", "abc"), -1);
}

TEST(Bmstrstr, MatchesBytesWithoutRegardToCharacters) {
    // A kanji whose trail byte is 0x82, then 0xA0: bytes of あ across a character boundary.
    const std::string text = bytes({0x88, 0x82, 0xA0});
    const std::string hiraganaA = bytes({0x82, 0xA0});
    EXPECT_EQ(bmFind(text, hiraganaA), 1);
    EXPECT_EQ(mbFind(text, hiraganaA), -1);
    EXPECT_EQ(bmFind(bytes({'a', 0xFE, 0xFF, 0x80, 'b'}), bytes({0xFF, 0x80})), 2);
    EXPECT_EQ(bmFind("ABC", "abc"), -1);
}

TEST(Bmstrstr, UsesTheTableAndLengthOfTheLatestInitialisation) {
    HeapText text("zzabz");
    bminitialize("abc");
    bminitialize("xy");
    // With the length 2 of "xy", the first two bytes of "abc" are what is sought.
    EXPECT_EQ(bmstrstr(text.get(), "abc"), text.get() + 2);
}

TEST(Bmstrstr, AnEmptyPatternFindsNothing) {
    HeapText text("abc");
    bminitialize("");
    EXPECT_EQ(bmstrstr(text.get(), ""), nullptr);
}

TEST(Bmstrstr, AgreesWithAPlainSearchOnRandomText) {
    std::mt19937 rng(7);
    const std::string alphabet = bytes({'a', 'b', 'c', ' ', 0x82, 0xA0, 0xFF});
    for (int round = 0; round < 3000; ++round) {
        std::string text(rng() % 120, ' ');
        for (char& c : text) c = alphabet[rng() % alphabet.size()];
        std::string pattern;
        std::size_t length = rng() % 8 + 1;
        if (rng() % 2 == 0 && text.size() >= length) {
            pattern = text.substr(rng() % (text.size() - length + 1), length);
        } else {
            for (std::size_t i = 0; i < length; ++i) pattern += alphabet[rng() % alphabet.size()];
        }
        if (pattern.find('\0') != std::string::npos) continue;
        std::size_t expected = text.find(pattern);
        EXPECT_EQ(bmFind(text, pattern), expected == std::string::npos ? -1 : long(expected))
            << "round " << round;
    }
}

TEST(Mbstrstr, FindsSubstringsThatBeginAtCharacterStarts) {
    EXPECT_EQ(mbFind("hello world", ""), 0);
    EXPECT_EQ(mbFind("", ""), 0);
    EXPECT_EQ(mbFind("hello world", "o w"), 4);
    EXPECT_EQ(mbFind("abc", "abcd"), -1);
    EXPECT_EQ(mbFind("aab", "ab"), 1);
    EXPECT_EQ(mbFind("abababc", "ababc"), 2);
    // ソ and ア end in the values of a backslash and of 'A'.
    EXPECT_EQ(mbFind(bytes({0x83, 0x5C, '\\'}), "\\"), 2);
    EXPECT_EQ(mbFind(bytes({0x83, 0x41, 'A'}), "A"), 2);
    EXPECT_EQ(mbFind(bytes({0x93, 0xFA, 0x96, 0x7B, 0x8C, 0xEA}), bytes({0x96, 0x7B})), 2);
    EXPECT_EQ(mbFind(bytes({0x82, 0xA0, 0x82, 0xA0, 0x82, 0xA2}), bytes({0x82, 0xA0, 0x82, 0xA2})),
              2);
}

TEST(Mbstrstr, AgreesWithACharacterAlignedSearchOnRandomText) {
    std::mt19937 rng(11);
    const std::string alphabet = bytes({'a', 'A', 0x5C, 0x82, 0xA0, 0x83, 0x41});
    for (int round = 0; round < 3000; ++round) {
        std::string text(rng() % 60, ' ');
        for (char& c : text) c = alphabet[rng() % alphabet.size()];
        std::string sub(rng() % 4 + 1, ' ');
        for (char& c : sub) c = alphabet[rng() % alphabet.size()];
        std::size_t walked = 0;
        while (std::size_t n = charLengthAt(sub, walked)) walked += n;
        sub.resize(walked);  // a lead byte before the terminator is no character
        if (sub.empty()) continue;
        long expected = -1;
        for (std::size_t i = 0, n; (n = charLengthAt(text, i)) != 0; i += n) {
            if (text.compare(i, sub.size(), sub) == 0) {
                expected = static_cast<long>(i);
                break;
            }
        }
        EXPECT_EQ(mbFind(text, sub), expected) << "round " << round;
    }
}

}  // namespace
}  // namespace vellmora::test
