// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/MeasurementTable.h"

#include "io/MeasurementFile.h"
#include "model/Numbers.h"

namespace korvadel {
namespace {

constexpr std::string_view kHeading[] = {
    "number",           "start",      "end",           "gage_height",   "discharge",
    "index_velocity",   "rated_area", "mean_velocity", "measured_area", "area_difference_percent",
    "beyond_threshold", "use",        "comment"};

TableCell textOrEmpty(const std::string& text) {
    return text.empty() ? TableCell{} : TableCell::of(std::string_view(text));
}

TableCell numberOrEmpty(const std::optional<double>& value) {
    return value ? TableCell::of(*value) : TableCell{};
}

// The six columns the file and the summary both begin with: number to index velocity.
void leadingCells(const Measurement& m, std::span<TableCell> cells) {
    cells[0] = TableCell::of(std::string_view(m.number));
    cells[1] = TableCell::of(std::string_view(m.start));
    cells[2] = textOrEmpty(m.end);
    cells[3] = TableCell::of(m.gageHeight);
    cells[4] = TableCell::of(m.discharge);
    cells[5] = numberOrEmpty(m.indexVelocity);
}

// The measurements as their file holds them.
class MeasurementFileTable : public TableSource {
public:
    explicit MeasurementFileTable(std::span<const Measurement> measurements)
        : measurements_(measurements) {}
    std::span<const std::string_view> heading() const override { return kFileHeading; }
    std::size_t rowCount() const override { return measurements_.size(); }
    std::size_t columnCount() const override { return std::size(kFileHeading); }
    void cells(std::size_t row, std::span<TableCell> cells) const override {
        const Measurement& m = measurements_[row];
        leadingCells(m, cells);
        cells[6] = numberOrEmpty(m.measuredArea);
        cells[7] = TableCell::of(measurementUseName(m.use));
        cells[8] = textOrEmpty(m.comment);
    }

private:
    static constexpr std::string_view kFileHeading[] = {
        "number",         "start",         "end", "gage_height", "discharge",
        "index_velocity", "measured_area", "use", "comment"};
    std::span<const Measurement> measurements_;
};

} // namespace

void writeMeasurements(const std::string& path, std::span<const Measurement> measurements) {
    exportTable(path, OutputFormat::CommaDelimited, MeasurementFileTable(measurements));
}

std::string measurementFileBytes(std::span<const Measurement> measurements) {
    return tableBytes(OutputFormat::CommaDelimited, MeasurementFileTable(measurements));
}

std::span<const std::string_view> MeasurementTable::heading() const {
    return kHeading;
}

std::size_t MeasurementTable::columnCount() const {
    return std::size(kHeading);
}

void MeasurementTable::cells(std::size_t row, std::span<TableCell> cells) const {
    const Measurement& m = measurements_[row];
    const RatedMeasurement& rated = rated_[row];
    leadingCells(m, cells);
    cells[6] = TableCell::of(rated.ratedArea);
    cells[7] = TableCell::of(rated.meanVelocity);
    cells[8] = numberOrEmpty(m.measuredArea);
    cells[9] = numberOrEmpty(rated.areaDifferencePercent);
    cells[10] = rated.areaDifferencePercent
                    ? TableCell::of(std::string_view(rated.beyondThreshold ? "yes" : "no"))
                    : TableCell{};
    cells[11] = TableCell::of(measurementUseName(m.use));
    cells[12] = textOrEmpty(m.comment);
}

std::string areaCheckLine(std::span<const RatedMeasurement> rated, double thresholdPercent) {
    std::size_t compared = 0;
    std::size_t beyond = 0;
    for (const RatedMeasurement& row : rated) {
        if (row.areaDifferencePercent) {
            ++compared;
            beyond += row.beyondThreshold ? 1 : 0;
        }
    }
    if (compared == 0)
        return {};
    return "Area difference beyond " + formatGeneral(thresholdPercent) +
           " %: " + std::to_string(beyond) + " of " + std::to_string(compared) +
           (compared == 1 ? " measurement" : " measurements") + " with a measured area.\n";
}

} // namespace korvadel
