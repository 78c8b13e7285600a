// The animation through the main window: its button, its timer, the fields it locks and the
// error box for a start that cannot go on.

#include "components/Chart.h"
#include "components/IncrementSpinBox.h"
#include "components/PointGrid.h"
#include "support/TestProgram.h"
#include "ui/Main.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace korvadel;

namespace {

void enterChannel(TForm1* main)
{
    PointTable& points = main->document().points;
    points.clear();
    points.appendRow(0, 0.5);
    points.appendRow(2, -2);
    points.appendRow(8, -2);
    points.appendRow(10, 3);
}

// One firing of the main window's timer, as the event loop would deliver it.
void fire(QTimer* timer)
{
    QVERIFY(QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection));
}

QList<bool> inputsEnabled(TForm1* main)
{
    return {main->edMinStage->isEnabled(), main->edMaxStage->isEnabled(),
            main->SpinStageInc->isEnabled(), main->ebOffset->isEnabled(),
            main->DBGrid1->isEnabled()};
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

void AnimationCommandsTest::failingTickShowsOneErrorAndHoldsTheTimer()
{
    TestProgram program;
    TForm1* main = program.main();
    enterChannel(main);
    main->Button2->click();
    QVERIFY(main->Timer1->isActive());
    // A load during the animation can bring in a datum that does not read as a number.
    main->document().settings.datum = "abc";
    main->ebOffset->setText(QStringLiteral("abc"));
    fire(main->Timer1);
    QCOMPARE(program.seam.messages.size(), 1);
    QVERIFY(!main->Timer1->isActive());
    QCOMPARE(main->Button2->text(), QStringLiteral("Stop Cross Section Animation"));
    main->Button2->click();
    QCOMPARE(main->Button2->text(), QStringLiteral("&Animate Cross Section"));
    QVERIFY(!main->Timer1->isActive());
}

void AnimationCommandsTest::startPutsTheGridCursorOnTheFirstRow() {
    TestProgram program;
    TForm1* main = program.main();
    enterChannel(main);
    QAbstractItemModel* model = main->DBGrid1->model();
    main->DBGrid1->setCurrentIndex(model->index(1, 1));
    main->Button2->click();
    QCOMPARE(main->document().points.currentIndex(), 0);
    QCOMPARE(main->DBGrid1->currentIndex().row(), 0);
    main->Button2->click();
}

void AnimationCommandsTest::buttonStartsTimerMovesButtonStops()
{
    TestProgram program;
    TForm1* main = program.main();
    enterChannel(main);
    QCOMPARE(main->dxEdit1->text(), QStringLiteral("0.00"));
    QCOMPARE(main->DBChart1->referenceLevel(), 0.0);

    main->Button2->click();
    QCOMPARE(program.seam.messages.size(), 0);
    QCOMPARE(main->Button2->text(), QStringLiteral("Stop Cross Section Animation"));
    QCOMPARE(inputsEnabled(main), QList<bool>(5, false));
    QVERIFY(main->Timer1->isActive());
    QCOMPARE(main->Timer1->interval(), 18);
    QCOMPARE(main->dxEdit1->text(), QStringLiteral("1"));
    QVERIFY(!main->DBChart1->axesAutomatic());
    QCOMPARE(main->DBChart1->xAxis->range().lower, -0.2);
    QCOMPARE(main->DBChart1->xAxis->range().upper, 10.2);
    QCOMPARE(main->DBChart1->yAxis->range().upper, 3.0); // the bank above maximum + datum

    main->Timer1->stop(); // the test fires it
    QStringList levels;
    for (int i = 0; i < 101; ++i) {
        fire(main->Timer1);
        levels << main->dxEdit1->text();
    }
    QCOMPARE(levels.at(0), QStringLiteral("0.99"));
    QCOMPARE(levels.at(98), QStringLiteral("0.01"));
    QCOMPARE(levels.at(99), QStringLiteral("0.01")); // the turn
    QCOMPARE(levels.at(100), QStringLiteral("0.02"));
    QCOMPARE(main->DBChart1->referenceLevel(), 0.02);

    main->Button2->click();
    QCOMPARE(main->Button2->text(), QStringLiteral("&Animate Cross Section"));
    QCOMPARE(inputsEnabled(main), QList<bool>(5, true));
    QVERIFY(!main->Timer1->isActive());
    QVERIFY(main->DBChart1->axesAutomatic());
    // The fill stays at the last level, also when the chart redraws from the table.
    main->DBChart1->refreshFromTable();
    QCOMPARE(main->DBChart1->referenceLevel(), 0.02);
    QCOMPARE(main->dxEdit1->text(), QStringLiteral("0.02"));
}

void AnimationCommandsTest::failedStartShowsTheErrorAndStaysHalfStarted_data()
{
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

void AnimationCommandsTest::failedStartShowsTheErrorAndStaysHalfStarted()
{
    QFETCH(QString, minimum);
    QFETCH(QString, maximum);
    QFETCH(QString, datum);
    QFETCH(QString, message);
    TestProgram program;
    TForm1* main = program.main();
    enterChannel(main);
    main->edMinStage->setText(minimum);
    main->edMaxStage->setText(maximum);
    main->ebOffset->setText(datum);

    main->Button2->click();
    QCOMPARE(program.seam.messages.size(), 1);
    QCOMPARE(program.seam.messages.at(0).kind, DesktopSeam::MessageKind::Error);
    QCOMPARE(program.seam.messages.at(0).caption, QStringLiteral("Korvadel"));
    QCOMPARE(program.seam.messages.at(0).text, message);
    QCOMPARE(main->Button2->text(), QStringLiteral("Stop Cross Section Animation"));
    QCOMPARE(inputsEnabled(main), QList<bool>(5, false));
    QVERIFY(!main->Timer1->isActive());
    QCOMPARE(main->dxEdit1->text(), QStringLiteral("0.00"));

    main->Button2->click();
    QCOMPARE(program.seam.messages.size(), 1);
    QCOMPARE(main->Button2->text(), QStringLiteral("&Animate Cross Section"));
    QCOMPARE(inputsEnabled(main), QList<bool>(5, true));
}

QTEST_MAIN(AnimationCommandsTest)
#include "animation_commands_test.moc"
