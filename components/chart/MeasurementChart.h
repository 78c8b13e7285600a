// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "components/chart/Chart.h"

#include <QList>
#include <QPen>
#include <QVector>

#include <vector>

namespace korvadel {

// A chart of discharge measurements: each point stands for one row of a measurement table, so
// a click on a point names its row and rows chosen elsewhere are ringed. Lines and bands drawn
// beside the points belong to no row. Graphs with a name appear in the legend.
class MeasurementChart : public Chart {
    Q_OBJECT
public:
    explicit MeasurementChart(QWidget* parent = nullptr);

    struct Point {
        double x = 0.0;
        double y = 0.0;
        int row = -1;
    };

    // Removes every graph this chart added.
    void clearPlot();
    // Points drawn with `shape`, unjoined.
    QCPGraph* addPoints(const QString& name, std::vector<Point> points,
                        QCPScatterStyle::ScatterShape shape, const QColor& colour);
    // A line through (x, y) in the order given.
    QCPGraph* addLine(const QString& name, const QVector<double>& x, const QVector<double>& y,
                      const QPen& pen);
    // Straight segments from each (x1, y1) to its (x2, y2), as one drawing however many.
    void addSegments(const QVector<QPointF>& from, const QVector<QPointF>& to, const QPen& pen);
    // A band between two lines over the same x, filled lightly.
    void addBand(const QString& name, const QVector<double>& x, const QVector<double>& low,
                 const QVector<double>& high, const QColor& colour);
    // Rings the points of these rows.
    void setSelectedRows(const QList<int>& rows);
    // Axes around everything drawn, with a little room, then a redraw.
    void fitToPlot();

    // The row of the point nearest `pixel` within a few pixels, or -1.
    int rowAt(const QPointF& pixel) const;
    // Where the point of `row` is drawn (its first one), or nothing.
    std::optional<QPointF> pixelOfRow(int row) const;

signals:
    void rowClicked(int row);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    struct PointGraph {
        QCPGraph* graph;
        std::vector<Point> points;
    };
    std::vector<PointGraph> pointGraphs_;
    QList<QCPAbstractPlottable*> added_;
    QCPGraph* selection_ = nullptr;
};

} // namespace korvadel
