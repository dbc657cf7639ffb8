#pragma once

// What the desktop program does before its first window shows, in plain C++ so that tests
// drive it without a display.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vellmora {

class Profile;

/// The program's command line, read as a person means it here: an argument that begins with
/// "-" and does not name an existing file carries switches ("/" begins a path); one that
/// begins with "@" names the default search location; the first other argument with the
/// extension "vm2" or "vm1" (any case) is opened as a formatted result file.
struct CommandLine {
    std::vector<std::string> switchTokens;
    std::optional<std::string> locationDirectory;  ///< of the "@" path, ending with "/"
    std::optional<std::string> locationPattern;    ///< its file name part
    std::optional<std::string> formattedFile;
};

CommandLine parseCommandLine(const std::vector<std::string>& arguments);

/// Applies one switch token ("-b-i", "-F1", "-T") to section "Options" of the settings
/// file: each letter, with an optional "-" (off) or digit after it, writes its keys at once;
/// other characters are ignored. The file is flushed after the token.
void applySwitchToken(std::string_view token, Profile& profile);

/// The message list: the lines of the message file that are not empty and do not begin with
/// ";", each cut at 255 bytes; "Be relevant." alone when there is no file or no such line.
std::vector<std::string> readMessageList(const std::optional<std::string>& path);

/// Deletes the zero-length files of the word-list folder (a run that died while writing
/// one leaves it empty); the others stay. Returns how many were deleted.
int removeEmptyWordLists(const std::string& wordListDirectory);

/// The About box's lines: the text library's language and version ("Language: Japanese",
/// "XIMO.DLL: ver. 0.06"), and the expression engine's version ("JRE32.DLL: ver. 6.98")
/// when it can be loaded.
std::vector<std::string> aboutLines();

/// Where the main window stands, as section "WindowSize" keeps it when "Save" is 1.
struct WindowPlacement {
    int flags = 1;
    int showCmd = 1;  ///< 1 normal, 2 minimized, 3 maximized
    int minX = 0, minY = 0, maxX = 0, maxY = 0;
    int left = 0, top = 0, right = 500, bottom = 350;  ///< the normal rectangle

    /// The stored placement; nothing when "Save" is not 1. A rectangle the file holds upside
    /// down or empty (edited by hand) gives the default one.
    static std::optional<WindowPlacement> read(Profile& profile);
    /// Writes the eleven keys and flushes (only when "Save" is 1).
    void write(Profile& profile) const;
};

/// The extra-options dialog ("Beyond the support...", CNoSupportOptDialog): two toolbars,
/// the status bar and the window placement, taking effect at the next start.
class NoSupportOptionsModel {
public:
    explicit NoSupportOptionsModel(Profile& profile);

    /// Reads the five keys as the boxes show them.
    void open();
    /// OK: writes the five keys (the "I hate" boxes inverted back) and flushes.
    void ok();

    bool secondToolbar = false;  ///< "Display 2nd Toolbar"
    bool hateToolbar = false;    ///< "I hate Toolbar"
    bool hateStatusbar = false;  ///< "I hate Statusbar"
    bool saveWindowSize = false; ///< "Save the Size of the Window of this application"
    bool ntMode = false;         ///< "Windows NT mode(32 bit GDI)": stored, changes nothing

private:
    Profile& m_profile;
};

}  // namespace vellmora
