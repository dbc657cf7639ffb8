#include "app/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Strings = std::vector<std::string>;

TEST(StartupTest, SwitchesWriteTheirOptionsAtOnce) {
    testing::TempDir dir;
    Profile profile(dir.file("pyxo.ini"));
    // "B-" turns the silence off again; "I" turns case-insensitive matching on.
    applySwitchToken("/b-i", profile);
    Profile stored(dir.file("pyxo.ini"));
    EXPECT_EQ(stored.readInt("Options", "Beep", -1), 0);
    EXPECT_EQ(stored.readInt("Options", "IgnoreCase", -1), 1);

    applySwitchToken("-F1", profile);
    Profile afterF1(dir.file("pyxo.ini"));
    EXPECT_EQ(afterF1.readInt("Options", "Separator", -1), 1);
    EXPECT_EQ(afterF1.readInt("Options", "SepMatched", -1), 1);
    applySwitchToken("-t1x", profile);  // unknown letters are passed over
    Profile afterT1(dir.file("pyxo.ini"));
    EXPECT_EQ(afterT1.readInt("Options", "TagFName", -1), 1);
    EXPECT_EQ(afterT1.readInt("Options", "TagAsIs", -1), 0);
    EXPECT_EQ(afterT1.readInt("Options", "Separator", -1), 0);
}

TEST(StartupTest, CommandLineTellsSwitchesPathsAndFormattedFiles) {
    testing::TempDir dir;
    const std::string dashFile = dir.file("-odd.txt");
    testing::writeFileBytes(dashFile, "x");
    CommandLine line = parseCommandLine(
        {"-b", dashFile, "@/corpus/texts/*.txt", "/home/me/notes.txt", "/home/me/R.VM2"});
    EXPECT_EQ(line.switchTokens, Strings{"-b"});  // a file that begins with "-" is a file
    EXPECT_EQ(line.locationDirectory, "/corpus/texts/");
    EXPECT_EQ(line.locationPattern, "*.txt");
    EXPECT_EQ(line.formattedFile, "/home/me/R.VM2");
    EXPECT_FALSE(parseCommandLine({"/home/me/notes.txt"}).formattedFile.has_value());
}

TEST(StartupTest, MessageListSkipsCommentsAndFallsBack) {
    testing::TempDir dir;
    testing::writeFileBytes(dir.file("only-comments.mes"), ";one\n\n;two\r\n");
    EXPECT_EQ(readMessageList(dir.file("only-comments.mes")), Strings{"Be relevant."});
    EXPECT_EQ(readMessageList(std::nullopt), Strings{"Be relevant."});
    testing::writeFileBytes(dir.file("m.mes"), "Look closer.\r\n;not this\nRead slowly.");
    EXPECT_EQ(readMessageList(dir.file("m.mes")), (Strings{"Look closer.", "Read slowly."}));
}

TEST(StartupTest, OnlyEmptyWordListsAreRemoved) {
    testing::TempDir dir;
    std::filesystem::create_directory(dir.file("WordList"));
    testing::writeFileBytes(dir.file("WordList/1.lst"), "");
    testing::writeFileBytes(dir.file("WordList/2.lst"), "word\n");
    EXPECT_EQ(removeEmptyWordLists(dir.file("WordList")), 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("WordList/1.lst")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("WordList/2.lst")));
}

TEST(StartupTest, ExtraOptionsShowAndKeepTheInvertedBoxes) {
    testing::TempDir dir;
    testing::writeFileBytes(dir.file("pyxo.ini"), "[Display]\nToolBar1=0\n");
    Profile profile(dir.file("pyxo.ini"));
    NoSupportOptionsModel model(profile);
    model.open();
    EXPECT_TRUE(model.hateToolbar);
    EXPECT_FALSE(model.hateStatusbar);
    model.ok();
    Profile stored(dir.file("pyxo.ini"));
    EXPECT_EQ(stored.readInt("Display", "ToolBar1", -1), 0);
    EXPECT_EQ(stored.readInt("Display", "StatusBar", -1), 1);
}

TEST(StartupTest, WindowPlacementIsKeptOnlyWhenAskedAndNeverUpsideDown) {
    testing::TempDir dir;
    testing::writeFileBytes(dir.file("pyxo.ini"),
                            "[WindowSize]\nNormPosL=300\nNormPosR=100\nshowCmd=3\n");
    Profile profile(dir.file("pyxo.ini"));
    EXPECT_FALSE(WindowPlacement::read(profile).has_value());
    WindowPlacement{}.write(profile);  // not kept: nothing written
    EXPECT_EQ(Profile(dir.file("pyxo.ini")).readInt("WindowSize", "NormPosB", -1), -1);

    profile.writeInt("WindowSize", "Save", 1);
    std::optional<WindowPlacement> placement = WindowPlacement::read(profile);
    ASSERT_TRUE(placement.has_value());
    EXPECT_EQ(placement->showCmd, 3);
    EXPECT_EQ(placement->left, 0);  // a hand-edited rectangle upside down gives the default
    EXPECT_EQ(placement->right, 500);
    placement->left = 10;
    placement->right = 810;
    placement->write(profile);
    EXPECT_EQ(WindowPlacement::read(profile)->right, 810);
}

TEST(StartupTest, AboutNamesTheLibrariesAndTheirVersions) {
    const Strings lines = aboutLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("Language: ", 0), 0u);
    EXPECT_EQ(lines[1], "XIMO.DLL: ver. 0.06");
}

}  // namespace
}  // namespace vellmora
