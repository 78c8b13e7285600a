// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Read-only item model over the rating table for the rating grid; holds no rows of its own.
//
//   RatingTableModel(RatingTable& table, char decimalSeparator, QObject* parent = nullptr);
//   columns: kStageColumn (0, "Stage"), kAreaColumn (1, "Area"); values in the general number
//   format with the decimal separator; Qt::UserRole gives the value as a double (for sorting)
//   RatingTable& table();

#include "components/grid/TableModelBase.h"

namespace korvadel {

class RatingTable;

class RatingTableModel : public TableModelBase {
    Q_OBJECT
public:
    static constexpr int kStageColumn = 0;
    static constexpr int kAreaColumn = 1;
    static constexpr int kValueRole = Qt::UserRole;

    RatingTableModel(RatingTable& table, char decimalSeparator, QObject* parent = nullptr);

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    RatingTable& table() { return table_; }

private:
    RatingTable& table_;
};

} // namespace korvadel
