// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/SectionCheck.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace korvadel {
namespace {

// An empty elevation is a point without one.
using Points = std::vector<std::pair<double, std::optional<double>>>;

struct Expected {
    Severity severity;
    FindingCode code;
    std::optional<double> station;
};

std::string describe(Severity severity, FindingCode code, std::optional<double> station) {
    return std::string(severityName(severity)) + " " + std::string(findingCodeName(code)) +
           (station ? " @" + std::to_string(*station) : "");
}

constexpr auto W = Severity::Warning;
constexpr auto I = Severity::Info;
using C = FindingCode;

// Small sections, each made to raise exactly the findings listed, in the order listed.
TEST(SectionCheck, EveryCodeOnItsOwnSection) {
    const Points trapezoid = {{0, 10}, {2, 0}, {8, 0}, {10, 10}};
    struct Case {
        const char* name;
        Points points;
        double minimum, maximum, datum;
        std::size_t unsorted;
        std::vector<Expected> expected;
        const char* firstMessage; // checked when given
    };
    const Case cases[] = {
        {"a sound section", trapezoid, 0, 5, 0, 0, {}, nullptr},
        {"no points",
         {},
         0,
         1,
         0,
         0,
         {{W, C::TooFewPoints, {}}},
         "The section has no points; at least two are needed to rate it."},
        {"one point, read out of order",
         {{1, 1}},
         0,
         1,
         0,
         2,
         {{W, C::TooFewPoints, {}}, {I, C::UnsortedInput, {}}},
         nullptr},
        {"unsorted input",
         trapezoid,
         0,
         5,
         0,
         1,
         {{I, C::UnsortedInput, {}}},
         "The file listed 1 station out of ascending order; the points were put in station "
         "order."},
        {"repeated point and vertical step",
         {{0, 5}, {2, 0}, {2, 0}, {4, 0}, {4, 3}, {6, 5}},
         0,
         3,
         0,
         0,
         {{W, C::DuplicateStation, 2}, {I, C::DuplicateStation, 4}},
         "The point at station 2, elevation 0 is listed 2 times."},
        // A(5) = 8 + 30 + 2.5 = 40.5; A(2) = 2 + 12 + 0.4 = 14.4; 26.1 stands above the end.
        {"low left end, wall share above 5 %",
         {{0, 2}, {2, 0}, {8, 0}, {10, 10}},
         0,
         5,
         0,
         0,
         {{W, C::EndBelowMaximum, 0}},
         "The left end at elevation 2 lies 3 below the water at the maximum gage height "
         "(elevation 5); 64.4 % of the area there (26.1 of 40.5) stands above the end, held only "
         "by the assumed vertical wall."},
        // A(5) = 2.5 + 30 + 5.1 = 37.6; A(4.9) = 2.401 + 29.4 + 4.9 = 36.701.
        {"low right end under a datum, wall share within 5 %",
         {{0, 110}, {2, 100}, {8, 100}, {10, 104.9}},
         0,
         5,
         100,
         0,
         {{I, C::EndBelowMaximum, 10}},
         "The right end at elevation 104.9 lies 0.1 below the water at the maximum gage height "
         "(elevation 105); 2.4 % of the area there (0.899 of 37.6) stands above the end, held "
         "only by the assumed vertical wall."},
        // Hollow: 1 on each side of station 10 out of 34/3 in all.
        {"water in a bank hollow",
         {{0, 8}, {4, 0}, {8, 6}, {10, 2}, {12, 6}, {14, 8}},
         0,
         4,
         0,
         0,
         {{W, C::IsolatedWater, 10}},
         "At the maximum gage height, water stands between stations 8 and 12 apart from the "
         "lowest point: area 2, 17.6 % of the area there."},
        // Either side of 5 %: A(5) = 42.5 - a and the wall holds 42.5 - 8a - a^2/10, 5.0002 %
        // for a = 4.79 and 4.953 % for a = 4.792.
        {"wall share just above 5 %",
         {{0, 4.79}, {2, 0}, {8, 0}, {10, 10}},
         0,
         5,
         0,
         0,
         {{W, C::EndBelowMaximum, 0}},
         nullptr},
        {"wall share just below 5 %",
         {{0, 4.792}, {2, 0}, {8, 0}, {10, 10}},
         0,
         5,
         0,
         0,
         {{I, C::EndBelowMaximum, 0}},
         nullptr},
        {"gap of exactly 10 times the median spacing",
         {{0, 5}, {1, 4}, {2, 3}, {3, 2}, {4, 3}, {14, 4}, {15, 5}},
         2,
         3,
         0,
         0,
         {},
         nullptr},
        {"gap of 10.05 times the median spacing",
         {{0, 5}, {1, 4}, {2, 3}, {3, 2}, {4, 3}, {14.05, 4}, {15.05, 5}},
         2,
         3,
         0,
         0,
         {{I, C::WideGap, 4}},
         nullptr},
        {"wide gap",
         {{0, 5}, {1, 4}, {2, 3}, {3, 2}, {4, 3}, {20, 4}, {21, 5}},
         2,
         3,
         0,
         0,
         {{I, C::WideGap, 4}},
         "The gap of 16 between stations 4 and 20 is 16 times the median spacing 1."},
        {"spike above",
         {{0, 5}, {1, 4}, {2, 3}, {3, 9}, {4, 2}, {5, 1}, {6, 0}, {7, 1}},
         0,
         1,
         0,
         0,
         {{I, C::Spike, 3}},
         "The point at station 3 lies 6 above both neighbours, more than 3 times the median "
         "elevation step 1."},
        {"point exactly 3 times the median step above both neighbours",
         {{0, 5}, {1, 4}, {2, 3}, {3, 6}, {4, 2}, {5, 1}, {6, 0}, {7, 1}},
         0,
         1,
         0,
         0,
         {},
         nullptr},
        {"point 3.02 times the median step above both neighbours",
         {{0, 5}, {1, 4}, {2, 3}, {3, 6.02}, {4, 2}, {5, 1}, {6, 0}, {7, 1}},
         0,
         1,
         0,
         0,
         {{I, C::Spike, 3}},
         nullptr},
        // Eleven of the 21 steps are zero: counted, they would make the median 0 and hide the pit.
        {"pit in a flat bed",
         {{0, 2},  {1, 1.5}, {2, 1},    {3, 0.5}, {4, 0},    {5, 0},  {6, 0},  {7, 0},
          {8, 0},  {9, 0},   {10, 0},   {11, -2}, {12, 0},   {13, 0}, {14, 0}, {15, 0},
          {16, 0}, {17, 0},  {18, 0.5}, {19, 1},  {20, 1.5}, {21, 2}},
         0,
         1,
         0,
         0,
         {{I, C::Spike, 11}},
         "The point at station 11 lies 2 below both neighbours, more than 3 times the median "
         "elevation step 0.5."},
        {"spike below, and a hollow beside it: warnings first",
         {{0, 5}, {1, 4}, {2, 3}, {3, 2}, {4, -6}, {5, 1}, {6, 0}, {7, 1}, {8, 2}},
         -6,
         1,
         0,
         0,
         {{W, C::IsolatedWater, 6}, {I, C::Spike, 4}},
         nullptr},
        {"points without elevation count as 0",
         {{0, 10}, {2, 0}, {5, std::nullopt}, {5, std::nullopt}, {8, 0}, {10, 10}},
         0,
         5,
         0,
         0,
         {{W, C::MissingElevation, 5}, {W, C::MissingElevation, 5}, {W, C::DuplicateStation, 5}},
         "The point at station 5 has no elevation; it counts as elevation 0."},
        {"whole gage range below the bed",
         trapezoid,
         -2,
         -1,
         0,
         0,
         {{I, C::MinimumBelowBed, {}}},
         "The minimum gage height -2 lies below the lowest bed (gage height 0 at station 2); the "
         "maximum -1 is no higher, so every row of the rating has zero area."},
        // A(12) = 100, A(10) = 80: each wall holds 20 %.
        {"gage range beyond the bed and the banks",
         trapezoid,
         -1,
         12,
         0,
         0,
         {{W, C::EndBelowMaximum, 0},
          {W, C::EndBelowMaximum, 10},
          {I, C::MinimumBelowBed, {}},
          {I, C::MaximumAboveBanks, {}}},
         nullptr},
    };
    for (const Case& c : cases) {
        std::vector<double> stations;
        std::vector<double> elevations;
        std::vector<double> withoutElevation;
        for (const auto& [s, e] : c.points) {
            stations.push_back(s);
            elevations.push_back(e.value_or(0.0));
            if (!e)
                withoutElevation.push_back(s);
        }
        const auto findings = checkSection(
            {stations, elevations, c.minimum, c.maximum, c.datum, c.unsorted, withoutElevation});
        std::vector<std::string> got;
        std::vector<std::string> want;
        for (const Finding& f : findings)
            got.push_back(describe(f.severity, f.code, f.station));
        for (const Expected& e : c.expected)
            want.push_back(describe(e.severity, e.code, e.station));
        EXPECT_EQ(got, want) << c.name;
        if (c.firstMessage && !findings.empty()) {
            EXPECT_EQ(findings[0].message, c.firstMessage) << c.name;
        }
        EXPECT_EQ(hasWarning(findings),
                  !c.expected.empty() && c.expected.front().severity == Severity::Warning)
            << c.name;
    }
}

TEST(SectionCheck, MessagesFollowTheDecimalSeparator) {
    const std::vector<double> stations = {0, 2.5, 8, 10};
    const std::vector<double> elevations = {10, 0, 0, 10};
    const auto findings = checkSection({stations, elevations, -0.5, 5, 0, 0}, {','});
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(findings[0].message, "The minimum gage height -0,5 lies below the lowest bed (gage "
                                   "height 0 at station 2,5); the rating starts with rows of zero "
                                   "area.");
}

TEST(SectionCheckRendering, TextAndCommaDelimited) {
    const std::vector<Finding> findings = {
        {Severity::Warning, FindingCode::EndBelowMaximum, 2.5, "Low \"left\" end, 64 %."},
        {Severity::Info, FindingCode::UnsortedInput, std::nullopt, "Reordered."},
    };
    EXPECT_EQ(findingsText(findings, {','}),
              "warning end-below-maximum at station 2,5: Low \"left\" end, 64 %.\n"
              "info unsorted-input: Reordered.\n");
    EXPECT_EQ(findingsCsv(findings, {','}), "severity,code,station,message\r\n"
                                            "warning,end-below-maximum,\"2,5\",\"Low \"\"left\"\" "
                                            "end, 64 %.\"\r\n"
                                            "info,unsorted-input,,Reordered.\r\n");
    EXPECT_EQ(findingsText({}), "No findings.\n");
    EXPECT_EQ(findingsCsv({}), "severity,code,station,message\r\n");
}

} // namespace
} // namespace korvadel
