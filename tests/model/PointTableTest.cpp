#include "model/PointTable.h"
#include "model/CrossSectionDocument.h"
#include "model/Error.h"
#include "model/RatingTable.h"

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
    for (std::size_t i = 0; i < table.RowCount(); ++i)
        rows.emplace_back(table.StationAt(i), table.ElevationAt(i));
    return rows;
}

PointTable tableOf(const Rows& rows) {
    PointTable table;
    std::vector<PointTable::LoadRow> load;
    for (const auto& [station, elevation] : rows)
        load.push_back({station, elevation});
    table.BulkLoad(load);
    return table;
}

std::string messageOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const Error& error) {
        return error.what();
    }
    return "<no error>";
}

const std::string kRequired = "Field 'Station' must have a value";

TEST(PointTablePlacement, AppendRowReversesEqualStationsBulkLoadKeepsLoadOrder) {
    const Rows input = {{0, 10}, {0, 2}, {10, 2}, {10, 10}};
    PointTable appended;
    for (const auto& [s, e] : input)
        appended.AppendRow(s, e);
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
        table.MoveTo(c.row);
        table.BeginEdit();
        table.SetStation(c.station);
        table.Commit();
        EXPECT_EQ(rowsOf(table), c.expected) << c.name;
        EXPECT_EQ(table.GetState(), PointTable::State::Browsing) << c.name;
        EXPECT_EQ(table.Station(), c.station) << c.name; // stays current at its new place
    }
}

TEST(PointTablePlacement, PendingRowsStartWhereTheyWereCreated) {
    struct Case {
        const char* name;
        Rows start;
        std::ptrdiff_t insertBefore; // -1: AppendPending
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
            table.AppendPending();
        } else {
            if (!c.start.empty())
                table.MoveTo(static_cast<std::size_t>(c.insertBefore));
            table.InsertPending();
            EXPECT_EQ(table.EditRow(), c.insertBefore) << c.name;
        }
        table.SetStation(c.station);
        table.SetElevation(9);
        table.Commit();
        EXPECT_EQ(rowsOf(table), c.expected) << c.name;
        EXPECT_EQ(table.Station(), c.station) << c.name;
        EXPECT_EQ(table.Elevation(), 9) << c.name;
    }
}

TEST(PointTableCursor, EndFlagAndTheLastRowReadAgain) {
    PointTable table;
    EXPECT_TRUE(table.AtEnd());
    table.First();
    EXPECT_TRUE(table.AtEnd());
    EXPECT_EQ(table.CurrentIndex(), -1);
    EXPECT_EQ(table.Station(), 0.0);

    table = tableOf({{1, 10}, {2, 20}});
    table.First();
    EXPECT_FALSE(table.AtEnd());
    EXPECT_EQ(table.Station(), 1);
    table.Next();
    EXPECT_FALSE(table.AtEnd());
    EXPECT_EQ(table.Elevation(), 20);
    table.Next();
    EXPECT_TRUE(table.AtEnd());
    EXPECT_EQ(table.Station(), 2);
    EXPECT_EQ(table.Elevation(), 20);
    table.First();
    table.Last();
    EXPECT_EQ(table.CurrentIndex(), 1);
    table.Clear();
    EXPECT_TRUE(table.AtEnd());
    EXPECT_EQ(table.RowCount(), 0u);
}

TEST(PointTableSettle, UntypedPendingRowDisappearsAtEveryMoveAndCreation) {
    const std::pair<const char*, std::function<void(PointTable&)>> operations[] = {
        {"First", [](PointTable& t) { t.First(); }},
        {"Next", [](PointTable& t) { t.Next(); }},
        {"Last", [](PointTable& t) { t.Last(); }},
        {"InsertPending", [](PointTable& t) { t.InsertPending(); }},
        {"AppendPending", [](PointTable& t) { t.AppendPending(); }},
        {"AppendRow", [](PointTable& t) { t.AppendRow(100, 1); }},
        {"Settle", [](PointTable& t) { t.Settle(); }},
    };
    for (const auto& [name, operation] : operations) {
        PointTable table = tableOf({{0, 1}, {10, 2}});
        table.MoveTo(1);
        table.InsertPending();
        ASSERT_EQ(table.RowCount(), 3u);
        operation(table);
        std::size_t pending = table.GetState() == PointTable::State::Inserting ? 1 : 0;
        std::size_t added = std::string(name) == "AppendRow" ? 1 : 0;
        EXPECT_EQ(table.RowCount(), 2u + pending + added) << name;
        for (std::size_t i = 0; i < table.RowCount(); ++i) {
            if (static_cast<std::ptrdiff_t>(i) != table.EditRow()) {
                EXPECT_TRUE(table.HasStation(i)) << name;
            }
        }
    }
}

TEST(PointTableSettle, RowWithOnlyAnElevationFailsEveryMoveAndStaysPending) {
    const std::pair<const char*, std::function<void(PointTable&)>> operations[] = {
        {"First", [](PointTable& t) { t.First(); }},
        {"Next", [](PointTable& t) { t.Next(); }},
        {"Last", [](PointTable& t) { t.Last(); }},
        {"InsertPending", [](PointTable& t) { t.InsertPending(); }},
        {"AppendPending", [](PointTable& t) { t.AppendPending(); }},
        {"AppendRow", [](PointTable& t) { t.AppendRow(100, 1); }},
        {"Commit", [](PointTable& t) { t.Commit(); }},
        {"MoveTo", [](PointTable& t) { t.MoveTo(0); }},
    };
    for (const auto& [name, operation] : operations) {
        PointTable table = tableOf({{0, 1}, {10, 2}});
        std::vector<std::size_t> focused;
        table.SetRequiredFieldHandler([&](std::size_t row) { focused.push_back(row); });
        table.MoveTo(1);
        table.InsertPending();
        table.SetElevation(5);
        EXPECT_EQ(messageOf([&] { operation(table); }), kRequired) << name;
        EXPECT_EQ(table.GetState(), PointTable::State::Inserting) << name;
        EXPECT_EQ(table.RowCount(), 3u) << name;
        EXPECT_EQ(table.EditRow(), 1) << name;
        EXPECT_EQ(table.ElevationAt(1), 5) << name;
        EXPECT_EQ(focused, std::vector<std::size_t>{1}) << name;
    }
}

TEST(PointTableSettle, EnteredCountsEvenWhenTheValueIsClearedAgain) {
    PointTable table;
    table.AppendPending();
    table.SetStation(3);
    table.SetStation(std::nullopt);
    EXPECT_EQ(messageOf([&] { table.Settle(); }), kRequired);
    table.SetStation(4);
    table.Settle();
    EXPECT_EQ(rowsOf(table), (Rows{{4, 0}}));
    EXPECT_FALSE(table.HasElevation(0)); // empty elevation reads 0.0
    EXPECT_EQ(table.Elevation(), 0.0);

    // An edit in which a value was typed and put back still commits (and keeps its place).
    table.AppendRow(4, 7);
    table.MoveTo(1);
    table.BeginEdit();
    table.SetElevation(1);
    table.SetElevation(std::nullopt);
    table.Settle();
    EXPECT_EQ(rowsOf(table), (Rows{{4, 7}, {4, 0}}));
    EXPECT_FALSE(table.HasElevation(1));
}

TEST(PointTableEdit, DiscardRestoresOrDropsAndPicksTheCurrentRow) {
    PointTable table = tableOf({{0, 1}, {10, 2}, {20, 3}});
    table.MoveTo(1);
    table.BeginEdit();
    table.SetStation(99);
    table.SetElevation(std::nullopt);
    table.Discard();
    EXPECT_EQ(rowsOf(table), (Rows{{0, 1}, {10, 2}, {20, 3}}));
    EXPECT_TRUE(table.HasElevation(1));
    EXPECT_EQ(table.GetState(), PointTable::State::Browsing);

    table.InsertPending(); // before row 1
    table.SetStation(5);
    table.Discard();
    EXPECT_EQ(table.RowCount(), 3u);
    EXPECT_EQ(table.Station(), 10); // the row it stood before

    table.AppendPending();
    table.Discard();
    EXPECT_EQ(table.Station(), 20); // pending at the end: the last row
}

TEST(PointTableEdit, DeleteCurrent) {
    PointTable table;
    EXPECT_EQ(messageOf([&] { table.DeleteCurrent(); }),
              "Cannot perform this operation on an empty dataset");

    table = tableOf({{0, 1}, {10, 2}, {20, 3}});
    table.MoveTo(1);
    table.DeleteCurrent();
    EXPECT_EQ(table.Station(), 20); // the following row
    table.DeleteCurrent();
    EXPECT_EQ(table.Station(), 0); // removed the last: the new last row
    EXPECT_EQ(rowsOf(table), (Rows{{0, 1}}));

    table.InsertPending();
    table.SetStation(5);
    table.DeleteCurrent(); // a pending row is only discarded
    EXPECT_EQ(rowsOf(table), (Rows{{0, 1}}));
    table.DeleteCurrent();
    EXPECT_EQ(table.RowCount(), 0u);
    EXPECT_TRUE(table.AtEnd());
}

TEST(PointTableEdit, MoveToFindsTheSameRowAfterSettling) {
    PointTable table = tableOf({{0, 1}, {10, 2}, {20, 3}});
    table.MoveTo(1);
    table.InsertPending(); // 0, P, 10, 20
    table.SetStation(15);
    table.MoveTo(2); // the row at 10; committing moves 15 behind it
    EXPECT_EQ(table.Station(), 10);
    EXPECT_EQ(rowsOf(table), (Rows{{0, 1}, {10, 2}, {15, 0}, {20, 3}}));

    table.MoveTo(0);
    table.InsertPending(); // P, 0, 10, 15, 20
    table.MoveTo(3);       // the row at 15; the untouched pending row goes away
    EXPECT_EQ(table.Station(), 15);
    EXPECT_EQ(table.RowCount(), 4u);

    table.AppendPending();
    table.SetElevation(4);
    table.MoveTo(4); // staying on the row being typed into does not settle it
    EXPECT_EQ(table.GetState(), PointTable::State::Inserting);
}

TEST(PointTableLoad, BulkLoadStopsAtTheFirstRowWithoutStation) {
    PointTable table;
    int resets = 0;
    table.Subscribe([&](const TableChange& c) { resets += c.kind == TableChange::Kind::Reset; });
    table.AppendPending();
    const std::vector<PointTable::LoadRow> rows = {
        {5.0, 1.0}, {1.0, std::nullopt}, {std::nullopt, 3.0}, {0.0, 4.0}};
    EXPECT_EQ(messageOf([&] { table.BulkLoad(rows); }), kRequired);
    EXPECT_EQ(rowsOf(table), (Rows{{1, 0}, {5, 1}}));
    EXPECT_FALSE(table.HasElevation(0));
    EXPECT_EQ(table.SuspendCount(), 0);
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(table.GetState(), PointTable::State::Browsing);
    EXPECT_EQ(table.CurrentIndex(), 0);
}

// Independent oracle: a stable sort of the load by station.
TEST(PointTableLoad, BulkLoadIsAStableSortAndKeepsRecIdsRising) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> station(0, 40);
    Rows input;
    for (int i = 0; i < 2000; ++i)
        input.emplace_back(station(random) * 0.5, i);
    Rows expected = input;
    std::stable_sort(expected.begin(), expected.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    PointTable table = tableOf(input);
    EXPECT_EQ(rowsOf(table), expected);
    for (std::size_t i = 1; i < table.RowCount(); ++i) {
        if (table.StationAt(i) == table.StationAt(i - 1)) {
            EXPECT_LT(table.RecIdAt(i - 1), table.RecIdAt(i));
        }
    }
}

TEST(PointTableViews, FineEventsWhenLiveOneResetOnTheFinalResume) {
    PointTable table = tableOf({{0, 1}, {10, 2}});
    std::vector<TableChange> seen;
    const int id = table.Subscribe([&](const TableChange& c) { seen.push_back(c); });
    table.AppendRow(5, 3);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].kind, TableChange::Kind::Inserted);
    EXPECT_EQ(seen[0].row, 1u);

    seen.clear();
    table.SuspendViews();
    table.SuspendViews();
    table.AppendRow(7, 3);
    table.MoveTo(0);
    table.DeleteCurrent();
    table.ResumeViews();
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(table.SuspendCount(), 1);
    table.ResumeViews();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].kind, TableChange::Kind::Reset);
    table.ResumeViews(); // unbalanced: ignored
    EXPECT_EQ(table.SuspendCount(), 0);
    EXPECT_EQ(seen.size(), 1u);

    seen.clear();
    table.MoveTo(0);
    table.BeginEdit();
    table.SetStation(100); // 100 from the front: changed, then moved to the end on commit
    table.Commit();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].kind, TableChange::Kind::Changed);
    EXPECT_EQ(seen[1].kind, TableChange::Kind::Moved);
    EXPECT_EQ(seen[1].row, 0u);
    EXPECT_EQ(seen[1].to, table.RowCount() - 1);

    table.Unsubscribe(id);
    table.Clear();
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
                table.First();
                break;
            case 1:
                table.Next();
                break;
            case 2:
                table.Last();
                break;
            case 3:
                table.AppendRow(value, value);
                break;
            case 4:
                table.InsertPending();
                break;
            case 5:
                table.AppendPending();
                break;
            case 6:
                table.SetStation(random() % 5 ? std::optional<double>(value) : std::nullopt);
                break;
            case 7:
                table.SetElevation(value);
                break;
            case 8:
                table.Commit();
                break;
            case 9:
                table.Discard();
                break;
            case 10:
                table.DeleteCurrent();
                break;
            case 11:
                if (table.RowCount() > 0)
                    table.MoveTo(random() % table.RowCount());
                break;
            }
        } catch (const Error& error) {
            const std::string message = error.what();
            ASSERT_TRUE(message == kRequired ||
                        message == "Cannot perform this operation on an empty dataset");
        }
        const std::ptrdiff_t edit = table.EditRow();
        double previous = -1e300;
        for (std::size_t i = 0; i < table.RowCount(); ++i) {
            if (static_cast<std::ptrdiff_t>(i) == edit)
                continue;
            ASSERT_TRUE(table.HasStation(i));
            ASSERT_LE(previous, table.StationAt(i)) << "step " << step;
            previous = table.StationAt(i);
        }
        if (table.RowCount() == 0) {
            ASSERT_EQ(table.CurrentIndex(), -1);
            ASSERT_TRUE(table.AtEnd());
        } else {
            ASSERT_GE(table.CurrentIndex(), 0);
            ASSERT_LT(table.CurrentIndex(), static_cast<std::ptrdiff_t>(table.RowCount()));
        }
        if (edit >= 0) {
            ASSERT_EQ(edit, table.CurrentIndex());
        }
        ASSERT_EQ(edit >= 0, table.GetState() != PointTable::State::Browsing);
    }
}

// The journal reports every change to the committed rows with indices that replay it exactly,
// and the exact row operations undo and redo a whole random session through those reports.
TEST(PointTableHistory, JournalReplaysAndUndoesRandomSessions) {
    using Values = std::vector<PointTable::RowValues>;
    using Change = PointTable::CommittedChange;
    const auto valuesOf = [](const PointTable& table) {
        Values values;
        for (std::size_t i = 0; i < table.RowCount(); ++i)
            values.push_back(table.ValuesAt(i));
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
    table.SetJournal([&](const Change& change) { journal.push_back(change); });
    Values committed;
    std::vector<Values> states{committed};
    for (int step = 0; step < 4000; ++step) {
        const double value = static_cast<double>(random() % 7);
        try {
            switch (random() % 8) {
            case 0:
                table.AppendRow(value, value);
                break;
            case 1:
                table.InsertPending();
                break;
            case 2:
                table.SetStation(random() % 6 ? std::optional<double>(value) : std::nullopt);
                break;
            case 3:
                table.SetElevation(random() % 4 ? std::optional<double>(value) : std::nullopt);
                break;
            case 4:
                table.Settle();
                break;
            case 5:
                table.DeleteCurrent();
                break;
            case 6:
                table.Discard();
                break;
            case 7:
                if (table.RowCount() > 0)
                    table.MoveTo(random() % table.RowCount());
                break;
            }
        } catch (const Error&) {
        }
        for (; states.size() <= journal.size(); states.push_back(committed))
            apply(committed, journal[states.size() - 1]);
        if (table.GetState() == PointTable::State::Browsing) {
            ASSERT_EQ(valuesOf(table), committed) << "step " << step;
        }
    }
    table.SetJournal({});
    try {
        table.Settle();
    } catch (const Error&) {
        table.Discard();
    }
    for (; states.size() <= journal.size(); states.push_back(committed))
        apply(committed, journal[states.size() - 1]);
    ASSERT_GT(journal.size(), 500u);

    for (std::size_t i = journal.size(); i-- > 0;) {
        const Change& change = journal[i];
        if (change.kind != Change::Kind::Removed)
            table.RemoveRowAt(change.to);
        if (change.kind != Change::Kind::Added)
            table.PutRowAt(change.from, change.before);
        ASSERT_EQ(valuesOf(table), states[i]) << "undo " << i;
    }
    for (std::size_t i = 0; i < journal.size(); ++i) {
        const Change& change = journal[i];
        if (change.kind != Change::Kind::Added)
            table.RemoveRowAt(change.from);
        if (change.kind != Change::Kind::Removed)
            table.PutRowAt(change.to, change.after);
        ASSERT_EQ(valuesOf(table), states[i + 1]) << "redo " << i;
    }
}

TEST(PointTableHistory, ExactRowOperationsRefuseWhatWouldBreakTheOrder) {
    PointTable table = tableOf({{0, 1}, {10, 1}});
    EXPECT_EQ(messageOf([&] {
                  table.PutRowAt(0, {5, 1});
              }),
              "The row cannot be put back where it was");
    EXPECT_EQ(messageOf([&] {
                  table.PutRowAt(3, {20, 1});
              }),
              "The row cannot be put back where it was");
    table.PutRowAt(1, {10, std::nullopt}); // equal stations may stand in either order
    EXPECT_FALSE(table.HasElevation(1));
    EXPECT_EQ(table.CurrentIndex(), 1);
    table.InsertPending();
    EXPECT_EQ(messageOf([&] { table.RemoveRowAt(0); }), "The row cannot be removed");
    table.Discard();
    table.RemoveRowAt(2);
    EXPECT_EQ(rowsOf(table), (Rows{{0, 1}, {10, 0}}));
    EXPECT_EQ(table.CurrentIndex(), 1);
}

// A snapshot brings back rows, the pending row with what was typed into it, and an edit in
// progress; Clear is reported as a replacement, a restore is not reported at all.
TEST(PointTableHistory, SnapshotRestoresRowsAndEditingState) {
    CrossSectionDocument document;
    document.description = "Upper gage";
    document.settings.datum = "100";
    document.points.AppendRow(0, 5);
    document.points.AppendRow(10, 5);
    document.points.InsertPending();
    document.points.SetElevation(2.5);
    const CrossSectionDocument::Snapshot before = document.TakeSnapshot();
    EXPECT_TRUE(document.SameContent(before));

    std::vector<PointTable::CommittedChange::Kind> reported;
    document.points.SetJournal(
        [&](const PointTable::CommittedChange& change) { reported.push_back(change.kind); });
    document.New();
    EXPECT_FALSE(document.SameContent(before));
    document.RestoreSnapshot(before);
    EXPECT_EQ(reported, std::vector{PointTable::CommittedChange::Kind::Replaced});
    EXPECT_TRUE(document.SameContent(before));
    EXPECT_EQ(document.description, "Upper gage");
    EXPECT_EQ(document.settings.datum, "100");
    EXPECT_EQ(document.points.GetState(), PointTable::State::Inserting);
    // The restored pending row still holds its elevation and still wants a station.
    EXPECT_EQ(messageOf([&] { document.points.First(); }), kRequired);
    document.points.SetStation(5);
    document.points.First();
    EXPECT_EQ(rowsOf(document.points), (Rows{{0, 5}, {5, 2.5}, {10, 5}}));

    // An edit in progress comes back with the values it would restore when abandoned.
    document.points.MoveTo(2);
    document.points.SetStation(20);
    const PointTable::Snapshot editing = document.points.TakeSnapshot();
    document.points.Settle();
    document.points.RestoreSnapshot(editing);
    document.points.Discard();
    EXPECT_EQ(rowsOf(document.points), (Rows{{0, 5}, {5, 2.5}, {10, 5}}));
}

TEST(Document, NewAndResetSettings) {
    CrossSectionDocument document;
    document.description = "Upper gage";
    document.settings.minimum = "3";
    document.settings.maximum = "9";
    document.settings.datum = "100";
    document.settings.setIncrement(0.5);
    document.points.AppendRow(1, 2);

    document.ResetSettings();
    EXPECT_EQ(document.description, "");
    EXPECT_EQ(document.settings.minimum, "0");
    EXPECT_EQ(document.settings.maximum, "1");
    EXPECT_EQ(document.settings.datum, "0.00");
    EXPECT_EQ(document.settings.increment(), 0.01);
    EXPECT_EQ(document.points.RowCount(), 1u);

    document.description = "x";
    document.New();
    EXPECT_EQ(document.description, "");
    EXPECT_EQ(document.points.RowCount(), 1u); // the blank row ready for typing
    EXPECT_EQ(document.points.GetState(), PointTable::State::Inserting);
    document.points.First();
    EXPECT_EQ(document.points.RowCount(), 0u);
}

TEST(RatingTableRows, AppendWalkAndDelete) {
    RatingTable rating;
    EXPECT_EQ(messageOf([&] { rating.DeleteCurrent(); }),
              "Cannot perform this operation on an empty dataset");
    rating.First();
    EXPECT_TRUE(rating.AtEnd());
    rating.AppendRow(0.5, 2);
    rating.AppendRow(0.25, 1); // generation order, no sorting
    rating.First();
    EXPECT_EQ(rating.Stage(), 0.5);
    rating.Next();
    EXPECT_EQ(rating.Area(), 1);
    rating.Next();
    EXPECT_TRUE(rating.AtEnd());
    EXPECT_EQ(rating.Stage(), 0.25);
    EXPECT_LT(rating.RecIdAt(0), rating.RecIdAt(1));
    rating.DeleteCurrent();
    EXPECT_EQ(rating.Stage(), 0.5);
    rating.Clear();
    EXPECT_EQ(rating.RowCount(), 0u);
    EXPECT_TRUE(rating.AtEnd());
}

} // namespace
} // namespace korvadel
