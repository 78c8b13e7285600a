// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/RatingExport.h"

#include "io/TableExport.h"
#include "model/Error.h"
#include "model/Numbers.h"
#include "model/RatingTable.h"
#include "tests/support/WriteTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <limits>
#include <random>
#include <utility>
#include <vector>

namespace korvadel {
namespace {

using testing::readAll;
using testing::ScratchFolder;
using testing::writeAllTo;

RatingTable ratingOf(std::initializer_list<std::pair<double, double>> rows) {
    RatingTable rating;
    for (const auto& [stage, area] : rows)
        rating.appendRow(stage, area);
    return rating;
}

std::string bytes(std::initializer_list<int> values) {
    std::string result;
    for (int value : values)
        result.push_back(static_cast<char>(value));
    return result;
}

const std::string kBof =
    bytes({0x09, 0x08, 0x08, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x00, 0x00});
const std::string kEof = bytes({0x0A, 0x00, 0x00, 0x00});

std::string dimensions(int rows) {
    return bytes({0x00, 0x02, 0x0A, 0x00, 0x00, 0x00, rows & 0xFF, rows >> 8, 0x00, 0x00, 0x02,
                  0x00, 0x00, 0x00});
}

TEST(RatingExport, EmptyRating) {
    const RatingTable empty;
    EXPECT_EQ(ratingCsvBytes(empty), "\r\n");
    EXPECT_EQ(ratingHtmlBytes(empty), "<table border=\"1\">\r\n\r\n</table>");
    const std::string xls = ratingXlsBytes(empty);
    EXPECT_EQ(xls, kBof + dimensions(0) + kEof);
    EXPECT_EQ(xls.size(), 30u);
}

TEST(RatingExport, TwoRows) {
    const RatingTable rating = ratingOf({{10, 0}, {10.1, 0.523}});
    EXPECT_EQ(ratingCsvBytes(rating), "10,0\r\n10.1,0.523\r\n\r\n");
    EXPECT_EQ(ratingHtmlBytes(rating), "<table border=\"1\">\r\n"
                                       "<tr><td>10</td><td>0</td></tr>\r\n"
                                       "<tr><td>10.1</td><td>0.523</td></tr>\r\n"
                                       "\r\n</table>");
    const std::string numbers =
        bytes({0x03, 0x00, 0x0F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, // row 0, col 0
               0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x24, 0x40,                   // 10
               0x03, 0x00, 0x0F, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, // row 0, col 1
               0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,                   // 0
               0x03, 0x00, 0x0F, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, // row 1, col 0
               0x33, 0x33, 0x33, 0x33, 0x33, 0x33, 0x24, 0x40,                   // 10.1
               0x03, 0x00, 0x0F, 0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, // row 1, col 1
               0x23, 0xDB, 0xF9, 0x7E, 0x6A, 0xBC, 0xE0, 0x3F});                 // 0.523
    EXPECT_EQ(ratingXlsBytes(rating), kBof + dimensions(2) + numbers + kEof);
}

// The agency rating file, byte for byte: its header lines with the description (a quote in it
// turned into an apostrophe, a TAB into a blank) and the datum, the column names and formats,
// one row per gage height, LF line ends.
TEST(RatingExport, AgencyRatingFile) {
    const RatingTable rating = ratingOf({{10, 0}, {10.1, 0.523}});
    EXPECT_EQ(ratingRdbBytes(rating, {"Mill \"Creek\"\tbelow the bridge", 98.25}),
              "# //FILE TYPE=\"NWIS RATING\"\n"
              "# //STATION NAME=\"Mill 'Creek' below the bridge\"\n"
              "# //RATING TYPE=\"STAR\" NAME=\"stage-area\"\n"
              "# //RATING_INDEP PARAMETER=\"Gage height\"\n"
              "# //RATING_DEP PARAMETER=\"Cross-sectional area\"\n"
              "# //GAGE DATUM=\"98.25\"\n"
              "INDEP\tDEP\n"
              "16N\t16N\n"
              "10\t0\n"
              "10.1\t0.523\n");
}

TEST(RatingExport, NegativeZeroIsWrittenAsZero) {
    const RatingTable rating = ratingOf({{-0.0, -0.0}});
    EXPECT_EQ(ratingCsvBytes(rating), "0,0\r\n\r\n");
    EXPECT_EQ(ratingHtmlBytes(rating), "<table border=\"1\">\r\n"
                                       "<tr><td>0</td><td>0</td></tr>\r\n"
                                       "\r\n</table>");
    const std::string cell = bytes({0x03, 0x00, 0x0F, 0x00, 0x00, 0x00});
    const std::string zero(3 + 8, '\0'); // attributes, then the bits of +0
    EXPECT_EQ(ratingXlsBytes(rating), kBof + dimensions(1) + cell + bytes({0x00, 0x00}) + zero +
                                          cell + bytes({0x01, 0x00}) + zero + kEof);
}

TEST(RatingExport, CommaDecimalSeparatorKeepsTheCommaDelimiter) {
    const RatingTable rating = ratingOf({{10.5, 0.25}, {11, 3}});
    const NumberFormat comma{','};
    EXPECT_EQ(ratingCsvBytes(rating, comma), "10,5,0,25\r\n11,3\r\n\r\n");
    EXPECT_EQ(ratingHtmlBytes(rating, comma), "<table border=\"1\">\r\n"
                                              "<tr><td>10,5</td><td>0,25</td></tr>\r\n"
                                              "<tr><td>11</td><td>3</td></tr>\r\n"
                                              "\r\n</table>");
}

TEST(RatingExport, NumbersInTheGeneralFormat) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {0.3, "0.3"},
        {-2.25, "-2.25"},
        {0.5, "0.5"},
        {100, "100"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {0.1 + 0.2, "0.3"},
        {1.0000000000000007, "1"},
        {9.9999999999999995, "10"},
        {999999999999999.9, "1E15"},
        {123456789012345, "123456789012345"},
        {1e15, "1E15"},
        {1234567890123456, "1.23456789012346E15"},
        {1.5e20, "1.5E20"},
        {0.0001, "0.0001"},
        {0.00012345, "0.00012345"},
        {0.00009999999999999999, "0.0001"},
        {0.00001, "1E-5"},
        {-1.5e-7, "-1.5E-7"},
        {1e-300, "1E-300"},
        {5e-324, "4.94065645841247E-324"},
        {std::numeric_limits<double>::max(), "1.79769313486232E308"},
        {-0.0, "0"},
        {std::numeric_limits<double>::infinity(), "INF"},
        {-std::numeric_limits<double>::infinity(), "-INF"},
        {std::nan(""), "NAN"},
    };
    for (const auto& c : cases) {
        const RatingTable rating = ratingOf({{c.value, 0}});
        EXPECT_EQ(ratingCsvBytes(rating), std::string(c.text) + ",0\r\n\r\n") << c.text;
    }
}

// The exports format numbers without going through strings; they must still agree with the
// program's general number format everywhere, whatever the magnitude or the separator.
// Rows of every length, so that many of them straddle the boundaries of the output chunks.
TEST(RatingExport, RowsOfAnyLengthAcrossOutputChunks) {
    std::mt19937_64 random(20240611);
    RatingTable rating;
    for (int i = 0; i < 30000; ++i) {
        double value = 0;
        switch (i % 3) {
        case 0: { // any finite double
            do
                value = std::bit_cast<double>(random());
            while (!std::isfinite(value));
            break;
        }
        case 1: // decimal fractions like surveyed and computed values
            value = static_cast<double>(random() % 100000000) /
                    std::pow(10.0, static_cast<double>(random() % 12));
            break;
        default:
            value = std::uniform_real_distribution<double>(-1e6, 1e6)(random);
        }
        rating.appendRow(value, -value);
    }
    for (const NumberFormat format : {NumberFormat{'.'}, NumberFormat{','}}) {
        std::string expected;
        for (std::size_t row = 0; row < rating.rowCount(); ++row)
            expected += formatGeneral(rating.stageAt(row), format) + "," +
                        formatGeneral(rating.areaAt(row), format) + "\r\n";
        expected += "\r\n";
        EXPECT_EQ(ratingCsvBytes(rating, format), expected);
    }
    // The agency file's rows carry the comma-delimited export's digits, always with a point.
    const std::string rdb = ratingRdbBytes(rating, {"", 0});
    std::string rows = rdb.substr(rdb.find("16N\t16N\n") + 8);
    std::replace(rows.begin(), rows.end(), '\t', ',');
    std::string csv = ratingCsvBytes(rating);
    csv.erase(std::remove(csv.begin(), csv.end(), '\r'), csv.end());
    EXPECT_EQ(rows + "\n", csv);
}

TEST(RatingExport, FilesHoldExactlyTheExportBytesAndReplaceLongerFiles) {
    ScratchFolder folder;
    RatingTable rating;
    // Enough rows to pass through several output blocks.
    for (int i = 0; i < 60000; ++i)
        rating.appendRow(i * 0.01, i * 0.125);
    struct Export {
        const char* name;
        void (*write)(const std::string&, const RatingTable&);
        std::string expected;
    };
    const Export exports[] = {
        {"r.csv", [](const std::string& p, const RatingTable& r) { exportRatingCsv(p, r); },
         ratingCsvBytes(rating)},
        {"r.html", [](const std::string& p, const RatingTable& r) { exportRatingHtml(p, r); },
         ratingHtmlBytes(rating)},
        {"r.xls", [](const std::string& p, const RatingTable& r) { exportRatingXls(p, r); },
         ratingXlsBytes(rating)},
        {"r.rdb",
         [](const std::string& p, const RatingTable& r) {
             exportRatingRdb(p, r, {std::string(300000, 'x'), 1});
         },
         ratingRdbBytes(rating, {std::string(300000, 'x'), 1})},
    };
    for (const auto& e : exports) {
        const std::string path = folder.file(e.name);
        writeAllTo(path, std::string(e.expected.size() + 1000, '#'));
        e.write(path, rating);
        EXPECT_EQ(readAll(path), e.expected) << e.name;
    }
    EXPECT_EQ(ratingXlsBytes(rating).size(), 30u + 38u * 60000u);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"r.csv", "r.html", "r.rdb", "r.xls"}));
}

TEST(RatingExport, FileThatCannotBeCreated) {
    ScratchFolder folder;
    const std::string path = folder.file("missing/rating.csv");
    const RatingTable rating = ratingOf({{1, 2}});
    try {
        exportRatingHtml(path, rating);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(),
                     ("Cannot create file \"" + path + "\". No such file or directory").c_str());
    }
}

TEST(RatingExport, WorksheetRefusesMoreThan65535RowsBeforeCreatingTheFile) {
    ScratchFolder folder;
    RatingTable rating;
    for (int i = 0; i < 65535; ++i)
        rating.appendRow(i, i);
    const std::string fits = folder.file("fits.xls");
    exportRatingXls(fits, rating);
    const std::string written = readAll(fits);
    ASSERT_EQ(written.size(), 30u + 38u * 65535u);
    EXPECT_EQ(written.substr(12, 14), dimensions(65535));
    // The last NUMBER record addresses row 65534, column 1.
    EXPECT_EQ(written.substr(written.size() - 4 - 38 + 19, 8),
              bytes({0x03, 0x00, 0x0F, 0x00, 0xFE, 0xFF, 0x01, 0x00}));

    rating.appendRow(65535, 65535);
    const std::string refused = folder.file("refused.xls");
    const std::string existing = folder.file("existing.xls");
    writeAllTo(existing, "old");
    for (const auto& path : {refused, existing}) {
        try {
            exportRatingXls(path, rating);
            FAIL() << "no error";
        } catch (const Error& error) {
            EXPECT_STREQ(error.what(),
                         "The rating has 65536 rows; a worksheet holds at most 65535");
        }
    }
    EXPECT_THROW(ratingXlsBytes(rating), Error);
    EXPECT_FALSE(std::filesystem::exists(refused));
    EXPECT_EQ(readAll(existing), "old");
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"existing.xls", "fits.xls"}));
}

// A table with a heading, texts and empty cells goes through the same three writers.
constexpr std::string_view kHeading[] = {"name", "v", "use"};

TEST(TableExport, HeadingTextsAndEmptyCells) {
    class Table : public TableSource {
    public:
        std::span<const std::string_view> heading() const override { return kHeading; }
        std::size_t rowCount() const override { return 2; }
        std::size_t columnCount() const override { return 3; }
        void cells(std::size_t row, std::span<TableCell> cells) const override {
            cells[0] = TableCell::of(row == 0 ? "a, \"b\" <c>" : "&");
            cells[1] = TableCell::of(0.5 + static_cast<double>(row));
            if (row == 0)
                cells[2] = TableCell::of(std::string_view("x"));
        }
    };
    const Table table;
    EXPECT_EQ(tableBytes(OutputFormat::CommaDelimited, table, NumberFormat{','}),
              "name,v,use\r\n\"a, \"\"b\"\" <c>\",0,5,x\r\n&,1,5,\r\n\r\n");
    EXPECT_EQ(tableBytes(OutputFormat::Html, table),
              "<table border=\"1\">\r\n<tr><th>name</th><th>v</th><th>use</th></tr>\r\n"
              "<tr><td>a, &quot;b&quot; &lt;c&gt;</td><td>0.5</td><td>x</td></tr>\r\n"
              "<tr><td>&amp;</td><td>1.5</td><td></td></tr>\r\n\r\n</table>");
    const auto label = [](int row, int column, const std::string& text) {
        return bytes({0x04, 0x00, 8 + static_cast<int>(text.size()), 0x00, row, 0x00, column, 0x00,
                      0x00, 0x00, 0x00, static_cast<int>(text.size())}) +
               text;
    };
    const auto number = [](int row, int column, double value) {
        std::string bits(8, '\0');
        std::memcpy(bits.data(), &value, 8);
        return bytes({0x03, 0x00, 0x0F, 0x00, row, 0x00, column, 0x00, 0x00, 0x00, 0x00}) + bits;
    };
    EXPECT_EQ(tableBytes(OutputFormat::Excel, table),
              kBof +
                  bytes({0x00, 0x02, 0x0A, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x03, 0x00,
                         0x00, 0x00}) +
                  label(0, 0, "name") + label(0, 1, "v") + label(0, 2, "use") +
                  label(1, 0, "a, \"b\" <c>") + number(1, 1, 0.5) + label(1, 2, "x") +
                  label(2, 0, "&") + number(2, 1, 1.5) + kEof);
    // The formats that write any table, and only they.
    EXPECT_EQ(anyTableFormatNames(), "csv, html or xls");
    EXPECT_EQ(anyTableFormatNamed("xls"), &outputFormat(OutputFormat::Excel));
    EXPECT_EQ(anyTableFormatNamed("rdb"), nullptr);
    EXPECT_THROW(tableBytes(OutputFormat::Rdb, table), Error);
}

} // namespace
} // namespace korvadel
