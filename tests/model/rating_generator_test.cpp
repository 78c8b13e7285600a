// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Error.h"
#include "model/HydraulicProperties.h"
#include "model/Numbers.h"
#include "model/PointTable.h"
#include "model/RatingGenerator.h"
#include "model/RatingStages.h"
#include "model/RatingTable.h"
#include "model/WettedArea.h"
#include "tests/support/ErrorMessage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace korvadel {
namespace {

using Points = std::vector<std::pair<double, double>>;

// Records every call in order, with the view suspension counts seen at the end.
struct Recorder : RatingObserver {
    PointTable* points = nullptr;
    RatingTable* rating = nullptr;
    std::vector<std::string> calls;
    int warnings = 0;
    int suspendedAtFinish = -1;

    void progressRange(std::int32_t minimum, std::int32_t maximum) override {
        calls.push_back("range " + std::to_string(minimum) + " " + std::to_string(maximum));
    }
    void progressPosition(std::int32_t position) override {
        calls.push_back("pos " + std::to_string(position));
    }
    void hideBoundsPrompt() override { calls.push_back("hide"); }
    void edgeWarning() override {
        ++warnings;
        calls.push_back("warning");
    }
    void beforeFirstStage() override { calls.push_back("before"); }
    void finished() override {
        calls.push_back("finished");
        suspendedAtFinish = points->suspendCount() + rating->suspendCount();
    }
    void failed() override { calls.push_back("failed"); }
};

struct RatingRun {
    PointTable points;
    RatingTable rating;
    Recorder observer;
    std::vector<std::pair<double, double>> rows; // (stage, area)

    explicit RatingRun(const Points& section = {}) {
        for (const auto& [s, e] : section)
            points.appendRow(s, e);
        observer.points = &points;
        observer.rating = &rating;
    }
    void generate(RatingMode mode, const char* minimum, const char* maximum, double increment,
                  const char* datum = "0.00", NumberFormat format = {}, unsigned threads = 0) {
        generateRating(mode, {minimum, maximum, increment, datum}, points, rating, observer, format,
                       threads);
        rows.clear();
        for (std::size_t i = 0; i < rating.rowCount(); ++i)
            rows.emplace_back(rating.stageAt(i), rating.areaAt(i));
    }
    std::string fail(RatingMode mode, const char* minimum, const char* maximum, double increment,
                     const char* datum = "0.00") {
        return messageOf([&] { generate(mode, minimum, maximum, increment, datum); });
    }
};

const Points kTrapezoid = {{0, 10}, {2, 0}, {8, 0}, {10, 10}};

TEST(RatingStages, AccumulatedByRepeatedAddition) {
    struct Case {
        const char* minimum;
        const char* maximum;
        double increment;
        std::size_t rows;
        const char* firstStage;
        const char* lastStage;
        std::int32_t stepCount;
    };
    const Case cases[] = {
        {"0", "1", 0.01, 100, "0", "0.99", 99}, // the sum after 100 additions overshoots 1
        {"0", "1", 0.1, 11, "0", "1", 9},       // 1 / 0.1 is 9.99999999999999944 in extended
        {"0", "1", 0.05, 20, "0", "0.95", 19},  {"2", "2", 0.5, 1, "2", "2", 0},
        {"1", "0", 0.01, 0, "", "", -99},       {"-1.5", "-1", 0.25, 3, "-1.5", "-1", 2},
    };
    for (const Case& c : cases) {
        for (RatingMode mode : {RatingMode::Main, RatingMode::BoundsPrompt}) {
            RatingRun run;
            run.generate(mode, c.minimum, c.maximum, c.increment);
            ASSERT_EQ(run.rows.size(), c.rows) << c.minimum << ".." << c.maximum;
            ASSERT_EQ(run.observer.calls.at(0), "range 0 " + std::to_string(c.stepCount));
            if (c.rows == 0)
                continue;
            EXPECT_EQ(formatGeneral(run.rows.front().first), c.firstStage);
            if (mode == RatingMode::Main) {
                EXPECT_EQ(formatGeneral(run.rows.back().first), c.lastStage);
            }
            EXPECT_EQ(run.rating.currentIndex(), 0);
        }
    }
}

// The stage list every table over a rating follows is the rating's own, whether taken at once
// or block by block, across the rating's own blocks of 65,536 too.
TEST(RatingStages, TheListIsTheRatingsStagesToTheBit) {
    struct Case {
        const char* minimum;
        const char* maximum;
        double increment;
        std::size_t stages;
    };
    const Case cases[] = {{"0", "1", 0.01, 100},
                          {"0", "1", 0.1, 11},
                          {"1", "0", 0.01, 0},
                          {"2", "2", 0.5, 1},
                          {"-3", "700", 0.01, 70301}};
    for (const Case& c : cases) {
        const RatingBounds bounds{c.minimum, c.maximum, c.increment, "0.5"};
        const RatingStages stages(bounds);
        const std::vector<double> all = stages.all();
        EXPECT_EQ(all.size(), c.stages) << c.maximum;
        EXPECT_EQ(stages.elevationShift(), -0.5);

        RatingRun run({{0, 1}, {1, 0}});
        run.generate(RatingMode::BoundsPrompt, c.minimum, c.maximum, c.increment, "0.5");
        std::vector<double> rated;
        for (const auto& row : run.rows)
            rated.push_back(row.first);
        EXPECT_TRUE(rated == all) << c.maximum;

        RatingStages blocks(bounds);
        std::vector<double> joined;
        std::vector<double> block(7);
        while (const std::size_t count = blocks.next(block))
            joined.insert(joined.end(), block.begin(), block.begin() + count);
        EXPECT_TRUE(blocks.finished());
        EXPECT_TRUE(joined == all) << c.maximum;
    }
}

TEST(RatingStages, MainRoundsTheStoredRowsBoundsPromptKeepsThem) {
    RatingRun main({{0, 0}, {1, 0}});
    main.generate(RatingMode::Main, "0.125", "0.125", 0.01);
    EXPECT_EQ(main.rows, (std::vector<std::pair<double, double>>{{0.12, 0.125}}));
    main.generate(RatingMode::Main, "2.5625", "2.5625", 0.01);
    EXPECT_EQ(main.rows, (std::vector<std::pair<double, double>>{{2.56, 2.562}}));

    RatingRun prompt({{0, 0}, {1, 0}});
    prompt.generate(RatingMode::BoundsPrompt, "2.5625", "2.5625", 0.01);
    EXPECT_EQ(prompt.rows, (std::vector<std::pair<double, double>>{{2.5625, 2.5625}}));

    // The next stage grows from the unrounded one: 0.125 + 0.25 = 0.375, stored 0.38.
    main.generate(RatingMode::Main, "0.125", "0.4", 0.25);
    ASSERT_EQ(main.rows.size(), 2u);
    EXPECT_EQ(main.rows[1].first, 0.38);
}

TEST(RatingStages, EveryRowIsTheSingleStageAreaAcrossManyPasses) {
    Points section;
    for (int i = 0; i <= 200; ++i)
        section.emplace_back(i * 0.5, std::fabs(std::sin(i * 0.1)) * 3);
    RatingRun run(section);
    run.generate(RatingMode::BoundsPrompt, "-0.5", "3.5", 0.03, "0.25");
    ASSERT_GT(run.rows.size(), 100u);
    double stage = -0.5;
    for (const auto& [stored, area] : run.rows) {
        EXPECT_EQ(stored, stage);
        EXPECT_EQ(area, wettedArea(run.points.stations(), run.points.elevations(), stage, -0.25));
        stage = stage + 0.03;
    }
}

// The rating's columns as bytes, so that 0.0 and -0.0 or two NaNs with different payloads are
// told apart.
std::vector<unsigned char> columnBytes(const RatingTable& rating) {
    std::vector<double> values;
    for (std::size_t i = 0; i < rating.rowCount(); ++i) {
        values.push_back(rating.stageAt(i));
        values.push_back(rating.areaAt(i));
    }
    std::vector<unsigned char> bytes(values.size() * sizeof(double));
    if (!bytes.empty())
        std::memcpy(bytes.data(), values.data(), bytes.size());
    return bytes;
}

TEST(RatingThreads, EveryThreadCountGivesTheOneThreadRowsAndProgress) {
    struct Case {
        std::size_t points;
        std::size_t stages;
    };
    // Single points and empty tables, stage counts around the kernel's 16 lanes, few points
    // (long chunks), many points (one pass of lanes per chunk), and a rating long enough to
    // be generated in several blocks.
    const Case cases[] = {{0, 40},      {1, 17},     {2, 1},     {5, 16},
                          {7, 33},      {37, 1000},  {300, 257}, {1000, 3},
                          {2500, 1200}, {4000, 700}, {3, 66000}, {60, 70001}};
    std::mt19937_64 random(20240611);
    for (const Case& c : cases) {
        // A random bed: stations with repeats (vertical steps), elevations a random walk.
        std::vector<PointTable::LoadRow> rows;
        double station = 0, elevation = 0;
        for (std::size_t i = 0; i < c.points; ++i) {
            station += std::uniform_int_distribution<int>(0, 3)(random) == 0
                           ? 0.0
                           : std::uniform_real_distribution<double>(0.01, 3)(random);
            elevation += std::uniform_real_distribution<double>(-1, 1)(random);
            rows.push_back({station, elevation});
        }
        const double increment = std::uniform_real_distribution<double>(0.01, 0.05)(random);
        const double minimum = std::uniform_real_distribution<double>(-4, 0)(random);
        const std::string low = formatGeneral(minimum);
        // Half an increment short of the last stage, so the accumulated sum cannot overshoot.
        const std::string high =
            formatGeneral(minimum + (static_cast<double>(c.stages) - 0.5) * increment);
        const std::string datum =
            formatGeneral(std::uniform_real_distribution<double>(-1, 1)(random));
        for (RatingMode mode : {RatingMode::Main, RatingMode::BoundsPrompt}) {
            const std::string name = std::to_string(c.points) + " points, " +
                                     std::to_string(c.stages) + " stages, " +
                                     (mode == RatingMode::Main ? "main" : "bounds prompt");
            RatingRun one;
            one.points.bulkLoad(rows);
            one.generate(mode, low.c_str(), high.c_str(), increment, datum.c_str(), {}, 1);
            ASSERT_EQ(one.rating.rowCount(), c.stages) << name;
            std::vector<std::string> positions;
            for (const std::string& call : one.observer.calls) {
                if (call.starts_with("pos "))
                    positions.push_back(call);
            }
            bool ascending = positions.size() == c.stages;
            for (std::size_t i = 0; ascending && i < positions.size(); ++i)
                ascending = positions[i] == "pos " + std::to_string(i + 1);
            EXPECT_TRUE(ascending) << name;
            for (unsigned threads : {2u, 3u, 8u}) {
                RatingRun many;
                many.points.bulkLoad(rows);
                many.generate(mode, low.c_str(), high.c_str(), increment, datum.c_str(), {},
                              threads);
                EXPECT_TRUE(columnBytes(many.rating) == columnBytes(one.rating))
                    << name << ", " << threads << " threads";
                EXPECT_EQ(many.observer.calls, one.observer.calls)
                    << name << ", " << threads << " threads";
                EXPECT_EQ(many.points.currentIndex(), one.points.currentIndex()) << name;
                EXPECT_EQ(many.rating.currentIndex(), 0) << name;
            }
            // The one-thread rows themselves: the accumulated stage and the single-level walk.
            if (mode == RatingMode::BoundsPrompt && c.stages <= 2000) {
                double stage = textToFloat(low);
                for (const auto& [stored, area] : one.rows) {
                    ASSERT_EQ(stored, stage) << name;
                    ASSERT_EQ(area, wettedArea(one.points.stations(), one.points.elevations(),
                                               stage, -textToFloat(datum)))
                        << name;
                    stage = stage + increment;
                }
            }
        }
    }
}

// With the connected water only, every row is the connected area at its stage, the same on
// every thread count; the bank hollow at station 10 is left out until the bank top at 6 is
// overtopped, and the rows then return to the whole section's.
TEST(RatingWater, ConnectedWaterLeavesTheBankHollowOut) {
    const Points hollow = {{0, 8}, {4, 0}, {8, 6}, {10, 2}, {12, 6}, {14, 8}};
    RatingRun whole(hollow);
    whole.generate(RatingMode::Main, "0", "8", 0.5);
    std::vector<std::vector<unsigned char>> bytes;
    for (unsigned threads : {1u, 3u}) {
        RatingRun connected(hollow);
        RatingObserver quiet;
        generateRating(RatingMode::Main, {"0", "8", 0.5, "0.00", WaterExtent::ConnectedToLowest},
                       connected.points, connected.rating, quiet, {}, threads);
        bytes.push_back(columnBytes(connected.rating));
        ASSERT_EQ(connected.rating.rowCount(), whole.rows.size());
        for (std::size_t i = 0; i < connected.rating.rowCount(); ++i) {
            const double stage = connected.rating.stageAt(i);
            const double area = connected.rating.areaAt(i);
            const double expected = roundScaled(
                hydraulicProperties(connected.points.stations(), connected.points.elevations(),
                                    stage, 0.0, WaterExtent::ConnectedToLowest)
                    .area,
                1000);
            EXPECT_EQ(area, expected) << stage;
            if (stage > 2 && stage <= 6)
                EXPECT_LT(area, whole.rows[i].second) << stage;
            else
                EXPECT_EQ(area, whole.rows[i].second) << stage;
        }
    }
    EXPECT_TRUE(bytes[0] == bytes[1]);
    // At 4: the channel holds 4 + 16/3, the hollow 2 more.
    EXPECT_EQ(whole.rows[8].second, 11.333);
    EXPECT_EQ(roundScaled(hydraulicProperties(whole.points.stations(), whole.points.elevations(),
                                              4.0, 0.0, WaterExtent::ConnectedToLowest)
                              .area,
                          1000),
              9.333);
}

// An observer that gives up part-way (the program's would on running out of memory) stops the
// run like any other failure, with the workers' chunks still in flight.
TEST(RatingThreads, AnObserverThatThrowsStopsTheRunCleanly) {
    struct Quitter : Recorder {
        void progressPosition(std::int32_t position) override {
            if (position == 300)
                throw Error("stop");
        }
    };
    std::vector<PointTable::LoadRow> rows;
    for (int i = 0; i < 3000; ++i)
        rows.push_back({i * 0.1, std::fabs(std::sin(i * 0.01)) * 5});
    for (unsigned threads : {1u, 4u}) {
        PointTable points;
        points.bulkLoad(rows);
        RatingTable rating;
        Quitter observer;
        observer.points = &points;
        observer.rating = &rating;
        EXPECT_THROW(generateRating(RatingMode::BoundsPrompt, {"0", "50", 0.01, "0"}, points,
                                    rating, observer, {}, threads),
                     Error);
        EXPECT_EQ(rating.rowCount(), 0u);
        EXPECT_EQ(points.suspendCount() + rating.suspendCount(), 0);
        EXPECT_EQ(observer.calls.back(), "failed");
    }
}

TEST(RatingEdges, WarningWhenTheMaximumStandsAboveAnEnd) {
    struct Case {
        const char* name;
        Points section;
        const char* maximum;
        double increment;
        const char* datum;
        int warnings;
        double lastArea;
    };
    const Case cases[] = {
        {"both ends above", kTrapezoid, "5", 1, "0.00", 0, 35},
        {"both ends below", kTrapezoid, "12", 1, "0.00", 1, 100},
        {"an end exactly at the maximum", kTrapezoid, "10", 1, "0.00", 0, 80},
        {"one end below", {{0, 10}, {2, 0}, {8, 0}, {10, 4}}, "5", 1, "0.00", 1, 2.5 + 30 + 6},
        {"datum lowers the ends", kTrapezoid, "5", 1, "6", 1, 12 + 66 + 12},
        {"empty table, maximum above -datum", {}, "1", 0.5, "0.00", 1, 0},
        {"empty table, maximum at -datum", {}, "-5", 0.5, "5", 0, 0},
    };
    for (const Case& c : cases) {
        RatingRun run(c.section);
        run.generate(RatingMode::Main, "-5", c.maximum, c.increment, c.datum);
        EXPECT_EQ(run.observer.warnings, c.warnings) << c.name;
        ASSERT_FALSE(run.rows.empty()) << c.name;
        EXPECT_EQ(run.rows.back().second, roundScaled(c.lastArea, 1000)) << c.name;

        RatingRun prompt(c.section);
        prompt.generate(RatingMode::BoundsPrompt, "-5", c.maximum, c.increment, c.datum);
        EXPECT_EQ(prompt.observer.warnings, 0) << c.name;
    }
}

TEST(RatingEdges, DatumTurnsElevationsIntoGageHeightsInBothCommands) {
    const Points high = {{0, 110}, {2, 100}, {3.3, 101.7}, {8, 100}, {10, 110}};
    const Points low = {{0, 10}, {2, 0}, {3.3, 1.7}, {8, 0}, {10, 10}};
    RatingRun mainHigh(high), mainLow(low), promptHigh(high), promptLow(low);
    mainHigh.generate(RatingMode::Main, "0", "5", 0.1, "100");
    mainLow.generate(RatingMode::Main, "0", "5", 0.1, "0");
    promptHigh.generate(RatingMode::BoundsPrompt, "0", "5", 0.1, "100");
    promptLow.generate(RatingMode::BoundsPrompt, "0", "5", 0.1, "0");
    ASSERT_EQ(mainHigh.rows.size(), 51u);
    EXPECT_EQ(mainHigh.rows, mainLow.rows);
    ASSERT_EQ(promptHigh.rows.size(), 51u);
    EXPECT_GT(promptHigh.rows.back().second, 25.0);
    for (std::size_t i = 0; i < promptHigh.rows.size(); ++i) {
        EXPECT_NEAR(promptHigh.rows[i].second, promptLow.rows[i].second, 1e-12);
        EXPECT_EQ(roundScaled(promptHigh.rows[i].second, 1000), mainHigh.rows[i].second);
    }
}

TEST(RatingRunOrder, ObserverCallsAndViewsInOrder) {
    RatingRun run(kTrapezoid);
    int pointResets = 0, ratingResets = 0, ratingInserts = 0;
    const TableSubscription pointViews = run.points.subscribe(PointTable::viewsOnly(
        [&](const TableChange& c) { pointResets += c.kind == TableChange::Kind::Reset; }));
    const TableSubscription ratingViews = run.rating.subscribe([&](const TableChange& c) {
        ratingResets += c.kind == TableChange::Kind::Reset;
        ratingInserts += c.kind == TableChange::Kind::Inserted;
    });
    run.points.moveTo(1);
    run.generate(RatingMode::Main, "8", "12", 1);
    EXPECT_EQ(run.observer.calls,
              (std::vector<std::string>{"range 0 4", "hide", "warning", "before", "pos 1", "pos 2",
                                        "pos 3", "pos 4", "pos 5", "finished"}));
    EXPECT_EQ(run.observer.suspendedAtFinish, 0);
    EXPECT_EQ(pointResets, 1);
    EXPECT_EQ(ratingResets, 1);
    EXPECT_EQ(ratingInserts, 0);
    EXPECT_EQ(run.points.currentIndex(), 3); // where the last walk left it
    EXPECT_TRUE(run.points.atEnd());
    EXPECT_EQ(run.rating.currentIndex(), 0);

    run.generate(RatingMode::BoundsPrompt, "0", "1", 1);
    EXPECT_EQ(run.observer.calls.size(), 10u + 6u);
    EXPECT_EQ(run.observer.calls[10], "range 0 1");
    EXPECT_EQ(run.observer.calls[12], "before");
}

TEST(RatingRefusals, NothingChangesBeforeTheRun) {
    struct Case {
        const char* name;
        const char* minimum;
        const char* maximum;
        double increment;
        const char* datum;
        std::string message;
    };
    const Case cases[] = {
        {"minimum", "abc", "x", 0.01, "y", "'abc' is not a valid floating point value"},
        {"maximum", "0", "1,5", 0.01, "y", "'1,5' is not a valid floating point value"},
        {"datum", "0", "1", 0.01, "", "'' is not a valid floating point value"},
        {"step count", "0", "30000000", 0.01, "0", "'2999999999' is not a valid integer value"},
        {"negative step count", "30000000", "0", 0.01, "0",
         "'-2999999999' is not a valid integer value"},
        {"too many gage heights", "0", "100001", 0.01, "0",
         "The rating would have about 10000100 gage heights; at most 10000000 can be created. "
         "Narrow the range between the minimum and the maximum or raise the increment."},
        {"stage that addition cannot move", "1e17", "1e17", 0.01, "0",
         "The increment 0.01 is too small for gage heights as large as 1E17: adding it would "
         "not change the gage height. Use smaller gage heights or raise the increment."},
        {"tie that holds the stage", "9007199254740994", "9007199254741002", 1, "0",
         "The increment 1 is too small for gage heights as large as 9.007199254741E15: adding "
         "it would not change the gage height. Use smaller gage heights or raise the increment."},
    };
    for (RatingMode mode : {RatingMode::Main, RatingMode::BoundsPrompt}) {
        for (const Case& c : cases) {
            RatingRun run(kTrapezoid);
            run.rating.appendRow(1, 2);
            run.points.insertPending();
            run.points.setElevation(3); // would fail at the first walk
            EXPECT_EQ(run.fail(mode, c.minimum, c.maximum, c.increment, c.datum), c.message)
                << c.name;
            EXPECT_TRUE(run.observer.calls.empty()) << c.name;
            EXPECT_EQ(run.rating.rowCount(), 1u) << c.name;
            EXPECT_EQ(run.points.state(), PointTable::State::Inserting) << c.name;
            EXPECT_EQ(run.points.suspendCount() + run.rating.suspendCount(), 0) << c.name;
        }
    }
    // Above 2^53 the sum ties and goes back to the even stage; one binade lower the same run
    // is fine.
    EXPECT_EQ(9007199254740996.0 + 1.0, 9007199254740996.0);
    RatingRun fine;
    fine.generate(RatingMode::BoundsPrompt, "4503599627370498", "4503599627370506", 1);
    EXPECT_EQ(fine.rows.size(), 9u);
    EXPECT_EQ(fine.rows.back().first, 4503599627370506.0);
}

TEST(RatingFailure, PendingRowWithoutStationLeavesTheRatingEmpty) {
    for (RatingMode mode : {RatingMode::Main, RatingMode::BoundsPrompt}) {
        RatingRun run(kTrapezoid);
        int pointResets = 0;
        const TableSubscription pointViews = run.points.subscribe(PointTable::viewsOnly(
            [&](const TableChange& c) { pointResets += c.kind == TableChange::Kind::Reset; }));
        run.rating.appendRow(1, 2);
        run.points.moveTo(2);
        run.points.insertPending();
        run.points.setElevation(3);
        EXPECT_EQ(run.fail(mode, "0", "1", 0.5), "Field 'Station' must have a value");
        EXPECT_EQ(run.rating.rowCount(), 0u);
        EXPECT_EQ(run.points.suspendCount() + run.rating.suspendCount(), 0);
        EXPECT_EQ(pointResets, 1);
        EXPECT_EQ(run.points.state(), PointTable::State::Inserting);
        EXPECT_EQ(run.points.editRow(), 2);
        const std::vector<std::string> expected =
            mode == RatingMode::Main
                ? std::vector<std::string>{"range 0 2", "hide"}
                : std::vector<std::string>{"range 0 2", "hide", "before", "pos 1", "failed"};
        EXPECT_EQ(run.observer.calls, expected);
    }
}

} // namespace
} // namespace korvadel
