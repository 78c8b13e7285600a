// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Item model over the point table for the point grid. It holds no rows of its own: every call
// reads the table, and the table's change notices become the model's signals.
//
//   PointTableModel(PointTable& table, char decimalSeparator, QObject* parent = nullptr);
//   columns: kStationColumn (0, "Location"), kElevationColumn (1, "Elevation")
//   data(): the value in the general number format with the decimal separator, "" when empty;
//       numbers right-aligned
//   setData(index, text): empty text clears the value, otherwise the standard conversion;
//       returns false (and changes nothing) when the text does not convert
//   PointTable& table();  char decimalSeparator() const;

#include "components/grid/TableModelBase.h"

namespace korvadel {

class PointTable;

class PointTableModel : public TableModelBase {
    Q_OBJECT
public:
    static constexpr int kStationColumn = 0;
    static constexpr int kElevationColumn = 1;

    PointTableModel(PointTable& table, char decimalSeparator, QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    PointTable& table() { return table_; }

private:
    PointTable& table_;
};

} // namespace korvadel
