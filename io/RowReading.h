// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/FileError.h"
#include "io/LineReader.h"
#include "io/ReadSummary.h"
#include "model/Error.h"
#include "model/NumberFormat.h"
#include "model/PointTable.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvadel {

class DelimiterSet;

// "Line <n>: '<field>' is not a valid floating point value": a point field that holds text.
[[noreturn]] inline void throwNotANumber(std::int64_t line, std::string_view field) {
    throw Error("Line " + std::to_string(line) + ": '" + std::string(field) +
                "' is not a valid floating point value");
}

// Once the first rows are in, sizes the list for the whole file at the bytes a row those rows
// took, so that a large file is not copied over each time the list fills up. Rows that take more
// room later only leave some room unused; fewer bytes a row later just grow the list as before.
inline void sizeForWholeFile(PointTable::LoadColumns& rows, const LineReader& reader) {
    constexpr std::size_t kSampleRows = 4096;
    if (rows.size() != kSampleRows) [[likely]] {
        return;
    }
    const std::uint64_t size = reader.sourceSize();
    const std::uint64_t read = reader.bytesRead();
    if (read == 0 || size <= read) {
        return;
    }
    // A sixteenth more for rows a little shorter than the first; no row takes less than two
    // bytes, which bounds the guess.
    const double expected = static_cast<double>(size) / static_cast<double>(read) *
                            static_cast<double>(kSampleRows) * (17.0 / 16.0);
    rows.reserve(static_cast<std::size_t>(std::min(expected, static_cast<double>(size / 2 + 1))));
}

// Runs `collect`, which adds the rows it reads to a list, and puts the rows into the table with
// one bulk load, also when `collect` stops with an error (which then goes on to the caller). The
// table is emptied first. Returns what the rows were like before the sort.
template <class Collect> ReadSummary readRowsInto(PointTable& points, Collect&& collect) {
    points.clear();
    points.first();
    PointTable::LoadColumns rows;
    try {
        std::forward<Collect>(collect)(rows);
    } catch (...) {
        points.bulkLoad(std::move(rows));
        throw;
    }
    ReadSummary summary;
    summary.unsortedStations = points.bulkLoad(std::move(rows));
    points.first();
    return summary;
}

// Reads every line left as one point: the station in field 0 and the elevation in field 1 of the
// line cut to kMaxSplitLine and split at `delimiters`. A field that is not a number stops the read
// (throwNotANumber), a missing one too ("List index out of bounds"). With `headingFirst`, a first
// line of the file neither of whose two fields is a number is a column heading and passed over.
void readPointLines(LineReader& reader, const DelimiterSet& delimiters, NumberFormat format,
                    bool headingFirst, PointTable::LoadColumns& rows);

// Opens `path` and reads it, for the readers whose command shows a file that cannot be opened as
// the "Unable to access file!" warning rather than as the file error.
template <class Read> ReadSummary readUnlessUnableToAccess(const std::string& path, Read&& read) {
    std::optional<LineReader> reader;
    try {
        reader.emplace(path);
    } catch (const Error&) {
        throw UnableToAccessFile();
    }
    return std::forward<Read>(read)(*reader);
}

} // namespace korvadel
