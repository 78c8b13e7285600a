// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/PointTableLoad.h"

#include <algorithm>
#include <functional>
#include <type_traits>
#include <utility>

namespace korvadel {

void PointLoad::add(double station, std::optional<double> elevation) {
    if (!elevation && allElevations_) {
        hasElevation_.assign(stations_.size(), 1);
        allElevations_ = false;
    }
    stations_.push_back(station);
    elevations_.push_back(elevation.value_or(0.0));
    if (!allElevations_)
        hasElevation_.push_back(elevation ? 1 : 0);
}

namespace {

// Rows whose station is below the station of the row before them.
std::size_t countOutOfOrder(std::span<const double> stations) {
    std::size_t count = 0;
    for (std::size_t i = 1; i < stations.size(); ++i)
        count += stationLess(stations[i], stations[i - 1]) ? 1 : 0;
    return count;
}

// Survey files are mostly in station order, or nearly so where shots wander back a little. Each
// row that came too early moves back to just after the last row of equal or smaller station (so
// equal stations keep their load order) while the rows moved stay within `budget`; past it the
// rows are left for the full sort, which gives the same order from any arrangement it is handed.
bool sortNearlyOrdered(PointColumns& columns, std::size_t budget) {
    const std::size_t n = columns.size();
    double* const stations = columns.stations.data();
    // A load whose rows all have an elevation has nothing to move in its flags.
    const bool flagsDiffer = std::adjacent_find(columns.flags.begin(), columns.flags.end(),
                                                std::not_equal_to<>()) != columns.flags.end();
    for (std::size_t i = 1; i < n; ++i) {
        const double station = stations[i];
        if (!stationLess(station, stations[i - 1]))
            continue;
        // Most rows go back a step or two; a longer way is searched by halves.
        constexpr std::size_t kSteps = 8;
        std::size_t to = i - 1;
        while (to > 0 && i - to < kSteps && stationLess(station, stations[to - 1]))
            --to;
        if (to > 0 && i - to == kSteps && stationLess(station, stations[to - 1]))
            to = static_cast<std::size_t>(
                std::upper_bound(stations, stations + to, station, stationLess) - stations);
        const std::size_t moved = i - to;
        if (moved > budget)
            return false;
        budget -= moved;
        const auto moveBack = [to, i](auto& column) {
            const auto value = column[i];
            for (std::size_t k = i; k > to; --k)
                column[k] = column[k - 1];
            column[to] = value;
        };
        moveBack(columns.stations);
        moveBack(columns.elevations);
        moveBack(columns.recIds);
        if (flagsDiffer)
            moveBack(columns.flags);
    }
    return true;
}

// RecIds rise in load order, so the order sought is by Station, then RecId.
void sortLoaded(PointColumns& columns) {
    const std::size_t n = columns.size();
    // Rows that wandered back a step or two cost well under one move a row; a load that needs
    // more than two is left to the full sort, whose cost a shuffled file then hardly notices.
    if (sortNearlyOrdered(columns, 2 * n + 1024))
        return;
    std::vector<std::pair<double, std::size_t>> keys(n);
    for (std::size_t i = 0; i < n; ++i)
        keys[i] = {columns.stations[i], i};
    const std::int64_t* const recIds = columns.recIds.data();
    std::sort(keys.begin(), keys.end(), [recIds](const auto& a, const auto& b) {
        if (stationLess(a.first, b.first))
            return true;
        if (stationLess(b.first, a.first))
            return false;
        return recIds[a.second] < recIds[b.second];
    });
    for (std::size_t i = 0; i < n; ++i)
        columns.stations[i] = keys[i].first;
    auto gather = [&keys, n](auto& column) {
        std::remove_reference_t<decltype(column)> sorted(n);
        for (std::size_t i = 0; i < n; ++i)
            sorted[i] = column[keys[i].second];
        column.swap(sorted);
    };
    gather(columns.elevations);
    gather(columns.flags);
    gather(columns.recIds);
}

} // namespace

std::size_t takeLoad(PointLoad&& rows, PointColumns& columns, std::int64_t& nextRecId) {
    if (rows.stationMissing_) {
        rows.stations_.resize(rows.loaded_);
        rows.elevations_.resize(rows.loaded_);
    }
    const std::size_t n = rows.stations_.size();
    columns.stations = std::move(rows.stations_);
    columns.elevations = std::move(rows.elevations_);
    constexpr auto kBoth = PointColumns::kHasStation | PointColumns::kHasElevation;
    if (rows.allElevations_) {
        columns.flags.assign(n, kBoth);
    } else {
        columns.flags.resize(n);
        for (std::size_t i = 0; i < n; ++i)
            columns.flags[i] = rows.hasElevation_[i] != 0 ? kBoth : PointColumns::kHasStation;
    }
    columns.recIds.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        columns.recIds[i] = nextRecId++;
    const std::size_t outOfOrder = countOutOfOrder(columns.stations);
    if (outOfOrder > 0)
        sortLoaded(columns);
    return outOfOrder;
}

} // namespace korvadel
