// SPDX-License-Identifier: GPL-3.0-or-later
// The index-velocity computations: time stamps, rated measurements, the velocity rating and
// its statistics (against an independent fit and against the normal equations worked in
// extended precision), and the discharge of a record.
#include "model/DischargeRecord.h"
#include "model/Error.h"
#include "model/IsoTime.h"
#include "model/Measurement.h"
#include "model/MeasurementFit.h"
#include "model/VelocityRating.h"
#include "model/WettedArea.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <fstream>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace korvadel {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

void expectRelative(double actual, double expected, const std::string& what) {
    EXPECT_NEAR(actual, expected, 1e-9 * std::fabs(expected)) << what;
}

TEST(IsoTime, CalendarDayOfTimeStamps) {
    const std::int32_t day2024 = 19723; // 2024-01-01
    struct Case {
        const char* text;
        std::optional<std::int32_t> day;
    };
    const Case cases[] = {
        {"2024-01-01", day2024},
        {"2024-01-01T00:00", day2024},
        {" 2024-01-01 23:59:60.25 ", day2024},
        {"2024-01-01T12:30Z", day2024},
        {"2024-01-01T12:30:00+05:30", day2024}, // the date as written, not moved to UTC
        {"2024-01-01T12:30-0800", day2024},
        {"2024-01-01T12:30+01", day2024},
        {"2024-02-29", day2024 + 59},
        {"1970-01-01", 0},
        {"1969-12-31T23:00", -1},
        {"2023-02-29", std::nullopt},
        {"2024-13-01", std::nullopt},
        {"2024-01-01T24:00", std::nullopt},
        {"2024-01-01T12:60", std::nullopt},
        {"2024-01-01T12", std::nullopt},
        {"2024-01-01T12:30:", std::nullopt},
        {"2024-01-01T12:30:00.", std::nullopt},
        {"2024-01-01T12:30+1", std::nullopt},
        {"2024-01-01x", std::nullopt},
        {"01/02/2024", std::nullopt},
        {"2024-1-1", std::nullopt},
        {"", std::nullopt},
    };
    CalendarDayReader reader;
    for (const Case& c : cases) {
        EXPECT_EQ(isoCalendarDay(c.text), c.day) << c.text;
        EXPECT_EQ(reader(c.text), c.day) << c.text << " after the one before";
    }
    EXPECT_EQ(isoDateText(day2024 + 59), "2024-02-29");
    EXPECT_EQ(isoDateText(-1), "1969-12-31");
}

// The trapezoid (0,10) (2,0) (8,0) (10,10), datum 0: area 6h + 0.2h^2 below gage height h.
const std::vector<double> kStations = {0, 2, 8, 10};
const std::vector<double> kElevations = {10, 0, 0, 10};

Measurement measurement(std::string number, double gageHeight, double discharge,
                        std::optional<double> indexVelocity, std::optional<double> area = {},
                        MeasurementUse use = MeasurementUse::Fit) {
    Measurement m;
    m.number = std::move(number);
    m.gageHeight = gageHeight;
    m.discharge = discharge;
    m.indexVelocity = indexVelocity;
    m.measuredArea = area;
    m.use = use;
    return m;
}

TEST(RatedMeasurements, AreaVelocityAndDifference) {
    const std::vector<Measurement> measurements = {
        measurement("1", 5, 70, 1.0, 36.75), // area 35: V 2, difference +5 %, not beyond 5
        measurement("2", 1, 6.2, 0.5, 5.8),  // area 6.2: V 1, difference -6.45 %
        measurement("3", 2.5, 1, {}),
    };
    const auto rated = rateMeasurements(measurements, kStations, kElevations, 0.0, 5.0);
    ASSERT_EQ(rated.size(), 3u);
    EXPECT_EQ(rated[0].ratedArea, wettedArea(kStations, kElevations, 5, 0.0));
    EXPECT_DOUBLE_EQ(rated[0].meanVelocity, 2.0);
    EXPECT_DOUBLE_EQ(*rated[0].areaDifferencePercent, 5.0);
    EXPECT_FALSE(rated[0].beyondThreshold);
    EXPECT_NEAR(*rated[1].areaDifferencePercent, 100.0 * (5.8 - 6.2) / 6.2, 1e-12);
    EXPECT_TRUE(rated[1].beyondThreshold);
    EXPECT_DOUBLE_EQ(rated[2].ratedArea, 6 * 2.5 + 0.2 * 2.5 * 2.5);
    EXPECT_FALSE(rated[2].areaDifferencePercent.has_value());

    // The datum: elevations less 100 are compared with the gage height.
    const std::vector<double> raised = {110, 100, 100, 110};
    EXPECT_EQ(rateMeasurements(measurements, kStations, raised, -100.0)[0].ratedArea,
              rated[0].ratedArea);
    for (const auto& dry : {measurement("12", 0.0, 3, 1.0), measurement("13", -1, 3, 1.0)}) {
        try {
            rateMeasurements(std::vector{dry}, kStations, kElevations, 0.0);
            ADD_FAILURE() << "no error for a dry gage height";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Measurement " + dry.number + " at gage height " +
                          (dry.gageHeight == 0 ? "0" : "-1") +
                          ": the section holds no water there (rated area 0), so it has no "
                          "mean velocity");
        }
    }
}

std::vector<VelocitySample> samplesOf(const nlohmann::json& samples) {
    std::vector<VelocitySample> result;
    for (const auto& s : samples)
        result.push_back({s[0].get<double>(), s[1].get<double>(), s[2].get<double>()});
    return result;
}

TEST(VelocityRating, AgreesWithAnIndependentFitOfTheReferenceSets) {
    std::ifstream file(std::string(KORVADEL_TEST_DATA) + "/velocity-rating-reference.json");
    const nlohmann::json reference = nlohmann::json::parse(file);
    ASSERT_GE(reference["cases"].size(), 9u);
    for (const auto& c : reference["cases"]) {
        const std::string name = c["name"];
        SCOPED_TRACE(name);
        const VelocityModel model = velocityModelNamed(c["model"].get<std::string>())->model;
        const VelocityRatingFit fit =
            fitVelocityRating(model, c.value("breakpoint", 0.0), samplesOf(c["samples"]));
        const auto& expected = c["expected"];
        ASSERT_EQ(fit.parameters, expected["coefficients"].size());
        EXPECT_EQ(fit.n, c["samples"].size());
        EXPECT_EQ(fit.degreesOfFreedom, fit.n - fit.parameters);
        for (std::size_t j = 0; j < fit.parameters; ++j) {
            const auto& e = expected["coefficients"][j];
            const CoefficientStatistics& a = fit.coefficients[j];
            expectRelative(a.estimate, e[0], "estimate");
            expectRelative(a.standardError, e[1], "standard error");
            expectRelative(a.t, e[2], "t");
            EXPECT_NEAR(a.p, e[3].get<double>(), 1e-9) << "p";
            EXPECT_EQ(fit.equation.coefficients[j], a.estimate);
        }
        expectRelative(fit.rSquared, expected["r_squared"], "R squared");
        expectRelative(fit.adjustedRSquared, expected["adjusted_r_squared"], "adjusted");
        expectRelative(fit.standardErrorOfEstimate, expected["standard_error_of_estimate"], "SEE");
        expectRelative(fit.f, expected["f"], "F");
        EXPECT_NEAR(fit.fP, expected["f_p"].get<double>(), 1e-9) << "F p";
        expectRelative(fit.tCritical, expected["t_critical"], "t quantile");
        for (const auto& p : expected["predictions"]) {
            const PredictionInterval interval = fit.predictionInterval(p[0], p[1]);
            expectRelative(interval.low, p[2], "prediction low");
            expectRelative(interval.high, p[3], "prediction high");
        }
    }
}

// Simple and coefficient ratings by their closed forms, in extended precision, on random data.
TEST(VelocityRating, SimpleAndCoefficientAgreeWithTheNormalEquations) {
    std::mt19937_64 random(22);
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    for (int round = 0; round < 200; ++round) {
        const std::size_t n = 3 + static_cast<std::size_t>(random() % 60);
        const double a = 0.1 * uniform(random);
        const double b = 0.9 + 0.1 * uniform(random);
        std::vector<VelocitySample> samples;
        long double sx = 0, sy = 0, sxx = 0, sxy = 0, syy = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const double vi = 1.5 * uniform(random);
            const double v = a + b * vi + 0.05 * uniform(random);
            samples.push_back({vi, 2.0, v});
            sx += vi, sy += v, sxx += static_cast<long double>(vi) * vi;
            sxy += static_cast<long double>(vi) * v, syy += static_cast<long double>(v) * v;
        }
        const long double count = n;
        const long double x0 = 1.7; // a prediction beyond the data
        {
            const long double cxx = sxx - sx * sx / count, cxy = sxy - sx * sy / count;
            const long double cyy = syy - sy * sy / count;
            const long double slope = cxy / cxx, intercept = (sy - slope * sx) / count;
            const long double rss = cyy - slope * cxy;
            const long double s2 = rss / (count - 2);
            const VelocityRatingFit fit = fitVelocityRating(VelocityModel::Simple, 0, samples);
            expectRelative(fit.coefficients[1].estimate, slope, "b");
            expectRelative(fit.coefficients[0].estimate, intercept, "a");
            expectRelative(fit.coefficients[1].standardError, std::sqrt(s2 / cxx), "se b");
            expectRelative(fit.coefficients[0].standardError,
                           std::sqrt(s2 * (1 / count + sx * sx / count / count / cxx)), "se a");
            expectRelative(fit.rSquared, 1 - rss / cyy, "R squared");
            expectRelative(fit.standardErrorOfEstimate, std::sqrt(s2), "SEE");
            expectRelative(fit.f, (cyy - rss) / s2, "F");
            const PredictionInterval interval = fit.predictionInterval(1.7, 2.0);
            const long double half =
                std::sqrt(s2 * (1 + 1 / count + (x0 - sx / count) * (x0 - sx / count) / cxx));
            expectRelative((interval.high - interval.low) / 2 / fit.tCritical, half, "PI");
        }
        {
            const long double slope = sxy / sxx;
            const long double rss = syy - slope * sxy;
            const long double s2 = rss / (count - 1);
            const VelocityRatingFit fit = fitVelocityRating(VelocityModel::Coefficient, 0, samples);
            expectRelative(fit.coefficients[0].estimate, slope, "b through 0");
            expectRelative(fit.coefficients[0].standardError, std::sqrt(s2 / sxx), "se");
            expectRelative(fit.rSquared, 1 - rss / syy, "R squared about zero");
            expectRelative(fit.adjustedRSquared, 1 - (rss / syy) * count / (count - 1), "adj");
            expectRelative(fit.f, (syy - rss) / s2, "F about zero");
            const PredictionInterval interval = fit.predictionInterval(1.7, 2.0);
            expectRelative((interval.high - interval.low) / 2 / fit.tCritical,
                           std::sqrt(s2 * (1 + x0 * x0 / sxx)), "PI through 0");
        }
    }
}

TEST(VelocityRating, TooFewMeasurementsAndSingularDesigns) {
    const std::vector<VelocitySample> two = {{0.5, 2, 0.5}, {0.9, 3, 0.9}};
    const std::vector<VelocitySample> sameVi = {{0.5, 2, 0.5}, {0.5, 3, 0.6}, {0.5, 4, 0.55}};
    const std::vector<VelocitySample> sameGh = {
        {0.5, 2, 0.5}, {0.7, 2, 0.7}, {0.9, 2, 0.85}, {1.1, 2, 1.0}};
    const std::vector<VelocitySample> zeros = {{0, 2, 0.1}, {0, 3, 0.2}};
    struct Case {
        VelocityModel model;
        double breakpoint;
        std::vector<VelocitySample> samples;
        std::string message;
    };
    const std::string singular = "The fit measurements cannot determine the ";
    const Case cases[] = {
        {VelocityModel::Simple, 0, two,
         "The simple rating needs at least 3 fit measurements (2 parameters and one degree of "
         "freedom); there are 2"},
        {VelocityModel::Coefficient,
         0,
         {{1, 2, 1}},
         "The coefficient rating needs at least 2 fit measurements (1 parameter and one degree "
         "of freedom); there is 1"},
        {VelocityModel::Compound, 0.7, two,
         "The compound rating needs at least 4 fit measurements (3 parameters and one degree "
         "of freedom); there are 2"},
        {VelocityModel::Simple, 0, sameVi,
         singular + "simple rating (a singular design): every index velocity is the same"},
        {VelocityModel::Coefficient, 0, zeros,
         singular + "coefficient rating (a singular design): every index velocity is 0"},
        {VelocityModel::Stage, 0, sameGh,
         singular + "stage rating (a singular design): index velocity and index velocity x "
                    "gage height do not vary independently (one gage height for all of them, "
                    "say)"},
        {VelocityModel::Compound, 1.5, sameGh,
         singular + "compound rating (a singular design): no index velocity lies above the "
                    "breakpoint 1.5"},
        {VelocityModel::Compound, 0.2, sameGh,
         singular + "compound rating (a singular design): every index velocity lies above the "
                    "breakpoint 0.2, none at or below it"},
    };
    for (const Case& c : cases) {
        try {
            fitVelocityRating(c.model, c.breakpoint, c.samples);
            ADD_FAILURE() << "no error: " << c.message;
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
}

TEST(VelocityRating, EquationTextAndVelocity) {
    struct Case {
        VelocityEquation equation;
        double vi, gh, velocity;
        std::string text;
    };
    const Case cases[] = {
        {{VelocityModel::Simple, 0, {0.0371894, 0.880238}},
         1,
         3,
         0.9174274,
         "V = 0.0371894 + 0.880238*Vi"},
        {{VelocityModel::Coefficient, 0, {0.95}}, 2, 3, 1.9, "V = 0.95*Vi"},
        {{VelocityModel::Stage, 0, {-0.01, 0.9, -0.002}},
         1,
         3,
         0.884,
         "V = -0.01 + 0.9*Vi - 0.002*Vi*GH"},
        {{VelocityModel::Compound, 1.2, {0.02, 0.8, 0.15}},
         2,
         3,
         1.74,
         "V = 0.02 + 0.8*Vi + 0.15*max(0, Vi - 1.2)"},
        {{VelocityModel::Compound, 1.2, {0.02, 0.8, 0.15}},
         1,
         3,
         0.82,
         "V = 0.02 + 0.8*Vi + 0.15*max(0, Vi - 1.2)"},
        {{VelocityModel::Simple, 0, {1.23456789e-7, 123456.789}},
         0,
         0,
         1.23456789e-7,
         "V = 1.23457E-7 + 123457*Vi"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(equationText(c.equation), c.text);
        EXPECT_NEAR(c.equation.velocity(c.vi, c.gh), c.velocity, 1e-12) << c.text;
    }
    EXPECT_TRUE(std::isnan(cases[3].equation.velocity(kNaN, 3)));
}

TEST(RatedMeasurements, EvaluatedAgainstTheRating) {
    const std::vector<Measurement> measurements = {
        measurement("1", 5, 70, 2.0), measurement("2", 1, 6.2, 1.0), measurement("3", 2.5, 24, 1.5),
        measurement("4", 3, 30, 2.2, {}, MeasurementUse::Exclude),
        measurement("5", 4, 50, {}, {}, MeasurementUse::Validate)};
    const auto rated = rateMeasurements(measurements, kStations, kElevations, 0.0);
    const auto samples = fitSamples(measurements, rated);
    ASSERT_EQ(samples.size(), 3u);
    const VelocityRatingFit fit = fitVelocityRating(VelocityModel::Simple, 0, samples);
    const auto rows = evaluateMeasurements(fit, measurements, rated);
    for (std::size_t i = 0; i < 4; ++i) {
        const double fitted =
            fit.equation.velocity(*measurements[i].indexVelocity, measurements[i].gageHeight);
        EXPECT_TRUE(rows[i].evaluated);
        EXPECT_EQ(rows[i].fittedVelocity, fitted);
        EXPECT_EQ(rows[i].residual, rated[i].meanVelocity - fitted);
        EXPECT_EQ(rows[i].ratedDischarge, fitted * rated[i].ratedArea);
        EXPECT_NEAR(rows[i].percentDifference,
                    100 * (measurements[i].discharge / rows[i].ratedDischarge - 1), 1e-9);
        EXPECT_EQ(rows[i].withinInterval, rows[i].interval.low <= rated[i].meanVelocity &&
                                              rated[i].meanVelocity <= rows[i].interval.high);
    }
    EXPECT_FALSE(rows[3].withinInterval); // excluded, far off the line
    EXPECT_FALSE(rows[4].evaluated);
}

TEST(DischargeRecord, AreaVelocityAndDischargeOfEveryRow) {
    VelocityEquation equation{VelocityModel::Stage, 0, {0.1, 0.8, 0.01}};
    std::mt19937_64 random(4);
    std::uniform_real_distribution<double> stage(-1.0, 12.0);
    std::vector<double> gageHeights(10000), indexVelocities(10000);
    for (std::size_t i = 0; i < gageHeights.size(); ++i) {
        gageHeights[i] = i % 97 == 5 ? kNaN : stage(random);
        indexVelocities[i] = i % 89 == 7 ? kNaN : stage(random) / 10;
    }
    std::vector<double> areas(10000), velocities(10000), discharges(10000);
    computeDischarges(kStations, kElevations, 0.0, equation,
                      {gageHeights, indexVelocities, areas, velocities, discharges});
    for (std::size_t i = 0; i < gageHeights.size(); ++i) {
        const bool stageKnown = !std::isnan(gageHeights[i]);
        const bool indexKnown = !std::isnan(indexVelocities[i]);
        ASSERT_EQ(!std::isnan(areas[i]), stageKnown) << i;
        ASSERT_EQ(!std::isnan(velocities[i]), stageKnown && indexKnown) << i;
        ASSERT_EQ(!std::isnan(discharges[i]), stageKnown && indexKnown) << i;
        if (stageKnown) { // bit for bit the rating's area
            ASSERT_EQ(areas[i], wettedArea(kStations, kElevations, gageHeights[i], 0.0)) << i;
        }
        if (stageKnown && indexKnown) {
            ASSERT_EQ(velocities[i], equation.velocity(indexVelocities[i], gageHeights[i]));
            ASSERT_EQ(discharges[i], velocities[i] * areas[i]);
        }
    }
    const double huge[] = {1e300};
    double out[3][1];
    computeDischarges(kStations, kElevations, 0.0, {VelocityModel::Simple, 0, {0, 1e300}},
                      {huge, huge, out[0], out[1], out[2]});
    EXPECT_TRUE(std::isnan(out[1][0])); // past the range: no made-up number
    EXPECT_TRUE(std::isnan(out[2][0]));
}

TEST(DischargeRecord, DailyMeansByDateAsWritten) {
    DailyMeans days;
    days.add(3, 10.0);
    days.add(3, 20.0);
    days.add(1, 5.0);
    days.add(3, kNaN);
    days.add(2, kNaN);
    const auto rows = days.days();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].day, 1);
    EXPECT_EQ(rows[0].mean, 5.0);
    EXPECT_EQ(rows[1].day, 2);
    EXPECT_TRUE(std::isnan(rows[1].mean));
    EXPECT_EQ(rows[1].values, 0u);
    EXPECT_EQ(rows[2].mean, 15.0);
    EXPECT_EQ(rows[2].values, 2u);
}

} // namespace
} // namespace korvadel
