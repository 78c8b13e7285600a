// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/GageSettings.h"

#include "model/Numbers.h"

#include <cmath>

namespace korvadel {

double GageSettings::clampIncrement(double value) {
    // Zero, a negative or a NaN increment would keep the accumulated stage from ever passing
    // the maximum, so everything outside the range lands on a bound.
    if (std::isnan(value) || value < kMinIncrement)
        return kMinIncrement;
    if (value > kMaxIncrement)
        return kMaxIncrement;
    return value;
}

double GageSettings::incrementFromText(std::string_view text, NumberFormat format) {
    double value = 0.0;
    if (!tryTextToFloat(text, value, format))
        return kMinIncrement;
    return clampIncrement(value);
}

} // namespace korvadel
