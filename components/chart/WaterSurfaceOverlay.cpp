// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/chart/WaterSurfaceOverlay.h"

#include "components/chart/Chart.h"
#include "components/chart/Palette.h"
#include "model/HydraulicProperties.h"
#include "model/Numbers.h"
#include "model/WaterSurface.h"

#include <limits>
#include <vector>

namespace korvadel {

namespace {} // namespace

WaterSurfaceOverlay::WaterSurfaceOverlay(Chart& chart, NumberFormat format)
    : chart_(chart), format_(format) {
    line_ = chart_.addGraph();
    line_->setPen(QPen(palette::kWater, 2));
    line_->setLineStyle(QCPGraph::lsLine);
    line_->setSelectable(QCP::stNone);
    line_->setVisible(false);
    label_ = new QCPItemText(&chart_);
    label_->setColor(palette::kWater);
    label_->setPositionAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    label_->setPadding(QMargins(0, 0, 0, 3));
    label_->setSelectable(false);
    label_->setVisible(false);
}

QString WaterSurfaceOverlay::labelText() const {
    return label_->visible() ? label_->text() : QString();
}

void WaterSurfaceOverlay::showLevel(std::optional<double> level) {
    if (level == shownLevel_ && chart_.refreshCount() == shownRefresh_)
        return;
    shownLevel_ = level;
    shownRefresh_ = chart_.refreshCount();

    std::vector<double> stations;
    std::vector<double> elevations;
    if (level) {
        const QSharedPointer<QCPGraphDataContainer> section = chart_.seriesGraph()->data();
        stations.reserve(static_cast<std::size_t>(section->size()));
        elevations.reserve(static_cast<std::size_t>(section->size()));
        for (auto point = section->constBegin(); point != section->constEnd(); ++point) {
            stations.push_back(point->key);
            elevations.push_back(point->value);
        }
    }
    const std::vector<WaterSpan> spans =
        level ? waterSurfaceSpans(stations, elevations, *level) : std::vector<WaterSpan>();
    topWidth_ =
        level ? hydraulicProperties(stations, elevations, *level, 0.0, WaterExtent::WholeSection)
                    .topWidth
              : 0.0;
    if (spans.empty() || !(topWidth_ > 0.0)) {
        topWidth_ = 0.0;
        line_->data()->clear();
        line_->setVisible(false);
        label_->setVisible(false);
        return;
    }

    // One line per stretch of water; a gap (no value) between stretches breaks the line there.
    QVector<QCPGraphData> surface;
    surface.reserve(static_cast<qsizetype>(spans.size() * 3));
    for (const WaterSpan& span : spans) {
        if (!surface.isEmpty())
            surface.append(QCPGraphData((surface.constLast().key + span.left) / 2,
                                        std::numeric_limits<double>::quiet_NaN()));
        surface.append(QCPGraphData(span.left, *level));
        surface.append(QCPGraphData(span.right, *level));
    }
    line_->data()->set(surface, true);
    line_->setVisible(true);

    label_->setText(
        QStringLiteral("Top width %1")
            .arg(QString::fromStdString(formatGeneral(roundScaled(topWidth_, 1000), format_))));
    label_->position->setCoords((spans.front().left + spans.back().right) / 2, *level);
    label_->setVisible(true);
}

} // namespace korvadel
