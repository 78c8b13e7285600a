#pragma once

#include "model/TableChange.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korvadel {

// The stage-area rating: rows of Area and Stage with a hidden RecId, in generation order
// (ascending Stage). No sort column, no required column.
class RatingTable {
public:
    std::size_t RowCount() const { return stages_.size(); }
    double StageAt(std::size_t row) const { return stages_[row]; }
    double AreaAt(std::size_t row) const { return areas_[row]; }
    std::int64_t RecIdAt(std::size_t row) const { return recIds_[row]; }

    void Clear();
    void AppendRow(double stage, double area);
    // Reserve room before a long run; changes nothing visible.
    void Reserve(std::size_t rows);
    void First();
    void Next();
    bool AtEnd() const { return atEnd_; }
    std::ptrdiff_t CurrentIndex() const { return current_; }
    void MoveTo(std::size_t row);
    double Stage() const;
    double Area() const;
    // Removes the current row; the following row (or the new last row) becomes current.
    // Throws Error("Cannot perform this operation on an empty dataset") on an empty table.
    void DeleteCurrent();

    void SuspendViews();
    void ResumeViews();
    int SuspendCount() const { return suspendCount_; }
    int Subscribe(TableListener listener);
    void Unsubscribe(int id);

private:
    void notify(const TableChange& change);

    std::vector<double> stages_;
    std::vector<double> areas_;
    std::vector<std::int64_t> recIds_;
    std::int64_t nextRecId_ = 1;
    std::ptrdiff_t current_ = -1;
    bool atEnd_ = true;
    int suspendCount_ = 0;
    int nextListenerId_ = 1;
    std::vector<std::pair<int, TableListener>> listeners_;
};

} // namespace korvadel
