// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <span>

namespace korvadel {

class PointTable;

// Water area below `level` in the channel through the points (walls stand on the end points).
// Starts with first() (which settles a pending row and may throw the required-field error) and
// leaves the cursor on the last row with the end flag set.
double wettedAreaOfTable(PointTable& points, double level, double elevationShift);

// The same computation over settled columns; the hot path of the rating.
double wettedArea(std::span<const double> stations, std::span<const double> elevations,
                  double level, double elevationShift) noexcept;

// wettedArea for several levels in one pass over the points: areas[k] is bit for bit
// wettedArea(stations, elevations, levels[k], elevationShift). Fastest when the levels are
// close together (consecutive stages), as only segments crossing the band of levels branch.
void wettedAreas(std::span<const double> stations, std::span<const double> elevations,
                 std::span<const double> levels, double elevationShift,
                 std::span<double> areas) noexcept;

} // namespace korvadel
