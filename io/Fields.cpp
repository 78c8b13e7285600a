// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/Fields.h"

#include <algorithm>

#include "model/Error.h"
#include "model/Numbers.h"

#include <charconv>
#include <cstdint>
#include <string>
#include <system_error>

namespace korvadel {

DelimiterSet::DelimiterSet(std::string_view characters) {
    for (char c : characters) {
        member_[static_cast<unsigned char>(c)] = true;
        empty_ = false;
    }
}

void FieldList::throwOutOfBounds(std::size_t index) {
    throw Error("List index out of bounds (" + std::to_string(index) + ")");
}

std::size_t SplitFields(std::string_view line, const DelimiterSet& delimiters,
                        std::optional<char> quote, bool allowEmpty, FieldList& fields) {
    fields.clear();
    if (line.empty() || delimiters.empty() || (quote && delimiters.contains(*quote))) {
        return 0;
    }
    // -1 matches no character, so "no quote character" needs no test of its own.
    const int q = quote ? static_cast<unsigned char>(*quote) : -1;
    const auto isQuote = [q](char c) { return static_cast<unsigned char>(c) == q; };
    const auto add = [&](std::size_t begin, std::size_t end) {
        if (end > begin || allowEmpty) {
            fields.add(line.substr(begin, end - begin));
        }
    };

    enum class State { Between, InQuotes, AfterClosingQuote, Plain, QuoteInPlain };
    State state = State::Between;
    std::size_t start = 0; // where the current field began (its opening quote, if any)
    const std::size_t n = line.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = line[i];
        switch (state) {
        case State::Between:
            start = i;
            if (isQuote(c)) {
                state = State::InQuotes;
            } else if (delimiters.contains(c)) {
                add(i, i);
            } else {
                state = State::Plain;
                // Most fields are plain: run to the next delimiter or quote in one go.
                while (i + 1 < n && !delimiters.contains(line[i + 1]) && !isQuote(line[i + 1])) {
                    ++i;
                }
            }
            break;
        case State::InQuotes:
            if (isQuote(c)) {
                state = State::AfterClosingQuote;
            }
            break;
        case State::AfterClosingQuote:
            if (isQuote(c)) {
                state = State::QuoteInPlain;
            } else if (delimiters.contains(c)) {
                add(start + 1, i - 1);
                state = State::Between;
            } else {
                state = State::Plain;
            }
            break;
        case State::Plain:
            if (isQuote(c)) {
                state = State::QuoteInPlain;
            } else if (delimiters.contains(c)) {
                add(start, i);
                state = State::Between;
            }
            break;
        case State::QuoteInPlain:
            if (isQuote(c)) {
                state = State::Plain;
            }
            break;
        }
    }
    switch (state) {
    case State::Between:
        add(n, n);
        break;
    case State::InQuotes:
        add(start + 1, n);
        break;
    case State::AfterClosingQuote:
        add(start + 1, n - 1);
        break;
    case State::Plain:
    case State::QuoteInPlain:
        add(start, n);
        break;
    }
    return fields.size();
}

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Decides, for a mantissa and exponent that the conversion found out of range, whether the value
// lies above the largest double (true) or below the smallest subnormal (false). The two limits are
// more than 600 decades apart, so the decade of the leading digit settles it.
bool beyondLargest(std::string_view mantissa, std::string_view exponent) {
    std::int64_t decade = 0; // value = 0.d... * 10^decade
    std::int64_t intDigits = 0;
    bool seenPoint = false;
    bool found = false;
    std::int64_t leadingZeros = 0;
    for (char c : mantissa) {
        if (c == '.') {
            seenPoint = true;
            continue;
        }
        if (!seenPoint) {
            ++intDigits;
        }
        if (!found) {
            if (c == '0') {
                ++leadingZeros;
            } else {
                found = true;
            }
        }
    }
    if (!found) {
        return false;
    }
    std::int64_t exp = 0;
    bool negative = false;
    std::size_t i = 0;
    if (i < exponent.size() && (exponent[i] == '+' || exponent[i] == '-')) {
        negative = exponent[i] == '-';
        ++i;
    }
    for (; i < exponent.size(); ++i) {
        if (exp < 1'000'000'000) {
            exp = exp * 10 + (exponent[i] - '0');
        }
    }
    decade = intDigits - leadingZeros + (negative ? -exp : exp);
    return decade > 0;
}

} // namespace

FieldNumber FieldToReal(std::string_view field, char decimalSeparator) {
    std::size_t b = 0;
    std::size_t e = field.size();
    while (e > b && field[e - 1] == ' ') {
        --e;
    }
    while (b < e && field[b] == ' ') {
        ++b;
    }
    std::string_view text = field.substr(b, e - b);
    if (text.empty()) {
        return {true, 0.0};
    }

    char local[kMaxSplitLine + 1];
    std::string longText;
    // With the point as separator only a final point that is the first one changes the text,
    // which spares the search in the common case.
    const std::size_t sep = decimalSeparator != '.' || text.back() == '.'
                                ? text.find(decimalSeparator)
                                : std::string_view::npos;
    if (sep != std::string_view::npos) {
        if (sep + 1 == text.size()) {
            text.remove_suffix(1);
        } else if (decimalSeparator != '.') {
            char* copy = local;
            if (text.size() > sizeof local) {
                longText.assign(text);
                copy = longText.data();
            } else {
                text.copy(local, text.size());
            }
            copy[sep] = '.';
            text = std::string_view(copy, text.size());
        }
    }

    const std::size_t n = text.size();
    if (n == 0) {
        return {false, 1.0};
    }
    std::size_t i = 0;
    bool negative = false;
    if (text[0] == '+' || text[0] == '-') {
        negative = text[0] == '-';
        i = 1;
        if (i == n) {
            return {false, static_cast<double>(n + 1)};
        }
    }
    const std::size_t mantissaBegin = i;
    // While checking the grammar, gather what the common short number needs: its digits as an
    // integer (exact while there are at most 19 of them) and how many followed the point.
    std::uint64_t significand = 0;
    std::size_t digits = 0;
    while (i < n && isDigit(text[i])) {
        significand = significand * 10 + static_cast<unsigned>(text[i] - '0');
        ++i;
        ++digits;
    }
    std::int64_t pointShift = 0;
    if (i < n && text[i] == '.') {
        ++i;
        const std::size_t fractionBegin = i;
        while (i < n && isDigit(text[i])) {
            significand = significand * 10 + static_cast<unsigned>(text[i] - '0');
            ++i;
        }
        pointShift = static_cast<std::int64_t>(i - fractionBegin);
        digits += i - fractionBegin;
    }
    const std::size_t mantissaEnd = i;
    std::size_t exponentBegin = n;
    std::int64_t exponent = 0;
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        exponentBegin = i;
        bool exponentNegative = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            exponentNegative = text[i] == '-';
            ++i;
        }
        if (i == n) {
            return {false, static_cast<double>(n + 1)};
        }
        if (!isDigit(text[i])) {
            return {false, static_cast<double>(i + 1)};
        }
        while (i < n && isDigit(text[i])) {
            if (exponent < 100'000) {
                exponent = exponent * 10 + (text[i] - '0');
            }
            ++i;
        }
        if (exponentNegative) {
            exponent = -exponent;
        }
    }
    if (i != n) {
        return {false, static_cast<double>(i + 1)};
    }

    // A significand below 2^53 is exact in a double, and so is every power of ten up to 1e22;
    // one multiplication or division of two exact values rounds correctly.
    static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const bool exact = digits <= 19;
    if (exact && significand == 0) {
        return {true, negative ? -0.0 : 0.0};
    }
    const std::int64_t power = exponent - pointShift;
    if (exact && significand <= (std::uint64_t{1} << 53) && power >= -22 && power <= 22) {
        double value = static_cast<double>(significand);
        value = power < 0 ? value / kPowersOfTen[-power] : value * kPowersOfTen[power];
        return {true, negative ? -value : value};
    }

    double value = 0.0;
    if (digits > 0) {
        // The grammar above is a subset of what from_chars accepts (sign excluded), and
        // from_chars rounds correctly.
        const char* first = text.data() + mantissaBegin;
        const char* last = text.data() + n;
        const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
        if (ec == std::errc::result_out_of_range) {
            const std::string_view mantissa =
                text.substr(mantissaBegin, mantissaEnd - mantissaBegin);
            const std::string_view exponentText =
                exponentBegin < n ? text.substr(exponentBegin) : std::string_view();
            if (beyondLargest(mantissa, exponentText)) {
                throw Error("Floating point overflow");
            }
            value = 0.0;
        } else if (ec != std::errc() || ptr != last) {
            // Cannot happen for text the grammar accepted; fail safe rather than guess.
            return {false, static_cast<double>(ptr - text.data() + 1)};
        }
    }
    return {true, negative ? -value : value};
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

bool readDecimal(std::string_view field, double& value) {
    field = trimmed(field);
    // from_chars takes a minus sign but no plus.
    std::string_view digits = field;
    if (!digits.empty() && digits.front() == '+') {
        digits.remove_prefix(1);
        if (!digits.empty() && digits.front() == '-')
            return false;
    }
    const std::string_view unsignedPart =
        !digits.empty() && digits.front() == '-' ? digits.substr(1) : digits;
    // from_chars also takes "nan", "inf" and "infinity", which are no measured values.
    if (unsignedPart.empty() || !(isDigit(unsignedPart.front()) || unsignedPart.front() == '.'))
        return false;
    double result = 0.0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), result);
    if (end != digits.data() + digits.size())
        return false;
    if (error == std::errc::result_out_of_range)
        // Past the largest double, or below the smallest: the standard conversion tells which,
        // reading the second as 0 or a subnormal.
        return tryTextToFloat(field, value);
    if (error != std::errc())
        return false;
    value = result;
    return true;
}

} // namespace korvadel
