// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/RatingWindow.h"

#include "components/chart/Chart.h"
#include "components/chart/ChartPicture.h"
#include "components/chart/ChartPrintPreview.h"
#include "components/chart/RatingChart.h"
#include "components/desktop/ActionTable.h"
#include "components/desktop/ScreenPlacement.h"
#include "components/desktop/TextCodec.h"
#include "components/grid/RatingGrid.h"
#include "components/report/RatingTableReport.h"
#include "components/widgets/NoticeLine.h"
#include "components/wmf/WmfPaintDevice.h"
#include "model/Numbers.h"
#include "ui/Workspace.h"

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
    setObjectName(QStringLiteral("ratingWindow"));
    setWindowTitle(QStringLiteral("Stage Area Rating"));

    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    outOfDate_ = new NoticeLine(central);
    outOfDate_->setObjectName(QStringLiteral("outOfDate"));
    column->addWidget(outOfDate_);
    auto* layout = new QHBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    column->addLayout(layout, 1);

    auto* panel = new QFrame(central);
    panel->setObjectName(QStringLiteral("gridPanel"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    panel->setFixedWidth(kPanelWidth);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(1, 1, 1, 1);
    ratingGrid_ = new RatingGrid(workspace_.rating(), workspace_.seam(),
                                 workspace_.format().decimalSeparator, panel);
    ratingGrid_->setObjectName(QStringLiteral("ratingGrid"));
    panelLayout->addWidget(ratingGrid_);
    layout->addWidget(panel);

    ratingChart_ = new Chart(central);
    ratingChart_->setObjectName(QStringLiteral("ratingChart"));
    setUpRatingChart(*ratingChart_, workspace_.rating());
    layout->addWidget(ratingChart_, 1);
    setCentralWidget(central);

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("optionsMenu"));
    CommandRunner& commands = workspace_.commands();
    auto command = [this](void (RatingWindow::*handler)()) {
        return [this, handler] { (this->*handler)(); };
    };
    addActionTable(*this, options, commands,
                   {{QStringLiteral("Print &Table"),
                     QStringLiteral("printTableAction"),
                     {},
                     command(&RatingWindow::printTable)},
                    {QStringLiteral("Print Chart"),
                     QStringLiteral("printChartAction"),
                     {},
                     command(&RatingWindow::printChart)}});
    QMenu* exportChart = options->addMenu(QStringLiteral("Export Chart as"));
    exportChart->setObjectName(QStringLiteral("exportChartMenu"));
    addActionTable(*this, exportChart, commands,
                   {{QStringLiteral("JPEG"),
                     QStringLiteral("exportJpegAction"),
                     {},
                     command(&RatingWindow::exportJpeg)},
                    {QStringLiteral("MetaFile WMF"),
                     QStringLiteral("exportMetafileAction"),
                     {},
                     command(&RatingWindow::exportMetafile)}});
    QMenu* dataMenu = options->addMenu(QStringLiteral("Export Data as"));
    dataMenu->setObjectName(QStringLiteral("exportDataMenu"));
    addActionTable(
        *this, dataMenu, commands,
        {{QStringLiteral("&Comma Delimited"),
          QStringLiteral("exportCommaDelimitedAction"),
          {},
          command(&RatingWindow::exportCommaDelimited)},
         {QStringLiteral("HTML"),
          QStringLiteral("exportHtmlAction"),
          {},
          command(&RatingWindow::exportHtml)},
         {QStringLiteral("Excel"),
          QStringLiteral("exportExcelAction"),
          {},
          command(&RatingWindow::exportExcel)},
         {QStringLiteral("RDB (tab-delimited)"), QStringLiteral("exportRdbAction"), {}, [this] {
              exportData(OutputFormat::Rdb);
          }}});
    addActionTable(*this, options, commands,
                   {{QStringLiteral("Hydraulic &Properties..."),
                     QStringLiteral("propertiesAction"),
                     {},
                     [this] { emit propertiesRequested(); }},
                    {},
                    {QStringLiteral("&Close Window"),
                     QStringLiteral("closeAction"),
                     {},
                     command(&RatingWindow::closeWindow)}});

    exportDialog.kind = FileDialogState::Kind::Save;
    exportDialog.overwritePrompt = false;

    const int menuHeight = menuBar()->sizeHint().height();
    resize(kPanelWidth + kRatingChartSize.width(), kRatingChartSize.height() + menuHeight);

    connect(&workspace_, &Workspace::ratingCreated, this, &RatingWindow::showRating);
    connect(&workspace_, &Workspace::ratingOutOfDateChanged, this, [this](bool outOfDate) {
        outOfDate_->setNotice(outOfDate ? QStringLiteral("The section has changed since this "
                                                         "rating was created: create it again.")
                                        : QString());
    });
    // The title printed for the old document's site does not stay over the new one's rating.
    connect(&workspace_, &Workspace::documentReplaced, this,
            [this] { setUpRatingChartTitle(*ratingChart_); });
}

RatingWindow::~RatingWindow() = default;

void RatingWindow::showRating() {
    // Centred every time it comes up; a window already shown stays where it is. Made again
    // while open, it takes the keyboard from the window the command came from.
    presentWindow(*this);
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
    previewChartPrint(workspace_.seam(), workspace_.printers(), *ratingChart_,
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
    saveChartJpeg(*ratingChart_, toFilePath(dialog.fileName));
}

void RatingWindow::exportMetafile() {
    const OutputFormatInfo& metafile = outputFormat(OutputFormat::Metafile);
    exportDialog.defaultExtension = filterText(metafile.extension);
    exportDialog.filter = filterText(metafile.dialogFilter);
    exportDialog.fileName.clear();
    if (!workspace_.seam().runFileDialog(this, exportDialog))
        return;
    saveChartMetafile(*ratingChart_, toFilePath(exportDialog.fileName),
                      ScreenReference::fromScreen(screen()));
}

} // namespace korvadel
