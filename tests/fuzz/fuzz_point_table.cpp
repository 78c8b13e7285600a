// SPDX-License-Identifier: GPL-3.0-or-later
// Random sequences of the point table's operations, as the grid and the commands drive them; the
// table's invariants are checked after every step, failed steps included.

#include "FuzzSupport.h"
#include "model/Error.h"
#include "model/PointTable.h"

#include <cstdint>
#include <optional>
#include <vector>

using namespace korvadel;

namespace {

void checkTable(const PointTable& points) {
    const std::size_t rows = points.rowCount();
    const std::ptrdiff_t current = points.currentIndex();
    if (rows == 0) {
        fuzz::check(current == -1, "current row in an empty table");
    } else {
        fuzz::check(current >= 0 && static_cast<std::size_t>(current) < rows,
                    "current row out of range");
    }
    const std::ptrdiff_t edit = points.editRow();
    if (points.state() == PointTable::State::Browsing) {
        fuzz::check(edit == -1, "edit row while browsing");
    } else {
        fuzz::check(edit >= 0 && static_cast<std::size_t>(edit) < rows, "edit row out of range");
    }
    fuzz::check(points.suspendCount() >= 0, "negative suspension count");
    bool havePrevious = false;
    double previous = 0.0;
    for (std::size_t i = 0; i < rows; ++i) {
        if (static_cast<std::ptrdiff_t>(i) == edit) {
            continue; // the pending or edited row sits at a provisional place
        }
        fuzz::check(points.hasStation(i), "committed row without station");
        const double station = points.stationAt(i);
        fuzz::check(!havePrevious || previous <= station, "committed rows out of order");
        previous = station;
        havePrevious = true;
    }
    if (points.state() == PointTable::State::Browsing) {
        fuzz::check(points.stations().size() == rows, "station column of the wrong length");
        fuzz::check(points.elevations().size() == rows, "elevation column of the wrong length");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PointTable points;
    int changes = 0;
    const TableSubscription events = points.subscribe([&](const PointTable::Event& event) {
        if (const auto* missing = std::get_if<PointTable::MissingStation>(&event))
            fuzz::check(missing->row < points.rowCount(), "required-field row out of range");
        else if (std::holds_alternative<TableChange>(event))
            ++changes;
    });

    std::size_t i = 0;
    const auto next = [&]() -> std::uint8_t { return i < size ? data[i++] : 0; };
    const auto value = [&]() -> std::optional<double> {
        const std::uint8_t b = next();
        if (b & 0x80) {
            return std::nullopt;
        }
        return static_cast<double>(b % 8) - 2.0;
    };

    while (i < size) {
        const std::uint8_t op = next();
        const bool browsing = points.state() == PointTable::State::Browsing;
        const bool hasRow = points.currentIndex() >= 0;
        try {
            switch (op % 20) {
            case 0:
                points.clear();
                break;
            case 1:
                points.first();
                break;
            case 2:
                points.next();
                break;
            case 3:
                points.last();
                break;
            case 4: {
                const double station = value().value_or(0.0);
                points.appendRow(station, value().value_or(1.0));
                break;
            }
            case 5:
                points.insertPending();
                break;
            case 6:
                points.appendPending();
                break;
            case 7:
                if (browsing && hasRow) {
                    points.beginEdit();
                }
                break;
            case 8:
                if (!browsing || hasRow) {
                    points.setStation(value());
                }
                break;
            case 9:
                if (!browsing || hasRow) {
                    points.setElevation(value());
                }
                break;
            case 10:
                if (!browsing) {
                    points.commit();
                }
                break;
            case 11:
                if (!browsing) {
                    points.discard();
                }
                break;
            case 12:
                points.settle();
                break;
            case 13:
                points.deleteCurrent();
                break;
            case 14: {
                std::vector<PointTable::LoadRow> rows(next() % 6);
                for (auto& row : rows) {
                    row.station = value();
                    row.elevation = value();
                }
                points.bulkLoad(rows);
                break;
            }
            case 15:
                if (points.rowCount() > 0) {
                    points.moveTo(next() % points.rowCount());
                }
                break;
            case 16:
                points.suspendViews();
                break;
            case 17:
                points.resumeViews();
                break;
            case 18:
                if (hasRow) {
                    (void)points.station();
                    (void)points.elevation();
                }
                break;
            case 19:
                (void)points.atEnd();
                break;
            }
        } catch (const Error&) {
        }
        checkTable(points);
    }
    return 0;
}
