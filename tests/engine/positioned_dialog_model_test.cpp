#include "engine/positioned_dialog_model.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/recording_user_interface.h"
#include "settings/histories.h"
#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Strings = std::vector<std::string>;

class PositionedDialogModelTest : public ::testing::Test {
protected:
    testing::TempDir m_dir;
    std::string m_path = m_dir.file("pyxo.ini");
    Profile m_profile{m_path};
    RecordingUserInterface m_ui;
    Histories m_histories;
};

TEST_F(PositionedDialogModelTest, OpensWithTheLastRequestAndTheStoredPositions) {
    testing::writeFileBytes(m_path,
                            "[Setting]\nKeyword1=cat\nKeyword2=sat\nFilename=*.txt\nWord2=1\n"
                            "[Options]\nMethod=1\n"
                            "[PositionedKwic]\nprev1=1\npos2=1\nBummatsu=1\n");
    m_histories.load(m_profile);
    PositionedDialogModel dialog(m_profile, m_ui, m_histories);
    dialog.open();
    EXPECT_EQ(dialog.request().keyword1, "cat");
    EXPECT_EQ(dialog.request().keyword2, "sat");
    EXPECT_TRUE(dialog.request().keyword2IsGroup);
    EXPECT_EQ(dialog.request().method, SearchMethod::Not);
    WordPositions expected;
    expected.set(-1, true);
    expected.set(2, true);
    expected.bySentence = true;
    EXPECT_EQ(dialog.positions(), expected);
}

TEST_F(PositionedDialogModelTest, ChecksRunInOrderAndStoreNothingUntilAllPass) {
    PositionedDialogModel dialog(m_profile, m_ui, m_histories);
    dialog.open();
    SearchDialogFields& fields = dialog.request();
    fields.keyword1.clear();
    fields.keyword2 = "sat";
    fields.corpus = {"", "/c", "", ""};
    fields.keyword1IsGroup = true;

    auto refusal = [&](SearchField focus) {
        m_ui.clear();
        EXPECT_FALSE(dialog.search());
        EXPECT_EQ(dialog.focus(), focus);
        return m_ui.messages();
    };
    EXPECT_EQ(refusal(SearchField::Keyword1), Strings{"キーワードが指定されてません！"});
    fields.keyword1 = "cat";
    EXPECT_EQ(refusal(SearchField::Filename), Strings{"検索対象ファイルが指定されてません！"});
    fields.corpus.filename = "*.txt;*.vm2";
    EXPECT_EQ(refusal(SearchField::Keyword2),
              Strings{"第２キーワードの位置が指定されていません！(-_-ﾒ)"});
    EXPECT_EQ(m_ui.beeps(), 1);
    dialog.positions().set(3, true);
    EXPECT_EQ(refusal(SearchField::Filename), Strings{"そのファイルはここでは使えません"});
    fields.corpus.filename = "*.txt";
    fields.corpus.resFile = "list.EXE";
    EXPECT_EQ(refusal(SearchField::ResFile), Strings{"そのファイルはここでは使えません"});
    EXPECT_FALSE(m_profile.hasPendingWrites());
    EXPECT_FALSE(std::filesystem::exists(m_path));

    fields.corpus.resFile.clear();
    m_ui.clear();
    ASSERT_TRUE(dialog.search());
    EXPECT_EQ(dialog.focus(), SearchField::None);
    EXPECT_TRUE(m_ui.messages().empty());
    EXPECT_EQ(fields.corpus.directory, "/c/");
    Profile stored(m_path);
    EXPECT_EQ(readWordPositions(stored), dialog.positions());
    EXPECT_EQ(stored.readInt("Setting", "Word1", -1), 1);
    EXPECT_EQ(stored.readInt("Setting", "Word2", -1), 0);
    EXPECT_EQ(stored.readInt("Options", "Method", -1), 0);
    // The range dialog's own boxes are not this dialog's.
    EXPECT_EQ(stored.readInt("Options", "Mae", -1), -1);
    EXPECT_EQ(stored.readInt("Options", "Bummatsu", -1), -1);
}

TEST_F(PositionedDialogModelTest, PositionsAreNeededOnlyWhenKeywordTwoIsTestedThere) {
    PositionedDialogModel dialog(m_profile, m_ui, m_histories);
    dialog.open();
    SearchDialogFields& fields = dialog.request();
    fields.keyword1 = "cat";
    fields.corpus = {"*.txt", "/c/", "", ""};
    EXPECT_TRUE(dialog.search());  // no keyword 2
    fields.keyword2 = "sat";
    fields.method = SearchMethod::Not;
    EXPECT_FALSE(dialog.search());
    fields.method = SearchMethod::Or;  // keyword 2 is then one more keyword 1
    EXPECT_TRUE(dialog.search());
    EXPECT_EQ(Profile(m_path).readInt("Options", "Method", -1), 2);
}

}  // namespace
}  // namespace vellmora
