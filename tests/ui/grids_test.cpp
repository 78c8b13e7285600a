// SPDX-License-Identifier: GPL-3.0-or-later
// Typing a section into the point grid and seeing it in the chart; deleting and sorting in the
// rating window.

#include "components/chart/Chart.h"
#include "components/grid/PointGrid.h"
#include "components/grid/RatingGrid.h"
#include "components/widgets/IncrementSpinBox.h"
#include "tests/support/ChartPoints.h"
#include "tests/support/Controls.h"
#include "tests/support/TestProgram.h"
#include "tests/support/UserInput.h"
#include "ui/AboutBox.h"
#include "ui/AdcpImportWarning.h"
#include "ui/BoundsPrompt.h"
#include "ui/EdgeWarning.h"
#include "ui/MainWindow.h"
#include "ui/ProgressDialog.h"
#include "ui/RatingWindow.h"
#include "ui/Workspace.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QtTest>

using namespace korvadel;

class GridsTest : public QObject {
    Q_OBJECT
private slots:
    void typedPointsArePlacedAndDrawn();
    void ratingWindowDeletesAfterConfirmationAndSortsOnlyTheDisplay();
};

void GridsTest::typedPointsArePlacedAndDrawn() {
    TestProgram program;
    MainWindow* main = program.main();
    PointGrid* grid = ui(main).pointGrid;
    grid->setFocus();
    QTRY_VERIFY(grid->hasFocus() || grid->isAncestorOf(QApplication::focusWidget()));

    // Station, Tab, Elevation, Tab runs on to a new row; rows out of order are placed.
    const QStringList cells{QStringLiteral("10"), QStringLiteral("10"), QStringLiteral("0"),
                            QStringLiteral("10"), QStringLiteral("5"),  QStringLiteral("2")};
    for (const QString& cell : cells) {
        type(cell);
        key(Qt::Key_Tab);
    }
    // Leaving the grid settles the row being typed and drops the untouched new one.
    ui(main).minimumStage->setFocus();
    QTRY_COMPARE(main->workspace().document().points.state(), PointTable::State::Browsing);

    const QList<QPointF> expected{{0, 10}, {5, 2}, {10, 10}};
    QCOMPARE(chartPoints(*ui(main).sectionChart), expected);
    PointTable& points = main->workspace().document().points;
    QCOMPARE(points.rowCount(), std::size_t{3});
    QCOMPARE(grid->model()->index(1, 0).data().toString(), QStringLiteral("5"));

    // And the rating over what was typed: the bed at 2 between two banks at 10.
    ui(main).minimumStage->setText(QStringLiteral("2"));
    ui(main).maximumStage->setText(QStringLiteral("10"));
    ui(main).stageIncrement->setIncrement(1.0);
    ui(main).createRatingButton->click();
    QCOMPARE(program.seam.messages.size(), 0);
    QCOMPARE(program.ratingWindow()->workspace().rating().rowCount(), std::size_t{9});
    QCOMPARE(program.ratingWindow()->workspace().rating().areaAt(8), 40.0);
}

void GridsTest::ratingWindowDeletesAfterConfirmationAndSortsOnlyTheDisplay() {
    TestProgram program;
    program.rateTrapezoid(QStringLiteral("4"));
    RatingWindow* window = program.ratingWindow();
    RatingGrid* grid = ui(window).ratingGrid;
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
    QCOMPARE(window->workspace().rating().rowCount(), std::size_t{5});
    QCOMPARE(ui(window).ratingChart->seriesGraph()->dataCount(), 5);

    // Confirmed: stage 2 leaves both.
    program.seam.answerConfirm(true);
    QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(window->workspace().rating().rowCount(), std::size_t{4});
    QCOMPARE(ui(window).ratingChart->seriesGraph()->dataCount(), 4);
    for (std::size_t row = 0; row < window->workspace().rating().rowCount(); ++row)
        QVERIFY(window->workspace().rating().stageAt(row) != 2.0);

    // A header click sorts the display by that column, ascending (here the table's own order,
    // areas rising with stage); a second click turns it round. The table and the chart keep
    // ascending stage.
    const auto shownStages = [grid] {
        QStringList stages;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            stages << grid->model()->index(row, 0).data().toString();
        return stages;
    };
    grid->horizontalHeader()->sectionClicked(1);
    QCOMPARE(shownStages().join(QLatin1Char(' ')), QStringLiteral("0 1 3 4"));
    QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(grid->horizontalHeader()->sectionViewportPosition(1) + 5, 5));
    QCOMPARE(shownStages().join(QLatin1Char(' ')), QStringLiteral("4 3 1 0"));
    QCOMPARE(window->workspace().rating().stageAt(0), 0.0);
    const QList<QPointF> chart = chartPoints(*ui(window).ratingChart);
    for (int i = 1; i < chart.size(); ++i)
        QVERIFY(chart[i - 1].x() <= chart[i].x());
}

QTEST_MAIN(GridsTest)
#include "grids_test.moc"
