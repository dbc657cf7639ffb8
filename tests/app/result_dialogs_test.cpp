#include "app/result_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "app/qt_user_interface.h"
#include "engine/search_run.h"
#include "platform/recording_user_interface.h"
#include "settings/histories.h"
#include "settings/profile.h"
#include "tests/support/qt_application.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using C = ExtractionControl;
using Strings = std::vector<std::string>;

/// Runs act on the dialog of type Dialog once it shows modally and is active. A dialog that
/// act leaves open is cancelled, so that a failing test ends instead of waiting.
template <class Dialog>
void whenShown(std::function<void(Dialog&)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            ADD_FAILURE() << "no dialog of the expected type";
            if (auto* other = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                other->reject();
            return;
        }
        if (QTest::qWaitForWindowActive(dialog))
            act(*dialog);
        else
            ADD_FAILURE() << "the dialog never became active";
        if (dialog->isVisible()) dialog->reject();
    });
}

/// The user types text into field and leaves it with Tab.
void typeAndLeave(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->setText(text);
    QTest::keyClick(field, Qt::Key_Tab);
}

QStringList itemsOf(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
}

class ResultDialogsTest : public ::testing::Test {
protected:
    void SetUp() override { testing::application(); }

    void writeIni(const std::string& text) {
        std::ofstream(dir.file("pyxo.ini"), std::ios::binary) << text;
    }
    /// A key as the settings file holds it now.
    std::string stored(const char* section, const char* key) {
        return Profile(dir.file("pyxo.ini")).readRaw(section, key).value_or("(none)");
    }
    /// "key=value" of each of the space-separated keys, as the settings file holds them now.
    std::string storedKeys(const char* section, const std::string& keys) {
        Profile file(dir.file("pyxo.ini"));
        std::string shown;
        std::istringstream names(keys);
        for (std::string key; names >> key;)
            shown += (shown.empty() ? "" : " ") + key + "=" +
                     file.readRaw(section, key).value_or("(none)");
        return shown;
    }

    testing::TempDir dir;
    Profile profile{dir.file("pyxo.ini")};
    RecordingUserInterface ui;
    Histories histories;
};

TEST_F(ResultDialogsTest, RangeExtractionShowsEveryStoredChoiceAndStoresEveryChangedOne) {
    writeIni(
        "[ExtractionOptions]\nBoth=1\nHyph=1\nAndSearch=0\nNotSearch=1\nSep=0\nSepMatched=1\n"
        "[Setting]\nWord=0\nGroup=1\nGroupName=grp\nExtractionWord=prev\n"
        "[WordGroupNames]\nName=grp|other|\n");
    histories.enter(HistoryKind::ExtractionWord, "alpha");
    whenShown<CReExtractionDlg>([&](CReExtractionDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Re-Extraction(Range)");
        // "Default" is the opening rule's: a side is given.
        for (C on :
             {C::Both, C::Default, C::ExcludeHyphen, C::NotSearch, C::MatchedFilesOnly, C::Group})
            EXPECT_TRUE(dialog.control(on)->isChecked()) << static_cast<int>(on);
        for (C off : {C::Head, C::Tail, C::ExcludeApostrophe, C::BeforeKeyword, C::SentenceFinal,
                      C::OutputAll, C::IgnoreCase, C::AndSearch, C::RegularExpression, C::Word})
            EXPECT_FALSE(dialog.control(off)->isChecked()) << static_cast<int>(off);
        EXPECT_EQ(dialog.keyword()->currentText(), "grp");
        EXPECT_EQ(itemsOf(dialog.keyword()), (QStringList{"grp", "other"}));
        dialog.control(C::Word)->click();
        EXPECT_EQ(itemsOf(dialog.keyword()), QStringList{"alpha"});
        EXPECT_EQ(dialog.keyword()->currentText(), "grp");

        // An empty box is refused with the message of the choice, focus on the box.
        dialog.keyword()->setCurrentText("");
        dialog.accept();
        dialog.control(C::Group)->click();
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(dialog.keyword()->hasFocus());
        EXPECT_EQ(stored("Setting", "Group"), "1");
        EXPECT_EQ(stored("ExtractionOptions", "Both"), "1");

        dialog.control(C::Word)->click();
        for (C flipped :
             {C::Both, C::Head, C::Tail, C::Default, C::ExcludeHyphen, C::ExcludeApostrophe,
              C::BeforeKeyword, C::SentenceFinal, C::IgnoreCase, C::RegularExpression})
            dialog.control(flipped)->click();
        dialog.control(C::OutputAll)->click();
        dialog.control(C::AndSearch)->click();
        dialog.keyword()->setCurrentText(QString::fromUtf8("日本"));
        dialog.accept();
    });
    const auto request = askRangeExtraction(profile, ui, histories, nullptr);

    EXPECT_EQ(ui.messages(), (Strings{"Enter Keyword!", "Enter Word Group!"}));
    EXPECT_EQ(ui.beeps(), 2);
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ(request->keyword.text, "\x93\xFA\x96\x7B");
    EXPECT_FALSE(request->keyword.isGroup);
    EXPECT_TRUE(request->regExp);
    EXPECT_TRUE(request->options.reMae);
    // Every choice was turned from what the file held: each key shows its own widget.
    EXPECT_EQ(storedKeys("ExtractionOptions",
                         "Both Mae Ato Alnum Hyph Apo reMae Bummatsu Sep SepMatched IgnoreCase "
                         "AndSearch NotSearch bRegExp"),
              "Both=0 Mae=1 Ato=1 Alnum=0 Hyph=0 Apo=1 reMae=1 Bummatsu=1 Sep=1 SepMatched=0 "
              "IgnoreCase=1 AndSearch=1 NotSearch=0 bRegExp=1");
    EXPECT_EQ(storedKeys("Setting", "Word Group"), "Word=1 Group=0");
    EXPECT_EQ(stored("Setting", "ExtractionWord"), "\x93\xFA\x96\x7B");
}

TEST_F(ResultDialogsTest, PositionExtractionNeedsAPositionThenAKeyword) {
    writeIni("[PositionedRekkc]\npos2=1\n[ExtractionOptions]\nIgnoreCase=1\n");
    whenShown<CReExtractionPosDlg>([&](CReExtractionPosDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Re-Extraction(Position)");
        EXPECT_EQ(dialog.control(C::BeforeKeyword), nullptr);
        EXPECT_EQ(dialog.control(C::MatchedFilesOnly)->text(), "Matched Files Only");
        EXPECT_TRUE(dialog.positionBox(2)->isChecked());
        EXPECT_TRUE(dialog.control(C::IgnoreCase)->isChecked());
        dialog.positionBox(2)->click();
        dialog.keyword()->setCurrentText("");
        dialog.accept();
        EXPECT_TRUE(dialog.positionBox(-1)->hasFocus());
        dialog.positionBox(-3)->click();
        dialog.positionBox(0)->click();
        dialog.accept();
        EXPECT_TRUE(dialog.keyword()->hasFocus());
        EXPECT_EQ(stored("PositionedRekkc", "pos2"), "1");
        dialog.control(C::IgnoreCase)->click();
        dialog.keyword()->setCurrentText("of");
        dialog.accept();
    });
    const auto request = askPositionExtraction(profile, ui, histories, nullptr);

    EXPECT_EQ(ui.messages(), (Strings{"Positions are not decided!(;_;)", "Enter Keyword!"}));
    ASSERT_TRUE(request.has_value());
    EXPECT_EQ(request->keyword.text, "of");
    EXPECT_TRUE(request->positions.at(-3) && request->positions.at(0));
    EXPECT_FALSE(request->positions.at(2));
    EXPECT_EQ(storedKeys("PositionedRekkc", "prev3 kw1pos pos2"), "prev3=1 kw1pos=1 pos2=0");
    EXPECT_EQ(stored("ExtractionOptions", "IgnoreCase"), "0");
    EXPECT_EQ(stored("ExtractionOptions", "reMae"), "(none)");
}

TEST_F(ResultDialogsTest, SortKeysEnableEachOtherAndTheLineCountIsCheckedAsItIsLeft) {
    writeIni("[Sort]\nMode=0\nOrder1=1\nMaxLine=0\n");
    SortDialogModel model(profile, ui);
    model.open();
    whenShown<CSortDialog>([&](CSortDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Sort KWIC Concordance");
        EXPECT_EQ(dialog.keyBox(0)->itemText(0), QString::fromUtf8("未指定"));
        EXPECT_EQ(dialog.keyBox(1)->itemText(0), QString::fromUtf8("なし"));
        EXPECT_EQ(dialog.keyBox(0)->currentText(), "KW");
        EXPECT_TRUE(dialog.descending(0)->isChecked());
        EXPECT_EQ(dialog.maxLines()->text(), "40000");
        // A first key on KW leaves nothing to break ties with; a second one on KW, no third.
        EXPECT_FALSE(dialog.keyBox(1)->isEnabled());
        EXPECT_FALSE(dialog.keyBox(2)->isEnabled());
        dialog.keyBox(0)->setCurrentIndex(7);
        dialog.keyBox(1)->setCurrentIndex(6);
        EXPECT_TRUE(dialog.keyBox(1)->isEnabled());
        EXPECT_FALSE(dialog.keyBox(2)->isEnabled());
        dialog.keyBox(1)->setCurrentIndex(4);
        EXPECT_TRUE(dialog.keyBox(2)->isEnabled());

        typeAndLeave(dialog.maxLines(), "-5");
        EXPECT_EQ(dialog.maxLines()->text(), "40000");
        typeAndLeave(dialog.maxLines(), "200000");
        EXPECT_EQ(dialog.maxLines()->text(), "100000");
        typeAndLeave(dialog.maxLines(), QString::fromUtf8("１２０"));
        EXPECT_EQ(dialog.maxLines()->text(), "120");
        dialog.stepButton(true)->click();
        EXPECT_EQ(dialog.maxLines()->text(), "220");
        for (int i = 0; i < 3; ++i) dialog.stepButton(false)->click();
        EXPECT_EQ(dialog.maxLines()->text(), "100");
        // Typed and not left: OK checks it and keeps the dialog to show the correction.
        dialog.maxLines()->setText("999999");
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(dialog.maxLines()->hasFocus());
        EXPECT_EQ(dialog.maxLines()->text(), "100000");

        dialog.ascending(0)->click();
        dialog.descending(1)->click();
        dialog.byTail(2)->click();
        dialog.sentenceEnd()->click();
        dialog.useStrcoll()->click();
        dialog.accept();
    });
    ASSERT_TRUE(showSortDialog(model, nullptr));

    EXPECT_EQ(ui.messages(), (Strings{"Invalid value. Minus value is not allowed.",
                                      "Too big number.", "Too big number."}));
    EXPECT_EQ(ui.beeps(), 3);
    // The command stores the dialog after it closed, not the dialog itself.
    EXPECT_EQ(stored("Sort", "Mode2"), "(none)");
    model.ok();
    EXPECT_EQ(storedKeys("Sort",
                         "Mode Mode2 Mode3 Order1 Order2 Order3 Tail1 Tail2 Tail3 "
                         "SentenceFinal European MaxLine"),
              "Mode=1 Mode2=-2 Mode3=-6 Order1=0 Order2=1 Order3=0 Tail1=0 Tail2=0 Tail3=1 "
              "SentenceFinal=1 European=1 MaxLine=100000");
}

TEST_F(ResultDialogsTest, SortByColumnChecksBothFieldsAndKeepsOneDirection) {
    writeIni("[SortColumn]\nAbc=0\n[Sort]\nMaxLine=99950\n");
    ColumnSortDialogModel model(profile, ui, 200, 60);
    model.open();
    whenShown<CKetaSortDlg>([&](CKetaSortDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Sort by Column");
        QStringList labels;
        for (const QLabel* label : dialog.findChildren<QLabel*>()) labels << label->text();
        for (const char* line : {"Minimum : 1", "Maximum : 60", "Initial value : 40"})
            EXPECT_TRUE(labels.contains(line)) << line;
        EXPECT_EQ(dialog.column()->text(), "40");
        EXPECT_TRUE(dialog.reverse()->isChecked());
        EXPECT_FALSE(dialog.alphabetical()->isChecked());

        typeAndLeave(dialog.column(), "-1");
        EXPECT_EQ(dialog.column()->text(), "40");
        typeAndLeave(dialog.column(), "61");
        EXPECT_EQ(dialog.column()->text(), "40");
        typeAndLeave(dialog.maxLines(), "-3");
        EXPECT_EQ(dialog.maxLines()->text(), "40000");
        typeAndLeave(dialog.maxLines(), "100001");
        EXPECT_EQ(dialog.maxLines()->text(), "40000");
        typeAndLeave(dialog.maxLines(), "99950");
        dialog.stepButton(true)->click();
        EXPECT_EQ(dialog.maxLines()->text(), "100000");
        dialog.stepButton(false)->click();
        EXPECT_EQ(dialog.maxLines()->text(), "99900");

        // Clearing one box ticks the other.
        dialog.alphabetical()->click();
        EXPECT_TRUE(dialog.alphabetical()->isChecked() && !dialog.reverse()->isChecked());
        dialog.alphabetical()->click();
        EXPECT_TRUE(dialog.reverse()->isChecked() && !dialog.alphabetical()->isChecked());
        dialog.reverse()->click();
        EXPECT_TRUE(dialog.alphabetical()->isChecked() && !dialog.reverse()->isChecked());

        dialog.column()->setText("70");
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_TRUE(dialog.column()->hasFocus());
        dialog.column()->setText(QString::fromUtf8("１２"));
        dialog.accept();
    });
    ASSERT_TRUE(showColumnSortDialog(model, nullptr));

    EXPECT_EQ(ui.messages(), (Strings{"It's impossible(-_-;)", "Even Einstein couldn't do it!(;_;)",
                                      "Invalid value. Minus is impossible! Default value is set.",
                                      "Invalid value. Too big number. Default value is set.",
                                      "Even Einstein couldn't do it!(;_;)"}));
    EXPECT_EQ(stored("SortColumn", "Column"), "(none)");
    model.ok();
    EXPECT_EQ(storedKeys("SortColumn", "Column Abc"), "Column=12 Abc=1");
    EXPECT_EQ(stored("Sort", "MaxLine"), "99900");
}

TEST_F(ResultDialogsTest, CollocationDialogsTakeOnePositionAndEveryOption) {
    writeIni("[Colloq]\nMode=-3\nEuropean=1\n[ExColloq]\nFormat=2\n");
    ColloqDialogModel colloq(profile);
    colloq.open();
    whenShown<CColloqDialog>([&](CColloqDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Collocation Statistics");
        EXPECT_EQ(dialog.positionBox(0)->text(), "kw1 itself");
        EXPECT_EQ(dialog.positionBox(-1)->text(), "1st word");
        EXPECT_TRUE(dialog.european()->isChecked());
        const auto checked = [&dialog] {
            std::vector<int> positions;
            for (int n = -5; n <= 5; ++n)
                if (dialog.positionBox(n)->isChecked()) positions.push_back(n);
            return positions;
        };
        EXPECT_EQ(checked(), std::vector<int>{-3});
        dialog.positionBox(2)->click();
        EXPECT_EQ(checked(), std::vector<int>{2});
        dialog.positionBox(-5)->click();
        EXPECT_EQ(checked(), std::vector<int>{-5});
        for (QCheckBox* option : {dialog.sentenceFinal(), dialog.frequencyOrder(),
                                  dialog.european(), dialog.percent(), dialog.tail()})
            option->click();
        dialog.accept();
    });
    ASSERT_TRUE(showColloqDialog(colloq, nullptr));
    EXPECT_EQ(stored("Colloq", "Mode"), "-3");
    colloq.ok();
    EXPECT_EQ(storedKeys("Colloq", "Mode SentenceFinal FreqOrder European Percent Tail"),
              "Mode=-5 SentenceFinal=1 FreqOrder=1 European=0 Percent=1 Tail=1");

    ExColloqDialogModel extended(profile);
    extended.open();
    whenShown<CExColloqDialog>([&](CExColloqDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Extended Collocation");
        ASSERT_EQ(dialog.formats()->count(), 4);
        EXPECT_EQ(dialog.formats()->item(3)->text(), "Ratio/Expactancy");
        EXPECT_EQ(dialog.formats()->currentRow(), 2);
        dialog.formats()->setCurrentRow(3);
        dialog.disableDialog()->click();
        dialog.accept();
    });
    ASSERT_TRUE(showExColloqDialog(extended, nullptr));
    extended.ok();
    EXPECT_EQ(storedKeys("ExColloq", "Format bNoAsk"), "Format=3 bNoAsk=1");
}

TEST_F(ResultDialogsTest, ConversionShowsEachLayoutWithItsExample) {
    writeIni("[SpreadSheet]\nMode=5\nTagInfo=1\n");
    SpreadsheetDialogModel model(profile, ui);
    model.open();
    whenShown<CSpreadSheetDialog>([&](CSpreadSheetDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Conversion to TSV.CSV");
        EXPECT_EQ(dialog.tagInfo()->text(), "Output Filename and Line Number");
        EXPECT_TRUE(dialog.tagInfo()->isChecked());
        EXPECT_TRUE(dialog.layoutButton(SpreadsheetLayout::Csv3)->isChecked());
        EXPECT_EQ(dialog.layoutButton(SpreadsheetLayout::Html)->text(), "HTML Format");
        QStringList labels;
        for (const QLabel* label : dialog.findChildren<QLabel*>()) labels << label->text();
        EXPECT_TRUE(labels.contains(displayText(layoutExample(SpreadsheetLayout::Csv3))));
        dialog.layoutButton(SpreadsheetLayout::Tsv2)->click();
        dialog.tagInfo()->click();
        dialog.accept();
    });
    ASSERT_TRUE(showSpreadsheetDialog(model, nullptr));
    model.ok();
    EXPECT_EQ(storedKeys("SpreadSheet", "Mode TagInfo"), "Mode=1 TagInfo=0");
}

/// Looks at the dialog whenever the run lets the window's events through.
class PumpWatcher : public RecordingUserInterface {
public:
    void pump() override {
        RecordingUserInterface::pump();
        if (onPump) onPump();
    }
    std::function<void()> onPump;
};

TEST_F(ResultDialogsTest, AverageWordLengthFillsItsTextWithTheButtonsOffAndCopiesItAsUnicode) {
    const std::string corpus = dir.file("corpus");
    std::filesystem::create_directory(corpus);
    testing::writeFileBytes(corpus + "/a.txt", "ab cde\n");
    testing::writeFileBytes(corpus + "/\x93\xFA.txt", "\x93\xFA\x96\x7B\n");
    histories.lastValues().filename = "*.txt";
    histories.lastValues().directory = corpus;
    histories.enter(HistoryKind::Filename, "*.doc");
    PumpWatcher watcher;
    ApplicationSearchFlags flags;
    AverageWordLengthDialogModel model(profile, watcher, histories, flags);
    model.open();
    CAveLenDlg dialog(model, profile, watcher);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Average Word Length");
    EXPECT_EQ(dialog.fileName()->currentText(), "*.txt");
    EXPECT_EQ(dialog.directory()->currentText(), QString::fromStdString(corpus));
    EXPECT_EQ(itemsOf(dialog.fileName()), QStringList{"*.doc"});

    int pumps = 0;
    bool buttonsOff = true;
    bool shownAsItGoes = false;
    watcher.onPump = [&] {
        ++pumps;
        shownAsItGoes = shownAsItGoes || dialog.resultField()->toPlainText().contains("a.txt");
        for (QPushButton* button :
             {dialog.calculateButton(), dialog.copyButton(), dialog.exitButton()})
            buttonsOff = buttonsOff && !button->isEnabled();
    };
    QTest::mouseClick(dialog.calculateButton(), Qt::LeftButton);
    EXPECT_GT(pumps, 0);
    EXPECT_TRUE(buttonsOff);
    EXPECT_TRUE(shownAsItGoes);
    EXPECT_TRUE(dialog.calculateButton()->isEnabled() && dialog.exitButton()->isEnabled());
    const QString expected = QString::fromUtf8(
                                 " 2.500 : %1/a.txt\n 4.000 : %1/日.txt\n"
                                 "==============================\n"
                                 " 3.000 : <<Total>>\n")
                                 .arg(QString::fromStdString(corpus));
    EXPECT_EQ(dialog.resultField()->toPlainText() + "\n", expected);
    QGuiApplication::clipboard()->setText("before");
    QTest::mouseClick(dialog.copyButton(), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), expected);
    // With "bClipCopyAll" the copy fits "ClipCopySize", its terminator included.
    profile.writeString("Setting", "bClipCopyAll", "1");
    profile.writeString("Setting", "ClipCopySize", "8");
    QTest::mouseClick(dialog.copyButton(), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), " 2.500 \n");

    // Closing the window during a run stops it, then closes.
    watcher.onPump = [&dialog] { dialog.reject(); };
    QTest::mouseClick(dialog.calculateButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(dialog.resultField()->toPlainText().contains("<<Total>>"));
    EXPECT_FALSE(flags.running);
}

TEST_F(ResultDialogsTest, FileListRefusesEmptyFieldsWithTheFocusOnThem) {
    FileListDialogModel model(profile, ui);
    model.open(dir.path());
    whenShown<CFileListDlg>([&](CFileListDlg& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Making of File List");
        EXPECT_EQ(dialog.referenceDirectory()->text(), QString::fromStdString(dir.path() + "/"));
        EXPECT_EQ(dialog.outputFile()->text(), QString::fromStdString(dir.path() + "/DEFAULT.LST"));
        dialog.referenceDirectory()->clear();
        dialog.outputFile()->clear();
        dialog.accept();
        EXPECT_TRUE(dialog.referenceDirectory()->hasFocus());
        dialog.referenceDirectory()->setText("/corpus/");
        dialog.accept();
        EXPECT_TRUE(dialog.outputFile()->hasFocus());
        dialog.outputFile()->setText("/lists/OUT.LST");
        dialog.excludeBinary()->click();
        dialog.accept();
    });
    ASSERT_TRUE(showFileListDialog(model, nullptr));
    EXPECT_EQ(ui.messages(), (Strings{"Enter REFERENCE DIRECTORY!!", "Enter OUTPUT FILE!!"}));
    EXPECT_EQ(ui.beeps(), 2);
    EXPECT_EQ(model.request().referenceDirectory, "/corpus/");
    EXPECT_EQ(model.request().outputFile, "/lists/OUT.LST");
    EXPECT_TRUE(model.request().excludeBinary);
}

}  // namespace
}  // namespace vellmora
