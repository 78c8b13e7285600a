// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A whole program run for UI tests: the windows created in their order with a scripted seam,
// the main window shown and active.
//
//   TestProgram program;                 // created and shown
//   program.seam.chooseFile(...);        // script the next dialog
//   program.main()->...                  // drive it

#include "tests/support/ScriptedSeam.h"
#include "ui/Program.h"

#include <QString>

namespace korvadel {

class CrossSectionDocument;
class RatingTable;

class TestProgram {
public:
    explicit TestProgram(char decimalSeparator = '.', bool show = true);

    MainWindow* main() const { return program.mainWindow(); }
    RatingWindow* ratingWindow() const { return program.ratingWindow(); }
    BoundsPrompt* boundsPrompt() const { return program.boundsPrompt(); }
    ProgressDialog* progressDialog() const { return program.progressDialog(); }
    AdcpImportWarning* importWarning() const { return program.adcpImportWarning(); }
    EdgeWarning* edgeWarning() const { return program.edgeWarning(); }
    AboutBox* aboutBox() const { return program.aboutBox(); }
    Workspace& workspace() const { return program.workspace(); }
    CrossSectionDocument& document() const;
    RatingTable& rating() const;

    // Puts the trapezoid channel (0, 10) (2, 0) (8, 0) (10, 10) into the main window, to be
    // rated from gage height 0 to `maxStage` in steps of 1.
    void enterTrapezoid(const QString& maxStage);
    // Enters the trapezoid and rates it with the main window's button: areas 0, 6.2, 12.8, ...
    void rateTrapezoid(const QString& maxStage);

    // Makes the window the active one, as a click on it would.
    static void activate(QWidget* window);

    ScriptedSeam seam;
    mutable Program program;
};

// Drops the offscreen platform's complaint about every raise(); the windows raise themselves as
// they should on a desktop, so those lines are only noise in a test's output.
void quietenOffscreenRaise();

// Writes `bytes` to `path`, creating folders; returns the path.
QString writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

} // namespace korvadel
