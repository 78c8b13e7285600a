// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/grid/TableModelBase.h"

#include "components/desktop/TextCodec.h"
#include "model/Numbers.h"
#include "model/TableChange.h"

namespace korvadel {

TableModelBase::TableModelBase(QStringList headers, char decimalSeparator, QObject* parent)
    : QAbstractTableModel(parent), headers_(std::move(headers)), separator_(decimalSeparator) {}

int TableModelBase::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !rows_ ? 0 : static_cast<int>(rows_());
}

int TableModelBase::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant TableModelBase::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return section >= 0 && section < headers_.size() ? QVariant(headers_[section]) : QVariant();
}

bool TableModelBase::holdsRow(const QModelIndex& index) const {
    return index.isValid() && index.row() >= 0 && index.row() < rowCount();
}

QString TableModelBase::numberText(double value) const {
    return fromFileText(formatGeneral(value, NumberFormat{separator_}));
}

QVariant TableModelBase::numberAlignment() {
    return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
}

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
