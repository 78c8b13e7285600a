#pragma once

#include "model/Error.h"
#include "model/PointTable.h"

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

// Runs `collect`, which appends the rows it reads to a list, and puts the rows into the table
// with one stable sort, also when `collect` stops with an error (which then goes on to the
// caller). The table is emptied first.
template <class Collect> void readRowsInto(PointTable& points, Collect&& collect) {
    points.clear();
    points.first();
    std::vector<PointTable::LoadRow> rows;
    try {
        std::forward<Collect>(collect)(rows);
    } catch (...) {
        points.bulkLoad(rows);
        throw;
    }
    points.bulkLoad(rows);
    points.first();
}

} // namespace korvadel
