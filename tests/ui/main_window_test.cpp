// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: its make-up, the file commands through the desktop seam, and errors
// reaching the boxes.

#include "components/chart/Chart.h"
#include "components/grid/PointGrid.h"
#include "components/widgets/IncrementSpinBox.h"
#include "components/widgets/NoticeLine.h"
#include "io/SurveyPoints.h"
#include "model/CrossSectionDocument.h"
#include "tests/support/ChartPoints.h"
#include "tests/support/Controls.h"
#include "tests/support/TestProgram.h"
#include "tests/support/UserInput.h"
#include "ui/AboutBox.h"
#include "ui/AdcpImportWarning.h"
#include "ui/BoundsPrompt.h"
#include "ui/EdgeWarning.h"
#include "ui/FileCommands.h"
#include "ui/HecRasSectionPicker.h"
#include "ui/HydraulicPropertiesWindow.h"
#include "ui/IndexVelocityWindow.h"
#include "ui/MainWindow.h"
#include "ui/ProgressDialog.h"
#include "ui/RatingWindow.h"
#include "ui/SectionCheckWindow.h"
#include "ui/SurveyComparisonWindow.h"
#include "ui/SurveyImportDialog.h"
#include "ui/Workspace.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QUndoStack>
#include <QWindow>
#include <QtTest>

using namespace korvadel;

namespace {

QList<QPointF> tablePoints(PointTable& table) {
    QList<QPointF> points;
    for (std::size_t row = 0; row < table.rowCount(); ++row)
        points.append(QPointF(table.stationAt(row), table.elevationAt(row)));
    return points;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startsWithItsControlsAndABlankRow();
    void firstKeystrokeGoesIntoThePointGrid();
    void menusOfferExactlyTheCommands();
    void everyAltLetterReachesOneControl();
    void fieldsHoldWhatWasTypedAndFeedTheDocument();
    void saveAndLoadRoundTripThroughTheDialogs();
    void loadOfAMissingFileShowsTheWarningBox();
    void commaImportReplacesThePointsAndReportsBadLines();
    void winRiverImportRunsFromTheWarningsContinue();
    void hecRasImportPicksASectionFromTheFilesList();
    void surveyImportLaysThePointsOntoTheChosenLine();
    void unsavedWorkIsAskedAboutBeforeItIsLost_data();
    void unsavedWorkIsAskedAboutBeforeItIsLost();
    void errorBoxAddsAFullStopOnlyAfterLettersAndDigits_data();
    void errorBoxAddsAFullStopOnlyAfterLettersAndDigits();

private:
    QTemporaryDir* folder_ = nullptr;
    QString startDir_;
};

void MainWindowTest::init() {
    startDir_ = QDir::currentPath();
    folder_ = new QTemporaryDir;
    QVERIFY(folder_->isValid());
}

void MainWindowTest::cleanup() {
    QDir::setCurrent(startDir_);
    delete folder_;
}

void MainWindowTest::startsWithItsControlsAndABlankRow() {
    TestProgram program;
    MainWindow* main = program.main();
    QCOMPARE(main->windowHandle()->title(), QStringLiteral("Korvadel 1.3"));
    QVERIFY(main->isVisible());
    for (QWidget* other : {static_cast<QWidget*>(program.ratingWindow()),
                           static_cast<QWidget*>(program.boundsPrompt())})
        QVERIFY(!other->isVisible());

    QCOMPARE(ui(main).minimumStage->text(), QStringLiteral("0"));
    QCOMPARE(ui(main).maximumStage->text(), QStringLiteral("1"));
    QCOMPARE(ui(main).datum->text(), QStringLiteral("0.00"));
    QCOMPARE(ui(main).description->text(), QString());
    // The water level before any animation: the fill baseline at elevation 0.00.
    QCOMPARE(program.workspace().waterLevel().levelText(), std::string("0.00"));
    QVERIFY(!ui(main).animationTimer->isActive());
    QCOMPARE(ui(main).animateButton->text(), QStringLiteral("&Animate Cross Section"));
    QCOMPARE(ui(main).createRatingButton->text(), QStringLiteral("&Create Stage Area Rating"));
    QCOMPARE(ui(main).createRatingButton->geometry(), QRect(4, 44, 177, 25));
    QCOMPARE(ui(main).maximumStage->geometry(), QRect(76, 51, 81, 21));
    QCOMPARE(main->findChild<QGroupBox*>(QStringLiteral("stationGroup"))->title(),
             QStringLiteral("Station "));
    QCOMPARE(main->findChild<QGroupBox*>(QStringLiteral("gageSettingsPanel"))->title(),
             QStringLiteral("Gage Height "));
    QCOMPARE(ui(main).sectionChart->titleLines(),
             (QStringList{QStringLiteral("Cross Section"), QString()}));
    QCOMPARE(ui(main).sectionChart->bottomAxisTitle(), QStringLiteral("Location"));
    QCOMPARE(ui(main).sectionChart->leftAxisTitle(), QStringLiteral("Elevation"));

    // The point grid begins on one blank row ready for typing.
    PointTable& points = main->workspace().document().points;
    QCOMPARE(points.rowCount(), std::size_t{1});
    QCOMPARE(points.state(), PointTable::State::Inserting);

    // Focus order: grid, Minimum, Maximum, Increment, Datum, the two buttons, description.
    QWidget* expected[] = {static_cast<QWidget*>(ui(main).pointGrid),
                           ui(main).minimumStage,
                           ui(main).maximumStage,
                           static_cast<QWidget*>(ui(main).stageIncrement),
                           ui(main).datum,
                           ui(main).animateButton,
                           ui(main).createRatingButton,
                           ui(main).description};
    for (std::size_t i = 0; i + 1 < std::size(expected); ++i) {
        QWidget* next = expected[i]->nextInFocusChain();
        // Spin boxes and grids hold inner widgets in the chain.
        while (next && (expected[i]->isAncestorOf(next) || next->focusPolicy() == Qt::NoFocus))
            next = next->nextInFocusChain();
        QCOMPARE(next, expected[i + 1]);
    }
}

void MainWindowTest::firstKeystrokeGoesIntoThePointGrid() {
    TestProgram program;
    MainWindow* main = program.main();
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(ui(main).pointGrid));
    for (const Qt::Key key : {Qt::Key_1, Qt::Key_2, Qt::Key_Tab})
        QTest::keyClick(QApplication::focusWidget(), key);
    QCOMPARE(ui(main).description->text(), QString());
    QCOMPARE(main->workspace().document().points.stationAt(0), 12.0);
}

void MainWindowTest::menusOfferExactlyTheCommands() {
    TestProgram program;
    MainWindow* main = program.main();
    const QList<QAction*> bar = main->menuBar()->actions();
    QCOMPARE(bar.size(), 4);
    QCOMPARE(bar[0]->text(), QStringLiteral("&File"));
    QCOMPARE(bar[1]->text(), QStringLiteral("&Edit"));
    QCOMPARE(bar[2]->text(), QStringLiteral("&Tools"));
    QCOMPARE(bar[3]->text(), QStringLiteral("&Help"));
    QCOMPARE(menuEntries(bar[0]->menu()),
             (QStringList{QStringLiteral("&New Cross Section|Ctrl+N"), QStringLiteral("-"),
                          QStringLiteral("&Load Cross Section|Ctrl+L"),
                          QStringLiteral("&Import from>&Comma Delimited File,"
                                         "&WinRiver Classic ACSII Data File,"
                                         "HEC-RAS &Geometry File...,&Surveyed Points..."),
                          QStringLiteral("-"), QStringLiteral("&Save Cross Section|Ctrl+S"),
                          QStringLiteral("-"), QStringLiteral("&Print Cross Section Chart|Ctrl+P"),
                          QStringLiteral("-"), QStringLiteral("E&xit")}));
    QCOMPARE(menuEntries(bar[1]->menu()),
             (QStringList{QStringLiteral("&Undo|Ctrl+Z"), QStringLiteral("&Redo|Ctrl+Y")}));
    QCOMPARE(ui(main).redoAction->shortcuts(),
             (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Y")),
                                  QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));
    QCOMPARE(menuEntries(bar[2]->menu()),
             (QStringList{QStringLiteral("&Check Section..."),
                          QStringLiteral("Co&mpare with Section..."),
                          QStringLiteral("&Index Velocity Rating...")}));
    QCOMPARE(menuEntries(bar[3]->menu()), QStringList{QStringLiteral("&About|F1")});
    QCOMPARE(ui(main).boundsPromptAction->shortcut(), QKeySequence(QStringLiteral("Ctrl+T")));
    for (QAction* action :
         {ui(main).newAction, ui(main).loadAction, ui(main).saveAction, ui(main).aboutAction,
          ui(main).boundsPromptAction, ui(main).undoAction, ui(main).redoAction})
        QCOMPARE(action->shortcutContext(), Qt::ApplicationShortcut);

    // Ctrl+T opens the bounds prompt although no menu shows it; twice gives the same prompt.
    QTest::keyClick(main, Qt::Key_T, Qt::ControlModifier);
    QWidget* prompt = static_cast<QWidget*>(program.boundsPrompt());
    QVERIFY(prompt->isVisible());
    QTest::keyClick(main, Qt::Key_T, Qt::ControlModifier);
    QVERIFY(prompt->isVisible());
}

void MainWindowTest::everyAltLetterReachesOneControl() {
    TestProgram program;
    const Program& windows = program.program;
    for (const QWidget* window : std::initializer_list<const QWidget*>{
             windows.mainWindow(), windows.boundsPrompt(), windows.ratingWindow(),
             windows.aboutBox(), windows.progressDialog(), windows.adcpImportWarning(),
             windows.edgeWarning(), windows.propertiesWindow(), windows.sectionCheckWindow(),
             windows.comparisonWindow(), windows.indexVelocityWindow()}) {
        QVERIFY(window);
        const QStringList clashes = mnemonicClashes(window);
        QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QStringLiteral("; "))));
    }
}

void MainWindowTest::fieldsHoldWhatWasTypedAndFeedTheDocument() {
    TestProgram program;
    MainWindow* main = program.main();
    ui(main).minimumStage->clear();
    QTest::keyClicks(ui(main).minimumStage, QStringLiteral(" 1,5x"));
    QCOMPARE(ui(main).minimumStage->text(), QStringLiteral(" 1,5x"));
    QCOMPARE(main->workspace().document().settings.minimum, std::string(" 1,5x"));
    ui(main).description->setText(QStringLiteral("Río Frío"));
    QCOMPARE(main->workspace().document().description, std::string("R\xED"
                                                                   "o Fr\xED"
                                                                   "o"));
    ui(main).datum->setText(QStringLiteral("100"));
    QCOMPARE(main->workspace().document().settings.datum, std::string("100"));
}

void MainWindowTest::saveAndLoadRoundTripThroughTheDialogs() {
    TestProgram program;
    MainWindow* main = program.main();
    CrossSectionDocument& document = main->workspace().document();
    document.points.discard();
    document.points.appendRow(20, 5);
    document.points.appendRow(0, 5);
    document.points.appendRow(10, 2.5);
    ui(main).description->setText(QStringLiteral("Río Frío at the bridge"));
    ui(main).maximumStage->setText(QStringLiteral("4.5"));
    ui(main).datum->setText(QStringLiteral("100"));

    QDir::setCurrent(folder_->path());
    program.seam.chooseFile(QStringLiteral("sub/section"));
    QDir().mkpath(folder_->filePath(QStringLiteral("sub")));
    QTest::keyClick(main, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(program.seam.messages.size(), 0);
    QCOMPARE(program.seam.fileDialogs.size(), 1);
    const FileDialogState shown = program.seam.fileDialogs.last();
    QCOMPARE(shown.kind, FileDialogState::Kind::Save);
    QCOMPARE(shown.filter, QStringLiteral("Korvadel File (*.kvd)|*.kvd"));
    QVERIFY(!shown.overwritePrompt);
    // A name typed without an extension becomes a cross-section file.
    const QString saved = folder_->filePath(QStringLiteral("sub/section.kvd"));
    const QByteArray bytes = readFile(saved);
    QVERIFY(bytes.startsWith("//Korvadel\r\n//Station\tR\xEDo Fr\xEDo at the bridge\r\n"));
    QVERIFY(bytes.contains("0\t5\r\n10\t2.5\r\n20\t5\r\n"));
    // The dialog's folder is the working directory now, and the dialog remembers the name.
    QCOMPARE(QDir::currentPath(), folder_->filePath(QStringLiteral("sub")));
    QCOMPARE(QDir::fromNativeSeparators(main->files().saveDialog.fileName), saved);

    QTest::keyClick(main, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(ui(main).description->text(), QString());
    QCOMPARE(ui(main).maximumStage->text(), QStringLiteral("1"));

    program.seam.chooseFile(saved, 2);
    QTest::keyClick(main, Qt::Key_L, Qt::ControlModifier);
    QCOMPARE(program.seam.fileDialogs.last().filter,
             QStringLiteral("Korvadel File (*.kvd)|*.kvd|All Files (*.*)|*.*"));
    QCOMPARE(program.seam.fileDialogs.last().filterIndex, 1);
    QCOMPARE(program.seam.messages.size(), 0);
    QCOMPARE(ui(main).description->text(), QStringLiteral("Río Frío at the bridge"));
    QCOMPARE(ui(main).maximumStage->text(), QStringLiteral("4.5"));
    QCOMPARE(ui(main).datum->text(), QStringLiteral("100"));
    const QList<QPointF> expected{{0, 5}, {10, 2.5}, {20, 5}};
    QCOMPARE(tablePoints(document.points), expected);
    QCOMPARE(chartPoints(*ui(main).sectionChart), expected);

    // The open dialog keeps the entry picked last time.
    program.seam.cancelFileDialog();
    ui(main).loadAction->trigger();
    QCOMPARE(program.seam.fileDialogs.last().filterIndex, 2);
    QCOMPARE(tablePoints(document.points), expected);
}

void MainWindowTest::loadOfAMissingFileShowsTheWarningBox() {
    TestProgram program;
    MainWindow* main = program.main();
    main->workspace().document().points.discard();
    main->workspace().document().points.appendRow(1, 1);
    ui(main).description->setText(QStringLiteral("kept?"));
    program.seam.answerSave(DesktopSeam::SaveAnswer::Discard);
    program.seam.chooseFile(folder_->filePath(QStringLiteral("missing.kvd")));
    ui(main).loadAction->trigger();
    QCOMPARE(program.seam.messages.size(), 1);
    const ScriptedSeam::Message message = program.seam.messages.first();
    QCOMPARE(message.kind, DesktopSeam::MessageKind::Warning);
    QCOMPARE(message.caption, QStringLiteral("Warning"));
    QCOMPARE(message.text,
             QStringLiteral(
                 "Unable to access file!\nFile may already be open in\nanother program (Excel)."));
    // A file that cannot be opened changes nothing.
    QCOMPARE(ui(main).description->text(), QStringLiteral("kept?"));
    QCOMPARE(tablePoints(main->workspace().document().points), (QList<QPointF>{{1, 1}}));
}

void MainWindowTest::commaImportReplacesThePointsAndReportsBadLines() {
    TestProgram program;
    MainWindow* main = program.main();
    ui(main).description->setText(QStringLiteral("stays"));
    const QString good =
        writeFile(folder_->filePath(QStringLiteral("points.csv")), "10,10\r\n0,10\r\n5,2\r\n");
    program.seam.chooseFile(good);
    ui(main).importCommaDelimitedAction->trigger();
    QCOMPARE(program.seam.messages.size(), 0);
    const QList<QPointF> expected{{0, 10}, {5, 2}, {10, 10}};
    QCOMPARE(tablePoints(main->workspace().document().points), expected);
    QCOMPARE(chartPoints(*ui(main).sectionChart), expected);
    QCOMPARE(ui(main).description->text(), QStringLiteral("stays"));
    QVERIFY(program.seam.fileDialogs.last().fileName.isEmpty());
    QCOMPARE(program.seam.fileDialogs.last().kind, FileDialogState::Kind::Open);
    QCOMPARE(program.seam.fileDialogs.last().filter,
             QStringLiteral("CSV (Comma Delimited) Files (*.csv)|*.CSV|Text Files (*.txt)|*.TXT|"
                            "All Files (*.*)|*.*"));

    // A blank last line stops the import after the points before it are in.
    const QString blankEnd =
        writeFile(folder_->filePath(QStringLiteral("blank.csv")), "1,1\r\n2,2\r\n\r\n");
    program.seam.chooseFile(blankEnd);
    ui(main).importCommaDelimitedAction->trigger();
    QCOMPARE(program.seam.messages.size(), 1);
    QCOMPARE(program.seam.messages.last().kind, DesktopSeam::MessageKind::Error);
    QCOMPARE(program.seam.messages.last().caption, QStringLiteral("Korvadel"));
    // ")" sorts before "." and gets no full stop.
    QCOMPARE(program.seam.messages.last().text, QStringLiteral("List index out of bounds (0)"));
    QCOMPARE(tablePoints(main->workspace().document().points), (QList<QPointF>{{1, 1}, {2, 2}}));
    QCOMPARE(chartPoints(*ui(main).sectionChart), (QList<QPointF>{{1, 1}, {2, 2}}));
    QCOMPARE(main->workspace().document().points.suspendCount(), 0);

    // A file that cannot be opened: the warning box, the points unchanged.
    program.seam.chooseFile(folder_->filePath(QStringLiteral("nothing.csv")));
    ui(main).importCommaDelimitedAction->trigger();
    QCOMPARE(program.seam.messages.last().kind, DesktopSeam::MessageKind::Warning);
    QCOMPARE(tablePoints(main->workspace().document().points), (QList<QPointF>{{1, 1}, {2, 2}}));
}

void MainWindowTest::winRiverImportRunsFromTheWarningsContinue() {
    TestProgram program;
    MainWindow* main = program.main();
    QWidget* warning = static_cast<QWidget*>(program.importWarning());
    ui(main).importWinRiverAction->trigger();
    QVERIFY(warning->isVisible());
    QCOMPARE(program.seam.fileDialogs.size(), 0);

    // Three header lines, then two ensembles of six lines and no bins.
    QByteArray transect = "header 1\r\nheader 2\r\nheader 3\r\n";
    auto ensemble = [](const char* depths, const char* distance) {
        QByteArray lines = "ensemble\r\n";
        lines += QByteArray("0 0 0 0 0 0 0 0 ") + depths + "\r\n";
        lines += QByteArray("0 0 0 0 ") + distance + "\r\n";
        lines += "skip\r\nskip\r\n0 cm BT dB 0 0\r\n";
        return lines;
    };
    transect += ensemble("2.0 2.2 2.4 2.6", "15.5");
    transect += ensemble("1 1 1 1", "3");
    const QString path = writeFile(folder_->filePath(QStringLiteral("transectt.000")), transect);

    program.seam.chooseFile(path);
    main->importWinRiverFile();
    QCOMPARE(program.seam.messages.size(), 0);
    QCOMPARE(program.seam.fileDialogs.size(), 1);
    QVERIFY(program.seam.fileDialogs.last().fileName.isEmpty());
    QCOMPARE(program.seam.fileDialogs.last().filter,
             QStringLiteral("WinRiver Ascii Out Files|*t.000;*ASC.TXT|All Files (*.*)|*.*"));
    const QList<QPointF> points = tablePoints(main->workspace().document().points);
    QCOMPARE(points.size(), 2);
    QCOMPARE(points[0], QPointF(3, -1));
    QCOMPARE(points[1].x(), 15.5);
    QVERIFY(qAbs(points[1].y() + 2.3) < 1e-12);
    QCOMPARE(chartPoints(*ui(main).sectionChart).size(), 2);

    // Cancelling the dialog leaves the section alone.
    program.seam.cancelFileDialog();
    main->importWinRiverFile();
    QCOMPARE(tablePoints(main->workspace().document().points).size(), 2);
}

void MainWindowTest::unsavedWorkIsAskedAboutBeforeItIsLost_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("answer");
    using Answer = DesktopSeam::SaveAnswer;
    for (const char* command : {"new", "load", "exit", "close box", "open from outside"}) {
        QTest::addRow("%s, cancel", command) << QString::fromLatin1(command) << int(Answer::Cancel);
        QTest::addRow("%s, discard", command)
            << QString::fromLatin1(command) << int(Answer::Discard);
        QTest::addRow("%s, save", command) << QString::fromLatin1(command) << int(Answer::Save);
    }
}

void MainWindowTest::unsavedWorkIsAskedAboutBeforeItIsLost() {
    QFETCH(QString, command);
    QFETCH(int, answer);
    TestProgram program;
    MainWindow* main = program.main();
    QWindow* handle = main->windowHandle();
    const QString other = writeFile(folder_->filePath(QStringLiteral("other.kvd")),
                                    "//Korvadel\r\n//Station\tOther\r\n//GHMinimum\t0\r\n"
                                    "//GHMaximum\t1\r\n//GHIncrement\t0.01\r\n"
                                    "//GHDatum\t0.00\r\nStation\tElevation\r\n3\t4\r\n");
    const bool ends = command == QLatin1String("exit") || command == QLatin1String("close box");
    const bool replaces = command != QLatin1String("new") && !ends;
    const auto run = [&] {
        if (command == QLatin1String("new")) {
            ui(main).newAction->trigger();
        } else if (command == QLatin1String("load")) {
            program.seam.chooseFile(other);
            ui(main).loadAction->trigger();
        } else if (command == QLatin1String("exit")) {
            ui(main).exitAction->trigger();
        } else if (command == QLatin1String("close box")) {
            main->close();
        } else {
            main->openFile(other);
        }
    };

    // Untouched, or just loaded: nothing is asked and nothing marks the caption.
    QCOMPARE(handle->title(), QStringLiteral("Korvadel 1.3"));
    if (!ends) {
        run();
        ui(main).newAction->trigger();
        QVERIFY(program.seam.saveQuestions.isEmpty());
    }

    // A typed point, another still in its cell, and an edited field.
    PointTable& points = program.document().points;
    points.discard();
    points.appendRow(1, 2);
    QTest::keyClick(ui(main).pointGrid, Qt::Key_Insert);
    QTest::keyClicks(ui(main).pointGrid, QStringLiteral("5"));
    ui(main).minimumStage->setText(QStringLiteral("3"));
    QCOMPARE(handle->title(), QStringLiteral("Korvadel 1.3*"));
    const QString saved = folder_->filePath(QStringLiteral("mine.kvd"));
    program.seam.answerSave(DesktopSeam::SaveAnswer(answer));
    if (answer == int(DesktopSeam::SaveAnswer::Save))
        program.seam.chooseFile(saved);
    run();

    QCOMPARE(program.seam.saveQuestions,
             QStringList{QStringLiteral("Save changes to the cross section?")});
    if (answer == int(DesktopSeam::SaveAnswer::Cancel)) {
        // Everything as it was, the value that was being typed included.
        QVERIFY(main->isVisible());
        QCOMPARE(ui(main).minimumStage->text(), QStringLiteral("3"));
        QCOMPARE(program.workspace().currentSection().stations, (std::vector<double>{1, 5}));
        QCOMPARE(handle->title(), QStringLiteral("Korvadel 1.3*"));
        QVERIFY(!QFile::exists(saved));
        return;
    }
    if (answer == int(DesktopSeam::SaveAnswer::Save))
        QVERIFY(
            readFile(saved).endsWith("//GHMinimum\t3\r\n//GHMaximum\t1\r\n//GHIncrement\t0.01\r\n"
                                     "//GHDatum\t0.00\r\nStation\tElevation\r\n1\t2\r\n5\t0\r\n"));
    QCOMPARE(main->isVisible(), !ends);
    if (ends)
        return;
    QCOMPARE(ui(main).minimumStage->text(), QStringLiteral("0"));
    const QList<QPointF> shown = replaces ? QList<QPointF>{{3, 4}} : QList<QPointF>{};
    QCOMPARE(chartPoints(*ui(main).sectionChart), shown);
    QCOMPARE(handle->title(), replaces ? QStringLiteral("Korvadel 1.3 - other.kvd")
                                       : QStringLiteral("Korvadel 1.3"));
    if (!replaces)
        return;
    // An edit marks it again, and undoing the edit clears the mark, as in any editor.
    points.moveTo(0);
    points.setElevation(9.0);
    points.commit();
    QVERIFY(main->isWindowModified());
    ui(main).undoAction->trigger();
    QVERIFY(!main->isWindowModified());
}

void MainWindowTest::errorBoxAddsAFullStopOnlyAfterLettersAndDigits_data() {
    QTest::addColumn<QString>("minimum");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << QStringLiteral("abc")
                            << QStringLiteral("'abc' is not a valid floating point value.");
    QTest::newRow("empty") << QString()
                           << QStringLiteral("'' is not a valid floating point value.");
}

void MainWindowTest::errorBoxAddsAFullStopOnlyAfterLettersAndDigits() {
    QFETCH(QString, minimum);
    QFETCH(QString, shown);
    TestProgram program;
    MainWindow* main = program.main();
    ui(main).minimumStage->setText(minimum);
    ui(main).createRatingButton->click();
    QCOMPARE(program.seam.messages.size(), 1);
    QCOMPARE(program.seam.messages.first().kind, DesktopSeam::MessageKind::Error);
    QCOMPARE(program.seam.messages.first().caption, QStringLiteral("Korvadel"));
    QCOMPARE(program.seam.messages.first().text, shown);
    QVERIFY(!program.ratingWindow()->isVisible());
    // The field it came from is ready to be typed over.
    QCOMPARE(main->focusWidget(), ui(main).minimumStage);
    QCOMPARE(ui(main).minimumStage->selectedText(), minimum);

    // A message ending in "!" or "." gets nothing more.
    QCOMPARE(DesktopSeam::errorBoxText(QStringLiteral("Unable to access file!")),
             QStringLiteral("Unable to access file!"));
    QCOMPARE(DesktopSeam::errorBoxText(QStringLiteral("I/O error 7")),
             QStringLiteral("I/O error 7."));
    QCOMPARE(DesktopSeam::errorBoxText(QStringLiteral("(x)")), QStringLiteral("(x)"));
}

namespace {

// Two reaches in fields of eight characters, a block that does not read between them, and an
// interpolated section listed from right to left.
const QByteArray kGeometry = "Geom Title=Made for the test\n"
                             "River Reach=Stony Creek     ,Upper           \n"
                             "Type RM Length L Ch R = 1 ,200     ,10,10,10\n"
                             "#Sta/Elev= 4 \n"
                             "       0      10       2       0       8       0      10      10\n"
                             "#Mann= 3 , 0 , 0 \n"
                             "       0     .05       0       2     .03       0       8     .05"
                             "       0\n"
                             "Bank Sta=2,8\n"
                             "\n"
                             "Type RM Length L Ch R = 1 ,150     ,10,10,10\n"
                             "#Sta/Elev= 2 \n"
                             "       0     abc       4       1\n"
                             "\n"
                             "River Reach=Stony Creek     ,Lower           \n"
                             "Type RM Length L Ch R = 1 ,100*    ,10,10,10\n"
                             "#Sta/Elev= 3 \n"
                             "      10       4       5       3       0       4\n"
                             "Bank Sta=0,10\n";

QString itemTexts(const QTreeWidgetItem* item) {
    QStringList texts;
    for (int column = 0; column < item->columnCount(); ++column)
        texts << item->text(column);
    return texts.join(QLatin1Char('|'));
}

} // namespace

void MainWindowTest::hecRasImportPicksASectionFromTheFilesList() {
    TestProgram program;
    MainWindow* main = program.main();
    Workspace& workspace = main->workspace();
    ui(main).description->setText(QStringLiteral("before"));
    ui(main).maximumStage->setText(QStringLiteral("7"));
    const std::size_t rowsBefore = workspace.document().points.rowCount();
    const QString path = writeFile(folder_->filePath(QStringLiteral("creek.g02")), kGeometry);

    QStringList rows;
    QString problems;
    program.seam.chooseFile(path);
    program.seam.onModal([&](QDialog& dialog) {
        auto* list = child<QTreeWidget>(&dialog, "sectionList");
        for (int row = 0; row < list->topLevelItemCount(); ++row)
            rows << itemTexts(list->topLevelItem(row));
        problems = child<QLabel>(&dialog, "problems")->text();
        list->setCurrentItem(list->topLevelItem(1));
        child<QDialogButtonBox>(&dialog, "buttons")->button(QDialogButtonBox::Ok)->click();
    });
    ui(main).importHecRasAction->trigger();
    QCOMPARE(program.seam.messages.size(), 0);
    QCOMPARE(program.seam.fileDialogs.last().filter,
             QStringLiteral("HEC-RAS Geometry Files (*.g01 ... *.g99)|*.g[0-9][0-9]|"
                            "All Files (*.*)|*.*"));
    QCOMPARE(program.seam.modals.last().objectName, QStringLiteral("hecRasSectionPicker"));
    QCOMPARE(rows, (QStringList{QStringLiteral("Stony Creek Upper 200|4|2|8"),
                                QStringLiteral("Stony Creek Lower 100*|3|0|10")}));
    QVERIFY2(problems.contains(path + QStringLiteral(", line 12, river station 150: ")),
             qPrintable(problems));

    // The picked section is the document: its points in station order and its name; the
    // settings stay. It is one step of the history, and unsaved.
    QCOMPARE(tablePoints(workspace.document().points), (QList<QPointF>{{0, 4}, {5, 3}, {10, 4}}));
    QCOMPARE(ui(main).description->text(), QStringLiteral("Stony Creek Lower 100*"));
    QCOMPARE(ui(main).maximumStage->text(), QStringLiteral("7"));
    QVERIFY(workspace.isModified());
    QCOMPARE(workspace.unsortedStations(), std::size_t{2});
    // Without n values in the file there are none to keep.
    QVERIFY(!workspace.readRoughness(workspace.currentSection()));

    // The first section brings its n values and banks; they last as long as its points.
    program.seam.chooseFile(path);
    program.seam.onModal(
        [](QDialog& dialog) { static_cast<HecRasSectionPicker&>(dialog).accept(); });
    ui(main).importHecRasAction->trigger();
    QCOMPARE(ui(main).description->text(), QStringLiteral("Stony Creek Upper 200"));
    const auto read = workspace.readRoughness(workspace.currentSection());
    QVERIFY(read);
    QCOMPARE(read->roughness.boundaries, (std::vector<double>{2, 8}));
    QCOMPARE(read->roughness.roughness, (std::vector<double>{0.05, 0.03, 0.05}));
    QCOMPARE(read->leftBank, std::optional<double>(2));
    QCOMPARE(read->rightBank, std::optional<double>(8));
    PointTable& points = workspace.document().points;
    points.moveTo(1);
    points.setElevation(-1.0);
    points.commit();
    QVERIFY(!workspace.readRoughness(workspace.currentSection()));
    ui(main).undoAction->trigger();
    QVERIFY(workspace.readRoughness(workspace.currentSection()));

    // Undone, the document before; cancelled, the list changes nothing.
    ui(main).undoAction->trigger();
    ui(main).undoAction->trigger();
    QCOMPARE(ui(main).description->text(), QStringLiteral("before"));
    QCOMPARE(workspace.document().points.rowCount(), rowsBefore);
    const int steps = workspace.history().stack().count();
    program.seam.chooseFile(path);
    program.seam.onModal([](QDialog& dialog) { dialog.reject(); });
    ui(main).importHecRasAction->trigger();
    QCOMPARE(ui(main).description->text(), QStringLiteral("before"));
    QCOMPARE(workspace.history().stack().count(), steps);

    // A file without a cross section says so, and no list comes up.
    const int modals = static_cast<int>(program.seam.modals.size());
    const QString empty = writeFile(folder_->filePath(QStringLiteral("empty.g01")),
                                    "Geom Title=Nothing here\nRiver Reach=A,B\n");
    program.seam.chooseFile(empty);
    ui(main).importHecRasAction->trigger();
    QCOMPARE(program.seam.messages.size(), 1);
    QCOMPARE(program.seam.messages.last().text,
             empty + QStringLiteral(" holds no cross sections."));
    QCOMPARE(program.seam.modals.size(), modals);
    // Nor does one whose every cross section is broken: the first says why.
    QByteArray broken = kGeometry.left(kGeometry.indexOf("River Reach=Stony Creek     ,Lower"));
    broken.replace("       0      10       2       0", "       0      10       x       0");
    program.seam.chooseFile(writeFile(folder_->filePath(QStringLiteral("broken.g01")), broken));
    ui(main).importHecRasAction->trigger();
    QCOMPARE(program.seam.messages.size(), 2);
    QVERIFY2(program.seam.messages.last().text.endsWith(
                 QStringLiteral("(and 1 more cross section that cannot be read)")),
             qPrintable(program.seam.messages.last().text));
    QCOMPARE(program.seam.modals.size(), modals);
    QCOMPARE(ui(main).description->text(), QStringLiteral("before"));
}

void MainWindowTest::surveyImportLaysThePointsOntoTheChosenLine() {
    TestProgram program;
    MainWindow* main = program.main();
    Workspace& workspace = main->workspace();
    ui(main).description->setText(QStringLiteral("stays"));
    const std::size_t rowsBefore = workspace.document().points.rowCount();
    // Pins L and R on the line y = 0 from (0, 0) to (10, 0); B lies 2 before L, F is 3 off the
    // line, and the last point X lies beyond R.
    const QString path = writeFile(folder_->filePath(QStringLiteral("shots.csv")),
                                   "Point,E,N,Z\r\nB,-2,0,9\r\nL,0,0,8\r\nA,4,0.5,2\r\n"
                                   "F,6,3,1\r\nR,10,0,8\r\nX,12,0,9\r\n");
    struct Seen {
        QString left, right, start, maxOffset;
        QStringList warnings;
        bool okWithBadNumber = true;
        QString problem;
    } seen;
    const auto column = [](QAbstractItemModel* model, int column) {
        QStringList texts;
        for (int row = 0; row < model->rowCount(); ++row)
            texts << model->index(row, column).data().toString();
        return texts;
    };
    program.seam.chooseFile(path);
    program.seam.onModal([&](QDialog& shown) {
        auto& dialog = static_cast<SurveyImportDialog&>(shown);
        seen.left = child<QComboBox>(&dialog, "leftPin")->currentText();
        seen.right = child<QComboBox>(&dialog, "rightPin")->currentText();
        seen.start = child<QLineEdit>(&dialog, "startStation")->text();
        seen.maxOffset = child<QLineEdit>(&dialog, "maxOffset")->text();
        child<QComboBox>(&dialog, "leftPin")->setCurrentIndex(1);
        child<QComboBox>(&dialog, "rightPin")->setCurrentIndex(4);
        auto* start = child<QLineEdit>(&dialog, "startStation");
        start->setText(QStringLiteral("x"));
        QPushButton* ok = child<QDialogButtonBox>(&dialog, "buttons")->button(QDialogButtonBox::Ok);
        seen.okWithBadNumber = ok->isEnabled();
        seen.problem = child<NoticeLine>(&dialog, "message")->text();
        start->setText(QStringLiteral("100"));
        child<QCheckBox>(&dialog, "dropOffLine")->setChecked(true);
        seen.warnings = column(child<QTableView>(&dialog, "pointTable")->model(), 3);
        ok->click();
    });
    ui(main).importSurveyAction->trigger();
    QCOMPARE(program.seam.messages.size(), 0);
    QCOMPARE(program.seam.modals.last().objectName, QStringLiteral("surveyImportDialog"));
    QCOMPARE(program.seam.fileDialogs.last().filter,
             QStringLiteral("Surveyed Points (*.csv)|*.CSV|Text Files (*.txt)|*.TXT|"
                            "All Files (*.*)|*.*"));
    // The first and the last point to begin with, at the default station and offset.
    QCOMPARE(seen.left, QStringLiteral("B"));
    QCOMPARE(seen.right, QStringLiteral("X"));
    QCOMPARE(seen.start, QStringLiteral("0"));
    QCOMPARE(seen.maxOffset, QStringLiteral("1"));
    QVERIFY(!seen.okWithBadNumber);
    QCOMPARE(seen.problem,
             QStringLiteral("Start station: 'x' is not a valid floating point value."));
    QCOMPARE(seen.warnings, (QStringList{QStringLiteral("beyond a pin, dropped"), QString(),
                                         QString(), QStringLiteral("off the line, dropped"),
                                         QString(), QStringLiteral("beyond a pin, dropped")}));

    // The points kept, as the command line's reader lays them with the same choices.
    CrossSectionDocument expected;
    SurveyLine line;
    line.leftPin = "L";
    line.rightPin = "R";
    line.startStation = 100;
    line.dropOffLine = true;
    importSurveyedPoints(path.toStdString(), line, expected);
    QCOMPARE(tablePoints(workspace.document().points), tablePoints(expected.points));
    QCOMPARE(tablePoints(workspace.document().points),
             (QList<QPointF>{{100, 8}, {104, 2}, {110, 8}}));
    QCOMPARE(ui(main).description->text(), QStringLiteral("stays"));

    // Undone, nothing; cancelled, nothing either.
    ui(main).undoAction->trigger();
    QCOMPARE(workspace.document().points.rowCount(), rowsBefore);
    program.seam.chooseFile(path);
    program.seam.onModal([](QDialog& dialog) { dialog.reject(); });
    ui(main).importSurveyAction->trigger();
    QCOMPARE(workspace.document().points.rowCount(), rowsBefore);
    QVERIFY(workspace.history().stack().canRedo());

    // Coordinates near the largest number still make a plan and an import.
    program.seam.chooseFile(writeFile(folder_->filePath(QStringLiteral("far.csv")),
                                      "name,x,y,z\nA,0,0,1\nB,1e308,0,2\nC,-1e308,0,1\n"));
    program.seam.onModal([](QDialog& dialog) { dialog.accept(); });
    ui(main).importSurveyAction->trigger();
    QCOMPARE(program.seam.messages.size(), 0);
    QCOMPARE(workspace.document().points.rowCount(), std::size_t{3});
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
