// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/SectionPoints.h"

#include "model/PointTable.h"

#include <algorithm>
#include <numeric>

namespace korvadel {

SectionPoints sectionPoints(const PointTable& points) {
    SectionPoints section;
    const std::size_t rows = points.rowCount();
    section.stations.reserve(rows);
    section.elevations.reserve(rows);
    bool sorted = true;
    for (std::size_t row = 0; row < rows; ++row) {
        if (!points.hasStation(row))
            continue;
        const double station = points.stationAt(row);
        if (!section.stations.empty() && station < section.stations.back())
            sorted = false;
        section.stations.push_back(station);
        section.elevations.push_back(points.elevationAt(row));
    }
    if (sorted)
        return section;
    // Only a row being typed into can stand out of order.
    std::vector<std::size_t> order(section.stations.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&section](std::size_t a, std::size_t b) {
        return section.stations[a] < section.stations[b];
    });
    SectionPoints placed;
    placed.stations.reserve(order.size());
    placed.elevations.reserve(order.size());
    for (const std::size_t i : order) {
        placed.stations.push_back(section.stations[i]);
        placed.elevations.push_back(section.elevations[i]);
    }
    return placed;
}

} // namespace korvadel
