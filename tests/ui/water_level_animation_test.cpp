// The water-level animation on its own controls: start, tick and stop, the documented
// sequences, the axis ranges, the interval rule and the half-started states.

#include "components/Chart.h"
#include "model/CrossSectionDocument.h"
#include "model/Error.h"
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
    QWidget window;
    QPushButton* button = new QPushButton(WaterLevelAnimation::kStartCaption, &window);
    QTimer* timer = new QTimer(&window);
    QLineEdit* level = new QLineEdit(QStringLiteral("0.00"), &window);
    Chart* chart = new Chart(&window);
    std::vector<QWidget*> inputs;
    std::unique_ptr<WaterLevelAnimation> animation;

    explicit Harness(NumberFormat format = {})
    {
        document.points.clear();
        for (int i = 0; i < 5; ++i)
            inputs.push_back(new QLineEdit(&window));
        chart->resize(400, 300);
        chart->bindAreaSeries(document.points);
        animation = std::make_unique<WaterLevelAnimation>(WaterLevelAnimation::Parts{
            &document, button, timer, level, chart, inputs, format});
        QObject::connect(timer, &QTimer::timeout, [this] { animation->tick(); });
    }

    void settings(const char* minimum, const char* maximum, double increment, const char* datum)
    {
        document.settings.minimum = minimum;
        document.settings.maximum = maximum;
        document.settings.setIncrement(increment);
        document.settings.datum = datum;
    }

    bool inputsEnabled() const
    {
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
    QString toggle()
    {
        try {
            animation->toggle();
        } catch (const Error& error) {
            return QString::fromStdString(error.what());
        }
        return {};
    }
};

// "0.07", "0.1", "1" for 7, 10 and 100 hundredths, as the general format writes them.
QString hundredths(int value)
{
    if (value % 100 == 0)
        return QString::number(value / 100);
    QString text = QStringLiteral("%1.%2").arg(value / 100).arg(value % 100, 2, 10, QLatin1Char('0'));
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    return text;
}

} // namespace

class WaterLevelAnimationTest : public QObject {
    Q_OBJECT
private slots:
    void defaultsTurnAtOneHundredthAndNinetyNine();
    void exactIncrementReachesBothEnds();
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

void WaterLevelAnimationTest::defaultsTurnAtOneHundredthAndNinetyNine()
{
    Harness h;
    h.document.points.appendRow(0, -1);
    h.document.points.appendRow(10, -1);
    QCOMPARE(h.toggle(), QString());
    QCOMPARE(h.animation->interval(), 18);
    QCOMPARE(h.level->text(), QStringLiteral("1"));

    // Down from 1 to 0.01 in 99 ticks, one tick turning, up to 0.99, one tick turning, down.
    QStringList expected;
    for (int v = 99; v >= 1; --v)
        expected << hundredths(v);
    expected << hundredths(1);
    for (int v = 2; v <= 99; ++v)
        expected << hundredths(v);
    expected << hundredths(99);
    for (int v = 98; v >= 1; --v)
        expected << hundredths(v);
    expected << hundredths(1) << hundredths(2);
    QStringList seen;
    for (int i = 0; i < expected.size(); ++i) {
        h.animation->tick();
        seen << h.level->text();
    }
    QCOMPARE(seen, expected);
    QCOMPARE(h.chart->referenceLevel(), 0.02);
}

void WaterLevelAnimationTest::exactIncrementReachesBothEnds()
{
    Harness h;
    h.settings("0", "2", 0.5, "100");
    h.document.points.appendRow(0, 99);
    QCOMPARE(h.toggle(), QString());
    QCOMPARE(h.animation->interval(), 450);
    QCOMPARE(h.level->text(), QStringLiteral("102"));
    QStringList seen;
    QList<int> directions;
    for (int i = 0; i < 12; ++i) {
        h.animation->tick();
        seen << h.level->text();
        directions << h.animation->direction();
    }
    QCOMPARE(seen, QStringList({S("101.5"), S("101"), S("100.5"), S("100"), S("100"),
                                S("100.5"), S("101"), S("101.5"), S("102"), S("102"),
                                S("101.5"), S("101")}));
    QCOMPARE(directions, QList<int>({0, 0, 0, 0, -1, -1, -1, -1, -1, 0, 0, 0}));
    QCOMPARE(h.chart->referenceLevel(), 101.0);
}

void WaterLevelAnimationTest::axisRangesWhileRunningAndAfterStop_data()
{
    QTest::addColumn<QList<QPointF>>("points");
    QTest::addColumn<QString>("datum");
    QTest::addColumn<double>("xLower");
    QTest::addColumn<double>("xUpper");
    QTest::addColumn<double>("top");
    QTest::newRow("bank below the maximum")
        << QList<QPointF>{{0, 0.5}, {25, -3}, {50, 0.8}} << S("0.00") << -1.0 << 51.0 << 1.0;
    QTest::newRow("bank above the maximum")
        << QList<QPointF>{{0, 5}, {25, -3}, {50, 0.8}} << S("0.00") << -1.0 << 51.0 << 5.0;
    QTest::newRow("datum lifts the top") << QList<QPointF>{{10, 100}, {20, 95}, {30, 103}}
                                         << S("102.5") << 9.6 << 30.4 << 103.5;
    // The chart cannot show a span of zero width; an empty table's 0..0 is not checked.
    QTest::newRow("empty table") << QList<QPointF>{} << S("0.00") << qQNaN() << qQNaN() << 1.0;
}

void WaterLevelAnimationTest::axisRangesWhileRunningAndAfterStop()
{
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

void WaterLevelAnimationTest::runningAndIdleStates()
{
    Harness h;
    h.document.points.appendRow(0, -2);
    h.document.points.appendRow(5, -2);
    QVERIFY(h.inputsEnabled());
    QCOMPARE(h.toggle(), QString());
    QCOMPARE(h.button->text(), QStringLiteral("Stop Cross Section Animation"));
    QVERIFY(h.animation->running());
    QVERIFY(!h.inputsEnabled());
    QVERIFY(h.timer->isActive());
    QCOMPARE(h.timer->interval(), 18);
    for (int i = 0; i < 30; ++i)
        h.animation->tick();
    QCOMPARE(h.level->text(), QStringLiteral("0.7"));

    QCOMPARE(h.toggle(), QString());
    QCOMPARE(h.button->text(), QStringLiteral("&Animate Cross Section"));
    QVERIFY(!h.animation->running());
    QVERIFY(h.inputsEnabled());
    QVERIFY(!h.timer->isActive());
    // The fill baseline stays where the animation left it.
    QCOMPARE(h.level->text(), QStringLiteral("0.7"));
    QCOMPARE(h.chart->referenceLevel(), 0.7);
    h.chart->refreshFromTable();
    QCOMPARE(h.chart->referenceLevel(), 0.7);

    // The next start begins again at the top, falling.
    for (int i = 0; i < 150; ++i) // rising by now
        h.animation->tick();
    QCOMPARE(h.animation->direction(), -1);
    QCOMPARE(h.toggle(), QString());
    QCOMPARE(h.level->text(), QStringLiteral("1"));
    QCOMPARE(h.animation->direction(), 0);
}

void WaterLevelAnimationTest::failedStartsAreHalfStarted_data()
{
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
    QTest::newRow("maximum equals minimum") << S("2") << S("2.0") << S("0") << false
                                            << S("Floating point division by zero") << true;
    QTest::newRow("interval too large") << S("0") << S("1E-10") << S("0") << false
                                        << S("'180000000000' is not a valid integer value") << true;
}

void WaterLevelAnimationTest::failedStartsAreHalfStarted()
{
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
    QCOMPARE(h.level->text(), QStringLiteral("0.00"));
    QCOMPARE(h.chart->axesAutomatic(), !axesFixed);
    QCOMPARE(h.document.points.suspendCount(), 0);

    // The button's next press stops the half-started animation.
    QCOMPARE(h.toggle(), QString());
    QCOMPARE(h.button->text(), QStringLiteral("&Animate Cross Section"));
    QVERIFY(h.inputsEnabled());
    QVERIFY(h.chart->axesAutomatic());
}

void WaterLevelAnimationTest::intervalRule_data()
{
    QTest::addColumn<QString>("minimum");
    QTest::addColumn<QString>("maximum");
    QTest::addColumn<double>("increment");
    QTest::addColumn<int>("interval");
    QTest::newRow("defaults") << S("0") << S("1") << 0.01 << 18;
    QTest::newRow("truncated") << S("0") << S("7") << 0.1 << 25;   // 1800 / 70 = 25.7
    QTest::newRow("one step") << S("0") << S("0.5") << 1.0 << 3600; // half a step per sweep
    QTest::newRow("exactly 1800 steps") << S("0") << S("18") << 0.01 << 1;
    QTest::newRow("more than 1800 steps") << S("0") << S("100") << 0.01 << 0;
    QTest::newRow("maximum below minimum") << S("1") << S("0") << 0.01 << -18;
}

void WaterLevelAnimationTest::intervalRule()
{
    QFETCH(QString, minimum);
    QFETCH(QString, maximum);
    QFETCH(double, increment);
    QFETCH(int, interval);
    Harness h;
    h.document.points.appendRow(0, -1);
    h.settings(minimum.toLatin1().constData(), maximum.toLatin1().constData(), increment, "0");
    QCOMPARE(h.toggle(), QString());
    QCOMPARE(h.animation->interval(), interval);
    QCOMPARE(h.timer->isActive(), interval > 0);
    if (interval <= 0) {
        // Running, but the level never moves.
        const QString start = h.level->text();
        QTest::qWait(60);
        QCOMPARE(h.level->text(), start);
        QVERIFY(h.animation->running());
    }
}

void WaterLevelAnimationTest::timerDrivesTheLevel()
{
    Harness h;
    h.document.points.appendRow(0, -1);
    h.document.points.appendRow(1, -1);
    QCOMPARE(h.toggle(), QString());
    QTRY_VERIFY_WITH_TIMEOUT(h.level->text() != QStringLiteral("1"), 2000);
    QCOMPARE(h.toggle(), QString());
    const QString stopped = h.level->text();
    QTest::qWait(60);
    QCOMPARE(h.level->text(), stopped);
}

void WaterLevelAnimationTest::commaSeparator()
{
    Harness h(NumberFormat{','});
    h.settings("0", "1,5", 0.25, "0,00");
    h.document.points.appendRow(0, -1);
    QCOMPARE(h.toggle(), QString());
    QCOMPARE(h.level->text(), QStringLiteral("1,5"));
    h.animation->tick();
    QCOMPARE(h.level->text(), QStringLiteral("1,25"));
}

QTEST_MAIN(WaterLevelAnimationTest)
#include "water_level_animation_test.moc"
