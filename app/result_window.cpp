#include "app/result_window.h"

#include <QCloseEvent>
#include <QFileInfo>
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
    updateTitle();
}

ResultWindow::~ResultWindow() = default;

void ResultWindow::updateTitle() {
    const std::string& path = m_document->filePath();
    setWindowTitle(path.empty() ? displayText(m_document->baseTitle())
                                : QFileInfo(QString::fromStdString(path)).fileName());
}

void ResultWindow::closeEvent(QCloseEvent* event) {
    if (m_canClose && !m_canClose(*this)) {
        event->ignore();
        return;
    }
    event->accept();
}

void ResultWindow::showBusyTitle(const QString& progress) {
    updateTitle();
    setWindowTitle(windowTitle() + "  " + progress);
}

}  // namespace vellmora
