// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Workspace.h"

#include "components/desktop/PrinterAccess.h"
#include "model/SectionPoints.h"

#include <cstring>

namespace korvadel {

// Passes a rating run's progress on as the workspace's signals.
class SignallingObserver : public RatingObserver {
public:
    SignallingObserver(Workspace& workspace, const RatingBounds& bounds)
        : workspace_(workspace), bounds_(bounds) {}

    void progressRange(std::int32_t minimum, std::int32_t maximum) override {
        emit workspace_.ratingProgressRange(minimum, maximum);
    }
    void progressPosition(std::int32_t position) override {
        emit workspace_.ratingProgress(position);
    }
    void hideBoundsPrompt() override { emit workspace_.ratingBoundsTaken(); }
    void edgeWarning() override { emit workspace_.ratingEdgeWarning(); }
    void beforeFirstStage() override { emit workspace_.ratingComputing(); }
    void finished() override {
        // Recorded before anyone hears of the new rating, so that what follows it finds the run.
        if (workspace_.rating_.rowCount() > 0)
            workspace_.ratingRun_ = Workspace::RatingRun{bounds_, workspace_.rating_.recIdAt(0)};
        emit workspace_.ratingRunEnded();
        emit workspace_.ratingCreated();
    }
    void failed() override { emit workspace_.ratingRunEnded(); }

private:
    Workspace& workspace_;
    const RatingBounds& bounds_;
};

Workspace::Workspace(DesktopSeam& seam, NumberFormat format, QObject* parent)
    : QObject(parent), seam_(seam), format_(format), commands_(seam), history_(document_) {}

const PrinterAccess& Workspace::printers() const {
    return printers_ ? *printers_ : systemPrinters();
}

void Workspace::createRating(RatingMode mode, const RatingBounds& bounds) {
    SignallingObserver observer(*this, bounds);
    // A run that fails leaves the rating empty; one that completes records itself.
    ratingRun_.reset();
    try {
        generateRating(mode, bounds, document_.points, rating_, observer, format_);
    } catch (...) {
        // A run reports its own end only once it has started; one refused before that ends here.
        observer.failed();
        throw;
    }
}

void Workspace::noteRead(const ReadSummary& summary) {
    readUnsorted_ = summary.unsortedStations;
    readFingerprint_ = readUnsorted_ > 0 ? pointsFingerprint() : 0;
}

std::size_t Workspace::unsortedStations() const {
    if (readUnsorted_ == 0)
        return 0;
    return pointsFingerprint() == readFingerprint_ ? readUnsorted_ : 0;
}

std::uint64_t Workspace::pointsFingerprint() const {
    // FNV-1a over the section's numbers: any typed, inserted or deleted point changes it.
    const SectionPoints section = sectionPoints(document_.points);
    std::uint64_t hash = 14695981039346656037ull;
    auto mix = [&hash](const std::vector<double>& column) {
        for (const double value : column) {
            unsigned char bytes[sizeof value];
            std::memcpy(bytes, &value, sizeof value);
            for (const unsigned char byte : bytes)
                hash = (hash ^ byte) * 1099511628211ull;
        }
        hash = (hash ^ column.size()) * 1099511628211ull;
    };
    mix(section.stations);
    mix(section.elevations);
    return hash;
}

} // namespace korvadel
