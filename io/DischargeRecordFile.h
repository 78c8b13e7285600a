// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <span>
#include <string>
#include <string_view>

namespace korvadel {

class LineReader;
struct VelocityEquation;

// The section a record's areas come from: columns in table order, elevation + elevationShift
// compared with the gage height as the main rating command does.
struct RecordSection {
    std::span<const double> stations;
    std::span<const double> elevations;
    double elevationShift = 0.0;
};

struct RecordSummary {
    std::int64_t rows = 0;
    // Rows with an empty or unreadable time, gage height or index velocity, or a result past
    // the range of numbers: their dependent fields are written empty (a daily mean leaves a
    // row without discharge out, and a row without a readable time out of every day).
    std::int64_t rowsWithGaps = 0;
    std::int64_t firstGapLine = 0;
    double highestGageHeight = -std::numeric_limits<double>::infinity();
};

// Reads a record, comma-delimited text whose first line names the columns time (ISO 8601, see
// isoCalendarDay), gage_height and index_velocity (names matched as columnKey says, other
// columns ignored, numbers with a point), and writes its discharge as comma-delimited text
// with CR LF line ends, handing the bytes to `sink` in pieces as it goes, so a record of any
// length needs little memory:
//   time,gage_height,index_velocity,area,mean_velocity,discharge
// one line per row, the time and both inputs as written (empty when empty or unreadable), the
// area, V and Q = V x A in the general number format (empty where they cannot be computed);
// or with `daily`
//   date,mean_discharge,values
// one line per calendar date as the times write it, in date order: the mean of that date's
// discharges and how many there were. A missing column or a line past kMaxNamedColumnLine
// stops with an Error naming the file.
using ByteSink = std::function<void(std::string_view)>;
RecordSummary writeDischargeRecord(const std::string& path, const RecordSection& section,
                                   const VelocityEquation& equation, bool daily,
                                   const ByteSink& sink);
RecordSummary writeDischargeRecord(LineReader& reader, std::string_view name,
                                   const RecordSection& section, const VelocityEquation& equation,
                                   bool daily, const ByteSink& sink);

// The line for standard error about the rows with gaps, or nothing when there are none:
// "record.csv: 3 of 672 rows have an empty or unreadable value or a result out of range (the
// first on line 57); the fields that depend on it are left empty."
std::string recordGapsLine(std::string_view name, const RecordSummary& summary);

} // namespace korvadel
