#include "model/Numbers.h"
#include "model/Error.h"
#include "model/GageSettings.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>

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

std::string messageOf(auto&& call) {
    try {
        call();
    } catch (const Error& error) {
        return error.what();
    }
    return "<no error>";
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
    }
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
