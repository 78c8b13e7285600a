// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "components/chart/ChartPrintLayout.h"
#include "components/desktop/DesktopSeam.h"

#include <QDialog>
#include <QWidget>

#include <memory>

class QCheckBox;
class QComboBox;
class QPrinter;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;

namespace korvadel {

class Chart;
class PrinterAccess;
struct PrintMargins;

// What the print preview needs of a chart; the program's charts come through ChartPrintSource,
// tests may bring their own.
class PrintableChart {
public:
    virtual ~PrintableChart() = default;
    virtual QSize clientSize() const = 0;
    // Draws the chart into target. detail 0 draws it as on screen; each step up lays the chart
    // out on a larger canvas before scaling it down, so text and lines take less of the page
    // and the axes get more ticks.
    virtual void render(QPainter& painter, const QRect& target, int detail) = 0;
    virtual PrintMargins printMargins() const = 0;
    virtual void setPrintMargins(const PrintMargins& margins) = 0;
    virtual void redraw() = 0;
};

class ChartPrintSource : public PrintableChart {
public:
    explicit ChartPrintSource(Chart& chart) : chart_(chart) {}
    QSize clientSize() const override;
    void render(QPainter& painter, const QRect& target, int detail) override;
    PrintMargins printMargins() const override;
    void setPrintMargins(const PrintMargins& margins) override;
    void redraw() override;

private:
    void drawScaled(QPainter& painter, const QRect& target, int detail);

    Chart& chart_;
};

class ChartPrintPreview;

// The printer page in miniature with the chart in its printed rectangle. The rectangle can be
// dragged (move) and its edges and corners pulled (resize) with the mouse.
class PrintPageImage : public QWidget {
    Q_OBJECT
public:
    explicit PrintPageImage(ChartPrintPreview& preview, QWidget* parent = nullptr);
    QRectF paperRect() const; // the page in widget coordinates
    QRectF chartRect() const; // the printed rectangle in widget coordinates

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum Edge { None = 0, Left = 1, Top = 2, Right = 4, Bottom = 8, Move = 16 };
    int edgesAt(QPointF pos) const;

    ChartPrintPreview& preview_;
    int dragEdges_ = None;
    QPointF dragStart_;
    QRectF dragRect_;
};

// "Korvadel Print Preview": shows the printer page with the chart drawn inside its margins and
// prints it on one page. Margins, the proportional switch and the detail setting are written
// back to the chart as they change, so the next preview of that chart starts from them.
class ChartPrintPreview : public QDialog {
    Q_OBJECT
public:
    ChartPrintPreview(DesktopSeam& seam, const PrinterAccess& printers, PrintableChart& chart,
                      QWidget* parent = nullptr);
    ~ChartPrintPreview() override;

    // Opens the preview modally (through the seam), centred on the screen.
    void showModal();

    MarginPercents margins() const { return margins_; }
    // Applies margins typed or dragged by the user. Refused (false) when not acceptable;
    // accepted margins switch proportional off.
    bool setMarginsByUser(const MarginPercents& margins);
    bool proportional() const;
    bool hasPrinter() const { return hasPrinter_; }
    QPrinter& printer() { return *printer_; }
    QSize pageSize() const { return pageSize_; } // printable page in device pixels
    QRect printedRectangle() const { return printedRect(margins_, pageSize_); }
    PrintableChart& chart() { return chart_; }
    bool viewMargins() const;
    int detail() const;

    void print();

protected:
    void done(int result) override;

private:
    void buildControls();
    void printerChosen(int index);
    void orientationChosen();
    void proportionalToggled(bool on);
    void marginFieldChanged();
    void resetMargins();
    void setupPrinter();
    void readPage();
    void recompute();
    void showMargins();
    void storeInChart();

    DesktopSeam& seam_;
    const PrinterAccess& printers_;
    PrintableChart& chart_;
    std::unique_ptr<QPrinter> printer_;
    bool hasPrinter_ = false;
    QSize pageSize_;
    double aspect_ = 1;
    MarginPercents margins_;
    MarginPercents resetTo_;
    bool updating_ = false;

    PrintPageImage* pageImage_ = nullptr;
    QComboBox* printerList_ = nullptr;
    QPushButton* setupButton_ = nullptr;
    QRadioButton* portraitButton_ = nullptr;
    QRadioButton* landscapeButton_ = nullptr;
    QSpinBox* topMargin_ = nullptr;
    QSpinBox* leftMargin_ = nullptr;
    QSpinBox* bottomMargin_ = nullptr;
    QSpinBox* rightMargin_ = nullptr;
    QPushButton* resetMarginsButton_ = nullptr;
    QCheckBox* viewMarginsBox_ = nullptr;
    QSlider* detailSlider_ = nullptr;
    QCheckBox* proportionalBox_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};

} // namespace korvadel

namespace korvadel {

// The chart print commands: the chart's title lines become the description over the fixed
// title (see printTitleLines) and stay so; then the print preview of the chart opens.
void previewChartPrint(DesktopSeam& seam, const PrinterAccess& printers, Chart& chart,
                       const QString& description, const QString& fixedTitle,
                       QWidget* parent = nullptr);

} // namespace korvadel
