#include "document/launcher.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "platform/user_interface.h"
#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {
namespace {

constexpr std::string_view kTitles = "ExecPrograms";
constexpr const SettingKey& kNoExit = settingKey("ExecPrograms", "NoExit");

/// "ExecProg7": the slot's key among the titles and the name of its own section.
std::string slotName(int slot) {
    if (slot < 1 || slot > kLauncherSlots)
        throw std::out_of_range("launcher slot " + std::to_string(slot));
    return "ExecProg" + std::to_string(slot);
}

std::string fileNameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

/// Whether path names this program, by another name (a link, "..") too.
bool isSameFile(const std::string& path, const std::string& self) {
    if (self.empty()) return false;
    std::error_code error;
    return std::filesystem::equivalent(path, self, error) && !error;
}

/// The byte length of the UTF-8 character at text[at]; 1 for a byte that starts none.
std::size_t characterLength(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                              : 1;
    if (at + length > text.size()) return 1;
    for (std::size_t next = at + 1; next < at + length; ++next)
        if ((static_cast<unsigned char>(text[next]) & 0xC0) != 0x80) return 1;
    return length;
}

}  // namespace

std::string firstCharacters(std::string_view text, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t taken = 0; taken < count && end < text.size(); ++taken)
        end += characterLength(text, end);
    return std::string(text.substr(0, end));
}

LauncherEntry readLauncherEntry(Profile& profile, int slot) {
    const std::string name = slotName(slot);
    LauncherEntry entry;
    entry.title = profile.readString(kTitles, name, "");
    entry.file = profile.readString(name, "File", "");
    entry.directory = profile.readString(name, "Dir", "");
    entry.commandLine = profile.readString(name, "CmdLine", "");
    entry.priority = profile.readInt(name, "Priority", 0);
    return entry;
}

std::optional<ProgramLaunch> launchOfSlot(Profile& profile, UserInterface& ui, int slot) {
    ui.setBeepSilenced(readInt(profile, settingKey("Options", "Beep")) == 1);
    const LauncherEntry entry = readLauncherEntry(profile, slot);
    if (entry.file.empty()) {
        ui.alertBeep();
        return std::nullopt;
    }
    std::string commandLine = quotedWhenBlank(entry.file);
    if (!entry.commandLine.empty()) commandLine += ' ' + entry.commandLine;
    std::vector<std::string> words = splitArguments(commandLine);
    if (words.empty() || words.front().empty()) {  // quotes around nothing name no program
        ui.alertBeep();
        return std::nullopt;
    }
    ProgramLaunch launch;
    launch.program = words.front();
    launch.arguments.assign(words.begin() + 1, words.end());
    launch.workingDirectory = entry.directory;
    launch.idlePriority = entry.priority != 1;
    return launch;
}

LauncherDialogModel::LauncherDialogModel(Profile& profile, UserInterface& ui)
    : m_profile(profile), m_ui(ui) {}

void LauncherDialogModel::open() {
    m_ui.setBeepSilenced(readInt(m_profile, settingKey("Options", "Beep")) == 1);
    m_noExit = readInt(m_profile, kNoExit) == 1;
    reloadTitles();
}

void LauncherDialogModel::reloadTitles() {
    for (int slot = 1; slot <= kLauncherSlots; ++slot)
        m_titles[std::size_t(slot - 1)] = m_profile.readString(kTitles, slotName(slot), "");
}

void LauncherDialogModel::setNoExit(bool noExit) {
    m_noExit = noExit;
    writeInt(m_profile, kNoExit, noExit ? 1 : 0);
    m_profile.flush();
}

ProgramEntryDialogModel::ProgramEntryDialogModel(Profile& profile, UserInterface& ui, int slot,
                                                 std::string self)
    : m_profile(profile), m_ui(ui), m_slot(slot), m_self(std::move(self)) {
    slotName(slot);
}

void ProgramEntryDialogModel::open() {
    m_ui.setBeepSilenced(readInt(m_profile, settingKey("Options", "Beep")) == 1);
    const LauncherEntry entry = readLauncherEntry(m_profile, m_slot);
    title = entry.title;
    file = entry.file;
    directory = entry.directory;
    commandLine = entry.commandLine;
    // The box says what it does: the key keeps its stored meaning, 1 for normal priority.
    lowPriority = entry.priority != 1;
}

void ProgramEntryDialogModel::chooseExecutable(const std::string& path) {
    if (isSameFile(path, m_self)) {
        m_ui.message(kCannotLaunchItself, Buttons::Ok);
        file.clear();
        return;
    }
    file = path;
    if (title.empty()) title = fileNameOf(path);
}

void ProgramEntryDialogModel::clear() {
    title.clear();
    file.clear();
    directory.clear();
    commandLine.clear();
}

bool ProgramEntryDialogModel::ok() {
    if (file.empty() && m_ui.alert(kNoProgramQuestion, Buttons::OkCancel) != Answer::Ok)
        return false;
    // Typed in by hand, this program is refused as it is from "Brows".
    if (isSameFile(unquotedPath(file), m_self)) {
        m_ui.message(kCannotLaunchItself, Buttons::Ok);
        file.clear();
        return false;
    }
    if (title.empty() && !file.empty()) title = firstCharacters(fileNameOf(unquotedPath(file)), 12);
    const std::string name = slotName(m_slot);
    m_profile.writeString(kTitles, name, title);
    m_profile.writeString(name, "File", file);
    m_profile.writeString(name, "Dir", directory);
    m_profile.writeString(name, "CmdLine", commandLine);
    m_profile.writeInt(name, "Priority", lowPriority ? 0 : 1);
    m_profile.flush();
    return true;
}

}  // namespace vellmora
