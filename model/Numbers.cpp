// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Numbers.h"

#include "model/Error.h"

#include <array>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <locale.h>
#include <utility>

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

// Lays out significant digits (`count` of them, the first standing for 10^exponent) in the
// general format: plain notation for -4 <= exponent < plainLimit, otherwise d.dddE[-]x.
char* layOutGeneral(char* out, const char* digits, int count, int exponent, char separator,
                    int plainLimit) {
    if (exponent >= -4 && exponent < plainLimit) {
        if (exponent < 0) {
            *out++ = '0';
            *out++ = separator;
            for (int i = -1; i > exponent; --i)
                *out++ = '0';
            std::memcpy(out, digits, static_cast<std::size_t>(count));
            return out + count;
        }
        const int whole = exponent + 1;
        if (count <= whole) {
            std::memcpy(out, digits, static_cast<std::size_t>(count));
            out += count;
            for (int i = count; i < whole; ++i)
                *out++ = '0';
            return out;
        }
        std::memcpy(out, digits, static_cast<std::size_t>(whole));
        out += whole;
        *out++ = separator;
        std::memcpy(out, digits + whole, static_cast<std::size_t>(count - whole));
        return out + (count - whole);
    }
    *out++ = digits[0];
    if (count > 1) {
        *out++ = separator;
        std::memcpy(out, digits + 1, static_cast<std::size_t>(count - 1));
        out += count - 1;
    }
    *out++ = 'E';
    return std::to_chars(out, out + 8, exponent).ptr;
}

// The significant digits and the decimal exponent of a positive finite value in scientific
// notation: the shortest digits that read back as the value (precision < 0), or the value
// rounded to precision + 1 digits, trailing zeros dropped.
template <typename Real>
int scientificDigits(Real value, int precision, char* digits, int& exponent) {
    char text[64];
    const auto result = precision < 0 ? std::to_chars(text, text + sizeof text, value,
                                                      std::chars_format::scientific)
                                      : std::to_chars(text, text + sizeof text, value,
                                                      std::chars_format::scientific, precision);
    int count = 0;
    const char* p = text;
    for (; p < result.ptr && *p != 'e'; ++p)
        if (*p != '.')
            digits[count++] = *p;
    exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+'), result.ptr, exponent);
    while (count > 1 && digits[count - 1] == '0')
        --count;
    return count;
}

// NaN, the infinities and zero of either sign, which have no digits to lay out; nullptr for
// every other value.
template <typename Real> char* appendSpecial(char* out, Real value) {
    if (std::isnan(value)) {
        std::memcpy(out, "NAN", 3);
        return out + 3;
    }
    if (std::isinf(value)) {
        if (value < 0)
            *out++ = '-';
        std::memcpy(out, "INF", 3);
        return out + 3;
    }
    if (value == 0) {
        *out = '0';
        return out + 1;
    }
    return nullptr;
}

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};

// Ratings and sections are full of values with a few decimals (0.01, 27.2, 2.278). For those the
// digits come from one integer: the smallest k for which value * 10^k rounds to an integer n that
// divides back to exactly the value. n / 10^k is then a decimal of at most 15 digits within half
// a unit of the double, which is the 15-digit rounding. Plain notation only (0.0001 <= value <
// 1E15); anything else returns nullptr and takes the general road.
char* appendShortDecimal(char* out, double value, char separator) {
    if (!(value >= 1e-4 && value < 1e15))
        return nullptr;
    // Such a value times 10^8 lies within a few units of its last bit of an integer; a computed
    // value (an area, a velocity) almost never does, and skips the search. Adding and taking
    // away 1.5 * 2^52 rounds to the nearest integer below 2^51; from there on the search decides.
    const double scaled8 = value * 1e8;
    if (scaled8 < 0x1p51) {
        const double nearest = (scaled8 + 0x1.8p52) - 0x1.8p52;
        if (std::fabs(scaled8 - nearest) > scaled8 * 0x1p-50)
            return nullptr;
    }
    for (int k = 0; k < static_cast<int>(std::size(kPowersOfTen)); ++k) {
        const double scaled = std::nearbyint(value * kPowersOfTen[k]);
        if (scaled >= 1e15)
            return nullptr;
        if (scaled / kPowersOfTen[k] != value)
            continue;
        char digits[24];
        int count = static_cast<int>(
            std::to_chars(digits, digits + sizeof digits, static_cast<std::uint64_t>(scaled)).ptr -
            digits);
        const int exponent = count - k - 1;
        while (count > 1 && digits[count - 1] == '0')
            --count;
        return layOutGeneral(out, digits, count, exponent, separator, kGeneralDigits);
    }
    return nullptr;
}

// The 15-digit rounding of a double from 1E-13 up to 1E15, by exact integer arithmetic: the
// value is m * 2^e exactly, so value * 10^k = m * 5^k * 2^(e + k), which for these exponents
// (k = 14 - decimal exponent, 0 to 27) fits 128 bits; the shift to an integer rounds half to
// even on the exact remainder, as the fixed-digit conversion does. Its digits, trailing zeros
// dropped, are also the shortest round-trip digits whenever those have 15 digits or fewer (the
// 15-digit grid is coarser than the double's), so this one road gives the general format of
// every value in the range: sections, ratings and computed areas, velocities and discharges.
// A value with a few decimals takes the shorter road above first. Anything else returns nullptr
// and takes the general road.
#ifdef __SIZEOF_INT128__
__extension__ typedef unsigned __int128 Wide;

// 5^0 to 5^27, the odd part of the powers of ten the digits are scaled by.
constexpr std::array<std::uint64_t, 28> kPowersOfFive = [] {
    std::array<std::uint64_t, 28> powers{};
    std::uint64_t power = 1;
    for (std::uint64_t& p : powers) {
        p = power;
        power *= 5;
    }
    return powers;
}();

char* appendFifteenDigits(char* out, double value, char separator) {
    if (!(value >= 1e-13 && value < 1e15))
        return nullptr;
    // value = mantissa * 2^shift0 exactly (a normal double: the hidden bit set).
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const std::uint64_t mantissa =
        (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    const int binaryExponent = static_cast<int>((bits >> 52) & 0x7FF) - 1022; // value < 2^this
    const int shift0 = binaryExponent - 53;
    // floor((binaryExponent - 1) * log10 2): floor(log10(value)) or one less.
    int exponent = ((binaryExponent - 1) * 78913) >> 18;
    const int k = 14 - exponent;
    const int right = -(shift0 + k);
    if (k < 0 || k > 27 || right <= 0 || right > 120)
        return nullptr;
    constexpr std::uint64_t kLow = 100000000000000ULL;   // 10^14
    constexpr std::uint64_t kHigh = 1000000000000000ULL; // 10^15
    // value * 10^k = whole + rest / 2^right exactly.
    const Wide scaled = static_cast<Wide>(mantissa) * kPowersOfFive[static_cast<std::size_t>(k)];
    auto whole = static_cast<std::uint64_t>(scaled >> right);
    Wide rest = scaled - (static_cast<Wide>(whole) << right);
    Wide half = static_cast<Wide>(1) << (right - 1);
    if (whole >= kHigh) {
        // The value lies in the next decade: one digit more than wanted, which joins the rest.
        rest += static_cast<Wide>(whole % 10) << right;
        half = static_cast<Wide>(5) << right;
        whole /= 10;
        ++exponent;
    }
    if (whole < kLow)
        return nullptr;
    std::uint64_t digits = whole;
    if (rest > half || (rest == half && (digits & 1) != 0))
        ++digits;
    if (digits == kHigh) {
        // The rounding carried into a 16th digit: the next power of ten.
        digits = kLow;
        ++exponent;
    }
    // The significant digits without the trailing zeros (at most 14 of them), two at a time
    // from the last.
    int count = 15;
    for (const auto& [power, zeros] :
         {std::pair<std::uint64_t, int>{100000000, 8}, {10000, 4}, {100, 2}, {10, 1}}) {
        if (digits % power == 0) {
            digits /= power;
            count -= zeros;
        }
    }
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930"
        "31323334353637383940414243444546474849505152535455565758596061"
        "62636465666768697071727374757677787980818283848586878889909192"
        "93949596979899";
    char text[16];
    int at = count;
    while (at >= 2) {
        at -= 2;
        std::memcpy(text + at, kPairs + 2 * (digits % 100), 2);
        digits /= 100;
    }
    if (at == 1)
        text[0] = static_cast<char>('0' + digits);
    return layOutGeneral(out, text, count, exponent, separator, kGeneralDigits);
}
#else
char* appendFifteenDigits(char*, double, char) {
    return nullptr;
}
#endif

// The shortest text that reads back as the same value is also the 15-digit rounding whenever
// it has 15 digits or fewer (half a unit of the value's last binary digit is smaller than half
// a unit in the 15th decimal digit), so the fast shortest conversion serves almost every normal
// value and the fixed 15-digit conversion is needed only for the rest. Below the normal range
// half a binary unit can exceed that, so those values always take the fixed conversion.
template <typename Real> char* appendGeneralDigits(char* out, Real value, char separator) {
    char digits[48];
    int exponent = 0;
    int count = scientificDigits(value, -1, digits, exponent);
    if (count > kGeneralDigits || !std::isnormal(value))
        count = scientificDigits(value, kGeneralDigits - 1, digits, exponent);
    return layOutGeneral(out, digits, count, exponent, separator, kGeneralDigits);
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

char* appendGeneral(char* out, double value, NumberFormat format) {
    if (char* end = appendSpecial(out, value))
        return end;
    if (value < 0) {
        *out++ = '-';
        value = -value;
    }
    if (char* end = appendShortDecimal(out, value, format.decimalSeparator))
        return end;
    if (char* end = appendFifteenDigits(out, value, format.decimalSeparator))
        return end;
    return appendGeneralDigits(out, value, format.decimalSeparator);
}

char* appendGeneral(char* out, long double value, NumberFormat format) {
    if (char* end = appendSpecial(out, value))
        return end;
    if (value < 0) {
        *out++ = '-';
        value = -value;
    }
    return appendGeneralDigits(out, value, format.decimalSeparator);
}

char* appendGeneralExact(char* out, double value, NumberFormat format) {
    if (char* end = appendSpecial(out, value))
        return end;
    if (value < 0) {
        *out++ = '-';
        value = -value;
    }
    char digits[48];
    int exponent = 0;
    const int count = scientificDigits(value, kExactDigits - 1, digits, exponent);
    return layOutGeneral(out, digits, count, exponent, format.decimalSeparator, kExactDigits);
}

std::string formatGeneral(double value, NumberFormat format) {
    char text[kMaxGeneralLength];
    return std::string(text, appendGeneral(text, value, format));
}

std::string formatSignificant(double value, int digits, NumberFormat format) {
    char text[kMaxGeneralLength];
    char* out = text;
    if (char* end = appendSpecial(out, value))
        return std::string(text, end);
    if (value < 0) {
        *out++ = '-';
        value = -value;
    }
    digits = digits < 1 ? 1 : (digits > kExactDigits ? kExactDigits : digits);
    char significant[48];
    int exponent = 0;
    const int count = scientificDigits(value, digits - 1, significant, exponent);
    return std::string(
        text, layOutGeneral(out, significant, count, exponent, format.decimalSeparator, digits));
}

std::string formatGeneral(long double value, NumberFormat format) {
    char text[kMaxGeneralLength];
    return std::string(text, appendGeneral(text, value, format));
}

std::string formatGeneralExact(double value, NumberFormat format) {
    char text[kMaxGeneralLength];
    return std::string(text, appendGeneralExact(text, value, format));
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
