// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/grid/PointTableModel.h"

#include "components/desktop/TextCodec.h"
#include "model/Numbers.h"
#include "model/PointTable.h"

#include <optional>

namespace korvadel {

PointTableModel::PointTableModel(PointTable& table, char decimalSeparator, QObject* parent)
    : TableModelBase({QStringLiteral("Location"), QStringLiteral("Elevation")}, decimalSeparator,
                     parent),
      table_(table) {
    follow(table_);
}

QVariant PointTableModel::data(const QModelIndex& index, int role) const {
    if (!holdsRow(index))
        return {};
    if (role == Qt::TextAlignmentRole)
        return numberAlignment();
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    const bool station = index.column() == kStationColumn;
    if (station ? !table_.hasStation(row) : !table_.hasElevation(row))
        return QString();
    return numberText(station ? table_.stationAt(row) : table_.elevationAt(row));
}

Qt::ItemFlags PointTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool PointTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !holdsRow(index))
        return false;
    const QString text = value.toString();
    std::optional<double> number;
    if (!text.trimmed().isEmpty()) {
        double parsed = 0.0;
        if (!tryTextToFloat(toFileText(text), parsed, NumberFormat{decimalSeparator()}))
            return false;
        number = parsed;
    }
    // Values go into the table's current row. The grid keeps the edited row current; should the
    // two ever drift apart, moving there follows the table's own rules (it settles first).
    if (table_.currentIndex() != index.row())
        table_.moveTo(static_cast<std::size_t>(index.row()));
    if (index.column() == kStationColumn)
        table_.setStation(number);
    else
        table_.setElevation(number);
    return true;
}

} // namespace korvadel
