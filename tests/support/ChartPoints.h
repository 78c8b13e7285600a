// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The points a chart's series holds, in its own order, for comparing with what a table gave it.

#include "components/chart/Chart.h"

#include <QList>
#include <QPointF>

namespace korvadel {

inline QList<QPointF> chartPoints(const Chart& chart) {
    QList<QPointF> points;
    for (auto it = chart.seriesGraph()->data()->constBegin();
         it != chart.seriesGraph()->data()->constEnd(); ++it)
        points.append(QPointF(it->key, it->value));
    return points;
}

} // namespace korvadel
