// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/NumberFormat.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvadel {

// Whether a finding casts doubt on the rating (warning) or is worth knowing (info).
enum class Severity { Warning, Info };

// What a finding is about. The declaration order is the order of findings that share a
// severity and a station.
enum class FindingCode {
    TooFewPoints,      // fewer than two points
    MissingElevation,  // a point without elevation, which counts as elevation 0
    UnsortedInput,     // the file listed stations out of order and they were reordered
    MinimumBelowBed,   // the minimum gage height lies below the lowest bed
    MaximumAboveBanks, // the maximum gage height lies above the bank on both sides
    EndBelowMaximum,   // an end point lies below the water at the maximum gage height
    IsolatedWater,     // water at the maximum stands apart from the lowest point
    DuplicateStation,  // several points at one station
    WideGap,           // neighbouring stations much farther apart than usual
    Spike,             // a point far above or below both neighbours
};

// The code as it is written: "too-few-points", "duplicate-station", ...
std::string_view findingCodeName(FindingCode code) noexcept;
std::string_view severityName(Severity severity) noexcept; // "warning" or "info"

struct Finding {
    Severity severity = Severity::Info;
    FindingCode code = FindingCode::TooFewPoints;
    std::optional<double> station; // the point the finding belongs to, if any
    std::string message;           // one line, the program's own words
};

// What the check looks at: the settled columns (ascending station, equal stations in table
// order), the converted gage-height settings, and how many stations the file listed out of
// ascending order (0 when none, or when the points did not come from a file), and the stations
// of the points that have no elevation (their elevation in the columns is 0).
struct SectionCheckInput {
    std::span<const double> stations;
    std::span<const double> elevations;
    double minimum = 0.0; // gage heights
    double maximum = 1.0;
    double datum = 0.0;
    std::size_t unsortedStations = 0;
    std::span<const double> stationsWithoutElevation = {};
};

// Lists what a hydrographer would want to know before trusting a rating of the section.
// Elevations meet gage heights as in the rating: a bed elevation e lies at gage height
// e - datum, and the water at the maximum gage height M stands at elevation M + datum.
//
// - too-few-points (warning): fewer than two points; nothing else about the points is checked.
// - missing-elevation (warning): a point without elevation, one finding at each such station
//   (several points at one station, one each). The rating counts it as elevation 0, which is
//   seldom what was surveyed.
// - duplicate-station: a station holding two or more points. Points that repeat one another
//   exactly (station and elevation) give a warning at that station; a station whose points have
//   different elevations is a vertical step (info). A station can give both.
// - unsorted-input (info): the reader put out-of-order stations in order.
// - end-below-maximum: an end point lies below the water at the maximum. Beyond an open end the
//   water would flow away once it rose above that end, so the water above the end's elevation
//   is in the section only because a vertical wall is assumed there. Its share is
//   (A(M) - A(min(M, end))) / A(M), A being the rating's area at a gage height; one finding per
//   low end, at its station; a warning when the share exceeds 5 %, info otherwise.
// - isolated-water (warning): at the maximum, water standing in a hollow that is not connected
//   to the lowest point (the connected-water rule of the hydraulic properties), one finding per
//   hollow that holds water, at the hollow's lowest point, with its area and its share of A(M).
// - wide-gap (info): a spacing between neighbouring stations above 10 times the median spacing,
//   at the left station of the gap. Zero spacings (vertical steps) are left out of the median.
// - spike (info): an inner point more than 3 times the median elevation step above both
//   neighbours or below both. The steps are the absolute elevation changes between neighbours;
//   zero steps are left out of the median, so a flat bed does not make every bump a spike.
// - minimum-below-bed (info): the minimum gage height lies below the lowest bed, so the rating
//   starts with rows of zero area (or has nothing else, which the message says, when the
//   maximum is no higher than the bed either).
// - maximum-above-banks (info): the maximum lies above the highest point on each side of the
//   lowest point (the banks), so the water spreads over the whole section between the walls.
//
// Numbers in messages are in the general number format with the given decimal separator;
// areas are rounded to 3 decimals as in the rating, percentages and ratios to 1.
//
// Order: warnings before infos; within a severity the findings about the whole section (no
// station) first, then by ascending station; then by code in declaration order; then in the
// order they were found.
std::vector<Finding> checkSection(const SectionCheckInput& input, NumberFormat format = {});

bool hasWarning(std::span<const Finding> findings) noexcept;

// One line per finding, "warning end-below-maximum at station 0: <message>", each ending with
// a line feed; "No findings." when there are none.
std::string findingsText(std::span<const Finding> findings, NumberFormat format = {});

// Comma-delimited: the heading severity,code,station,message, then one line per finding, CR LF
// line ends. The station is empty where the finding has none. A field holding a comma (a
// decimal comma too), a double quote or a line break is quoted, its quotes doubled.
std::string findingsCsv(std::span<const Finding> findings, NumberFormat format = {});

} // namespace korvadel
