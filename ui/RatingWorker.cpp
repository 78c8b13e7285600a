// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/RatingWorker.h"

#include <QEventLoop>
#include <QThread>

#include <memory>
#include <variant>

namespace korvadel {

// Runs on the worker thread and hands everything the run says over to the thread that waits.
class RatingWorker::Observer : public RatingObserver {
public:
    explicit Observer(RatingWorker& worker) : worker_(worker) {}

    void progressRange(std::int32_t minimum, std::int32_t maximum) override {
        queue([minimum, maximum](RatingWorker& w) { emit w.progressRange(minimum, maximum); });
    }
    void progressPosition(std::int32_t position) override { worker_.postProgress(position); }
    void hideBoundsPrompt() override {
        // Called right after the run emptied its rating.
        worker_.cleared_ = true;
        queue([](RatingWorker& w) { emit w.boundsTaken(); });
    }
    void edgeWarning() override {
        // Modal: the run waits until the warning has been closed.
        QMetaObject::invokeMethod(
            &worker_, [&w = worker_] { emit w.edgeWarning(); }, Qt::BlockingQueuedConnection);
    }
    void beforeFirstStage() override {
        queue([](RatingWorker& w) { emit w.computing(); });
    }
    bool stopRequested() override { return worker_.cancelled_.load(std::memory_order_relaxed); }

private:
    template <class Call> void queue(Call call) {
        QMetaObject::invokeMethod(
            &worker_, [&w = worker_, call] { call(w); }, Qt::QueuedConnection);
    }

    RatingWorker& worker_;
};

RatingWorker::RatingWorker(const PointTable& points, RatingMode mode, RatingBounds bounds,
                           NumberFormat format, QObject* parent)
    : QObject(parent), points_(points), mode_(mode), bounds_(std::move(bounds)), format_(format) {
    // The copy is the run's own, with no listener of the original: what it commits is no step
    // of the user's history.
}

RatingWorker::~RatingWorker() = default;

void RatingWorker::postProgress(int position) {
    latestPosition_.store(position, std::memory_order_relaxed);
    // One delivery waiting in the event loop at a time; it reads the latest position then.
    if (!positionPosted_.exchange(true, std::memory_order_acq_rel))
        QMetaObject::invokeMethod(this, &RatingWorker::deliverProgress, Qt::QueuedConnection);
}

void RatingWorker::deliverProgress() {
    positionPosted_.store(false, std::memory_order_release);
    emit progress(latestPosition_.load(std::memory_order_relaxed));
}

void RatingWorker::run() {
    const TableSubscription missing = points_.subscribe([this](const PointTable::Event& event) {
        if (std::holds_alternative<PointTable::MissingStation>(event))
            stationMissing_ = true;
    });
    std::unique_ptr<QThread> thread(QThread::create([this] {
        Observer observer(*this);
        try {
            generateRating(mode_, bounds_, points_, result_, observer, format_);
        } catch (...) {
            error_ = std::current_exception();
        }
    }));
    thread->setObjectName(QStringLiteral("rating"));
    QEventLoop loop;
    // Queued to this thread behind everything the run posted before it ended, so the loop ends
    // after the last progress and warning have been handled.
    connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    thread->start();
    loop.exec();
    thread->wait();
    if (error_)
        std::rethrow_exception(error_);
}

} // namespace korvadel
