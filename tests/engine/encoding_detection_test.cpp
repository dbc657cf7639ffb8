// Auto code detection: what a file's first bytes say it is, and that a run over the same
// Japanese text in four encodings finds the same lines in each file, on one thread or several.

#include "engine/encoding_detection.h"

#include <stdlib.h>

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "document/result_document.h"
#include "engine/kwoc_search.h"
#include "engine/preprocessor.h"
#include "engine/search_options.h"
#include "engine/search_run.h"
#include "platform/recording_user_interface.h"
#include "settings/profile.h"
#include "tests/support/corpus_search.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using namespace std::string_literals;

const std::string kJa = std::string(VELLMORA_TEST_DATA) + "/ja/";
// Corpus file cN.txt holds the text in kEncodings[N - 1].
const char* const kEncodings[] = {"sjis", "utf8", "eucjp", "jis"};
const InputEncoding kDetected[] = {InputEncoding::ShiftJis, InputEncoding::Utf8,
                                   InputEncoding::EucJp, InputEncoding::Iso2022Jp};

std::string sample(const char* encoding) {
    return testing::readFileBytes(kJa + encoding + "/subset.txt");
}

TEST(DetectInputEncoding, TellsRealFilesAndTheirFirstBytesApart) {
    for (int i = 0; i < 4; ++i) {
        const std::string text = sample(kEncodings[i]);
        EXPECT_EQ(detectInputEncoding(text), kDetected[i]) << kEncodings[i];
        // A prefix cut anywhere, even inside a character, says the same once it holds enough.
        for (std::size_t cut : {200u, 201u, 202u, 4097u})
            EXPECT_EQ(detectInputEncoding(std::string_view(text).substr(0, cut)), kDetected[i])
                << kEncodings[i] << " cut at " << cut;
    }
    // Only the first 64 KiB count: a UTF-8 tail after them changes nothing.
    const std::string sjisHead(kDetectionPrefixBytes, 'a');
    EXPECT_EQ(detectInputEncoding(sjisHead + "\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86"),
              InputEncoding::ShiftJis);
    EXPECT_EQ(inputEncodingName(InputEncoding::EucJp), "EUC-JP");
    EXPECT_EQ(inputEncodingName(InputEncoding::ShiftJis), "Shift-JIS");
}

TEST(DetectInputEncoding, ShortAsciiAndAmbiguousTextStaysShiftJis) {
    const struct {
        std::string bytes;
        InputEncoding expected;
    } cases[] = {
        {"", InputEncoding::ShiftJis},
        {"plain ASCII text\r\nwith two lines\n", InputEncoding::ShiftJis},
        {"\x1B[1mANSI bold\x1B[0m", InputEncoding::ShiftJis},     // not ISO-2022-JP
        {"\xE3\x81\x82", InputEncoding::ShiftJis},                  // one UTF-8 character
        {"\xA4\xA2\xA4\xA4", InputEncoding::ShiftJis},              // two EUC-JP characters
        {"\x82\xA0\x82\xA2\x82\xA4\x8A\xBF\x8E\x9A", InputEncoding::ShiftJis},
        {"\xB1\xB2\xB3\xB4\xB5\xB6", InputEncoding::ShiftJis},      // half-width kana, or EUC?
        {"\xA4\xA2\xA4\xA4\xA4\xA6\xC6\xFC\xCB\xDC\xB8\xEC", InputEncoding::EucJp},
        {"\xEF\xBB\xBF", InputEncoding::Utf8},                      // the mark alone decides
        {"x\x1B$Bx", InputEncoding::Iso2022Jp},
        {"\xE3\x81\x82\xE3\x81\x84\xE3\x81\x86\xFF", InputEncoding::ShiftJis},  // invalid byte
        {"x\0\0\x01\x02\x80\x81\xFE\xFF\0"s, InputEncoding::ShiftJis},  // binary-looking
        {"\x8F\xB0\xA1\x8E\xB1\xA4\xA2\xA4\xA4", InputEncoding::EucJp},  // 3-byte and kana forms
    };
    for (const auto& c : cases)
        EXPECT_EQ(detectInputEncoding(c.bytes), c.expected) << ::testing::PrintToString(c.bytes);
}

TEST(LinePreprocessorAuto, AFileEncodingReplacesTheRunsConversionsForThatFileOnly) {
    PreprocessOptions run;
    run.eucToSjis = true;
    LinePreprocessor pre;
    pre.startRun(run);
    pre.startFile(InputEncoding::Utf8);
    EXPECT_TRUE(pre.options().utf8ToSjis);
    EXPECT_FALSE(pre.options().eucToSjis);
    char line[] = "\xEF\xBB\xBF\xE3\x81\x82";
    pre.process(line);
    EXPECT_STREQ(line, "\x82\xA0");
    pre.startFile(InputEncoding::ShiftJis);
    EXPECT_FALSE(pre.options().any());
    pre.startFile();
    EXPECT_TRUE(pre.options().eucToSjis);
}

class AutoCodeRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("PYXO_JRE", JRE, 1);
        for (int i = 0; i < 4; ++i)
            testing::writeFileBytes(m_temp.file("c" + std::to_string(i + 1) + ".txt"),
                                    sample(kEncodings[i]));
    }
    void TearDown() override { unsetenv("PYXO_JRE"); }

    using Result = testing::CorpusSearchResult;

    Result run(SearchOptions options, const std::string& keyword, bool kwoc = false) {
        RecordingUserInterface ui;
        return testing::searchCorpus(options, m_profile, m_temp.path() + "/", keyword, kwoc, ui);
    }

    /// The lines of each file cK.txt (its separator, the hit lines after it, its count line)
    /// under K, with the name made "cN.txt".
    static std::map<char, std::vector<std::string>> byFile(const std::vector<std::string>& lines) {
        std::map<char, std::vector<std::string>> files;
        char file = '?';
        for (std::string line : lines) {
            const std::size_t name = line.find("/c");
            if (name != std::string::npos && line.compare(name + 3, 4, ".txt") == 0) {
                file = line[name + 2];
                line[name + 2] = 'N';
            }
            if (line.starts_with("Total")) break;
            files[file].push_back(line);
        }
        return files;
    }

    void expectSameLinesInEveryFile(const SearchOptions& options, const std::string& keyword,
                                    bool kwoc) {
        const Result result = run(options, keyword, kwoc);
        const auto files = byFile(result.lines);
        ASSERT_EQ(files.size(), 4u) << keyword;
        ASSERT_GT(files.at('1').size(), 3u) << keyword;
        for (char file : {'2', '3', '4'})
            EXPECT_EQ(files.at(file), files.at('1')) << "file c" << file << ".txt, " << keyword;
        ASSERT_EQ(result.outcome.readAs.size(), 4u);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(result.outcome.readAs[i].encoding, kDetected[i]) << kEncodings[i];

        SearchOptions parallel = options;
        parallel.jobs = 3;
        const Result three = run(parallel, keyword, kwoc);
        EXPECT_EQ(three.lines, result.lines) << keyword;
        ASSERT_EQ(three.outcome.readAs.size(), 4u);
        EXPECT_EQ(three.outcome.readAs[3].displayName, result.outcome.readAs[3].displayName);
    }

    testing::TempDir m_temp;
    Profile m_profile{m_temp.file("pyxo.ini")};
};

SearchOptions autoCode() {
    SearchOptions o;
    o.autoCode = true;
    o.count = true;
    return o;
}

// "の" lets the reader's raw-byte prefilter pass over every line of a converted file unless
// it is off for such files; "Debian" is ASCII in all four.
TEST_F(AutoCodeRunTest, KwicAndKwocFindTheSameLinesInEveryEncoding) {
    for (bool kwoc : {false, true}) {
        SearchOptions o = autoCode();
        expectSameLinesInEveryFile(o, "\x82\xCC", kwoc);
        expectSameLinesInEveryFile(o, "Debian", kwoc);
        // A conversion switched on besides Auto gives way to each file's own.
        o.eucToSjis = true;
        o.oneLine = true;
        o.ignoreCase = true;
        expectSameLinesInEveryFile(o, "debian", kwoc);
    }
    SearchOptions o = autoCode();
    o.grep = true;
    expectSameLinesInEveryFile(o, "\x83\x66\x83\x6F|\x82\xCC", false);
}

TEST_F(AutoCodeRunTest, OffReadsEveryFileAsShiftJisAndRecordsNothing) {
    SearchOptions o;
    o.count = true;
    const Result result = run(o, "\x82\xCC");
    EXPECT_TRUE(result.outcome.readAs.empty());
    // Only the Shift-JIS file holds the keyword's bytes as they stand.
    const auto files = byFile(result.lines);
    EXPECT_GT(files.at('1').size(), 3u);
    EXPECT_EQ(files.at('2').back(), m_temp.path() + "/cN.txt : 0\r\n");
}

TEST_F(AutoCodeRunTest, TheBinaryGuardStillGivesUpAFileThatLooksLikeUtf8) {
    std::string binary = "\xEF\xBB\xBF";
    for (int i = 0; i < 20; ++i) binary += "x\0\n"s;
    binary += "\xE3\x81\xAE\n";  // "の" in UTF-8, after the guard has given up
    testing::writeFileBytes(m_temp.file("c5.txt"), binary);
    const Result result = run(autoCode(), "\x82\xCC");
    const auto files = byFile(result.lines);
    EXPECT_EQ(files.count('5'), 1u);  // its separator only: no hit, no count line
    EXPECT_EQ(files.at('5').size(), 1u);
    ASSERT_EQ(result.outcome.readAs.size(), 5u);
    EXPECT_EQ(result.outcome.readAs[4].encoding, InputEncoding::Utf8);
}

}  // namespace
}  // namespace vellmora
