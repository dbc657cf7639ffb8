#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <fstream>

#include "app/display_options_dialog.h"
#include "app/edit_copy_dialog.h"
#include "platform/recording_user_interface.h"
#include "settings/profile.h"
#include "tests/support/qt_application.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

class ViewDialogsTest : public ::testing::Test {
protected:
    void SetUp() override { testing::application(); }

    testing::TempDir dir;
    Profile profile{dir.file("pyxo.ini")};
    RecordingUserInterface ui;
};

TEST_F(ViewDialogsTest, DisplayOptionsRefuseOutOfRangeValuesAndStayOpen) {
    CDispOptionDialog dialog(profile, ui);
    EXPECT_EQ(dialog.windowTitle(), "Display Options");
    EXPECT_EQ(dialog.tabStopField()->text(), "15");
    dialog.show();
    for (const char* refused : {"3", "31"}) {
        dialog.tabStopField()->setText(refused);
        dialog.accept();
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.tabUnit(), 0);
    }
    EXPECT_EQ(ui.messages(),
              (std::vector<std::string>{"Available range is 4-30.", "Available range is 4-30."}));
    EXPECT_FALSE(Profile(dir.file("pyxo.ini")).readRaw("DispOption", "TabStop").has_value());

    dialog.tabStopField()->setText("12");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.tabUnit(), 12);
    EXPECT_EQ(Profile(dir.file("pyxo.ini")).readString("DispOption", "TabStop", ""), "12");
}

TEST_F(ViewDialogsTest, EditCopyCopiesTheSelectionOrEverything) {
    CEditCopyDialog dialog("first line\r\n\x93\xFA\x96\x7B\r\n", profile, ui);
    EXPECT_EQ(dialog.windowTitle(), "Copy to the Clipboard!!");
    dialog.show();
    QGuiApplication::clipboard()->setText("before");
    QTest::mouseClick(dialog.partialButton(), Qt::LeftButton);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Not Selected X-<"});
    EXPECT_EQ(ui.beeps(), 1);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");

    QTextCursor cursor = dialog.textField()->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(5, QTextCursor::KeepAnchor);
    dialog.textField()->setTextCursor(cursor);
    QTest::mouseClick(dialog.partialButton(), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "first");
    EXPECT_EQ(ui.messages().back(), "Mission acomplished!(^_^)");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    CEditCopyDialog whole("first line\r\n\x93\xFA\x96\x7B\r\n", profile, ui);
    whole.show();
    QTest::mouseClick(whole.wholeButton(), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("first line\n日本\n"));
    EXPECT_EQ(whole.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace vellmora
