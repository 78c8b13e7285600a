#include "ui/Program.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
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
