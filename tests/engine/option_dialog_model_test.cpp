#include "engine/option_dialog_model.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/recording_user_interface.h"
#include "settings/catalogue.h"
#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Strings = std::vector<std::string>;
using enum OptionCheck;

Strings texts(std::initializer_list<std::string_view> items) {
    return Strings(items.begin(), items.end());
}

class OptionDialogModelTest : public ::testing::Test {
protected:
    OptionDialogModel openedDialog() {
        OptionDialogModel dialog(m_profile, m_ui);
        dialog.open();
        return dialog;
    }

    testing::TempDir m_dir;
    std::string m_path = m_dir.file("pyxo.ini");
    Profile m_profile{m_path};
    RecordingUserInterface m_ui;
};

TEST_F(OptionDialogModelTest, OpensWithTheCatalogueDefaults) {
    OptionDialogModel dialog = openedDialog();
    EXPECT_EQ(dialog.text(OptionText::Xsize), "80");
    EXPECT_EQ(dialog.text(OptionText::Offset), "0");
    EXPECT_EQ(dialog.text(OptionText::IgnoreKeta), "0");
    EXPECT_EQ(dialog.text(OptionText::MaxLine), "100000");
    for (int i = 0; i < kOptionCheckCount; ++i) {
        OptionCheck check = static_cast<OptionCheck>(i);
        EXPECT_EQ(dialog.check(check), check == Separator || check == OffsetRight)
            << controlText(check);
    }
}

TEST_F(OptionDialogModelTest, WidthMustLieIn30To256AndEmptyBecomes80) {
    for (const char* width : {"29", "257", "-80"}) {
        OptionDialogModel dialog = openedDialog();
        dialog.editText(OptionText::Xsize, width);
        EXPECT_FALSE(dialog.ok()) << width;
        EXPECT_EQ(dialog.focus(), OptionText::Xsize);
    }
    EXPECT_EQ(m_ui.messages(), texts({kWidthRangeMessage, kWidthRangeMessage, kWidthRangeMessage}));
    EXPECT_FALSE(std::filesystem::exists(m_path));

    for (const char* width : {"30", "256", "", "0"}) {
        OptionDialogModel dialog = openedDialog();
        dialog.editText(OptionText::Xsize, width);
        ASSERT_TRUE(dialog.ok()) << width;
        std::string expected = std::string(width).size() > 1 ? width : "80";
        EXPECT_EQ(dialog.text(OptionText::Xsize), expected);
        EXPECT_EQ(Profile(m_path).readString("Options", "Xsize", ""), expected);
    }
}

TEST_F(OptionDialogModelTest, OffsetMayNotPassHalfTheWidth) {
    struct Case {
        const char* width;
        const char* offset;
        bool accepted;
    };
    const Case cases[] = {
        {"80", "41", false}, {"80", "40", true},   {"", "41", false},   {"81", "40", true},
        {"81", "41", false}, {"80", "-41", false}, {"80", "-40", true}, {"30", "", true},
    };
    for (const Case& c : cases) {
        m_ui.clear();
        OptionDialogModel dialog = openedDialog();
        dialog.editText(OptionText::Xsize, c.width);
        dialog.editText(OptionText::Offset, c.offset);
        EXPECT_EQ(dialog.ok(), c.accepted) << c.width << " " << c.offset;
        if (!c.accepted) {
            EXPECT_EQ(dialog.focus(), OptionText::Offset);
            EXPECT_EQ(m_ui.messages(), texts({kOffsetTooBigMessage}));
        }
    }
}

TEST_F(OptionDialogModelTest, OkChecksWidthBeforeOffsetBeforeIgnoredChars) {
    OptionDialogModel dialog = openedDialog();
    dialog.editText(OptionText::Xsize, "300");
    dialog.editText(OptionText::Offset, "200");
    m_ui.clear();
    EXPECT_FALSE(dialog.ok());
    EXPECT_EQ(dialog.focus(), OptionText::Xsize);
    dialog.editText(OptionText::Xsize, "100");
    EXPECT_FALSE(dialog.ok());
    EXPECT_EQ(dialog.focus(), OptionText::Offset);
    dialog.editText(OptionText::Offset, "");
    EXPECT_TRUE(dialog.ok());
    EXPECT_EQ(dialog.text(OptionText::Offset), "0");
    EXPECT_EQ(m_ui.messages(), texts({kWidthRangeMessage, kOffsetTooBigMessage}));
}

TEST_F(OptionDialogModelTest, IgnoredCharsWarnWhileTypedAndAreRefusedOnOk) {
    OptionDialogModel dialog = openedDialog();
    EXPECT_TRUE(dialog.editText(OptionText::IgnoreKeta, "-"));
    EXPECT_FALSE(dialog.editText(OptionText::IgnoreKeta, "-5"));
    EXPECT_EQ(dialog.text(OptionText::IgnoreKeta), "-5");
    EXPECT_FALSE(dialog.ok());
    EXPECT_EQ(dialog.focus(), OptionText::IgnoreKeta);

    EXPECT_TRUE(dialog.editText(OptionText::IgnoreKeta, "79"));
    EXPECT_FALSE(dialog.editText(OptionText::IgnoreKeta, "80"));
    EXPECT_FALSE(dialog.ok());
    EXPECT_EQ(m_ui.messages(), texts({kMinusIgnoredCharsMessage, kMinusIgnoredCharsMessage,
                                      kTooManyIgnoredCharsMessage, kTooManyIgnoredCharsMessage}));
    EXPECT_FALSE(std::filesystem::exists(m_path));

    dialog.editText(OptionText::Xsize, "100");
    EXPECT_TRUE(dialog.ok());
    EXPECT_EQ(Profile(m_path).readString("Options", "IgnoreKeta", ""), "80");
}

TEST_F(OptionDialogModelTest, MaxResultLinesOutOfRangeIsResetAtOnce) {
    OptionDialogModel dialog = openedDialog();
    EXPECT_TRUE(dialog.editText(OptionText::MaxLine, "100000"));
    EXPECT_FALSE(dialog.editText(OptionText::MaxLine, "100001"));
    EXPECT_EQ(dialog.text(OptionText::MaxLine), "100000");
    EXPECT_FALSE(dialog.editText(OptionText::MaxLine, "-3"));
    EXPECT_EQ(dialog.text(OptionText::MaxLine), "100000");
    EXPECT_EQ(m_ui.messages(), texts({kTooBigMaxLineMessage, kMinusMaxLineMessage}));

    // A limit of 0 would store no result line at all.
    dialog.editText(OptionText::MaxLine, "");
    ASSERT_TRUE(dialog.ok());
    EXPECT_EQ(Profile(m_path).readString("Options", "MaxLine", ""), "100000");

    // A hand-edited file can hold what the field never lets through.
    m_profile.writeString("Options", "MaxLine", "250000");
    OptionDialogModel reopened = openedDialog();
    EXPECT_FALSE(reopened.ok());
    EXPECT_EQ(reopened.focus(), OptionText::MaxLine);
    EXPECT_EQ(reopened.text(OptionText::MaxLine), "100000");
    EXPECT_TRUE(reopened.ok());
}

TEST_F(OptionDialogModelTest, ConfirmingUnchangedWritesTheSameValuesBack) {
    const std::string stored =
        "[Options]\nKW1Both=1\nKW1Apo=1\nKW1Hyph=1\nKW2Mae=1\nKW2Alnum=1\nIgnoreCase=1\n"
        "NoCRLF=1\nCount=1\nCountMatched=1\nBeep=1\nTagFName=1\nSeparator=0\nTagForm=1\n"
        "DelSpace1=1\nOffsetLeft=1\nOffsetRight=0\nSubdir=1\nExclude=1\nEUCtoSJIS=1\n"
        "bGrep=1\nbOneLine=1\nXsize=120\nOffset=12\nIgnoreKeta=3\nMaxLine=500\n";
    testing::writeFileBytes(m_path, stored);
    OptionDialogModel dialog = openedDialog();
    ASSERT_TRUE(dialog.ok());

    // Every stored line stays as it was; the keys the file lacked are added at their
    // defaults, which are all 0 here.
    const std::string after = testing::readFileBytes(m_path);
    ASSERT_EQ(after.substr(0, stored.size()), stored);
    std::string added = after.substr(stored.size());
    int addedKeys = 0;
    for (std::size_t start = 0, end; start < added.size(); start = end + 1) {
        end = added.find('\n', start);
        EXPECT_EQ(added.substr(end - 2, 2), "=0") << added.substr(start, end - start);
        ++addedKeys;
    }
    EXPECT_EQ(addedKeys, kOptionCheckCount - 21);
    EXPECT_EQ(after.find("NoCrlf"), std::string::npos);
    EXPECT_TRUE(m_ui.beepSilenced());
}

TEST_F(OptionDialogModelTest, AlternativesOpenAsTheRunReadsThemAndStayExclusive) {
    // Hand edits can leave several members of a group set.
    testing::writeFileBytes(m_path,
                            "[Options]\nKW1Both=1\nKW1Ato=1\nSeparator=0\nTagAsIs=1\n"
                            "SepMatched=1\nOffsetLeft=1\nOffsetRight=1\nCRLF=1\nNoCRLF=1\n");
    OptionDialogModel dialog = openedDialog();
    EXPECT_FALSE(dialog.check(KW1Both));
    EXPECT_TRUE(dialog.check(KW1Ato));
    EXPECT_TRUE(dialog.check(TagAsIs));
    EXPECT_FALSE(dialog.check(SepMatched));
    EXPECT_FALSE(dialog.check(OffsetRight));
    EXPECT_FALSE(dialog.check(NoCrlf));

    dialog.setCheck(TagAsIs, false);  // a radio choice cannot be cleared
    EXPECT_TRUE(dialog.check(TagAsIs));
    dialog.setCheck(Separator, true);
    EXPECT_FALSE(dialog.check(TagAsIs));
    dialog.setCheck(KW1Ato, false);  // but a word position can
    EXPECT_FALSE(dialog.check(KW1Ato));
    dialog.setCheck(EucToSjis, true);
    dialog.setCheck(Utf8ToSjis, true);
    EXPECT_FALSE(dialog.check(EucToSjis));
    dialog.setCheck(AutoCode, true);  // Auto is one of the conversions
    EXPECT_FALSE(dialog.check(Utf8ToSjis));

    dialog.setCheck(KW2Ato, true);
    dialog.setCheck(KW2Hyph, true);
    dialog.setCheck(KW2Apo, true);
    EXPECT_TRUE(dialog.check(KW2Hyph));
    dialog.setCheck(KW2Alnum, true);
    EXPECT_FALSE(dialog.check(KW2Hyph) || dialog.check(KW2Apo));
}

TEST_F(OptionDialogModelTest, DelimiterRulesNeedAPositionThatTestsTheKeywordEnd) {
    m_profile.writeInt("Options", "KW1Mae", 1);
    m_profile.writeInt("Options", "KW1Apo", 1);
    m_profile.writeInt("Options", "KW2Hyph", 1);
    OptionDialogModel dialog = openedDialog();
    EXPECT_FALSE(dialog.isEnabled(KW1Apo));
    EXPECT_FALSE(dialog.isEnabled(KW2Alnum));
    EXPECT_FALSE(dialog.isEnabled(CountMatched));
    EXPECT_FALSE(dialog.isEnabled(TagForm));
    dialog.setCheck(Count, true);
    dialog.setCheck(TagAsIs, true);
    EXPECT_TRUE(dialog.isEnabled(CountMatched));
    EXPECT_TRUE(dialog.isEnabled(TagForm));

    // Written as they are, these would give boundary modes that reject every occurrence.
    ASSERT_TRUE(dialog.ok());
    Profile reread(m_path);
    EXPECT_EQ(reread.readInt("Options", "KW1Apo", -1), 0);
    EXPECT_EQ(reread.readInt("Options", "KW1Alnum", -1), 1);
    EXPECT_EQ(reread.readInt("Options", "KW2Hyph", -1), 0);
    EXPECT_EQ(reread.readInt("Options", "KW1Mae", -1), 1);

    dialog.setCheck(KW1Both, true);
    EXPECT_TRUE(dialog.isEnabled(KW1Apo));
    dialog.setCheck(KW1Apo, true);
    ASSERT_TRUE(dialog.ok());
    EXPECT_EQ(Profile(m_path).readInt("Options", "KW1Apo", -1), 1);
}

TEST_F(OptionDialogModelTest, BeepFollowsTheStoredSettingUntilOk) {
    OptionDialogModel dialog = openedDialog();
    dialog.setCheck(Beep, true);
    dialog.editText(OptionText::Xsize, "20");
    EXPECT_FALSE(dialog.ok());
    EXPECT_EQ(m_ui.beeps(), 1);
    dialog.editText(OptionText::Xsize, "80");
    ASSERT_TRUE(dialog.ok());
    EXPECT_TRUE(m_ui.beepSilenced());
    OptionDialogModel reopened = openedDialog();
    reopened.editText(OptionText::Xsize, "20");
    EXPECT_FALSE(reopened.ok());
    EXPECT_EQ(m_ui.beeps(), 1);
}

}  // namespace
}  // namespace vellmora
