// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "components/desktop/DesktopSeam.h"
#include "model/PropertyTable.h"
#include "model/TableNotifier.h"

#include <QWidget>

#include <optional>

class QBoxLayout;
class QCheckBox;
class QComboBox;
class QCPGraph;
class QLineEdit;
class QSplitter;
class QTimer;

namespace korvadel {

class Chart;
class NoticeLine;
class ResultTableView;
class Workspace;

// The hydraulic properties of the section at the stages of the rating: a table of the columns
// korvadel-cli properties writes, the inputs of Manning's formula and the water to count, a
// chart of one column against stage, and the export of the table as comma-delimited text.
//
// The stages are the rows the rating window shows: the rating's run (its bounds and datum, as
// the rating was created), less the rows deleted from the rating grid, each at its unrounded
// stage so the area column is the rating's area before rounding. The section is the one the
// rating was made from, so the table never mixes one section's geometry with another's stages;
// when the points have changed since, a line says so until the rating is created again. The
// table follows a new rating and a deleted rating row, and is worked out again when the window
// is next shown if it was hidden. On screen the numbers have a few decimals and the units of
// the units choice in the column heads; the export keeps every digit.
//
// Manning's n may be one value, or one per subsection with the stations of the subsections'
// boundaries (lists take commas or semicolons, only semicolons with a decimal comma); the
// conveyance is then summed over the subsections and each has a column of its own. With the
// slope and no n, a section read from a HEC-RAS geometry file brings its own n values and the
// stations where they begin, for as long as the rating's points are the ones the file gave;
// the fields show them greyed as a hint.
//
// Controls by object name: "roughness", "boundaries", "slope", "units", "connectedOnly",
// "outOfDate", "message", "propertiesTable", "chartColumn", "propertiesChart", "exportButton",
// "closeButton"; Escape closes the window.
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

    FileDialogState exportDialog;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildInputs(QBoxLayout& layout);
    void scheduleRefresh();
    void showOutOfDate();
    std::optional<ManningInputs> manningInputs(std::optional<Subsections>& subsections);
    void showFileRoughness();
    void showTable();
    void fitTableWidth();
    void showChart();
    void exportTable();

    Workspace& workspace_;
    PropertyTable table_;
    QString manningProblem_;
    QString stagesProblem_;
    QLineEdit* roughness_ = nullptr; // Manning's n
    QLineEdit* boundaries_ = nullptr;
    QString roughnessHint_; // the field's example, shown while the file gives no n
    QLineEdit* slope_ = nullptr;
    QComboBox* units_ = nullptr;
    QCheckBox* connectedOnly_ = nullptr;
    NoticeLine* outOfDate_ = nullptr;
    NoticeLine* message_ = nullptr;
    ResultTableView* tableView_ = nullptr;
    QComboBox* chartColumn_ = nullptr;
    Chart* chart_ = nullptr;
    QCPGraph* curve_ = nullptr;
    QSplitter* splitter_ = nullptr;
    bool splitterPlaced_ = false;
    QTimer* refreshTimer_ = nullptr;
    bool stale_ = true;
    TableSubscription ratingSubscription_;
};

} // namespace korvadel
