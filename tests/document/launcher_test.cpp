#include "document/launcher.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/recording_user_interface.h"
#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

using Words = std::vector<std::string>;

TEST(LauncherTest, ASlotStartsItsProgramAsOneWordAndAnEmptySlotBeeps) {
    testing::TempDir dir;
    const std::string ini = dir.file("pyxo.ini");
    std::ofstream(ini) << "[ExecProg1]\nFile=/opt/my tools/run.sh\nCmdLine=-a \"b c\" d\n"
                          "Dir=/tmp\n"
                          "[ExecProg2]\nFile=\"/opt/my tools/x\"\nPriority=1\n"
                          "[ExecProg3]\nFile=\"\"\n";
    Profile profile(ini);
    RecordingUserInterface ui;
    std::optional<ProgramLaunch> launch = launchOfSlot(profile, ui, 1);
    ASSERT_TRUE(launch);
    EXPECT_EQ(launch->program, "/opt/my tools/run.sh");
    EXPECT_EQ(launch->arguments, (Words{"-a", "b c", "d"}));
    EXPECT_EQ(launch->workingDirectory, "/tmp");
    EXPECT_TRUE(launch->idlePriority);

    launch = launchOfSlot(profile, ui, 2);  // already quoted by the user
    ASSERT_TRUE(launch);
    EXPECT_EQ(launch->program, "/opt/my tools/x");
    EXPECT_TRUE(launch->arguments.empty());
    EXPECT_FALSE(launch->idlePriority);

    EXPECT_FALSE(launchOfSlot(profile, ui, 3));  // quotes around nothing
    EXPECT_FALSE(launchOfSlot(profile, ui, 26));
    EXPECT_EQ(ui.beeps(), 2);
    profile.writeInt("Options", "Beep", 1);
    EXPECT_FALSE(launchOfSlot(profile, ui, 26));
    EXPECT_EQ(ui.beeps(), 2);
    EXPECT_TRUE(ui.messages().empty());
}

TEST(LauncherTest, TheDialogClosesAfterAStartUnlessNoExitAndTheOptionIsStored) {
    testing::TempDir dir;
    const std::string ini = dir.file("pyxo.ini");
    std::ofstream(ini) << "[ExecPrograms]\nExecProg7=editor\nNoExit=0\n";
    Profile profile(ini);
    RecordingUserInterface ui;
    LauncherDialogModel model(profile, ui);
    model.open();
    EXPECT_EQ(model.title(7), "editor");
    EXPECT_EQ(model.title(26), "");
    EXPECT_TRUE(model.closesAfterStart());
    model.setNoExit(true);
    EXPECT_FALSE(model.closesAfterStart());
    EXPECT_EQ(Profile(ini).readString("ExecPrograms", "NoExit", ""), "1");
}

TEST(ProgramEntryDialogModelTest, OkWritesTheSlotWithATitleFromTheFileName) {
    testing::TempDir dir;
    const std::string ini = dir.file("pyxo.ini");
    Profile profile(ini);
    RecordingUserInterface ui;
    ProgramEntryDialogModel entry(profile, ui, 4, "/usr/bin/pyxo");
    entry.open();
    EXPECT_TRUE(entry.lowPriority);  // the default, "Priority" 0, runs at idle priority

    // Without a program: Cancel goes back to the dialog and writes nothing.
    entry.title = "kept";
    ui.answerNext(Answer::Cancel);
    EXPECT_FALSE(entry.ok());
    EXPECT_EQ(ui.messages(), Words{std::string(kNoProgramQuestion)});
    EXPECT_EQ(ui.beeps(), 1);
    EXPECT_EQ(Profile(ini).readString("ExecPrograms", "ExecProg4", "none"), "none");

    entry.title.clear();
    entry.file = "/opt/tools/abcdefgh.exe";  // twelve characters: the whole name
    entry.commandLine = "-v";
    entry.lowPriority = false;
    ASSERT_TRUE(entry.ok());
    Profile stored(ini);
    EXPECT_EQ(stored.readString("ExecPrograms", "ExecProg4", ""), "abcdefgh.exe");
    EXPECT_EQ(stored.readString("ExecProg4", "File", ""), "/opt/tools/abcdefgh.exe");
    EXPECT_EQ(stored.readString("ExecProg4", "CmdLine", ""), "-v");
    EXPECT_EQ(stored.readString("ExecProg4", "Priority", ""), "1");

    entry.title.clear();
    entry.file = "/opt/\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E-concordance-tool";  // 日本語-...
    entry.lowPriority = true;
    ASSERT_TRUE(entry.ok());
    ProgramEntryDialogModel reread(profile, ui, 4, "/usr/bin/pyxo");
    reread.open();
    // Twelve characters, never a cut through one.
    EXPECT_EQ(reread.title, "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E-concorda");
    EXPECT_TRUE(reread.lowPriority);
    EXPECT_EQ(Profile(ini).readString("ExecProg4", "Priority", ""), "0");
    EXPECT_EQ(firstCharacters("ab\xE6\x97", 3), "ab\xE6");  // a broken character counts a byte
}

TEST(ProgramEntryDialogModelTest, ThisProgramIsRefusedByAnyOfItsNames) {
    testing::TempDir dir;
    const std::string self = dir.file("pyxo");
    std::ofstream(self) << "#!/bin/sh\n";
    std::filesystem::create_symlink(self, dir.file("link"));
    const std::string other = dir.file("other tool");
    std::ofstream(other) << "#!/bin/sh\n";
    Profile profile(dir.file("pyxo.ini"));
    RecordingUserInterface ui;
    ProgramEntryDialogModel entry(profile, ui, 1, self);
    entry.open();
    entry.file = "/bin/true";
    entry.chooseExecutable(dir.path() + "/../" + std::filesystem::path(dir.path()).filename().string() +
                           "/link");
    EXPECT_EQ(entry.file, "");
    EXPECT_EQ(entry.title, "");
    EXPECT_EQ(ui.messages(), Words{std::string(kCannotLaunchItself)});

    entry.chooseExecutable(other);
    EXPECT_EQ(entry.file, other);
    EXPECT_EQ(entry.title, "other tool");  // the whole name; only OK cuts it
    entry.title.clear();
    entry.file = '"' + self + '"';  // typed by hand
    EXPECT_FALSE(entry.ok());
    EXPECT_EQ(entry.file, "");
    EXPECT_EQ(ui.messages().size(), 2u);

    entry.file = other;
    entry.clear();
    EXPECT_EQ(entry.file + entry.title + entry.directory + entry.commandLine, "");
}

}  // namespace
}  // namespace vellmora
