#include "results/colloq_command.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/search_run.h"
#include "platform/recording_user_interface.h"
#include "results/colloq_dialog_model.h"
#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Strings = std::vector<std::string>;

const std::string kBusy = "I'm busy now. Please wait for a minutes.m(__)m";

// Keyword column 11: the keyword "cat" at byte 10 of every context.
std::string kwic(const char* left, const char* right) {
    std::string context = std::string(left) + " ";
    context.insert(0, 10 - context.size(), ' ');
    return "   1 | " + context + "cat " + right + "\r\n";
}

Strings linesOf(const CExStringList& list) { return Strings(list.begin(), list.end()); }

class ColloqCommandTest : public ::testing::Test {
protected:
    ColloqCommandTest() {
        for (const std::string& line : m_lines) m_document.list(ResultKind::Original).addTail(line);
        m_document.list(ResultKind::Sorted).addTail(kwic("my", "ate"));
        m_document.snapshot().keywordColumn = 11;
        m_document.snapshot().keyword1 = "cat";
    }

    Strings collocation() const { return linesOf(m_document.list(ResultKind::Collocation)); }
    std::string stored(const char* section, const char* key) {
        Profile reread(m_path);
        return reread.readString(section, key, "<none>");
    }
    std::string id() const { return std::to_string(m_document.id()); }
    ExColloqInput extendedInput() {
        ExColloqInput input{colloqInputOf(m_document), {}, m_dir.file("WordList")};
        input.files.fileName = "*.txt";
        input.files.directory = m_corpus + "/";
        return input;
    }

    testing::TempDir m_dir;
    std::string m_path = m_dir.file("pyxo.ini");
    std::string m_corpus = m_dir.file("corpus");
    Profile m_profile{m_path};
    RecordingUserInterface m_ui;
    CPyxoDoc m_document{"result"};
    ApplicationSearchFlags m_flags;
    SearchState m_view;
    ResultCommandPlace m_place{m_profile, m_ui, m_document, m_flags, m_view};
    const Strings m_lines = {
        "-----[ /corpus/a.txt ]-----\r\n",
        kwic("the", "sat on"),
        kwic("a", "ran off"),
        kwic("The", "sat up"),
        "a.txt : 3\r\n",
    };
};

TEST_F(ColloqCommandTest, CountsTheShownResultAndShowsTheStatistic) {
    m_document.snapshot().history[0] = static_cast<int>(ResultKind::Original);
    const ColloqCommandResult result = runColloqCommand(m_place, colloqInputOf(m_document));

    ASSERT_EQ(result.end, ColloqCommandEnd::Done);
    EXPECT_EQ(collocation(),
              (Strings{"              1 : ran\r\n", "              2 : sat\r\n",
                       "=========================\r\n", "         3 : Total Words\r\n",
                       "         2 : Different Words\r\n"}));
    EXPECT_EQ(result.run.totalWords, 3);
    EXPECT_EQ(m_document.displayedKind(), ResultKind::Collocation);
    EXPECT_EQ(m_document.snapshot().history[0], 3);
    EXPECT_EQ(m_document.snapshot().history[1], 0);
    EXPECT_EQ(m_document.collocationValue1, 0);
    EXPECT_EQ(m_document.collocationValue2, 1);
    EXPECT_FALSE(m_flags.running);
    EXPECT_FALSE(m_view.busy);
    EXPECT_EQ(m_ui.transcript(),
              (Strings{"title " + id() + ": <<Now Counting...>>", "wait on", "restore " + id(),
                       "wait off", "beep", "refresh " + id()}));
    // Confirmed as it opened: the dialog's values are stored.
    EXPECT_EQ(stored("Colloq", "Mode"), "1");
    EXPECT_EQ(stored("Colloq", "Tail"), "0");
}

TEST_F(ColloqCommandTest, TheDialogsChoicesReachTheCount) {
    m_document.snapshot().history[0] = static_cast<int>(ResultKind::Sorted);
    const ColloqCommandResult result =
        runColloqCommand(m_place, colloqInputOf(m_document), [](ColloqDialogModel& dialog) {
            dialog.setPositionChecked(-1, true);
            dialog.setPercent(true);
            return true;
        });
    ASSERT_EQ(result.end, ColloqCommandEnd::Done);
    // The sorted result is the one shown: only its line is counted.
    EXPECT_EQ(collocation().front(), "              1(100.000%) : my\r\n");
    EXPECT_EQ(stored("Colloq", "Mode"), "-1");
    EXPECT_EQ(stored("Colloq", "Percent"), "1");
}

TEST_F(ColloqCommandTest, WithTheStatisticShownItCountsNothing) {
    ASSERT_EQ(runColloqCommand(m_place, colloqInputOf(m_document)).end, ColloqCommandEnd::Done);
    const ColloqCommandResult again = runColloqCommand(m_place, colloqInputOf(m_document));
    ASSERT_EQ(again.end, ColloqCommandEnd::Done);
    EXPECT_EQ(collocation(),
              (Strings{"=========================\r\n", "         0 : Total Words\r\n",
                       "         0 : Different Words\r\n"}));
}

TEST_F(ColloqCommandTest, RefusedWhileBusyOrCancelledNothingChanges) {
    m_flags.running = true;
    EXPECT_EQ(runColloqCommand(m_place, colloqInputOf(m_document)).end, ColloqCommandEnd::Refused);
    EXPECT_EQ(runColloqTableCommand(m_place, colloqInputOf(m_document)).end,
              ColloqCommandEnd::Refused);
    m_flags.running = false;
    m_view.busy = true;
    EXPECT_EQ(runExColloqCommand(m_place, extendedInput()).end, ColloqCommandEnd::Refused);
    EXPECT_EQ(m_ui.messages(), (Strings{kBusy, kBusy, kBusy}));
    EXPECT_TRUE(m_view.busy);
    m_view.busy = false;

    m_ui.clear();
    const ColloqCommandResult cancelled = runColloqCommand(
        m_place, colloqInputOf(m_document), [](ColloqDialogModel&) { return false; });
    EXPECT_EQ(cancelled.end, ColloqCommandEnd::Cancelled);
    EXPECT_TRUE(collocation().empty());
    EXPECT_EQ(stored("Colloq", "Mode"), "<none>");
    EXPECT_TRUE(m_ui.transcript().empty());
    EXPECT_EQ(m_document.snapshot().history[0], 0);
}

TEST_F(ColloqCommandTest, AStoppedCountKeepsTheLastStatistic) {
    ASSERT_EQ(runColloqTableCommand(m_place, colloqInputOf(m_document)).end,
              ColloqCommandEnd::Done);
    const Strings table = collocation();
    m_document.selectKind(ResultKind::Original);
    ColloqInput input = colloqInputOf(m_document);
    input.source = ResultKind::Original;
    m_ui.clear();
    m_ui.cancelAtPump(2);
    EXPECT_EQ(runColloqCommand(m_place, input).end, ColloqCommandEnd::Stopped);
    EXPECT_EQ(collocation(), table);
    EXPECT_EQ(m_document.displayedKind(), ResultKind::Original);
    EXPECT_EQ(m_ui.beeps(), 0);
    EXPECT_FALSE(m_view.busy);
    EXPECT_FALSE(m_flags.running);

    m_ui.cancelAtPump(1);
    EXPECT_EQ(runColloqTableCommand(m_place, colloqInputOf(m_document)).end,
              ColloqCommandEnd::Stopped);
    EXPECT_EQ(collocation(), table);
}

TEST_F(ColloqCommandTest, TheTableAlwaysReadsTheSearchResultAndGivesItsColumnWidths) {
    m_document.snapshot().history[0] = static_cast<int>(ResultKind::Sorted);
    m_profile.writeInt("Colloq", "Mode", 3);  // no Colloq setting is read
    m_profile.flush();
    const ColloqTableResult result = runColloqTableCommand(m_place, colloqInputOf(m_document));

    ASSERT_EQ(result.end, ColloqCommandEnd::Done);
    EXPECT_EQ(result.lines, 4);  // the count line is no separator
    const Strings table = collocation();
    ASSERT_EQ(table.size(), 9u);  // the header; a, cat, off, on, ran, sat, the, up
    EXPECT_EQ(table[0], "Word\tTotal\tL5\tL4\tL3\tL2\tL1\tR1\tR2\tR3\tR4\tR5\r\n");
    EXPECT_EQ(table[2], "cat\t3\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\r\n");
    EXPECT_EQ(table[7], "the\t2\t0\t0\t0\t0\t2\t0\t0\t0\t0\t0\r\n");
    EXPECT_EQ(result.columnWidths, (std::vector<std::int64_t>{4, 5, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2}));
    EXPECT_EQ(m_document.snapshot().history[0], 3);
    EXPECT_EQ(m_document.snapshot().history[1], 2);
    EXPECT_EQ(m_document.collocationValue2, 1);
    EXPECT_EQ(m_ui.transcript(),
              (Strings{"title " + id() + ": <<Counting...>>", "wait on", "wait off", "beep",
                       "restore " + id(), "refresh " + id()}));
}

TEST_F(ColloqCommandTest, TheExtendedTableComparesWithTheCorpusAndReusesItsWordList) {
    std::filesystem::create_directories(m_corpus);
    // 100 words: "the" 10 times, "sat" 4 times.
    std::string text;
    for (int i = 0; i < 10; ++i) text += "the ";
    for (int i = 0; i < 4; ++i) text += "sat ";
    for (int i = 0; i < 86; ++i) text += "word ";
    testing::writeFileBytes(m_corpus + "/a.txt", text + "\n");

    int shown = 0;
    auto choose = [&shown](int format) {
        return [&shown, format](ExColloqDialogModel& dialog) {
            ++shown;
            dialog.setFormatIndex(format);
            return true;
        };
    };
    ColloqTableResult result = runExColloqCommand(m_place, extendedInput(), choose(2));
    ASSERT_EQ(result.end, ColloqCommandEnd::Done);
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(result.reference.fromCache);
    EXPECT_EQ(stored("ExColloq", "Format"), "2");
    Strings table = collocation();
    ASSERT_EQ(table.size(), 9u);
    EXPECT_EQ(table[0], "Word\tL5\tL4\tL3\tL2\tL1\tR1\tR2\tR3\tR4\tR5\r\n");
    EXPECT_EQ(table[6],
              "sat\t----/----\t----/----\t----/----\t----/----\t----/----\t2/4\t"
              "----/----\t----/----\t----/----\t----/----\r\n");
    EXPECT_EQ(table[7],
              "the\t----/----\t----/----\t----/----\t----/----\t2/10\t----/----\t"
              "----/----\t----/----\t----/----\t----/----\r\n");
    EXPECT_EQ(result.columnWidths.size(), 11u);
    EXPECT_EQ(m_document.snapshot().history[0], 3);

    // "Disable this dialog": the stored format is used without asking; the corpus is not read.
    m_profile.writeInt("ExColloq", "bNoAsk", 1);
    m_profile.writeInt("ExColloq", "Format", 0);
    m_profile.flush();
    result = runExColloqCommand(m_place, extendedInput(), choose(1));
    ASSERT_EQ(result.end, ColloqCommandEnd::Done);
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(result.reference.fromCache);
    table = collocation();
    // the: 2 of 4 lines at L1 against 10 of 100 words.
    EXPECT_EQ(table[7],
              "the\t-.----\t-.----\t-.----\t-.----\t5.0000\t-.----\t-.----\t-.----\t"
              "-.----\t-.----\r\n");
}

TEST_F(ColloqCommandTest, ACancelledExtendedDialogRunsNothingAndTheOptionsEntryAlwaysAsks) {
    m_document.list(ResultKind::Collocation).addTail("old\r\n");
    const ColloqTableResult result =
        runExColloqCommand(m_place, extendedInput(), [](ExColloqDialogModel&) { return false; });
    EXPECT_EQ(result.end, ColloqCommandEnd::Cancelled);
    EXPECT_EQ(collocation(), Strings{"old\r\n"});
    EXPECT_FALSE(std::filesystem::exists(m_dir.file("WordList")));

    m_profile.writeInt("ExColloq", "bNoAsk", 1);
    m_profile.flush();
    bool asked = false;
    EXPECT_TRUE(runExColloqOptions(m_profile, [&asked](ExColloqDialogModel& dialog) {
        asked = true;
        EXPECT_TRUE(dialog.dialogDisabled());
        dialog.setDialogDisabled(false);
        return true;
    }));
    EXPECT_TRUE(asked);
    EXPECT_EQ(stored("ExColloq", "bNoAsk"), "0");
}

TEST_F(ColloqCommandTest, TheBatchInputTakesTheLastSearchAndTheDataDirectory) {
    ::setenv("PYXO_DATA_DIR", m_dir.path().c_str(), 1);
    m_profile.writeString("Setting", "Filename", "*.txt");
    m_profile.writeString("Setting", "Directory", m_corpus + "/");
    m_document.snapshot().history[0] = static_cast<int>(ResultKind::Sorted);
    const ExColloqInput input = exColloqInputOf(m_document, m_profile);
    ::unsetenv("PYXO_DATA_DIR");
    EXPECT_EQ(input.view.source, ResultKind::Sorted);
    EXPECT_EQ(input.view.keywordColumn, 11);
    EXPECT_EQ(input.view.keywordLength, 3);
    EXPECT_EQ(input.files.fileName, "*.txt");
    EXPECT_EQ(input.files.directory, m_corpus + "/");
    EXPECT_EQ(input.wordListFolder, m_dir.path() + "/WordList");
}

TEST_F(ColloqCommandTest, BeepingOffSilencesTheClosingBeep) {
    m_profile.writeInt("Options", "Beep", 1);
    m_profile.flush();
    runColloqCommand(m_place, colloqInputOf(m_document));
    runColloqTableCommand(m_place, colloqInputOf(m_document));
    EXPECT_EQ(m_ui.beeps(), 0);
}

}  // namespace
}  // namespace vellmora
