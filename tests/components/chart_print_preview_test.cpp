// SPDX-License-Identifier: GPL-3.0-or-later
// The chart print preview: the proportional margin formula, the printed rectangle, refused and
// accepted margin changes, the title rewrite, and the preview with and without a printer.

#include "components/chart/Chart.h"
#include "components/chart/ChartPrintLayout.h"
#include "components/chart/ChartPrintPreview.h"
#include "components/desktop/PrinterAccess.h"
#include "tests/support/ScriptedSeam.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

using namespace korvadel;

Q_DECLARE_METATYPE(korvadel::MarginPercents)

namespace {

class FakeChart : public PrintableChart {
public:
    explicit FakeChart(QSize size) : size_(size) {}
    QSize clientSize() const override { return size_; }
    void render(QPainter& painter, const QRect& target, int detail) override {
        renders.append(target);
        lastDetail = detail;
        painter.fillRect(target, QColor(222, 71, 33));
    }
    PrintMargins printMargins() const override { return margins; }
    void setPrintMargins(const PrintMargins& m) override { margins = m; }
    void redraw() override { ++redraws; }

    QSize size_;
    PrintMargins margins;
    QList<QRect> renders;
    int lastDetail = -1;
    int redraws = 0;
};

class NoPrinters : public PrinterAccess {
public:
    QStringList printerNames() const override { return {}; }
    QString defaultPrinterName() const override { return {}; }
    void selectPrinter(QPrinter&, const QString&) const override {}
};

// Printers that write PDF files; the second one has a different page size.
class PdfPrinters : public PrinterAccess {
public:
    explicit PdfPrinters(QString path) : path_(std::move(path)) {}
    QStringList printerNames() const override {
        return {QStringLiteral("Letter Laser"), QStringLiteral("Legal Laser")};
    }
    QString defaultPrinterName() const override { return QStringLiteral("Legal Laser"); }
    void selectPrinter(QPrinter& printer, const QString& name) const override {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path_);
        printer.setPageSize(
            QPageSize(name.contains(u"Legal") ? QPageSize::Legal : QPageSize::Letter));
    }

private:
    QString path_;
};

template <typename T> T* child(QWidget& w, const char* name) {
    T* c = w.findChild<T*>(QString::fromLatin1(name));
    if (!c)
        qFatal("no child %s", name);
    return c;
}

MarginPercents shownMargins(ChartPrintPreview& p) {
    return {child<QSpinBox>(p, "leftMargin")->value(), child<QSpinBox>(p, "topMargin")->value(),
            child<QSpinBox>(p, "rightMargin")->value(),
            child<QSpinBox>(p, "bottomMargin")->value()};
}

} // namespace

class ChartPrintPreviewTest : public QObject {
    Q_OBJECT

private slots:
    void proportionalFormula_data();
    void proportionalFormula();
    void printedRectangle();
    void acceptableMargins_data();
    void acceptableMargins();
    void titleRewrite_data();
    void titleRewrite();
    void noPrinterShowsStoredMargins();
    void opensLandscapeWithComputedMargins();
    void marginFieldsRefuseAndAccept();
    void proportionalRecomputedOnChanges();
    void mouseMovesAndResizesChart();
    void printsOnePageAndStaysOpen();
    void settingsKeptWithChart();
    void realChartPrints();

private:
    QTemporaryDir dir_;
};

void ChartPrintPreviewTest::proportionalFormula_data() {
    QTest::addColumn<QSize>("chart");
    QTest::addColumn<QSize>("page");
    QTest::addColumn<double>("aspect");
    QTest::addColumn<MarginPercents>("expected");
    // 100 × (2550 − 0.6 × 3300 × 0.5) / 2550 = 61.18 → 61 → 30
    QTest::newRow("wide chart, landscape letter")
        << QSize(800, 400) << QSize(3300, 2550) << 1.0 << MarginPercents{15, 30, 15, 30};
    // the same numbers on the other axis
    QTest::newRow("tall chart, portrait letter")
        << QSize(400, 800) << QSize(2550, 3300) << 1.0 << MarginPercents{30, 15, 30, 15};
    // square is not wider than tall: 100 × (3300 − 0.6 × 2550) / 3300 = 53.6 → 54 → 27
    QTest::newRow("square chart") << QSize(500, 500) << QSize(3300, 2550) << 1.0
                                  << MarginPercents{27, 15, 27, 15};
    // resolution aspect 2: 100 × (2550 − 1980) / 2550 = 22.35 → 22 → 11
    QTest::newRow("aspect 2") << QSize(800, 400) << QSize(3300, 2550) << 2.0
                              << MarginPercents{15, 11, 15, 11};
    // 100 × (1000 − 0.6 × 1000 × 0.64) / 1000 = 61.6 → 62 → 31 (truncating first would give 30)
    QTest::newRow("rounded before halving")
        << QSize(1000, 640) << QSize(1000, 1000) << 1.0 << MarginPercents{15, 31, 15, 31};
    // 100 × (1000 − 0.6 × 1000 × 0.625) / 1000 = 62.5 → 62 (half to even) → 31
    QTest::newRow("exact half") << QSize(1000, 625) << QSize(1000, 1000) << 1.0
                                << MarginPercents{15, 31, 15, 31};
    // 100 × (300 − 0.6 × 1210 × 0.5) / 300 = −21 → halved toward zero: −10
    QTest::newRow("negative halves toward zero")
        << QSize(1000, 500) << QSize(1210, 300) << 1.0 << MarginPercents{15, -10, 15, -10};
}

void ChartPrintPreviewTest::proportionalFormula() {
    QFETCH(QSize, chart);
    QFETCH(QSize, page);
    QFETCH(double, aspect);
    QFETCH(MarginPercents, expected);
    const MarginPercents m = proportionalMargins(chart, page, aspect);
    QCOMPARE(m.left, expected.left);
    QCOMPARE(m.top, expected.top);
    QCOMPARE(m.right, expected.right);
    QCOMPARE(m.bottom, expected.bottom);
}

void ChartPrintPreviewTest::printedRectangle() {
    // left R(15% of 3300) = 495, right 3300 − 495, top R(14% of 2550) = 357, bottom 2550 − 357
    QRect r = printedRect({15, 14, 15, 14}, QSize(3300, 2550));
    QCOMPARE(r.left(), 495);
    QCOMPARE(r.top(), 357);
    QCOMPARE(r.left() + r.width(), 2805);
    QCOMPARE(r.top() + r.height(), 2193);
    // 25% of 1002 is 250.5 → 250 (even); 25% of 1006 is 251.5 → 252
    r = printedRect({25, 25, 25, 25}, QSize(1002, 1006));
    QCOMPARE(r.left(), 250);
    QCOMPARE(r.left() + r.width(), 1002 - 250);
    QCOMPARE(r.top(), 252);
    QCOMPARE(r.top() + r.height(), 1006 - 252);
}

void ChartPrintPreviewTest::acceptableMargins_data() {
    QTest::addColumn<MarginPercents>("margins");
    QTest::addColumn<bool>("acceptable");
    QTest::newRow("stored") << MarginPercents{15, 14, 15, 14} << true;
    QTest::newRow("sides add to 99") << MarginPercents{60, 0, 39, 0} << true;
    QTest::newRow("sides add to 100") << MarginPercents{60, 10, 40, 10} << false;
    QTest::newRow("top and bottom add to 100") << MarginPercents{10, 1, 10, 99} << false;
    QTest::newRow("adjacent may add past 100") << MarginPercents{60, 60, 30, 30} << true;
    QTest::newRow("negative") << MarginPercents{-1, 10, 10, 10} << false;
}

void ChartPrintPreviewTest::acceptableMargins() {
    QFETCH(MarginPercents, margins);
    QFETCH(bool, acceptable);
    QCOMPARE(marginsAcceptable(margins), acceptable);
}

void ChartPrintPreviewTest::titleRewrite_data() {
    QTest::addColumn<QString>("description");
    QTest::addColumn<QStringList>("lines");
    const QString fixed = QStringLiteral("Cross Section");
    QTest::newRow("empty") << QString() << QStringList{fixed};
    QTest::newRow("spaces only") << QStringLiteral("    ") << QStringList{fixed};
    QTest::newRow("control characters only")
        << QStringLiteral("\t\r\n \x01\x7f") << QStringList{fixed};
    QTest::newRow("leading spaces kept")
        << QStringLiteral("   Mill Ford") << QStringList{QStringLiteral("   Mill Ford"), fixed};
    QTest::newRow("trailing spaces kept")
        << QStringLiteral("Mill Ford \t") << QStringList{QStringLiteral("Mill Ford \t"), fixed};
    QTest::newRow("one visible character")
        << QStringLiteral(" . ") << QStringList{QStringLiteral(" . "), fixed};
}

void ChartPrintPreviewTest::titleRewrite() {
    QFETCH(QString, description);
    QFETCH(QStringList, lines);
    QCOMPARE(printTitleLines(description, QStringLiteral("Cross Section")), lines);
}

void ChartPrintPreviewTest::noPrinterShowsStoredMargins() {
    ScriptedSeam seam;
    NoPrinters printers;
    FakeChart chart(QSize(800, 400));
    chart.margins.top = chart.margins.bottom = 14; // the rating chart's stored margins
    ChartPrintPreview preview(seam, printers, chart);
    QCOMPARE(preview.windowTitle(), QStringLiteral("Korvadel Print Preview"));
    QVERIFY(preview.isModal());
    QVERIFY(!preview.hasPrinter());
    QCOMPARE(shownMargins(preview), (MarginPercents{15, 14, 15, 14}));
    QVERIFY(!child<QPushButton>(preview, "printButton")->isEnabled());
    QVERIFY(!child<QPushButton>(preview, "setupButton")->isEnabled());
    QVERIFY(!child<QRadioButton>(preview, "portraitButton")->isEnabled());
    QVERIFY(!child<QRadioButton>(preview, "landscapeButton")->isEnabled());
    QVERIFY(child<QCheckBox>(preview, "proportionalBox")->isChecked());
    QCOMPARE(child<QComboBox>(preview, "printerList")->count(), 0);
    // Shown through the seam, the page image draws the chart in the stored margins.
    seam.onModal([&](QDialog&) {
        QVERIFY(QTest::qWaitForWindowExposed(&preview));
        preview.repaint();
    });
    preview.showModal();
    QCOMPARE(seam.modals.size(), 1);
    QVERIFY(!chart.renders.isEmpty());
    QCOMPARE(chart.margins.top, 14); // nothing computed without a printer
}

void ChartPrintPreviewTest::opensLandscapeWithComputedMargins() {
    ScriptedSeam seam;
    PdfPrinters printers(dir_.filePath(QStringLiteral("a.pdf")));
    FakeChart chart(QSize(800, 400));
    ChartPrintPreview preview(seam, printers, chart);
    QVERIFY(preview.hasPrinter());
    QCOMPARE(child<QComboBox>(preview, "printerList")->currentText(),
             QStringLiteral("Legal Laser"));
    QVERIFY(child<QRadioButton>(preview, "landscapeButton")->isChecked());
    QCOMPARE(preview.printer().pageLayout().orientation(), QPageLayout::Landscape);
    const QSize page = preview.pageSize();
    QVERIFY(page.width() > page.height());
    const MarginPercents expected = proportionalMargins(QSize(800, 400), page, 1.0);
    QCOMPARE(expected.left, 15);
    QCOMPARE(shownMargins(preview), expected);
    QCOMPARE(chart.margins.top, expected.top); // made the chart's margins
    QVERIFY(!child<QPushButton>(preview, "resetMarginsButton")->isEnabled());

    // Portrait chosen in one preview does not carry into the next opening.
    child<QRadioButton>(preview, "portraitButton")->setChecked(true);
    QCOMPARE(preview.printer().pageLayout().orientation(), QPageLayout::Portrait);
    ChartPrintPreview again(seam, printers, chart);
    QVERIFY(child<QRadioButton>(again, "landscapeButton")->isChecked());
    QCOMPARE(again.printer().pageLayout().orientation(), QPageLayout::Landscape);
}

void ChartPrintPreviewTest::marginFieldsRefuseAndAccept() {
    ScriptedSeam seam;
    PdfPrinters printers(dir_.filePath(QStringLiteral("b.pdf")));
    FakeChart chart(QSize(800, 400));
    ChartPrintPreview preview(seam, printers, chart);
    const MarginPercents opened = shownMargins(preview);
    auto* left = child<QSpinBox>(preview, "leftMargin");
    auto* right = child<QSpinBox>(preview, "rightMargin");
    auto* top = child<QSpinBox>(preview, "topMargin");
    auto* proportional = child<QCheckBox>(preview, "proportionalBox");
    auto* reset = child<QPushButton>(preview, "resetMarginsButton");

    left->setValue(85); // 85 + 15 = 100: refused
    QCOMPARE(left->value(), opened.left);
    QCOMPARE(preview.margins(), opened);
    QVERIFY(proportional->isChecked());
    QVERIFY(!reset->isEnabled());

    left->setValue(84); // 84 + 15 = 99: accepted, proportional off
    QCOMPARE(preview.margins().left, 84);
    QVERIFY(!proportional->isChecked());
    QCOMPARE(chart.margins.left, 84);
    QVERIFY(!chart.margins.proportional);
    QVERIFY(reset->isEnabled());

    right->setValue(16); // 84 + 16 = 100: refused
    QCOMPARE(right->value(), 15);
    top->setValue(100 - opened.bottom); // refused on the vertical pair as well
    QCOMPARE(top->value(), opened.top);
    QVERIFY(!preview.setMarginsByUser({10, 50, 10, 50}));

    reset->click();
    QCOMPARE(shownMargins(preview), opened);
    QCOMPARE(chart.margins.left, opened.left);
    QVERIFY(!reset->isEnabled());
}

void ChartPrintPreviewTest::proportionalRecomputedOnChanges() {
    ScriptedSeam seam;
    PdfPrinters printers(dir_.filePath(QStringLiteral("c.pdf")));
    FakeChart chart(QSize(800, 400));
    ChartPrintPreview preview(seam, printers, chart);
    auto* proportional = child<QCheckBox>(preview, "proportionalBox");

    // Orientation: portrait Legal gives other top and bottom margins.
    child<QRadioButton>(preview, "portraitButton")->setChecked(true);
    QSize page = preview.pageSize();
    QVERIFY(page.height() > page.width());
    QCOMPARE(preview.margins(), proportionalMargins(QSize(800, 400), page, 1.0));

    // Printer: Letter instead of Legal.
    child<QComboBox>(preview, "printerList")->setCurrentIndex(0);
    QVERIFY(preview.pageSize() != page);
    page = preview.pageSize();
    QCOMPARE(preview.margins(), proportionalMargins(QSize(800, 400), page, 1.0));

    // Switch off, change a margin, switch on: computed again.
    child<QSpinBox>(preview, "topMargin")->setValue(5);
    QVERIFY(!proportional->isChecked());
    proportional->setChecked(true);
    QCOMPARE(preview.margins(), proportionalMargins(QSize(800, 400), page, 1.0));
    QVERIFY(chart.margins.proportional);

    // Switched off, a printer change keeps the typed margins.
    child<QSpinBox>(preview, "topMargin")->setValue(5);
    child<QComboBox>(preview, "printerList")->setCurrentIndex(1);
    QCOMPARE(preview.margins().top, 5);
}

void ChartPrintPreviewTest::mouseMovesAndResizesChart() {
    ScriptedSeam seam;
    PdfPrinters printers(dir_.filePath(QStringLiteral("d.pdf")));
    FakeChart chart(QSize(800, 400));
    ChartPrintPreview preview(seam, printers, chart);
    preview.resize(900, 600);
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    auto* image = child<PrintPageImage>(preview, "pageImage");
    const MarginPercents before = preview.margins();
    const QRectF paper = image->paperRect();
    QRectF r = image->chartRect();

    // Drag the middle of the chart 10 % of the paper to the right.
    const QPoint from = r.center().toPoint();
    const QPoint to = from + QPoint(int(paper.width() / 10), 0);
    QTest::mousePress(image, Qt::LeftButton, {}, from);
    QTest::mouseMove(image, to);
    QTest::mouseRelease(image, Qt::LeftButton, {}, to);
    MarginPercents m = preview.margins();
    QVERIFY(std::abs(m.left - (before.left + 10)) <= 1);
    QVERIFY(std::abs(m.right - (before.right - 10)) <= 1);
    QCOMPARE(m.top, before.top);
    QVERIFY(!child<QCheckBox>(preview, "proportionalBox")->isChecked());

    // Pull the bottom edge up by 10 % of the paper's height.
    r = image->chartRect();
    const QPoint edge(int(r.center().x()), int(r.bottom()));
    const QPoint up = edge - QPoint(0, int(paper.height() / 10));
    QTest::mousePress(image, Qt::LeftButton, {}, edge);
    QTest::mouseMove(image, up);
    QTest::mouseRelease(image, Qt::LeftButton, {}, up);
    const MarginPercents after = preview.margins();
    QVERIFY(std::abs(after.bottom - (m.bottom + 10)) <= 1);
    QCOMPARE(after.top, m.top);
    QCOMPARE(after.left, m.left);
    QCOMPARE(chart.margins.bottom, after.bottom);
    preview.hide();
}

void ChartPrintPreviewTest::printsOnePageAndStaysOpen() {
    ScriptedSeam seam;
    const QString pdf = dir_.filePath(QStringLiteral("chart.pdf"));
    PdfPrinters printers(pdf);
    FakeChart chart(QSize(800, 400));
    ChartPrintPreview preview(seam, printers, chart);
    child<QSlider>(preview, "detailSlider")->setValue(2);
    seam.onModal([&](QDialog& dialog) {
        chart.renders.clear();
        child<QPushButton>(dialog, "printButton")->click();
        QVERIFY(dialog.isVisible()); // printing leaves the preview open
        child<QPushButton>(dialog, "closeButton")->click();
    });
    preview.showModal();
    QCOMPARE(chart.renders.first(), preview.printedRectangle());
    QCOMPARE(chart.lastDetail, 2);
    QVERIFY(chart.redraws >= 1); // closing redraws the chart on screen
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r"), 1);
}

void ChartPrintPreviewTest::settingsKeptWithChart() {
    ScriptedSeam seam;
    PdfPrinters printers(dir_.filePath(QStringLiteral("e.pdf")));
    FakeChart chart(QSize(800, 400));
    {
        ChartPrintPreview preview(seam, printers, chart);
        child<QSpinBox>(preview, "leftMargin")->setValue(20);
        child<QSlider>(preview, "detailSlider")->setValue(3);
    }
    ChartPrintPreview next(seam, printers, chart);
    QCOMPARE(next.margins().left, 20);
    QVERIFY(!child<QCheckBox>(next, "proportionalBox")->isChecked());
    QCOMPARE(child<QSlider>(next, "detailSlider")->value(), 3);
}

void ChartPrintPreviewTest::realChartPrints() {
    // The program's chart through its print source: prints into the rectangle, keeps its margins.
    ScriptedSeam seam;
    const QString pdf = dir_.filePath(QStringLiteral("real.pdf"));
    PdfPrinters printers(pdf);
    Chart chart;
    chart.resize(640, 420);
    chart.setTitleLines(
        printTitleLines(QStringLiteral("Mill Ford"), QStringLiteral("Cross Section")));
    ChartPrintSource source(chart);
    ChartPrintPreview preview(seam, printers, source);
    QCOMPARE(chart.printMargins().left, 15);
    QCOMPARE(chart.printMargins().top,
             proportionalMargins(QSize(640, 420), preview.pageSize(), 1).top);
    preview.print();
    // Rasterise the printed page: ink inside the printed rectangle, none outside it.
    QProcess ppm;
    ppm.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("30"), pdf});
    QVERIFY(ppm.waitForFinished(60000));
    QImage page;
    QVERIFY(page.loadFromData(ppm.readAllStandardOutput(), "PPM"));
    const QRect printed = preview.printedRectangle();
    // The printable area starts inside the printer's own margins.
    const double sx =
        double(page.width()) / preview.printer().paperRect(QPrinter::DevicePixel).width();
    const QPointF offset = preview.printer().pageRect(QPrinter::DevicePixel).topLeft();
    const QRect inPage(
        QPoint(int((offset.x() + printed.left()) * sx), int((offset.y() + printed.top()) * sx)),
        QSize(int(printed.width() * sx), int(printed.height() * sx)));
    int inside = 0;
    int outside = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const bool ink = qGray(page.pixel(x, y)) < 200;
            if (inPage.adjusted(-2, -2, 2, 2).contains(x, y))
                inside += ink;
            else
                outside += ink;
        }
    QCOMPARE(outside, 0);
    QVERIFY2(inside > printed.width() * sx / 2, qPrintable(QString::number(inside)));
    QCOMPARE(chart.titleLines(),
             QStringList({QStringLiteral("Mill Ford"), QStringLiteral("Cross Section")}));
}

QTEST_MAIN(ChartPrintPreviewTest)
#include "chart_print_preview_test.moc"
