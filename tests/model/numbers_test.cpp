// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/CommandSteps.h"
#include "model/Error.h"
#include "model/GageSettings.h"
#include "model/Numbers.h"
#include "tests/support/ErrorMessage.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace korvadel {
namespace {

constexpr NumberFormat kDot{'.'};
constexpr NumberFormat kComma{','};

// Built by appending: GCC 12 at -O3 warns falsely about chained operator+ on strings.
std::string quoted(std::string_view text, std::string_view what) {
    std::string message(1, '\'');
    message.append(text).append(1, '\'').append(what);
    return message;
}

TEST(FormatGeneral, DoublesInPlainAndExponentNotation) {
    struct Case {
        double value;
        const char* dot;
        const char* comma;
    };
    const Case cases[] = {
        {0.0, "0", "0"},
        {-0.0, "0", "0"},
        {0.5, "0.5", "0,5"},
        {-2.25, "-2.25", "-2,25"},
        {100.0, "100", "100"},
        {0.1 + 0.2, "0.3", "0,3"},
        {1.0000000000000007, "1", "1"},
        {1.0 / 3.0, "0.333333333333333", "0,333333333333333"},
        {2.0 / 3.0, "0.666666666666667", "0,666666666666667"},
        {0.0001, "0.0001", "0,0001"},
        {0.00012345, "0.00012345", "0,00012345"},
        {0.000099999, "9.9999E-5", "9,9999E-5"},
        {1e-5, "1E-5", "1E-5"},
        {-1e-5, "-1E-5", "-1E-5"},
        {1.5e20, "1.5E20", "1,5E20"},
        {123456789012345.0, "123456789012345", "123456789012345"},
        {999999999999999.0, "999999999999999", "999999999999999"},
        {1e15, "1E15", "1E15"},
        {1234567890123456.0, "1.23456789012346E15", "1,23456789012346E15"},
        {99999999999999.99, "100000000000000", "100000000000000"}, // rounds up to 15 digits
        {9.99999999999999999e-5, "0.0001", "0,0001"},              // rounded value decides
        {DBL_MAX, "1.79769313486232E308", "1,79769313486232E308"},
        {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324",
         "4,94065645841247E-324"},
        {std::nan(""), "NAN", "NAN"},
        {-HUGE_VAL, "-INF", "-INF"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatGeneral(c.value, kDot), c.dot) << c.dot;
        EXPECT_EQ(formatGeneral(c.value, kComma), c.comma) << c.comma;
    }
}

TEST(FormatGeneral, ExtendedValues) {
    EXPECT_EQ(formatGeneral(99.999999999999997918L), "100");
    EXPECT_EQ(formatGeneral(2147483648.0L), "2147483648");
    EXPECT_EQ(formatGeneral(1e4000L), "1E4000");
    EXPECT_EQ(formatGeneral(-0.0L), "0");
    EXPECT_EQ(formatGeneral(2.5L, kComma), "2,5");
}

TEST(FormatGeneral, ExactDigitsReadBackEveryDouble) {
    const double largest = std::numeric_limits<double>::max();
    EXPECT_EQ(formatGeneralExact(largest), "1.7976931348623157E308");
    EXPECT_EQ(formatGeneralExact(-largest, kComma), "-1,7976931348623157E308");
    EXPECT_EQ(formatGeneralExact(0.1), "0.10000000000000001");
    EXPECT_EQ(formatGeneralExact(2.5), "2.5");
    EXPECT_EQ(formatGeneralExact(1e16), "10000000000000000");
    EXPECT_EQ(formatGeneralExact(1e17), "1E17");
    for (const double value : {largest, -largest, 0.1, 1.0 / 3.0, 5e-324, 123456.789e300}) {
        EXPECT_EQ(textToFloat(formatGeneralExact(value)), value) << formatGeneralExact(value);
    }
}

// Independent oracle for the general format: the C library's correctly rounded fixed-digit
// conversion ("%.14e", "%.16e"), laid out by plain string handling. The formatter itself takes
// shorter roads (integer decimals, the shortest round-trip digits); they must give these bytes.
template <typename Real> std::string referenceGeneral(Real value, char separator, int digits) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0";
    char text[80];
    if constexpr (std::is_same_v<Real, long double>)
        std::snprintf(text, sizeof text, "%.*Le", digits - 1, value);
    else
        std::snprintf(text, sizeof text, "%.*e", digits - 1, value);
    std::string scientific(text);
    const bool negative = scientific[0] == '-';
    if (negative)
        scientific.erase(0, 1);
    const std::size_t e = scientific.find('e');
    const int exponent = std::stoi(scientific.substr(e + 1));
    std::string significant = scientific.substr(0, 1) + scientific.substr(2, e - 2);
    while (significant.size() > 1 && significant.back() == '0')
        significant.pop_back();
    std::string out = negative ? "-" : "";
    if (exponent >= -4 && exponent < digits) {
        if (exponent < 0)
            return out + "0" + separator + std::string(-exponent - 1, '0') + significant;
        const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
        if (significant.size() <= whole)
            return out + significant + std::string(whole - significant.size(), '0');
        return out + significant.substr(0, whole) + separator + significant.substr(whole);
    }
    out += significant.substr(0, 1);
    if (significant.size() > 1)
        out += separator + significant.substr(1);
    return out + "E" + std::to_string(exponent);
}

TEST(FormatGeneral, MatchesTheFixedDigitReferenceOverManyValues) {
    std::mt19937_64 random(20240611);
    std::vector<double> values = {0.0001,
                                  0.00009999999999999999,
                                  1e15,
                                  999999999999999.9,
                                  999999999999999.4,
                                  99999999999999.99,
                                  0.1,
                                  0.3,
                                  2.675,
                                  DBL_MIN,
                                  DBL_MIN * 0.5,
                                  DBL_TRUE_MIN,
                                  DBL_MAX,
                                  -DBL_MAX,
                                  1.797693134862315e308,
                                  5e-324,
                                  123456.789e300};
    for (int i = 0; i < 100000; ++i) {
        // Any bit pattern: every exponent, subnormals, infinities and NaNs.
        values.push_back(std::bit_cast<double>(random()));
        // Decimals with a few places, as sections and ratings hold them.
        const auto places = static_cast<int>(random() % 9);
        const auto whole = static_cast<double>(random() % 100000000000ULL);
        values.push_back((random() % 2 ? -1 : 1) * whole / std::pow(10.0, places));
        // Computed values with every digit of a double (areas, velocities, discharges), and
        // exact ties in the 16th digit, which round to an even 15th.
        const int decade = static_cast<int>(random() % 30) - 14;
        values.push_back(std::ldexp(static_cast<double>(random() >> 11), -53) *
                         std::pow(10.0, decade));
        values.push_back(static_cast<double>(100000000000000ULL + random() % 900000000000000ULL) +
                         0.5);
        // Near the decimal powers, where the notation and the digit count change.
        const int power = static_cast<int>(random() % 40) - 20;
        values.push_back(std::nextafter(std::pow(10.0, power), random() % 2 ? HUGE_VAL : 0.0));
    }
    int mismatches = 0;
    for (const double value : values) {
        for (const NumberFormat format : {kDot, kComma}) {
            const char separator = format.decimalSeparator;
            if (formatGeneral(value, format) != referenceGeneral(value, separator, 15) ||
                formatGeneralExact(value, format) != referenceGeneral(value, separator, 17)) {
                ADD_FAILURE() << std::hexfloat << value << ": " << formatGeneral(value, format)
                              << " / " << referenceGeneral(value, separator, 15);
                if (++mismatches > 10)
                    return;
            }
        }
    }
}

TEST(FormatGeneral, ExtendedMatchesTheFixedDigitReference) {
    std::mt19937_64 random(1802);
    std::vector<long double> values = {0.0001L,       1e15L,    1e4000L,
                                       1e-4000L,      LDBL_MIN, LDBL_MAX,
                                       LDBL_TRUE_MIN, 0.99L,    99.999999999999997918L};
    // The animation's levels: 15-digit texts read back and moved by a double increment.
    long double level = 1;
    for (int i = 0; i < 20000; ++i) {
        level = textToExtended(formatGeneral(level - 0.01, kDot));
        values.push_back(level - 0.01);
        values.push_back(static_cast<long double>(std::bit_cast<double>(random())) *
                         (1.0L + static_cast<long double>(random() % 1000) * 1e-19L));
    }
    int mismatches = 0;
    for (const long double value : values) {
        if (formatGeneral(value, kComma) != referenceGeneral(value, ',', 15)) {
            ADD_FAILURE() << static_cast<double>(value) << ": " << formatGeneral(value, kComma)
                          << " / " << referenceGeneral(value, ',', 15);
            if (++mismatches > 10)
                return;
        }
    }
}

TEST(FormatGeneral, AppendedInPlaceWithinTheLongestLength) {
    char text[kMaxGeneralLength + 1];
    for (const double value : {-DBL_MAX, -DBL_TRUE_MIN, -0.000123456789012345, 1.0 / 3.0}) {
        char* end = appendGeneral(text, value, kComma);
        EXPECT_LE(static_cast<std::size_t>(end - text), kMaxGeneralLength);
        EXPECT_EQ(std::string(text, end), formatGeneral(value, kComma));
        end = appendGeneralExact(text, value, kComma);
        EXPECT_LE(static_cast<std::size_t>(end - text), kMaxGeneralLength);
    }
    const long double tiny = -LDBL_TRUE_MIN * 3;
    EXPECT_LE(static_cast<std::size_t>(appendGeneral(text, tiny) - text), kMaxGeneralLength);
}

TEST(TextToFloat, AcceptsTheStandardGrammar) {
    struct Case {
        const char* text;
        NumberFormat format;
        double value;
    };
    const Case cases[] = {
        {"1", kDot, 1.0},
        {" 1.5 ", kDot, 1.5},
        {"+2", kDot, 2.0},
        {"-2.5", kDot, -2.5},
        {"1E", kDot, 1.0},
        {"1e3", kDot, 1000.0},
        {"1E+2", kDot, 100.0},
        {"1E-2", kDot, 0.01},
        {".5", kDot, 0.5},
        {"5.", kDot, 5.0},
        {".", kDot, 0.0},
        {"1.5E", kDot, 1.5},
        {"1E-", kDot, 1.0},
        {"  -.5e1  ", kDot, -5.0},
        {"00012", kDot, 12.0},
        {"1e-400", kDot, 0.0},
        {"0.1", kDot, 0.1},
        {"1,5", kComma, 1.5},
        {",5", kComma, 0.5},
        {"-1,25E1", kComma, -12.5},
        {"1.7976931348623157e308", kDot, DBL_MAX},
        {".E", kDot, 0.0},
        {"-.e5", kDot, -0.0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(textToFloat(c.text, c.format), c.value) << c.text;
        double value = -99.0;
        EXPECT_TRUE(tryTextToFloat(c.text, value, c.format)) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
        EXPECT_EQ(readNamedNumber(c.text, "Slope", c.format), c.value) << c.text;
    }
    EXPECT_TRUE(std::signbit(textToFloat("-.")));
}

TEST(TextToFloat, RejectsEverythingElseWithTheTextInTheMessage) {
    struct Case {
        const char* text;
        NumberFormat format;
    };
    const Case cases[] = {
        {"", kDot},
        {" ", kDot},
        {"abc", kDot},
        {"1,5", kDot},
        {"1.5.2", kDot},
        {"E5", kDot},
        {"+", kDot},
        {"-", kDot},
        {"1 2", kDot},
        {"1e5x", kDot},
        {"nan", kDot},
        {"inf", kDot},
        {"0x10", kDot},
        {"\t1", kDot},
        {"1E5E", kDot},
        {"++1", kDot},
        {"1.5 e", kDot},
        {"1.5", kComma},
        {"1e99999999999999999999", kDot},
    };
    for (const Case& c : cases) {
        double value = 7.0;
        EXPECT_FALSE(tryTextToFloat(c.text, value, c.format)) << c.text;
        EXPECT_EQ(value, 7.0) << c.text;
        EXPECT_EQ(messageOf([&] { textToFloat(c.text, c.format); }),
                  quoted(c.text, " is not a valid floating point value"));
        EXPECT_EQ(messageOf([&] { textToExtended(c.text, c.format); }),
                  quoted(c.text, " is not a valid floating point value"));
        // A named input's number says which input to correct.
        EXPECT_EQ(messageOf([&] { readNamedNumber(c.text, "--slope", c.format); }),
                  "--slope: " + quoted(c.text, " is not a valid floating point value"));
    }
}

TEST(TextToFloat, NumberListsSplitWhereTheDecimalSeparatorDoesNotStand) {
    struct Case {
        const char* text;
        NumberFormat format;
        std::vector<double> values;
    };
    const Case cases[] = {
        {"0.05,0.03;0.05", kDot, {0.05, 0.03, 0.05}},
        {" 4 ; 12 ", kDot, {4, 12}},
        {"0.035", kDot, {0.035}},
        {"0,05;0,03", kComma, {0.05, 0.03}},
        {"4;12,5", kComma, {4, 12.5}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(readNumberList(c.text, "Manning's n", c.format), c.values) << c.text;
    // An empty place in the list is a number missing; with a decimal comma "0,05,0,03" is one
    // field that is not a number.
    EXPECT_EQ(messageOf([] { readNumberList("4,,12", "Subdivide at", kDot); }),
              "Subdivide at: '' is not a valid floating point value");
    EXPECT_EQ(messageOf([] { readNumberList("0,05,0,03", "Manning's n", kComma); }),
              "Manning's n: '0,05,0,03' is not a valid floating point value");
}

TEST(TextToFloat, ExtendedKeepsTheLongerSignificand) {
    EXPECT_EQ(textToExtended("0.1"), 0.1L);
    EXPECT_NE(textToExtended("0.1"), static_cast<long double>(0.1));
    EXPECT_EQ(textToExtended("1e400"), 1e400L);
    // Beyond the double range is an error for a double, never an infinity.
    for (const char* text : {"1e400", "-1e400", "1e99999"}) {
        double value = 7.0;
        EXPECT_FALSE(tryTextToFloat(text, value)) << text;
        EXPECT_EQ(messageOf([&] { textToFloat(text); }),
                  quoted(text, " is not a valid floating point value"));
    }
    EXPECT_EQ(messageOf([] { textToExtended("1e5000"); }),
              "'1e5000' is not a valid floating point value");
    EXPECT_EQ(textToExtended("2,5", kComma), 2.5L);
}

TEST(TextToInt, DecimalAndHexadecimal) {
    struct Case {
        const char* text;
        std::int32_t value;
    };
    const Case cases[] = {
        {"31", 31},
        {"$1F", 31},
        {"0x1F", 31},
        {"x1f", 31},
        {"X1F", 31},
        {"0X1f", 31},
        {"  -12", -12},
        {"+7", 7},
        {"007", 7},
        {"0", 0},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"-$80000000", INT32_MIN},
        {"$7FFFFFFF", INT32_MAX},
    };
    for (const Case& c : cases)
        EXPECT_EQ(textToInt(c.text), c.value) << c.text;
}

TEST(TextToInt, RejectsWithTheTextInTheMessage) {
    const char* cases[] = {"2147483648",
                           "-2147483649",
                           "$80000000",
                           "",
                           " ",
                           "12 ",
                           "1.5",
                           "0x",
                           "$",
                           "-",
                           "1E2",
                           "$G",
                           "99999999999999999999",
                           "1 2",
                           "--1"};
    for (const char* text : cases) {
        EXPECT_EQ(messageOf([&] { textToInt(text); }),
                  quoted(text, " is not a valid integer value"));
    }
}

TEST(Rounding, HalfEvenOfExtendedValues) {
    const long double cases[][2] = {{0.5L, 0.0L},         {1.5L, 2.0L},    {2.5L, 2.0L},
                                    {-1.5L, -2.0L},       {2.4999L, 2.0L}, {-2.5L, -2.0L},
                                    {3.5000000001L, 4.0L}};
    for (const auto& c : cases)
        EXPECT_EQ(roundHalfEven(c[0]), c[1]) << static_cast<double>(c[0]);
}

TEST(Rounding, ScaledWithTheProductInExtendedPrecision) {
    EXPECT_EQ(roundScaled(0.125, 100), 0.12);
    EXPECT_EQ(roundScaled(2.5625, 1000), 2.562);
    EXPECT_EQ(roundScaled(0.375, 100), 0.38);
    EXPECT_EQ(roundScaled(-2.5625, 1000), -2.562);
    EXPECT_EQ(roundScaled(0.99, 100), 0.99);
    // The double nearest 0.025 times 100 is exactly 2.5 in double arithmetic (a tie that would
    // go to 2) but 2.50000000000000013878 in extended, so the row reads 0.03; likewise 0.005.
    EXPECT_EQ(0.025 * 100.0, 2.5);
    EXPECT_EQ(roundScaled(0.025, 100), 0.03);
    EXPECT_EQ(roundScaled(0.005, 100), 0.01);
    EXPECT_EQ(roundScaled(0.045, 100), 0.04);
    // What rounds to zero from below is +0, as a whole number is; the 11th stage of -2 by 0.2
    // is the sum -2.7755575615628914E-16.
    double eleventhStage = -2.0;
    for (int k = 0; k < 10; ++k)
        eleventhStage += 0.2;
    for (const double belowZero : {eleventhStage, -0.004, -0.0})
        EXPECT_FALSE(std::signbit(roundScaled(belowZero, 100))) << belowZero;
}

TEST(StepCount, TruncatesFormatsAndReadsBack) {
    EXPECT_EQ(truncateToInt32((1.0L - 0.0L) / static_cast<long double>(0.01)), 99);
    EXPECT_EQ(truncateToInt32(2147483647.9L), INT32_MAX);
    EXPECT_EQ(truncateToInt32(-2147483648.5L), INT32_MIN);
    EXPECT_EQ(truncateToInt32(-0.5L), 0);
    EXPECT_EQ(truncateToInt32(-7.9L), -7);
    const struct {
        long double quotient;
        NumberFormat format;
        const char* message;
    } failures[] = {
        {2147483648.0L, kDot, "'2147483648' is not a valid integer value"},
        {-2147483649.0L, kDot, "'-2147483649' is not a valid integer value"},
        {1e20L, kDot, "'1E20' is not a valid integer value"},
        {1.5e20L, kComma, "'1,5E20' is not a valid integer value"},
        {std::numeric_limits<long double>::quiet_NaN(), kDot, "'NAN' is not a valid integer value"},
        {std::numeric_limits<long double>::infinity(), kDot, "'INF' is not a valid integer value"},
    };
    for (const auto& f : failures) {
        EXPECT_EQ(messageOf([&] { truncateToInt32(f.quotient, f.format); }), f.message);
    }
}

TEST(GageSettingsIncrement, ClampedIntoRange) {
    const double cases[][2] = {{5.0, 1.0}, {0.0, 0.01},  {-1.0, 0.01},         {0.5, 0.5},
                               {1.0, 1.0}, {0.01, 0.01}, {std::nan(""), 0.01}, {0.009, 0.01}};
    for (const auto& c : cases)
        EXPECT_EQ(GageSettings::clampIncrement(c[0]), c[1]) << c[0];
    GageSettings settings;
    EXPECT_EQ(settings.increment(), 0.01);
    settings.setIncrement(5);
    EXPECT_EQ(settings.increment(), 1.0);
    settings.setIncrement(0);
    EXPECT_EQ(settings.increment(), 0.01);
}

TEST(GageSettingsIncrement, ReadFromText) {
    EXPECT_EQ(GageSettings::incrementFromText(""), 0.01);
    EXPECT_EQ(GageSettings::incrementFromText("abc"), 0.01);
    EXPECT_EQ(GageSettings::incrementFromText("5"), 1.0);
    EXPECT_EQ(GageSettings::incrementFromText(" 0.5 "), 0.5);
    EXPECT_EQ(GageSettings::incrementFromText("0,5", kComma), 0.5);
    EXPECT_EQ(GageSettings::incrementFromText("0.5", kComma), 0.01);
    EXPECT_EQ(GageSettings::incrementFromText("1e400"), 0.01);
}

} // namespace
} // namespace korvadel
