// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/RatingTable.h"

#include "model/Error.h"

#include <algorithm>
#include <utility>

namespace korvadel {

void RatingTable::clear() {
    stages_.clear();
    areas_.clear();
    recIds_.clear();
    current_ = -1;
    atEnd_ = true;
    views_.notify({TableChange::Kind::Reset, 0, 0});
}

void RatingTable::appendRow(double stage, double area) {
    const std::size_t row = stages_.size();
    stages_.push_back(stage);
    areas_.push_back(area);
    recIds_.push_back(nextRecId_++);
    current_ = static_cast<std::ptrdiff_t>(row);
    atEnd_ = false;
    views_.notify({TableChange::Kind::Inserted, row, 0});
}

void RatingTable::reserve(std::size_t rows) {
    stages_.reserve(rows);
    areas_.reserve(rows);
    recIds_.reserve(rows);
}

void RatingTable::first() {
    current_ = stages_.empty() ? -1 : 0;
    atEnd_ = stages_.empty();
}

void RatingTable::next() {
    if (stages_.empty()) {
        current_ = -1;
        atEnd_ = true;
    } else if (current_ + 1 < static_cast<std::ptrdiff_t>(stages_.size())) {
        ++current_;
        atEnd_ = false;
    } else {
        atEnd_ = true;
    }
}

void RatingTable::moveTo(std::size_t row) {
    if (stages_.empty()) {
        current_ = -1;
        atEnd_ = true;
        return;
    }
    current_ = static_cast<std::ptrdiff_t>(std::min(row, stages_.size() - 1));
    atEnd_ = false;
}

double RatingTable::stage() const {
    return current_ < 0 ? 0.0 : stages_[static_cast<std::size_t>(current_)];
}

double RatingTable::area() const {
    return current_ < 0 ? 0.0 : areas_[static_cast<std::size_t>(current_)];
}

void RatingTable::deleteCurrent() {
    if (stages_.empty())
        throw Error("Cannot perform this operation on an empty dataset");
    const auto row = static_cast<std::size_t>(std::max<std::ptrdiff_t>(current_, 0));
    const auto offset = static_cast<std::ptrdiff_t>(row);
    stages_.erase(stages_.begin() + offset);
    areas_.erase(areas_.begin() + offset);
    recIds_.erase(recIds_.begin() + offset);
    if (stages_.empty()) {
        current_ = -1;
        atEnd_ = true;
    } else {
        current_ = static_cast<std::ptrdiff_t>(std::min(row, stages_.size() - 1));
        atEnd_ = false;
    }
    views_.notify({TableChange::Kind::Removed, row, 0});
}

void RatingTable::suspendViews() {
    views_.suspend();
}

void RatingTable::resumeViews() {
    views_.resume();
}

TableSubscription RatingTable::subscribe(Listener listener) {
    return views_.subscribe(std::move(listener));
}

} // namespace korvadel
