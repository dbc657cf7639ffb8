#include "app/result_window.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QVBoxLayout>

#include "app/qt_user_interface.h"
#include "app/result_view.h"

namespace vellmora {

ResultWindow::ResultWindow(std::unique_ptr<CPyxoDoc> document, Profile& profile,
                           UserInterface& ui, QWidget* parent)
    : QWidget(parent), m_document(std::move(document)) {
    m_view = new ResultView(*m_document, profile, ui, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setAttribute(Qt::WA_DeleteOnClose);
    // A right click opens the menu of this window's commands: the window becomes the active one
    // first, so that the menu offers and runs the commands of the window clicked in.
    m_view->viewport()->installEventFilter(this);
    updateTitle();
}

bool ResultWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ContextMenu) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()); sub && sub->mdiArea())
            sub->mdiArea()->setActiveSubWindow(sub);
    }
    return QWidget::eventFilter(watched, event);
}

ResultWindow::~ResultWindow() = default;

QString ResultWindow::documentName() const {
    const std::string& path = m_document->filePath();
    return path.empty() ? displayText(m_document->baseTitle())
                        : QFileInfo(QString::fromStdString(path)).fileName();
}

namespace {

QString lineCount(long lines) {
    return QLocale(QLocale::English).toString(static_cast<qlonglong>(lines)) +
           (lines == 1 ? " line" : " lines");
}

}  // namespace

void ResultWindow::updateTitle() {
    QString title = documentName();
    const long shown = m_document->list(m_document->displayedKind()).count();
    if (shown > 0) {
        const std::string& keyword = m_document->snapshot().keyword1;
        if (!keyword.empty()) title += " - " + displayText(keyword);
        title += " - " + lineCount(shown);
        if (!m_incomplete.isEmpty()) title += " (incomplete)";
    }
    if (!m_copyNote.isEmpty()) title += " - " + m_copyNote;
    setWindowTitle(title);
}

QString ResultWindow::statusText() const {
    const long kept = m_document->list(ResultKind::Original).count();
    if (kept == 0 && m_incomplete.isEmpty()) return documentName() + ": no result.";
    QString text = documentName() + ": " + lineCount(kept) + " in the result";
    if (!m_incomplete.isEmpty()) text += "; the result is incomplete: " + m_incomplete;
    // The title counts the list shown; after a sort or an extraction it is another list.
    if (m_document->displayedKind() != ResultKind::Original)
        text += "; " + lineCount(m_document->list(m_document->displayedKind()).count()) + " shown";
    if (!m_copyNote.isEmpty()) text += "; " + m_copyNote;
    return text + ".";
}

void ResultWindow::noteSearchEnd(const SearchOutcome& outcome, int maxLine) {
    m_copyNote.clear();
    if (outcome.limitReached)
        m_incomplete = QString("the search stopped at the line limit (MaxLine %1)").arg(maxLine);
    else if (outcome.cancelled && m_document->list(ResultKind::Original).count() > 0)
        m_incomplete = "the search was quit before its end";
    else
        m_incomplete.clear();
    updateTitle();
}

void ResultWindow::noteCopy(long copied, long total) {
    m_copyNote = copied < total ? QString("the clipboard holds %1 of %2 (ClipCopySize)")
                                      .arg(lineCount(copied), lineCount(total))
                                : QString();
    updateTitle();
}

void ResultWindow::clearNotes() {
    m_incomplete.clear();
    m_copyNote.clear();
    updateTitle();
}

void ResultWindow::showLine(long index) {
    m_view->showCurrentLine(index);
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()); sub && sub->mdiArea()) {
        if (sub->isMinimized()) sub->showNormal();
        sub->mdiArea()->setActiveSubWindow(sub);
    }
    window()->raise();
    window()->activateWindow();
    m_view->setFocus();
}

void ResultWindow::closeEvent(QCloseEvent* event) {
    if (m_canClose && !m_canClose(*this)) {
        event->ignore();
        return;
    }
    event->accept();
}

void ResultWindow::showBusyTitle(const QString& progress) {
    setWindowTitle(documentName() + "  " + progress);
}

}  // namespace vellmora
