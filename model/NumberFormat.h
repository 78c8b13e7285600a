// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace korvadel {

// Locale facts the core needs, passed explicitly. The desktop program fills it once from the
// user's regional settings; tests pass both separators.
struct NumberFormat {
    char decimalSeparator = '.';
};

} // namespace korvadel
