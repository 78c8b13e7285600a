#include "model/Numbers.h"

#include "model/Error.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace korvadel {

namespace {

constexpr int kGeneralDigits = 15;
constexpr int kExactDigits = 17; // enough for every double to read back exactly

// The C library's conversions follow LC_NUMERIC, which a desktop program sets from the user's
// locale; the program's own separator travels as a parameter, so parse in the "C" locale always.
locale_t cLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}

// Builds the general format from "%.14e"-style text: [-]d.dddddddddddddde[+-]x, keeping at most
// `maxDigits` significant digits (the text holds no more).
std::string generalFromScientific(const char* text, char separator,
                                  int maxDigits = kGeneralDigits) {
    const char* p = text;
    bool negative = false;
    if (*p == '-') {
        negative = true;
        ++p;
    }
    char digits[kExactDigits + 1];
    int count = 0;
    for (; *p != 'e' && *p != '\0'; ++p) {
        if (*p >= '0' && *p <= '9' && count < maxDigits)
            digits[count++] = *p;
    }
    int exponent = 0;
    if (*p == 'e')
        exponent = std::atoi(p + 1);
    while (count > 1 && digits[count - 1] == '0')
        --count; // shortest text

    std::string out;
    out.reserve(32);
    if (negative)
        out += '-';
    // Plain notation for 1E-4 <= |rounded value| < 1E15 (1E17 with 17 digits).
    if (exponent >= -4 && exponent < maxDigits) {
        if (exponent < 0) {
            out += '0';
            out += separator;
            out.append(static_cast<std::size_t>(-exponent - 1), '0');
            out.append(digits, static_cast<std::size_t>(count));
        } else {
            const int integerDigits = exponent + 1;
            for (int i = 0; i < integerDigits; ++i)
                out += i < count ? digits[i] : '0';
            if (count > integerDigits) {
                out += separator;
                out.append(digits + integerDigits, static_cast<std::size_t>(count - integerDigits));
            }
        }
    } else {
        out += digits[0];
        if (count > 1) {
            out += separator;
            out.append(digits + 1, static_cast<std::size_t>(count - 1));
        }
        out += 'E';
        out += std::to_string(exponent);
    }
    return out;
}

template <typename Real> std::string formatSpecial(Real value) {
    if (std::isnan(value))
        return "NAN";
    return value < 0 ? "-INF" : "INF";
}

// Checks the conversion grammar and writes the number in the "C" locale's form for strtod.
bool canonicalFloatText(std::string_view text, char separator, std::string& out) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n && text[i] == ' ')
        ++i;
    out.clear();
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            out += '-';
        ++i;
    }
    const std::size_t integerStart = i;
    while (i < n && text[i] >= '0' && text[i] <= '9')
        ++i;
    const std::string_view integerDigits = text.substr(integerStart, i - integerStart);
    bool separatorSeen = false;
    std::string_view fractionDigits;
    if (i < n && text[i] == separator) {
        separatorSeen = true;
        ++i;
        const std::size_t fractionStart = i;
        while (i < n && text[i] >= '0' && text[i] <= '9')
            ++i;
        fractionDigits = text.substr(fractionStart, i - fractionStart);
    }
    if (integerDigits.empty() && !separatorSeen)
        return false;

    if (integerDigits.empty() && fractionDigits.empty()) {
        out += '0'; // a lone separator reads as zero
    } else {
        if (integerDigits.empty())
            out += '0';
        out += integerDigits;
        if (!fractionDigits.empty()) {
            out += '.';
            out += fractionDigits;
        }
    }

    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        char sign = '+';
        if (i < n && (text[i] == '+' || text[i] == '-'))
            sign = text[i++];
        const std::size_t exponentStart = i;
        while (i < n && text[i] >= '0' && text[i] <= '9')
            ++i;
        if (i > exponentStart) { // missing exponent digits read as no exponent
            out += 'e';
            out += sign;
            out += text.substr(exponentStart, i - exponentStart);
        }
    }
    while (i < n && text[i] == ' ')
        ++i;
    return i == n;
}

[[noreturn]] void throwQuoted(std::string_view text, std::string_view what) {
    std::string message;
    message.reserve(text.size() + what.size() + 2);
    message += '\'';
    message += text;
    message += '\'';
    message += what;
    throw Error(message);
}

[[noreturn]] void throwNotFloat(std::string_view text) {
    throwQuoted(text, " is not a valid floating point value");
}

[[noreturn]] void throwNotInteger(std::string_view text) {
    throwQuoted(text, " is not a valid integer value");
}

} // namespace

std::string formatGeneral(double value, NumberFormat format) {
    if (!std::isfinite(value))
        return formatSpecial(value);
    if (value == 0)
        return "0"; // negative zero too
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", kGeneralDigits - 1, value);
    return generalFromScientific(buffer, format.decimalSeparator);
}

std::string formatGeneralExact(double value, NumberFormat format) {
    if (!std::isfinite(value))
        return formatSpecial(value);
    if (value == 0)
        return "0";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", kExactDigits - 1, value);
    return generalFromScientific(buffer, format.decimalSeparator, kExactDigits);
}

std::string formatGeneral(long double value, NumberFormat format) {
    if (!std::isfinite(value))
        return formatSpecial(value);
    if (value == 0)
        return "0";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*Le", kGeneralDigits - 1, value);
    return generalFromScientific(buffer, format.decimalSeparator);
}

bool tryTextToFloat(std::string_view text, double& value, NumberFormat format) {
    std::string canonical;
    if (!canonicalFloatText(text, format.decimalSeparator, canonical))
        return false;
    errno = 0;
    const double result = strtod_l(canonical.c_str(), nullptr, cLocale());
    // Beyond the double range is an error, not an infinity; underflow reads as the nearest
    // representable value (zero or subnormal).
    if (std::isinf(result))
        return false;
    value = result;
    return true;
}

double textToFloat(std::string_view text, NumberFormat format) {
    double value = 0.0;
    if (!tryTextToFloat(text, value, format))
        throwNotFloat(text);
    return value;
}

long double textToExtended(std::string_view text, NumberFormat format) {
    std::string canonical;
    if (!canonicalFloatText(text, format.decimalSeparator, canonical))
        throwNotFloat(text);
    const long double result = strtold_l(canonical.c_str(), nullptr, cLocale());
    if (std::isinf(result))
        throwNotFloat(text);
    return result;
}

std::int32_t textToInt(std::string_view text) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    while (i < n && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    unsigned base = 10;
    if (i < n && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == n)
        throwNotInteger(text);
    constexpr std::uint64_t kLimit = std::uint64_t{1} << 32; // anything above is out of range
    std::uint64_t magnitude = 0;
    for (; i < n; ++i) {
        const char c = text[i];
        unsigned digit;
        if (c >= '0' && c <= '9') {
            digit = static_cast<unsigned>(c - '0');
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = static_cast<unsigned>(c - 'A' + 10);
        } else {
            throwNotInteger(text);
        }
        magnitude = magnitude * base + digit;
        if (magnitude > kLimit)
            magnitude = kLimit;
    }
    const std::int64_t value =
        negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    if (value < INT32_MIN || value > INT32_MAX)
        throwNotInteger(text);
    return static_cast<std::int32_t>(value);
}

long double roundHalfEven(long double value) {
    // The default rounding mode of the floating-point environment is to nearest, ties to even;
    // the program never changes it.
    return std::nearbyint(value);
}

double roundScaled(double value, long double scale) {
    const long double rounded = roundHalfEven(static_cast<long double>(value) * scale);
    // Rounding goes through a whole number, and a whole zero has no sign: a value that rounds to
    // zero from below is +0, not -0.
    if (rounded == 0)
        return 0.0;
    return static_cast<double>(rounded / scale);
}

std::int32_t truncateToInt32(long double quotient, NumberFormat format) {
    return textToInt(formatGeneral(std::trunc(quotient), format));
}

} // namespace korvadel
