#include "results/convert_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/search_run.h"
#include "platform/recording_user_interface.h"
#include "results/convert_dialog_model.h"
#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Lines = std::vector<std::string>;

const std::string kBusy = "I'm busy now. Please wait for a minutes.m(__)m";

class ConvertCommandTest : public ::testing::Test {
protected:
    ConvertCommandTest() {
        m_document.list(ResultKind::Original).addTail("-----[ a.txt ]-----\r\n");
        m_document.list(ResultKind::Original).addTail("      1 |       the cat sat\r\n");
        m_document.list(ResultKind::Sorted).addTail("      2 |        a cat ran\r\n");
        m_document.snapshot().history[0] = static_cast<int>(ResultKind::Sorted);
    }

    ConversionCommandResult run(ResultKind source = ResultKind::Original,
                                const ConversionDialogStep& step = confirmConversionUnchanged) {
        return runConvertCommand(m_place, ConversionInput{source, 11, 3, 0}, step);
    }
    Lines converted() const {
        const CExStringList& list = m_document.list(ResultKind::Spreadsheet);
        return Lines(list.begin(), list.end());
    }
    std::string stored(const char* key) {
        Profile reread(m_path);
        return reread.readString("SpreadSheet", key, "<none>");
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
};

TEST_F(ConvertCommandTest, ConvertsTheGivenSourceAndShowsTheConversion) {
    const ConversionCommandResult result = run(ResultKind::Sorted);
    ASSERT_EQ(result.end, ConversionCommandEnd::Done);
    EXPECT_EQ(converted(), Lines{"\"\t\"\t\"\t\"\t\"a\t\"cat\t\"ran\t\"\t\"\t\"\t\"\r\n"});
    EXPECT_EQ(m_document.displayedKind(), ResultKind::Spreadsheet);
    EXPECT_EQ(m_document.snapshot().history[0], 4);
    EXPECT_EQ(m_document.snapshot().history[1], 2);
    EXPECT_EQ(result.lineWidth, kTsvLineWidth);
    EXPECT_EQ(result.columnWidths, (std::vector<std::int64_t>{1, 1, 1, 1, 2, 4, 4, 1, 1, 1, 1}));
    EXPECT_FALSE(m_flags.running);
    EXPECT_FALSE(m_view.busy);
    EXPECT_EQ(m_ui.transcript(), (Lines{"title " + id() + ": << Now Converting...>>", "wait on",
                                        "wait off", "restore " + id(), "refresh " + id()}));
    EXPECT_EQ(stored("Mode"), "0");
    EXPECT_EQ(stored("TagInfo"), "0");
}

TEST_F(ConvertCommandTest, TheDialogsChoicesAreStoredAndUsed) {
    const ConversionCommandResult result = run(ResultKind::Original, [](SpreadsheetDialogModel& d) {
        d.setLayout(SpreadsheetLayout::Csv2);
        d.setTagInfo(true);
        return true;
    });
    ASSERT_EQ(result.end, ConversionCommandEnd::Done);
    EXPECT_EQ(converted(), Lines{"a.txt:1,,,,,the,cat,sat,,,,\r\n"});
    EXPECT_FALSE(result.lineWidth.has_value());  // only the first layout sets the width
    EXPECT_EQ(stored("Mode"), "4");
    EXPECT_EQ(stored("TagInfo"), "1");

    // The next opening shows them.
    SpreadsheetDialogModel dialog(m_profile, m_ui);
    dialog.open();
    EXPECT_EQ(dialog.layout(), SpreadsheetLayout::Csv2);
    EXPECT_TRUE(dialog.tagInfo());
}

TEST_F(ConvertCommandTest, RefusedWhileBusyAndStoppedByCancel) {
    m_flags.running = true;
    EXPECT_EQ(run().end, ConversionCommandEnd::Refused);
    EXPECT_EQ(m_ui.messages(), Lines{kBusy});
    EXPECT_EQ(m_ui.beeps(), 1);
    m_flags.running = false;

    m_ui.clear();
    EXPECT_EQ(run(ResultKind::Original, [](SpreadsheetDialogModel&) { return false; }).end,
              ConversionCommandEnd::Cancelled);
    EXPECT_EQ(stored("Mode"), "<none>");  // a cancelled dialog stores nothing
    EXPECT_TRUE(converted().empty());

    m_ui.cancelAtPump(1);
    const ConversionCommandResult stopped = run();
    EXPECT_EQ(stopped.end, ConversionCommandEnd::Stopped);
    EXPECT_TRUE(converted().empty());
    EXPECT_EQ(m_document.displayedKind(), ResultKind::Original);
    EXPECT_EQ(m_document.snapshot().history[0], 2);
    EXPECT_FALSE(m_ui.cancelRequested());
}

TEST_F(ConvertCommandTest, DialogReadsOddStoredValuesSafely) {
    m_profile.writeInt("SpreadSheet", "Mode", 42);
    m_profile.writeInt("SpreadSheet", "TagInfo", 2);
    m_profile.writeInt("Options", "Beep", 1);
    m_profile.flush();
    SpreadsheetDialogModel dialog(m_profile, m_ui);
    dialog.open();
    EXPECT_EQ(dialog.layout(), SpreadsheetLayout::Tsv1);
    EXPECT_FALSE(dialog.tagInfo());
    EXPECT_TRUE(m_ui.beepSilenced());
    EXPECT_EQ(layoutLabel(SpreadsheetLayout::Html), "HTML Format");
    EXPECT_EQ(layoutLabel(SpreadsheetLayout::Csv1), "Comma Separated Value(1)");
}

}  // namespace
}  // namespace vellmora
