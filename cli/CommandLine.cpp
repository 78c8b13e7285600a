// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandLine.h"

#include "io/FileError.h"
#include "model/Error.h"

#include <cerrno>

namespace korvadel::cli {

std::optional<std::string> ParsedArgs::value(std::string_view name) const {
    const auto found = values_.find(std::string(name));
    if (found == values_.end())
        return std::nullopt;
    return found->second;
}

namespace {

const OptionSpec* findLong(std::span<const OptionSpec> options, std::string_view name) {
    for (const auto& option : options)
        if (option.name == name)
            return &option;
    return nullptr;
}

const OptionSpec* findShort(std::span<const OptionSpec> options, char name) {
    for (const auto& option : options)
        if (option.shortName != 0 && option.shortName == name)
            return &option;
    return nullptr;
}

} // namespace

ParsedArgs parseArgs(std::span<const std::string> args, std::span<const OptionSpec> options) {
    ParsedArgs parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            parsed.positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const OptionSpec* option = nullptr;
        std::optional<std::string> inlineValue;
        std::string shown;
        if (arg[1] == '-') {
            std::string_view name(arg);
            name.remove_prefix(2);
            const auto equals = name.find('=');
            if (equals != std::string_view::npos) {
                inlineValue = std::string(name.substr(equals + 1));
                name = name.substr(0, equals);
            }
            option = findLong(options, name);
            shown = "--" + std::string(name);
        } else {
            option = findShort(options, arg[1]);
            shown = arg.substr(0, 2);
            if (arg.size() > 2)
                inlineValue = arg.substr(2);
        }
        if (option == nullptr)
            throw UsageError("unknown option '" + shown + "'");
        if (!option->takesValue) {
            if (inlineValue)
                throw UsageError("option '" + shown + "' takes no value");
            parsed.set(option->name, {});
            continue;
        }
        if (!inlineValue) {
            if (i + 1 >= args.size())
                throw UsageError("option '" + shown + "' needs a value");
            inlineValue = args[++i];
        }
        parsed.set(option->name, *inlineValue);
    }
    return parsed;
}

void writeOut(std::FILE* stream, std::string_view bytes) {
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), stream) != bytes.size())
        throwFileError(errno ? errno : EIO);
    if (std::fflush(stream) != 0)
        throwFileError(errno ? errno : EIO);
}

CommandOutput::CommandOutput(const std::optional<std::string>& path, std::FILE* out) : out_(out) {
    if (path)
        file_.emplace(*path);
}

void CommandOutput::write(std::string_view bytes) {
    if (file_)
        file_->write(bytes.data(), bytes.size());
    else
        writeOut(out_, bytes);
}

void CommandOutput::commit() {
    if (file_)
        file_->commit();
}

std::string asOneLineMessage(std::string message) {
    for (char& c : message)
        if (c == '\r' || c == '\n')
            c = ' ';
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        message += '.';
    return message;
}

} // namespace korvadel::cli
