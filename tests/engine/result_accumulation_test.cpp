#include "engine/result_accumulation.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "document/result_document.h"
#include "engine/search_options.h"
#include "platform/recording_user_interface.h"
#include "settings/histories.h"
#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Strings = std::vector<std::string>;

class ResultAccumulationTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("PYXO_INI", profile.path().c_str(), 1);
        std::filesystem::create_directory(dir.file("corpus"));
    }
    void TearDown() override { unsetenv("PYXO_INI"); }

    std::string write(const std::string& name, std::string_view content) {
        testing::writeFileBytes(dir.file("corpus/" + name), content);
        return dir.file("corpus/" + name);
    }
    /// A range search in the view, kept to the accumulation rules.
    SearchOutcome search(const std::string& keyword, const std::string& fileName) {
        profile.flush();
        SearchOptions options = readSearchOptions(profile);
        SearchRequest request;
        request.keyword1 = {keyword};
        request.fileName = fileName;
        request.directory = dir.file("corpus") + "/";
        return runKeepingRetainedKind(state, [&] {
            KwicSearchRun run(options, profile, ui, document, state);
            return run.run(request);
        });
    }
    Strings lines() const {
        Strings out;
        for (const std::string& line : document.list(ResultKind::Original))
            out.push_back(line.substr(0, line.size() - 2));
        return out;
    }

    testing::TempDir dir;
    Profile profile{dir.file("pyxo.ini")};
    RecordingUserInterface ui;
    CPyxoDoc document{"Result1"};
    SearchState state;
    ApplicationSearchFlags flags;
};

TEST_F(ResultAccumulationTest, PreparedViewAppendsTheNextRun) {
    write("a.txt", "a cat\n");
    write("b.txt", "one dog\ntwo dogs\n");
    profile.writeString("Options", "Count", "1");
    search("cat", "a.txt");
    EXPECT_FALSE(kwicSearchEnabled(state));
    ASSERT_TRUE(prepareToAddResult(state, ui, profile));
    EXPECT_TRUE(kwicSearchEnabled(state));
    EXPECT_FALSE(kwocSearchEnabled(state));
    search("dog", "b.txt");

    Strings all = lines();
    ASSERT_EQ(all.size(), 9u);
    EXPECT_EQ(all[0], "-----[ " + dir.file("corpus/a.txt") + " ]-----");
    EXPECT_EQ(all[3], "Total : 1");
    EXPECT_EQ(all[4], "-----[ " + dir.file("corpus/b.txt") + " ]-----");
    EXPECT_EQ(all[8], "Total : 2");
    EXPECT_EQ(state.resultState, 1);
    EXPECT_EQ(state.resultKind, 1);
}

TEST_F(ResultAccumulationTest, AppendingRunThatFindsNothingKeepsTheKindOfTheEarlierLines) {
    write("a.txt", "a cat\n");
    search("cat", "a.txt");
    prepareToAddResult(state, ui, profile);
    search("horse", "a.txt");
    EXPECT_EQ(state.resultState, 0);
    EXPECT_EQ(state.resultKind, 1);  // the cat line is still KWIC: no KWOC may join it
    EXPECT_FALSE(kwocSearchEnabled(state));
}

TEST_F(ResultAccumulationTest, ResultStateTwoRefusesBothCommands) {
    state.resultState = 2;
    EXPECT_FALSE(prepareToAddResult(state, ui, profile));
    EXPECT_FALSE(clearResult(flags, state, document, ui, profile));
    EXPECT_EQ(ui.messages(),
              (Strings{"You cannot add more...", "Sorry, you cannot continue ... X-<"}));
    EXPECT_EQ(ui.beeps(), 2);
    EXPECT_EQ(state.resultState, 2);
    profile.writeString("Options", "Beep", "1");
    ui.clear();
    prepareToAddResult(state, ui, profile);
    EXPECT_EQ(ui.beeps(), 0);
}

TEST_F(ResultAccumulationTest, ClearIsRefusedWhileAnyRunGoesOn) {
    write("a.txt", "a cat\n");
    search("cat", "a.txt");
    flags.running = true;  // a run in another view
    EXPECT_FALSE(clearResult(flags, state, document, ui, profile));
    flags.running = false;
    state.busy = true;
    EXPECT_FALSE(clearResult(flags, state, document, ui, profile));
    EXPECT_EQ(ui.messages(),
              (Strings{"I'm busy now. Please wait...", "I'm busy now. Please wait..."}));
    EXPECT_EQ(lines().size(), 2u);
    EXPECT_EQ(state.resultState, 1);
}

TEST_F(ResultAccumulationTest, ClearEmptiesEveryListAndResetsTheView) {
    write("a.txt", "a cat\n");
    search("cat", "a.txt");
    document.addSortedLine("sorted\r\n");
    document.selectKind(ResultKind::Sorted);
    document.snapshot().history[0] = 2;
    ui.clear();
    ASSERT_TRUE(clearResult(flags, state, document, ui, profile));
    for (int kind = 0; kind < kResultKinds; ++kind)
        EXPECT_EQ(document.list(static_cast<ResultKind>(kind)).count(), 0);
    EXPECT_EQ(document.displayedKind(), ResultKind::Original);
    EXPECT_EQ(document.snapshot().history[0], 0);
    EXPECT_EQ(state.resultState, 0);
    EXPECT_EQ(state.resultKind, 0);
    EXPECT_EQ(state.resultLines, 0);
    EXPECT_EQ(ui.transcript(), Strings{"refresh " + std::to_string(document.id())});
    EXPECT_TRUE(kwicSearchEnabled(state) && kwocSearchEnabled(state));
}

TEST_F(ResultAccumulationTest, BreakAsksWhileSearchingAndSavesTheLayout) {
    int saves = 0;
    auto save = [&](CPyxoDoc&) { return ++saves, true; };
    state.layout.l = 33;
    state.layout.w = 69;
    state.resultKind = 1;
    flags.running = true;
    ui.answerNext(Answer::No);
    EXPECT_EQ(breakAndSave(flags, state, document, ui, profile, "cat", "", save),
              BreakResult::SearchQuit);
    EXPECT_TRUE(ui.cancelRequested());
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(ui.messages(), Strings{"I'm searching. Do you want to continue?"});

    ui.clearCancel();
    EXPECT_EQ(breakAndSave(flags, state, document, ui, profile, "cat", "sat", save),
              BreakResult::Saved);
    EXPECT_FALSE(ui.cancelRequested());
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(document.snapshot().keywordColumn, 33);
    EXPECT_EQ(document.snapshot().searchKind, 1);
    EXPECT_EQ(document.snapshot().keyword2, "sat");

    flags.running = false;
    ui.clear();
    EXPECT_EQ(breakAndSave(flags, state, document, ui, profile, "cat", "",
                           [](CPyxoDoc&) { return false; }),
              BreakResult::SaveFailed);
    EXPECT_TRUE(ui.messages().empty());
}

class DropTest : public ResultAccumulationTest {
protected:
    DropResult drop(const Strings& paths) {
        return dropFiles(paths, flags, state, ui, profile, histories, handlers);
    }

    Histories histories;
    Strings opened;
    std::vector<Strings> searched;
    std::string caption;
    DropHandlers handlers{
        [this](const std::string& path) { opened.push_back(path); },
        [this](DropDialogModel& dialog) {
            caption = dialog.caption();
            dialog.keyword1 = "cat";
            dialog.keyword2IsGroup = true;
            return dialog.confirm();
        },
        [this](const SearchRequest& request, const CExStringList& files) {
            EXPECT_EQ(request.keyword1.text, "cat");
            EXPECT_TRUE(request.keyword2.isGroup);
            searched.emplace_back(files.begin(), files.end());
            state.resultState = 1;
            state.resultKind = 1;
            return SearchOutcome{};
        },
    };
};

TEST_F(DropTest, FormattedFilesOpenOldOnesAreRefusedTheRestIsSearched) {
    EXPECT_EQ(drop({"/x/a.txt", "/x/r.VM2", "/x/old.vm1", "/x/b"}), DropResult::Searched);
    EXPECT_EQ(opened, Strings{"/x/r.VM2"});
    EXPECT_EQ(ui.messages(), Strings{"/x/old.vm1 cannot be opened by this Vellmora"});
    ASSERT_EQ(searched.size(), 1u);
    EXPECT_EQ(searched[0], (Strings{"/x/a.txt", "/x/b"}));
    EXPECT_EQ(caption, "2 Files are dropped");
    Profile stored(profile.path());
    EXPECT_EQ(stored.readInt("Setting", "Group1", -1), 0);
    EXPECT_EQ(stored.readInt("Setting", "Group2", -1), 1);
    EXPECT_EQ(stored.readString("Setting", "Keyword1", ""), "cat");
}

TEST_F(DropTest, OnlyFormattedFilesStartNoSearch) {
    EXPECT_EQ(drop({"/x/r.vm2"}), DropResult::NothingToSearch);
    EXPECT_TRUE(searched.empty());
}

TEST_F(DropTest, BusyOrHoldingAResultTheViewRefusesTheSearch) {
    state.busy = true;
    state.files.addTail("/running/corpus.txt");
    EXPECT_EQ(drop({"/x/a.txt", "/x/r.vm2"}), DropResult::Refused);
    EXPECT_EQ(opened, Strings{"/x/r.vm2"});  // a document of its own opens all the same
    EXPECT_EQ(state.files.count(), 1);       // the running search's corpus is left alone
    state.busy = false;
    flags.running = true;
    EXPECT_EQ(drop({"/x/a.txt"}), DropResult::Refused);
    flags.running = false;
    state.resultState = 1;
    state.resultKind = 1;
    EXPECT_EQ(drop({"/x/a.txt"}), DropResult::Refused);
    EXPECT_EQ(ui.messages(), (Strings{"I'm busy now. Please wait for a minutes.m(__)m",
                                      "I'm busy now. Please wait for a minutes.m(__)m",
                                      std::string(kDropOnResultMessage)}));
    EXPECT_TRUE(searched.empty());
    prepareToAddResult(state, ui, profile);
    EXPECT_EQ(drop({"/x/a.txt"}), DropResult::Searched);
}

TEST_F(DropTest, DialogRefusesAnEmptyKeyword) {
    profile.writeString("Setting", "Keyword1", "old");
    profile.writeString("Setting", "Group1", "1");
    profile.flush();
    histories.load(profile);
    handlers.showDialog = [this](DropDialogModel& dialog) {
        EXPECT_EQ(dialog.keyword1, "old");
        EXPECT_TRUE(dialog.keyword1IsGroup);
        dialog.keyword1.clear();
        EXPECT_FALSE(dialog.confirm());
        return false;
    };
    EXPECT_EQ(drop({"/x/a.txt"}), DropResult::Cancelled);
    EXPECT_EQ(ui.messages(), Strings{"キーワードが指定されてません！"});
    EXPECT_TRUE(searched.empty());
}


TEST_F(DropTest, DroppedFilesAreSearchedExactlyAndInTheirOrder) {
    // Only the dropped file is searched, not its neighbour that the same pattern would bring.
    std::string b = write("b.txt", "the cat sat\n");
    write("c.txt", "a cat too\n");
    std::string a = write("a.txt", "cat first\n");
    handlers.run = [this](const SearchRequest& request, const CExStringList& files) {
        return runDroppedFileSearch(request, files, profile, ui, document, state, &flags);
    };
    handlers.showDialog = [](DropDialogModel& dialog) {
        dialog.keyword1 = "cat";
        return dialog.confirm();
    };
    EXPECT_EQ(drop({b, a}), DropResult::Searched);
    Strings hits;
    for (const std::string& line : lines())
        if (line.find("-----[") == std::string::npos) hits.push_back(line.substr(line.find('|')));
    EXPECT_EQ(hits.size(), 2u);
    EXPECT_NE(lines().front().find("b.txt"), std::string::npos);
    EXPECT_EQ(state.resultKind, 1);
    EXPECT_FALSE(flags.running);
    EXPECT_EQ(state.files.count(), 0);
}

TEST_F(DropTest, DroppedSearchFailuresHaveTheirOwnMessages) {
    handlers.run = [this](const SearchRequest& request, const CExStringList& files) {
        return runDroppedFileSearch(request, files, profile, ui, document, state, &flags);
    };
    // None of the dropped files opens: the user is told, not left with an empty window.
    EXPECT_EQ(drop({dir.file("corpus/missing.txt")}), DropResult::Searched);
    EXPECT_EQ(ui.messages(), Strings{"Failed to open files...(;_;)"});
    EXPECT_EQ(state.resultState, 0);

    ui.clear();
    setenv("PYXO_JRE", JRE, 1);
    profile.writeString("Options", "bGrep", "1");
    handlers.showDialog = [](DropDialogModel& dialog) {
        dialog.keyword1 = "ca(t";
        return dialog.confirm();
    };
    EXPECT_EQ(drop({write("a.txt", "cat\n")}), DropResult::Searched);
    unsetenv("PYXO_JRE");
    EXPECT_EQ(ui.messages(), Strings{"Failed(;_;)1"});
    EXPECT_TRUE(lines().empty());
}

}  // namespace
}  // namespace vellmora
