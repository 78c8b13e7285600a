// SPDX-License-Identifier: GPL-3.0-or-later
// The rating table report: layout of the bands, the printed PDF read back with pdftotext, the
// report file, and the preview window.

#include "components/desktop/PrinterAccess.h"
#include "components/report/BandedReport.h"
#include "components/report/RatingTableReport.h"
#include "components/report/ReportPreview.h"
#include "model/Error.h"
#include "model/RatingTable.h"
#include "tests/support/PdfText.h"
#include "tests/support/ScriptedSeam.h"
#include "tests/support/Tables.h"

#include <QAction>
#include <QBuffer>
#include <QFile>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <cmath>

using namespace korvadel;

namespace {

using Word = PdfWord;

// Stages 0, 0.01, 0.02, ... with areas 0, 1.5, 3, ...
void fillHundredths(RatingTable& table, int rows) {
    fillRating(table, rows, [](int i) { return std::pair{i * 0.01, i * 1.5}; });
}

// Items of a page whose box starts at the given left edge (mm).
int countAtX(const ReportPage& page, double xMm) {
    int n = 0;
    for (const ReportTextItem& item : page.items)
        if (std::abs(item.boxMm.x() - xMm) < 1e-9)
            ++n;
    return n;
}

class NoPrinters : public PrinterAccess {
public:
    QStringList printerNames() const override { return {}; }
    QString defaultPrinterName() const override { return {}; }
    void selectPrinter(QPrinter&, const QString&) const override {}
};

// One "printer" that writes PDF files, so printing can be checked without a print server.
class PdfPrinter : public PrinterAccess {
public:
    explicit PdfPrinter(QString path) : path_(std::move(path)) {}
    QStringList printerNames() const override { return {QStringLiteral("Office Laser")}; }
    QString defaultPrinterName() const override { return QStringLiteral("Office Laser"); }
    void selectPrinter(QPrinter& printer, const QString&) const override {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path_);
    }

private:
    QString path_;
};

} // namespace

class ReportTest : public QObject {
    Q_OBJECT

private slots:
    void pagination_data();
    void pagination();
    void headerAlwaysHeadsRows();
    void descriptionKeptAsTyped();
    void printedPdfPositions();
    void emptyTablePdf();
    void longRatingPageCount();
    void saveThenLoadGivesSamePages();
    void foreignAndDamagedFilesRejected();
    void previewWithoutPrinter();
    void previewNavigationAndFiles();
    void previewPrintsJobOnPrinter();
    void previewCommandReturnsWhenClosed();
    void previewClosesFromTheKeyboard_data();
    void previewClosesFromTheKeyboard();

private:
    QTemporaryDir dir_;
};

// Page 1 holds 48 rows per column under the title, later pages 50 per column.
void ReportTest::pagination_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("firstPageHeaders");
    QTest::newRow("empty") << 0 << 1 << 0;
    QTest::newRow("one row") << 1 << 1 << 1;
    QTest::newRow("first column full") << 48 << 1 << 1;
    QTest::newRow("second column begins") << 49 << 1 << 2;
    QTest::newRow("first page full") << 144 << 1 << 3;
    QTest::newRow("second page begins") << 145 << 2 << 3;
    QTest::newRow("second page full") << 294 << 2 << 3;
    QTest::newRow("third page begins") << 295 << 3 << 3;
}

void ReportTest::pagination() {
    QFETCH(int, rows);
    QFETCH(int, pages);
    QFETCH(int, firstPageHeaders);
    RatingTable table;
    fillHundredths(table, rows);
    const ReportDocument doc = layOutRatingTableReport(table, QStringLiteral("Gage 7"), {});
    QCOMPARE(int(doc.pages.size()), pages);
    const ReportPage& first = doc.pages.front();
    QCOMPARE(first.items[0].text, QStringLiteral("Gage 7"));
    QCOMPARE(first.items[1].text, QStringLiteral("Stage Area Rating Table"));
    int headers = 0;
    int details = 0;
    for (const ReportPage& page : doc.pages)
        for (const ReportTextItem& item : page.items) {
            if (item.text == QStringLiteral("Stage"))
                ++headers;
            else if (!item.centred && item.text != QStringLiteral("Area"))
                ++details;
        }
    QCOMPARE(details, 2 * rows);
    int firstHeaders = 0;
    for (const ReportTextItem& item : first.items)
        firstHeaders += item.text == QStringLiteral("Stage");
    QCOMPARE(firstHeaders, firstPageHeaders);
    // Stage values sit 12.7 mm and Area values 38.1 mm into their 63.5 mm column.
    if (rows > 0) {
        const ReportPage& last = doc.pages.back();
        int inColumns = 0;
        for (int c = 0; c < 3; ++c)
            inColumns +=
                countAtX(last, 12.7 + c * 63.5 + 12.7) + countAtX(last, 12.7 + c * 63.5 + 38.1);
        QCOMPARE(inColumns, int(last.items.size()) - (pages == 1 ? 2 : 0));
    }
}

void ReportTest::headerAlwaysHeadsRows() {
    // Column after column, a header is directly followed by a row in the same column, and the
    // lowest band of every column ends inside the printable area.
    RatingTable table;
    fillHundredths(table, 700);
    const ReportDocument doc = layOutRatingTableReport(table, QString(), {});
    const double bottom = 279.4 - 7.62;
    for (std::size_t p = 0; p < doc.pages.size(); ++p) {
        const auto& items = doc.pages[p].items;
        for (std::size_t i = 0; i < items.size(); ++i) {
            QVERIFY(items[i].boxMm.y() < bottom);
            if (items[i].text != QStringLiteral("Stage"))
                continue;
            QVERIFY2(i + 2 < items.size(), "header last on its page");
            QCOMPARE(items[i + 1].text, QStringLiteral("Area"));
            QCOMPARE(items[i + 2].boxMm.x(), items[i].boxMm.x());
            QVERIFY(std::abs(items[i + 2].boxMm.y() - (items[i].boxMm.y() - 3.18 + 10.85)) < 1e-9);
        }
        if (p > 0)
            QVERIFY(std::abs(items[0].boxMm.y() - (6.35 + 3.18)) < 1e-9);
    }
    // 144 rows on the first page, 150 on each further one.
    QCOMPARE(int(doc.pages.size()), 1 + int(std::ceil((700 - 144) / 150.0)));
}

void ReportTest::descriptionKeptAsTyped() {
    RatingTable table;
    for (const QString& description :
         {QString(), QStringLiteral("   "), QStringLiteral("  River at Mill Ford  ")}) {
        const ReportDocument doc = layOutRatingTableReport(table, description, {});
        QCOMPARE(int(doc.pages.size()), 1);
        const auto& items = doc.pages[0].items;
        // An empty description prints nothing; the fixed title stays on its own line.
        const ReportTextItem& fixed = items.back();
        QCOMPARE(fixed.text, QStringLiteral("Stage Area Rating Table"));
        QVERIFY(std::abs(fixed.boxMm.y() - (6.35 + 7.41)) < 1e-9);
        QCOMPARE(int(items.size()), description.isEmpty() ? 1 : 2);
        if (!description.isEmpty())
            QCOMPARE(items[0].text, description);
    }
}

void ReportTest::printedPdfPositions() {
    RatingTable table;
    fillHundredths(table, 200); // a full first page and 56 rows on the second
    const QString pdf = dir_.filePath(QStringLiteral("rating.pdf"));
    writeReportPdf(layOutRatingTableReport(table, QStringLiteral("Mill Ford gage"), {}), pdf);
    const PdfPages pages = readPdfWords(pdf);
    QCOMPARE(pages.size(), 2);

    // Title band: both lines centred on the 190.5 mm band, 3.18 and 7.41 mm below its top.
    const QList<Word>& p1 = pages[0];
    const Word mill = wordsNamed(p1, QStringLiteral("Mill")).value(0);
    const Word gage = wordsNamed(p1, QStringLiteral("gage")).value(0);
    QVERIFY(!mill.text.isEmpty() && !gage.text.isEmpty());
    const double centre = 12.7 + 190.5 / 2;
    QVERIFY2(std::abs((mill.xMm + gage.x2Mm) / 2 - centre) < 0.5, "description not centred");
    QVERIFY(std::abs(mill.yMm - (6.35 + 3.18)) < 0.6);
    const Word rating = wordsNamed(p1, QStringLiteral("Rating")).value(0);
    const Word tableWord = wordsNamed(p1, QStringLiteral("Table")).value(0);
    const Word area1 = wordsNamed(p1, QStringLiteral("Area")).value(0);
    QVERIFY(std::abs(rating.yMm - (6.35 + 7.41)) < 0.6);
    const QList<Word> stageWords = wordsNamed(p1, QStringLiteral("Stage"));
    // "Stage Area Rating Table" plus one "Stage" header per column.
    QCOMPARE(stageWords.size(), 4);
    const Word titleStage = stageWords[0];
    QVERIFY(std::abs((titleStage.xMm + tableWord.x2Mm) / 2 - centre) < 0.5);
    Q_UNUSED(area1);

    // Column headers and values at 12.7 and 38.1 mm into each column.
    const double headerTop1 = 6.35 + 12.97 + 3.18;
    for (int c = 0; c < 3; ++c) {
        const double left = 12.7 + c * 63.5;
        const Word stage = stageWords[c + 1];
        QVERIFY2(std::abs(stage.xMm - (left + 12.7)) < 0.4, qPrintable(QString::number(stage.xMm)));
        QVERIFY(std::abs(stage.yMm - headerTop1) < 0.6);
        bool areaFound = false;
        for (const Word& w : wordsNamed(p1, QStringLiteral("Area")))
            areaFound |=
                std::abs(w.xMm - (left + 38.1)) < 0.4 && std::abs(w.yMm - headerTop1) < 0.6;
        QVERIFY(areaFound);
    }
    // First row: stage 0 and area 0 right under the first header; row 49 starts column 2.
    int valuesAtStageColumn = 0;
    int valuesAtAreaColumn = 0;
    for (const Word& w : p1) {
        if (w.yMm < 6.35 + 12.97 + 10.85 - 0.5)
            continue;
        for (int c = 0; c < 3; ++c) {
            const double left = 12.7 + c * 63.5;
            valuesAtStageColumn += std::abs(w.xMm - (left + 12.7)) < 0.4;
            valuesAtAreaColumn += std::abs(w.xMm - (left + 38.1)) < 0.4;
        }
    }
    QCOMPARE(valuesAtStageColumn, 144);
    QCOMPARE(valuesAtAreaColumn, 144);
    const Word firstValue = [&] {
        for (const Word& w : p1)
            if (std::abs(w.xMm - 25.4) < 0.4 && w.yMm > headerTop1 + 1)
                return w;
        return Word{};
    }();
    QCOMPARE(firstValue.text, QStringLiteral("0"));
    QVERIFY(std::abs(firstValue.yMm - (6.35 + 12.97 + 10.85)) < 0.6);

    // Second page: no title, a header band atop each column that holds rows (56 rows: two).
    const QList<Word>& p2 = pages[1];
    QVERIFY(wordsNamed(p2, QStringLiteral("Rating")).isEmpty());
    QVERIFY(wordsNamed(p2, QStringLiteral("Mill")).isEmpty());
    const QList<Word> headers2 = wordsNamed(p2, QStringLiteral("Stage"));
    QCOMPARE(headers2.size(), 2);
    for (int c = 0; c < 2; ++c) {
        QVERIFY(std::abs(headers2[c].xMm - (12.7 + c * 63.5 + 12.7)) < 0.4);
        QVERIFY(std::abs(headers2[c].yMm - (6.35 + 3.18)) < 0.6);
    }
    QCOMPARE(wordsNamed(p2, QStringLiteral("Area")).size(), 2);
    // The second page's first row is row 144: stage 1.44, area 216.
    QVERIFY(!wordsNamed(p2, QStringLiteral("1.44")).isEmpty());
    QVERIFY(!wordsNamed(p2, QStringLiteral("216")).isEmpty());
}

void ReportTest::emptyTablePdf() {
    RatingTable table;
    const QString pdf = dir_.filePath(QStringLiteral("empty.pdf"));
    writeReportPdf(layOutRatingTableReport(table, QStringLiteral("Dry"), {}), pdf);
    const PdfPages pages = readPdfWords(pdf);
    QCOMPARE(pages.size(), 1);
    QStringList words;
    for (const Word& w : pages[0])
        words << w.text;
    QCOMPARE(words,
             QStringList({QStringLiteral("Dry"), QStringLiteral("Stage"), QStringLiteral("Area"),
                          QStringLiteral("Rating"), QStringLiteral("Table")}));
}

void ReportTest::longRatingPageCount() {
    RatingTable table;
    fillHundredths(table, 1001);
    const QString pdf = dir_.filePath(QStringLiteral("long.pdf"));
    writeReportPdf(layOutRatingTableReport(table, QString(), {}), pdf);
    const PdfPages pages = readPdfWords(pdf);
    // 144 rows on page 1, 150 on each further page: 1001 rows need 1 + 6 pages.
    QCOMPARE(pages.size(), 7);
    // The last row (stage 10, area 1500) closes the last page.
    QVERIFY(!wordsNamed(pages.last(), QStringLiteral("1500")).isEmpty());
    QVERIFY(wordsNamed(pages.last(), QStringLiteral("Rating")).isEmpty());
}

void ReportTest::saveThenLoadGivesSamePages() {
    RatingTable table;
    fillHundredths(table, 400);
    ReportDocument doc = layOutRatingTableReport(
        table, QStringLiteral("Tab\there, back\\slash, line\nbreak, \u00e9t\u00e9 \u2014 ok"), {});
    doc.pages[1].items[3].text = QStringLiteral("\\t not a tab");
    const QString path = dir_.filePath(QStringLiteral("saved.kvr"));
    saveReport(doc, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readLine(), QByteArray("KORVADEL-REPORT 1\n"));
    file.close();
    const ReportDocument back = loadReport(path);
    QCOMPARE(back.pages.size(), doc.pages.size());
    QVERIFY(back == doc);

    // A drawing (a chart) makes it a file of the second format; it comes back as it was and is
    // drawn into its box.
    QImage red(4, 3, QImage::Format_RGB32);
    red.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    QVERIFY(buffer.open(QIODevice::WriteOnly) && red.save(&buffer, "PNG"));
    doc.pages[1].pictures.push_back({QRectF(10, 20, 100, 50), QSizeF(4, 3), png});
    saveReport(doc, path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readLine(), QByteArray("KORVADEL-REPORT 2\n"));
    file.close();
    QVERIFY(loadReport(path) == doc);
    QImage page(440, 560, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        renderReportPage(painter, doc, 1, QPointF(0, 0), 2.0);
    }
    QCOMPARE(page.pixelColor(120, 90), QColor(Qt::red));
    QCOMPARE(page.pixelColor(15, 90), QColor(Qt::white));
    QCOMPARE(page.pixelColor(120, 150), QColor(Qt::white));
}

void ReportTest::foreignAndDamagedFilesRejected() {
    RatingTable table;
    fillHundredths(table, 5);
    const QString good = dir_.filePath(QStringLiteral("good.kvr"));
    saveReport(layOutRatingTableReport(table, QStringLiteral("x"), {}), good);
    QFile in(good);
    QVERIFY(in.open(QIODevice::ReadOnly));
    const QByteArray bytes = in.readAll();

    struct Case {
        const char* name;
        QByteArray content;
        QString message;
    };
    const QString bad = dir_.filePath(QStringLiteral("bad.kvr"));
    const QList<Case> cases = {
        {"cross-section file", QByteArray("//Korvadel\r\nDescription\tx\r\n"),
         QStringLiteral("\"%1\" is not a Korvadel report file.").arg(bad)},
        {"empty file", QByteArray(),
         QStringLiteral("\"%1\" is not a Korvadel report file.").arg(bad)},
        {"newer version", QByteArray(bytes).replace("KORVADEL-REPORT 1", "KORVADEL-REPORT 7"),
         QStringLiteral("The report \"%1\" was saved by a newer version of Korvadel (report "
                        "format 7) and cannot be read.")
             .arg(bad)},
        {"cut short", bytes.left(bytes.size() - 30),
         QStringLiteral("The report \"%1\" is damaged (line %2).")
             .arg(bad)
             .arg(bytes.count('\n') - 1)},
        {"bad number", QByteArray(bytes).replace("page\t215.9", "page\tabc"),
         QStringLiteral("The report \"%1\" is damaged (line 3).").arg(bad)},
        {"item count too large", QByteArray(bytes).replace("p\t14\n", "p\t15\n"),
         QStringLiteral("The report \"%1\" is damaged (line 21).").arg(bad)},
    };
    for (const Case& c : cases) {
        QFile out(bad);
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(c.content);
        out.close();
        try {
            loadReport(bad);
            QFAIL(c.name);
        } catch (const Error& e) {
            QCOMPARE(QString::fromStdString(e.what()), c.message);
        }
    }
}

void ReportTest::previewWithoutPrinter() {
    ScriptedSeam seam;
    NoPrinters printers;
    RatingTable table;
    fillHundredths(table, 300);
    ReportPreview preview(seam, printers, layOutRatingTableReport(table, QString(), {}));
    QCOMPARE(preview.windowTitle(), QStringLiteral("Stage Area Rating Table"));
    QStringList captions;
    for (QAction* a : preview.findChildren<QAction*>())
        if (!a->text().isEmpty() && !a->isSeparator())
            captions << a->text();
    for (const char* caption : {"Zoom to fit", "100%", "Zoom to width", "First page",
                                "Previous page", "Next page", "Last page", "Printer setup", "Print",
                                "Save Report", "Load Report", "&Close", "Save as PDF"})
        QVERIFY2(captions.contains(QString::fromLatin1(caption)), caption);
    // Without a printer there is nothing to set up or print to; the files still work.
    QVERIFY(!preview.findChild<QAction*>(QStringLiteral("actPrint"))->isEnabled());
    QVERIFY(!preview.findChild<QAction*>(QStringLiteral("actPrinterSetup"))->isEnabled());
    QVERIFY(preview.findChild<QAction*>(QStringLiteral("actSaveAsPdf"))->isEnabled());
    const QString pdf = dir_.filePath(QStringLiteral("preview.pdf"));
    seam.chooseFile(pdf);
    preview.findChild<QAction*>(QStringLiteral("actSaveAsPdf"))->trigger();
    QCOMPARE(readPdfWords(pdf).size(), 3);
    QVERIFY(seam.messages.isEmpty());
}

void ReportTest::previewNavigationAndFiles() {
    ScriptedSeam seam;
    NoPrinters printers;
    RatingTable table;
    fillHundredths(table, 300);
    const ReportDocument doc = layOutRatingTableReport(table, QStringLiteral("Nav"), {});
    ReportPreview preview(seam, printers, doc);
    preview.resize(1000, 800);
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    auto* label = preview.findChild<QLabel*>(QStringLiteral("pageLabel"));
    auto trigger = [&](const char* name) {
        preview.findChild<QAction*>(QString::fromLatin1(name))->trigger();
    };
    QCOMPARE(label->text(), QStringLiteral("Page 1 of 3"));
    trigger("actNextPage");
    QCOMPARE(label->text(), QStringLiteral("Page 2 of 3"));
    trigger("actLastPage");
    QCOMPARE(label->text(), QStringLiteral("Page 3 of 3"));
    trigger("actNextPage");
    QCOMPARE(label->text(), QStringLiteral("Page 3 of 3"));
    trigger("actPreviousPage");
    QCOMPARE(label->text(), QStringLiteral("Page 2 of 3"));
    trigger("actFirstPage");
    QCOMPARE(label->text(), QStringLiteral("Page 1 of 3"));

    // Zoom to width fills the view's width; zoom to fit shows a whole page; 100% is paper size.
    ReportPageView* view = preview.pageView();
    trigger("actZoomToWidth");
    const double width = view->pixelsPerMm();
    QVERIFY(std::abs(215.9 * width - (view->viewport()->width() - 2 * ReportPageView::kGap)) < 1);
    trigger("actZoomToFit");
    QVERIFY(279.4 * view->pixelsPerMm() <=
            view->viewport()->height() - 2 * ReportPageView::kGap + 1);
    QVERIFY(view->pixelsPerMm() < width);
    trigger("actZoom100");
    QVERIFY(std::abs(view->pixelsPerMm() - view->logicalDpiX() / 25.4) < 1e-9);

    // Save Report, then Load Report of that file and of a foreign file.
    const QString saved = dir_.filePath(QStringLiteral("nav"));
    seam.chooseFile(saved);
    trigger("actSaveReport");
    QVERIFY(QFile::exists(saved + QStringLiteral(".kvr")));
    const QString other = dir_.filePath(QStringLiteral("other.kvr"));
    saveReport(layOutRatingTableReport(table, QStringLiteral("Other"), {}), other);
    seam.chooseFile(other);
    trigger("actLoadReport");
    QCOMPARE(preview.document().pages[0].items[0].text, QStringLiteral("Other"));
    seam.chooseFile(saved + QStringLiteral(".kvr"));
    trigger("actLoadReport");
    QVERIFY(preview.document() == doc);
    QCOMPARE(label->text(), QStringLiteral("Page 1 of 3"));

    const QString foreign = dir_.filePath(QStringLiteral("points.csv"));
    QFile f(foreign);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("1,2\r\n3,4\r\n");
    f.close();
    seam.chooseFile(foreign);
    trigger("actLoadReport");
    QCOMPARE(seam.messages.size(), 1);
    QCOMPARE(seam.messages[0].kind, DesktopSeam::MessageKind::Error);
    QCOMPARE(seam.messages[0].text,
             QStringLiteral("\"%1\" is not a Korvadel report file.").arg(foreign));
    QVERIFY(preview.document() == doc); // the shown report stays
    preview.close();
}

void ReportTest::previewPrintsJobOnPrinter() {
    ScriptedSeam seam;
    const QString pdf = dir_.filePath(QStringLiteral("printed.pdf"));
    PdfPrinter printers(pdf);
    RatingTable table;
    fillHundredths(table, 150);
    ReportPreview preview(seam, printers, layOutRatingTableReport(table, QStringLiteral("P"), {}));
    QVERIFY(preview.findChild<QAction*>(QStringLiteral("actPrint"))->isEnabled());
    preview.findChild<QAction*>(QStringLiteral("actPrint"))->trigger();
    QCOMPARE(preview.printer().docName(), QStringLiteral("Stage Area Rating Table"));
    const PdfPages pages = readPdfWords(pdf);
    QCOMPARE(pages.size(), 2);
    // Printed at the paper's corner like the PDF export: the first header at 25.4 mm.
    const Word stage = wordsNamed(pages[0], QStringLiteral("Stage")).value(1);
    QVERIFY2(std::abs(stage.xMm - 25.4) < 0.4, qPrintable(QString::number(stage.xMm)));
    QVERIFY(seam.messages.isEmpty());

    // "Printer setup" is the platform's print dialog: accepting it prints, with the copies and
    // the pages chosen there (here two copies of the second page).
    seam.onModal([](QDialog& dialog) {
        QPrinter* printer = static_cast<QPrintDialog&>(dialog).printer();
        printer->setCopyCount(2);
        printer->setPrintRange(QPrinter::PageRange);
        printer->setFromTo(2, 2);
        dialog.done(QDialog::Accepted);
    });
    preview.findChild<QAction*>(QStringLiteral("actPrinterSetup"))->trigger();
    const PdfPages copies = readPdfWords(pdf);
    QCOMPARE(copies.size(), 2);
    for (const auto& page : copies) {
        QVERIFY(!wordsNamed(page, QStringLiteral("223.5")).isEmpty());
        QVERIFY(wordsNamed(page, QStringLiteral("Table")).isEmpty());
    }
    // Cancelled, it prints nothing.
    QFile::remove(pdf);
    seam.onModal([](QDialog& dialog) { dialog.reject(); });
    preview.findChild<QAction*>(QStringLiteral("actPrinterSetup"))->trigger();
    QVERIFY(!QFile::exists(pdf));
    QVERIFY(seam.messages.isEmpty());
}

void ReportTest::previewCommandReturnsWhenClosed() {
    ScriptedSeam seam;
    NoPrinters printers;
    RatingTable table;
    ReportPreview preview(seam, printers, layOutRatingTableReport(table, QString(), {}));
    bool wasMaximized = false;
    int zoomAtOpening = -1;
    QTimer::singleShot(0, &preview, [&] {
        wasMaximized = preview.isMaximized() && preview.isVisible();
        zoomAtOpening = int(preview.pageView()->zoom());
        preview.findChild<QAction*>(QStringLiteral("actClose"))->trigger();
    });
    preview.exec(); // returns only through the close above
    QVERIFY(wasMaximized);
    QCOMPARE(zoomAtOpening, int(ReportPageView::Zoom::PageWidth));
    QVERIFY(!preview.isVisible());
}

void ReportTest::previewClosesFromTheKeyboard_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Alt+C") << int(Qt::Key_C) << int(Qt::AltModifier);
    QTest::newRow("Escape") << int(Qt::Key_Escape) << int(Qt::NoModifier);
}

void ReportTest::previewClosesFromTheKeyboard() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    ScriptedSeam seam;
    NoPrinters printers;
    RatingTable table;
    fillHundredths(table, 10);
    ReportPreview preview(seam, printers, layOutRatingTableReport(table, QString(), {}));
    bool closedByKey = false;
    QTimer::singleShot(0, &preview, [&] {
        QApplication::setActiveWindow(&preview);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget()
                                                    : static_cast<QWidget*>(&preview),
                        Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        closedByKey = QTest::qWaitFor([&] { return !preview.isVisible(); }, 1000);
        if (!closedByKey)
            preview.close();
    });
    preview.exec();
    QVERIFY(closedByKey);
}

QTEST_MAIN(ReportTest)
#include "report_test.moc"
