// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/qt/VelocityReportPdf.h"

#include "cli/qt/QtCommands.h"
#include "components/chart/VelocityPlots.h"
#include "components/desktop/TextCodec.h"
#include "components/report/IndexVelocityReport.h"

#include <QDate>

namespace korvadel::cli {

void writeVelocityRatingPdf(const VelocityPlotInput& input, const std::string& description,
                            const std::string& path) {
    QtSession session;
    writeReportPdf(layOutIndexVelocityReport(input, fromFileText(description), QString(),
                                             QDate::currentDate(), NumberFormat{}),
                   fromFilePath(path));
}

} // namespace korvadel::cli
