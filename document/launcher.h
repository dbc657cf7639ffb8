#pragma once

// The launcher: 26 slots of outside programs the user starts from the "Launcher Menu", the
// second toolbar or the context menu, each kept in its own section of the settings.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "document/editor_jump.h"

namespace vellmora {

class Profile;
class UserInterface;

inline constexpr int kLauncherSlots = 26;
/// The slots the toolbar and the context menu start directly.
inline constexpr int kQuickStartSlots = 5;
inline constexpr std::string_view kCannotLaunchItself =
    "Vellmora for Win32 cannot be executed from here";
inline constexpr std::string_view kNoProgramQuestion =
    "I(^^;) think any executable file is not selected.";

/// One slot as the settings keep it.
struct LauncherEntry {
    std::string title;
    std::string file;
    std::string directory;
    std::string commandLine;
    int priority = 0;  ///< 1: normal priority; anything else: idle
};

LauncherEntry readLauncherEntry(Profile& profile, int slot);

/// How slot's program starts: its path (quoted where it holds a blank, so that it stays one
/// word) and its command line, in its directory, at its priority. None, after the beep the
/// settings allow, when the slot has no program: the caller opens its entry dialog instead.
std::optional<ProgramLaunch> launchOfSlot(Profile& profile, UserInterface& ui, int slot);

/// The model of "Launcher Menu" (CLauncherDialog) and of its "Launcher Option".
class LauncherDialogModel {
public:
    LauncherDialogModel(Profile& profile, UserInterface& ui);

    /// Takes the beep setting, "NoExit" and the 26 titles.
    void open();
    const std::string& title(int slot) const { return m_titles.at(std::size_t(slot - 1)); }
    /// Reads the titles again, after an entry dialog changed one.
    void reloadTitles();

    std::optional<ProgramLaunch> start(int slot) { return launchOfSlot(m_profile, m_ui, slot); }
    /// Whether the dialog closes once a program has started.
    bool closesAfterStart() const { return !m_noExit; }

    bool noExit() const { return m_noExit; }
    /// "Launcher Option" OK: stores the box and flushes.
    void setNoExit(bool noExit);

private:
    Profile& m_profile;
    UserInterface& m_ui;
    bool m_noExit = false;
    std::array<std::string, kLauncherSlots> m_titles;
};

/// The model of "Regist an external program" (CProgramEntryDialog) for one slot.
class ProgramEntryDialogModel {
public:
    /// self is the path of this program, which no slot may start.
    ProgramEntryDialogModel(Profile& profile, UserInterface& ui, int slot, std::string self);

    /// Takes the beep setting and fills the fields from the slot.
    void open();
    int slot() const { return m_slot; }

    std::string title;
    std::string file;
    std::string directory;
    std::string commandLine;
    /// The "Low Priority" box: checked starts the program at idle priority.
    bool lowPriority = true;

    /// "Brows" chose path: refused with kCannotLaunchItself when it is this program; an empty
    /// title takes its file name.
    void chooseExecutable(const std::string& path);
    /// "Clear": title, program, directory and command line emptied.
    void clear();
    /// OK: without a program asks kNoProgramQuestion (Cancel: false, back to the dialog); an
    /// empty title becomes the program's file name cut to 12 characters; then writes the slot
    /// and flushes.
    bool ok();

private:
    Profile& m_profile;
    UserInterface& m_ui;
    int m_slot;
    std::string m_self;
};

/// The first count characters of UTF-8 text (bytes that are not UTF-8 count one each).
std::string firstCharacters(std::string_view text, std::size_t count);

}  // namespace vellmora
