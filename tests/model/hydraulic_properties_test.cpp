// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Error.h"
#include "model/HydraulicProperties.h"
#include "model/ManningFlow.h"
#include "model/SubsectionConveyance.h"
#include "model/WettedArea.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace korvadel {
namespace {

using Points = std::vector<std::pair<double, double>>;

struct Columns {
    std::vector<double> stations;
    std::vector<double> elevations;
};

Columns columns(const Points& points) {
    Columns c;
    for (const auto& [station, elevation] : points) {
        c.stations.push_back(station);
        c.elevations.push_back(elevation);
    }
    return c;
}

void expectClose(double actual, double expected, double relative, const std::string& what) {
    EXPECT_NEAR(actual, expected, relative * std::max(1.0, std::fabs(expected))) << what;
}

void expectSame(const HydraulicProperties& a, const HydraulicProperties& b, double relative,
                const std::string& what) {
    expectClose(a.area, b.area, relative, what + " area");
    expectClose(a.topWidth, b.topWidth, relative, what + " top width");
    expectClose(a.wettedPerimeter, b.wettedPerimeter, relative, what + " perimeter");
    expectClose(a.hydraulicRadius, b.hydraulicRadius, relative, what + " radius");
    expectClose(a.meanDepth, b.meanDepth, relative, what + " mean depth");
    expectClose(a.maxDepth, b.maxDepth, relative, what + " max depth");
}

constexpr auto Whole = WaterExtent::WholeSection;
constexpr auto Connected = WaterExtent::ConnectedToLowest;

// Sections worked by hand. The bank-hollow section is a channel (lowest point at station 4)
// with a hollow at station 10 behind a bank top of 6: at level 4 the hollow holds 2 of the
// 34/3 (width 2 of 20/3, perimeter 2 sqrt 5); from level 6 on it joins the channel.
TEST(HydraulicPropertiesByHand, WorkedSections) {
    const Points trapezoid = {{0, 10}, {2, 0}, {8, 0}, {10, 10}};
    const Points hollow = {{0, 8}, {4, 0}, {8, 6}, {10, 2}, {12, 6}, {14, 8}};
    const Points wShape = {{0, 4}, {2, 0}, {4, 2}, {6, 0}, {8, 4}};
    const double side = std::sqrt(104.0); // one trapezoid side, 2 across and 10 up
    struct Case {
        const char* name;
        Points points;
        double level;
        double shift;
        WaterExtent extent;
        double area, width, perimeter, maxDepth;
    };
    const Case cases[] = {
        {"trapezoid", trapezoid, 5, 0, Whole, 35, 8, 6 + side, 5},
        {"trapezoid above its banks: walls wet, add no width", trapezoid, 12, 0, Whole, 100, 10,
         6 + 2 * side + 4, 12},
        {"level at the flat bed: no water", trapezoid, 0, 0, Whole, 0, 0, 0, 0},
        {"level below the bed", trapezoid, -1, 0, Connected, 0, 0, 0, 0},
        {"vee with both ends exactly at the level",
         {{0, 10}, {5, 0}, {10, 10}},
         10,
         0,
         Whole,
         50,
         10,
         2 * std::sqrt(125.0),
         10},
        {"rectangle of vertical walls",
         {{0, 10}, {0, 0}, {4, 0}, {4, 10}},
         3,
         0,
         Whole,
         12,
         4,
         10,
         3},
        {"flat bed held by the end walls", {{0, 2}, {10, 2}}, 5, 0, Whole, 30, 10, 16, 3},
        {"steps at equal stations: height in perimeter, not width",
         {{0, 5}, {0, 0}, {3, 0}, {3, 2}, {6, 2}, {6, 5}},
         4,
         0,
         Whole,
         18,
         6,
         14,
         4},
        {"single point between two walls", {{3, 1}}, 4, 0, Whole, 0, 0, 6, 3},
        {"no points", {}, 4, 0, Whole, 0, 0, 0, 0},
        {"bank hollow counted", hollow, 4, 0, Whole, 34.0 / 3, 20.0 / 3,
         std::sqrt(20.0) + 2 * std::sqrt(52.0) / 3 + 2 * std::sqrt(5.0), 4},
        {"bank hollow left out", hollow, 4, 0, Connected, 28.0 / 3, 14.0 / 3,
         std::sqrt(20.0) + 2 * std::sqrt(52.0) / 3, 4},
        {"point exactly at the level closes the region", wShape, 2, 0, Connected, 3, 3,
         std::sqrt(5.0) + 2 * std::sqrt(2.0), 2},
        {"the same point bounds the whole section's water", wShape, 2, 0, Whole, 6, 6,
         2 * std::sqrt(5.0) + 4 * std::sqrt(2.0), 2},
        {"connected region reaching a low end takes its wall",
         {{0, 1}, {2, 0}, {4, 5}},
         3,
         0,
         Connected,
         5 + 0.5 * 1.2 * 3,
         2 + 1.2,
         std::sqrt(5.0) + 0.6 * std::sqrt(29.0) + 2,
         3},
    };
    for (const Case& c : cases) {
        const Columns section = columns(c.points);
        HydraulicProperties expected{c.area, c.width, c.perimeter, 0, 0, c.maxDepth};
        expected.hydraulicRadius = c.perimeter > 0 ? c.area / c.perimeter : 0;
        expected.meanDepth = c.width > 0 ? c.area / c.width : 0;
        const HydraulicProperties one =
            hydraulicProperties(section.stations, section.elevations, c.level, c.shift, c.extent);
        expectSame(one, expected, 1e-13, std::string(c.name) + ", one level:");
        // In a run, below and above other levels, out of order.
        const std::vector<double> levels = {c.level + 1, c.level, c.level - 0.5};
        const auto run =
            hydraulicProperties(section.stations, section.elevations, levels, c.shift, c.extent);
        ASSERT_EQ(run.size(), levels.size());
        expectSame(run[1], expected, 1e-13, std::string(c.name) + ", in a run:");
    }
}

TEST(HydraulicPropertiesByHand, HollowJoinsTheChannelOnceTheBankIsOvertopped) {
    const Columns section = columns({{0, 8}, {4, 0}, {8, 6}, {10, 2}, {12, 6}, {14, 8}});
    const std::vector<double> levels = {4, 6, 7};
    const auto connected = hydraulicProperties(section.stations, section.elevations, levels, 0,
                                               WaterExtent::ConnectedToLowest);
    const auto whole = hydraulicProperties(section.stations, section.elevations, levels, 0,
                                           WaterExtent::WholeSection);
    EXPECT_LT(connected[0].area, whole[0].area);
    // At 6 the bank top itself closes the region (a point at the level); above it, all one.
    EXPECT_NEAR(connected[1].area, 0.5 * 3 * 6 + 0.5 * 4 * 6, 1e-12);
    EXPECT_EQ(connected[2].area, whole[2].area); // the rating's own bits
    EXPECT_EQ(connected[2].area, 40.75);
    expectSame(connected[2], whole[2], 1e-13, "overtopped");
}

std::vector<double> randomLevels(std::mt19937& random, std::size_t count) {
    std::uniform_real_distribution<double> level(-6.0, 24.0);
    std::vector<double> levels;
    for (std::size_t k = 0; k < count; ++k)
        levels.push_back(random() % 5 == 0 ? std::round(level(random)) : level(random));
    return levels;
}

// Random sections with vertical steps, repeated points, flat stretches and points exactly at
// the levels (whole-number elevations and levels): the one-pass run against the level-by-level
// walk, and the whole section's area against the rating's kernel to the bit.
TEST(HydraulicPropertiesOracle, RunAgreesWithOneLevelWalksOnRandomSections) {
    std::mt19937 random(1415);
    std::uniform_real_distribution<double> step(0.0, 3.0);
    std::uniform_real_distribution<double> height(-5.0, 20.0);
    for (int trial = 0; trial < 400; ++trial) {
        Columns section;
        double x = -10;
        const std::size_t n = 1 + random() % 80;
        for (std::size_t i = 0; i < n; ++i) {
            x += random() % 6 == 0 ? 0.0 : step(random);
            const double e = random() % 3 == 0 ? std::round(height(random)) : height(random);
            section.stations.push_back(x);
            section.elevations.push_back(e);
            if (random() % 15 == 0) { // a repeated point
                section.stations.push_back(x);
                section.elevations.push_back(e);
            }
        }
        std::vector<double> levels = randomLevels(random, 40);
        if (trial % 2 == 0)
            std::sort(levels.begin(), levels.end());
        const double shift = trial % 3 == 0 ? -1.5 : 0.0;
        std::vector<double> kernel(levels.size());
        wettedAreas(section.stations, section.elevations, levels, shift, kernel);
        std::vector<double> connectedKernel(levels.size());
        connectedWettedAreas(section.stations, section.elevations, levels, shift, connectedKernel);
        for (const WaterExtent extent :
             {WaterExtent::WholeSection, WaterExtent::ConnectedToLowest}) {
            const auto run =
                hydraulicProperties(section.stations, section.elevations, levels, shift, extent);
            for (std::size_t k = 0; k < levels.size(); ++k) {
                const auto one = hydraulicProperties(section.stations, section.elevations,
                                                     levels[k], shift, extent);
                const std::string what =
                    "trial " + std::to_string(trial) + " level " + std::to_string(levels[k]);
                expectSame(run[k], one, 1e-9, what);
                EXPECT_GE(run[k].topWidth, 0.0) << what;
                if (extent == WaterExtent::WholeSection) {
                    EXPECT_EQ(run[k].area, kernel[k]) << what;
                    EXPECT_EQ(one.area, kernel[k]) << what;
                } else {
                    EXPECT_LE(run[k].area, kernel[k] * (1 + 1e-12) + 1e-12) << what;
                    EXPECT_EQ(connectedKernel[k], one.area) << what;
                }
            }
        }
    }
}

// A long, finely surveyed section with nearly flat stretches (slopes many orders above the
// rest) swept through thousands of rising stages: the compensated slopes keep the run within
// 1e-9 of the one-level walk all the way up.
TEST(HydraulicPropertiesOracle, NoDriftOverALongRun) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> rough(-0.05, 0.05);
    Columns section;
    auto valley = [](double x) { return 10 * std::fabs(x / 500 - 1); };
    for (int i = 0; i <= 20000; ++i) {
        const double x = i * 0.05;
        // Every seventh stretch of 50 points is a plateau rising by 1e-13 per point.
        const bool plateau = (i / 50) % 7 == 0;
        section.stations.push_back(x);
        section.elevations.push_back(plateau ? valley((i / 50) * 2.5) + 1e-13 * (i % 50)
                                             : valley(x) + rough(random));
    }
    std::vector<double> levels;
    for (double stage = -0.1; stage <= 10.2; stage += 0.01)
        levels.push_back(stage);
    for (const WaterExtent extent : {WaterExtent::WholeSection, WaterExtent::ConnectedToLowest}) {
        const auto run =
            hydraulicProperties(section.stations, section.elevations, levels, 0.0, extent);
        for (std::size_t k = 0; k < levels.size(); k += 37) {
            expectSame(
                run[k],
                hydraulicProperties(section.stations, section.elevations, levels[k], 0.0, extent),
                1e-9, "stage " + std::to_string(levels[k]));
        }
    }
}

TEST(HydraulicPropertiesLevels, NonFiniteLevelsHoldNoWater) {
    const Columns section = columns({{0, 10}, {5, 0}, {10, 10}});
    const std::vector<double> levels = {std::numeric_limits<double>::quiet_NaN(), 5,
                                        std::numeric_limits<double>::infinity()};
    const auto run = hydraulicProperties(section.stations, section.elevations, levels, 0.0,
                                         WaterExtent::WholeSection);
    EXPECT_EQ(run[0].area, 0.0);
    EXPECT_EQ(run[0].wettedPerimeter, 0.0);
    EXPECT_EQ(run[1].area, 12.5);
    EXPECT_EQ(run[2].wettedPerimeter, 0.0);
}

// Manning's formula on a trapezoidal channel worked by hand: bottom width b = 6 m, side slopes
// z = 2 (horizontal to vertical), depth y = 1.5 m, n = 0.015, S = 0.0016.
//   A = (b + z y) y = 9 x 1.5 = 13.5 m2
//   P = b + 2 y sqrt(1 + z^2) = 6 + 3 sqrt(5) = 12.7082 m
//   R = A / P = 1.06231 m, R^(2/3) = 1.04112
//   K = (1 / 0.015) x 13.5 x 1.04112 = 937.006 m3/s
//   Q = K sqrt(S) = 937.006 x 0.04 = 37.480 m3/s
TEST(ManningFlowByHand, TrapezoidalChannel) {
    // Banks 3 m high on both sides, bed from 0 to 6.
    const Columns section = columns({{-6, 3}, {0, 0}, {6, 0}, {12, 3}});
    const auto p = hydraulicProperties(section.stations, section.elevations, 1.5, 0.0,
                                       WaterExtent::WholeSection);
    EXPECT_DOUBLE_EQ(p.area, 13.5);
    EXPECT_NEAR(p.wettedPerimeter, 12.7082, 1e-4);
    const ManningFlow si = manningFlow(p, {0.015, 0.0016, UnitSystem::SI});
    EXPECT_NEAR(si.conveyance, 937.006, 1e-3);
    EXPECT_NEAR(si.discharge, 37.480, 1e-3);
    const double exact =
        13.5 * std::pow(13.5 / (6 + 3 * std::sqrt(5.0)), 2.0 / 3) / 0.015 * std::sqrt(0.0016);
    EXPECT_NEAR(si.discharge, exact, 1e-12 * exact);
    // The same numbers read as feet: only the constant changes.
    const ManningFlow us = manningFlow(p, {0.015, 0.0016, UnitSystem::USCustomary});
    EXPECT_NEAR(us.discharge, 1.486 * si.discharge, 1e-12 * us.discharge);
}

TEST(ManningFlowLimits, ExtremeInputsNeverGiveInfinityOrNaN) {
    HydraulicProperties p;
    p.area = 1e-5;
    p.hydraulicRadius = 1;
    // k/n alone is beyond the double range, the conveyance is not.
    EXPECT_NEAR(manningFlow(p, {1e-310, 1, UnitSystem::SI}).conveyance, 1e305, 1e291);
    // Far too small for a double: zero, not an error.
    const ManningFlow tiny = manningFlow(p, {1e308, 1e-300, UnitSystem::SI});
    EXPECT_EQ(tiny.discharge, 0.0);
    p.area = 13.5;
    p.hydraulicRadius = 0; // no perimeter, no flow
    EXPECT_EQ(manningFlow(p, {0.015, 0.0016, UnitSystem::SI}).discharge, 0.0);
    p.hydraulicRadius = 1;
    try {
        manningFlow(p, {1e-300, 1e20, UnitSystem::SI});
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Manning's n 1E-300 and the slope 1E20 give a conveyance or "
                                   "discharge too large to be represented.");
    }
}

TEST(ManningFlowLimits, InputsMustBePositiveNumbers) {
    const std::pair<double, const char*> cases[] = {
        {-0.5, "--manning-n must be greater than 0, not -0.5."},
        {std::numeric_limits<double>::quiet_NaN(),
         "--manning-n must be a finite number greater than 0."},
    };
    for (const auto& [value, message] : cases) {
        try {
            checkManningRoughness(value, "--manning-n");
            ADD_FAILURE() << message;
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), message);
        }
    }
    EXPECT_THROW(checkEnergySlope(0.0, "Slope"), Error);
    EXPECT_NO_THROW(checkEnergySlope(1e-300, "Slope"));
}

// The trapezoid (0,10) (2,0) (8,0) (10,10) cut at its bank toes, stations 2 and 8, worked by hand.
// Level 5: each bank is a wet triangle 1 wide and 5 deep, area 2.5 and slope length sqrt(26);
// the bed holds 6 x 5 = 30 and is wet for 6; the dividing lines add no perimeter.
// Level 12, over both bank tops: the walls hold water 2 deep above each end, so a bank takes
// 2 x 12 - 2 x 10 / 2 = 14 and is wet along sqrt(104) and up its wall for 2; the bed 72.
// With n = 0.05, 0.03, 0.05 and S = 0.001 at level 5:
//   K1 = K3 = (1 / 0.05) x 2.5 x (2.5 / 5.09902)^(2/3) = 50 x 0.490290^(2/3)
//           = 50 x 0.621778 = 31.0889
//   K2 = (1 / 0.03) x 30 x (30 / 6)^(2/3) = 1000 x 2.924018 = 2924.018
//   K = 2986.196, Q = K x sqrt(0.001) = 2986.196 x 0.0316228 = 94.4318
// against 1949.92 for the whole section at n = 0.03: A 35, P 6 + 2 sqrt(26) = 16.1980,
// R = 2.16076, R^(2/3) = 1.671362, K = 1166.667 x 1.671362.
TEST(SubsectionConveyanceByHand, TrapezoidCutAtItsBankToes) {
    const Columns section = columns({{0, 10}, {2, 0}, {8, 0}, {10, 10}});
    const Subsections cut{{2, 8}, {0.05, 0.03, 0.05}};
    struct Case {
        double level;
        std::vector<double> boundaries;
        std::vector<SubsectionGeometry> expected;
    };
    const double bank = std::sqrt(26.0);
    const Case cases[] = {
        {5, {2, 8}, {{2.5, bank}, {30, 6}, {2.5, bank}}},
        {12, {2, 8}, {{14, std::sqrt(104.0) + 2}, {72, 6}, {14, std::sqrt(104.0) + 2}}},
        // Cut where the banks meet the water: the triangles move to the middle subsection.
        {5, {1, 9}, {{0, 0}, {35, 6 + 2 * bank}, {0, 0}}},
        // A boundary left of the section leaves an empty first subsection, one on the last
        // point keeps the right wall with the water beside it.
        {12, {-1, 10}, {{0, 0}, {100, 2 * std::sqrt(104.0) + 10}, {0, 0}}},
        {0, {2, 8}, {{0, 0}, {0, 0}, {0, 0}}},
    };
    for (const Case& c : cases) {
        std::vector<SubsectionGeometry> out(c.boundaries.size() + 1);
        subsectionGeometry(section.stations, section.elevations, c.level, 0.0, Whole, c.boundaries,
                           out);
        for (std::size_t i = 0; i < out.size(); ++i) {
            const std::string what =
                "level " + std::to_string(c.level) + " subsection " + std::to_string(i);
            expectClose(out[i].area, c.expected[i].area, 1e-14, what);
            expectClose(out[i].wettedPerimeter, c.expected[i].wettedPerimeter, 1e-14, what);
        }
    }

    std::vector<SubsectionGeometry> atFive(3);
    subsectionGeometry(section.stations, section.elevations, 5, 0.0, Whole, cut.boundaries, atFive);
    const SubsectionFlow flow = subsectionFlow(atFive, cut, 0.001, UnitSystem::SI);
    ASSERT_EQ(flow.conveyances.size(), 3u);
    EXPECT_NEAR(flow.conveyances[0], 31.0889, 1e-4);
    EXPECT_NEAR(flow.conveyances[1], 2924.018, 1e-3);
    EXPECT_EQ(flow.conveyances[2], flow.conveyances[0]);
    EXPECT_NEAR(flow.total.conveyance, 2986.196, 1e-3);
    EXPECT_NEAR(flow.total.discharge, 94.4318, 1e-4);
    const double whole =
        manningFlow(hydraulicProperties(section.stations, section.elevations, 5, 0.0, Whole),
                    {0.03, 0.001, UnitSystem::SI})
            .conveyance;
    EXPECT_NEAR(whole, 1949.92, 0.01);
}

// On random sections cut at random stations (on points, between them, beyond the ends) the
// subsections share out the section's water: their areas add up to the rating's area and their
// perimeters to the section's, for the whole section and for the connected water alone.
TEST(SubsectionConveyanceOracle, SubsectionsAddUpToTheSection) {
    std::mt19937 random(2718);
    std::uniform_real_distribution<double> step(0.0, 3.0);
    std::uniform_real_distribution<double> height(-5.0, 20.0);
    for (int trial = 0; trial < 300; ++trial) {
        Columns section;
        double x = -10;
        const std::size_t n = 2 + random() % 60;
        for (std::size_t i = 0; i < n; ++i) {
            x += random() % 6 == 0 ? 0.0 : step(random);
            section.stations.push_back(x);
            section.elevations.push_back(height(random));
        }
        std::vector<double> boundaries;
        std::uniform_real_distribution<double> across(-12.0, x + 2.0);
        for (std::size_t k = random() % 5; k > 0; --k)
            boundaries.push_back(random() % 3 == 0 ? section.stations[random() % n]
                                                   : across(random));
        std::sort(boundaries.begin(), boundaries.end()); // equal ones leave empty subsections
        std::vector<SubsectionGeometry> parts(boundaries.size() + 1);
        for (const double level : randomLevels(random, 10)) {
            for (const WaterExtent extent : {Whole, Connected}) {
                subsectionGeometry(section.stations, section.elevations, level, -1.0, extent,
                                   boundaries, parts);
                const HydraulicProperties p =
                    hydraulicProperties(section.stations, section.elevations, level, -1.0, extent);
                double area = 0.0;
                double perimeter = 0.0;
                for (const SubsectionGeometry& part : parts) {
                    EXPECT_GE(part.area, -1e-9);
                    area += part.area;
                    perimeter += part.wettedPerimeter;
                }
                const std::string what =
                    "trial " + std::to_string(trial) + " level " + std::to_string(level);
                expectClose(area, p.area, 1e-9, what + " area");
                expectClose(perimeter, p.wettedPerimeter, 1e-9, what + " perimeter");
            }
        }
    }
}

TEST(SubsectionConveyanceLimits, InputsAreCheckedAndNamed) {
    const std::pair<Subsections, const char*> cases[] = {
        {{{5, 3}, {0.03, 0.04, 0.05}}, "--subdivide must rise from left to right: 3 follows 5."},
        {{{5}, {0.03, 0.04, 0.05}}, "--manning-n needs 2 values, one for each subsection, not 3."},
        {{{5}, {0.03, 0}}, "--manning-n must be greater than 0, not 0."},
        {{{std::numeric_limits<double>::infinity()}, {0.03, 0.04}},
         "--subdivide must be finite numbers."},
    };
    for (const auto& [subsections, message] : cases) {
        try {
            checkSubsections(subsections, "--subdivide", "--manning-n");
            ADD_FAILURE() << message;
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), message);
        }
    }
    // Each K_i = A_i / n_i here (R_i = 1): beyond the double range in Q, or below it in K_1.
    const std::vector<SubsectionGeometry> geometry{{1e-20, 1e-20}, {1e-20, 1e-20}};
    EXPECT_THROW(subsectionFlow(geometry, {{1}, {1e-300, 1e-300}}, 1e300, UnitSystem::SI), Error);
    const SubsectionFlow tiny = subsectionFlow(geometry, {{1}, {1e308, 1}}, 1, UnitSystem::SI);
    EXPECT_EQ(tiny.conveyances[0], 0.0);
    EXPECT_EQ(tiny.total.conveyance, 1e-20);
}

} // namespace
} // namespace korvadel
