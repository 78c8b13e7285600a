#pragma once

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
// and the table's views are resumed.
void loadCrossSection(LineReader& reader, CrossSectionDocument& document, NumberFormat format = {});
void importCommaDelimited(LineReader& reader, PointTable& points, NumberFormat format = {});
void importWinRiver(LineReader& reader, PointTable& points, NumberFormat format = {});

} // namespace korvadel
