// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/NumberFormat.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace korvadel {

struct RatingBounds;

// The gage heights of a rating run: the one stage loop that the rating, the hydraulic
// properties and the comparison of two surveys all follow, so that their rows line up.
//
// The stages start at the minimum and grow by repeated addition of the increment, the sum
// rounded to a double at every step and never recomputed as minimum + k * increment; the run
// ends as soon as the sum passes the maximum. So 0 to 1 by 0.01 gives the 100 stages 0 to 0.99
// (after 100 additions the sum is 1.0000000000000007), 0 to 1 by 0.1 gives 11 ending at 1, and
// a maximum below the minimum gives none. Tables that show a stage round it to 2 decimals, as
// the main rating command stores it, but the next stage grows from the unrounded one.
class RatingStages {
public:
    // Converts the minimum, then the maximum, clamps the increment, converts the datum and
    // works out the step count, refusing (Error, with the user's message) what the rating
    // refuses, in the same order: a text that is not a number, a step count beyond 32 bits,
    // more than kMaxRatingStages stages, bounds that are not finite, and an increment too small
    // to move the stage.
    RatingStages(const RatingBounds& bounds, NumberFormat format = {});

    double minimum() const { return minimum_; }
    double maximum() const { return maximum_; }
    double increment() const { return increment_; }
    double datum() const { return datum_; }
    // Bed elevations take part as gage heights: elevation + elevationShift() is compared with
    // the stage.
    double elevationShift() const { return -datum_; }
    // (maximum - minimum) / increment in extended precision, truncated: the progress bar's
    // maximum. The run has about one stage more; exactly how many the loop decides.
    std::int32_t stepCount() const { return stepCount_; }

    // Writes the next stages of the run into `block`, as many as fit, and returns how many;
    // 0 once the run is over. Long runs are handed out block by block this way so that their
    // stages need not all be held at once.
    std::size_t next(std::span<double> block);
    bool finished() const { return !(stage_ <= maximum_); }

    // Every stage of the run, from the minimum (whatever next() has handed out already).
    std::vector<double> all() const;

private:
    double minimum_ = 0.0;
    double maximum_ = 0.0;
    double increment_ = 0.0;
    double datum_ = 0.0;
    std::int32_t stepCount_ = 0;
    double stage_ = 0.0; // the next stage to hand out
};

} // namespace korvadel
