// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/PointImport.h"

#include "io/CrossSectionFile.h"
#include "io/LineReader.h"
#include "io/PointReaders.h"
#include "io/SurveyPoints.h"
#include "model/CrossSectionDocument.h"
#include "tests/support/ReadTestSupport.h"
#include "tests/support/WriteTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <random>
#include <string>
#include <vector>

namespace korvadel {
namespace {

using testing::errorOf;
using testing::fill;
using testing::Row;
using testing::rowsOf;
using testing::withCarriageReturnsOnly;
using Rows = std::vector<Row>;

struct ImportCase {
    const char* name;
    std::string bytes;
    std::string error;
    Rows rows;
    NumberFormat format = {};
};

TEST(ImportCommaDelimited, ReadsStationAndElevationOfEveryLine) {
    const ImportCase cases[] = {
        {"three lines", "0,10\r\n5,2\r\n10,10\r\n", "", {{0, 10}, {5, 2}, {10, 10}}},
        {"out of order", "10,10\n0,10\n5,2", "", {{0, 10}, {5, 2}, {10, 10}}},
        {"equal stations keep the file order",
         "0,10\n0,2\n10,2\n10,10\n",
         "",
         {{0, 10}, {0, 2}, {10, 2}, {10, 10}}},
        {"further fields ignored", "1,2,3\n", "", {{1, 2}}},
        {"blanks around values", " 1 , 2 \n", "", {{1, 2}}},
        {"quoted values", "\"1.5\",\"2.5\"\n", "", {{1.5, 2.5}}},
        {"decimal commas split", "1,5,2,5\n", "", {{1, 5}}},
        {"heading line skipped", "Station,Elevation\n4,3\n", "", {{4, 3}}},
        {"quoted heading skipped", "\"Station\",\"Elevation\",\"Code\"\n4,3\n", "", {{4, 3}}},
        {"empty file", "", "", {}},
        {"underflow reads zero", "1e-400,2", "", {{0, 2}}},
        {"value followed by TAB",
         "1\t,2\n",
         "Line 1: '1\t' is not a valid floating point value",
         {}},
        {"heading needs both fields to be text",
         "Station,5\n1,2\n",
         "Line 1: 'Station' is not a valid floating point value",
         {}},
        {"heading only on the first line",
         "1,2\nStation,Elevation\n3,4\n",
         "Line 2: 'Station' is not a valid floating point value",
         {{1, 2}}},
        {"text in the elevation",
         "1,2\n3,4\n5,4x\n",
         "Line 3: '4x' is not a valid floating point value",
         {{1, 2}, {3, 4}}},
        {"semicolons", "1;2\n", "List index out of bounds (1)", {}},
        {"single text field", "Station\n", "List index out of bounds (1)", {}},
        {"extra blank line at the end",
         "3,1\n1,2\n\n",
         "List index out of bounds (0)",
         {{1, 2}, {3, 1}}},
        {"line of commas", "1,2\n,,,\n", "List index out of bounds (0)", {{1, 2}}},
        {"overflow before the text check", "1,2\n1e400,abc\n", "Floating point overflow", {{1, 2}}},
        {"decimal comma system, quoted",
         "\"1,5\",\"2,5\"\n3.5,4\n",
         "",
         {{1.5, 2.5}, {3.5, 4}},
         NumberFormat{','}},
        {"byte-order mark",
         "\xEF\xBB\xBF"
         "1,2\r\n3,4\r\n",
         "",
         {{1, 2}, {3, 4}}},
        {"carriage returns alone end the lines",
         "Station,Elevation\r0,10\r5,2\r10,10\r",
         "",
         {{0, 10}, {5, 2}, {10, 10}}},
        {"no line feed before code 26", "1,2\r3,4\x1a\n5,6\n", "", {{1, 2}, {3, 4}}},
        {"a lone carriage return beside line feeds is dropped", "1,2\r3\n", "", {{1, 23}}},
        {"long line cut at 255",
         std::string("1,") + std::string(300, '2') + "\n",
         "",
         {{1, 2.2222222222222222e252}}},
    };
    for (const auto& c : cases) {
        PointTable points;
        fill(points, {{99, 99}});
        LineReader reader = LineReader::overBytes(c.bytes);
        EXPECT_EQ(errorOf([&] { importCommaDelimited(reader, points, c.format); }), c.error)
            << c.name;
        EXPECT_EQ(rowsOf(points), c.rows) << c.name;
        EXPECT_EQ(points.suspendCount(), 0) << c.name;
    }
}

TEST(ImportCommaDelimited, FileThatCannotBeOpenedChangesNothing) {
    testing::ScratchFolder folder;
    PointTable points;
    fill(points, {{1, 2}});
    EXPECT_EQ(errorOf([&] { importCommaDelimited(folder.file("missing.csv"), points); }),
              "Unable to access file!\rFile may already be open in\ranother program (Excel).");
    EXPECT_THROW(importCommaDelimited(folder.file("missing.csv"), points), UnableToAccessFile);
    EXPECT_EQ(rowsOf(points), (Rows{{1, 2}}));
}

TEST(ImportCommaDelimited, LeavesDescriptionAndSettingsAlone) {
    CrossSectionDocument document;
    document.description = "Site";
    document.settings.datum = "3";
    importCommaDelimited(std::string(KORVADEL_EXAMPLES) + "/bear-river.csv", document.points);
    EXPECT_EQ(document.description, "Site");
    EXPECT_EQ(document.settings.datum, "3");
    EXPECT_GT(document.points.rowCount(), 30u);
    EXPECT_EQ(document.points.currentIndex(), 0);
}

// Files long enough for the readers to size their lists from the first rows, whose later rows
// are longer or shorter than those: stations wandering back (many equal), read whole or up to
// a bad value part-way. The table holds the rows read, sorted stably by station.
TEST(ImportCommaDelimited, LongFilesGiveTheStableSortOfTheRowsRead) {
    testing::ScratchFolder folder;
    std::mt19937 random(11);
    std::uniform_int_distribution<int> back(0, 6);
    std::vector<Row> file;
    for (int i = 0; i < 20000; ++i) {
        file.push_back({(i - back(random)) * 0.25, static_cast<double>(i)});
    }
    const auto text = [&](const char* separator, std::size_t badRow) {
        std::string bytes;
        for (std::size_t i = 0; i < file.size(); ++i) {
            const std::string padding(i < 6000 ? 0 : i < 12000 ? 40 : 2, ' ');
            bytes += i == badRow ? std::string("x")
                                 : padding + std::to_string(file[i].station) + padding;
            bytes += separator + std::to_string(*file[i].elevation) + "\r\n";
        }
        return bytes;
    };
    const std::string kvdHeader = "//Korvadel\r\n//Station\tX\r\n//GHMinimum\t0\r\n"
                                  "//GHMaximum\t1\r\n//GHIncrement\t0.5\r\n//GHDatum\t0\r\n"
                                  "Station\tElevation\r\n";
    for (const std::size_t badRow : {std::size_t{15000}, file.size()}) {
        std::vector<Row> expected(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(
                                                                   std::min(badRow, file.size())));
        std::stable_sort(expected.begin(), expected.end(),
                         [](const Row& a, const Row& b) { return a.station < b.station; });
        const std::string error =
            badRow < file.size() ? "Line 15001: 'x' is not a valid floating point value" : "";
        SCOPED_TRACE(badRow);

        const std::string csv = folder.file("points.csv");
        testing::writeAllTo(csv, text(",", badRow));
        PointTable points;
        EXPECT_EQ(errorOf([&] { importCommaDelimited(csv, points); }), error);
        EXPECT_EQ(rowsOf(points), expected);

        const std::string kvd = folder.file("section.kvd");
        testing::writeAllTo(kvd, kvdHeader + text("\t", badRow));
        CrossSectionDocument document;
        EXPECT_EQ(errorOf([&] { loadCrossSection(kvd, document); }),
                  badRow < file.size() ? "Line 15008: 'x' is not a valid floating point value"
                                       : "");
        EXPECT_EQ(rowsOf(document.points), expected);
    }
}

// One ensemble of the ADCP layout with the given depths (fields 8 to 11 of its line 2), distance
// made good (field 4 of line 3) and bin-count line followed by `bins` bin lines.
std::string ensemble(const std::array<std::string, 4>& depths, const std::string& distance,
                     const std::string& countLine = "2 cm BT dB", int bins = 2) {
    std::string text = " 24  6 11 10 14  1 59     1\r\n";
    text += "  -0.8  0.4  0.0  0.0  0.0  0.0  0.0  0.0";
    for (const auto& depth : depths) {
        text += std::string("  ") + depth;
    }
    text += std::string("\r\n     0.34      1.01      0.10      0.32      ") + distance + "\r\n";
    text += std::string("  46.5 -116.9\r\n  0.193   0.018\r\n") + countLine + "\r\n";
    for (int b = 0; b < bins; ++b) {
        text += "  0.45  31.2  18.0 -32768\r\n";
    }
    return text;
}

const std::string kAdcpHeader = "header 1\r\nheader 2\r\nheader 3\r\n";

TEST(ImportWinRiver, OnePointPerEnsemble) {
    const ImportCase cases[] = {
        {"mean of four depths",
         kAdcpHeader + ensemble({"2.0", "2.2", "2.4", "2.6"}, "15.5"),
         "",
         {{15.5, -2.3}}},
        {"points sorted, equal distances in file order",
         kAdcpHeader + ensemble({"3", "3", "3", "3"}, "20") + ensemble({"1", "1", "1", "1"}, "10") +
             ensemble({"2", "2", "2", "2"}, "10"),
         "",
         {{10, -1}, {10, -2}, {20, -3}}},
        {"no valid depth gives no point",
         kAdcpHeader + ensemble({"-32768", "-32768", "-32768", "-32768"}, "1") +
             ensemble({"1", "1", "1", "1"}, "2"),
         "",
         {{2, -1}}},
        {"a bad beam is left out of the mean",
         kAdcpHeader + ensemble({"2", "2", "2", "-32768"}, "1") +
             ensemble({"-32768.0", "1", "-32768", "4"}, "2"),
         "",
         {{1, -2}, {2, -2.5}}},
        {"depths of zero or below are left out of the mean too",
         kAdcpHeader + ensemble({"0.00", "2", "3", "-1.5"}, "1") +
             ensemble({"0", "-0.0", "-26000", "0.00"}, "2") + ensemble({"1", "1", "1", "1"}, "3"),
         "",
         {{1, -2.5}, {3, -1}}},
        {"carriage returns alone end the lines",
         withCarriageReturnsOnly(kAdcpHeader + ensemble({"1", "1", "1", "1"}, "10") +
                                 ensemble({"2", "2", "2", "2"}, "20")),
         "",
         {{10, -1}, {20, -2}}},
        {"bin count after leading blanks",
         kAdcpHeader + ensemble({"1", "1", "1", "1"}, "1", " \t 3 a", 3) +
             ensemble({"2", "2", "2", "2"}, "2"),
         "",
         {{1, -1}, {2, -2}}},
        {"zero and negative bin counts skip nothing",
         kAdcpHeader + ensemble({"1", "1", "1", "1"}, "1", "0 a", 0) +
             ensemble({"2", "2", "2", "2"}, "2", "-5 a", 0) + ensemble({"3", "3", "3", "3"}, "3"),
         "",
         {{1, -1}, {2, -2}, {3, -3}}},
        {"hexadecimal bin count",
         kAdcpHeader + ensemble({"1", "1", "1", "1"}, "1", "$A x", 10),
         "",
         {{1, -1}}},
        {"bin count without a space",
         kAdcpHeader + ensemble({"1", "1", "1", "1"}, "1", "30", 0),
         "'' is not a valid integer value",
         {}},
        {"bin count with a trailing blank only",
         kAdcpHeader + ensemble({"1", "1", "1", "1"}, "1", "30 ", 0),
         "'' is not a valid integer value",
         {}},
        {"bin count that is not a number",
         kAdcpHeader + ensemble({"1", "1", "1", "1"}, "1") +
             ensemble({"2", "2", "2", "2"}, "2", "many bins", 0),
         "'many' is not a valid integer value",
         {{1, -1}}},
        {"bins running past the end",
         kAdcpHeader + ensemble({"1", "1", "1", "1"}, "1", "2147483647 a", 3),
         "",
         {{1, -1}}},
        {"blank line after the last ensemble",
         kAdcpHeader + ensemble({"1", "1", "1", "1"}, "1") + "\r\n",
         "List index out of bounds (8)",
         {{1, -1}}},
        {"file ends inside an ensemble",
         kAdcpHeader + " 24  6 11\r\n",
         "List index out of bounds (8)",
         {}},
        {"depth line with eleven fields",
         kAdcpHeader + "e\r\n0 1 2 3 4 5 6 7 8 9 10\r\n",
         "List index out of bounds (11)",
         {}},
        {"distance line with no field",
         kAdcpHeader + "e\r\n0 1 2 3 4 5 6 7 8 9 10 11\r\n\r\n",
         "List index out of bounds (0)",
         {}},
        {"distance line with four fields",
         kAdcpHeader + "e\r\n0 1 2 3 4 5 6 7 8 9 10 11\r\n0 1 2 3\r\n",
         "List index out of bounds (4)",
         {}},
        {"text depth stops before line 3 is read",
         kAdcpHeader + ensemble({"1", "1", "1", "1"}, "1") + "e\r\n0 1 2 3 4 5 6 7 8 9 x 11\r\n",
         "Line 13: 'x' is not a valid floating point value",
         {{1, -1}}},
        {"text distance",
         kAdcpHeader + ensemble({"1", "1", "1", "1"}, "DMG"),
         "Line 6: 'DMG' is not a valid floating point value",
         {}},
        {"unused fields of line 3 may hold text",
         kAdcpHeader + "e\r\n0 1 2 3 4 5 6 7 1 1 1 1\r\nx y z w 7.5\r\n4\r\n5\r\n0 a\r\n",
         "",
         {{7.5, -1}}},
        {"overflow in an unused field of line 3",
         kAdcpHeader + "e\r\n0 1 2 3 4 5 6 7 1 1 1 1\r\nx y 1e400 w 7.5\r\n",
         "Floating point overflow",
         {}},
        {"empty file", "", "", {}},
        {"header only", kAdcpHeader, "", {}},
        {"decimal comma system reads points too",
         kAdcpHeader + ensemble({"2,0", "2.2", "2,4", "2.6"}, "15,5"),
         "",
         {{15.5, -2.3}},
         NumberFormat{','}},
    };
    for (const auto& c : cases) {
        PointTable points;
        fill(points, {{99, 99}});
        LineReader reader = LineReader::overBytes(c.bytes);
        EXPECT_EQ(errorOf([&] { importWinRiver(reader, points, c.format); }), c.error) << c.name;
        EXPECT_EQ(rowsOf(points), c.rows) << c.name;
        EXPECT_EQ(points.suspendCount(), 0) << c.name;
    }
}

TEST(ImportWinRiver, MissingFileIsAFileErrorAndChangesNothing) {
    testing::ScratchFolder folder;
    PointTable points;
    fill(points, {{1, 2}});
    EXPECT_EQ(errorOf([&] { importWinRiver(folder.file("nothing_000t.000"), points); }),
              "File not found");
    EXPECT_EQ(rowsOf(points), (Rows{{1, 2}}));
}

TEST(ImportWinRiver, ExampleTransect) {
    PointTable points;
    importWinRiver(std::string(KORVADEL_EXAMPLES) + "/clearwater_000t.000", points);
    // 320 ensembles, one of them without any valid depth.
    EXPECT_EQ(points.rowCount(), 319u);
    for (std::size_t i = 0; i < points.rowCount(); ++i) {
        EXPECT_LT(points.elevationAt(i), 0.0) << i;
        EXPECT_GT(points.elevationAt(i), -10.0) << i;
        if (i > 0) {
            EXPECT_LE(points.stationAt(i - 1), points.stationAt(i));
        }
    }
}

// Every reader counts, in file order, the stations less than the one listed before them.
TEST(ReadSummary, CountsTheStationsListedOutOfOrder) {
    enum class Reader { CrossSection, CommaDelimited, WinRiver };
    const std::string kvd = "//Korvadel\r\n//Station\t\r\n//GHMinimum\t0\r\n//GHMaximum\t1\r\n"
                            "//GHIncrement\t0.01\r\n//GHDatum\t0\r\nStation\tElevation\r\n";
    const auto adcp = [](std::initializer_list<const char*> distances) {
        std::string text = kAdcpHeader;
        for (const char* distance : distances)
            text += ensemble({"1", "1", "1", "1"}, distance);
        return text;
    };
    struct Case {
        const char* name;
        Reader reader;
        std::string bytes;
        std::size_t unsorted;
    };
    const Case cases[] = {
        {"ascending, equal stations side by side", Reader::CommaDelimited, "0,1\n5,2\n5,3\n9,1\n",
         0},
        {"right to left", Reader::CommaDelimited, "9,1\n5,2\n2,3\n0,1\n", 3},
        {"one point too far right", Reader::CommaDelimited, "0,1\n2,1\n8,1\n4,1\n6,1\n", 1},
        {"one point too far left", Reader::CommaDelimited, "0,1\n2,1\n1,1\n4,1\n", 1},
        {"right half first", Reader::CommaDelimited, "5,1\n6,1\n7,1\n1,1\n2,1\n", 1},
        {"zigzag", Reader::CommaDelimited, "1,1\n0,1\n3,1\n2,1\n5,1\n4,1\n", 3},
        {"heading line and one point", Reader::CommaDelimited, "Station,Elevation\n4,1\n", 0},
        {"cross-section file", Reader::CrossSection, kvd + "10\t1\r\n0\t1\r\n5\t0\r\n", 1},
        {"plain table", Reader::CrossSection, "Elevation\tStation\n1\t3\n1\t2\n1\t1\n", 2},
        {"ensembles", Reader::WinRiver, adcp({"10", "20", "15", "30", "25"}), 2},
    };
    for (const Case& c : cases) {
        CrossSectionDocument document;
        LineReader reader = LineReader::overBytes(c.bytes);
        ReadSummary summary;
        switch (c.reader) {
        case Reader::CrossSection:
            summary = loadCrossSection(reader, document);
            break;
        case Reader::CommaDelimited:
            summary = importCommaDelimited(reader, document.points);
            break;
        case Reader::WinRiver:
            summary = importWinRiver(reader, document.points);
            break;
        }
        EXPECT_EQ(summary.unsortedStations, c.unsorted) << c.name;
        const auto stations = document.points.stations();
        EXPECT_TRUE(std::is_sorted(stations.begin(), stations.end())) << c.name;
    }
}

TEST(ImportSurveyedPoints, ReadsTheColumnsTheHeadingNames) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string error;
        std::vector<SurveyPoint> points;
        NumberFormat format = {};
    };
    const Case cases[] = {
        {"short names in any case and order",
         "Z,Point,N,E\r\n101.5,LP,200,100\r\n99,A,201,103\r\n",
         "",
         {{"LP", 100, 200, 101.5}, {"A", 103, 201, 99}}},
        {"long names, other columns passed over",
         "Name,Code,Easting,Northing,Elevation\nP1,pin,1.5,2.5,3.5\n",
         "",
         {{"P1", 1.5, 2.5, 3.5}}},
        {"x, y and h", " point , x , y , h \n A 1 , 1,2,3\n", "", {{"A 1", 1, 2, 3}}},
        {"quoted decimal commas",
         "\"Point\",\"E\",\"N\",\"Z\"\nP1,\"1,5\",\"2,5\",\"3,5\"\n",
         "",
         {{"P1", 1.5, 2.5, 3.5}},
         NumberFormat{','}},
        {"blank lines skipped",
         "\nname,x,y,z\n\nA,1,2,3\n  \nB,4,5,6\n",
         "",
         {{"A", 1, 2, 3}, {"B", 4, 5, 6}}},
        {"an empty name is a name", "name,x,y,z\n,1,2,3\n", "", {{"", 1, 2, 3}}},
        {"empty file", "", "", {}},
        {"no elevation column",
         "name,x,y\nA,1,2\n",
         "Line 1: the heading names no elevation column (elevation, z, h)",
         {}},
        {"no name column",
         "x,y,z\n1,2,3\n",
         "Line 1: the heading names no name column (name, point)",
         {}},
        {"numbers where the heading should be",
         "1,2,3,4\n",
         "Line 1: the heading names no name column (name, point)",
         {}},
        {"two easting columns", "name,x,Easting,y,z\n", "Line 1: two columns give the easting", {}},
        {"text in a coordinate",
         "name,x,y,z\nA,1,north,3\n",
         "Line 2: 'north' is not a valid floating point value",
         {}},
        {"empty elevation", "name,x,y,z\nA,1,2,\n", "Line 2: the elevation is empty", {}},
        {"short line", "name,x,y,z\nA,1,2\n", "Line 2 has no elevation", {}},
    };
    for (const Case& c : cases) {
        LineReader reader = LineReader::overBytes(c.bytes);
        std::vector<SurveyPoint> points;
        EXPECT_EQ(errorOf([&] { points = readSurveyPoints(reader, c.format); }), c.error) << c.name;
        ASSERT_EQ(points.size(), c.points.size()) << c.name;
        for (std::size_t i = 0; i < points.size(); ++i) {
            EXPECT_EQ(points[i].name, c.points[i].name) << c.name;
            EXPECT_EQ(points[i].easting, c.points[i].easting) << c.name;
            EXPECT_EQ(points[i].northing, c.points[i].northing) << c.name;
            EXPECT_EQ(points[i].elevation, c.points[i].elevation) << c.name;
        }
    }
}

// The example survey's stations and warnings are the command line's golden file; here, a read
// that fails leaves the document as it was.
TEST(ImportSurveyedPoints, FailureChangesNothing) {
    const std::string path = std::string(KORVADEL_EXAMPLES) + "/willow-fork-survey.csv";
    CrossSectionDocument document;
    fill(document.points, {{1, 2}});
    document.description = "Site";
    SurveyLine line;
    line.rightPin = "RP2";
    EXPECT_EQ(errorOf([&] { importSurveyedPoints(path, line, document); }),
              "No point is named 'RP2' (the right pin)");
    EXPECT_EQ(rowsOf(document.points), (Rows{{1, 2}}));
    EXPECT_EQ(document.description, "Site");
}

} // namespace
} // namespace korvadel
