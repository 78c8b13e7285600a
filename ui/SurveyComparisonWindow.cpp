// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SurveyComparisonWindow.h"

#include "components/chart/Chart.h"
#include "components/chart/Palette.h"
#include "components/chart/StageCurves.h"
#include "components/desktop/CommaDelimitedExport.h"
#include "components/desktop/ScreenPlacement.h"
#include "components/desktop/TextCodec.h"
#include "components/grid/ReadOnlyTableModel.h"
#include "components/grid/ResultTable.h"
#include "components/widgets/NoticeLine.h"
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
#include <QVBoxLayout>

#include <algorithm>

namespace korvadel {

namespace {

const QString kCurrentName = QStringLiteral("Current section");
const QString kAllFiles = QStringLiteral("All Files (*.*)");

QString numberText(double value, NumberFormat format) {
    return QString::fromStdString(formatGeneral(value, format));
}

bool sameBounds(const RatingBounds& a, const RatingBounds& b) {
    return a.minimum == b.minimum && a.maximum == b.maximum && a.increment == b.increment &&
           a.datum == b.datum;
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

    // Every reader's own entries, then one "All Files". The files that need a choice beside
    // them (which cross section, which pins) are left to the imports, which ask for it.
    QStringList filter;
    for (const InputFormatInfo& format : inputFormats()) {
        if (format.format == InputFormat::HecRasGeometry ||
            format.format == InputFormat::SurveyedPoints)
            continue;
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

    legendNote_ = new QLabel(this);
    legendNote_->setObjectName(QStringLiteral("legendNote"));
    legendNote_->setWordWrap(true);
    outOfDate_ = new NoticeLine(this);
    outOfDate_->setObjectName(QStringLiteral("outOfDate"));

    // The section worked on in the rating chart's colour, the file's survey dashed beside it.
    sectionChart_ = new Chart(this);
    sectionChart_->setObjectName(QStringLiteral("sectionsChart"));
    sectionChart_->setTitleLines({QStringLiteral("Cross Sections"), QString()});
    sectionChart_->setAxisTitles(QStringLiteral("Location"), QStringLiteral("Elevation"));
    const QPen earlierPen(palette::kWater, 1, Qt::DashLine);
    earlierSection_ = addSectionLine(*sectionChart_, QString(), earlierPen);
    currentSection_ = addSectionLine(*sectionChart_, kCurrentName, QPen(palette::kRatingLine, 1));
    showLegend(*sectionChart_, Qt::AlignTop | Qt::AlignHCenter);

    ratingChart_ = new Chart(this);
    ratingChart_->setObjectName(QStringLiteral("ratingsChart"));
    ratingChart_->setTitleLines({QStringLiteral("Stage Area Ratings"), QString()});
    ratingChart_->setAxisTitles(QStringLiteral("Area"), QStringLiteral("Stage"));
    earlierRating_ = addStageCurve(*ratingChart_, QString(), palette::kWater);
    earlierRating_->setPen(earlierPen);
    currentRating_ = addStageCurve(*ratingChart_, kCurrentName, palette::kRatingLine);
    showLegend(*ratingChart_, Qt::AlignBottom | Qt::AlignRight);

    auto* charts = new QSplitter(Qt::Horizontal, this);
    charts->addWidget(sectionChart_);
    charts->addWidget(ratingChart_);

    auto* thresholdRow = new QHBoxLayout;
    auto* thresholdLabel = new QLabel(QStringLiteral("&Threshold (%)"), this);
    threshold_ = new QLineEdit(QStringLiteral("5"), this);
    threshold_->setObjectName(QStringLiteral("threshold"));
    threshold_->setFixedWidth(70);
    thresholdLabel->setBuddy(threshold_);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("summary"));
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* swapButton = new QPushButton(QStringLiteral("S&wap Old and New"), this);
    swapButton->setObjectName(QStringLiteral("swapButton"));
    thresholdRow->addWidget(thresholdLabel);
    thresholdRow->addWidget(threshold_);
    thresholdRow->addSpacing(16);
    thresholdRow->addWidget(summary_, 1);
    thresholdRow->addWidget(swapButton);

    tableView_ = new ResultTableView(this);
    tableView_->setObjectName(QStringLiteral("comparisonTable"));

    auto* lower = new QWidget(this);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->addLayout(thresholdRow);
    lowerLayout->addWidget(tableView_, 1);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(charts);
    split->addWidget(lower);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(legendNote_);
    layout->addWidget(outOfDate_);
    layout->addWidget(split, 1);
    layout->addLayout(
        addFootButtons(*this, workspace_.commands(), [this] { exportTable(); }).layout);
    resize(1000, 720);

    connect(threshold_, &QLineEdit::textChanged, this, [this] {
        compare();
        showComparison();
    });
    workspace_.commands().route(swapButton, [this] { swap(); });
    for (auto signal : {&Workspace::pointsChanged, &Workspace::settingsChanged})
        connect(&workspace_, signal, this, &SurveyComparisonWindow::showOutOfDate);
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
    RatingStages run(workspace_.ratingBounds(), format);

    earlier_ = std::move(earlier);
    current_ = std::move(current);
    currentVersion_ = workspace_.sectionVersion();
    settingsUsed_ = workspace_.ratingBounds();
    run_ = run;
    earlierName_ = QFileInfo(openDialog.fileName).fileName();
    compare();
    showComparison();
    showCharts();
    showOutOfDate();
    presentWindow(*this);
}

void SurveyComparisonWindow::swap() {
    swapped_ = !swapped_;
    compare();
    showComparison();
    showCharts();
}

void SurveyComparisonWindow::showOutOfDate() {
    const bool outOfDate =
        !current_.stations.empty() && (!workspace_.sectionIs(current_, currentVersion_) ||
                                       !sameBounds(workspace_.ratingBounds(), settingsUsed_));
    outOfDate_->setNotice(outOfDate ? QStringLiteral("The section or its gage-height settings "
                                                     "have changed since this comparison was "
                                                     "made: compare again.")
                                    : QString());
}

void SurveyComparisonWindow::compare() {
    thresholdProblem_.clear();
    try {
        const double value = readNamedNumber(toFileText(threshold_->text().trimmed()), "Threshold",
                                             workspace_.format());
        checkComparisonThreshold(value, "Threshold", workspace_.format());
        thresholdPercent_ = value;
    } catch (const Error& error) {
        thresholdProblem_ = DesktopSeam::errorBoxText(messageText(error));
    }
    if (!run_)
        return;
    const SectionPoints& older = swapped_ ? current_ : earlier_;
    const SectionPoints& newer = swapped_ ? earlier_ : current_;
    comparison_.rows.clear();
    comparison_.summary = compareSurveysOverRun(
        SurveyPair{older.stations, older.elevations, newer.stations, newer.elevations}, *run_,
        thresholdPercent_, [this](const SurveyComparison& part) {
            comparison_.rows.insert(comparison_.rows.end(), part.rows.begin(), part.rows.end());
        });
}

void SurveyComparisonWindow::showComparison() {
    const NumberFormat format = workspace_.format();
    tableView_->results().setTable(
        {QStringLiteral("Stage"), QStringLiteral("Old Area"), QStringLiteral("New Area"),
         QStringLiteral("Difference"), QStringLiteral("Difference %"),
         QStringLiteral("Beyond Threshold")},
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
                return row.percent ? decimalsText(*row.percent, 2, format.decimalSeparator)
                                   : QString();
            default:
                return row.beyondThreshold ? QStringLiteral("yes") : QStringLiteral("no");
            }
        });
    tableView_->resizeColumnsToContents();
    const QString file = QStringLiteral("%1, the file picked (blue, dashed)").arg(earlierName_);
    const QString section = QStringLiteral("the current section (red)");
    legendNote_->setText(QStringLiteral("Old: %1. New: %2. Difference = new \u2212 old, in "
                                        "percent of old; the stages of the main window's "
                                        "gage-height settings.")
                             .arg(swapped_ ? section : file, swapped_ ? file : section));
    summary_->setText(
        thresholdProblem_.isEmpty()
            ? QString::fromStdString(comparisonSummaryLine(comparison_.summary, thresholdPercent_,
                                                           workspace_.format()))
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
    // Each curve stays with its survey, whichever is taken as old.
    setStageCurve(*earlierRating_, stages, swapped_ ? newAreas : oldAreas);
    setStageCurve(*currentRating_, stages, swapped_ ? oldAreas : newAreas);
    fitChartToCurves(*sectionChart_);
    fitChartToCurves(*ratingChart_);
}

void SurveyComparisonWindow::exportTable() {
    if (!thresholdProblem_.isEmpty())
        throw Error(thresholdProblem_.toStdString());
    exportCommaDelimited(workspace_.seam(), this, exportDialog,
                         [this] { return comparisonCsv(comparison_); });
}

} // namespace korvadel
