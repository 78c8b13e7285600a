// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/ReadSummary.h"
#include "model/NumberFormat.h"

namespace korvadel {

class CrossSectionDocument;
class LineReader;
class PointTable;

// The readers over a source that is already open (a file or bytes in memory). The path forms in
// CrossSectionFile.h and PointImport.h open the file first, so that a file that cannot be opened
// changes nothing, and then call these.
//
// Each puts its rows into the table with one stable sort (ascending Station, equal stations in
// file order). When a read stops with an error, the rows read before it stay in the table, sorted,
// and the table's views are resumed. A read that completes returns what it saw of the file's
// order (ReadSummary).
ReadSummary loadCrossSection(LineReader& reader, CrossSectionDocument& document,
                             NumberFormat format = {});
ReadSummary importCommaDelimited(LineReader& reader, PointTable& points, NumberFormat format = {});
ReadSummary importWinRiver(LineReader& reader, PointTable& points, NumberFormat format = {});

} // namespace korvadel
