// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/HydraulicPropertiesWindow.h"

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
#include "model/Error.h"
#include "model/Numbers.h"
#include "model/RatingStages.h"
#include "model/SectionPoints.h"
#include "ui/Workspace.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace korvadel {

namespace {

// The columns in the order korvadel-cli properties writes them, each with the decimals it is
// shown with and its unit (L a length, A an area, Q a discharge).
struct Column {
    const char* caption;
    int decimals;
    char unit;
};
constexpr Column kColumns[] = {{"Stage", 2, 'L'},
                               {"Area", 3, 'A'},
                               {"Top Width", 3, 'L'},
                               {"Wetted Perimeter", 3, 'L'},
                               {"Hydraulic Radius", 3, 'L'},
                               {"Mean Depth", 3, 'L'},
                               {"Max Depth", 3, 'L'},
                               {"Conveyance", 1, 'Q'},
                               {"Discharge", 3, 'Q'}};
constexpr int kGeometryColumns = 7;
constexpr int kChartMinimumWidth = 280;
constexpr int kAllColumns = static_cast<int>(std::size(kColumns));

// Past the named columns come the conveyances of the subsections, left to right.
QString caption(int column) {
    if (column >= kAllColumns)
        return QStringLiteral("Conveyance %1").arg(column - kAllColumns + 1);
    return QLatin1String(kColumns[column].caption);
}

// A subsection's conveyance is shown as the section's is.
constexpr int kConveyanceColumn = 7;

int decimals(int column) {
    return kColumns[column >= kAllColumns ? kConveyanceColumn : column].decimals;
}

char unitOf(int column) {
    return kColumns[column >= kAllColumns ? kConveyanceColumn : column].unit;
}

// "Area (m²)": the caption with the unit of the units choice.
QString captionWithUnit(int column, UnitSystem units) {
    const bool feet = units == UnitSystem::USCustomary;
    QString unit = feet ? QStringLiteral("ft") : QStringLiteral("m");
    switch (unitOf(column)) {
    case 'A':
        unit += QStringLiteral("\u00b2");
        break;
    case 'Q':
        unit += QStringLiteral("\u00b3/s");
        break;
    default:
        break;
    }
    return QStringLiteral("%1 (%2)").arg(caption(column), unit);
}

double cellValue(const PropertyTable& table, std::size_t row, int column) {
    const HydraulicProperties& p = table.properties[row];
    switch (column) {
    case 0:
        return table.stages[row];
    case 1:
        return p.area;
    case 2:
        return p.topWidth;
    case 3:
        return p.wettedPerimeter;
    case 4:
        return p.hydraulicRadius;
    case 5:
        return p.meanDepth;
    case 6:
        return p.maxDepth;
    case 7:
        return table.flows[row].conveyance;
    case 8:
        return table.flows[row].discharge;
    default:
        return table.subsectionConveyances[row * table.subsectionCount() +
                                           static_cast<std::size_t>(column - kAllColumns)];
    }
}

} // namespace

HydraulicPropertiesWindow::HydraulicPropertiesWindow(Workspace& workspace, QWidget* parent)
    : QWidget(parent, Qt::Window), workspace_(workspace) {
    setObjectName(QStringLiteral("hydraulicPropertiesWindow"));
    setWindowTitle(QStringLiteral("Hydraulic Properties"));

    auto* layout = new QVBoxLayout(this);
    buildInputs(*layout);

    outOfDate_ = new NoticeLine(this);
    outOfDate_->setObjectName(QStringLiteral("outOfDate"));
    layout->addWidget(outOfDate_);
    message_ = new NoticeLine(this);
    message_->setObjectName(QStringLiteral("message"));
    layout->addWidget(message_);

    tableView_ = new ResultTableView(this);
    tableView_->setObjectName(QStringLiteral("propertiesTable"));

    auto* chartPane = new QWidget(this);
    auto* chartLayout = new QVBoxLayout(chartPane);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    auto* columnRow = new QHBoxLayout;
    auto* columnLabel = new QLabel(QStringLiteral("C&hart of"), chartPane);
    chartColumn_ = new QComboBox(chartPane);
    chartColumn_->setObjectName(QStringLiteral("chartColumn"));
    columnLabel->setBuddy(chartColumn_);
    columnRow->addWidget(columnLabel);
    columnRow->addWidget(chartColumn_);
    columnRow->addStretch(1);
    chartLayout->addLayout(columnRow);
    chart_ = new Chart(chartPane);
    chart_->setObjectName(QStringLiteral("propertiesChart"));
    chart_->setAxisTitles(QString(), QStringLiteral("Stage"));
    curve_ = addStageCurve(*chart_, QString(), palette::kRatingLine);
    chartLayout->addWidget(chart_, 1);

    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->addWidget(tableView_);
    splitter_->addWidget(chartPane);
    splitter_->setStretchFactor(0, 3);
    splitter_->setStretchFactor(1, 2);
    layout->addWidget(splitter_, 1);
    connect(splitter_, &QSplitter::splitterMoved, this, [this] { splitterPlaced_ = true; });
    layout->addLayout(
        addFootButtons(*this, workspace_.commands(), [this] { exportTable(); }).layout);
    resize(980, 560);

    refreshTimer_ = new QTimer(this);
    refreshTimer_->setSingleShot(true);
    refreshTimer_->setInterval(0);
    connect(refreshTimer_, &QTimer::timeout, this, [this] {
        if (stale_)
            refresh();
    });
    connect(chartColumn_, &QComboBox::currentIndexChanged, this,
            &HydraulicPropertiesWindow::showChart);
    ratingSubscription_ =
        workspace_.rating().subscribe([this](const TableChange&) { scheduleRefresh(); });
    connect(&workspace_, &Workspace::ratingCreated, this,
            &HydraulicPropertiesWindow::scheduleRefresh);
    connect(&workspace_, &Workspace::ratingOutOfDateChanged, this,
            &HydraulicPropertiesWindow::showOutOfDate);
    showOutOfDate();
}

void HydraulicPropertiesWindow::buildInputs(QBoxLayout& layout) {
    auto* inputs = new QHBoxLayout;
    auto addField = [this, inputs](const QString& caption, const QString& name,
                                   const QString& hint) {
        auto* label = new QLabel(caption, this);
        auto* field = new QLineEdit(this);
        field->setObjectName(name);
        field->setPlaceholderText(hint);
        field->setFixedWidth(90);
        label->setBuddy(field);
        inputs->addWidget(label);
        inputs->addWidget(field);
        inputs->addSpacing(12);
        connect(field, &QLineEdit::textChanged, this, &HydraulicPropertiesWindow::scheduleRefresh);
        return field;
    };
    // The examples and the constant take the decimal separator the fields read.
    const QChar separator = QLatin1Char(workspace_.format().decimalSeparator);
    roughnessHint_ =
        QStringLiteral("e.g. ") + QStringLiteral("0.035").replace(QLatin1Char('.'), separator);
    roughness_ =
        addField(QStringLiteral("Manning's &n"), QStringLiteral("roughness"), roughnessHint_);
    boundaries_ = addField(QStringLiteral("Subdi&vide at"), QStringLiteral("boundaries"),
                           QStringLiteral("stations"));
    roughness_->setToolTip(QStringLiteral(
        "One n for the whole section, or one for each subsection from left to right, "
        "separated by semicolons"));
    boundaries_->setToolTip(QStringLiteral(
        "The stations of the vertical lines between the subsections, from left to right, "
        "separated by semicolons"));
    roughness_->setFixedWidth(150);
    boundaries_->setFixedWidth(150);
    slope_ = addField(QStringLiteral("&Slope"), QStringLiteral("slope"),
                      QStringLiteral("e.g. ") +
                          QStringLiteral("0.0005").replace(QLatin1Char('.'), separator));
    auto* unitsLabel = new QLabel(QStringLiteral("&Units"), this);
    units_ = new QComboBox(this);
    units_->setObjectName(QStringLiteral("units"));
    units_->addItem(QStringLiteral("SI (metres, k = 1)"));
    units_->addItem(
        QStringLiteral("US customary (feet, k = 1.486)").replace(QLatin1Char('.'), separator));
    unitsLabel->setBuddy(units_);
    inputs->addWidget(unitsLabel);
    inputs->addWidget(units_);
    inputs->addSpacing(12);
    connectedOnly_ = new QCheckBox(QStringLiteral("Connected &water only"), this);
    connectedOnly_->setObjectName(QStringLiteral("connectedOnly"));
    connectedOnly_->setToolTip(
        QStringLiteral("Count only the water connected to the section's lowest point, leaving "
                       "out water standing in hollows of the banks"));
    inputs->addWidget(connectedOnly_);
    inputs->addStretch(1);
    connect(units_, &QComboBox::currentIndexChanged, this,
            &HydraulicPropertiesWindow::scheduleRefresh);
    connect(connectedOnly_, &QCheckBox::toggled, this, &HydraulicPropertiesWindow::scheduleRefresh);
    layout.addLayout(inputs);
}

void HydraulicPropertiesWindow::showOutOfDate() {
    outOfDate_->setNotice(workspace_.ratingOutOfDate()
                              ? QStringLiteral("The section has changed since this rating was "
                                               "created: create it again.")
                              : QString());
}

HydraulicPropertiesWindow::~HydraulicPropertiesWindow() = default;

void HydraulicPropertiesWindow::showWindow() {
    refresh();
    presentWindow(*this);
}

void HydraulicPropertiesWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale_)
        refresh();
    // Once the window has its size.
    QTimer::singleShot(0, this, &HydraulicPropertiesWindow::fitTableWidth);
}

void HydraulicPropertiesWindow::fitTableWidth() {
    // The table as wide as its columns and the chart beside it, until the user moves the
    // divider; neither narrower than a third of the window.
    const int total = splitter_->width();
    if (splitterPlaced_ || !isVisible() || total < 3 * kChartMinimumWidth / 2)
        return;
    const int wanted = tableView_->horizontalHeader()->length() + 2 * tableView_->frameWidth() +
                       tableView_->verticalScrollBar()->sizeHint().width() + 4;
    const int table =
        std::clamp(wanted, total / 3, std::max(total / 3, total - kChartMinimumWidth));
    splitter_->setSizes({table, total - table});
}

void HydraulicPropertiesWindow::scheduleRefresh() {
    // Work waits until someone looks: a hidden window is worked out when it is next shown, and
    // a burst of changes (a load, a rating) costs one pass.
    stale_ = true;
    if (isVisible())
        refreshTimer_->start();
}

std::optional<ManningInputs>
HydraulicPropertiesWindow::manningInputs(std::optional<Subsections>& subsections) {
    subsections.reset();
    const QString roughnessText = roughness_->text().trimmed();
    const QString boundariesText = boundaries_->text().trimmed();
    const QString slopeText = slope_->text().trimmed();
    if (roughnessText.isEmpty() && boundariesText.isEmpty() && slopeText.isEmpty())
        return std::nullopt;
    // The n values of a HEC-RAS cross section come with its points, and only with them.
    std::optional<Workspace::ReadRoughness> fileRoughness;
    if (const auto& run = workspace_.ratingRun())
        fileRoughness = workspace_.readRoughness(run->section);
    if (roughnessText.isEmpty() && !boundariesText.isEmpty()) {
        manningProblem_ = QStringLiteral("Enter Manning's n of each subsection as well as the "
                                         "stations that divide them.");
        return std::nullopt;
    }
    if (roughnessText.isEmpty() && !fileRoughness) {
        manningProblem_ = QStringLiteral("Enter Manning's n as well as the slope for the "
                                         "conveyance and the discharge.");
        return std::nullopt;
    }
    if (slopeText.isEmpty()) {
        manningProblem_ = QStringLiteral("Enter the slope as well as Manning's n for the "
                                         "conveyance and the discharge.");
        return std::nullopt;
    }
    const NumberFormat format = workspace_.format();
    ManningInputs inputs;
    inputs.units = units_->currentIndex() == 1 ? UnitSystem::USCustomary : UnitSystem::SI;
    try {
        Subsections divided;
        if (roughnessText.isEmpty()) {
            divided = fileRoughness->roughness;
            checkSubsections(divided, "The n stations of the geometry file",
                             "Manning's n of the geometry file", format);
        } else {
            divided.roughness = readNumberList(toFileText(roughnessText), "Manning's n", format);
            if (!boundariesText.isEmpty())
                divided.boundaries =
                    readNumberList(toFileText(boundariesText), "Subdivide at", format);
            else if (divided.roughness.size() > 1)
                throw Error("Manning's n gives " + std::to_string(divided.roughness.size()) +
                            " values: enter the stations that divide the subsections");
            // One n for every subsection.
            if (divided.roughness.size() == 1)
                divided.roughness.assign(divided.boundaries.size() + 1, divided.roughness.front());
            checkSubsections(divided, "Subdivide at", "Manning's n", format);
        }
        inputs.roughness = divided.roughness.front();
        inputs.slope = readNamedNumber(toFileText(slopeText), "Slope", format);
        checkEnergySlope(inputs.slope, "Slope", format);
        if (divided.divided())
            subsections = std::move(divided);
    } catch (const Error& error) {
        manningProblem_ = DesktopSeam::errorBoxText(messageText(error));
        return std::nullopt;
    }
    return inputs;
}

void HydraulicPropertiesWindow::showFileRoughness() {
    // The file's n values and their stations greyed in the empty fields: what a slope alone
    // computes with.
    QString roughness = roughnessHint_;
    QString boundaries = QStringLiteral("stations");
    const auto& run = workspace_.ratingRun();
    if (const auto file = run ? workspace_.readRoughness(run->section) : std::nullopt) {
        const NumberFormat format = workspace_.format();
        const auto list = [format](const std::vector<double>& values) {
            QStringList texts;
            for (const double value : values)
                texts << QString::fromStdString(formatGeneral(value, format));
            return texts.join(QStringLiteral("; "));
        };
        roughness = list(file->roughness.roughness);
        boundaries = list(file->roughness.boundaries);
    }
    roughness_->setPlaceholderText(roughness);
    boundaries_->setPlaceholderText(boundaries);
}

void HydraulicPropertiesWindow::refresh() {
    stale_ = false;
    manningProblem_.clear();
    stagesProblem_.clear();
    showFileRoughness();
    std::optional<Subsections> subsections;
    const std::optional<ManningInputs> manning = manningInputs(subsections);
    std::vector<double> stages;
    double shift = 0.0;
    if (const auto& run = workspace_.ratingRun(); run && workspace_.rating().rowCount() > 0) {
        try {
            shift = RatingStages(run->bounds, workspace_.format()).elevationShift();
            stages = ratingRowStages(workspace_.rating(), *run, workspace_.format());
        } catch (const Error& error) {
            stagesProblem_ = messageText(error);
        }
    } else {
        stagesProblem_ = QStringLiteral("There is no rating: create the stage area rating first.");
    }
    // The section the rating was made from, whatever the main window holds now.
    static const SectionPoints kNoSection;
    const auto& run = workspace_.ratingRun();
    const SectionPoints& section = run ? run->section : kNoSection;
    const WaterExtent extent =
        connectedOnly_->isChecked() ? WaterExtent::ConnectedToLowest : WaterExtent::WholeSection;
    try {
        table_ = propertyTable(section.stations, section.elevations, stages, shift, extent, manning,
                               subsections, workspace_.format());
    } catch (const Error& error) {
        // Conveyance or discharge beyond what a number can hold: the geometry still stands.
        manningProblem_ = messageText(error);
        table_ = propertyTable(section.stations, section.elevations, stages, shift, extent);
    }
    const QString problem = stagesProblem_.isEmpty() ? manningProblem_ : stagesProblem_;
    message_->setNotice(problem);
    showTable();
}

void HydraulicPropertiesWindow::showTable() {
    const bool withManning = table_.manning.has_value();
    const int columns =
        withManning ? kAllColumns + static_cast<int>(table_.subsectionCount()) : kGeometryColumns;
    const UnitSystem units = units_->currentIndex() == 1 ? UnitSystem::USCustomary : UnitSystem::SI;
    // The unit under the caption keeps the columns narrow enough to be read side by side.
    QStringList heads;
    QStringList names;
    for (int column = 0; column < columns; ++column) {
        names << captionWithUnit(column, units);
        heads << QString(names.last()).replace(QStringLiteral(" ("), QStringLiteral("\n("));
    }
    const char separator = workspace_.format().decimalSeparator;
    tableView_->results().setTable(
        heads, static_cast<int>(table_.stages.size()), [this, separator](int row, int column) {
            return decimalsText(cellValue(table_, static_cast<std::size_t>(row), column),
                                decimals(column), separator);
        });
    tableView_->resizeColumnsToContents();
    fitTableWidth();

    // The chart keeps its column while it is there; conveyance and discharge fall back to area.
    const int chosen = chartColumn_->currentIndex() < 0 ? 1 : chartColumn_->currentIndex() + 1;
    const QSignalBlocker quiet(chartColumn_);
    chartColumn_->clear();
    chartColumn_->addItems(names.mid(1));
    chartColumn_->setCurrentIndex(chosen < columns ? chosen - 1 : 0);
    showChart();
}

void HydraulicPropertiesWindow::showChart() {
    const int column = chartColumn_->currentIndex() + 1;
    QVector<double> stages;
    QVector<double> values;
    if (column >= 1 && (column < kGeometryColumns || table_.manning)) {
        stages.reserve(static_cast<qsizetype>(table_.stages.size()));
        values.reserve(static_cast<qsizetype>(table_.stages.size()));
        for (std::size_t row = 0; row < table_.stages.size(); ++row) {
            stages.append(table_.stages[row]);
            values.append(cellValue(table_, row, column));
        }
    }
    const QString name = column >= 1 ? caption(column) : QString();
    chart_->setTitleLines({name + QStringLiteral(" against Stage"), QString()});
    chart_->setAxisTitles(chartColumn_->currentText(), QStringLiteral("Stage"));
    setStageCurve(*curve_, stages, values);
    fitChartToCurves(*chart_);
}

void HydraulicPropertiesWindow::exportTable() {
    if (stale_)
        refresh();
    // The file holds what the window shows; a table that is not what the inputs ask for is
    // not written.
    if (!stagesProblem_.isEmpty())
        throw Error(stagesProblem_.toStdString());
    if (!manningProblem_.isEmpty())
        throw Error(manningProblem_.toStdString());
    exportCommaDelimited(workspace_.seam(), this, exportDialog,
                         [this] { return propertyTableCsv(table_); });
}

} // namespace korvadel
