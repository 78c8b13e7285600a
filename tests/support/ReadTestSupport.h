// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers for the tests of the readers: the rows of a table as plain values and the message of
// whatever a call throws.

#include "model/Error.h"
#include "model/PointTable.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace korvadel::testing {

struct Row {
    double station;
    std::optional<double> elevation;
    bool operator==(const Row&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Row& row) {
    out << "(" << row.station << ", ";
    if (row.elevation) {
        out << *row.elevation;
    } else {
        out << "empty";
    }
    return out << ")";
}

inline std::vector<Row> rowsOf(const PointTable& points) {
    std::vector<Row> rows;
    for (std::size_t i = 0; i < points.rowCount(); ++i) {
        rows.push_back({points.stationAt(i), points.hasElevation(i)
                                                 ? std::optional<double>(points.elevationAt(i))
                                                 : std::nullopt});
    }
    return rows;
}

// Puts rows into a table the way the readers do, in one bulk load.
inline void fill(PointTable& points, const std::vector<Row>& rows) {
    std::vector<PointTable::LoadRow> load;
    for (const Row& row : rows) {
        load.push_back({row.station, row.elevation});
    }
    points.bulkLoad(load);
}

// The text with every CR LF line end turned into a lone CR, as old Macintosh programs write it.
inline std::string withCarriageReturnsOnly(std::string text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\n' && i > 0 && text[i - 1] == '\r')) {
            out += text[i];
        }
    }
    return out;
}

inline std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "";
}

// Counts what a table tells its views.
class ChangeCounter {
public:
    explicit ChangeCounter(PointTable& points)
        : views_(points.subscribe(PointTable::viewsOnly([this](const TableChange&) { ++count; }))) {
    }
    ChangeCounter(const ChangeCounter&) = delete;
    ChangeCounter& operator=(const ChangeCounter&) = delete;
    int count = 0;

private:
    TableSubscription views_;
};

} // namespace korvadel::testing
