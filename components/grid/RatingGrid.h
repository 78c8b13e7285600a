// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The rating grid: shows the rating table read-only.
//
//   RatingGrid(RatingTable& table, DesktopSeam& seam, char decimalSeparator,
//              QWidget* parent = nullptr);
//   RatingTableModel& ratingModel();   QSortFilterProxyModel& sortModel();   RatingTable& table();
//
// Columns "Stage" (83 px) then "Area" (94 px). Clicking a header sorts what the grid shows by
// that column (again: the other way round); the table keeps its order, so the chart and the
// exports are untouched. A new rating (a reset of the table) shows in generation order again.
// Ctrl+Delete, after the "Delete record?" confirmation, removes the current row from the table.

#include "components/grid/DataGrid.h"

class QSortFilterProxyModel;

namespace korvadel {

class RatingTable;
class RatingTableModel;

class RatingGrid : public DataGrid {
    Q_OBJECT
public:
    RatingGrid(RatingTable& table, DesktopSeam& seam, char decimalSeparator,
               QWidget* parent = nullptr);

    RatingTableModel& ratingModel() { return *model_; }
    QSortFilterProxyModel& sortModel() { return *proxy_; }
    RatingTable& table() { return table_; }

protected:
    bool followRow(int viewRow) override;
    int tableCurrentViewRow() const override;
    void deleteViewRow(int viewRow) override;

private:
    void sortBy(int column);
    int tableRow(int viewRow) const;

    RatingTable& table_;
    RatingTableModel* model_;
    QSortFilterProxyModel* proxy_;
};

} // namespace korvadel
