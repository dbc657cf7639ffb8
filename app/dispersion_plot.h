#pragma once

// The dispersion plot as a picture: one bar per corpus file with a tick at each hit's place in
// the file, drawn the same way into a window and into a PNG.

#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>
#include <optional>
#include <utility>
#include <vector>

#include "document/dispersion.h"

class QPainter;

namespace vellmora {

/// What a plot shows.
struct DispersionPicture {
    DispersionPlot plot;
    QString title;
};

/// "12 hits, 3.4 per 1,000 lines": what stands beside a file's bar.
QString dispersionNote(const DispersionRow& row);

/// The fonts a plot is drawn in, from the widget or application font.
struct DispersionFonts {
    explicit DispersionFonts(const QFont& base);
    QFont text;
    QFont title;
    QFont small;
};

/// Where the parts of a plot stand at one width, in pixels from its top left. The height
/// follows from the number of rows alone. Refers to picture, which must outlive it.
class DispersionGeometry {
public:
    DispersionGeometry(const DispersionPicture& picture, const DispersionFonts& fonts, int width);

    int width() const { return m_width; }
    int height() const;
    /// The names as drawn: shown relative to the directory all rows share, if any.
    const QString& name(std::size_t row) const { return m_names[row]; }
    const QString& sharedDirectory() const { return m_sharedDirectory; }

    QRect titleRect() const;
    QRect subtitleRect() const;  ///< empty when no directory is shared
    QRect rowRect(std::size_t row) const;
    QRect nameRect(std::size_t row) const;
    QRect barRect(std::size_t row) const;
    QRect noteRect(std::size_t row) const;
    QRect axisRect() const;
    /// The x of the tick of line in row: line / extent along the bar.
    int tickX(std::size_t row, long line) const;
    /// The rows [first, last) that the band [top, bottom) of the picture crosses.
    std::pair<std::size_t, std::size_t> rowsBetween(int top, int bottom) const;
    /// The row and hit whose tick is nearest to point, when it is within tolerance pixels
    /// sideways and point is on the row; the first in result order among equals.
    std::optional<std::pair<std::size_t, std::size_t>> hitAt(QPoint point, int tolerance) const;

private:
    const DispersionPicture& m_picture;
    int m_width;
    int m_lineHeight;
    int m_titleHeight;
    int m_subtitleHeight;
    int m_rowHeight;
    int m_nameWidth;
    int m_noteWidth;
    QString m_sharedDirectory;
    std::vector<QString> m_names;
    std::vector<double> m_extents;  ///< of each row, as the ticks divide by it
};

/// Draws the rows of picture that exposed crosses, and the title and axis where it covers
/// them; marked is the result line whose tick stands out (-1: none).
void paintDispersion(QPainter& painter, const DispersionPicture& picture,
                     const DispersionGeometry& geometry, const DispersionFonts& fonts,
                     const QRect& exposed, long marked = -1);

/// The whole plot at width pixels, on white; a null image when it is too large to hold.
QImage dispersionImage(const DispersionPicture& picture, const QFont& font, int width);

/// The plot in a window: a click near a tick names that hit's result line, and a tooltip
/// names the hit's file and line.
class DispersionPlotWidget : public QWidget {
    Q_OBJECT

public:
    explicit DispersionPlotWidget(QWidget* parent = nullptr);

    void setPicture(DispersionPicture picture);
    const DispersionPicture& picture() const { return m_picture; }
    /// The middle of the tick of hit of row, in widget coordinates.
    QPoint tickCentre(std::size_t row, std::size_t hit) const;
    /// The result line whose tick was clicked last (-1: none).
    long marked() const { return m_marked; }

signals:
    void hitClicked(long resultIndex);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void layOut();

    DispersionPicture m_picture;
    std::optional<DispersionGeometry> m_geometry;
    long m_marked = -1;
};

}  // namespace vellmora
