// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "components/report/BandedReport.h"
#include "model/NumberFormat.h"

#include <QDate>
#include <QString>

namespace korvadel {

class DesktopSeam;
class PrinterAccess;
struct VelocityPlotInput;

// The report an index-velocity rating is documented with, on Letter paper: a title block (the
// section's description, the date, the model and the equation with its numbers), the regression
// statistics and coefficients, the measurement summary across as many pages as it takes (its
// heading on each), the comments, and a page with the line fit, the residuals against index
// velocity and the area check. `problem` says why there is no rating when there is none. Units
// label the columns and axes; nothing is converted.
ReportDocument layOutIndexVelocityReport(const VelocityPlotInput& input, const QString& description,
                                         const QString& problem, QDate date, NumberFormat format);

// Opens the program's report preview over the report and returns when it is closed.
void previewIndexVelocityReport(DesktopSeam& seam, const PrinterAccess& printers,
                                ReportDocument document);

} // namespace korvadel
