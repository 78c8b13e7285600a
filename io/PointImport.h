// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/ReadSummary.h"
#include "model/NumberFormat.h"

#include <string>

namespace korvadel {

class PointTable;

// Station and elevation from the first two fields of every line. Throws UnableToAccessFile
// when the file cannot be opened.
ReadSummary importCommaDelimited(const std::string& path, PointTable& points,
                                 NumberFormat format = {});

// One point per ensemble of an ADCP Classic ASCII output file. A file that cannot be opened
// gives the file error ("File not found", ...).
ReadSummary importWinRiver(const std::string& path, PointTable& points, NumberFormat format = {});

} // namespace korvadel
