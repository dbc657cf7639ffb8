#include "engine/preprocessor.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "settings/profile.h"
#include "tests/textlib/text_helpers.h"

namespace vellmora::test {
namespace {

using Lines = std::vector<std::string>;

PreprocessOptions with(std::initializer_list<bool PreprocessOptions::*> switches) {
    PreprocessOptions options;
    for (auto member : switches) options.*member = true;
    return options;
}

/// Feeds the lines to one preprocessor as one file of one run. Each line sits in a heap block
/// of exactly its size, so the sanitizer catches a step that grows a line.
Lines preprocess(LinePreprocessor& pre, const Lines& lines) {
    Lines out;
    pre.startFile();
    for (const std::string& line : lines) {
        HeapText text(line);
        pre.process(text.get());
        out.push_back(text.str());
    }
    return out;
}

Lines preprocess(const PreprocessOptions& options, const Lines& lines) {
    LinePreprocessor pre;
    pre.startRun(options);
    return preprocess(pre, lines);
}

std::string preprocess(const PreprocessOptions& options, const std::string& line) {
    return preprocess(options, Lines{line})[0];
}

const PreprocessOptions kTags = with({&PreprocessOptions::deHtml});
const PreprocessOptions kUtf8 = with({&PreprocessOptions::utf8ToSjis});

TEST(TagRemoval, RemovesTagsAndCommentsClosedOnTheirLine) {
    EXPECT_EQ(preprocess(kTags, "a<b>c</b>d"), "acd");
    EXPECT_EQ(preprocess(kTags, "<!-- note -->text"), "text");
    EXPECT_EQ(preprocess(kTags, "<!DOCTYPE html>body"), "body");
    // A DOCTYPE is not a comment, so its ">" ends it even with "->" further on.
    EXPECT_EQ(preprocess(kTags, "<!D>a->b"), "a->b");
    EXPECT_EQ(preprocess(kTags, "no tags > here"), "no tags > here");
}

TEST(TagRemoval, ACommentOpenOnAnEarlierLineEndsOnlyAtHyphenGreaterThan) {
    EXPECT_EQ(preprocess(kTags, Lines{"a<!-- note >", "x > y", "end -> z<i>!"}),
              (Lines{"a", "", " z!"}));
}

TEST(TagRemoval, AnOpenerWithoutGreaterThanOnItsLineIsAnOrdinaryTag) {
    EXPECT_EQ(preprocess(kTags, Lines{"a<!-- words", "no end", "c > d -> e"}),
              (Lines{"a", "", " d -> e"}));
    EXPECT_EQ(preprocess(kTags, Lines{"x <a href=1", "2>y"}), (Lines{"x ", "y"}));
}

TEST(TagRemoval, AnOpenTagCarriesIntoTheNextFileButNotIntoTheNextRun) {
    LinePreprocessor pre;
    pre.startRun(kTags);
    EXPECT_EQ(preprocess(pre, Lines{"last <!-- x >"}), (Lines{"last "}));
    EXPECT_TRUE(pre.commentOpen());
    EXPECT_EQ(preprocess(pre, Lines{"first -> kept"}), (Lines{" kept"}));

    preprocess(pre, Lines{"<a"});
    EXPECT_TRUE(pre.tagOpen());
    pre.startRun(kTags);
    EXPECT_EQ(preprocess(pre, Lines{"x>y"}), (Lines{"x>y"}));
}

TEST(Preprocess, SpaceAndControlStepsRunInTheirOrder) {
    const std::string fullWidthSpace = bytes({0x81, 0x40});
    EXPECT_EQ(preprocess(with({&PreprocessOptions::delSpace1, &PreprocessOptions::delSpace3}),
                         fullWidthSpace + " a\t\tb"),
              "a\tb");
    // Control bytes become spaces before the runs are compressed.
    EXPECT_EQ(
        preprocess(with({&PreprocessOptions::ctrlCode, &PreprocessOptions::delSpace3}), "a\t \vb"),
        "a b");
    EXPECT_EQ(preprocess(with({&PreprocessOptions::ctrlCode}), "\t\x1b\x0b\x0c\x7f|\x01\x0d"),
              "     |\x01\x0d");
}

TEST(Preprocess, ConversionComesBeforeControlBytesAndTags) {
    const std::string jis = "<b>\x1b$B$\"\x1b(B</b>\t.";
    EXPECT_EQ(preprocess(with({&PreprocessOptions::jisToSjis, &PreprocessOptions::ctrlCode,
                               &PreprocessOptions::deHtml}),
                         jis),
              bytes({0x82, 0xA0, ' ', '.'}));
}

TEST(Preprocess, WithEverySwitchOffTheLineIsUntouched) {
    const std::string line = bytes({0x81, 0x40, ' ', 0xEF, 0xBB, 0xBF}) + " <b>\t\x1b$B$\"  <!--";
    EXPECT_EQ(preprocess(PreprocessOptions{}, Lines{line, line}), (Lines{line, line}));
}

TEST(Utf8ToSjis, ConvertsCharactersAndMarksThoseCodePage932Lacks) {
    if (!haveCp932Table()) GTEST_SKIP() << "no code page 932 converter on this system";
    // ASCII, あ, half-width ｱ, ～ (full-width tilde), ¥ which code page 932 writes as 0x5C.
    EXPECT_EQ(preprocess(kUtf8, "A\xE3\x81\x82\xEF\xBD\xB1\xEF\xBD\x9E\xC2\xA5"),
              bytes({'A', 0x82, 0xA0, 0xB1, 0x81, 0x60, 0x5C}));
    // é, an emoji, a byte-order mark inside the line.
    EXPECT_EQ(preprocess(kUtf8, "\xC3\xA9|\xF0\x9F\x98\x80|x\xEF\xBB\xBF"),
              bytes({0x81, 0xAC, '|', 0x81, 0xAC, '|', 'x', 0x81, 0xAC}));
}

TEST(Utf8ToSjis, BytesThatAreNotUtf8PassUnchanged) {
    const Lines invalid = {
        bytes({0x82, 0xA0, 0x83, 0x5C}),        // Shift-JIS
        bytes({0xC0, 0xAF, 0xE0, 0x80, 0xAF}),  // overlong
        bytes({0xED, 0xA0, 0x80}),              // surrogate
        bytes({0xF4, 0x90, 0x80, 0x80}),        // above U+10FFFF
        bytes({'a', 0x80, 0xBF, 'b', 0xFF}),    // stray continuation bytes
        bytes({'a', 0xE3, 0x81}),               // cut before the terminator
    };
    EXPECT_EQ(preprocess(kUtf8, invalid), invalid);
    // A broken sequence does not take the valid one after it along.
    EXPECT_EQ(preprocess(kUtf8, "\xE3\x81\xE3\x81\x82"), bytes({0xE3, 0x81, 0x82, 0xA0}));
}

TEST(Utf8ToSjis, DropsAByteOrderMarkOnlyAtTheStartOfAFile) {
    const std::string bom = "\xEF\xBB\xBF";
    LinePreprocessor pre;
    pre.startRun(kUtf8);
    EXPECT_EQ(preprocess(pre, Lines{bom + "a", bom + "b"}), (Lines{"a", bytes({0x81, 0xAC, 'b'})}));
    EXPECT_EQ(preprocess(pre, Lines{bom}), (Lines{""}));
    // Another switch alone keeps the mark as it is.
    EXPECT_EQ(preprocess(with({&PreprocessOptions::ctrlCode}), bom + "a"), bom + "a");
}

TEST(Utf8ToSjis, AFullLineOfMultiByteCharactersShrinks) {
    if (!haveCp932Table()) GTEST_SKIP() << "no code page 932 converter on this system";
    std::string line;
    std::string expected;
    for (int i = 0; i < 2730; ++i) {
        line += "\xE3\x81\x82";
        expected += bytes({0x82, 0xA0});
    }
    ASSERT_EQ((line + "!").size(), 8191u);  // the longest line the reader hands over
    EXPECT_EQ(preprocess(kUtf8, line + "!"), expected + "!");

    std::string emoji;
    for (int i = 0; i < 2047; ++i) emoji += "\xF0\x9F\x98\x80";
    EXPECT_EQ(preprocess(kUtf8, emoji).size(), 2047u * 2);
}

TEST(FoldFullWidthDigits, FoldsDigitsAndKeepsOtherCharactersWhole) {
    auto fold = [](const std::string& in) {
        HeapText text(in);
        foldFullWidthDigits(text.get());
        return text.str();
    };
    EXPECT_EQ(fold(bytes({0x82, 0x50, 0x82, 0x51, 0x82, 0x52})), "123");
    EXPECT_EQ(fold(bytes({'x', 0x82, 0x4F, 0x82, 0x58, 0x82, 0x60})),
              bytes({'x', '0', '9', 0x82, 0x60}));
    // ≠ (0x81 0x82) then "O": the trail byte 0x82 does not start a digit.
    EXPECT_EQ(fold(bytes({0x81, 0x82, 'O'})), bytes({0x81, 0x82, 'O'}));
    EXPECT_EQ(fold(bytes({'5', 0x82})), bytes({'5', 0x82}));
}

TEST(PreprocessOptions, ReadsTheSevenSwitchesFromTheOptionsSection) {
    char dir[] = "/tmp/preprocessor_test.XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string path = std::string(dir) + "/pyxo.ini";
    std::ofstream(path) << "[Options]\nUTF8toSJIS=1\nJIStoSJIS=1\nDeHTML=1\nDelSpace3=0\n";
    {
        Profile profile(path);
        PreprocessOptions options = readPreprocessOptions(profile);
        EXPECT_TRUE(options.utf8ToSjis && options.jisToSjis && options.deHtml);
        EXPECT_FALSE(options.eucToSjis || options.ctrlCode || options.delSpace1 ||
                     options.delSpace3);
        EXPECT_TRUE(options.any());
    }
    std::filesystem::remove_all(dir);
}

// The same lines of a translated manual in four encodings (tests/data/README.md).
Lines readCorpus(const std::string& encoding) {
    std::ifstream in(std::string(VELLMORA_TEST_DATA) + "/ja/" + encoding + "/subset.txt",
                     std::ios::binary);
    EXPECT_TRUE(in) << encoding;
    Lines lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(Corpus, EveryEncodingPreprocessesToTheShiftJisResult) {
    if (!haveCp932Table()) GTEST_SKIP() << "no code page 932 converter on this system";
    struct Case {
        const char* encoding;
        bool PreprocessOptions::*conversion;
    };
    const Case cases[] = {{"eucjp", &PreprocessOptions::eucToSjis},
                          {"jis", &PreprocessOptions::jisToSjis},
                          {"utf8", &PreprocessOptions::utf8ToSjis}};
    const Lines sjis = readCorpus("sjis");
    ASSERT_GT(sjis.size(), 300u);
    // The text holds a "<" that is never closed, so tag removal drops its last hundred lines:
    // compare once without it to see every line converted.
    const PreprocessOptions spaces =
        with({&PreprocessOptions::ctrlCode, &PreprocessOptions::delSpace1,
              &PreprocessOptions::delSpace3});
    PreprocessOptions spacesAndTags = spaces;
    spacesAndTags.deHtml = true;
    for (const PreprocessOptions& rest : {spaces, spacesAndTags}) {
        const Lines expected = preprocess(rest, sjis);
        for (const Case& c : cases) {
            PreprocessOptions options = rest;
            options.*c.conversion = true;
            Lines lines = readCorpus(c.encoding);
            if (c.conversion == &PreprocessOptions::utf8ToSjis) lines[0].insert(0, "\xEF\xBB\xBF");
            const Lines got = preprocess(options, lines);
            ASSERT_EQ(got.size(), expected.size()) << c.encoding;
            int failures = 0;
            for (std::size_t i = 0; i < got.size(); ++i) {
                if (got[i] != expected[i] && ++failures <= 5) {
                    ADD_FAILURE() << c.encoding << " line " << i + 1 << " tags " << rest.deHtml;
                }
            }
        }
    }
}

}  // namespace
}  // namespace vellmora::test
