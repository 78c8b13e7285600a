// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/grid/PointGrid.h"

#include "components/desktop/DesktopSeam.h"
#include "components/desktop/TextCodec.h"
#include "components/grid/PointTableModel.h"
#include "model/Error.h"
#include "model/Numbers.h"
#include "model/PointTable.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace korvadel {

// Cell editor of the point grid: a frameless line edit whose navigation keys are handed to the
// grid, and which leaves committing on focus loss to the grid (it decides whether the focus
// really left and whether the text is acceptable).
class PointCellDelegate : public QStyledItemDelegate {
public:
    explicit PointCellDelegate(PointGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& index) const override {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        grid_.editorCreated(editor, index);
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        // A refresh of the row must not overwrite what the user is typing.
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (line && line->isModified())
            return;
        QStyledItemDelegate::setEditorData(editor, index);
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* editor = qobject_cast<QLineEdit*>(object);
        if (!editor)
            return QStyledItemDelegate::eventFilter(object, event);
        if (event->type() == QEvent::KeyPress &&
            grid_.editorKey(editor, static_cast<QKeyEvent*>(event)))
            return true;
        if (event->type() == QEvent::FocusOut)
            return false;
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    PointGrid& grid_;
};

PointGrid::PointGrid(PointTable& table, DesktopSeam& seam, char decimalSeparator, QWidget* parent)
    : DataGrid(seam, parent), table_(table), separator_(decimalSeparator),
      model_(new PointTableModel(table, decimalSeparator, this)),
      deleteRowAction_(new QAction(QStringLiteral("&Delete Row"), this)),
      insertRowAction_(new QAction(QStringLiteral("Insert Row"), this)) {
    setItemDelegate(new PointCellDelegate(*this));
    setModel(model_);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::DoubleClicked);
    setColumnWidth(PointTableModel::kStationColumn, kStationWidth);
    setColumnWidth(PointTableModel::kElevationColumn, kElevationWidth);

    deleteRowAction_->setObjectName(QStringLiteral("DeleteRow1"));
    insertRowAction_->setObjectName(QStringLiteral("InsertRow1"));
    connect(deleteRowAction_, &QAction::triggered, this, &PointGrid::deleteFocusedRow);
    connect(insertRowAction_, &QAction::triggered, this, &PointGrid::insertRow);

    requiredField_ = table_.subscribe([this](const PointTable::Event& event) {
        if (const auto* missing = std::get_if<PointTable::MissingStation>(&event))
            focusStationCell(static_cast<int>(missing->row));
    });
    connect(qApp, &QApplication::focusChanged, this, &PointGrid::onFocusChanged);
    syncCurrentFromTable(PointTableModel::kStationColumn);
}

PointGrid::~PointGrid() {
    // The focus leaves the grid while it is destroyed; that is no reason to settle.
    disconnect(qApp, nullptr, this, nullptr);
}

// --- the table follows the grid ---

bool PointGrid::followRow(int viewRow) {
    return runTableOperation([&] { table_.moveTo(static_cast<std::size_t>(viewRow)); });
}

int PointGrid::tableCurrentViewRow() const {
    const std::ptrdiff_t row = table_.currentIndex();
    return row < 0 || static_cast<std::size_t>(row) >= table_.rowCount() ? -1
                                                                         : static_cast<int>(row);
}

void PointGrid::appendAtEnd(int column) {
    if (!commitEdit())
        return;
    if (runTableOperation([&] { table_.appendPending(); }))
        syncCurrentFromTable(column);
}

void PointGrid::insertAtCursor() {
    if (!commitEdit())
        return;
    const int row = currentIndex().row();
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    const bool ok = runTableOperation([&] {
        if (row >= 0 && table_.currentIndex() != row)
            table_.moveTo(static_cast<std::size_t>(row));
        table_.insertPending();
    });
    if (ok)
        syncCurrentFromTable(column);
}

void PointGrid::deleteViewRow(int viewRow) {
    // The row being typed into is the table's current one and is deleted (or, when pending,
    // discarded) as it is; moving to it first would settle it away.
    if (table_.currentIndex() != viewRow)
        table_.moveTo(static_cast<std::size_t>(viewRow));
    table_.deleteCurrent();
}

void PointGrid::deleteFocusedRow() {
    const QModelIndex at = currentIndex();
    if (!at.isValid())
        return;
    abandonEditor();
    runTableOperation([&] { deleteViewRow(at.row()); });
    syncCurrentFromTable(at.column());
}

void PointGrid::insertRow() {
    insertAtCursor();
}

void PointGrid::focusStationCell(int row) {
    abandonEditor();
    setCurrentCellQuietly(row, PointTableModel::kStationColumn);
    setFocus(Qt::OtherFocusReason);
}

// --- keyboard and mouse ---

void PointGrid::keyPressEvent(QKeyEvent* event) {
    // Typing into an empty grid starts the first row.
    const QString text = event->text();
    if (model_->rowCount() == 0 && !text.isEmpty() && text.front().isPrint() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        appendAtEnd(PointTableModel::kStationColumn);
    }
    DataGrid::keyPressEvent(event);
}

void PointGrid::mouseReleaseEvent(QMouseEvent* event) {
    DataGrid::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || state() == QAbstractItemView::EditingState)
        return;
    // The editor opens at once on a click, unless the click could not move there.
    const QModelIndex clicked = indexAt(event->position().toPoint());
    if (clicked.isValid() && clicked == currentIndex())
        edit(clicked);
}

void PointGrid::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(deleteRowAction_);
    menu.addAction(insertRowAction_);
    menu.exec(event->globalPos());
}

bool PointGrid::editorKey(QLineEdit* editor, QKeyEvent* event) {
    const Qt::KeyboardModifiers mods =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const int key = event->key();
    const bool wholeSelected =
        editor->hasSelectedText() && editor->selectedText() == editor->text();
    bool gridKey = false;
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Insert:
        gridKey = true;
        break;
    case Qt::Key_Left:
        gridKey = mods == Qt::NoModifier &&
                  (wholeSelected || (!editor->hasSelectedText() && editor->cursorPosition() == 0));
        break;
    case Qt::Key_Right:
        gridKey = mods == Qt::NoModifier &&
                  (wholeSelected || (!editor->hasSelectedText() &&
                                     editor->cursorPosition() == editor->text().size()));
        break;
    case Qt::Key_Delete:
        if (mods == Qt::ControlModifier) {
            // Deleting the row: whatever was typed into it goes with it.
            abandonEditor();
            confirmAndDelete();
            return true;
        }
        break;
    default:
        break;
    }
    if (!gridKey)
        return false;
    if (!commitEdit())
        return true;
    setFocus(Qt::OtherFocusReason);
    handleGridKey(event);
    return true;
}

// --- the cell editor ---

void PointGrid::editorCreated(QLineEdit* editor, const QModelIndex& index) {
    editor_ = editor;
    const QPersistentModelIndex at(index);
    connect(editor, &QLineEdit::textEdited, this, [this, at] { beginTyping(at); });
}

void PointGrid::beginTyping(const QPersistentModelIndex& index) {
    if (!index.isValid() || table_.state() != PointTable::State::Browsing)
        return;
    runTableOperation([&] {
        if (table_.currentIndex() != index.row())
            table_.moveTo(static_cast<std::size_t>(index.row()));
        table_.beginEdit();
    });
}

bool PointGrid::acceptEditorText(QLineEdit* editor) {
    if (!editor || !editor->isModified())
        return true;
    const QString text = editor->text();
    if (text.trimmed().isEmpty())
        return true;
    try {
        (void)textToFloat(toFileText(text), NumberFormat{separator_});
        return true;
    } catch (const Error& error) {
        const QPointer<QLineEdit> keep(editor);
        runTableOperation([&] { throw error; });
        if (keep) {
            keep->setFocus(Qt::OtherFocusReason);
            keep->selectAll();
        }
        return false;
    }
}

bool PointGrid::commitEdit() {
    QLineEdit* editor = editor_;
    if (!editor)
        return true;
    if (!acceptEditorText(editor))
        return false;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}

void PointGrid::abandonEditor() {
    if (QLineEdit* editor = editor_)
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

bool PointGrid::settle() {
    return commitEdit() && runTableOperation([&] { table_.settle(); });
}

void PointGrid::commitData(QWidget* editor) {
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (line && !line->isModified())
        return; // opened and left without typing: the row is not touched
    runTableOperation([&] { DataGrid::commitData(editor); });
    if (line)
        line->setModified(false);
}

void PointGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    if (editor == editor_)
        editor_ = nullptr;
    DataGrid::closeEditor(editor, hint);
}

void PointGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (!isQuiet() && editor_ && previous.isValid() && current != previous &&
        !acceptEditorText(editor_)) {
        // The entry stays open for correction; the cursor does not move.
        setCurrentCellQuietly(previous.row(), previous.column());
        if (editor_)
            editor_->setFocus(Qt::OtherFocusReason);
        return;
    }
    DataGrid::currentChanged(current, previous);
}

void PointGrid::onFocusChanged(QWidget* old, QWidget* now) {
    // Leaving the grid for another control of the same window settles the row; switching to
    // another window, a menu or a message box does not.
    if (!now || isShowingMessage() || now == this || isAncestorOf(now))
        return;
    if (!old || (old != this && !isAncestorOf(old)))
        return;
    if (now->window() != window())
        return;
    settle();
}

} // namespace korvadel
