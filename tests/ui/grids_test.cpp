// Typing a section into the point grid and seeing it in the chart; deleting and sorting in the
// rating window.

#include "components/Chart.h"
#include "components/IncrementSpinBox.h"
#include "components/PointGrid.h"
#include "components/RatingGrid.h"
#include "support/ChartPoints.h"
#include "support/TestProgram.h"
#include "ui/ElevWarn.h"
#include "ui/Importwarning.h"
#include "ui/Main.h"
#include "ui/Progress.h"
#include "ui/SAForm.h"
#include "ui/about.h"
#include "ui/tableprompt.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QtTest>

using namespace korvadel;

namespace {

// Keys go where the user's would: to whatever has the focus, the grid or its open editor.
void typeCell(QWidget* grid, const QString& text) {
    auto target = [grid] {
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus : grid;
    };
    for (const QChar c : text)
        QTest::keyClick(target(), c.toLatin1());
    QTest::keyClick(target(), Qt::Key_Tab);
}

} // namespace

class GridsTest : public QObject {
    Q_OBJECT
private slots:
    void typedPointsArePlacedAndDrawn();
    void ratingWindowDeletesAfterConfirmationAndSortsOnlyTheDisplay();
};

void GridsTest::typedPointsArePlacedAndDrawn() {
    TestProgram program;
    TForm1* main = program.main();
    PointGrid* grid = main->DBGrid1;
    grid->setFocus();
    QTRY_VERIFY(grid->hasFocus() || grid->isAncestorOf(QApplication::focusWidget()));

    // Station, Tab, Elevation, Tab runs on to a new row; rows out of order are placed.
    const QStringList cells{QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("0"),
                            QStringLiteral("10"), QStringLiteral("5"),  QStringLiteral("2")};
    for (const QString& cell : cells)
        typeCell(grid, cell);
    // Leaving the grid settles the row being typed and drops the untouched new one.
    main->edMinStage->setFocus();
    QTRY_COMPARE(main->document().points.state(), PointTable::State::Browsing);

    const QList<QPointF> expected{{0, 10}, {5, 2}, {10, 10}};
    QCOMPARE(chartPoints(*main->DBChart1), expected);
    PointTable& points = main->document().points;
    QCOMPARE(points.rowCount(), std::size_t{3});
    QCOMPARE(grid->model()->index(1, 0).data().toString(), QStringLiteral("5"));

    // And the rating over what was typed: the bed at 2 between two banks at 10.
    main->edMinStage->setText(QStringLiteral("2"));
    main->edMaxStage->setText(QStringLiteral("10"));
    main->SpinStageInc->setIncrement(1.0);
    main->Button1->click();
    QCOMPARE(program.seam.messages.size(), 0);
    QCOMPARE(program.ratingWindow()->MemSA.rowCount(), std::size_t{9});
    QCOMPARE(program.ratingWindow()->MemSA.areaAt(8), 40.0);
}

void GridsTest::ratingWindowDeletesAfterConfirmationAndSortsOnlyTheDisplay() {
    TestProgram program;
    program.rateTrapezoid(QStringLiteral("4"));
    TForm2* window = program.ratingWindow();
    RatingGrid* grid = window->DBGrid1;
    QCOMPARE(grid->model()->rowCount(), 5);
    QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Stage"));
    QCOMPARE(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Area"));
    TestProgram::activate(window);
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(2, 0));

    // Cancelled: the row stays in the table and the chart.
    program.seam.answerConfirm(false);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(program.seam.confirmations.size(), 1);
    QCOMPARE(program.seam.confirmations.first().caption, QStringLiteral("Confirm"));
    QCOMPARE(program.seam.confirmations.first().text, QStringLiteral("Delete record?"));
    QCOMPARE(window->MemSA.rowCount(), std::size_t{5});
    QCOMPARE(window->DBChart1->seriesGraph()->dataCount(), 5);

    // Confirmed: stage 2 leaves both.
    program.seam.answerConfirm(true);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(window->MemSA.rowCount(), std::size_t{4});
    QCOMPARE(window->DBChart1->seriesGraph()->dataCount(), 4);
    for (std::size_t row = 0; row < window->MemSA.rowCount(); ++row)
        QVERIFY(window->MemSA.stageAt(row) != 2.0);

    // A header click reorders the display only; the chart keeps ascending area.
    grid->horizontalHeader()->sectionClicked(1);
    QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(grid->horizontalHeader()->sectionViewportPosition(1) + 5, 5));
    const QString firstShown = grid->model()->index(0, 0).data().toString();
    const QString lastShown = grid->model()->index(3, 0).data().toString();
    QVERIFY2(firstShown != QStringLiteral("0") || lastShown != QStringLiteral("4"),
             qPrintable(firstShown + QLatin1Char(' ') + lastShown));
    QCOMPARE(window->MemSA.stageAt(0), 0.0);
    const QList<QPointF> chart = chartPoints(*window->DBChart1);
    for (int i = 1; i < chart.size(); ++i)
        QVERIFY(chart[i - 1].x() <= chart[i].x());
}

QTEST_MAIN(GridsTest)
#include "grids_test.moc"
