// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Measurement.h"
#include "model/MeasurementFit.h"
#include "model/VelocityRating.h"

#include <span>

namespace korvadel {

class MeasurementChart;

// What the plots of an index-velocity rating are drawn from: the measurements with their rated
// values, the rating and each measurement against it (both absent when there is no rating), the
// section they were rated on, and whether lengths are in feet or metres (labels only).
struct VelocityPlotInput {
    std::span<const Measurement> measurements;
    std::span<const RatedMeasurement> rated;
    const VelocityRatingFit* fit = nullptr;
    std::span<const MeasurementFit> evaluated;
    std::span<const double> stations;
    std::span<const double> elevations;
    double datum = 0.0;
    bool feet = true;
};

enum class ResidualAxis { IndexVelocity, GageHeight, Date };

// Mean velocity against index velocity with the fitted line and its 95 % prediction band; for
// the stage form, measured against fitted mean velocity. Fit, validate and exclude measurements
// are drawn differently and named in the legend.
void drawLineFit(MeasurementChart& chart, const VelocityPlotInput& input);
// Residuals against the index velocity, the gage height or the date, with the zero line.
void drawResiduals(MeasurementChart& chart, const VelocityPlotInput& input, ResidualAxis axis);
// Measured areas over the section's stage-area curve, each joined to its rated area.
void drawAreaCheck(MeasurementChart& chart, const VelocityPlotInput& input);

} // namespace korvadel
