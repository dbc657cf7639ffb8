// Golden output of "pyxo-cli kwoc": the program runs in tests/data/golden_kwoc on the small
// corpus there, each case with a copy of one settings file, and its standard output, standard
// error and exit status must match the files in expected/ byte for byte. How the expected lines
// were worked out is written down in tests/data/golden_kwoc/README.md.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/cli_run.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using testing::CliRun;
using testing::readFileBytes;

const std::string kGolden = std::string(VELLMORA_TEST_DATA) + "/golden_kwoc";

const std::string kCatSjis = "\x94\x4c";                    // 猫
const std::string kHonSjis = "\x96\x7b";                    // 本
const std::string kNihonUtf8 = "\xe6\x97\xa5\xe6\x9c\xac";  // 日本

CliRun runKwoc(const std::string& ini, const std::vector<std::string>& globals,
               const std::vector<std::string>& arguments) {
    std::vector<std::string> argv = globals;
    argv.push_back("kwoc");
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return testing::runCliIn(PYXO_CLI, kGolden, kGolden + "/ini/" + ini, argv);
}

/// The expected bytes of a case; a missing file stands for no output at all.
std::string expected(const std::string& name) {
    const std::string path = kGolden + "/expected/" + name;
    return std::filesystem::exists(path) ? readFileBytes(path) : std::string();
}

void expectGolden(const std::string& name, int status, const CliRun& run) {
    EXPECT_EQ(run.status, status) << name;
    EXPECT_EQ(run.out, expected(name + ".out")) << name;
    EXPECT_EQ(run.err, expected(name + ".err")) << name;
}

std::vector<std::string> request(const std::string& keyword1, const std::string& files,
                                 const std::string& keyword2 = "") {
    std::vector<std::string> args = {"-1", keyword1, "-d", "corpus", "-f", files};
    if (!keyword2.empty()) args.insert(args.end(), {"-2", keyword2});
    return args;
}

TEST(KwocGolden, ContextLinesAroundEveryMatchedLine) {
    expectGolden("01_context", 0, runKwoc("context.ini", {}, request("cat", "en.txt")));
}

TEST(KwocGolden, NotWithOrderSensitiveSearch) {
    expectGolden("02_not_ordered", 0,
                 runKwoc("not_ordered.ini", {}, request("cat", "en.txt", "dog")));
}

TEST(KwocGolden, OrWithFileNameTagsAndCounts) {
    expectGolden("03_or_tagfname_count", 0,
                 runKwoc("or_tagfname_count.ini", {}, request("cat", "en.txt;ja.txt", "dog")));
}

TEST(KwocGolden, Utf8KeywordJoinedOverTheLineEndShowsTheNextLine) {
    expectGolden("04_utf8_continuation", 0,
                 runKwoc("nocrlf_sepmatched.ini", {"--utf8"}, request(kNihonUtf8, "ja.txt")));
}

TEST(KwocGolden, ShiftJisKeywordsWithAnd) {
    expectGolden("05_sjis_and", 0,
                 runKwoc("default.ini", {}, request(kCatSjis, "ja.txt", kHonSjis)));
}

TEST(KwocGolden, NothingFoundFailsWithoutAnyLine) {
    expectGolden("06_not_found", 1, runKwoc("default.ini", {}, request("zebra", "en.txt")));
}

TEST(KwocGolden, EmptyKeywordIsRefusedBeforeAnythingRuns) {
    expectGolden("07_empty_keyword", 2, runKwoc("default.ini", {}, request("", "en.txt")));
}

}  // namespace
}  // namespace vellmora
