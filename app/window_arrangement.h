#pragma once

// Where the result windows go inside the main window's area: a new window, Cascade and the two
// tilings. Plain geometry, so that each rule is easy to see and to check.

#include <QRect>
#include <vector>

namespace vellmora {

/// The place of the index-th window opened into an area of this size: four fifths of the area,
/// each one step further down and to the right than the one before, and back at the top left
/// before a window would reach past the area's edge.
QRect newWindowPlace(QSize area, int index, int step);

/// Cascade: count windows of one size, each a step below and to the right of the one before,
/// so that every title bar shows; as large as that allows, but never under two thirds of the
/// area (more windows start again at the top left).
std::vector<QRect> cascadePlaces(QSize area, int count, int step);

/// Tile Horizontal: the windows one above another, each the area's whole width.
std::vector<QRect> rowPlaces(QSize area, int count);
/// Tile Vertical: the windows side by side, each the area's whole height.
std::vector<QRect> columnPlaces(QSize area, int count);

}  // namespace vellmora
