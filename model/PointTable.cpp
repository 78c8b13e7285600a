// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/PointTable.h"

#include "model/Error.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace korvadel {

namespace {

constexpr std::uint8_t kHasStation = 1;
constexpr std::uint8_t kHasElevation = 2;

const char* const kStationRequired = "Field 'Station' must have a value";

// Ascending station order. A NaN station cannot come from the readers, but if one ever got in
// it sorts last instead of breaking the ordering the searches and the sort rely on.
inline bool stationLess(double a, double b) {
    return a < b || (b != b && a == a);
}

} // namespace

PointTable::PointTable() = default;

// --- rows -------------------------------------------------------------------------------------

std::size_t PointTable::rowCount() const {
    return stations_.size();
}
bool PointTable::hasStation(std::size_t row) const {
    return (flags_[row] & kHasStation) != 0;
}
double PointTable::stationAt(std::size_t row) const {
    return stations_[row];
}
bool PointTable::hasElevation(std::size_t row) const {
    return (flags_[row] & kHasElevation) != 0;
}
double PointTable::elevationAt(std::size_t row) const {
    return elevations_[row];
}
std::int64_t PointTable::recIdAt(std::size_t row) const {
    return recIds_[row];
}

std::span<const double> PointTable::stations() const {
    return stations_;
}
std::span<const double> PointTable::elevations() const {
    return elevations_;
}

PointTable::State PointTable::state() const {
    return state_;
}
std::ptrdiff_t PointTable::editRow() const {
    return editRow_;
}

void PointTable::insertRow(std::size_t at, double station, double elevation, std::uint8_t flags) {
    const auto offset = static_cast<std::ptrdiff_t>(at);
    if (at == stations_.size()) {
        stations_.push_back(station);
        elevations_.push_back(elevation);
        flags_.push_back(flags);
        recIds_.push_back(nextRecId_++);
    } else {
        stations_.insert(stations_.begin() + offset, station);
        elevations_.insert(elevations_.begin() + offset, elevation);
        flags_.insert(flags_.begin() + offset, flags);
        recIds_.insert(recIds_.begin() + offset, nextRecId_++);
    }
}

void PointTable::eraseRow(std::size_t at) {
    const auto offset = static_cast<std::ptrdiff_t>(at);
    stations_.erase(stations_.begin() + offset);
    elevations_.erase(elevations_.begin() + offset);
    flags_.erase(flags_.begin() + offset);
    recIds_.erase(recIds_.begin() + offset);
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
    shift(stations_);
    shift(elevations_);
    shift(flags_);
    shift(recIds_);
}

// Browsing position after an operation that is not a forward move: the end flag is set only
// when there is no row at all.
void PointTable::browseAt(std::ptrdiff_t row) {
    if (stations_.empty()) {
        current_ = -1;
        atEnd_ = true;
    } else {
        current_ =
            std::clamp<std::ptrdiff_t>(row, 0, static_cast<std::ptrdiff_t>(stations_.size()) - 1);
        atEnd_ = false;
    }
}

// --- placement --------------------------------------------------------------------------------

// Number of rows other than `row` whose station is smaller than `station`. The other rows are
// committed and therefore in ascending order, so a binary search over them with `row` skipped
// is enough.
std::size_t PointTable::lowerBoundOthers(std::size_t row, double station) const {
    std::size_t lo = 0;
    std::size_t hi = stations_.size() - 1; // count of other rows
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        const std::size_t index = mid < row ? mid : mid + 1;
        if (stationLess(stations_[index], station)) {
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
    const std::size_t n = stations_.size();
    if (n < 2 || !stationChanged)
        return row;
    const double station = stations_[row];
    std::size_t target;
    if (row + 1 < n && stationLess(stations_[row + 1], station)) {
        target = lowerBoundOthers(row, station);
        const std::size_t others = n - 1;
        if (target < others) {
            const std::size_t index = target < row ? target : target + 1;
            if (!stationLess(station, stations_[index]))
                ++target; // after the first equal row
        }
    } else if (row == n - 1 && stationLess(stations_[n - 2], station)) {
        target = row; // appended beyond the last station: the common case of every reader
    } else {
        target = lowerBoundOthers(row, station);
    }
    if (target != row) {
        moveRow(row, target);
        views_.notify({TableChange::Kind::Moved, row, target});
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
    if ((flags_[row] & kHasStation) == 0) {
        requiredField_.notify({TableChange::Kind::Changed, row, 0});
        throw Error(kStationRequired);
    }
    // Equal doubles count as unchanged, so retyping the same value keeps the row's place.
    const bool inserting = state_ == State::Inserting;
    const bool stationChanged =
        inserting || (savedFlags_ & kHasStation) == 0 || stations_[row] != savedStation_;
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
        views_.notify({TableChange::Kind::Removed, row, 0});
        return {Shift::Kind::Removed, row, 0};
    }
    stations_[row] = savedStation_;
    elevations_[row] = savedElevation_;
    flags_[row] = savedFlags_;
    browseAt(static_cast<std::ptrdiff_t>(row));
    views_.notify({TableChange::Kind::Changed, row, 0});
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
    stations_.clear();
    elevations_.clear();
    flags_.clear();
    recIds_.clear();
    state_ = State::Browsing;
    editRow_ = -1;
    entered_ = false;
    current_ = -1;
    atEnd_ = true;
    views_.notify({TableChange::Kind::Reset, 0, 0});
    report({CommittedChange::Kind::Replaced, 0, 0, {}, {}});
}

void PointTable::first() {
    settleShift();
    browseAt(0);
}

void PointTable::next() {
    settleShift();
    if (stations_.empty()) {
        browseAt(-1);
        return;
    }
    if (current_ + 1 < static_cast<std::ptrdiff_t>(stations_.size())) {
        ++current_;
        atEnd_ = false;
    } else {
        atEnd_ = true; // the last row stays current so its values can be read again
    }
}

void PointTable::last() {
    settleShift();
    browseAt(static_cast<std::ptrdiff_t>(stations_.size()) - 1);
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
    return current_ < 0 ? 0.0 : stations_[static_cast<std::size_t>(current_)];
}

double PointTable::elevation() const {
    return current_ < 0 ? 0.0 : elevations_[static_cast<std::size_t>(current_)];
}

// --- rows and edits ---------------------------------------------------------------------------

void PointTable::appendRow(double station, double elevation) {
    settleShift();
    const std::size_t row = stations_.size();
    insertRow(row, station, elevation, kHasStation | kHasElevation);
    // Created after the last row, then placed (nothing follows it, so it goes before the first
    // row whose station is greater or equal); listeners see only the final insertion.
    std::size_t to = row;
    if (row > 0 && !stationLess(stations_[row - 1], station)) {
        to = lowerBoundOthers(row, station);
        moveRow(row, to);
    }
    browseAt(static_cast<std::ptrdiff_t>(to));
    views_.notify({TableChange::Kind::Inserted, to, 0});
    report({CommittedChange::Kind::Added, 0, to, {}, valuesAt(to)});
}

void PointTable::insertPending() {
    settleShift();
    const std::size_t at = current_ < 0 ? 0 : static_cast<std::size_t>(current_);
    insertRow(at, 0.0, 0.0, 0);
    state_ = State::Inserting;
    editRow_ = static_cast<std::ptrdiff_t>(at);
    entered_ = false;
    browseAt(editRow_);
    views_.notify({TableChange::Kind::Inserted, at, 0});
}

void PointTable::appendPending() {
    settleShift();
    const std::size_t at = stations_.size();
    insertRow(at, 0.0, 0.0, 0);
    state_ = State::Inserting;
    editRow_ = static_cast<std::ptrdiff_t>(at);
    entered_ = false;
    browseAt(editRow_);
    views_.notify({TableChange::Kind::Inserted, at, 0});
}

void PointTable::beginEdit() {
    if (state_ != State::Browsing)
        return;
    if (stations_.empty()) {
        // Editing an empty table types into a new row.
        insertPending();
        return;
    }
    const auto row = static_cast<std::size_t>(current_);
    savedStation_ = stations_[row];
    savedElevation_ = elevations_[row];
    savedFlags_ = flags_[row];
    state_ = State::Editing;
    editRow_ = current_;
    entered_ = false;
}

void PointTable::setStation(std::optional<double> value) {
    if (state_ == State::Browsing)
        beginEdit();
    const auto row = static_cast<std::size_t>(editRow_);
    stations_[row] = value.value_or(0.0);
    flags_[row] =
        static_cast<std::uint8_t>(value ? flags_[row] | kHasStation : flags_[row] & ~kHasStation);
    entered_ = true;
    views_.notify({TableChange::Kind::Changed, row, 0});
}

void PointTable::setElevation(std::optional<double> value) {
    if (state_ == State::Browsing)
        beginEdit();
    const auto row = static_cast<std::size_t>(editRow_);
    elevations_[row] = value.value_or(0.0);
    flags_[row] = static_cast<std::uint8_t>(value ? flags_[row] | kHasElevation
                                                  : flags_[row] & ~kHasElevation);
    entered_ = true;
    views_.notify({TableChange::Kind::Changed, row, 0});
}

void PointTable::deleteCurrent() {
    if (state_ == State::Inserting) {
        discardShift();
        return;
    }
    if (stations_.empty())
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
    views_.notify({TableChange::Kind::Removed, row, 0});
    report({CommittedChange::Kind::Removed, row, 0, removed, {}});
}

void PointTable::LoadColumns::add(double station, std::optional<double> elevation) {
    if (!elevation && allElevations_) {
        hasElevation_.assign(stations_.size(), 1);
        allElevations_ = false;
    }
    stations_.push_back(station);
    elevations_.push_back(elevation.value_or(0.0));
    if (!allElevations_)
        hasElevation_.push_back(elevation ? 1 : 0);
}

namespace {

// Rows whose station is below the station of the row before them.
std::size_t countOutOfOrder(std::span<const double> stations) {
    std::size_t count = 0;
    for (std::size_t i = 1; i < stations.size(); ++i)
        count += stationLess(stations[i], stations[i - 1]) ? 1 : 0;
    return count;
}

} // namespace

// Survey files are mostly in station order, or nearly so where shots wander back a little. Each
// row that came too early moves back to just after the last row of equal or smaller station (so
// equal stations keep their load order) while the rows moved stay within `budget`; past it the
// rows are left for the full sort, which gives the same order from any arrangement it is handed.
bool PointTable::sortNearlyOrdered(std::size_t budget) {
    const std::size_t n = stations_.size();
    double* const stations = stations_.data();
    // A load whose rows all have an elevation has nothing to move in its flags.
    const bool flagsDiffer =
        std::adjacent_find(flags_.begin(), flags_.end(), std::not_equal_to<>()) != flags_.end();
    for (std::size_t i = 1; i < n; ++i) {
        const double station = stations[i];
        if (!stationLess(station, stations[i - 1]))
            continue;
        // Most rows go back a step or two; a longer way is searched by halves.
        constexpr std::size_t kSteps = 8;
        std::size_t to = i - 1;
        while (to > 0 && i - to < kSteps && stationLess(station, stations[to - 1]))
            --to;
        if (to > 0 && i - to == kSteps && stationLess(station, stations[to - 1]))
            to = static_cast<std::size_t>(
                std::upper_bound(stations, stations + to, station, stationLess) - stations);
        const std::size_t moved = i - to;
        if (moved > budget)
            return false;
        budget -= moved;
        const auto moveBack = [to, i](auto& column) {
            const auto value = column[i];
            for (std::size_t k = i; k > to; --k)
                column[k] = column[k - 1];
            column[to] = value;
        };
        moveBack(stations_);
        moveBack(elevations_);
        moveBack(recIds_);
        if (flagsDiffer)
            moveBack(flags_);
    }
    return true;
}

// RecIds rise in load order, so the order sought is by Station, then RecId.
void PointTable::sortLoaded() {
    const std::size_t n = stations_.size();
    // Rows that wandered back a step or two cost well under one move a row; a load that needs
    // more than two is left to the full sort, whose cost a shuffled file then hardly notices.
    if (sortNearlyOrdered(2 * n + 1024))
        return;
    std::vector<std::pair<double, std::size_t>> keys(n);
    for (std::size_t i = 0; i < n; ++i)
        keys[i] = {stations_[i], i};
    const std::int64_t* const recIds = recIds_.data();
    std::sort(keys.begin(), keys.end(), [recIds](const auto& a, const auto& b) {
        if (stationLess(a.first, b.first))
            return true;
        if (stationLess(b.first, a.first))
            return false;
        return recIds[a.second] < recIds[b.second];
    });
    for (std::size_t i = 0; i < n; ++i)
        stations_[i] = keys[i].first;
    auto gather = [&keys, n](auto& column) {
        std::remove_reference_t<decltype(column)> sorted(n);
        for (std::size_t i = 0; i < n; ++i)
            sorted[i] = column[keys[i].second];
        column.swap(sorted);
    };
    gather(elevations_);
    gather(flags_);
    gather(recIds_);
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
    if (rows.stationMissing_) {
        rows.stations_.resize(rows.loaded_);
        rows.elevations_.resize(rows.loaded_);
    }
    const std::size_t n = rows.stations_.size();
    stations_ = std::move(rows.stations_);
    elevations_ = std::move(rows.elevations_);
    if (rows.allElevations_) {
        flags_.assign(n, kHasStation | kHasElevation);
    } else {
        flags_.resize(n);
        for (std::size_t i = 0; i < n; ++i)
            flags_[i] = static_cast<std::uint8_t>(kHasStation |
                                                  (rows.hasElevation_[i] != 0 ? kHasElevation : 0));
    }
    recIds_.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        recIds_[i] = nextRecId_++;
    const std::size_t outOfOrder = countOutOfOrder(stations_);
    if (outOfOrder > 0)
        sortLoaded();
    browseAt(0);
    if (rows.stationMissing_)
        throw Error(kStationRequired);
    return outOfOrder;
}

// --- views ------------------------------------------------------------------------------------

void PointTable::suspendViews() {
    views_.suspend();
}

void PointTable::resumeViews() {
    views_.resume();
}

int PointTable::suspendCount() const {
    return views_.suspendCount();
}

TableSubscription PointTable::subscribe(TableListener listener) {
    return views_.subscribe(std::move(listener));
}

TableSubscription
PointTable::onRequiredFieldMissing(std::function<void(std::size_t row)> listener) {
    return requiredField_.subscribe(
        [listener = std::move(listener)](const TableChange& change) { listener(change.row); });
}

// --- history ----------------------------------------------------------------------------------

void PointTable::setJournal(Journal journal) {
    journal_ = std::move(journal);
}

void PointTable::report(const CommittedChange& change) {
    if (journal_)
        journal_(change);
}

PointTable::RowValues PointTable::valuesAt(std::size_t row) const {
    RowValues values;
    values.station = stations_[row];
    if ((flags_[row] & kHasElevation) != 0)
        values.elevation = elevations_[row];
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
    return Snapshot{stations_, elevations_, flags_,   recIds_,       current_,        atEnd_,
                    state_,    editRow_,    entered_, savedStation_, savedElevation_, savedFlags_};
}

void PointTable::restoreSnapshot(const Snapshot& snapshot) {
    stations_ = snapshot.stations;
    elevations_ = snapshot.elevations;
    flags_ = snapshot.flags;
    recIds_ = snapshot.recIds;
    current_ = snapshot.current;
    atEnd_ = snapshot.atEnd;
    state_ = snapshot.state;
    editRow_ = snapshot.editRow;
    entered_ = snapshot.entered;
    savedStation_ = snapshot.savedStation;
    savedElevation_ = snapshot.savedElevation;
    savedFlags_ = snapshot.savedFlags;
    // Creation numbers only ever grow, also across a restore.
    for (const std::int64_t id : recIds_)
        nextRecId_ = std::max(nextRecId_, id + 1);
    views_.notify({TableChange::Kind::Reset, 0, 0});
}

bool PointTable::sameContent(const Snapshot& snapshot) const {
    // Creation numbers are not content: a blank row made again is the same blank row.
    if (stations_ != snapshot.stations || elevations_ != snapshot.elevations ||
        flags_ != snapshot.flags || state_ != snapshot.state || editRow_ != snapshot.editRow ||
        entered_ != snapshot.entered)
        return false;
    return state_ != State::Editing ||
           (savedStation_ == snapshot.savedStation && savedElevation_ == snapshot.savedElevation &&
            savedFlags_ == snapshot.savedFlags);
}

void PointTable::putRowAt(std::size_t row, const RowValues& values) {
    if (state_ != State::Browsing || row > stations_.size())
        throw Error("The row cannot be put back where it was");
    // The neighbours must keep the ascending order; equal stations may stand in any order.
    if ((row > 0 && stationLess(values.station, stations_[row - 1])) ||
        (row < stations_.size() && stationLess(stations_[row], values.station)))
        throw Error("The row cannot be put back where it was");
    const std::uint8_t flags =
        static_cast<std::uint8_t>(kHasStation | (values.elevation ? kHasElevation : 0));
    insertRow(row, values.station, values.elevation.value_or(0.0), flags);
    browseAt(static_cast<std::ptrdiff_t>(row));
    views_.notify({TableChange::Kind::Inserted, row, 0});
}

void PointTable::removeRowAt(std::size_t row) {
    if (state_ != State::Browsing || row >= stations_.size())
        throw Error("The row cannot be removed");
    eraseRow(row);
    browseAt(static_cast<std::ptrdiff_t>(row));
    views_.notify({TableChange::Kind::Removed, row, 0});
}

} // namespace korvadel
