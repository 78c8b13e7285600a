// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "components/desktop/DesktopSeam.h"
#include "model/PropertyTable.h"
#include "model/TableNotifier.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QComboBox;
class QCPGraph;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;

namespace korvadel {

class Chart;
class ReadOnlyTableModel;
class Workspace;

// The hydraulic properties of the section at the stages of the rating: a table of the columns
// korvadel-cli properties writes, the inputs of Manning's formula and the water to count, a
// chart of one column against stage, and the export of the table as comma-delimited text.
//
// The stages are the rows the rating window shows: the rating's run (its bounds and datum, as
// the rating was created), less the rows deleted from the rating grid, each at its unrounded
// stage so the area column is the rating's area before rounding. The section is the one in the
// main window as it stands now: the table follows every change to the points, a new rating and a
// deleted rating row, and is worked out again when the window is next shown if it was hidden.
class HydraulicPropertiesWindow : public QWidget {
    Q_OBJECT
public:
    explicit HydraulicPropertiesWindow(Workspace& workspace, QWidget* parent = nullptr);
    ~HydraulicPropertiesWindow() override;

    // Shows the window (centred when it comes up) with the table worked out afresh.
    void showWindow();
    // Works the table out now from the rating, the section and the inputs.
    void refresh();

    // What the table shows.
    const PropertyTable& table() const { return table_; }
    // Why conveyance and discharge are not shown although n or the slope was given; empty
    // otherwise.
    QString manningProblem() const { return manningProblem_; }

    QLineEdit* roughness = nullptr; // Manning's n
    QLineEdit* slope = nullptr;
    QComboBox* units = nullptr;
    QCheckBox* connectedOnly = nullptr;
    QLabel* message = nullptr;
    QTableView* tableView = nullptr;
    QComboBox* chartColumn = nullptr;
    Chart* chart = nullptr;
    QPushButton* exportButton = nullptr;
    QPushButton* closeButton = nullptr;

    FileDialogState exportDialog;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void scheduleRefresh();
    std::optional<ManningInputs> manningInputs();
    void showTable();
    void showChart();
    void exportTable();

    Workspace& workspace_;
    PropertyTable table_;
    QString manningProblem_;
    QString stagesProblem_;
    ReadOnlyTableModel* model_ = nullptr;
    QCPGraph* curve_ = nullptr;
    QTimer* refreshTimer_ = nullptr;
    bool stale_ = true;
    TableSubscription pointsSubscription_;
    TableSubscription ratingSubscription_;
};

} // namespace korvadel
