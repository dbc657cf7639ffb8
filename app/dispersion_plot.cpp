#include "app/dispersion_plot.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "app/qt_user_interface.h"

namespace vellmora {
namespace {

constexpr int kMargin = 12;
constexpr int kGap = 12;
constexpr int kTickOverhang = 3;  // a tick reaches this far above and below its bar
constexpr int kMinBarWidth = 40;

const QColor kText(0x20, 0x20, 0x20);
const QColor kQuiet(0x60, 0x66, 0x70);
const QColor kBarFill(0xe8, 0xee, 0xf6);
const QColor kBarEdge(0x9a, 0xa9, 0xbd);
const QColor kTick(0x1d, 0x4f, 0x91);
const QColor kMarkedTick(0xd0, 0x25, 0x25);

QString number(long value) {
    return QLocale(QLocale::English).toString(static_cast<qlonglong>(value));
}

QString hitsText(std::size_t hits) {
    return number(static_cast<long>(hits)) + (hits == 1 ? " hit" : " hits");
}

/// The directory every name lies in, with its final "/"; empty when they share none.
QString sharedDirectoryOf(const std::vector<QString>& names) {
    if (names.empty()) return {};
    QString shared = names.front().left(names.front().lastIndexOf('/') + 1);
    for (const QString& name : names) {
        qsizetype same = 0;
        while (same < shared.size() && same < name.size() && shared[same] == name[same]) ++same;
        shared.truncate(same);
        shared.truncate(shared.lastIndexOf('/') + 1);
        if (shared.isEmpty()) break;
    }
    return shared;
}

}  // namespace

QString dispersionNote(const DispersionRow& row) {
    const QString hits = hitsText(row.hits.size());
    const std::optional<double> density = row.hitsPerThousandLines();
    if (!row.lineCount) return hits + ", lines unknown";
    if (!density) return hits + ", no lines";
    const QString rate = *density > 0 && *density < 0.05
                             ? QString("< 0.1")
                             : QLocale(QLocale::English).toString(*density, 'f', 1);
    return hits + ", " + rate + " per 1,000 lines";
}

DispersionFonts::DispersionFonts(const QFont& base) : text(base), title(base), small(base) {
    title.setBold(true);
    if (base.pointSizeF() > 0) {
        title.setPointSizeF(base.pointSizeF() * 1.15);
        small.setPointSizeF(base.pointSizeF() * 0.9);
    } else {
        title.setPixelSize(base.pixelSize() * 115 / 100);
        small.setPixelSize(std::max(1, base.pixelSize() * 9 / 10));
    }
}

DispersionGeometry::DispersionGeometry(const DispersionPicture& picture,
                                       const DispersionFonts& fonts, int width)
    : m_picture(picture), m_width(std::max(width, 1)) {
    const QFontMetrics text(fonts.text);
    m_lineHeight = text.lineSpacing();
    m_titleHeight = QFontMetrics(fonts.title).lineSpacing() + 6;
    m_rowHeight = std::max(m_lineHeight + 12, 24);
    std::vector<QString> full;
    full.reserve(picture.plot.rows.size());
    for (const DispersionRow& row : picture.plot.rows) full.push_back(displayText(row.name));
    m_sharedDirectory = sharedDirectoryOf(full);
    m_subtitleHeight =
        m_sharedDirectory.isEmpty() ? 0 : QFontMetrics(fonts.small).lineSpacing() + 4;
    // Advances are rounded; eliding measures exactly, and would cut the longest text by a hair.
    constexpr int kSlack = 2;
    int names = 0;
    int notes = 0;
    for (std::size_t i = 0; i < full.size(); ++i) {
        m_names.push_back(full[i].mid(m_sharedDirectory.size()));
        m_extents.push_back(static_cast<double>(picture.plot.rows[i].extent()));
        names = std::max(names, text.horizontalAdvance(m_names.back()) + kSlack);
        notes =
            std::max(notes, text.horizontalAdvance(dispersionNote(picture.plot.rows[i])) + kSlack);
    }
    // The bar gets what the texts leave, but never less than half the width: a long name is
    // cut at its start, where paths differ least.
    const int room = m_width - 2 * kMargin - 2 * kGap;
    m_noteWidth = std::min(notes, room / 4);
    m_nameWidth = std::min(names, room / 4);
    m_nameWidth = std::max(m_nameWidth, std::min(names, room - m_noteWidth - room / 2));
    m_nameWidth = std::max(0, std::min(m_nameWidth, room - m_noteWidth - kMinBarWidth));
}

int DispersionGeometry::height() const { return axisRect().bottom() + 1 + kMargin; }

QRect DispersionGeometry::titleRect() const {
    return QRect(kMargin, kMargin, m_width - 2 * kMargin, m_titleHeight);
}

QRect DispersionGeometry::subtitleRect() const {
    return QRect(kMargin, titleRect().bottom() + 1, m_width - 2 * kMargin, m_subtitleHeight);
}

QRect DispersionGeometry::rowRect(std::size_t row) const {
    const int top = subtitleRect().bottom() + 1 + 4 + static_cast<int>(row) * m_rowHeight;
    return QRect(kMargin, top, m_width - 2 * kMargin, m_rowHeight);
}

QRect DispersionGeometry::nameRect(std::size_t row) const {
    const QRect band = rowRect(row);
    return QRect(band.left(), band.top(), m_nameWidth, band.height());
}

QRect DispersionGeometry::noteRect(std::size_t row) const {
    const QRect band = rowRect(row);
    return QRect(band.right() + 1 - m_noteWidth, band.top(), m_noteWidth, band.height());
}

QRect DispersionGeometry::barRect(std::size_t row) const {
    const QRect band = rowRect(row);
    const int left = band.left() + m_nameWidth + kGap;
    const int right = band.right() - m_noteWidth - kGap;
    const int height = std::max(6, m_rowHeight / 2 - 2);
    return QRect(left, band.top() + (band.height() - height) / 2, std::max(1, right - left + 1),
                 height);
}

QRect DispersionGeometry::axisRect() const {
    const std::size_t rows = m_picture.plot.rows.size();
    const QRect bar = barRect(0);
    const int top = rowRect(rows).top() + 2;
    return QRect(bar.left(), top, bar.width(), m_lineHeight + 6);
}

int DispersionGeometry::tickX(std::size_t row, long line) const {
    const QRect bar = barRect(row);
    const double along = std::clamp(static_cast<double>(line) / m_extents[row], 0.0, 1.0);
    return bar.left() + static_cast<int>(std::lround(along * (bar.width() - 1)));
}

std::pair<std::size_t, std::size_t> DispersionGeometry::rowsBetween(int top, int bottom) const {
    const std::size_t rows = m_picture.plot.rows.size();
    const int first = rowRect(0).top();
    auto rowOf = [&](int y) {
        if (y <= first) return std::size_t{0};
        return std::min(rows, static_cast<std::size_t>((y - first) / m_rowHeight));
    };
    return {rowOf(top), std::min(rows, rowOf(bottom) + 1)};
}

std::optional<std::pair<std::size_t, std::size_t>> DispersionGeometry::hitAt(QPoint point,
                                                                             int tolerance) const {
    const auto [row, end] = rowsBetween(point.y(), point.y());
    if (row >= end || !rowRect(row).contains(point)) return std::nullopt;
    const std::vector<DispersionHit>& hits = m_picture.plot.rows[row].hits;
    std::optional<std::pair<std::size_t, std::size_t>> nearest;
    int distance = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < hits.size(); ++i) {
        const int away = std::abs(tickX(row, hits[i].line) - point.x());
        if (away < distance) {
            distance = away;
            nearest = std::pair{row, i};
        }
    }
    return distance <= tolerance ? nearest : std::nullopt;
}

void paintDispersion(QPainter& painter, const DispersionPicture& picture,
                     const DispersionGeometry& geometry, const DispersionFonts& fonts,
                     const QRect& exposed, long marked) {
    painter.setPen(kText);
    if (exposed.intersects(geometry.titleRect())) {
        painter.setFont(fonts.title);
        const QFontMetrics metrics(fonts.title);
        painter.drawText(
            geometry.titleRect(), Qt::AlignLeft | Qt::AlignVCenter,
            metrics.elidedText(picture.title, Qt::ElideRight, geometry.titleRect().width()));
    }
    if (!geometry.sharedDirectory().isEmpty() && exposed.intersects(geometry.subtitleRect())) {
        painter.setFont(fonts.small);
        painter.setPen(kQuiet);
        const QFontMetrics metrics(fonts.small);
        painter.drawText(geometry.subtitleRect(), Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText("Files in " + geometry.sharedDirectory(), Qt::ElideLeft,
                                            geometry.subtitleRect().width()));
    }

    painter.setFont(fonts.text);
    const QFontMetrics metrics(fonts.text);
    const auto [first, last] = geometry.rowsBetween(exposed.top(), exposed.bottom());
    for (std::size_t row = first; row < last; ++row) {
        const DispersionRow& shown = picture.plot.rows[row];
        painter.setPen(kText);
        const QRect name = geometry.nameRect(row);
        painter.drawText(name, Qt::AlignRight | Qt::AlignVCenter,
                         metrics.elidedText(geometry.name(row), Qt::ElideLeft, name.width()));
        painter.setPen(kQuiet);
        const QRect note = geometry.noteRect(row);
        painter.drawText(note, Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(dispersionNote(shown), Qt::ElideRight, note.width()));

        // A file of unknown length has a bar that ends at its last hit, drawn open.
        const QRect bar = geometry.barRect(row);
        painter.setPen(QPen(kBarEdge, 1, shown.lineCount ? Qt::SolidLine : Qt::DashLine));
        painter.setBrush(shown.lineCount ? kBarFill : QColor(Qt::white));
        painter.drawRect(bar.adjusted(0, 0, -1, -1));
        painter.setBrush(Qt::NoBrush);

        // Many hits share a pixel: each column is drawn once, however many ticks fall there.
        std::vector<char> columns(static_cast<std::size_t>(bar.width()), 0);
        std::optional<int> markedX;
        for (const DispersionHit& hit : shown.hits) {
            const int x = geometry.tickX(row, hit.line);
            columns[static_cast<std::size_t>(x - bar.left())] = 1;
            if (hit.resultIndex == marked) markedX = x;
        }
        painter.setPen(QPen(kTick, 1));
        const int top = bar.top() - kTickOverhang;
        const int bottom = bar.bottom() + kTickOverhang;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (columns[i] == 0) continue;
            const int x = bar.left() + static_cast<int>(i);
            painter.drawLine(x, top, x, bottom);
        }
        if (markedX) {
            painter.setPen(QPen(kMarkedTick, 3));
            painter.drawLine(*markedX, top - 1, *markedX, bottom + 1);
        }
    }

    const QRect axis = geometry.axisRect();
    if (!exposed.intersects(axis)) return;
    painter.setFont(fonts.small);
    painter.setPen(kQuiet);
    const QFontMetrics small(fonts.small);
    for (int quarter = 0; quarter <= 4; ++quarter) {
        const int x = axis.left() + (axis.width() - 1) * quarter / 4;
        painter.drawLine(x, axis.top(), x, axis.top() + 3);
        const QString label = quarter == 0   ? QString("start of file")
                              : quarter == 4 ? QString("end")
                                             : QString("%1%").arg(quarter * 25);
        const int textWidth = small.horizontalAdvance(label);
        const int left = quarter == 0 ? x : quarter == 4 ? x - textWidth : x - textWidth / 2;
        painter.drawText(left, axis.top() + 4 + small.ascent(), label);
    }
}

QImage dispersionImage(const DispersionPicture& picture, const QFont& font, int width) {
    const DispersionFonts fonts(font);
    const DispersionGeometry geometry(picture, fonts, width);
    QImage image(geometry.width(), geometry.height(), QImage::Format_RGB32);
    if (image.isNull()) return image;
    // The geometry measured the texts as the screen draws them; an image has a resolution of
    // its own, at which the same fonts would come out larger or smaller.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const int dotsPerMeter = qRound(screen->logicalDotsPerInch() / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
    }
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    paintDispersion(painter, picture, geometry, fonts, image.rect());
    return image;
}

DispersionPlotWidget::DispersionPlotWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumWidth(360);
    layOut();
}

void DispersionPlotWidget::setPicture(DispersionPicture picture) {
    m_geometry.reset();  // it refers to the picture
    m_picture = std::move(picture);
    m_marked = -1;
    layOut();
    update();
}

void DispersionPlotWidget::layOut() {
    m_geometry.reset();
    m_geometry.emplace(m_picture, DispersionFonts(font()), width());
    setMinimumHeight(m_geometry->height());
}

QPoint DispersionPlotWidget::tickCentre(std::size_t row, std::size_t hit) const {
    const long line = m_picture.plot.rows.at(row).hits.at(hit).line;
    return QPoint(m_geometry->tickX(row, line), m_geometry->barRect(row).center().y());
}

bool DispersionPlotWidget::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    if (const auto found = m_geometry->hitAt(help->pos(), 4)) {
        const DispersionRow& row = m_picture.plot.rows[found->first];
        const DispersionHit& hit = row.hits[found->second];
        QToolTip::showText(
            help->globalPos(),
            QString("%1:%2\nresult line %3")
                .arg(displayText(row.name), number(hit.line), number(hit.resultIndex + 1)),
            this);
        return true;
    }
    const auto [row, end] = m_geometry->rowsBetween(help->pos().y(), help->pos().y());
    if (row < end && m_geometry->rowRect(row).contains(help->pos())) {
        // Names may be cut to fit: the tooltip has the whole name and what was counted.
        const DispersionRow& shown = m_picture.plot.rows[row];
        const QString lines = shown.lineCount ? number(*shown.lineCount) + " lines"
                                              : QString("lines unknown: the file cannot be read");
        QToolTip::showText(help->globalPos(), displayText(shown.name) + "\n" + lines, this);
        return true;
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}

void DispersionPlotWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), Qt::white);
    paintDispersion(painter, m_picture, *m_geometry, DispersionFonts(font()), event->rect(),
                    m_marked);
}

void DispersionPlotWidget::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layOut();
}

void DispersionPlotWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const auto found = m_geometry->hitAt(event->position().toPoint(), 4);
    if (!found) return;
    m_marked = m_picture.plot.rows[found->first].hits[found->second].resultIndex;
    update();
    emit hitClicked(m_marked);
}

}  // namespace vellmora
