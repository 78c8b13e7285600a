// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The windows' controls as a test finds them: by their object names, as a user finds them by
// their captions. A control that is not there stops the test run with its name.
//
//   ui(program.main()).maximumStage->setText("2");
//   ui(program.ratingWindow()).exportJpegAction->trigger();
//   child<QLabel>(window, "summary")

#include <QObject>
#include <QString>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class QTextEdit;
class QTimer;
class QTreeWidget;

namespace korvadel {

class AboutBox;
class AdcpImportWarning;
class BoundsPrompt;
class Chart;
class EdgeWarning;
class GradientProgressBar;
class HydraulicPropertiesWindow;
class IncrementSpinBox;
class MainWindow;
class NoticeLine;
class PointGrid;
class ProgressDialog;
class RatingGrid;
class RatingWindow;
class SectionCheckWindow;
class SurveyComparisonWindow;

QObject* findNamed(const QObject* parent, const char* name, const QMetaObject& type);

template <class T> T* child(const QObject* parent, const char* name) {
    return static_cast<T*>(findNamed(parent, name, T::staticMetaObject));
}

// The label that names `field` (its buddy) in the field's window.
QLabel* labelFor(const QWidget* field);

struct MainWindowControls {
    explicit MainWindowControls(const MainWindow* window);
    QLineEdit* description;
    QLineEdit* minimumStage;
    QLineEdit* maximumStage;
    IncrementSpinBox* stageIncrement;
    QLineEdit* datum;
    PointGrid* pointGrid;
    QPushButton* animateButton;
    QPushButton* createRatingButton;
    Chart* sectionChart;
    QTimer* animationTimer;
    QAction* newAction;
    QAction* loadAction;
    QAction* importCommaDelimitedAction;
    QAction* importWinRiverAction;
    QAction* importHecRasAction;
    QAction* importSurveyAction;
    QAction* saveAction;
    QAction* printChartAction;
    QAction* exitAction;
    QAction* undoAction;
    QAction* redoAction;
    QAction* checkSectionAction;
    QAction* compareSectionAction;
    QAction* aboutAction;
    QAction* boundsPromptAction;
    QAction* stopAnimationAction;
};

struct RatingWindowControls {
    explicit RatingWindowControls(const RatingWindow* window);
    RatingGrid* ratingGrid;
    Chart* ratingChart;
    NoticeLine* outOfDate;
    QAction* printTableAction;
    QAction* printChartAction;
    QAction* exportJpegAction;
    QAction* exportMetafileAction;
    QAction* exportCommaDelimitedAction;
    QAction* exportHtmlAction;
    QAction* exportExcelAction;
    QAction* exportRdbAction;
    QAction* propertiesAction;
    QAction* closeAction;
};

struct BoundsPromptControls {
    explicit BoundsPromptControls(const BoundsPrompt* window);
    QLineEdit* minimumStage;
    QLineEdit* maximumStage;
    IncrementSpinBox* stageIncrement;
    QPushButton* okButton;
    QPushButton* cancelButton;
};

struct ProgressDialogControls {
    explicit ProgressDialogControls(const ProgressDialog* window);
    QLabel* message;
    GradientProgressBar* progressBar;
    QPushButton* cancelButton;
};

struct AdcpImportWarningControls {
    explicit AdcpImportWarningControls(const AdcpImportWarning* window);
    QLabel* heading;
    QTextEdit* message;
    QPushButton* continueButton;
};

struct EdgeWarningControls {
    explicit EdgeWarningControls(const EdgeWarning* window);
    QLabel* heading;
    QPlainTextEdit* message;
    QPushButton* okButton;
};

struct AboutBoxControls {
    explicit AboutBoxControls(const AboutBox* window);
    QWidget* panel;
    QLabel* icon;
    QLabel* productName;
    QLabel* version;
    QLabel* comments;
    QPushButton* okButton;
};

struct PropertiesWindowControls {
    explicit PropertiesWindowControls(const HydraulicPropertiesWindow* window);
    QLineEdit* roughness;
    QLineEdit* boundaries;
    QLineEdit* slope;
    QComboBox* units;
    QCheckBox* connectedOnly;
    NoticeLine* outOfDate;
    NoticeLine* message;
    QTableView* tableView;
    QComboBox* chartColumn;
    Chart* chart;
    QPushButton* exportButton;
    QPushButton* closeButton;
};

struct ComparisonWindowControls {
    explicit ComparisonWindowControls(const SurveyComparisonWindow* window);
    QLabel* legendNote;
    NoticeLine* outOfDate;
    QLineEdit* threshold;
    QLabel* summary;
    QPushButton* swapButton;
    Chart* sectionChart;
    Chart* ratingChart;
    QTableView* tableView;
    QPushButton* exportButton;
    QPushButton* closeButton;
};

struct CheckWindowControls {
    explicit CheckWindowControls(const SectionCheckWindow* window);
    QLabel* summary;
    NoticeLine* outOfDate;
    QTreeWidget* findingList;
    QPushButton* closeButton;
};

inline MainWindowControls ui(const MainWindow* w) {
    return MainWindowControls(w);
}
inline RatingWindowControls ui(const RatingWindow* w) {
    return RatingWindowControls(w);
}
inline BoundsPromptControls ui(const BoundsPrompt* w) {
    return BoundsPromptControls(w);
}
inline ProgressDialogControls ui(const ProgressDialog* w) {
    return ProgressDialogControls(w);
}
inline AdcpImportWarningControls ui(const AdcpImportWarning* w) {
    return AdcpImportWarningControls(w);
}
inline EdgeWarningControls ui(const EdgeWarning* w) {
    return EdgeWarningControls(w);
}
inline AboutBoxControls ui(const AboutBox* w) {
    return AboutBoxControls(w);
}
inline PropertiesWindowControls ui(const HydraulicPropertiesWindow* w) {
    return PropertiesWindowControls(w);
}
inline ComparisonWindowControls ui(const SurveyComparisonWindow* w) {
    return ComparisonWindowControls(w);
}
inline CheckWindowControls ui(const SectionCheckWindow* w) {
    return CheckWindowControls(w);
}

} // namespace korvadel
