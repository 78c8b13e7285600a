#pragma once

#include "model/NumberFormat.h"

#include <QString>

#include <cstdint>
#include <vector>

class QLineEdit;
class QPushButton;
class QTimer;
class QWidget;

namespace korvadel {

class Chart;
class CrossSectionDocument;
class DataGrid;

// The water level sweeping down and up through the cross-section chart. The main window owns
// one and hands it its controls; the button's caption is the animation's state, the hidden
// level field holds the water level as text (an elevation in the general number format), and
// the timer drives tick().
//
// The level passes through its 15-digit text at every step and the arithmetic is done in
// extended precision with the increment as the setting's double; that combination decides
// where the sweep turns (0..1 by 0.01 turns at 0.01 and 0.99), so it is kept exactly.
class WaterLevelAnimation {
public:
    static const QString kStartCaption; // "&Animate Cross Section"
    static const QString kStopCaption;  // "Stop Cross Section Animation"

    struct Parts {
        CrossSectionDocument* document = nullptr;
        QPushButton* button = nullptr;
        QTimer* timer = nullptr;
        QLineEdit* level = nullptr;
        Chart* chart = nullptr;
        // Minimum, maximum, increment, datum and the point grid: off while the level moves.
        std::vector<QWidget*> inputs;
        NumberFormat format;
        // The grid that shows the table's cursor, put on the first row by the start.
        DataGrid* grid = nullptr;
    };

    explicit WaterLevelAnimation(Parts parts);

    // The button: starts when the caption is the start caption, stops otherwise. A start that
    // fails leaves the animation half-started (inputs off, stop caption, no timer) and throws;
    // the next toggle stops it.
    void toggle();
    void start();
    void stop();
    // One timer tick: one step, or a reversal that does not move the level.
    void tick();

    bool running() const;
    // 0 while the level falls; -1 while it rises.
    std::int32_t direction() const { return direction_; }
    // Interval the last start computed (milliseconds); the timer runs only when it is positive.
    std::int32_t interval() const { return interval_; }

private:
    long double levelValue() const;
    void setLevel(long double value);
    void showLevel(long double value);

    Parts parts_;
    std::int32_t direction_ = 0;
    std::int32_t interval_ = 0;
};

} // namespace korvadel
