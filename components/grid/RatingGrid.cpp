// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/grid/RatingGrid.h"

#include "components/grid/RatingTableModel.h"
#include "model/RatingTable.h"

#include <QHeaderView>
#include <QSortFilterProxyModel>

namespace korvadel {

namespace {

// Column widths in pixels at 96 dots per inch.
constexpr int kStageWidth = 83;
constexpr int kAreaWidth = 94;

} // namespace

RatingGrid::RatingGrid(RatingTable& table, DesktopSeam& seam, char decimalSeparator,
                       QWidget* parent)
    : DataGrid(seam, parent), table_(table),
      model_(new RatingTableModel(table, decimalSeparator, this)),
      proxy_(new QSortFilterProxyModel(this)) {
    proxy_->setSortRole(RatingTableModel::kValueRole);
    proxy_->setDynamicSortFilter(true);
    proxy_->setSourceModel(model_);
    // A new rating is shown in the order it was generated.
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        proxy_->sort(-1);
        horizontalHeader()->setSortIndicatorShown(false);
    });
    setModel(proxy_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setColumnWidth(RatingTableModel::kStageColumn, kStageWidth);
    setColumnWidth(RatingTableModel::kAreaColumn, kAreaWidth);
    horizontalHeader()->setSectionsClickable(true);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &RatingGrid::sortBy);
    syncCurrentFromTable(0);
}

void RatingGrid::sortBy(int column) {
    QHeaderView* header = horizontalHeader();
    Qt::SortOrder order = Qt::AscendingOrder;
    if (header->isSortIndicatorShown() && proxy_->sortColumn() == column &&
        proxy_->sortOrder() == Qt::AscendingOrder)
        order = Qt::DescendingOrder;
    const int keepColumn = currentIndex().isValid() ? currentIndex().column() : 0;
    proxy_->sort(column, order);
    header->setSortIndicator(column, order);
    header->setSortIndicatorShown(true);
    syncCurrentFromTable(keepColumn);
}

int RatingGrid::tableRow(int viewRow) const {
    return proxy_->mapToSource(proxy_->index(viewRow, 0)).row();
}

bool RatingGrid::followRow(int viewRow) {
    const int row = tableRow(viewRow);
    if (row < 0)
        return false;
    return runTableOperation([&] { table_.moveTo(static_cast<std::size_t>(row)); });
}

int RatingGrid::tableCurrentViewRow() const {
    const std::ptrdiff_t row = table_.currentIndex();
    if (row < 0 || static_cast<std::size_t>(row) >= table_.rowCount())
        return -1;
    return proxy_->mapFromSource(model_->index(static_cast<int>(row), 0)).row();
}

void RatingGrid::deleteViewRow(int viewRow) {
    const int row = tableRow(viewRow);
    if (row < 0)
        return;
    table_.moveTo(static_cast<std::size_t>(row));
    table_.deleteCurrent();
}

} // namespace korvadel
