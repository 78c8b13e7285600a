// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/WaterSurface.h"

#include <algorithm>
#include <cmath>

namespace korvadel {

std::vector<WaterSpan> waterSurfaceSpans(std::span<const double> stations,
                                         std::span<const double> elevations, double level) {
    std::vector<WaterSpan> spans;
    const std::size_t n = std::min(stations.size(), elevations.size());
    if (n < 2 || !std::isfinite(level))
        return spans;
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const double s1 = stations[i];
        const double s2 = stations[i + 1];
        const double e1 = elevations[i];
        const double e2 = elevations[i + 1];
        const double lo = std::min(e1, e2);
        const double hi = std::max(e1, e2);
        if (!(lo < level) || !(s2 > s1))
            continue;
        double left = s1;
        double right = s2;
        if (level < hi) {
            // The wet part starts at the low end and reaches up to where the bed meets the level.
            const double width = (s2 - s1) * ((level - lo) / (hi - lo));
            if (e1 < e2)
                right = s1 + width;
            else
                left = s2 - width;
        }
        if (!spans.empty() && spans.back().right == left)
            spans.back().right = right;
        else
            spans.push_back({left, right});
    }
    return spans;
}

} // namespace korvadel
