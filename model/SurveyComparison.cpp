// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/SurveyComparison.h"

#include "model/Error.h"
#include "model/Numbers.h"
#include "model/WettedArea.h"

#include <cmath>
#include <string>

namespace korvadel {

namespace {

// `part` as a percentage of `whole`, both whole thousandths. Dividing the counts of thousandths
// rounds once, so a ratio a reader works out exactly from the areas shown comes out exact and
// compares equal to the same threshold; 0.035 / 0.7 * 100 on the binary fractions gives
// 5.000000000000001, which would count as beyond a threshold of 5.
double percentOf(double part, double whole) {
    constexpr double kExactCounts = 0x1p53 / 100; // counts times 100 still exact
    const double partCount = std::round(part * 1000.0);
    const double wholeCount = std::round(whole * 1000.0);
    if (std::fabs(partCount) < kExactCounts && std::fabs(wholeCount) < kExactCounts)
        return partCount * 100.0 / wholeCount;
    return part / whole * 100.0;
}

} // namespace

void checkComparisonThreshold(double threshold, std::string_view name, NumberFormat format) {
    if (std::isfinite(threshold) && threshold >= 0.0)
        return;
    std::string message(name);
    if (std::isfinite(threshold))
        message += " must be 0 or more, not " + formatGeneral(threshold, format) + ".";
    else
        message += " must be a finite number, 0 or more.";
    throw Error(message);
}

SurveyComparison compareSurveys(const SurveyPair& surveys, std::span<const double> stages,
                                double elevationShift, double thresholdPercent) {
    std::vector<double> oldAreas(stages.size());
    std::vector<double> newAreas(stages.size());
    wettedAreas(surveys.oldStations, surveys.oldElevations, stages, elevationShift, oldAreas);
    wettedAreas(surveys.newStations, surveys.newElevations, stages, elevationShift, newAreas);

    SurveyComparison comparison;
    comparison.rows.reserve(stages.size());
    ComparisonSummary& summary = comparison.summary;
    for (std::size_t k = 0; k < stages.size(); ++k) {
        ComparisonRow row;
        row.stage = roundScaled(stages[k], 100);
        row.areaOld = roundScaled(oldAreas[k], 1000);
        row.areaNew = roundScaled(newAreas[k], 1000);
        // Both areas are whole thousandths, so rounding the difference gives the thousandths
        // a reader subtracts by hand instead of a binary remainder.
        row.difference = roundScaled(row.areaNew - row.areaOld, 1000);
        if (row.areaOld != 0.0) {
            const double percent = percentOf(row.difference, row.areaOld);
            row.percent = percent;
            row.beyondThreshold = std::fabs(percent) > thresholdPercent;
            if (!summary.largestPercent ||
                std::fabs(percent) > std::fabs(*summary.largestPercent)) {
                summary.largestPercent = percent;
                summary.largestPercentStage = row.stage;
            }
        } else {
            row.beyondThreshold = row.areaNew != 0.0;
        }
        if (row.beyondThreshold)
            ++summary.beyondThreshold;
        comparison.rows.push_back(row);
    }
    summary.stages = comparison.rows.size();
    return comparison;
}

void ComparisonSummary::add(const ComparisonSummary& later) noexcept {
    if (later.largestPercent &&
        (!largestPercent || std::fabs(*later.largestPercent) > std::fabs(*largestPercent))) {
        largestPercent = later.largestPercent;
        largestPercentStage = later.largestPercentStage;
    }
    beyondThreshold += later.beyondThreshold;
    stages += later.stages;
}

void appendComparisonCsvRows(std::string& out, std::span<const ComparisonRow> rows) {
    char line[5 * (kMaxGeneralLength + 1) + 6];
    for (const ComparisonRow& row : rows) {
        char* at = appendGeneral(line, row.stage);
        *at++ = ',';
        at = appendGeneral(at, row.areaOld);
        *at++ = ',';
        at = appendGeneral(at, row.areaNew);
        *at++ = ',';
        at = appendGeneral(at, row.difference);
        *at++ = ',';
        if (row.percent)
            at = appendGeneral(at, *row.percent);
        out.append(line, static_cast<std::size_t>(at - line));
        out += row.beyondThreshold ? ",yes\r\n" : ",no\r\n";
    }
}

std::string comparisonCsv(const SurveyComparison& comparison) {
    std::string text(kComparisonCsvHeading);
    appendComparisonCsvRows(text, comparison.rows);
    return text;
}

std::string comparisonSummaryLine(const ComparisonSummary& summary, double thresholdPercent,
                                  NumberFormat format) {
    std::string line;
    if (summary.largestPercent) {
        line = "Largest difference " +
               formatGeneral(roundScaled(*summary.largestPercent, 100), format) + " % at stage " +
               formatGeneral(*summary.largestPercentStage, format);
    } else {
        line = "No stage has water in the old survey to compare with";
    }
    line += "; " + std::to_string(summary.beyondThreshold) + " of " +
            std::to_string(summary.stages) + (summary.stages == 1 ? " stage" : " stages") +
            " beyond the threshold of " + formatGeneral(thresholdPercent, format) + " %.\n";
    return line;
}

} // namespace korvadel
