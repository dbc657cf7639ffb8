#include "engine/kwoc_search.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "document/result_document.h"
#include "engine/search_options.h"
#include "platform/recording_user_interface.h"
#include "settings/profile.h"
#include "settings/word_groups.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Lines = std::vector<std::string>;
using testing::writeFileBytes;

const std::string kNichi = "\x93\xfa", kHon = "\x96\x7b";  // 日 本
const std::string kNeko = "\x94\x4c";                      // 猫

/// A hit line in the default format: the line number in seven columns, " | ", the text.
std::string numbered(long number, const std::string& text) {
    std::string digits = std::to_string(number);
    return std::string(7 - digits.size(), ' ') + digits + " | " + text;
}

/// Records, and quits the search at the n-th message pump of its line loop (the pumps while
/// the corpus is collected come before the busy title and do not count).
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

class KwocSearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("PYXO_INI", profile.path().c_str(), 1);
        std::filesystem::create_directory(corpus());
    }
    void TearDown() override { unsetenv("PYXO_INI"); }

    std::string corpus() const { return dir.file("corpus"); }
    std::string path(const std::string& name) const { return corpus() + "/" + name; }
    void write(const std::string& name, std::string_view content) {
        writeFileBytes(path(name), content);
    }
    void option(std::string_view key, std::string_view value) {
        profile.writeString("Options", key, value);
    }
    void kwocOption(std::string_view key, std::string_view value) {
        profile.writeString("KWOCOptions", key, value);
    }
    void context(int before, int after) {
        kwocOption("ContextMae", std::to_string(before));
        kwocOption("ContextAto", std::to_string(after));
    }
    /// NOT, OR or AND as the search dialog stores it.
    void method(int value) { option("Method", std::to_string(value)); }

    void freshWindow() {
        document = std::make_unique<CPyxoDoc>("Result1");
        state = std::make_unique<SearchState>();
        ui = std::make_unique<QuittingUserInterface>();
    }

    SearchOutcome search(const std::string& keyword1, const std::string& fileName,
                         const std::string& keyword2 = "", bool group2 = false) {
        profile.flush();
        SearchOptions options = readSearchOptions(profile);
        options.prefilter = prefilter;
        KwocOptions kwoc = readKwocOptions(profile);
        SearchRequest request;
        request.keyword1 = {keyword1, false};
        request.keyword2 = {keyword2, group2};
        request.fileName = fileName;
        request.directory = corpus() + "/";
        KwocSearchRun run(options, kwoc, profile, *ui, *document, *state);
        return run.run(request);
    }

    Lines lines() const {
        Lines out;
        for (const std::string& line : document->list(ResultKind::Original)) {
            EXPECT_EQ(line.substr(line.size() < 2 ? 0 : line.size() - 2), "\r\n") << line;
            out.push_back(line.substr(0, line.size() - 2));
        }
        return out;
    }
    /// The matched lines' texts alone: separators and context left out (no context asked).
    Lines matchedTexts() const {
        Lines out;
        for (const std::string& line : lines())
            if (line.rfind("-----[", 0) != 0) out.push_back(line.substr(10));
        return out;
    }
    std::string separator(const std::string& name) const {
        return "-----[ " + path(name) + " ]-----";
    }

    bool prefilter = true;  // the reader may pass over lines without the keyword
    testing::TempDir dir;
    Profile profile{dir.file("pyxo.ini")};
    std::unique_ptr<CPyxoDoc> document = std::make_unique<CPyxoDoc>("Result1");
    std::unique_ptr<SearchState> state = std::make_unique<SearchState>();
    std::unique_ptr<QuittingUserInterface> ui = std::make_unique<QuittingUserInterface>();
};

TEST_F(KwocSearchTest, LinesBeforeStopAtTheStartOfTheFile) {
    write("a.txt", "cat first\nsecond cat\nthird\n");
    context(2, 0);
    search("cat", "a.txt");
    EXPECT_EQ(lines(), (Lines{separator("a.txt"), numbered(1, "cat first/"), separator("a.txt"),
                              numbered(1, "cat first/"), numbered(2, "second cat/")}));
}

TEST_F(KwocSearchTest, LinesAfterTheLastLineAreEmptyButNumbered) {
    write("a.txt", "first\nlast cat\n");
    context(0, 3);
    search("cat", "a.txt");
    EXPECT_EQ(lines(), (Lines{separator("a.txt"), numbered(2, "last cat/"), numbered(3, ""),
                              numbered(4, ""), numbered(5, "")}));
}

TEST_F(KwocSearchTest, NeighbouringMatchesWriteTheirContextBlocksIndependently) {
    write("a.txt", "cat one\ncat two\nthree\n");
    context(0, 1);
    search("cat", "a.txt");
    EXPECT_EQ(lines(), (Lines{separator("a.txt"), numbered(1, "cat one/"), numbered(2, "cat two/"),
                              separator("a.txt"), numbered(2, "cat two/"), numbered(3, "three/")}));
}

TEST_F(KwocSearchTest, FullContextDeepInALongFileKeepsTextAndNumbersTogether) {
    std::string text;
    for (int i = 1; i <= 30; ++i) text += (i == 20 ? "cat " : "line ") + std::to_string(i) + "\n";
    write("long.txt", text);
    context(5, 5);
    option("NoSeparator", "1");
    search("cat", "long.txt");
    Lines expected;
    for (int i = 15; i <= 25; ++i)
        expected.push_back(numbered(i, (i == 20 ? "cat " : "line ") + std::to_string(i) + "/"));
    EXPECT_EQ(lines(), expected);
}

TEST_F(KwocSearchTest, ContextNeverReachesIntoThePreviousFile) {
    write("a.txt", "one\ntwo\nthree\n");
    write("b.txt", "cat at the top\n");
    context(5, 0);
    option("NoSeparator", "1");
    search("cat", "a.txt;b.txt");
    EXPECT_EQ(lines(), (Lines{numbered(1, "cat at the top/")}));
}

TEST_F(KwocSearchTest, CombinationsOfKeyword2) {
    write("a.txt", "cat and dog\ncat alone\ndog alone\nbird\ndog then cat\n");
    option("NoSeparator", "1");

    search("cat", "a.txt", "dog");  // AND, in any order
    EXPECT_EQ(matchedTexts(), (Lines{"cat and dog/", "dog then cat/"}));

    freshWindow();
    method(1);  // NOT
    search("cat", "a.txt", "dog");
    EXPECT_EQ(matchedTexts(), (Lines{"cat alone/"}));

    freshWindow();
    method(2);  // OR: keyword 2 alone is enough
    search("cat", "a.txt", "dog");
    EXPECT_EQ(matchedTexts(), (Lines{"cat and dog/", "cat alone/", "dog alone/", "dog then cat/"}));
}

TEST_F(KwocSearchTest, OrderSensitiveSearchLooksForKeyword2FromKeyword1Onward) {
    write("a.txt", "dog then cat\ncat then dog\n");
    option("NoSeparator", "1");
    kwocOption("KWOrder", "1");
    search("cat", "a.txt", "dog");
    EXPECT_EQ(matchedTexts(), (Lines{"cat then dog/"}));

    freshWindow();
    method(1);  // NOT: keyword 2 before keyword 1 does not count against the line
    search("cat", "a.txt", "dog");
    EXPECT_EQ(matchedTexts(), (Lines{"dog then cat/"}));
}

TEST_F(KwocSearchTest, AnOccurrenceInsideAWordDoesNotHideALaterOneThatStandsFree) {
    write("a.txt", "catalog and cat\ncatalog only\nbobcat dogma dog\nbobcat dogma\n");
    option("NoSeparator", "1");
    option("KW1Both", "1");
    search("cat", "a.txt");
    EXPECT_EQ(matchedTexts(), (Lines{"catalog and cat/"}));

    freshWindow();
    option("KW1Both", "0");
    option("KW2Both", "1");
    search("cat", "a.txt", "dog");
    EXPECT_EQ(matchedTexts(), (Lines{"bobcat dogma dog/"}));
}

TEST_F(KwocSearchTest, ShiftJisKeywordsAreMatchedWholeCharactersOnly) {
    // 0x93 0x96 then "{": the bytes of 本 (0x96 0x7B) straddle two characters there.
    write("ja.txt", "\x93\x96{\n" + kHon + "\n" + kNeko + "\x93\x96{\n" + kNeko + kHon + "\n");
    option("NoSeparator", "1");
    search(kHon, "ja.txt");
    EXPECT_EQ(matchedTexts(), (Lines{kHon + "/", kNeko + kHon + "/"}));

    freshWindow();
    search(kNeko, "ja.txt", kHon);
    EXPECT_EQ(matchedTexts(), (Lines{kNeko + kHon + "/"}));
}

TEST_F(KwocSearchTest, AKeywordRunningOnIntoTheNextLineShowsThatLine) {
    write("ja.txt", "first " + kNichi + "\n" + kHon + " second\nthird\n");
    option("NoSeparator", "1");
    option("NoCrlf", "1");
    search(kNichi + kHon, "ja.txt");
    EXPECT_EQ(lines(), (Lines{numbered(1, "first " + kNichi), numbered(2, kHon + " second")}));

    // A phrase continues over the "/" line end; with five lines after there is no extra one.
    freshWindow();
    option("NoCrlf", "0");
    write("en.txt", "in New\nYork\n");
    context(0, 5);
    search("New York", "en.txt");
    EXPECT_EQ(lines().size(), 6u);
    EXPECT_EQ(lines()[1], numbered(2, "York/"));

    // Keyword 2 runs on likewise, and brings the next line along.
    freshWindow();
    context(0, 0);
    write("en.txt", "cat in New\nYork\nNew\n");
    search("cat", "en.txt", "New York");
    EXPECT_EQ(lines(), (Lines{numbered(1, "cat in New/"), numbered(2, "York/")}));
}

TEST_F(KwocSearchTest, Keyword2AsAGroupRefusesALineHoldingAnyOfItsWords) {
    writeGroupWords(profile, "Pets", {"dog", "bird"});
    write("a.txt", "cat and dog\ncat and bird\ncat alone\n");
    option("NoSeparator", "1");
    method(1);
    search("cat", "a.txt", "Pets", true);
    EXPECT_EQ(matchedTexts(), (Lines{"cat alone/"}));

    freshWindow();
    method(0);
    search("cat", "a.txt", "Pets", true);
    EXPECT_EQ(matchedTexts(), (Lines{"cat and dog/", "cat and bird/"}));
}

TEST_F(KwocSearchTest, KeywordsAreMatchedWithoutCaseWhenAsked) {
    write("a.txt", "The Cat\nthe dog\n");
    option("NoSeparator", "1");
    option("IgnoreCase", "1");
    search("CAT", "a.txt", "THE");
    EXPECT_EQ(matchedTexts(), (Lines{"The Cat/"}));
}

TEST_F(KwocSearchTest, SeparatorOncePerFileOnlyWithoutContextLines) {
    write("a.txt", "cat\nx\ncat\n");
    write("b.txt", "nothing here\n");
    kwocOption("SepMatched", "1");
    search("cat", "a.txt;b.txt");
    EXPECT_EQ(lines(), (Lines{separator("a.txt"), numbered(1, "cat/"), numbered(3, "cat/")}));

    freshWindow();
    context(0, 1);
    search("cat", "a.txt;b.txt");
    EXPECT_EQ(lines(), (Lines{separator("a.txt"), numbered(1, "cat/"), numbered(2, "x/"),
                              separator("a.txt"), numbered(3, "cat/"), numbered(4, "")}));

    freshWindow();
    option("NoSeparator", "1");
    context(0, 0);
    search("cat", "a.txt;b.txt");
    EXPECT_EQ(lines(), (Lines{numbered(1, "cat/"), numbered(3, "cat/")}));
}

TEST_F(KwocSearchTest, CountsMatchedLinesNotOccurrences) {
    write("a.txt", "cat cat cat\nx\ncat\n");
    write("b.txt", "dog\n");
    option("Count", "1");
    option("NoSeparator", "1");
    SearchOutcome outcome = search("cat", "a.txt;b.txt");
    EXPECT_EQ(outcome.total, 2);
    EXPECT_EQ(lines(), (Lines{numbered(1, "cat cat cat/"), numbered(3, "cat/"),
                              path("a.txt") + " : 2", path("b.txt") + " : 0", "Total : 2"}));
}

TEST_F(KwocSearchTest, ResultKindIsKwocAndNothingFoundLeavesTheViewEmpty) {
    write("a.txt", "cat\n");
    search("cat", "a.txt");
    EXPECT_EQ(state->resultState, 1);
    EXPECT_EQ(state->resultKind, kKwocResultKind);
    EXPECT_FALSE(state->busy);
    EXPECT_FALSE(searchAllowedInView(*state, kKwocResultKind));

    // "Prepare to add result": more KWOC results may follow, no KWIC ones.
    state->resultState = 0;
    EXPECT_TRUE(searchAllowedInView(*state, kKwocResultKind));
    EXPECT_FALSE(searchAllowedInView(*state, kKwicResultKind));
    state->resultKind = kKwicResultKind;
    EXPECT_FALSE(searchAllowedInView(*state, kKwocResultKind));
    EXPECT_TRUE(searchAllowedInView(*state, kKwicResultKind));

    freshWindow();
    SearchOutcome outcome = search("zebra", "a.txt");
    EXPECT_TRUE(outcome.failed());
    EXPECT_EQ(state->resultKind, 0);
    EXPECT_EQ(state->resultState, 0);
    EXPECT_EQ(ui->messages(), (Lines{"Failed to find...(--;)"}));
    EXPECT_TRUE(searchAllowedInView(*state, kKwicResultKind));
}

TEST_F(KwocSearchTest, HandEditedContextCountsAreKeptWithinTheWindow) {
    write("a.txt", "1\n2\n3\n4\n5\n6\n7 cat\n8\n9\n10\n11\n12\n13\n14\n");
    kwocOption("ContextMae", "9");
    kwocOption("ContextAto", "-3");
    option("NoSeparator", "1");
    search("cat", "a.txt");
    EXPECT_EQ(lines(), (Lines{numbered(2, "2/"), numbered(3, "3/"), numbered(4, "4/"),
                              numbered(5, "5/"), numbered(6, "6/"), numbered(7, "7 cat/")}));
}

TEST_F(KwocSearchTest, QuitSearchEndsTheRunWithinALineAndStillCounts) {
    std::string text;
    for (int i = 0; i < 20; ++i) text += "cat\n";
    write("a.txt", text);
    write("b.txt", "cat\n");
    option("Count", "1");
    option("NoSeparator", "1");
    ui->quitAtLoopPump(8);  // before the eighth line counts: lines 1 and 2 were searched
    SearchOutcome outcome = search("cat", "a.txt;b.txt");
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(outcome.total, 2);
    EXPECT_EQ(lines(), (Lines{numbered(1, "cat/"), numbered(2, "cat/"), "Total : 2"}));
    EXPECT_TRUE(ui->messages().empty());
    EXPECT_FALSE(state->busy);
}

TEST_F(KwocSearchTest, LineLimitEndsTheRunButTheMatchStillCounts) {
    write("a.txt", "cat\ncat\ncat\ncat\n");
    option("MaxLine", "3");
    SearchOutcome outcome = search("cat", "a.txt");
    EXPECT_TRUE(outcome.limitReached);
    EXPECT_EQ(outcome.total, 2);
    EXPECT_EQ(lines(), (Lines{separator("a.txt"), numbered(1, "cat/"), separator("a.txt")}));
}

/// The same searches with regular expressions: the engine is the one built beside the tests.
class KwocExpressionTest : public KwocSearchTest {
protected:
    void SetUp() override {
        KwocSearchTest::SetUp();
        setenv("PYXO_JRE", JRE, 1);
        option("bGrep", "1");
    }
    void TearDown() override {
        unsetenv("PYXO_JRE");
        KwocSearchTest::TearDown();
    }
};

TEST_F(KwocExpressionTest, CombinationsOfExpression2) {
    write("a.txt", "cats and dogs\ncat alone\nonly dog\nnothing\n");
    search("cats?", "a.txt", "dogs?");
    EXPECT_EQ(matchedTexts(), (Lines{"cats and dogs/"}));
    freshWindow();
    method(1);
    search("cats?", "a.txt", "dogs?");
    EXPECT_EQ(matchedTexts(), (Lines{"cat alone/"}));
    freshWindow();
    method(2);  // one alternation: a line with only keyword 2 matches
    search("cats?", "a.txt", "dogs?");
    EXPECT_EQ(matchedTexts(), (Lines{"cats and dogs/", "cat alone/", "only dog/"}));
}

TEST_F(KwocExpressionTest, OrderSensitiveLooksForExpression2AfterExpression1) {
    write("a.txt", "dog then cat\ncat then dog\n");
    kwocOption("KWOrder", "1");
    search("c.t", "a.txt", "d.g");
    EXPECT_EQ(matchedTexts(), (Lines{"cat then dog/"}));
}

TEST_F(KwocExpressionTest, AKanjiClassMatchesWholeCharactersWithContext) {
    // 0x93 0xfa is 日; its trail byte followed by 0x96 must not pair up as another character.
    write("a.txt", "before\nx" + kNichi + kHon + "y\nafter\n");
    context(1, 1);
    search("[" + kNichi + "][" + kHon + "]", "a.txt");
    EXPECT_EQ(lines(), (Lines{separator("a.txt"), numbered(1, "before/"),
                              numbered(2, "x" + kNichi + kHon + "y/"), numbered(3, "after/")}));
}

TEST_F(KwocExpressionTest, ExpressionFailuresHaveTheKwocWording) {
    write("a.txt", "cat and dog\n");
    search("ca(t", "a.txt");
    search("cat", "a.txt", "d(og");
    EXPECT_EQ(ui->messages(), (Lines{"Compilation Failure(;_;)1", "Compilation Failure(;_;)2"}));
    EXPECT_EQ(document->list(ResultKind::Original).count(), 0);
    EXPECT_FALSE(state->busy);
    EXPECT_EQ(state->resultKind, 0);
}

TEST_F(KwocExpressionTest, WithoutTheEngineTheKeywordsAreWords) {
    setenv("PYXO_JRE", dir.file("missing.so").c_str(), 1);
    write("a.txt", "a c.t here\ncat\n");
    search("c.t", "a.txt");
    EXPECT_EQ(matchedTexts(), (Lines{"a c.t here/"}));
}

TEST_F(KwocSearchTest, PassingOverLinesWithoutTheKeywordKeepsContextAndNumbers) {
    // Long stretches without the keyword are skipped by the reader; what is written must be
    // what a line-by-line reading writes.
    std::string text;
    for (int i = 1; i <= 3000; ++i)
        text += (i % 997 == 0 ? "the cat " : "filler ") + std::to_string(i) + "\n";
    write("a.txt", text);
    context(2, 2);
    prefilter = false;
    search("cat", "a.txt");
    const Lines unfiltered = lines();
    freshWindow();
    prefilter = true;
    search("cat", "a.txt");
    EXPECT_EQ(lines(), unfiltered);
    ASSERT_EQ(unfiltered.size(), 3u * 6);  // a separator, two lines, the match, two lines
    EXPECT_EQ(unfiltered[1], numbered(995, "filler 995/"));
}

}  // namespace
}  // namespace vellmora
