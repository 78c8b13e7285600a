// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "components/desktop/DesktopSeam.h"
#include "io/OutputFormats.h"
#include "model/Measurement.h"
#include "model/MeasurementFit.h"
#include "model/SectionPoints.h"
#include "model/VelocityRating.h"

#include <QWidget>

#include <cstdint>
#include <optional>
#include <vector>

class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QTabWidget;
class QTableView;
class QTimer;
class QUndoStack;

namespace korvadel {

class MeasurementChart;
class MeasurementTableModel;
class NoticeLine;
struct VelocityPlotInput;
class ResultTableView;
class Workspace;

// The index-velocity rating of the current section: the discharge measurements in an editable
// table (imported from the command line's files, saved back in its comma-delimited form, each
// edit undoable), the rating fitted to them with its statistics, and the plots a rating is
// judged by. It follows the section: a change to the points or the datum works the rated areas
// out again at once, and a line says so. The arithmetic is the command line's.
//
// Controls by object name: "measurementTable", "units", "model", "breakpoint", "notice",
// "message", "equation", "statistics", "coefficientTable", "plots", "lineFitChart",
// "residualChart", "residualAgainst", "areaChart"; actions "importMeasurementsAction",
// "saveMeasurementsAction", "exportSummaryAction" (and ...HtmlAction, ...ExcelAction),
// "printReportAction", "addMeasurementAction",
// "deleteMeasurementsAction", "measurementUndoAction", "measurementRedoAction".
class IndexVelocityWindow : public QWidget {
    Q_OBJECT
public:
    explicit IndexVelocityWindow(Workspace& workspace, QWidget* parent = nullptr);
    ~IndexVelocityWindow() override;

    void showWindow();

    // The commands, as the menus run them.
    void importMeasurements();
    void saveMeasurements();
    void exportSummary(OutputFormat format);
    void printReport();
    void addMeasurement();
    void deleteMeasurements();

    // Replaces `count` rows from `row` on with `rows`, as one step that can be undone.
    void changeRows(const QString& stepText, int row, int count, std::vector<Measurement> rows);
    // Replaces one measurement; asks for the comment before a measurement is excluded without
    // one. False when the change was refused or not made.
    bool changeMeasurement(int row, Measurement changed);

    const std::vector<Measurement>& measurements() const { return measurements_; }
    const std::vector<RatedMeasurement>& rated() const { return rated_; }
    const std::optional<VelocityRatingFit>& fit() const { return fit_; }
    const std::vector<MeasurementFit>& evaluated() const { return evaluated_; }
    bool feet() const;
    QUndoStack& undoStack() const { return *undo_; }
    // Works everything out now.
    void recompute();

    FileDialogState importDialog;
    FileDialogState saveDialog;
    FileDialogState exportDialog;

    // Applies a step of the undo history (the history's commands call it).
    void replaceRows(int row, int count, const std::vector<Measurement>& rows);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    bool claimKey(QKeyEvent& key);
    void sectionMayHaveChanged();
    void scheduleRecompute();
    void showRating();
    void showPlots();
    VelocityPlotInput plotInput() const;
    QString validationText() const;
    void selectionToCharts();
    void selectRow(int row);
    QString unit(char kind) const;

    Workspace& workspace_;
    std::vector<Measurement> measurements_;
    std::vector<RatedMeasurement> rated_;
    std::optional<VelocityRatingFit> fit_;
    std::vector<MeasurementFit> evaluated_;
    SectionPoints section_;
    std::uint64_t sectionVersion_ = 0;
    double datum_ = 0.0;
    bool datumRead_ = false; // datum_ is the one the main window shows
    bool computedOnce_ = false;

    QUndoStack* undo_ = nullptr;
    MeasurementTableModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    QComboBox* units_ = nullptr;
    QComboBox* modelChoice_ = nullptr;
    QLineEdit* breakpoint_ = nullptr;
    NoticeLine* notice_ = nullptr;
    NoticeLine* message_ = nullptr;
    QLabel* equation_ = nullptr;
    QLabel* statistics_ = nullptr;
    QLabel* coefficientsLabel_ = nullptr;
    ResultTableView* coefficients_ = nullptr;
    QTabWidget* plots_ = nullptr;
    MeasurementChart* lineFitChart_ = nullptr;
    MeasurementChart* residualChart_ = nullptr;
    QComboBox* residualAgainst_ = nullptr;
    MeasurementChart* areaChart_ = nullptr;
    QTimer* recomputeTimer_ = nullptr;
};

} // namespace korvadel
