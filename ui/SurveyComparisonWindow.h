// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "components/desktop/DesktopSeam.h"
#include "io/InputFormats.h"
#include "model/RatingStages.h"
#include "model/SectionPoints.h"
#include "model/SurveyComparison.h"

#include <QWidget>

#include <optional>
#include <vector>

class QCPGraph;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace korvadel {

class Chart;
class ReadOnlyTableModel;
class Workspace;

// Two surveys of one section compared: the section in the main window (the one being worked
// on, taken as the new survey) against a file picked with one open dialog that offers every
// format the program reads (taken as the old, earlier survey). Both sections are overlaid in one
// chart, both ratings (stage against area) in another, and the table gives, stage by stage, the
// columns korvadel-cli compare writes, with its summary line and the export of the table.
//
// The stages are those of the main window's gage-height settings (minimum, maximum, increment,
// datum) as they stand when the comparison is made; the file's own settings are not used. The
// comparison is of the sections as they were then; running the command again brings it up to
// date. Changing the threshold marks the rows afresh.
class SurveyComparisonWindow : public QWidget {
    Q_OBJECT
public:
    explicit SurveyComparisonWindow(Workspace& workspace, QWidget* parent = nullptr);
    ~SurveyComparisonWindow() override;

    // Asks for the file of the earlier survey (over `dialogParent`), reads it with the reader its
    // name or the filter chooses, compares and shows the window. Nothing happens when the dialog
    // is cancelled; a file that cannot be read or gives fewer than two points, and settings that
    // are not numbers, stop it with their error.
    void compareWithFile(QWidget* dialogParent);

    const SurveyComparison& comparison() const { return comparison_; }
    QString earlierFileName() const { return earlierName_; }

    QLabel* legendNote = nullptr;
    QLineEdit* threshold = nullptr;
    QLabel* summary = nullptr;
    Chart* sectionChart = nullptr;
    Chart* ratingChart = nullptr;
    QTableView* tableView = nullptr;
    QPushButton* exportButton = nullptr;
    QPushButton* closeButton = nullptr;

    // The open dialog offers the three readers' filters and an "All Files" entry, and remembers
    // the entry and the name between uses.
    FileDialogState openDialog;
    FileDialogState exportDialog;

private:
    // The reader for the chosen file: the one its name's ending chooses, as on the command line
    // (so a .csv typed in while the dialog shows cross-section files is still read as one);
    // for any other name the one the chosen filter entry belongs to ("Text Files" is
    // comma-delimited), and for "All Files" the cross-section file's.
    InputFormat chosenFormat() const;
    void compare();
    void showComparison();
    void showCharts();
    void exportTable();

    Workspace& workspace_;
    std::vector<std::optional<InputFormat>> filterFormats_;
    QString earlierName_;
    SectionPoints earlier_;
    SectionPoints current_;
    std::optional<RatingStages> run_;
    double thresholdPercent_ = kDefaultComparisonThreshold;
    QString thresholdProblem_;
    SurveyComparison comparison_;
    ReadOnlyTableModel* model_ = nullptr;
    QCPGraph* currentSection_ = nullptr;
    QCPGraph* earlierSection_ = nullptr;
    QCPGraph* currentRating_ = nullptr;
    QCPGraph* earlierRating_ = nullptr;
};

} // namespace korvadel
