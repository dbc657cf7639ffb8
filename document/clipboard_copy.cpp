#include "document/clipboard_copy.h"

#include <new>

#include "containers/ex_string_list.h"
#include "textlib/sjis.h"
#include "platform/user_interface.h"
#include "settings/catalogue.h"
#include "settings/profile.h"

namespace vellmora {

std::string clipboardText(const CExStringList& list, std::int64_t bufferSize, UserInterface& ui,
                          long* lines) {
    std::string text;
    std::int64_t total = 0;
    long taken = 0;
    for (const std::string& line : list) {
        const auto length = static_cast<std::int64_t>(line.size());
        if (total + length >= bufferSize) break;
        text += line;
        total += length;
        ++taken;
        ui.pump();
    }
    if (lines != nullptr) *lines = taken;
    return text;
}

CopyOutcome copyListToClipboard(const CExStringList& list, Profile& profile, UserInterface& ui,
                                ClipboardTarget& target, long* copiedLines) {
    if (copiedLines != nullptr) *copiedLines = 0;
    ui.setBeepSilenced(readInt(profile, settingKey("Options", "Beep")) == 1);
    if (!target.open()) {
        ui.alert(kClipboardNotOpenedMessage);
        return CopyOutcome::NotOpened;
    }
    const int configured = readInt(profile, settingKey("Setting", "ClipCopySize"));
    if (configured < 0) {
        ui.alert(kClipboardMemoryMessage);
        return CopyOutcome::NoMemory;
    }
    const std::int64_t bufferSize = configured == 0 ? list.totalLength() + 2 : configured;
    try {
        long lines = 0;
        target.setText(clipboardText(list, bufferSize, ui, &lines));
        if (copiedLines != nullptr) *copiedLines = lines;
    } catch (const std::bad_alloc&) {
        ui.alert(kClipboardMemoryMessage);
        return CopyOutcome::NoMemory;
    }
    if (readString(profile, settingKey("TextEditor", "Executable2")).empty()) {
        ui.alert(kCopyFinishedMessage);
        return CopyOutcome::Finished;
    }
    return readString(profile, settingKey("TextEditor", "CmdLine2")).empty()
               ? CopyOutcome::Copied
               : CopyOutcome::StartEditor;
}

bool copyTextToClipboard(std::string_view text, Profile& profile, UserInterface& ui,
                         ClipboardTarget& target) {
    ui.setBeepSilenced(readInt(profile, settingKey("Options", "Beep")) == 1);
    if (!target.open()) {
        ui.alert(kToolClipboardNotOpenedMessage);
        return false;
    }
    if (readInt(profile, settingKey("Setting", "bClipCopyAll")) != 0) {
        const int size = readInt(profile, settingKey("Setting", "ClipCopySize"));
        if (size < 0) {
            ui.alert(kToolClipboardMemoryMessage);
            return false;
        }
        // The buffer keeps a byte for its terminator; no half character is left at the cut.
        const auto room = static_cast<std::size_t>(size > 0 ? size - 1 : 0);
        if (text.size() > room) {
            std::size_t cut = 0;
            while (cut < text.size()) {
                const std::size_t next = cut + ximo::characterLength(text, cut);
                if (next > room) break;
                cut = next;
            }
            text = text.substr(0, cut);
        }
    }
    target.setText(text);
    return true;
}

}  // namespace vellmora
