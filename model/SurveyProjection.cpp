// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/SurveyProjection.h"

#include "model/Error.h"
#include "model/Numbers.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace korvadel {

namespace {

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

bool sameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lower(x) == lower(y); });
}

// The pin named `name`: the point of exactly that name, else the one point whose name equals it
// ignoring case. `side` ("left", "right") is for the messages.
std::size_t findPin(std::span<const SurveyPoint> points, const std::string& name,
                    const char* side) {
    std::optional<std::size_t> exact;
    std::optional<std::size_t> folded;
    std::size_t exactCount = 0;
    std::size_t foldedCount = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (points[i].name == name) {
            exact = exact.value_or(i);
            ++exactCount;
        } else if (sameIgnoringCase(points[i].name, name)) {
            folded = folded.value_or(i);
            ++foldedCount;
        }
    }
    if (exactCount > 1 || (exactCount == 0 && foldedCount > 1))
        throw Error(std::string("The ") + side + " pin '" + name + "' names " +
                    std::to_string(exactCount > 1 ? exactCount : foldedCount) +
                    " points; pins need names of their own");
    if (exact)
        return *exact;
    if (folded)
        return *folded;
    throw Error(std::string("No point is named '") + name + "' (the " + side + " pin)");
}

// Stations and offsets are kept to a ten-thousandth of the coordinates' unit, far finer than any
// survey: coordinates such as 512349.11 are not exact in binary, and their projections would
// otherwise carry that noise into the section as 9.9999999997069 for 10.
constexpr long double kPlaces = 10000;

void requireFinite(double value, const char* what) {
    if (!std::isfinite(value))
        throw Error(std::string(what) + " must be a finite number");
}

} // namespace

SurveyProjection projectSurvey(std::span<const SurveyPoint> points, const SurveyLine& line,
                               NumberFormat format) {
    if (points.size() < 2)
        throw Error(points.empty() ? "No surveyed points were read (a section line needs two)"
                                   : "Only one surveyed point was read (a section line needs two)");
    requireFinite(line.startStation, "The start station");
    requireFinite(line.maxOffset, "The largest offset");
    if (line.maxOffset < 0.0)
        throw Error("The largest offset must be 0 or more, not " +
                    formatGeneral(line.maxOffset, format));
    for (const SurveyPoint& point : points) {
        if (!std::isfinite(point.easting) || !std::isfinite(point.northing) ||
            !std::isfinite(point.elevation))
            throw Error("The coordinates of point '" + point.name + "' must be finite numbers");
    }

    const std::size_t left = line.leftPin.empty() ? 0 : findPin(points, line.leftPin, "left");
    const std::size_t right =
        line.rightPin.empty() ? points.size() - 1 : findPin(points, line.rightPin, "right");
    if (left == right)
        throw Error("The left and right pins are the same point, '" + points[left].name + "'");

    SurveyProjection projection;
    projection.from = line.flip ? right : left;
    projection.to = line.flip ? left : right;
    const SurveyPoint& p0 = points[projection.from];
    const SurveyPoint& p1 = points[projection.to];
    const double dx = p1.easting - p0.easting;
    const double dy = p1.northing - p0.northing;
    projection.length = std::hypot(dx, dy);
    if (!(projection.length > 0.0) || !std::isfinite(projection.length))
        throw Error("The pins '" + p0.name + "' and '" + p1.name +
                    "' lie at the same place; the section line needs two points apart");
    const double ux = dx / projection.length;
    const double uy = dy / projection.length;
    // Beyond a pin as the stations show it, so that a far pin's rounding never flags it.
    const double end = roundScaled(projection.length, kPlaces);
    projection.points.reserve(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double px = points[i].easting - p0.easting;
        const double py = points[i].northing - p0.northing;
        ProjectedPoint projected;
        projected.index = i;
        const bool pin = i == projection.from || i == projection.to;
        const double exact = i == projection.from ? 0.0
                             : i == projection.to ? projection.length
                                                  : px * ux + py * uy;
        const double along = roundScaled(exact, kPlaces);
        projected.station = roundScaled(line.startStation + exact, kPlaces);
        projected.offset = pin ? 0.0 : roundScaled(ux * py - uy * px, kPlaces);
        projected.offLine = std::fabs(projected.offset) > line.maxOffset;
        projected.beyondPins = along < 0.0 || along > end;
        projected.kept = !(line.dropOffLine && (projected.offLine || projected.beyondPins));
        if (projected.offLine || projected.beyondPins) {
            std::string warning = "Point '" + points[i].name + "' at station " +
                                  formatGeneral(projected.station, format);
            if (projected.offLine)
                warning += " lies " + formatGeneral(std::fabs(projected.offset), format) +
                           (projected.offset > 0 ? " downstream" : " upstream") +
                           " of the section line (more than " +
                           formatGeneral(line.maxOffset, format) + ")";
            if (projected.beyondPins)
                warning += std::string(projected.offLine ? " and" : "") + " lies beyond the " +
                           ((along < 0.0) != line.flip ? "left" : "right") + " pin";
            warning += projected.kept ? "." : "; left out.";
            projection.warnings.push_back(std::move(warning));
        }
        projection.points.push_back(projected);
    }
    return projection;
}

} // namespace korvadel
