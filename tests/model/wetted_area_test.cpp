// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Error.h"
#include "model/Numbers.h"
#include "model/PointTable.h"
#include "model/WettedArea.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace korvadel {
namespace {

using Points = std::vector<std::pair<double, double>>;

PointTable appended(const Points& points) {
    PointTable table;
    for (const auto& [station, elevation] : points)
        table.appendRow(station, elevation);
    return table;
}

PointTable loaded(const Points& points) {
    PointTable table;
    std::vector<PointTable::LoadRow> rows;
    for (const auto& [station, elevation] : points)
        rows.push_back({station, elevation});
    table.bulkLoad(rows);
    return table;
}

// Hand-worked sections: rectangles, triangles, trapezoids and the walls at both ends.
TEST(WettedAreaByHand, WorkedSections) {
    const Points trapezoid = {{0, 10}, {2, 0}, {8, 0}, {10, 10}};
    const Points vee = {{0, 10}, {5, 0}, {10, 10}};
    struct Case {
        const char* name;
        Points points;
        double level;
        double shift;
        double area;
    };
    const Case cases[] = {
        {"trapezoid 2.5 + 30 + 2.5", trapezoid, 5, 0, 35},
        {"above both banks, walls hold the water", trapezoid, 12, 0, 100},
        {"level at the bed", trapezoid, 0, 0, 0},
        {"level below the bed", trapezoid, -1, 0, 0},
        {"flat bed held by the walls", {{0, 2}, {10, 2}}, 5, 0, 30},
        {"vee full", vee, 10, 0, 50},
        {"vee half", vee, 5, 0, 12.5},
        {"single point", {{3, 0}}, 5, 0, 0},
        {"no points", {}, 5, 0, 0},
        {"shifted bed", {{0, 110}, {2, 100}, {8, 100}, {10, 110}}, 5, -100, 35},
        {"vertical wall adds nothing of its own", {{0, 0}, {5, 0}, {5, 4}, {10, 4}}, 6, 0, 40},
        {"one bank dry", {{0, 0}, {10, 0}, {20, 10}}, 5, 0, 50 + 12.5},
    };
    for (const Case& c : cases) {
        PointTable table = loaded(c.points);
        EXPECT_EQ(wettedAreaOfTable(table, c.level, c.shift), c.area) << c.name;
    }
}

TEST(WettedAreaByHand, TableOrderDecidesTheNeighbours) {
    const Points points = {{0, 10}, {0, 2}, {10, 2}, {10, 10}};
    PointTable byAppend = appended(points); // (0,2) (0,10) (10,10) (10,2)
    PointTable byLoad = loaded(points);     // load order kept
    EXPECT_EQ(wettedAreaOfTable(byAppend, 5, 0), 0);
    EXPECT_EQ(wettedAreaOfTable(byLoad, 5, 0), 30);
}

TEST(WettedAreaCursor, StartsWithFirstAndEndsOnTheLastRow) {
    PointTable table = loaded({{0, 5}, {1, 0}, {2, 5}});
    table.moveTo(1);
    wettedAreaOfTable(table, 3, 0);
    EXPECT_EQ(table.currentIndex(), 2);
    EXPECT_TRUE(table.atEnd());

    PointTable empty;
    wettedAreaOfTable(empty, 3, 0);
    EXPECT_TRUE(empty.atEnd());

    // An untouched pending row disappears (the V holds 1.2 wide by 3 deep at level 3); one
    // without station stops the computation.
    table.insertPending();
    EXPECT_DOUBLE_EQ(wettedAreaOfTable(table, 3, 0), 1.8);
    EXPECT_EQ(table.rowCount(), 3u);
    table.insertPending();
    table.setElevation(1);
    try {
        wettedAreaOfTable(table, 3, 0);
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Field 'Station' must have a value");
    }
    EXPECT_EQ(table.state(), PointTable::State::Inserting);
}

// The walk exactly as the cursor does it: first(), then read, next(), read until the end flag.
double walkedArea(PointTable& table, double level, double shift) {
    double area = 0.0;
    table.first();
    while (!table.atEnd()) {
        const double e1 = table.elevation() + shift;
        const double s1 = table.station();
        table.next();
        const double e2 = table.elevation() + shift;
        const double s2 = table.station();
        const double w = std::fabs(s2 - s1);
        const double low = std::min(e1, e2);
        if (e1 > level && e2 > level) {
        } else if (e1 > level) {
            area += w / (e1 - e2) * (0.5 * std::pow(level - e2, 2));
        } else if (e2 > level) {
            area += w / (e2 - e1) * (0.5 * std::pow(level - e1, 2));
        } else {
            area = (area + w * (level - low)) - 0.5 * std::fabs(e2 - e1) * w;
        }
    }
    return area;
}

// Independent formula: integrate the depth below the level over each segment, clipping the
// segment where it crosses the water surface.
double clippedArea(const Points& points, double level) {
    double area = 0;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        auto [x1, z1] = points[i];
        auto [x2, z2] = points[i + 1];
        const double d1 = level - z1;
        const double d2 = level - z2;
        const double width = std::fabs(x2 - x1);
        if (d1 >= 0 && d2 >= 0) {
            area += width * (d1 + d2) / 2;
        } else if (d1 > 0 || d2 > 0) {
            const double wet = std::max(d1, d2);
            area += width * wet / (wet - std::min(d1, d2)) * wet / 2;
        }
    }
    return area;
}

Points randomSection(std::mt19937& random, std::size_t n) {
    std::uniform_real_distribution<double> step(0.0, 3.0);
    std::uniform_real_distribution<double> height(-5.0, 20.0);
    Points points;
    double x = -10;
    for (std::size_t i = 0; i < n; ++i) {
        x += random() % 7 == 0 ? 0.0 : step(random); // some vertical walls
        points.emplace_back(x, height(random));
    }
    return points;
}

TEST(WettedAreaOracles, RandomSectionsAgreeWithTheClippedFormulaAndTheWalkBitForBit) {
    std::mt19937 random(2024);
    std::uniform_real_distribution<double> levels(-6.0, 22.0);
    for (int trial = 0; trial < 300; ++trial) {
        const Points points = randomSection(random, 1 + random() % 60);
        PointTable table = loaded(points);
        std::vector<double> stageList;
        for (int k = 0; k < 13; ++k)
            stageList.push_back(levels(random));
        std::vector<double> batch(stageList.size());
        wettedAreas(table.stations(), table.elevations(), stageList, 0.0, batch);
        for (std::size_t k = 0; k < stageList.size(); ++k) {
            const double level = stageList[k];
            const double area = wettedAreaOfTable(table, level, 0.0);
            EXPECT_NEAR(area, clippedArea(points, level), 1e-9 * std::max(1.0, area));
            EXPECT_GE(area, 0.0);
            EXPECT_EQ(area, walkedArea(table, level, 0.0));
            EXPECT_EQ(area, batch[k]);
        }
    }
}

TEST(WettedAreaOracles, ManyLevelsInOnePassMatchSingleLevels) {
    std::mt19937 random(5);
    const Points points = randomSection(random, 500);
    PointTable table = loaded(points);
    // Consecutive stages as the rating produces them, plus a band wider than one pass.
    std::vector<double> stageList;
    for (double stage = -6; stage <= 22; stage += 0.07)
        stageList.push_back(stage);
    std::vector<double> areas(stageList.size());
    wettedAreas(table.stations(), table.elevations(), stageList, -1.5, areas);
    for (std::size_t k = 0; k < stageList.size(); ++k) {
        EXPECT_EQ(areas[k], wettedArea(table.stations(), table.elevations(), stageList[k], -1.5))
            << stageList[k];
    }
}

// Intermediate products are doubles. This section's exact area at 19.35 is the decimal tie
// 1.9 x 10.935 + 36.6 x 11.835 + 18.1 x 9.77 = 630.7745; with double products it comes out just
// below (stored 630.774), with extended products just above (stored 630.775).
TEST(WettedAreaPrecision, DoubleIntermediatesPinnedOnADecimalTie) {
    const Points points = {{31.1, 11.1}, {33, 5.73}, {69.6, 9.3}, {87.7, 9.86}};
    PointTable table = loaded(points);
    const double level = 19.35;
    const double area = wettedAreaOfTable(table, level, 0.0);
    EXPECT_EQ(area, 630.77449999999999);
    EXPECT_EQ(roundScaled(area, 1000), 630.774);

    double extended = 0.0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const auto& [s1, z1] = points[i];
        const auto& [s2, z2] = points[std::min(i + 1, points.size() - 1)];
        const long double w = std::fabs(static_cast<long double>(s2) - s1);
        const long double low = std::min<long double>(z1, z2);
        extended = static_cast<double>((extended + w * (level - low)) -
                                       0.5L * std::fabs(static_cast<long double>(z2) - z1) * w);
    }
    EXPECT_EQ(roundScaled(extended, 1000), 630.775);
}

} // namespace
} // namespace korvadel
