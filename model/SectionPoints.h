// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <vector>

namespace korvadel {

class PointTable;

// The section as the grid and the chart show it: every row that has a station, the pending or
// edited row included at its value, in ascending station order (equal stations in table order),
// elevations that are empty read as 0. A settled table gives its own columns. Taking them this
// way leaves the table, its cursor and a row being typed into alone, so a window can look at the
// section at any moment.
struct SectionPoints {
    std::vector<double> stations;
    std::vector<double> elevations;
};

SectionPoints sectionPoints(const PointTable& points);

} // namespace korvadel
