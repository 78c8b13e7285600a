// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/PointTable.h"

#include "model/Error.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace korvadel {

namespace {

constexpr std::uint8_t kHasStation = PointColumns::kHasStation;
constexpr std::uint8_t kHasElevation = PointColumns::kHasElevation;

const char* const kStationRequired = "Field 'Station' must have a value";

} // namespace

PointTable::PointTable() = default;

// --- rows -------------------------------------------------------------------------------------

std::size_t PointTable::rowCount() const {
    return rows_.stations.size();
}
bool PointTable::hasStation(std::size_t row) const {
    return (rows_.flags[row] & kHasStation) != 0;
}
double PointTable::stationAt(std::size_t row) const {
    return rows_.stations[row];
}
bool PointTable::hasElevation(std::size_t row) const {
    return (rows_.flags[row] & kHasElevation) != 0;
}
double PointTable::elevationAt(std::size_t row) const {
    return rows_.elevations[row];
}
std::int64_t PointTable::recIdAt(std::size_t row) const {
    return rows_.recIds[row];
}

std::span<const double> PointTable::stations() const {
    return rows_.stations;
}
std::span<const double> PointTable::elevations() const {
    return rows_.elevations;
}

PointTable::State PointTable::state() const {
    return state_;
}
std::ptrdiff_t PointTable::editRow() const {
    return editRow_;
}

void PointTable::insertRow(std::size_t at, double station, double elevation, std::uint8_t flags) {
    const auto offset = static_cast<std::ptrdiff_t>(at);
    if (at == rows_.stations.size()) {
        rows_.stations.push_back(station);
        rows_.elevations.push_back(elevation);
        rows_.flags.push_back(flags);
        rows_.recIds.push_back(nextRecId_++);
    } else {
        rows_.stations.insert(rows_.stations.begin() + offset, station);
        rows_.elevations.insert(rows_.elevations.begin() + offset, elevation);
        rows_.flags.insert(rows_.flags.begin() + offset, flags);
        rows_.recIds.insert(rows_.recIds.begin() + offset, nextRecId_++);
    }
}

void PointTable::eraseRow(std::size_t at) {
    const auto offset = static_cast<std::ptrdiff_t>(at);
    rows_.stations.erase(rows_.stations.begin() + offset);
    rows_.elevations.erase(rows_.elevations.begin() + offset);
    rows_.flags.erase(rows_.flags.begin() + offset);
    rows_.recIds.erase(rows_.recIds.begin() + offset);
}

void PointTable::moveRow(std::size_t from, std::size_t to) {
    if (from == to)
        return;
    auto shift = [from, to](auto& column) {
        const auto b = column.begin();
        const auto f = static_cast<std::ptrdiff_t>(from);
        const auto t = static_cast<std::ptrdiff_t>(to);
        if (from < to) {
            std::rotate(b + f, b + f + 1, b + t + 1);
        } else {
            std::rotate(b + t, b + f, b + f + 1);
        }
    };
    shift(rows_.stations);
    shift(rows_.elevations);
    shift(rows_.flags);
    shift(rows_.recIds);
}

// Browsing position after an operation that is not a forward move: the end flag is set only
// when there is no row at all.
void PointTable::browseAt(std::ptrdiff_t row) {
    if (rows_.stations.empty()) {
        current_ = -1;
        atEnd_ = true;
    } else {
        current_ = std::clamp<std::ptrdiff_t>(
            row, 0, static_cast<std::ptrdiff_t>(rows_.stations.size()) - 1);
        atEnd_ = false;
    }
}

// --- placement --------------------------------------------------------------------------------

// Number of rows other than `row` whose station is smaller than `station`. The other rows are
// committed and therefore in ascending order, so a binary search over them with `row` skipped
// is enough.
std::size_t PointTable::lowerBoundOthers(std::size_t row, double station) const {
    std::size_t lo = 0;
    std::size_t hi = rows_.stations.size() - 1; // count of other rows
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        const std::size_t index = mid < row ? mid : mid + 1;
        if (stationLess(rows_.stations[index], station)) {
            lo = mid + 1;
        } else {
            hi = mid;
        }
    }
    return lo;
}

// A committed row starts where it was created or edited. If its station is greater than the
// station of the row right after it, it travels toward the end and settles right after the first
// row of equal station (after all smaller ones when none is equal); otherwise it goes right
// before the first other row whose station is greater than or equal to its own. The asymmetry
// is deliberate: it fixes the order of points on a vertical bank, which decides the computed
// areas. Returns the row's new index.
std::size_t PointTable::place(std::size_t row, bool stationChanged) {
    const std::size_t n = rows_.stations.size();
    if (n < 2 || !stationChanged)
        return row;
    const double station = rows_.stations[row];
    std::size_t target;
    if (row + 1 < n && stationLess(rows_.stations[row + 1], station)) {
        target = lowerBoundOthers(row, station);
        const std::size_t others = n - 1;
        if (target < others) {
            const std::size_t index = target < row ? target : target + 1;
            if (!stationLess(station, rows_.stations[index]))
                ++target; // after the first equal row
        }
    } else if (row == n - 1 && stationLess(rows_.stations[n - 2], station)) {
        target = row; // appended beyond the last station: the common case of every reader
    } else {
        target = lowerBoundOthers(row, station);
    }
    if (target != row) {
        moveRow(row, target);
        notifyViews({TableChange::Kind::Moved, row, target});
    }
    return target;
}

// --- settling ---------------------------------------------------------------------------------

std::size_t PointTable::follow(std::size_t row, const Shift& shift) {
    switch (shift.kind) {
    case Shift::Kind::None:
        return row;
    case Shift::Kind::Removed:
        return row > shift.from ? row - 1 : row;
    case Shift::Kind::Moved:
        if (row == shift.from)
            return shift.to;
        if (shift.from < shift.to && row > shift.from && row <= shift.to)
            return row - 1;
        if (shift.to < shift.from && row >= shift.to && row < shift.from)
            return row + 1;
        return row;
    }
    return row;
}

PointTable::Shift PointTable::commitShift() {
    if (state_ == State::Browsing)
        return {};
    const auto row = static_cast<std::size_t>(editRow_);
    if ((rows_.flags[row] & kHasStation) == 0) {
        events_.deliver(MissingStation{row});
        throw Error(kStationRequired);
    }
    // Equal doubles count as unchanged, so retyping the same value keeps the row's place.
    const bool inserting = state_ == State::Inserting;
    const bool stationChanged =
        inserting || (savedFlags_ & kHasStation) == 0 || rows_.stations[row] != savedStation_;
    state_ = State::Browsing;
    editRow_ = -1;
    entered_ = false;
    const std::size_t to = place(row, stationChanged);
    browseAt(static_cast<std::ptrdiff_t>(to));
    CommittedChange change;
    change.kind = inserting ? CommittedChange::Kind::Added : CommittedChange::Kind::Changed;
    change.from = row;
    change.to = to;
    if (!inserting)
        change.before = savedValues();
    change.after = valuesAt(to);
    report(change);
    if (to == row)
        return {};
    return {Shift::Kind::Moved, row, to};
}

PointTable::Shift PointTable::discardShift() {
    if (state_ == State::Browsing)
        return {};
    const auto row = static_cast<std::size_t>(editRow_);
    const State was = state_;
    state_ = State::Browsing;
    editRow_ = -1;
    entered_ = false;
    if (was == State::Inserting) {
        eraseRow(row);
        // The row the pending one stood before, or the last row when it stood at the end.
        browseAt(static_cast<std::ptrdiff_t>(row));
        notifyViews({TableChange::Kind::Removed, row, 0});
        return {Shift::Kind::Removed, row, 0};
    }
    rows_.stations[row] = savedStation_;
    rows_.elevations[row] = savedElevation_;
    rows_.flags[row] = savedFlags_;
    browseAt(static_cast<std::ptrdiff_t>(row));
    notifyViews({TableChange::Kind::Changed, row, 0});
    return {};
}

PointTable::Shift PointTable::settleShift() {
    if (state_ == State::Browsing)
        return {};
    // A row counts as entered once anything was typed into it, even if cleared again.
    return entered_ ? commitShift() : discardShift();
}

void PointTable::commit() {
    commitShift();
}
void PointTable::discard() {
    discardShift();
}
void PointTable::settle() {
    settleShift();
}

// --- cursor -----------------------------------------------------------------------------------

void PointTable::clear() {
    rows_.stations.clear();
    rows_.elevations.clear();
    rows_.flags.clear();
    rows_.recIds.clear();
    state_ = State::Browsing;
    editRow_ = -1;
    entered_ = false;
    current_ = -1;
    atEnd_ = true;
    notifyViews({TableChange::Kind::Reset, 0, 0});
    report({CommittedChange::Kind::Replaced, 0, 0, {}, {}});
}

void PointTable::first() {
    settleShift();
    browseAt(0);
}

void PointTable::next() {
    settleShift();
    if (rows_.stations.empty()) {
        browseAt(-1);
        return;
    }
    if (current_ + 1 < static_cast<std::ptrdiff_t>(rows_.stations.size())) {
        ++current_;
        atEnd_ = false;
    } else {
        atEnd_ = true; // the last row stays current so its values can be read again
    }
}

void PointTable::last() {
    settleShift();
    browseAt(static_cast<std::ptrdiff_t>(rows_.stations.size()) - 1);
}

bool PointTable::atEnd() const {
    return atEnd_;
}

void PointTable::moveTo(std::size_t row) {
    if (state_ != State::Browsing && static_cast<std::ptrdiff_t>(row) == editRow_) {
        browseAt(editRow_); // staying on the row being typed into does not settle it
        return;
    }
    const Shift shift = settleShift();
    browseAt(static_cast<std::ptrdiff_t>(follow(row, shift)));
}

std::ptrdiff_t PointTable::currentIndex() const {
    return current_;
}

double PointTable::station() const {
    return current_ < 0 ? 0.0 : rows_.stations[static_cast<std::size_t>(current_)];
}

double PointTable::elevation() const {
    return current_ < 0 ? 0.0 : rows_.elevations[static_cast<std::size_t>(current_)];
}

// --- rows and edits ---------------------------------------------------------------------------

void PointTable::appendRow(double station, double elevation) {
    settleShift();
    const std::size_t row = rows_.stations.size();
    insertRow(row, station, elevation, kHasStation | kHasElevation);
    // Created after the last row, then placed (nothing follows it, so it goes before the first
    // row whose station is greater or equal); listeners see only the final insertion.
    std::size_t to = row;
    if (row > 0 && !stationLess(rows_.stations[row - 1], station)) {
        to = lowerBoundOthers(row, station);
        moveRow(row, to);
    }
    browseAt(static_cast<std::ptrdiff_t>(to));
    notifyViews({TableChange::Kind::Inserted, to, 0});
    report({CommittedChange::Kind::Added, 0, to, {}, valuesAt(to)});
}

void PointTable::insertPending() {
    settleShift();
    startPending(current_ < 0 ? 0 : static_cast<std::size_t>(current_));
}

void PointTable::appendPending() {
    settleShift();
    startPending(rows_.stations.size());
}

void PointTable::startPending(std::size_t at) {
    insertRow(at, 0.0, 0.0, 0);
    state_ = State::Inserting;
    editRow_ = static_cast<std::ptrdiff_t>(at);
    entered_ = false;
    browseAt(editRow_);
    notifyViews({TableChange::Kind::Inserted, at, 0});
}

void PointTable::beginEdit() {
    if (state_ != State::Browsing)
        return;
    if (rows_.stations.empty()) {
        // Editing an empty table types into a new row.
        insertPending();
        return;
    }
    const auto row = static_cast<std::size_t>(current_);
    savedStation_ = rows_.stations[row];
    savedElevation_ = rows_.elevations[row];
    savedFlags_ = rows_.flags[row];
    state_ = State::Editing;
    editRow_ = current_;
    entered_ = false;
}

void PointTable::setStation(std::optional<double> value) {
    if (state_ == State::Browsing)
        beginEdit();
    const auto row = static_cast<std::size_t>(editRow_);
    rows_.stations[row] = value.value_or(0.0);
    rows_.flags[row] = static_cast<std::uint8_t>(value ? rows_.flags[row] | kHasStation
                                                       : rows_.flags[row] & ~kHasStation);
    entered_ = true;
    notifyViews({TableChange::Kind::Changed, row, 0});
}

void PointTable::setElevation(std::optional<double> value) {
    if (state_ == State::Browsing)
        beginEdit();
    const auto row = static_cast<std::size_t>(editRow_);
    rows_.elevations[row] = value.value_or(0.0);
    rows_.flags[row] = static_cast<std::uint8_t>(value ? rows_.flags[row] | kHasElevation
                                                       : rows_.flags[row] & ~kHasElevation);
    entered_ = true;
    notifyViews({TableChange::Kind::Changed, row, 0});
}

void PointTable::deleteCurrent() {
    if (state_ == State::Inserting) {
        discardShift();
        return;
    }
    if (rows_.stations.empty())
        throw Error("Cannot perform this operation on an empty dataset");
    // Deleting the row being edited drops the edit with it; what leaves the section is the row
    // as it was committed.
    const auto row = static_cast<std::size_t>(std::max<std::ptrdiff_t>(current_, 0));
    const RowValues removed =
        state_ == State::Editing && editRow_ == current_ ? savedValues() : valuesAt(row);
    state_ = State::Browsing;
    editRow_ = -1;
    entered_ = false;
    eraseRow(row);
    browseAt(static_cast<std::ptrdiff_t>(row));
    notifyViews({TableChange::Kind::Removed, row, 0});
    report({CommittedChange::Kind::Removed, row, 0, removed, {}});
}

void PointTable::bulkLoad(const std::vector<LoadRow>& rows) {
    LoadColumns columns;
    columns.reserve(rows.size());
    for (const LoadRow& row : rows) {
        if (!row.station) {
            columns.stopAtMissingStation();
            break;
        }
        columns.add(*row.station, row.elevation);
    }
    bulkLoad(std::move(columns));
}

std::size_t PointTable::bulkLoad(LoadColumns&& rows) {
    ViewSuspension views(*this);
    clear();
    const bool stationMissing = rows.stationMissing();
    const std::size_t outOfOrder = takeLoad(std::move(rows), rows_, nextRecId_);
    browseAt(0);
    if (stationMissing)
        throw Error(kStationRequired);
    return outOfOrder;
}

// --- views ------------------------------------------------------------------------------------

void PointTable::suspendViews() {
    events_.suspend();
}

void PointTable::resumeViews() {
    events_.resume();
}

int PointTable::suspendCount() const {
    return events_.suspendCount();
}

TableSubscription PointTable::subscribe(Listener listener) {
    return events_.subscribe(std::move(listener));
}

PointTable::Listener PointTable::viewsOnly(TableListener listener) {
    return [listener = std::move(listener)](const Event& event) {
        if (const auto* change = std::get_if<TableChange>(&event))
            listener(*change);
    };
}

// --- history ----------------------------------------------------------------------------------

PointTable::RowValues PointTable::valuesAt(std::size_t row) const {
    RowValues values;
    values.station = rows_.stations[row];
    if ((rows_.flags[row] & kHasElevation) != 0)
        values.elevation = rows_.elevations[row];
    return values;
}

PointTable::RowValues PointTable::savedValues() const {
    RowValues values;
    values.station = savedStation_;
    if ((savedFlags_ & kHasElevation) != 0)
        values.elevation = savedElevation_;
    return values;
}

PointTable::Snapshot PointTable::takeSnapshot() const {
    return Snapshot{rows_.stations, rows_.elevations, rows_.flags,     rows_.recIds,
                    current_,       atEnd_,           state_,          editRow_,
                    entered_,       savedStation_,    savedElevation_, savedFlags_};
}

void PointTable::restoreSnapshot(const Snapshot& snapshot) {
    rows_.stations = snapshot.stations;
    rows_.elevations = snapshot.elevations;
    rows_.flags = snapshot.flags;
    rows_.recIds = snapshot.recIds;
    current_ = snapshot.current;
    atEnd_ = snapshot.atEnd;
    state_ = snapshot.state;
    editRow_ = snapshot.editRow;
    entered_ = snapshot.entered;
    savedStation_ = snapshot.savedStation;
    savedElevation_ = snapshot.savedElevation;
    savedFlags_ = snapshot.savedFlags;
    // Creation numbers only ever grow, also across a restore.
    for (const std::int64_t id : rows_.recIds)
        nextRecId_ = std::max(nextRecId_, id + 1);
    notifyViews({TableChange::Kind::Reset, 0, 0});
}

bool PointTable::sameContent(const Snapshot& snapshot) const {
    // Creation numbers are not content: a blank row made again is the same blank row.
    if (rows_.stations != snapshot.stations || rows_.elevations != snapshot.elevations ||
        rows_.flags != snapshot.flags || state_ != snapshot.state || editRow_ != snapshot.editRow ||
        entered_ != snapshot.entered)
        return false;
    return state_ != State::Editing ||
           (savedStation_ == snapshot.savedStation && savedElevation_ == snapshot.savedElevation &&
            savedFlags_ == snapshot.savedFlags);
}

void PointTable::putRowAt(std::size_t row, const RowValues& values) {
    if (state_ != State::Browsing || row > rows_.stations.size())
        throw Error("The row cannot be put back where it was");
    // The neighbours must keep the ascending order; equal stations may stand in any order.
    if ((row > 0 && stationLess(values.station, rows_.stations[row - 1])) ||
        (row < rows_.stations.size() && stationLess(rows_.stations[row], values.station)))
        throw Error("The row cannot be put back where it was");
    const std::uint8_t flags =
        static_cast<std::uint8_t>(kHasStation | (values.elevation ? kHasElevation : 0));
    insertRow(row, values.station, values.elevation.value_or(0.0), flags);
    browseAt(static_cast<std::ptrdiff_t>(row));
    notifyViews({TableChange::Kind::Inserted, row, 0});
}

void PointTable::removeRowAt(std::size_t row) {
    if (state_ != State::Browsing || row >= rows_.stations.size())
        throw Error("The row cannot be removed");
    eraseRow(row);
    browseAt(static_cast<std::ptrdiff_t>(row));
    notifyViews({TableChange::Kind::Removed, row, 0});
}

} // namespace korvadel
