// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/NumberFormat.h"
#include "model/PointTable.h"
#include "model/RatingGenerator.h"
#include "model/RatingTable.h"

#include <QObject>

#include <atomic>
#include <exception>

namespace korvadel {

// One rating run on a worker thread, so that the windows keep repainting and the progress
// dialog's Cancel is heard while it computes.
//
// The run works on its own copy of the points (taken as the user has them, a row being typed
// included) and fills a rating of its own: the document and the rating the windows show are not
// touched until it completes, so a run that is cancelled or fails leaves them exactly as they
// were. It is the same generateRating the command line runs, so the rows are the same bits.
//
// run() starts the thread and waits for it in a local event loop; the signals below come on the
// calling thread while it waits. The edge warning holds the run until its slot returns, as the
// warning is modal. Progress positions are passed on at most once per pass of the event loop,
// the latest each time, so a run of millions of stages does not flood the loop.
class RatingWorker : public QObject {
    Q_OBJECT
public:
    RatingWorker(const PointTable& points, RatingMode mode, RatingBounds bounds,
                 NumberFormat format, QObject* parent = nullptr);
    ~RatingWorker() override;

    // Runs the rating and returns when it has ended; the run's error, if any, is rethrown
    // (RatingCancelled for a cancelled run).
    void run();
    // Asks the run to stop; it stops at its next block of stages. Safe from any thread.
    void cancel() { cancelled_.store(true, std::memory_order_relaxed); }

    RatingTable& result() { return result_; }
    // The points as the run left them (settled, cursor where the run leaves it).
    const PointTable& points() const { return points_; }
    // The run stopped at a row without a station.
    bool stationMissing() const { return stationMissing_; }
    // The run got as far as emptying its rating (a run that fails afterwards leaves the rating
    // empty; one refused before leaves it alone).
    bool cleared() const { return cleared_; }

signals:
    void progressRange(int minimum, int maximum);
    void progress(int position);
    void boundsTaken();
    void edgeWarning();
    void computing();

private:
    class Observer;
    void postProgress(int position);
    void deliverProgress();

    PointTable points_;
    RatingTable result_;
    RatingMode mode_;
    RatingBounds bounds_;
    NumberFormat format_;
    std::atomic<bool> cancelled_{false};
    std::atomic<int> latestPosition_{0};
    std::atomic<bool> positionPosted_{false};
    bool stationMissing_ = false;
    bool cleared_ = false;
    std::exception_ptr error_;
};

} // namespace korvadel
