#include "results/extract_command.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <string>
#include <vector>

#include "document/result_document.h"
#include "engine/search_run.h"
#include "platform/recording_user_interface.h"
#include "settings/histories.h"
#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Lines = std::vector<std::string>;

constexpr int kColumn = 20;

std::string hitLine(const std::string& left, const std::string& right, long number = 1) {
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "%7ld | ", number);
    return prefix + std::string(kColumn - 1 - left.size(), ' ') + left + "cat" + right + "\r\n";
}

const Lines kSearchResult = {
    "-----[ a.txt ]-----\r\n",       hitLine("the black ", " sat on the mat"),
    hitLine("a white ", " ran off"), "-----[ b.txt ]-----\r\n",
    hitLine("my black ", " slept"),  "Total : 3\r\n",
};

Lines linesOf(const CExStringList& list) { return Lines(list.begin(), list.end()); }

class ExtractionCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const std::string& line : kSearchResult)
            document.list(ResultKind::Original).addTail(line);
    }

    ExtractionView view(ResultKind source) {
        return {document, state, flags, document.list(source), {kColumn, 3}};
    }
    ExtractionOutcome range(const std::string& keyword, ResultKind source = ResultKind::Original,
                            ExtractionOptions options = ExtractionOptions{}, bool regExp = false) {
        RangeExtractionRequest request{options, regExp, {keyword, false}};
        return runRangeExtraction(request, view(source), profile, histories, ui);
    }
    Lines extracted() const { return linesOf(document.list(ResultKind::Extracted)); }

    testing::TempDir dir;
    Profile profile{dir.file("pyxo.ini")};
    RecordingUserInterface ui;
    Histories histories;
    CPyxoDoc document{"result"};
    SearchState state;
    ApplicationSearchFlags flags;
};

TEST_F(ExtractionCommandTest, RangeExtractionFillsAndShowsTheExtractedResult) {
    ExtractionOptions before;
    before.reMae = true;
    ExtractionOutcome outcome = range("black", ResultKind::Original, before);
    EXPECT_EQ(outcome.status, ExtractionStatus::Done);
    EXPECT_EQ(outcome.kept, 2);
    EXPECT_EQ(extracted(),
              (Lines{kSearchResult[0], kSearchResult[1], kSearchResult[3], kSearchResult[4]}));
    EXPECT_EQ(document.displayedKind(), ResultKind::Extracted);
    EXPECT_EQ(document.snapshot().history[0], 1);
    EXPECT_EQ(linesOf(document.list(ResultKind::Original)), kSearchResult);
    EXPECT_FALSE(state.busy);
    const std::string id = std::to_string(document.id());
    EXPECT_EQ(ui.transcript(), (Lines{"title " + id + ": Searching...", "wait on", "restore " + id,
                                      "wait off", "refresh " + id}));
    // The keyword is the newest extraction keyword and the last one stored.
    EXPECT_EQ(CExStringList::at(histories.list(HistoryKind::ExtractionWord).headPosition()),
              "black");
    EXPECT_EQ(Profile(profile.path()).readString("Setting", "ExtractionWord", ""), "black");
}

TEST_F(ExtractionCommandTest, ExtractedResultNarrowsFurther) {
    range("ran");
    ExtractionOptions before;
    before.reMae = true;
    EXPECT_EQ(range("black", ResultKind::Original, before).kept, 2);
    EXPECT_EQ(range("mat", ResultKind::Extracted).kept, 1);
    EXPECT_EQ(extracted(), (Lines{kSearchResult[0], kSearchResult[1], kSearchResult[3]}));
    EXPECT_EQ(document.snapshot().history[0], 1);
    EXPECT_EQ(document.snapshot().history[1], 1);
    EXPECT_EQ(linesOf(document.list(ResultKind::Original)), kSearchResult);
}

TEST_F(ExtractionCommandTest, BusyRefusesAndChangesNothing) {
    document.list(ResultKind::Extracted).addTail("earlier\r\n");
    flags.running = true;
    EXPECT_EQ(range("mat").status, ExtractionStatus::Busy);
    flags.running = false;
    state.busy = true;
    EXPECT_EQ(range("mat").status, ExtractionStatus::Busy);
    EXPECT_EQ(ui.messages(), (Lines{"I'm busy now. Please wait for a minutes.m(__)m",
                                    "I'm busy now. Please wait for a minutes.m(__)m"}));
    EXPECT_EQ(extracted(), Lines{"earlier\r\n"});
    EXPECT_EQ(document.displayedKind(), ResultKind::Original);
    EXPECT_TRUE(histories.list(HistoryKind::ExtractionWord).isEmpty());
}

TEST_F(ExtractionCommandTest, CancelKeepsThePreviousResult) {
    range("mat");
    ui.cancelAtPump(2);
    EXPECT_EQ(range("ran").status, ExtractionStatus::Cancelled);
    EXPECT_EQ(extracted(), (Lines{kSearchResult[0], kSearchResult[1], kSearchResult[3]}));
    EXPECT_FALSE(state.busy);
    EXPECT_FALSE(ui.cancelRequested());
}

TEST_F(ExtractionCommandTest, BadPatternShowsItsMessageAndKeepsTheResult) {
    setenv("PYXO_JRE", JRE, 1);
    range("mat");
    ui.clear();
    const ExtractionOutcome outcome = range("m(at", ResultKind::Original, {}, true);
    EXPECT_EQ(outcome.status, ExtractionStatus::EngineFailed);
    EXPECT_EQ(ui.messages(), Lines{"Compilation Error(;_;)1"});
    EXPECT_EQ(extracted(), (Lines{kSearchResult[0], kSearchResult[1], kSearchResult[3]}));
    EXPECT_FALSE(state.busy);
    // A good pattern runs on the engine.
    EXPECT_EQ(range("r.n", ResultKind::Original, {}, true).kept, 1);

    PositionExtractionRequest request;
    request.regExp = true;
    request.keyword = {"s(at", false};
    request.positions.set(1, true);
    ui.clear();
    EXPECT_EQ(
        runPositionExtraction(request, view(ResultKind::Original), profile, histories, ui).status,
        ExtractionStatus::EngineFailed);
    EXPECT_EQ(ui.messages(), Lines{"Compilation Failure(;_;)1"});
    unsetenv("PYXO_JRE");
}

TEST_F(ExtractionCommandTest, WithoutTheEngineThePatternIsAWord) {
    setenv("PYXO_JRE", (dir.path() + "/no-such-engine.so").c_str(), 1);
    EXPECT_EQ(range("r.n", ResultKind::Original, {}, true).kept, 0);
    EXPECT_EQ(range("ran", ResultKind::Original, {}, true).kept, 1);
    EXPECT_TRUE(ui.messages().empty());
    unsetenv("PYXO_JRE");
}

TEST_F(ExtractionCommandTest, PositionExtraction) {
    PositionExtractionRequest request;
    request.keyword = {"black", false};
    request.positions.set(-1, true);
    ExtractionOptions matchedOnly;
    matchedOnly.sep = false;
    matchedOnly.sepMatched = true;
    request.options = matchedOnly;
    ExtractionOutcome outcome =
        runPositionExtraction(request, view(ResultKind::Original), profile, histories, ui);
    EXPECT_EQ(outcome.status, ExtractionStatus::Done);
    EXPECT_EQ(extracted(),
              (Lines{kSearchResult[0], kSearchResult[1], kSearchResult[3], kSearchResult[4]}));
    EXPECT_EQ(document.displayedKind(), ResultKind::Extracted);
    const std::string id = std::to_string(document.id());
    EXPECT_EQ(ui.transcript(), (Lines{"title " + id + ": <<Now Extracting...>>", "restore " + id,
                                      "beep", "refresh " + id}));
    Profile stored(profile.path());
    EXPECT_EQ(stored.readString("ExtractionOption", "Word", ""), "1");
    EXPECT_EQ(stored.readString("ExtractionOption", "Group", ""), "0");

    // NOT from the extracted result: the lines without "my" two words before the keyword.
    request.options.notSearch = true;
    request.options.andSearch = false;
    request.keyword = {"my", false};
    request.positions = WordPositions{};
    request.positions.set(-2, true);
    outcome = runPositionExtraction(request, view(ResultKind::Extracted), profile, histories, ui);
    EXPECT_EQ(extracted(), (Lines{kSearchResult[0], kSearchResult[1]}));
}

TEST_F(ExtractionCommandTest, ManyFilesKeepTheirCountsAndCaseIsIgnoredBothWays) {
    CExStringList& original = document.list(ResultKind::Original);
    original.removeAll();
    for (long i = 0; i < 10000; ++i) {
        if (i % 1000 == 0) original.addTail("-----[ file" + std::to_string(i) + ".txt ]-----\r\n");
        original.addTail(hitLine(i % 3 == 0 ? "the black " : "a white ", " sat on the mat", i));
    }
    ExtractionOptions before;
    before.reMae = true;
    before.ignoreCase = true;
    ExtractionOutcome outcome = range("BLACK", ResultKind::Original, before);
    EXPECT_EQ(outcome.kept, 3334);

    PositionExtractionRequest request;
    request.keyword = {"black", false};
    request.positions.set(-1, true);
    request.positions.set(2, true);
    outcome = runPositionExtraction(request, view(ResultKind::Original), profile, histories, ui);
    EXPECT_EQ(outcome.kept, 3334);
}

}  // namespace
}  // namespace vellmora
