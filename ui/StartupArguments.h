// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace korvadel {

// What the desktop program's command line asks for. Qt's own options (-platform, -style, ...)
// are taken out by QApplication; the help and the version are answered before it starts, so
// they need no display.
struct StartupArguments {
    enum class Action { Run, Help, Version, UsageError };
    Action action = Action::Run;
    // FILE, made absolute against the working directory at start (the main window moves it to
    // the remembered folder as it is created); empty without one.
    QString fileName;
    // For UsageError, what was wrong.
    QString error;
    // Hidden, for tests and documentation: pictures of the main window and the rating window
    // with FILE opened and rated are written into this folder, and the program ends.
    QString screenshotFolder;
    // Hidden, for tests of an installed program: once FILE has been opened the program prints
    // how many points the section holds and ends, with 1 and the box's text if a box came up.
    bool quitAfterOpen = false;
};

// `arguments` as QCoreApplication::arguments() gives them: the program first. --help and
// --version win over anything else given with them.
StartupArguments parseStartupArguments(const QStringList& arguments);

// The texts of --help and --version.
QString startupHelp();
QString startupVersion();

} // namespace korvadel
