// The main window as a person drives it with several result windows open: which window a
// command acts on, which commands are offered, and where the windows go.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QComboBox>
#include <QLabel>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "app/main_frame.h"
#include "app/result_view.h"
#include "app/result_window.h"
#include "app/search_dialog.h"
#include "document/result_document.h"
#include "settings/histories.h"
#include "settings/profile.h"
#include "tests/support/message_box_answerer.h"
#include "tests/support/qt_application.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

class WindowCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("PYXO_INI", profile.path().c_str(), 1);
        frame.resize(1000, 700);
        frame.show();
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    }
    void TearDown() override { unsetenv("PYXO_INI"); }

    /// A window holding a KWIC result of two lines.
    ResultWindow* windowWithResult() {
        ResultWindow* window = frame.newResultWindow();
        window->document().addSearchLine("-----[ a.txt ]-----", 100);
        window->document().addSearchLine("      1 | the cat sat", 100);
        window->searchState().resultState = 1;
        window->searchState().resultKind = 1;
        window->document().snapshot().searchKind = 1;
        window->view().updateFromDocument();
        frame.updateCommandStates();
        return window;
    }

    static long lines(ResultWindow* window) {
        return window->document().list(ResultKind::Original).count();
    }

    /// What happens when a running box, a message or another program takes the focus: the
    /// main window is no longer active, and its area may let go of its active window.
    void focusLeavesTheMainWindow() {
        elsewhere.setText("I'm searching ...");
        elsewhere.setModal(false);
        elsewhere.show();
        elsewhere.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
        qobject_cast<QMdiArea*>(frame.centralWidget())->setActiveSubWindow(nullptr);
    }

    QApplication& application = testing::application();
    /// Runs "KWIC Search(Range)" in the active window for keyword over the files of corpus/.
    void searchFromTheWindow(const QString& keyword) {
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<CSearchDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->keyword1()->setCurrentText(keyword);
            dialog->filename()->setCurrentText("*.txt");
            dialog->directory()->setCurrentText(QString::fromStdString(dir.file("corpus")) + "/");
            dialog->accept();
        });
        frame.action(CommandId::KwicRange)->trigger();
    }

    testing::TempDir dir;
    Profile profile{dir.file("pyxo.ini")};
    Histories histories;
    CMainFrame frame{profile, histories};
    QMessageBox elsewhere;
};

TEST_F(WindowCommandsTest, CommandsActOnTheWindowTheUserActivatedLast) {
    ResultWindow* first = windowWithResult();
    ResultWindow* second = windowWithResult();

    // By keyboard: F6 goes from the newest window on to the first.
    QTest::keyClick(&frame, Qt::Key_F6);
    ASSERT_EQ(frame.activeResultWindow(), first);
    focusLeavesTheMainWindow();
    EXPECT_EQ(frame.activeResultWindow(), first);
    frame.action(CommandId::ClearResult)->trigger();
    EXPECT_EQ(lines(first), 0);
    EXPECT_EQ(lines(second), 2);

    // F6 pressed while the focus is elsewhere still steps from the window the user sees as
    // active, not from the first one.
    QTest::keyClick(&elsewhere, Qt::Key_F6);
    EXPECT_EQ(frame.activeResultWindow(), second);
    QTest::keyClick(&elsewhere, Qt::Key_F6, Qt::ControlModifier);
    EXPECT_EQ(frame.activeResultWindow(), first);

    // By mouse: a click in the second window's lines.
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    QTest::mouseClick(second->view().viewport(), Qt::LeftButton);
    ASSERT_EQ(frame.activeResultWindow(), second);
    focusLeavesTheMainWindow();
    frame.action(CommandId::PrepareToAdd)->trigger();
    EXPECT_EQ(second->searchState().resultState, 0);
    frame.action(CommandId::ClearResult)->trigger();
    EXPECT_EQ(lines(second), 0);
}

TEST_F(WindowCommandsTest, AResultCutShortByTheLineLimitSaysSoInTitleAndStatusBar) {
    std::filesystem::create_directory(dir.file("corpus"));
    std::string text;
    for (int i = 0; i < 20; ++i) text += "a zebra ran\n";
    testing::writeFileBytes(dir.file("corpus/a.txt"), text);
    profile.writeString("Options", "MaxLine", "5");
    profile.flush();
    testing::MessageBoxAnswerer answerer;
    ResultWindow* window = frame.newResultWindow();
    searchFromTheWindow("zebra");
    ASSERT_EQ(window->document().list(ResultKind::Original).count(), 5);
    EXPECT_EQ(window->windowTitle(), "PYXO1 - zebra - 5 lines (incomplete)");
    const QString status = window->statusText();
    EXPECT_TRUE(status.contains("5 lines found; the result is incomplete")) << status.toStdString();
    EXPECT_TRUE(status.contains("MaxLine 5")) << status.toStdString();
    frame.updateCommandStates();
    EXPECT_TRUE(frame.statusBar()->isVisible());
    EXPECT_EQ(frame.findChild<QLabel*>("resultStatus")->text(), status);

    // A whole result says nothing of the kind; clearing forgets the cut.
    profile.writeString("Options", "MaxLine", "100");
    profile.flush();
    frame.action(CommandId::ClearResult)->trigger();
    EXPECT_EQ(window->windowTitle(), "PYXO1");
    searchFromTheWindow("zebra");
    EXPECT_EQ(window->windowTitle(), "PYXO1 - zebra - 21 lines");
    EXPECT_FALSE(window->statusText().contains("incomplete"));
}

}  // namespace
}  // namespace vellmora
