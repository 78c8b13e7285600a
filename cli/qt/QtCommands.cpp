#include "cli/qt/QtCommands.h"

#include "cli/qt/ChartCommand.h"
#include "cli/qt/ReportCommand.h"

#include <QApplication>

#include <clocale>
#include <cstdlib>

namespace korvadel::cli {

std::vector<Command> qtCommands() {
    return {
        // One entry per Qt command, e.g. chartCommand(), reportCommand().
        chartCommand(),
        reportCommand(),
    };
}

namespace {
int argumentCount = 1;
char programName[] = "korvadel-cli";
char* arguments[] = {programName, nullptr};
} // namespace

QtSession::QtSession() {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr &&
        std::getenv("WAYLAND_DISPLAY") == nullptr)
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    application_ = std::make_unique<QApplication>(argumentCount, arguments);
    // Qt applies the user's locale to the C library; numbers are formatted by the program's own
    // rules with the separator chosen at start-up.
    std::setlocale(LC_NUMERIC, "C");
}

QtSession::~QtSession() = default;

} // namespace korvadel::cli
