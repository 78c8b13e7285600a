// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/NamedColumns.h"

#include "io/Fields.h"

namespace korvadel {

std::string columnKey(std::string_view name) {
    std::string key(trimmed(name));
    for (char& c : key) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        else if (c == ' ')
            c = '_';
    }
    return key;
}

std::string cellMessage(std::string_view file, std::int64_t line, std::string_view column,
                        std::string_view what) {
    std::string message(file);
    message += ", line ";
    message += std::to_string(line);
    message += ", column ";
    message += column;
    message += ": ";
    message += what;
    return message;
}

std::string quotedValue(std::string_view text) {
    constexpr std::size_t kShown = 60;
    std::string quoted = "'";
    quoted += text.substr(0, kShown);
    if (text.size() > kShown)
        quoted += "...";
    quoted += '\'';
    return quoted;
}

std::string notANumber(std::string_view text) {
    return quotedValue(text) + " is not a valid floating point value";
}

} // namespace korvadel
