// Searching from the desktop program: the word-group dialogs, the search over dropped files,
// and what the window does while a run is going on.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>

#include "app/main_frame.h"
#include "app/result_view.h"
#include "app/result_window.h"
#include "app/search_dialog.h"
#include "app/word_group_dialog.h"
#include "document/formatted_file.h"
#include "platform/recording_user_interface.h"
#include "settings/histories.h"
#include "settings/profile.h"
#include "settings/word_groups.h"
#include "tests/support/message_box_answerer.h"
#include "tests/support/qt_application.h"
#include "tests/support/search_dialog_answer.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

class SearchWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::application();
        setenv("PYXO_INI", profile.path().c_str(), 1);
        std::filesystem::create_directory(dir.file("corpus"));
    }
    void TearDown() override { unsetenv("PYXO_INI"); }

    /// count files of lines lines each, every line holding "zebra" once.
    QStringList writeCorpus(int count, int lines) {
        std::string text;
        for (int i = 0; i < lines; ++i) text += "a striped zebra ran over the plain\n";
        QStringList paths;
        for (int i = 0; i < count; ++i) {
            const std::string path = dir.file("corpus/f" + std::to_string(1000 + i) + ".txt");
            testing::writeFileBytes(path, text);
            paths << QString::fromStdString(path);
        }
        return paths;
    }

    /// Runs step once the search in window has begun its loop (the busy title shows).
    void whileSearching(ResultWindow* window, std::function<void()> step) {
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [window, poll, step] {
            if (!window->windowTitle().endsWith("<<Now Searching...>>")) return;
            poll->stop();
            poll->deleteLater();
            step();
        });
        poll->start(1);
    }

    /// Answers the search dialog with keyword over the corpus directory, once it shows.
    void answerSearchDialog(const QString& keyword) {
        testing::answerSearchDialog(keyword, QString::fromStdString(dir.file("corpus")) + "/");
    }

    testing::TempDir dir;
    Profile profile{dir.file("pyxo.ini")};
    Histories histories;
};

TEST_F(SearchWindowTest, TheSearchDialogChecksInOrderAndDefinesCorpusSets) {
    RecordingUserInterface ui;
    SearchDialogModel model(profile, ui, histories);
    model.open();
    CSearchDialog dialog(model);

    // Keyword first, then something to search in; the dialog stays open on each refusal.
    dialog.filename()->setCurrentText("");
    dialog.accept();
    dialog.keyword1()->setCurrentText("zebra");
    dialog.accept();
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"キーワードが指定されてません！",
                                                       "検索対象ファイルが指定されてません！"}));
    EXPECT_EQ(dialog.result(), 0);

    // An undefined set button defines the set from the fields through the "File Set" dialog
    // and takes its title; later it puts the set's fields back.
    const QString corpus = QString::fromStdString(dir.file("corpus")) + "/";
    dialog.filename()->setCurrentText("*.txt");
    dialog.directory()->setCurrentText(corpus);
    QPushButton* set1 = nullptr;
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == "=-=-=" && set1 == nullptr) set1 = button;
    ASSERT_NE(set1, nullptr);
    QTimer::singleShot(0, [] {
        auto* fileSet = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(fileSet, nullptr);
        fileSet->findChildren<QLineEdit*>().first()->setText("Stories");
        fileSet->accept();
    });
    set1->click();
    EXPECT_EQ(set1->text(), "Stories");
    dialog.directory()->setCurrentText("/elsewhere/");
    set1->click();
    EXPECT_EQ(dialog.directory()->currentText(), corpus);

    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Profile(profile.path()).readString("Setting", "Word1", ""), "0");
}

TEST_F(SearchWindowTest, TypingReplacesTheLastKeywordAndTheHistoryNeverRewritesIt) {
    profile.writeString("Setting", "Keyword1", "devil");
    profile.writeString("History", "Keyword1A", "devilry");
    profile.writeString("FileHistory", "DirectoryA", "/Data/Corpus/");
    profile.flush();
    histories.load(profile);
    RecordingUserInterface ui;
    SearchDialogModel model(profile, ui, histories);
    model.open();
    CSearchDialog dialog(model);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));

    QLineEdit* keyword = dialog.keyword1()->lineEdit();
    EXPECT_TRUE(dialog.keyword1()->hasFocus());
    EXPECT_EQ(keyword->selectedText(), "devil");
    QTest::keyClicks(keyword, "dev");
    EXPECT_EQ(keyword->text(), "dev");  // not "devildev", nor completed to "devilry"

    // A path typed fast keeps every byte and its case, whatever the history holds.
    QLineEdit* directory = dialog.directory()->lineEdit();
    directory->setFocus();
    directory->selectAll();
    QTest::keyClicks(directory, "/data/co/x/");
    EXPECT_EQ(directory->text(), "/data/co/x/");
    directory->selectAll();
    QTest::keyClicks(directory, "/Data/C");
    EXPECT_EQ(directory->text(), "/Data/C");
}

TEST_F(SearchWindowTest, TheWordGroupDialogStoresWordsAndNamesAsItGoes) {
    RecordingUserInterface ui;
    WordGroupDialogModel model(profile, ui);
    model.open();
    CWordGroupDialog dialog(model);

    // Enter takes both fields: the word joins the list, the name becomes its group.
    dialog.wordField()->setText("cat");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&dialog, &enter);
    dialog.wordField()->setText("dog");
    dialog.nameField()->setText("animals");
    QApplication::sendEvent(&dialog, &enter);
    EXPECT_EQ(dialog.nameList()->count(), 1);
    EXPECT_EQ(dialog.wordList()->count(), 0);
    EXPECT_EQ(readGroupWords(profile, "animals"), (std::vector<std::string>{"cat", "dog"}));
    EXPECT_TRUE(dialog.wordField()->text().isEmpty());

    // A double click selects the group; "Add" refuses a word it already lists.
    QListWidgetItem* animals = dialog.nameList()->item(0);
    dialog.nameList()->setCurrentItem(animals);
    emit dialog.nameList()->itemDoubleClicked(animals);
    ASSERT_EQ(dialog.wordList()->count(), 2);
    dialog.wordField()->setText("cat");
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == "Add" && button->parentWidget() == dialog.wordList()->parentWidget())
            button->click();
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Already registered. :-D"});
    EXPECT_EQ(dialog.wordList()->count(), 2);

    dialog.accept();
    EXPECT_EQ(Profile(profile.path()).readString("WordGroupNames", "Name", ""), "animals|");
}

TEST_F(SearchWindowTest, TheGroupChooserNeedsAGroupWithWords) {
    writeGroupNames(profile, {"empty", "pets"}, NameChunkWrite::All);
    writeGroupWords(profile, "pets", {"cat", "dog"});
    RecordingUserInterface ui;
    GroupChooserModel model(profile, ui);
    model.open();
    GroupChooserDialog dialog(model);
    EXPECT_EQ(dialog.windowTitle(), "List of Word Group");

    dialog.accept();
    dialog.nameList()->setCurrentRow(0);
    dialog.accept();
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{"Any group is not selected! X-<", "There's no CONTENT!"}));
    EXPECT_EQ(dialog.result(), 0);
    dialog.nameList()->setCurrentRow(1);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(model.selectedGroup(), "pets");
}

TEST_F(SearchWindowTest, FilesDroppedOnAViewAreSearchedAndFormattedFilesOpen) {
    const QStringList corpus = writeCorpus(2, 3);
    CPyxoDoc saved("r");
    saved.addSearchLine("      1 | kept", 100);
    RecordingUserInterface quiet;
    const std::string formatted = dir.file("r.vm2");
    ASSERT_TRUE(writeFormattedFile(saved, formatted, quiet));

    CMainFrame frame(profile, histories);
    ResultWindow* window = frame.newResultWindow();
    QString caption;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<DropSearchDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        caption = dialog->windowTitle();
        dialog->keyword1()->setText("zebra");
        dialog->accept();
    });
    emit window->view().filesDropped(QStringList{corpus[0], QString::fromStdString(formatted),
                                                 corpus[1]});
    EXPECT_EQ(caption, "D&D KWIC Search");
    EXPECT_EQ(frame.resultWindows().size(), 2u);
    // Two separators and three hits in each dropped text file.
    EXPECT_EQ(window->document().list(ResultKind::Original).count(), 8);
    EXPECT_EQ(window->document().snapshot().keyword1, "zebra");
    EXPECT_EQ(Profile(profile.path()).readString("Setting", "Group1", ""), "0");
}

TEST_F(SearchWindowTest, WhileARunGoesOnTheWindowRefusesChangesAndQuitSearchStopsIt) {
    writeCorpus(300, 2000);
    CMainFrame frame(profile, histories);
    ResultWindow* window = frame.newResultWindow();
    testing::MessageBoxAnswerer answerer;
    bool quitEnabled = false;
    bool boxShown = false;
    whileSearching(window, [&] {
        quitEnabled = frame.action(CommandId::QuitSearch)->isEnabled();
        frame.action(CommandId::PrepareToAdd)->trigger();
        frame.action(CommandId::ClearResult)->trigger();
        // The running box's own "Quit Search" stops the run.
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            if (box == nullptr || box->text() != "I'm searching ..." || !box->isVisible()) continue;
            boxShown = true;
            box->buttons().first()->click();
        }
    });
    answerSearchDialog("zebra");
    frame.action(CommandId::KwicRange)->trigger();

    EXPECT_TRUE(quitEnabled);
    EXPECT_TRUE(boxShown);
    EXPECT_EQ(answerer.texts(),
              (QStringList{"I'm busy now. Please wait...", "I'm busy now. Please wait..."}));
    EXPECT_FALSE(frame.searchFlags().running);
    // Stopped well before the 600,000 hits of the whole corpus; what was found stays.
    const std::int64_t lines = window->document().list(ResultKind::Original).count();
    EXPECT_GT(lines, 0);
    EXPECT_LT(lines, 300 * 2001);
    // The title and the status bar say how much was kept and that it is not everything.
    EXPECT_EQ(window->windowTitle(),
              "PYXO1 - zebra - " + QLocale(QLocale::English).toString(qlonglong(lines)) +
                  " lines (incomplete)");
    EXPECT_TRUE(window->statusText().contains("the search was quit")) << window->statusText().toStdString();
}

TEST_F(SearchWindowTest, BreakDuringARunAnsweredNoQuitsItAndSavesNothing) {
    writeCorpus(300, 2000);
    CMainFrame frame(profile, histories);
    ResultWindow* window = frame.newResultWindow();
    testing::MessageBoxAnswerer answerer(QMessageBox::No);
    whileSearching(window, [&] { frame.action(CommandId::Break)->trigger(); });
    answerSearchDialog("zebra");
    frame.action(CommandId::KwicRange)->trigger();

    EXPECT_EQ(answerer.texts(), QStringList{"I'm searching. Do you want to continue?"});
    EXPECT_LT(window->document().list(ResultKind::Original).count(), 300 * 2001);
    EXPECT_TRUE(window->document().filePath().empty());
}

}  // namespace
}  // namespace vellmora
