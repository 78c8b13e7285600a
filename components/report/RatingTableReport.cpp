// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/report/RatingTableReport.h"

#include "components/report/ReportPreview.h"
#include "model/Numbers.h"
#include "model/RatingTable.h"

namespace korvadel {

BandedReportDefinition ratingTableReportDefinition(const QString& description) {
    BandedReportDefinition def;
    def.name = QStringLiteral("Stage Area Rating Table");
    def.page = ReportPageSetup{{215.9, 279.4}, QMarginsF(12.7, 6.35, 12.7, 7.62)};
    def.columns = 3;
    def.columnWidthMm = 63.5;
    def.fontFamily = QStringLiteral("Arial");
    def.fontPointSize = 10;

    def.title.widthMm = 190.5;
    def.title.heightMm = 12.97;
    def.title.texts = {BandText{0, 3.18, 0, true, -1, description},
                       BandText{0, 7.41, 0, true, -1, QStringLiteral("Stage Area Rating Table")}};

    def.columnHeader.widthMm = 63.5;
    def.columnHeader.heightMm = 10.85;
    def.columnHeader.texts = {BandText{12.7, 3.18, 0, false, -1, QStringLiteral("Stage")},
                              BandText{38.1, 3.18, 0, false, -1, QStringLiteral("Area")}};

    def.detail.widthMm = 63.5;
    def.detail.heightMm = 5.03;
    def.detail.texts = {BandText{12.7, 0, 0, false, 0, {}}, BandText{38.1, 0, 0, false, 1, {}}};
    return def;
}

ReportDocument layOutRatingTableReport(const RatingTable& table, const QString& description,
                                       NumberFormat format) {
    return layOutReport(ratingTableReportDefinition(description), table.rowCount(),
                        [&](std::size_t row, int field) {
                            const double v = field == 0 ? table.stageAt(row) : table.areaAt(row);
                            return QString::fromStdString(formatGeneral(v, format));
                        });
}

void previewRatingTableReport(DesktopSeam& seam, const PrinterAccess& printers,
                              const RatingTable& table, const QString& description,
                              NumberFormat format) {
    ReportPreview preview(seam, printers, layOutRatingTableReport(table, description, format));
    preview.exec();
}

} // namespace korvadel
