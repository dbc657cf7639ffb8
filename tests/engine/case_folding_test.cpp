#include "engine/case_folding.h"

#include <random>
#include <string>

#include <gtest/gtest.h>

#include "textlib/ximo.h"

namespace vellmora {
namespace {

std::string folded(const std::string& text) {
    std::string out(text.size(), '?');
    lowerCaseCopy(out.data(), text.data(), text.size());
    return out;
}

std::string libraryFolded(std::string text) {
    mbstrlwr(text.data());
    return text;
}

TEST(LowerCaseCopy, AsciiLettersOnlyAndWholeCharacters) {
    EXPECT_EQ(folded("The QUICK @[`{ Fox 0123456789"), "the quick @[`{ fox 0123456789");
    // ア is 0x83 0x41: its second byte looks like "A" and must stay.
    EXPECT_EQ(folded("ABCDEFGH\x83\x41XYZ"), "abcdefgh\x83\x41xyz");
    EXPECT_EQ(folded("A\x83"), "a\x83");  // a lead byte at the end stands alone
}

TEST(LowerCaseCopy, AgreesWithTheLibraryOnRandomText) {
    std::mt19937 random(7);
    const std::string alphabet = "aZzA@[`{ \x82\x83\x41\x5A\x61\x7A\x88\x9F\xE0\xFC\xA0\xDF";
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 40);
        for (int i = 0; i < length; ++i) {
            char c = random() % 3 == 0 ? static_cast<char>(1 + random() % 255)
                                       : alphabet[random() % alphabet.size()];
            text += c;
        }
        ASSERT_EQ(folded(text), libraryFolded(text)) << "round " << round;
    }
}

}  // namespace
}  // namespace vellmora
