// SPDX-License-Identifier: GPL-3.0-or-later
// korvadel-cli: the headless companion of the desktop program, for batch work and scripting.
//
// Every subcommand is one entry of kCommands below. Commands that draw with Qt live in qt/ and
// are listed by qtCommands(); they exist only when the desktop libraries are built.

#include "cli/AnalysisCommands.h"
#include "cli/CommandLine.h"
#include "cli/CoreCommands.h"
#include "cli/HelpText.h"
#include "cli/IndexVelocityCommands.h"
#include "cli/RatingOptions.h"
#include "model/Error.h"

#ifdef KORVADEL_CLI_WITH_UI
#include "cli/qt/QtCommands.h"
#endif

#include <clocale>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

using namespace korvadel;
using namespace korvadel::cli;

namespace {

std::vector<Command> allCommands() {
    std::vector<Command> commands{
        ratingCommand(),         convertCommand(),  areaCommand(),     propertiesCommand(),
        checkCommand(),          compareCommand(),  sectionsCommand(), measurementsCommand(),
        velocityRatingCommand(), dischargeCommand()};
#ifdef KORVADEL_CLI_WITH_UI
    for (const Command& command : qtCommands())
        commands.push_back(command);
#endif
    return commands;
}

// The decimal separator of the user's locale, as the desktop program takes it from the regional
// settings. Numbers are never formatted through the C library's locale afterwards.
NumberFormat localeNumberFormat() {
    NumberFormat format;
    if (std::setlocale(LC_ALL, "") != nullptr) {
        const char* point = std::localeconv()->decimal_point;
        // A separator that is not a single byte cannot be written into single-byte text.
        if (point != nullptr && std::strlen(point) == 1)
            format.decimalSeparator = point[0];
    }
    std::setlocale(LC_NUMERIC, "C");
    return format;
}

// The usage lines as help2man knows them ("Usage:", then "  or:") make the manual page's
// synopsis; everything else is laid out by HelpText.
std::string overview(const std::vector<Command>& commands) {
    std::vector<HelpEntry> entries;
    for (const Command& command : commands)
        entries.push_back({std::string(command.name), std::string(command.summary)});
    return "Usage: korvadel-cli COMMAND FILE [OPTIONS]\n"
           "  or:  korvadel-cli COMMAND --help\n"
           "  or:  korvadel-cli --help\n"
           "  or:  korvadel-cli --version\n"
           "\n"
           "Stage-area ratings of surveyed river cross-sections, without the window.\n"
           "\n" +
           helpList("Commands", "", entries);
}

std::string fullHelp(const std::vector<Command>& commands, const Invocation& invocation) {
    std::string text = overview(commands);
    for (const Command& command : commands) {
        text += '\n';
        text += command.help(invocation, false);
    }
    text += '\n';
    text += ratingOptionsHelp();
    text += '\n';
    text += inputOptionsHelp(invocation);
    const HelpEntry other[] = {
        {"-h, --help", "Show this help (after a command: that command's help)."},
        {"--version", "Show the program's version, copyright and licence."}};
    text += '\n';
    text += helpList("Other options", "", other);
    const HelpEntry statuses[] = {{"0", "success"},
                                  {"1", "the program's error, its message on standard error"},
                                  {"2", "wrong usage"},
                                  {"3", "check found at least one warning, or sections a cross "
                                        "section it could not read"}};
    text += '\n';
    text += helpList("Exit status", "", statuses);
    return text;
}

bool isHelp(const std::string& arg) {
    return arg == "--help" || arg == "-h";
}

int reportUsageError(const std::string& message) {
    std::fprintf(stderr, "korvadel-cli: %s\nTry 'korvadel-cli --help' for more information.\n",
                 message.c_str());
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    Invocation invocation;
    invocation.localeFormat = localeNumberFormat();
    const std::vector<Command> commands = allCommands();
    std::vector<std::string> args(argv + 1, argv + argc);

    if (args.empty())
        return reportUsageError("a COMMAND is needed");
    if (args.front() == "--version") {
        // The layout of GNU programs' --version, which the manual page's COPYRIGHT section is
        // made from; the desktop program says the same.
        std::fputs("korvadel-cli " KORVADEL_VERSION "\n"
                   "Copyright (C) " KORVADEL_COPYRIGHT ".\n"
                   "License GPLv3+: GNU GPL version 3 or later "
                   "<https://gnu.org/licenses/gpl.html>.\n"
                   "This is free software: you are free to change and redistribute it.\n"
                   "There is NO WARRANTY, to the extent permitted by law.\n",
                   stdout);
        return 0;
    }
    if (isHelp(args.front()) || args.front() == "help") {
        std::fputs(fullHelp(commands, invocation).c_str(), stdout);
        return 0;
    }
    const Command* command = nullptr;
    for (const Command& candidate : commands)
        if (candidate.name == args.front())
            command = &candidate;
    if (command == nullptr)
        return reportUsageError(std::string("unknown command '").append(args.front()).append("'"));

    invocation.args.assign(args.begin() + 1, args.end());
    for (const std::string& arg : invocation.args) {
        if (arg == "--")
            break;
        if (isHelp(arg)) {
            std::fputs(command->help(invocation, true).c_str(), stdout);
            return 0;
        }
    }
    try {
        return command->run(invocation);
    } catch (const UsageError& error) {
        return reportUsageError(error.what());
    } catch (const Error& error) {
        std::fprintf(stderr, "korvadel-cli: %s\n", asOneLineMessage(error.what()).c_str());
        return 1;
    } catch (const std::bad_alloc&) {
        std::fputs("korvadel-cli: Out of memory.\n", stderr);
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "korvadel-cli: %s\n", asOneLineMessage(error.what()).c_str());
        return 1;
    }
}
