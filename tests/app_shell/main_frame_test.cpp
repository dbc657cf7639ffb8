#include "app/main_frame.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenuBar>
#include <QTimer>

#include <filesystem>

#include "app/result_window.h"
#include "app/search_dialog.h"
#include "document/formatted_file.h"
#include "document/result_document.h"
#include "platform/recording_user_interface.h"
#include "settings/histories.h"
#include "settings/profile.h"
#include "tests/support/temp_dir.h"
#include "tests/support/qt_application.h"

namespace vellmora {
namespace {

QStringList visibleMenus(QMainWindow& window) {
    QStringList titles;
    for (QAction* entry : window.menuBar()->actions())
        if (entry->isVisible()) titles << entry->text();
    return titles;
}

class MainFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::application();
        setenv("PYXO_INI", profile.path().c_str(), 1);
    }
    void TearDown() override { unsetenv("PYXO_INI"); }

    /// A formatted file with an English and a Japanese line and an extracted result.
    std::string formattedFile() {
        CPyxoDoc document("r");
        document.addSearchLine("-----[ a.txt ]-----", 100);
        document.addSearchLine("      1 | the cat sat", 100);
        document.addExtractedLine("      1 | the cat sat\r\n");
        document.snapshot().searchKind = 1;
        RecordingUserInterface ui;
        const std::string path = dir.file("r.vm2");
        EXPECT_TRUE(writeFormattedFile(document, path, ui));
        return path;
    }

    testing::TempDir dir;
    Profile profile{dir.file("pyxo.ini")};
    Histories histories;
};

TEST_F(MainFrameTest, TheShortMenuBarShowsUntilAResultWindowOpens) {
    CMainFrame frame(profile, histories);
    EXPECT_FALSE(frame.fullMenuBarShown());
    EXPECT_EQ(visibleMenus(frame), (QStringList{"&File", "Font", "Display(&V)", "&Help", "Otros"}));
    ResultWindow* window = frame.newResultWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(frame.fullMenuBarShown());
    EXPECT_EQ(visibleMenus(frame),
              (QStringList{"&File", "&Edit", "&View", "&KWIC", "&Options", "Fo&nt", "KWO&C",
                           "&Data", "&Tools", "&Windows", "&Help", "O&tros"}));
}

TEST_F(MainFrameTest, CommandsFollowTheActiveDocument) {
    CMainFrame frame(profile, histories);
    frame.newResultWindow();
    frame.updateCommandStates();
    // An empty window: no kind to show, nothing to save; Undo, Cut and Paste never.
    EXPECT_FALSE(frame.action(CommandId::ShowOriginal)->isEnabled());
    EXPECT_FALSE(frame.action(CommandId::SaveText)->isEnabled());
    EXPECT_FALSE(frame.action(CommandId::Undo)->isEnabled());
    EXPECT_FALSE(frame.action(CommandId::Paste)->isEnabled());
    EXPECT_EQ(frame.action(CommandId::Undo)->shortcuts().size(), 2);

    ResultWindow* opened = frame.openFormattedFile(QString::fromStdString(formattedFile()));
    ASSERT_NE(opened, nullptr);
    frame.updateCommandStates();
    EXPECT_TRUE(frame.action(CommandId::ShowOriginal)->isEnabled());
    EXPECT_TRUE(frame.action(CommandId::ShowExtracted)->isEnabled());
    EXPECT_FALSE(frame.action(CommandId::ShowSorted)->isEnabled());
    EXPECT_TRUE(frame.action(CommandId::SaveText)->isEnabled());
    EXPECT_TRUE(frame.action(CommandId::Break)->isEnabled());

    frame.action(CommandId::ShowExtracted)->trigger();
    EXPECT_EQ(opened->document().displayedKind(), ResultKind::Extracted);
    frame.action(CommandId::PreviousResult)->trigger();
    EXPECT_EQ(opened->document().displayedKind(), ResultKind::Original);
    EXPECT_EQ(opened->windowTitle(), "r.vm2 - 2 lines");
}

TEST_F(MainFrameTest, OpenedFilesAreRememberedMostRecentFirst) {
    CMainFrame frame(profile, histories);
    const std::string path = formattedFile();
    ASSERT_NE(frame.openFormattedFile(QString::fromStdString(path)), nullptr);
    Profile stored(profile.path());
    EXPECT_EQ(stored.readString("Recent File List", "File1", ""), path);
}


TEST_F(MainFrameTest, AKwicSearchFromTheWindowFillsItsView) {
    std::filesystem::create_directory(dir.file("corpus"));
    testing::writeFileBytes(dir.file("corpus/a.txt"), "the zebra ran\nno stripes\na zebra slept\n");
    CMainFrame frame(profile, histories);
    ResultWindow* window = frame.newResultWindow();
    frame.updateCommandStates();
    ASSERT_TRUE(frame.action(CommandId::KwicRange)->isEnabled());

    // The dialog is modal: fill it and press "Search!" once it shows.
    bool dialogSeen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<CSearchDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialogSeen = true;
        dialog->keyword1()->setCurrentText("zebra");
        dialog->filename()->setCurrentText("*.txt");
        dialog->directory()->setCurrentText(QString::fromStdString(dir.file("corpus")) + "/");
        dialog->accept();
    });
    frame.action(CommandId::KwicRange)->trigger();
    EXPECT_TRUE(dialogSeen);
    const CExStringList& lines = window->document().list(ResultKind::Original);
    EXPECT_EQ(lines.count(), 3);  // the separator and two hits
    EXPECT_EQ(window->searchState().resultKind, 1);
    EXPECT_EQ(window->document().snapshot().keyword1, "zebra");
    EXPECT_FALSE(frame.searchFlags().running);
    EXPECT_FALSE(frame.action(CommandId::QuitSearch)->isEnabled());
    // The window now holds a result: another search must be prepared for first.
    EXPECT_FALSE(frame.action(CommandId::KwicRange)->isEnabled());
    Profile stored(profile.path());
    EXPECT_EQ(stored.readString("Setting", "Keyword1", ""), "zebra");

    // "Prepare to add result" lets the next search append; "Clear result" empties the window.
    frame.action(CommandId::PrepareToAdd)->trigger();
    EXPECT_TRUE(frame.action(CommandId::KwicRange)->isEnabled());
    frame.action(CommandId::ClearResult)->trigger();
    EXPECT_EQ(lines.count(), 0);
    EXPECT_EQ(window->searchState().resultKind, 0);
    EXPECT_FALSE(frame.action(CommandId::ShowOriginal)->isEnabled());
}


TEST_F(MainFrameTest, ClosingTheLastWindowBringsBackTheShortBar) {
    CMainFrame frame(profile, histories);
    frame.show();
    frame.newResultWindow();
    frame.newResultWindow();
    frame.action(CommandId::Close)->trigger();
    QApplication::processEvents();
    EXPECT_EQ(frame.resultWindows().size(), 1u);
    EXPECT_TRUE(frame.fullMenuBarShown());
    frame.action(CommandId::Close)->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(frame.resultWindows().empty());
    EXPECT_FALSE(frame.fullMenuBarShown());
}

}  // namespace
}  // namespace vellmora
