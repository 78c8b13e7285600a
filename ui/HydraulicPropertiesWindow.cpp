// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/HydraulicPropertiesWindow.h"

#include "components/chart/Chart.h"
#include "components/chart/StageCurves.h"
#include "components/desktop/CommaDelimitedExport.h"
#include "components/desktop/ScreenPlacement.h"
#include "components/desktop/TextCodec.h"
#include "components/grid/ReadOnlyTableModel.h"
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
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace korvadel {

namespace {

// The columns in the order korvadel-cli properties writes them.
const QStringList kCaptions = {QStringLiteral("Stage"),
                               QStringLiteral("Area"),
                               QStringLiteral("Top Width"),
                               QStringLiteral("Wetted Perimeter"),
                               QStringLiteral("Hydraulic Radius"),
                               QStringLiteral("Mean Depth"),
                               QStringLiteral("Max Depth"),
                               QStringLiteral("Conveyance"),
                               QStringLiteral("Discharge")};
constexpr int kGeometryColumns = 7;

const QColor kCurveColour(222, 71, 33);

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
    default:
        return table.flows[row].discharge;
    }
}

QString numberText(double value, NumberFormat format) {
    return QString::fromStdString(formatGeneral(value, format));
}

} // namespace

HydraulicPropertiesWindow::HydraulicPropertiesWindow(Workspace& workspace, QWidget* parent)
    : QWidget(parent, Qt::Window), workspace_(workspace) {
    setObjectName(QStringLiteral("hydraulicPropertiesWindow"));
    setWindowTitle(QStringLiteral("Hydraulic Properties"));

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
        return field;
    };
    roughness = addField(QStringLiteral("Manning's &n"), QStringLiteral("roughness"),
                         QStringLiteral("e.g. 0.035"));
    slope =
        addField(QStringLiteral("&Slope"), QStringLiteral("slope"), QStringLiteral("e.g. 0.0005"));
    auto* unitsLabel = new QLabel(QStringLiteral("&Units"), this);
    units = new QComboBox(this);
    units->setObjectName(QStringLiteral("units"));
    units->addItem(QStringLiteral("SI (metres, k = 1)"));
    units->addItem(QStringLiteral("US customary (feet, k = 1.486)"));
    unitsLabel->setBuddy(units);
    inputs->addWidget(unitsLabel);
    inputs->addWidget(units);
    inputs->addSpacing(12);
    connectedOnly = new QCheckBox(QStringLiteral("Connected &water only"), this);
    connectedOnly->setObjectName(QStringLiteral("connectedOnly"));
    connectedOnly->setToolTip(
        QStringLiteral("Count only the water connected to the section's lowest point, leaving "
                       "out water standing in hollows of the banks"));
    inputs->addWidget(connectedOnly);
    inputs->addStretch(1);

    message = new QLabel(this);
    message->setObjectName(QStringLiteral("message"));
    message->setWordWrap(true);
    message->setStyleSheet(QStringLiteral("color: #a02000"));
    message->hide();

    tableView = new QTableView(this);
    tableView->setObjectName(QStringLiteral("propertiesTable"));
    model_ = new ReadOnlyTableModel(this);
    tableView->setModel(model_);
    tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    tableView->verticalHeader()->hide();
    tableView->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);

    auto* chartPane = new QWidget(this);
    auto* chartLayout = new QVBoxLayout(chartPane);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    auto* columnRow = new QHBoxLayout;
    auto* columnLabel = new QLabel(QStringLiteral("C&hart of"), chartPane);
    chartColumn = new QComboBox(chartPane);
    chartColumn->setObjectName(QStringLiteral("chartColumn"));
    columnLabel->setBuddy(chartColumn);
    columnRow->addWidget(columnLabel);
    columnRow->addWidget(chartColumn);
    columnRow->addStretch(1);
    chartLayout->addLayout(columnRow);
    chart = new Chart(chartPane);
    chart->setObjectName(QStringLiteral("propertiesChart"));
    chart->setAxisTitles(QString(), QStringLiteral("Stage"));
    curve_ = addStageCurve(*chart, QString(), kCurveColour);
    chartLayout->addWidget(chart, 1);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(tableView);
    splitter->addWidget(chartPane);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    exportButton = new QPushButton(QStringLiteral("&Export Table..."), this);
    exportButton->setObjectName(QStringLiteral("exportButton"));
    closeButton = new QPushButton(QStringLiteral("&Close"), this);
    closeButton->setObjectName(QStringLiteral("closeButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(exportButton);
    buttons->addWidget(closeButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(inputs);
    layout->addWidget(message);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);
    resize(980, 560);

    refreshTimer_ = new QTimer(this);
    refreshTimer_->setSingleShot(true);
    refreshTimer_->setInterval(0);
    connect(refreshTimer_, &QTimer::timeout, this, [this] {
        if (stale_)
            refresh();
    });
    connect(roughness, &QLineEdit::textChanged, this, &HydraulicPropertiesWindow::scheduleRefresh);
    connect(slope, &QLineEdit::textChanged, this, &HydraulicPropertiesWindow::scheduleRefresh);
    connect(units, &QComboBox::currentIndexChanged, this,
            &HydraulicPropertiesWindow::scheduleRefresh);
    connect(connectedOnly, &QCheckBox::toggled, this, &HydraulicPropertiesWindow::scheduleRefresh);
    connect(chartColumn, &QComboBox::currentIndexChanged, this,
            &HydraulicPropertiesWindow::showChart);
    pointsSubscription_ = workspace_.document().points.subscribe(
        PointTable::viewsOnly([this](const TableChange&) { scheduleRefresh(); }));
    ratingSubscription_ =
        workspace_.rating().subscribe([this](const TableChange&) { scheduleRefresh(); });
    connect(&workspace_, &Workspace::ratingCreated, this,
            &HydraulicPropertiesWindow::scheduleRefresh);

    CommandRunner& commands = workspace_.commands();
    commands.route(exportButton, [this] { exportTable(); });
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
}

HydraulicPropertiesWindow::~HydraulicPropertiesWindow() = default;

void HydraulicPropertiesWindow::showWindow() {
    if (!isVisible())
        centreForShowing(*this);
    refresh();
    show();
    raise();
    activateWindow();
}

void HydraulicPropertiesWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale_)
        refresh();
}

void HydraulicPropertiesWindow::scheduleRefresh() {
    // Work waits until someone looks: a hidden window is worked out when it is next shown, and
    // a burst of changes (a load, a rating) costs one pass.
    stale_ = true;
    if (isVisible())
        refreshTimer_->start();
}

std::optional<ManningInputs> HydraulicPropertiesWindow::manningInputs() {
    const QString roughnessText = roughness->text().trimmed();
    const QString slopeText = slope->text().trimmed();
    if (roughnessText.isEmpty() && slopeText.isEmpty())
        return std::nullopt;
    if (roughnessText.isEmpty()) {
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
    inputs.units = units->currentIndex() == 1 ? UnitSystem::USCustomary : UnitSystem::SI;
    struct Input {
        const QString& text;
        const char* name;
        double& value;
        void (*check)(double, std::string_view, NumberFormat);
    };
    try {
        for (const Input& input :
             {Input{roughnessText, "Manning's n", inputs.roughness, checkManningRoughness},
              Input{slopeText, "Slope", inputs.slope, checkEnergySlope}}) {
            input.value = readNamedNumber(toFileText(input.text), input.name, format);
            input.check(input.value, input.name, format);
        }
    } catch (const Error& error) {
        manningProblem_ = DesktopSeam::errorBoxText(messageText(error));
        return std::nullopt;
    }
    return inputs;
}

void HydraulicPropertiesWindow::refresh() {
    stale_ = false;
    manningProblem_.clear();
    stagesProblem_.clear();
    const std::optional<ManningInputs> manning = manningInputs();
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
    const SectionPoints section = sectionPoints(workspace_.document().points);
    const WaterExtent extent =
        connectedOnly->isChecked() ? WaterExtent::ConnectedToLowest : WaterExtent::WholeSection;
    try {
        table_ =
            propertyTable(section.stations, section.elevations, stages, shift, extent, manning);
    } catch (const Error& error) {
        // Conveyance or discharge beyond what a number can hold: the geometry still stands.
        manningProblem_ = messageText(error);
        table_ = propertyTable(section.stations, section.elevations, stages, shift, extent);
    }
    const QString problem = stagesProblem_.isEmpty() ? manningProblem_ : stagesProblem_;
    message->setText(problem);
    message->setVisible(!problem.isEmpty());
    showTable();
}

void HydraulicPropertiesWindow::showTable() {
    const bool withManning = table_.manning.has_value();
    const int columns = withManning ? static_cast<int>(kCaptions.size()) : kGeometryColumns;
    const NumberFormat format = workspace_.format();
    model_->setTable(kCaptions.mid(0, columns), static_cast<int>(table_.stages.size()),
                     [this, format](int row, int column) {
                         return numberText(cellValue(table_, static_cast<std::size_t>(row), column),
                                           format);
                     });
    tableView->resizeColumnsToContents();

    // The chart keeps its column while it is there; conveyance and discharge fall back to area.
    const int chosen = chartColumn->currentIndex() < 0 ? 1 : chartColumn->currentIndex() + 1;
    const QSignalBlocker quiet(chartColumn);
    chartColumn->clear();
    chartColumn->addItems(kCaptions.mid(1, columns - 1));
    chartColumn->setCurrentIndex(chosen < columns ? chosen - 1 : 0);
    showChart();
}

void HydraulicPropertiesWindow::showChart() {
    const int column = chartColumn->currentIndex() + 1;
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
    const QString caption = column >= 1 ? kCaptions.value(column) : QString();
    chart->setTitleLines({caption + QStringLiteral(" against Stage"), QString()});
    chart->setAxisTitles(caption, QStringLiteral("Stage"));
    setStageCurve(*curve_, stages, values);
    fitChartToCurves(*chart);
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
