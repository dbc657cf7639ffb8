#include "app/option_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>

#include "platform/recording_user_interface.h"
#include "settings/profile.h"
#include "tests/support/temp_dir.h"
#include "tests/support/qt_application.h"

namespace vellmora {
namespace {

TEST(OptionDialogTest, BoxesFollowTheModelAndOkStoresThem) {
    testing::application();
    testing::TempDir dir;
    Profile profile(dir.file("pyxo.ini"));
    RecordingUserInterface ui;
    OptionDialogModel model(profile, ui);
    model.open();
    COptionDialog dialog(model);
    EXPECT_EQ(dialog.windowTitle(), "Serch Option");

    // The file marks are one choice: ticking "never output" clears "Output all".
    ASSERT_TRUE(dialog.box(OptionCheck::Separator)->isChecked());
    dialog.box(OptionCheck::NoSeparator)->setChecked(true);
    EXPECT_FALSE(dialog.box(OptionCheck::Separator)->isChecked());
    dialog.box(OptionCheck::IgnoreCase)->setChecked(true);

    // A width out of range keeps the dialog open with its message; a good one stores all.
    dialog.field(OptionText::Xsize)->setText("20");
    dialog.accept();
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Available range is 30-256!"});
    EXPECT_EQ(dialog.result(), 0);
    dialog.field(OptionText::Xsize)->setText("100");
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    Profile stored(dir.file("pyxo.ini"));
    EXPECT_EQ(stored.readInt("Options", "NoSeparator", -1), 1);
    EXPECT_EQ(stored.readInt("Options", "Separator", -1), 0);
    EXPECT_EQ(stored.readInt("Options", "IgnoreCase", -1), 1);
    EXPECT_EQ(stored.readString("Options", "Xsize", ""), "100");
}

}  // namespace
}  // namespace vellmora
