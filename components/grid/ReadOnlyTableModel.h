// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <functional>

namespace korvadel {

// A read-only table over rows kept elsewhere: the owner says how many rows there are and what
// each cell shows, and the view asks only for the cells it draws, so a table of a million
// stages costs nothing here. Numbers are right-aligned; columns named left-aligned are not.
class ReadOnlyTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using CellText = std::function<QString(int row, int column)>;

    explicit ReadOnlyTableModel(QObject* parent = nullptr);

    // Replaces the whole table (the views reset).
    void setTable(const QStringList& headers, int rows, CellText cellText,
                  QList<int> leftAlignedColumns = {});

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QStringList headers_;
    int rows_ = 0;
    CellText cellText_;
    QList<int> leftAligned_;
};

} // namespace korvadel
