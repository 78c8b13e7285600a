#pragma once

#include "io/ReadSummary.h"
#include "model/Error.h"
#include "model/PointTable.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace korvadel {

// "Line <n>: '<field>' is not a valid floating point value": a point field that holds text.
[[noreturn]] inline void throwNotANumber(std::int64_t line, std::string_view field) {
    throw Error("Line " + std::to_string(line) + ": '" + std::string(field) +
                "' is not a valid floating point value");
}

// The rows in file order whose station is less than that of the row before (ReadSummary).
inline std::size_t countUnsortedStations(const std::vector<PointTable::LoadRow>& rows) {
    std::size_t count = 0;
    const std::optional<double>* previous = nullptr;
    for (const PointTable::LoadRow& row : rows) {
        if (!row.station)
            continue;
        if (previous && *row.station < **previous)
            ++count;
        previous = &row.station;
    }
    return count;
}

// Runs `collect`, which appends the rows it reads to a list, and puts the rows into the table
// with one stable sort, also when `collect` stops with an error (which then goes on to the
// caller). The table is emptied first. Returns what the rows were like before the sort.
template <class Collect> ReadSummary readRowsInto(PointTable& points, Collect&& collect) {
    points.clear();
    points.first();
    std::vector<PointTable::LoadRow> rows;
    try {
        std::forward<Collect>(collect)(rows);
    } catch (...) {
        points.bulkLoad(rows);
        throw;
    }
    ReadSummary summary;
    summary.unsortedStations = countUnsortedStations(rows);
    points.bulkLoad(rows);
    points.first();
    return summary;
}

} // namespace korvadel
