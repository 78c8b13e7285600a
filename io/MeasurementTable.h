// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/TableExport.h"
#include "model/Measurement.h"

#include <span>

namespace korvadel {

// The measurement summary as an exported table, one row per measurement with the heading
// number,start,end,gage_height,discharge,index_velocity,rated_area,mean_velocity,measured_area,
// area_difference_percent,beyond_threshold,use,comment; cells the file left empty stay empty,
// beyond_threshold is yes or no (empty without a measured area) and use is fit, validate or
// exclude.
class MeasurementTable : public TableSource {
public:
    MeasurementTable(std::span<const Measurement> measurements,
                     std::span<const RatedMeasurement> rated)
        : measurements_(measurements), rated_(rated) {}
    std::span<const std::string_view> heading() const override;
    std::size_t rowCount() const override { return measurements_.size(); }
    std::size_t columnCount() const override;
    void cells(std::size_t row, std::span<TableCell> cells) const override;

private:
    std::span<const Measurement> measurements_;
    std::span<const RatedMeasurement> rated_;
};

// "Area difference beyond 5 %: 2 of 18 measurements with a measured area." (with a line feed),
// or nothing when no measurement has a measured area.
std::string areaCheckLine(std::span<const RatedMeasurement> rated, double thresholdPercent);

} // namespace korvadel
