// The window commands of the main window: F6 and Shift+F6, Cascade, the tilings and
// Arrange Icons over the result windows of the area.

#include "app/main_frame.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

#include "app/result_window.h"
#include "app/window_arrangement.h"

namespace vellmora {

int CMainFrame::cascadeStep() const {
    return style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, m_area) + 4;
}

void CMainFrame::arrangeWindows(Arrangement arrangement) {
    // The windows shown whole: a cascade puts the active one in front, tiles keep the order
    // the windows were opened in.
    std::vector<QMdiSubWindow*> windows;
    const auto order = arrangement == Arrangement::Cascade ? QMdiArea::ActivationHistoryOrder
                                                           : QMdiArea::CreationOrder;
    for (QMdiSubWindow* sub : m_area->subWindowList(order))
        if (sub->isVisible() && !sub->isMinimized()) windows.push_back(sub);
    const QSize area = m_area->viewport()->size();
    const int count = static_cast<int>(windows.size());
    const std::vector<QRect> places =
        arrangement == Arrangement::Cascade ? cascadePlaces(area, count, cascadeStep())
        : arrangement == Arrangement::Rows  ? rowPlaces(area, count)
                                            : columnPlaces(area, count);
    for (std::size_t i = 0; i < windows.size(); ++i) {
        if (windows[i]->isMaximized()) windows[i]->showNormal();
        windows[i]->setGeometry(places[i]);
        windows[i]->raise();
    }
}

void CMainFrame::arrangeMinimizedWindows() {
    // The minimized windows in a row along the bottom of the area, in the order they opened.
    int left = 0;
    for (QMdiSubWindow* sub : m_area->subWindowList()) {
        if (!sub->isMinimized()) continue;
        sub->move(left, m_area->viewport()->height() - sub->height());
        left += sub->width();
    }
}

void CMainFrame::activateNeighbourWindow(int step) {
    // The area's own next and previous count from its active window, which is none while a
    // running box or a message has the focus: they would start again from the first window.
    const QList<QMdiSubWindow*> windows = m_area->subWindowList();
    if (windows.isEmpty()) return;
    const auto count = windows.size();
    ResultWindow* active = activeResultWindow();
    const auto current = windows.indexOf(
        active != nullptr ? qobject_cast<QMdiSubWindow*>(active->parentWidget()) : nullptr);
    const auto next = current < 0 ? 0 : ((current + step) % count + count) % count;
    m_area->setActiveSubWindow(windows[next]);
    updateCommandStates();
}

}  // namespace vellmora
