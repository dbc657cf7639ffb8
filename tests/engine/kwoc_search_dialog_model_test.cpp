#include "engine/kwoc_search_dialog_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/recording_user_interface.h"
#include "settings/histories.h"
#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Strings = std::vector<std::string>;

class KwocSearchDialogModelTest : public ::testing::Test {
protected:
    std::string read(std::string_view section, std::string_view key) {
        Profile fresh(m_path);
        return fresh.readString(section, key, "<none>");
    }

    testing::TempDir m_dir;
    std::string m_path = m_dir.file("pyxo.ini");
    Profile m_profile{m_path};
    RecordingUserInterface m_ui;
    Histories m_histories;
};

TEST_F(KwocSearchDialogModelTest, StoresTheOrderBoxButNotTheRangeDialogsOwnBoxes) {
    testing::writeFileBytes(m_path, "[Setting]\nKeyword1=cat\nFilename=*.txt\nDirectory=/c\n"
                                    "[Options]\nMethod=2\nMae=1\n[KWOCOptions]\nKWOrder=1\n");
    m_histories.load(m_profile);
    KwocSearchDialogModel dialog(m_profile, m_ui, m_histories);
    dialog.open();
    EXPECT_TRUE(dialog.orderSensitive());
    EXPECT_EQ(dialog.request().method, SearchMethod::Or);

    dialog.setOrderSensitive(false);
    dialog.request().method = SearchMethod::Not;
    dialog.request().beforeKeyword1 = false;
    ASSERT_TRUE(dialog.search());
    EXPECT_EQ(dialog.request().corpus.directory, "/c/");
    EXPECT_EQ(read("KWOCOptions", "KWOrder"), "0");
    EXPECT_EQ(read("Options", "Method"), "1");
    EXPECT_EQ(read("Options", "Mae"), "1");  // not this dialog's box
    EXPECT_TRUE(m_ui.messages().empty());
}

TEST_F(KwocSearchDialogModelTest, RefusesWhatTheRangeDialogRefusesAndStoresNothing) {
    KwocSearchDialogModel dialog(m_profile, m_ui, m_histories);
    dialog.open();
    dialog.setOrderSensitive(true);
    dialog.request().keyword1 = "cat";
    dialog.request().corpus = {"old.vm2", "/c", "", ""};
    EXPECT_FALSE(dialog.search());
    EXPECT_EQ(dialog.focus(), SearchField::Filename);
    dialog.request().corpus = {"", "/c", "", ""};
    EXPECT_FALSE(dialog.search());
    EXPECT_EQ(m_ui.messages(), (Strings{"そのファイルはここでは使えません",
                                        "検索対象ファイルが指定されてません！"}));
    EXPECT_EQ(read("KWOCOptions", "KWOrder"), "<none>");
}

}  // namespace
}  // namespace vellmora
