#pragma once

// The jump from a result line to its corpus file in the user's text editor: which file and
// line a result line names, and the command the settings make of them.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/result_document.h"

namespace vellmora {

class CExStringList;
class Profile;

/// The corpus file and line number a result line names.
struct JumpTarget {
    std::string file;
    std::string line;  ///< decimal digits; "1" when the line names none
};

/// The file and line of line index of list, shown in kind with the prefix format selector
/// (0, 1, 10, 11 or 20): a file header line names its file at line 1; a tagged line names
/// the line of its tag, in the file its tag names or the last header before it. None for
/// kinds 3 and 4, for an index outside the list, and for a line that names no file.
std::optional<JumpTarget> jumpTarget(const CExStringList& list, long index, ResultKind kind,
                                     int formatSelector);

/// The template with its first "%f" (else "%F") replaced by file, its first "%r" (else
/// "%R") by line and its first "%c" (else "%C") by "1"; an empty template is the file alone.
std::string expandEditorTemplate(std::string_view commandTemplate, std::string_view file,
                                 std::string_view line);

/// A path with a blank in double quotes (unless it already begins with one).
std::string quotedWhenBlank(std::string path);

/// Splits a command line at blanks; a double-quoted part stays one argument, quotes removed.
std::vector<std::string> splitArguments(std::string_view arguments);

/// A path as a program is named: without the double quotes it may stand in.
std::string unquotedPath(std::string path);

/// What an outside program (the editor, a launcher slot) is started with.
struct ProgramLaunch {
    std::string program;
    std::vector<std::string> arguments;
    std::string workingDirectory;  ///< empty: the one this program runs in
    bool idlePriority = true;
};

/// The start of "TextEditor"/"Executable" with "CmdLine" expanded for target, in "ExecDir",
/// at idle priority unless "Priority" is 1. None when no editor is set.
std::optional<ProgramLaunch> editorLaunch(const JumpTarget& target, Profile& profile);

class UserInterface;

inline constexpr std::string_view kJumpSwitchTemplate = "/J%R %F";
inline constexpr std::string_view kNoEditorQuestion = "Editor is not selected. Are you sure??";

/// Argument templates of editors of this system, offered beside the two presets.
struct EditorTemplate {
    std::string_view editor;
    std::string_view commandLine;
};
inline constexpr EditorTemplate kEditorTemplates[] = {
    {"vim", "+%R %F"},   {"nvim", "+%R %F"},          {"emacs", "+%R %F"},
    {"nano", "+%R %F"},  {"gedit", "+%R %F"},         {"kate", "--line %R %F"},
    {"code", "--goto %F:%R"},
};

/// The model of "Set Text Editor" (CSetEditorDialog): the executable, its argument template,
/// its working directory, and the two preset boxes of editors with a jump switch.
class SetEditorDialogModel {
public:
    SetEditorDialogModel(Profile& profile, UserInterface& ui);

    /// Takes the beep setting and reads the three fields; "Editor" 1 or 2 checks a preset.
    void open();

    std::string executable;
    std::string commandLine;
    std::string directory;
    /// Which preset box is checked: 0 none, 1 the first ("Maruo"), 2 the second ("Dana").
    int preset() const { return m_preset; }

    /// "Brows" chose path: it becomes the executable and its directory the working directory;
    /// an editor with a known jump switch gets its template.
    void chooseExecutable(const std::string& path);
    /// A preset box was ticked or cleared: ticking one clears the other and sets the jump
    /// template; clearing the one that was ticked empties the template.
    void setPreset(int box, bool on);

    /// OK: without an executable asks kNoEditorQuestion (Cancel: false, back to the dialog);
    /// then writes Executable, CmdLine and ExecDir and flushes. "Editor" is not written.
    bool ok();

private:
    Profile& m_profile;
    UserInterface& m_ui;
    int m_preset = 0;
};

}  // namespace vellmora
