#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/textlib/text_helpers.h"
#include "textlib/ximo.h"

namespace vellmora::test {
namespace {

using Words = std::vector<std::string>;

Words words(const std::string& text) {
    HeapText buffer(text);
    Words out;
    for (char* w = strword(buffer.get()); w != nullptr && out.size() < 20; w = strword(nullptr)) {
        EXPECT_TRUE(buffer.contains(w));
        out.emplace_back(w);
    }
    EXPECT_EQ(strword(nullptr), nullptr) << "a finished scan stays finished";
    return out;
}

TEST(Strword, SplitsAtSeparatorsButKeepsNumbersAndContractionsWhole) {
    EXPECT_EQ(words("Don't stop, 3.14 m!"), (Words{"Don't", "stop", "3.14", "m"}));
    EXPECT_EQ(words("1,000 and 1 000"), (Words{"1,000", "and", "1 000"}));
    EXPECT_EQ(words("rock'n'roll 'tis dogs' end"), (Words{"rock'n'roll", "tis", "dogs", "end"}));
    EXPECT_EQ(words("x-ray a.b 3. 4"), (Words{"x", "ray", "a", "b", "3", "4"}));
    EXPECT_EQ(words(" ,;. !\t"), Words{});
}

TEST(Strword, NeverSplitsADoubleByteCharacterAndTakesNonAsciiAsWordBytes) {
    // ソフト: the first trail byte has the value of a backslash, a separator.
    const std::string soft = bytes({0x83, 0x5C, 0x83, 0x74, 0x83, 0x67});
    EXPECT_EQ(words(soft + " x"), (Words{soft, "x"}));
    // A full-width space and half-width punctuation are no separators.
    const std::string joined = bytes({'a', 0x81, 0x40, 'b', 0xB1, 0xA1, 0xB2});
    EXPECT_EQ(words(joined + ".z"), (Words{joined, "z"}));
}

TEST(Strword, OverwritesTheEndingSeparator) {
    HeapText text("Don't stop");
    EXPECT_STREQ(strword(text.get()), "Don't");
    EXPECT_EQ(text.get()[5], '\0');
    EXPECT_STREQ(strword(nullptr), "stop");
    EXPECT_EQ(strword(nullptr), nullptr);
}

TEST(Scanners, MbstrtokAndStrwordKeepSeparatePositions) {
    HeapText list("a|b|");
    HeapText sentence("x y");
    EXPECT_STREQ(mbstrtok(list.get(), "|"), "a");
    EXPECT_STREQ(strword(sentence.get()), "x");
    EXPECT_STREQ(mbstrtok(nullptr, "|"), "b");
    EXPECT_STREQ(strword(nullptr), "y");
    EXPECT_EQ(strword(nullptr), nullptr);
}

/// Offset of getSF's result, the text's length meaning its terminator.
long sentenceFinal(int mode, const std::string& text) {
    HeapText buffer(text);
    const char* p = getSF(mode, buffer.get());
    EXPECT_TRUE(buffer.contains(p));
    return p - buffer.get();
}

TEST(GetSF, FindsTheEarliestSentenceFinalMark) {
    EXPECT_EQ(sentenceFinal(0, "He said \"stop.\" and left"), 13);
    EXPECT_EQ(sentenceFinal(0, "One. Two"), 8);  // a full stop counts only before a quote
    EXPECT_EQ(sentenceFinal(0, "Wow! Really? Yes"), 11);
    EXPECT_EQ(sentenceFinal(0, "Wow! Really"), 3);
    EXPECT_EQ(sentenceFinal(0, "a\",b"), 2);
    EXPECT_EQ(sentenceFinal(0, "say,\" ok"), 3);
    EXPECT_EQ(sentenceFinal(0, "a, b"), 4);
    EXPECT_EQ(sentenceFinal(0, "Is it? \"Yes.\""), 5);
    EXPECT_EQ(sentenceFinal(0, "\"Go.\" he asked? no"), 3);
    EXPECT_EQ(sentenceFinal(0, ""), 0);
    // 。 is no ASCII full stop.
    EXPECT_EQ(sentenceFinal(0, bytes({0x82, 0xA0, 0x81, 0x42, '?'})), 4);
}

TEST(GetSF, ReversedModeAlsoStopsAtResultSeparatorsAndPlainFullStops) {
    EXPECT_EQ(sentenceFinal(0, "ab | cd"), 7);
    EXPECT_EQ(sentenceFinal(1, "ab | cd"), 2);
    EXPECT_EQ(sentenceFinal(1, "ab.cd"), 2);
    EXPECT_EQ(sentenceFinal(1, ".ab"), 0);
    EXPECT_EQ(sentenceFinal(1, "x | y?"), 1);
    EXPECT_EQ(sentenceFinal(1, "?x | y"), 0);
    // Other modes consider no full stop and no separator.
    EXPECT_EQ(sentenceFinal(2, "ab.cd"), 5);
    EXPECT_EQ(sentenceFinal(2, "a | b.c?"), 7);
}

std::string token(int n, int bySentence, int pos, const std::string& text, int ignored = 3) {
    HeapText input(text);
    HeapText out(std::string(999, 'Z'));  // exactly the 1000 bytes of the contract
    EXPECT_EQ(gettoken(n, bySentence, pos, ignored, input.get(), out.get()), out.get());
    return out.str();
}

TEST(Gettoken, CountsWordsRightAndLeftOfTheWordAtPos) {
    const std::string text = "the cat sat";
    EXPECT_EQ(token(0, 0, 4, text), "cat");
    EXPECT_EQ(token(1, 0, 4, text), "sat");
    EXPECT_EQ(token(2, 0, 4, text), "");
    EXPECT_EQ(token(-1, 0, 4, text), "the");
    EXPECT_EQ(token(-2, 0, 4, text), "");
    // Any byte of the word stands for the word; the fourth argument changes nothing.
    EXPECT_EQ(token(0, 0, 6, text, 0), "cat");
    EXPECT_EQ(token(-1, 0, 5, text, 99), "the");
    EXPECT_EQ(token(0, 0, 0, text), "the");
    // Nothing stands left of the first word, not even a piece of it.
    EXPECT_EQ(token(-1, 0, 0, text), "");
    EXPECT_EQ(token(-1, 0, 2, text), "");

    EXPECT_EQ(token(0, 0, 6, "I don't know"), "don't");
    EXPECT_EQ(token(-1, 0, 6, "I don't know"), "I");
    EXPECT_EQ(token(0, 0, 6, "pi is 3.14 today"), "3.14");
}

TEST(Gettoken, StopsAtTheSentenceEndOnlyWhenAsked) {
    EXPECT_EQ(token(0, 1, 4, "the cat? sat"), "cat");
    EXPECT_EQ(token(1, 1, 4, "the cat? sat"), "");
    EXPECT_EQ(token(1, 0, 4, "the cat? sat"), "sat");
    EXPECT_EQ(token(1, 1, 4, "the cat. sat"), "sat");  // a bare full stop ends no sentence here
    EXPECT_EQ(token(1, 1, 4, "the cat.\" sat"), "");

    // Leftward the text is read reversed: bare full stops and " | " count.
    EXPECT_EQ(token(-1, 1, 9, "Yes? the cat"), "the");
    EXPECT_EQ(token(-2, 1, 9, "Yes? the cat"), "");
    EXPECT_EQ(token(-2, 0, 9, "Yes? the cat"), "Yes");
    EXPECT_EQ(token(-2, 1, 7, "a. the cat"), "");
    EXPECT_EQ(token(-2, 0, 7, "a. the cat"), "a");
    EXPECT_EQ(token(-2, 1, 8, "a | the cat"), "");
    EXPECT_EQ(token(-2, 0, 8, "a | the cat"), "a");
}

TEST(Gettoken, TakesJapaneseWordsWhole) {
    // 日本語 の: the trail byte of 本 has the value of '{', a separator.
    const std::string nihongo = bytes({0x93, 0xFA, 0x96, 0x7B, 0x8C, 0xEA});
    const std::string no = bytes({0x82, 0xCC});
    EXPECT_EQ(token(0, 0, 0, nihongo + " " + no), nihongo);
    EXPECT_EQ(token(1, 0, 0, nihongo + " " + no), no);
    // Left of a Japanese keyword (猫 at 9) stands what precedes it, never the keyword itself.
    const std::string neko = bytes({0x94, 0x4C});
    EXPECT_EQ(token(-1, 0, 9, nihongo + " " + no + neko), no);
    EXPECT_EQ(token(-1, 0, 7, nihongo + " " + no + neko), nihongo);
    EXPECT_EQ(token(-1, 0, 0, neko + " x"), "");
    EXPECT_EQ(token(-1, 0, 2, "(" + neko), "");
}

TEST(Gettoken, WorksOnTheFirst999BytesOfALongerText) {
    EXPECT_EQ(token(1, 0, 0, std::string(995, 'x') + " word"), "wor");
    EXPECT_EQ(token(0, 0, 0, std::string(1500, 'y')), std::string(999, 'y'));
}

struct BoundaryCase {
    std::string text;
    int pos;
    int len;
    std::vector<std::pair<int, int>> modeAndResult;
};

TEST(Wordcheck, ReportsOccurrencesAttachedAsEachModeRequires) {
    const std::vector<BoundaryCase> cases = {
        {"cats", 0, 3, {{0, 0}, {1, 1}, {2, 0}, {3, 1}}},
        {"John's", 0, 4, {{1, 0}, {3, 0}, {11, 1}, {13, 1}, {21, 0}, {23, 0}, {31, 1}, {33, 1}}},
        {"well-known", 0, 4, {{1, 0}, {11, 0}, {13, 0}, {21, 1}, {23, 1}, {31, 1}, {33, 1}}},
        {"xcat", 1, 3, {{1, 1}, {2, 1}, {3, 0}, {11, 1}, {13, 0}}},
        {"xcat", 1, 3, {{21, 1}, {23, 0}, {31, 1}, {33, 0}}},
        {"'cat", 1, 3, {{11, 0}}},
        {"-cat", 1, 3, {{21, 0}}},
        {"-cat'", 1, 3, {{31, 1}}},
        {"3cat", 1, 3, {{2, 1}}},
        {"cat9", 0, 3, {{3, 1}}},
        {"cat_", 0, 3, {{3, 0}}},
        {bytes({0xB1, 'c', 'a', 't'}), 1, 3, {{2, 0}}},
        // The byte before may be a trail byte with the value of a letter (ア = 0x83 0x41).
        {bytes({0x83, 0x41, 'c', 'a', 't'}), 2, 3, {{2, 1}}},
        {bytes({'c', 'a', 't', 0x83, 0x41}), 0, 3, {{3, 0}}},
    };
    for (const auto& c : cases) {
        HeapText text(c.text);
        for (auto [mode, expected] : c.modeAndResult) {
            EXPECT_EQ(wordcheck(mode, text.get(), c.pos, c.len), expected)
                << "mode " << mode << " on \"" << c.text << "\" at " << c.pos;
        }
    }
}

TEST(Wordcheck, ModesWithoutAMeaningAttachEveryOccurrence) {
    HeapText text("a cat.");
    for (int mode : {0, 1, 2, 3, 11, 13, 21, 23, 31, 33})
        EXPECT_EQ(wordcheck(mode, text.get(), 2, 3), 0) << mode;
    for (int mode : {12, 22, 32, 4, -1, 100})
        EXPECT_EQ(wordcheck(mode, text.get(), 2, 3), 1) << mode;
}

int rekkc(int type, int mode, int anchorPos, int anchorLen, const std::string& line,
          const std::string& keyword, int ignoreCase = 0) {
    HeapText l(line);
    HeapText k(keyword);
    return Rekkc(type, ignoreCase, mode, anchorPos, anchorLen, l.get(), k.get());
}

TEST(Rekkc, RightwardTestsAndTheirNegations) {
    const std::string line = "the cat sat on the mat";  // anchor: cat at 4
    EXPECT_EQ(rekkc(1, 1, 4, 3, line, "sat"), 0);
    EXPECT_EQ(rekkc(0, 1, 4, 3, line, "sat"), 1);
    EXPECT_EQ(rekkc(1, 1, 4, 3, line, "dog"), 1);
    EXPECT_EQ(rekkc(0, 1, 4, 3, line, "dog"), 0);
    EXPECT_EQ(rekkc(1, 1, 4, 3, line, "the"), 0);
    EXPECT_EQ(rekkc(1, 1, 4, 3, "the cat sat", "the"), 1);  // only to the left
}

TEST(Rekkc, EveryTypeIncludingTheNegatedRightwardOneHonoursTheBoundaryMode) {
    const std::string line = "the cat satisfied";
    EXPECT_EQ(rekkc(1, 1, 4, 3, line, "sat"), 1);
    EXPECT_EQ(rekkc(1, 0, 4, 3, line, "sat"), 0);
    EXPECT_EQ(rekkc(0, 1, 4, 3, line, "sat"), 0);
    EXPECT_EQ(rekkc(0, 0, 4, 3, line, "sat"), 1);
    EXPECT_EQ(rekkc(1, 1, 4, 3, "the cat satisfied sat", "sat"), 0);  // a later one stands free
    EXPECT_EQ(rekkc(0, 1, 4, 3, "the cat satisfied sat", "sat"), 1);
}

TEST(Rekkc, SentenceLimitedRightwardTypes) {
    EXPECT_EQ(rekkc(11, 1, 4, 3, "the cat? sat", "sat"), 1);
    EXPECT_EQ(rekkc(1, 1, 4, 3, "the cat? sat", "sat"), 0);
    EXPECT_EQ(rekkc(-9, 1, 4, 3, "the cat? sat", "sat"), 0);
    EXPECT_EQ(rekkc(-9, 1, 4, 3, "the cat sat? dog", "sat"), 1);
    EXPECT_EQ(rekkc(11, 1, 4, 3, "the cat sat? dog", "sat"), 0);
    EXPECT_EQ(rekkc(11, 1, 4, 3, "the cat. sat", "sat"), 0);
}

TEST(Rekkc, LeftwardTestsTakeTheKeywordReversed) {
    const std::string line = "the cat sat";
    EXPECT_EQ(rekkc(2, 1, 8, 3, line, "tac"), 0);
    EXPECT_EQ(rekkc(-1, 1, 8, 3, line, "tac"), 1);
    EXPECT_EQ(rekkc(2, 1, 8, 3, line, "god"), 1);
    EXPECT_EQ(rekkc(-1, 1, 8, 3, line, "god"), 0);
    EXPECT_EQ(rekkc(2, 1, 4, 3, line, "tas"), 1);  // only to the right

    // Boundaries are judged on the line in reading order: "cat" in "scat" is attached before.
    EXPECT_EQ(rekkc(2, 1, 9, 3, "the scat sat", "tac"), 1);
    EXPECT_EQ(rekkc(2, 3, 9, 3, "the scat sat", "tac"), 0);
    EXPECT_EQ(rekkc(2, 0, 9, 3, "the scat sat", "tac"), 0);
    EXPECT_EQ(rekkc(-1, 1, 9, 3, "the scat sat", "tac"), 0);
}

TEST(Rekkc, SentenceLimitedLeftwardTypes) {
    const std::string line = "Yes. the cat sat";  // anchor: sat at 13
    EXPECT_EQ(rekkc(12, 1, 13, 3, line, "seY"), 1);
    EXPECT_EQ(rekkc(-10, 1, 13, 3, line, "seY"), 0);
    EXPECT_EQ(rekkc(2, 1, 13, 3, line, "seY"), 0);
    EXPECT_EQ(rekkc(-1, 1, 13, 3, line, "seY"), 1);
    EXPECT_EQ(rekkc(12, 1, 13, 3, line, "eht"), 0);
    EXPECT_EQ(rekkc(-10, 1, 13, 3, line, "eht"), 1);
    // The separator of result lines also ends the sentence.
    EXPECT_EQ(rekkc(12, 1, 8, 3, "a | the cat", "a"), 1);
    EXPECT_EQ(rekkc(2, 1, 8, 3, "a | the cat", "a"), 0);
}

TEST(Rekkc, JapaneseKeywordsAreReversedCharacterByCharacter) {
    const std::string inu = bytes({0x8C, 0xA2});   // 犬
    const std::string wo = bytes({0x82, 0xF0});    // を
    const std::string neko = bytes({0x94, 0x4C});  // 猫
    const std::string mita = bytes({0x8C, 0xA9, 0x82, 0xBD});
    const std::string leftLine = inu + wo + mita + neko;  // anchor 猫 at 8
    const std::string keyword = inu + wo;
    EXPECT_EQ(rekkc(2, 1, 8, 2, leftLine, reverseCharacters(keyword)), 0);
    EXPECT_EQ(rekkc(-1, 1, 8, 2, leftLine, reverseCharacters(keyword)), 1);
    std::string byteReversed = keyword;
    mbstrrev(byteReversed.data());
    EXPECT_EQ(rekkc(2, 1, 8, 2, leftLine, byteReversed), 1);
    EXPECT_EQ(rekkc(2, 1, 8, 2, leftLine, inu), 0);

    const std::string rightLine = neko + bytes({0x82, 0xAA}) + inu + wo + mita;  // 猫が犬を見た
    EXPECT_EQ(rekkc(1, 1, 0, 2, rightLine, inu), 0);
    EXPECT_EQ(rekkc(1, 1, 0, 2, rightLine, bytes({0x92, 0xB9})), 1);  // 鳥
    EXPECT_EQ(rekkc(11, 1, 0, 2, rightLine, keyword), 0);
}

TEST(Rekkc, IgnoreCaseFoldsOnlyFullWidthCapitals) {
    const std::string line = bytes({'x', ' ', 0x82, 0x63, 0x82, 0x6E, 0x82, 0x66});  // x ＤＯＧ
    const std::string dog = bytes({0x82, 0x84, 0x82, 0x8F, 0x82, 0x87});             // ｄｏｇ
    EXPECT_EQ(rekkc(1, 1, 0, 1, line, dog, 1), 0);
    EXPECT_EQ(rekkc(1, 1, 0, 1, line, dog, 0), 1);
    EXPECT_EQ(rekkc(1, 1, 0, 1, "x DOG", "dog", 1), 1);
    // 0x88 0x82 is one character followed by a backtick: no full-width capital to fold.
    EXPECT_EQ(rekkc(1, 0, 0, 1, bytes({'x', 0x88, 0x82, '`'}), bytes({0x82, 0x81}), 1), 1);
}

TEST(Rekkc, UnknownTypesGiveTheResultOfAMissingKeyword) {
    const std::string line = "dog cat dog";
    for (int type : {3, 5, 10, 13}) EXPECT_EQ(rekkc(type, 1, 4, 3, line, "dog"), 1) << type;
    for (int type : {-2, -5, -11}) EXPECT_EQ(rekkc(type, 1, 4, 3, line, "dog"), 0) << type;
}

TEST(Rekkc, SeesOnlyTheFirst259BytesOfTheLine) {
    EXPECT_EQ(
        rekkc(1, 1, 0, 3, "cat" + std::string(253, ' ') + "dog" + std::string(41, ' '), "dog"), 0);
    EXPECT_EQ(
        rekkc(1, 1, 0, 3, "cat" + std::string(254, ' ') + "dog" + std::string(40, ' '), "dog"), 1);
}

}  // namespace
}  // namespace vellmora::test
