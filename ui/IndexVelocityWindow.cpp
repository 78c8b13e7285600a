// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/IndexVelocityWindow.h"

#include "components/chart/MeasurementChart.h"
#include "components/chart/VelocityPlots.h"
#include "components/desktop/ActionTable.h"
#include "components/desktop/CommandRunner.h"
#include "components/desktop/ScreenPlacement.h"
#include "components/desktop/TextCodec.h"
#include "components/grid/MeasurementTableModel.h"
#include "components/grid/ReadOnlyTableModel.h"
#include "components/grid/ResultTable.h"
#include "components/report/IndexVelocityReport.h"
#include "components/widgets/NoticeLine.h"
#include "io/MeasurementFile.h"
#include "io/MeasurementTable.h"
#include "io/TableExport.h"
#include "model/CommandSteps.h"
#include "model/Error.h"
#include "model/IsoTime.h"
#include "model/Numbers.h"
#include "model/WettedArea.h"
#include "ui/Workspace.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QUndoStack>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>

namespace korvadel {

namespace {

// One step of the measurements' history: rows replaced by others at one place.
class RowsCommand : public QUndoCommand {
public:
    RowsCommand(IndexVelocityWindow& window, const QString& text, int row,
                std::vector<Measurement> before, std::vector<Measurement> after)
        : QUndoCommand(text), window_(window), row_(row), before_(std::move(before)),
          after_(std::move(after)) {}
    void redo() override { window_.replaceRows(row_, static_cast<int>(before_.size()), after_); }
    void undo() override { window_.replaceRows(row_, static_cast<int>(after_.size()), before_); }

private:
    IndexVelocityWindow& window_;
    int row_;
    std::vector<Measurement> before_;
    std::vector<Measurement> after_;
};

// The use column is chosen from its three names.
class UseDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* box = new QComboBox(parent);
        box->setObjectName(QStringLiteral("useEditor"));
        for (auto use : {MeasurementUse::Fit, MeasurementUse::Validate, MeasurementUse::Exclude})
            box->addItem(QLatin1String(measurementUseName(use)));
        return box;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        auto* box = static_cast<QComboBox*>(editor);
        box->setCurrentText(index.data(Qt::EditRole).toString());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        model->setData(index, static_cast<QComboBox*>(editor)->currentText());
    }
};

// Asks why a measurement is left out of the rating.
class ExclusionCommentDialog : public QDialog {
public:
    ExclusionCommentDialog(const QString& number, QWidget* parent) : QDialog(parent) {
        setObjectName(QStringLiteral("exclusionCommentDialog"));
        setWindowTitle(QStringLiteral("Exclude Measurement"));
        auto* layout = new QVBoxLayout(this);
        auto* label = new QLabel(
            QStringLiteral("Why is measurement %1 left out of the rating?").arg(number), this);
        comment = new QLineEdit(this);
        comment->setObjectName(QStringLiteral("exclusionComment"));
        comment->setMinimumWidth(360);
        label->setBuddy(comment);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
        ok->setEnabled(false);
        connect(comment, &QLineEdit::textChanged, ok,
                [ok](const QString& text) { ok->setEnabled(!text.trimmed().isEmpty()); });
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        layout->addWidget(label);
        layout->addWidget(comment);
        layout->addWidget(buttons);
    }
    QLineEdit* comment = nullptr;
};

// Significant digits of the statistics on screen and in the report.
constexpr int kDigits = 6;

QString significant(double value, NumberFormat format) {
    return QString::fromStdString(formatSignificant(value, kDigits, format));
}

QString measurementsFilter() {
    return QStringLiteral("Measurement Files (*.csv;*.rdb;*.txt)|*.csv;*.rdb;*.txt|All Files "
                          "(*.*)|*.*");
}

} // namespace

IndexVelocityWindow::IndexVelocityWindow(Workspace& workspace, QWidget* parent)
    : QWidget(parent, Qt::Window), workspace_(workspace) {
    setObjectName(QStringLiteral("indexVelocityWindow"));
    setWindowTitle(QStringLiteral("Index Velocity Rating"));
    undo_ = new QUndoStack(this);
    importDialog.filter = measurementsFilter();
    importDialog.title = QStringLiteral("Import Measurements");
    saveDialog.kind = FileDialogState::Kind::Save;
    saveDialog.filter = QStringLiteral("CSV (Comma delimited)|*.csv|All Files (*.*)|*.*");
    saveDialog.defaultExtension = QStringLiteral("csv");
    saveDialog.overwritePrompt = true;
    saveDialog.title = QStringLiteral("Save Measurements");
    exportDialog.kind = FileDialogState::Kind::Save;
    exportDialog.overwritePrompt = true;
    buildControls();

    qApp->installEventFilter(this);

    recomputeTimer_ = new QTimer(this);
    recomputeTimer_->setSingleShot(true);
    recomputeTimer_->setInterval(0);
    connect(recomputeTimer_, &QTimer::timeout, this, &IndexVelocityWindow::sectionMayHaveChanged);
    for (auto signal :
         {&Workspace::pointsChanged, &Workspace::settingsChanged, &Workspace::documentReplaced})
        connect(&workspace_, signal, this, &IndexVelocityWindow::scheduleRecompute);
    resize(1180, 820);
}

IndexVelocityWindow::~IndexVelocityWindow() = default;

void IndexVelocityWindow::buildControls() {
    auto* layout = new QVBoxLayout(this);
    CommandRunner& commands = workspace_.commands();

    auto* menus = new QMenuBar(this);
    layout->setMenuBar(menus);
    QMenu* file = menus->addMenu(QStringLiteral("&Measurements"));
    addActionTable(
        *this, file, commands,
        {{QStringLiteral("&Import Measurements..."),
          QStringLiteral("importMeasurementsAction"),
          {QKeySequence(QStringLiteral("Ctrl+O"))},
          [this] { importMeasurements(); }},
         {QStringLiteral("&Save Measurements..."),
          QStringLiteral("saveMeasurementsAction"),
          {QKeySequence(QStringLiteral("Ctrl+S"))},
          [this] { saveMeasurements(); }},
         {},
         {QStringLiteral("Export Summary as Comma &Delimited..."),
          QStringLiteral("exportSummaryAction"),
          {},
          [this] { exportSummary(OutputFormat::CommaDelimited); }},
         {QStringLiteral("Export Summary as &HTML..."),
          QStringLiteral("exportSummaryHtmlAction"),
          {},
          [this] { exportSummary(OutputFormat::Html); }},
         {QStringLiteral("Export Summary as &Excel..."),
          QStringLiteral("exportSummaryExcelAction"),
          {},
          [this] { exportSummary(OutputFormat::Excel); }},
         {},
         {QStringLiteral("&Print Report..."),
          QStringLiteral("printReportAction"),
          {QKeySequence(QStringLiteral("Ctrl+P"))},
          [this] { printReport(); }},
         {},
         {QStringLiteral("&Close"), QStringLiteral("closeWindowAction"), {}, [this] { close(); }}});
    QMenu* edit = menus->addMenu(QStringLiteral("&Edit"));
    const QList<QAction*> steps = addActionTable(
        *this, edit, commands,
        {{QStringLiteral("&Undo"),
          QStringLiteral("measurementUndoAction"),
          {QKeySequence(QStringLiteral("Ctrl+Z"))},
          [this] { undo_->undo(); }},
         {QStringLiteral("&Redo"),
          QStringLiteral("measurementRedoAction"),
          {QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))},
          [this] { undo_->redo(); }},
         {},
         {QStringLiteral("&Add Measurement"),
          QStringLiteral("addMeasurementAction"),
          {QKeySequence(QStringLiteral("Ctrl+Ins"))},
          [this] { addMeasurement(); }},
         {QStringLiteral("&Delete Measurements"),
          QStringLiteral("deleteMeasurementsAction"),
          {QKeySequence(QStringLiteral("Ctrl+Del"))},
          [this] { deleteMeasurements(); }}});
    steps[0]->setEnabled(false);
    steps[1]->setEnabled(false);
    connect(undo_, &QUndoStack::canUndoChanged, steps[0], &QAction::setEnabled);
    connect(undo_, &QUndoStack::canRedoChanged, steps[1], &QAction::setEnabled);

    // Units and the form of the rating.
    auto* choices = new QHBoxLayout;
    auto* unitsLabel = new QLabel(QStringLiteral("&Units"), this);
    units_ = new QComboBox(this);
    units_->setObjectName(QStringLiteral("units"));
    units_->addItems({QStringLiteral("Feet"), QStringLiteral("Metres")});
    unitsLabel->setBuddy(units_);
    auto* modelLabel = new QLabel(QStringLiteral("Mo&del"), this);
    modelChoice_ = new QComboBox(this);
    modelChoice_->setObjectName(QStringLiteral("model"));
    for (const VelocityModelInfo& info : velocityModels())
        modelChoice_->addItem(QStringLiteral("%1: %2").arg(
            QString::fromLatin1(info.name.data(), static_cast<qsizetype>(info.name.size())),
            QString::fromLatin1(info.form.data(), static_cast<qsizetype>(info.form.size()))));
    modelLabel->setBuddy(modelChoice_);
    auto* breakpointLabel = new QLabel(QStringLiteral("&Breakpoint X"), this);
    breakpoint_ = new QLineEdit(this);
    breakpoint_->setObjectName(QStringLiteral("breakpoint"));
    breakpoint_->setFixedWidth(90);
    breakpoint_->setEnabled(false);
    breakpointLabel->setBuddy(breakpoint_);
    choices->addWidget(unitsLabel);
    choices->addWidget(units_);
    choices->addSpacing(16);
    choices->addWidget(modelLabel);
    choices->addWidget(modelChoice_);
    choices->addSpacing(16);
    choices->addWidget(breakpointLabel);
    choices->addWidget(breakpoint_);
    choices->addStretch(1);
    layout->addLayout(choices);

    notice_ = new NoticeLine(this);
    notice_->setObjectName(QStringLiteral("notice"));
    layout->addWidget(notice_);
    message_ = new NoticeLine(this);
    message_->setObjectName(QStringLiteral("message"));
    layout->addWidget(message_);

    model_ = new MeasurementTableModel(measurements_, rated_, workspace_.format(), this);
    model_->edit = [this](int row, const Measurement& changed) {
        // After the editor has closed: a question asked now would come up over an open editor.
        QTimer::singleShot(0, this, [this, row, changed] {
            workspace_.commands().run([&] { changeMeasurement(row, changed); });
        });
    };
    model_->refuse = [this](const QString& reason) {
        QTimer::singleShot(0, this, [this, reason] { workspace_.seam().showError(this, reason); });
    };
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("measurementTable"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setItemDelegateForColumn(MeasurementTableModel::Use, new UseDelegate(table_));
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    table_->horizontalHeader()->setStretchLastSection(true);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &IndexVelocityWindow::selectionToCharts);

    // The rating: its equation, statistics and coefficients.
    auto* ratingPane = new QWidget(this);
    auto* ratingLayout = new QVBoxLayout(ratingPane);
    ratingLayout->setContentsMargins(0, 0, 0, 0);
    equation_ = new QLabel(ratingPane);
    equation_->setObjectName(QStringLiteral("equation"));
    equation_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = equation_->font();
    bold.setBold(true);
    equation_->setFont(bold);
    equation_->setWordWrap(true);
    statistics_ = new QLabel(ratingPane);
    statistics_->setObjectName(QStringLiteral("statistics"));
    statistics_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    statistics_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    coefficients_ = new ResultTableView(ratingPane);
    coefficients_->setObjectName(QStringLiteral("coefficientTable"));
    coefficients_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ratingLayout->addWidget(equation_);
    ratingLayout->addWidget(statistics_);
    coefficientsLabel_ = new QLabel(QStringLiteral("Coefficients"), ratingPane);
    QLabel* coefficientsLabel = coefficientsLabel_;
    ratingLayout->addWidget(coefficientsLabel);
    ratingLayout->addWidget(coefficients_);
    ratingLayout->addStretch(1);

    // The plots.
    plots_ = new QTabWidget(this);
    plots_->setObjectName(QStringLiteral("plots"));
    lineFitChart_ = new MeasurementChart(plots_);
    lineFitChart_->setObjectName(QStringLiteral("lineFitChart"));
    plots_->addTab(lineFitChart_, QStringLiteral("&Line Fit"));
    auto* residualPane = new QWidget(plots_);
    auto* residualLayout = new QVBoxLayout(residualPane);
    residualLayout->setContentsMargins(0, 4, 0, 0);
    auto* againstRow = new QHBoxLayout;
    auto* againstLabel = new QLabel(QStringLiteral("Residuals a&gainst"), residualPane);
    residualAgainst_ = new QComboBox(residualPane);
    residualAgainst_->setObjectName(QStringLiteral("residualAgainst"));
    residualAgainst_->addItems(
        {QStringLiteral("Index velocity"), QStringLiteral("Gage height"), QStringLiteral("Date")});
    againstLabel->setBuddy(residualAgainst_);
    againstRow->addWidget(againstLabel);
    againstRow->addWidget(residualAgainst_);
    againstRow->addStretch(1);
    residualLayout->addLayout(againstRow);
    residualChart_ = new MeasurementChart(residualPane);
    residualChart_->setObjectName(QStringLiteral("residualChart"));
    residualLayout->addWidget(residualChart_, 1);
    plots_->addTab(residualPane, QStringLiteral("&Residuals"));
    areaChart_ = new MeasurementChart(plots_);
    areaChart_->setObjectName(QStringLiteral("areaChart"));
    plots_->addTab(areaChart_, QStringLiteral("&Area Check"));
    for (MeasurementChart* chart : {lineFitChart_, residualChart_, areaChart_})
        connect(chart, &MeasurementChart::rowClicked, this, &IndexVelocityWindow::selectRow);

    auto* lower = new QSplitter(Qt::Horizontal, this);
    lower->addWidget(ratingPane);
    lower->addWidget(plots_);
    lower->setStretchFactor(0, 2);
    lower->setStretchFactor(1, 3);
    lower->setSizes({520, 640});
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(table_);
    split->addWidget(lower);
    split->setStretchFactor(0, 2);
    split->setStretchFactor(1, 3);
    layout->addWidget(split, 1);

    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("closeButton"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* foot = new QHBoxLayout;
    foot->addStretch(1);
    foot->addWidget(close);
    layout->addLayout(foot);

    connect(units_, &QComboBox::currentIndexChanged, this, [this] {
        model_->setFeet(feet());
        table_->resizeColumnsToContents();
        showRating();
        showPlots();
    });
    connect(modelChoice_, &QComboBox::currentIndexChanged, this, [this] {
        breakpoint_->setEnabled(
            velocityModels()[static_cast<std::size_t>(modelChoice_->currentIndex())].model ==
            VelocityModel::Compound);
        recompute();
    });
    connect(breakpoint_, &QLineEdit::textChanged, this, &IndexVelocityWindow::recompute);
    connect(residualAgainst_, &QComboBox::currentIndexChanged, this,
            &IndexVelocityWindow::showPlots);
}

bool IndexVelocityWindow::feet() const {
    return units_->currentIndex() == 0;
}

QString IndexVelocityWindow::unit(char kind) const {
    return unitText(kind, feet());
}

void IndexVelocityWindow::showWindow() {
    if (!computedOnce_)
        recompute();
    presentWindow(*this);
}

bool IndexVelocityWindow::claimKey(QKeyEvent& key) {
    const QKeySequence pressed(key.keyCombination());
    for (QAction* action : findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!action->shortcuts().contains(pressed))
            continue;
        key.accept();
        // Once the key has been delivered: the command may open a dialog.
        if (action->isEnabled())
            QTimer::singleShot(0, action, &QAction::trigger);
        return true;
    }
    return false;
}

bool IndexVelocityWindow::event(QEvent* event) {
    // A key a field or a cell editor did not take (Ctrl+Z with nothing typed to undo).
    if (event->type() == QEvent::ShortcutOverride && claimKey(*static_cast<QKeyEvent*>(event)))
        return true;
    return QWidget::event(event);
}

bool IndexVelocityWindow::eventFilter(QObject* watched, QEvent* event) {
    // The main window's keys (Ctrl+S, Ctrl+Z, Ctrl+P, ...) act on the section from every window;
    // while this window has the focus its own commands take them, before any shortcut is
    // looked for. Editing keys in a field or a cell editor stay theirs (Ctrl+Z undoes the typing
    // there), and come back to event() when the field has no use for them.
    if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType() ||
        static_cast<QWidget*>(watched)->window() != this)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const bool typing = qobject_cast<QLineEdit*>(watched) != nullptr ||
                        qobject_cast<QAbstractSpinBox*>(watched) != nullptr;
    if (typing && (key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
                   key->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Y)))
        return false;
    return claimKey(*key);
}

void IndexVelocityWindow::scheduleRecompute() {
    recomputeTimer_->start();
}

void IndexVelocityWindow::sectionMayHaveChanged() {
    // A rating shown is only ever of the section as it is now: any change to the points or the
    // datum gives new rated areas, and the line says so until the next import.
    // A datum that does not read is a change too: the window says what is wrong with it.
    double datum = datum_;
    const bool readable = tryTextToFloat(toFileText(workspace_.settingText(GageField::Datum)),
                                         datum, workspace_.format());
    const bool changed = !readable || !datumRead_ ||
                         !workspace_.sectionIs(section_, sectionVersion_) || datum != datum_;
    if (!changed)
        return;
    recompute();
    if (!measurements_.empty())
        notice_->setNotice(QStringLiteral("The section has changed: the rated areas, the mean "
                                          "velocities and the rating are worked out again "
                                          "from the section as it is now."));
}

void IndexVelocityWindow::recompute() {
    computedOnce_ = true;
    section_ = workspace_.currentSection();
    sectionVersion_ = workspace_.sectionVersion();
    rated_.clear();
    fit_.reset();
    evaluated_.clear();
    QString problem;
    datumRead_ = false;
    try {
        datum_ = readNamedNumber(toFileText(workspace_.settingText(GageField::Datum)), "Datum",
                                 workspace_.format());
        datumRead_ = true;
        if (!measurements_.empty()) {
            if (section_.stations.size() < 2)
                throw Error("The section has fewer than two points: it has no rated area");
            rated_ =
                rateMeasurements(measurements_, section_.stations, section_.elevations, -datum_);
            for (const Measurement& m : measurements_)
                if (m.use == MeasurementUse::Fit && !m.indexVelocity)
                    throw Error("Measurement " + m.number +
                                " is fitted but has no index velocity: give one, or validate "
                                "or exclude it");
            const VelocityModelInfo& info =
                velocityModels()[static_cast<std::size_t>(modelChoice_->currentIndex())];
            double breakpoint = 0.0;
            if (info.model == VelocityModel::Compound)
                breakpoint = readNamedNumber(toFileText(breakpoint_->text().trimmed()),
                                             "Breakpoint", workspace_.format());
            fit_ = fitVelocityRating(info.model, breakpoint, fitSamples(measurements_, rated_));
            evaluated_ = evaluateMeasurements(*fit_, measurements_, rated_);
        }
    } catch (const std::exception& error) {
        problem = DesktopSeam::errorBoxText(messageText(error));
    }
    message_->setNotice(problem);
    // The grid keeps its selection and scroll position across a recomputation.
    emit model_->dataChanged(
        model_->index(0, 0),
        model_->index(std::max(0, model_->rowCount() - 1), MeasurementTableModel::ColumnCount - 1));
    showRating();
    showPlots();
}

void IndexVelocityWindow::showRating() {
    const NumberFormat format = workspace_.format();
    if (!fit_) {
        equation_->setText(measurements_.empty()
                               ? QStringLiteral("Import the discharge measurements "
                                                "(Measurements > Import Measurements...).")
                               : QStringLiteral("No rating."));
        statistics_->clear();
        coefficients_->results().setTable({}, 0, {});
        coefficientsLabel_->hide();
        coefficients_->hide();
        return;
    }
    const VelocityRatingFit& fit = *fit_;
    coefficientsLabel_->show();
    coefficients_->show();
    equation_->setText(QString::fromStdString(equationText(fit.equation, kDigits)) +
                       QStringLiteral("   (V, Vi in %1%2)")
                           .arg(unit('V'), fit.equation.model == VelocityModel::Stage
                                               ? QStringLiteral(", GH in ") + unit('L')
                                               : QString()));
    std::size_t validate = 0;
    std::size_t exclude = 0;
    for (const Measurement& m : measurements_) {
        validate += m.use == MeasurementUse::Validate ? 1 : 0;
        exclude += m.use == MeasurementUse::Exclude ? 1 : 0;
    }
    statistics_->setText(
        QStringLiteral("<table cellspacing=\"2\">"
                       "<tr><td>n (fitted)</td><td align=\"right\">%1</td>"
                       "<td>&nbsp;&nbsp;&nbsp;Validate / exclude</td><td align=\"right\">%2 / "
                       "%3</td></tr>"
                       "<tr><td>R\u00b2</td><td align=\"right\">%4</td>"
                       "<td>&nbsp;&nbsp;&nbsp;Adjusted R\u00b2</td><td align=\"right\">%5</td></tr>"
                       "<tr><td>Standard error of estimate</td><td align=\"right\">%6 %7</td>"
                       "<td>&nbsp;&nbsp;&nbsp;F</td><td align=\"right\">%8</td></tr>"
                       "<tr><td>Degrees of freedom</td><td align=\"right\">%9</td>"
                       "<td>&nbsp;&nbsp;&nbsp;Significance F</td><td align=\"right\">%10</td></tr>"
                       "</table>")
            .arg(fit.n)
            .arg(validate)
            .arg(exclude)
            .arg(significant(fit.rSquared, format), significant(fit.adjustedRSquared, format),
                 significant(fit.standardErrorOfEstimate, format), unit('V'),
                 significant(fit.f, format))
            .arg(fit.degreesOfFreedom)
            .arg(significant(fit.fP, format)) +
        validationText());
    const VelocityModelInfo& info = velocityModelInfo(fit.equation.model);
    coefficients_->results().setTable(
        {QStringLiteral("Term"), QStringLiteral("Estimate"), QStringLiteral("Standard Error"),
         QStringLiteral("t"), QStringLiteral("p")},
        static_cast<int>(fit.parameters),
        [this, &info, format](int row, int column) {
            const auto j = static_cast<std::size_t>(row);
            if (!fit_ || j >= fit_->parameters)
                return QString();
            const CoefficientStatistics& c = fit_->coefficients[j];
            switch (column) {
            case 0:
                return QString::fromLatin1(info.terms[j].data(),
                                           static_cast<qsizetype>(info.terms[j].size()));
            case 1:
                return significant(c.estimate, format);
            case 2:
                return significant(c.standardError, format);
            case 3:
                return significant(c.t, format);
            default:
                return significant(c.p, format);
            }
        },
        {0});
    coefficients_->resizeColumnsToContents();
    // As high as its rows: the pane's room goes to nothing rather than to empty rows.
    coefficients_->setFixedHeight(coefficients_->horizontalHeader()->sizeHint().height() +
                                  3 * coefficients_->verticalHeader()->defaultSectionSize() +
                                  coefficients_->horizontalScrollBar()->sizeHint().height() +
                                  2 * coefficients_->frameWidth() + 2);
}

VelocityPlotInput IndexVelocityWindow::plotInput() const {
    VelocityPlotInput input;
    input.measurements = measurements_;
    input.rated = rated_;
    input.fit = fit_ ? &*fit_ : nullptr;
    input.evaluated = evaluated_;
    input.stations = section_.stations;
    input.elevations = section_.elevations;
    input.datum = datum_;
    input.feet = feet();
    return input;
}

QString IndexVelocityWindow::validationText() const {
    // What the measurements held back say about the rating.
    std::size_t checked = 0;
    std::size_t inside = 0;
    for (std::size_t i = 0; i < measurements_.size() && i < evaluated_.size(); ++i) {
        if (measurements_[i].use != MeasurementUse::Validate || !evaluated_[i].evaluated)
            continue;
        ++checked;
        inside += evaluated_[i].withinInterval ? 1 : 0;
    }
    if (checked == 0)
        return QString();
    return QStringLiteral("Validation: %1 of %2 measurements within the 95 % prediction interval.")
        .arg(inside)
        .arg(checked);
}

void IndexVelocityWindow::showPlots() {
    const VelocityPlotInput input = plotInput();
    drawLineFit(*lineFitChart_, input);
    drawResiduals(*residualChart_, input,
                  static_cast<ResidualAxis>(residualAgainst_->currentIndex()));
    drawAreaCheck(*areaChart_, input);
    selectionToCharts();
}

void IndexVelocityWindow::selectionToCharts() {
    QList<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        rows.append(index.row());
    for (MeasurementChart* chart : {lineFitChart_, residualChart_, areaChart_})
        chart->setSelectedRows(rows);
}

void IndexVelocityWindow::selectRow(int row) {
    table_->selectRow(row);
    table_->scrollTo(model_->index(row, 0));
}

void IndexVelocityWindow::replaceRows(int row, int count, const std::vector<Measurement>& rows) {
    const auto at = measurements_.begin() + row;
    measurements_.erase(at, at + count);
    measurements_.insert(measurements_.begin() + row, rows.begin(), rows.end());
    model_->rowsChanged();
    recompute();
}

void IndexVelocityWindow::changeRows(const QString& stepText, int row, int count,
                                     std::vector<Measurement> rows) {
    std::vector<Measurement> before(measurements_.begin() + row,
                                    measurements_.begin() + row + count);
    undo_->push(new RowsCommand(*this, stepText, row, std::move(before), std::move(rows)));
}

bool IndexVelocityWindow::changeMeasurement(int row, Measurement changed) {
    if (row < 0 || static_cast<std::size_t>(row) >= measurements_.size())
        return false;
    const Measurement& now = measurements_[static_cast<std::size_t>(row)];
    if (changed.use == MeasurementUse::Exclude && changed.comment.empty()) {
        if (now.use == MeasurementUse::Exclude)
            throw Error("An excluded measurement keeps the comment that says why it is left out");
        ExclusionCommentDialog ask(fromFileText(changed.number), this);
        ask.setWindowModality(Qt::WindowModal);
        if (workspace_.seam().execModal(ask) != QDialog::Accepted ||
            ask.comment->text().trimmed().isEmpty())
            return false;
        changed.comment = toFileText(ask.comment->text().trimmed());
    }
    changeRows(QStringLiteral("Edit Measurement"), row, 1, {changed});
    return true;
}

void IndexVelocityWindow::importMeasurements() {
    if (!workspace_.seam().runFileDialog(this, importDialog))
        return;
    MeasurementFile file = readMeasurements(toFilePath(importDialog.fileName));
    if (saveDialog.fileName.isEmpty())
        saveDialog.fileName = importDialog.fileName;
    notice_->setNotice(QString());
    changeRows(QStringLiteral("Import Measurements"), 0, static_cast<int>(measurements_.size()),
               std::move(file.measurements));
    table_->resizeColumnsToContents();
}

void IndexVelocityWindow::saveMeasurements() {
    if (!workspace_.seam().runFileDialog(this, saveDialog))
        return;
    writeMeasurements(toFilePath(saveDialog.fileName), measurements_);
}

void IndexVelocityWindow::exportSummary(OutputFormat format) {
    if (rated_.size() != measurements_.size() || measurements_.empty())
        throw Error(message_->text().isEmpty() ? std::string("There are no measurements to export")
                                               : toFileText(message_->text()));
    const OutputFormatInfo& info = outputFormat(format);
    exportDialog.filter = filterText(info.dialogFilter);
    exportDialog.defaultExtension = filterText(info.extension);
    exportDialog.fileName.clear();
    if (!workspace_.seam().runFileDialog(this, exportDialog))
        return;
    exportTable(toFilePath(exportDialog.fileName), format, MeasurementTable(measurements_, rated_));
}

void IndexVelocityWindow::printReport() {
    if (measurements_.empty())
        throw Error("There are no measurements to report: import them first");
    previewIndexVelocityReport(workspace_.seam(), workspace_.printers(),
                               layOutIndexVelocityReport(plotInput(), workspace_.descriptionText(),
                                                         message_->text(), QDate::currentDate(),
                                                         workspace_.format()));
}

void IndexVelocityWindow::addMeasurement() {
    // A new row after the current one, its start the current one's so that it reads.
    const int current = table_->currentIndex().isValid()
                            ? table_->currentIndex().row()
                            : static_cast<int>(measurements_.size()) - 1;
    Measurement m;
    m.number = std::to_string(measurements_.size() + 1);
    m.start = current >= 0 ? measurements_[static_cast<std::size_t>(current)].start
                           : std::string("2000-01-01");
    if (current >= 0) {
        m.gageHeight = measurements_[static_cast<std::size_t>(current)].gageHeight;
        m.discharge = measurements_[static_cast<std::size_t>(current)].discharge;
    }
    // Not in the fit until its values are typed in.
    m.use = MeasurementUse::Validate;
    const int row = current + 1;
    changeRows(QStringLiteral("Add Measurement"), row, 0, {m});
    table_->setCurrentIndex(model_->index(row, MeasurementTableModel::Number));
    table_->edit(table_->currentIndex());
}

void IndexVelocityWindow::deleteMeasurements() {
    QList<int> rows;
    for (const QModelIndex& index : table_->selectionModel()->selectedRows())
        rows.append(index.row());
    if (rows.isEmpty() && table_->currentIndex().isValid())
        rows.append(table_->currentIndex().row());
    if (rows.isEmpty())
        return;
    std::sort(rows.begin(), rows.end());
    // One step over the span from the first row to the last, the rows between kept: the
    // measurements are worked out once however scattered the selection.
    const int first = rows.front();
    const int last = rows.back();
    std::vector<Measurement> kept;
    for (int row = first, next = 0; row <= last; ++row) {
        if (next < rows.size() && rows[next] == row)
            ++next;
        else
            kept.push_back(measurements_[static_cast<std::size_t>(row)]);
    }
    changeRows(QStringLiteral("Delete Measurements"), first, last - first + 1, std::move(kept));
}

} // namespace korvadel
