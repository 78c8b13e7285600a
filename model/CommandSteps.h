// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The steps between what a user gives a command (the document's settings, a number typed into a
// field or given as an option, the points of a section) and the model's computations, written
// once for the desktop program and the command line, so that both take the same inputs the same
// way and say the same things about them.

#include "model/NumberFormat.h"
#include "model/RatingGenerator.h"
#include "model/SectionCheck.h"
#include "model/SurveyComparison.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace korvadel {

class GageSettings;
class PointTable;
class RatingStages;
class RatingTable;

// The bounds of a rating over the document's gage-height settings: its minimum, maximum and
// datum as they were typed or read, and its increment.
RatingBounds ratingBounds(const GageSettings& settings,
                          WaterExtent water = WaterExtent::WholeSection);

// A number the user gave for a named input (a field's label such as "Slope", an option such as
// "--slope"), read by the standard conversion. Text that is not a number throws Error naming
// the input: "Slope: 'abc' is not a valid floating point value".
double readNamedNumber(std::string_view text, std::string_view name, NumberFormat format = {});

// A list of numbers for a named input ("0.06,0.035,0.06"), each read as readNamedNumber reads
// one: separated by commas or semicolons, by semicolons only when the decimal separator is a
// comma.
std::vector<double> readNumberList(std::string_view text, std::string_view name,
                                   NumberFormat format = {});

// A rating needs a section of at least two points: fewer throws Error naming where the points
// came from, "river.csv: no cross-section points were read (a rating needs at least two)" or
// "...: only one cross-section point was read (...)", instead of giving a rating of zeros.
void requireRatingPoints(std::string_view source, std::size_t pointCount);

// Checks the section as the grid shows it (a row being typed in included at its value) against
// the gage heights of `bounds`, whose texts are converted with the standard conversion (Error
// when one is not a number). Points without an elevation, which count as elevation 0, are
// reported. `unsortedStations` is what the reader of the points saw of their order.
std::vector<Finding> checkPoints(const PointTable& points, const RatingBounds& bounds,
                                 std::size_t unsortedStations, NumberFormat format = {});

// The run that made a rating: its bounds and the creation number of its first row.
struct RatingRun {
    RatingBounds bounds;
    std::int64_t firstRecId = 0;
};

// The stage of every row of `rating`, which `run` made: the unrounded stage each row was computed
// at, rows deleted since left out. Throws Error when the bounds no longer convert.
std::vector<double> ratingRowStages(const RatingTable& rating, const RatingRun& run,
                                    NumberFormat format = {});

// The stages of `run` from where it stands, handed on in blocks of at most 2^20 stages, so that a
// table of millions of stages is worked out in tens of megabytes rather than gigabytes.
void forEachStageBlock(RatingStages run, const std::function<void(std::span<const double>)>& block);

// Two surveys compared over the stages of `run` (compareSurveys), block by block: each block's
// comparison goes to `part` as soon as it is made. Returns the summary of the whole run.
ComparisonSummary compareSurveysOverRun(const SurveyPair& surveys, const RatingStages& run,
                                        double thresholdPercent,
                                        const std::function<void(const SurveyComparison&)>& part);

} // namespace korvadel
