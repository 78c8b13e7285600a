// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/DischargeRecord.h"

#include "model/VelocityRating.h"
#include "model/WettedArea.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace korvadel {

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::size_t kLevelBlock = 4096;
} // namespace

void computeDischarges(std::span<const double> stations, std::span<const double> elevations,
                       double elevationShift, const VelocityEquation& equation,
                       const DischargeRows& rows) {
    const std::size_t count = rows.gageHeights.size();
    // The areas come from the rating's many-level walk, bit for bit the single-level area. A
    // missing gage height borrows its neighbour's there, so that its block stays on the fast
    // road, and its area is set aside afterwards.
    double levels[kLevelBlock];
    double stand = 0.0;
    for (std::size_t first = 0; first < count; first += kLevelBlock) {
        const std::size_t size = std::min(kLevelBlock, count - first);
        for (std::size_t i = 0; i < size; ++i) {
            const double level = rows.gageHeights[first + i];
            if (std::isfinite(level))
                stand = level;
            levels[i] = stand;
        }
        wettedAreas(stations, elevations, std::span<const double>(levels, size), elevationShift,
                    rows.areas.subspan(first, size));
    }
    for (std::size_t i = 0; i < count; ++i) {
        const double gageHeight = rows.gageHeights[i];
        double& area = rows.areas[i];
        if (!std::isfinite(gageHeight) || !std::isfinite(area))
            area = kNaN;
        double velocity = equation.velocity(rows.indexVelocities[i], gageHeight);
        if (!std::isfinite(velocity))
            velocity = kNaN;
        rows.velocities[i] = velocity;
        const double discharge = velocity * area;
        rows.discharges[i] = std::isfinite(discharge) ? discharge : kNaN;
    }
}

void DailyMeans::add(std::int32_t day, double discharge) {
    if (last_ == nullptr || day != lastDay_) {
        last_ = &sums_[day];
        lastDay_ = day;
    }
    if (!std::isnan(discharge)) {
        last_->total += discharge;
        ++last_->values;
    }
}

std::vector<DailyDischarge> DailyMeans::days() const {
    std::vector<DailyDischarge> days;
    days.reserve(sums_.size());
    for (const auto& [day, sum] : sums_) {
        DailyDischarge row;
        row.day = day;
        row.values = sum.values;
        row.mean = sum.values == 0
                       ? kNaN
                       : static_cast<double>(sum.total / static_cast<long double>(sum.values));
        days.push_back(row);
    }
    return days;
}

} // namespace korvadel
