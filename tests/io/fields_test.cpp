// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/Fields.h"

#include "model/Error.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace korvadel {
namespace {

std::vector<std::string> split(std::string_view line, std::string_view delimiters,
                               std::optional<char> quote = '"', bool allowEmpty = false) {
    FieldList fields;
    const std::size_t count =
        SplitFields(line, DelimiterSet(delimiters), quote, allowEmpty, fields);
    EXPECT_EQ(count, fields.size());
    std::vector<std::string> result;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        result.emplace_back(fields.at(i));
    }
    return result;
}

using Fields = std::vector<std::string>;

struct SplitCase {
    const char* name;
    std::string line;
    std::string delimiters;
    Fields expected;
};

TEST(SplitFields, FollowsTheQuoteAndDelimiterRules) {
    const SplitCase cases[] = {
        {"two plain fields", "1.5,2.5", ",", {"1.5", "2.5"}},
        {"delimiters at the ends and in runs", ",1.5,,2.5,", ",", {"1.5", "2.5"}},
        {"quoted field holds a delimiter", "\"3,5\",7", ",", {"3,5", "7"}},
        {"unclosed quote runs to the end", "\"ab", ",", {"ab"}},
        {"empty quoted field gives nothing", "\"\"", ",", {}},
        {"quote inside a plain field protects delimiters", "x\"y,z\"w,5", ",", {"x\"y,z\"w", "5"}},
        {"lone quote in a plain field stays", "a\"b", ",", {"a\"b"}},
        {"doubled quote makes a plain field", "\"x,\"\"y\"", ",", {"\"x,\"\"y\""}},
        {"text after a closing quote keeps the quotes", "\"ab\"cd,1", ",", {"\"ab\"cd", "1"}},
        {"quotes removed before a delimiter", "\"1.5\",\"2.5\"", ",", {"1.5", "2.5"}},
        {"tab: key without value", "//Station\t", "\t", {"//Station"}},
        {"tab: quoted value", "//Station\t\"Main St\"", "\t", {"//Station", "Main St"}},
        {"tab: comma is ordinary", "1,5\t2", "\t", {"1,5", "2"}},
        {"space runs", "  1   2 3 ", " ", {"1", "2", "3"}},
        {"quote that is a delimiter gives nothing", "a\"b,c", ",\"", {}},
        {"empty line", "", ",", {}},
        {"only delimiters", ",,,", ",", {}},
        {"several delimiters", "1;2,3", ",;", {"1", "2", "3"}},
        {"closing quote then quote", "\"a\"\"b,c\",d", ",", {"\"a\"\"b,c\"", "d"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(split(c.line, c.delimiters), c.expected) << c.name;
    }
}

TEST(SplitFields, NothingWithoutDelimiters) {
    EXPECT_EQ(split("a,b", ""), Fields{});
}

TEST(SplitFields, WithoutQuoteCharacterQuotesAreOrdinary) {
    EXPECT_EQ(split("\"3,5\",7", ",", std::nullopt), (Fields{"\"3", "5\"", "7"}));
}

TEST(SplitFields, AllowEmptyKeepsEveryField) {
    EXPECT_EQ(split(",1,,2,", ",", '"', true), (Fields{"", "1", "", "2", ""}));
    EXPECT_EQ(split("\"\",a", ",", '"', true), (Fields{"", "a"}));
    EXPECT_EQ(split("", ",", '"', true), Fields{});
}

TEST(SplitFields, ReplacesThePreviousContent) {
    FieldList fields;
    const DelimiterSet comma(",");
    SplitFields("a,b,c", comma, '"', false, fields);
    SplitFields("d", comma, '"', false, fields);
    ASSERT_EQ(fields.size(), 1u);
    EXPECT_EQ(fields.at(0), "d");
}

TEST(FieldList, MissingFieldNamesItsIndex) {
    FieldList fields;
    SplitFields("1.5", DelimiterSet(","), '"', false, fields);
    try {
        fields.at(1);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "List index out of bounds (1)");
    }
    SplitFields("", DelimiterSet(","), '"', false, fields);
    EXPECT_THROW(fields.at(0), Error);
}

TEST(CutLine, KeepsTheFirst255Characters) {
    std::string line(250, 'a');
    line += ",bbbbbbbbbb,c"; // the second field straddles position 255
    FieldList fields;
    SplitFields(cutLine(line), DelimiterSet(","), '"', false, fields);
    ASSERT_EQ(fields.size(), 2u);
    EXPECT_EQ(fields.at(1), "bbbb");
    EXPECT_EQ(cutLine(std::string(300, 'x')).size(), 255u);
}

struct RealCase {
    const char* text;
    char separator;
    bool ok;
    double value;
};

TEST(FieldToReal, ReadsNumbersAndReportsErrorPositions) {
    const RealCase cases[] = {
        {" 12 ", '.', true, 12},
        {"-3.25", '.', true, -3.25},
        {"+3.25", '.', true, 3.25},
        {".5", '.', true, 0.5},
        {"7.", '.', true, 7},
        {"1e3", '.', true, 1000},
        {"1E-2", '.', true, 0.01},
        {"1e+2", '.', true, 100},
        {"E5", '.', true, 0},
        {"", '.', true, 0},
        {"   ", '.', true, 0},
        {"007", '.', true, 7},
        {"abc", '.', false, 1},
        {"Station", '.', false, 1},
        {"Elevation", '.', false, 2},
        {"1,5", '.', false, 2},
        {"12 5", '.', false, 3},
        {"  12 5", '.', false, 3},
        {"1e", '.', false, 3},
        {"1e+", '.', false, 4},
        {"-", '.', false, 2},
        {".", '.', false, 1},
        {"$10", '.', false, 1},
        {"1.5.2", '.', false, 4},
        {"1\t", '.', false, 2},
        {"\t1", '.', false, 1},
        {"0x1F", '.', false, 2},
        {"1e5x", '.', false, 4},
        {"inf", '.', false, 1},
        {"nan", '.', false, 1},
        // A comma as the decimal separator: the first comma is the point; a point reads too.
        {"1,5", ',', true, 1.5},
        {"1.5", ',', true, 1.5},
        {"-0,25e1", ',', true, -2.5},
        {"7,", ',', true, 7},
        {"1,234,5", ',', false, 6},
        {"1.5,2", ',', false, 4},
    };
    for (const auto& c : cases) {
        const FieldNumber result = FieldToReal(c.text, c.separator);
        EXPECT_EQ(result.ok, c.ok) << "'" << c.text << "' with " << c.separator;
        EXPECT_EQ(result.value, c.value) << "'" << c.text << "' with " << c.separator;
    }
}

TEST(FieldToReal, RoundsCorrectly) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"0.1", 0.1},
        {"2.675", 2.675},
        {"9007199254740993", 9007199254740992.0}, // tie goes to even
        {"9007199254740995", 9007199254740996.0},
        {"1.7976931348623157e308", std::numeric_limits<double>::max()},
        {"4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()},
        {"2.2250738585072014e-308", std::numeric_limits<double>::min()},
        {"123456789012345678901234567890", 123456789012345678901234567890.0},
    };
    for (const auto& c : cases) {
        const FieldNumber result = FieldToReal(c.text);
        EXPECT_TRUE(result.ok) << c.text;
        EXPECT_EQ(result.value, c.value) << c.text;
    }
}

TEST(FieldToReal, OverflowStopsAndUnderflowGoesToZero) {
    for (const char* text :
         {"1e400", "-1e400", "1.8e308", "1e99999999999999999999", "100000000000000000000e300"}) {
        try {
            FieldToReal(text);
            ADD_FAILURE() << text << " read without error";
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(), "Floating point overflow") << text;
        }
    }
    for (const char* text :
         {"1e-400", "-1e-400", "0.0000001e-320", "1e-99999999999999999999", "0e99999999999"}) {
        const FieldNumber result = FieldToReal(text);
        EXPECT_TRUE(result.ok) << text;
        EXPECT_EQ(result.value, 0.0) << text;
    }
    const FieldNumber subnormal = FieldToReal("1e-310");
    EXPECT_TRUE(subnormal.ok);
    EXPECT_EQ(subnormal.value, 1e-310);
    EXPECT_GT(subnormal.value, 0.0);
}

// Short numbers take a quicker route than long ones; both must give the correctly rounded double,
// which the standard library's conversion provides as the oracle.
TEST(FieldToReal, AgreesWithCorrectRoundingOnRandomDecimals) {
    std::mt19937_64 random(2024);
    for (int i = 0; i < 200000; ++i) {
        std::string text;
        const int intDigits = static_cast<int>(random() % 12);
        const int fracDigits = static_cast<int>(random() % 12);
        for (int k = 0; k < intDigits; ++k) {
            text.push_back(static_cast<char>('0' + random() % 10));
        }
        text.push_back('.');
        for (int k = 0; k < fracDigits; ++k) {
            text.push_back(static_cast<char>('0' + random() % 10));
        }
        if (intDigits + fracDigits == 0) {
            text.clear();
            text.push_back('0');
        }
        if (random() % 3 == 0) {
            text += std::string("e") + std::to_string(static_cast<int>(random() % 61) - 30);
        }
        double expected = 0.0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        const FieldNumber result = FieldToReal(text);
        ASSERT_TRUE(result.ok) << text;
        ASSERT_EQ(result.value, expected) << text;
    }
}

TEST(FieldToReal, LongFieldWithCommaSeparator) {
    const std::string text = std::string("1,") + std::string(300, '0') + "1";
    const FieldNumber result = FieldToReal(text, ',');
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.value, 1.0);
}

} // namespace
} // namespace korvadel
