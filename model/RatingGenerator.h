// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Error.h"
#include "model/HydraulicProperties.h"
#include "model/NumberFormat.h"

#include <cstdint>
#include <string>

namespace korvadel {

class PointTable;
class RatingTable;

// What a rating run tells the program around it. The desktop program drives its progress
// dialog, edge warning and rating window from these; the command-line tool and the tests use
// their own.
class RatingObserver {
public:
    virtual ~RatingObserver() = default;
    virtual void progressRange(std::int32_t /*minimum*/, std::int32_t /*maximum*/) {}
    virtual void progressPosition(std::int32_t /*position*/) {}
    virtual void hideBoundsPrompt() {}
    // Modal: returns when the user has closed the warning; the run then goes on.
    virtual void edgeWarning() {}
    // Just before the first stage is computed (the progress dialog is shown here).
    virtual void beforeFirstStage() {}
    // The run completed; views have been resumed (hide progress, refresh chart, show window).
    virtual void finished() {}
    // The run stopped with an error after beforeFirstStage may have been called (hide the
    // progress dialog). The error is rethrown to the caller afterwards.
    virtual void failed() {}
    // Asked between blocks of stages, from the calling thread: true stops the run with
    // RatingCancelled, as if it had failed. May be asked from another thread than the one that
    // sets it, so an implementation reads an atomic flag.
    virtual bool stopRequested() { return false; }
};

// A run stopped because its observer asked it to stop: the rating is left empty, as after any
// other failure, and the caller decides whether the user needs to hear of it.
class RatingCancelled : public Error {
public:
    RatingCancelled() : Error("The rating was cancelled") {}
};

enum class RatingMode {
    Main,        // document bounds, shift -datum, edge check, rounded rows
    BoundsPrompt // prompt bounds, same shift, no edge check, unrounded rows
};

struct RatingBounds {
    std::string minimum;
    std::string maximum;
    double increment = 0.01;
    std::string datum;
    // Which water the areas count: the whole section between the walls unless asked for the
    // water connected to the lowest point only (connectedWettedAreas).
    WaterExtent water = WaterExtent::WholeSection;
};

// Largest number of gage heights a run will produce before it refuses.
inline constexpr std::int64_t kMaxRatingStages = 10'000'000;

// Fills `rating` from `points`, one row per stage of RatingStages. Throws Error with the user's
// message; a conversion failure or a refused range changes nothing.
//
// The stages are shared out over `threads` threads, the calling one included; the observer is
// only ever called on the calling thread, with the positions in ascending order. 0 uses every
// core for a rating large enough to gain from them and the calling thread alone otherwise; any
// other count is used as given (at most one thread per chunk of stages). The rows are the same
// bits whatever the count.
void generateRating(RatingMode mode, const RatingBounds& bounds, PointTable& points,
                    RatingTable& rating, RatingObserver& observer, NumberFormat format = {},
                    unsigned threads = 0);

} // namespace korvadel
