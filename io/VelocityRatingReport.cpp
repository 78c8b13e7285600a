// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/VelocityRatingReport.h"

#include "model/MeasurementFit.h"
#include "model/Numbers.h"
#include "model/VelocityRating.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <vector>

namespace korvadel {
namespace {

using Json = nlohmann::ordered_json;

// NaN has no JSON number: it is written as null, as the library writes it.
Json number(double value) {
    return std::isfinite(value) ? Json(value) : Json(nullptr);
}

Json optionalNumber(const std::optional<double>& value) {
    return value ? number(*value) : Json(nullptr);
}

constexpr int kDigits = 6;

std::string shown(double value) {
    return std::isnan(value) ? "-" : formatSignificant(value, kDigits);
}

// Columns of text, each as wide as its widest cell; the first left-aligned, the rest right.
class TextTable {
public:
    void add(std::vector<std::string> row) { rows_.push_back(std::move(row)); }
    std::string text(std::string_view indent, std::size_t leftAligned = 1) const {
        std::vector<std::size_t> widths;
        for (const auto& row : rows_) {
            widths.resize(std::max(widths.size(), row.size()));
            for (std::size_t c = 0; c < row.size(); ++c)
                widths[c] = std::max(widths[c], row[c].size());
        }
        std::string out;
        for (const auto& row : rows_) {
            std::string line(indent);
            for (std::size_t c = 0; c < row.size(); ++c) {
                const std::string pad(widths[c] - row[c].size(), ' ');
                if (c > 0)
                    line += "  ";
                line += c < leftAligned ? row[c] + pad : pad + row[c];
            }
            while (!line.empty() && line.back() == ' ')
                line.pop_back();
            out += line;
            out += '\n';
        }
        return out;
    }

private:
    std::vector<std::vector<std::string>> rows_;
};

std::size_t countUse(std::span<const Measurement> measurements, MeasurementUse use) {
    return static_cast<std::size_t>(
        std::count_if(measurements.begin(), measurements.end(),
                      [use](const Measurement& m) { return m.use == use; }));
}

} // namespace

std::string velocityRatingJson(const VelocityRatingReport& report) {
    const VelocityRatingFit& fit = report.fit;
    const VelocityModelInfo& info = velocityModelInfo(fit.equation.model);
    Json root;
    root["model"] = info.name;
    root["equation"] = equationText(fit.equation);
    if (fit.equation.model == VelocityModel::Compound)
        root["breakpoint"] = number(fit.equation.breakpoint);
    root["n"] = fit.n;
    root["parameters"] = fit.parameters;
    root["degrees_of_freedom"] = fit.degreesOfFreedom;
    Json coefficients = Json::array();
    for (std::size_t j = 0; j < fit.parameters; ++j) {
        const CoefficientStatistics& c = fit.coefficients[j];
        Json term;
        term["term"] = info.terms[j];
        term["estimate"] = number(c.estimate);
        term["standard_error"] = number(c.standardError);
        term["t"] = number(c.t);
        term["p"] = number(c.p);
        coefficients.push_back(std::move(term));
    }
    root["coefficients"] = std::move(coefficients);
    root["r_squared"] = number(fit.rSquared);
    root["adjusted_r_squared"] = number(fit.adjustedRSquared);
    root["standard_error_of_estimate"] = number(fit.standardErrorOfEstimate);
    root["f"] = number(fit.f);
    root["f_p"] = number(fit.fP);
    Json measurements = Json::array();
    for (std::size_t i = 0; i < report.measurements.size(); ++i) {
        const Measurement& m = report.measurements[i];
        const RatedMeasurement& rated = report.rated[i];
        const MeasurementFit& e = report.evaluated[i];
        const auto evaluated = [&e](double value) {
            return e.evaluated ? number(value) : Json(nullptr);
        };
        Json row;
        row["number"] = m.number;
        row["gage_height"] = number(m.gageHeight);
        row["discharge"] = number(m.discharge);
        row["index_velocity"] = optionalNumber(m.indexVelocity);
        row["rated_area"] = number(rated.ratedArea);
        row["mean_velocity"] = number(rated.meanVelocity);
        row["fitted_velocity"] = evaluated(e.fittedVelocity);
        row["residual"] = evaluated(e.residual);
        row["rated_discharge"] = evaluated(e.ratedDischarge);
        row["percent_difference"] = evaluated(e.percentDifference);
        row["prediction_low"] = evaluated(e.interval.low);
        row["prediction_high"] = evaluated(e.interval.high);
        row["within_prediction_interval"] = e.evaluated ? Json(e.withinInterval) : Json(nullptr);
        row["use"] = measurementUseName(m.use);
        measurements.push_back(std::move(row));
    }
    root["measurements"] = std::move(measurements);
    // Texts from the files are bytes: anything that is not UTF-8 shows as U+FFFD rather than
    // stopping the output.
    return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

std::string velocityRatingText(const VelocityRatingReport& report) {
    const VelocityRatingFit& fit = report.fit;
    const VelocityModelInfo& info = velocityModelInfo(fit.equation.model);
    std::string out =
        "Velocity rating, " + std::string(info.name) + " form: " + std::string(info.form);
    if (fit.equation.model == VelocityModel::Compound)
        out += ", X = " + formatGeneral(fit.equation.breakpoint);
    out += "\n" + equationText(fit.equation, kDigits) + "\n";
    const std::size_t validate = countUse(report.measurements, MeasurementUse::Validate);
    const std::size_t exclude = countUse(report.measurements, MeasurementUse::Exclude);
    out += "Fitted to " + std::to_string(fit.n) + " measurements; " + std::to_string(validate) +
           " to validate and " + std::to_string(exclude) + " excluded are not in the fit.\n";

    out += "\nRegression statistics\n";
    TextTable statistics;
    statistics.add({"Multiple R", shown(std::sqrt(fit.rSquared))});
    statistics.add({std::string("R squared") + (info.hasIntercept ? "" : " (about zero)"),
                    shown(fit.rSquared)});
    statistics.add({"Adjusted R squared", shown(fit.adjustedRSquared)});
    statistics.add({"Standard error of estimate", shown(fit.standardErrorOfEstimate)});
    statistics.add({"Observations", std::to_string(fit.n)});
    statistics.add({"Parameters", std::to_string(fit.parameters)});
    statistics.add({"Degrees of freedom", std::to_string(fit.degreesOfFreedom)});
    out += statistics.text("  ");

    out += "\nAnalysis of variance\n";
    TextTable anova;
    const double residualMean =
        fit.residualSumOfSquares / static_cast<double>(fit.degreesOfFreedom);
    anova.add({"", "df", "Sum of squares", "Mean square", "F", "Significance F"});
    anova.add(
        {"Regression", std::to_string(fit.regressionDegreesOfFreedom),
         shown(fit.regressionSumOfSquares),
         shown(fit.regressionSumOfSquares / static_cast<double>(fit.regressionDegreesOfFreedom)),
         shown(fit.f), shown(fit.fP)});
    anova.add({"Residual", std::to_string(fit.degreesOfFreedom), shown(fit.residualSumOfSquares),
               shown(residualMean)});
    anova.add({info.hasIntercept ? "Total" : "Total (about zero)",
               std::to_string(fit.regressionDegreesOfFreedom + fit.degreesOfFreedom),
               shown(fit.regressionSumOfSquares + fit.residualSumOfSquares)});
    out += anova.text("  ");

    out += "\nCoefficients\n";
    TextTable coefficients;
    coefficients.add({"Term", "Estimate", "Standard error", "t", "p"});
    for (std::size_t j = 0; j < fit.parameters; ++j) {
        const CoefficientStatistics& c = fit.coefficients[j];
        coefficients.add({std::string(info.terms[j]), shown(c.estimate), shown(c.standardError),
                          shown(c.t), shown(c.p)});
    }
    out += coefficients.text("  ");

    out += "\nMeasurements (V = discharge / rated area; 95 % prediction interval of V)\n";
    TextTable rows;
    rows.add({"Number", "Use", "Gage height", "Discharge", "Index vel.", "Rated area", "V",
              "Fitted V", "Residual", "Rated Q", "Diff. %", "Low", "High", "Inside"});
    for (std::size_t i = 0; i < report.measurements.size(); ++i) {
        const Measurement& m = report.measurements[i];
        const RatedMeasurement& rated = report.rated[i];
        const MeasurementFit& e = report.evaluated[i];
        const auto evaluated = [&e](double value) { return e.evaluated ? shown(value) : "-"; };
        rows.add({m.number, std::string(measurementUseName(m.use)), shown(m.gageHeight),
                  shown(m.discharge), m.indexVelocity ? shown(*m.indexVelocity) : "-",
                  shown(rated.ratedArea), shown(rated.meanVelocity), evaluated(e.fittedVelocity),
                  evaluated(e.residual), evaluated(e.ratedDischarge),
                  evaluated(e.percentDifference), evaluated(e.interval.low),
                  evaluated(e.interval.high),
                  e.evaluated ? (e.withinInterval ? "yes" : "no") : "-"});
    }
    out += rows.text("  ", 2);
    return out;
}

} // namespace korvadel
