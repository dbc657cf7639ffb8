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
#include <QContextMenuEvent>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>
#include <QLabel>
#include <QCheckBox>
#include <QLineEdit>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <set>

#include "app/main_frame.h"
#include "app/result_view.h"
#include "app/result_window.h"
#include "app/search_dialog.h"
#include "app/shell_dialogs.h"
#include "document/formatted_file.h"
#include "document/result_document.h"
#include "platform/recording_user_interface.h"
#include "settings/histories.h"
#include "settings/profile.h"
#include "tests/support/message_box_answerer.h"
#include "tests/support/qt_application.h"
#include "tests/support/search_dialog_answer.h"
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
        testing::answerSearchDialog(keyword, QString::fromStdString(dir.file("corpus")) + "/");
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
    EXPECT_TRUE(status.contains("5 lines in the result; the result is incomplete")) << status.toStdString();
    EXPECT_TRUE(status.contains("MaxLine 5")) << status.toStdString();
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

TEST_F(WindowCommandsTest, ACopyCutByTheClipboardSizeSaysHowMuchItHolds) {
    ResultWindow* window = windowWithResult();  // 20 and 23 bytes with their line ends
    profile.writeString("Setting", "ClipCopySize", "30");
    profile.flush();
    testing::MessageBoxAnswerer answerer;
    frame.action(CommandId::Copy)->trigger();
    EXPECT_EQ(answerer.texts(), QStringList{"Finished!"});  // its own message stays as it is
    EXPECT_EQ(window->windowTitle(),
              "PYXO1 - 2 lines - the clipboard holds 1 line of 2 lines (ClipCopySize)");
    EXPECT_TRUE(frame.findChild<QLabel*>("resultStatus")->text().contains("holds 1 line of 2"));

    profile.writeString("Setting", "ClipCopySize", "0");  // the whole list
    profile.flush();
    frame.action(CommandId::Copy)->trigger();
    EXPECT_EQ(window->windowTitle(), "PYXO1 - 2 lines");
}

/// The entry of the context menu (or one of its submenus) with this text.
QAction* contextEntry(QMenu* menu, const QString& text) {
    for (QAction* entry : menu->actions()) {
        if (entry->text() == text) return entry;
        if (entry->menu() != nullptr)
            if (QAction* inner = contextEntry(entry->menu(), text)) return inner;
    }
    return nullptr;
}

/// How dark the darkest ink of an icon is drawn in a mode (0 white, 255 black).
int inkDarkness(const QIcon& icon, QIcon::Mode mode) {
    const QImage image = icon.pixmap(QSize(32, 32), mode).toImage();
    int darkest = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (const QColor colour = image.pixelColor(x, y); colour.alpha() > 128)
                darkest = std::max(darkest, 255 - colour.lightness());
    return darkest;
}

TEST_F(WindowCommandsTest, MenuToolbarAndContextMenuOfferACommandTogether) {
    ResultWindow* empty = frame.newResultWindow();
    ResultWindow* holding = windowWithResult();
    QAction* kwic = frame.action(CommandId::KwicRange);
    QToolBar* toolbar = frame.findChild<QToolBar*>("toolbar1");
    ASSERT_NE(toolbar, nullptr);
    QWidget* button = toolbar->widgetForAction(kwic);
    QAction* entry = contextEntry(frame.contextMenu(), "KWIC Search(Range)");
    ASSERT_NE(button, nullptr);
    ASSERT_NE(entry, nullptr);

    // A window holding a result takes no new search until it is prepared for adding.
    EXPECT_FALSE(kwic->isEnabled());
    EXPECT_FALSE(button->isEnabled());
    EXPECT_FALSE(entry->isEnabled());
    // A disabled button must look it: its icon is drawn clearly lighter.
    EXPECT_GT(inkDarkness(kwic->icon(), QIcon::Normal),
              inkDarkness(kwic->icon(), QIcon::Disabled) + 60);

    frame.action(CommandId::PrepareToAdd)->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(kwic->isEnabled());
    EXPECT_TRUE(button->isEnabled());
    EXPECT_TRUE(entry->isEnabled());

    // A right click in another window makes it the active one before its menu is offered.
    holding->searchState().resultState = 1;
    frame.updateCommandStates();
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(10, 10), QPoint(10, 10));
    QApplication::sendEvent(empty->view().viewport(), &click);
    frame.contextMenu()->close();
    EXPECT_EQ(frame.activeResultWindow(), empty);
    EXPECT_TRUE(entry->isEnabled());
    QApplication::sendEvent(holding->view().viewport(), &click);
    frame.contextMenu()->close();
    EXPECT_EQ(frame.activeResultWindow(), holding);
    EXPECT_FALSE(entry->isEnabled());
}

TEST_F(WindowCommandsTest, WindowsStayInsideTheAreaAndTheArrangementsDiffer) {
    const QSize area = frame.centralWidget()->size();
    std::vector<ResultWindow*> windows;
    for (int i = 0; i < 6; ++i) windows.push_back(frame.newResultWindow());
    auto place = [](ResultWindow* window) { return window->parentWidget()->geometry(); };
    const QRect inside(QPoint(0, 0), area);
    for (ResultWindow* window : windows) EXPECT_TRUE(inside.contains(place(window)));

    frame.action(CommandId::Cascade)->trigger();
    std::set<int> tops;
    for (ResultWindow* window : windows) {
        const QRect at = place(window);
        EXPECT_TRUE(inside.contains(at));
        EXPECT_GE(at.width(), area.width() * 2 / 3 - 2);
        EXPECT_GE(at.height(), area.height() * 2 / 3 - 2);
        tops.insert(at.top());
    }
    EXPECT_GE(tops.size(), 3u);  // title bars one below another

    frame.action(CommandId::TileHorizontal)->trigger();
    for (ResultWindow* window : windows) {
        EXPECT_EQ(place(window).width(), area.width());
        EXPECT_LE(place(window).height(), area.height() / 6 + 1);
    }
    frame.action(CommandId::TileVertical)->trigger();
    for (ResultWindow* window : windows) {
        EXPECT_EQ(place(window).height(), area.height());
        EXPECT_LE(place(window).width(), area.width() / 6 + 1);
    }
}

TEST_F(WindowCommandsTest, TheMainWindowStartsOnMostOfTheScreen) {
    CMainFrame placed(profile, histories);
    placed.showAsPlaced();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_GE(placed.width(), screen.width() * 4 / 5);
    EXPECT_GE(placed.height(), screen.height() * 4 / 5);
    EXPECT_TRUE(screen.contains(placed.frameGeometry().center()));
}

TEST_F(WindowCommandsTest, HelpShowsInTheProgramAndTheBarsToggle) {
    frame.action(CommandId::HelpContents)->trigger();
    auto* help = frame.findChild<HelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_TRUE(help->plainText().contains("KWIC Search(Range)"));

    QToolBar* toolbar = frame.findChild<QToolBar*>("toolbar1");
    ASSERT_TRUE(toolbar->isVisible());
    frame.action(CommandId::Toolbar)->trigger();
    EXPECT_FALSE(toolbar->isVisible());
    EXPECT_FALSE(frame.action(CommandId::Toolbar)->isChecked());
    frame.action(CommandId::Toolbar)->trigger();
    EXPECT_TRUE(toolbar->isVisible());
    EXPECT_TRUE(frame.action(CommandId::Toolbar)->isChecked());

    ASSERT_TRUE(frame.statusBar()->isVisible());
    frame.action(CommandId::Statusbar)->trigger();
    EXPECT_FALSE(frame.statusBar()->isVisible());
    frame.action(CommandId::Statusbar)->trigger();
    EXPECT_TRUE(frame.statusBar()->isVisible());
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST_F(WindowCommandsTest, TextNeverGoesOverAFormattedFileUnasked) {
    CPyxoDoc saved("r");
    saved.addSearchLine("      1 | the cat sat", 100);
    RecordingUserInterface quiet;
    const std::string formatted = dir.file("test.vm2");
    ASSERT_TRUE(writeFormattedFile(saved, formatted, quiet));
    const std::string disguised = dir.file("results.dat");  // a formatted file by its content
    ASSERT_TRUE(writeFormattedFile(saved, disguised, quiet));
    const std::string original = fileBytes(formatted);
    ResultWindow* window = frame.openFormattedFile(QString::fromStdString(formatted));
    ASSERT_NE(window, nullptr);

    // The name offered is the formatted file's with ".txt"; saving as offered keeps it.
    QStringList offered;
    QStringList answers;
    frame.setSaveNameChooser([&](const QString& start, const QString&) {
        offered << start;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    });
    answers << QString::fromStdString(dir.file("test.txt"));
    frame.action(CommandId::SaveText)->trigger();
    ASSERT_EQ(offered.size(), 1);
    EXPECT_EQ(offered[0].toStdString(), dir.file("test.txt"));
    EXPECT_EQ(fileBytes(dir.file("test.txt")), "      1 | the cat sat\r\n");
    EXPECT_EQ(fileBytes(formatted), original);

    // Choosing a formatted file asks what will be lost; No offers the dialog again.
    for (const std::string& target : {formatted, disguised}) {
        testing::MessageBoxAnswerer no(QMessageBox::No);
        offered.clear();
        answers = {QString::fromStdString(target)};
        frame.action(CommandId::SaveTextAs)->trigger();
        ASSERT_EQ(no.texts().size(), 1);
        EXPECT_TRUE(no.texts()[0].contains("is a Vellmora formatted file")) << target;
        EXPECT_TRUE(no.texts()[0].contains("loses every result")) << target;
        EXPECT_EQ(offered.size(), 2);  // asked again, then given up
        EXPECT_EQ(fileBytes(target), original);
    }
    // Yes is the user's own choice: then the text goes there.
    testing::MessageBoxAnswerer yes(QMessageBox::Yes);
    answers = {QString::fromStdString(disguised)};
    frame.action(CommandId::SaveTextAs)->trigger();
    EXPECT_EQ(fileBytes(disguised), "      1 | the cat sat\r\n");

    // A formatted file named without an extension gets ".txt" added, not its own name offered.
    const std::string bare = dir.file("devil1");
    ASSERT_TRUE(writeFormattedFile(saved, bare, quiet));
    ASSERT_NE(frame.openFormattedFile(QString::fromStdString(bare)), nullptr);
    offered.clear();
    answers.clear();
    frame.action(CommandId::SaveText)->trigger();
    ASSERT_EQ(offered.size(), 1);
    EXPECT_EQ(offered[0].toStdString(), bare + ".txt");
}

TEST_F(WindowCommandsTest, PrintOptionsAreCheckedAsTheyAreLeftAndPrintNeedsLines) {
    RecordingUserInterface ui;
    PrintOptionDialogModel model(profile, ui);
    model.open();
    CPrintOptionDialog dialog(model);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QLineEdit* lines = dialog.field(PrintOptionField::Lines);
    lines->setFocus();
    lines->selectAll();
    QTest::keyClicks(lines, "-5");
    dialog.field(PrintOptionField::Offset)->setFocus();
    EXPECT_EQ(lines->text(), "30");
    dialog.field(PrintOptionField::Offset)->setText("21");
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Invalid value.(-_-X)",
                                                       std::string(kPrintOffsetMessage)}));
    EXPECT_EQ(dialog.field(PrintOptionField::Offset)->text(), "21");  // kept for correction
    dialog.field(PrintOptionField::Offset)->setText("20");
    dialog.pageNumber()->setChecked(true);
    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());
    Profile stored(profile.path());
    EXPECT_EQ(stored.readString("Print", "Offset", ""), "20");
    EXPECT_EQ(stored.readString("Print", "Line", ""), "30");
    EXPECT_EQ(stored.readString("Print", "PageNum", ""), "1");

    frame.newResultWindow();
    frame.updateCommandStates();
    EXPECT_FALSE(frame.action(CommandId::Print)->isEnabled());
    EXPECT_FALSE(frame.action(CommandId::Preview)->isEnabled());
    windowWithResult();
    EXPECT_TRUE(frame.action(CommandId::Print)->isEnabled());
    EXPECT_TRUE(frame.action(CommandId::PrinterSetting)->isEnabled());
}

TEST_F(WindowCommandsTest, ADoubleClickStartsTheEditorAtTheLineOfTheHit) {
    // A stand-in editor that writes down its arguments, one a line.
    const std::string record = dir.file("argv.txt");
    const std::string editor = dir.file("editor.sh");
    testing::writeFileBytes(editor, "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > '" +
                                        record + "'\n");
    std::filesystem::permissions(editor, std::filesystem::perms::owner_all);
    profile.writeString("TextEditor", "Executable", editor);
    profile.writeString("TextEditor", "CmdLine", "/J%R %F");
    profile.flush();
    ResultWindow* window = frame.newResultWindow();
    window->document().addSearchLine("-----[ /corpus/my texts/a.txt ]-----", 100);
    window->document().addSearchLine("    120 | the cat sat", 100);
    window->view().updateFromDocument();
    const int lineHeight = window->view().metrics().lineHeight;
    QTest::mouseDClick(window->view().viewport(), Qt::LeftButton, {},
                       QPoint(20, lineHeight + lineHeight / 2));
    for (int i = 0; i < 100 && !std::filesystem::exists(record); ++i) QTest::qWait(20);
    QTest::qWait(50);
    EXPECT_EQ(fileBytes(record), "/J120\n/corpus/my texts/a.txt\n");
}

TEST_F(WindowCommandsTest, SetTextEditorWiresItsPresetsAndTemplatesToTheModel) {
    RecordingUserInterface ui;
    SetEditorDialogModel model(profile, ui);
    model.open();
    CSetEditorDialog dialog(model);
    dialog.preset(2)->click();
    EXPECT_EQ(dialog.commandLine()->text(), "/J%R %F");
    dialog.preset(1)->click();
    EXPECT_FALSE(dialog.preset(2)->isChecked());
    dialog.preset(1)->click();
    EXPECT_EQ(dialog.commandLine()->text(), "");
    dialog.templates()->setCurrentIndex(6);  // kate
    emit dialog.templates()->activated(6);
    EXPECT_EQ(dialog.commandLine()->text(), "--line %R %F");
    dialog.executable()->setText("/usr/bin/kate");
    dialog.accept();
    EXPECT_EQ(Profile(profile.path()).readString("TextEditor", "CmdLine", ""), "--line %R %F");
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_TRUE(frame.action(CommandId::SetTextEditor)->isEnabled());
}

/// The button of the open modal dialog with text, or null.
QPushButton* modalButton(const QString& text) {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr) return nullptr;
    for (QPushButton* button : dialog->findChildren<QPushButton*>())
        if (button->text() == text) return button;
    return nullptr;
}

TEST_F(WindowCommandsTest, LauncherSlotsStartFromTheContextMenuTheToolbarAndTheLauncher) {
    // A program in a folder with a blank that writes down its arguments, one a line.
    std::filesystem::create_directory(dir.file("my tools"));
    const std::string program = dir.file("my tools/recorder");
    const std::string record = dir.file("argv.txt");
    testing::writeFileBytes(program, "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done >> '" +
                                         record + "'\n");
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    const auto recorded = [&](const std::string& expected) {
        for (int i = 0; i < 100 && fileBytes(record) != expected; ++i) QTest::qWait(20);
        return fileBytes(record);
    };
    profile.writeString("ExecPrograms", "ExecProg7", "seven");
    for (const auto& [slot, arguments] : {std::pair{"ExecProg1", "-x \"a b\""},
                                          std::pair{"ExecProg7", "seven"}}) {
        profile.writeString(slot, "File", program);
        profile.writeString(slot, "CmdLine", arguments);
    }

    QMenu* execute = nullptr;
    for (QAction* entry : frame.contextMenu()->actions())
        if (entry->text() == "Execute") execute = entry->menu();
    ASSERT_NE(execute, nullptr);
    for (QAction* entry : execute->actions())
        if (entry->text() == "No. 1") entry->trigger();
    EXPECT_EQ(recorded("-x\na b\n"), "-x\na b\n");
    auto* secondBar = frame.findChild<QToolBar*>("toolbar2");
    secondBar->show();
    QTest::mouseClick(secondBar->widgetForAction(frame.action(CommandId::LaunchSlot1)),
                      Qt::LeftButton);
    EXPECT_EQ(recorded("-x\na b\n-x\na b\n"), "-x\na b\n-x\na b\n");

    // An empty slot opens its entry dialog; what OK stores names the toolbar button.
    QTimer::singleShot(0, [&] {
        QWidget* entry = QApplication::activeModalWidget();
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->windowTitle(), "Regist an external program");
        entry->findChildren<QLineEdit*>()[1]->setText(QString::fromStdString(program));
        qobject_cast<QDialog*>(entry)->accept();
    });
    frame.action(CommandId::LaunchSlot2)->trigger();
    EXPECT_EQ(frame.action(CommandId::LaunchSlot2)->toolTip(), "No. 2: recorder");

    // "No.7" closes the launcher after the start, unless the option keeps it open.
    for (const bool noExit : {false, true}) {
        profile.writeInt("ExecPrograms", "NoExit", noExit ? 1 : 0);
        frame.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
        bool stayed = false;
        QTimer::singleShot(0, [&] {
            QWidget* launcher = QApplication::activeModalWidget();
            ASSERT_EQ(launcher->windowTitle(), "Launcher Menu");
            modalButton("No.7")->click();
            stayed = launcher->isVisible();
            if (stayed) modalButton("Cancel")->click();
        });
        QTest::keyClick(&frame, Qt::Key_F2);
        EXPECT_EQ(stayed, noExit);
    }
    const std::string all = "-x\na b\n-x\na b\nseven\nseven\n";
    EXPECT_EQ(recorded(all), all);
}

}  // namespace
}  // namespace vellmora
