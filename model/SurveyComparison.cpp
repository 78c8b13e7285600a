#include "model/SurveyComparison.h"

#include "model/Error.h"
#include "model/Numbers.h"
#include "model/WettedArea.h"

#include <cmath>
#include <string>

namespace korvadel {

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
            const double percent = row.difference / row.areaOld * 100.0;
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
    return comparison;
}

} // namespace korvadel
