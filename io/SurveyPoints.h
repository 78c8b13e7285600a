// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/ReadSummary.h"
#include "model/NumberFormat.h"
#include "model/SurveyProjection.h"

#include <span>
#include <string>
#include <vector>

namespace korvadel {

class CrossSectionDocument;
class LineReader;

// Reads surveyed points from comma-delimited text with a heading line that names the columns:
// the point's name ("name" or "point"), easting ("easting", "x" or "e"), northing ("northing",
// "y" or "n") and elevation ("elevation", "z" or "h"), in any order and any case; other
// columns are passed over. Blank lines are skipped. Throws Error naming the line for a missing
// column or a field that is not a number; a file that cannot be opened gives the file error.
std::vector<SurveyPoint> readSurveyPoints(const std::string& path, NumberFormat format = {});
std::vector<SurveyPoint> readSurveyPoints(LineReader& reader, NumberFormat format = {});

// Reads the points, projects them onto the section line (projectSurvey) and puts the ones kept
// into the document's table in one stable sort by station. The warnings come back as notes.
// A failure changes nothing in the document.
ReadSummary importSurveyedPoints(const std::string& path, const SurveyLine& line,
                                 CrossSectionDocument& document, NumberFormat format = {});

// The second half of importSurveyedPoints, for points already read and projected (a dialog that
// showed the projection before the user accepted it).
ReadSummary loadSurveyProjection(std::span<const SurveyPoint> points, SurveyProjection projection,
                                 CrossSectionDocument& document);

} // namespace korvadel
