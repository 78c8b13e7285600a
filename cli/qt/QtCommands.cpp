// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/qt/QtCommands.h"

#include "cli/qt/ChartCommand.h"
#include "cli/qt/ReportCommand.h"

#include <QApplication>

#include <clocale>
#include <cstdlib>

namespace korvadel::cli {

std::vector<Command> qtCommands() {
    return {
        chartCommand(),
        reportCommand(),
    };
}

QString optionText(const std::string& argument) {
    return QString::fromUtf8(argument.data(), static_cast<qsizetype>(argument.size()));
}

namespace {
int argumentCount = 1;
QtMessageHandler previousHandler = nullptr;

// The headless platform reports every window operation it cannot carry out, and Qt notes the
// missing runtime folder of a session without a desktop; neither means anything to a user of
// the command line, whose standard error should hold only the program's own messages.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtCriticalMsg && type != QtFatalMsg &&
        (message.startsWith(QStringLiteral("This plugin does not support")) ||
         message.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR not set"))))
        return;
    previousHandler(type, context, message);
}

char programName[] = "korvadel-cli";
char* arguments[] = {programName, nullptr};
} // namespace

QtSession::QtSession() {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr &&
        std::getenv("WAYLAND_DISPLAY") == nullptr)
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    previousHandler = qInstallMessageHandler(quietHandler);
    application_ = std::make_unique<QApplication>(argumentCount, arguments);
    // Qt applies the user's locale to the C library; numbers are formatted by the program's own
    // rules with the separator chosen at start-up.
    std::setlocale(LC_NUMERIC, "C");
}

QtSession::~QtSession() = default;

} // namespace korvadel::cli
