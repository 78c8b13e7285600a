// SPDX-License-Identifier: GPL-3.0-or-later
// The chart component: series bound to the point and rating tables, the fill baseline, fixed
// and automatic axes, and drawing onto other surfaces.

#include "components/chart/Chart.h"
#include "model/PointTable.h"
#include "model/RatingTable.h"
#include "tests/support/ChartPoints.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

using korvadel::Chart;
using korvadel::chartPoints;
using korvadel::PointTable;
using korvadel::RatingTable;

namespace {

int pixelsDifferentFrom(const QImage& image, QRgb background) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                ++count;
    return count;
}

} // namespace

class ChartTest : public QObject {
    Q_OBJECT
private slots:
    void areaSeriesFollowsTableInStationOrder();
    void suspendedViewsRefreshOnceOnResume();
    void referenceLevelSpansTheSectionAndIsSetBeforeDrawing();
    void automaticAxesFitTheSection_data();
    void automaticAxesFitTheSection();
    void fixedAxesKeepTheVerticalMinimum();
    void lineSeriesTakesPointsInAscendingAreaKeepingTableOrderForTies();
    void deletedRatingRowLeavesTheChart();
    void titleLinesKeepEmptyLines();
    void renderDrawsTheSamePictureAtAnyScale();
};

void ChartTest::areaSeriesFollowsTableInStationOrder() {
    PointTable table;
    Chart chart;
    chart.bindAreaSeries(table);
    table.appendRow(10, 10);
    table.appendRow(0, 10);
    table.appendRow(5, 2);
    QCOMPARE(chartPoints(chart), (QList<QPointF>{{0, 10}, {5, 2}, {10, 10}}));

    // A blank row being typed has no station yet and is not drawn.
    table.insertPending();
    QCOMPARE(chartPoints(chart).size(), 3);
    table.setStation(7.0);
    QCOMPARE(chartPoints(chart).size(), 4);
    chart.unbind();
}

void ChartTest::suspendedViewsRefreshOnceOnResume() {
    PointTable table;
    Chart chart;
    chart.bindAreaSeries(table);
    const int before = chart.refreshCount();
    table.suspendViews();
    for (int i = 0; i < 100; ++i)
        table.appendRow(i, i % 7);
    QCOMPARE(chart.refreshCount(), before);
    QVERIFY(chartPoints(chart).isEmpty());
    table.resumeViews();
    QCOMPARE(chart.refreshCount(), before + 1);
    QCOMPARE(chartPoints(chart).size(), 100);
    chart.unbind();
}

void ChartTest::referenceLevelSpansTheSectionAndIsSetBeforeDrawing() {
    PointTable table;
    Chart chart;
    chart.bindAreaSeries(table);
    table.appendRow(2, 10);
    table.appendRow(8, 1);
    table.appendRow(20, 12);

    QCPGraph* reference = chart.referenceGraph();
    QCOMPARE(reference->dataCount(), 2);
    QCOMPARE(reference->data()->at(0)->key, 2.0);
    QCOMPARE(reference->data()->at(1)->key, 20.0);
    QCOMPARE(reference->data()->at(0)->value, 0.0);
    QCOMPARE(chart.seriesGraph()->channelFillGraph(), reference);
    QCOMPARE(chart.seriesGraph()->brush().style(), Qt::BDiagPattern);
    QCOMPARE(chart.seriesGraph()->brush().color(), QColor(169, 214, 211, 209));

    int calls = 0;
    chart.setBeforeDraw([&] {
        ++calls;
        chart.setReferenceLevel(5.5);
    });
    chart.replot();
    QCOMPARE(calls, 1);
    QCOMPARE(reference->data()->at(1)->value, 5.5);

    QImage image(200, 100, QImage::Format_RGB32);
    QPainter painter(&image);
    chart.render(painter, image.rect());
    QCOMPARE(calls, 2);
    chart.unbind();
}

void ChartTest::automaticAxesFitTheSection_data() {
    QTest::addColumn<double>("level");
    QTest::addColumn<double>("lower");
    QTest::addColumn<double>("upper");
    // A bed from 100 to 215 fills the plot whatever the water level; a level outside the
    // section's elevations takes the fill to the plot's edge instead of stretching the axis.
    QTest::newRow("level 0.00 below the bed") << 0.0 << 94.25 << 220.75;
    QTest::newRow("level inside the section") << 150.0 << 94.25 << 220.75;
    QTest::newRow("level above both banks") << 300.0 << 94.25 << 220.75;
}

void ChartTest::automaticAxesFitTheSection() {
    QFETCH(double, level);
    QFETCH(double, lower);
    QFETCH(double, upper);
    PointTable table;
    Chart chart;
    chart.resize(400, 300);
    chart.bindAreaSeries(table);
    table.appendRow(0, 215);
    table.appendRow(10, 100);
    table.appendRow(20, 210);
    chart.setReferenceLevel(level);
    chart.replot();
    const QCPRange range = chart.yAxis->range();
    QVERIFY2(qAbs(range.lower - lower) < 1e-9 && qAbs(range.upper - upper) < 1e-9,
             qPrintable(QStringLiteral("%1 .. %2").arg(range.lower).arg(range.upper)));
    QCOMPARE(chart.xAxis->range(), QCPRange(0, 20));
    QCOMPARE(chart.referenceLevel(), level);
    // The fill's reference line: at the level when it is in view, otherwise beyond the edge on
    // the level's side, so the hatch reaches the edge.
    const double drawn = chart.referenceGraph()->data()->at(0)->value;
    if (level < lower)
        QVERIFY(drawn <= lower);
    else if (level > upper)
        QVERIFY(drawn >= upper);
    else
        QCOMPARE(drawn, level);
    chart.unbind();
}

void ChartTest::fixedAxesKeepTheVerticalMinimum() {
    PointTable table;
    Chart chart;
    chart.bindAreaSeries(table);
    table.appendRow(0, -3);
    table.appendRow(50, 4);
    const double lower = chart.yAxis->range().lower;
    QVERIFY(qAbs(lower + 3.35) < 1e-9);

    chart.setAxisRangesFixed(-1, 51, 12);
    QVERIFY(!chart.axesAutomatic());
    table.appendRow(60, -20); // a change does not move fixed axes
    QCOMPARE(chart.xAxis->range(), QCPRange(-1, 51));
    QCOMPARE(chart.yAxis->range(), QCPRange(lower, 12));

    chart.setAutomaticAxes();
    QVERIFY(chart.axesAutomatic());
    QCOMPARE(chart.xAxis->range(), QCPRange(0, 60));
    QVERIFY(qAbs(chart.yAxis->range().lower + 21.2) < 1e-9);
    QVERIFY(qAbs(chart.yAxis->range().upper - 5.2) < 1e-9);
    chart.unbind();
}

void ChartTest::lineSeriesTakesPointsInAscendingAreaKeepingTableOrderForTies() {
    RatingTable rating;
    Chart chart;
    chart.bindLineSeries(rating);
    rating.suspendViews();
    rating.appendRow(0.0, 0.0);
    rating.appendRow(0.5, 0.0);
    rating.appendRow(1.0, 3.0);
    rating.appendRow(1.5, 2.0); // out of area order on purpose
    rating.resumeViews();
    QCOMPARE(chartPoints(chart), (QList<QPointF>{{0, 0.0}, {0, 0.5}, {2.0, 1.5}, {3.0, 1.0}}));
    QCOMPARE(chart.seriesGraph()->pen().color(), QColor(222, 71, 33));
    QCOMPARE(chart.seriesGraph()->scatterStyle().shape(), QCPScatterStyle::ssCircle);
    QCOMPARE(chart.seriesGraph()->scatterStyle().pen().width(), 2);
    QCOMPARE(chart.seriesGraph()->scatterStyle().pen().capStyle(), Qt::SquareCap);
    QCOMPARE(chart.seriesGraph()->scatterStyle().brush().color(), QColor(Qt::black));
    chart.unbind();
}

void ChartTest::deletedRatingRowLeavesTheChart() {
    RatingTable rating;
    Chart chart;
    chart.bindLineSeries(rating);
    rating.appendRow(1, 10);
    rating.appendRow(2, 20);
    rating.appendRow(3, 30);
    rating.moveTo(1);
    rating.deleteCurrent();
    QCOMPARE(chartPoints(chart), (QList<QPointF>{{10, 1}, {30, 3}}));
    chart.unbind();
}

void ChartTest::titleLinesKeepEmptyLines() {
    Chart chart;
    chart.resize(300, 200);
    chart.setTitleLines({QStringLiteral("Cross Section")});
    chart.replot();
    const int oneLine = chart.axisRect()->outerRect().top();
    chart.setTitleLines({QStringLiteral("Cross Section"), QString()});
    chart.replot();
    const int twoLines = chart.axisRect()->outerRect().top();
    QCOMPARE(chart.titleLines(), (QStringList{QStringLiteral("Cross Section"), QString()}));
    // The empty second line takes a line's height.
    QVERIFY2(twoLines >= oneLine + chart.fontMetrics().height() - 2,
             qPrintable(QStringLiteral("%1 vs %2").arg(oneLine).arg(twoLines)));
}

void ChartTest::renderDrawsTheSamePictureAtAnyScale() {
    PointTable table;
    Chart chart;
    chart.resize(320, 240);
    chart.bindAreaSeries(table);
    table.appendRow(0, 10);
    table.appendRow(5, -2);
    table.appendRow(10, 10);
    QCOMPARE(chart.clientSize(), QSize(320, 240));

    QImage same(chart.clientSize(), QImage::Format_RGB32);
    same.fill(Qt::white);
    {
        QPainter painter(&same);
        chart.render(painter, same.rect());
    }
    QImage twice(chart.clientSize() * 2, QImage::Format_RGB32);
    twice.fill(Qt::white);
    {
        QPainter painter(&twice);
        chart.render(painter, twice.rect());
    }
    // Something was drawn, the chart's background fills the picture, and the doubled picture
    // has the same layout: its top-left corner shrunk back matches the original closely.
    const QRgb background = chart.palette().color(QPalette::Button).rgb();
    QCOMPARE(same.pixel(1, 1), background);
    QVERIFY(pixelsDifferentFrom(same, background) > 1000);
    const QImage shrunk =
        twice.scaled(same.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    int close = 0;
    for (int y = 0; y < same.height(); ++y)
        for (int x = 0; x < same.width(); ++x)
            if (qAbs(qGray(same.pixel(x, y)) - qGray(shrunk.pixel(x, y))) < 60)
                ++close;
    QVERIFY2(close > same.width() * same.height() * 9 / 10, qPrintable(QString::number(close)));
    chart.unbind();
}

QTEST_MAIN(ChartTest)
#include "chart_test.moc"
