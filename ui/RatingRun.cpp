#include "ui/RatingRun.h"

#include "components/Chart.h"
#include "components/DesktopSeam.h"
#include "components/GradientProgressBar.h"
#include "ui/ElevWarn.h"
#include "ui/Main.h"
#include "ui/Placement.h"
#include "ui/Progress.h"
#include "ui/SAForm.h"
#include "ui/Windows.h"
#include "ui/tableprompt.h"

using namespace korvadel;

namespace {

class WindowObserver : public RatingObserver {
public:
    explicit WindowObserver(ProgramContext& context) : context_(context) {}

    void progressRange(std::int32_t minimum, std::int32_t maximum) override {
        if (TProgressForm* progress = context_.windows.ProgressForm) {
            // The bar ignores a maximum below its minimum, so the order matters.
            progress->ProgressBar1->setMinimum(minimum);
            progress->ProgressBar1->setMaximum(maximum);
        }
    }

    void progressPosition(std::int32_t position) override {
        if (TProgressForm* progress = context_.windows.ProgressForm)
            progress->setPosition(position);
    }

    void hideBoundsPrompt() override {
        if (TPromptWindow* prompt = context_.windows.PromptWindow)
            prompt->hide();
    }

    void edgeWarning() override {
        TEWForm* warning = context_.windows.EWForm;
        if (!warning)
            return;
        warning->setWindowModality(Qt::ApplicationModal);
        centreOnScreen(warning);
        context_.seam->execModal(*warning);
    }

    void beforeFirstStage() override {
        TProgressForm* progress = context_.windows.ProgressForm;
        if (!progress)
            return;
        // No event is handled until the run ends, so the dialog paints itself now.
        progress->showNow();
    }

    void finished() override {
        hideProgress();
        if (TForm2* ratingWindow = context_.windows.Form2) {
            ratingWindow->DBChart1->refreshFromTable();
            ratingWindow->showRating();
        }
    }

    void failed() override { hideProgress(); }

private:
    void hideProgress() {
        if (TProgressForm* progress = context_.windows.ProgressForm)
            progress->hide();
    }

    ProgramContext& context_;
};

} // namespace

void runRating(ProgramContext& context, RatingMode mode, const RatingBounds& bounds) {
    TForm1* main = context.windows.Form1;
    TForm2* ratingWindow = context.windows.Form2;
    if (!main || !ratingWindow)
        return;
    WindowObserver observer(context);
    try {
        generateRating(mode, bounds, main->document().points, ratingWindow->MemSA, observer,
                       context.format);
    } catch (...) {
        observer.failed();
        throw;
    }
}
