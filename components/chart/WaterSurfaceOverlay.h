// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/NumberFormat.h"

#include <QString>

#include <optional>

class QCPGraph;
class QCPItemText;

namespace korvadel {

class Chart;

// The water surface at a level over the cross-section chart: a line across every stretch where
// water stands (the whole section's water, hollows of the banks included, as the rating counts
// it) and the top width as a label above the surface. Nothing shows while there is no water at
// the level. The section is the chart's own area series, so the line meets the drawn bed.
class WaterSurfaceOverlay {
public:
    WaterSurfaceOverlay(Chart& chart, NumberFormat format);

    // Draws the surface at `level` (an elevation), or nothing for no level. Cheap when neither
    // the level nor the section changed since the last call, so it can run before every redraw.
    void showLevel(std::optional<double> level);

    // What is shown: the top width (0 without water) and the label's text.
    double topWidth() const { return topWidth_; }
    QString labelText() const;
    QCPGraph* surfaceGraph() const { return line_; }

private:
    Chart& chart_;
    NumberFormat format_;
    QCPGraph* line_ = nullptr;
    QCPItemText* label_ = nullptr;
    std::optional<double> shownLevel_;
    int shownRefresh_ = -1;
    double topWidth_ = 0.0;
};

} // namespace korvadel
