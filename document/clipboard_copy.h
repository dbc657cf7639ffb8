#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vellmora {

class CExStringList;
class Profile;
class UserInterface;

inline constexpr std::string_view kClipboardNotOpenedMessage = "Clipboard wouldn't be opened(;_;)";
inline constexpr std::string_view kClipboardMemoryMessage = "Memory Allocation Error(;_;)";
inline constexpr std::string_view kCopyFinishedMessage = "Finished!";

/// Where "&Copy" puts its text: the system clipboard in the desktop program.
class ClipboardTarget {
public:
    virtual ~ClipboardTarget() = default;
    /// False when the clipboard cannot be taken.
    virtual bool open() = 0;
    /// Replaces the clipboard's text; text is Shift-JIS bytes, each line ending in "\r\n".
    virtual void setText(std::string_view text) = 0;
};

/// The lines of list, each with its line end, in order, as long as the running total of their
/// lengths stays below bufferSize: the first line that would reach it ends the text. Lets the
/// user interface run after each line. lines, when given, receives how many were taken.
std::string clipboardText(const CExStringList& list, std::int64_t bufferSize, UserInterface& ui,
                          long* lines = nullptr);

/// How "&Copy" ended.
enum class CopyOutcome {
    NotOpened,    ///< the clipboard could not be taken; its message was shown
    NoMemory,     ///< no buffer of the configured size; its message was shown
    Finished,     ///< copied, no clipboard editor is set: "Finished!" was shown
    StartEditor,  ///< copied; the caller starts the clipboard editor ("TextEditor"/"Executable2")
    Copied,       ///< copied; an editor is named but has no command line, so nothing follows
};

/// "&Copy": copies list to target with the buffer "Setting"/"ClipCopySize" gives (0: the whole
/// list; a negative size is a buffer that cannot be had) and tells the caller what follows.
/// Messages beep as "Options"/"Beep" allows. copiedLines, when given, receives the lines the
/// clipboard got (0 when nothing was copied), so that a copy cut short can be told.
CopyOutcome copyListToClipboard(const CExStringList& list, Profile& profile, UserInterface& ui,
                                ClipboardTarget& target, long* copiedLines = nullptr);

inline constexpr std::string_view kToolClipboardNotOpenedMessage =
    "クリップボードが開けません(;_;)";
inline constexpr std::string_view kToolClipboardMemoryMessage = "作業用領域が確保できません(;_;)";

/// The "&Copy" of a tool dialog (the average word length): text goes to target whole when
/// "Setting"/"bClipCopyAll" is 0, else cut to fit the "Setting"/"ClipCopySize" buffer (its
/// terminator included) at a character boundary. False, with its message, when the clipboard
/// cannot be taken or the buffer cannot be had (a negative size).
bool copyTextToClipboard(std::string_view text, Profile& profile, UserInterface& ui,
                         ClipboardTarget& target);

}  // namespace vellmora
