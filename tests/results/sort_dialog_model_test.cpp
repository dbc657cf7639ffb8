#include "results/sort_dialog_model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/recording_user_interface.h"
#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Strings = std::vector<std::string>;

class SortDialogModelTest : public ::testing::Test {
protected:
    SortDialogModel openedDialog() {
        SortDialogModel dialog(m_profile, m_ui);
        dialog.open();
        return dialog;
    }
    void store(const char* key, const char* value) {
        m_profile.writeString("Sort", key, value);
        m_profile.flush();
    }
    std::string stored(const char* key) {
        Profile reread(m_path);
        return reread.readString("Sort", key, "<none>");
    }

    testing::TempDir m_dir;
    std::string m_path = m_dir.file("pyxo.ini");
    Profile m_profile{m_path};
    RecordingUserInterface m_ui;
};

TEST_F(SortDialogModelTest, OpensWithTheDefaultsOfAnEmptyFile) {
    SortDialogModel dialog = openedDialog();
    EXPECT_EQ(dialog.key(0).index, 7);  // R1
    EXPECT_EQ(dialog.key(1).index, kNoSortKeyIndex);
    EXPECT_EQ(dialog.key(2).index, kNoSortKeyIndex);
    EXPECT_FALSE(dialog.key(0).descending);
    EXPECT_FALSE(dialog.key(0).byTail);
    EXPECT_FALSE(dialog.sentenceFinal());
    EXPECT_FALSE(dialog.byteWise());
    EXPECT_EQ(dialog.maxLineText(), "40000");
    ASSERT_EQ(dialog.sortKeys().size(), 1u);
    EXPECT_EQ(dialog.sortKeys()[0].position, 1);
}

TEST_F(SortDialogModelTest, StoredLineCountsOutsideTheRangeOpenAs40000) {
    for (const char* text : {"0", "100001", "-5", "abc", ""}) {
        store("MaxLine", text);
        EXPECT_EQ(openedDialog().maxLineText(), "40000") << text;
    }
    for (const char* text : {"1", "100000", "250"}) {
        store("MaxLine", text);
        EXPECT_EQ(openedDialog().maxLineText(), text);
    }
}

TEST_F(SortDialogModelTest, StoredPositionsOutsideTheBoxesOpenAsTheDefaults) {
    store("Mode", "17");
    store("Mode2", "-7");
    store("Mode3", "5");
    SortDialogModel dialog = openedDialog();
    EXPECT_EQ(dialog.key(0).index, 7);
    EXPECT_EQ(dialog.key(1).index, kNoSortKeyIndex);
    EXPECT_EQ(dialog.key(2).index, 11);  // R5
}

TEST_F(SortDialogModelTest, OkStoresEveryKeyAndTheNextOpeningShowsThem) {
    SortDialogModel dialog = openedDialog();
    dialog.setKeyIndex(0, 5);  // L1
    dialog.setDescending(0, true);
    dialog.setKeyIndex(1, 0);
    dialog.setKeyIndex(2, 9);  // R3
    dialog.setByTail(2, true);
    dialog.setSentenceFinal(true);
    dialog.setByteWise(true);
    dialog.setKeyIndex(1, 12);  // not an entry: ignored
    dialog.editMaxLine("300");
    dialog.ok();

    EXPECT_EQ(stored("Mode"), "-1");
    EXPECT_EQ(stored("Mode2"), "-6");
    EXPECT_EQ(stored("Mode3"), "3");
    EXPECT_EQ(stored("Order1"), "1");
    EXPECT_EQ(stored("Order2"), "0");
    EXPECT_EQ(stored("Tail3"), "1");
    EXPECT_EQ(stored("SentenceFinal"), "1");
    EXPECT_EQ(stored("European"), "1");
    EXPECT_EQ(stored("MaxLine"), "300");

    SortDialogModel again = openedDialog();
    EXPECT_EQ(again.key(0).index, 5);
    EXPECT_TRUE(again.key(0).descending);
    EXPECT_EQ(again.key(2).index, 9);
    EXPECT_TRUE(again.key(2).byTail);
    EXPECT_TRUE(again.sentenceFinal());
    EXPECT_TRUE(again.byteWise());
    EXPECT_EQ(again.maxLineText(), "300");
    EXPECT_TRUE(m_ui.messages().empty());
}

TEST_F(SortDialogModelTest, AKeywordKeyDisablesTheKeysAfterIt) {
    SortDialogModel dialog = openedDialog();
    dialog.setKeyIndex(1, 8);
    dialog.setKeyIndex(2, 9);
    EXPECT_TRUE(dialog.keyEnabled(1));
    EXPECT_TRUE(dialog.keyEnabled(2));
    EXPECT_EQ(dialog.sortKeys().size(), 3u);

    dialog.setKeyIndex(1, 6);  // KW
    EXPECT_TRUE(dialog.keyEnabled(1));
    EXPECT_FALSE(dialog.keyEnabled(2));
    EXPECT_EQ(dialog.sortKeys().size(), 2u);

    dialog.setKeyIndex(0, 6);
    EXPECT_FALSE(dialog.keyEnabled(1));
    EXPECT_FALSE(dialog.keyEnabled(2));
    ASSERT_EQ(dialog.sortKeys().size(), 1u);
    EXPECT_EQ(dialog.sortKeys()[0].position, 0);
}

TEST_F(SortDialogModelTest, TheFirstBoxsFirstEntryIsTheSixthWordLeft) {
    SortDialogModel dialog = openedDialog();
    dialog.setKeyIndex(0, 0);
    dialog.setKeyIndex(2, 10);  // a third key without a second one still counts
    const std::vector<WordSortKey> keys = dialog.sortKeys();
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].position, -6);
    EXPECT_EQ(keys[1].position, 4);
    EXPECT_EQ(sortKeyLabel(0, 0), "未指定");
    EXPECT_EQ(sortKeyLabel(1, 0), "なし");
    EXPECT_EQ(sortKeyLabel(2, 6), "KW");
    EXPECT_EQ(sortKeyLabel(0, 1), "L5");
    EXPECT_EQ(sortKeyLabel(0, 12), "");
}

TEST_F(SortDialogModelTest, TypedLineCountsAreFoldedAndChecked) {
    SortDialogModel dialog = openedDialog();
    // Full-width 1 2 3 between ASCII digits; a double-byte character whose second byte is
    // 0x82 stays whole.
    EXPECT_EQ(dialog.editMaxLine("9\x82\x50\x82\x51\x82\x52"), "9123");
    EXPECT_EQ(dialog.editMaxLine("\x88\x82\x82\x50"),
              "\x88\x82"
              "1");
    EXPECT_TRUE(m_ui.messages().empty());

    EXPECT_EQ(dialog.editMaxLine("-1"), "40000");
    EXPECT_EQ(dialog.editMaxLine("\x82\x50\x82\x4F\x82\x4F\x82\x4F\x82\x4F\x82\x50"), "100000");
    EXPECT_EQ(dialog.editMaxLine("99999999999999"), "100000");
    EXPECT_EQ(dialog.editMaxLine("0"), "0");
    EXPECT_EQ(m_ui.messages(),
              (Strings{std::string(kSortMinusMessage), std::string(kSortTooBigMessage),
                       std::string(kSortTooBigMessage)}));
    EXPECT_EQ(m_ui.beeps(), 3);
}

TEST_F(SortDialogModelTest, MessagesGoWithoutBeepWhenBeepingIsOff) {
    m_profile.writeInt("Options", "Beep", 1);
    m_profile.flush();
    SortDialogModel dialog = openedDialog();
    dialog.editMaxLine("-3");
    EXPECT_EQ(m_ui.messages().size(), 1u);
    EXPECT_EQ(m_ui.beeps(), 0);
}

TEST_F(SortDialogModelTest, TheSmallButtonsStepByAHundredWithin100To100000) {
    SortDialogModel dialog = openedDialog();
    EXPECT_EQ(dialog.stepMaxLine(true), "40100");
    dialog.editMaxLine("150");
    EXPECT_EQ(dialog.stepMaxLine(false), "100");
    EXPECT_EQ(dialog.stepMaxLine(false), "100");
    dialog.editMaxLine("99950");
    EXPECT_EQ(dialog.stepMaxLine(true), "100000");
    dialog.editMaxLine("abc");
    EXPECT_EQ(dialog.stepMaxLine(true), "100");
}

}  // namespace
}  // namespace vellmora
