#include "engine/kwoc_option_dialog_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/recording_user_interface.h"
#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Strings = std::vector<std::string>;
using Field = KwocContextField;

const std::string kRange(kKwocContextRangeMessage);
const std::string kQuestion(kKwocNoContextQuestion);

class KwocOptionDialogModelTest : public ::testing::Test {
protected:
    KwocOptionDialogModel openedDialog() {
        KwocOptionDialogModel dialog(m_profile, m_ui);
        dialog.open();
        return dialog;
    }
    std::string stored(const char* key) {
        Profile reread(m_path);
        return reread.readString("KWOCOptions", key, "<none>");
    }

    testing::TempDir m_dir;
    std::string m_path = m_dir.file("pyxo.ini");
    Profile m_profile{m_path};
    RecordingUserInterface m_ui;
};

TEST_F(KwocOptionDialogModelTest, OpensWithDefaultsAndStoresTheThreeKeysOnOk) {
    KwocOptionDialogModel dialog = openedDialog();
    EXPECT_EQ(dialog.text(Field::Before), "0");
    EXPECT_EQ(dialog.text(Field::After), "0");
    EXPECT_FALSE(dialog.separatorOfFiles());

    EXPECT_TRUE(dialog.editText(Field::Before, "5"));
    EXPECT_TRUE(dialog.editText(Field::After, ""));
    ASSERT_TRUE(dialog.ok());
    EXPECT_EQ(stored("ContextMae"), "5");
    EXPECT_EQ(stored("ContextAto"), "0");  // an empty count is stored as "0"
    EXPECT_EQ(stored("SepMatched"), "0");

    KwocOptionDialogModel again = openedDialog();
    EXPECT_EQ(again.text(Field::Before), "5");
    EXPECT_TRUE(m_ui.messages().empty());
}

TEST_F(KwocOptionDialogModelTest, CountsOutside0To5AreRefusedWhileEditedAndOnOk) {
    KwocOptionDialogModel dialog = openedDialog();
    EXPECT_FALSE(dialog.editText(Field::After, "6"));
    EXPECT_EQ(dialog.text(Field::After), "6");  // left for the user to correct
    EXPECT_FALSE(dialog.editText(Field::Before, "-1"));
    EXPECT_EQ(m_ui.messages(), (Strings{kRange, kRange}));
    EXPECT_EQ(m_ui.beeps(), 2);

    // The first field out of range takes the focus; nothing is stored.
    m_ui.clear();
    EXPECT_FALSE(dialog.ok());
    EXPECT_EQ(dialog.focus(), Field::Before);
    dialog.editText(Field::Before, "0");
    EXPECT_FALSE(dialog.ok());
    EXPECT_EQ(dialog.focus(), Field::After);
    EXPECT_EQ(m_ui.messages(), (Strings{kRange, kRange}));
    EXPECT_EQ(stored("ContextAto"), "<none>");
}

TEST_F(KwocOptionDialogModelTest, SeparatorOfFilesAsksToDropTheContextLines) {
    // Without context lines the box is ticked without a question.
    KwocOptionDialogModel plain = openedDialog();
    EXPECT_TRUE(plain.setSeparatorOfFiles(true));
    EXPECT_TRUE(m_ui.messages().empty());

    KwocOptionDialogModel dialog = openedDialog();
    dialog.editText(Field::After, "2");
    m_ui.answerNext(Answer::Cancel);
    EXPECT_FALSE(dialog.setSeparatorOfFiles(true));
    EXPECT_FALSE(dialog.separatorOfFiles());
    EXPECT_EQ(dialog.text(Field::After), "2");

    m_ui.answerNext(Answer::Ok);
    EXPECT_TRUE(dialog.setSeparatorOfFiles(true));
    EXPECT_EQ(dialog.text(Field::Before), "0");
    EXPECT_EQ(dialog.text(Field::After), "0");
    EXPECT_EQ(m_ui.transcript(), (Strings{"beep", "message OK/Cancel: " + kQuestion, "beep",
                                          "message OK/Cancel: " + kQuestion}));
    ASSERT_TRUE(dialog.ok());
    EXPECT_EQ(stored("SepMatched"), "1");
}

TEST_F(KwocOptionDialogModelTest, DisabledBeepSilencesTheMessages) {
    m_profile.writeInt("Options", "Beep", 1);
    KwocOptionDialogModel dialog = openedDialog();
    EXPECT_FALSE(dialog.editText(Field::Before, "7"));
    EXPECT_EQ(m_ui.beeps(), 0);
    EXPECT_EQ(m_ui.messages(), (Strings{kRange}));
}

}  // namespace
}  // namespace vellmora
