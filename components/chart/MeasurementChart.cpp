// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/chart/MeasurementChart.h"

#include "components/chart/StageCurves.h"

#include <QMouseEvent>

#include <algorithm>
#include <cmath>
#include <limits>

namespace korvadel {

namespace {

// How far from a point, in pixels, a click still picks it.
constexpr double kPickRadius = 7.0;

} // namespace

MeasurementChart::MeasurementChart(QWidget* parent) : Chart(parent) {
    legend->setVisible(true);
    legend->setFont(font());
    legend->setBrush(QColor(255, 255, 255, 220));
    axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignLeft);
    // The chart's own graphs (an area series and its fill level) have no place here.
    for (QCPGraph* own : {seriesGraph(), referenceGraph()})
        legend->removeItem(legend->itemWithPlottable(own));
}

void MeasurementChart::clearPlot() {
    for (QCPAbstractPlottable* plottable : std::as_const(added_))
        removePlottable(plottable);
    added_.clear();
    pointGraphs_.clear();
    selection_ = nullptr;
}

QCPGraph* MeasurementChart::addPoints(const QString& name, std::vector<Point> points,
                                      QCPScatterStyle::ScatterShape shape, const QColor& colour) {
    // Sorted here, so that the graph keeps them in this order and its points match the rows.
    std::stable_sort(points.begin(), points.end(),
                     [](const Point& a, const Point& b) { return a.x < b.x; });
    QVector<QCPGraphData> data;
    data.reserve(static_cast<qsizetype>(points.size()));
    for (const Point& point : points)
        data.append(QCPGraphData(point.x, point.y));
    auto* graph = addGraph();
    graph->setName(name);
    graph->setLineStyle(QCPGraph::lsNone);
    graph->setScatterStyle(QCPScatterStyle(shape, colour, 7));
    graph->setPen(QPen(colour, 1.5));
    graph->setSelectable(QCP::stNone);
    graph->data()->set(data, true);
    if (name.isEmpty() || points.empty())
        graph->removeFromLegend();
    added_.append(graph);
    pointGraphs_.push_back({graph, std::move(points)});
    return graph;
}

QCPGraph* MeasurementChart::addLine(const QString& name, const QVector<double>& x,
                                    const QVector<double>& y, const QPen& pen) {
    auto* graph = addGraph();
    graph->setName(name);
    graph->setPen(pen);
    graph->setSelectable(QCP::stNone);
    graph->setData(x, y);
    if (name.isEmpty() || x.isEmpty())
        graph->removeFromLegend();
    added_.append(graph);
    return graph;
}

void MeasurementChart::addSegments(const QVector<QPointF>& from, const QVector<QPointF>& to,
                                   const QPen& pen) {
    // One curve through the segments in turn, a gap (NaN) between one and the next.
    QVector<QCPCurveData> data;
    data.reserve(3 * from.size());
    const double gap = std::numeric_limits<double>::quiet_NaN();
    for (qsizetype i = 0; i < from.size() && i < to.size(); ++i) {
        const double t = 3.0 * static_cast<double>(i);
        data.append(QCPCurveData(t, from[i].x(), from[i].y()));
        data.append(QCPCurveData(t + 1, to[i].x(), to[i].y()));
        data.append(QCPCurveData(t + 2, gap, gap));
    }
    auto* curve = new QCPCurve(xAxis, yAxis);
    curve->setPen(pen);
    curve->setSelectable(QCP::stNone);
    curve->data()->set(data, true);
    curve->removeFromLegend();
    added_.append(curve);
}

void MeasurementChart::addBand(const QString& name, const QVector<double>& x,
                               const QVector<double>& low, const QVector<double>& high,
                               const QColor& colour) {
    QColor fill = colour;
    fill.setAlpha(40);
    QPen edge(colour, 1, Qt::DashLine);
    QCPGraph* lower = addLine(QString(), x, low, edge);
    QCPGraph* upper = addLine(name, x, high, edge);
    upper->setBrush(fill);
    upper->setChannelFillGraph(lower);
}

void MeasurementChart::setSelectedRows(const QList<int>& rows) {
    if (selection_ != nullptr) {
        removePlottable(selection_);
        added_.removeOne(selection_);
        selection_ = nullptr;
    }
    // A mark per row, so that a selection of every row costs one pass over the points.
    std::vector<bool> chosen;
    for (const int row : rows)
        if (row >= 0) {
            if (static_cast<std::size_t>(row) >= chosen.size())
                chosen.resize(static_cast<std::size_t>(row) + 1);
            chosen[static_cast<std::size_t>(row)] = true;
        }
    QVector<QCPGraphData> data;
    for (const PointGraph& pg : pointGraphs_)
        for (const Point& point : pg.points)
            if (point.row >= 0 && static_cast<std::size_t>(point.row) < chosen.size() &&
                chosen[static_cast<std::size_t>(point.row)])
                data.append(QCPGraphData(point.x, point.y));
    if (!data.isEmpty()) {
        std::sort(data.begin(), data.end(), qcpLessThanSortKey<QCPGraphData>);
        selection_ = addGraph();
        selection_->setLineStyle(QCPGraph::lsNone);
        selection_->setScatterStyle(
            QCPScatterStyle(QCPScatterStyle::ssCircle, QPen(QColor(0, 0, 0), 2), Qt::NoBrush, 15));
        selection_->setSelectable(QCP::stNone);
        selection_->data()->set(data, true);
        selection_->removeFromLegend();
        added_.append(selection_);
    }
    replot(rpQueuedReplot);
}

void MeasurementChart::fitToPlot() {
    // An empty legend would stand as a blank box in the corner.
    legend->setVisible(legend->itemCount() > 0);
    fitChartToCurves(*this);
}

int MeasurementChart::rowAt(const QPointF& pixel) const {
    int best = -1;
    double bestDistance = kPickRadius;
    for (const PointGraph& pg : pointGraphs_) {
        for (const Point& point : pg.points) {
            const QPointF at = pg.graph->coordsToPixels(point.x, point.y);
            const double distance = std::hypot(at.x() - pixel.x(), at.y() - pixel.y());
            if (distance <= bestDistance) {
                bestDistance = distance;
                best = point.row;
            }
        }
    }
    return best;
}

std::optional<QPointF> MeasurementChart::pixelOfRow(int row) const {
    for (const PointGraph& pg : pointGraphs_)
        for (const Point& point : pg.points)
            if (point.row == row)
                return pg.graph->coordsToPixels(point.x, point.y);
    return std::nullopt;
}

void MeasurementChart::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const int row = rowAt(event->position());
        if (row >= 0) {
            emit rowClicked(row);
            event->accept();
            return;
        }
    }
    Chart::mousePressEvent(event);
}

} // namespace korvadel
