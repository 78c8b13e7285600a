// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/CrossSectionDocument.h"
#include "model/Error.h"
#include "model/PointTable.h"
#include "model/RatingTable.h"
#include "tests/support/ErrorMessage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace korvadel {
namespace {

using Rows = std::vector<std::pair<double, double>>;

Rows rowsOf(const PointTable& table) {
    Rows rows;
    for (std::size_t i = 0; i < table.rowCount(); ++i)
        rows.emplace_back(table.stationAt(i), table.elevationAt(i));
    return rows;
}

PointTable tableOf(const Rows& rows) {
    PointTable table;
    std::vector<PointTable::LoadRow> load;
    for (const auto& [station, elevation] : rows)
        load.push_back({station, elevation});
    table.bulkLoad(load);
    return table;
}

const std::string kRequired = "Field 'Station' must have a value";

TEST(PointTablePlacement, AppendRowReversesEqualStationsBulkLoadKeepsLoadOrder) {
    const Rows input = {{0, 10}, {0, 2}, {10, 2}, {10, 10}};
    PointTable appended;
    for (const auto& [s, e] : input)
        appended.appendRow(s, e);
    EXPECT_EQ(rowsOf(appended), (Rows{{0, 2}, {0, 10}, {10, 10}, {10, 2}}));
    EXPECT_EQ(rowsOf(tableOf(input)), input);
}

// Each case starts from a loaded table, makes row `row` current, edits its station and commits.
TEST(PointTablePlacement, EditedRowMovesByTheRule) {
    struct Case {
        const char* name;
        Rows start;
        std::size_t row;
        double station;
        Rows expected;
    };
    const Case cases[] = {
        {"forward past smaller rows",
         {{0, 1}, {10, 2}, {20, 3}},
         0,
         15,
         {{10, 2}, {15, 1}, {20, 3}}},
        {"forward lands after the first equal row",
         {{0, 1}, {5, 2}, {10, 3}, {10, 4}},
         0,
         10,
         {{5, 2}, {10, 3}, {10, 1}, {10, 4}}},
        {"not greater than the next row: before every equal row",
         {{0, 1}, {10, 3}, {10, 4}},
         0,
         10,
         {{10, 1}, {10, 3}, {10, 4}}},
        {"backward before every equal row",
         {{0, 1}, {5, 2}, {5, 3}, {20, 4}},
         3,
         5,
         {{0, 1}, {5, 4}, {5, 2}, {5, 3}}},
        {"backward to the front", {{0, 1}, {5, 2}, {20, 4}}, 2, -3, {{-3, 4}, {0, 1}, {5, 2}}},
        {"last row grows and stays last", {{0, 1}, {5, 2}}, 1, 50, {{0, 1}, {50, 2}}},
        {"unchanged station keeps its place among equals",
         {{0, 1}, {10, 3}, {10, 4}},
         2,
         10,
         {{0, 1}, {10, 3}, {10, 4}}},
        {"negative zero equals zero", {{0, 1}, {0, 2}}, 1, -0.0, {{0, 1}, {-0.0, 2}}},
    };
    for (const Case& c : cases) {
        PointTable table = tableOf(c.start);
        table.moveTo(c.row);
        table.beginEdit();
        table.setStation(c.station);
        table.commit();
        EXPECT_EQ(rowsOf(table), c.expected) << c.name;
        EXPECT_EQ(table.state(), PointTable::State::Browsing) << c.name;
        EXPECT_EQ(table.station(), c.station) << c.name; // stays current at its new place
    }
}

TEST(PointTablePlacement, PendingRowsStartWhereTheyWereCreated) {
    struct Case {
        const char* name;
        Rows start;
        std::ptrdiff_t insertBefore; // -1: appendPending
        double station;
        Rows expected;
    };
    const Case cases[] = {
        {"appended lands in order",
         {{0, 1}, {10, 2}, {20, 3}},
         -1,
         5,
         {{0, 1}, {5, 9}, {10, 2}, {20, 3}}},
        {"appended before equal rows",
         {{0, 1}, {10, 2}, {10, 3}},
         -1,
         10,
         {{0, 1}, {10, 9}, {10, 2}, {10, 3}}},
        {"inserted, greater than the row after",
         {{0, 1}, {10, 2}, {10, 3}, {20, 4}},
         1,
         15,
         {{0, 1}, {10, 2}, {10, 3}, {15, 9}, {20, 4}}},
        {"inserted, greater, lands after the first equal",
         {{0, 1}, {5, 2}, {10, 3}, {10, 4}},
         1,
         10,
         {{0, 1}, {5, 2}, {10, 3}, {10, 9}, {10, 4}}},
        {"inserted, not greater, goes before the first equal",
         {{0, 1}, {10, 2}, {20, 3}},
         2,
         10,
         {{0, 1}, {10, 9}, {10, 2}, {20, 3}}},
        {"inserted into an empty table", {}, 0, 7, {{7, 9}}},
    };
    for (const Case& c : cases) {
        PointTable table = tableOf(c.start);
        if (c.insertBefore < 0) {
            table.appendPending();
        } else {
            if (!c.start.empty())
                table.moveTo(static_cast<std::size_t>(c.insertBefore));
            table.insertPending();
            EXPECT_EQ(table.editRow(), c.insertBefore) << c.name;
        }
        table.setStation(c.station);
        table.setElevation(9);
        table.commit();
        EXPECT_EQ(rowsOf(table), c.expected) << c.name;
        EXPECT_EQ(table.station(), c.station) << c.name;
        EXPECT_EQ(table.elevation(), 9) << c.name;
    }
}

TEST(PointTableCursor, EndFlagAndTheLastRowReadAgain) {
    PointTable table;
    EXPECT_TRUE(table.atEnd());
    table.first();
    EXPECT_TRUE(table.atEnd());
    EXPECT_EQ(table.currentIndex(), -1);
    EXPECT_EQ(table.station(), 0.0);

    table = tableOf({{1, 10}, {2, 20}});
    table.first();
    EXPECT_FALSE(table.atEnd());
    EXPECT_EQ(table.station(), 1);
    table.next();
    EXPECT_FALSE(table.atEnd());
    EXPECT_EQ(table.elevation(), 20);
    table.next();
    EXPECT_TRUE(table.atEnd());
    EXPECT_EQ(table.station(), 2);
    EXPECT_EQ(table.elevation(), 20);
    table.first();
    table.last();
    EXPECT_EQ(table.currentIndex(), 1);
    table.clear();
    EXPECT_TRUE(table.atEnd());
    EXPECT_EQ(table.rowCount(), 0u);
}

TEST(PointTableSettle, UntypedPendingRowDisappearsAtEveryMoveAndCreation) {
    const std::pair<const char*, std::function<void(PointTable&)>> operations[] = {
        {"first", [](PointTable& t) { t.first(); }},
        {"next", [](PointTable& t) { t.next(); }},
        {"last", [](PointTable& t) { t.last(); }},
        {"insertPending", [](PointTable& t) { t.insertPending(); }},
        {"appendPending", [](PointTable& t) { t.appendPending(); }},
        {"appendRow", [](PointTable& t) { t.appendRow(100, 1); }},
        {"settle", [](PointTable& t) { t.settle(); }},
    };
    for (const auto& [name, operation] : operations) {
        PointTable table = tableOf({{0, 1}, {10, 2}});
        table.moveTo(1);
        table.insertPending();
        ASSERT_EQ(table.rowCount(), 3u);
        operation(table);
        std::size_t pending = table.state() == PointTable::State::Inserting ? 1 : 0;
        std::size_t added = std::string(name) == "appendRow" ? 1 : 0;
        EXPECT_EQ(table.rowCount(), 2u + pending + added) << name;
        for (std::size_t i = 0; i < table.rowCount(); ++i) {
            if (static_cast<std::ptrdiff_t>(i) != table.editRow()) {
                EXPECT_TRUE(table.hasStation(i)) << name;
            }
        }
    }
}

TEST(PointTableSettle, RowWithOnlyAnElevationFailsEveryMoveAndStaysPending) {
    const std::pair<const char*, std::function<void(PointTable&)>> operations[] = {
        {"first", [](PointTable& t) { t.first(); }},
        {"next", [](PointTable& t) { t.next(); }},
        {"last", [](PointTable& t) { t.last(); }},
        {"insertPending", [](PointTable& t) { t.insertPending(); }},
        {"appendPending", [](PointTable& t) { t.appendPending(); }},
        {"appendRow", [](PointTable& t) { t.appendRow(100, 1); }},
        {"commit", [](PointTable& t) { t.commit(); }},
        {"moveTo", [](PointTable& t) { t.moveTo(0); }},
    };
    for (const auto& [name, operation] : operations) {
        PointTable table = tableOf({{0, 1}, {10, 2}});
        std::vector<std::size_t> focused;
        const TableSubscription notice = table.subscribe([&](const PointTable::Event& event) {
            if (const auto* missing = std::get_if<PointTable::MissingStation>(&event))
                focused.push_back(missing->row);
        });
        table.moveTo(1);
        table.insertPending();
        table.setElevation(5);
        EXPECT_EQ(messageOf([&] { operation(table); }), kRequired) << name;
        EXPECT_EQ(table.state(), PointTable::State::Inserting) << name;
        EXPECT_EQ(table.rowCount(), 3u) << name;
        EXPECT_EQ(table.editRow(), 1) << name;
        EXPECT_EQ(table.elevationAt(1), 5) << name;
        EXPECT_EQ(focused, std::vector<std::size_t>{1}) << name;
    }
}

TEST(PointTableSettle, EnteredCountsEvenWhenTheValueIsClearedAgain) {
    PointTable table;
    table.appendPending();
    table.setStation(3);
    table.setStation(std::nullopt);
    EXPECT_EQ(messageOf([&] { table.settle(); }), kRequired);
    table.setStation(4);
    table.settle();
    EXPECT_EQ(rowsOf(table), (Rows{{4, 0}}));
    EXPECT_FALSE(table.hasElevation(0)); // empty elevation reads 0.0
    EXPECT_EQ(table.elevation(), 0.0);

    // An edit in which a value was typed and put back still commits (and keeps its place).
    table.appendRow(4, 7);
    table.moveTo(1);
    table.beginEdit();
    table.setElevation(1);
    table.setElevation(std::nullopt);
    table.settle();
    EXPECT_EQ(rowsOf(table), (Rows{{4, 7}, {4, 0}}));
    EXPECT_FALSE(table.hasElevation(1));
}

TEST(PointTableEdit, DiscardRestoresOrDropsAndPicksTheCurrentRow) {
    PointTable table = tableOf({{0, 1}, {10, 2}, {20, 3}});
    table.moveTo(1);
    table.beginEdit();
    table.setStation(99);
    table.setElevation(std::nullopt);
    table.discard();
    EXPECT_EQ(rowsOf(table), (Rows{{0, 1}, {10, 2}, {20, 3}}));
    EXPECT_TRUE(table.hasElevation(1));
    EXPECT_EQ(table.state(), PointTable::State::Browsing);

    table.insertPending(); // before row 1
    table.setStation(5);
    table.discard();
    EXPECT_EQ(table.rowCount(), 3u);
    EXPECT_EQ(table.station(), 10); // the row it stood before

    table.appendPending();
    table.discard();
    EXPECT_EQ(table.station(), 20); // pending at the end: the last row
}

TEST(PointTableEdit, DeleteCurrent) {
    PointTable table;
    EXPECT_EQ(messageOf([&] { table.deleteCurrent(); }),
              "Cannot perform this operation on an empty dataset");

    table = tableOf({{0, 1}, {10, 2}, {20, 3}});
    table.moveTo(1);
    table.deleteCurrent();
    EXPECT_EQ(table.station(), 20); // the following row
    table.deleteCurrent();
    EXPECT_EQ(table.station(), 0); // removed the last: the new last row
    EXPECT_EQ(rowsOf(table), (Rows{{0, 1}}));

    table.insertPending();
    table.setStation(5);
    table.deleteCurrent(); // a pending row is only discarded
    EXPECT_EQ(rowsOf(table), (Rows{{0, 1}}));
    table.deleteCurrent();
    EXPECT_EQ(table.rowCount(), 0u);
    EXPECT_TRUE(table.atEnd());
}

TEST(PointTableEdit, MoveToFindsTheSameRowAfterSettling) {
    PointTable table = tableOf({{0, 1}, {10, 2}, {20, 3}});
    table.moveTo(1);
    table.insertPending(); // 0, P, 10, 20
    table.setStation(15);
    table.moveTo(2); // the row at 10; committing moves 15 behind it
    EXPECT_EQ(table.station(), 10);
    EXPECT_EQ(rowsOf(table), (Rows{{0, 1}, {10, 2}, {15, 0}, {20, 3}}));

    table.moveTo(0);
    table.insertPending(); // P, 0, 10, 15, 20
    table.moveTo(3);       // the row at 15; the untouched pending row goes away
    EXPECT_EQ(table.station(), 15);
    EXPECT_EQ(table.rowCount(), 4u);

    table.appendPending();
    table.setElevation(4);
    table.moveTo(4); // staying on the row being typed into does not settle it
    EXPECT_EQ(table.state(), PointTable::State::Inserting);
}

TEST(PointTableLoad, BulkLoadStopsAtTheFirstRowWithoutStation) {
    PointTable table;
    int resets = 0;
    const TableSubscription views = table.subscribe(PointTable::viewsOnly(
        [&](const TableChange& c) { resets += c.kind == TableChange::Kind::Reset; }));
    table.appendPending();
    const std::vector<PointTable::LoadRow> rows = {
        {5.0, 1.0}, {1.0, std::nullopt}, {std::nullopt, 3.0}, {0.0, 4.0}};
    EXPECT_EQ(messageOf([&] { table.bulkLoad(rows); }), kRequired);
    EXPECT_EQ(rowsOf(table), (Rows{{1, 0}, {5, 1}}));
    EXPECT_FALSE(table.hasElevation(0));
    EXPECT_EQ(table.suspendCount(), 0);
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(table.state(), PointTable::State::Browsing);
    EXPECT_EQ(table.currentIndex(), 0);

    // The column form: rows added after the stop are not loaded either.
    PointTable::LoadColumns columns;
    columns.add(5.0, 1.0);
    columns.add(1.0, std::nullopt);
    columns.stopAtMissingStation();
    columns.add(0.0, 4.0);
    EXPECT_EQ(messageOf([&] { table.bulkLoad(std::move(columns)); }), kRequired);
    EXPECT_EQ(rowsOf(table), (Rows{{1, 0}, {5, 1}}));
    EXPECT_FALSE(table.hasElevation(0));
}

// Independent oracle: a stable sort of the load by station, over the arrangements a load meets
// (in order, shots wandering back a little, a few rows far out of place, reversed, shuffled,
// and one that starts nearly ordered and turns random part-way), with many equal stations.
TEST(PointTableLoad, BulkLoadIsAStableSortAndKeepsRecIdsRising) {
    struct Arrangement {
        const char* name;
        std::function<double(std::size_t i, std::size_t n, std::mt19937& random)> station;
    };
    const std::vector<Arrangement> arrangements = {
        {"in order", [](std::size_t i, std::size_t, std::mt19937&) { return i / 3 * 0.5; }},
        {"wandering",
         [](std::size_t i, std::size_t, std::mt19937& random) {
             return i * 0.25 - std::uniform_int_distribution<int>(0, 6)(random) * 0.25;
         }},
        {"a few far back",
         [](std::size_t i, std::size_t, std::mt19937&) {
             return i % 97 == 50 ? i - 40.0 : static_cast<double>(i);
         }},
        {"a few far out of place",
         [](std::size_t i, std::size_t n, std::mt19937&) {
             return i % 97 == 5 ? static_cast<double>(n - i) : static_cast<double>(i);
         }},
        {"reversed", [](std::size_t i, std::size_t n, std::mt19937&) { return (n - i) / 2 * 1.0; }},
        {"shuffled",
         [](std::size_t, std::size_t, std::mt19937& random) {
             return std::uniform_int_distribution<int>(0, 40)(random) * 0.5;
         }},
        {"random after an ordered start",
         [](std::size_t i, std::size_t n, std::mt19937& random) {
             return i < n / 2 ? static_cast<double>(i / 2)
                              : std::uniform_int_distribution<int>(0, 2000)(random) * 0.5;
         }},
    };
    for (const Arrangement& arrangement : arrangements) {
        for (const std::size_t n : {0u, 1u, 2u, 9u, 200u, 5000u}) {
            SCOPED_TRACE(std::string(arrangement.name) + ", " + std::to_string(n) + " rows");
            std::mt19937 random(static_cast<unsigned>(n) + 7);
            Rows input;
            std::vector<bool> hasElevation;
            for (std::size_t i = 0; i < n; ++i) {
                input.emplace_back(arrangement.station(i, n, random), static_cast<double>(i));
                hasElevation.push_back(i % 7 != 0); // the first row has none
            }
            std::size_t outOfOrder = 0;
            for (std::size_t i = 1; i < n; ++i)
                outOfOrder += input[i].first < input[i - 1].first ? 1 : 0;
            std::vector<std::size_t> expected(n);
            for (std::size_t i = 0; i < n; ++i)
                expected[i] = i;
            std::stable_sort(expected.begin(), expected.end(), [&](std::size_t a, std::size_t b) {
                return input[a].first < input[b].first;
            });

            // Both load forms, the row form with and the column form without a lost elevation
            // among the rows.
            PointTable rowsLoaded;
            std::vector<PointTable::LoadRow> load;
            for (std::size_t i = 0; i < n; ++i)
                load.push_back({input[i].first, hasElevation[i]
                                                    ? std::optional<double>(input[i].second)
                                                    : std::nullopt});
            rowsLoaded.bulkLoad(load);
            PointTable columnsLoaded;
            PointTable::LoadColumns columns;
            for (const auto& [station, elevation] : input)
                columns.add(station, elevation);
            EXPECT_EQ(columnsLoaded.bulkLoad(std::move(columns)), outOfOrder);

            ASSERT_EQ(rowsLoaded.rowCount(), n);
            ASSERT_EQ(columnsLoaded.rowCount(), n);
            for (std::size_t k = 0; k < n; ++k) {
                const std::size_t from = expected[k];
                ASSERT_EQ(columnsLoaded.stationAt(k), input[from].first) << "row " << k;
                ASSERT_EQ(columnsLoaded.elevationAt(k), input[from].second) << "row " << k;
                ASSERT_TRUE(columnsLoaded.hasElevation(k));
                ASSERT_EQ(columnsLoaded.recIdAt(k), columnsLoaded.recIdAt(0) -
                                                        static_cast<std::int64_t>(expected[0]) +
                                                        static_cast<std::int64_t>(from));
                ASSERT_EQ(rowsLoaded.stationAt(k), input[from].first) << "row " << k;
                ASSERT_EQ(rowsLoaded.hasElevation(k), hasElevation[from]) << "row " << k;
                ASSERT_EQ(rowsLoaded.elevationAt(k), hasElevation[from] ? input[from].second : 0.0);
            }
        }
    }
}

TEST(PointTableViews, FineEventsWhenLiveOneResetOnTheFinalResume) {
    PointTable table = tableOf({{0, 1}, {10, 2}});
    std::vector<TableChange> seen;
    TableSubscription views =
        table.subscribe(PointTable::viewsOnly([&](const TableChange& c) { seen.push_back(c); }));
    table.appendRow(5, 3);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].kind, TableChange::Kind::Inserted);
    EXPECT_EQ(seen[0].row, 1u);

    seen.clear();
    table.suspendViews();
    table.suspendViews();
    table.appendRow(7, 3);
    table.moveTo(0);
    table.deleteCurrent();
    table.resumeViews();
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(table.suspendCount(), 1);
    table.resumeViews();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].kind, TableChange::Kind::Reset);
    table.resumeViews(); // unbalanced: ignored
    EXPECT_EQ(table.suspendCount(), 0);
    EXPECT_EQ(seen.size(), 1u);

    seen.clear();
    table.moveTo(0);
    table.beginEdit();
    table.setStation(100); // 100 from the front: changed, then moved to the end on commit
    table.commit();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].kind, TableChange::Kind::Changed);
    EXPECT_EQ(seen[1].kind, TableChange::Kind::Moved);
    EXPECT_EQ(seen[1].row, 0u);
    EXPECT_EQ(seen[1].to, table.rowCount() - 1);

    views.reset();
    EXPECT_FALSE(views.active());
    table.clear();
    EXPECT_EQ(seen.size(), 2u);
}

// Random editing sessions keep the invariants every computation relies on.
TEST(PointTableInvariants, RandomOperationSequences) {
    std::mt19937 random(11);
    PointTable table;
    for (int step = 0; step < 20000; ++step) {
        const int op = static_cast<int>(random() % 12);
        const double value = static_cast<double>(random() % 9);
        try {
            switch (op) {
            case 0:
                table.first();
                break;
            case 1:
                table.next();
                break;
            case 2:
                table.last();
                break;
            case 3:
                table.appendRow(value, value);
                break;
            case 4:
                table.insertPending();
                break;
            case 5:
                table.appendPending();
                break;
            case 6:
                table.setStation(random() % 5 ? std::optional<double>(value) : std::nullopt);
                break;
            case 7:
                table.setElevation(value);
                break;
            case 8:
                table.commit();
                break;
            case 9:
                table.discard();
                break;
            case 10:
                table.deleteCurrent();
                break;
            case 11:
                if (table.rowCount() > 0)
                    table.moveTo(random() % table.rowCount());
                break;
            }
        } catch (const Error& error) {
            const std::string message = error.what();
            ASSERT_TRUE(message == kRequired ||
                        message == "Cannot perform this operation on an empty dataset");
        }
        const std::ptrdiff_t edit = table.editRow();
        double previous = -1e300;
        for (std::size_t i = 0; i < table.rowCount(); ++i) {
            if (static_cast<std::ptrdiff_t>(i) == edit)
                continue;
            ASSERT_TRUE(table.hasStation(i));
            ASSERT_LE(previous, table.stationAt(i)) << "step " << step;
            previous = table.stationAt(i);
        }
        if (table.rowCount() == 0) {
            ASSERT_EQ(table.currentIndex(), -1);
            ASSERT_TRUE(table.atEnd());
        } else {
            ASSERT_GE(table.currentIndex(), 0);
            ASSERT_LT(table.currentIndex(), static_cast<std::ptrdiff_t>(table.rowCount()));
        }
        if (edit >= 0) {
            ASSERT_EQ(edit, table.currentIndex());
        }
        ASSERT_EQ(edit >= 0, table.state() != PointTable::State::Browsing);
    }
}

// The journal reports every change to the committed rows with indices that replay it exactly,
// and the exact row operations undo and redo a whole random session through those reports.
TEST(PointTableHistory, JournalReplaysAndUndoesRandomSessions) {
    using Values = std::vector<PointTable::RowValues>;
    using Change = PointTable::CommittedChange;
    const auto valuesOf = [](const PointTable& table) {
        Values values;
        for (std::size_t i = 0; i < table.rowCount(); ++i)
            values.push_back(table.valuesAt(i));
        return values;
    };
    const auto apply = [](Values& rows, const Change& change) {
        if (change.kind == Change::Kind::Changed || change.kind == Change::Kind::Removed) {
            ASSERT_LT(change.from, rows.size());
            ASSERT_EQ(rows[change.from], change.before);
            rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(change.from));
        }
        if (change.kind == Change::Kind::Changed || change.kind == Change::Kind::Added) {
            ASSERT_LE(change.to, rows.size());
            rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(change.to), change.after);
        }
    };

    std::mt19937 random(7);
    PointTable table;
    std::vector<Change> journal;
    TableSubscription reports = table.subscribe([&](const PointTable::Event& event) {
        if (const auto* change = std::get_if<Change>(&event))
            journal.push_back(*change);
    });
    Values committed;
    std::vector<Values> states{committed};
    for (int step = 0; step < 4000; ++step) {
        const double value = static_cast<double>(random() % 7);
        try {
            switch (random() % 8) {
            case 0:
                table.appendRow(value, value);
                break;
            case 1:
                table.insertPending();
                break;
            case 2:
                table.setStation(random() % 6 ? std::optional<double>(value) : std::nullopt);
                break;
            case 3:
                table.setElevation(random() % 4 ? std::optional<double>(value) : std::nullopt);
                break;
            case 4:
                table.settle();
                break;
            case 5:
                table.deleteCurrent();
                break;
            case 6:
                table.discard();
                break;
            case 7:
                if (table.rowCount() > 0)
                    table.moveTo(random() % table.rowCount());
                break;
            }
        } catch (const Error&) {
        }
        for (; states.size() <= journal.size(); states.push_back(committed))
            apply(committed, journal[states.size() - 1]);
        if (table.state() == PointTable::State::Browsing) {
            ASSERT_EQ(valuesOf(table), committed) << "step " << step;
        }
    }
    reports.reset();
    try {
        table.settle();
    } catch (const Error&) {
        table.discard();
    }
    for (; states.size() <= journal.size(); states.push_back(committed))
        apply(committed, journal[states.size() - 1]);
    ASSERT_GT(journal.size(), 500u);

    for (std::size_t i = journal.size(); i-- > 0;) {
        const Change& change = journal[i];
        if (change.kind != Change::Kind::Removed)
            table.removeRowAt(change.to);
        if (change.kind != Change::Kind::Added)
            table.putRowAt(change.from, change.before);
        ASSERT_EQ(valuesOf(table), states[i]) << "undo " << i;
    }
    for (std::size_t i = 0; i < journal.size(); ++i) {
        const Change& change = journal[i];
        if (change.kind != Change::Kind::Added)
            table.removeRowAt(change.from);
        if (change.kind != Change::Kind::Removed)
            table.putRowAt(change.to, change.after);
        ASSERT_EQ(valuesOf(table), states[i + 1]) << "redo " << i;
    }
}

TEST(PointTableHistory, ExactRowOperationsRefuseWhatWouldBreakTheOrder) {
    PointTable table = tableOf({{0, 1}, {10, 1}});
    EXPECT_EQ(messageOf([&] {
                  table.putRowAt(0, {5, 1});
              }),
              "The row cannot be put back where it was");
    EXPECT_EQ(messageOf([&] {
                  table.putRowAt(3, {20, 1});
              }),
              "The row cannot be put back where it was");
    table.putRowAt(1, {10, std::nullopt}); // equal stations may stand in either order
    EXPECT_FALSE(table.hasElevation(1));
    EXPECT_EQ(table.currentIndex(), 1);
    table.insertPending();
    EXPECT_EQ(messageOf([&] { table.removeRowAt(0); }), "The row cannot be removed");
    table.discard();
    table.removeRowAt(2);
    EXPECT_EQ(rowsOf(table), (Rows{{0, 1}, {10, 0}}));
    EXPECT_EQ(table.currentIndex(), 1);
}

// A snapshot brings back rows, the pending row with what was typed into it, and an edit in
// progress; clear() is reported as a replacement, a restore is not reported at all.
TEST(PointTableHistory, SnapshotRestoresRowsAndEditingState) {
    CrossSectionDocument document;
    document.description = "Upper gage";
    document.settings.datum = "100";
    document.points.appendRow(0, 5);
    document.points.appendRow(10, 5);
    document.points.insertPending();
    document.points.setElevation(2.5);
    const CrossSectionDocument::Snapshot before = document.takeSnapshot();
    EXPECT_TRUE(document.sameContent(before));

    std::vector<PointTable::CommittedChange::Kind> reported;
    const TableSubscription reports =
        document.points.subscribe([&](const PointTable::Event& event) {
            if (const auto* change = std::get_if<PointTable::CommittedChange>(&event))
                reported.push_back(change->kind);
        });
    document.clearToNew();
    EXPECT_FALSE(document.sameContent(before));
    document.restoreSnapshot(before);
    EXPECT_EQ(reported, std::vector{PointTable::CommittedChange::Kind::Replaced});
    EXPECT_TRUE(document.sameContent(before));
    EXPECT_EQ(document.description, "Upper gage");
    EXPECT_EQ(document.settings.datum, "100");
    EXPECT_EQ(document.points.state(), PointTable::State::Inserting);
    // The restored pending row still holds its elevation and still wants a station.
    EXPECT_EQ(messageOf([&] { document.points.first(); }), kRequired);
    document.points.setStation(5);
    document.points.first();
    EXPECT_EQ(rowsOf(document.points), (Rows{{0, 5}, {5, 2.5}, {10, 5}}));

    // An edit in progress comes back with the values it would restore when abandoned.
    document.points.moveTo(2);
    document.points.setStation(20);
    const PointTable::Snapshot editing = document.points.takeSnapshot();
    document.points.settle();
    document.points.restoreSnapshot(editing);
    document.points.discard();
    EXPECT_EQ(rowsOf(document.points), (Rows{{0, 5}, {5, 2.5}, {10, 5}}));
}

TEST(Document, NewAndResetSettings) {
    CrossSectionDocument document;
    document.description = "Upper gage";
    document.settings.minimum = "3";
    document.settings.maximum = "9";
    document.settings.datum = "100";
    document.settings.setIncrement(0.5);
    document.points.appendRow(1, 2);

    document.resetSettings();
    EXPECT_EQ(document.description, "");
    EXPECT_EQ(document.settings.minimum, "0");
    EXPECT_EQ(document.settings.maximum, "1");
    EXPECT_EQ(document.settings.datum, "0.00");
    EXPECT_EQ(document.settings.increment(), 0.01);
    EXPECT_EQ(document.points.rowCount(), 1u);

    document.description = "x";
    document.clearToNew();
    EXPECT_EQ(document.description, "");
    EXPECT_EQ(document.points.rowCount(), 1u); // the blank row ready for typing
    EXPECT_EQ(document.points.state(), PointTable::State::Inserting);
    document.points.first();
    EXPECT_EQ(document.points.rowCount(), 0u);
}

TEST(RatingTableRows, AppendWalkAndDelete) {
    RatingTable rating;
    EXPECT_EQ(messageOf([&] { rating.deleteCurrent(); }),
              "Cannot perform this operation on an empty dataset");
    rating.first();
    EXPECT_TRUE(rating.atEnd());
    rating.appendRow(0.5, 2);
    rating.appendRow(0.25, 1); // generation order, no sorting
    rating.first();
    EXPECT_EQ(rating.stage(), 0.5);
    rating.next();
    EXPECT_EQ(rating.area(), 1);
    rating.next();
    EXPECT_TRUE(rating.atEnd());
    EXPECT_EQ(rating.stage(), 0.25);
    EXPECT_LT(rating.recIdAt(0), rating.recIdAt(1));
    rating.deleteCurrent();
    EXPECT_EQ(rating.stage(), 0.5);
    rating.clear();
    EXPECT_EQ(rating.rowCount(), 0u);
    EXPECT_TRUE(rating.atEnd());
}

} // namespace
} // namespace korvadel
