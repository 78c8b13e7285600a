// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WaterLevelAnimation.h"

#include "components/chart/Chart.h"
#include "components/grid/DataGrid.h"
#include "model/CrossSectionDocument.h"
#include "model/WaterLevelSweep.h"

#include <QAction>
#include <QPushButton>
#include <QTimer>

#include <utility>

namespace korvadel {

const QString WaterLevelAnimation::kStartCaption = QStringLiteral("&Animate Cross Section");
const QString WaterLevelAnimation::kStopCaption = QStringLiteral("Stop Cross Section Animation");

WaterLevelAnimation::WaterLevelAnimation(Parts parts) : parts_(std::move(parts)) {
    showState();
}

void WaterLevelAnimation::toggle() {
    if (parts_.sweep->running())
        stop();
    else
        start();
}

void WaterLevelAnimation::showState() {
    const bool running = parts_.sweep->running();
    for (QWidget* input : parts_.inputs)
        input->setEnabled(!running);
    parts_.button->setText(running ? kStopCaption : kStartCaption);
    if (parts_.stopAction)
        parts_.stopAction->setEnabled(running);
}

void WaterLevelAnimation::start() {
    WaterLevelSweep& sweep = *parts_.sweep;
    sweep.start();
    showState();

    const WaterLevelSweep::Frame frame = sweep.frameSection(*parts_.document, parts_.format);
    // The walk's resume showed the cursor where the walk left it, on the last row.
    if (parts_.grid)
        parts_.grid->followTableCursor();
    parts_.chart->setAxisRangesFixed(frame.stationMinimum, frame.stationMaximum, frame.top);

    sweep.beginSweep(parts_.document->settings, parts_.format);
    const int interval = sweep.interval();
    parts_.timer->setInterval(interval > 0 ? interval : 0);
    // A timer of zero or less milliseconds would fire on every pass of the event loop; the
    // animation then runs without moving until it is stopped.
    if (interval > 0)
        parts_.timer->start();
    else
        parts_.timer->stop();

    // The series follows the table by itself; the redraw puts the fill at the new level.
    parts_.chart->replot(QCustomPlot::rpQueuedReplot);
}

void WaterLevelAnimation::stop() {
    parts_.timer->stop();
    parts_.sweep->stop();
    showState();
    parts_.chart->setAutomaticAxes();
}

void WaterLevelAnimation::tick() {
    const double level = parts_.sweep->tick(parts_.document->settings, parts_.format);
    parts_.chart->setReferenceLevel(level);
    parts_.chart->replot(QCustomPlot::rpQueuedReplot);
}

} // namespace korvadel
