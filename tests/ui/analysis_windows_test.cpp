// SPDX-License-Identifier: GPL-3.0-or-later
// The windows that look at a section beside its rating: the hydraulic properties (worked by
// hand, following the rating and the section, and written as the command line writes them), the
// section check (its rows lead to the points) and two surveys compared (the table and its file
// the command line's). And the water surface the main chart draws at the animation's level.

#include "components/chart/Chart.h"
#include "components/chart/WaterSurfaceOverlay.h"
#include "components/grid/PointGrid.h"
#include "components/grid/ReadOnlyTableModel.h"
#include "components/widgets/IncrementSpinBox.h"
#include "components/widgets/NoticeLine.h"
#include "model/CrossSectionDocument.h"
#include "model/RatingTable.h"
#include "tests/support/CliRun.h"
#include "tests/support/Controls.h"
#include "tests/support/TestProgram.h"
#include "ui/HydraulicPropertiesWindow.h"
#include "ui/MainWindow.h"
#include "ui/RatingWindow.h"
#include "ui/SectionCheckWindow.h"
#include "ui/SurveyComparisonWindow.h"
#include "ui/Workspace.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <cmath>

using namespace korvadel;

namespace {

const QString kPineRun = QStringLiteral(KORVADEL_EXAMPLES "/pine-run.kvd");
const QString kResurvey = QStringLiteral(KORVADEL_EXAMPLES "/pine-run-resurvey.csv");

// What korvadel-cli writes to its standard output for these arguments.
QByteArray cliOutput(const std::vector<std::string>& arguments) {
    const testing::ScratchFolder folder;
    const testing::CliRun run = testing::runCli(folder, arguments);
    if (run.status != 0)
        qWarning("korvadel-cli failed (%d): %s", run.status, run.err.c_str());
    return QByteArray::fromStdString(run.out);
}

void loadSection(TestProgram& program, const QString& path) {
    program.seam.chooseFile(path);
    ui(program.main()).loadAction->trigger();
}

// Pine Run loaded and rated (gage heights 0 to 2.5 by 0.5 over datum 100), its properties shown.
HydraulicPropertiesWindow* showPineRunProperties(TestProgram& program,
                                                 const QString& path = kPineRun) {
    loadSection(program, path);
    ui(program.main()).createRatingButton->click();
    ui(program.ratingWindow()).propertiesAction->trigger();
    return program.program.propertiesWindow();
}

int pointRow(PointTable& points, double station) {
    for (std::size_t row = 0; row < points.rowCount(); ++row)
        if (points.stationAt(row) == station)
            return static_cast<int>(row);
    return -1;
}

// What the analysis windows show and write for Pine Run and its resurvey, both given as a user
// whose numbers take `separator` would type them.
struct Shown {
    QStringList properties; // the table's cells, Manning's n 0.035 and the slope 0.0005
    QString manningRefusal; // n 1.5E-300 with the slope 1E300
    QStringList findings;   // the check's rows at gage height 2
    QStringList comparison; // the table's cells and the summary at a threshold of 2.5 %
    QByteArray propertiesCsv;
    QByteArray comparisonCsv;
    QStringList messages; // the boxes shown on the way, none
};

Shown showAnalysisWindows(char separator, const QString& folder) {
    const auto local = [separator](QByteArray text) { return text.replace('.', separator); };
    const QByteArray pineRun = readFile(kPineRun);
    QByteArray resurvey = pineRun.left(pineRun.indexOf("Station\tElevation\r\n") + 19);
    resurvey += readFile(kResurvey).mid(19).replace(',', '\t');
    const QString section = writeFile(folder + QStringLiteral("/pine-run.kvd"), local(pineRun));
    const QString earlier = writeFile(folder + QStringLiteral("/resurvey.kvd"), local(resurvey));
    const auto cells = [](const QAbstractItemModel* model) {
        QStringList texts;
        for (int row = 0; row < model->rowCount(); ++row)
            for (int column = 0; column < model->columnCount(); ++column)
                texts << model->index(row, column).data().toString();
        return texts;
    };
    const QString sep(QLatin1Char{separator});

    Shown shown;
    TestProgram program(separator);
    HydraulicPropertiesWindow* properties = showPineRunProperties(program, section);
    ui(properties).roughness->setText(QStringLiteral("0") + sep + QStringLiteral("035"));
    ui(properties).slope->setText(QStringLiteral("0") + sep + QStringLiteral("0005"));
    properties->refresh();
    shown.properties = cells(ui(properties).tableView->model());
    program.seam.chooseFile(folder + QStringLiteral("/properties.csv"));
    ui(properties).exportButton->click();
    shown.propertiesCsv = readFile(folder + QStringLiteral("/properties.csv"));
    ui(properties).roughness->setText(QStringLiteral("1") + sep + QStringLiteral("5E-300"));
    ui(properties).slope->setText(QStringLiteral("1E300"));
    properties->refresh();
    shown.manningRefusal = ui(properties).message->text();

    MainWindow* main = program.main();
    ui(main).maximumStage->setText(QStringLiteral("2"));
    ui(main).checkSectionAction->trigger();
    QTreeWidget* list = ui(program.program.sectionCheckWindow()).findingList;
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        shown.findings << list->topLevelItem(row)->text(2) << list->topLevelItem(row)->text(3);

    ui(main).maximumStage->setText(QStringLiteral("2") + sep + QStringLiteral("5"));
    SurveyComparisonWindow* comparison = program.program.comparisonWindow();
    ui(comparison).threshold->setText(QStringLiteral("2") + sep + QStringLiteral("5"));
    program.seam.chooseFile(earlier);
    ui(main).compareSectionAction->trigger();
    shown.comparison = cells(ui(comparison).tableView->model()) << ui(comparison).summary->text();
    program.seam.chooseFile(folder + QStringLiteral("/comparison.csv"));
    ui(comparison).exportButton->click();
    shown.comparisonCsv = readFile(folder + QStringLiteral("/comparison.csv"));
    for (const auto& message : program.seam.messages)
        shown.messages << message.text;
    return shown;
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
    void subsectionsSumTheirConveyanceAsTheCommandLineDoes();
    void hecRasSectionBringsItsOwnNWhileItsPointsLast();
    void checkListLeadsToThePointAndForgetsTheFilesOrderAfterAnEdit();
    void comparisonTableAndExportAreTheCommandLines();
    void mainChartDrawsTheWaterSurfaceAtTheAnimationsLevel();
    void decimalCommaInEveryNumberShownAndTypedNotInTheExports();

private:
    QString startDir_;
};

void AnalysisWindowsTest::propertiesFollowTheRatingAndTheSectionAndExportTheCommandLinesBytes() {
    QTemporaryDir folder;
    TestProgram program;
    HydraulicPropertiesWindow* window = showPineRunProperties(program);
    QVERIFY(window->isVisible());
    QCOMPARE(ui(window).tableView->model()->columnCount(), 7);
    QVERIFY(!ui(window).message->isVisible());

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

    ui(window).roughness->setText(QStringLiteral("0.035"));
    ui(window).slope->setText(QStringLiteral("0.0005"));
    QTRY_COMPARE(ui(window).tableView->model()->columnCount(), 9);
    // On screen a few decimals and the units in the heads; the export keeps every digit.
    QAbstractItemModel* shown = ui(window).tableView->model();
    QCOMPARE(shown->index(2, 8).data().toString(), QStringLiteral("3.046"));
    QCOMPARE(shown->index(2, 3).data().toString(), QStringLiteral("8.472"));
    QCOMPARE(shown->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Area\n(m\u00b2)"));
    ui(window).units->setCurrentIndex(1);
    QTRY_COMPARE(shown->headerData(8, Qt::Horizontal).toString(),
                 QStringLiteral("Discharge\n(ft\u00b3/s)"));
    ui(window).units->setCurrentIndex(0);
    program.seam.chooseFile(folder.filePath(QStringLiteral("properties")));
    ui(window).exportButton->click();
    QCOMPARE(program.seam.messages.size(), 0);
    QCOMPARE(program.seam.fileDialogs.last().defaultExtension, QStringLiteral("csv"));
    QCOMPARE(readFile(folder.filePath(QStringLiteral("properties.csv"))),
             cliOutput({"properties", kPineRun.toStdString(), "--manning-n", "0.035", "--slope",
                        "0.0005"}));

    // Connected water only leaves the hollow out.
    ui(window).connectedOnly->setChecked(true);
    QTRY_COMPARE(window->table().properties[4].area, 16.0);
    QCOMPARE(window->table().properties[4].topWidth, 12.0);
    ui(window).connectedOnly->setChecked(false);

    // A row deleted from the rating grid leaves the table too.
    RatingTable& rating = program.rating();
    rating.moveTo(1);
    rating.deleteCurrent();
    QTRY_COMPARE(window->table().stages, (std::vector<double>{0, 1, 1.5, 2, 2.5}));
    QCOMPARE(window->table().properties[1].area, 6.0);

    // The section filled in at the hollow: the rating and its properties stay as they were
    // made, and both windows say the section has changed since.
    RatingWindow* ratingWindow = program.ratingWindow();
    QVERIFY(!ui(ratingWindow).outOfDate->isVisibleTo(ratingWindow));
    PointTable& points = program.document().points;
    points.moveTo(static_cast<std::size_t>(pointRow(points, 16)));
    points.setElevation(102.0);
    points.commit();
    const QString changed =
        QStringLiteral("The section has changed since this rating was created: create it again.");
    QCOMPARE(ui(window).outOfDate->text(), changed);
    QVERIFY(ui(window).outOfDate->isVisible());
    QVERIFY(ui(ratingWindow).outOfDate->isVisible());
    QCOMPARE(ui(ratingWindow).outOfDate->text(), changed);
    window->refresh();
    QCOMPARE(window->table().properties[3].area, 17.0);
    // Undone, it is the rating's section again.
    ui(program.main()).undoAction->trigger();
    QVERIFY(!ui(window).outOfDate->isVisible());
    ui(program.main()).redoAction->trigger();

    // A new rating brings every stage back, over the section as it is now.
    ui(program.main()).createRatingButton->click();
    QTRY_COMPARE(window->table().stages.size(), std::size_t{6});
    QCOMPARE(window->table().properties[4].area, 16.0);
    QVERIFY(!ui(window).outOfDate->isVisible());

    // Another section loaded: the table stays Pine Run's at Pine Run's stages (the rating's 0 at
    // stage 0, not Mill Creek's 27.754) and says so.
    program.seam.answerSave(DesktopSeam::SaveAnswer::Discard);
    loadSection(program, QStringLiteral(KORVADEL_EXAMPLES "/mill-creek.kvd"));
    QCOMPARE(program.workspace().currentSection().stations.size(), std::size_t{33});
    window->refresh();
    QCOMPARE(window->table().properties[0].area, 0.0);
    QCOMPARE(window->table().properties[4].area, 16.0);
    QVERIFY(ui(window).outOfDate->isVisible());
    TestProgram::activate(window);
    QTest::keyClick(window, Qt::Key_Escape);
    QVERIFY(!window->isVisible());
}

void AnalysisWindowsTest::refusedManningInputNamesItselfAndComputesNoFlow_data() {
    QTest::addColumn<QString>("n");
    QTest::addColumn<QString>("boundaries");
    QTest::addColumn<QString>("slope");
    QTest::addColumn<QString>("message");
    const auto row = [](const char* name, const char* n, const char* boundaries, const char* slope,
                        const char* message) {
        QTest::newRow(name) << QString::fromUtf8(n) << QString::fromUtf8(boundaries)
                            << QString::fromUtf8(slope) << QString::fromUtf8(message);
    };
    row("n below 0", "-0.03", "", "0.001", "Manning's n must be greater than 0, not -0.03.");
    row("n not a number", "abc", "", "0.001",
        "Manning's n: 'abc' is not a valid floating point value.");
    row("slope 0", "0.03", "", "0", "Slope must be greater than 0, not 0.");
    row("slope missing", "0.03", "", "",
        "Enter the slope as well as Manning's n for the conveyance and the discharge.");
    row("beyond a number", "1E-300", "", "1E300",
        "Manning's n 1E-300 and the slope 1E300 give a conveyance or discharge too large to be "
        "represented.");
    row("n values without boundaries", "0.04;0.03", "", "0.001",
        "Manning's n gives 2 values: enter the stations that divide the subsections.");
    row("boundaries without n", "", "4", "0.001",
        "Enter Manning's n of each subsection as well as the stations that divide them.");
    row("boundaries falling", "0.03", "12;4", "0.001",
        "Subdivide at must rise from left to right: 4 follows 12.");
    row("boundary not a number", "0.03", "4,x", "0.001",
        "Subdivide at: 'x' is not a valid floating point value.");
    row("an n short", "0.03;0.04", "4;12", "0.001",
        "Manning's n needs 3 values, one for each subsection, not 2.");
    row("a subsection's n at 0", "0.03,0,0.03", "4,12", "0.001",
        "Manning's n must be greater than 0, not 0.");
}

void AnalysisWindowsTest::refusedManningInputNamesItselfAndComputesNoFlow() {
    QFETCH(QString, n);
    QFETCH(QString, boundaries);
    QFETCH(QString, slope);
    QFETCH(QString, message);
    QTemporaryDir folder;
    TestProgram program;
    HydraulicPropertiesWindow* window = showPineRunProperties(program);
    ui(window).roughness->setText(n);
    ui(window).boundaries->setText(boundaries);
    ui(window).slope->setText(slope);
    window->refresh();
    QCOMPARE(ui(window).message->text(), message);
    QVERIFY(ui(window).message->isVisible());
    QCOMPARE(ui(window).tableView->model()->columnCount(), 7);
    QVERIFY(!window->table().manning);
    QCOMPARE(window->table().properties[2].area, 6.0);

    // The export does not write a table the inputs did not ask for.
    ui(window).exportButton->click();
    QCOMPARE(program.seam.fileDialogs.size(), 1); // the load's only
    QCOMPARE(program.seam.messages.size(), 1);
    QCOMPARE(program.seam.messages.last().text, message);
}

void AnalysisWindowsTest::subsectionsSumTheirConveyanceAsTheCommandLineDoes() {
    QTemporaryDir folder;
    TestProgram program;
    HydraulicPropertiesWindow* window = showPineRunProperties(program);
    ui(window).roughness->setText(QStringLiteral("0.04; 0.03; 0.04"));
    ui(window).boundaries->setText(QStringLiteral("4;12"));
    ui(window).slope->setText(QStringLiteral("0.0005"));
    QTRY_COMPARE(ui(window).tableView->model()->columnCount(), 12);
    QVERIFY(!ui(window).message->isVisible());
    QAbstractItemModel* shown = ui(window).tableView->model();
    QCOMPARE(shown->headerData(11, Qt::Horizontal).toString(),
             QStringLiteral("Conveyance 3\n(m\u00b3/s)"));
    // The section's conveyance is the sum of its subsections'.
    const PropertyTable& table = window->table();
    for (std::size_t row = 0; row < table.stages.size(); ++row) {
        const double* parts = &table.subsectionConveyances[3 * row];
        QCOMPARE(table.flows[row].conveyance, parts[0] + parts[1] + parts[2]);
    }
    // Each subsection's conveyance is a chart of its own.
    QComboBox* chartColumn = ui(window).chartColumn;
    QCOMPARE(chartColumn->count(), 11);
    chartColumn->setCurrentIndex(10);
    QCOMPARE(ui(window).chart->titleLines().first(), QStringLiteral("Conveyance 3 against Stage"));
    program.seam.chooseFile(folder.filePath(QStringLiteral("subsections")));
    ui(window).exportButton->click();
    QCOMPARE(program.seam.messages.size(), 0);
    QCOMPARE(readFile(folder.filePath(QStringLiteral("subsections.csv"))),
             cliOutput({"properties", kPineRun.toStdString(), "--subdivide", "4,12", "--manning-n",
                        "0.04,0.03,0.04", "--slope", "0.0005"}));

    // One n for every subsection; no boundary, the whole section as before.
    ui(window).roughness->setText(QStringLiteral("0.035"));
    window->refresh();
    QCOMPARE(ui(window).tableView->model()->columnCount(), 12);
    ui(window).boundaries->clear();
    window->refresh();
    QCOMPARE(ui(window).tableView->model()->columnCount(), 9);
    QCOMPARE(chartColumn->currentIndex(), 0);
}

void AnalysisWindowsTest::hecRasSectionBringsItsOwnNWhileItsPointsLast() {
    QTemporaryDir folder;
    TestProgram program;
    MainWindow* main = program.main();
    program.seam.chooseFile(QStringLiteral(KORVADEL_EXAMPLES "/willow-fork.g01"));
    program.seam.onModal([](QDialog& dialog) { dialog.accept(); }); // the first: 2150
    ui(main).importHecRasAction->trigger();
    QCOMPARE(ui(main).description->text(), QStringLiteral("Willow Fork Upper 2150"));
    ui(main).datum->setText(QStringLiteral("98.9"));
    ui(main).maximumStage->setText(QStringLiteral("5"));
    ui(main).stageIncrement->setValue(0.5);
    ui(main).createRatingButton->click();
    ui(program.ratingWindow()).propertiesAction->trigger();
    HydraulicPropertiesWindow* window = program.program.propertiesWindow();

    // The slope alone: the file's n values over the stations where they begin, shown greyed.
    ui(window).slope->setText(QStringLiteral("0.001"));
    QTRY_COMPARE(ui(window).tableView->model()->columnCount(), 12);
    QCOMPARE(ui(window).roughness->placeholderText(), QStringLiteral("0.06; 0.035; 0.06"));
    QCOMPARE(ui(window).boundaries->placeholderText(), QStringLiteral("22; 40"));
    program.seam.chooseFile(folder.filePath(QStringLiteral("upper.csv")));
    ui(window).exportButton->click();
    QCOMPARE(program.seam.messages.size(), 0);
    QCOMPARE(readFile(folder.filePath(QStringLiteral("upper.csv"))),
             readFile(QStringLiteral(KORVADEL_TEST_DATA "/willow-fork-2150-properties.csv")));

    // Typed values win over the file's.
    ui(window).roughness->setText(QStringLiteral("0.05"));
    window->refresh();
    QCOMPARE(ui(window).tableView->model()->columnCount(), 9);

    // Once the points are not the file's and rated again, the file's n no longer applies.
    ui(window).roughness->clear();
    PointTable& points = program.document().points;
    points.moveTo(0);
    points.setElevation(105.0);
    points.commit();
    ui(main).createRatingButton->click();
    window->refresh();
    QCOMPARE(ui(window).message->text(),
             QStringLiteral("Enter Manning's n as well as the slope for the conveyance and the "
                            "discharge."));
    QCOMPARE(ui(window).roughness->placeholderText(), QStringLiteral("e.g. 0.035"));
}

void AnalysisWindowsTest::checkListLeadsToThePointAndForgetsTheFilesOrderAfterAnEdit() {
    TestProgram program;
    loadSection(program, kPineRun);
    MainWindow* main = program.main();
    ui(main).maximumStage->setText(QStringLiteral("2"));
    ui(main).checkSectionAction->trigger();
    SectionCheckWindow* window = program.program.sectionCheckWindow();
    QVERIFY(window->isVisible());
    QCOMPARE(ui(window).findingList->topLevelItemCount(), 1);
    QTreeWidgetItem* hollow = ui(window).findingList->topLevelItem(0);
    QCOMPARE(hollow->text(0), QStringLiteral("warning"));
    QCOMPARE(hollow->text(1), QStringLiteral("isolated-water"));
    QCOMPARE(hollow->text(2), QStringLiteral("16"));
    QVERIFY(hollow->text(3).contains(QStringLiteral("between stations 14 and 18")));

    PointTable& points = program.document().points;
    points.first();
    ui(window).findingList->setCurrentItem(hollow);
    QCOMPARE(points.currentIndex(), 7);
    QCOMPARE(ui(main).pointGrid->currentIndex().row(), 7);

    // The resurvey lists its stations from right to left; the check says so until the points
    // change.
    program.seam.chooseFile(kResurvey);
    ui(main).importCommaDelimitedAction->trigger();
    ui(main).maximumStage->setText(QStringLiteral("2.5"));
    ui(main).checkSectionAction->trigger();
    QCOMPARE(ui(window).findingList->topLevelItemCount(), 1);
    QCOMPARE(ui(window).findingList->topLevelItem(0)->text(1), QStringLiteral("unsorted-input"));
    QVERIFY(
        ui(window).findingList->topLevelItem(0)->text(3).contains(QStringLiteral("10 stations")));
    // Selecting a row without a station leaves the grid where it is.
    points.moveTo(3);
    ui(window).findingList->setCurrentItem(ui(window).findingList->topLevelItem(0));
    QCOMPARE(points.currentIndex(), 3);

    // While open, the list follows the section.
    points.moveTo(0);
    points.setElevation(103.5);
    points.commit();
    QTRY_COMPARE(ui(window).findingList->topLevelItemCount(), 0);
    QVERIFY(ui(window).summary->text().startsWith(QStringLiteral("No findings")));
    // Undone back to the points as read, the order counts again.
    ui(main).undoAction->trigger();
    QTRY_COMPARE(ui(window).findingList->topLevelItemCount(), 1);

    // A setting that is no number: the list stays and says why; the command itself reports it
    // and leaves the field selected for typing over.
    ui(main).maximumStage->setText(QStringLiteral("2,5x"));
    QTRY_VERIFY(ui(window).outOfDate->isVisible());
    QCOMPARE(ui(window).findingList->topLevelItemCount(), 1);
    ui(main).checkSectionAction->trigger();
    QCOMPARE(program.seam.messages.last().text,
             QStringLiteral("'2,5x' is not a valid floating point value."));
    QCOMPARE(main->focusWidget(), ui(main).maximumStage);
    QCOMPARE(ui(main).maximumStage->selectedText(), QStringLiteral("2,5x"));
    ui(main).maximumStage->setText(QStringLiteral("2.5"));
    QTRY_VERIFY(!ui(window).outOfDate->isVisible());

    // Escape closes it.
    TestProgram::activate(window);
    QTest::keyClick(window, Qt::Key_Escape);
    QVERIFY(!window->isVisible());
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
    ui(main).compareSectionAction->trigger();
    QCOMPARE(program.seam.messages.size(), 0);
    QVERIFY(window->isVisible());
    QCOMPARE(window->earlierFileName(), QStringLiteral("pine-run-resurvey.csv"));
    const QString resurvey =
        writeFile(folder.filePath(QStringLiteral("resurvey.txt")), readFile(kResurvey));
    program.seam.chooseFile(resurvey, 3);
    ui(main).compareSectionAction->trigger();
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
    QCOMPARE(ui(window).tableView->model()->index(2, 5).data().toString(), QStringLiteral("yes"));
    QCOMPARE(ui(window).summary->text(),
             QStringLiteral("Largest difference -100 % at stage 0; 6 of 6 stages beyond the "
                            "threshold of 5 %."));

    ui(window).threshold->setText(QStringLiteral("10"));
    QCOMPARE(window->comparison().summary.beyondThreshold, std::size_t{5});
    program.seam.chooseFile(folder.filePath(QStringLiteral("comparison")));
    ui(window).exportButton->click();
    QCOMPARE(program.seam.messages.size(), 0);
    QCOMPARE(
        readFile(folder.filePath(QStringLiteral("comparison.csv"))),
        cliOutput({"compare", kResurvey.toStdString(), kPineRun.toStdString(), "--min", "0",
                   "--max", "2.5", "--increment", "0.5", "--datum", "100", "--threshold", "10"}));

    // Percentages to two decimals on screen.
    QCOMPARE(ui(window).tableView->model()->index(2, 4).data().toString(),
             QStringLiteral("-30.23"));

    // Swapped, the section is the old survey and the file the new one.
    ui(window).swapButton->click();
    QVERIFY(window->swapped());
    QCOMPARE(window->comparison().rows[2].areaOld, 6.0);
    QCOMPARE(window->comparison().rows[2].areaNew, 8.6);
    QCOMPARE(ui(window).tableView->model()->index(2, 4).data().toString(), QStringLiteral("43.33"));
    QVERIFY(ui(window).legendNote->text().startsWith(QStringLiteral("Old: the current section")));
    ui(window).swapButton->click();
    QCOMPARE(window->comparison().rows[2].areaOld, 8.6);

    // The section changed under it: it says so until the command is run again.
    QVERIFY(!ui(window).outOfDate->isVisible());
    PointTable& points = program.document().points;
    points.moveTo(0);
    points.setElevation(104.0);
    points.commit();
    QVERIFY(ui(window).outOfDate->isVisible());
    program.seam.chooseFile(kResurvey);
    ui(main).compareSectionAction->trigger();
    QVERIFY(!ui(window).outOfDate->isVisible());
    ui(main).datum->setText(QStringLiteral("99"));
    QVERIFY(ui(window).outOfDate->isVisible());

    ui(window).threshold->setText(QStringLiteral("ten"));
    QCOMPARE(ui(window).summary->text(),
             QStringLiteral("Threshold: 'ten' is not a valid floating point value."));
    TestProgram::activate(window);
    QTest::keyClick(window, Qt::Key_Escape);
    QVERIFY(!window->isVisible());
}

void AnalysisWindowsTest::mainChartDrawsTheWaterSurfaceAtTheAnimationsLevel() {
    TestProgram program;
    program.enterTrapezoid(QStringLiteral("5"));
    MainWindow* main = program.main();
    ui(main).sectionChart->refreshFromTable();
    ui(main).sectionChart->replot();
    // The level before any animation, 0.00, stands on the bed: no water.
    const WaterSurfaceOverlay& surface = main->waterSurface();
    QCOMPARE(surface.topWidth(), 0.0);
    QVERIFY(surface.labelText().isEmpty());
    QVERIFY(!surface.surfaceGraph()->visible());

    ui(main).animateButton->click(); // the level starts at the maximum, 5
    ui(main).sectionChart->replot();
    QCOMPARE(surface.topWidth(), 8.0);
    QCOMPARE(surface.labelText(), QStringLiteral("Top width 8"));
    QCPGraphDataContainer& line = *surface.surfaceGraph()->data();
    QCOMPARE(line.size(), 2);
    QCOMPARE(QPointF(line.at(0)->key, line.at(0)->value), QPointF(1, 5));
    QCOMPARE(QPointF(line.at(1)->key, line.at(1)->value), QPointF(9, 5));
    ui(main).animateButton->click();
}

void AnalysisWindowsTest::decimalCommaInEveryNumberShownAndTypedNotInTheExports() {
    QTemporaryDir folder;
    const Shown point = showAnalysisWindows('.', folder.filePath(QStringLiteral("point")));
    const Shown comma = showAnalysisWindows(',', folder.filePath(QStringLiteral("comma")));
    QCOMPARE(point.messages, QStringList());
    QCOMPARE(comma.messages, QStringList());
    // The same windows with a comma between the digits wherever the point had one.
    const auto withComma = [](QStringList texts) {
        static const QRegularExpression decimalPoint(QStringLiteral("(\\d)\\.(\\d)"));
        for (QString& text : texts)
            text.replace(decimalPoint, QStringLiteral("\\1,\\2"));
        return texts;
    };
    const QList<QPair<QStringList, QStringList>> parts = {
        {point.properties, comma.properties},
        {{point.manningRefusal}, {comma.manningRefusal}},
        {point.findings, comma.findings},
        {point.comparison, comma.comparison}};
    for (const auto& [withPoint, shownWithComma] : parts) {
        QVERIFY2(withPoint.join(QLatin1Char('|'))
                     .contains(QRegularExpression(QStringLiteral("\\d\\.\\d"))),
                 qPrintable(withPoint.join(QLatin1Char('|'))));
        QCOMPARE(shownWithComma, withComma(withPoint));
    }
    // Files keep the point, so that a comma-delimited line still splits into its columns.
    QVERIFY(point.propertiesCsv.startsWith("stage,"));
    QCOMPARE(comma.propertiesCsv, point.propertiesCsv);
    QVERIFY(point.comparisonCsv.startsWith("stage,"));
    QCOMPARE(comma.comparisonCsv, point.comparisonCsv);

    // With a comma, a point is not a decimal separator, and the hints say so.
    TestProgram program(',');
    HydraulicPropertiesWindow* window =
        showPineRunProperties(program, folder.filePath(QStringLiteral("comma/pine-run.kvd")));
    QCOMPARE(ui(window).roughness->placeholderText(), QStringLiteral("e.g. 0,035"));
    QCOMPARE(ui(window).slope->placeholderText(), QStringLiteral("e.g. 0,0005"));
    QVERIFY(ui(window).units->itemText(1).endsWith(QStringLiteral("k = 1,486)")));
    ui(window).roughness->setText(QStringLiteral("0.035"));
    ui(window).slope->setText(QStringLiteral("0,0005"));
    window->refresh();
    QCOMPARE(ui(window).message->text(),
             QStringLiteral("Manning's n: '0.035' is not a valid floating point value."));
    // Lists of numbers with a decimal comma are separated by semicolons.
    ui(window).roughness->setText(QStringLiteral("0,04; 0,03; 0,04"));
    ui(window).boundaries->setText(QStringLiteral("4;12,0"));
    window->refresh();
    QVERIFY(!ui(window).message->isVisible());
    QCOMPARE(window->table().subsections->boundaries, (std::vector<double>{4, 12}));
    QCOMPARE(window->table().subsections->roughness, (std::vector<double>{0.04, 0.03, 0.04}));
}

QTEST_MAIN(AnalysisWindowsTest)
#include "analysis_windows_test.moc"
