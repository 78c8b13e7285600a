// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The point grid: edits the point table in place.
//
//   PointGrid(PointTable& table, DesktopSeam& seam, char decimalSeparator,
//             QWidget* parent = nullptr);
//   PointTableModel& pointModel();        PointTable& table();
//   QAction* deleteRowAction() const;     // "&Delete Row" (objectName "deleteRowAction")
//   QAction* insertRowAction() const;     // "Insert Row"  (objectName "insertRowAction")
//   bool commitEdit();  // writes an open cell editor's text into the table (no settling);
//                       // false, with the error box shown, when the text does not convert
//   bool settle();      // commitEdit, then PointTable::settle; errors go to the error box
//   bool isEditing() const;  // a cell editor is open
//
// Behaviour: the editor opens at once on a click or a keystroke; typing into a committed row
// starts PointTable::beginEdit; moving to another row settles the row left (PointTable::moveTo),
// and so does the focus leaving the grid for another control of the same window. Insert adds a
// pending row at the cursor; Down on the last row, and Tab/Enter on its last cell, append one.
// Ctrl+Delete deletes the current row after the "Delete record?" confirmation; the context
// menu's "&Delete Row" deletes the focused row without asking. A row that cannot be committed
// for want of a Station gets the cursor and the focus on its Station cell (the grid listens for
// the table's required-field notice; a command that meets the failure shows the error).
//
// Typed text goes through the standard text-to-number conversion with the decimal separator;
// an empty cell clears the value. Text that does not convert is never taken silently: the
// error box shows "'<text>' is not a valid floating point value." and the editor stays open
// on that cell with the text, so the entry can be corrected (or abandoned with Escape).

#include "components/grid/DataGrid.h"
#include "model/TableNotifier.h"

#include <QPointer>

class QAction;
class QLineEdit;

namespace korvadel {

class PointTable;
class PointTableModel;

class PointGrid : public DataGrid {
    Q_OBJECT
public:
    PointGrid(PointTable& table, DesktopSeam& seam, char decimalSeparator,
              QWidget* parent = nullptr);
    ~PointGrid() override;

    PointTableModel& pointModel() { return *model_; }
    PointTable& table() { return table_; }
    QAction* deleteRowAction() const { return deleteRowAction_; }
    QAction* insertRowAction() const { return insertRowAction_; }

    bool commitEdit() override;
    bool settle();
    // A cell editor is open.
    bool isEditing() const { return !editor_.isNull(); }

protected:
    bool followRow(int viewRow) override;
    int tableCurrentViewRow() const override;
    void appendAtEnd(int column) override;
    void insertAtCursor() override;
    void deleteViewRow(int viewRow) override;

    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void commitData(QWidget* editor) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    friend class PointCellDelegate;

    // Keys typed into an open cell editor that belong to the grid.
    bool editorKey(QLineEdit* editor, QKeyEvent* event);
    void editorCreated(QLineEdit* editor, const QModelIndex& index);
    // Checks the editor's text; shows the error and keeps the editor when it does not convert.
    bool acceptEditorText(QLineEdit* editor);
    void abandonEditor();
    void beginTyping(const QPersistentModelIndex& index);
    void focusStationCell(int row);
    void onFocusChanged(QWidget* old, QWidget* now);
    void deleteFocusedRow();
    void insertRow();

    PointTable& table_;
    char separator_;
    PointTableModel* model_;
    QAction* deleteRowAction_;
    QAction* insertRowAction_;
    QPointer<QLineEdit> editor_;
    TableSubscription requiredField_;
};

} // namespace korvadel
