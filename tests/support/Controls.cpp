// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/Controls.h"

#include "components/chart/Chart.h"
#include "components/grid/PointGrid.h"
#include "components/grid/RatingGrid.h"
#include "components/widgets/GradientProgressBar.h"
#include "components/widgets/IncrementSpinBox.h"
#include "components/widgets/NoticeLine.h"
#include "ui/AboutBox.h"
#include "ui/AdcpImportWarning.h"
#include "ui/BoundsPrompt.h"
#include "ui/EdgeWarning.h"
#include "ui/HydraulicPropertiesWindow.h"
#include "ui/MainWindow.h"
#include "ui/ProgressDialog.h"
#include "ui/RatingWindow.h"
#include "ui/SectionCheckWindow.h"
#include "ui/SurveyComparisonWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>

namespace korvadel {

QObject* findNamed(const QObject* parent, const char* name, const QMetaObject& type) {
    const QString wanted = QLatin1String(name);
    for (QObject* object : parent->findChildren<QObject*>(wanted))
        if (type.cast(object))
            return object;
    qFatal("%s has no %s named \"%s\"", qPrintable(parent->objectName()), type.className(), name);
}

QLabel* labelFor(const QWidget* field) {
    for (QLabel* label : field->window()->findChildren<QLabel*>())
        if (label->buddy() == field)
            return label;
    qFatal("no label names %s", qPrintable(field->objectName()));
}

#define KORVADEL_FIND(member) member(child<std::remove_pointer_t<decltype(member)>>(w, #member))

MainWindowControls::MainWindowControls(const MainWindow* w)
    : KORVADEL_FIND(description), KORVADEL_FIND(minimumStage), KORVADEL_FIND(maximumStage),
      KORVADEL_FIND(stageIncrement), KORVADEL_FIND(datum), KORVADEL_FIND(pointGrid),
      KORVADEL_FIND(animateButton), KORVADEL_FIND(createRatingButton), KORVADEL_FIND(sectionChart),
      KORVADEL_FIND(animationTimer), KORVADEL_FIND(newAction), KORVADEL_FIND(loadAction),
      KORVADEL_FIND(importCommaDelimitedAction), KORVADEL_FIND(importWinRiverAction),
      KORVADEL_FIND(importHecRasAction), KORVADEL_FIND(importSurveyAction),
      KORVADEL_FIND(saveAction), KORVADEL_FIND(printChartAction), KORVADEL_FIND(exitAction),
      KORVADEL_FIND(undoAction), KORVADEL_FIND(redoAction), KORVADEL_FIND(checkSectionAction),
      KORVADEL_FIND(compareSectionAction), KORVADEL_FIND(aboutAction),
      KORVADEL_FIND(boundsPromptAction), KORVADEL_FIND(stopAnimationAction) {}

RatingWindowControls::RatingWindowControls(const RatingWindow* w)
    : KORVADEL_FIND(ratingGrid), KORVADEL_FIND(ratingChart), KORVADEL_FIND(outOfDate),
      KORVADEL_FIND(printTableAction), KORVADEL_FIND(printChartAction),
      KORVADEL_FIND(exportJpegAction), KORVADEL_FIND(exportMetafileAction),
      KORVADEL_FIND(exportCommaDelimitedAction), KORVADEL_FIND(exportHtmlAction),
      KORVADEL_FIND(exportExcelAction), KORVADEL_FIND(exportRdbAction),
      KORVADEL_FIND(propertiesAction), KORVADEL_FIND(closeAction) {}

BoundsPromptControls::BoundsPromptControls(const BoundsPrompt* w)
    : KORVADEL_FIND(minimumStage), KORVADEL_FIND(maximumStage), KORVADEL_FIND(stageIncrement),
      KORVADEL_FIND(okButton), KORVADEL_FIND(cancelButton) {}

ProgressDialogControls::ProgressDialogControls(const ProgressDialog* w)
    : KORVADEL_FIND(message), KORVADEL_FIND(progressBar), KORVADEL_FIND(cancelButton) {}

AdcpImportWarningControls::AdcpImportWarningControls(const AdcpImportWarning* w)
    : KORVADEL_FIND(heading), KORVADEL_FIND(message), KORVADEL_FIND(continueButton) {}

EdgeWarningControls::EdgeWarningControls(const EdgeWarning* w)
    : KORVADEL_FIND(heading), KORVADEL_FIND(message), KORVADEL_FIND(okButton) {}

AboutBoxControls::AboutBoxControls(const AboutBox* w)
    : panel(child<QWidget>(w, "framePanel")), icon(child<QLabel>(w, "programIcon")),
      KORVADEL_FIND(productName), KORVADEL_FIND(version), KORVADEL_FIND(comments),
      KORVADEL_FIND(okButton) {}

PropertiesWindowControls::PropertiesWindowControls(const HydraulicPropertiesWindow* w)
    : KORVADEL_FIND(roughness), KORVADEL_FIND(boundaries), KORVADEL_FIND(slope),
      KORVADEL_FIND(units), KORVADEL_FIND(connectedOnly), KORVADEL_FIND(outOfDate),
      KORVADEL_FIND(message), tableView(child<QTableView>(w, "propertiesTable")),
      KORVADEL_FIND(chartColumn), chart(child<Chart>(w, "propertiesChart")),
      KORVADEL_FIND(exportButton), KORVADEL_FIND(closeButton) {}

ComparisonWindowControls::ComparisonWindowControls(const SurveyComparisonWindow* w)
    : KORVADEL_FIND(legendNote), KORVADEL_FIND(outOfDate), KORVADEL_FIND(threshold),
      KORVADEL_FIND(summary), KORVADEL_FIND(swapButton),
      sectionChart(child<Chart>(w, "sectionsChart")), ratingChart(child<Chart>(w, "ratingsChart")),
      tableView(child<QTableView>(w, "comparisonTable")), KORVADEL_FIND(exportButton),
      KORVADEL_FIND(closeButton) {}

CheckWindowControls::CheckWindowControls(const SectionCheckWindow* w)
    : KORVADEL_FIND(summary), KORVADEL_FIND(outOfDate), KORVADEL_FIND(findingList),
      KORVADEL_FIND(closeButton) {}

#undef KORVADEL_FIND

} // namespace korvadel
