// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace korvadel {

// Files whose first row names their columns (measurements, records): a name is matched without
// regard to case, with space and underscore alike and blanks around it ignored.
std::string columnKey(std::string_view name);

// Lines of such files are refused beyond this length, so that a file without line breaks
// cannot make a reader hold it whole.
inline constexpr std::size_t kMaxNamedColumnLine = std::size_t{1} << 16;

// "<file>, line <n>, column <name>: <what>" with the name as the heading writes it.
std::string cellMessage(std::string_view file, std::int64_t line, std::string_view column,
                        std::string_view what);
// "'<text>' is not a valid floating point value", the text cut to a readable length.
std::string notANumber(std::string_view text);
// The text in quotes, cut to a readable length.
std::string quotedValue(std::string_view text);

} // namespace korvadel
