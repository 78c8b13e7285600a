#include "ui/Unit3.h"

#include "components/RatingTableReport.h"
#include "components/ReportPreview.h"

TForm3::TForm3(korvadel::DesktopSeam& seam, korvadel::NumberFormat format, QWidget* parent)
    : QWidget(parent), seam_(seam), format_(format)
{
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Stage Area Rating Table"));
    hide();
}

korvadel::ReportDocument TForm3::layOut(const korvadel::RatingTable& table) const
{
    return korvadel::layOutRatingTableReport(table, QRLabelDescription, format_);
}

void TForm3::Preview(const korvadel::RatingTable& table, const korvadel::PrinterAccess& printers)
{
    korvadel::ReportPreview preview(seam_, printers, layOut(table));
    preview.exec();
}
