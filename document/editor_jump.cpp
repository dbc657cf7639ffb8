#include "document/editor_jump.h"

#include <algorithm>
#include <tuple>

#include "containers/ex_string_list.h"
#include "platform/user_interface.h"
#include "document/result_view_layout.h"
#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

constexpr std::string_view kHeaderHead = "-----[ ";
constexpr std::string_view kHeaderTail = " ]-----";
constexpr std::string_view kTagEnd = " | ";

std::string_view withoutLeadingBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    return text;
}

std::string_view withoutTrailingBlanks(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

std::optional<std::string> headerFile(std::string_view line) {
    if (!line.starts_with(kHeaderHead) || !line.ends_with(kHeaderTail) ||
        line.size() < kHeaderHead.size() + kHeaderTail.size())
        return std::nullopt;
    line.remove_prefix(kHeaderHead.size());
    line.remove_suffix(kHeaderTail.size());
    return std::string(line);
}

/// The line number a field holds; "1" when it holds none (an untagged line whose text holds
/// " | " has words there, which no editor takes for a line).
std::string lineNumber(std::string_view field) {
    const std::string_view digits = withoutTrailingBlanks(withoutLeadingBlanks(field));
    const bool number = !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) {
        return c >= '0' && c <= '9';
    });
    return number ? std::string(digits) : "1";
}

}  // namespace

std::optional<JumpTarget> jumpTarget(const CExStringList& list, long index, ResultKind kind,
                                     int formatSelector) {
    if (kind != ResultKind::Original && kind != ResultKind::Extracted &&
        kind != ResultKind::Sorted)
        return std::nullopt;
    if (index < 0 || index >= list.count()) return std::nullopt;
    std::optional<std::string> current;
    std::string_view clicked;
    long at = 0;
    for (const std::string& stored : list) {
        const std::string_view line = withoutLineEnd(stored);
        if (std::optional<std::string> file = headerFile(line)) current = std::move(file);
        if (at++ == index) {
            clicked = line;
            break;
        }
    }
    if (std::optional<std::string> file = headerFile(clicked)) return JumpTarget{*file, "1"};
    const std::size_t bar = clicked.find(kTagEnd);
    if (bar == std::string_view::npos) return std::nullopt;
    const std::string_view tag = clicked.substr(0, bar);
    // The name fields are right-aligned: their leading blanks are no part of the path.
    switch (formatSelector) {
    case 10: {  // "%*s:%7ld"
        const std::size_t colon = tag.size() >= 8 ? tag.size() - 8 : std::string_view::npos;
        if (colon == std::string_view::npos || tag[colon] != ':') return std::nullopt;
        return JumpTarget{std::string(withoutLeadingBlanks(tag.substr(0, colon))),
                          lineNumber(tag.substr(colon + 1))};
    }
    case 20: {  // "%*s(%6ld)"
        if (tag.size() < 8 || tag.back() != ')' || tag[tag.size() - 8] != '(')
            return std::nullopt;
        return JumpTarget{std::string(withoutLeadingBlanks(tag.substr(0, tag.size() - 8))),
                          lineNumber(tag.substr(tag.size() - 7, 6))};
    }
    case 11:  // "%*s"
        return JumpTarget{std::string(withoutLeadingBlanks(tag)), "1"};
    default:  // "%7ld", or no tag where the text happens to hold " | "
        if (!current) return std::nullopt;
        return JumpTarget{*current, lineNumber(tag)};
    }
}

std::string expandEditorTemplate(std::string_view commandTemplate, std::string_view file,
                                 std::string_view line) {
    if (commandTemplate.empty()) return std::string(file);
    // The placeholders are found in the template itself, so that a "%r" in a file's name is
    // never taken for the line number.
    struct Placeholder {
        std::size_t at;
        std::string_view value;
    };
    std::vector<Placeholder> found;
    for (const auto& [lower, upper, value] :
         {std::tuple{"%f", "%F", file}, std::tuple{"%r", "%R", line},
          std::tuple{"%c", "%C", std::string_view("1")}}) {
        std::size_t at = commandTemplate.find(lower);
        if (at == std::string_view::npos) at = commandTemplate.find(upper);
        if (at != std::string_view::npos) found.push_back({at, value});
    }
    std::sort(found.begin(), found.end(),
              [](const Placeholder& a, const Placeholder& b) { return a.at < b.at; });
    std::string expanded;
    std::size_t from = 0;
    for (const Placeholder& placeholder : found) {
        expanded.append(commandTemplate.substr(from, placeholder.at - from));
        expanded.append(placeholder.value);
        from = placeholder.at + 2;
    }
    expanded.append(commandTemplate.substr(from));
    return expanded;
}

std::string quotedWhenBlank(std::string path) {
    if (path.find(' ') != std::string::npos && !path.starts_with('"')) path = '"' + path + '"';
    return path;
}

std::string unquotedPath(std::string path) {
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
        path = path.substr(1, path.size() - 2);
    return path;
}

std::vector<std::string> splitArguments(std::string_view arguments) {
    std::vector<std::string> split;
    std::string current;
    bool quoted = false;
    bool any = false;
    for (char c : arguments) {
        if (c == '"') {
            quoted = !quoted;
            any = true;
        } else if (c == ' ' && !quoted) {
            if (any) split.push_back(std::move(current));
            current.clear();
            any = false;
        } else {
            current += c;
            any = true;
        }
    }
    if (any) split.push_back(std::move(current));
    return split;
}

std::optional<ProgramLaunch> editorLaunch(const JumpTarget& target, Profile& profile) {
    const std::string executable = readString(profile, settingKey("TextEditor", "Executable"));
    const std::string arguments =
        expandEditorTemplate(readString(profile, settingKey("TextEditor", "CmdLine")),
                             quotedWhenBlank(target.file), lineNumber(target.line));
    if (executable.empty() || arguments.empty()) return std::nullopt;
    ProgramLaunch launch;
    launch.program = unquotedPath(executable);
    launch.arguments = splitArguments(arguments);
    launch.workingDirectory = readString(profile, settingKey("TextEditor", "ExecDir"));
    launch.idlePriority = readInt(profile, settingKey("TextEditor", "Priority")) != 1;
    return launch;
}

SetEditorDialogModel::SetEditorDialogModel(Profile& profile, UserInterface& ui)
    : m_profile(profile), m_ui(ui) {}

void SetEditorDialogModel::open() {
    m_ui.setBeepSilenced(readInt(m_profile, settingKey("Options", "Beep")) == 1);
    executable = readString(m_profile, settingKey("TextEditor", "Executable"));
    commandLine = readString(m_profile, settingKey("TextEditor", "CmdLine"));
    directory = readString(m_profile, settingKey("TextEditor", "ExecDir"));
    const int editor = readInt(m_profile, settingKey("TextEditor", "Editor"));
    m_preset = editor == 1 || editor == 2 ? editor : 0;
}

void SetEditorDialogModel::chooseExecutable(const std::string& path) {
    executable = path;
    const std::size_t slash = path.rfind('/');
    directory = slash == std::string::npos ? std::string() : path.substr(0, slash);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    for (char& c : name) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    for (std::string_view jumping : {"hidemaru.exe", "maruo.exe", "qxw.exe", "qxw32.exe",
                                     "dana.exe"})
        if (name == jumping) commandLine = kJumpSwitchTemplate;
    for (const EditorTemplate& known : kEditorTemplates)
        if (name == known.editor) commandLine = known.commandLine;
}

void SetEditorDialogModel::setPreset(int box, bool on) {
    if (on) {
        m_preset = box;
        commandLine = kJumpSwitchTemplate;
    } else if (m_preset == box) {
        m_preset = 0;
        commandLine.clear();
    }
}

bool SetEditorDialogModel::ok() {
    if (executable.empty() && m_ui.alert(kNoEditorQuestion, Buttons::OkCancel) != Answer::Ok)
        return false;
    writeString(m_profile, settingKey("TextEditor", "Executable"), executable);
    writeString(m_profile, settingKey("TextEditor", "CmdLine"), commandLine);
    writeString(m_profile, settingKey("TextEditor", "ExecDir"), directory);
    m_profile.flush();
    return true;
}

}  // namespace vellmora
