#include "ui/Workspace.h"

#include "components/desktop/PrinterAccess.h"

namespace korvadel {

namespace {

// Passes a rating run's progress on as the workspace's signals.
class SignallingObserver : public RatingObserver {
public:
    explicit SignallingObserver(Workspace& workspace) : workspace_(workspace) {}

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
        emit workspace_.ratingRunEnded();
        emit workspace_.ratingCreated();
    }
    void failed() override { emit workspace_.ratingRunEnded(); }

private:
    Workspace& workspace_;
};

} // namespace

Workspace::Workspace(DesktopSeam& seam, NumberFormat format, QObject* parent)
    : QObject(parent), seam_(seam), format_(format), commands_(seam), history_(document_) {}

const PrinterAccess& Workspace::printers() const {
    return printers_ ? *printers_ : systemPrinters();
}

void Workspace::createRating(RatingMode mode, const RatingBounds& bounds) {
    SignallingObserver observer(*this);
    try {
        generateRating(mode, bounds, document_.points, rating_, observer, format_);
    } catch (...) {
        // A run reports its own end only once it has started; one refused before that ends here.
        observer.failed();
        throw;
    }
}

} // namespace korvadel
