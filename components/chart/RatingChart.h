// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>

namespace korvadel {

class Chart;
class RatingTable;

// The rating chart's size as the rating window first opens, beside the rating grid's panel;
// also the picture size korvadel-cli chart draws by default.
inline constexpr QSize kRatingChartSize(447, 400);

// Makes `chart` the rating chart over `rating`: "Stage Area Rating" over an empty title line,
// Area across and Stage up, the stage-against-area curve with its markers, the printed margins
// of a rating chart and the eased wheel zoom. The rating window and korvadel-cli chart both set
// their chart up here, so the picture files are the same from either.
void setUpRatingChart(Chart& chart, RatingTable& rating);
// The title lines the rating chart starts with: the fixed title over an empty line.
void setUpRatingChartTitle(Chart& chart);

} // namespace korvadel
