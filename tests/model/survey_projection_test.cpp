// SPDX-License-Identifier: GPL-3.0-or-later
// Surveyed points laid onto the section line between two pins.

#include "model/Error.h"
#include "model/SurveyProjection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace korvadel {
namespace {

// Points placed at known stations and offsets along a line turned to a random bearing, far from
// the origin as projected coordinates are: the projection must give the stations and offsets
// back, flag exactly the points off the line or beyond the pins, and with flip measure from the
// other pin with the offsets' signs turned.
TEST(SurveyProjection, RecoversStationsAndOffsetsOnRandomLines) {
    std::mt19937 random(577);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    constexpr double kPi = 3.14159265358979323846;
    for (int trial = 0; trial < 200; ++trial) {
        const double bearing = 2 * kPi * unit(random);
        const double ux = std::cos(bearing);
        const double uy = std::sin(bearing);
        const double x0 = 4e5 + 2e5 * unit(random);
        const double y0 = 4e6 + 1e6 * unit(random);
        const double length = 10 + 490 * unit(random);
        struct Placed {
            double station;
            double offset;
        };
        std::vector<Placed> placed{{0, 0}};
        std::vector<SurveyPoint> points{{"LP", x0, y0, 100}};
        for (int i = 0; i < 12; ++i) {
            const Placed p{length * (1.2 * unit(random) - 0.1), 6 * unit(random) - 3};
            // Clear of the limits, so that rounding cannot decide the flags.
            if (std::fabs(std::fabs(p.offset) - 1) < 1e-3 || std::fabs(p.station) < 1e-3 ||
                std::fabs(p.station - length) < 1e-3)
                continue;
            placed.push_back(p);
            // Offsets count to the left of the line walked from the left pin.
            points.push_back({"P" + std::to_string(i), x0 + p.station * ux - p.offset * uy,
                              y0 + p.station * uy + p.offset * ux, 90 + unit(random)});
        }
        placed.push_back({length, 0});
        points.push_back({"RP", x0 + length * ux, y0 + length * uy, 100});

        SurveyLine line;
        line.leftPin = "LP";
        line.rightPin = "rp"; // any case, when no name matches exactly
        line.startStation = 1000 * unit(random) - 500;
        const SurveyProjection ahead = projectSurvey(points, line);
        line.flip = true;
        const SurveyProjection back = projectSurvey(points, line);
        ASSERT_EQ(ahead.points.size(), points.size());
        EXPECT_EQ(back.from, ahead.to);
        EXPECT_NEAR(ahead.length, length, 1e-9 * length);
        std::size_t reported = 0;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const std::string what = "trial " + std::to_string(trial) + " " + points[i].name;
            const ProjectedPoint& a = ahead.points[i];
            const ProjectedPoint& b = back.points[i];
            EXPECT_NEAR(a.station, line.startStation + placed[i].station, 6e-5) << what;
            EXPECT_NEAR(a.offset, placed[i].offset, 6e-5) << what;
            EXPECT_NEAR(b.station, line.startStation + length - placed[i].station, 6e-5) << what;
            EXPECT_NEAR(b.offset, -placed[i].offset, 6e-5) << what;
            const bool off = std::fabs(placed[i].offset) > 1;
            const bool beyond = placed[i].station < 0 || placed[i].station > length;
            EXPECT_EQ(a.offLine, off) << what;
            EXPECT_EQ(a.beyondPins, beyond) << what;
            EXPECT_EQ(b.beyondPins, beyond) << what;
            EXPECT_TRUE(a.kept) << what;
            reported += off || beyond;
        }
        EXPECT_EQ(ahead.warnings.size(), reported);
        line.dropOffLine = true;
        const SurveyProjection dropped = projectSurvey(points, line);
        for (std::size_t i = 0; i < points.size(); ++i)
            EXPECT_EQ(dropped.points[i].kept,
                      !dropped.points[i].offLine && !dropped.points[i].beyondPins);
    }
}

// The warnings name each point and say which way it lies: downstream is on the left of the
// line walked from the left pin to the right pin.
TEST(SurveyProjection, WarningsNameThePoints) {
    const std::vector<SurveyPoint> points = {
        {"LP", 0, 0, 5}, {"A", 3, 1.5, 2}, {"B", 5, -2.25, 1}, {"RP", 10, 0, 5}, {"C", 12, 0, 6}};
    SurveyLine line;
    line.rightPin = "RP";
    const SurveyProjection projection = projectSurvey(points, line, NumberFormat{','});
    EXPECT_EQ(projection.warnings,
              (std::vector<std::string>{
                  "Point 'A' at station 3 lies 1,5 downstream of the section line (more than 1).",
                  "Point 'B' at station 5 lies 2,25 upstream of the section line (more than 1).",
                  "Point 'C' at station 12 lies beyond the right pin."}));
    line.flip = true;
    line.dropOffLine = true;
    line.maxOffset = 2;
    EXPECT_EQ(projectSurvey(points, line).warnings,
              (std::vector<std::string>{
                  "Point 'B' at station 5 lies 2.25 downstream of the section line (more than "
                  "2); left out.",
                  "Point 'C' at station -2 lies beyond the right pin; left out."}));
}

TEST(SurveyProjection, RefusesWhatGivesNoLine) {
    const std::vector<SurveyPoint> points = {
        {"LP", 0, 0, 5}, {"lp", 1, 0, 4}, {"X", 2, 0, 3}, {"x", 3, 0, 2}, {"RP", 0, 0, 5}};
    struct Case {
        std::vector<SurveyPoint> points;
        std::string left;
        std::string right;
        const char* message;
    };
    const Case cases[] = {
        {{points[0]}, "", "", "Only one surveyed point was read (a section line needs two)"},
        {{}, "", "", "No surveyed points were read (a section line needs two)"},
        {points, "LP", "Q", "No point is named 'Q' (the right pin)"},
        {points, "X", "X", "The left and right pins are the same point, 'X'"},
        {{points[0], points[2], points[0]},
         "LP",
         "",
         "The left pin 'LP' names 2 points; pins need names of their own"},
        {{points[0], points[1], points[2]},
         "Lp",
         "",
         "The left pin 'Lp' names 2 points; pins need names of their own"},
        {points, "LP", "RP",
         "The pins 'LP' and 'RP' lie at the same place; the section line needs two points "
         "apart"},
    };
    for (const Case& c : cases) {
        SurveyLine line;
        line.leftPin = c.left;
        line.rightPin = c.right;
        try {
            projectSurvey(c.points, line);
            ADD_FAILURE() << c.message;
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
    // An exact name wins over the same name in another case.
    SurveyLine line;
    line.leftPin = "lp";
    line.rightPin = "x";
    const SurveyProjection projection = projectSurvey(points, line);
    EXPECT_EQ(projection.from, 1u);
    EXPECT_EQ(projection.to, 3u);
}

} // namespace
} // namespace korvadel
