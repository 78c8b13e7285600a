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
    const std::size_t rows = points.RowCount();
    const std::ptrdiff_t current = points.CurrentIndex();
    if (rows == 0) {
        fuzz::check(current == -1, "current row in an empty table");
    } else {
        fuzz::check(current >= 0 && static_cast<std::size_t>(current) < rows,
                    "current row out of range");
    }
    const std::ptrdiff_t edit = points.EditRow();
    if (points.GetState() == PointTable::State::Browsing) {
        fuzz::check(edit == -1, "edit row while browsing");
    } else {
        fuzz::check(edit >= 0 && static_cast<std::size_t>(edit) < rows, "edit row out of range");
    }
    fuzz::check(points.SuspendCount() >= 0, "negative suspension count");
    bool havePrevious = false;
    double previous = 0.0;
    for (std::size_t i = 0; i < rows; ++i) {
        if (static_cast<std::ptrdiff_t>(i) == edit) {
            continue; // the pending or edited row sits at a provisional place
        }
        fuzz::check(points.HasStation(i), "committed row without station");
        const double station = points.StationAt(i);
        fuzz::check(!havePrevious || previous <= station, "committed rows out of order");
        previous = station;
        havePrevious = true;
    }
    if (points.GetState() == PointTable::State::Browsing) {
        fuzz::check(points.Stations().size() == rows, "station column of the wrong length");
        fuzz::check(points.Elevations().size() == rows, "elevation column of the wrong length");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PointTable points;
    points.SetRequiredFieldHandler([&points](std::size_t row) {
        fuzz::check(row < points.RowCount(), "required-field row out of range");
    });
    int changes = 0;
    points.Subscribe([&changes](const TableChange&) { ++changes; });

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
        const bool browsing = points.GetState() == PointTable::State::Browsing;
        const bool hasRow = points.CurrentIndex() >= 0;
        try {
            switch (op % 20) {
            case 0: points.Clear(); break;
            case 1: points.First(); break;
            case 2: points.Next(); break;
            case 3: points.Last(); break;
            case 4: {
                const double station = value().value_or(0.0);
                points.AppendRow(station, value().value_or(1.0));
                break;
            }
            case 5: points.InsertPending(); break;
            case 6: points.AppendPending(); break;
            case 7:
                if (browsing && hasRow) {
                    points.BeginEdit();
                }
                break;
            case 8:
                if (!browsing || hasRow) {
                    points.SetStation(value());
                }
                break;
            case 9:
                if (!browsing || hasRow) {
                    points.SetElevation(value());
                }
                break;
            case 10:
                if (!browsing) {
                    points.Commit();
                }
                break;
            case 11:
                if (!browsing) {
                    points.Discard();
                }
                break;
            case 12: points.Settle(); break;
            case 13: points.DeleteCurrent(); break;
            case 14: {
                std::vector<PointTable::LoadRow> rows(next() % 6);
                for (auto& row : rows) {
                    row.station = value();
                    row.elevation = value();
                }
                points.BulkLoad(rows);
                break;
            }
            case 15:
                if (points.RowCount() > 0) {
                    points.MoveTo(next() % points.RowCount());
                }
                break;
            case 16: points.SuspendViews(); break;
            case 17: points.ResumeViews(); break;
            case 18:
                if (hasRow) {
                    (void)points.Station();
                    (void)points.Elevation();
                }
                break;
            case 19: (void)points.AtEnd(); break;
            }
        } catch (const Error&) {
        }
        checkTable(points);
    }
    return 0;
}
