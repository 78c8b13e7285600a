// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SurveyImportDialog.h"

#include "components/chart/Chart.h"
#include "components/chart/Palette.h"
#include "components/chart/StageCurves.h"
#include "components/desktop/DesktopSeam.h"
#include "components/desktop/TextCodec.h"
#include "components/grid/ReadOnlyTableModel.h"
#include "components/grid/ResultTable.h"
#include "components/widgets/NoticeLine.h"
#include "model/CommandSteps.h"
#include "model/Error.h"
#include "model/Numbers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace korvadel {

namespace {

QCPGraph* addPlanPoints(Chart& chart, QCPScatterStyle::ScatterShape shape, const QColor& colour,
                        double size) {
    QCPGraph* graph = chart.addGraph();
    graph->setLineStyle(QCPGraph::lsNone);
    graph->setScatterStyle(QCPScatterStyle(shape, colour, colour, size));
    graph->setSelectable(QCP::stNone);
    return graph;
}

} // namespace

SurveyImportDialog::SurveyImportDialog(NumberFormat format, QWidget* parent)
    : ProgramDialog(QStringLiteral("surveyImportDialog"), QStringLiteral("Surveyed Points"),
                    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                        Qt::WindowCloseButtonHint | Qt::WindowMaximizeButtonHint,
                    parent),
      format_(format) {
    auto* layout = new QVBoxLayout(this);
    auto* choices = new QHBoxLayout;
    auto* pins = new QFormLayout;
    leftPin_ = new QComboBox(this);
    leftPin_->setObjectName(QStringLiteral("leftPin"));
    rightPin_ = new QComboBox(this);
    rightPin_->setObjectName(QStringLiteral("rightPin"));
    pins->addRow(QStringLiteral("&Left pin"), leftPin_);
    pins->addRow(QStringLiteral("&Right pin"), rightPin_);
    choices->addLayout(pins);
    choices->addSpacing(16);

    auto* numbers = new QFormLayout;
    startStation_ = new QLineEdit(this);
    startStation_->setObjectName(QStringLiteral("startStation"));
    maxOffset_ = new QLineEdit(this);
    maxOffset_->setObjectName(QStringLiteral("maxOffset"));
    for (QLineEdit* field : {startStation_, maxOffset_})
        field->setFixedWidth(90);
    numbers->addRow(QStringLiteral("&Start station"), startStation_);
    numbers->addRow(QStringLiteral("&Maximum offset"), maxOffset_);
    choices->addLayout(numbers);
    choices->addSpacing(16);

    auto* switches = new QVBoxLayout;
    dropOffLine_ = new QCheckBox(QStringLiteral("&Drop points off the line"), this);
    dropOffLine_->setObjectName(QStringLiteral("dropOffLine"));
    dropOffLine_->setToolTip(QStringLiteral(
        "Leave out the points farther from the line than the maximum offset or beyond a pin"));
    flip_ = new QCheckBox(QStringLiteral("&Flip left and right"), this);
    flip_->setObjectName(QStringLiteral("flip"));
    flip_->setToolTip(QStringLiteral("Run the stations from the right pin instead"));
    switches->addWidget(dropOffLine_);
    switches->addWidget(flip_);
    choices->addLayout(switches);
    choices->addStretch(1);
    layout->addLayout(choices);

    message_ = new NoticeLine(this);
    message_->setObjectName(QStringLiteral("message"));
    layout->addWidget(message_);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    table_ = new ResultTableView(splitter);
    table_->setObjectName(QStringLiteral("pointTable"));
    plan_ = new Chart(splitter);
    plan_->setObjectName(QStringLiteral("planChart"));
    plan_->setTitleLines({QStringLiteral("Plan View"), QString()});
    plan_->setAxisTitles(QStringLiteral("Easting"), QStringLiteral("Northing"));
    // Coordinates of hundreds of thousands of units read as they were surveyed, not as powers
    // of ten.
    for (QCPAxis* axis : {plan_->xAxis, plan_->yAxis}) {
        axis->setNumberFormat(QStringLiteral("f"));
        axis->ticker()->setTickCount(4);
    }
    // The line first, so the points stand on it.
    sectionLine_ = plan_->addGraph();
    sectionLine_->setPen(QPen(palette::kRatingLine, 1.5));
    sectionLine_->setSelectable(QCP::stNone);
    surveyPoints_ = addPlanPoints(*plan_, QCPScatterStyle::ssDisc, palette::kWater, 6);
    reportedPoints_ = addPlanPoints(*plan_, QCPScatterStyle::ssCircle, Qt::red, 11);
    pins_ = addPlanPoints(*plan_, QCPScatterStyle::ssSquare, palette::kRatingLine, 9);
    splitter->addWidget(table_);
    splitter->addWidget(plan_);
    splitter->setStretchFactor(0, 2);
    splitter->setStretchFactor(1, 3);
    splitter->setSizes({360, 540});
    layout->addWidget(splitter, 1);

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->setObjectName(QStringLiteral("buttons"));
    layout->addWidget(buttons_);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

    for (QComboBox* pin : {leftPin_, rightPin_})
        connect(pin, &QComboBox::currentIndexChanged, this, &SurveyImportDialog::project);
    for (QLineEdit* field : {startStation_, maxOffset_})
        connect(field, &QLineEdit::textChanged, this, &SurveyImportDialog::project);
    for (QCheckBox* box : {dropOffLine_, flip_})
        connect(box, &QCheckBox::toggled, this, &SurveyImportDialog::project);
    resize(900, 520);
}

void SurveyImportDialog::showPoints(std::vector<SurveyPoint> points, const QString& fileName) {
    points_ = std::move(points);
    setWindowTitle(QStringLiteral("Surveyed Points - %1").arg(QFileInfo(fileName).fileName()));
    QStringList names;
    for (const SurveyPoint& point : points_)
        names << fromFileText(point.name);
    {
        const QSignalBlocker quietLeft(leftPin_);
        const QSignalBlocker quietRight(rightPin_);
        const QSignalBlocker quietStart(startStation_);
        const QSignalBlocker quietOffset(maxOffset_);
        const QSignalBlocker quietDrop(dropOffLine_);
        const QSignalBlocker quietFlip(flip_);
        leftPin_->clear();
        rightPin_->clear();
        leftPin_->addItems(names);
        rightPin_->addItems(names);
        leftPin_->setCurrentIndex(names.isEmpty() ? -1 : 0);
        rightPin_->setCurrentIndex(static_cast<int>(names.size()) - 1);
        const SurveyLine defaults;
        startStation_->setText(
            QString::fromStdString(formatGeneral(defaults.startStation, format_)));
        maxOffset_->setText(QString::fromStdString(formatGeneral(defaults.maxOffset, format_)));
        dropOffLine_->setChecked(defaults.dropOffLine);
        flip_->setChecked(defaults.flip);
    }
    project();
}

SurveyLine SurveyImportDialog::line() const {
    SurveyLine line;
    // A pin is named unless it is the default one, so that the first and the last point serve
    // even when their names are not unique.
    const int last = static_cast<int>(points_.size()) - 1;
    if (leftPin_->currentIndex() > 0)
        line.leftPin = points_[static_cast<std::size_t>(leftPin_->currentIndex())].name;
    if (rightPin_->currentIndex() >= 0 && rightPin_->currentIndex() != last)
        line.rightPin = points_[static_cast<std::size_t>(rightPin_->currentIndex())].name;
    line.startStation =
        readNamedNumber(toFileText(startStation_->text().trimmed()), "Start station", format_);
    line.maxOffset =
        readNamedNumber(toFileText(maxOffset_->text().trimmed()), "Maximum offset", format_);
    line.dropOffLine = dropOffLine_->isChecked();
    line.flip = flip_->isChecked();
    return line;
}

void SurveyImportDialog::project() {
    projection_.reset();
    problem_.clear();
    try {
        projection_ = projectSurvey(points_, line(), format_);
    } catch (const Error& error) {
        problem_ = DesktopSeam::errorBoxText(messageText(error));
    }
    message_->setNotice(problem_);
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(projection_.has_value());
    showTable();
    showPlan();
}

void SurveyImportDialog::showTable() {
    const QStringList heads = {QStringLiteral("Point"), QStringLiteral("Station"),
                               QStringLiteral("Offset"), QStringLiteral("Warning")};
    const int rows = static_cast<int>(points_.size());
    const char separator = format_.decimalSeparator;
    table_->results().setTable(heads, rows,
                               [this, separator](int row, int column) -> QString {
                                   const auto index = static_cast<std::size_t>(row);
                                   if (column == 0)
                                       return fromFileText(points_[index].name);
                                   if (!projection_)
                                       return QString();
                                   const ProjectedPoint& point = projection_->points[index];
                                   switch (column) {
                                   case 1:
                                       return decimalsText(point.station, 3, separator);
                                   case 2:
                                       return decimalsText(point.offset, 3, separator);
                                   default:
                                       break;
                                   }
                                   QStringList warnings;
                                   if (point.offLine)
                                       warnings << QStringLiteral("off the line");
                                   if (point.beyondPins)
                                       warnings << QStringLiteral("beyond a pin");
                                   if (!point.kept)
                                       warnings << QStringLiteral("dropped");
                                   return warnings.join(QStringLiteral(", "));
                               },
                               {0, 3});
    table_->resizeColumnsToContents();
}

void SurveyImportDialog::showPlan() {
    QVector<double> allX, allY, reportedX, reportedY, pinX, pinY;
    for (std::size_t i = 0; i < points_.size(); ++i) {
        const SurveyPoint& point = points_[i];
        const bool reported =
            projection_ && (projection_->points[i].offLine || projection_->points[i].beyondPins);
        allX.append(point.easting);
        allY.append(point.northing);
        if (reported) {
            reportedX.append(point.easting);
            reportedY.append(point.northing);
        }
    }
    if (projection_) {
        for (const std::size_t pin : {projection_->from, projection_->to}) {
            pinX.append(points_[pin].easting);
            pinY.append(points_[pin].northing);
        }
    }
    surveyPoints_->setData(allX, allY);
    reportedPoints_->setData(reportedX, reportedY);
    pins_->setData(pinX, pinY);
    sectionLine_->setData(pinX, pinY);

    // The pins and the points reported are named; every name would crowd a survey shot every
    // metre or two, and a few hundred names already hide the plan.
    plan_->clearItems();
    if (!projection_) {
        fitPlan();
        return;
    }
    constexpr std::size_t kMostNames = 200;
    std::vector<std::size_t> named{projection_->from, projection_->to};
    for (std::size_t i = 0; i < points_.size() && named.size() < kMostNames; ++i) {
        const ProjectedPoint& projected = projection_->points[i];
        if (i != projection_->from && i != projection_->to &&
            (projected.offLine || projected.beyondPins))
            named.push_back(i);
    }
    QFont font = plan_->font();
    font.setPixelSize(11);
    for (const std::size_t i : named) {
        const SurveyPoint& point = points_[i];
        auto* label = new QCPItemText(plan_);
        label->position->setCoords(point.easting, point.northing);
        label->setPositionAlignment(Qt::AlignLeft | Qt::AlignBottom);
        label->setPadding(QMargins(4, 0, 0, 2));
        label->setFont(font);
        label->setText(fromFileText(point.name));
        label->setClipToAxisRect(true);
    }
    fitPlan();
}

void SurveyImportDialog::fitPlan() {
    fitChartToCurves(*plan_);
    // Room for the names beside the points at the edges.
    plan_->xAxis->scaleRange(1.2);
    plan_->yAxis->scaleRange(1.2);
    // Decimals enough to tell the ticks apart: none over tens of units, more for a small plot.
    for (QCPAxis* axis : {plan_->xAxis, plan_->yAxis}) {
        const double size = axis->range().size();
        // Coordinates near the largest number give a range too wide to be represented.
        const int decimals =
            size > 0 && std::isfinite(size)
                ? std::clamp(1 - static_cast<int>(std::floor(std::log10(size))), 0, 3)
                : 0;
        axis->setNumberPrecision(decimals);
    }
    // A plan keeps one scale both ways, or the section line would lie about its direction:
    // the narrower range grows to the other's scale.
    const QRect area = plan_->axisRect()->rect();
    if (area.width() <= 0 || area.height() <= 0)
        return;
    const double across = plan_->xAxis->range().size() / area.width();
    const double up = plan_->yAxis->range().size() / area.height();
    if (across < up)
        plan_->xAxis->setScaleRatio(plan_->yAxis, 1.0);
    else
        plan_->yAxis->setScaleRatio(plan_->xAxis, 1.0);
    plan_->replot(QCustomPlot::rpQueuedReplot);
}

void SurveyImportDialog::comingUp(QShowEvent*) {
    // The plot area has its size only now.
    plan_->replot();
    fitPlan();
}

} // namespace korvadel
