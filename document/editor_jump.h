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

/// What the editor is started with.
struct EditorLaunch {
    std::string program;
    std::vector<std::string> arguments;
    std::string workingDirectory;  ///< empty: the program's own
    bool idlePriority = true;
};

/// The start of "TextEditor"/"Executable" with "CmdLine" expanded for target, in "ExecDir",
/// at idle priority unless "Priority" is 1. None when no editor is set.
std::optional<EditorLaunch> editorLaunch(const JumpTarget& target, Profile& profile);

}  // namespace vellmora
