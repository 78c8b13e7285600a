// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/RatingGenerator.h"

#include "model/ChunkWorkers.h"
#include "model/Error.h"
#include "model/Numbers.h"
#include "model/PointTable.h"
#include "model/RatingStages.h"
#include "model/RatingTable.h"
#include "model/WettedArea.h"

#include <algorithm>
#include <span>
#include <thread>
#include <vector>

namespace korvadel {

namespace {

// Stages are handed out in chunks of whole passes of the area kernel's lanes; over few points
// a chunk holds more of them, so that handing it out stays cheap beside computing it.
constexpr std::size_t kLanes = 16;
constexpr std::size_t kChunkSegments = std::size_t{1} << 18;
constexpr std::size_t kMaxChunkStages = 1024;
// Stages generated ahead of their areas: about 1 MB of stages and areas for a long rating.
constexpr std::size_t kBlockStages = std::size_t{1} << 16;
// Below about a million segment evaluations (points x stages, each stage also counting for some
// 500 segments for its rounding, row and progress), some 0.4 ms on one core, a second thread
// saves no more than it costs: starting, waking and joining it take some 30 microseconds, and
// the chunks are then too few to share evenly.
constexpr double kStageSegments = 500;
constexpr double kParallelSegments = 1e6;
// More threads than this would each get too little of even the largest rating.
constexpr unsigned kMaxThreads = 256;

// How a rating is shared out: the number of threads (the calling one included) and the stages
// per chunk.
struct Sharing {
    unsigned threads = 1;
    std::size_t chunk = kLanes;
};

std::size_t roundUpToLanes(std::size_t stages) {
    return (stages + kLanes - 1) / kLanes * kLanes;
}

Sharing shareOut(unsigned requested, std::size_t points, std::size_t stages) {
    stages = std::max<std::size_t>(stages, 1);
    unsigned threads = requested;
    if (threads == 0) {
        const double work =
            (static_cast<double>(points) + kStageSegments) * static_cast<double>(stages);
        threads = work < kParallelSegments ? 1 : std::max(1u, std::thread::hardware_concurrency());
    }
    threads = std::min(threads, kMaxThreads);
    std::size_t chunk = roundUpToLanes(kChunkSegments / std::max<std::size_t>(points, 1));
    // Several chunks per thread, so that a thread held up by the rest of the machine does not
    // hold up the run.
    if (threads > 1)
        chunk = std::min(chunk, roundUpToLanes((stages - 1) / (std::size_t{threads} * 4) + 1));
    chunk = std::clamp(chunk, kLanes, kMaxChunkStages);
    const std::size_t chunks = (stages - 1) / chunk + 1;
    return {static_cast<unsigned>(std::min<std::size_t>(threads, chunks)), chunk};
}

} // namespace

void generateRating(RatingMode mode, const RatingBounds& bounds, PointTable& points,
                    RatingTable& rating, RatingObserver& observer, NumberFormat format,
                    unsigned threads) {
    // Everything that can refuse the run comes before the first change.
    RatingStages run(bounds, format);
    const double maximum = run.maximum();
    const std::int32_t stepCount = run.stepCount();

    observer.progressRange(0, stepCount);

    points.suspendViews();
    rating.suspendViews();
    bool started = false;
    try {
        rating.clear();
        observer.hideBoundsPrompt();

        // Both commands turn bed elevations into gage heights.
        const double shift = run.elevationShift();
        if (mode == RatingMode::Main) {
            points.first();
            const double firstEnd = points.elevation();
            points.last();
            const double lastEnd = points.elevation();
            // The same double arithmetic as the area computation, so an end warns exactly when
            // the water at the maximum stands above it.
            if (firstEnd + shift < maximum || lastEnd + shift < maximum)
                observer.edgeWarning();
        }

        started = true;
        observer.beforeFirstStage();

        if (!run.finished()) {
            // The walk of the first stage settles the table; a row without station stops here,
            // before any thread is started.
            observer.progressPosition(1);
            points.first();
            if (stepCount >= 0)
                rating.reserve(static_cast<std::size_t>(stepCount) + 2);
            const std::span<const double> stations = points.stations();
            const std::span<const double> elevations = points.elevations();
            const std::int64_t expected = std::int64_t{std::max<std::int32_t>(stepCount, 0)} + 1;
            const Sharing sharing =
                shareOut(threads, stations.size(), static_cast<std::size_t>(expected));
            // Blocks keep the memory of a long rating bounded; the table holds the rows anyway.
            std::vector<double> stages(static_cast<std::size_t>(
                std::clamp<std::int64_t>(expected + 2, kLanes, kBlockStages)));
            std::vector<double> areas(stages.size());
            std::int64_t blockStart = 0;
            const bool connected = bounds.water == WaterExtent::ConnectedToLowest;
            // Each stage's area is the single-level walk's to the bit, whichever thread
            // computes it and however the stages are grouped.
            const ChunkWorkers::Job compute = [&](std::size_t first, std::size_t count) {
                const std::span<double> level(stages.data() + first, count);
                const std::span<double> area(areas.data() + first, count);
                if (connected)
                    connectedWettedAreas(stations, elevations, level, shift, area);
                else
                    wettedAreas(stations, elevations, level, shift, area);
                if (mode == RatingMode::Main) {
                    for (std::size_t j = 0; j < count; ++j) {
                        level[j] = roundScaled(level[j], 100);
                        area[j] = roundScaled(area[j], 1000);
                    }
                }
            };
            const ChunkWorkers::Job append = [&](std::size_t first, std::size_t count) {
                // Chunks already taken are finished by the other threads and dropped.
                if (observer.stopRequested())
                    throw RatingCancelled();
                for (std::size_t j = first; j < first + count; ++j) {
                    const std::int64_t position = blockStart + static_cast<std::int64_t>(j) + 1;
                    if (position > 1)
                        observer.progressPosition(static_cast<std::int32_t>(position));
                    rating.appendRow(stages[j], areas[j]);
                }
            };
            ChunkWorkers workers(sharing.threads);
            while (const std::size_t count = run.next(stages)) {
                if (observer.stopRequested())
                    throw RatingCancelled();
                workers.run(count, sharing.chunk, compute, append);
                blockStart += static_cast<std::int64_t>(count);
            }
            // Each stage's walk leaves the cursor on the last row with the end flag set.
            if (points.rowCount() > 0) {
                points.last();
                points.next();
            }
        }

        rating.first();
    } catch (...) {
        rating.clear();
        rating.resumeViews();
        points.resumeViews();
        if (started)
            observer.failed();
        throw;
    }
    rating.resumeViews();
    points.resumeViews();
    observer.finished();
}

} // namespace korvadel
