// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/StartupArguments.h"

#include "ui/Version.h"

#include <QFileInfo>

namespace korvadel {

StartupArguments parseStartupArguments(const QStringList& arguments) {
    StartupArguments result;
    QStringList files;
    bool help = false;
    bool version = false;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (optionsEnded || !argument.startsWith(QLatin1Char('-')) ||
            argument == QLatin1String("-")) {
            files.append(argument);
        } else if (argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            help = true;
        } else if (argument == QLatin1String("--version") || argument == QLatin1String("-v")) {
            version = true;
        } else if (argument == QLatin1String("--quit-after-open")) {
            result.quitAfterOpen = true;
        } else if (argument == QLatin1String("--screenshot") && i + 1 < arguments.size()) {
            result.screenshotFolder = QFileInfo(arguments.at(++i)).absoluteFilePath();
        } else if (result.error.isEmpty()) {
            result.error = QStringLiteral("unknown option '%1'").arg(argument);
        }
    }
    if (files.size() > 1 && result.error.isEmpty())
        result.error = QStringLiteral("one FILE at a time, not %1").arg(files.size());
    if (!files.isEmpty())
        result.fileName = QFileInfo(files.constFirst()).absoluteFilePath();
    if ((result.quitAfterOpen || !result.screenshotFolder.isEmpty()) && files.isEmpty() &&
        result.error.isEmpty())
        result.error = QStringLiteral("a FILE is needed");

    if (help)
        result.action = StartupArguments::Action::Help;
    else if (version)
        result.action = StartupArguments::Action::Version;
    else if (!result.error.isEmpty())
        result.action = StartupArguments::Action::UsageError;
    return result;
}

// The manual page is made from this text by help2man, which reads its layout: an option is an
// indented line starting with "-" and two spaces before what it does, and only a blank line
// ends a paragraph (cli/HelpText.h says more).
QString startupHelp() {
    return QStringLiteral(
        "Usage: korvadel [OPTION]... [FILE]\n"
        "Turn a surveyed river cross-section into a stage-area rating, in a window.\n"
        "\n"
        "FILE, when given, is opened at start-up as the File menu opens it, chosen by its\n"
        "name: a comma-delimited file (*.csv) or the Classic ASCII output of an ADCP program\n"
        "(*t.000, *ASC.TXT) is imported, any other file is loaded as a cross-section file\n"
        "(*.kvd). A file dropped on the main window from a file manager is opened the same\n"
        "way.\n"
        "\n"
        "Options:\n"
        "  -h, --help     show this help and exit\n"
        "  -v, --version  show the version and exit\n"
        "\n"
        "Qt's own options are taken as well, such as -platform NAME, -style NAME and\n"
        "-display DISPLAY. The program needs a display; without one it says so (run it\n"
        "under a virtual one with: xvfb-run korvadel).\n"
        "\n"
        "The same work without a window, for batch jobs and scripts: korvadel-cli.\n");
}

QString startupVersion() {
    // The layout of GNU programs' --version, which the manual page's COPYRIGHT section is made
    // from; korvadel-cli says the same.
    return QStringLiteral("korvadel %1\n"
                          "Copyright (C) %2.\n"
                          "License GPLv3+: GNU GPL version 3 or later "
                          "<https://gnu.org/licenses/gpl.html>.\n"
                          "This is free software: you are free to change and redistribute it.\n"
                          "There is NO WARRANTY, to the extent permitted by law.\n")
        .arg(QLatin1String(kVersion), QLatin1String(kCopyright));
}

} // namespace korvadel
