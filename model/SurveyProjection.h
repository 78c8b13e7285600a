// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/NumberFormat.h"

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace korvadel {

// A point shot by a total station or a satellite receiver: its name and coordinates.
struct SurveyPoint {
    std::string name;
    double easting = 0.0;
    double northing = 0.0;
    double elevation = 0.0;
};

// How surveyed points become a cross section: the section line runs from the left pin to the
// right pin, left and right as seen facing downstream.
struct SurveyLine {
    // The pins by point name (the exact name, else the one name equal to it ignoring case);
    // empty: the first point, and the last point.
    std::string leftPin;
    std::string rightPin;
    // The station of the left pin.
    double startStation = 0.0;
    // Points farther than this from the line are reported.
    double maxOffset = 1.0;
    // Leave out the points reported as off the line or beyond the pins.
    bool dropOffLine = false;
    // Swap left and right: the stations run from the right pin instead.
    bool flip = false;
};

// One point on the section line. Station and offset are rounded to 4 decimals (a tenth of a
// millimetre in metres): enough for any survey, and free of the noise that coordinates of
// hundreds of thousands of units bring into the last digits.
struct ProjectedPoint {
    std::size_t index = 0; // in the points given
    // startStation + (P - P0) . u, with P0 the pin the stations run from and u the unit vector
    // from it to the other pin.
    double station = 0.0;
    // u x (P - P0): the signed distance from the line, positive on the left of the line walked
    // from P0 towards the other pin. With the pins as named, facing downstream, that is
    // downstream of the line; upstream is negative.
    double offset = 0.0;
    bool offLine = false;    // |offset| above the largest offset allowed
    bool beyondPins = false; // before the first pin or past the other along the line
    bool kept = true;        // in the section (false only for points dropped as off the line)
};

struct SurveyProjection {
    // The pins, as indices into the points given: `from` the one the stations run from (the
    // left pin, or the right pin with flip), `to` the other.
    std::size_t from = 0;
    std::size_t to = 0;
    double length = 0.0;                // between the pins
    std::vector<ProjectedPoint> points; // in the order given
    // One line per point reported, in the order given, naming the point.
    std::vector<std::string> warnings;
};

// Projects every point onto the section line. Throws Error when there are fewer than two
// points, a pin is not found or its name is not unique, the two pins are one point or lie at
// the same place, or a coordinate or an option is not a finite number (the largest offset also
// not below 0). Numbers in the warnings take `format`'s decimal separator.
SurveyProjection projectSurvey(std::span<const SurveyPoint> points, const SurveyLine& line,
                               NumberFormat format = {});

} // namespace korvadel
