// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace korvadel {

// The forms of an index-velocity rating, mean velocity V against the index velocity Vi the
// acoustic meter records (and the gage height GH):
//   simple       V = a + b*Vi
//   coefficient  V = b*Vi
//   stage        V = a + b*Vi + c*Vi*GH
//   compound     V = a + b*Vi + c*max(0, Vi - X), X the breakpoint
enum class VelocityModel : unsigned char { Simple, Coefficient, Stage, Compound };

struct VelocityModelInfo {
    VelocityModel model;
    std::string_view name; // simple, coefficient, stage, compound
    std::string_view form; // the equation with letters, as above
    // The names of its terms in the order of their coefficients: intercept, index_velocity,
    // index_velocity_x_gage_height, index_velocity_above_breakpoint.
    std::span<const std::string_view> terms;
    bool hasIntercept;
};

std::span<const VelocityModelInfo> velocityModels();
const VelocityModelInfo& velocityModelInfo(VelocityModel model);
// nullptr for a name no model has.
const VelocityModelInfo* velocityModelNamed(std::string_view name);

inline constexpr std::size_t kMaxVelocityTerms = 3;

// A rating's equation: its form, the breakpoint (compound only) and the coefficients in the
// order of the form's terms.
struct VelocityEquation {
    VelocityModel model = VelocityModel::Simple;
    double breakpoint = 0.0;
    std::array<double, kMaxVelocityTerms> coefficients{};

    std::size_t parameterCount() const { return velocityModelInfo(model).terms.size(); }
    // The values of the terms at (Vi, GH): one row of the regression's design.
    void termValues(double indexVelocity, double gageHeight,
                    std::array<double, kMaxVelocityTerms>& values) const;
    // V at (Vi, GH): the coefficients times the term values, added in the terms' order.
    double velocity(double indexVelocity, double gageHeight) const;
};

// The equation with its numbers to `digits` significant digits, e.g. "V = 0.0123 + 0.9876*Vi",
// "V = 0.95*Vi", "V = 0.01 + 0.9*Vi - 0.002*Vi*GH", "V = 0.02 + 0.8*Vi + 0.15*max(0, Vi - 1.2)".
std::string equationText(const VelocityEquation& equation, int digits = 6);

// One measurement as the regression sees it.
struct VelocitySample {
    double indexVelocity = 0.0;
    double gageHeight = 0.0;
    double meanVelocity = 0.0;
};

struct CoefficientStatistics {
    double estimate = 0.0;
    double standardError = 0.0;
    double t = 0.0; // estimate / standard error
    double p = 0.0; // two-sided, Student t with the residual degrees of freedom
};

struct PredictionInterval {
    double low = 0.0;
    double high = 0.0;
};

inline constexpr double kPredictionLevel = 0.95;

// An ordinary least-squares fit of a velocity rating and its statistics, as a statistics
// package reports a regression. Undefined statistics (a fit without residual, which leaves the
// standard errors 0) are NaN, except that an infinite t or F has p 0.
struct VelocityRatingFit {
    VelocityEquation equation;
    std::size_t n = 0;
    std::size_t parameters = 0;
    std::size_t degreesOfFreedom = 0; // n - parameters
    std::array<CoefficientStatistics, kMaxVelocityTerms> coefficients{};
    // About the mean for the forms with an intercept; about zero for the coefficient form, as
    // statistics packages do for a regression through the origin.
    double rSquared = 0.0;
    double adjustedRSquared = 0.0;
    double standardErrorOfEstimate = 0.0; // sqrt(residual sum of squares / degrees of freedom)
    double f = 0.0;
    double fP = 0.0;
    std::size_t regressionDegreesOfFreedom = 0; // parameters, less one with an intercept
    double regressionSumOfSquares = 0.0;
    double residualSumOfSquares = 0.0;
    // (X'X)^-1 of the design X, row-major over the parameters, and the Student t quantile of
    // the two-sided prediction level: what the prediction interval needs.
    std::array<double, kMaxVelocityTerms * kMaxVelocityTerms> unscaledCovariance{};
    double tCritical = 0.0;

    // The 95 % prediction interval of one new V at (Vi, GH):
    // fitted +- t * SEE * sqrt(1 + x' (X'X)^-1 x).
    PredictionInterval predictionInterval(double indexVelocity, double gageHeight) const;
};

// Fits the form to the samples by least squares through a column-pivoting QR factorisation of
// the design. Fewer samples than parameters + 1, or a design whose columns are not independent
// (all index velocities equal, no index velocity above a compound rating's breakpoint, ...),
// stop with an Error that says so.
VelocityRatingFit fitVelocityRating(VelocityModel model, double breakpoint,
                                    std::span<const VelocitySample> samples);

} // namespace korvadel
