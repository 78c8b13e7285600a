#pragma once

#include <stdexcept>
#include <string>

namespace korvadel {

// Every failure a command can meet is an Error whose message is the exact text the user sees.
// Commands let it propagate; the window that started the command shows it in the error box.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

} // namespace korvadel
