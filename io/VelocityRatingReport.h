// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Measurement.h"

#include <span>
#include <string>

namespace korvadel {

struct MeasurementFit;
struct VelocityRatingFit;

// A velocity rating with the measurements it was made from.
struct VelocityRatingReport {
    const VelocityRatingFit& fit;
    std::span<const Measurement> measurements;
    std::span<const RatedMeasurement> rated;
    std::span<const MeasurementFit> evaluated;
};

// The rating as one JSON object: model, equation, (breakpoint,) n, parameters,
// degrees_of_freedom, coefficients [{term, estimate, standard_error, t, p}], r_squared,
// adjusted_r_squared, standard_error_of_estimate, f, f_p and measurements [{number,
// gage_height, discharge, index_velocity, rated_area, mean_velocity, fitted_velocity, residual,
// rated_discharge, percent_difference, prediction_low, prediction_high,
// within_prediction_interval, use}]. Numbers are written so that they read back exactly; a
// value that does not exist (the fit of a measurement without an index velocity, a statistic
// of a fit without residual) is null.
std::string velocityRatingJson(const VelocityRatingReport& report);

// The same as a report for a person, laid out like a statistics package's regression output:
// the equation, the regression statistics, the analysis of variance, the coefficients and the
// measurements, numbers to 6 significant digits.
std::string velocityRatingText(const VelocityRatingReport& report);

} // namespace korvadel
