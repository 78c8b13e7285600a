// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <vector>

namespace korvadel {

struct VelocityEquation;

// Discharge of record rows, Q = V x A: A the section's wetted area at the row's gage height,
// exactly as the main rating computes it for that stage (elevation + elevationShift compared
// with the gage height, unrounded), V the rating's mean velocity at the row's index velocity
// (and gage height). A NaN gage height or index velocity is a value the row does not have:
// every result that depends on it is NaN, and so is a result past the range of numbers. The
// outputs have the inputs' length.
struct DischargeRows {
    std::span<const double> gageHeights;
    std::span<const double> indexVelocities;
    std::span<double> areas;
    std::span<double> velocities;
    std::span<double> discharges;
};
void computeDischarges(std::span<const double> stations, std::span<const double> elevations,
                       double elevationShift, const VelocityEquation& equation,
                       const DischargeRows& rows);

struct DailyDischarge {
    std::int32_t day = 0; // days since 1970-01-01
    double mean = 0.0;    // NaN when the day has no discharge
    std::size_t values = 0;
};

// Daily means of a discharge record, one day per calendar date as the times are written.
class DailyMeans {
public:
    // A NaN discharge (a row without one) still makes its day appear.
    void add(std::int32_t day, double discharge);
    // In ascending date order.
    std::vector<DailyDischarge> days() const;

private:
    struct Sum {
        long double total = 0.0L;
        std::size_t values = 0;
    };
    std::map<std::int32_t, Sum> sums_;
    std::int32_t lastDay_ = 0;
    Sum* last_ = nullptr;
};

} // namespace korvadel
