// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/TableNotifier.h"

#include <qcustomplot.h>

#include <QStringList>

#include <functional>

class QPainter;
class QVariantAnimation;

namespace korvadel {

class PointTable;
class RatingTable;

// Where a chart goes on a printed page, kept with the chart for the whole run so a preview
// can change it and the next preview starts from there.
struct PrintMargins {
    int left = 15;   // percent of the page width
    int top = 15;    // percent of the page height
    int right = 15;  // percent of the page width
    int bottom = 15; // percent of the page height
    bool proportional = true;
    int detail = 0; // 0 = "Normal"; larger values ask for more detail
};

// The program's chart: title lines above the plot, two axis titles, no legend, and at most one
// series bound to a table (an area series over the point table or a line series over the rating
// table). The bound series follows the table: it re-reads all rows on every change the table
// reports; while the table's views are suspended nothing arrives, and the final resume's Reset
// refreshes it once.
//
// Everything the chart draws goes through render(), so the screen, a picture, a metafile and
// a printer page show the same drawing.
class Chart : public QCustomPlot {
    Q_OBJECT
public:
    explicit Chart(QWidget* parent = nullptr);
    ~Chart() override;

    // Lines drawn centred above the plot; an empty line keeps its line height.
    QStringList titleLines() const { return titleLines_; }
    void setTitleLines(const QStringList& lines);
    QString bottomAxisTitle() const;
    QString leftAxisTitle() const;
    void setAxisTitles(const QString& bottom, const QString& left);

    // Area series over `points`: x = Station (ascending), y = Elevation, filled between the
    // line and the reference level. Rows without a Station are not drawn.
    void bindAreaSeries(PointTable& points);
    // Line series over `rating`: x = Area (points taken in ascending x), y = Stage, with markers.
    void bindLineSeries(RatingTable& rating);
    // Stops following the bound table.
    void unbind();

    // The fill baseline of the area series. Does not redraw by itself. Automatic axes fit the
    // section alone; a level outside them takes the fill to the plot's edge on its side.
    double referenceLevel() const { return referenceLevel_; }
    void setReferenceLevel(double level);

    // Called before every redraw and before every render(), so the owner can move the
    // reference level to what it should be at that moment.
    void setBeforeDraw(std::function<void()> hook) { beforeDraw_ = std::move(hook); }

    // Re-reads the bound series from its table and redraws.
    void refreshFromTable();

    // Fixed axis ranges, for the water-level animation: the horizontal axis gets
    // [xMinimum, xMaximum], the vertical axis gets yMaximum as its top and keeps the minimum it
    // had when it stopped being automatic.
    void setAxisRangesFixed(double xMinimum, double xMaximum, double yMaximum);
    // Both axes follow the data again.
    void setAutomaticAxes();
    bool axesAutomatic() const { return automaticAxes_; }

    // Mouse-wheel zoom, eased over a short animation; a double click returns to automatic axes.
    void setAnimatedZoom(bool enabled) { animatedZoom_ = enabled; }

    // Draws the chart exactly as on screen at clientSize(), scaled into `target`.
    void render(QPainter& painter, const QRect& target);
    QSize clientSize() const;

    PrintMargins printMargins() const { return printMargins_; }
    void setPrintMargins(const PrintMargins& margins) { printMargins_ = margins; }

    // For tests and exports: the series as drawn (keys ascending).
    QCPGraph* seriesGraph() const { return series_; }
    QCPGraph* referenceGraph() const { return reference_; }
    int refreshCount() const { return refreshCount_; }

protected:
    void wheelEvent(QWheelEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    enum class Binding { None, Area, Line };

    void runBeforeDraw();
    void readSeries();
    void updateReferenceGraph();
    void applyAutomaticRanges();
    void onTableChange();

    QCPTextElement* title_ = nullptr;
    QStringList titleLines_;
    QCPGraph* series_ = nullptr;
    QCPGraph* reference_ = nullptr;
    Binding binding_ = Binding::None;
    PointTable* points_ = nullptr;
    RatingTable* rating_ = nullptr;
    TableSubscription subscription_;
    double referenceLevel_ = 0.0;
    bool automaticAxes_ = true;
    bool animatedZoom_ = false;
    bool inBeforeDraw_ = false;
    int refreshCount_ = 0;
    std::function<void()> beforeDraw_;
    QVariantAnimation* zoomAnimation_ = nullptr;
    PrintMargins printMargins_;
};

} // namespace korvadel
