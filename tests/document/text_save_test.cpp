#include "document/text_save.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/formatted_file.h"
#include "platform/recording_user_interface.h"
#include "settings/profile.h"
#include "tests/document/file_bytes.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

class TextSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_document.addSearchLine("-----[ a.txt ]-----", 100);
        m_document.addSearchLine("the cat sat", 100);
        m_document.addSortedLine("sorted\r\n");
        m_document.list(ResultKind::Spreadsheet).addTail("a\tb\r\n");
        m_document.selectKind(ResultKind::Sorted);
    }
    void set(std::string_view key, int value) { m_profile.writeInt("SaveOptions", key, value); }
    std::string save() {
        EXPECT_TRUE(writeTextFile(m_document, m_path, m_profile, m_ui));
        return testing::readFileBytes(m_path);
    }

    testing::TempDir m_dir;
    std::string m_path = m_dir.file("out.txt");
    Profile m_profile{m_dir.file("pyxo.ini")};
    RecordingUserInterface m_ui;
    CPyxoDoc m_document{"d"};
};

TEST_F(TextSaveTest, ByDefaultOnlyTheDisplayedListIsWrittenBare) {
    EXPECT_EQ(save(), "sorted\r\n");
    EXPECT_GE(m_ui.pumps(), 1);
}

constexpr std::string_view kEverything =
    "===[ Displayed Result ]===\r\nsorted\r\n"
    "===[ Result of Search ]===\r\n-----[ a.txt ]-----\r\nthe cat sat\r\n"
    "===[ Sorted Result ]===\r\nsorted\r\n"
    "===[ TSV,CSV Formatted result ]===\r\na\tb\r\n";

TEST_F(TextSaveTest, SaveAllWritesEveryNonEmptyListUnderItsHeader) {
    set("DispOnly", 0);
    set("SaveAll", 1);
    EXPECT_EQ(save(), kEverything);
}

TEST_F(TextSaveTest, DisplayedOnlyAndSaveAllTogetherWriteTheDisplayedListTwiceAndMore) {
    set("SaveAll", 1);
    EXPECT_EQ(save(), "sorted\r\n" + std::string(kEverything));
}

TEST_F(TextSaveTest, EachKindHasItsOwnHeader) {
    set("DispOnly", 0);
    m_document.addExtractedLine("e\r\n");
    m_document.addCollocationLine("c\r\n");
    const char* keys[] = {"SearchResult", "Extracted", "Sorted", "Colloq", "Spreadsheet"};
    const char* expected[] = {
        "===[ Result of Search ]===\r\n-----[ a.txt ]-----\r\nthe cat sat\r\n",
        "===[ Extracted Result ]===\r\ne\r\n",
        "===[ Sorted Result ]===\r\nsorted\r\n",
        "===[ Collocation Statistics ]===\r\nc\r\n",
        "===[ TSV,CSV Formatted result ]===\r\na\tb\r\n",
    };
    for (int kind = 0; kind < kResultKinds; ++kind) {
        for (const char* key : keys) set(key, 0);
        set(keys[kind], 1);
        EXPECT_EQ(save(), expected[kind]) << keys[kind];
    }
}

TEST_F(TextSaveTest, AnEmptyDisplayedListGetsNoDisplayedHeader) {
    set("DispOnly", 0);
    set("Disp", 1);
    set("Extracted", 1);
    m_document.selectKind(ResultKind::Extracted);
    EXPECT_EQ(save(), "");
}

TEST_F(TextSaveTest, AFailedSaveLeavesTheOldTextFile) {
    testing::writeFileBytes(m_path, "old text");
    for (int i = 0; i < 1000; ++i) m_document.addSortedLine(std::string(100, 'x') + "\r\n");
    {
        testing::FileSizeLimit fullDisk(4096);
        const FileOutcome outcome = writeTextFile(m_document, m_path, m_profile, m_ui);
        EXPECT_FALSE(outcome);
        EXPECT_EQ(outcome.message, kSaveFailedMessage);
    }
    EXPECT_EQ(testing::readFileBytes(m_path), "old text");
    EXPECT_FALSE(writeTextFile(m_document, m_dir.path(), m_profile, m_ui));
}

}  // namespace
}  // namespace vellmora
