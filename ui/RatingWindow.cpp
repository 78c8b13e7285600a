// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/RatingWindow.h"

#include "components/chart/Chart.h"
#include "components/chart/ChartPicture.h"
#include "components/chart/ChartPrintPreview.h"
#include "components/chart/RatingChart.h"
#include "components/desktop/ScreenPlacement.h"
#include "components/desktop/TextCodec.h"
#include "components/grid/RatingGrid.h"
#include "components/report/RatingTableReport.h"
#include "components/wmf/WmfPaintDevice.h"
#include "model/Numbers.h"
#include "ui/Workspace.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QVBoxLayout>

namespace korvadel {

namespace {

// Sizes at 96 dots per inch. The chart takes the rest of the client area beside the grid's
// panel, at the size its pictures are drawn by default.
constexpr int kPanelWidth = 205;

} // namespace

RatingWindow::RatingWindow(Workspace& workspace, QWidget* parent)
    : QMainWindow(parent), workspace_(workspace) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Stage Area Rating"));

    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* panel = new QFrame(central);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    panel->setFixedWidth(kPanelWidth);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(1, 1, 1, 1);
    ratingGrid = new RatingGrid(workspace_.rating(), workspace_.seam(),
                                workspace_.format().decimalSeparator, panel);
    ratingGrid->setObjectName(QStringLiteral("DBGrid1"));
    panelLayout->addWidget(ratingGrid);
    layout->addWidget(panel);

    ratingChart = new Chart(central);
    ratingChart->setObjectName(QStringLiteral("DBChart1"));
    setUpRatingChart(*ratingChart, workspace_.rating());
    layout->addWidget(ratingChart, 1);
    setCentralWidget(central);

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("Options1"));
    CommandRunner& commands = workspace_.commands();
    auto add = [this, &commands](QMenu* menu, const QString& text, const QString& name,
                                 void (RatingWindow::*handler)()) {
        auto* action = menu->addAction(text);
        action->setObjectName(name);
        commands.route(action, [this, handler] { (this->*handler)(); });
        return action;
    };
    printTableAction = add(options, QStringLiteral("Print &Table"), QStringLiteral("PrintTable1"),
                           &RatingWindow::printTable);
    printChartAction = add(options, QStringLiteral("Print Chart"), QStringLiteral("PrintChart2"),
                           &RatingWindow::printChart);
    QMenu* exportChart = options->addMenu(QStringLiteral("Export Chart as"));
    exportChart->setObjectName(QStringLiteral("ExportChartas1"));
    exportJpegAction = add(exportChart, QStringLiteral("JPEG"), QStringLiteral("JPEG1"),
                           &RatingWindow::exportJpeg);
    exportMetafileAction = add(exportChart, QStringLiteral("MetaFile WMF"),
                               QStringLiteral("MetaFileWMF1"), &RatingWindow::exportMetafile);
    QMenu* exportData = options->addMenu(QStringLiteral("Export Data as"));
    exportData->setObjectName(QStringLiteral("ExportDataas1"));
    exportCommaDelimitedAction = add(exportData, QStringLiteral("&Comma Delimited"),
                                     QStringLiteral("Text1"), &RatingWindow::exportCommaDelimited);
    exportHtmlAction =
        add(exportData, QStringLiteral("HTML"), QStringLiteral("HTML1"), &RatingWindow::exportHtml);
    exportExcelAction = add(exportData, QStringLiteral("Excel"), QStringLiteral("Excel1"),
                            &RatingWindow::exportExcel);
    propertiesAction = options->addAction(QStringLiteral("Hydraulic &Properties..."));
    propertiesAction->setObjectName(QStringLiteral("hydraulicPropertiesAction"));
    commands.route(propertiesAction, [this] { emit propertiesRequested(); });
    options->addSeparator();
    closeAction = add(options, QStringLiteral("&Close Window"), QStringLiteral("CloseWindow1"),
                      &RatingWindow::closeWindow);

    exportDialog.kind = FileDialogState::Kind::Save;
    exportDialog.overwritePrompt = false;

    const int menuHeight = menuBar()->sizeHint().height();
    resize(kPanelWidth + kRatingChartSize.width(), kRatingChartSize.height() + menuHeight);

    connect(&workspace_, &Workspace::ratingCreated, this, [this] {
        ratingChart->refreshFromTable();
        showRating();
    });
}

RatingWindow::~RatingWindow() = default;

void RatingWindow::showRating() {
    // Centred every time it comes up; a window already shown stays where it is.
    if (!isVisible())
        centreForShowing(*this);
    show();
    raise();
    // Made again while open, it takes the keyboard from the window the command came from.
    activateWindow();
}

void RatingWindow::closeWindow() {
    hide();
}

void RatingWindow::exportData(OutputFormat format) {
    const OutputFormatInfo& table = outputFormat(format);
    // A rating the format cannot hold is refused before a file name is asked for.
    if (table.check)
        table.check(workspace_.rating());
    exportDialog.defaultExtension = filterText(table.extension);
    exportDialog.filter = filterText(table.dialogFilter);
    exportDialog.fileName.clear();
    if (!workspace_.seam().runFileDialog(this, exportDialog))
        return;
    // The description and the datum of the section the rating was made from, for the formats
    // that state them.
    RatingExportContext context{workspace_.format(), workspace_.document().description, 0.0};
    if (const auto& run = workspace_.ratingRun())
        tryTextToFloat(run->bounds.datum, context.datum, workspace_.format());
    table.write(toFilePath(exportDialog.fileName), workspace_.rating(), context);
}

void RatingWindow::exportCommaDelimited() {
    exportData(OutputFormat::CommaDelimited);
}

void RatingWindow::exportHtml() {
    exportData(OutputFormat::Html);
}

void RatingWindow::exportExcel() {
    exportData(OutputFormat::Excel);
}

void RatingWindow::printTable() {
    previewRatingTableReport(workspace_.seam(), workspace_.printers(), workspace_.rating(),
                             workspace_.descriptionText(), workspace_.format());
}

void RatingWindow::printChart() {
    previewChartPrint(workspace_.seam(), workspace_.printers(), *ratingChart,
                      workspace_.descriptionText(), QStringLiteral("Stage Area Rating"), this);
}

void RatingWindow::exportJpeg() {
    // A dialog of its own, made afresh each time: it starts with an empty name and asks before
    // replacing a file.
    const OutputFormatInfo& jpeg = outputFormat(OutputFormat::Jpeg);
    FileDialogState dialog;
    dialog.kind = FileDialogState::Kind::Save;
    dialog.filter = filterText(jpeg.dialogFilter);
    dialog.defaultExtension = filterText(jpeg.extension);
    dialog.overwritePrompt = true;
    if (!workspace_.seam().runFileDialog(this, dialog))
        return;
    saveChartJpeg(*ratingChart, toFilePath(dialog.fileName));
}

void RatingWindow::exportMetafile() {
    const OutputFormatInfo& metafile = outputFormat(OutputFormat::Metafile);
    exportDialog.defaultExtension = filterText(metafile.extension);
    exportDialog.filter = filterText(metafile.dialogFilter);
    exportDialog.fileName.clear();
    if (!workspace_.seam().runFileDialog(this, exportDialog))
        return;
    saveChartMetafile(*ratingChart, toFilePath(exportDialog.fileName),
                      ScreenReference::fromScreen(screen()));
}

} // namespace korvadel
