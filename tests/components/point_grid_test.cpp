// SPDX-License-Identifier: GPL-3.0-or-later
// The point grid driven by real keys and clicks, with a scripted desktop seam.

#include "components/grid/PointGrid.h"
#include "components/grid/PointTableModel.h"
#include "model/Error.h"
#include "model/PointTable.h"
#include "tests/support/ScriptedSeam.h"
#include "tests/support/UserInput.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

using namespace korvadel;

namespace {

struct Fixture {
    PointTable table;
    ScriptedSeam seam;
    QWidget window;
    PointGrid* grid = nullptr;
    QLineEdit* other = nullptr;

    explicit Fixture(const std::vector<std::pair<double, double>>& rows = {},
                     bool blankRow = true) {
        for (const auto& [s, e] : rows)
            table.appendRow(s, e);
        if (blankRow)
            table.appendPending();
        else
            table.first();
        auto* layout = new QVBoxLayout(&window);
        grid = new PointGrid(table, seam, '.', &window);
        other = new QLineEdit(&window);
        other->setObjectName(QStringLiteral("other"));
        layout->addWidget(grid);
        layout->addWidget(other);
        window.resize(300, 400);
        window.show();
        QApplication::setActiveWindow(&window);
        grid->setFocus();
    }

    static QWidget* focus() { return QApplication::focusWidget(); }
    QString cell(int row, int column) const {
        return grid->model()->index(row, column).data().toString();
    }
    QList<double> stations() const {
        QList<double> out;
        for (std::size_t i = 0; i < table.rowCount(); ++i)
            out << table.stationAt(i);
        return out;
    }
    int row() const { return grid->currentIndex().row(); }
    int column() const { return grid->currentIndex().column(); }
    bool editing() const { return grid->isEditing(); }
};

} // namespace

class PointGridTest : public QObject {
    Q_OBJECT
private slots:
    void layoutAndHeaders();
    void typedPointsTakeTheirPlaceInStationOrder();
    void leavingABlankRowDropsIt();
    void elevationOnlyRowAsksForTheStation_data();
    void elevationOnlyRowAsksForTheStation();
    void typingIntoCommittedRowEditsItInPlace();
    void unreadableEntryIsReportedAndKept();
    void tabEnterAndArrowsRunAcrossRows();
    void insertDownAndCtrlDelete();
    void contextMenuDeleteAndInsert();
    void clickOpensTheEditor();
    void commandsThatReplaceTheTableMoveTheCursor();
    void focusedGridCanBeDestroyed();
};

void PointGridTest::layoutAndHeaders() {
    Fixture f;
    QCOMPARE(f.grid->columnWidth(0), 77);
    QCOMPARE(f.grid->columnWidth(1), 90);
    QCOMPARE(f.grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Location"));
    QCOMPARE(f.grid->model()->headerData(1, Qt::Horizontal).toString(),
             QStringLiteral("Elevation"));
    QCOMPARE(f.grid->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
    QCOMPARE(f.grid->deleteRowAction()->text(), QStringLiteral("&Delete Row"));
    QCOMPARE(f.grid->insertRowAction()->text(), QStringLiteral("Insert Row"));
    // The blank pending row is there to type into, and empty values show empty.
    QCOMPARE(f.grid->model()->rowCount(), 1);
    QCOMPARE(f.cell(0, 0), QString());
    QCOMPARE(f.row(), 0);
}

void PointGridTest::typedPointsTakeTheirPlaceInStationOrder() {
    Fixture f;
    type(QStringLiteral("10"));
    key(Qt::Key_Tab);
    type(QStringLiteral("5.5"));
    key(Qt::Key_Return); // last cell of the last row: on to a new row
    QCOMPARE(f.row(), 1);
    QCOMPARE(f.column(), 0);
    type(QStringLiteral("0"));
    key(Qt::Key_Tab);
    type(QStringLiteral("8"));
    key(Qt::Key_Tab);
    type(QStringLiteral("2.5E1"));
    key(Qt::Key_Tab);
    type(QStringLiteral("-1"));
    key(Qt::Key_Down);

    QCOMPARE(f.table.rowCount(), 4u); // three points and the new blank row
    QCOMPARE(f.cell(0, 0), QStringLiteral("0"));
    QCOMPARE(f.cell(1, 0), QStringLiteral("10"));
    QCOMPARE(f.cell(2, 0), QStringLiteral("25"));
    QCOMPARE(f.cell(1, 1), QStringLiteral("5.5"));
    QCOMPARE(f.cell(2, 1), QStringLiteral("-1"));
    QCOMPARE(f.cell(3, 0), QString());
    QCOMPARE(f.row(), 3);
    QCOMPARE(f.table.state(), PointTable::State::Inserting);
    QVERIFY(f.seam.messages.isEmpty());
    QCOMPARE(f.focus(), static_cast<QWidget*>(f.grid));
}

void PointGridTest::leavingABlankRowDropsIt() {
    {
        Fixture f({{0, 1}, {10, 2}});
        QCOMPARE(f.row(), 2);
        key(Qt::Key_Up);
        QCOMPARE(f.table.rowCount(), 2u);
        QCOMPARE(f.row(), 1);
        QCOMPARE(f.table.state(), PointTable::State::Browsing);
    }
    {
        // The focus going to another control of the window settles too.
        Fixture f({{0, 1}, {10, 2}});
        f.other->setFocus();
        QCOMPARE(f.table.rowCount(), 2u);
        QVERIFY(f.seam.messages.isEmpty());
    }
    {
        // A row typed into and cleared again still counts as entered: it must have a station.
        Fixture f({{0, 1}});
        type(QStringLiteral("3"));
        key(Qt::Key_Tab);
        QCOMPARE(f.cell(1, 0), QStringLiteral("3"));
        key(Qt::Key_Backtab, Qt::ShiftModifier);
        key(Qt::Key_F2);
        key(Qt::Key_Backspace);
        key(Qt::Key_Tab);
        QCOMPARE(f.cell(1, 0), QString());
        QVERIFY(f.seam.messages.isEmpty());
        key(Qt::Key_Up);
        QCOMPARE(f.seam.messages.size(), 1);
        QCOMPARE(f.table.rowCount(), 2u);
        QCOMPARE(f.row(), 1);
    }
}

void PointGridTest::elevationOnlyRowAsksForTheStation_data() {
    QTest::addColumn<int>("leaveBy");
    QTest::newRow("Up") << 0;
    QTest::newRow("Down") << 1;
    QTest::newRow("focus to another control") << 2;
    QTest::newRow("Insert") << 3;
    QTest::newRow("click on another row") << 4;
}

void PointGridTest::elevationOnlyRowAsksForTheStation() {
    QFETCH(int, leaveBy);
    Fixture f({{0, 1}, {10, 2}});
    key(Qt::Key_Tab);
    type(QStringLiteral("4"));
    QVERIFY(f.editing());
    switch (leaveBy) {
    case 0:
        key(Qt::Key_Up);
        break;
    case 1:
        key(Qt::Key_Down);
        break;
    case 2:
        f.other->setFocus();
        break;
    case 3:
        key(Qt::Key_Insert);
        break;
    case 4: {
        const QRect r = f.grid->visualRect(f.grid->model()->index(0, 1));
        QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {}, r.center());
        break;
    }
    }
    QCOMPARE(f.seam.messages.size(), 1);
    QCOMPARE(f.seam.messages[0].kind, DesktopSeam::MessageKind::Error);
    QCOMPARE(f.seam.messages[0].caption, QStringLiteral("Korvadel"));
    QCOMPARE(f.seam.messages[0].text, QStringLiteral("Field 'Station' must have a value."));
    // The row stays as typed, with the cursor and the focus on its Station cell.
    QCOMPARE(f.table.rowCount(), 3u);
    QCOMPARE(f.table.state(), PointTable::State::Inserting);
    QCOMPARE(f.cell(2, 1), QStringLiteral("4"));
    QCOMPARE(f.row(), 2);
    QCOMPARE(f.column(), 0);
    QVERIFY(f.grid->hasFocus() || f.grid->isAncestorOf(f.focus()));
    // Typing the station completes it.
    type(QStringLiteral("5"));
    key(Qt::Key_Up);
    QCOMPARE(f.seam.messages.size(), 1);
    QCOMPARE(f.stations(), (QList<double>{0, 5, 10}));
}

void PointGridTest::typingIntoCommittedRowEditsItInPlace() {
    Fixture f({{0, 1}, {10, 2}, {20, 3}}, false);
    QCOMPARE(f.row(), 0);
    type(QStringLiteral("1"));
    QCOMPARE(f.table.state(), PointTable::State::Editing);
    type(QStringLiteral("5"));
    key(Qt::Key_Return);
    // Still on the same row, which has not been placed yet.
    QCOMPARE(f.row(), 0);
    QCOMPARE(f.column(), 1);
    QCOMPARE(f.stations(), (QList<double>{15, 10, 20}));
    // Leaving it commits and places it; the cursor goes to the row that was below it.
    key(Qt::Key_Down);
    QCOMPARE(f.stations(), (QList<double>{10, 15, 20}));
    QCOMPARE(f.table.state(), PointTable::State::Browsing);
    QCOMPARE(f.row(), 0);
    QCOMPARE(f.column(), 1);

    // Escape abandons what was typed into the cell.
    type(QStringLiteral("99"));
    key(Qt::Key_Escape);
    key(Qt::Key_Down);
    QCOMPARE(f.cell(0, 1), QStringLiteral("2"));
    QCOMPARE(f.table.state(), PointTable::State::Browsing);

    // Clearing the elevation leaves it empty, read as 0.
    QCOMPARE(f.row(), 1);
    key(Qt::Key_F2);
    QLineEdit* editor = qobject_cast<QLineEdit*>(f.focus());
    QVERIFY(editor);
    editor->selectAll();
    key(Qt::Key_Delete);
    key(Qt::Key_Up);
    QCOMPARE(f.cell(1, 1), QString());
    QVERIFY(!f.table.hasElevation(1));
    QCOMPARE(f.table.elevationAt(1), 0.0);
}

void PointGridTest::unreadableEntryIsReportedAndKept() {
    Fixture f({{0, 1}});
    type(QStringLiteral("1x"));
    key(Qt::Key_Tab);
    QCOMPARE(f.seam.messages.size(), 1);
    QCOMPARE(f.seam.messages[0].text, QStringLiteral("'1x' is not a valid floating point value."));
    QVERIFY(f.editing());
    auto* editor = qobject_cast<QLineEdit*>(f.focus());
    QVERIFY(editor);
    QCOMPARE(editor->text(), QStringLiteral("1x"));
    QCOMPARE(f.row(), 1);
    QCOMPARE(f.column(), 0);
    // The same when the mouse tries to move away.
    const QRect r = f.grid->visualRect(f.grid->model()->index(0, 0));
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {}, r.center());
    QCOMPARE(f.seam.messages.size(), 2);
    QCOMPARE(f.row(), 1);
    QVERIFY(f.editing());
    // Corrected, it goes in. A comma is not this grid's decimal separator.
    editor = qobject_cast<QLineEdit*>(f.focus());
    QVERIFY(editor);
    editor->selectAll();
    type(QStringLiteral("2,5"));
    key(Qt::Key_Tab);
    QCOMPARE(f.seam.messages.size(), 3);
    editor = qobject_cast<QLineEdit*>(f.focus());
    QVERIFY(editor);
    editor->selectAll();
    type(QStringLiteral(" 2.5 "));
    key(Qt::Key_Tab);
    QCOMPARE(f.seam.messages.size(), 3);
    QCOMPARE(f.cell(1, 0), QStringLiteral("2.5"));
}

void PointGridTest::tabEnterAndArrowsRunAcrossRows() {
    Fixture f({{0, 1}, {10, 2}, {20, 3}}, false);
    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int row, column;
    };
    const Step steps[] = {
        {Qt::Key_Tab, Qt::NoModifier, 0, 1},        {Qt::Key_Tab, Qt::NoModifier, 1, 0},
        {Qt::Key_Backtab, Qt::ShiftModifier, 0, 1}, {Qt::Key_Return, Qt::NoModifier, 1, 0},
        {Qt::Key_Right, Qt::NoModifier, 1, 1},      {Qt::Key_Right, Qt::NoModifier, 2, 0},
        {Qt::Key_Left, Qt::NoModifier, 1, 1},       {Qt::Key_Up, Qt::NoModifier, 0, 1},
        {Qt::Key_Up, Qt::NoModifier, 0, 1},         {Qt::Key_Left, Qt::NoModifier, 0, 0},
        {Qt::Key_Left, Qt::NoModifier, 0, 0},       {Qt::Key_Down, Qt::NoModifier, 1, 0},
        {Qt::Key_Enter, Qt::KeypadModifier, 1, 1},
    };
    for (const Step& s : steps) {
        key(s.key, s.mods);
        QCOMPARE(f.row(), s.row);
        QCOMPARE(f.column(), s.column);
        QCOMPARE(f.table.currentIndex(), s.row);
        QCOMPARE(f.focus(), static_cast<QWidget*>(f.grid)); // Tab stays inside the grid
    }
    // Arrows run across cells from inside an editor that has just been opened, too.
    key(Qt::Key_F2);
    QVERIFY(f.editing());
    key(Qt::Key_Right);
    QCOMPARE(f.row(), 2);
    QCOMPARE(f.column(), 0);
    QVERIFY(!f.editing());
    QCOMPARE(f.table.rowCount(), 3u);
    QCOMPARE(f.table.state(), PointTable::State::Browsing);
}

void PointGridTest::insertDownAndCtrlDelete() {
    Fixture f({{0, 1}, {10, 2}, {20, 3}}, false);
    key(Qt::Key_Down);
    key(Qt::Key_Insert);
    QCOMPARE(f.table.rowCount(), 4u);
    QCOMPARE(f.row(), 1);
    QCOMPARE(f.cell(1, 0), QString());
    QCOMPARE(f.table.state(), PointTable::State::Inserting);
    key(Qt::Key_Down); // nothing typed: the inserted row goes away
    QCOMPARE(f.table.rowCount(), 3u);
    QCOMPARE(f.row(), 1);
    QCOMPARE(f.cell(1, 0), QStringLiteral("10"));

    key(Qt::Key_Down);
    key(Qt::Key_Down); // on the last row: a new one is appended
    QCOMPARE(f.table.rowCount(), 4u);
    QCOMPARE(f.row(), 3);
    key(Qt::Key_Down); // still blank: it is replaced, not stacked
    QCOMPARE(f.table.rowCount(), 4u);
    key(Qt::Key_Up);
    QCOMPARE(f.table.rowCount(), 3u);
    QCOMPARE(f.row(), 2);

    // Ctrl+Delete asks first; Cancel keeps the row, OK deletes it.
    f.seam.answerConfirm(false);
    key(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(f.seam.confirmations.size(), 1);
    QCOMPARE(f.seam.confirmations[0].caption, QStringLiteral("Confirm"));
    QCOMPARE(f.seam.confirmations[0].text, QStringLiteral("Delete record?"));
    QCOMPARE(f.table.rowCount(), 3u);
    f.seam.answerConfirm(true);
    key(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(f.stations(), (QList<double>{0, 10}));
    QCOMPARE(f.row(), 1); // the new last row
    // A plain Delete does not delete rows.
    key(Qt::Key_Delete);
    QCOMPARE(f.table.rowCount(), 2u);
    QCOMPARE(f.seam.unscripted, 0);

    // Ctrl+Delete from inside the editor of a pending row discards the row.
    key(Qt::Key_Insert);
    type(QStringLiteral("7"));
    f.seam.answerConfirm(true);
    key(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(f.stations(), (QList<double>{0, 10}));
    QCOMPARE(f.table.state(), PointTable::State::Browsing);
}

void PointGridTest::contextMenuDeleteAndInsert() {
    Fixture f({{0, 1}, {10, 2}, {20, 3}}, false);
    key(Qt::Key_Down);
    f.grid->deleteRowAction()->trigger();
    QVERIFY(f.seam.confirmations.isEmpty()); // no question asked
    QCOMPARE(f.stations(), (QList<double>{0, 20}));
    QCOMPARE(f.row(), 1);

    f.grid->insertRowAction()->trigger();
    QCOMPARE(f.table.rowCount(), 3u);
    QCOMPARE(f.row(), 1);
    QCOMPARE(f.table.state(), PointTable::State::Inserting);
    // A focused pending row is only discarded.
    f.grid->deleteRowAction()->trigger();
    QCOMPARE(f.stations(), (QList<double>{0, 20}));
    QCOMPARE(f.table.state(), PointTable::State::Browsing);

    // The last row: the new last row becomes current.
    QCOMPARE(f.row(), 1);
    f.grid->deleteRowAction()->trigger();
    QCOMPARE(f.stations(), (QList<double>{0}));
    QCOMPARE(f.row(), 0);
    f.grid->deleteRowAction()->trigger();
    QCOMPARE(f.table.rowCount(), 0u);
    // Nothing is focused any more: nothing happens, and no error.
    f.grid->deleteRowAction()->trigger();
    QVERIFY(f.seam.messages.isEmpty());
    // Typing into the empty grid starts a row again.
    type(QStringLiteral("3"));
    key(Qt::Key_Tab);
    QCOMPARE(f.table.rowCount(), 1u);
    QCOMPARE(f.cell(0, 0), QStringLiteral("3"));
}

void PointGridTest::clickOpensTheEditor() {
    Fixture f({{0, 1}, {10, 2}}, false);
    const QRect r = f.grid->visualRect(f.grid->model()->index(1, 1));
    QTest::mouseClick(f.grid->viewport(), Qt::LeftButton, {}, r.center());
    QCOMPARE(f.row(), 1);
    QCOMPARE(f.column(), 1);
    QVERIFY(f.editing());
    // Opening the editor changes nothing; typing does.
    QCOMPARE(f.table.state(), PointTable::State::Browsing);
    auto* editor = qobject_cast<QLineEdit*>(f.focus());
    QVERIFY(editor);
    editor->selectAll();
    type(QStringLiteral("7"));
    QCOMPARE(f.table.state(), PointTable::State::Editing);
    key(Qt::Key_Up);
    QCOMPARE(f.cell(1, 1), QStringLiteral("7"));
}

void PointGridTest::commandsThatReplaceTheTableMoveTheCursor() {
    Fixture f({{0, 1}, {10, 2}});
    f.table.suspendViews();
    f.table.clear();
    for (int i = 0; i < 1000; ++i)
        f.table.appendRow(i, -i);
    f.table.first();
    f.table.resumeViews();
    QCOMPARE(f.grid->model()->rowCount(), 1000);
    QCOMPARE(f.row(), 0);
    f.table.last();
    f.table.insertPending();
    QCOMPARE(f.row(), 999);
    QCOMPARE(f.table.state(), PointTable::State::Inserting);
    // A command meeting a row without a station moves the focus to that cell; the command
    // itself shows the error.
    f.table.setElevation(5);
    f.other->setFocus();
    f.seam.messages.clear();
    QVERIFY_THROWS_EXCEPTION(Error, f.table.first());
    QCOMPARE(f.row(), 999);
    QCOMPARE(f.column(), 0);
    QCOMPARE(f.focus(), static_cast<QWidget*>(f.grid));
}

void PointGridTest::focusedGridCanBeDestroyed() {
    // Destroying a focused top-level grid moves the focus away during the destruction; the
    // grid must not try to settle then.
    PointTable table;
    table.appendRow(1, 2);
    table.appendPending();
    table.setElevation(3);
    ScriptedSeam seam;
    {
        PointGrid grid(table, seam, '.');
        grid.show();
        QApplication::setActiveWindow(&grid);
        grid.setFocus();
        QVERIFY(grid.hasFocus());
    }
    QVERIFY(seam.messages.isEmpty());
    QCOMPARE(table.state(), PointTable::State::Inserting);
}

QTEST_MAIN(PointGridTest)
#include "point_grid_test.moc"
