// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Base of the program's grids: a QTableView over one of the table models, with the keyboard
// of a data-entry grid. Tab, Shift+Tab, Enter and Left/Right run from cell to cell and on to
// the next/previous row (Tab never leaves the grid), Up/Down move between rows, and
// Ctrl+Delete asks "Delete record?" (caption "Confirm") through the desktop seam before
// deleting the current row. The table's cursor follows the grid's current row; subclasses
// say how (the point table settles the row being left).
//
// Errors that table operations raise go to the seam's error sink, which shows them in the
// program's error box; none escapes into Qt's event loop.

#include <QTableView>

#include <functional>

namespace korvadel {

class DesktopSeam;
class ErrorSink;

class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(DesktopSeam& seam, QWidget* parent = nullptr);

    DesktopSeam& seam() const { return seam_; }
    void setModel(QAbstractItemModel* model) override;

    // Ends an open cell edit as leaving the cell would; false when the typed text could not be
    // taken (the error has been shown). A grid that cannot be edited has nothing to end.
    virtual bool commitEdit() { return true; }
    // Puts the grid's cursor on the table's current row, after a command moved it without
    // changing any row.
    void followTableCursor() { syncCurrentFromTable(); }

protected:
    enum class Step { NextCell, PreviousCell, Up, Down };

    // The user moved the grid's cursor to another view row: make the table follow. False when
    // the table refused (the error has been shown).
    virtual bool followRow(int viewRow) = 0;
    // View row of the table's current row, -1 when there is none.
    virtual int tableCurrentViewRow() const = 0;
    // Moving on past the last row (Down, or Tab/Enter on the last cell): a grid that adds rows
    // adds one and puts the cursor on it in the given column.
    virtual void appendAtEnd(int column) { (void)column; }
    virtual void insertAtCursor() {}
    // Ctrl+Delete after the user confirmed: delete the row at the given view row.
    virtual void deleteViewRow(int viewRow) = 0;

    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    // A cell whose text is wider than its column shows the whole text as its tooltip.
    bool viewportEvent(QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

    // Handles the grid's own keys; false when the key is not one of them.
    bool handleGridKey(QKeyEvent* event);
    void step(Step step);
    void confirmAndDelete();

    // Runs a table operation, showing any Error in the error box. False when it failed.
    bool runTableOperation(const std::function<void()>& operation);
    // Puts the grid's cursor on the table's current row without moving the table.
    void syncCurrentFromTable(int column = -1);
    // Sets the grid's cursor without making the table follow.
    void setCurrentCellQuietly(int viewRow, int column);
    // The grid's cursor is being moved by the grid itself or by Qt following a change of rows,
    // not by the user.
    bool isQuiet() const { return syncing_ || operating_ || modelChanging_; }
    bool isShowingMessage() const { return showingMessage_; }

private:
    void onModelChanged();

    DesktopSeam& seam_;
    ErrorSink& errors_;
    bool syncing_ = false;
    bool operating_ = false;
    bool showingMessage_ = false;
    bool modelChanging_ = false;
};

} // namespace korvadel
