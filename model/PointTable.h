// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/PointTableLoad.h"
#include "model/TableNotifier.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <variant>
#include <vector>

namespace korvadel {

// The surveyed points of a cross-section: rows of Station (required) and Elevation (may be
// empty, reads 0.0) with a hidden creation number RecId.
//
// Invariants: committed rows are in ascending Station order; at most one row is pending
// (created, not yet committed) or being edited, and it is visible at its provisional position;
// the cursor is a current row plus an end flag. Every cursor movement and every row creation
// settles the pending/edited row first.
//
// Storage is column-wise (PointColumns); loads and their sorts are in PointTableLoad.
class PointTable {
public:
    enum class State { Browsing, Inserting, Editing };

    struct LoadRow {
        std::optional<double> station;
        std::optional<double> elevation;
    };
    // The rows of one load, column by column, as the readers collect them.
    using LoadColumns = korvadel::PointLoad;

    // The values of one committed row.
    struct RowValues {
        double station = 0.0;
        std::optional<double> elevation;
        bool operator==(const RowValues&) const = default;
    };

    // A change to the committed rows, reported as it happens. The pending row and an edit in
    // progress are not part of the section until they are committed, so only commits,
    // deletions, appended rows and whole-table replacements are reported. Indices are those of
    // the table right before (`from`) and right after (`to`) the change; neither table holds a
    // pending or edited row at that moment.
    struct CommittedChange {
        enum class Kind { Added, Changed, Removed, Replaced };
        Kind kind = Kind::Added;
        std::size_t from = 0; // Changed, Removed
        std::size_t to = 0;   // Added, Changed
        RowValues before;     // Changed, Removed
        RowValues after;      // Added, Changed
    };

    // A commit failed because the row has no Station.
    struct MissingStation {
        std::size_t row = 0;
    };

    // What the table tells whoever listens, all through one channel:
    // - TableChange, what its views must show: held back while the views are suspended, and one
    //   Reset on the resume that ends the last suspension;
    // - CommittedChange, for a history of the section: never held back;
    // - MissingStation, the row whose commit failed (views suspended or not), so the grid can
    //   move the focus to that row's Station cell.
    using Event = std::variant<TableChange, CommittedChange, MissingStation>;
    using Listener = std::function<void(const Event&)>;
    // A listener of the view changes alone.
    static Listener viewsOnly(TableListener listener);

    // Everything that makes up the table's rows and its editing state (not its views), so a
    // history can put the table back exactly as the user had it, pending row included.
    struct Snapshot {
        std::vector<double> stations;
        std::vector<double> elevations;
        std::vector<std::uint8_t> flags;
        std::vector<std::int64_t> recIds;
        std::ptrdiff_t current = -1;
        bool atEnd = true;
        State state = State::Browsing;
        std::ptrdiff_t editRow = -1;
        bool entered = false;
        double savedStation = 0.0;
        double savedElevation = 0.0;
        std::uint8_t savedFlags = 0;
    };

    PointTable();

    // --- rows, for views (the pending row included) ---
    std::size_t rowCount() const;
    bool hasStation(std::size_t row) const;
    double stationAt(std::size_t row) const; // 0.0 when empty
    bool hasElevation(std::size_t row) const;
    double elevationAt(std::size_t row) const; // 0.0 when empty
    std::int64_t recIdAt(std::size_t row) const;

    // --- cursor ---
    void clear();
    void first();
    void next();
    void last();
    bool atEnd() const;
    // Settles, then makes the given row current (the row is named by its index before settling;
    // if settling removes or moves rows the same row is found again). Used by the grid.
    void moveTo(std::size_t row);
    // -1 when the table is empty.
    std::ptrdiff_t currentIndex() const;
    double station() const;   // current row
    double elevation() const; // current row, 0.0 when empty

    // --- rows and edits ---
    void appendRow(double station, double elevation);
    void insertPending();
    void appendPending();
    void beginEdit();
    // Value entry into the pending or edited (current) row. Marks the row as entered even when
    // the value is cleared again. Outside Inserting/Editing the call starts beginEdit first.
    void setStation(std::optional<double> value);
    void setElevation(std::optional<double> value);
    void commit();
    void discard();
    void settle();
    void deleteCurrent();
    // Replaces every row with the rows given, in ascending Station order, rows of equal Station
    // in the order given; a row without Station ends the load with the required-field message
    // after the rows before it are in. Both forms give the same table. The second returns the
    // number of rows whose Station is below that of the row before them, in the order given
    // (0: no sort was needed).
    void bulkLoad(const std::vector<LoadRow>& rows);
    std::size_t bulkLoad(LoadColumns&& rows);

    State state() const;
    // Index of the pending or edited row, -1 when browsing.
    std::ptrdiff_t editRow() const;

    // --- views ---
    void suspendViews();
    void resumeViews();
    int suspendCount() const;
    // The listener hears every event for as long as the subscription lives.
    [[nodiscard]] TableSubscription subscribe(Listener listener);

    // --- history ---
    Snapshot takeSnapshot() const;
    // Puts the rows and the editing state back as they were; views see one Reset. Not reported
    // as a committed change: the history that restores a snapshot knows what it did.
    void restoreSnapshot(const Snapshot& snapshot);
    // Rows, values and editing state equal (the cursor and the creation numbers are not
    // compared).
    bool sameContent(const Snapshot& snapshot) const;
    // Exact row operations for undoing and redoing a reported change: they put back an order
    // the table had, so no placement is applied. Both need a browsing table and refuse (Error)
    // an index out of range or, for putRowAt, a place that would break the Station order. Not
    // reported as a committed change. The row put (or the row that followed the removed one, or the
    // new last row) becomes current.
    void putRowAt(std::size_t row, const RowValues& values);
    void removeRowAt(std::size_t row);
    RowValues valuesAt(std::size_t row) const;

    // --- hydraulics ---
    // Contiguous columns (empty elevations read 0.0). Meaningful for computation only when the
    // table is browsing (no pending row).
    std::span<const double> stations() const;
    std::span<const double> elevations() const;

private:
    // What settling did to the row positions, so a caller can follow a row across it.
    struct Shift {
        enum class Kind { None, Removed, Moved } kind = Kind::None;
        std::size_t from = 0;
        std::size_t to = 0;
    };
    static std::size_t follow(std::size_t row, const Shift& shift);

    Shift settleShift();
    Shift commitShift();
    Shift discardShift();
    std::size_t place(std::size_t row, bool stationChanged);
    std::size_t lowerBoundOthers(std::size_t row, double station) const;
    void insertRow(std::size_t at, double station, double elevation, std::uint8_t flags);
    void eraseRow(std::size_t at);
    void moveRow(std::size_t from, std::size_t to);
    void browseAt(std::ptrdiff_t row);
    // A blank row at `at`, being typed into (the table is settled).
    void startPending(std::size_t at);
    void notifyViews(const TableChange& change) { events_.notify(change); }
    void report(const CommittedChange& change) { events_.deliver(change); }
    RowValues savedValues() const;

    PointColumns rows_;
    std::int64_t nextRecId_ = 1;

    std::ptrdiff_t current_ = -1;
    bool atEnd_ = true;

    State state_ = State::Browsing;
    std::ptrdiff_t editRow_ = -1;
    bool entered_ = false;      // a value was entered since the row was created/made editable
    double savedStation_ = 0.0; // values to restore when an edit is abandoned
    double savedElevation_ = 0.0;
    std::uint8_t savedFlags_ = 0;

    TableNotifier<Event> events_;
};

} // namespace korvadel
