// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// korvadel-cli run as a user runs it, for the tests of the command line:
//
//   ScratchFolder folder;
//   const CliRun run = runCli(folder, {"rating", "section.kvd"});
//   run.status, run.out, run.err
//
// It runs in the given folder, with the test's environment less the locale (so the C locale
// unless the test adds one) and the display (the program must do without one), plus the
// NAME=value entries given. The including target defines KORVADEL_CLI, the program's path.

#include "tests/support/WriteTestSupport.h"

#include <cerrno>
#include <cstdio>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace korvadel::testing {

struct CliRun {
    int status = -1; // the exit status; -1 when the program did not exit by itself
    std::string out;
    std::string err;
};

inline std::string readBack(std::FILE* file) {
    std::string text;
    std::rewind(file);
    char buffer[4096];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, file))
        text.append(buffer, n);
    std::fclose(file);
    return text;
}

inline CliRun runCli(const ScratchFolder& folder, const std::vector<std::string>& args,
                     const std::vector<std::string>& environment = {}) {
    std::vector<std::string> env;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view text = *entry;
        if (!text.starts_with("LC_") && !text.starts_with("LANG") &&
            !text.starts_with("DISPLAY=") && !text.starts_with("WAYLAND_DISPLAY=") &&
            !text.starts_with("QT_QPA_PLATFORM="))
            env.emplace_back(text);
    }
    env.insert(env.end(), environment.begin(), environment.end());
    std::vector<char*> argv{const_cast<char*>(KORVADEL_CLI)};
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& entry : env)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    // Unnamed files take what the program prints, so nothing is left in the folder.
    std::FILE* out = std::tmpfile();
    std::FILE* err = std::tmpfile();
    CliRun run;
    if (out == nullptr || err == nullptr)
        return run;
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::chdir(folder.path().c_str()) != 0 || ::dup2(::fileno(out), 1) < 0 ||
            ::dup2(::fileno(err), 2) < 0)
            ::_exit(127);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    int status = 0;
    pid_t waited = -1;
    if (child > 0) {
        do
            waited = ::waitpid(child, &status, 0);
        while (waited < 0 && errno == EINTR);
    }
    if (waited == child && WIFEXITED(status))
        run.status = WEXITSTATUS(status);
    run.out = readBack(out);
    run.err = readBack(err);
    return run;
}

} // namespace korvadel::testing
