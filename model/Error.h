// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <stdexcept>
#include <string>

namespace korvadel {

// Every failure a command can meet is an Error whose message is the exact text the user sees.
// Commands let it propagate; the window that started the command shows it in the error box.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(visible(message)) {}

private:
    // The message travels as a C string (what()), so a NUL byte quoted from a file would cut it
    // short there; it shows as '?', the mark for a character the code page cannot show.
    static std::string visible(std::string text) {
        std::replace(text.begin(), text.end(), '\0', '?');
        return text;
    }
};

} // namespace korvadel
