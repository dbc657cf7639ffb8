// The positioned and KWOC searches from the window: their dialogs over their models, the
// runs in a view, and the rule that KWIC and KWOC lines never share a window.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
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
#include "platform/recording_user_interface.h"
#include "settings/histories.h"
#include "settings/profile.h"
#include "tests/support/message_box_answerer.h"
#include "tests/support/qt_application.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

class MoreSearchesTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("PYXO_INI", profile.path().c_str(), 1);
        std::filesystem::create_directory(dir.file("corpus"));
        testing::writeFileBytes(dir.file("corpus/a.txt"),
                                "the cat sat down\nthe cat then sat\na dog alone\n"
                                "the cat and the dog\n");
    }
    void TearDown() override { unsetenv("PYXO_INI"); }

    QString corpus() const { return QString::fromStdString(dir.file("corpus")) + "/"; }

    /// Once the modal dialog of type Dialog shows, step fills it; then "Search!".
    template <class Dialog>
    void answer(std::function<void(Dialog&)> step) {
        QTimer::singleShot(0, [this, step] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->filename()->setCurrentText("*.txt");
            dialog->directory()->setCurrentText(corpus());
            step(*dialog);
            dialog->accept();
        });
    }

    static QStringList lines(ResultWindow* window) {
        QStringList shown;
        for (const std::string& line : window->document().list(ResultKind::Original))
            shown << QString::fromStdString(line).trimmed();
        return shown;
    }

    QApplication& application = testing::application();
    testing::TempDir dir;
    Profile profile{dir.file("pyxo.ini")};
    Histories histories;
};

TEST_F(MoreSearchesTest, ThePositionedDialogChecksInOrderAndStoresItsPositions) {
    RecordingUserInterface ui;
    PositionedDialogModel model(profile, ui, histories);
    model.open();
    CPositionedDialog dialog(model);
    EXPECT_EQ(dialog.windowTitle(), "KWIC Search(POSITION)");
    dialog.filename()->setCurrentText("");
    dialog.accept();  // no keyword
    dialog.keyword1()->setCurrentText("cat");
    dialog.accept();  // nothing to search in
    dialog.filename()->setCurrentText("*.txt");
    dialog.directory()->setCurrentText(corpus());
    dialog.keyword2()->setCurrentText("sat");
    dialog.accept();  // keyword 2 at no position
    EXPECT_TRUE(dialog.keyword2()->hasFocus() || !dialog.isVisible());
    dialog.filename()->setCurrentText("old.vm2");
    dialog.positionBox(1)->setChecked(true);
    dialog.accept();  // a formatted file is no corpus
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{"キーワードが指定されてません！",
                                        "検索対象ファイルが指定されてません！",
                                        "第２キーワードの位置が指定されていません！(-_-ﾒ)",
                                        "そのファイルはここでは使えません"}));
    EXPECT_EQ(dialog.result(), 0);

    dialog.filename()->setCurrentText("*.txt");
    dialog.positionBox(-2)->setChecked(true);
    dialog.sentenceFinal()->setChecked(true);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    Profile stored(profile.path());
    EXPECT_EQ(stored.readString("PositionedKwic", "pos1", ""), "1");
    EXPECT_EQ(stored.readString("PositionedKwic", "prev2", ""), "1");
    EXPECT_EQ(stored.readString("PositionedKwic", "kw1pos", ""), "0");
    EXPECT_EQ(stored.readString("PositionedKwic", "Bummatsu", ""), "1");
}

TEST_F(MoreSearchesTest, KwocOptionsAreCheckedWhileEditingAndOnOk) {
    testing::MessageBoxAnswerer answerer(QMessageBox::Ok);
    RecordingUserInterface quiet;
    KwocOptionDialogModel model(profile, quiet);
    model.open();
    CKwocOptionDialog dialog(model);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QLineEdit* before = dialog.field(KwocContextField::Before);
    before->setFocus();
    before->selectAll();
    QTest::keyClicks(before, "7");
    dialog.field(KwocContextField::After)->setFocus();  // leaving the field checks it
    dialog.accept();                                     // and OK again
    EXPECT_EQ(quiet.messages(),
              (std::vector<std::string>{"Available range is 0-5.", "Available range is 0-5."}));
    EXPECT_EQ(dialog.result(), 0);

    before->setText("2");
    before->setModified(true);
    // Ticking the separator with context lines asks; OK there sets both counts to 0.
    quiet.answerNext(Answer::Ok);
    dialog.separatorOfFiles()->click();
    EXPECT_EQ(quiet.messages().back(), "Set options not to output context?");
    EXPECT_TRUE(dialog.separatorOfFiles()->isChecked());
    EXPECT_EQ(before->text(), "0");
    before->setText("3");
    dialog.separatorOfFiles()->setChecked(false);
    model.setSeparatorOfFiles(false);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    Profile stored(profile.path());
    EXPECT_EQ(stored.readString("KWOCOptions", "ContextMae", ""), "3");
    EXPECT_EQ(stored.readString("KWOCOptions", "SepMatched", ""), "0");
}

TEST_F(MoreSearchesTest, SearchesFillTheViewAndKwicAndKwocNeverShareAWindow) {
    profile.writeString("KWOCOptions", "ContextAto", "1");
    profile.flush();
    testing::MessageBoxAnswerer answerer;
    CMainFrame frame(profile, histories);
    ResultWindow* window = frame.newResultWindow();

    // The positioned search: "sat" as the first word after "cat".
    answer<CPositionedDialog>([](CPositionedDialog& dialog) {
        dialog.keyword1()->setCurrentText("cat");
        dialog.keyword2()->setCurrentText("sat");
        for (int n = -5; n <= 5; ++n) dialog.positionBox(n)->setChecked(n == 1);
    });
    frame.action(CommandId::KwicPosition)->trigger();
    ASSERT_EQ(lines(window).size(), 2) << lines(window).join("\n").toStdString();
    EXPECT_TRUE(lines(window)[1].contains("cat sat down"));
    EXPECT_EQ(window->searchState().resultKind, 1);
    // A KWIC window takes no KWOC search, even prepared for adding.
    frame.action(CommandId::PrepareToAdd)->trigger();
    frame.updateCommandStates();
    EXPECT_TRUE(frame.action(CommandId::KwicRange)->isEnabled());
    EXPECT_FALSE(frame.action(CommandId::KwocSearch)->isEnabled());

    // KWOC in a window of its own: whole lines, one line of context after each.
    ResultWindow* kwoc = frame.newResultWindow();
    answer<CKwocSearchDialog>([](CKwocSearchDialog& dialog) {
        dialog.keyword1()->setCurrentText("dog");
        dialog.keyword2()->setCurrentText("");  // the dialog offers the last one, "sat"
        dialog.orderSensitive()->setChecked(true);
    });
    frame.action(CommandId::KwocSearch)->trigger();
    EXPECT_EQ(kwoc->searchState().resultKind, 2);
    EXPECT_TRUE(lines(kwoc).contains("3 | a dog alone/")) << lines(kwoc).join("\n").toStdString();
    EXPECT_TRUE(lines(kwoc).contains("4 | the cat and the dog/"));
    EXPECT_EQ(Profile(profile.path()).readString("KWOCOptions", "KWOrder", ""), "1");
    frame.action(CommandId::PrepareToAdd)->trigger();
    frame.updateCommandStates();
    EXPECT_TRUE(frame.action(CommandId::KwocSearch)->isEnabled());
    EXPECT_FALSE(frame.action(CommandId::KwicRange)->isEnabled());
    EXPECT_FALSE(frame.action(CommandId::KwicPosition)->isEnabled());

    // Files dropped on the KWOC window are searched in KWOC form and added to its lines.
    const long before = kwoc->document().list(ResultKind::Original).count();
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<DropSearchDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->keyword1()->setText("sat");
        dialog->accept();
    });
    emit kwoc->view().filesDropped(QStringList{QString::fromStdString(dir.file("corpus/a.txt"))});
    EXPECT_EQ(kwoc->searchState().resultKind, 2);
    EXPECT_GT(kwoc->document().list(ResultKind::Original).count(), before);
    EXPECT_TRUE(lines(kwoc).contains("1 | the cat sat down/"));
    EXPECT_TRUE(answerer.texts().isEmpty()) << answerer.texts().join("|").toStdString();
}

TEST_F(MoreSearchesTest, BadInputEndsWithItsMessageAndTheWindowStaysUsable) {
    testing::MessageBoxAnswerer answerer;
    CMainFrame frame(profile, histories);
    ResultWindow* window = frame.newResultWindow();
    // A directory that does not exist, then a regular expression that does not compile.
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CKwocSearchDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->keyword1()->setCurrentText("dog");
        dialog->filename()->setCurrentText("*.txt");
        dialog->directory()->setCurrentText("/no/such/directory/");
        dialog->accept();
    });
    frame.action(CommandId::KwocSearch)->trigger();
    profile.writeString("Options", "bGrep", "1");
    profile.flush();
    answer<CKwocSearchDialog>([](CKwocSearchDialog& dialog) {
        dialog.keyword1()->setCurrentText("(unclosed");
    });
    frame.action(CommandId::KwocSearch)->trigger();
    ASSERT_EQ(answerer.texts().size(), 2) << answerer.texts().join("|").toStdString();
    EXPECT_EQ(answerer.texts()[0], "Failed to open files...(;_;)");
    EXPECT_EQ(answerer.texts()[1], "Compilation Failure(;_;)1");
    EXPECT_FALSE(frame.searchFlags().running);
    EXPECT_EQ(window->document().list(ResultKind::Original).count(), 0);
    frame.updateCommandStates();
    EXPECT_TRUE(frame.action(CommandId::KwocSearch)->isEnabled());
    EXPECT_TRUE(frame.action(CommandId::KwicRange)->isEnabled());
}

TEST_F(MoreSearchesTest, AnExpressionSearchMarksWhatTheExpressionMatched) {
    profile.writeString("Options", "bGrep", "1");
    profile.flush();
    CMainFrame frame(profile, histories);
    ResultWindow* window = frame.newResultWindow();
    answer<CKwocSearchDialog>([](CKwocSearchDialog& dialog) {
        dialog.keyword1()->setCurrentText("c[a-z]t|d[a-z]g");
    });
    frame.action(CommandId::KwocSearch)->trigger();
    const CExStringList& result = window->document().list(ResultKind::Original);
    ASSERT_GT(result.count(), 1);
    std::vector<ByteSpan> spans;
    const KeywordMarks& marks = window->view().keywordMarks();
    for (const std::string& line : result)
        for (const ByteSpan& span : keywordSpans(withoutLineEnd(line), marks))
            spans.push_back(span);
    // Every cat and dog of the four lines, and never the pattern's text.
    EXPECT_EQ(spans.size(), 5u);
    for (const ByteSpan& span : spans) EXPECT_EQ(span.length, 3u);

    // A plain search afterwards marks its words again.
    profile.writeString("Options", "bGrep", "0");
    profile.flush();
    frame.action(CommandId::ClearResult)->trigger();
    answer<CKwocSearchDialog>([](CKwocSearchDialog& dialog) {
        dialog.keyword1()->setCurrentText("dog");
    });
    frame.action(CommandId::KwocSearch)->trigger();
    EXPECT_FALSE(window->view().keywordMarks().expression);
}

TEST_F(MoreSearchesTest, QuitSearchStopsALongKwocRun) {
    std::string text;
    for (int i = 0; i < 4000; ++i) text += "a striped zebra ran over the plain\n";
    for (int i = 0; i < 200; ++i)
        testing::writeFileBytes(dir.file("corpus/f" + std::to_string(1000 + i) + ".txt"), text);
    CMainFrame frame(profile, histories);
    ResultWindow* window = frame.newResultWindow();
    bool quit = false;
    auto* poll = new QTimer(&frame);
    QObject::connect(poll, &QTimer::timeout, [&] {
        if (!window->windowTitle().endsWith("<<Now Searching...>>")) return;
        poll->stop();
        quit = frame.action(CommandId::QuitSearch)->isEnabled();
        frame.action(CommandId::QuitSearch)->trigger();
    });
    poll->start(1);
    answer<CKwocSearchDialog>([](CKwocSearchDialog& dialog) {
        dialog.keyword1()->setCurrentText("zebra");
    });
    testing::MessageBoxAnswerer answerer;
    frame.action(CommandId::KwocSearch)->trigger();
    EXPECT_TRUE(quit);
    EXPECT_FALSE(frame.searchFlags().running);
    const long found = window->document().list(ResultKind::Original).count();
    EXPECT_GT(found, 0);
    EXPECT_LT(found, 200 * 8000);
    EXPECT_TRUE(window->windowTitle().endsWith("(incomplete)"));
}

}  // namespace
}  // namespace vellmora
