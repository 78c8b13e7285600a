// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/NumberFormat.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvadel {

// Two surveys of one section, as columns (ascending station, equal stations in table order).
struct SurveyPair {
    std::span<const double> oldStations;
    std::span<const double> oldElevations;
    std::span<const double> newStations;
    std::span<const double> newElevations;
};

// One stage of the comparison. Stage and areas are rounded as the main rating command stores
// them (stage to 2 decimals, areas to 3), so each area is the one the rating of that survey
// shows; the difference is new - old of those areas, rounded to 3 decimals, and the percent is
// that difference as a percentage of the old area (absent where the old area is 0).
struct ComparisonRow {
    double stage = 0.0;
    double areaOld = 0.0;
    double areaNew = 0.0;
    double difference = 0.0;
    std::optional<double> percent;
    // |percent| exceeds the threshold; where there is no percent (no old water), any water in
    // the new survey is beyond it.
    bool beyondThreshold = false;
};

struct ComparisonSummary {
    // The signed percent of largest magnitude and its (rounded) stage, the first such stage on
    // a tie; absent when no stage has a percent.
    std::optional<double> largestPercent;
    std::optional<double> largestPercentStage;
    std::size_t beyondThreshold = 0;
    std::size_t stages = 0; // rows compared

    // Takes in the summary of the stages that follow these (a run compared in parts): the
    // result is the summary of the whole run.
    void add(const ComparisonSummary& later) noexcept;
};

struct SurveyComparison {
    std::vector<ComparisonRow> rows;
    ComparisonSummary summary;
};

inline constexpr double kDefaultComparisonThreshold = 5.0; // percent

// The threshold is a percentage: a finite number, 0 or more. Throws Error naming it as `name`.
void checkComparisonThreshold(double threshold, std::string_view name, NumberFormat format = {});

// Rates both surveys over `stages` (the unrounded stages of the rating's loop, each compared
// with elevation + elevationShift as in the rating) and compares them row by row.
SurveyComparison compareSurveys(const SurveyPair& surveys, std::span<const double> stages,
                                double elevationShift,
                                double thresholdPercent = kDefaultComparisonThreshold);

// Comma-delimited text of the rows: the heading stage,area_old,area_new,difference,
// percent_difference,beyond_threshold, then one line per stage, each ended by CR LF. Numbers
// in the general number format, always with a point (a decimal comma would run into the
// delimiter); the percent unrounded and empty where there is none; beyond_threshold yes or no.
// appendComparisonCsvRows adds the rows alone, for a comparison written in parts.
std::string comparisonCsv(const SurveyComparison& comparison);
inline constexpr std::string_view kComparisonCsvHeading =
    "stage,area_old,area_new,difference,percent_difference,beyond_threshold\r\n";
void appendComparisonCsvRows(std::string& out, std::span<const ComparisonRow> rows);

// The summary as one line for a person (with a line feed): the largest percent difference,
// rounded to 2 decimals, and its stage, and how many stages lie beyond the threshold, e.g.
// "Largest difference 12.5 % at stage 2; 3 of 6 stages beyond the threshold of 5 %.", its
// numbers with `format`'s decimal separator.
std::string comparisonSummaryLine(const ComparisonSummary& summary, double thresholdPercent,
                                  NumberFormat format = {});

} // namespace korvadel
