#include "settings/group_chooser_model.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/recording_user_interface.h"
#include "settings/profile.h"
#include "settings/word_group_dialog_model.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Strings = std::vector<std::string>;

class GroupChooserTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_profile.writeString("WordGroupNames", "Name", "fruit|empty|");
        m_profile.writeString("WordGroupNames", "Name1", "late|");
        m_profile.writeString("WordGroup", "fruit", "apple|pear|");
        m_profile.writeString("WordGroup", "late", "x|");
    }

    testing::TempDir m_dir;
    Profile m_profile{m_dir.path() + "/pyxo.ini"};
    RecordingUserInterface m_ui;
};

TEST_F(GroupChooserTest, ListsOnlyTheFirstChunkUnlikeTheEditor) {
    GroupChooserModel chooser(m_profile, m_ui, "late");
    chooser.open();
    EXPECT_EQ(chooser.groupNames(), (Strings{"fruit", "empty"}));
    EXPECT_EQ(chooser.words(), (Strings{"x"}));
    EXPECT_TRUE(chooser.ok());
    EXPECT_EQ(chooser.selectedGroup(), "late");

    WordGroupDialogModel editor(m_profile, m_ui);
    editor.open();
    EXPECT_EQ(editor.groupNames(), (Strings{"fruit", "empty", "late"}));
}

TEST_F(GroupChooserTest, OkNeedsASelectedGroupWithWords) {
    for (int beep : {0, 1}) {
        m_profile.writeInt("Options", "Beep", beep);
        m_ui.clear();
        GroupChooserModel chooser(m_profile, m_ui);
        chooser.open();
        EXPECT_FALSE(chooser.ok());
        chooser.select(1);
        EXPECT_TRUE(chooser.words().empty());
        EXPECT_FALSE(chooser.ok());
        chooser.select(7);
        chooser.select(0);
        EXPECT_EQ(chooser.words(), (Strings{"apple", "pear"}));
        EXPECT_TRUE(chooser.ok());
        EXPECT_EQ(chooser.selectedGroup(), "fruit");
        EXPECT_EQ(m_ui.messages(),
                  (Strings{std::string(kNoGroupSelectedMessage), std::string(kNoContentMessage)}));
        EXPECT_EQ(m_ui.beeps(), beep == 0 ? 2 : 0);
    }
}

}  // namespace
}  // namespace vellmora
