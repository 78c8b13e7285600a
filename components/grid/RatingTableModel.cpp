// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/grid/RatingTableModel.h"

#include "model/RatingTable.h"

namespace korvadel {

RatingTableModel::RatingTableModel(RatingTable& table, char decimalSeparator, QObject* parent)
    : TableModelBase({QStringLiteral("Stage"), QStringLiteral("Area")}, decimalSeparator, parent),
      table_(table) {
    follow(table_);
}

QVariant RatingTableModel::data(const QModelIndex& index, int role) const {
    if (!holdsRow(index))
        return {};
    if (role == Qt::TextAlignmentRole)
        return numberAlignment();
    const auto row = static_cast<std::size_t>(index.row());
    const double value = index.column() == kStageColumn ? table_.stageAt(row) : table_.areaAt(row);
    if (role == kValueRole)
        return value;
    if (role == Qt::DisplayRole)
        return numberText(value);
    return {};
}

Qt::ItemFlags RatingTableModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace korvadel
