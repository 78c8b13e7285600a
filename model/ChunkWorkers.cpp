// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ChunkWorkers.h"

#include <algorithm>
#include <limits>
#include <system_error>

namespace korvadel {

namespace {

constexpr std::uint64_t ticket(std::uint32_t generation, std::uint32_t chunk) {
    return std::uint64_t{generation} << 32 | chunk;
}

} // namespace

ChunkWorkers::ChunkWorkers(unsigned threads) {
    const unsigned extra = threads > 1 ? threads - 1 : 0;
    workers_.reserve(extra);
    for (unsigned i = 0; i < extra; ++i) {
        try {
            workers_.emplace_back([this] { workerLoop(); });
        } catch (const std::system_error&) {
            break; // fewer threads share the work; the results do not depend on how many
        }
    }
}

ChunkWorkers::~ChunkWorkers() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    workers_.clear(); // joins
}

template <typename AfterEach>
void ChunkWorkers::takeChunks(const Posted& posted, AfterEach afterEach) {
    std::uint64_t seen = ticket_.load(std::memory_order_relaxed);
    while (true) {
        const auto chunk = static_cast<std::uint32_t>(seen);
        if (seen >> 32 != posted.generation || chunk >= posted.chunks)
            return;
        // Taking the chunk needs no more ordering than the ticket's own: the job's data was
        // published with the job, under the mutex, and a chunk of this generation exists only
        // until its finished flag is set.
        if (!ticket_.compare_exchange_weak(seen, seen + 1, std::memory_order_relaxed))
            continue;
        const std::size_t first = std::size_t{chunk} * posted.chunk;
        (*posted.job)(first, std::min(posted.chunk, posted.size - first));
        // Set under the mutex, so that the calling thread cannot miss it between looking at the
        // flag and going to sleep. Nothing of the job is touched once the flag is set: the
        // calling thread may go on to the next job (and replace the flags) at once.
        {
            const std::lock_guard lock(mutex_);
            finished_[chunk].store(true, std::memory_order_release);
        }
        chunkFinished_.notify_one();
        afterEach();
        seen = ticket_.load(std::memory_order_relaxed);
    }
}

void ChunkWorkers::workerLoop() {
    std::uint32_t seen = 0;
    while (true) {
        Posted posted;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return stop_ || posted_.generation != seen; });
            if (stop_)
                return;
            posted = posted_;
            seen = posted.generation;
        }
        takeChunks(posted, [] {});
    }
}

void ChunkWorkers::waitFor(std::uint32_t chunk) {
    std::unique_lock lock(mutex_);
    chunkFinished_.wait(lock, [&] { return finished_[chunk].load(std::memory_order_acquire); });
}

void ChunkWorkers::run(std::size_t size, std::size_t chunk, const Job& job, const Job& done) {
    if (size == 0)
        return;
    constexpr std::size_t kMostChunks = std::numeric_limits<std::uint32_t>::max();
    chunk = std::max({chunk, std::size_t{1}, (size - 1) / kMostChunks + 1});
    const auto chunks = static_cast<std::uint32_t>((size - 1) / chunk + 1);
    Posted posted;
    {
        const std::lock_guard lock(mutex_);
        if (finishedCapacity_ < chunks) {
            finished_ = std::make_unique<std::atomic<bool>[]>(chunks);
            finishedCapacity_ = chunks;
        }
        for (std::uint32_t c = 0; c < chunks; ++c)
            finished_[c].store(false, std::memory_order_relaxed);
        posted_ = {posted_.generation + 1, &job, size, chunk, chunks};
        posted = posted_;
        ticket_.store(ticket(posted.generation, 0), std::memory_order_relaxed);
    }
    if (!workers_.empty())
        wake_.notify_all();

    std::uint32_t reported = 0;
    auto report = [&] {
        while (reported < chunks && finished_[reported].load(std::memory_order_acquire)) {
            const std::size_t first = std::size_t{reported} * chunk;
            done(first, std::min(chunk, size - first));
            ++reported;
        }
    };
    try {
        takeChunks(posted, report);
        // Whatever is left is in the workers' hands; report it as it comes.
        while (reported < chunks) {
            waitFor(reported);
            report();
        }
    } catch (...) {
        // Nothing more is handed out; the chunks already taken may still be running on the job's
        // data, which the caller is about to unwind.
        const std::uint64_t stopped =
            ticket_.exchange(ticket(posted.generation, chunks), std::memory_order_relaxed);
        const auto taken = std::min(static_cast<std::uint32_t>(stopped), chunks);
        for (std::uint32_t c = 0; c < taken; ++c)
            waitFor(c);
        throw;
    }
}

} // namespace korvadel
