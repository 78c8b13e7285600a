// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/NumberFormat.h"

#include <string>
#include <string_view>

namespace korvadel {

// Minimum, maximum and datum are kept exactly as typed or read and converted at every use;
// the increment is a double always inside [0.01, 1.0].
class GageSettings {
public:
    static constexpr double kMinIncrement = 0.01;
    static constexpr double kMaxIncrement = 1.0;

    std::string minimum = "0";
    std::string maximum = "1";
    std::string datum = "0.00";

    double increment() const { return increment_; }
    void setIncrement(double value) { increment_ = clampIncrement(value); }

    // Into [0.01, 1.0]; NaN reads as the lower bound.
    static double clampIncrement(double value);
    // An increment entry: empty or unreadable text reads 0.01, anything else is clamped.
    static double incrementFromText(std::string_view text, NumberFormat format = {});

private:
    double increment_ = kMinIncrement;
};

} // namespace korvadel
