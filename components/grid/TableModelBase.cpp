// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/grid/TableModelBase.h"

#include "model/TableChange.h"

namespace korvadel {

void TableModelBase::applyTableChange(const TableChange& change) {
    const int row = static_cast<int>(change.row);
    switch (change.kind) {
    case TableChange::Kind::Reset:
        beginResetModel();
        endResetModel();
        break;
    case TableChange::Kind::Inserted:
        beginInsertRows({}, row, row);
        endInsertRows();
        break;
    case TableChange::Kind::Removed:
        beginRemoveRows({}, row, row);
        endRemoveRows();
        break;
    case TableChange::Kind::Changed:
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
        break;
    case TableChange::Kind::Moved: {
        const int to = static_cast<int>(change.to);
        if (to == row) {
            emit dataChanged(index(row, 0), index(row, columnCount() - 1));
            break;
        }
        // Qt names the destination as the row the moved one is put in front of.
        if (beginMoveRows({}, row, row, {}, to > row ? to + 1 : to))
            endMoveRows();
        else {
            beginResetModel();
            endResetModel();
        }
        break;
    }
    }
}

} // namespace korvadel
