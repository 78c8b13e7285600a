// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Runs korvadel-cli as a user runs it, for the command-line tests: its exit status, standard
// output and standard error. KORVADEL_CLI is the program's path.

#include "tests/support/WriteTestSupport.h"

#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace korvadel::testing {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the program with `args` in `folder`; `environment` entries (NAME=value) are added to a
// copy of the environment with every locale variable removed, so the C locale is the default.
inline CliRun runCli(const ScratchFolder& folder, const std::vector<std::string>& args,
                     const std::vector<std::string>& environment = {}) {
    const std::string outPath = folder.file(".stdout");
    const std::string errPath = folder.file(".stderr");
    std::vector<std::string> env;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        if (text.rfind("LC_", 0) != 0 && text.rfind("LANG", 0) != 0)
            env.push_back(text);
    }
    env.insert(env.end(), environment.begin(), environment.end());

    std::vector<char*> argv{const_cast<char*>(KORVADEL_CLI)};
    for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (auto& entry : env)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    const pid_t child = ::fork();
    if (child == 0) {
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0 || err < 0 || ::chdir(folder.path().c_str()) != 0)
            ::_exit(127);
        ::dup2(out, 1);
        ::dup2(err, 2);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    CliRun run;
    int status = 0;
    if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status))
        run.status = WEXITSTATUS(status);
    run.out = readAll(outPath);
    run.err = readAll(errPath);
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return run;
}

} // namespace korvadel::testing
