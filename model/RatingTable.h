// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/TableNotifier.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace korvadel {

// The stage-area rating: rows of Area and Stage with a hidden RecId, in generation order
// (ascending Stage). No sort column, no required column.
class RatingTable {
public:
    std::size_t rowCount() const { return stages_.size(); }
    double stageAt(std::size_t row) const { return stages_[row]; }
    double areaAt(std::size_t row) const { return areas_[row]; }
    std::int64_t recIdAt(std::size_t row) const { return recIds_[row]; }
    // The columns in row order, for writers that read them whole.
    std::span<const double> stages() const { return stages_; }
    std::span<const double> areas() const { return areas_; }

    void clear();
    void appendRow(double stage, double area);
    // Reserve room before a long run; changes nothing visible.
    void reserve(std::size_t rows);
    void first();
    void next();
    bool atEnd() const { return atEnd_; }
    std::ptrdiff_t currentIndex() const { return current_; }
    void moveTo(std::size_t row);
    double stage() const;
    double area() const;
    // Removes the current row; the following row (or the new last row) becomes current.
    // Throws Error("Cannot perform this operation on an empty dataset") on an empty table.
    void deleteCurrent();

    // The table tells its views each change, and nothing else.
    using Event = TableChange;
    using Listener = TableListener;
    static Listener viewsOnly(TableListener listener) { return listener; }

    void suspendViews();
    void resumeViews();
    int suspendCount() const { return views_.suspendCount(); }
    [[nodiscard]] TableSubscription subscribe(Listener listener);

private:
    std::vector<double> stages_;
    std::vector<double> areas_;
    std::vector<std::int64_t> recIds_;
    std::int64_t nextRecId_ = 1;
    std::ptrdiff_t current_ = -1;
    bool atEnd_ = true;
    TableNotifier<TableChange> views_;
};

} // namespace korvadel
