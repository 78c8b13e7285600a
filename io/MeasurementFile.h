// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Measurement.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvadel {

class LineReader;

// The discharge measurements of an index-velocity station, from either of two files:
// - comma-delimited text whose first line names the columns: number, start (ISO 8601 date or
//   date and time), end (optional; a date and time or a time of day), gage_height, discharge,
//   index_velocity (optional), measured_area (optional), use (fit, validate or exclude; empty
//   is fit) and comment (optional); other columns are ignored. A field may be quoted.
// - a USGS field-measurement file (RDB): tab-delimited, any number of lines starting with #,
//   a row of column names and a row of column formats (5s 15s 12n ...), then the data; its
//   measurement_nu, measurement_dt, gage_height_va, discharge_va and chan_area stand for number,
//   start, gage_height, discharge and measured_area. It has no index velocity.
// A file whose first line starts with # or holds a TAB and no comma is read as RDB. Column
// names are matched as columnKey says; the first of two alike counts. Numbers take a point.
struct MeasurementFile {
    std::string name; // as given, for messages
    std::vector<Measurement> measurements;
    bool rdb = false;
    bool hasIndexVelocity = false; // the file has the column (its cells may still be empty)
    bool hasMeasuredArea = false;
    std::string indexVelocityColumn; // the columns' names as the file writes them
};

// Limits that keep a file that is no measurement list from filling the memory.
inline constexpr std::size_t kMaxMeasurements = 100'000;
inline constexpr std::size_t kMaxMeasurementText = std::size_t{64} << 20;

// Reads the file. A missing column, an empty or unreadable required value, an unknown use and
// a time that is not ISO 8601 stop with an Error naming the file, the line and the column.
MeasurementFile readMeasurements(const std::string& path);
MeasurementFile readMeasurements(LineReader& reader, std::string_view name);

// An end as the file may give it: an ISO 8601 date and time, or a time of day (hh:mm,
// hh:mm:ss).
bool isMeasurementEnd(std::string_view text);
// fit, validate or exclude (case ignored; empty is fit); nullopt for anything else.
std::optional<MeasurementUse> measurementUseNamed(std::string_view text);

// Writes the measurements as the comma-delimited file read above, with the heading
// number,start,end,gage_height,discharge,index_velocity,measured_area,use,comment; the file is
// replaced only once it is complete.
void writeMeasurements(const std::string& path, std::span<const Measurement> measurements);
std::string measurementFileBytes(std::span<const Measurement> measurements);

// The velocity rating needs the index velocity of every measurement it fits: Error naming the
// file (and the line and column of the first fit measurement without one) otherwise.
void requireFitIndexVelocities(const MeasurementFile& file);

} // namespace korvadel
