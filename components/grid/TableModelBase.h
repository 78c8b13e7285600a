// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/TableNotifier.h"

#include <QAbstractTableModel>
#include <QStringList>

#include <cstddef>
#include <functional>

namespace korvadel {

// Base of the item models over the program's tables: their columns and headers, the rows the
// table has, and numbers shown as every table shows them (the general number format with the
// user's decimal separator, right-aligned). A table tells its views what happened after the
// fact; Qt wants begin/end pairs around a change, so the pairs are emitted back to back and the
// models' readers guard against rows that are already gone (holdsRow).
class TableModelBase : public QAbstractTableModel {
    Q_OBJECT
public:
    TableModelBase(QStringList headers, char decimalSeparator, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    char decimalSeparator() const { return separator_; }

protected:
    // Hears the table's changes for as long as the model lives; rowCount() follows its rows.
    template <class Table> void follow(Table& table) {
        rows_ = [&table] { return table.rowCount(); };
        subscription_ = table.subscribe(
            Table::viewsOnly([this](const TableChange& change) { applyTableChange(change); }));
    }
    void applyTableChange(const TableChange& change);

    // The index names a row the table still has.
    bool holdsRow(const QModelIndex& index) const;
    QString numberText(double value) const;
    static QVariant numberAlignment();

private:
    QStringList headers_;
    char separator_;
    std::function<std::size_t()> rows_;
    TableSubscription subscription_;
};

} // namespace korvadel
