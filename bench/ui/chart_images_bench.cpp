// SPDX-License-Identifier: GPL-3.0-or-later
// The water-level animation's tick on a large section (level change and chart repaint; the
// timer fires every 18 ms with the default settings), and the rating chart's metafile and
// JPEG pictures of a long rating.

#include "components/chart/Chart.h"
#include "components/chart/ChartPicture.h"
#include "components/wmf/WmfPaintDevice.h"
#include "model/CrossSectionDocument.h"
#include "model/RatingTable.h"
#include "model/WaterLevelSweep.h"
#include "ui/WaterLevelAnimation.h"

#include <QApplication>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

using namespace korvadel;

namespace {

// A channel 1000 m wide sampled every 1 cm: a bed between -3 and 0.8 with ripples.
void fillSection(PointTable& points, std::size_t count) {
    std::vector<PointTable::LoadRow> rows;
    rows.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double station = static_cast<double>(i) * 0.01;
        const double across = station / (count * 0.01);
        const double elevation =
            -3.0 * std::sin(across * M_PI) + 0.8 + 0.05 * std::sin(station * 7);
        rows.push_back({station, elevation});
    }
    points.bulkLoad(rows);
}

void BM_AnimationTick(benchmark::State& state) {
    CrossSectionDocument document;
    document.points.clear();
    fillSection(document.points, static_cast<std::size_t>(state.range(0)));
    QWidget window;
    auto* button = new QPushButton(WaterLevelAnimation::kStartCaption, &window);
    auto* timer = new QTimer(&window);
    auto* chart = new Chart(&window);
    chart->setGeometry(0, 0, 442, 440);
    chart->bindAreaSeries(document.points);
    window.resize(631, 479);
    window.show();
    WaterLevelSweep sweep;
    WaterLevelAnimation animation(
        WaterLevelAnimation::Parts{&sweep, &document, button, timer, chart, {}, {}, nullptr});
    animation.start();
    timer->stop(); // the benchmark is the timer
    chart->replot(QCustomPlot::rpImmediateRefresh);
    for (auto _ : state) {
        animation.tick();
        chart->replot(QCustomPlot::rpImmediateRefresh);
    }
    state.counters["level"] = sweep.level({}).value_or(0.0);
}
BENCHMARK(BM_AnimationTick)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

struct RatingChart {
    RatingTable rating;
    Chart chart;
    explicit RatingChart(int rows) {
        for (int i = 0; i < rows; ++i) {
            const double stage = i * 0.01;
            rating.appendRow(stage, 12.0 * stage + 0.8 * stage * stage);
        }
        chart.resize(451, 365);
        chart.setTitleLines({QStringLiteral("Stage Area Rating"), QString()});
        chart.setAxisTitles(QStringLiteral("Area"), QStringLiteral("Stage"));
        chart.bindLineSeries(rating);
    }
};

void BM_RatingMetafile(benchmark::State& state) {
    RatingChart r(static_cast<int>(state.range(0)));
    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("chart.wmf")).toStdString();
    const ScreenReference screen{508, 286, 1920, 1080, 96, 96};
    for (auto _ : state)
        saveChartMetafile(r.chart, path, screen);
    state.counters["bytes"] = static_cast<double>(QFileInfo(QString::fromStdString(path)).size());
}
BENCHMARK(BM_RatingMetafile)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_RatingJpeg(benchmark::State& state) {
    RatingChart r(static_cast<int>(state.range(0)));
    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("chart.jpg")).toStdString();
    for (auto _ : state)
        saveChartJpeg(r.chart, path);
}
BENCHMARK(BM_RatingJpeg)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
