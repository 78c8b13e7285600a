// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>
#include <QVector>

class QCPGraph;

namespace korvadel {

class Chart;

// Curves drawn against stage, with the stage up the vertical axis as on the rating chart: the
// stage is the graph's key, so a curve runs through its points in stage order, and areas that
// stay equal over several stages (no water yet) draw a straight climb.
QCPGraph* addStageCurve(Chart& chart, const QString& name, const QColor& colour);
// Replaces the curve's points: stages ascending (as a rating's rows are), values across.
void setStageCurve(QCPGraph& curve, const QVector<double>& stages, const QVector<double>& values);

// Both axes around every visible curve of the chart with a little room at the ends, as the
// rating chart has for its markers; a chart without points shows 0 to 1.
void fitChartToCurves(Chart& chart);

} // namespace korvadel
