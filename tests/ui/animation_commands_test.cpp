// SPDX-License-Identifier: GPL-3.0-or-later
// The animation through the main window: its button, its timer, the fields it locks and the
// error box for a start that cannot go on.

#include "components/chart/Chart.h"
#include "components/grid/PointGrid.h"
#include "components/widgets/IncrementSpinBox.h"
#include "tests/support/Controls.h"
#include "tests/support/Tables.h"
#include "tests/support/TestProgram.h"
#include "ui/MainWindow.h"
#include "ui/Workspace.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace korvadel;

namespace {

void enterChannel(MainWindow* main) {
    setPoints(main->workspace().document().points, {{0, 0.5}, {2, -2}, {8, -2}, {10, 3}});
}

// The water level's text, as the sweep holds it.
QString level(MainWindow* main) {
    return QString::fromStdString(main->workspace().waterLevel().levelText());
}

// One firing of the main window's timer, as the event loop would deliver it.
void fire(QTimer* timer) {
    QVERIFY(QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection));
}

QList<bool> inputsEnabled(MainWindow* main) {
    return {ui(main).minimumStage->isEnabled(), ui(main).maximumStage->isEnabled(),
            ui(main).stageIncrement->isEnabled(), ui(main).datum->isEnabled(),
            ui(main).pointGrid->isEnabled()};
}

} // namespace

class AnimationCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void buttonStartsTimerMovesButtonStops();
    void failedStartShowsTheErrorAndStaysHalfStarted_data();
    void failedStartShowsTheErrorAndStaysHalfStarted();
    void failingTickShowsOneErrorAndHoldsTheTimer();
    void startPutsTheGridCursorOnTheFirstRow();
};

void AnimationCommandsTest::failingTickShowsOneErrorAndHoldsTheTimer() {
    TestProgram program;
    MainWindow* main = program.main();
    enterChannel(main);
    ui(main).animateButton->click();
    QVERIFY(ui(main).animationTimer->isActive());
    // A load during the animation can bring in a datum that does not read as a number.
    main->workspace().document().settings.datum = "abc";
    ui(main).datum->setText(QStringLiteral("abc"));
    fire(ui(main).animationTimer);
    QCOMPARE(program.seam.messages.size(), 1);
    QVERIFY(!ui(main).animationTimer->isActive());
    QCOMPARE(ui(main).animateButton->text(), QStringLiteral("Stop Cross Section Animation"));
    ui(main).animateButton->click();
    QCOMPARE(ui(main).animateButton->text(), QStringLiteral("&Animate Cross Section"));
    QVERIFY(!ui(main).animationTimer->isActive());
}

void AnimationCommandsTest::startPutsTheGridCursorOnTheFirstRow() {
    TestProgram program;
    MainWindow* main = program.main();
    enterChannel(main);
    QAbstractItemModel* model = ui(main).pointGrid->model();
    ui(main).pointGrid->setCurrentIndex(model->index(1, 1));
    ui(main).animateButton->click();
    QCOMPARE(main->workspace().document().points.currentIndex(), 0);
    QCOMPARE(ui(main).pointGrid->currentIndex().row(), 0);
    ui(main).animateButton->click();
}

void AnimationCommandsTest::buttonStartsTimerMovesButtonStops() {
    TestProgram program;
    MainWindow* main = program.main();
    enterChannel(main);
    QCOMPARE(level(main), QStringLiteral("0.00"));
    QCOMPARE(ui(main).sectionChart->referenceLevel(), 0.0);

    ui(main).animateButton->click();
    QCOMPARE(program.seam.messages.size(), 0);
    QCOMPARE(ui(main).animateButton->text(), QStringLiteral("Stop Cross Section Animation"));
    QCOMPARE(inputsEnabled(main), QList<bool>(5, false));
    QVERIFY(ui(main).animationTimer->isActive());
    QCOMPARE(ui(main).animationTimer->interval(), 18);
    QCOMPARE(level(main), QStringLiteral("1"));
    QVERIFY(!ui(main).sectionChart->axesAutomatic());
    QCOMPARE(ui(main).sectionChart->xAxis->range().lower, -0.2);
    QCOMPARE(ui(main).sectionChart->xAxis->range().upper, 10.2);
    QCOMPARE(ui(main).sectionChart->yAxis->range().upper, 3.0); // the bank above maximum + datum

    ui(main).animationTimer->stop(); // the test fires it
    QStringList levels;
    for (int i = 0; i < 101; ++i) {
        fire(ui(main).animationTimer);
        levels << level(main);
    }
    QCOMPARE(levels.at(0), QStringLiteral("0.99"));
    QCOMPARE(levels.at(98), QStringLiteral("0.01"));
    QCOMPARE(levels.at(99), QStringLiteral("0.01")); // the turn
    QCOMPARE(levels.at(100), QStringLiteral("0.02"));
    QCOMPARE(ui(main).sectionChart->referenceLevel(), 0.02);

    // Escape stops it as the button does (its stop caption has no mnemonic), and is left to
    // the fields and the grid while nothing runs.
    QVERIFY(ui(main).stopAnimationAction->isEnabled());
    QTest::keyClick(main, Qt::Key_Escape);
    QCOMPARE(ui(main).animateButton->text(), QStringLiteral("&Animate Cross Section"));
    QVERIFY(!ui(main).stopAnimationAction->isEnabled());
    QCOMPARE(inputsEnabled(main), QList<bool>(5, true));
    QVERIFY(!ui(main).animationTimer->isActive());
    QVERIFY(ui(main).sectionChart->axesAutomatic());
    // The fill stays at the last level, also when the chart redraws from the table.
    ui(main).sectionChart->refreshFromTable();
    QCOMPARE(ui(main).sectionChart->referenceLevel(), 0.02);
    QCOMPARE(level(main), QStringLiteral("0.02"));
}

void AnimationCommandsTest::failedStartShowsTheErrorAndStaysHalfStarted_data() {
    QTest::addColumn<QString>("minimum");
    QTest::addColumn<QString>("maximum");
    QTest::addColumn<QString>("datum");
    QTest::addColumn<QString>("message");
    QTest::newRow("equal bounds") << QStringLiteral("1") << QStringLiteral("1")
                                  << QStringLiteral("0.00")
                                  << QStringLiteral("Floating point division by zero.");
    QTest::newRow("datum") << QStringLiteral("0") << QStringLiteral("1") << QStringLiteral("x")
                           << QStringLiteral("'x' is not a valid floating point value.");
}

void AnimationCommandsTest::failedStartShowsTheErrorAndStaysHalfStarted() {
    QFETCH(QString, minimum);
    QFETCH(QString, maximum);
    QFETCH(QString, datum);
    QFETCH(QString, message);
    TestProgram program;
    MainWindow* main = program.main();
    enterChannel(main);
    ui(main).minimumStage->setText(minimum);
    ui(main).maximumStage->setText(maximum);
    ui(main).datum->setText(datum);

    ui(main).animateButton->click();
    QCOMPARE(program.seam.messages.size(), 1);
    QCOMPARE(program.seam.messages.at(0).kind, DesktopSeam::MessageKind::Error);
    QCOMPARE(program.seam.messages.at(0).caption, QStringLiteral("Korvadel"));
    QCOMPARE(program.seam.messages.at(0).text, message);
    QCOMPARE(ui(main).animateButton->text(), QStringLiteral("Stop Cross Section Animation"));
    QCOMPARE(inputsEnabled(main), QList<bool>(5, false));
    QVERIFY(!ui(main).animationTimer->isActive());
    QCOMPARE(level(main), QStringLiteral("0.00"));

    ui(main).animateButton->click();
    QCOMPARE(program.seam.messages.size(), 1);
    QCOMPARE(ui(main).animateButton->text(), QStringLiteral("&Animate Cross Section"));
    QCOMPARE(inputsEnabled(main), QList<bool>(5, true));
}

QTEST_MAIN(AnimationCommandsTest)
#include "animation_commands_test.moc"
