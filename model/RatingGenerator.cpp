#include "model/RatingGenerator.h"

#include "model/Error.h"
#include "model/GageSettings.h"
#include "model/Numbers.h"
#include "model/PointTable.h"
#include "model/RatingTable.h"
#include "model/WettedArea.h"

#include <array>
#include <cmath>
#include <limits>

namespace korvadel {

namespace {

// Stages computed per pass over the points.
constexpr std::size_t kStageBatch = 32;

void refuseUnbounded(double minimum, double maximum, double increment, NumberFormat format) {
    if (!std::isfinite(minimum) || !std::isfinite(maximum)) {
        throw Error("The minimum and maximum gage heights must be finite numbers.");
    }
    // Adding the increment must move the stage wherever the loop can be: below half the spacing
    // of doubles (and at exactly half, where a tie to even can hold it) the sum rounds back to
    // the stage itself and the run would never end.
    const double largest = std::max(std::fabs(minimum), std::fabs(maximum));
    const double spacing =
        std::nextafter(largest, std::numeric_limits<double>::infinity()) - largest;
    if (!(increment > spacing / 2)) {
        throw Error("The increment " + formatGeneral(increment, format) +
                    " is too small for gage heights as large as " + formatGeneral(largest, format) +
                    ": adding it would not change the gage height. Use smaller gage heights or "
                    "raise the increment.");
    }
}

void refuseTooMany(std::int32_t stepCount) {
    if (stepCount > kMaxRatingStages) {
        throw Error("The rating would have about " + std::to_string(std::int64_t{stepCount} + 1) +
                    " gage heights; at most " + std::to_string(kMaxRatingStages) +
                    " can be created. Narrow the range between the minimum and the maximum or "
                    "raise the increment.");
    }
}

} // namespace

void generateRating(RatingMode mode, const RatingBounds& bounds, PointTable& points,
                    RatingTable& rating, RatingObserver& observer, NumberFormat format) {
    // Everything that can refuse the run comes before the first change.
    const double minimum = textToFloat(bounds.minimum, format);
    const double maximum = textToFloat(bounds.maximum, format);
    const double increment = GageSettings::clampIncrement(bounds.increment);
    const double datum = textToFloat(bounds.datum, format);
    const std::int32_t stepCount =
        truncateToInt32((static_cast<long double>(maximum) - static_cast<long double>(minimum)) /
                            static_cast<long double>(increment),
                        format);
    refuseTooMany(stepCount);
    refuseUnbounded(minimum, maximum, increment, format);

    observer.progressRange(0, stepCount);

    points.SuspendViews();
    rating.SuspendViews();
    bool started = false;
    try {
        rating.Clear();
        observer.hideBoundsPrompt();

        // Both commands turn bed elevations into gage heights.
        const double shift = -datum;
        if (mode == RatingMode::Main) {
            points.First();
            const double firstEnd = points.Elevation();
            points.Last();
            const double lastEnd = points.Elevation();
            // The same double arithmetic as the area computation, so an end warns exactly when
            // the water at the maximum stands above it.
            if (firstEnd + shift < maximum || lastEnd + shift < maximum)
                observer.edgeWarning();
        }

        started = true;
        observer.beforeFirstStage();

        double stage = minimum;
        if (stage <= maximum) {
            std::int32_t k = 0;
            // The walk of the first stage settles the table; a row without station stops here.
            observer.progressPosition(++k);
            points.First();
            if (stepCount >= 0)
                rating.Reserve(static_cast<std::size_t>(stepCount) + 2);
            const std::span<const double> stations = points.Stations();
            const std::span<const double> elevations = points.Elevations();
            std::array<double, kStageBatch> stages{};
            std::array<double, kStageBatch> areas{};
            std::size_t batch = 0;
            auto flush = [&] {
                wettedAreas(stations, elevations, std::span(stages.data(), batch), shift,
                            std::span(areas.data(), batch));
                for (std::size_t j = 0; j < batch; ++j) {
                    if (mode == RatingMode::Main) {
                        rating.AppendRow(roundScaled(stages[j], 100), roundScaled(areas[j], 1000));
                    } else {
                        rating.AppendRow(stages[j], areas[j]);
                    }
                }
                batch = 0;
            };
            // The stage is accumulated, never recomputed from the minimum, and the loop ends as
            // soon as the sum passes the maximum.
            while (true) {
                stages[batch++] = stage;
                if (batch == kStageBatch)
                    flush();
                stage = stage + increment;
                if (!(stage <= maximum))
                    break;
                observer.progressPosition(++k);
            }
            flush();
            // Each stage's walk leaves the cursor on the last row with the end flag set.
            if (points.RowCount() > 0) {
                points.Last();
                points.Next();
            }
        }

        rating.First();
    } catch (...) {
        rating.Clear();
        rating.ResumeViews();
        points.ResumeViews();
        if (started)
            observer.failed();
        throw;
    }
    rating.ResumeViews();
    points.ResumeViews();
    observer.finished();
}

} // namespace korvadel
