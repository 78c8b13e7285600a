// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/chart/RatingChart.h"

#include "components/chart/Chart.h"

namespace korvadel {

void setUpRatingChartTitle(Chart& chart) {
    chart.setTitleLines({QStringLiteral("Stage Area Rating"), QString()});
}

void setUpRatingChart(Chart& chart, RatingTable& rating) {
    setUpRatingChartTitle(chart);
    chart.setAxisTitles(QStringLiteral("Area"), QStringLiteral("Stage"));
    chart.setPrintMargins(PrintMargins{15, 14, 15, 14, true, 0});
    chart.setAnimatedZoom(true);
    chart.bindLineSeries(rating);
}

} // namespace korvadel
