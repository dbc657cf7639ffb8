// Golden output of "pyxo-cli kwic": the program runs in tests/data/golden on the small corpus
// there, each case with a copy of one settings file, and its standard output, standard error
// and exit status must match the files in expected/ byte for byte. How every expected line was
// worked out is written down in tests/data/golden/README.md.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/cli_run.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using testing::readFileBytes;

const std::string kGolden = std::string(VELLMORA_TEST_DATA) + "/golden";

// The keywords the Japanese cases type: Shift-JIS as a terminal set to that code would send
// them, UTF-8 for --utf8.
const std::string kCatSjis = "\x94\x4c";                    // 猫
const std::string kNihonSjis = "\x93\xfa\x96\x7b";          // 日本
const std::string kNihonUtf8 = "\xe6\x97\xa5\xe6\x9c\xac";  // 日本

using Run = testing::CliRun;

/// Runs pyxo-cli in the golden folder with a private copy of ini/<ini> as its settings file
/// (the run writes its request and histories there). globals go before the command.
Run runCli(const std::string& ini, const std::vector<std::string>& globals,
           const std::vector<std::string>& arguments) {
    std::vector<std::string> argv = globals;
    argv.push_back("kwic");
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return testing::runCliIn(PYXO_CLI, kGolden, kGolden + "/ini/" + ini, argv);
}

/// The expected bytes of a case; a missing file stands for no output at all.
std::string expected(const std::string& name) {
    const std::string path = kGolden + "/expected/" + name;
    return std::filesystem::exists(path) ? readFileBytes(path) : std::string();
}

void expectGolden(const std::string& name, int status, const Run& run) {
    EXPECT_EQ(run.status, status) << name;
    EXPECT_EQ(run.out, expected(name + ".out")) << name;
    EXPECT_EQ(run.err, expected(name + ".err")) << name;
}

std::vector<std::string> request(const std::string& keyword, const std::string& files) {
    return {"-1", keyword, "-d", "corpus", "-f", files};
}

TEST(KwicGolden, DefaultLayoutWithContextAcrossLines) {
    expectGolden("01_default", 0, runCli("default.ini", {}, request("cat", "en.txt")));
}

TEST(KwicGolden, FileNameTagsWithCountsOfEveryFile) {
    expectGolden("02_count_tagfname", 0,
                 runCli("count_tagfname.ini", {}, request("cat", "en.txt;crlf.txt;nofinal.txt")));
}

TEST(KwicGolden, PhraseContinuesOverCrLfLineEnd) {
    expectGolden("03_crlf_sepmatched", 0,
                 runCli("crlf_sepmatched.ini", {}, request("New York", "en.txt;crlf.txt")));
}

TEST(KwicGolden, ShiftJisContextIsNeverCutInsideACharacter) {
    expectGolden("04_sjis_cuts", 0, runCli("default.ini", {}, request(kCatSjis, "ja.txt")));
}

TEST(KwicGolden, Utf8OutputOfAKeywordJoinedWithoutMarker) {
    expectGolden("05_utf8_nocrlf", 0,
                 runCli("nocrlf_countmatched.ini", {"--utf8"}, request(kNihonUtf8, "ja.txt")));
}

TEST(KwicGolden, Utf8OutputShowsAUtf8FileNameAsItIs) {
    // The lines are Shift-JIS but the name in the separator line is the system's UTF-8: shown
    // through the Shift-JIS conversion it came out as other characters.
    testing::TempDir corpus;
    const std::string name = "\xe6\x97\xa5\xe8\xa8\x98.txt";  // 日記.txt
    testing::writeFileBytes(corpus.file(name), "\x8d\xa1\x93\xfa\x82\xcd" + kNihonSjis + "\r\n");
    const testing::CliRun run = testing::runCliIn(PYXO_CLI, corpus.path(), kGolden + "/ini/default.ini",
                                      {"--utf8", "kwic", "-1", kNihonUtf8, "-d", corpus.path(), "-f",
                                       "*.txt"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("/" + name + " ]-----\n"), std::string::npos) << run.out;
    // 今日は日本: the hit line itself is still converted.
    EXPECT_NE(run.out.find("\xe4\xbb\x8a\xe6\x97\xa5\xe3\x81\xaf" + kNihonUtf8), std::string::npos)
        << run.out;
}

TEST(KwicGolden, NothingFoundKeepsTheSeparatorAndFails) {
    expectGolden("06_not_found", 1, runCli("default.ini", {}, request(kNihonSjis, "ja.txt")));
}

TEST(KwicGolden, OneLineContextWithCompilerTags) {
    expectGolden("07_oneline_tagform", 0,
                 runCli("oneline_tagform.ini", {}, request("cat", "en.txt;nofinal.txt")));
}

TEST(KwicGolden, IgnoredCaseAndKeywordColumnMovedLeft) {
    expectGolden("08_ignorecase_offset", 0,
                 runCli("ignorecase_offset.ini", {}, request("CAT", "en.txt")));
}

TEST(KwicGolden, LineLimitEndsTheRunQuietly) {
    expectGolden("09_maxline", 0, runCli("maxline.ini", {}, request("cat", "en.txt")));
}

TEST(KwicGolden, NoFileOpenedNamesBothKindsOfRequest) {
    std::vector<std::string> args = request("cat", "missing.txt");
    args.insert(args.end(), {"-r", "missing.lst"});
    expectGolden("10_no_files", 1, runCli("count.ini", {}, args));
}

TEST(KwicGolden, EmptyKeywordIsRefusedBeforeAnythingRuns) {
    expectGolden("11_empty_keyword", 2, runCli("default.ini", {}, request("", "en.txt")));
}

TEST(KwicGolden, ProgramFileIsRefusedBeforeAnythingRuns) {
    expectGolden("12_exe_refused", 2, runCli("default.ini", {}, request("cat", "prog.exe")));
}

}  // namespace
}  // namespace vellmora
