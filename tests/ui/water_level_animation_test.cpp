// SPDX-License-Identifier: GPL-3.0-or-later
// The water-level animation on its own controls: start, tick and stop, the chart's fill and axis
// ranges, the timer and the half-started states. The level's sequences are the sweep's tests.

#include "components/chart/Chart.h"
#include "model/CrossSectionDocument.h"
#include "model/Error.h"
#include "model/WaterLevelSweep.h"
#include "ui/WaterLevelAnimation.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace korvadel;

#define S(text) QStringLiteral(text)

namespace {

struct Harness {
    CrossSectionDocument document;
    WaterLevelSweep sweep;
    QWidget window;
    QPushButton* button = new QPushButton(WaterLevelAnimation::kStartCaption, &window);
    QTimer* timer = new QTimer(&window);
    Chart* chart = new Chart(&window);
    std::vector<QWidget*> inputs;
    std::unique_ptr<WaterLevelAnimation> animation;

    explicit Harness(NumberFormat format = {}) {
        document.points.clear();
        for (int i = 0; i < 5; ++i)
            inputs.push_back(new QLineEdit(&window));
        chart->resize(400, 300);
        chart->bindAreaSeries(document.points);
        animation = std::make_unique<WaterLevelAnimation>(
            WaterLevelAnimation::Parts{&sweep, &document, button, timer, chart, inputs, format});
        QObject::connect(timer, &QTimer::timeout, [this] { animation->tick(); });
    }

    QString level() const { return QString::fromStdString(sweep.levelText()); }

    void settings(const char* minimum, const char* maximum, double increment, const char* datum) {
        document.settings.minimum = minimum;
        document.settings.maximum = maximum;
        document.settings.setIncrement(increment);
        document.settings.datum = datum;
    }

    bool inputsEnabled() const {
        bool all = true, none = true;
        for (QWidget* input : inputs) {
            all = all && input->isEnabled();
            none = none && !input->isEnabled();
        }
        if (!all && !none)
            qFatal("inputs partly enabled");
        return all;
    }

    // Starts and returns the error message, empty when the start succeeded.
    QString toggle() {
        try {
            animation->toggle();
        } catch (const Error& error) {
            return QString::fromStdString(error.what());
        }
        return {};
    }
};

} // namespace

class WaterLevelAnimationTest : public QObject {
    Q_OBJECT
private slots:
    void ticksMoveTheChartsFill();
    void axisRangesWhileRunningAndAfterStop_data();
    void axisRangesWhileRunningAndAfterStop();
    void runningAndIdleStates();
    void failedStartsAreHalfStarted_data();
    void failedStartsAreHalfStarted();
    void intervalRule_data();
    void intervalRule();
    void timerDrivesTheLevel();
    void commaSeparator();
};

void WaterLevelAnimationTest::ticksMoveTheChartsFill() {
    Harness h;
    h.settings("0", "2", 0.5, "100");
    h.document.points.appendRow(0, 99);
    QCOMPARE(h.toggle(), QString());
    QCOMPARE(h.level(), QStringLiteral("102"));
    QList<double> fills;
    for (int i = 0; i < 6; ++i) {
        h.animation->tick();
        fills << h.chart->referenceLevel();
    }
    // Down to the minimum, a tick that turns without moving, up again.
    QCOMPARE(fills, QList<double>({101.5, 101.0, 100.5, 100.0, 100.0, 100.5}));
}

void WaterLevelAnimationTest::axisRangesWhileRunningAndAfterStop_data() {
    QTest::addColumn<QList<QPointF>>("points");
    QTest::addColumn<QString>("datum");
    QTest::addColumn<double>("xLower");
    QTest::addColumn<double>("xUpper");
    QTest::addColumn<double>("top");
    QTest::newRow("bank below the maximum")
        << QList<QPointF>{{0, 0.5}, {25, -3}, {50, 0.8}} << S("0.00") << -1.0 << 51.0 << 1.0;
    QTest::newRow("bank above the maximum")
        << QList<QPointF>{{0, 5}, {25, -3}, {50, 0.8}} << S("0.00") << -1.0 << 51.0 << 5.0;
    QTest::newRow("datum lifts the top")
        << QList<QPointF>{{10, 100}, {20, 95}, {30, 103}} << S("102.5") << 9.6 << 30.4 << 103.5;
    // The chart cannot show a span of zero width; an empty table's 0..0 is not checked.
    QTest::newRow("empty table") << QList<QPointF>{} << S("0.00") << qQNaN() << qQNaN() << 1.0;
}

void WaterLevelAnimationTest::axisRangesWhileRunningAndAfterStop() {
    QFETCH(QList<QPointF>, points);
    QFETCH(QString, datum);
    QFETCH(double, xLower);
    QFETCH(double, xUpper);
    QFETCH(double, top);
    Harness h;
    h.document.settings.datum = datum.toStdString();
    for (const QPointF& point : points)
        h.document.points.appendRow(point.x(), point.y());
    h.chart->refreshFromTable();
    const double automaticLower = h.chart->yAxis->range().lower;

    QCOMPARE(h.toggle(), QString());
    QVERIFY(!h.chart->axesAutomatic());
    if (qIsNaN(xLower)) {
        xLower = h.chart->xAxis->range().lower;
    } else {
        QVERIFY(qAbs(h.chart->xAxis->range().lower - xLower) < 1e-9);
        QVERIFY(qAbs(h.chart->xAxis->range().upper - xUpper) < 1e-9);
    }
    QCOMPARE(h.chart->yAxis->range().upper, top);
    QCOMPARE(h.chart->yAxis->range().lower, automaticLower);
    h.animation->tick();
    QVERIFY(qAbs(h.chart->xAxis->range().lower - xLower) < 1e-9);
    QCOMPARE(h.chart->yAxis->range().upper, top);

    QCOMPARE(h.toggle(), QString());
    QVERIFY(h.chart->axesAutomatic());
}

void WaterLevelAnimationTest::runningAndIdleStates() {
    Harness h;
    h.document.points.appendRow(0, -2);
    h.document.points.appendRow(5, -2);
    QVERIFY(h.inputsEnabled());
    QCOMPARE(h.toggle(), QString());
    QCOMPARE(h.button->text(), QStringLiteral("Stop Cross Section Animation"));
    QVERIFY(h.sweep.running());
    QVERIFY(!h.inputsEnabled());
    QVERIFY(h.timer->isActive());
    QCOMPARE(h.timer->interval(), 18);
    for (int i = 0; i < 30; ++i)
        h.animation->tick();
    QCOMPARE(h.level(), QStringLiteral("0.7"));

    QCOMPARE(h.toggle(), QString());
    QCOMPARE(h.button->text(), QStringLiteral("&Animate Cross Section"));
    QVERIFY(!h.sweep.running());
    QVERIFY(h.inputsEnabled());
    QVERIFY(!h.timer->isActive());
    // The fill baseline stays where the animation left it.
    QCOMPARE(h.level(), QStringLiteral("0.7"));
    QCOMPARE(h.chart->referenceLevel(), 0.7);
    h.chart->refreshFromTable();
    QCOMPARE(h.chart->referenceLevel(), 0.7);

    // The next start begins again at the top, falling.
    for (int i = 0; i < 150; ++i) // rising by now
        h.animation->tick();
    QCOMPARE(h.sweep.direction(), -1);
    QCOMPARE(h.toggle(), QString());
    QCOMPARE(h.level(), QStringLiteral("1"));
    QCOMPARE(h.sweep.direction(), 0);
}

void WaterLevelAnimationTest::failedStartsAreHalfStarted_data() {
    QTest::addColumn<QString>("minimum");
    QTest::addColumn<QString>("maximum");
    QTest::addColumn<QString>("datum");
    QTest::addColumn<bool>("pendingWithoutStation");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("axesFixed");
    QTest::newRow("datum") << S("0") << S("1") << S("abc") << false
                           << S("'abc' is not a valid floating point value") << false;
    QTest::newRow("minimum") << S("1,5") << S("1") << S("0") << false
                             << S("'1,5' is not a valid floating point value") << false;
    QTest::newRow("maximum") << S("0") << S("") << S("0") << false
                             << S("' ' is not a valid floating point value") << false;
    QTest::newRow("pending row") << S("0") << S("1") << S("0") << true
                                 << S("Field 'Station' must have a value") << false;
    QTest::newRow("maximum equals minimum")
        << S("2") << S("2.0") << S("0") << false << S("Floating point division by zero") << true;
    QTest::newRow("interval too large") << S("0") << S("1E-10") << S("0") << false
                                        << S("'180000000000' is not a valid integer value") << true;
}

void WaterLevelAnimationTest::failedStartsAreHalfStarted() {
    QFETCH(QString, minimum);
    QFETCH(QString, maximum);
    QFETCH(QString, datum);
    QFETCH(bool, pendingWithoutStation);
    QFETCH(QString, message);
    QFETCH(bool, axesFixed);
    Harness h;
    h.document.points.appendRow(0, -1);
    h.document.points.appendRow(3, -1);
    if (pendingWithoutStation) {
        h.document.points.appendPending();
        h.document.points.setElevation(-4.0);
    }
    h.document.settings.minimum = minimum.toStdString();
    h.document.settings.maximum = maximum == QString() ? std::string(" ") : maximum.toStdString();
    h.document.settings.datum = datum.toStdString();

    QCOMPARE(h.toggle(), message);
    QCOMPARE(h.button->text(), QStringLiteral("Stop Cross Section Animation"));
    QVERIFY(!h.inputsEnabled());
    QVERIFY(!h.timer->isActive());
    QCOMPARE(h.level(), QStringLiteral("0.00"));
    QCOMPARE(h.chart->axesAutomatic(), !axesFixed);
    QCOMPARE(h.document.points.suspendCount(), 0);

    // The button's next press stops the half-started animation.
    QCOMPARE(h.toggle(), QString());
    QCOMPARE(h.button->text(), QStringLiteral("&Animate Cross Section"));
    QVERIFY(h.inputsEnabled());
    QVERIFY(h.chart->axesAutomatic());
}

void WaterLevelAnimationTest::intervalRule_data() {
    QTest::addColumn<QString>("minimum");
    QTest::addColumn<QString>("maximum");
    QTest::addColumn<double>("increment");
    QTest::addColumn<int>("interval");
    QTest::newRow("defaults") << S("0") << S("1") << 0.01 << 18;
    QTest::newRow("truncated") << S("0") << S("7") << 0.1 << 25;    // 1800 / 70 = 25.7
    QTest::newRow("one step") << S("0") << S("0.5") << 1.0 << 3600; // half a step per sweep
    QTest::newRow("exactly 1800 steps") << S("0") << S("18") << 0.01 << 1;
    QTest::newRow("more than 1800 steps") << S("0") << S("100") << 0.01 << 0;
    QTest::newRow("maximum below minimum") << S("1") << S("0") << 0.01 << -18;
}

void WaterLevelAnimationTest::intervalRule() {
    QFETCH(QString, minimum);
    QFETCH(QString, maximum);
    QFETCH(double, increment);
    QFETCH(int, interval);
    Harness h;
    h.document.points.appendRow(0, -1);
    h.settings(minimum.toLatin1().constData(), maximum.toLatin1().constData(), increment, "0");
    QCOMPARE(h.toggle(), QString());
    QCOMPARE(h.sweep.interval(), interval);
    QCOMPARE(h.timer->isActive(), interval > 0);
    if (interval <= 0) {
        // Running, but the level never moves.
        const QString start = h.level();
        QTest::qWait(60);
        QCOMPARE(h.level(), start);
        QVERIFY(h.sweep.running());
    }
}

void WaterLevelAnimationTest::timerDrivesTheLevel() {
    Harness h;
    h.document.points.appendRow(0, -1);
    h.document.points.appendRow(1, -1);
    QCOMPARE(h.toggle(), QString());
    QTRY_VERIFY_WITH_TIMEOUT(h.level() != QStringLiteral("1"), 2000);
    QCOMPARE(h.toggle(), QString());
    const QString stopped = h.level();
    QTest::qWait(60);
    QCOMPARE(h.level(), stopped);
}

void WaterLevelAnimationTest::commaSeparator() {
    Harness h(NumberFormat{','});
    h.settings("0", "1,5", 0.25, "0,00");
    h.document.points.appendRow(0, -1);
    QCOMPARE(h.toggle(), QString());
    QCOMPARE(h.level(), QStringLiteral("1,5"));
    h.animation->tick();
    QCOMPARE(h.level(), QStringLiteral("1,25"));
    QCOMPARE(h.chart->referenceLevel(), 1.25);
}

QTEST_MAIN(WaterLevelAnimationTest)
#include "water_level_animation_test.moc"
