// SPDX-License-Identifier: GPL-3.0-or-later
// The cross-section chart on a screen of two device pixels to the pixel: the hatch under the
// section keeps the spacing it has at one, instead of shrinking to half.

#include "components/chart/Chart.h"
#include "model/PointTable.h"

#include <QApplication>
#include <QImage>
#include <QtTest>

using namespace korvadel;

namespace {

// Starts of hatch lines met walking along row y inside [left, right) of the picture.
int hatchLinesAcross(const QImage& picture, int y, int left, int right) {
    int lines = 0;
    bool inLine = false;
    for (int x = left; x < right; ++x) {
        const QColor colour = picture.pixelColor(x, y);
        // The hatch is a pale blue-green over white.
        const bool hatch = colour.red() < 235 && colour.green() > colour.red();
        lines += hatch && !inLine ? 1 : 0;
        inLine = hatch;
    }
    return lines;
}

} // namespace

class HighResolutionChartTest : public QObject {
    Q_OBJECT
private slots:
    void hatchKeepsItsSpacing();
};

void HighResolutionChartTest::hatchKeepsItsSpacing() {
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
    PointTable table;
    Chart chart;
    chart.bindAreaSeries(table);
    // A bank rising across the plot: the area under it is hatched.
    table.appendRow(0, 0);
    table.appendRow(100, 100);
    chart.resize(400, 300);
    chart.show();
    QVERIFY(QTest::qWaitForWindowExposed(&chart));
    chart.replot();
    const QImage picture = chart.grab().toImage();
    QCOMPARE(picture.width(), 800);

    // 200 pixels across the plot near its foot, all under the bank: a 45-degree hatch repeating
    // every 8 pixels meets 25 lines (give or take the ends); drawn in device pixels it would
    // meet twice as many.
    const QRect plot = chart.axisRect()->rect();
    const int y = 2 * (plot.bottom() - 20);
    const int left = 2 * (plot.center().x() - 100);
    const int lines = hatchLinesAcross(picture, y, left, left + 400);
    QVERIFY2(lines >= 24 && lines <= 26, qPrintable(QString::number(lines)));
    chart.unbind();
}

int main(int argc, char** argv) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication application(argc, argv);
    HighResolutionChartTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "high_resolution_chart_test.moc"
