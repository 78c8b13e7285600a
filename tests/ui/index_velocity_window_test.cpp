// SPDX-License-Identifier: GPL-3.0-or-later
// The index-velocity window over the example station: its statistics are the command line's,
// an exclusion asks for its comment, every edit undoes, a changed section rates the
// measurements again, the files it writes are the ones the command line reads and writes, and
// the plots and the table select each other's rows.

#include "components/chart/MeasurementChart.h"
#include "components/grid/MeasurementTableModel.h"
#include "components/report/BandedReport.h"
#include "components/report/ReportPreview.h"
#include "components/widgets/NoticeLine.h"
#include "io/MeasurementFile.h"
#include "model/WettedArea.h"
#include "tests/support/Controls.h"
#include "tests/support/FaultInjection.h"
#include "tests/support/TestProgram.h"
#include "tests/support/WriteTestSupport.h"
#include "ui/IndexVelocityWindow.h"
#include "ui/MainWindow.h"
#include "ui/Workspace.h"

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QItemSelectionModel>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>
#include <QtTest>

#include <cmath>

using namespace korvadel;

namespace {

const QString kSection = QStringLiteral(KORVADEL_EXAMPLES "/harlan-canal.kvd");
const QString kMeasurements = QStringLiteral(KORVADEL_EXAMPLES "/harlan-canal-measurements.csv");

QByteArray cliOutput(const QStringList& arguments) {
    QProcess cli;
    cli.start(QStringLiteral(KORVADEL_CLI), arguments);
    if (!cli.waitForFinished(60000) || cli.exitCode() != 0)
        qWarning("korvadel-cli failed: %s", cli.readAllStandardError().constData());
    return cli.readAllStandardOutput();
}

// The example section loaded and its measurements imported into the window.
IndexVelocityWindow* openExample(TestProgram& program) {
    program.seam.chooseFile(kSection);
    ui(program.main()).loadAction->trigger();
    child<QAction>(program.main(), "indexVelocityAction")->trigger();
    IndexVelocityWindow* window = program.program.indexVelocityWindow();
    program.seam.chooseFile(kMeasurements);
    child<QAction>(window, "importMeasurementsAction")->trigger();
    return window;
}

int rowOf(const IndexVelocityWindow& window, const std::string& number) {
    for (std::size_t i = 0; i < window.measurements().size(); ++i)
        if (window.measurements()[i].number == number)
            return static_cast<int>(i);
    return -1;
}

// Types `text` into a cell as the grid's editor would hand it over, and lets the edit land.
void typeInto(IndexVelocityWindow& window, int row, int column, const QString& text) {
    auto* table = child<QTableView>(&window, "measurementTable");
    table->model()->setData(table->model()->index(row, column), text);
    QCoreApplication::processEvents();
}

// The window's rating against the command line's JSON for the same files and model.
void compareWithCommandLine(const IndexVelocityWindow& window, const QString& measurements,
                            const QString& model) {
    const QJsonObject json =
        QJsonDocument::fromJson(cliOutput({QStringLiteral("velocity-rating"), kSection,
                                           measurements, QStringLiteral("--model"), model,
                                           QStringLiteral("--format"), QStringLiteral("json")}))
            .object();
    QVERIFY(window.fit().has_value());
    const VelocityRatingFit& fit = *window.fit();
    QCOMPARE(json[QStringLiteral("model")].toString(), model);
    QCOMPARE(static_cast<qint64>(fit.n), json[QStringLiteral("n")].toInteger());
    // JSON numbers read back to the same doubles: the window's arithmetic is the command line's.
    QCOMPARE(fit.rSquared, json[QStringLiteral("r_squared")].toDouble());
    QCOMPARE(fit.adjustedRSquared, json[QStringLiteral("adjusted_r_squared")].toDouble());
    QCOMPARE(fit.standardErrorOfEstimate,
             json[QStringLiteral("standard_error_of_estimate")].toDouble());
    QCOMPARE(fit.f, json[QStringLiteral("f")].toDouble());
    const QJsonArray coefficients = json[QStringLiteral("coefficients")].toArray();
    QCOMPARE(static_cast<std::size_t>(coefficients.size()), fit.parameters);
    for (qsizetype j = 0; j < coefficients.size(); ++j) {
        const QJsonObject c = coefficients[j].toObject();
        QCOMPARE(fit.coefficients[j].estimate, c[QStringLiteral("estimate")].toDouble());
        QCOMPARE(fit.coefficients[j].p, c[QStringLiteral("p")].toDouble());
    }
    QVERIFY(child<QLabel>(&window, "equation")
                ->text()
                .startsWith(json[QStringLiteral("equation")].toString()));
}

} // namespace

class IndexVelocityWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { startDir_ = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(startDir_); }
    void ratingIsTheCommandLinesForEveryModel();
    void exclusionAsksForItsCommentAndEveryEditUndoes();
    void unreadableCellsAreRefusedAndLeaveTheRowAlone();
    void changedSectionRatesTheMeasurementsAgainAndSaysSo();
    void savedMeasurementsAndExportedSummaryAreTheCommandLinesFiles();
    void plotsAndTableSelectEachOthersRows();
    void printedReportHoldsTheRatingAndEveryMeasurement();
    void addedMeasurementWaitsOutsideTheFitUntilTypedIn();
    void failuresSaySoAndLeaveTheMeasurementsAsTheyWere();
    void unitsLabelColumnsAndAxesAndPlotsDrawTheRightPoints();
    void failedSaveLeavesTheFileThatWasThere();

private:
    QString startDir_;
};

void IndexVelocityWindowTest::ratingIsTheCommandLinesForEveryModel() {
    TestProgram program;
    IndexVelocityWindow* window = openExample(program);
    QCOMPARE(window->measurements().size(), std::size_t{24});
    compareWithCommandLine(*window, kMeasurements, QStringLiteral("simple"));
    auto* model = child<QComboBox>(window, "model");
    model->setCurrentIndex(2);
    compareWithCommandLine(*window, kMeasurements, QStringLiteral("stage"));
    model->setCurrentIndex(1);
    compareWithCommandLine(*window, kMeasurements, QStringLiteral("coefficient"));

    // The compound form waits for its breakpoint and says why.
    model->setCurrentIndex(3);
    QVERIFY(!window->fit());
    QVERIFY(!child<NoticeLine>(window, "message")->isHidden());
    child<QLineEdit>(window, "breakpoint")->setText(QStringLiteral("0.8"));
    QVERIFY(window->fit());
    QCOMPARE(window->fit()->equation.breakpoint, 0.8);
    QVERIFY(child<NoticeLine>(window, "message")->isHidden());
}

void IndexVelocityWindowTest::exclusionAsksForItsCommentAndEveryEditUndoes() {
    TestProgram program;
    IndexVelocityWindow* window = openExample(program);
    const std::size_t fitted = window->fit()->n;
    const int row = rowOf(*window, "315");

    // Cancelled: the measurement stays in the fit.
    program.seam.onModal([](QDialog& d) { d.reject(); });
    typeInto(*window, row, MeasurementTableModel::Use, QStringLiteral("exclude"));
    QCOMPARE(program.seam.modals.size(), 1);
    QCOMPARE(program.seam.modals[0].objectName, QStringLiteral("exclusionCommentDialog"));
    QCOMPARE(window->measurements()[row].use, MeasurementUse::Fit);
    QCOMPARE(window->fit()->n, fitted);

    // With a reason: out of the fit, the comment kept, the statistics changed.
    const double rSquared = window->fit()->rSquared;
    program.seam.onModal([](QDialog& d) {
        child<QLineEdit>(&d, "exclusionComment")->setText(QStringLiteral("Area beyond 5 %"));
        d.accept();
    });
    typeInto(*window, row, MeasurementTableModel::Use, QStringLiteral("exclude"));
    QCOMPARE(window->measurements()[row].use, MeasurementUse::Exclude);
    QCOMPARE(window->measurements()[row].comment, std::string("Area beyond 5 %"));
    QCOMPARE(window->fit()->n, fitted - 1);
    QVERIFY(window->fit()->rSquared != rSquared);

    // An excluded measurement keeps its reason.
    typeInto(*window, row, MeasurementTableModel::Comment, QString());
    QCOMPARE(window->measurements()[row].comment, std::string("Area beyond 5 %"));
    QVERIFY(program.seam.messages.last().text.contains(QStringLiteral("keeps the comment")));

    // Ctrl+Z in the window undoes the exclusion, not the section; Ctrl+Y does it again.
    QTest::keyClick(window, Qt::Key_Z, Qt::ControlModifier);
    QTRY_COMPARE(window->measurements()[row].use, MeasurementUse::Fit);
    QCOMPARE(window->fit()->n, fitted);
    QCOMPARE(program.document().points.rowCount(), std::size_t{9});
    QTest::keyClick(window, Qt::Key_Y, Qt::ControlModifier);
    QTRY_COMPARE(window->measurements()[row].use, MeasurementUse::Exclude);

    // Rows added and deleted are steps as well, and the import is one.
    auto* table = child<QTableView>(window, "measurementTable");
    table->selectRow(0);
    table->selectionModel()->select(table->model()->index(2, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    child<QAction>(window, "deleteMeasurementsAction")->trigger();
    QCOMPARE(window->measurements().size(), std::size_t{22});
    QCOMPARE(window->measurements()[0].number, std::string("302"));
    QCOMPARE(window->measurements()[1].number, std::string("304"));
    child<QAction>(window, "measurementUndoAction")->trigger();
    QCOMPARE(window->measurements().size(), std::size_t{24});
    QCOMPARE(window->measurements()[2].number, std::string("303"));
    while (window->undoStack().canUndo())
        window->undoStack().undo();
    QVERIFY(window->measurements().empty());
    QVERIFY(!window->fit());
}

void IndexVelocityWindowTest::unreadableCellsAreRefusedAndLeaveTheRowAlone() {
    TestProgram program;
    IndexVelocityWindow* window = openExample(program);
    const Measurement before = window->measurements()[0];
    struct Case {
        int column;
        const char* text;
        const char* said;
    };
    const Case cases[] = {
        {MeasurementTableModel::GageHeight, "x", "not a valid floating point value"},
        {MeasurementTableModel::Discharge, "", "not a valid floating point value"},
        {MeasurementTableModel::Start, "21/03/2023", "ISO 8601"},
        {MeasurementTableModel::End, "25:00", "time of day"},
        {MeasurementTableModel::Use, "maybe", "not fit, validate or exclude"},
        {MeasurementTableModel::Number, " ", "needs a number"},
    };
    for (const Case& c : cases) {
        program.seam.clearRecords();
        typeInto(*window, 0, c.column, QString::fromLatin1(c.text));
        QCoreApplication::processEvents();
        QCOMPARE(program.seam.messages.size(), 1);
        QVERIFY2(program.seam.messages[0].text.contains(QLatin1String(c.said)),
                 qPrintable(program.seam.messages[0].text));
        QCOMPARE(window->measurements()[0].gageHeight, before.gageHeight);
        QCOMPARE(window->measurements()[0].start, before.start);
    }
    QVERIFY(!window->undoStack().canRedo());
    QCOMPARE(window->undoStack().count(), 1); // the import alone

    // A fit measurement without an index velocity leaves the rating out and says which.
    typeInto(*window, 0, MeasurementTableModel::IndexVelocity, QString());
    QVERIFY(!window->fit());
    QVERIFY(child<NoticeLine>(window, "message")->text().contains(QStringLiteral("301")));
}

void IndexVelocityWindowTest::changedSectionRatesTheMeasurementsAgainAndSaysSo() {
    TestProgram program;
    IndexVelocityWindow* window = openExample(program);
    auto* notice = child<NoticeLine>(window, "notice");
    QVERIFY(notice->isHidden());
    const double before = window->rated()[0].ratedArea;

    // The datum raised by 0.1: every area is that of water 0.1 higher.
    ui(program.main()).datum->setText(QStringLiteral("95.1"));
    QTRY_VERIFY(!notice->isHidden());
    const SectionPoints section = program.workspace().currentSection();
    for (std::size_t i = 0; i < window->measurements().size(); ++i)
        QCOMPARE(window->rated()[i].ratedArea,
                 wettedArea(section.stations, section.elevations,
                            window->measurements()[i].gageHeight, -95.1));
    QVERIFY(window->rated()[0].ratedArea > before);
    QVERIFY(window->fit());

    // A datum that does not read leaves nothing rated and says why.
    ui(program.main()).datum->setText(QStringLiteral("95,1x"));
    auto* message = child<NoticeLine>(window, "message");
    QTRY_VERIFY(message->text().startsWith(QStringLiteral("Datum: ")));
    QVERIFY(!window->fit());
    ui(program.main()).datum->setText(QStringLiteral("95.1"));
    QTRY_VERIFY(window->fit().has_value());

    // A point deleted from the section: rated again at once.
    const double withDatum = window->rated()[0].ratedArea;
    program.document().points.moveTo(4); // (14, 95.60), under every measurement's water
    program.document().points.deleteCurrent();
    QTRY_VERIFY(window->rated()[0].ratedArea != withDatum);
}

void IndexVelocityWindowTest::savedMeasurementsAndExportedSummaryAreTheCommandLinesFiles() {
    TestProgram program;
    IndexVelocityWindow* window = openExample(program);
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("saved.csv"));
    program.seam.chooseFile(saved);
    child<QAction>(window, "saveMeasurementsAction")->trigger();
    const MeasurementFile back = readMeasurements(saved.toStdString());
    QCOMPARE(back.measurements.size(), window->measurements().size());
    for (std::size_t i = 0; i < back.measurements.size(); ++i) {
        const Measurement& a = back.measurements[i];
        const Measurement& b = window->measurements()[i];
        QVERIFY(a.number == b.number && a.start == b.start && a.end == b.end &&
                a.gageHeight == b.gageHeight && a.discharge == b.discharge &&
                a.indexVelocity == b.indexVelocity && a.measuredArea == b.measuredArea &&
                a.use == b.use && a.comment == b.comment);
    }
    // The command line rates the saved file exactly as the original.
    QCOMPARE(cliOutput({QStringLiteral("measurements"), kSection, saved}),
             cliOutput({QStringLiteral("measurements"), kSection, kMeasurements}));

    for (const auto& [action, to] :
         {std::pair{"exportSummaryAction", "csv"}, std::pair{"exportSummaryHtmlAction", "html"},
          std::pair{"exportSummaryExcelAction", "xls"}}) {
        const QString summary = dir.filePath(QStringLiteral("summary.") + QLatin1String(to));
        program.seam.chooseFile(summary);
        child<QAction>(window, action)->trigger();
        const QString expected = dir.filePath(QStringLiteral("expected.") + QLatin1String(to));
        cliOutput({QStringLiteral("measurements"), kSection, kMeasurements, QStringLiteral("--to"),
                   QLatin1String(to), QStringLiteral("-o"), expected});
        QCOMPARE(readFile(summary), readFile(expected));
    }
}

void IndexVelocityWindowTest::plotsAndTableSelectEachOthersRows() {
    TestProgram program;
    IndexVelocityWindow* window = openExample(program);
    window->resize(1100, 800);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    auto* table = child<QTableView>(window, "measurementTable");
    const int row = rowOf(*window, "321"); // excluded: drawn all the same
    for (const char* name : {"lineFitChart", "areaChart"}) {
        auto* chart = child<MeasurementChart>(window, name);
        chart->replot();
        const auto at = chart->pixelOfRow(row);
        QVERIFY(at.has_value());
        table->clearSelection();
        QTest::mouseClick(chart, Qt::LeftButton, {}, at->toPoint());
        QCOMPARE(table->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(table->selectionModel()->selectedRows()[0].row(), row);
    }
    // The other way: the chosen row is ringed where its point stands.
    auto* chart = child<MeasurementChart>(window, "lineFitChart");
    table->selectRow(rowOf(*window, "303"));
    const QCPGraph* ring = chart->graph(chart->graphCount() - 1);
    QCOMPARE(ring->dataCount(), 1);
    QCOMPARE(ring->data()->at(0)->key, 0.781);
}

void IndexVelocityWindowTest::printedReportHoldsTheRatingAndEveryMeasurement() {
    TestProgram program;
    IndexVelocityWindow* window = openExample(program);
    child<QComboBox>(window, "units")->setCurrentIndex(1); // metres
    std::optional<ReportDocument> shown;
    QTimer::singleShot(0, [&] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* preview = qobject_cast<ReportPreview*>(top);
                preview && preview->isVisible()) {
                shown = preview->document();
                preview->close();
            }
    });
    child<QAction>(window, "printReportAction")->trigger();
    QVERIFY(shown.has_value());
    QStringList texts;
    std::size_t pictures = 0;
    for (const ReportPage& page : shown->pages) {
        for (const ReportTextItem& item : page.items)
            texts << item.text;
        pictures += page.pictures.size();
    }
    QVERIFY(texts.contains(QStringLiteral("Equation: ") +
                           QString::fromStdString(equationText(window->fit()->equation, 6))));
    for (const Measurement& m : window->measurements())
        QVERIFY(texts.contains(QString::fromStdString(m.number)));
    QVERIFY(texts.contains(QStringLiteral("m\u00b3/s")));
    QVERIFY(!texts.contains(QStringLiteral("ft\u00b3/s")));
    QCOMPARE(pictures, std::size_t{3});
    QVERIFY(program.seam.messages.isEmpty());
}

void IndexVelocityWindowTest::addedMeasurementWaitsOutsideTheFitUntilTypedIn() {
    TestProgram program;
    IndexVelocityWindow* window = openExample(program);
    auto* table = child<QTableView>(window, "measurementTable");
    const std::size_t fitted = window->fit()->n;
    table->setCurrentIndex(table->model()->index(3, 0));
    child<QAction>(window, "addMeasurementAction")->trigger();
    QCOMPARE(window->measurements().size(), std::size_t{25});
    const Measurement& added = window->measurements()[4];
    QCOMPARE(added.use, MeasurementUse::Validate);
    QCOMPARE(added.start, window->measurements()[3].start);
    QCOMPARE(window->fit()->n, fitted);
    // Typed in and put to the fit: one more fitted, as the command line fits it.
    QApplication::processEvents(); // the new row's editor opened; leave it
    table->closePersistentEditor(table->currentIndex());
    typeInto(*window, 4, MeasurementTableModel::Number, QStringLiteral("399"));
    typeInto(*window, 4, MeasurementTableModel::IndexVelocity, QStringLiteral("0.5"));
    typeInto(*window, 4, MeasurementTableModel::Discharge, QStringLiteral("20"));
    typeInto(*window, 4, MeasurementTableModel::Use, QStringLiteral("fit"));
    QCOMPARE(window->fit()->n, fitted + 1);
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("added.csv"));
    program.seam.chooseFile(saved);
    child<QAction>(window, "saveMeasurementsAction")->trigger();
    compareWithCommandLine(*window, saved, QStringLiteral("simple"));
    // Five steps back (four edits and the row) give the imported measurements again.
    for (int step = 0; step < 5; ++step)
        window->undoStack().undo();
    QCOMPARE(window->measurements().size(), std::size_t{24});
    QCOMPARE(window->fit()->n, fitted);
}

void IndexVelocityWindowTest::failuresSaySoAndLeaveTheMeasurementsAsTheyWere() {
    TestProgram program;
    IndexVelocityWindow* window = openExample(program);
    QTemporaryDir dir;

    // A file that is no measurement list: its message, and the measurements stay.
    const QString bad = writeFile(dir.filePath(QStringLiteral("bad.csv")),
                                  "number,start,gage_height,discharge\n1,yesterday,1,2\n");
    program.seam.chooseFile(bad);
    child<QAction>(window, "importMeasurementsAction")->trigger();
    QCOMPARE(program.seam.messages.size(), 1);
    QVERIFY(program.seam.messages[0].text.contains(QStringLiteral("line 2, column start")));
    QCOMPARE(window->measurements().size(), std::size_t{24});

    // A gage height where the section holds no water names the measurement; nothing is rated,
    // the summary is not exported and the report says why there is no rating.
    program.seam.clearRecords();
    typeInto(*window, 0, MeasurementTableModel::GageHeight, QStringLiteral("-1"));
    auto* message = child<NoticeLine>(window, "message");
    QVERIFY(message->text().contains(QStringLiteral("Measurement 301 at gage height -1")));
    QVERIFY(!window->fit());
    QVERIFY(window->rated().empty());
    child<QAction>(window, "exportSummaryAction")->trigger();
    QVERIFY(program.seam.fileDialogs.isEmpty()); // refused before a name is asked for
    QCOMPARE(program.seam.messages.size(), 1);
    QVERIFY(program.seam.messages[0].text.contains(QStringLiteral("holds no water")));

    window->undoStack().undo();
    QVERIFY(window->fit());
    QVERIFY(message->isHidden());
}

void IndexVelocityWindowTest::unitsLabelColumnsAndAxesAndPlotsDrawTheRightPoints() {
    TestProgram program;
    IndexVelocityWindow* window = openExample(program);
    auto* table = child<QTableView>(window, "measurementTable");
    auto* lineFit = child<MeasurementChart>(window, "lineFitChart");
    const auto head = [table](int column) {
        return table->model()->headerData(column, Qt::Horizontal).toString();
    };
    QVERIFY(head(MeasurementTableModel::Discharge).endsWith(QStringLiteral("(ft\u00b3/s)")));
    QCOMPARE(lineFit->leftAxisTitle(), QStringLiteral("Mean velocity V (ft/s)"));
    child<QComboBox>(window, "units")->setCurrentIndex(1);
    QVERIFY(head(MeasurementTableModel::Discharge).endsWith(QStringLiteral("(m\u00b3/s)")));
    QVERIFY(head(MeasurementTableModel::RatedArea).endsWith(QStringLiteral("(m\u00b2)")));
    QCOMPARE(lineFit->leftAxisTitle(), QStringLiteral("Mean velocity V (m/s)"));
    QCOMPARE(child<MeasurementChart>(window, "areaChart")->bottomAxisTitle(),
             QStringLiteral("Area (m\u00b2)"));

    // The stage form plots measured against fitted V, each point where the fit puts it.
    child<QComboBox>(window, "model")->setCurrentIndex(2);
    QCOMPARE(lineFit->bottomAxisTitle(), QStringLiteral("Fitted V (m/s)"));
    const int row = rowOf(*window, "307");
    const auto at = lineFit->pixelOfRow(row);
    QVERIFY(at.has_value());
    lineFit->replot();
    const QPointF expected = lineFit->graph(0)->coordsToPixels(
        window->evaluated()[row].fittedVelocity, window->rated()[row].meanVelocity);
    QVERIFY(std::abs(lineFit->pixelOfRow(row)->x() - expected.x()) < 0.5);
    QVERIFY(std::abs(lineFit->pixelOfRow(row)->y() - expected.y()) < 0.5);

    // The area check marks the one measured area beyond 5 %: 315's.
    auto* areas = child<MeasurementChart>(window, "areaChart");
    QCPGraph* beyond = nullptr;
    for (int g = 0; g < areas->graphCount(); ++g)
        if (areas->graph(g)->name().startsWith(QStringLiteral("Beyond")))
            beyond = areas->graph(g);
    QVERIFY(beyond != nullptr);
    QCOMPARE(beyond->dataCount(), 1);
    QCOMPARE(beyond->data()->at(0)->key, 66.8);
}

void IndexVelocityWindowTest::failedSaveLeavesTheFileThatWasThere() {
    TestProgram program;
    IndexVelocityWindow* window = openExample(program);
    testing::ScratchFolder folder;
    std::filesystem::create_directories(folder.file("source"));
    testing::writeAllTo(folder.file("source/kept.csv"), "before\n");
    const testing::ReadOnlyMount mount(folder.file("source"), folder.file("readonly"));
    if (!mount.readOnly())
        QSKIP("needs a read-only bind mount (root)");
    program.seam.clearRecords();
    program.seam.chooseFile(QString::fromStdString(folder.file("readonly/kept.csv")));
    child<QAction>(window, "saveMeasurementsAction")->trigger();
    QCOMPARE(program.seam.messages.size(), 1);
    QVERIFY(program.seam.messages[0].text.contains(QStringLiteral("kept.csv")));
    QCOMPARE(testing::readAll(folder.file("source/kept.csv")), std::string("before\n"));
}

QTEST_MAIN(IndexVelocityWindowTest)
#include "index_velocity_window_test.moc"
