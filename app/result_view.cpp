#include "app/result_view.h"

#include <QPainter>
#include <QScrollBar>

#include "app/qt_user_interface.h"
#include "document/result_document.h"

namespace vellmora {

ResultView::ResultView(CPyxoDoc& document, Profile& profile, UserInterface& ui, QWidget* parent)
    : QAbstractScrollArea(parent), m_document(document), m_profile(profile), m_ui(ui) {
    setFont(QFont("IPAGothic", 10));
    updateFromDocument();
}

void ResultView::updateFromDocument() {
    const CExStringList& list = m_document.list(m_document.displayedKind());
    const int lineHeight = fontMetrics().height();
    const int visible = lineHeight > 0 ? viewport()->height() / lineHeight : 0;
    verticalScrollBar()->setRange(0, std::max<long>(0, list.count() - visible));
    verticalScrollBar()->setPageStep(visible);
    viewport()->update();
}

void ResultView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateFromDocument();
}

void ResultView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Qt::white);
    const CExStringList& list = m_document.list(m_document.displayedKind());
    const int lineHeight = fontMetrics().height();
    long first = verticalScrollBar()->value();
    int y = fontMetrics().ascent();
    long index = 0;
    for (const std::string& line : list) {
        if (index++ < first) continue;
        if (y - lineHeight > viewport()->height()) break;
        std::string_view text(line);
        if (text.ends_with("\r\n")) text.remove_suffix(2);
        painter.drawText(-horizontalScrollBar()->value(), y, displayText(text));
        y += lineHeight;
    }
}

}  // namespace vellmora
