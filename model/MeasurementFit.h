// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Measurement.h"
#include "model/VelocityRating.h"

#include <span>
#include <vector>

namespace korvadel {

// A measurement against a velocity rating: the fitted V at its index velocity (and gage
// height), the residual V - fitted V, the rated discharge fitted V x rated area, the percent
// difference 100 x (discharge - rated discharge) / rated discharge (NaN where that is 0), and
// the rating's prediction interval at its index velocity with whether V lies inside it. A
// measurement without an index velocity is not evaluated.
struct MeasurementFit {
    bool evaluated = false;
    double fittedVelocity = 0.0;
    double residual = 0.0;
    double ratedDischarge = 0.0;
    double percentDifference = 0.0;
    PredictionInterval interval;
    bool withinInterval = false;
};

// The regression's samples: the measurements used to fit, with their mean velocities. Each
// must have an index velocity.
std::vector<VelocitySample> fitSamples(std::span<const Measurement> measurements,
                                       std::span<const RatedMeasurement> rated);

// Every measurement, fit, validate and exclude alike, against the rating.
std::vector<MeasurementFit> evaluateMeasurements(const VelocityRatingFit& fit,
                                                 std::span<const Measurement> measurements,
                                                 std::span<const RatedMeasurement> rated);

} // namespace korvadel
