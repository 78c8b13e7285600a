// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/WettedArea.h"

#include "model/PointTable.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace korvadel {

namespace {

// One segment's share, added to the running area. Every product and quotient is a double: the
// area is held as a double between segments anyway, and double intermediates make the result
// the same on every build (the model is compiled without fused multiply-add). A rounded area
// can depend on this choice at an exact decimal tie, which the tests pin.
inline void addSegment(double& area, double s1, double e1, double s2, double e2,
                       double level) noexcept {
    const double w = std::fabs(s2 - s1);
    const double low = e1 < e2 ? e1 : e2;
    if (e1 > level) {
        if (e2 <= level)
            area = area + w / (e1 - e2) * (0.5 * ((level - e2) * (level - e2)));
    } else if (e2 > level) {
        area = area + w / (e2 - e1) * (0.5 * ((level - e1) * (level - e1)));
    } else {
        area = (area + w * (level - low)) - 0.5 * std::fabs(e2 - e1) * w;
    }
}

} // namespace

// Walks the points in table order, pairing each with the next and the last with itself; a
// point exactly at the level counts as wet.
double wettedArea(std::span<const double> stations, std::span<const double> elevations,
                  double level, double elevationShift) noexcept {
    const std::size_t n = std::min(stations.size(), elevations.size());
    double area = 0.0;
    if (n == 0)
        return area;
    double s1 = stations[0];
    double e1 = elevations[0] + elevationShift;
    for (std::size_t i = 1; i < n; ++i) {
        const double s2 = stations[i];
        const double e2 = elevations[i] + elevationShift;
        addSegment(area, s1, e1, s2, e2, level);
        s1 = s2;
        e1 = e2;
    }
    // The last point paired with itself: zero width, kept so that the result is exactly that
    // of the walk even for non-finite input.
    addSegment(area, s1, e1, s1, e1, level);
    return area;
}

// Wider vector units run more lanes per instruction; the operations per lane are the same IEEE
// additions, subtractions, multiplications and divisions (no fused multiply-add), so every
// variant gives the same bits.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) &&                             \
    !defined(__SANITIZE_ADDRESS__)
__attribute__((target_clones("avx2", "default")))
#endif
void wettedAreas(std::span<const double> stations, std::span<const double> elevations,
                 std::span<const double> levels, double elevationShift,
                 std::span<double> areas) noexcept {
    constexpr std::size_t kLanes = 16;
    const std::size_t n = std::min(stations.size(), elevations.size());
    const std::size_t count = std::min(levels.size(), areas.size());
    for (std::size_t first = 0; first < count; first += kLanes) {
        const std::size_t lanes = std::min(kLanes, count - first);
        std::array<double, kLanes> level{};
        std::array<double, kLanes> area{};
        for (std::size_t j = 0; j < kLanes; ++j)
            level[j] = levels[first + std::min(j, lanes - 1)];
        double lowest = level[0];
        double highest = level[0];
        bool ordered = true;
        for (std::size_t j = 0; j < kLanes; ++j) {
            ordered = ordered && !std::isnan(level[j]);
            lowest = std::min(lowest, level[j]);
            highest = std::max(highest, level[j]);
        }
        if (!ordered || n == 0) {
            for (std::size_t j = 0; j < lanes; ++j)
                areas[first + j] = wettedArea(stations, elevations, level[j], elevationShift);
            continue;
        }
        // Every lane runs exactly the operations of the single-level walk, in the same order;
        // a segment wholly above or wholly below all the lanes' levels takes the same branch in
        // every lane, so only segments that cross the band of levels need per-lane branching.
        double s1 = stations[0];
        double e1 = elevations[0] + elevationShift;
        for (std::size_t i = 1; i <= n; ++i) {
            const bool self = i == n;
            const double s2 = self ? s1 : stations[i];
            const double e2 = self ? e1 : elevations[i] + elevationShift;
            if (e1 > highest && e2 > highest) {
                // dry in every lane
            } else if (e1 <= lowest && e2 <= lowest) {
                const double w = std::fabs(s2 - s1);
                const double low = e1 < e2 ? e1 : e2;
                const double wedge = 0.5 * std::fabs(e2 - e1) * w;
                for (std::size_t j = 0; j < kLanes; ++j)
                    area[j] = (area[j] + w * (level[j] - low)) - wedge;
            } else {
                // The segment crosses the band: every branch is evaluated in every lane and the
                // lane keeps the one the walk would take. The slope factors do not depend on
                // the level, so they are divided once; in a lane taking a triangle branch they
                // are the very quotients of the walk, elsewhere they are discarded.
                const double w = std::fabs(s2 - s1);
                const double low = e1 < e2 ? e1 : e2;
                const double wedge = 0.5 * std::fabs(e2 - e1) * w;
                const double slope1 = w / (e1 - e2);
                const double slope2 = w / (e2 - e1);
                for (std::size_t j = 0; j < kLanes; ++j) {
                    const double l = level[j];
                    const double firstDry = area[j] + slope1 * (0.5 * ((l - e2) * (l - e2)));
                    const double secondDry = area[j] + slope2 * (0.5 * ((l - e1) * (l - e1)));
                    const double wet = (area[j] + w * (l - low)) - wedge;
                    const bool above1 = e1 > l;
                    const bool above2 = e2 > l;
                    area[j] = above1 ? (above2 ? area[j] : firstDry) : (above2 ? secondDry : wet);
                }
            }
            s1 = s2;
            e1 = e2;
        }
        for (std::size_t j = 0; j < lanes; ++j)
            areas[first + j] = area[j];
    }
}

double wettedAreaOfTable(PointTable& points, double level, double elevationShift) {
    points.first(); // settles a pending row; a row without station stops here
    const double area = wettedArea(points.stations(), points.elevations(), level, elevationShift);
    if (points.rowCount() > 0) {
        // Where the walk leaves the cursor: on the last row with the end flag set.
        points.last();
        points.next();
    }
    return area;
}

} // namespace korvadel
