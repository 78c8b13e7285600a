// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/CommandLine.h"

#include <QString>

#include <memory>
#include <string>
#include <vector>

class QApplication;

namespace korvadel::cli {

// Commands that need Qt to draw (rating chart images, the printed table report). Each lives in
// a source of its own in this folder and adds itself to the list in QtCommands.cpp.
std::vector<Command> qtCommands();

// A text option such as --description as the program shows it. Command lines carry UTF-8,
// whatever the locale says, unlike the program's files, which are Windows-1252.
QString optionText(const std::string& argument);

// The application object Qt drawing needs, for the length of one command: a Qt command creates
// one at the start of its run. Without a display the offscreen platform is used, so the
// commands work on a headless machine.
class QtSession {
public:
    QtSession();
    ~QtSession();
    QtSession(const QtSession&) = delete;
    QtSession& operator=(const QtSession&) = delete;

private:
    std::unique_ptr<QApplication> application_;
};

} // namespace korvadel::cli
