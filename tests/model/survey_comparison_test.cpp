// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Error.h"
#include "model/SurveyComparison.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace korvadel {
namespace {

struct Section {
    std::vector<double> stations;
    std::vector<double> elevations;
};

SurveyComparison compare(const Section& older, const Section& newer,
                         const std::vector<double>& stages, double shift, double threshold) {
    return compareSurveys({older.stations, older.elevations, newer.stations, newer.elevations},
                          stages, shift, threshold);
}

// Rectangles 10 and 12 wide: at gage height h the areas are 10h and 12h, 20 % apart.
TEST(SurveyComparison, RectanglesOfTwoWidths) {
    const Section narrow{{0, 0, 10, 10}, {10, 0, 0, 10}};
    const Section wide{{0, 0, 12, 12}, {110, 100, 100, 110}};
    const Section narrowRaised{{0, 0, 10, 10}, {110, 100, 100, 110}};
    // Both under a datum of 100 (shift -100); the stages as the rating loop accumulates them,
    // plus 0.125, whose stored stage is 0.12 (half to even).
    std::vector<double> stages;
    for (double stage = 0; stage <= 2; stage += 0.5)
        stages.push_back(stage);
    stages.push_back(0.125);
    const auto result = compare(narrowRaised, wide, stages, -100, 5);
    ASSERT_EQ(result.rows.size(), 6u);
    const double expectedStage[] = {0, 0.5, 1, 1.5, 2, 0.12};
    for (std::size_t k = 0; k < result.rows.size(); ++k) {
        const ComparisonRow& row = result.rows[k];
        const double h = stages[k];
        EXPECT_EQ(row.stage, expectedStage[k]);
        EXPECT_NEAR(row.areaOld, 10 * h, 1e-12);
        EXPECT_NEAR(row.areaNew, 12 * h, 1e-12);
        EXPECT_NEAR(row.difference, 2 * h, 1e-12);
        if (h == 0) {
            EXPECT_FALSE(row.percent.has_value()); // nothing to compare with, nothing new
            EXPECT_FALSE(row.beyondThreshold);
        } else {
            ASSERT_TRUE(row.percent.has_value());
            EXPECT_NEAR(*row.percent, 20, 1e-9);
            EXPECT_TRUE(row.beyondThreshold);
        }
    }
    EXPECT_EQ(result.summary.beyondThreshold, 5u);
    EXPECT_NEAR(*result.summary.largestPercent, 20, 1e-9);
    EXPECT_EQ(result.summary.largestPercentStage, 0.5);
    // Raised threshold; and the new survey read the other way round gives -100/6 %.
    EXPECT_EQ(compare(narrowRaised, wide, stages, -100, 20.5).summary.beyondThreshold, 0u);
    const auto reversed = compare(wide, narrowRaised, stages, -100, 5);
    EXPECT_NEAR(*reversed.summary.largestPercent, -100.0 / 6, 1e-9);
    // Without the datum's shift the same survey stands 100 lower: a rectangle 101 deep at 1.
    EXPECT_EQ(compare(narrow, wide, stages, -100, 5).rows[2].areaOld, 1010);
}

// A trapezoid (bed 6 wide, sides 2 across per 10 up) against the same channel with a slot 6
// wide and 1 deep cut into its bed: old 6h + 0.2h^2, new 6 more for every h >= 0.
TEST(SurveyComparison, DeepenedTrapezoid) {
    const Section old{{0, 2, 8, 10}, {10, 0, 0, 10}};
    const Section deepened{{0, 2, 2, 8, 8, 10}, {10, 0, -1, -1, 0, 10}};
    const std::vector<double> stages = {-2, 0, 1, 2, 3};
    const auto result = compare(old, deepened, stages, 0, 40);
    struct Row {
        double old, now;
        std::optional<double> percent;
        bool beyond;
    };
    const Row expected[] = {
        {0, 0, std::nullopt, false},         // below both beds
        {0, 6, std::nullopt, true},          // no old water, new water: beyond
        {6.2, 12.2, 6 / 6.2 * 100, true},    // 96.8 %
        {12.8, 18.8, 6 / 12.8 * 100, true},  // 46.9 %
        {19.8, 25.8, 6 / 19.8 * 100, false}, // 30.3 %
    };
    ASSERT_EQ(result.rows.size(), std::size(expected));
    for (std::size_t k = 0; k < std::size(expected); ++k) {
        const ComparisonRow& row = result.rows[k];
        EXPECT_EQ(row.areaOld, expected[k].old) << k;
        EXPECT_EQ(row.areaNew, expected[k].now) << k;
        EXPECT_EQ(row.difference, k == 0 ? 0 : 6) << k; // whole thousandths, no remainder
        EXPECT_EQ(row.percent.has_value(), expected[k].percent.has_value()) << k;
        if (row.percent && expected[k].percent) {
            EXPECT_DOUBLE_EQ(*row.percent, *expected[k].percent) << k;
        }
        EXPECT_EQ(row.beyondThreshold, expected[k].beyond) << k;
    }
    EXPECT_EQ(result.summary.beyondThreshold, 3u);
    EXPECT_EQ(result.summary.largestPercentStage, 1);
}

// A long run is compared in parts; their summaries added up must be the whole run's. Every
// stage with water differs by exactly 20 %, so the largest is a tie that must go to the first
// such stage (6, the second of the run) whichever part holds the others.
TEST(SurveyComparison, PartsAddUpToTheWholeRun) {
    const Section narrow{{0, 0, 10, 10}, {10, 0, 0, 10}};
    const Section wider{{0, 0, 12, 12}, {10, 0, 0, 10}};
    std::vector<double> stages;
    for (int k = 0; k < 40; ++k)
        stages.push_back((k * 7) % 11 - 1.0);
    const SurveyComparison whole = compare(narrow, wider, stages, 0, 19.9);
    ASSERT_TRUE(whole.summary.largestPercent.has_value());
    for (const std::size_t partSize : {1u, 3u, 16u, 39u}) {
        ComparisonSummary summary;
        for (std::size_t first = 0; first < stages.size(); first += partSize) {
            const std::size_t count = std::min(partSize, stages.size() - first);
            const std::vector<double> part(stages.begin() + first, stages.begin() + first + count);
            summary.add(compare(narrow, wider, part, 0, 19.9).summary);
        }
        EXPECT_EQ(summary.stages, stages.size()) << partSize;
        EXPECT_EQ(summary.beyondThreshold, whole.summary.beyondThreshold) << partSize;
        EXPECT_EQ(summary.largestPercent, whole.summary.largestPercent) << partSize;
        EXPECT_EQ(summary.largestPercentStage, whole.summary.largestPercentStage) << partSize;
    }
    EXPECT_EQ(whole.summary.largestPercent, 20);
    EXPECT_EQ(whole.summary.largestPercentStage, 6);
}

// Flat beds between walls, at stage 1 as wide as their area. The percent is that of the areas as
// the rating shows them, and only a percent above the threshold (5) is beyond it.
TEST(SurveyComparison, PercentOfTheAreasAsShown) {
    struct Case {
        const char* name;
        double oldWidth, newWidth, percent;
        bool beyond;
    };
    const Case cases[] = {
        {"5.3 % unrounded, 0.1 to 0.105 shown", 0.0996, 0.1049, 5, false},
        {"exactly 5 %, in thousandths without a remainder", 0.7, 0.735, 5, false},
        {"exactly -5 %", 0.7, 0.665, -5, false},
        {"just beyond", 0.7, 0.736, 3.6 / 0.7, true},
    };
    for (const Case& c : cases) {
        const auto result =
            compare({{0, c.oldWidth}, {0, 0}}, {{0, c.newWidth}, {0, 0}}, {1}, 0, 5);
        ASSERT_TRUE(result.rows[0].percent.has_value()) << c.name;
        EXPECT_DOUBLE_EQ(*result.rows[0].percent, c.percent) << c.name;
        EXPECT_EQ(result.rows[0].beyondThreshold, c.beyond) << c.name;
    }
}

TEST(SurveyComparison, NoOldWaterAnywhereGivesNoLargestPercent) {
    const Section flat{{0, 10}, {5, 5}};
    const auto dry = compare(flat, flat, {1, 2}, 0, 5);
    EXPECT_FALSE(dry.summary.largestPercent.has_value());
    EXPECT_EQ(dry.summary.beyondThreshold, 0u);
}

TEST(SurveyComparison, ThresholdMustBeAFiniteNonNegativePercentage) {
    EXPECT_NO_THROW(checkComparisonThreshold(0, "--threshold"));
    try {
        checkComparisonThreshold(-1, "--threshold");
        ADD_FAILURE() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "--threshold must be 0 or more, not -1.");
    }
    EXPECT_THROW(checkComparisonThreshold(NAN, "--threshold"), Error);
}

} // namespace
} // namespace korvadel
