// SPDX-License-Identifier: GPL-3.0-or-later
// The windows that look at a section beside its rating: the hydraulic properties (worked by
// hand, following the rating and the section, and written as the command line writes them), the
// section check (its rows lead to the points) and two surveys compared (the table and its file
// the command line's). And the water surface the main chart draws at the animation's level.

#include "components/chart/Chart.h"
#include "components/chart/WaterSurfaceOverlay.h"
#include "components/grid/PointGrid.h"
#include "components/grid/ReadOnlyTableModel.h"
#include "model/CrossSectionDocument.h"
#include "model/RatingTable.h"
#include "tests/support/TestProgram.h"
#include "ui/HydraulicPropertiesWindow.h"
#include "ui/MainWindow.h"
#include "ui/RatingWindow.h"
#include "ui/SectionCheckWindow.h"
#include "ui/SurveyComparisonWindow.h"
#include "ui/Workspace.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <cmath>

using namespace korvadel;

namespace {

const QString kPineRun = QStringLiteral(KORVADEL_EXAMPLES "/pine-run.kvd");
const QString kResurvey = QStringLiteral(KORVADEL_EXAMPLES "/pine-run-resurvey.csv");

QByteArray cliOutput(const QStringList& arguments) {
    QProcess cli;
    cli.start(QStringLiteral(KORVADEL_CLI), arguments);
    if (!cli.waitForFinished(60000) || cli.exitCode() != 0)
        qWarning("korvadel-cli failed: %s", cli.readAllStandardError().constData());
    return cli.readAllStandardOutput();
}

void loadSection(TestProgram& program, const QString& path) {
    program.seam.chooseFile(path);
    program.main()->loadAction->trigger();
}

// Pine Run loaded and rated (gage heights 0 to 2.5 by 0.5 over datum 100), its properties shown.
HydraulicPropertiesWindow* showPineRunProperties(TestProgram& program) {
    loadSection(program, kPineRun);
    program.main()->createRatingButton->click();
    program.ratingWindow()->propertiesAction->trigger();
    return program.program.propertiesWindow();
}

int pointRow(PointTable& points, double station) {
    for (std::size_t row = 0; row < points.rowCount(); ++row)
        if (points.stationAt(row) == station)
            return static_cast<int>(row);
    return -1;
}

} // namespace

class AnalysisWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void init() { startDir_ = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(startDir_); }
    void propertiesFollowTheRatingAndTheSectionAndExportTheCommandLinesBytes();
    void refusedManningInputNamesItselfAndComputesNoFlow_data();
    void refusedManningInputNamesItselfAndComputesNoFlow();
    void checkListLeadsToThePointAndForgetsTheFilesOrderAfterAnEdit();
    void comparisonTableAndExportAreTheCommandLines();
    void mainChartDrawsTheWaterSurfaceAtTheAnimationsLevel();

private:
    QString startDir_;
};

void AnalysisWindowsTest::propertiesFollowTheRatingAndTheSectionAndExportTheCommandLinesBytes() {
    QTemporaryDir folder;
    TestProgram program;
    HydraulicPropertiesWindow* window = showPineRunProperties(program);
    QVERIFY(window->isVisible());
    QCOMPARE(window->tableView->model()->columnCount(), 7);
    QVERIFY(!window->message->isVisible());

    // Stage 1 by hand: level 101, banks reached at stations 4 and 12 over a bed 4 wide.
    const PropertyTable& table = window->table();
    QCOMPARE(table.stages, (std::vector<double>{0, 0.5, 1, 1.5, 2, 2.5}));
    const HydraulicProperties& p = table.properties[2];
    QCOMPARE(p.area, 6.0);
    QCOMPARE(p.topWidth, 8.0);
    QCOMPARE(p.wettedPerimeter, 4 + 2 * std::sqrt(5.0));
    QCOMPARE(p.hydraulicRadius, 6 / (4 + 2 * std::sqrt(5.0)));
    QCOMPARE(p.meanDepth, 0.75);
    QCOMPARE(p.maxDepth, 1.0);
    // At stage 2 the bank hollow holds water of its own (area 1, width 4).
    QCOMPARE(table.properties[4].area, 17.0);
    QCOMPARE(table.properties[4].topWidth, 16.0);

    window->roughness->setText(QStringLiteral("0.035"));
    window->slope->setText(QStringLiteral("0.0005"));
    QTRY_COMPARE(window->tableView->model()->columnCount(), 9);
    QCOMPARE(window->tableView->model()->index(2, 8).data().toString(),
             QStringLiteral("3.04560631411336"));
    program.seam.chooseFile(folder.filePath(QStringLiteral("properties")));
    window->exportButton->click();
    QCOMPARE(program.seam.messages.size(), 0);
    QCOMPARE(program.seam.fileDialogs.last().defaultExtension, QStringLiteral("csv"));
    QCOMPARE(
        readFile(folder.filePath(QStringLiteral("properties.csv"))),
        cliOutput({QStringLiteral("properties"), kPineRun, QStringLiteral("--manning-n"),
                   QStringLiteral("0.035"), QStringLiteral("--slope"), QStringLiteral("0.0005")}));

    // Connected water only leaves the hollow out.
    window->connectedOnly->setChecked(true);
    QTRY_COMPARE(window->table().properties[4].area, 16.0);
    QCOMPARE(window->table().properties[4].topWidth, 12.0);
    window->connectedOnly->setChecked(false);

    // A row deleted from the rating grid leaves the table too.
    RatingTable& rating = program.rating();
    rating.moveTo(1);
    rating.deleteCurrent();
    QTRY_COMPARE(window->table().stages, (std::vector<double>{0, 1, 1.5, 2, 2.5}));
    QCOMPARE(window->table().properties[1].area, 6.0);

    // The section filled in at the hollow: the properties follow at once, the rating's stages
    // stay.
    PointTable& points = program.document().points;
    points.moveTo(static_cast<std::size_t>(pointRow(points, 16)));
    points.setElevation(102.0);
    points.commit();
    QTRY_COMPARE(window->table().properties[3].area, 16.0);
    QCOMPARE(window->table().stages.size(), std::size_t{5});

    // A new rating brings every stage back.
    program.main()->createRatingButton->click();
    QTRY_COMPARE(window->table().stages.size(), std::size_t{6});
}

void AnalysisWindowsTest::refusedManningInputNamesItselfAndComputesNoFlow_data() {
    QTest::addColumn<QString>("n");
    QTest::addColumn<QString>("slope");
    QTest::addColumn<QString>("message");
    QTest::newRow("n below 0") << QStringLiteral("-0.03") << QStringLiteral("0.001")
                               << QStringLiteral("Manning's n must be greater than 0, not -0.03.");
    QTest::newRow("n not a number")
        << QStringLiteral("abc") << QStringLiteral("0.001")
        << QStringLiteral("Manning's n: 'abc' is not a valid floating point value.");
    QTest::newRow("slope 0") << QStringLiteral("0.03") << QStringLiteral("0")
                             << QStringLiteral("Slope must be greater than 0, not 0.");
    QTest::newRow("slope missing")
        << QStringLiteral("0.03") << QString()
        << QStringLiteral(
               "Enter the slope as well as Manning's n for the conveyance and the discharge.");
    QTest::newRow("beyond a number")
        << QStringLiteral("1E-300") << QStringLiteral("1E300")
        << QStringLiteral(
               "Manning's n 1E-300 and the slope 1E300 give a conveyance or discharge too "
               "large to be represented.");
}

void AnalysisWindowsTest::refusedManningInputNamesItselfAndComputesNoFlow() {
    QFETCH(QString, n);
    QFETCH(QString, slope);
    QFETCH(QString, message);
    QTemporaryDir folder;
    TestProgram program;
    HydraulicPropertiesWindow* window = showPineRunProperties(program);
    window->roughness->setText(n);
    window->slope->setText(slope);
    window->refresh();
    QCOMPARE(window->message->text(), message);
    QVERIFY(window->message->isVisible());
    QCOMPARE(window->tableView->model()->columnCount(), 7);
    QVERIFY(!window->table().manning);
    QCOMPARE(window->table().properties[2].area, 6.0);

    // The export does not write a table the inputs did not ask for.
    window->exportButton->click();
    QCOMPARE(program.seam.fileDialogs.size(), 1); // the load's only
    QCOMPARE(program.seam.messages.size(), 1);
    QCOMPARE(program.seam.messages.last().text, message);
}

void AnalysisWindowsTest::checkListLeadsToThePointAndForgetsTheFilesOrderAfterAnEdit() {
    TestProgram program;
    loadSection(program, kPineRun);
    MainWindow* main = program.main();
    main->maximumStage->setText(QStringLiteral("2"));
    main->checkSectionAction->trigger();
    SectionCheckWindow* window = program.program.sectionCheckWindow();
    QVERIFY(window->isVisible());
    QCOMPARE(window->findingList->topLevelItemCount(), 1);
    QTreeWidgetItem* hollow = window->findingList->topLevelItem(0);
    QCOMPARE(hollow->text(0), QStringLiteral("warning"));
    QCOMPARE(hollow->text(1), QStringLiteral("isolated-water"));
    QCOMPARE(hollow->text(2), QStringLiteral("16"));
    QVERIFY(hollow->text(3).contains(QStringLiteral("between stations 14 and 18")));

    PointTable& points = program.document().points;
    points.first();
    window->findingList->setCurrentItem(hollow);
    QCOMPARE(points.currentIndex(), 7);
    QCOMPARE(main->pointGrid->currentIndex().row(), 7);

    // The resurvey lists its stations from right to left; the check says so until the points
    // change.
    program.seam.chooseFile(kResurvey);
    main->importCommaDelimitedAction->trigger();
    main->maximumStage->setText(QStringLiteral("2.5"));
    main->checkSectionAction->trigger();
    QCOMPARE(window->findingList->topLevelItemCount(), 1);
    QCOMPARE(window->findingList->topLevelItem(0)->text(1), QStringLiteral("unsorted-input"));
    QVERIFY(window->findingList->topLevelItem(0)->text(3).contains(QStringLiteral("10 stations")));
    // Selecting a row without a station leaves the grid where it is.
    points.moveTo(3);
    window->findingList->setCurrentItem(window->findingList->topLevelItem(0));
    QCOMPARE(points.currentIndex(), 3);

    points.moveTo(0);
    points.setElevation(103.5);
    points.commit();
    main->checkSectionAction->trigger();
    QCOMPARE(window->findingList->topLevelItemCount(), 0);
    QVERIFY(window->summary->text().startsWith(QStringLiteral("No findings")));
    // Undone back to the points as read, the order counts again.
    main->undoAction->trigger();
    main->checkSectionAction->trigger();
    QCOMPARE(window->findingList->topLevelItemCount(), 1);
}

void AnalysisWindowsTest::comparisonTableAndExportAreTheCommandLines() {
    QTemporaryDir folder;
    TestProgram program;
    loadSection(program, kPineRun);
    MainWindow* main = program.main();
    SurveyComparisonWindow* window = program.program.comparisonWindow();
    QCOMPARE(window->openDialog.filter,
             QStringLiteral("Korvadel File (*.kvd)|*.kvd|CSV (Comma Delimited) Files "
                            "(*.csv)|*.CSV|Text Files (*.txt)|*.TXT|WinRiver Ascii Out "
                            "Files|*t.000;*ASC.TXT|All Files (*.*)|*.*"));

    // A .csv is read as comma-delimited whatever the filter shows, as on the command line; a
    // .txt picked with the "Text Files" entry is too.
    program.seam.chooseFile(kResurvey, 1);
    main->compareSectionAction->trigger();
    QCOMPARE(program.seam.messages.size(), 0);
    QVERIFY(window->isVisible());
    QCOMPARE(window->earlierFileName(), QStringLiteral("pine-run-resurvey.csv"));
    const QString resurvey =
        writeFile(folder.filePath(QStringLiteral("resurvey.txt")), readFile(kResurvey));
    program.seam.chooseFile(resurvey, 3);
    main->compareSectionAction->trigger();
    QCOMPARE(program.seam.messages.size(), 0);
    QCOMPARE(window->earlierFileName(), QStringLiteral("resurvey.txt"));

    // The picked file is the old survey, the current section the new one: the scoured resurvey
    // holds more water than the section now in the window.
    const std::vector<ComparisonRow>& rows = window->comparison().rows;
    QCOMPARE(rows.size(), std::size_t{6});
    QCOMPARE(rows[2].stage, 1.0);
    QCOMPARE(rows[2].areaOld, 8.6);
    QCOMPARE(rows[2].areaNew, 6.0);
    QCOMPARE(rows[2].difference, -2.6);
    QCOMPARE(*rows[2].percent, -2.6 / 8.6 * 100);
    QCOMPARE(window->tableView->model()->index(2, 5).data().toString(), QStringLiteral("yes"));
    QCOMPARE(window->summary->text(),
             QStringLiteral("Largest difference -100 % at stage 0; 6 of 6 stages beyond the "
                            "threshold of 5 %."));

    window->threshold->setText(QStringLiteral("10"));
    QCOMPARE(window->comparison().summary.beyondThreshold, std::size_t{5});
    program.seam.chooseFile(folder.filePath(QStringLiteral("comparison")));
    window->exportButton->click();
    QCOMPARE(program.seam.messages.size(), 0);
    QCOMPARE(
        readFile(folder.filePath(QStringLiteral("comparison.csv"))),
        cliOutput({QStringLiteral("compare"), kResurvey, kPineRun, QStringLiteral("--min"),
                   QStringLiteral("0"), QStringLiteral("--max"), QStringLiteral("2.5"),
                   QStringLiteral("--increment"), QStringLiteral("0.5"), QStringLiteral("--datum"),
                   QStringLiteral("100"), QStringLiteral("--threshold"), QStringLiteral("10")}));

    window->threshold->setText(QStringLiteral("ten"));
    QCOMPARE(window->summary->text(),
             QStringLiteral("Threshold: 'ten' is not a valid floating point value."));
}

void AnalysisWindowsTest::mainChartDrawsTheWaterSurfaceAtTheAnimationsLevel() {
    TestProgram program;
    program.enterTrapezoid(QStringLiteral("5"));
    MainWindow* main = program.main();
    main->sectionChart->refreshFromTable();
    main->sectionChart->replot();
    // The level before any animation, 0.00, stands on the bed: no water.
    const WaterSurfaceOverlay& surface = main->waterSurface();
    QCOMPARE(surface.topWidth(), 0.0);
    QVERIFY(surface.labelText().isEmpty());
    QVERIFY(!surface.surfaceGraph()->visible());

    main->animateButton->click(); // the level starts at the maximum, 5
    main->sectionChart->replot();
    QCOMPARE(surface.topWidth(), 8.0);
    QCOMPARE(surface.labelText(), QStringLiteral("Top width 8"));
    QCPGraphDataContainer& line = *surface.surfaceGraph()->data();
    QCOMPARE(line.size(), 2);
    QCOMPARE(QPointF(line.at(0)->key, line.at(0)->value), QPointF(1, 5));
    QCOMPARE(QPointF(line.at(1)->key, line.at(1)->value), QPointF(9, 5));
    main->animateButton->click();
}

QTEST_MAIN(AnalysisWindowsTest)
#include "analysis_windows_test.moc"
