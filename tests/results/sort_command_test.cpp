#include "results/sort_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/search_run.h"
#include "platform/recording_user_interface.h"
#include "results/sort_dialog_model.h"
#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Strings = std::vector<std::string>;

const std::string kBusy = "I'm busy now. Please wait for a minutes.m(__)m";

// Keyword column 11: ten bytes of left context, the keyword "cat" at context byte 10.
std::string kwic(int number, const char* left, const char* right) {
    std::string prefix = "      " + std::to_string(number) + " | ";
    std::string context = std::string(left) + " ";
    context.insert(0, 10 - context.size(), ' ');
    return prefix + context + "cat " + right + "\r\n";
}

Strings linesOf(const CExStringList& list) { return Strings(list.begin(), list.end()); }

class SortCommandTest : public ::testing::Test {
protected:
    SortCommandTest() {
        for (const std::string& line : m_lines) m_document.list(ResultKind::Original).addTail(line);
    }

    SortCommandResult run(const SortDialogStep& step = confirmSortUnchanged) {
        return runSortCommand(m_place, SortInput{ResultKind::Original, 11, 3}, step);
    }
    Strings sortedLines() const { return linesOf(m_document.list(ResultKind::Sorted)); }
    std::string stored(const char* section, const char* key) {
        Profile reread(m_path);
        return reread.readString(section, key, "<none>");
    }
    std::string id() const { return std::to_string(m_document.id()); }

    testing::TempDir m_dir;
    std::string m_path = m_dir.file("pyxo.ini");
    Profile m_profile{m_path};
    RecordingUserInterface m_ui;
    CPyxoDoc m_document{"result"};
    ApplicationSearchFlags m_flags;
    SearchState m_view;
    ResultCommandPlace m_place{m_profile, m_ui, m_document, m_flags, m_view};
    const Strings m_lines = {
        "-----[ /corpus/a.txt ]-----\r\n", kwic(3, "the", "sat on"), kwic(1, "a", "ate it"),
        kwic(2, "my", "ran off"),          "a.txt : 3\r\n",
    };
};

TEST_F(SortCommandTest, SortsByTheStoredKeysAndShowsTheSortedResult) {
    m_document.snapshot().history[0] = 1;
    m_document.snapshot().history[20] = 4;
    const SortCommandResult result = run();

    ASSERT_EQ(result.end, SortCommandEnd::Done);
    // R1: ate, ran, sat; the count line has no R1 and comes first.
    EXPECT_EQ(sortedLines(), (Strings{m_lines[4], m_lines[2], m_lines[3], m_lines[1]}));
    EXPECT_EQ(m_document.displayedKind(), ResultKind::Sorted);
    EXPECT_EQ(m_document.snapshot().history[0], 2);
    EXPECT_EQ(m_document.snapshot().history[1], 1);
    EXPECT_EQ(m_document.snapshot().history[20], 0);  // the oldest kind dropped
    EXPECT_FALSE(m_flags.running);
    EXPECT_FALSE(m_view.busy);
    EXPECT_EQ(m_ui.transcript(), (Strings{"title " + id() + ": <<Now Sorting...>>",
                                          "restore " + id(), "beep", "refresh " + id()}));

    EXPECT_EQ(m_document.sortFields.keyPositions, (std::array<int, 3>{1, -6, -6}));
    EXPECT_EQ(m_document.sortFields.sentenceFinal, 0);
    EXPECT_EQ(m_document.sortFields.keywordOffset, 10);
    EXPECT_EQ(m_document.sortFields.keywordLength, 3);
    EXPECT_EQ(result.run.linesTaken, 4);
    // The batch front end confirms the dialog as it opens: its values are stored.
    EXPECT_EQ(stored("Sort", "Mode"), "1");
    EXPECT_EQ(stored("Sort", "MaxLine"), "40000");
}

TEST_F(SortCommandTest, TheDialogsChoicesReachTheSortAndTheRecord) {
    const SortCommandResult result = run([](SortDialogModel& dialog) {
        dialog.setKeyIndex(0, 5);  // L1
        dialog.setDescending(0, true);
        dialog.setKeyIndex(1, 7);
        dialog.setSentenceFinal(true);
        dialog.editMaxLine("2");
        return true;
    });
    ASSERT_EQ(result.end, SortCommandEnd::Done);
    // The first two lines of the source, by L1 descending: the, a.
    EXPECT_EQ(sortedLines(), (Strings{m_lines[1], m_lines[2]}));
    EXPECT_EQ(m_document.sortFields.keyPositions, (std::array<int, 3>{-1, 1, -6}));
    EXPECT_EQ(m_document.sortFields.sentenceFinal, 1);
    EXPECT_EQ(stored("Sort", "Order1"), "1");
}

TEST_F(SortCommandTest, ALineCountOfZeroSavedThroughTheDialogSortsNothing) {
    run([](SortDialogModel& dialog) {
        dialog.editMaxLine("0");
        return true;
    });
    EXPECT_TRUE(sortedLines().empty());
    EXPECT_EQ(m_document.displayedKind(), ResultKind::Sorted);
}

TEST_F(SortCommandTest, RefusesWhileBusyAndChangesNothing) {
    m_flags.running = true;
    EXPECT_EQ(run().end, SortCommandEnd::Refused);
    m_flags.running = false;
    m_view.busy = true;
    EXPECT_EQ(run().end, SortCommandEnd::Refused);
    EXPECT_EQ(m_ui.messages(), (Strings{kBusy, kBusy}));
    EXPECT_EQ(m_ui.beeps(), 2);
    EXPECT_TRUE(m_view.busy);
    EXPECT_TRUE(sortedLines().empty());
    EXPECT_EQ(m_document.snapshot().history[0], 0);
    EXPECT_EQ(stored("Sort", "Mode"), "<none>");
}

TEST_F(SortCommandTest, AsksBeforeSortingTheSortedResultAgain) {
    ASSERT_EQ(run().end, SortCommandEnd::Done);
    const Strings first = sortedLines();
    m_ui.clear();

    m_ui.answerNext(Answer::No);
    EXPECT_EQ(run().end, SortCommandEnd::Declined);
    EXPECT_EQ(m_ui.transcript(), (Strings{"beep", "message Yes/No: Sort again?(-_-;)"}));
    EXPECT_EQ(m_document.snapshot().history[1], 0);

    // Yes sorts the sorted result itself, which keeps its order.
    m_ui.clear();
    m_ui.answerNext(Answer::Yes);
    const SortCommandResult again =
        runSortCommand(m_place, SortInput{ResultKind::Sorted, 11, 3}, confirmSortUnchanged);
    EXPECT_EQ(again.end, SortCommandEnd::Done);
    EXPECT_EQ(sortedLines(), first);
    EXPECT_EQ(m_document.snapshot().history[1], 2);
}

TEST_F(SortCommandTest, ACancelledDialogStoresAndSortsNothing) {
    const SortCommandResult result = run([](SortDialogModel& dialog) {
        dialog.setKeyIndex(0, 3);
        return false;
    });
    EXPECT_EQ(result.end, SortCommandEnd::Cancelled);
    EXPECT_TRUE(sortedLines().empty());
    EXPECT_EQ(stored("Sort", "Mode"), "<none>");
    EXPECT_TRUE(m_ui.transcript().empty());
}

TEST_F(SortCommandTest, BeepingOffSilencesTheClosingBeep) {
    m_profile.writeInt("Options", "Beep", 1);
    m_profile.flush();
    run();
    EXPECT_EQ(m_ui.beeps(), 0);
}

}  // namespace
}  // namespace vellmora
