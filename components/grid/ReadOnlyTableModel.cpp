// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/grid/ReadOnlyTableModel.h"

namespace korvadel {

ReadOnlyTableModel::ReadOnlyTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void ReadOnlyTableModel::setTable(const QStringList& headers, int rows, CellText cellText,
                                  QList<int> leftAlignedColumns) {
    beginResetModel();
    headers_ = headers;
    rows_ = rows;
    cellText_ = std::move(cellText);
    leftAligned_ = std::move(leftAlignedColumns);
    endResetModel();
}

int ReadOnlyTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int ReadOnlyTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant ReadOnlyTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_ || index.column() >= headers_.size())
        return {};
    if (role == Qt::DisplayRole)
        return cellText_ ? cellText_(index.row(), index.column()) : QString();
    if (role == Qt::TextAlignmentRole) {
        const Qt::Alignment horizontal =
            leftAligned_.contains(index.column()) ? Qt::AlignLeft : Qt::AlignRight;
        return static_cast<int>(horizontal | Qt::AlignVCenter);
    }
    return {};
}

QVariant ReadOnlyTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < headers_.size() ? headers_.at(section) : QVariant();
    return section + 1;
}

} // namespace korvadel
