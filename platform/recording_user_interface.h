#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/user_interface.h"

namespace vellmora {

/// A user interface for tests: it keeps a transcript of every call and answers
/// questions from a script. Without a scripted answer a message gets the
/// first button (OK or Yes).
class RecordingUserInterface : public UserInterface {
public:
    void beep() override;
    Answer message(std::string_view text, Buttons buttons) override;
    void pump() override;
    void showBusyTitle(DocumentId document, std::string_view progress) override;
    void restoreTitle(DocumentId document) override;
    void refreshViews(DocumentId document) override;
    void setWaitCursor(bool on) override;

    /// Queues the answer for the next message.
    void answerNext(Answer answer) { m_answers.push_back(answer); }
    /// Requests a cancel from inside the n-th pump() from now (1 = the next).
    void cancelAtPump(long n) { m_cancelAtPump = m_pumps + n; }

    /// Every call but pump() in order, e.g. "beep", "message OK: text",
    /// "title 3: <<Now Searching...>>", "restore 3", "refresh 3", "wait on".
    const std::vector<std::string>& transcript() const { return m_transcript; }
    /// The texts of the messages only.
    std::vector<std::string> messages() const;
    long pumps() const { return m_pumps; }
    int beeps() const { return m_beeps; }
    void clear();

private:
    std::vector<std::string> m_transcript;
    std::deque<Answer> m_answers;
    long m_pumps = 0;
    long m_cancelAtPump = -1;
    int m_beeps = 0;
};

}  // namespace vellmora
