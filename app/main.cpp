// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Program.h"
#include "ui/StartupArguments.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    // --help and --version are answered without a display, so that they work anywhere (the
    // manual page is made from them at build time).
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const korvadel::StartupArguments early = korvadel::parseStartupArguments(arguments);
    if (early.action == korvadel::StartupArguments::Action::Help) {
        std::fputs(korvadel::startupHelp().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (early.action == korvadel::StartupArguments::Action::Version) {
        std::fputs(korvadel::startupVersion().toLocal8Bit().constData(), stdout);
        return 0;
    }
#if defined(Q_OS_LINUX)
    // Without a display Qt would abort with a message few people can act on.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") &&
        !std::getenv("QT_QPA_PLATFORM")) {
        std::fputs("korvadel: no display found (DISPLAY is not set). Run it inside a desktop "
                   "session, or under Xvfb: xvfb-run korvadel\n",
                   stderr);
        return 1;
    }
#endif
    QApplication application(argc, argv);
    return korvadel::runDesktopProgram(application, QApplication::arguments());
}
