// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "components/desktop/DesktopSeam.h"
#include "io/OutputFormats.h"

#include <QMainWindow>

class QAction;

namespace korvadel {

class Chart;
class RatingGrid;
class Workspace;

// The rating window: the workspace's rating as a grid beside its stage-against-area curve, with
// the menu that exports and prints them. It comes up (centred) when a rating run completes.
class RatingWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit RatingWindow(Workspace& workspace, QWidget* parent = nullptr);
    ~RatingWindow() override;

    // What the window shows and works on.
    Workspace& workspace() const { return workspace_; }

    // Shows the window (centred), or leaves it where it is when it is already shown.
    void showRating();

    RatingGrid* ratingGrid = nullptr;
    Chart* ratingChart = nullptr;

    QAction* printTableAction = nullptr;
    QAction* printChartAction = nullptr;
    QAction* exportJpegAction = nullptr;
    QAction* exportMetafileAction = nullptr;
    QAction* exportCommaDelimitedAction = nullptr;
    QAction* exportHtmlAction = nullptr;
    QAction* exportExcelAction = nullptr;
    QAction* propertiesAction = nullptr; // "Hydraulic &Properties..."
    QAction* closeAction = nullptr;

    // The save dialog the data exports and the metafile share; each command sets its own
    // extension and filter.
    FileDialogState exportDialog;

signals:
    void propertiesRequested();

private:
    void closeWindow();
    void printTable();
    void printChart();
    void exportJpeg();
    void exportMetafile();
    void exportCommaDelimited();
    void exportHtml();
    void exportExcel();

    // The rating's rows in one of the output formats' tables, through the shared dialog.
    void exportData(OutputFormat format);

    Workspace& workspace_;
};

} // namespace korvadel
