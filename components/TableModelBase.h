#pragma once

#include <QAbstractTableModel>

namespace korvadel {

struct TableChange;

// Base of the item models over the program's tables. A table tells its views what happened
// after the fact; Qt wants begin/end pairs around a change, so the pairs are emitted back to
// back and the models' readers guard against rows that are already gone.
class TableModelBase : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

protected:
    void applyTableChange(const TableChange& change);
};

} // namespace korvadel
