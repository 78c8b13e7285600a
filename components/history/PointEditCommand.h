// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One change to the committed rows of the point table (a row committed from the grid, an edited
// row, a deleted row) as a step of the undo history. The change has already happened when the
// command is pushed, so its first redo does nothing; afterwards undo and redo put the rows back
// with the table's exact row operations, which restore an order the table had, so the
// placement rule holds after either.
//
// A row operation that is refused means the history no longer matches the table; the command
// then calls `onFailure` and leaves the table as it is.

#include "model/PointTable.h"

#include <QUndoCommand>

#include <functional>

namespace korvadel {

class PointEditCommand : public QUndoCommand {
public:
    PointEditCommand(PointTable& table, const PointTable::CommittedChange& change,
                     std::function<void()> onFailure);

    void undo() override;
    void redo() override;

    const PointTable::CommittedChange& change() const { return change_; }

private:
    void apply(bool forward);

    PointTable& table_;
    PointTable::CommittedChange change_;
    std::function<void()> onFailure_;
    bool done_ = true;
};

} // namespace korvadel
