// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>
#include <vector>

namespace korvadel {

// One stretch of the water surface: from the left to the right station, the bed below the
// level all the way between.
struct WaterSpan {
    double left = 0.0;
    double right = 0.0;
};

// Where the water surface at `level` lies, as hydraulicProperties measures its top width over the
// whole section: over every segment of the polyline through the points (ascending station) whose
// bed lies strictly below the level, a partly wet segment cut where it crosses the level by
// linear interpolation. Walls and vertical segments add no width. Neighbouring wet stretches that
// meet (also at a point exactly at the level) make one span; a point above the level, or a dry
// stretch, separates them. The spans' widths add up to the top width up to rounding.
std::vector<WaterSpan> waterSurfaceSpans(std::span<const double> stations,
                                         std::span<const double> elevations, double level);

} // namespace korvadel
