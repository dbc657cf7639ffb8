#include "app/window_arrangement.h"

#include <algorithm>

namespace vellmora {
namespace {

/// Offsets a window of size fits in the area before it would reach past the edge.
int offsetsThatFit(QSize area, QSize size, int step) {
    if (step <= 0) return 1;
    const int across = (area.width() - size.width()) / step + 1;
    const int down = (area.height() - size.height()) / step + 1;
    return std::max(1, std::min(across, down));
}

/// Splits length into count parts whose sum is length: the first ones take the remainder.
std::vector<std::pair<int, int>> spans(int length, int count) {
    std::vector<std::pair<int, int>> parts;
    int start = 0;
    for (int i = 0; i < count; ++i) {
        const int size = length / count + (i < length % count ? 1 : 0);
        parts.emplace_back(start, size);
        start += size;
    }
    return parts;
}

}  // namespace

QRect newWindowPlace(QSize area, int index, int step) {
    const QSize size(area.width() * 4 / 5, area.height() * 4 / 5);
    const int offset = (std::max(index, 0) % offsetsThatFit(area, size, step)) * step;
    return QRect(QPoint(offset, offset), size);
}

std::vector<QRect> cascadePlaces(QSize area, int count, int step) {
    std::vector<QRect> places;
    if (count <= 0) return places;
    const QSize smallest(area.width() * 2 / 3, area.height() * 2 / 3);
    const QSize size(std::max(smallest.width(), area.width() - (count - 1) * step),
                     std::max(smallest.height(), area.height() - (count - 1) * step));
    const int fit = offsetsThatFit(area, size, step);
    for (int i = 0; i < count; ++i) {
        const int offset = (i % fit) * step;
        places.emplace_back(QPoint(offset, offset), size);
    }
    return places;
}

std::vector<QRect> rowPlaces(QSize area, int count) {
    std::vector<QRect> places;
    for (const auto& [top, height] : spans(area.height(), std::max(count, 0)))
        places.emplace_back(0, top, area.width(), height);
    return places;
}

std::vector<QRect> columnPlaces(QSize area, int count) {
    std::vector<QRect> places;
    for (const auto& [left, width] : spans(area.width(), std::max(count, 0)))
        places.emplace_back(left, 0, width, area.height());
    return places;
}

}  // namespace vellmora
