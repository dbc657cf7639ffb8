#include "platform/console_user_interface.h"

#include <csignal>
#include <unistd.h>

namespace vellmora {
namespace {

volatile std::sig_atomic_t g_interrupted = 0;
int g_consoleCount = 0;
void (*g_previousHandler)(int) = SIG_DFL;

extern "C" void onInterrupt(int) { g_interrupted = 1; }

}  // namespace

ConsoleUserInterface::ConsoleUserInterface(std::FILE* messages)
    : m_messages(messages), m_messagesToTerminal(isatty(fileno(messages)) != 0) {
    if (g_consoleCount++ == 0) {
        g_interrupted = 0;
        g_previousHandler = std::signal(SIGINT, onInterrupt);
    }
}

ConsoleUserInterface::~ConsoleUserInterface() {
    if (--g_consoleCount == 0) std::signal(SIGINT, g_previousHandler);
}

void ConsoleUserInterface::beep() {
    // A bell in a pipe or a log file is noise, not a signal to anyone.
    if (m_messagesToTerminal) {
        std::fputc('\a', m_messages);
        std::fflush(m_messages);
    }
}

Answer ConsoleUserInterface::message(std::string_view text, Buttons buttons) {
    std::fwrite(text.data(), 1, text.size(), m_messages);
    std::fputc('\n', m_messages);
    std::fflush(m_messages);
    switch (buttons) {
        case Buttons::Ok:
        case Buttons::OkCancel:
            return Answer::Ok;
        case Buttons::YesNo:
        case Buttons::YesNoCancel:
            return Answer::Yes;
    }
    return Answer::Ok;
}

void ConsoleUserInterface::pump() {
    // One load of a flag: cheap enough for once per corpus line.
    if (g_interrupted) {
        g_interrupted = 0;
        requestCancel();
    }
}

void ConsoleUserInterface::showBusyTitle(DocumentId, std::string_view) {}
void ConsoleUserInterface::restoreTitle(DocumentId) {}
void ConsoleUserInterface::refreshViews(DocumentId) {}
void ConsoleUserInterface::setWaitCursor(bool) {}

}  // namespace vellmora
