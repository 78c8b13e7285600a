// SPDX-License-Identifier: GPL-3.0-or-later
// Both rating commands end to end: bounds, edge warning, progress dialog, bounds prompt and the
// rating window; and the main window's keys from the other windows.

#include "components/chart/Chart.h"
#include "components/grid/PointGrid.h"
#include "components/widgets/GradientProgressBar.h"
#include "components/widgets/IncrementSpinBox.h"
#include "model/RatingTable.h"
#include "tests/support/Controls.h"
#include "tests/support/Tables.h"
#include "tests/support/TestProgram.h"
#include "ui/AboutBox.h"
#include "ui/AdcpImportWarning.h"
#include "ui/BoundsPrompt.h"
#include "ui/EdgeWarning.h"
#include "ui/MainWindow.h"
#include "ui/ProgressDialog.h"
#include "ui/RatingWindow.h"
#include "ui/Workspace.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <bit>
#include <cstdint>

using namespace korvadel;

namespace {

struct Row {
    double stage;
    double area;
};

QList<QPointF> ratingRows(const RatingTable& table) {
    QList<QPointF> rows;
    for (std::size_t row = 0; row < table.rowCount(); ++row)
        rows.append(QPointF(table.stageAt(row), table.areaAt(row)));
    return rows;
}

} // namespace

class RatingCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void mainCommandFillsAndShowsTheRatingWindow_data();
    void mainCommandFillsAndShowsTheRatingWindow();
    void edgeWarningIsModalAndTheRunGoesOn();
    void boundsPromptCommandUsesItsOwnFieldsUnrounded();
    void mainCommandClosesTheBoundsPrompt();
    void regeneratingRefillsInPlace();
    void rowWithoutStationStopsBeforeTheWindowOpens();
    void cancelLeavesThePreviousRatingAndARunGivesTheModelsBits();
    void mainWindowKeysWorkFromOtherWindowsButNotUnderAModalDialog();
    void regeneratedRatingWindowTakesTheKeyboard();
};

void RatingCommandsTest::mainCommandFillsAndShowsTheRatingWindow_data() {
    QTest::addColumn<QString>("maximum");
    QTest::addColumn<double>("increment");
    QTest::addColumn<int>("rows");
    QTest::addColumn<double>("lastStage");
    QTest::addColumn<double>("lastArea");
    QTest::addColumn<bool>("warns");
    QTest::newRow("0 to 5 by 1") << QStringLiteral("5") << 1.0 << 6 << 5.0 << 35.0 << false;
    QTest::newRow("0 to 12 by 1") << QStringLiteral("12") << 1.0 << 13 << 12.0 << 100.0 << true;
    QTest::newRow("0 to 1 by 0.01") << QStringLiteral("1") << 0.01 << 100 << 0.99 << 0.0 << false;
    QTest::newRow("maximum below minimum")
        << QStringLiteral("-1") << 1.0 << 0 << 0.0 << 0.0 << false;
    QTest::newRow("maximum at the bank")
        << QStringLiteral("10") << 0.5 << 21 << 10.0 << 80.0 << false;
}

void RatingCommandsTest::mainCommandFillsAndShowsTheRatingWindow() {
    QFETCH(QString, maximum);
    QFETCH(double, increment);
    QFETCH(int, rows);
    QFETCH(double, lastStage);
    QFETCH(double, lastArea);
    QFETCH(bool, warns);

    TestProgram program;
    MainWindow* main = program.main();
    setTrapezoid(main->workspace().document().points);
    if (QTest::currentDataTag() == QByteArray("0 to 1 by 0.01"))
        setTrapezoid(main->workspace().document().points,
                     1.0); // the bed above every stage: all areas 0
    ui(main).maximumStage->setText(maximum);
    ui(main).stageIncrement->setIncrement(increment);
    ui(main).pointGrid->setCurrentIndex(ui(main).pointGrid->model()->index(0, 0));
    ui(main).createRatingButton->click();

    QCOMPARE(program.seam.messages.size(), 0);
    QCOMPARE(program.seam.modals.size(), warns ? 1 : 0);
    RatingWindow* window = program.ratingWindow();
    QVERIFY(window->isVisible());
    QVERIFY(!static_cast<QWidget*>(program.progressDialog())->isVisible());
    const QList<QPointF> table = ratingRows(window->workspace().rating());
    QCOMPARE(table.size(), rows);
    QCOMPARE(ui(window).ratingChart->seriesGraph()->dataCount(), rows);
    if (rows > 0) {
        QCOMPARE(table.last().x(), lastStage);
        QCOMPARE(table.last().y(), lastArea);
    }
    QCOMPARE(main->workspace().document().points.suspendCount(), 0);
    QCOMPARE(window->workspace().rating().suspendCount(), 0);
    // The run leaves the table's cursor on its last row, and the grid shows it there.
    const PointTable& points = main->workspace().document().points;
    QCOMPARE(points.currentIndex(), std::ptrdiff_t(points.rowCount()) - 1);
    QCOMPARE(ui(main).pointGrid->currentIndex().row(), int(points.rowCount()) - 1);
    // The bar went up to one position per stage.
    if (rows > 0)
        QCOMPARE(ui(program.progressDialog()).progressBar->position(), rows);
}

void RatingCommandsTest::edgeWarningIsModalAndTheRunGoesOn() {
    TestProgram program;
    MainWindow* main = program.main();
    setTrapezoid(main->workspace().document().points);
    ui(main).maximumStage->setText(QStringLiteral("12"));
    ui(main).stageIncrement->setIncrement(1.0);
    bool sawModal = false;
    bool tableEmptyWhileShown = false;
    program.seam.onModal([&](QDialog& dialog) {
        sawModal = dialog.isModal() || dialog.windowModality() == Qt::ApplicationModal;
        tableEmptyWhileShown = program.ratingWindow()->workspace().rating().rowCount() == 0;
        dialog.reject(); // the close box
    });
    ui(main).createRatingButton->click();
    QVERIFY(sawModal);
    QVERIFY(tableEmptyWhileShown);
    QCOMPARE(program.seam.modals.size(), 1);
    QCOMPARE(program.seam.modals.first().objectName, QStringLiteral("edgeWarning"));
    QCOMPARE(program.ratingWindow()->workspace().rating().rowCount(), std::size_t{13});

    // An empty section reads both ends as 0.0: a positive maximum warns.
    main->workspace().document().points.clear();
    ui(main).maximumStage->setText(QStringLiteral("0.5"));
    ui(main).createRatingButton->click();
    QCOMPARE(program.seam.modals.size(), 2);
    ui(main).maximumStage->setText(QStringLiteral("0"));
    ui(main).createRatingButton->click();
    QCOMPARE(program.seam.modals.size(), 2);
}

void RatingCommandsTest::boundsPromptCommandUsesItsOwnFieldsUnrounded() {
    TestProgram program;
    MainWindow* main = program.main();
    setTrapezoid(main->workspace().document().points);
    ui(main).maximumStage->setText(QStringLiteral("99")); // not used by the prompt
    ui(main).boundsPromptAction->trigger();
    auto* prompt = program.boundsPrompt();
    QVERIFY(prompt->isVisible());
    ui(prompt).minimumStage->setText(QStringLiteral("0.125"));
    ui(prompt).maximumStage->setText(QStringLiteral("0.125"));
    emit prompt->okClicked();

    QVERIFY(!prompt->isVisible());
    QCOMPARE(program.seam.modals.size(), 0);
    QVERIFY(program.ratingWindow()->isVisible());
    const QList<QPointF> table = ratingRows(program.ratingWindow()->workspace().rating());
    QCOMPARE(table.size(), 1);
    QCOMPARE(table.first().x(), 0.125);
    // Water 0.125 deep over a 6-wide bed with 1:5 banks: 6 * 0.125 + 0.125 * 0.025 = 0.753125.
    QCOMPARE(table.first().y(), 0.753125);

    // The prompt keeps what was typed; a bad field stops before anything changes.
    ui(prompt).maximumStage->setText(QStringLiteral("x"));
    ui(main).boundsPromptAction->trigger();
    emit prompt->okClicked();
    QCOMPARE(program.seam.messages.size(), 1);
    QCOMPARE(program.seam.messages.first().text,
             QStringLiteral("'x' is not a valid floating point value."));
    QVERIFY(prompt->isVisible());
    QCOMPARE(ui(prompt).minimumStage->text(), QStringLiteral("0.125"));
    QCOMPARE(program.ratingWindow()->workspace().rating().rowCount(), std::size_t{1});
    QCOMPARE(prompt->focusWidget(), ui(prompt).maximumStage);
    QCOMPARE(ui(prompt).maximumStage->selectedText(), QStringLiteral("x"));
}

void RatingCommandsTest::mainCommandClosesTheBoundsPrompt() {
    TestProgram program;
    MainWindow* main = program.main();
    setTrapezoid(main->workspace().document().points);
    ui(main).boundsPromptAction->trigger();
    QVERIFY(program.boundsPrompt()->isVisible());
    ui(main).createRatingButton->click();
    QVERIFY(!program.boundsPrompt()->isVisible());
    QVERIFY(program.ratingWindow()->isVisible());
}

void RatingCommandsTest::regeneratingRefillsInPlace() {
    TestProgram program;
    MainWindow* main = program.main();
    setTrapezoid(main->workspace().document().points);
    ui(main).maximumStage->setText(QStringLiteral("5"));
    ui(main).stageIncrement->setIncrement(1.0);
    ui(main).createRatingButton->click();
    RatingWindow* window = program.ratingWindow();
    QCOMPARE(window->workspace().rating().rowCount(), std::size_t{6});
    const QPoint placed = window->pos();

    ui(main).maximumStage->setText(QStringLiteral("2"));
    ui(main).createRatingButton->click();
    QCOMPARE(window->workspace().rating().rowCount(), std::size_t{3});
    QCOMPARE(ui(window).ratingChart->seriesGraph()->dataCount(), 3);
    QCOMPARE(window->pos(), placed);

    ui(window).closeAction->trigger();
    QVERIFY(!window->isVisible());
    QCOMPARE(window->workspace().rating().rowCount(), std::size_t{3});
    ui(main).createRatingButton->click();
    QVERIFY(window->isVisible());
}

// A run of 5,000,001 stages on the worker thread, cancelled from the progress dialog as soon as
// it shows: the rating, its window and its run are what they were. A run left to finish holds
// the rows generateRating gives for the same section, to the bit.
void RatingCommandsTest::cancelLeavesThePreviousRatingAndARunGivesTheModelsBits() {
    TestProgram program;
    MainWindow* main = program.main();
    program.rateTrapezoid(QStringLiteral("3"));
    RatingWindow* window = program.ratingWindow();
    const QList<QPointF> before = ratingRows(program.rating());
    const RatingBounds ratedWith = program.workspace().ratingRun()->bounds;
    ui(window).closeAction->trigger();

    ProgressDialog* progress = program.progressDialog();
    QObject::connect(
        &program.workspace(), &Workspace::ratingComputing, progress,
        [progress] { ui(progress).cancelButton->click(); }, Qt::QueuedConnection);
    ui(main).maximumStage->setText(QStringLiteral("50000"));
    ui(main).stageIncrement->setIncrement(0.01);
    program.seam.onModal([](QDialog& warning) { warning.accept(); });
    ui(main).createRatingButton->click();
    QVERIFY(!program.workspace().ratingRunning());
    QVERIFY(!progress->isVisible());
    QVERIFY(!window->isVisible());
    QVERIFY(program.seam.messages.isEmpty());
    QCOMPARE(ratingRows(program.rating()), before);
    QCOMPARE(ui(window).ratingChart->seriesGraph()->dataCount(), int(before.size()));
    QCOMPARE(program.workspace().ratingRun()->bounds.maximum, ratedWith.maximum);
    QVERIFY(!program.workspace().ratingOutOfDate());

    QObject::disconnect(&program.workspace(), &Workspace::ratingComputing, progress, nullptr);
    ui(main).maximumStage->setText(QStringLiteral("12.37"));
    program.seam.onModal([](QDialog& warning) { warning.accept(); });
    ui(main).createRatingButton->click();
    QVERIFY(window->isVisible());
    PointTable points = program.document().points;
    RatingTable expected;
    RatingObserver quiet;
    generateRating(RatingMode::Main, program.workspace().ratingBounds(), points, expected, quiet,
                   {}, 1);
    const RatingTable& rating = program.rating();
    QCOMPARE(rating.rowCount(), expected.rowCount());
    for (std::size_t row = 0; row < rating.rowCount(); ++row) {
        QCOMPARE(std::bit_cast<std::uint64_t>(rating.stageAt(row)),
                 std::bit_cast<std::uint64_t>(expected.stageAt(row)));
        QCOMPARE(std::bit_cast<std::uint64_t>(rating.areaAt(row)),
                 std::bit_cast<std::uint64_t>(expected.areaAt(row)));
    }
}

void RatingCommandsTest::rowWithoutStationStopsBeforeTheWindowOpens() {
    TestProgram program;
    MainWindow* main = program.main();
    PointTable& points = main->workspace().document().points;
    // The blank start-up row gets an elevation but no station.
    points.setElevation(3.0);
    ui(main).createRatingButton->click();
    QCOMPARE(program.seam.messages.size(), 1);
    QCOMPARE(program.seam.messages.first().text,
             QStringLiteral("Field 'Station' must have a value."));
    QVERIFY(!program.ratingWindow()->isVisible());
    QVERIFY(!static_cast<QWidget*>(program.progressDialog())->isVisible());
    QCOMPARE(program.ratingWindow()->workspace().rating().rowCount(), std::size_t{0});
    QCOMPARE(points.suspendCount(), 0);
    QCOMPARE(program.ratingWindow()->workspace().rating().suspendCount(), 0);
}

void RatingCommandsTest::mainWindowKeysWorkFromOtherWindowsButNotUnderAModalDialog() {
    QTemporaryDir folder;
    const QString startDir = QDir::currentPath();
    TestProgram program;
    MainWindow* main = program.main();
    setTrapezoid(main->workspace().document().points);
    ui(main).maximumStage->setText(QStringLiteral("2"));
    ui(main).stageIncrement->setIncrement(1.0);
    ui(main).createRatingButton->click();
    RatingWindow* window = program.ratingWindow();
    TestProgram::activate(window);
    QCOMPARE(QApplication::activeWindow(), window);

    // Ctrl+S in the rating window saves the cross-section.
    program.seam.chooseFile(folder.filePath(QStringLiteral("from-rating-window")));
    QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(program.seam.fileDialogs.size(), 1);
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("from-rating-window.kvd"))));

    // With the about box open (F1) the same key does nothing.
    int dialogsWhileModal = -1;
    program.seam.onModal([&](QDialog& about) {
        QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(&about, Qt::Key_S, Qt::ControlModifier);
        dialogsWhileModal = static_cast<int>(program.seam.fileDialogs.size());
    });
    QTest::keyClick(window, Qt::Key_F1);
    QCOMPARE(program.seam.modals.size(), 1);
    QCOMPARE(program.seam.modals.first().objectName, QStringLiteral("aboutBox"));
    QCOMPARE(dialogsWhileModal, 1);

    // Ctrl+T from the rating window opens the prompt too.
    TestProgram::activate(window);
    QTest::keyClick(window, Qt::Key_T, Qt::ControlModifier);
    QVERIFY(program.boundsPrompt()->isVisible());
    QDir::setCurrent(startDir);
}

// Made again from the main window (Alt+C or the prompt's "&Ok"), the open rating window comes to
// the front as the active window, so the keys go to it.
void RatingCommandsTest::regeneratedRatingWindowTakesTheKeyboard() {
    TestProgram program;
    MainWindow* main = program.main();
    program.rateTrapezoid(QStringLiteral("2"));
    RatingWindow* window = program.ratingWindow();
    QVERIFY(window->isVisible());
    for (const bool fromPrompt : {false, true}) {
        TestProgram::activate(main);
        QCOMPARE(QApplication::activeWindow(), main);
        if (fromPrompt)
            ui(program.boundsPrompt()).okButton->click();
        else
            QTest::keyClick(main, Qt::Key_C, Qt::AltModifier);
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(window));
    }
    QVERIFY(program.seam.messages.isEmpty());
}

QTEST_MAIN(RatingCommandsTest)
#include "rating_commands_test.moc"
