// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "components/report/BandedReport.h"
#include "model/NumberFormat.h"

#include <QString>

namespace korvadel {

class DesktopSeam;
class PrinterAccess;
class RatingTable;

// The three-column rating table report on Letter paper: a title band with the description line
// over "Stage Area Rating Table", then Stage/Area pairs under "Stage" and "Area" column headers.
BandedReportDefinition ratingTableReportDefinition(const QString& description);

// Lays the rating out from its first row to its last; values in the general number format.
ReportDocument layOutRatingTableReport(const RatingTable& table, const QString& description,
                                       NumberFormat format);

// "Print &Table": lays the rating out with the description exactly as typed (spaces included),
// opens the report preview over it and returns when the preview is closed; the program's other
// windows stay usable meanwhile.
void previewRatingTableReport(DesktopSeam& seam, const PrinterAccess& printers,
                              const RatingTable& table, const QString& description,
                              NumberFormat format);

} // namespace korvadel
