#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>

namespace vellmora::testing {

/// Answers the modal message boxes the program shows while a test drives it, and keeps their
/// texts: a box without the chosen button is answered with its first one.
class MessageBoxAnswerer {
public:
    explicit MessageBoxAnswerer(QMessageBox::StandardButton answer = QMessageBox::Ok)
        : m_answer(answer) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { answerOpenBox(); });
        m_timer.start(5);
    }

    const QStringList& texts() const { return m_texts; }
    void setAnswer(QMessageBox::StandardButton answer) { m_answer = answer; }

private:
    void answerOpenBox() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || box->buttons().isEmpty()) return;
        m_texts << box->text();
        QAbstractButton* button = box->button(m_answer);
        (button != nullptr ? button : box->buttons().first())->click();
    }

    QMessageBox::StandardButton m_answer;
    QTimer m_timer;
    QStringList m_texts;
};

}  // namespace vellmora::testing
