#include "document/editor_jump.h"

#include <gtest/gtest.h>

#include <fstream>

#include "containers/ex_string_list.h"
#include "platform/recording_user_interface.h"
#include "settings/profile.h"
#include "tests/support/temp_dir.h"

namespace vellmora {
namespace {

CExStringList listOf(std::initializer_list<const char*> lines) {
    CExStringList list;
    for (const char* line : lines) list.addTail(std::string(line) + "\r\n");
    return list;
}

std::string targetOf(const CExStringList& list, long index, int selector,
                     ResultKind kind = ResultKind::Original) {
    const std::optional<JumpTarget> target = jumpTarget(list, index, kind, selector);
    return target ? target->file + "@" + target->line : "none";
}

TEST(EditorJumpTest, EveryPrefixFormatNamesItsFileAndLine) {
    const CExStringList numbered = listOf({"    3 | before any header",
                                           "-----[ /corpus/my texts/a.txt ]-----",
                                           "    120 | the cat sat", "-----[ /b.txt ]-----",
                                           "      7 | a dog", "no tag here"});
    EXPECT_EQ(targetOf(numbered, 0, 0), "none");  // no file yet
    EXPECT_EQ(targetOf(numbered, 1, 0), "/corpus/my texts/a.txt@1");
    EXPECT_EQ(targetOf(numbered, 2, 0), "/corpus/my texts/a.txt@120");
    EXPECT_EQ(targetOf(numbered, 4, 0), "/b.txt@7");
    EXPECT_EQ(targetOf(numbered, 5, 0), "none");
    EXPECT_EQ(targetOf(numbered, 2, 0, ResultKind::Sorted), "/corpus/my texts/a.txt@120");
    EXPECT_EQ(targetOf(numbered, 2, 0, ResultKind::Collocation), "none");
    EXPECT_EQ(targetOf(numbered, 9, 0), "none");

    // The name fields are right-aligned; their blanks are no part of the path.
    const CExStringList named = listOf({"   /c/a.txt:    120 | text", "   /c/a.txt(   120) | text",
                                        "   /c/a b.txt | text", "-----[ /x.txt ]-----",
                                        "text | with a bar"});
    EXPECT_EQ(targetOf(named, 0, 10), "/c/a.txt@120");
    EXPECT_EQ(targetOf(named, 1, 20), "/c/a.txt@120");
    EXPECT_EQ(targetOf(named, 2, 11), "/c/a b.txt@1");
    EXPECT_EQ(targetOf(named, 4, 1), "/x.txt@1");  // no tag: words stand where the number would
    EXPECT_EQ(targetOf(named, 1, 10), "none");         // not this format's tag
}

TEST(EditorJumpTest, TheTemplateTakesTheFirstOfEachPlaceholder) {
    const std::string file = quotedWhenBlank("/corpus/my texts/a.txt");
    EXPECT_EQ(file, "\"/corpus/my texts/a.txt\"");
    EXPECT_EQ(quotedWhenBlank("\"/a b\""), "\"/a b\"");
    EXPECT_EQ(expandEditorTemplate("/J%R %F", file, "120"), "/J120 \"/corpus/my texts/a.txt\"");
    EXPECT_EQ(splitArguments(expandEditorTemplate("/J%R %F", file, "120")),
              (std::vector<std::string>{"/J120", "/corpus/my texts/a.txt"}));
    EXPECT_EQ(expandEditorTemplate("", "/a.txt", "5"), "/a.txt");
    EXPECT_EQ(expandEditorTemplate("%F %F +%r:%C", "/a.txt", "5"), "/a.txt %F +5:1");
    EXPECT_EQ(expandEditorTemplate("%f -l %R", "/100%r.txt", "5"), "/100%r.txt -l 5");
}

TEST(EditorJumpTest, TheLaunchFollowsTheSettingsAndNeedsAnEditor) {
    testing::TempDir dir;
    const std::string ini = dir.file("pyxo.ini");
    const JumpTarget target{"/corpus/my texts/a.txt", " 120"};
    {
        Profile profile(ini);
        EXPECT_FALSE(editorLaunch(target, profile));
    }
    std::ofstream(ini) << "[TextEditor]\nExecutable=/usr/bin/vim\nCmdLine=+%R %F\n"
                          "ExecDir=/tmp\nPriority=1\n";
    Profile profile(ini);
    const std::optional<ProgramLaunch> launch = editorLaunch(target, profile);
    ASSERT_TRUE(launch);
    EXPECT_EQ(launch->program, "/usr/bin/vim");
    EXPECT_EQ(launch->arguments, (std::vector<std::string>{"+120", "/corpus/my texts/a.txt"}));
    EXPECT_EQ(launch->workingDirectory, "/tmp");
    EXPECT_FALSE(launch->idlePriority);
}

TEST(SetEditorDialogModelTest, PresetsAndKnownEditorsSetTheTemplateAndOkAsksWithoutAnEditor) {
    testing::TempDir dir;
    const std::string ini = dir.file("pyxo.ini");
    std::ofstream(ini) << "[TextEditor]\nEditor=2\nCmdLine=-x\n";
    Profile profile(ini);
    RecordingUserInterface ui;
    SetEditorDialogModel model(profile, ui);
    model.open();
    EXPECT_EQ(model.preset(), 2);
    model.setPreset(1, true);  // the other box goes, the jump template comes
    EXPECT_EQ(model.preset(), 1);
    EXPECT_EQ(model.commandLine, "/J%R %F");
    model.setPreset(2, false);  // not the ticked one: nothing changes
    EXPECT_EQ(model.commandLine, "/J%R %F");
    model.setPreset(1, false);
    EXPECT_EQ(model.commandLine, "");

    model.chooseExecutable("/opt/tools/MARUO.EXE");
    EXPECT_EQ(model.directory, "/opt/tools");
    EXPECT_EQ(model.commandLine, "/J%R %F");
    model.chooseExecutable("/usr/bin/kate");
    EXPECT_EQ(model.commandLine, "--line %R %F");
    model.chooseExecutable("/usr/bin/vim");
    EXPECT_EQ(model.commandLine, "+%R %F");

    model.executable.clear();
    ui.answerNext(Answer::Cancel);
    EXPECT_FALSE(model.ok());
    EXPECT_EQ(ui.messages(), std::vector<std::string>{"Editor is not selected. Are you sure??"});
    model.executable = "/usr/bin/vim";
    EXPECT_TRUE(model.ok());
    Profile stored(ini);
    EXPECT_EQ(stored.readString("TextEditor", "Executable", ""), "/usr/bin/vim");
    EXPECT_EQ(stored.readString("TextEditor", "CmdLine", ""), "+%R %F");
    EXPECT_EQ(stored.readString("TextEditor", "ExecDir", ""), "/usr/bin");
    EXPECT_EQ(stored.readString("TextEditor", "Editor", ""), "2");  // read only
}

}  // namespace
}  // namespace vellmora
