#include "app/result_printer.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QScreen>
#include <QGuiApplication>
#include <vector>

#include "app/qt_user_interface.h"
#include "containers/ex_string_list.h"
#include "document/result_view_layout.h"

namespace vellmora {
namespace {

constexpr int kUnitsPerInch = 100;
// "&" is text here, never a mnemonic; long lines wrap at word boundaries.
constexpr int kTextFlags = Qt::TextWordWrap | Qt::TextExpandTabs | Qt::AlignLeft | Qt::AlignTop;

std::vector<QString> decodedLines(const CExStringList& lines) {
    std::vector<QString> shown;
    shown.reserve(static_cast<std::size_t>(lines.count()));
    for (const std::string& line : lines) shown.push_back(displayText(withoutLineEnd(line)));
    return shown;
}

}  // namespace

ResultPrinter::ResultPrinter(const CExStringList& lines, const QFont& viewFont,
                             const PrintSettings& settings)
    : m_lines(lines), m_font(viewFont), m_settings(settings) {
    // The view's pixels, as a hundredth of an inch at the screen's resolution.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen != nullptr ? screen->logicalDotsPerInch() : 96.0;
    const int pixels = viewFont.pixelSize() > 0 ? viewFont.pixelSize() : 14;
    m_font.setPixelSize(std::max(1, static_cast<int>(pixels * kUnitsPerInch / dpi + 0.5)));
}

void ResultPrinter::prepare(QPainter& painter, QPagedPaintDevice& device) const {
    const double scale = static_cast<double>(device.logicalDpiX()) / kUnitsPerInch;
    painter.scale(scale, static_cast<double>(device.logicalDpiY()) / kUnitsPerInch);
    painter.setFont(m_font);
    painter.setBackgroundMode(Qt::TransparentMode);
}

PrintLayout ResultPrinter::layout(QPainter& painter, const std::vector<QString>& shown) const {
    const QFontMetrics metrics = painter.fontMetrics();
    const int lineHeight = std::max(metrics.lineSpacing(), 1);
    const int width = std::max(PrintLayout::blockWidth(m_settings, metrics.averageCharWidth()), 1);
    return PrintLayout(m_settings, shown.size(), [&](std::size_t line) {
        const QRect needed = metrics.boundingRect(QRect(0, 0, width, 1 << 20), kTextFlags,
                                                  shown[line]);
        // Wrapped lines stand a line's spacing apart, give or take the font's rounding.
        return std::max(1, (needed.height() + lineHeight / 2) / lineHeight);
    });
}

int ResultPrinter::pageCount(QPagedPaintDevice& device) const {
    QPainter painter(&device);
    if (!painter.isActive()) return 0;
    prepare(painter, device);
    return layout(painter, decodedLines(m_lines)).pageCount();
}

bool ResultPrinter::print(QPagedPaintDevice& device) const {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    prepare(painter, device);
    // Decoded once: the layout measures the same lines the pages draw.
    const std::vector<QString> shown = decodedLines(m_lines);
    const PrintLayout pages = layout(painter, shown);
    const QFontMetrics metrics = painter.fontMetrics();
    const int lineHeight = metrics.lineSpacing();
    const int left = PrintLayout::blockLeft(m_settings, metrics.averageCharWidth());
    const int width = std::max(PrintLayout::blockWidth(m_settings, metrics.averageCharWidth()), 1);
    for (int page = 1; page <= pages.pageCount(); ++page) {
        if (page > 1) device.newPage();
        // The device's y grows downwards; "Left" moves the header down, "Top" to the right.
        int y = m_settings.left;
        if (m_settings.pageNumber)
            painter.drawText(m_settings.top, y + metrics.ascent(),
                             QString::fromStdString(PrintLayout::header(page)));
        y += 2 * lineHeight;
        const auto [first, end] = pages.linesOf(page);
        for (std::size_t line = first; line < end; ++line) {
            const QRect area(left, y, width, 1 << 20);
            const QRect used = painter.boundingRect(area, kTextFlags, shown[line]);
            painter.drawText(area, kTextFlags, shown[line]);
            y += std::max(used.height(), lineHeight);
        }
    }
    painter.end();
    return true;
}

}  // namespace vellmora
