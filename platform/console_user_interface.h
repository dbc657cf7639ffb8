#pragma once

#include <cstdio>

#include "platform/user_interface.h"

namespace vellmora {

/// The batch front end's user interface: messages go to standard error, one
/// per line and exactly as given; a question takes the first button (OK or
/// Yes), the answer that lets the command go on; Ctrl+C requests a cancel.
class ConsoleUserInterface : public UserInterface {
public:
    explicit ConsoleUserInterface(std::FILE* messages = stderr);
    ~ConsoleUserInterface() override;
    ConsoleUserInterface(const ConsoleUserInterface&) = delete;
    ConsoleUserInterface& operator=(const ConsoleUserInterface&) = delete;

    void beep() override;
    Answer message(std::string_view text, Buttons buttons) override;
    void pump() override;
    void showBusyTitle(DocumentId document, std::string_view progress) override;
    void restoreTitle(DocumentId document) override;
    void refreshViews(DocumentId document) override;
    void setWaitCursor(bool on) override;

private:
    std::FILE* m_messages;
    bool m_messagesToTerminal;
};

}  // namespace vellmora
