// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "components/desktop/DesktopSeam.h"
#include "io/OutputFormats.h"

#include <QMainWindow>

namespace korvadel {

class Chart;
class NoticeLine;
class RatingGrid;
class Workspace;

// The rating window: the workspace's rating as a grid beside its stage-against-area curve, with
// the menu that exports and prints them. It comes up (centred) when a rating run completes.
// When the section has changed since the rating was created, a line above the grid and the
// curve says so until the rating is created again; a new document puts the chart's title back
// to its first lines.
//
// Controls by object name: "ratingGrid", "ratingChart", "outOfDate", and the actions
// "printTableAction", "printChartAction", "exportJpegAction", "exportMetafileAction",
// "exportCommaDelimitedAction", "exportHtmlAction", "exportExcelAction", "exportRdbAction",
// "propertiesAction", "closeAction".
class RatingWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit RatingWindow(Workspace& workspace, QWidget* parent = nullptr);
    ~RatingWindow() override;

    // What the window shows and works on.
    Workspace& workspace() const { return workspace_; }

    // Shows the window (centred), or leaves it where it is when it is already shown.
    void showRating();

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
    RatingGrid* ratingGrid_ = nullptr;
    Chart* ratingChart_ = nullptr;
    NoticeLine* outOfDate_ = nullptr;
};

} // namespace korvadel
