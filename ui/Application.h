#pragma once

#include "ui/Windows.h"

#include <QStringList>

#include <memory>

class QApplication;

namespace korvadel {

class DesktopSeam;

// One run of the program: the windows, created hidden in their fixed order, and what start-up
// and shut-down do around them. The desktop program makes one in main(); UI tests make one
// with a scripted seam.
class Program {
public:
    Program(DesktopSeam& seam, NumberFormat format);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Main window (which puts the blank row into the table and restores the working folder
    // while it is created), bounds prompt, rating window, about box, progress dialog, import
    // warning, edge warning; all hidden.
    void createWindows();
    // Shows the main window centred.
    void showMainWindow();

    ProgramContext& context() { return context_; }
    Windows& windows() { return context_.windows; }

private:
    ProgramContext context_;
};

// The desktop program: application title, the real seam, the user's decimal separator, the
// windows and the event loop. `arguments` may hold the hidden "--screenshot <folder> <file>",
// which loads the cross-section file, makes its rating and writes pictures of the main window
// and the rating window into the folder instead of running interactively.
int runDesktopProgram(QApplication& application, const QStringList& arguments);

} // namespace korvadel
