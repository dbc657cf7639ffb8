#include "results/column_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "containers/ex_string_list.h"
#include "engine/search_run.h"
#include "platform/recording_user_interface.h"
#include "results/column_sort_command.h"
#include "results/column_sort_dialog_model.h"
#include "results/sort.h"
#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Strings = std::vector<std::string>;

CExStringList listOf(const Strings& lines) {
    CExStringList list;
    for (const std::string& line : lines) list.addTail(line);
    return list;
}

Strings linesOf(const CExStringList& list) { return Strings(list.begin(), list.end()); }

// A KWIC line whose keyword starts at column 6 (five bytes of left context).
std::string kwic(int number, const char* left, const char* keywordAndRight) {
    std::string context(left);
    context.insert(0, 5 - context.size(), ' ');
    return "      " + std::to_string(number) + " | " + context + keywordAndRight + "\r\n";
}

class ColumnSortTest : public ::testing::Test {
protected:
    Strings sorted(const Strings& lines, const ColumnSortSpec& spec) {
        CExStringList source = listOf(lines);
        CExStringList destination;
        m_outcome = sortByColumn(source, spec, destination, m_ui);
        return linesOf(destination);
    }

    RecordingUserInterface m_ui;
    SortRunOutcome m_outcome;
};

TEST_F(ColumnSortTest, KeysRunFromTheColumnOfTheContextToTheLineEnd) {
    const std::string line = "      1 | abcdef\r\n";
    EXPECT_EQ(columnKey(line, 1), "abcdef");
    EXPECT_EQ(columnKey(line, 3), "cdef");
    EXPECT_EQ(columnKey(line, 6), "f");
    EXPECT_EQ(columnKey(line, 7), "");
    EXPECT_EQ(columnKey(line, 1000), "");
    EXPECT_EQ(columnKey(line, 0), "abcdef");
    EXPECT_EQ(columnKey(line, -40), "abcdef");
    EXPECT_EQ(columnKey("no mark here\r\n", 4), "mark here");
}

TEST_F(ColumnSortTest, AColumnOnTheSecondByteOfACharacterTakesTheWholeCharacter) {
    // あ 82A0 い 82A2, then the letter A: its byte lies in the second-byte range but starts
    // a character of its own.
    const std::string line =
        "1 | \x82\xA0\x82\xA2"
        "A\r\n";
    EXPECT_EQ(columnKey(line, 2),
              "\x82\xA0\x82\xA2"
              "A");
    EXPECT_EQ(columnKey(line, 3),
              "\x82\xA2"
              "A");
    EXPECT_EQ(columnKey(line, 4),
              "\x82\xA2"
              "A");
    EXPECT_EQ(columnKey(line, 5), "A");
    // 猫 944C: a second byte with the value of the letter L.
    EXPECT_EQ(columnKey("1 | x\x94\x4C\r\n", 3), "\x94\x4C");
}

TEST_F(ColumnSortTest, TheKeywordColumnOrdersByKeywordAndRightContext) {
    const Strings lines = {
        kwic(1, "zz", "dog barks"),
        kwic(2, "aa", "cat sleeps"),
        kwic(3, "mm", "Cat eats"),
        kwic(4, "bb", "cat eats"),
    };
    EXPECT_EQ(sorted(lines, {6}), (Strings{lines[2], lines[3], lines[1], lines[0]}));
    // Reverse is the exact reverse.
    EXPECT_EQ(sorted(lines, {6, true}), (Strings{lines[0], lines[1], lines[3], lines[2]}));
}

TEST_F(ColumnSortTest, SeparatorsAndEmptyLinesAreSkippedAndIdenticalLinesKeptOnce) {
    const Strings lines = {
        "-----[ a.txt ]-----\r\n", kwic(2, "", "b"), "\r\n", kwic(1, "", "a"), kwic(2, "", "b"), "",
    };
    EXPECT_EQ(sorted(lines, {6}), (Strings{lines[3], lines[1]}));
    EXPECT_EQ(m_outcome.linesTaken, 3);
}

TEST_F(ColumnSortTest, ColumnsPastTheLineEndSortFirstAndTheLineLimitApplies) {
    const Strings lines = {
        kwic(1, "", "long enough"),
        kwic(2, "", "ab"),
        kwic(3, "", "also long"),
    };
    // From column 9: "g enough", "", "o long".
    EXPECT_EQ(sorted(lines, {9}), (Strings{lines[1], lines[0], lines[2]}));
    ColumnSortSpec limited{9};
    limited.maxLines = 2;
    EXPECT_EQ(sorted(lines, limited), (Strings{lines[1], lines[0]}));
}

TEST_F(ColumnSortTest, JapaneseLinesSortByTheirCharacters) {
    const Strings lines = {
        "1 | \x82\xA4\x82\xA0\r\n",  // うあ
        "2 | \x82\xA0\x82\xA4\r\n",  // あう
        "3 | \x82\xA2\x82\xA2\r\n",  // いい
    };
    // Column 2 falls on the second byte of each first character.
    EXPECT_EQ(sorted(lines, {2}), (Strings{lines[1], lines[2], lines[0]}));
    EXPECT_EQ(sorted(lines, {3}), (Strings{lines[0], lines[2], lines[1]}));
}

class ColumnSortDialogModelTest : public ::testing::Test {
protected:
    ColumnSortDialogModel openedDialog(int offered, int maximum) {
        ColumnSortDialogModel dialog(m_profile, m_ui, offered, maximum);
        dialog.open();
        return dialog;
    }
    std::string stored(const char* section, const char* key) {
        Profile reread(m_path);
        return reread.readString(section, key, "<none>");
    }

    testing::TempDir m_dir;
    std::string m_path = m_dir.file("pyxo.ini");
    Profile m_profile{m_path};
    RecordingUserInterface m_ui;
};

TEST_F(ColumnSortDialogModelTest, OffersTheKeywordColumnOr40) {
    ColumnSortDialogModel dialog = openedDialog(33, 68);
    EXPECT_EQ(dialog.columnText(), "33");
    EXPECT_EQ(dialog.minimumLine(), "Minimum : 1");
    EXPECT_EQ(dialog.maximumLine(), "Maximum : 68");
    EXPECT_EQ(dialog.initialValueLine(), "Initial value : 33");
    EXPECT_TRUE(dialog.alphabetical());
    EXPECT_EQ(dialog.maxLineText(), "40000");
    EXPECT_EQ(openedDialog(0, 68).columnText(), "40");
    EXPECT_EQ(openedDialog(69, 68).initialValueLine(), "Initial value : 40");
}

TEST_F(ColumnSortDialogModelTest, ColumnsOutsideTheRangeGive40WithTheirMessages) {
    ColumnSortDialogModel dialog = openedDialog(10, 68);
    EXPECT_EQ(dialog.editColumn("68"), "68");
    EXPECT_EQ(dialog.editColumn("\x82\x55"), "6");  // full-width 6
    EXPECT_EQ(dialog.editColumn("-2"), "40");
    EXPECT_EQ(dialog.editColumn("69"), "40");
    EXPECT_EQ(m_ui.messages(),
              (Strings{std::string(kColumnNegativeMessage), std::string(kColumnTooBigMessage)}));
    EXPECT_EQ(m_ui.beeps(), 2);
}

TEST_F(ColumnSortDialogModelTest, LineCountChecksAndButtons) {
    ColumnSortDialogModel dialog = openedDialog(10, 68);
    EXPECT_EQ(dialog.editMaxLine("-1"), "40000");
    EXPECT_EQ(dialog.editMaxLine("100001"), "40000");
    EXPECT_EQ(m_ui.messages(), (Strings{std::string(kColumnMaxLineMinusMessage),
                                        std::string(kColumnMaxLineTooBigMessage)}));
    dialog.editMaxLine("99950");
    EXPECT_EQ(dialog.stepMaxLine(true), "100000");
    dialog.editMaxLine("50");
    EXPECT_EQ(dialog.stepMaxLine(false), "40000");
    dialog.editMaxLine("100");
    EXPECT_EQ(dialog.stepMaxLine(false), "0");
}

TEST_F(ColumnSortDialogModelTest, OkStoresColumnDirectionAndLineCount) {
    ColumnSortDialogModel dialog = openedDialog(10, 68);
    dialog.editColumn("12");
    dialog.setReverse(true);
    dialog.editMaxLine("500");
    dialog.ok();
    EXPECT_EQ(stored("SortColumn", "Column"), "12");
    EXPECT_EQ(stored("SortColumn", "Abc"), "0");
    EXPECT_EQ(stored("Sort", "MaxLine"), "500");
    EXPECT_TRUE(openedDialog(10, 68).reverse());
}

class ColumnSortCommandTest : public ColumnSortDialogModelTest {
protected:
    ColumnSortCommandTest() {
        for (const std::string& line : m_lines)
            m_document.list(ResultKind::Extracted).addTail(line);
    }
    ColumnSortCommandResult run(int keywordColumn, int width,
                                const ColumnSortDialogStep& step = confirmColumnSortUnchanged) {
        return runColumnSortCommand(
            m_place, ColumnSortInput{ResultKind::Extracted, keywordColumn, width}, step);
    }
    Strings sortedLines() const { return linesOf(m_document.list(ResultKind::Sorted)); }
    std::string id() const { return std::to_string(m_document.id()); }

    CPyxoDoc m_document{"result"};
    ApplicationSearchFlags m_flags;
    SearchState m_view;
    ResultCommandPlace m_place{m_profile, m_ui, m_document, m_flags, m_view};
    const Strings m_lines = {
        kwic(1, "zz", "dog barks"),
        kwic(2, "aa", "cat sleeps"),
        "-----[ b.txt ]-----\r\n",
        kwic(3, "mm", "ant runs"),
    };
};

TEST_F(ColumnSortCommandTest, SortsByTheOfferedColumnAndShowsTheSortedResult) {
    const ColumnSortCommandResult result = run(6, 20);
    ASSERT_EQ(result.end, SortCommandEnd::Done);
    EXPECT_EQ(result.column, 6);
    EXPECT_EQ(sortedLines(), (Strings{m_lines[3], m_lines[1], m_lines[0]}));
    EXPECT_EQ(m_document.displayedKind(), ResultKind::Sorted);
    EXPECT_EQ(m_document.snapshot().history[0], 2);
    EXPECT_FALSE(m_flags.running);
    EXPECT_FALSE(m_view.busy);
    EXPECT_EQ(m_ui.transcript(), (Strings{"title " + id() + ": Now Sorting by Column...", "wait on",
                                          "wait off", "restore " + id(), "refresh " + id()}));
    EXPECT_EQ(stored("SortColumn", "Column"), "6");
}

TEST_F(ColumnSortCommandTest, TheDialogsColumnAndDirectionAreUsed) {
    run(6, 20, [](ColumnSortDialogModel& dialog) {
        dialog.editColumn("1");
        dialog.setReverse(true);
        return true;
    });
    // Column 1, reversed: zz, mm, aa.
    EXPECT_EQ(sortedLines(), (Strings{m_lines[0], m_lines[3], m_lines[1]}));
}

TEST_F(ColumnSortCommandTest, WithoutAKnownWidthXsizeBoundsTheColumn) {
    m_profile.writeString("Options", "Xsize", "30");
    m_profile.flush();
    int maximum = 0;
    run(31, 0, [&](ColumnSortDialogModel& dialog) {
        maximum = dialog.maximum();
        return true;
    });
    EXPECT_EQ(maximum, 30);
    EXPECT_EQ(stored("SortColumn", "Column"), "40");
}

TEST_F(ColumnSortCommandTest, RefusesWhileBusyAndAsksBeforeSortingAgain) {
    m_view.busy = true;
    EXPECT_EQ(run(6, 20).end, SortCommandEnd::Refused);
    EXPECT_EQ(m_ui.messages(), (Strings{std::string(kColumnSortBusyMessage)}));
    m_view.busy = false;

    ASSERT_EQ(run(6, 20).end, SortCommandEnd::Done);
    m_ui.clear();
    m_ui.answerNext(Answer::No);
    EXPECT_EQ(run(6, 20).end, SortCommandEnd::Declined);
    EXPECT_EQ(m_ui.messages(), (Strings{std::string(kColumnSortAgainQuestion)}));
    m_ui.answerNext(Answer::Yes);
    EXPECT_EQ(run(6, 20).end, SortCommandEnd::Done);
}

TEST_F(ColumnSortCommandTest, TheSortedLineLimitAppliesToTheColumnSort) {
    run(6, 20, [](ColumnSortDialogModel& dialog) {
        dialog.editMaxLine("1");
        return true;
    });
    EXPECT_EQ(sortedLines(), (Strings{m_lines[0]}));
}

}  // namespace
}  // namespace vellmora
