// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/NumberFormat.h"

#include <cstdint>
#include <optional>
#include <string>

namespace korvadel {

class CrossSectionDocument;
class GageSettings;

// The water level sweeping down and up through the cross-section: its level, its direction and
// the rule that turns it. The main window shows it (the chart's fill baseline, the animation
// button's caption) and drives it with a timer.
//
// The level is an elevation held as its text in the general number format, and every step passes
// through that text; the arithmetic is done in extended precision with the increment as the
// setting's double. That combination decides where the sweep turns (0..1 by 0.01 turns at 0.01
// and 0.99), so it is kept exactly.
class WaterLevelSweep {
public:
    // Where the chart's axes stay while the level moves: the stations with 2 % of their span on
    // each side, and the top of the elevation axis (the highest point or maximum + datum).
    struct Frame {
        double stationMinimum = 0.0;
        double stationMaximum = 0.0;
        double top = 0.0;
    };

    // From here on the sweep is running: a start that fails in one of the steps that follow
    // stays half-started until stop().
    void start() { running_ = true; }
    // The start's first step: converts datum, minimum and maximum, then walks the points from
    // the first row (settling a pending row, which may fail) with their views suspended, and
    // leaves the cursor on the first row. Throws Error with the user's message.
    Frame frameSection(CrossSectionDocument& document, NumberFormat format) const;
    // The start's second step, once the chart shows the frame: the timer interval (a sweep
    // takes about 1.8 s, one step per increment), the level at the maximum, falling. Throws
    // "Floating point division by zero" for equal bounds, and the integer conversion's message
    // for an interval beyond 32 bits; the level and the direction are then unchanged.
    void beginSweep(const GageSettings& settings, NumberFormat format);
    void stop() { running_ = false; }
    // One tick: one step, or a reversal that does not move the level. Returns the level for the
    // chart. Throws Error when a setting or the level does not convert.
    double tick(const GageSettings& settings, NumberFormat format);

    bool running() const { return running_; }
    const std::string& levelText() const { return levelText_; }
    // The level as the chart draws it; nothing when its text is empty or does not convert.
    std::optional<double> level(NumberFormat format) const;
    // 0 while the level falls; -1 while it rises.
    std::int32_t direction() const { return direction_; }
    // Milliseconds between ticks as the last start computed them; the timer runs only when this
    // is positive (0: more than 1800 steps per sweep, negative: maximum below minimum).
    std::int32_t interval() const { return interval_; }

private:
    long double levelValue(NumberFormat format) const;
    void setLevel(long double value, NumberFormat format);

    bool running_ = false;
    std::string levelText_ = "0.00"; // the fill baseline before any animation
    std::int32_t direction_ = 0;
    std::int32_t interval_ = 0;
};

} // namespace korvadel
