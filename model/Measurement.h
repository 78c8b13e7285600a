// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvadel {

// What a discharge measurement is for in an index-velocity rating: fitted, held back to check
// the rating against, or left out (with a comment saying why).
enum class MeasurementUse : unsigned char { Fit, Validate, Exclude };

// "fit", "validate" or "exclude".
std::string_view measurementUseName(MeasurementUse use);

// One discharge measurement as its file gives it. Values are in the section's units; the texts
// are kept as written.
struct Measurement {
    std::string number;
    std::string start; // ISO 8601 date or date and time
    std::string end;   // empty when not given
    double gageHeight = 0.0;
    double discharge = 0.0;
    std::optional<double> indexVelocity;
    std::optional<double> measuredArea;
    MeasurementUse use = MeasurementUse::Fit;
    std::string comment;
    std::int64_t line = 0; // the file's line it was read from, for messages
};

// The measurement's values that come from the section: the rated area at its gage height, the
// mean velocity discharge / rated area, and with a measured area its difference from the rated
// one in percent of the rated one and whether that exceeds the threshold.
struct RatedMeasurement {
    double ratedArea = 0.0;
    double meanVelocity = 0.0;
    std::optional<double> areaDifferencePercent;
    bool beyondThreshold = false;
};

inline constexpr double kDefaultAreaThreshold = 5.0; // percent

// Rates every measurement against the section (columns in table order; elevation +
// elevationShift is compared with the gage height, as the main rating command does): the area
// is the rating's own wetted area at that gage height, unrounded. A measurement where the
// section holds no water, or whose velocity or difference is past the range of numbers, stops
// with an Error naming its number and gage height.
std::vector<RatedMeasurement> rateMeasurements(std::span<const Measurement> measurements,
                                               std::span<const double> stations,
                                               std::span<const double> elevations,
                                               double elevationShift,
                                               double thresholdPercent = kDefaultAreaThreshold);

} // namespace korvadel
