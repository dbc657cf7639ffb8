#include "results/colloq_dialog_model.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

class ColloqDialogModelTest : public ::testing::Test {
protected:
    std::string stored(const char* section, const char* key) {
        Profile reread(m_path);
        return reread.readString(section, key, "<none>");
    }
    int checkedBoxes(const ColloqDialogModel& dialog) {
        int checked = 0;
        for (int position = -5; position <= 5; ++position)
            checked += dialog.positionChecked(position) ? 1 : 0;
        return checked;
    }

    testing::TempDir m_dir;
    std::string m_path = m_dir.file("pyxo.ini");
    Profile m_profile{m_path};
};

TEST_F(ColloqDialogModelTest, OpensWithTheStoredPositionAndOptions) {
    ColloqDialogModel dialog(m_profile);
    dialog.open();
    EXPECT_TRUE(dialog.positionChecked(1));  // default R1
    EXPECT_EQ(checkedBoxes(dialog), 1);
    EXPECT_FALSE(dialog.percent());

    m_profile.writeInt("Colloq", "Mode", -4);
    m_profile.writeInt("Colloq", "Tail", 1);
    m_profile.writeInt("Colloq", "Percent", 2);  // only 1 checks a box
    m_profile.writeInt("Colloq", "European", 1);
    dialog.open();
    EXPECT_TRUE(dialog.positionChecked(-4));
    EXPECT_EQ(checkedBoxes(dialog), 1);
    EXPECT_TRUE(dialog.tail());
    EXPECT_FALSE(dialog.percent());
    EXPECT_TRUE(dialog.european());
    EXPECT_FALSE(dialog.sentenceFinal());
    EXPECT_EQ(dialog.mode(), -4);

    // A hand-edited position no box stands for opens as R1.
    m_profile.writeInt("Colloq", "Mode", 9);
    dialog.open();
    EXPECT_TRUE(dialog.positionChecked(1));
    EXPECT_EQ(dialog.mode(), 1);
}

TEST_F(ColloqDialogModelTest, ThePositionBoxesActAsOneChoice) {
    m_profile.writeInt("Colloq", "Mode", -2);
    ColloqDialogModel dialog(m_profile);
    dialog.open();
    dialog.setPositionChecked(3, true);
    EXPECT_EQ(checkedBoxes(dialog), 1);
    EXPECT_EQ(dialog.mode(), 3);
    dialog.setPositionChecked(0, true);
    EXPECT_EQ(dialog.mode(), 0);
    dialog.setPositionChecked(6, true);  // no such box
    EXPECT_EQ(dialog.mode(), 0);

    // With every box cleared, the position stays what it was when the dialog opened.
    dialog.setPositionChecked(0, false);
    EXPECT_EQ(checkedBoxes(dialog), 0);
    EXPECT_EQ(dialog.mode(), -2);
}

TEST_F(ColloqDialogModelTest, OkWritesTheSixKeys) {
    ColloqDialogModel dialog(m_profile);
    dialog.open();
    dialog.setPositionChecked(-5, true);
    dialog.setSentenceFinal(true);
    dialog.setFrequencyOrder(true);
    dialog.setPercent(true);
    dialog.ok();
    EXPECT_FALSE(m_profile.hasPendingWrites());
    EXPECT_EQ(stored("Colloq", "Mode"), "-5");
    EXPECT_EQ(stored("Colloq", "SentenceFinal"), "1");
    EXPECT_EQ(stored("Colloq", "FreqOrder"), "1");
    EXPECT_EQ(stored("Colloq", "Percent"), "1");
    EXPECT_EQ(stored("Colloq", "European"), "0");
    EXPECT_EQ(stored("Colloq", "Tail"), "0");
}

TEST_F(ColloqDialogModelTest, TheExtendedDialogKeepsItsFormatAndItsOwnDisabling) {
    ExColloqDialogModel dialog(m_profile);
    m_profile.writeInt("ExColloq", "Format", 7);
    dialog.open();
    EXPECT_EQ(dialog.formatIndex(), 0);
    EXPECT_FALSE(dialog.dialogDisabled());

    dialog.setFormatIndex(2);
    dialog.setFormatIndex(-1);  // ignored
    dialog.setDialogDisabled(true);
    dialog.ok();
    EXPECT_EQ(stored("ExColloq", "Format"), "2");
    EXPECT_EQ(stored("Excolloq", "bNoAsk"), "1");

    dialog.open();
    EXPECT_EQ(dialog.formatIndex(), 2);
    EXPECT_TRUE(dialog.dialogDisabled());
}

}  // namespace
}  // namespace vellmora
