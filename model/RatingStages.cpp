// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/RatingStages.h"

#include "model/Error.h"
#include "model/GageSettings.h"
#include "model/Numbers.h"
#include "model/RatingGenerator.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace korvadel {

namespace {

void refuseTooMany(std::int32_t stepCount) {
    if (stepCount > kMaxRatingStages) {
        throw Error("The rating would have about " + std::to_string(std::int64_t{stepCount} + 1) +
                    " gage heights; at most " + std::to_string(kMaxRatingStages) +
                    " can be created. Narrow the range between the minimum and the maximum or "
                    "raise the increment.");
    }
}

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

} // namespace

RatingStages::RatingStages(const RatingBounds& bounds, NumberFormat format)
    : minimum_(textToFloat(bounds.minimum, format)), maximum_(textToFloat(bounds.maximum, format)),
      increment_(GageSettings::clampIncrement(bounds.increment)),
      datum_(textToFloat(bounds.datum, format)),
      stepCount_(truncateToInt32(
          (static_cast<long double>(maximum_) - static_cast<long double>(minimum_)) /
              static_cast<long double>(increment_),
          format)),
      stage_(minimum_) {
    refuseTooMany(stepCount_);
    refuseUnbounded(minimum_, maximum_, increment_, format);
}

std::size_t RatingStages::next(std::span<double> block) {
    std::size_t count = 0;
    while (count < block.size() && stage_ <= maximum_) {
        block[count++] = stage_;
        stage_ = stage_ + increment_;
    }
    return count;
}

std::vector<double> RatingStages::all() const {
    RatingStages run = *this;
    run.stage_ = minimum_;
    std::vector<double> stages(
        static_cast<std::size_t>(std::max<std::int32_t>(stepCount_, -1) + 2));
    std::size_t count = run.next(stages);
    // The count is only an estimate of where the sum passes the maximum.
    while (!run.finished()) {
        stages.resize(count + 16);
        count += run.next(std::span(stages).subspan(count));
    }
    stages.resize(count);
    return stages;
}

} // namespace korvadel
