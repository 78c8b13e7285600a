// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/NumberFormat.h"

#include <QStringList>

#include <memory>

class QApplication;

namespace korvadel {

class AboutBox;
class AdcpImportWarning;
class BoundsPrompt;
class DesktopSeam;
class EdgeWarning;
class HydraulicPropertiesWindow;
class IndexVelocityWindow;
class MainWindow;
class ProgressDialog;
class RatingWindow;
class SectionCheckWindow;
class SurveyComparisonWindow;
class Workspace;

// One run of the program: the workspace, the windows over it (created hidden in their fixed
// order) and the wiring between them: a window asks for another window through a signal, and
// the program shows it. The desktop program makes one in main(); UI tests make one with a
// scripted seam.
class Program {
public:
    Program(DesktopSeam& seam, NumberFormat format);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Main window (which puts the blank row into the table and restores the working folder
    // while it is created), bounds prompt, rating window, about box, progress dialog, import
    // warning, edge warning, hydraulic properties, section check, survey comparison; all hidden.
    void createWindows();
    // Shows the main window centred.
    void showMainWindow();

    Workspace& workspace() { return *workspace_; }
    MainWindow* mainWindow() const { return mainWindow_.get(); }
    BoundsPrompt* boundsPrompt() const { return boundsPrompt_.get(); }
    RatingWindow* ratingWindow() const { return ratingWindow_.get(); }
    AboutBox* aboutBox() const { return aboutBox_.get(); }
    ProgressDialog* progressDialog() const { return progressDialog_.get(); }
    AdcpImportWarning* adcpImportWarning() const { return adcpImportWarning_.get(); }
    EdgeWarning* edgeWarning() const { return edgeWarning_.get(); }
    HydraulicPropertiesWindow* propertiesWindow() const { return propertiesWindow_.get(); }
    SectionCheckWindow* sectionCheckWindow() const { return sectionCheckWindow_.get(); }
    SurveyComparisonWindow* comparisonWindow() const { return comparisonWindow_.get(); }
    IndexVelocityWindow* indexVelocityWindow() const { return indexVelocityWindow_.get(); }

private:
    void connectWindows();

    std::unique_ptr<Workspace> workspace_;
    std::unique_ptr<MainWindow> mainWindow_;
    std::unique_ptr<BoundsPrompt> boundsPrompt_;
    std::unique_ptr<RatingWindow> ratingWindow_;
    std::unique_ptr<AboutBox> aboutBox_;
    std::unique_ptr<ProgressDialog> progressDialog_;
    std::unique_ptr<AdcpImportWarning> adcpImportWarning_;
    std::unique_ptr<EdgeWarning> edgeWarning_;
    std::unique_ptr<HydraulicPropertiesWindow> propertiesWindow_;
    std::unique_ptr<SectionCheckWindow> sectionCheckWindow_;
    std::unique_ptr<SurveyComparisonWindow> comparisonWindow_;
    std::unique_ptr<IndexVelocityWindow> indexVelocityWindow_;
};

// The desktop program: application title and icon, the real seam, the user's decimal separator,
// the windows and the event loop, with the file the command line names opened at start
// (StartupArguments tells what `arguments` may hold).
int runDesktopProgram(QApplication& application, const QStringList& arguments);

} // namespace korvadel
