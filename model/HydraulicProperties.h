// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace korvadel {

// Which water a level's properties count.
enum class WaterExtent {
    // Everything below the level between the end walls, as the rating's area does.
    WholeSection,
    // Only the water connected to the section's lowest point (the first of equal lowest points
    // in station order): from it the region reaches left and right while the bed stays below
    // the level; a point at or above the level closes it, and an end wall counts only when the
    // region reaches that end. Water standing in a separate hollow of a bank or floodplain is
    // left out of every property.
    ConnectedToLowest,
};

// The geometry of the water below one level, in the section's length unit (areas squared).
//
// The section is the polyline through the points in the order given (ascending station, equal
// stations in table order), closed by vertical walls standing on its end points, as for the
// rating's area. Each elevation takes part shifted by the elevation shift, as in wettedArea.
// The water surface lies above the bed where the bed is strictly below the level: a point
// exactly at the level bounds the water but holds none, so a flat stretch exactly at the level
// adds neither width nor perimeter.
//
// - area: with WaterExtent::WholeSection bit for bit wettedArea at the same level and shift.
// - topWidth: horizontal length over which the surface lies above the bed; a partly wet
//   segment is cut where it crosses the level (linear interpolation). Walls and vertical
//   segments (equal stations) add no width.
// - wettedPerimeter: length of bed under water, along the slope of each segment, plus the wet
//   height of each end wall (level minus end elevation, when positive) and of every vertical
//   segment. A single point stands between two walls, so it has a perimeter but no area.
// - hydraulicRadius = area / wettedPerimeter, meanDepth = area / topWidth, maxDepth = level
//   minus the lowest bed elevation; each is 0 where its divisor is 0 or the level is not above
//   the bed. A quotient of infinities (a section so large that its area overflows) is 0 too.
//
// A level that is not a finite number has no water: every property is 0.
struct HydraulicProperties {
    double area = 0.0;
    double topWidth = 0.0;
    double wettedPerimeter = 0.0;
    double hydraulicRadius = 0.0;
    double meanDepth = 0.0;
    double maxDepth = 0.0;
};

// The properties at one level: one walk over the points.
HydraulicProperties hydraulicProperties(std::span<const double> stations,
                                        std::span<const double> elevations, double level,
                                        double elevationShift, WaterExtent extent);

// The properties at every level of a run, in the order of `levels` (any order; a rising stage
// run is the common case). The same values as the one-level function up to rounding in the
// last digits (relative 1e-12 or so), except the area of the whole section, which is the
// rating kernel's to the bit, and the area with WaterExtent::ConnectedToLowest at levels where
// the connected region reaches both ends, which is then the whole section's area to the bit.
//
// Cost: the area of the whole section through the rating's multi-level kernel, plus one sort
// of the segments' end elevations and one sweep upward through segments and levels together
// (width and perimeter are piecewise linear in the level, with breaks at the point elevations;
// the connected region only grows as the level rises), so O(N log N + M) beyond the area.
std::vector<HydraulicProperties> hydraulicProperties(std::span<const double> stations,
                                                     std::span<const double> elevations,
                                                     std::span<const double> levels,
                                                     double elevationShift, WaterExtent extent);

// The area alone of the water connected to the lowest point, at each of `levels`: areas[k] is
// bit for bit the area of the one-level hydraulicProperties with WaterExtent::ConnectedToLowest
// (the rating's own walk over the connected points), so a rating of connected water agrees
// with the properties of any one of its levels. One walk out from the lowest point and one
// area walk over the connected points per level.
void connectedWettedAreas(std::span<const double> stations, std::span<const double> elevations,
                          std::span<const double> levels, double elevationShift,
                          std::span<double> areas) noexcept;

// The stretch of the section whose points bound the water at one level: the points from `first`
// to `last`, and whether an end wall holds that water. The whole section with both walls for
// WaterExtent::WholeSection; for ConnectedToLowest the region reached from the lowest point
// (see above). Meaningful for a level above the lowest bed and at least one point.
struct WaterRegion {
    std::size_t first = 0;
    std::size_t last = 0;
    bool leftWall = true;
    bool rightWall = true;
};
WaterRegion waterRegion(std::span<const double> elevations, double level, double elevationShift,
                        WaterExtent extent) noexcept;

} // namespace korvadel
