// The result commands from the window: each fills its list over the list the window shows and
// switches the view to it, and none starts while a search runs.

#include <gtest/gtest.h>
#include <algorithm>
#include <stdlib.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <filesystem>

#include "app/colloq_strength_dialog.h"
#include "app/main_frame.h"
#include "app/result_view.h"
#include "app/result_window.h"
#include "document/result_view_layout.h"
#include "settings/histories.h"
#include "settings/profile.h"
#include "tests/support/message_box_answerer.h"
#include "tests/support/qt_application.h"
#include "tests/support/search_dialog_answer.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

class ResultCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("PYXO_INI", profile.path().c_str(), 1);
        std::filesystem::create_directory(dir.file("corpus"));
        testing::writeFileBytes(dir.file("corpus/a.txt"),
                                "the zebra ran with a cat\na zebra slept alone\n"
                                "the zebra and the cat sat\nzebra crossing\n");
    }
    void TearDown() override { unsetenv("PYXO_INI"); }

    /// Runs command, pressing OK in the dialog it opens (if any) as it stands; a dialog that
    /// refuses OK fails the test instead of waiting.
    void confirmed(CommandId command, const QString& keyword = {}) {
        QTimer::singleShot(0, [keyword] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr || qobject_cast<QMessageBox*>(dialog)) return;
            if (!keyword.isEmpty())
                for (QComboBox* box : dialog->findChildren<QComboBox*>())
                    if (box->isEditable()) box->setCurrentText(keyword);
            dialog->accept();
            if (dialog->isVisible()) {
                ADD_FAILURE() << dialog->metaObject()->className() << " refused OK";
                dialog->reject();
            }
        });
        frame.action(command)->trigger();
    }

    QApplication& application = testing::application();
    testing::TempDir dir;
    Profile profile{dir.file("pyxo.ini")};
    Histories histories;
    CMainFrame frame{profile, histories};
};

TEST_F(ResultCommandsTest, AChainOfCommandsFillsEachListAndShowsIt) {
    testing::MessageBoxAnswerer answerer;
    ResultWindow* window = frame.newResultWindow();
    CPyxoDoc& document = window->document();
    testing::answerSearchDialog("zebra", QString::fromStdString(dir.file("corpus")) + "/");
    frame.action(CommandId::KwicRange)->trigger();
    ASSERT_EQ(document.list(ResultKind::Original).count(), 5);  // a separator and four hits

    confirmed(CommandId::ExtractRange, "cat");
    EXPECT_EQ(document.displayedKind(), ResultKind::Extracted);
    const long extracted = document.list(ResultKind::Extracted).count();
    EXPECT_GT(extracted, 0);
    EXPECT_LT(extracted, 5);

    confirmed(CommandId::Sort);
    EXPECT_EQ(document.displayedKind(), ResultKind::Sorted);
    const long sorted = document.list(ResultKind::Sorted).count();
    EXPECT_GT(sorted, 0);
    EXPECT_LE(sorted, extracted);  // the hits, without the file separators
    // The status bar counts the search result and, beside it, the list now shown.
    const QString status = frame.findChild<QLabel*>("resultStatus")->text();
    EXPECT_TRUE(status.startsWith("PYXO1: 5 lines in the result; ")) << status.toStdString();
    const QString shown = sorted == 1 ? "1 line" : QString("%1 lines").arg(sorted);
    EXPECT_TRUE(status.endsWith(" " + shown + " shown.")) << status.toStdString();

    confirmed(CommandId::Collocation);
    EXPECT_EQ(document.displayedKind(), ResultKind::Collocation);
    EXPECT_GT(document.list(ResultKind::Collocation).count(), 0);

    confirmed(CommandId::Convert);
    EXPECT_EQ(document.displayedKind(), ResultKind::Spreadsheet);
    EXPECT_EQ(window->view().tableMode(), TableMode::Spreadsheet);
    EXPECT_TRUE(window->windowTitle().contains("lines"));

    // "Previous result" goes back to the search result; the derived lists stay.
    frame.updateCommandStates();
    frame.action(CommandId::PreviousResult)->trigger();
    EXPECT_EQ(document.displayedKind(), ResultKind::Original);
    EXPECT_EQ(document.list(ResultKind::Sorted).count(), sorted);
    EXPECT_FALSE(frame.searchFlags().running);
}

TEST_F(ResultCommandsTest, TheTablesAndTheColumnSortFillTheirListsToo) {
    testing::MessageBoxAnswerer answerer;
    ResultWindow* window = frame.newResultWindow();
    CPyxoDoc& document = window->document();
    testing::answerSearchDialog("zebra", QString::fromStdString(dir.file("corpus")) + "/");
    frame.action(CommandId::KwicRange)->trigger();

    frame.action(CommandId::CollocationTable)->trigger();  // no dialog
    EXPECT_EQ(document.displayedKind(), ResultKind::Collocation);
    EXPECT_EQ(window->view().tableMode(), TableMode::Collocation);
    const long table = document.list(ResultKind::Collocation).count();
    EXPECT_GT(table, 0);

    // The extended table reads the corpus of the last search, as the settings file holds it.
    confirmed(CommandId::ExtendedCollocation);
    EXPECT_EQ(document.displayedKind(), ResultKind::Collocation);
    EXPECT_NE(document.list(ResultKind::Collocation).count(), 0);

    // The strength table against the same corpus.
    profile.writeString("ColloqStrength", "MinFreq", "2");
    confirmed(CommandId::CollocationStrength);
    EXPECT_EQ(window->view().tableMode(), TableMode::Collocation);
    const CExStringList& list = document.list(ResultKind::Collocation);
    const std::vector<std::string> strength(list.begin(), list.end());
    ASSERT_GE(strength.size(), 2u);
    EXPECT_EQ(strength[0].substr(0, 10), "Word\tFreq\t");
    EXPECT_EQ(std::count(strength[1].begin(), strength[1].end(), '\t'), 8);  // nine columns

    // A span with no word keeps the dialog open: the command neither stores nor runs.
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CColloqStrengthDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->spanFrom()->setCurrentText("R3");
        dialog->spanTo()->setCurrentText("L1");
        dialog->accept();
        EXPECT_TRUE(dialog->isVisible());
        dialog->reject();
    });
    frame.action(CommandId::CollocationStrength)->trigger();
    EXPECT_EQ(profile.readString("ColloqStrength", "SpanFrom", ""), "-5");

    frame.action(CommandId::PreviousResult)->trigger();
    confirmed(CommandId::SortByColumn);
    EXPECT_EQ(document.displayedKind(), ResultKind::Sorted);
    EXPECT_EQ(document.list(ResultKind::Sorted).count(), 4);
}

TEST_F(ResultCommandsTest, NoResultCommandStartsWhileASearchRuns) {
    std::string text;
    for (int i = 0; i < 2000; ++i) text += "a striped zebra ran over the plain\n";
    for (int i = 0; i < 300; ++i)
        testing::writeFileBytes(dir.file("corpus/f" + std::to_string(1000 + i) + ".txt"), text);
    testing::MessageBoxAnswerer answerer;
    ResultWindow* window = frame.newResultWindow();
    ResultWindow* other = frame.newResultWindow();
    frame.action(CommandId::NextWindow)->trigger();  // back to the first
    ASSERT_EQ(frame.activeResultWindow(), window);
    auto* poll = new QTimer(&frame);
    QObject::connect(poll, &QTimer::timeout, [&] {
        if (!window->windowTitle().endsWith("<<Now Searching...>>")) return;
        poll->stop();
        // Another window's result commands wait for the search too.
        frame.action(CommandId::NextWindow)->trigger();
        for (CommandId command : {CommandId::Sort, CommandId::Collocation, CommandId::Convert,
                                  CommandId::SortByColumn})
            frame.action(command)->trigger();
        frame.action(CommandId::QuitSearch)->trigger();
    });
    poll->start(1);
    testing::answerSearchDialog("zebra", QString::fromStdString(dir.file("corpus")) + "/");
    frame.action(CommandId::KwicRange)->trigger();
    EXPECT_EQ(answerer.texts().size(), 4) << answerer.texts().join("|").toStdString();
    // Each says it is busy, in its own words.
    for (const QString& text : answerer.texts())
        EXPECT_TRUE(text.startsWith("I'm busy now") || text.startsWith("Please wait"))
            << text.toStdString();
    EXPECT_EQ(other->document().list(ResultKind::Sorted).count(), 0);
    EXPECT_EQ(window->document().list(ResultKind::Collocation).count(), 0);
}

}  // namespace
}  // namespace vellmora
