// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/CommandSteps.h"

#include "model/Error.h"
#include "model/GageSettings.h"
#include "model/Numbers.h"
#include "model/PointTable.h"
#include "model/RatingStages.h"
#include "model/RatingTable.h"
#include "model/SectionPoints.h"

#include <algorithm>
#include <string>

namespace korvadel {

RatingBounds ratingBounds(const GageSettings& settings, WaterExtent water) {
    return RatingBounds{settings.minimum, settings.maximum, settings.increment(), settings.datum,
                        water};
}

double readNamedNumber(std::string_view text, std::string_view name, NumberFormat format) {
    double value = 0.0;
    if (!tryTextToFloat(text, value, format))
        throw Error(std::string(name) + ": '" + std::string(text) +
                    "' is not a valid floating point value");
    return value;
}

std::vector<double> readNumberList(std::string_view text, std::string_view name,
                                   NumberFormat format) {
    std::vector<double> values;
    const auto separates = [&](char c) {
        return c == ';' || (c == ',' && format.decimalSeparator != ',');
    };
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || separates(text[i])) {
            values.push_back(readNamedNumber(text.substr(start, i - start), name, format));
            start = i + 1;
        }
    }
    return values;
}

void requireRatingPoints(std::string_view source, std::size_t pointCount) {
    if (pointCount >= 2)
        return;
    throw Error(std::string(source) +
                (pointCount == 0 ? ": no cross-section points were read"
                                 : ": only one cross-section point was read") +
                " (a rating needs at least two)");
}

std::vector<Finding> checkPoints(const PointTable& points, const RatingBounds& bounds,
                                 std::size_t unsortedStations, NumberFormat format) {
    SectionCheckInput input;
    input.minimum = textToFloat(bounds.minimum, format);
    input.maximum = textToFloat(bounds.maximum, format);
    input.datum = textToFloat(bounds.datum, format);
    input.unsortedStations = unsortedStations;
    const SectionPoints section = sectionPoints(points);
    input.stations = section.stations;
    input.elevations = section.elevations;
    std::vector<double> withoutElevation;
    for (std::size_t row = 0; row < points.rowCount(); ++row) {
        if (points.hasStation(row) && !points.hasElevation(row))
            withoutElevation.push_back(points.stationAt(row));
    }
    input.stationsWithoutElevation = withoutElevation;
    return checkSection(input, format);
}

std::vector<double> ratingRowStages(const RatingTable& rating, const RatingRun& run,
                                    NumberFormat format) {
    std::vector<double> stages;
    if (rating.rowCount() == 0)
        return stages;
    const std::vector<double> all = RatingStages(run.bounds, format).all();
    stages.reserve(rating.rowCount());
    // Rows are only ever removed from a rating after its run, so row r holds stage number
    // recIdAt(r) - firstRecId.
    for (std::size_t row = 0; row < rating.rowCount(); ++row) {
        const std::int64_t k = rating.recIdAt(row) - run.firstRecId;
        if (k >= 0 && static_cast<std::size_t>(k) < all.size())
            stages.push_back(all[static_cast<std::size_t>(k)]);
    }
    return stages;
}

void forEachStageBlock(RatingStages run,
                       const std::function<void(std::span<const double>)>& block) {
    constexpr std::int64_t kBlockStages = std::int64_t{1} << 20;
    std::vector<double> stages(static_cast<std::size_t>(
        std::clamp<std::int64_t>(std::int64_t{run.stepCount()} + 2, 1, kBlockStages)));
    while (const std::size_t count = run.next(stages))
        block(std::span<const double>(stages).first(count));
}

ComparisonSummary compareSurveysOverRun(const SurveyPair& surveys, const RatingStages& run,
                                        double thresholdPercent,
                                        const std::function<void(const SurveyComparison&)>& part) {
    ComparisonSummary summary;
    forEachStageBlock(run, [&](std::span<const double> stages) {
        const SurveyComparison comparison =
            compareSurveys(surveys, stages, run.elevationShift(), thresholdPercent);
        summary.add(comparison.summary);
        part(comparison);
    });
    return summary;
}

} // namespace korvadel
