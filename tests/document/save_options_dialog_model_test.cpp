#include "document/save_options_dialog_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Box = SaveOptionBox;

class SaveOptionsDialogModelTest : public ::testing::Test {
protected:
    /// The boxes that are checked, in the dialog's order.
    std::vector<Box> checked() const {
        std::vector<Box> boxes;
        for (int i = 0; i < kSaveOptionBoxes; ++i) {
            if (m_model.checked(static_cast<Box>(i))) boxes.push_back(static_cast<Box>(i));
        }
        return boxes;
    }

    testing::TempDir m_dir;
    std::string m_iniPath = m_dir.file("pyxo.ini");
    Profile m_profile{m_iniPath};
    SaveOptionsDialogModel m_model{m_profile};
};

TEST_F(SaveOptionsDialogModelTest, OpensWithTheStoredKeysOrDisplayedResultOnly) {
    m_model.open();
    EXPECT_EQ(checked(), (std::vector<Box>{Box::DispOnly}));
    m_profile.writeInt("SaveOptions", "DispOnly", 0);
    m_profile.writeInt("SaveOptions", "Sorted", 1);
    m_profile.writeInt("SaveOptions", "Colloq", 2);  // only 1 checks a box
    m_model.open();
    EXPECT_EQ(checked(), (std::vector<Box>{Box::Sorted}));
}

TEST_F(SaveOptionsDialogModelTest, BoxesThatExcludeEachOtherAreClearedAsTheUserChecks) {
    m_model.open();
    m_model.setChecked(Box::Sorted, true);
    m_model.setChecked(Box::Extracted, true);
    EXPECT_EQ(checked(), (std::vector<Box>{Box::Sorted, Box::Extracted}));
    m_model.setChecked(Box::DispOnly, true);  // the single results stay
    EXPECT_EQ(checked(), (std::vector<Box>{Box::DispOnly, Box::Sorted, Box::Extracted}));
    m_model.setChecked(Box::SaveAll, true);
    EXPECT_EQ(checked(), (std::vector<Box>{Box::SaveAll}));
    m_model.setChecked(Box::DispOnly, true);
    EXPECT_EQ(checked(), (std::vector<Box>{Box::DispOnly}));
    m_model.setChecked(Box::SaveAll, true);
    m_model.setChecked(Box::Spreadsheet, true);
    EXPECT_EQ(checked(), (std::vector<Box>{Box::Spreadsheet}));
}

TEST_F(SaveOptionsDialogModelTest, ClearingTheLastBoxChecksDisplayedResultOnlyAgain) {
    m_model.open();
    m_model.setChecked(Box::DispOnly, false);
    EXPECT_EQ(checked(), (std::vector<Box>{Box::DispOnly}));
    m_model.setChecked(Box::Disp, true);
    m_model.setChecked(Box::Disp, false);
    EXPECT_EQ(checked(), (std::vector<Box>{Box::DispOnly}));
}

TEST_F(SaveOptionsDialogModelTest, OkWritesTheNineKeysAndFlushes) {
    m_model.open();
    m_model.setChecked(Box::SearchResult, true);
    m_model.setChecked(Box::Disp, true);
    ASSERT_TRUE(m_model.confirm());
    EXPECT_EQ(testing::readFileBytes(m_iniPath),
              "[SaveOptions]\nDispOnly=0\nSaveAll=0\nDisp=1\nSearchResult=1\nSorted=0\n"
              "Extracted=0\nColloq=0\nSpreadsheet=0\nUTF8=0\n");
    const TextSaveOptions options = m_model.options();
    EXPECT_TRUE(options.disp && options.searchResult);
    EXPECT_FALSE(options.dispOnly || options.saveAll || options.sorted);
    EXPECT_EQ(SaveOptionsDialogModel::label(Box::Colloq), "Collocation Statistics");
    EXPECT_EQ(SaveOptionsDialogModel::key(Box::Spreadsheet), "Spreadsheet");
}

TEST_F(SaveOptionsDialogModelTest, SaveAsUtf8StandsApartFromTheListBoxes) {
    m_profile.writeInt("SaveOptions", "UTF8", 1);
    m_model.open();
    EXPECT_TRUE(m_model.utf8());
    m_model.setChecked(Box::SaveAll, true);  // clears every list box, not this one
    m_model.setChecked(Box::SaveAll, false);
    EXPECT_TRUE(m_model.utf8() && m_model.options().utf8);
    EXPECT_EQ(checked(), (std::vector<Box>{Box::DispOnly}));
    m_model.setUtf8(false);
    EXPECT_EQ(checked(), (std::vector<Box>{Box::DispOnly}));
    ASSERT_TRUE(m_model.confirm());
    EXPECT_FALSE(TextSaveOptions::read(m_profile).utf8);
}

}  // namespace
}  // namespace vellmora
