// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/grid/DataGrid.h"

#include "components/desktop/DesktopSeam.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QStyle>
#include <QToolTip>

#include <algorithm>

namespace korvadel {

DataGrid::DataGrid(DesktopSeam& seam, QWidget* parent)
    : QTableView(parent), seam_(seam), errors_(seam) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(true);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setHighlightSections(false);
}

void DataGrid::setModel(QAbstractItemModel* newModel) {
    if (model())
        disconnect(model(), nullptr, this, nullptr);
    // The "about to" signals are connected ahead of the view's own handlers: Qt moves the
    // current index while rows go away, and the table must not be made to follow that.
    if (newModel) {
        const auto changing = [this] { modelChanging_ = true; };
        connect(newModel, &QAbstractItemModel::modelAboutToBeReset, this, changing);
        connect(newModel, &QAbstractItemModel::rowsAboutToBeInserted, this, changing);
        connect(newModel, &QAbstractItemModel::rowsAboutToBeRemoved, this, changing);
        connect(newModel, &QAbstractItemModel::rowsAboutToBeMoved, this, changing);
        connect(newModel, &QAbstractItemModel::layoutAboutToBeChanged, this, changing);
    }
    QTableView::setModel(newModel);
    if (!newModel)
        return;
    connect(newModel, &QAbstractItemModel::modelReset, this, &DataGrid::onModelChanged);
    connect(newModel, &QAbstractItemModel::rowsInserted, this, &DataGrid::onModelChanged);
    connect(newModel, &QAbstractItemModel::rowsRemoved, this, &DataGrid::onModelChanged);
    connect(newModel, &QAbstractItemModel::rowsMoved, this, &DataGrid::onModelChanged);
    connect(newModel, &QAbstractItemModel::layoutChanged, this, &DataGrid::onModelChanged);
}

void DataGrid::onModelChanged() {
    modelChanging_ = false;
    // Changes made by commands (a load, a new document, a rating run) move the table's cursor;
    // the grid shows it. During the grid's own operations the cursor is placed once at the end.
    if (!operating_)
        syncCurrentFromTable();
}

bool DataGrid::runTableOperation(const std::function<void()>& operation) {
    bool ok = true;
    {
        QScopedValueRollback guard(operating_, true);
        try {
            operation();
        } catch (const std::exception& error) {
            ok = false;
            QScopedValueRollback messageGuard(showingMessage_, true);
            errors_.reportError(this, error);
        }
    }
    return ok;
}

void DataGrid::setCurrentCellQuietly(int viewRow, int column) {
    if (!model() || !selectionModel())
        return;
    QScopedValueRollback guard(syncing_, true);
    if (viewRow < 0 || viewRow >= model()->rowCount()) {
        selectionModel()->clearCurrentIndex();
        selectionModel()->clearSelection();
        return;
    }
    column = std::clamp(column, 0, model()->columnCount() - 1);
    setCurrentIndex(model()->index(viewRow, column));
}

void DataGrid::syncCurrentFromTable(int column) {
    if (column < 0)
        column = std::max(currentIndex().column(), 0);
    setCurrentCellQuietly(tableCurrentViewRow(), column);
}

void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (isQuiet() || !current.isValid())
        return;
    if (previous.isValid() && previous.row() == current.row())
        return;
    const int column = current.column();
    bool followed = false;
    {
        QScopedValueRollback guard(operating_, true);
        followed = followRow(current.row());
    }
    // When the table refused to move (a row it could not settle), the cursor goes back to the
    // table's current row, in the column the refusal pointed at if it pointed at one.
    syncCurrentFromTable(followed ? column : -1);
}

bool DataGrid::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip || !model())
        return QTableView::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex at = indexAt(help->pos());
    const QString text = at.isValid() ? at.data(Qt::DisplayRole).toString() : QString();
    const QRect cell = visualRect(at);
    // The item delegate keeps this much free on each side of a cell's text.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    if (!text.isEmpty() && fontMetrics().horizontalAdvance(text) > cell.width() - 2 * margin)
        QToolTip::showText(help->globalPos(), text, viewport(), cell);
    else
        QToolTip::hideText();
    return true;
}

bool DataGrid::focusNextPrevChild(bool) {
    // Tab and Shift+Tab move between cells; they never take the focus out of the grid.
    return false;
}

void DataGrid::keyPressEvent(QKeyEvent* event) {
    if (!handleGridKey(event))
        QTableView::keyPressEvent(event);
}

bool DataGrid::handleGridKey(QKeyEvent* event) {
    const Qt::KeyboardModifiers mods =
        event->modifiers() &
        (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    switch (event->key()) {
    case Qt::Key_Delete:
        if (mods == Qt::ControlModifier) {
            confirmAndDelete();
            return true;
        }
        return false;
    case Qt::Key_Tab:
        if (mods == Qt::NoModifier) {
            step(Step::NextCell);
            return true;
        }
        if (mods == Qt::ShiftModifier) {
            step(Step::PreviousCell);
            return true;
        }
        return false;
    case Qt::Key_Backtab:
        step(Step::PreviousCell);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (mods == Qt::NoModifier || mods == Qt::KeypadModifier || event->key() == Qt::Key_Enter) {
            step(Step::NextCell);
            return true;
        }
        return false;
    case Qt::Key_Right:
        if (mods == Qt::NoModifier || mods == Qt::KeypadModifier) {
            step(Step::NextCell);
            return true;
        }
        return false;
    case Qt::Key_Left:
        if (mods == Qt::NoModifier || mods == Qt::KeypadModifier) {
            step(Step::PreviousCell);
            return true;
        }
        return false;
    case Qt::Key_Up:
        if (mods == Qt::NoModifier || mods == Qt::KeypadModifier) {
            step(Step::Up);
            return true;
        }
        return false;
    case Qt::Key_Down:
        if (mods == Qt::NoModifier || mods == Qt::KeypadModifier) {
            step(Step::Down);
            return true;
        }
        return false;
    case Qt::Key_Insert:
        if (mods == Qt::NoModifier || mods == Qt::KeypadModifier) {
            insertAtCursor();
            return true;
        }
        return false;
    default:
        return false;
    }
}

void DataGrid::step(Step how) {
    if (!model())
        return;
    const int rows = model()->rowCount();
    const int columns = model()->columnCount();
    const QModelIndex at = currentIndex();
    if (rows == 0 || !at.isValid()) {
        if (how == Step::Down || how == Step::NextCell)
            appendAtEnd(0);
        else if (rows > 0)
            setCurrentIndex(model()->index(0, 0));
        return;
    }
    int row = at.row();
    int column = at.column();
    switch (how) {
    case Step::NextCell:
        if (column + 1 < columns) {
            ++column;
        } else if (row + 1 < rows) {
            ++row;
            column = 0;
        } else {
            appendAtEnd(0);
            return;
        }
        break;
    case Step::PreviousCell:
        if (column > 0) {
            --column;
        } else if (row > 0) {
            --row;
            column = columns - 1;
        } else {
            return;
        }
        break;
    case Step::Up:
        if (row == 0)
            return;
        --row;
        break;
    case Step::Down:
        if (row + 1 >= rows) {
            appendAtEnd(column);
            return;
        }
        ++row;
        break;
    }
    setCurrentIndex(model()->index(row, column));
}

void DataGrid::confirmAndDelete() {
    const QModelIndex at = currentIndex();
    if (!model() || !at.isValid() || model()->rowCount() == 0)
        return;
    bool confirmed = false;
    {
        QScopedValueRollback messageGuard(showingMessage_, true);
        confirmed =
            seam_.confirm(this, QStringLiteral("Confirm"), QStringLiteral("Delete record?"));
    }
    if (!confirmed)
        return;
    const int column = at.column();
    runTableOperation([&] { deleteViewRow(at.row()); });
    syncCurrentFromTable(column);
}

} // namespace korvadel
