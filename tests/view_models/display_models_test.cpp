#include <gtest/gtest.h>

#include <fstream>

#include "containers/ex_string_list.h"
#include "document/clipboard_copy.h"
#include "platform/recording_user_interface.h"
#include "settings/display_options_model.h"
#include "settings/profile.h"
#include "settings/view_colours.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

class DisplayModelsTest : public ::testing::Test {
protected:
    /// Replaces the settings file with text.
    void writeIni(const std::string& text) {
        std::ofstream(dir.file("pyxo.ini"), std::ios::binary) << text;
    }

    testing::TempDir dir;
    Profile profile{dir.file("pyxo.ini")};
    RecordingUserInterface ui;
};

using ViewColoursTest = DisplayModelsTest;

TEST_F(ViewColoursTest, WithoutAColorSectionHighlightIsWhiteOnBlack) {
    const ViewColours colours = readViewColours(profile);
    EXPECT_EQ(colours.text, (Rgb{0, 0, 0}));
    EXPECT_EQ(colours.background, (Rgb{255, 255, 255}));
    EXPECT_EQ(colours.highlightText, (Rgb{255, 255, 255}));
    EXPECT_EQ(colours.highlightBackground, (Rgb{0, 0, 0}));
}

TEST_F(ViewColoursTest, HighlightDefaultsToTheInverseOfTheColoursJustRead) {
    writeIni("[Color]\r\nTxtColor=65280\r\nBkColor=255\r\n");
    ViewColours colours = readViewColours(profile);
    EXPECT_EQ(colours.text, (Rgb{0, 255, 0}));
    EXPECT_EQ(colours.background, (Rgb{255, 0, 0}));
    EXPECT_EQ(colours.highlightText, colours.background);
    EXPECT_EQ(colours.highlightBackground, colours.text);

    writeIni("[Color]\r\nTxtColor=65280\r\nBkColor=255\r\nHlTxtColor=16711680\r\nHlBkColor=0\r\n");
    colours = readViewColours(profile);
    EXPECT_EQ(colours.highlightText, (Rgb{0, 0, 255}));
    EXPECT_EQ(colours.highlightBackground, (Rgb{0, 0, 0}));
}

TEST_F(ViewColoursTest, HandEditedValuesKeepTheirLowTwentyFourBits) {
    writeIni("[Color]\r\nTxtColor=-1\r\nBkColor=junk\r\nHlBkColor=99999999999\r\n");
    const ViewColours colours = readViewColours(profile);
    EXPECT_EQ(colours.text, (Rgb{255, 255, 255}));
    EXPECT_EQ(colours.background, (Rgb{0, 0, 0}));
    EXPECT_EQ(colours.highlightBackground, Rgb::fromValue(2147483647));
    EXPECT_EQ(Rgb::fromValue(0x7F123456), (Rgb{0x56, 0x34, 0x12}));
}

TEST_F(ViewColoursTest, ColourCommandsWriteAndFlush) {
    ASSERT_TRUE(writeTextColour(profile, Rgb{1, 2, 3}));
    ASSERT_TRUE(writeBackgroundColour(profile, Rgb{0, 0, 128}));
    Profile reread(dir.file("pyxo.ini"));
    EXPECT_EQ(reread.readInt("Color", "TxtColor", -1), 1 + 2 * 256 + 3 * 65536);
    EXPECT_EQ(reread.readInt("Color", "BkColor", -1), 128 * 65536);
}

using DisplayOptionsModelTest = DisplayModelsTest;

TEST_F(DisplayOptionsModelTest, ValuesOutsideFourToThirtyAreRefusedAndNothingIsWritten) {
    DisplayOptionsModel model(profile);
    EXPECT_EQ(model.tabStopText(), "15");
    for (const char* text : {"3", "31", "", "abc", "-5", "1e1", "12x", "99999999999999"}) {
        model.setTabStopText(text);
        EXPECT_EQ(model.accept(ui), std::nullopt) << text;
    }
    EXPECT_EQ(ui.messages().size(), 8u);
    EXPECT_EQ(ui.messages().front(), "Available range is 4-30.");
    EXPECT_EQ(ui.beeps(), 8);
    EXPECT_FALSE(Profile(dir.file("pyxo.ini")).readRaw("DispOption", "TabStop").has_value());
}

TEST_F(DisplayOptionsModelTest, TheRefusalIsSilentWhenBeepingIsOff) {
    writeIni("[Options]\r\nBeep=1\r\n");
    DisplayOptionsModel model(profile);
    model.setTabStopText("31");
    EXPECT_EQ(model.accept(ui), std::nullopt);
    EXPECT_EQ(ui.beeps(), 0);
    EXPECT_EQ(ui.messages().size(), 1u);
}

TEST_F(DisplayOptionsModelTest, ValuesInRangeAreWrittenFlushedAndReturned) {
    writeIni("[DispOption]\r\nTabStop=8\r\n");
    DisplayOptionsModel model(profile);
    EXPECT_EQ(model.tabStopText(), "8");
    model.setTabStopText(" 30 ");
    EXPECT_EQ(model.accept(ui), 30);
    EXPECT_EQ(Profile(dir.file("pyxo.ini")).readString("DispOption", "TabStop", ""), "30");
    model.setTabStopText("4");
    EXPECT_EQ(model.accept(ui), 4);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(DisplayOptionsModelTest, TheStoredUnitAppliesFromStartUpWhenItIsInRange) {
    EXPECT_EQ(storedTabUnit(profile), 15);
    writeIni("[DispOption]\r\nTabStop=7\r\n");
    EXPECT_EQ(storedTabUnit(profile), 7);
    writeIni("[DispOption]\r\nTabStop=99\r\n");
    EXPECT_EQ(storedTabUnit(profile), 15);
    writeIni("[DispOption]\r\nTabStop=\x83\x5C\r\n");
    EXPECT_EQ(storedTabUnit(profile), 15);
}

/// Records what the copy hands over.
class FakeClipboard : public ClipboardTarget {
public:
    bool open() override { return opens; }
    void setText(std::string_view copied) override {
        text = copied;
        wasSet = true;
    }

    bool opens = true;
    bool wasSet = false;
    std::string text;
};

using ClipboardCopyTest = DisplayModelsTest;

TEST_F(ClipboardCopyTest, ABufferOfTenTakesAFirstLineOfAtMostNineBytesAndNothingAfterIt) {
    writeIni("[Setting]\r\nClipCopySize=10\r\n");
    CExStringList list;
    list.addTail("1234567\r\n");
    list.addTail("x\r\n");
    FakeClipboard clipboard;
    EXPECT_EQ(copyListToClipboard(list, profile, ui, clipboard), CopyOutcome::Finished);
    EXPECT_EQ(clipboard.text, "1234567\r\n");
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Finished!"});

    CExStringList tooLong;
    tooLong.addTail("12345678\r\n");
    tooLong.addTail("x\r\n");
    FakeClipboard empty;
    copyListToClipboard(tooLong, profile, ui, empty);
    EXPECT_TRUE(empty.wasSet);
    EXPECT_EQ(empty.text, "");
}

TEST_F(ClipboardCopyTest, ABufferSizeOfZeroTakesTheWholeListAndTheDefaultAMegabyte) {
    CExStringList list;
    for (int i = 0; i < 100; ++i) list.addTail("line of text\r\n");
    FakeClipboard byDefault;
    copyListToClipboard(list, profile, ui, byDefault);
    EXPECT_EQ(byDefault.text.size(), 1400u);
    EXPECT_EQ(ui.pumps(), 100);

    writeIni("[Setting]\r\nClipCopySize=0\r\n");
    FakeClipboard whole;
    copyListToClipboard(list, profile, ui, whole);
    EXPECT_EQ(whole.text.size(), 1400u);

    // The running total must stay below the size: 1400 bytes do not fit in 1400.
    writeIni("[Setting]\r\nClipCopySize=1400\r\n");
    FakeClipboard almost;
    copyListToClipboard(list, profile, ui, almost);
    EXPECT_EQ(almost.text.size(), 1386u);
}

TEST_F(ClipboardCopyTest, FailuresAreReportedAndLeaveTheClipboardAlone) {
    CExStringList list;
    list.addTail("a\r\n");
    FakeClipboard closed;
    closed.opens = false;
    EXPECT_EQ(copyListToClipboard(list, profile, ui, closed), CopyOutcome::NotOpened);
    EXPECT_FALSE(closed.wasSet);

    writeIni("[Setting]\r\nClipCopySize=-5\r\n[Options]\r\nBeep=1\r\n");
    FakeClipboard negative;
    EXPECT_EQ(copyListToClipboard(list, profile, ui, negative), CopyOutcome::NoMemory);
    EXPECT_FALSE(negative.wasSet);
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"Clipboard wouldn't be opened(;_;)",
                                                       "Memory Allocation Error(;_;)"}));
    EXPECT_EQ(ui.beeps(), 1);
}

TEST_F(ClipboardCopyTest, AClipboardEditorWithACommandLineIsStartedInsteadOfTheMessage) {
    CExStringList list;
    list.addTail("a\r\n");
    writeIni("[TextEditor]\r\nExecutable2=/usr/bin/editor\r\nCmdLine2=-clip\r\n");
    FakeClipboard clipboard;
    EXPECT_EQ(copyListToClipboard(list, profile, ui, clipboard), CopyOutcome::StartEditor);
    writeIni("[TextEditor]\r\nExecutable2=/usr/bin/editor\r\n");
    EXPECT_EQ(copyListToClipboard(list, profile, ui, clipboard), CopyOutcome::Copied);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(ClipboardCopyTest, AToolsCopyIsWholeOrCutAtACharacterToItsBuffer) {
    FakeClipboard whole;
    EXPECT_TRUE(copyTextToClipboard("ab\x93\xFA\r\n", profile, ui, whole));
    EXPECT_EQ(whole.text, "ab\x93\xFA\r\n");  // bClipCopyAll 0: the whole text
    writeIni("[Setting]\r\nbClipCopyAll=1\r\nClipCopySize=4\r\n");
    FakeClipboard cut;
    EXPECT_TRUE(copyTextToClipboard("ab\x93\xFA\r\n", profile, ui, cut));
    EXPECT_EQ(cut.text, "ab");  // three bytes fit, but not half of the character
    writeIni("[Setting]\r\nbClipCopyAll=1\r\nClipCopySize=-1\r\n");
    FakeClipboard negative;
    EXPECT_FALSE(copyTextToClipboard("ab", profile, ui, negative));
    FakeClipboard closed;
    closed.opens = false;
    EXPECT_FALSE(copyTextToClipboard("ab", profile, ui, closed));
    EXPECT_FALSE(negative.wasSet || closed.wasSet);
    EXPECT_EQ(ui.messages(), (std::vector<std::string>{"作業用領域が確保できません(;_;)",
                                                       "クリップボードが開けません(;_;)"}));
}

}  // namespace
}  // namespace vellmora
