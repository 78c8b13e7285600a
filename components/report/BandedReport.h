// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QMarginsF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <cstddef>
#include <functional>
#include <span>
#include <vector>

class QPainter;
class QPagedPaintDevice;

namespace korvadel {

// A small banded report engine. A definition names the page, the column grid and three bands
// (title, column header, detail); laying it out over a row source gives a ReportDocument: pages
// of text items placed in millimetres from the paper's top-left corner. The document is what
// the preview shows, what is printed, written to PDF and saved; rendering never re-runs the
// layout, so all surfaces show the same pages.

// The paper and the printable area's distance from each of its edges, in millimetres.
struct ReportPageSetup {
    QSizeF sizeMm{215.9, 279.4};
    QMarginsF marginsMm;
};

// One text of a band. Fixed texts carry their text; detail texts name a field of the row.
struct BandText {
    double leftMm = 0;
    double topMm = 0;
    double widthMm = 0; // box width; 0 runs the box to the band's right edge
    bool centred = false;
    int field = -1; // >= 0: the row's field of that index instead of text
    QString text;
};

struct ReportBand {
    double widthMm = 0;
    double heightMm = 0;
    std::vector<BandText> texts;
};

struct BandedReportDefinition {
    QString name; // the document's name: print job, PDF title
    ReportPageSetup page;
    int columns = 1;
    double columnWidthMm = 0;
    QString fontFamily = QStringLiteral("Arial");
    double fontPointSize = 10;
    // The title band prints once, at the top of the first page, across the printable width.
    ReportBand title;
    // Heads every column that holds rows; never left as the last band of a column.
    ReportBand columnHeader;
    // One per row, filling the columns top to bottom.
    ReportBand detail;
};

struct ReportTextItem {
    QRectF boxMm; // top-aligned; the text may run past the box, it is never clipped
    bool centred = false;
    QString text;
    bool operator==(const ReportTextItem&) const = default;
};

// A picture placed on the page (a chart): an image of `sizePx` pixels, PNG-encoded, scaled into
// the box.
struct ReportPictureItem {
    QRectF boxMm;
    QSizeF sizePx;
    QByteArray picture; // PNG
    bool operator==(const ReportPictureItem&) const = default;
};

struct ReportPage {
    std::vector<ReportTextItem> items;
    std::vector<ReportPictureItem> pictures;
    bool operator==(const ReportPage&) const = default;
};

struct ReportDocument {
    QString name;
    QSizeF pageSizeMm{215.9, 279.4};
    QString fontFamily = QStringLiteral("Arial");
    double fontPointSize = 10;
    std::vector<ReportPage> pages;
    bool operator==(const ReportDocument&) const = default;
};

// Gives the text of a row's field; an empty text prints nothing.
using ReportFieldSource = std::function<QString(std::size_t row, int field)>;

// Lays the rows out into pages. Always gives at least one page (with the title band).
ReportDocument layOutReport(const BandedReportDefinition& definition, std::size_t rowCount,
                            const ReportFieldSource& field);

// Draws one page with its paper's top-left corner at originPx, pxPerMm device pixels to the
// millimetre. The font is sized so that it keeps its point size relative to the paper.
void renderReportPage(QPainter& painter, const ReportDocument& document, std::size_t page,
                      QPointF originPx, double pxPerMm);

// Paints every page onto an open painter on a paged device (a printer or a PDF writer) whose
// coordinates start at the paper's corner, starting a new device page between pages.
void paintReport(QPainter& painter, QPagedPaintDevice& device, const ReportDocument& document);
// The pages named (0-based, in the order given, repeats included), one after the other.
void paintReportPages(QPainter& painter, QPagedPaintDevice& device, const ReportDocument& document,
                      std::span<const std::size_t> pages);

// Writes the document as a PDF file of the document's page size. Throws Error on failure.
void writeReportPdf(const ReportDocument& document, const QString& path);

// The report's own file: a text file beginning with the line "KORVADEL-REPORT <version>".
// Throws Error when the file cannot be written or read, or is not such a file.
void saveReport(const ReportDocument& document, const QString& path);
ReportDocument loadReport(const QString& path);

} // namespace korvadel
