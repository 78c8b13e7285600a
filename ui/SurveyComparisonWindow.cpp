// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SurveyComparisonWindow.h"

#include "components/chart/Chart.h"
#include "components/chart/StageCurves.h"
#include "components/desktop/CommaDelimitedExport.h"
#include "components/desktop/ScreenPlacement.h"
#include "components/desktop/TextCodec.h"
#include "components/grid/ReadOnlyTableModel.h"
#include "model/CommandSteps.h"
#include "model/CrossSectionDocument.h"
#include "model/Error.h"
#include "model/Numbers.h"
#include "ui/Workspace.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace korvadel {

namespace {

const QColor kCurrentColour(222, 71, 33); // the rating chart's colour: the section worked on
const QColor kEarlierColour(25, 95, 200);
const QString kCurrentName = QStringLiteral("Current section");
const QString kAllFiles = QStringLiteral("All Files (*.*)");

QString numberText(double value, NumberFormat format) {
    return QString::fromStdString(formatGeneral(value, format));
}

QCPGraph* addSectionLine(Chart& chart, const QString& name, const QPen& pen) {
    QCPGraph* line = chart.addGraph();
    line->setName(name);
    line->setPen(pen);
    line->setLineStyle(QCPGraph::lsLine);
    line->setSelectable(QCP::stNone);
    return line;
}

// Where the curves leave room: above the channel for the sections, below and right of the
// rising rating curves.
void showLegend(Chart& chart, Qt::Alignment where) {
    chart.legend->setVisible(true);
    chart.axisRect()->insetLayout()->setInsetAlignment(0, where);
    // The area series and the water level of the program's chart are not used here.
    for (QCPGraph* unused : {chart.seriesGraph(), chart.referenceGraph()})
        chart.legend->removeItem(chart.legend->itemWithPlottable(unused));
}

void setSection(QCPGraph& line, const SectionPoints& section) {
    QVector<QCPGraphData> data;
    data.reserve(static_cast<qsizetype>(section.stations.size()));
    for (std::size_t i = 0; i < section.stations.size(); ++i)
        data.append(QCPGraphData(section.stations[i], section.elevations[i]));
    line.data()->set(data, true); // ascending station, equal stations in table order
}

} // namespace

SurveyComparisonWindow::SurveyComparisonWindow(Workspace& workspace, QWidget* parent)
    : QWidget(parent, Qt::Window), workspace_(workspace) {
    setObjectName(QStringLiteral("surveyComparisonWindow"));
    setWindowTitle(QStringLiteral("Compare with Section"));

    // Every reader's own entries, then one "All Files".
    QStringList filter;
    for (const InputFormatInfo& format : inputFormats()) {
        const QStringList parts = filterText(format.dialogFilter).split(QLatin1Char('|'));
        for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
            if (parts[i + 1] == QStringLiteral("*.*"))
                continue;
            filter << parts[i] << parts[i + 1];
            filterFormats_.push_back(format.format);
        }
    }
    filter << kAllFiles << QStringLiteral("*.*");
    filterFormats_.push_back(std::nullopt);
    openDialog.kind = FileDialogState::Kind::Open;
    openDialog.filter = filter.join(QLatin1Char('|'));

    legendNote = new QLabel(this);
    legendNote->setObjectName(QStringLiteral("legendNote"));
    legendNote->setWordWrap(true);

    sectionChart = new Chart(this);
    sectionChart->setObjectName(QStringLiteral("sectionsChart"));
    sectionChart->setTitleLines({QStringLiteral("Cross Sections"), QString()});
    sectionChart->setAxisTitles(QStringLiteral("Location"), QStringLiteral("Elevation"));
    const QPen earlierPen(kEarlierColour, 1, Qt::DashLine);
    earlierSection_ = addSectionLine(*sectionChart, QString(), earlierPen);
    currentSection_ = addSectionLine(*sectionChart, kCurrentName, QPen(kCurrentColour, 1));
    showLegend(*sectionChart, Qt::AlignTop | Qt::AlignHCenter);

    ratingChart = new Chart(this);
    ratingChart->setObjectName(QStringLiteral("ratingsChart"));
    ratingChart->setTitleLines({QStringLiteral("Stage Area Ratings"), QString()});
    ratingChart->setAxisTitles(QStringLiteral("Area"), QStringLiteral("Stage"));
    earlierRating_ = addStageCurve(*ratingChart, QString(), kEarlierColour);
    earlierRating_->setPen(earlierPen);
    currentRating_ = addStageCurve(*ratingChart, kCurrentName, kCurrentColour);
    showLegend(*ratingChart, Qt::AlignBottom | Qt::AlignRight);

    auto* charts = new QSplitter(Qt::Horizontal, this);
    charts->addWidget(sectionChart);
    charts->addWidget(ratingChart);

    auto* thresholdRow = new QHBoxLayout;
    auto* thresholdLabel = new QLabel(QStringLiteral("&Threshold (%)"), this);
    threshold = new QLineEdit(QStringLiteral("5"), this);
    threshold->setObjectName(QStringLiteral("threshold"));
    threshold->setFixedWidth(70);
    thresholdLabel->setBuddy(threshold);
    summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("summary"));
    summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    thresholdRow->addWidget(thresholdLabel);
    thresholdRow->addWidget(threshold);
    thresholdRow->addSpacing(16);
    thresholdRow->addWidget(summary, 1);

    tableView = new QTableView(this);
    tableView->setObjectName(QStringLiteral("comparisonTable"));
    model_ = new ReadOnlyTableModel(this);
    tableView->setModel(model_);
    tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    tableView->verticalHeader()->hide();
    tableView->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);

    auto* lower = new QWidget(this);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->addLayout(thresholdRow);
    lowerLayout->addWidget(tableView, 1);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(charts);
    split->addWidget(lower);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);

    exportButton = new QPushButton(QStringLiteral("&Export Table..."), this);
    exportButton->setObjectName(QStringLiteral("exportButton"));
    closeButton = new QPushButton(QStringLiteral("&Close"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(exportButton);
    buttons->addWidget(closeButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(legendNote);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);
    resize(1000, 720);

    connect(threshold, &QLineEdit::textChanged, this, [this] {
        compare();
        showComparison();
    });
    workspace_.commands().route(exportButton, [this] { exportTable(); });
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
}

SurveyComparisonWindow::~SurveyComparisonWindow() = default;

InputFormat SurveyComparisonWindow::chosenFormat() const {
    for (const InputFormatInfo& format : inputFormats()) {
        for (const std::string_view ending : format.nameEndings) {
            if (openDialog.fileName.endsWith(filterText(ending), Qt::CaseInsensitive))
                return format.format;
        }
    }
    const std::size_t entry = static_cast<std::size_t>(std::max(openDialog.filterIndex, 1) - 1);
    if (entry < filterFormats_.size() && filterFormats_[entry])
        return *filterFormats_[entry];
    return inputFormatForPath(toFilePath(openDialog.fileName));
}

void SurveyComparisonWindow::compareWithFile(QWidget* dialogParent) {
    if (!workspace_.seam().runFileDialog(dialogParent, openDialog))
        return;
    const NumberFormat format = workspace_.format();
    const std::string path = toFilePath(openDialog.fileName);

    // Everything is read and worked out before the window changes, so a failure leaves the last
    // comparison as it was.
    CrossSectionDocument file;
    inputFormat(chosenFormat()).read(path, file, format);
    file.points.first();
    SectionPoints earlier = sectionPoints(file.points);
    requireRatingPoints(path, earlier.stations.size());
    SectionPoints current = sectionPoints(workspace_.document().points);
    if (current.stations.size() < 2)
        throw Error("The current section has fewer than two points: there is nothing to "
                    "compare (a rating needs at least two).");
    RatingStages run(ratingBounds(workspace_.document().settings), format);

    earlier_ = std::move(earlier);
    current_ = std::move(current);
    run_ = run;
    earlierName_ = QFileInfo(openDialog.fileName).fileName();
    compare();
    showComparison();
    showCharts();
    if (!isVisible())
        centreForShowing(*this);
    show();
    raise();
    activateWindow();
}

void SurveyComparisonWindow::compare() {
    thresholdProblem_.clear();
    try {
        const double value = readNamedNumber(toFileText(threshold->text().trimmed()), "Threshold",
                                             workspace_.format());
        checkComparisonThreshold(value, "Threshold", workspace_.format());
        thresholdPercent_ = value;
    } catch (const Error& error) {
        thresholdProblem_ = DesktopSeam::errorBoxText(messageText(error));
    }
    if (!run_)
        return;
    comparison_.rows.clear();
    comparison_.summary = compareSurveysOverRun(
        SurveyPair{earlier_.stations, earlier_.elevations, current_.stations, current_.elevations},
        *run_, thresholdPercent_, [this](const SurveyComparison& part) {
            comparison_.rows.insert(comparison_.rows.end(), part.rows.begin(), part.rows.end());
        });
}

void SurveyComparisonWindow::showComparison() {
    const NumberFormat format = workspace_.format();
    model_->setTable({QStringLiteral("Stage"), QStringLiteral("Old Area"),
                      QStringLiteral("New Area"), QStringLiteral("Difference"),
                      QStringLiteral("Difference %"), QStringLiteral("Beyond Threshold")},
                     static_cast<int>(comparison_.rows.size()), [this, format](int r, int column) {
                         const ComparisonRow& row = comparison_.rows[static_cast<std::size_t>(r)];
                         switch (column) {
                         case 0:
                             return numberText(row.stage, format);
                         case 1:
                             return numberText(row.areaOld, format);
                         case 2:
                             return numberText(row.areaNew, format);
                         case 3:
                             return numberText(row.difference, format);
                         case 4:
                             return row.percent ? numberText(*row.percent, format) : QString();
                         default:
                             return row.beyondThreshold ? QStringLiteral("yes")
                                                        : QStringLiteral("no");
                         }
                     });
    tableView->resizeColumnsToContents();
    legendNote->setText(
        QStringLiteral("Old: %1, the file picked (blue, dashed). New: the current section "
                       "(red). Difference = new \u2212 old, in percent of old; the stages of the "
                       "main window's gage-height settings.")
            .arg(earlierName_));
    summary->setText(
        thresholdProblem_.isEmpty()
            ? QString::fromStdString(comparisonSummaryLine(comparison_.summary, thresholdPercent_))
                  .trimmed()
            : thresholdProblem_);
}

void SurveyComparisonWindow::showCharts() {
    earlierSection_->setName(earlierName_);
    earlierRating_->setName(earlierName_);
    setSection(*earlierSection_, earlier_);
    setSection(*currentSection_, current_);
    QVector<double> stages;
    QVector<double> oldAreas;
    QVector<double> newAreas;
    for (const ComparisonRow& row : comparison_.rows) {
        stages.append(row.stage);
        oldAreas.append(row.areaOld);
        newAreas.append(row.areaNew);
    }
    setStageCurve(*earlierRating_, stages, oldAreas);
    setStageCurve(*currentRating_, stages, newAreas);
    fitChartToCurves(*sectionChart);
    fitChartToCurves(*ratingChart);
}

void SurveyComparisonWindow::exportTable() {
    if (!thresholdProblem_.isEmpty())
        throw Error(thresholdProblem_.toStdString());
    exportCommaDelimited(workspace_.seam(), this, exportDialog,
                         [this] { return comparisonCsv(comparison_); });
}

} // namespace korvadel
