#pragma once

#include "model/TableChange.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
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
// Storage is column-wise (stations, elevations with empty read as 0.0) so the hydraulics can
// run over contiguous arrays once the table is settled.
class PointTable {
public:
    enum class State { Browsing, Inserting, Editing };

    struct LoadRow {
        std::optional<double> station;
        std::optional<double> elevation;
    };

    PointTable();

    // --- rows, for views (the pending row included) ---
    std::size_t RowCount() const;
    bool HasStation(std::size_t row) const;
    double StationAt(std::size_t row) const; // 0.0 when empty
    bool HasElevation(std::size_t row) const;
    double ElevationAt(std::size_t row) const; // 0.0 when empty
    std::int64_t RecIdAt(std::size_t row) const;

    // --- cursor ---
    void Clear();
    void First();
    void Next();
    void Last();
    bool AtEnd() const;
    // Settles, then makes the given row current (the row is named by its index before settling;
    // if settling removes or moves rows the same row is found again). Used by the grid.
    void MoveTo(std::size_t row);
    // -1 when the table is empty.
    std::ptrdiff_t CurrentIndex() const;
    double Station() const;   // current row
    double Elevation() const; // current row, 0.0 when empty

    // --- rows and edits ---
    void AppendRow(double station, double elevation);
    void InsertPending();
    void AppendPending();
    void BeginEdit();
    // Value entry into the pending or edited (current) row. Marks the row as entered even when
    // the value is cleared again. Outside Inserting/Editing the call starts BeginEdit first.
    void SetStation(std::optional<double> value);
    void SetElevation(std::optional<double> value);
    void Commit();
    void Discard();
    void Settle();
    void DeleteCurrent();
    void BulkLoad(const std::vector<LoadRow>& rows);

    State GetState() const;
    // Index of the pending or edited row, -1 when browsing.
    std::ptrdiff_t EditRow() const;

    // --- views ---
    void SuspendViews();
    void ResumeViews();
    int SuspendCount() const;
    int Subscribe(TableListener listener);
    void Unsubscribe(int id);
    // Called with the row index when a Commit fails for a missing Station, so the grid can move
    // the focus to that row's Station cell.
    void SetRequiredFieldHandler(std::function<void(std::size_t row)> handler);

    // --- hydraulics ---
    // Contiguous columns (empty elevations read 0.0). Meaningful for computation only when the
    // table is browsing (no pending row).
    std::span<const double> Stations() const;
    std::span<const double> Elevations() const;

private:
    // What settling did to the row positions, so a caller can follow a row across it.
    struct Shift {
        enum class Kind { None, Removed, Moved } kind = Kind::None;
        std::size_t from = 0;
        std::size_t to = 0;
    };
    static std::size_t follow(std::size_t row, const Shift& shift);

    void notify(const TableChange& change);
    Shift settleShift();
    Shift commitShift();
    Shift discardShift();
    std::size_t place(std::size_t row, bool stationChanged);
    std::size_t lowerBoundOthers(std::size_t row, double station) const;
    void insertRow(std::size_t at, double station, double elevation, std::uint8_t flags);
    void eraseRow(std::size_t at);
    void moveRow(std::size_t from, std::size_t to);
    void sortLoaded();
    void browseAt(std::ptrdiff_t row);

    std::vector<double> stations_;
    std::vector<double> elevations_;
    std::vector<std::uint8_t> flags_; // bit 0: station present, bit 1: elevation present
    std::vector<std::int64_t> recIds_;
    std::int64_t nextRecId_ = 1;

    std::ptrdiff_t current_ = -1;
    bool atEnd_ = true;

    State state_ = State::Browsing;
    std::ptrdiff_t editRow_ = -1;
    bool entered_ = false;      // a value was entered since the row was created/made editable
    double savedStation_ = 0.0; // values to restore when an edit is abandoned
    double savedElevation_ = 0.0;
    std::uint8_t savedFlags_ = 0;

    int suspendCount_ = 0;
    int nextListenerId_ = 1;
    std::vector<std::pair<int, TableListener>> listeners_;
    std::function<void(std::size_t)> requiredFieldHandler_;
};

} // namespace korvadel
