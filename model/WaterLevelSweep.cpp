// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/WaterLevelSweep.h"

#include "model/CrossSectionDocument.h"
#include "model/Error.h"
#include "model/Numbers.h"

namespace korvadel {

WaterLevelSweep::Frame WaterLevelSweep::frameSection(CrossSectionDocument& document,
                                                     NumberFormat format) const {
    const GageSettings& settings = document.settings;
    const long double datum = textToExtended(settings.datum, format);
    (void)textToExtended(settings.minimum, format);
    const long double maximum = textToExtended(settings.maximum, format);
    long double top = maximum + datum;

    // Settling a pending row inside first() may fail ("Field 'Station' must have a value"): the
    // start stops there, half-started.
    PointTable& points = document.points;
    points.first();
    points.suspendViews();
    double minX = 0.0;
    double maxX = 0.0;
    if (!points.atEnd()) {
        minX = points.station();
        maxX = minX;
    }
    while (!points.atEnd()) {
        const double elevation = points.elevation();
        const double station = points.station();
        if (elevation > top)
            top = elevation;
        if (station > maxX)
            maxX = station;
        if (station < minX)
            minX = station;
        points.next();
    }
    points.resumeViews();
    points.first();

    const long double margin = (static_cast<long double>(maxX) - minX) * 0.02L;
    return Frame{static_cast<double>(minX - margin), static_cast<double>(maxX + margin),
                 static_cast<double>(top)};
}

void WaterLevelSweep::beginSweep(const GageSettings& settings, NumberFormat format) {
    const double increment = settings.increment();
    const long double datum = textToExtended(settings.datum, format);
    const long double minimum = textToExtended(settings.minimum, format);
    const long double maximum = textToExtended(settings.maximum, format);
    if (maximum == minimum)
        throw Error("Floating point division by zero");
    const long double steps = (maximum - minimum) / static_cast<long double>(increment);
    interval_ = truncateToInt32(1800.0L / steps, format);
    setLevel(maximum + datum, format);
    direction_ = 0;
}

double WaterLevelSweep::tick(const GageSettings& settings, NumberFormat format) {
    const long double level = levelValue(format);
    const long double datum = textToExtended(settings.datum, format);
    const long double increment = settings.increment();
    if (direction_ != 0) {
        if ((level - datum) + increment > textToExtended(settings.maximum, format))
            direction_ = 0;
        else
            setLevel(level + increment, format);
    } else {
        if ((level - datum) - increment < textToExtended(settings.minimum, format))
            direction_ = -1;
        else
            setLevel(level - increment, format);
    }
    return static_cast<double>(levelValue(format));
}

std::optional<double> WaterLevelSweep::level(NumberFormat format) const {
    double value = 0.0;
    if (levelText_.empty() || !tryTextToFloat(levelText_, value, format))
        return std::nullopt;
    return value;
}

long double WaterLevelSweep::levelValue(NumberFormat format) const {
    return textToExtended(levelText_, format);
}

void WaterLevelSweep::setLevel(long double value, NumberFormat format) {
    levelText_ = formatGeneral(value, format);
}

} // namespace korvadel
