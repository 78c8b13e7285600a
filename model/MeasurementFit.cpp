// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/MeasurementFit.h"

#include <cmath>
#include <limits>

namespace korvadel {

std::vector<VelocitySample> fitSamples(std::span<const Measurement> measurements,
                                       std::span<const RatedMeasurement> rated) {
    std::vector<VelocitySample> samples;
    for (std::size_t i = 0; i < measurements.size(); ++i) {
        const Measurement& m = measurements[i];
        if (m.use == MeasurementUse::Fit && m.indexVelocity)
            samples.push_back({*m.indexVelocity, m.gageHeight, rated[i].meanVelocity});
    }
    return samples;
}

std::vector<MeasurementFit> evaluateMeasurements(const VelocityRatingFit& fit,
                                                 std::span<const Measurement> measurements,
                                                 std::span<const RatedMeasurement> rated) {
    std::vector<MeasurementFit> rows(measurements.size());
    for (std::size_t i = 0; i < measurements.size(); ++i) {
        const Measurement& m = measurements[i];
        if (!m.indexVelocity)
            continue;
        MeasurementFit& row = rows[i];
        const double v = rated[i].meanVelocity;
        row.evaluated = true;
        row.fittedVelocity = fit.equation.velocity(*m.indexVelocity, m.gageHeight);
        row.residual = v - row.fittedVelocity;
        row.ratedDischarge = row.fittedVelocity * rated[i].ratedArea;
        row.percentDifference = 100.0 * (m.discharge - row.ratedDischarge) / row.ratedDischarge;
        if (!std::isfinite(row.percentDifference))
            row.percentDifference = std::numeric_limits<double>::quiet_NaN();
        row.interval = fit.predictionInterval(*m.indexVelocity, m.gageHeight);
        row.withinInterval = row.interval.low <= v && v <= row.interval.high;
    }
    return rows;
}

} // namespace korvadel
