// KWIC searches with regular expressions (bGrep): the line loops of one and two expressions,
// and the fallback to a plain search when the engine cannot be had.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "document/result_document.h"
#include "engine/regex_binding.h"
#include "engine/search_options.h"
#include "engine/search_run.h"
#include "platform/recording_user_interface.h"
#include "settings/profile.h"
#include "settings/word_groups.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Lines = std::vector<std::string>;

const std::string kNichi = "\x93\xfa", kHon = "\x96\x7b", kGo = "\x8c\xea";  // 日 本 語
const std::string kFullWidthS = "\x82\x93",
                  kSmallRomanOne = "\xfa\x40";  // ｓ ⅰ: "\x93\xfa" between

/// Records, and quits the search at the n-th message pump of the line loop.
class QuittingUserInterface : public RecordingUserInterface {
public:
    void quitAtLoopPump(long n) { m_quitAt = n; }
    void showBusyTitle(DocumentId document, std::string_view progress) override {
        RecordingUserInterface::showBusyTitle(document, progress);
        if (m_quitAt > 0) cancelAtPump(m_quitAt);
    }

private:
    long m_quitAt = 0;
};

std::string textOf(const std::string& line) {
    std::size_t bar = line.find(" | ");
    return bar == std::string::npos ? line : line.substr(bar + 3);
}

class RegexSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        unsetenv("PYXO_JRE");
        std::filesystem::create_directory(corpus());
        option("bGrep", "1");
        option("NoSeparator", "1");
    }
    void TearDown() override {
        unsetenv("PYXO_JRE");
        unsetenv("FAKE_JRE_OPENS");
        EXPECT_EQ(RegexBinding::liveBindings(), 0);  // every run releases its engine
    }

    std::string corpus() const { return dir.file("corpus"); }
    void write(const std::string& name, std::string_view content) {
        testing::writeFileBytes(corpus() + "/" + name, content);
    }
    void option(std::string_view key, std::string_view value) {
        profile.writeString("Options", key, value);
    }

    SearchOutcome search(const KeywordSpec& keyword1, const KeywordSpec& keyword2 = {},
                         const std::string& fileName = "t.txt") {
        document = std::make_unique<CPyxoDoc>("Result1");
        state = std::make_unique<SearchState>();
        ui = std::make_unique<QuittingUserInterface>();
        if (m_quitAt > 0) ui->quitAtLoopPump(m_quitAt);
        profile.flush();
        SearchOptions options = readSearchOptions(profile);
        SearchRequest request;
        request.keyword1 = keyword1;
        request.keyword2 = keyword2;
        request.fileName = fileName;
        request.directory = corpus() + "/";
        KwicSearchRun run(options, profile, *ui, *document, *state);
        return run.run(request, &flags);
    }

    Lines lines() const {
        Lines out;
        for (const std::string& line : document->list(ResultKind::Original))
            out.push_back(line.substr(0, line.size() - 2));
        return out;
    }
    Lines texts() const {
        Lines out;
        for (const std::string& line : lines()) out.push_back(textOf(line));
        return out;
    }
    std::vector<long> numbers() const {
        std::vector<long> out;
        for (const std::string& line : lines()) out.push_back(std::stol(line.substr(0, 7)));
        return out;
    }
    Lines alerts() const {
        Lines out;
        for (const std::string& entry : ui->transcript())
            if (entry == "beep" || entry.rfind("message", 0) == 0) out.push_back(entry);
        return out;
    }

    testing::TempDir dir;
    Profile profile{dir.file("pyxo.ini")};
    ApplicationSearchFlags flags;
    std::unique_ptr<CPyxoDoc> document;
    std::unique_ptr<SearchState> state;
    std::unique_ptr<QuittingUserInterface> ui;
    long m_quitAt = 0;
};

// Default layout: W 69; the keyword column comes from the pattern as typed, L = (69 - length
// of the pattern - 1) / 2 + 1, so the match is printed from byte L - 1.

TEST_F(RegexSearchTest, EveryMatchIsAHitWithItsOwnLengthInTheColumnOfThePattern) {
    write("t.txt", "The colour and the color\nNew\nno match here\nhue colors/\n");
    SearchOutcome outcome = search({"colou?r"});  // L = 31
    EXPECT_EQ(outcome.total, 3);
    EXPECT_EQ(numbers(), (std::vector<long>{1, 1, 4}));
    EXPECT_EQ(texts(), (Lines{std::string(26, ' ') + "The colour and the color/",
                              std::string(11, ' ') + "The colour and the color/",
                              std::string(26, ' ') + "hue colors//"}));
    // A line loop: nothing of the lines around a hit, even without bOneLine.
    EXPECT_EQ(state->resultKind, 1);
    EXPECT_EQ(state->resultState, 1);
}

TEST_F(RegexSearchTest, ShiftJisClassMatchesWholeCharactersOnly) {
    // Line 1 holds 日's bytes only across ｓ and ⅰ; line 2 holds 日本 itself.
    write("t.txt", kFullWidthS + kSmallRomanOne + "\n" + kGo + kNichi + kHon + kGo + "\n");
    const std::string pattern = "[" + kNichi + kHon + "]+";  // 7 bytes: L = 31
    search({pattern});
    EXPECT_EQ(numbers(), std::vector<long>{2});
    EXPECT_EQ(texts(), Lines{std::string(28, ' ') + kGo + kNichi + kHon + kGo + "/"});

    // . takes a whole character: the match begins with 日, not with its second byte.
    search({"." + kHon});  // L = 33
    EXPECT_EQ(texts(), Lines{std::string(30, ' ') + kGo + kNichi + kHon + kGo + "/"});
}

TEST_F(RegexSearchTest, BoundaryTestAppliesToTheMatch) {
    write("t.txt", "a cat.\ncatalog\nbobcat\n(cat)\n");
    option("KW1Both", "1");
    search({"c.t"});
    EXPECT_EQ(numbers(), (std::vector<long>{1, 4}));
}

TEST_F(RegexSearchTest, HitsDoNotOverlapButARejectedMatchGivesWayToALaterOne) {
    write("t.txt", "running and singing\n");
    search({"\\w+ing"});  // L = 32
    EXPECT_EQ(texts(), (Lines{std::string(31, ' ') + "running and singing/",
                              std::string(19, ' ') + "running and singing/"}));

    // bobcat fails the boundary test; the search goes on one byte after it.
    write("t.txt", "bobcat catalog\n");
    option("KW1Both", "1");
    search({"cat\\w*"});  // L = 32
    EXPECT_EQ(texts(), Lines{std::string(24, ' ') + "bobcat catalog/"});
}

TEST_F(RegexSearchTest, ZeroLengthMatchesAreNoHits) {
    write("t.txt", "abc\nxx y\n");
    search({"x*"});
    EXPECT_EQ(numbers(), std::vector<long>{2});
    EXPECT_EQ(texts()[0].substr(33, 3), "xx ");
}

TEST_F(RegexSearchTest, SecondExpressionIsTestedOnTheContextLine) {
    write("t.txt", "the cat eats fish\nthe cat eats meat\na dog eats fish\nfish for the cat\n");
    search({"cat"}, {"fish|bone"});
    EXPECT_EQ(numbers(), (std::vector<long>{1, 4}));  // before keyword 1 too: the whole line

    option("Method", "1");  // NOT
    search({"cat"}, {"fish|bone"});
    EXPECT_EQ(numbers(), std::vector<long>{2});

    option("Method", "2");  // OR: one more alternative of keyword 1
    search({"cat"}, {"dog"});
    EXPECT_EQ(numbers(), (std::vector<long>{1, 2, 3, 4}));
}

TEST_F(RegexSearchTest, IgnoreCaseMatchesEitherCaseAndKeepsClasses) {
    write("t.txt", "THE END\nThe,\nthemes\n");
    option("IgnoreCase", "1");
    search({"the\\W"});  // L = 32
    EXPECT_EQ(numbers(), (std::vector<long>{1, 2}));
    // The printed line keeps the case of the text.
    EXPECT_EQ(texts()[0].substr(31), "THE END/");
}

TEST_F(RegexSearchTest, WordGroupsBecomeAlternatives) {
    writeGroupWords(profile, "pets", {"cat", "d.g"});
    write("t.txt", "a dig\na cat\nnothing\n");
    search({"pets", true});
    EXPECT_EQ(numbers(), (std::vector<long>{1, 2}));
    // L from the group's name: (69 - 4 - 1) / 2 + 1 = 33.
    EXPECT_EQ(texts()[0].substr(32, 3), "dig");
}

TEST_F(RegexSearchTest, PatternThatDoesNotCompileAbandonsTheSearchBeforeAnyFile) {
    write("t.txt", "a cat\n");
    SearchOutcome outcome = search({"(cat"});
    EXPECT_EQ(alerts(), (Lines{"beep", "message OK: Compile Error(;_;)1"}));
    EXPECT_EQ(outcome.filesOpened, 0);
    EXPECT_TRUE(outcome.failed());
    EXPECT_TRUE(lines().empty());
    EXPECT_FALSE(state->busy);
    EXPECT_FALSE(flags.running);
    EXPECT_EQ(state->resultState, 0);

    search({"cat"}, {"[fish"});
    EXPECT_EQ(alerts(), (Lines{"beep", "message OK: Compile Error(;_;)2"}));
    EXPECT_TRUE(lines().empty());

    // An empty group has no pattern to compile.
    search({"cat"}, {"no such group", true});
    EXPECT_EQ(alerts(), (Lines{"beep", "message OK: Compile Error(;_;)2"}));
}

TEST_F(RegexSearchTest, EngineThatCannotOpenRecordsAbandonsTheSearch) {
    write("t.txt", "a cat\n");
    setenv("PYXO_JRE", FAKE_JRE, 1);
    setenv("FAKE_JRE_OPENS", "0", 1);
    search({"cat"});
    EXPECT_EQ(alerts(), (Lines{"beep", "message OK: Initializing Error(;_;)1"}));

    setenv("FAKE_JRE_OPENS", "1", 1);
    search({"cat"}, {"a"});
    EXPECT_EQ(alerts(), (Lines{"beep", "message OK: Initializing Error(;_;)2"}));
    EXPECT_TRUE(lines().empty());

    // With one record enough, the stand-in engine searches.
    search({"cat"});
    EXPECT_EQ(numbers(), std::vector<long>{1});
}

TEST_F(RegexSearchTest, WithoutTheEngineTheKeywordsAreSearchedAsWords) {
    write("t.txt", "abc\na.c\n");
    testing::writeFileBytes(dir.file("broken.so"), "not a library");
    for (const std::string& engine : {dir.file("missing.so"), dir.file("broken.so")}) {
        setenv("PYXO_JRE", engine.c_str(), 1);
        SearchOutcome outcome = search({"a.c"});
        EXPECT_EQ(outcome.total, 1) << engine;
        // A window search: the previous line stands in the context.
        EXPECT_EQ(texts(), Lines{std::string(28, ' ') + "abc/a.c/"}) << engine;
        EXPECT_EQ(alerts(), Lines{"beep"}) << engine;  // the end of the run, nothing else
    }
}

TEST_F(RegexSearchTest, RunawayPatternEndsEachLineAndTheSearchStaysCancellable) {
    std::string text;
    for (int i = 0; i < 3; ++i) text += std::string(4000, 'a') + "!\n";
    write("t.txt", text + "aaab\n");
    auto begin = std::chrono::steady_clock::now();
    search({"(a+)+b"});
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(10));
    EXPECT_EQ(numbers(), std::vector<long>{4});

    std::string many;
    for (int i = 0; i < 1000; ++i) many += std::string(4000, 'a') + "!\n";
    write("t.txt", many);
    m_quitAt = 3;
    begin = std::chrono::steady_clock::now();
    SearchOutcome outcome = search({"(a+)+b"});
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(10));
}

TEST_F(RegexSearchTest, BinaryLookingFileIsAbandoned) {
    std::string binary = "cat\n";
    for (int i = 0; i < 12; ++i) binary += std::string("x\0\n", 3);
    write("t.txt", binary + "cat\n");
    option("Count", "1");
    search({"cat"});
    EXPECT_EQ(texts(), (Lines{std::string(32, ' ') + "cat/", "Total : 1"}));
}

TEST_F(RegexSearchTest, LiteralPatternOverRealTextGivesWhatThePlainLineSearchGives) {
    const std::string english =
        testing::readFileBytes(std::string(VELLMORA_TEST_DATA) + "/reader/devil-part.txt");
    const std::string japanese =
        testing::readFileBytes(std::string(VELLMORA_TEST_DATA) + "/reader/reference-sjis.txt");
    const std::string package = "\x83\x70\x83\x62\x83\x50\x81\x5b\x83\x57";  // パッケージ
    for (const auto& [text, word] :
         {std::pair{english, std::string("the")}, std::pair{japanese, package}}) {
        write("t.txt", text);
        option("bGrep", "1");
        option("bOneLine", "0");
        search({word});
        const Lines expressionLines = lines();
        option("bGrep", "0");
        option("bOneLine", "1");
        search({word});
        EXPECT_GT(expressionLines.size(), 10u);
        EXPECT_EQ(expressionLines, lines());
    }
}

}  // namespace
}  // namespace vellmora
