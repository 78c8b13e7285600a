// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/chart/StageCurves.h"

#include "components/chart/Chart.h"

#include <algorithm>
#include <cmath>

namespace korvadel {

namespace {

constexpr double kCurveMargin = 0.03;

QCPRange padded(QCPRange range, bool found) {
    if (!found)
        return QCPRange(0.0, 1.0);
    double span = range.size();
    if (span <= 0.0)
        span = std::max(1.0, std::abs(range.center()));
    return QCPRange(range.lower - span * kCurveMargin, range.upper + span * kCurveMargin);
}

} // namespace

QCPGraph* addStageCurve(Chart& chart, const QString& name, const QColor& colour) {
    QCPGraph* curve = chart.addGraph(chart.yAxis, chart.xAxis);
    curve->setName(name);
    curve->setPen(QPen(colour, 1));
    curve->setLineStyle(QCPGraph::lsLine);
    curve->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, colour, colour, 4));
    curve->setSelectable(QCP::stNone);
    return curve;
}

void setStageCurve(QCPGraph& curve, const QVector<double>& stages, const QVector<double>& values) {
    QVector<QCPGraphData> data;
    data.reserve(stages.size());
    for (qsizetype i = 0; i < stages.size() && i < values.size(); ++i)
        data.append(QCPGraphData(stages[i], values[i]));
    const bool sorted =
        std::is_sorted(data.begin(), data.end(),
                       [](const QCPGraphData& a, const QCPGraphData& b) { return a.key < b.key; });
    curve.data()->set(data, sorted);
}

void fitChartToCurves(Chart& chart) {
    QCPRange x;
    QCPRange y;
    bool foundX = false;
    bool foundY = false;
    // Grows `target` over `range`; the first range found is taken as it is.
    const auto take = [](QCPRange& target, bool& seen, const QCPRange& range) {
        if (seen)
            target.expand(range);
        else
            target = range;
        seen = true;
    };
    for (int i = 0; i < chart.graphCount(); ++i) {
        QCPGraph* graph = chart.graph(i);
        if (!graph->visible() || graph->dataCount() == 0)
            continue;
        // A curve against stage has its keys up the vertical axis.
        const bool keysAcross = graph->keyAxis() == chart.xAxis;
        bool found = false;
        const QCPRange keys = graph->getKeyRange(found);
        if (found)
            take(keysAcross ? x : y, keysAcross ? foundX : foundY, keys);
        const QCPRange values = graph->getValueRange(found);
        if (found)
            take(keysAcross ? y : x, keysAcross ? foundY : foundX, values);
    }
    chart.xAxis->setRange(padded(x, foundX));
    chart.yAxis->setRange(padded(y, foundY));
    chart.replot(QCustomPlot::rpQueuedReplot);
}

} // namespace korvadel
