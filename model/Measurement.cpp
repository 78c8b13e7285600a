// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Measurement.h"

#include "model/Error.h"
#include "model/Numbers.h"
#include "model/WettedArea.h"

#include <cmath>

namespace korvadel {

std::string_view measurementUseName(MeasurementUse use) {
    switch (use) {
    case MeasurementUse::Fit:
        return "fit";
    case MeasurementUse::Validate:
        return "validate";
    case MeasurementUse::Exclude:
        return "exclude";
    }
    return "fit";
}

namespace {

std::string measurementNamed(const Measurement& measurement) {
    return "Measurement " + measurement.number + " at gage height " +
           formatGeneral(measurement.gageHeight);
}

} // namespace

std::vector<RatedMeasurement> rateMeasurements(std::span<const Measurement> measurements,
                                               std::span<const double> stations,
                                               std::span<const double> elevations,
                                               double elevationShift, double thresholdPercent) {
    std::vector<RatedMeasurement> rated;
    rated.reserve(measurements.size());
    for (const Measurement& measurement : measurements) {
        RatedMeasurement row;
        row.ratedArea = wettedArea(stations, elevations, measurement.gageHeight, elevationShift);
        if (!(row.ratedArea > 0.0))
            throw Error(measurementNamed(measurement) +
                        ": the section holds no water there (rated area 0), so it has no mean "
                        "velocity");
        row.meanVelocity = measurement.discharge / row.ratedArea;
        if (measurement.measuredArea) {
            row.areaDifferencePercent =
                100.0 * (*measurement.measuredArea - row.ratedArea) / row.ratedArea;
            row.beyondThreshold = std::fabs(*row.areaDifferencePercent) > thresholdPercent;
        }
        if (!std::isfinite(row.ratedArea) || !std::isfinite(row.meanVelocity) ||
            (row.areaDifferencePercent && !std::isfinite(*row.areaDifferencePercent)))
            throw Error(measurementNamed(measurement) +
                        ": its rated area, mean velocity or area difference is beyond the range "
                        "of numbers");
        rated.push_back(row);
    }
    return rated;
}

} // namespace korvadel
