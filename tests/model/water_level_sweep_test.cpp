// SPDX-License-Identifier: GPL-3.0-or-later
// The water-level sweep on its own: the documented sequences (where the sweep turns), the
// interval rule, the frame the chart holds, the failing starts and the comma separator.

#include "model/CrossSectionDocument.h"
#include "model/Error.h"
#include "model/WaterLevelSweep.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace korvadel {
namespace {

struct Sweep {
    CrossSectionDocument document;
    WaterLevelSweep sweep;
    NumberFormat format;

    explicit Sweep(NumberFormat numberFormat = {}) : format(numberFormat) {
        document.points.clear();
    }

    void settings(const char* minimum, const char* maximum, double increment, const char* datum) {
        document.settings.minimum = minimum;
        document.settings.maximum = maximum;
        document.settings.setIncrement(increment);
        document.settings.datum = datum;
    }

    // The start as the window runs it: running, the frame, the sweep. Returns the error
    // message, empty when the start succeeded.
    std::string start() {
        try {
            sweep.start();
            (void)sweep.frameSection(document, format);
            sweep.beginSweep(document.settings, format);
        } catch (const Error& error) {
            return error.what();
        }
        return {};
    }

    std::vector<std::string> ticks(int count) {
        std::vector<std::string> seen;
        for (int i = 0; i < count; ++i) {
            sweep.tick(document.settings, format);
            seen.push_back(sweep.levelText());
        }
        return seen;
    }
};

// "0.07", "0.1", "1" for 7, 10 and 100 hundredths, as the general format writes them.
std::string hundredths(int value) {
    if (value % 100 == 0)
        return std::to_string(value / 100);
    std::string text = std::to_string(value / 100) + "." + (value % 100 < 10 ? "0" : "") +
                       std::to_string(value % 100);
    while (text.back() == '0')
        text.pop_back();
    return text;
}

TEST(WaterLevelSweep, DefaultsTurnAtOneHundredthAndNinetyNine) {
    Sweep s;
    s.document.points.appendRow(0, -1);
    s.document.points.appendRow(10, -1);
    ASSERT_EQ(s.start(), "");
    EXPECT_EQ(s.sweep.interval(), 18);
    EXPECT_EQ(s.sweep.levelText(), "1");

    // Down from 1 to 0.01 in 99 ticks, one tick turning, up to 0.99, one tick turning, down.
    std::vector<std::string> expected;
    for (int v = 99; v >= 1; --v)
        expected.push_back(hundredths(v));
    expected.push_back(hundredths(1));
    for (int v = 2; v <= 99; ++v)
        expected.push_back(hundredths(v));
    expected.push_back(hundredths(99));
    for (int v = 98; v >= 1; --v)
        expected.push_back(hundredths(v));
    expected.push_back(hundredths(1));
    expected.push_back(hundredths(2));
    EXPECT_EQ(s.ticks(static_cast<int>(expected.size())), expected);
    EXPECT_EQ(s.sweep.level(s.format), 0.02);
}

TEST(WaterLevelSweep, ExactIncrementReachesBothEnds) {
    Sweep s;
    s.settings("0", "2", 0.5, "100");
    s.document.points.appendRow(0, 99);
    ASSERT_EQ(s.start(), "");
    EXPECT_EQ(s.sweep.interval(), 450);
    EXPECT_EQ(s.sweep.levelText(), "102");
    std::vector<std::string> seen;
    std::vector<int> directions;
    double lastTick = 0.0;
    for (int i = 0; i < 12; ++i) {
        lastTick = s.sweep.tick(s.document.settings, s.format);
        seen.push_back(s.sweep.levelText());
        directions.push_back(s.sweep.direction());
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"101.5", "101", "100.5", "100", "100", "100.5", "101",
                                              "101.5", "102", "102", "101.5", "101"}));
    EXPECT_EQ(directions, (std::vector<int>{0, 0, 0, 0, -1, -1, -1, -1, -1, 0, 0, 0}));
    EXPECT_EQ(lastTick, 101.0);
}

TEST(WaterLevelSweep, NextStartBeginsAgainAtTheTopFalling) {
    Sweep s;
    s.document.points.appendRow(0, -2);
    s.document.points.appendRow(5, -2);
    ASSERT_EQ(s.start(), "");
    EXPECT_TRUE(s.sweep.running());
    EXPECT_EQ(s.ticks(30).back(), "0.7");
    s.sweep.stop();
    EXPECT_FALSE(s.sweep.running());
    EXPECT_EQ(s.sweep.levelText(), "0.7"); // the fill baseline stays where the sweep left it

    s.ticks(150); // rising by now
    EXPECT_EQ(s.sweep.direction(), -1);
    ASSERT_EQ(s.start(), "");
    EXPECT_EQ(s.sweep.levelText(), "1");
    EXPECT_EQ(s.sweep.direction(), 0);
}

TEST(WaterLevelSweep, IntervalRule) {
    struct Case {
        const char* name;
        const char* minimum;
        const char* maximum;
        double increment;
        int interval;
    };
    const Case cases[] = {
        {"defaults", "0", "1", 0.01, 18},
        {"truncated", "0", "7", 0.1, 25},    // 1800 / 70 = 25.7
        {"one step", "0", "0.5", 1.0, 3600}, // half a step per sweep
        {"exactly 1800 steps", "0", "18", 0.01, 1},
        {"more than 1800 steps", "0", "100", 0.01, 0},
        {"maximum below minimum", "1", "0", 0.01, -18},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sweep s;
        s.document.points.appendRow(0, -1);
        s.settings(c.minimum, c.maximum, c.increment, "0");
        ASSERT_EQ(s.start(), "");
        EXPECT_EQ(s.sweep.interval(), c.interval);
        EXPECT_TRUE(s.sweep.running());
    }
}

TEST(WaterLevelSweep, FrameHoldsStationsWithMarginAndTheHigherTop) {
    struct Case {
        const char* name;
        std::vector<std::pair<double, double>> points;
        const char* datum;
        double stationMinimum;
        double stationMaximum;
        double top;
    };
    const Case cases[] = {
        {"bank below the maximum", {{0, 0.5}, {25, -3}, {50, 0.8}}, "0.00", -1.0, 51.0, 1.0},
        {"bank above the maximum", {{0, 5}, {25, -3}, {50, 0.8}}, "0.00", -1.0, 51.0, 5.0},
        {"datum lifts the top", {{10, 100}, {20, 95}, {30, 103}}, "102.5", 9.6, 30.4, 103.5},
        {"empty table", {}, "0.00", 0.0, 0.0, 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sweep s;
        s.document.settings.datum = c.datum;
        for (const auto& [station, elevation] : c.points)
            s.document.points.appendRow(station, elevation);
        const WaterLevelSweep::Frame frame = s.sweep.frameSection(s.document, s.format);
        EXPECT_NEAR(frame.stationMinimum, c.stationMinimum, 1e-9);
        EXPECT_NEAR(frame.stationMaximum, c.stationMaximum, 1e-9);
        EXPECT_EQ(frame.top, c.top);
        EXPECT_EQ(s.document.points.suspendCount(), 0);
    }
}

TEST(WaterLevelSweep, FailedStartsKeepTheLevelAndStayRunning) {
    struct Case {
        const char* name;
        const char* minimum;
        const char* maximum;
        const char* datum;
        bool pendingWithoutStation;
        const char* message;
    };
    const Case cases[] = {
        {"datum", "0", "1", "abc", false, "'abc' is not a valid floating point value"},
        {"minimum", "1,5", "1", "0", false, "'1,5' is not a valid floating point value"},
        {"maximum", "0", " ", "0", false, "' ' is not a valid floating point value"},
        {"pending row", "0", "1", "0", true, "Field 'Station' must have a value"},
        {"maximum equals minimum", "2", "2.0", "0", false, "Floating point division by zero"},
        {"interval too large", "0", "1E-10", "0", false,
         "'180000000000' is not a valid integer value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sweep s;
        s.document.points.appendRow(0, -1);
        s.document.points.appendRow(3, -1);
        if (c.pendingWithoutStation) {
            s.document.points.appendPending();
            s.document.points.setElevation(-4.0);
        }
        s.document.settings.minimum = c.minimum;
        s.document.settings.maximum = c.maximum;
        s.document.settings.datum = c.datum;
        EXPECT_EQ(s.start(), c.message);
        EXPECT_TRUE(s.sweep.running());
        EXPECT_EQ(s.sweep.levelText(), "0.00");
        EXPECT_EQ(s.sweep.direction(), 0);
        EXPECT_EQ(s.document.points.suspendCount(), 0);
    }
}

TEST(WaterLevelSweep, CommaSeparator) {
    Sweep s(NumberFormat{','});
    s.settings("0", "1,5", 0.25, "0,00");
    s.document.points.appendRow(0, -1);
    ASSERT_EQ(s.start(), "");
    EXPECT_EQ(s.sweep.levelText(), "1,5");
    EXPECT_EQ(s.ticks(1), std::vector<std::string>{"1,25"});
    EXPECT_EQ(s.sweep.level(s.format), 1.25);
}

TEST(WaterLevelSweep, LevelIsNothingWhenItsTextDoesNotConvert) {
    WaterLevelSweep sweep;
    EXPECT_EQ(sweep.level({}), 0.0); // the fill baseline before any animation
    EXPECT_EQ(sweep.level(NumberFormat{','}), std::nullopt); // "0.00" under a comma
}

} // namespace
} // namespace korvadel
