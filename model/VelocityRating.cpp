// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/VelocityRating.h"

#include "model/Error.h"
#include "model/Numbers.h"

#include <Eigen/Dense>
#include <boost/math/distributions/fisher_f.hpp>
#include <boost/math/distributions/students_t.hpp>

#include <algorithm>
#include <cmath>
#include <limits>

namespace korvadel {
namespace {

constexpr std::string_view kSimpleTerms[] = {"intercept", "index_velocity"};
constexpr std::string_view kCoefficientTerms[] = {"index_velocity"};
constexpr std::string_view kStageTerms[] = {"intercept", "index_velocity",
                                            "index_velocity_x_gage_height"};
constexpr std::string_view kCompoundTerms[] = {"intercept", "index_velocity",
                                               "index_velocity_above_breakpoint"};

constexpr VelocityModelInfo kModels[] = {
    {VelocityModel::Simple, "simple", "V = a + b*Vi", kSimpleTerms, true},
    {VelocityModel::Coefficient, "coefficient", "V = b*Vi", kCoefficientTerms, false},
    {VelocityModel::Stage, "stage", "V = a + b*Vi + c*Vi*GH", kStageTerms, true},
    {VelocityModel::Compound, "compound", "V = a + b*Vi + c*max(0, Vi - X)", kCompoundTerms, true},
};

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Two-sided p of a t statistic; an infinite t (a fit without residual) has p 0.
double twoSidedP(double t, double degreesOfFreedom) {
    if (std::isnan(t))
        return kNaN;
    if (std::isinf(t))
        return 0.0;
    const boost::math::students_t distribution(degreesOfFreedom);
    return 2.0 * boost::math::cdf(boost::math::complement(distribution, std::fabs(t)));
}

double upperTailF(double f, double numerator, double denominator) {
    if (std::isnan(f))
        return kNaN;
    if (std::isinf(f))
        return 0.0;
    const boost::math::fisher_f distribution(numerator, denominator);
    return boost::math::cdf(boost::math::complement(distribution, std::max(f, 0.0)));
}

// Why the fit measurements cannot determine the form, in the user's terms.
std::string singularReason(const VelocityEquation& equation,
                           std::span<const VelocitySample> samples) {
    const auto [lowest, highest] = std::minmax_element(
        samples.begin(), samples.end(), [](const VelocitySample& a, const VelocitySample& b) {
            return a.indexVelocity < b.indexVelocity;
        });
    const bool allEqual = lowest->indexVelocity == highest->indexVelocity;
    switch (equation.model) {
    case VelocityModel::Coefficient:
        return "every index velocity is 0";
    case VelocityModel::Simple:
        return allEqual ? "every index velocity is the same" : "the index velocities are too close";
    case VelocityModel::Stage:
        if (allEqual)
            return "every index velocity is the same";
        return "index velocity and index velocity x gage height do not vary independently (one "
               "gage height for all of them, say)";
    case VelocityModel::Compound: {
        const std::string breakpoint = formatGeneral(equation.breakpoint);
        if (!(highest->indexVelocity > equation.breakpoint))
            return "no index velocity lies above the breakpoint " + breakpoint;
        if (lowest->indexVelocity > equation.breakpoint)
            return "every index velocity lies above the breakpoint " + breakpoint +
                   ", none at or below it";
        return allEqual ? "every index velocity is the same"
                        : "the index velocities do not determine the line on both sides of the "
                          "breakpoint " +
                              breakpoint;
    }
    }
    return {};
}

} // namespace

std::span<const VelocityModelInfo> velocityModels() {
    return kModels;
}

const VelocityModelInfo& velocityModelInfo(VelocityModel model) {
    for (const VelocityModelInfo& info : kModels)
        if (info.model == model)
            return info;
    return kModels[0];
}

const VelocityModelInfo* velocityModelNamed(std::string_view name) {
    for (const VelocityModelInfo& info : kModels)
        if (info.name == name)
            return &info;
    return nullptr;
}

void VelocityEquation::termValues(double indexVelocity, double gageHeight,
                                  std::array<double, kMaxVelocityTerms>& values) const {
    switch (model) {
    case VelocityModel::Simple:
        values = {1.0, indexVelocity, 0.0};
        break;
    case VelocityModel::Coefficient:
        values = {indexVelocity, 0.0, 0.0};
        break;
    case VelocityModel::Stage:
        values = {1.0, indexVelocity, indexVelocity * gageHeight};
        break;
    case VelocityModel::Compound:
        // A missing (NaN) index velocity stays NaN rather than being taken for one below X.
        values = {1.0, indexVelocity,
                  indexVelocity > breakpoint ? indexVelocity - breakpoint : indexVelocity * 0.0};
        break;
    }
}

double VelocityEquation::velocity(double indexVelocity, double gageHeight) const {
    std::array<double, kMaxVelocityTerms> values;
    termValues(indexVelocity, gageHeight, values);
    double v = 0.0;
    for (std::size_t j = 0, p = parameterCount(); j < p; ++j)
        v += coefficients[j] * values[j];
    return v;
}

std::string equationText(const VelocityEquation& equation, int digits) {
    static constexpr std::string_view kSimpleText[] = {"", "*Vi"};
    static constexpr std::string_view kCoefficientText[] = {"*Vi"};
    static constexpr std::string_view kStageText[] = {"", "*Vi", "*Vi*GH"};
    std::span<const std::string_view> suffixes;
    std::string compoundSuffix;
    std::string_view compound[3] = {"", "*Vi", ""};
    switch (equation.model) {
    case VelocityModel::Simple:
        suffixes = kSimpleText;
        break;
    case VelocityModel::Coefficient:
        suffixes = kCoefficientText;
        break;
    case VelocityModel::Stage:
        suffixes = kStageText;
        break;
    case VelocityModel::Compound:
        compoundSuffix = "*max(0, Vi - " + formatSignificant(equation.breakpoint, digits) + ")";
        compound[2] = compoundSuffix;
        suffixes = compound;
        break;
    }
    std::string text = "V = ";
    for (std::size_t j = 0; j < suffixes.size(); ++j) {
        const double value = equation.coefficients[j];
        if (j == 0) {
            text += formatSignificant(value, digits);
        } else {
            text += std::signbit(value) ? " - " : " + ";
            text += formatSignificant(std::fabs(value), digits);
        }
        text += suffixes[j];
    }
    return text;
}

PredictionInterval VelocityRatingFit::predictionInterval(double indexVelocity,
                                                         double gageHeight) const {
    std::array<double, kMaxVelocityTerms> x;
    equation.termValues(indexVelocity, gageHeight, x);
    double leverage = 0.0;
    for (std::size_t i = 0; i < parameters; ++i)
        for (std::size_t j = 0; j < parameters; ++j)
            leverage += x[i] * unscaledCovariance[i * kMaxVelocityTerms + j] * x[j];
    const double fitted = equation.velocity(indexVelocity, gageHeight);
    const double half = tCritical * standardErrorOfEstimate * std::sqrt(1.0 + leverage);
    return {fitted - half, fitted + half};
}

VelocityRatingFit fitVelocityRating(VelocityModel model, double breakpoint,
                                    std::span<const VelocitySample> samples) {
    const VelocityModelInfo& info = velocityModelInfo(model);
    VelocityRatingFit fit;
    fit.equation.model = model;
    fit.equation.breakpoint = model == VelocityModel::Compound ? breakpoint : 0.0;
    const std::size_t n = samples.size();
    const std::size_t p = info.terms.size();
    if (n < p + 1)
        throw Error(
            "The " + std::string(info.name) + " rating needs at least " + std::to_string(p + 1) +
            " fit measurements (" + std::to_string(p) + (p == 1 ? " parameter" : " parameters") +
            " and one degree of freedom); there " + (n == 1 ? "is " : "are ") + std::to_string(n));

    Eigen::MatrixXd design(static_cast<Eigen::Index>(n), static_cast<Eigen::Index>(p));
    Eigen::VectorXd observed(static_cast<Eigen::Index>(n));
    std::array<double, kMaxVelocityTerms> row;
    for (std::size_t i = 0; i < n; ++i) {
        fit.equation.termValues(samples[i].indexVelocity, samples[i].gageHeight, row);
        for (std::size_t j = 0; j < p; ++j) {
            if (!std::isfinite(row[j]))
                throw Error("A term of the " + std::string(info.name) + " rating (" +
                            std::string(info.terms[j]) + ") is beyond the range of numbers");
            design(static_cast<Eigen::Index>(i), static_cast<Eigen::Index>(j)) = row[j];
        }
        if (!std::isfinite(samples[i].meanVelocity))
            throw Error("A mean velocity is beyond the range of numbers");
        observed(static_cast<Eigen::Index>(i)) = samples[i].meanVelocity;
    }
    const Eigen::ColPivHouseholderQR<Eigen::MatrixXd> qr(design);
    if (qr.rank() < static_cast<Eigen::Index>(p))
        throw Error("The fit measurements cannot determine the " + std::string(info.name) +
                    " rating (a singular design): " + singularReason(fit.equation, samples));
    const Eigen::VectorXd estimate = qr.solve(observed);
    const Eigen::VectorXd fitted = design * estimate;
    const Eigen::VectorXd residual = observed - fitted;

    // (X'X)^-1 = P R^-1 R^-T P' for X P = Q R.
    const Eigen::MatrixXd r =
        qr.matrixR().topLeftCorner(static_cast<Eigen::Index>(p), static_cast<Eigen::Index>(p));
    const Eigen::MatrixXd rInverse = r.triangularView<Eigen::Upper>().solve(
        Eigen::MatrixXd::Identity(static_cast<Eigen::Index>(p), static_cast<Eigen::Index>(p)));
    const Eigen::MatrixXd permuted = rInverse * rInverse.transpose();
    const Eigen::MatrixXd covariance =
        qr.colsPermutation() * permuted * qr.colsPermutation().transpose();

    const double residualDf = static_cast<double>(n - p);
    double rss = 0.0;
    for (Eigen::Index i = 0; i < residual.size(); ++i)
        rss += residual(i) * residual(i);
    double mss = 0.0;
    const double fittedMean = info.hasIntercept ? fitted.mean() : 0.0;
    for (Eigen::Index i = 0; i < fitted.size(); ++i)
        mss += (fitted(i) - fittedMean) * (fitted(i) - fittedMean);
    const double variance = rss / residualDf;

    fit.n = n;
    fit.parameters = p;
    fit.degreesOfFreedom = n - p;
    fit.regressionDegreesOfFreedom = info.hasIntercept ? p - 1 : p;
    fit.residualSumOfSquares = rss;
    fit.regressionSumOfSquares = mss;
    fit.standardErrorOfEstimate = std::sqrt(variance);
    fit.rSquared = mss / (mss + rss);
    const double interceptDf = info.hasIntercept ? 1.0 : 0.0;
    fit.adjustedRSquared =
        1.0 - (1.0 - fit.rSquared) * ((static_cast<double>(n) - interceptDf) / residualDf);
    fit.f = (mss / static_cast<double>(fit.regressionDegreesOfFreedom)) / variance;
    fit.fP = upperTailF(fit.f, static_cast<double>(fit.regressionDegreesOfFreedom), residualDf);
    for (std::size_t j = 0; j < p; ++j) {
        const auto jj = static_cast<Eigen::Index>(j);
        CoefficientStatistics& c = fit.coefficients[j];
        c.estimate = estimate(jj);
        c.standardError = std::sqrt(variance * covariance(jj, jj));
        c.t = c.estimate / c.standardError;
        c.p = twoSidedP(c.t, residualDf);
        fit.equation.coefficients[j] = c.estimate;
        for (std::size_t k = 0; k < p; ++k)
            fit.unscaledCovariance[j * kMaxVelocityTerms + k] =
                covariance(jj, static_cast<Eigen::Index>(k));
    }
    const boost::math::students_t t(residualDf);
    fit.tCritical =
        boost::math::quantile(boost::math::complement(t, (1.0 - kPredictionLevel) / 2.0));
    return fit;
}

} // namespace korvadel
