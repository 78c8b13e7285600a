// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Point and rating tables filled for a test:
//
//   setPoints(points, {{0, 10}, {2, 0}, {8, 0}, {10, 10}});
//   setTrapezoid(points);                                  // the same, the channel most tests rate
//   fillRating(rating, 5, [](int i) { return std::pair{i * 0.5, i * 3.0}; }); // stage, area

#include "model/PointTable.h"
#include "model/RatingTable.h"

#include <functional>
#include <initializer_list>
#include <utility>

namespace korvadel {

// Replaces the table's rows with the (station, elevation) pairs.
inline void setPoints(PointTable& points,
                      std::initializer_list<std::pair<double, double>> stationElevations) {
    points.clear();
    for (const auto& [station, elevation] : stationElevations)
        points.appendRow(station, elevation);
}

// The trapezoid channel (0, 10) (2, 0) (8, 0) (10, 10), raised by `shift`: from gage height 0 by
// 1 its areas are 0, 6.2, 12.8, ... (h (6 + 0.2 h)).
inline void setTrapezoid(PointTable& points, double shift = 0.0) {
    setPoints(points, {{0, 10 + shift}, {2, shift}, {8, shift}, {10, 10 + shift}});
}

// Replaces the rating's rows with `rows` rows, row i holding the (stage, area) of stageArea(i).
inline void fillRating(RatingTable& rating, int rows,
                       const std::function<std::pair<double, double>(int)>& stageArea) {
    rating.clear();
    for (int i = 0; i < rows; ++i) {
        const auto [stage, area] = stageArea(i);
        rating.appendRow(stage, area);
    }
}

} // namespace korvadel
