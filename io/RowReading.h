#pragma once

#include "model/Error.h"
#include "model/PointTable.h"

#include <cstddef>
#include <cstdint>
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

// Runs `collect`, which adds the rows it reads to a list, and puts the rows into the table with
// one bulk load, also when `collect` stops with an error (which then goes on to the caller). The
// table is emptied first. `expectedRows` sizes the list up front. Returns the number of rows
// read whose station is below that of the row read before them.
template <class Collect>
std::size_t readRowsInto(PointTable& points, Collect&& collect, std::size_t expectedRows = 0) {
    points.clear();
    points.first();
    PointTable::LoadColumns rows;
    rows.reserve(expectedRows);
    try {
        std::forward<Collect>(collect)(rows);
    } catch (...) {
        points.bulkLoad(std::move(rows));
        throw;
    }
    const std::size_t outOfOrder = points.bulkLoad(std::move(rows));
    points.first();
    return outOfOrder;
}

} // namespace korvadel
