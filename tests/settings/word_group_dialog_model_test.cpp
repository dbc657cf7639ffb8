#include "settings/word_group_dialog_model.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/recording_user_interface.h"
#include "settings/profile.h"
#include "settings/word_groups.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Strings = std::vector<std::string>;

class WordGroupDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_profile.writeString("WordGroupNames", "Name", "fruit|veg|");
        m_profile.writeString("WordGroup", "fruit", "apple|pear|");
        m_profile.writeString("WordGroup", "veg", "leek|");
    }

    WordGroupDialogModel& open(std::string group) {
        m_model = std::make_unique<WordGroupDialogModel>(m_profile, m_ui, std::move(group));
        m_model->open();
        return *m_model;
    }
    std::string stored(const std::string& group) {
        return m_profile.readString("WordGroup", group, "<missing>");
    }
    /// What a fresh reader of the file on disk sees.
    Strings namesOnDisk() const {
        Profile fresh(m_path);
        return readAllGroupNames(fresh);
    }

    testing::TempDir m_dir;
    std::string m_path = m_dir.path() + "/pyxo.ini";
    Profile m_profile{m_path};
    RecordingUserInterface m_ui;
    std::unique_ptr<WordGroupDialogModel> m_model;
};

TEST_F(WordGroupDialogTest, WordsAreCheckedAndStoredAtOnceForTheSelectedGroup) {
    WordGroupDialogModel& dialog = open("fruit");
    EXPECT_EQ(dialog.groupNames(), (Strings{"fruit", "veg"}));
    EXPECT_EQ(dialog.words(), (Strings{"apple", "pear"}));

    EXPECT_FALSE(dialog.addWord());
    dialog.setWordField("Pear");
    EXPECT_TRUE(dialog.addWord());
    EXPECT_EQ(dialog.wordField(), "");
    dialog.setWordField("pear");
    EXPECT_FALSE(dialog.addWord());
    EXPECT_EQ(dialog.wordField(), "");
    dialog.setWordField("a|b");
    EXPECT_FALSE(dialog.addWord());
    EXPECT_EQ(dialog.wordField(), "a|b");
    EXPECT_EQ(stored("fruit"), "apple|pear|Pear|");

    EXPECT_FALSE(dialog.deleteWord(-1));
    EXPECT_TRUE(dialog.deleteWord(0));
    EXPECT_EQ(stored("fruit"), "pear|Pear|");
    EXPECT_EQ(m_ui.messages(),
              (Strings{std::string(kNoWordMessage), std::string(kAlreadyRegisteredMessage),
                       std::string(kUnstorableWordMessage), std::string(kNoWordToDeleteMessage)}));
}

TEST_F(WordGroupDialogTest, EveryMessageBeepsUnlessBeepIsOne) {
    for (int beep : {0, 1}) {
        m_profile.writeInt("Options", "Beep", beep);
        m_ui.clear();
        WordGroupDialogModel& dialog = open("");
        dialog.addWord();
        dialog.deleteWord(5);
        dialog.addGroup();
        dialog.setNameField("FRUIT");
        dialog.addGroup();
        dialog.deleteGroup(-1);
        ASSERT_EQ(m_ui.messages().size(), 5u);
        EXPECT_EQ(m_ui.messages()[2], kNoGroupNameMessage);
        EXPECT_EQ(m_ui.messages()[3], kAlreadyRegisteredMessage);
        EXPECT_EQ(m_ui.messages()[4], kNoGroupToDeleteMessage);
        Strings expected;
        for (const std::string& text : m_ui.messages()) {
            if (beep == 0) expected.push_back("beep");
            expected.push_back("message OK: " + text);
        }
        EXPECT_EQ(m_ui.transcript(), expected);
    }
}

TEST_F(WordGroupDialogTest, FortyNamesFillNameAtOnceAndNameOneOnOk) {
    m_profile.writeString("WordGroupNames", "Name", "");
    WordGroupDialogModel& dialog = open("");
    Strings names;
    for (int i = 0; i < 40; ++i) {
        names.push_back("group" + std::to_string(100 + i));
        dialog.setNameField(names.back());
        ASSERT_TRUE(dialog.addGroup());
    }
    EXPECT_EQ(m_profile.readString("WordGroupNames", "Name", "").size(), 207u);
    EXPECT_FALSE(m_profile.readRaw("WordGroupNames", "Name1"));
    dialog.ok();
    EXPECT_EQ(splitBarList(m_profile.readString("WordGroupNames", "Name1", "")).size(), 17u);
    EXPECT_EQ(namesOnDisk(), names);
}

TEST_F(WordGroupDialogTest, OkClearsLeftoverChunksSoDeletedNamesStayDeleted) {
    m_profile.writeString("WordGroupNames", "Name1", "old|");
    m_profile.writeString("WordGroupNames", "Name2", "older|");
    WordGroupDialogModel& dialog = open("");
    ASSERT_EQ(dialog.groupNames(), (Strings{"fruit", "veg", "old", "older"}));
    dialog.deleteGroup(3);
    dialog.deleteGroup(2);
    dialog.ok();
    EXPECT_EQ(namesOnDisk(), (Strings{"fruit", "veg"}));
}

TEST_F(WordGroupDialogTest, DeletedGroupKeepsItsWordsForANameAddedAgain) {
    WordGroupDialogModel& dialog = open("");
    ASSERT_TRUE(dialog.deleteGroup(0));
    dialog.setNameField("fruit");
    ASSERT_TRUE(dialog.addGroup());
    EXPECT_EQ(stored("fruit"), "apple|pear|");
    dialog.chooseGroup(1);
    EXPECT_EQ(dialog.selectedGroup(), "fruit");
    EXPECT_EQ(dialog.words(), (Strings{"apple", "pear"}));
}

TEST_F(WordGroupDialogTest, NewGroupTakesTheListedWordsWithoutEmptyingTheSelectedOne) {
    WordGroupDialogModel& dialog = open("fruit");
    dialog.setNameField("  fruit copy ");
    ASSERT_TRUE(dialog.addGroup());
    EXPECT_EQ(dialog.groupNames().back(), "fruit copy");
    EXPECT_EQ(stored("fruit copy"), "apple|pear|");
    EXPECT_TRUE(dialog.words().empty());
    EXPECT_EQ(dialog.selectedGroup(), "");
    dialog.setWordField("plum");
    dialog.addWord();
    dialog.ok();
    EXPECT_EQ(stored("fruit"), "apple|pear|");

    dialog.setNameField("a=b");
    EXPECT_FALSE(dialog.addGroup());
    EXPECT_EQ(m_ui.messages().back(), kUnstorableGroupNameMessage);
}

TEST_F(WordGroupDialogTest, DoubleClickSavesTheShownWordsFirst) {
    WordGroupDialogModel& dialog = open("veg");
    dialog.setWordField(
        "\x83\x7C"
        "\x83\x8D");  // ポロ, "|" as a second byte
    dialog.addWord();
    dialog.chooseGroup(0);
    EXPECT_EQ(dialog.words(), (Strings{"apple", "pear"}));
    dialog.chooseGroup(1);
    EXPECT_EQ(dialog.words(), (Strings{"leek", "\x83\x7C\x83\x8D"}));
}

TEST_F(WordGroupDialogTest, EnterTakesBothFieldsSilentlyAndFlushes) {
    WordGroupDialogModel& dialog = open("");
    dialog.setWordField("pear");
    dialog.setNameField("fruit");
    dialog.enter();
    EXPECT_EQ(dialog.words(), (Strings{"pear"}));
    EXPECT_EQ(dialog.nameField(), "");
    dialog.setWordField("kale");
    dialog.setNameField("greens");
    dialog.enter();
    EXPECT_TRUE(m_ui.messages().empty());
    EXPECT_TRUE(dialog.words().empty());
    Profile fresh(m_path);
    EXPECT_EQ(readGroupWords(fresh, "greens"), (Strings{"pear", "kale"}));
    EXPECT_EQ(readAllGroupNames(fresh), (Strings{"fruit", "veg"}));  // names wait for OK
}

TEST_F(WordGroupDialogTest, CancelKeepsWhatTheButtonsStored) {
    WordGroupDialogModel& dialog = open("veg");
    dialog.setWordField("onion");
    dialog.addWord();
    dialog.cancel();
    Profile fresh(m_path);
    EXPECT_EQ(readGroupWords(fresh, "veg"), (Strings{"leek", "onion"}));
}

}  // namespace
}  // namespace vellmora
