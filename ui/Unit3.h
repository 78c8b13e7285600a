#pragma once

#include "components/BandedReport.h"
#include "model/NumberFormat.h"

#include <QString>
#include <QWidget>

namespace korvadel {
class DesktopSeam;
class PrinterAccess;
class RatingTable;
} // namespace korvadel

// The rating table report: a hidden window that holds the report's definition for the run. Its
// one changing field is the description line, set by every "Print &Table" before the preview
// opens; the bands themselves are fixed (see RatingTableReport).
class TForm3 : public QWidget {
    Q_OBJECT
public:
    TForm3(korvadel::DesktopSeam& seam, korvadel::NumberFormat format, QWidget* parent = nullptr);

    // The description line exactly as typed, spaces included.
    void setDescription(const QString& description) { QRLabelDescription = description; }
    QString description() const { return QRLabelDescription; }

    korvadel::ReportDocument layOut(const korvadel::RatingTable& table) const;

    // Opens the report preview over the table and returns when the preview is closed; the
    // program's other windows stay usable meanwhile.
    void Preview(const korvadel::RatingTable& table, const korvadel::PrinterAccess& printers);

private:
    korvadel::DesktopSeam& seam_;
    korvadel::NumberFormat format_;
    QString QRLabelDescription;
};
