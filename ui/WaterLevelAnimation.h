// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/NumberFormat.h"

#include <QString>

#include <vector>

class QAction;
class QPushButton;
class QTimer;
class QWidget;

namespace korvadel {

class Chart;
class CrossSectionDocument;
class DataGrid;
class WaterLevelSweep;

// Shows the water-level sweep in the main window and drives it: the button starts and stops it
// and its caption shows which it will do, the timer ticks it, the cross-section chart holds its
// axes still and fills up to the level, and the gage-height inputs and the point grid are off
// while it runs. The sweep itself (level, direction, turning rule) is model state.
class WaterLevelAnimation {
public:
    static const QString kStartCaption; // "&Animate Cross Section"
    static const QString kStopCaption;  // "Stop Cross Section Animation"

    struct Parts {
        WaterLevelSweep* sweep = nullptr;
        CrossSectionDocument* document = nullptr;
        QPushButton* button = nullptr;
        QTimer* timer = nullptr;
        Chart* chart = nullptr;
        // Minimum, maximum, increment, datum and the point grid: off while the level moves.
        std::vector<QWidget*> inputs;
        NumberFormat format;
        // The grid that shows the table's cursor, put on the first row by the start.
        DataGrid* grid = nullptr;
        // The stop command that has no caption of its own (Escape): enabled while running.
        QAction* stopAction = nullptr;
    };

    explicit WaterLevelAnimation(Parts parts);

    // The button: stops a running sweep, starts one otherwise. A start that fails leaves the
    // sweep half-started (inputs off, stop caption, no timer) and throws; the next toggle stops
    // it.
    void toggle();
    void start();
    void stop();
    // One timer tick.
    void tick();

private:
    // Caption and inputs as the sweep's state is.
    void showState();

    Parts parts_;
};

} // namespace korvadel
