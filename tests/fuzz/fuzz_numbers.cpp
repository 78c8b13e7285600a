// SPDX-License-Identifier: GPL-3.0-or-later
// The standard conversions: text to number, text to integer, and the general number format read
// back through the conversion that reads it.

#include "FuzzSupport.h"
#include "model/Error.h"
#include "model/GageSettings.h"
#include "model/Numbers.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

using namespace korvadel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const NumberFormat format{(data[0] & 1) ? ',' : '.'};
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    double value = 0.0;
    const bool converted = tryTextToFloat(text, value, format);
    try {
        const double thrown = textToFloat(text, format);
        fuzz::check(converted, "textToFloat accepted what tryTextToFloat refused");
        fuzz::check(std::isnan(thrown) ? std::isnan(value) : thrown == value,
                    "the two conversions differ");
    } catch (const Error&) {
        fuzz::check(!converted, "textToFloat refused what tryTextToFloat accepted");
    }
    try {
        textToExtended(text, format);
    } catch (const Error&) {
    }
    try {
        textToInt(text);
    } catch (const Error&) {
    }
    const double increment = GageSettings::incrementFromText(text, format);
    fuzz::check(increment >= GageSettings::kMinIncrement &&
                    increment <= GageSettings::kMaxIncrement,
                "increment outside its range");

    // Any finite double written in the general format reads back to within 15 digits.
    if (size >= 9) {
        double number;
        std::memcpy(&number, data + 1, sizeof number);
        if (std::isfinite(number)) {
            const std::string written = formatGeneral(number, format);
            double back = 0.0;
            // Fifteen digits round the largest doubles up past the double range; those alone
            // cannot come back.
            if (!tryTextToFloat(written, back, format)) {
                fuzz::check(std::fabs(number) > 1.79769313486231e308,
                            "formatted number does not read");
                return 0;
            }
            const double tolerance = std::fabs(number) * 1e-14;
            fuzz::check(std::fabs(back - number) <= tolerance ||
                            (back == 0.0 && std::fabs(number) < 1e-300),
                        "formatted number reads back wrong");
        }
    }
    return 0;
}
