#pragma once

// A whole program run for UI tests: the windows created in their order with a scripted seam,
// the main window shown and active.
//
//   TestProgram program;                 // created and shown
//   program.seam.chooseFile(...);        // script the next dialog
//   program.main()->...                  // drive it

#include "support/ScriptedSeam.h"
#include "ui/Application.h"

#include <QString>

class TForm1;
class TForm2;

namespace korvadel {

class TestProgram {
public:
    explicit TestProgram(char decimalSeparator = '.', bool show = true);

    TForm1* main() const { return program.windows().Form1; }
    TForm2* ratingWindow() const { return program.windows().Form2; }
    Windows& windows() { return program.windows(); }

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

// Writes `bytes` to `path`, creating folders; returns the path.
QString writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

} // namespace korvadel
