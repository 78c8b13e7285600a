// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/TableNotifier.h"

#include <QAbstractTableModel>

namespace korvadel {

// Base of the item models over the program's tables. A table tells its views what happened
// after the fact; Qt wants begin/end pairs around a change, so the pairs are emitted back to
// back and the models' readers guard against rows that are already gone.
class TableModelBase : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

protected:
    // Hears the table's changes for as long as the model lives.
    template <class Table> void follow(Table& table) {
        subscription_ = table.subscribe(
            Table::viewsOnly([this](const TableChange& change) { applyTableChange(change); }));
    }
    void applyTableChange(const TableChange& change);

private:
    TableSubscription subscription_;
};

} // namespace korvadel
