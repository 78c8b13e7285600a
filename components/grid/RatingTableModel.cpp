// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/grid/RatingTableModel.h"

#include "components/desktop/TextCodec.h"
#include "model/Numbers.h"
#include "model/RatingTable.h"

namespace korvadel {

RatingTableModel::RatingTableModel(RatingTable& table, char decimalSeparator, QObject* parent)
    : TableModelBase(parent), table_(table), separator_(decimalSeparator) {
    follow(table_);
}

int RatingTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.rowCount());
}

int RatingTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant RatingTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 ||
        static_cast<std::size_t>(index.row()) >= table_.rowCount())
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    const auto row = static_cast<std::size_t>(index.row());
    const double value = index.column() == kStageColumn ? table_.stageAt(row) : table_.areaAt(row);
    if (role == kValueRole)
        return value;
    if (role == Qt::DisplayRole)
        return fromFileText(formatGeneral(value, NumberFormat{separator_}));
    return {};
}

QVariant RatingTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (section == kStageColumn)
        return QStringLiteral("Stage");
    if (section == kAreaColumn)
        return QStringLiteral("Area");
    return {};
}

Qt::ItemFlags RatingTableModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace korvadel
