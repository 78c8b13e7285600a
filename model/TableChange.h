// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <functional>

namespace korvadel {

// What a table tells its views. While views are suspended nothing is delivered; the final
// resumeViews delivers one Reset.
struct TableChange {
    enum class Kind { Reset, Inserted, Removed, Changed, Moved };
    Kind kind = Kind::Reset;
    std::size_t row = 0; // Inserted/Removed/Changed: the row; Moved: the old position
    std::size_t to = 0;  // Moved: the new position
};

using TableListener = std::function<void(const TableChange&)>;

} // namespace korvadel
