#include "app/qt_user_interface.h"

#include <QApplication>
#include <QMessageBox>
#include <QStringDecoder>
#include <QStringEncoder>

namespace vellmora {
namespace {

// A clock read costs more than a line of a search: look at it every few hundred calls, which
// is still often enough when each call stands for a slower step (a directory entry).
constexpr unsigned kCallsPerClockCheck = 256;
constexpr qint64 kPumpIntervalMs = 15;

}  // namespace

QString displayText(std::string_view bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!utf8.hasError()) return text;
    QStringDecoder sjis("Shift_JIS");
    if (!sjis.isValid()) return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return sjis.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string keywordBytes(const QString& text) {
    QStringEncoder sjis("Shift_JIS");
    if (!sjis.isValid()) return text.toStdString();
    const QByteArray bytes = sjis.encode(text);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QtUserInterface::QtUserInterface(QWidget* parent) : m_parent(parent) { m_sincePump.start(); }

void QtUserInterface::beep() { QApplication::beep(); }

Answer QtUserInterface::message(std::string_view text, Buttons buttons) {
    QMessageBox box(m_parent);
    box.setWindowTitle(QApplication::applicationName());
    box.setText(displayText(text));
    switch (buttons) {
    case Buttons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case Buttons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return buttons == Buttons::OkCancel || buttons == Buttons::Ok ? Answer::Ok
                                                                      : Answer::Cancel;
    }
}

void QtUserInterface::pump() {
    if (++m_callsSinceClock < kCallsPerClockCheck) return;
    m_callsSinceClock = 0;
    if (m_sincePump.elapsed() < kPumpIntervalMs) return;
    m_sincePump.restart();
    QApplication::processEvents();
}

void QtUserInterface::pumpWhileWaiting() {
    // Waiting calls come seldom: the clock is looked at every time.
    m_callsSinceClock = kCallsPerClockCheck;
    pump();
}

void QtUserInterface::showBusyTitle(DocumentId document, std::string_view progress) {
    if (m_hooks.showBusyTitle) m_hooks.showBusyTitle(document, progress);
}

void QtUserInterface::restoreTitle(DocumentId document) {
    if (m_hooks.restoreTitle) m_hooks.restoreTitle(document);
}

void QtUserInterface::refreshViews(DocumentId document) {
    if (m_hooks.refreshViews) m_hooks.refreshViews(document);
}

void QtUserInterface::setWaitCursor(bool on) {
    if (on) {
        if (m_waitCursorDepth++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (m_waitCursorDepth > 0 && --m_waitCursorDepth == 0) {
        QApplication::restoreOverrideCursor();
    }
}

}  // namespace vellmora
