#include "platform/recording_user_interface.h"

namespace vellmora {
namespace {

const char* buttonsName(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok:
            return "OK";
        case Buttons::OkCancel:
            return "OK/Cancel";
        case Buttons::YesNo:
            return "Yes/No";
        case Buttons::YesNoCancel:
            return "Yes/No/Cancel";
    }
    return "?";
}

Answer firstButton(Buttons buttons) {
    return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
}

constexpr std::string_view kMessagePrefix = "message ";

}  // namespace

void RecordingUserInterface::beep() {
    ++m_beeps;
    m_transcript.emplace_back("beep");
}

Answer RecordingUserInterface::message(std::string_view text, Buttons buttons) {
    m_transcript.push_back(std::string(kMessagePrefix) + buttonsName(buttons) + ": " +
                           std::string(text));
    if (m_answers.empty()) return firstButton(buttons);
    Answer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void RecordingUserInterface::pump() {
    if (++m_pumps == m_cancelAtPump) requestCancel();
}

void RecordingUserInterface::showBusyTitle(DocumentId document, std::string_view progress) {
    m_transcript.push_back("title " + std::to_string(document) + ": " + std::string(progress));
}

void RecordingUserInterface::restoreTitle(DocumentId document) {
    m_transcript.push_back("restore " + std::to_string(document));
}

void RecordingUserInterface::refreshViews(DocumentId document) {
    m_transcript.push_back("refresh " + std::to_string(document));
}

void RecordingUserInterface::setWaitCursor(bool on) {
    m_transcript.emplace_back(on ? "wait on" : "wait off");
}

std::vector<std::string> RecordingUserInterface::messages() const {
    std::vector<std::string> texts;
    for (const std::string& entry : m_transcript) {
        if (entry.compare(0, kMessagePrefix.size(), kMessagePrefix) != 0) continue;
        texts.push_back(entry.substr(entry.find(": ") + 2));
    }
    return texts;
}

void RecordingUserInterface::clear() {
    m_transcript.clear();
    m_answers.clear();
    m_pumps = 0;
    m_cancelAtPump = -1;
    m_beeps = 0;
}

}  // namespace vellmora
