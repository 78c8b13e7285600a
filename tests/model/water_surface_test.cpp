// SPDX-License-Identifier: GPL-3.0-or-later
// Where the water surface lies at a level (the main chart's surface line), worked by hand and
// against the top width of the hydraulic properties.

#include "model/HydraulicProperties.h"
#include "model/WaterSurface.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace korvadel {
namespace {

struct SurfaceCase {
    const char* name;
    std::vector<double> stations;
    std::vector<double> elevations;
    double level;
    std::vector<std::pair<double, double>> spans;
};

TEST(WaterSurface, SpansWhereTheBedLiesBelowTheLevel) {
    const std::vector<SurfaceCase> cases = {
        {"trapezoid part full", {0, 2, 8, 10}, {10, 0, 0, 10}, 5, {{1, 9}}},
        {"V, crossing on both sides", {0, 4, 6}, {4, 0, 2}, 1, {{3, 5}}},
        {"bank top exactly at the level joins channel and hollow",
         {0, 2, 4, 6, 10, 12, 14, 16, 18, 20},
         {103, 102, 101, 100, 100, 101, 102, 101.5, 102, 103},
         102,
         {{2, 18}}},
        {"bank hollow apart from the channel",
         {0, 2, 4, 6, 10, 12, 14, 16, 18, 20},
         {103, 102, 101, 100, 100, 101, 102, 101.5, 102, 103},
         101.75,
         {{2.5, 13.5}, {15, 17}}},
        {"ends below the level: the walls add no width", {0, 5, 10}, {1, 0, 1}, 3, {{0, 10}}},
        {"vertical step inside the water", {0, 4, 4, 8}, {0, 0, 2, 2}, 3, {{0, 8}}},
        {"vertical step standing out of the water",
         {0, 4, 4, 8},
         {0, 0, 4, 0},
         3,
         {{0, 4}, {5, 8}}},
        {"flat bed exactly at the level holds none", {0, 2, 4}, {1, 1, 1}, 1, {}},
        {"level below the bed", {0, 2, 4}, {3, 1, 3}, 0.5, {}},
        {"a single point has no surface", {5}, {0}, 3, {}},
    };
    for (const SurfaceCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<WaterSpan> spans = waterSurfaceSpans(c.stations, c.elevations, c.level);
        std::vector<std::pair<double, double>> got;
        double width = 0.0;
        for (const WaterSpan& span : spans) {
            got.emplace_back(span.left, span.right);
            width += span.right - span.left;
        }
        EXPECT_EQ(got, c.spans);
        // The surface drawn is the top width the properties give.
        EXPECT_NEAR(
            width,
            hydraulicProperties(c.stations, c.elevations, c.level, 0.0, WaterExtent::WholeSection)
                .topWidth,
            1e-12);
    }
}
} // namespace
} // namespace korvadel
