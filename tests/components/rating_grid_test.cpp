// SPDX-License-Identifier: GPL-3.0-or-later
// The rating grid: read-only, sorts only what it shows, deletes from the table on request.

#include "components/grid/RatingGrid.h"
#include "components/grid/RatingTableModel.h"
#include "model/RatingTable.h"
#include "tests/support/ScriptedSeam.h"
#include "tests/support/UserInput.h"

#include <QApplication>
#include <QHeaderView>
#include <QSortFilterProxyModel>
#include <QtTest>

using namespace korvadel;

namespace {

QStringList strings(std::initializer_list<const char*> items) {
    QStringList out;
    for (const char* item : items)
        out << QString::fromLatin1(item);
    return out;
}

// Stages 0..4 with areas that do not grow with the stage, so sorting by area shows.
struct Fixture {
    RatingTable table;
    ScriptedSeam seam;
    RatingGrid grid{table, seam, ','};

    Fixture() {
        const double areas[] = {3.5, 1.25, 4, 0, 2};
        table.suspendViews();
        table.clear();
        for (int i = 0; i < 5; ++i)
            table.appendRow(i * 0.5, areas[i]);
        table.first();
        table.resumeViews();
        grid.resize(250, 300);
        grid.show();
        QApplication::setActiveWindow(&grid);
        grid.setFocus();
    }
    QStringList column(int c) const {
        QStringList out;
        for (int r = 0; r < grid.model()->rowCount(); ++r)
            out << grid.model()->index(r, c).data().toString();
        return out;
    }
    QList<double> tableStages() const {
        QList<double> out;
        for (std::size_t i = 0; i < table.rowCount(); ++i)
            out << table.stageAt(i);
        return out;
    }
    void clickHeader(int section) {
        QHeaderView* h = grid.horizontalHeader();
        const int x = h->sectionViewportPosition(section) + h->sectionSize(section) / 2;
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(x, h->height() / 2));
    }
};

} // namespace

class RatingGridTest : public QObject {
    Q_OBJECT
private slots:
    void columnsAndFormat();
    void cannotBeEditedOrExtended();
    void headerClickSortsTheDisplayOnly();
    void ctrlDeleteRemovesTheRowFromTheTable();
    void newRatingShowsInGenerationOrder();
};

void RatingGridTest::columnsAndFormat() {
    Fixture f;
    QCOMPARE(f.grid.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Stage"));
    QCOMPARE(f.grid.model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Area"));
    QCOMPARE(f.grid.columnWidth(0), 83);
    QCOMPARE(f.grid.columnWidth(1), 94);
    // General number format with the separator the grid was given.
    QCOMPARE(f.column(0), strings({"0", "0,5", "1", "1,5", "2"}));
    QCOMPARE(f.column(1), strings({"3,5", "1,25", "4", "0", "2"}));
    QCOMPARE(f.grid.currentIndex().row(), 0);
}

void RatingGridTest::cannotBeEditedOrExtended() {
    Fixture f;
    key(Qt::Key_5);
    key(Qt::Key_F2);
    QTest::mouseDClick(f.grid.viewport(), Qt::LeftButton, {},
                       f.grid.visualRect(f.grid.model()->index(0, 0)).center());
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(&f.grid));
    for (int i = 0; i < 6; ++i)
        key(Qt::Key_Down);
    QCOMPARE(f.grid.currentIndex().row(), 4);
    key(Qt::Key_Insert);
    key(Qt::Key_Tab);
    key(Qt::Key_Tab); // last cell: nowhere further to go
    QCOMPARE(f.grid.currentIndex().row(), 4);
    QCOMPARE(f.grid.currentIndex().column(), 1);
    QCOMPARE(f.table.rowCount(), 5u);
    QCOMPARE(f.column(0), strings({"0", "0,5", "1", "1,5", "2"}));
    // The cursor is the table's cursor.
    QCOMPARE(f.table.currentIndex(), 4);
    key(Qt::Key_Up);
    key(Qt::Key_Left);
    QCOMPARE(f.table.currentIndex(), 3);
}

void RatingGridTest::headerClickSortsTheDisplayOnly() {
    Fixture f;
    f.clickHeader(1);
    QCOMPARE(f.column(1), strings({"0", "1,25", "2", "3,5", "4"}));
    QCOMPARE(f.column(0), strings({"1,5", "0,5", "2", "0", "1"}));
    QCOMPARE(f.tableStages(), (QList<double>{0, 0.5, 1, 1.5, 2}));
    f.clickHeader(1);
    QCOMPARE(f.column(1), strings({"4", "3,5", "2", "1,25", "0"}));
    f.clickHeader(0);
    QCOMPARE(f.column(0), strings({"0", "0,5", "1", "1,5", "2"}));
    // Moving in the sorted display moves the table to the row shown.
    f.clickHeader(1);
    f.clickHeader(1);
    f.grid.setCurrentIndex(f.grid.model()->index(1, 0));
    QCOMPARE(f.table.area(), 3.5);
}

void RatingGridTest::ctrlDeleteRemovesTheRowFromTheTable() {
    Fixture f;
    key(Qt::Key_Down);
    f.seam.answerConfirm(false);
    key(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(f.table.rowCount(), 5u);
    QCOMPARE(f.seam.confirmations.size(), 1);
    QCOMPARE(f.seam.confirmations[0].caption, QStringLiteral("Confirm"));
    QCOMPARE(f.seam.confirmations[0].text, QStringLiteral("Delete record?"));

    f.seam.answerConfirm(true);
    key(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(f.tableStages(), (QList<double>{0, 1, 1.5, 2}));
    QCOMPARE(f.grid.currentIndex().row(), 1);

    // In a sorted display the row shown is the one deleted: the largest area, stage 1.
    f.clickHeader(1);
    f.clickHeader(1);
    f.grid.setCurrentIndex(f.grid.model()->index(0, 1));
    f.seam.answerConfirm(true);
    key(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(f.tableStages(), (QList<double>{0, 1.5, 2}));
    QCOMPARE(f.column(1), strings({"3,5", "2", "0"}));
    QVERIFY(f.seam.messages.isEmpty());
    QCOMPARE(f.seam.unscripted, 0);
}

void RatingGridTest::newRatingShowsInGenerationOrder() {
    Fixture f;
    f.clickHeader(1);
    f.table.suspendViews();
    f.table.clear();
    f.table.appendRow(7, 9);
    f.table.appendRow(8, 1);
    f.table.first();
    f.table.resumeViews();
    QCOMPARE(f.column(0), strings({"7", "8"}));
    QCOMPARE(f.grid.currentIndex().row(), 0);
    QVERIFY(!f.grid.horizontalHeader()->isSortIndicatorShown());
    // Emptied, then deleting asks nothing and does nothing.
    f.table.clear();
    key(Qt::Key_Delete, Qt::ControlModifier);
    QVERIFY(f.seam.confirmations.isEmpty());
}

QTEST_MAIN(RatingGridTest)
#include "rating_grid_test.moc"
