// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace korvadel {

// Threads that share out the chunks of one job at a time, for as long as the object lives
// (one rating run). The calling thread works on the chunks too and is the only thread that
// hears about them finishing: `done` is called on it, once per chunk, in ascending order, so an
// observer that is not thread-safe (a progress bar, a table with views) can follow along.
//
// A worker takes part in a job only if it wakes while chunks are left: on a busy machine the
// calling thread waits for the chunks in hand, never for a worker still waiting to be
// scheduled. With one thread nothing is started and run() is a plain loop over the chunks.
class ChunkWorkers {
public:
    // Called with the first index and the length of a chunk. A job must not throw: it runs on
    // worker threads, where an exception has nowhere to go.
    using Job = std::function<void(std::size_t first, std::size_t count)>;

    // `threads` counts the calling thread; a thread the system refuses to start is done without.
    explicit ChunkWorkers(unsigned threads);
    ~ChunkWorkers();
    ChunkWorkers(const ChunkWorkers&) = delete;
    ChunkWorkers& operator=(const ChunkWorkers&) = delete;

    unsigned threads() const { return static_cast<unsigned>(workers_.size()) + 1; }

    // Runs `job` over [0, size) in chunks of `chunk` (the last may be shorter; more than 2^32
    // chunks are made fewer and longer) and returns when every chunk is done. When `done`
    // throws, the chunks not yet taken are skipped, those taken are finished, and the exception
    // propagates.
    void run(std::size_t size, std::size_t chunk, const Job& job, const Job& done);

private:
    struct Posted {
        std::uint32_t generation = 0;
        const Job* job = nullptr;
        std::size_t size = 0;
        std::size_t chunk = 1;
        std::uint32_t chunks = 0;
    };

    void workerLoop();
    // Takes chunks of `posted` until none is left or another job has been posted, calling
    // `afterEach` after each.
    template <typename AfterEach> void takeChunks(const Posted& posted, AfterEach afterEach);
    void waitFor(std::uint32_t chunk);

    std::mutex mutex_;
    std::condition_variable wake_;          // a job was posted or the object is going away
    std::condition_variable chunkFinished_; // a worker finished a chunk
    bool stop_ = false;
    Posted posted_; // the current job, written and read under the mutex

    // The ticket: the current job's generation in the high half, the next chunk to take in the
    // low half. A worker that woke for an older job finds another generation and takes nothing.
    std::atomic<std::uint64_t> ticket_{0};
    std::unique_ptr<std::atomic<bool>[]> finished_;
    std::size_t finishedCapacity_ = 0;

    std::vector<std::jthread> workers_; // last, so the threads stop before the state goes
};

} // namespace korvadel
