#pragma once

#include <cstdint>
#include <string_view>

namespace vellmora {

/// The buttons a message offers.
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };

/// The button that closed a message.
enum class Answer { Ok, Cancel, Yes, No };

/// Identifies a result document towards the user interface without making the
/// platform layer depend on the document layer.
using DocumentId = std::uint64_t;

/// Everything the engine asks of a user interface. The engine never calls a
/// toolkit: the desktop program, the batch front end and the tests each give
/// their own implementation. Texts are bytes as the engine holds them; an
/// implementation converts them where a person reads them.
class UserInterface {
public:
    virtual ~UserInterface() = default;

    /// Sounds the bell, whatever the settings say; prefer alert().
    virtual void beep() = 0;

    /// Shows text with the given buttons and waits for the answer.
    virtual Answer message(std::string_view text, Buttons buttons) = 0;

    /// Lets pending user-interface events run. Long commands call it once per
    /// unit of work (a line, a directory entry, a string), so it must be nearly
    /// free; check cancelRequested() right after it.
    virtual void pump() = 0;
    /// Lets pending events run now: the command waits for work done on other threads and
    /// calls it about every 10 ms.
    virtual void pumpWhileWaiting() { pump(); }

    /// Shows "<base title>  <progress>" as the document's title while a long
    /// command runs in it.
    virtual void showBusyTitle(DocumentId document, std::string_view progress) = 0;
    virtual void restoreTitle(DocumentId document) = 0;
    /// The document's lists changed: redraw every view that shows them.
    virtual void refreshViews(DocumentId document) = 0;
    virtual void setWaitCursor(bool on) = 0;

    /// The one place of the rule "beep unless Options/Beep is 1": commands set
    /// it from the settings they read when they start.
    void setBeepSilenced(bool silenced) { m_beepSilenced = silenced; }
    bool beepSilenced() const { return m_beepSilenced; }

    /// Beeps unless silenced.
    void alertBeep() {
        if (!m_beepSilenced) beep();
    }

    /// Beeps unless silenced, then shows the message.
    Answer alert(std::string_view text, Buttons buttons = Buttons::Ok) {
        alertBeep();
        return message(text, buttons);
    }

    /// The cancel request of the running command ("Quit Search", Ctrl+C).
    /// Set from inside pump() by the implementation, cleared by the command
    /// that starts.
    bool cancelRequested() const { return m_cancelRequested; }
    void requestCancel() { m_cancelRequested = true; }
    void clearCancel() { m_cancelRequested = false; }

private:
    bool m_beepSilenced = false;
    bool m_cancelRequested = false;
};

}  // namespace vellmora
