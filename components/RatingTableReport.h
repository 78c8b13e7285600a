#pragma once

#include "components/BandedReport.h"
#include "model/NumberFormat.h"

#include <QString>

namespace korvadel {

class RatingTable;

// The three-column rating table report on Letter paper: a title band with the description line
// over "Stage Area Rating Table", then Stage/Area pairs under "Stage" and "Area" column headers.
BandedReportDefinition ratingTableReportDefinition(const QString& description);

// Lays the rating out from its first row to its last; values in the general number format.
ReportDocument layOutRatingTableReport(const RatingTable& table, const QString& description,
                                       NumberFormat format);

} // namespace korvadel
