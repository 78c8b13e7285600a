// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/AtomicFile.h"
#include "model/NumberFormat.h"

#include <cstdio>
#include <initializer_list>
#include <iterator>
#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace korvadel::cli {

// A command line the program cannot make sense of; main() prints it with a hint and exits 2.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

// What every command gets: its own arguments (the command name removed), the decimal separator
// of the user's locale and where its output and diagnostics go.
struct Invocation {
    std::vector<std::string> args;
    NumberFormat localeFormat;
    std::FILE* out = stdout;
    std::FILE* err = stderr;
};

// One subcommand. `help` is its section of --help: its own options, and with `withShared` also
// the option groups it shares with other commands (reading FILE, the gage-height settings),
// which the full --help prints once at its end instead. `run` returns the exit status and lets
// Error (exit 1) and UsageError (exit 2) escape.
struct Command {
    std::string_view name;
    std::string_view summary;
    std::string (*help)(const Invocation&, bool withShared);
    int (*run)(const Invocation&);
};

struct OptionSpec {
    std::string_view name; // long name without the dashes
    char shortName = 0;    // 0 when there is none
    bool takesValue = true;
};

// Options given as --name VALUE, --name=VALUE, -x VALUE or -xVALUE; "--" ends the options. A
// value is always the next argument, so "--min -2" works. The last of repeated options counts.
class ParsedArgs {
public:
    std::vector<std::string> positional;

    bool has(std::string_view name) const { return values_.count(std::string(name)) > 0; }
    std::optional<std::string> value(std::string_view name) const;
    void set(std::string_view name, std::string value) {
        values_[std::string(name)] = std::move(value);
    }

private:
    std::map<std::string, std::string> values_;
};

// A command's own options followed by shared groups such as kRatingOptions and kInputOptions.
template <std::size_t... N>
std::vector<OptionSpec> optionList(std::initializer_list<OptionSpec> own,
                                   const OptionSpec (&... shared)[N]) {
    std::vector<OptionSpec> all(own);
    (all.insert(all.end(), std::begin(shared), std::end(shared)), ...);
    return all;
}

// -o OUT, --output OUT.
inline constexpr OptionSpec kOutputOption{"output", 'o'};

ParsedArgs parseArgs(std::span<const std::string> args, std::span<const OptionSpec> options);

// Writes all bytes to a standard stream; a failure (a closed pipe, a full disk) is an Error
// with the file error text.
void writeOut(std::FILE* stream, std::string_view bytes);

// Where a command's output goes: OUT (-o), replaced only once it is completely written, or the
// standard output as it comes.
class CommandOutput {
public:
    CommandOutput(const std::optional<std::string>& path, std::FILE* out);
    void write(std::string_view bytes);
    // Puts OUT in place; without it the bytes are out already.
    void commit();

private:
    std::optional<AtomicFile> file_;
    std::FILE* out_;
};

// The message as the program's error box shows it: a final "." after a message whose last
// character sorts after ".", and on one line.
std::string asOneLineMessage(std::string message);

} // namespace korvadel::cli
