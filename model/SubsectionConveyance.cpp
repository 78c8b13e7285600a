// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/SubsectionConveyance.h"

#include "model/Error.h"
#include "model/Numbers.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace korvadel {

namespace {

// The water below `level` over one straight piece of bed from (a, ea) to (b, eb), a < b: its
// area by the rating's own triangle and trapezoid rules, and the wet length along its slope.
void addPiece(double a, double ea, double b, double eb, double level, SubsectionGeometry& into) {
    const double lo = std::min(ea, eb);
    const double hi = std::max(ea, eb);
    if (!(lo < level))
        return;
    const double w = b - a;
    double area = 0.0;
    if (ea > level)
        area = w / (ea - eb) * (0.5 * ((level - eb) * (level - eb)));
    else if (eb > level)
        area = w / (eb - ea) * (0.5 * ((level - ea) * (level - ea)));
    else
        area = w * (level - lo) - 0.5 * (hi - lo) * w;
    const double rise = hi - lo;
    const double length = rise == 0.0 ? w : std::hypot(w, rise);
    const double wet = level >= hi ? length : length * ((level - lo) / rise);
    into.area += area;
    into.wettedPerimeter += wet;
}

// The subsection holding station s: the number of boundaries at or before it, or with
// `closedRight` strictly before it (a boundary at s then belongs to the subsection on its left).
std::size_t subsectionAt(std::span<const double> boundaries, double s, bool closedRight) {
    const auto at = closedRight ? std::lower_bound(boundaries.begin(), boundaries.end(), s)
                                : std::upper_bound(boundaries.begin(), boundaries.end(), s);
    return static_cast<std::size_t>(at - boundaries.begin());
}

std::string roughnessList(const Subsections& subsections, NumberFormat format) {
    std::string list;
    for (std::size_t i = 0; i < subsections.roughness.size(); ++i) {
        if (i > 0)
            list += i + 1 == subsections.roughness.size() ? " and " : ", ";
        list += formatGeneral(subsections.roughness[i], format);
    }
    return list;
}

} // namespace

void checkSubsections(const Subsections& subsections, std::string_view boundariesName,
                      std::string_view roughnessName, NumberFormat format) {
    const std::vector<double>& boundaries = subsections.boundaries;
    for (std::size_t i = 0; i < boundaries.size(); ++i) {
        if (!std::isfinite(boundaries[i]))
            throw Error(std::string(boundariesName) + " must be finite numbers.");
        if (i > 0 && !(boundaries[i - 1] <= boundaries[i]))
            throw Error(std::string(boundariesName) +
                        " must rise from left to right: " + formatGeneral(boundaries[i], format) +
                        " follows " + formatGeneral(boundaries[i - 1], format) + ".");
    }
    if (subsections.roughness.size() != boundaries.size() + 1)
        throw Error(std::string(roughnessName) + " needs " + std::to_string(boundaries.size() + 1) +
                    " values, one for each subsection, not " +
                    std::to_string(subsections.roughness.size()) + ".");
    for (const double n : subsections.roughness)
        checkManningRoughness(n, roughnessName, format);
}

void subsectionGeometry(std::span<const double> stations, std::span<const double> elevations,
                        double level, double elevationShift, WaterExtent extent,
                        std::span<const double> boundaries,
                        std::span<SubsectionGeometry> out) noexcept {
    std::fill(out.begin(), out.end(), SubsectionGeometry{});
    const std::size_t n = std::min(stations.size(), elevations.size());
    if (n == 0 || out.size() != boundaries.size() + 1 || !std::isfinite(level))
        return;
    elevations = elevations.first(n);
    const double lowest = *std::min_element(elevations.begin(), elevations.end()) + elevationShift;
    if (!(lowest < level))
        return;
    const WaterRegion region = waterRegion(elevations, level, elevationShift, extent);

    if (region.leftWall && region.first == 0) {
        const double height = level - (elevations[0] + elevationShift);
        if (height > 0.0)
            out[subsectionAt(boundaries, stations[0], false)].wettedPerimeter += height;
    }
    if (region.rightWall && region.last == n - 1) {
        const double height = level - (elevations[n - 1] + elevationShift);
        if (height > 0.0)
            out[subsectionAt(boundaries, stations[n - 1], true)].wettedPerimeter += height;
    }
    for (std::size_t i = region.first; i < region.last; ++i) {
        double s1 = stations[i];
        double e1 = elevations[i] + elevationShift;
        double s2 = stations[i + 1];
        double e2 = elevations[i + 1] + elevationShift;
        if (s2 < s1) {
            std::swap(s1, s2);
            std::swap(e1, e2);
        }
        if (!(s1 < s2)) {
            // A vertical step: its wet height, all on one side of any boundary it stands on.
            const double lo = std::min(e1, e2);
            if (lo < level)
                out[subsectionAt(boundaries, s1, false)].wettedPerimeter +=
                    std::min(level, std::max(e1, e2)) - lo;
            continue;
        }
        std::size_t j = subsectionAt(boundaries, s1, false);
        double a = s1;
        double ea = e1;
        for (;;) {
            const double end = j < boundaries.size() ? std::min(s2, boundaries[j]) : s2;
            const double eEnd = end == s2 ? e2 : e1 + (e2 - e1) * ((end - s1) / (s2 - s1));
            if (a < end)
                addPiece(a, ea, end, eEnd, level, out[j]);
            if (!(end < s2))
                break;
            a = end;
            ea = eEnd;
            ++j;
        }
    }
}

SubsectionFlow subsectionFlow(std::span<const SubsectionGeometry> geometry,
                              const Subsections& subsections, double slope, UnitSystem units,
                              NumberFormat format) {
    checkEnergySlope(slope, "The slope", format);
    if (geometry.size() != subsections.count())
        throw Error("Manning's n needs one value for each subsection.");
    const long double k = manningConstant(units);
    constexpr long double largest = std::numeric_limits<double>::max();
    SubsectionFlow flow;
    flow.conveyances.reserve(geometry.size());
    long double total = 0.0L;
    bool tooLarge = false;
    for (std::size_t i = 0; i < geometry.size() && !tooLarge; ++i) {
        const double n = subsections.roughness[i];
        checkManningRoughness(n, "Manning's n", format);
        const SubsectionGeometry& g = geometry[i];
        const long double radius =
            g.wettedPerimeter > 0.0 ? static_cast<long double>(g.area) / g.wettedPerimeter : 0.0L;
        const long double conveyance = k / n * g.area * std::cbrt(radius * radius);
        tooLarge = !(std::fabs(conveyance) <= largest);
        total += conveyance;
        flow.conveyances.push_back(static_cast<double>(conveyance));
    }
    const long double discharge = total * std::sqrt(static_cast<long double>(slope));
    if (tooLarge || !(std::fabs(total) <= largest) || !(std::fabs(discharge) <= largest)) {
        throw Error("Manning's n " + roughnessList(subsections, format) + " and the slope " +
                    formatGeneral(slope, format) +
                    " give a conveyance or discharge too large to be represented.");
    }
    flow.total = {static_cast<double>(total), static_cast<double>(discharge)};
    return flow;
}

} // namespace korvadel
