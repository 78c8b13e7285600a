// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/CrossSectionFile.h"

#include "io/LineReader.h"
#include "io/PointReaders.h"
#include "model/CrossSectionDocument.h"
#include "tests/support/ReadTestSupport.h"
#include "tests/support/WriteTestSupport.h"

#include <gtest/gtest.h>

#include <limits>
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

const std::string kEmptyDocumentBytes = "//Korvadel\r\n"
                                        "//Station\t\r\n"
                                        "//GHMinimum\t0\r\n"
                                        "//GHMaximum\t1\r\n"
                                        "//GHIncrement\t0.01\r\n"
                                        "//GHDatum\t0.00\r\n"
                                        "Station\tElevation\r\n";

// Loads bytes as a file's content; returns the error message, empty when the load succeeded.
std::string load(const std::string& bytes, CrossSectionDocument& document,
                 NumberFormat format = {}) {
    LineReader reader = LineReader::overBytes(bytes);
    return errorOf([&] { loadCrossSection(reader, document, format); });
}

TEST(SaveCrossSection, NewDocumentGivesTheSevenHeaderLines) {
    testing::ScratchFolder folder;
    const std::string path = folder.file("new.kvd");
    CrossSectionDocument document;
    document.clearToNew();
    saveCrossSection(path, document);
    EXPECT_EQ(testing::readAll(path), kEmptyDocumentBytes);

    CrossSectionDocument loaded;
    fill(loaded.points, {{1, 1}});
    loaded.description = "old";
    loadCrossSection(path, loaded);
    EXPECT_EQ(loaded.description, "");
    EXPECT_EQ(loaded.settings.minimum, "0");
    EXPECT_EQ(loaded.settings.maximum, "1");
    EXPECT_EQ(loaded.settings.increment(), 0.01);
    EXPECT_EQ(loaded.settings.datum, "0.00");
    EXPECT_EQ(loaded.points.rowCount(), 0u);
}

TEST(SaveCrossSection, WritesSettingsAndPointsExactly) {
    testing::ScratchFolder folder;
    const std::string path = folder.file("section.kvd");
    CrossSectionDocument document;
    document.description = "Mill Creek \"at\" bridge";
    document.settings.minimum = "100.5";
    document.settings.maximum = "abc";
    document.settings.setIncrement(0.25);
    document.settings.datum = "98";
    fill(document.points, {{0, 5}, {10, 2.5}, {20, std::nullopt}, {1e-5, -1.5e20}});

    saveCrossSection(path, document);
    EXPECT_EQ(testing::readAll(path), "//Korvadel\r\n"
                                      "//Station\tMill Creek \"at\" bridge\r\n"
                                      "//GHMinimum\t100.5\r\n"
                                      "//GHMaximum\tabc\r\n"
                                      "//GHIncrement\t0.25\r\n"
                                      "//GHDatum\t98\r\n"
                                      "Station\tElevation\r\n"
                                      "0\t5\r\n"
                                      "1E-5\t-1.5E20\r\n"
                                      "10\t2.5\r\n"
                                      "20\t0\r\n");
    // The save walks the table to its end.
    EXPECT_TRUE(document.points.atEnd());
    EXPECT_EQ(document.points.currentIndex(), 3);

    saveCrossSection(path, document, NumberFormat{','});
    const std::string comma = testing::readAll(path);
    EXPECT_NE(comma.find("//GHIncrement\t0,25\r\n"), std::string::npos);
    EXPECT_NE(comma.find("10\t2,5\r\n"), std::string::npos);
}

TEST(SaveCrossSection, RoundTripKeepsWallsAndValues) {
    testing::ScratchFolder folder;
    const std::string path = folder.file("walls.kvd");
    for (const char separator : {'.', ','}) {
        CrossSectionDocument document;
        document.description = "Wall section";
        document.settings.setIncrement(0.1);
        const Rows rows = {{0, 10}, {0, 2}, {5, 1.0 / 3.0}, {10, 2}, {10, 10}};
        fill(document.points, rows);
        saveCrossSection(path, document, NumberFormat{separator});

        CrossSectionDocument loaded;
        loadCrossSection(path, loaded, NumberFormat{separator});
        EXPECT_EQ(loaded.description, "Wall section");
        EXPECT_EQ(loaded.settings.increment(), 0.1);
        const Rows back = rowsOf(loaded.points);
        ASSERT_EQ(back.size(), rows.size()) << separator;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(back[i].station, rows[i].station) << separator << i;
            // 15 significant digits are kept, as the file format gives them.
            EXPECT_NEAR(*back[i].elevation, *rows[i].elevation, 1e-14) << separator << i;
        }
    }
}

TEST(SaveCrossSection, TheLargestNumbersLoadBack) {
    // In 15 digits the largest doubles round up past the largest double ("1.79769313486232E308"
    // would not read back); such points are written with more digits, all others as before.
    testing::ScratchFolder folder;
    const std::string path = folder.file("huge.kvd");
    const double largest = std::numeric_limits<double>::max();
    const double belowRounding = 1.79769313486231e308;
    const Rows rows = {{-largest, largest}, {0, -belowRounding}, {belowRounding, 1}, {largest, 2}};
    for (const char separator : {'.', ','}) {
        CrossSectionDocument document;
        fill(document.points, rows);
        saveCrossSection(path, document, NumberFormat{separator});
        const std::string bytes = testing::readAll(path);
        EXPECT_NE(bytes.find("1" + std::string(1, separator) + "79769313486231E308\t1\r\n"),
                  std::string::npos)
            << bytes;

        CrossSectionDocument loaded;
        EXPECT_EQ(errorOf([&] { loadCrossSection(path, loaded, NumberFormat{separator}); }), "");
        EXPECT_EQ(rowsOf(loaded.points), rows) << separator;
    }
}

TEST(SaveCrossSection, PendingRowWithoutStationFailsBeforeTheFileIsTouched) {
    testing::ScratchFolder folder;
    const std::string path = folder.file("kept.kvd");
    testing::writeAllTo(path, "old content");
    CrossSectionDocument document;
    fill(document.points, {{0, 1}});
    document.points.appendPending();
    document.points.setElevation(4.0);
    EXPECT_EQ(errorOf([&] { saveCrossSection(path, document); }),
              "Field 'Station' must have a value");
    EXPECT_EQ(testing::readAll(path), "old content");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"kept.kvd"});
}

TEST(SaveCrossSection, ReadOnlyTargetGivesThePlainFileErrorAndStaysIntact) {
    testing::ScratchFolder folder;
    const std::string path = folder.file("locked.kvd");
    testing::writeAllTo(path, "old content");
    ::chmod(path.c_str(), 0444);
    testing::AsOrdinaryUser user;
    if (!user.enforced()) {
        GTEST_SKIP() << "permissions are not enforced for this user";
    }
    CrossSectionDocument document;
    document.clearToNew();
    EXPECT_EQ(errorOf([&] { saveCrossSection(path, document); }), "File access denied");
    EXPECT_EQ(testing::readAll(path), "old content");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"locked.kvd"});
}

struct LoadCase {
    const char* name;
    std::string bytes;
    std::string error;
    std::string description;
    std::string minimum;
    std::string maximum;
    double increment;
    std::string datum;
    Rows rows;
};

std::string header(const std::string& description, const std::string& increment = "0.5") {
    return std::string("//Korvadel\r\n//Station\t") + description +
           "\r\n//GHMinimum\t1\r\n//GHMaximum\t9\r\n//GHIncrement\t" + increment +
           "\r\n//GHDatum\t100\r\nStation\tElevation\r\n";
}

TEST(LoadCrossSection, ReadsHeaderAndPointsAsTheFileGivesThem) {
    const std::string longDescription(300, 'd');
    const LoadCase cases[] = {
        {"points out of order are sorted",
         header("S") + "20\t5\r\n0\t5\r\n10\t2.5\r\n",
         "",
         "S",
         "1",
         "9",
         0.5,
         "100",
         {{0, 5}, {10, 2.5}, {20, 5}}},
        {"equal stations keep the file order",
         header("S") + "0\t10\r\n0\t2\r\n10\t2\r\n10\t10\r\n",
         "",
         "S",
         "1",
         "9",
         0.5,
         "100",
         {{0, 10}, {0, 2}, {10, 2}, {10, 10}}},
        {"marker padded with blanks",
         "  //Korvadel \t\r\n//Station\tX\r\n",
         "'' is not a valid floating point value",
         "X",
         "",
         "",
         0.01,
         "0.00",
         {}},
        {"only the marker",
         "//Korvadel\r\n",
         "'' is not a valid floating point value",
         "",
         "",
         "",
         0.01,
         "0.00",
         {}},
        {"increment clamped high", header("S", "5"), "", "S", "1", "9", 1.0, "100", {}},
        {"increment clamped low", header("S", "0"), "", "S", "1", "9", 0.01, "100", {}},
        {"increment unreadable",
         header("S", "x") + "1\t2\r\n",
         "'x' is not a valid floating point value",
         "S",
         "1",
         "9",
         0.01,
         "0.00",
         {}},
        {"description between quotes",
         header("\"Main St\""),
         "",
         "Main St",
         "1",
         "9",
         0.5,
         "100",
         {}},
        {"description with a leading quote only",
         header("\"Main St"),
         "",
         "Main St",
         "1",
         "9",
         0.5,
         "100",
         {}},
        {"description with three quotes",
         header("\"a\"b\""),
         "",
         "\"a\"b\"",
         "1",
         "9",
         0.5,
         "100",
         {}},
        {"long description is cut",
         header(longDescription),
         "",
         longDescription.substr(0, 245),
         "1",
         "9",
         0.5,
         "100",
         {}},
        {"other keys are read by position",
         "//Korvadel\r\na\tD\r\nb\t2\r\nc\t3\r\nd\t0.2\r\ne\t7\r\nanything\r\n1\t2\r\n",
         "",
         "D",
         "2",
         "3",
         0.2,
         "7",
         {{1, 2}}},
        {"LF line ends and no final break",
         "//Korvadel\n//Station\tS\nk\t1\nk\t2\nk\t0.5\nk\t3\nh\n4\t5",
         "",
         "S",
         "1",
         "2",
         0.5,
         "3",
         {{4, 5}}},
        {"line with one field",
         header("S") + "1\t2\r\n3\r\n4\t5\r\n",
         "List index out of bounds (1)",
         "S",
         "1",
         "9",
         0.5,
         "100",
         {{1, 2}}},
        {"blank line",
         header("S") + "3\t2\r\n1\t2\r\n\r\n4\t5\r\n",
         "List index out of bounds (0)",
         "S",
         "1",
         "9",
         0.5,
         "100",
         {{1, 2}, {3, 2}}},
        {"text in a point field",
         header("S") + "3\t2\r\n1\t2\r\nStation\tElevation\r\n",
         "Line 10: 'Station' is not a valid floating point value",
         "S",
         "1",
         "9",
         0.5,
         "100",
         {{1, 2}, {3, 2}}},
        {"text in the elevation",
         header("S") + "1\t2x\r\n",
         "Line 8: '2x' is not a valid floating point value",
         "S",
         "1",
         "9",
         0.5,
         "100",
         {}},
        {"too few fields before text",
         header("S") + "abc\r\n",
         "List index out of bounds (1)",
         "S",
         "1",
         "9",
         0.5,
         "100",
         {}},
        {"overflow",
         header("S") + "1\t2\r\n1e400\tabc\r\n",
         "Floating point overflow",
         "S",
         "1",
         "9",
         0.5,
         "100",
         {{1, 2}}},
        {"underflow reads zero",
         header("S") + "1e-400\t2\r\n",
         "",
         "S",
         "1",
         "9",
         0.5,
         "100",
         {{0, 2}}},
        {"code 26 ends the file",
         header("S") + "1\t2\r\n\x1a"
                       "garbage\r\n",
         "",
         "S",
         "1",
         "9",
         0.5,
         "100",
         {{1, 2}}},
        {"byte-order mark before the marker",
         "\xEF\xBB\xBF" + header("S") + "1\t2\r\n",
         "",
         "S",
         "1",
         "9",
         0.5,
         "100",
         {{1, 2}}},
        {"carriage returns alone end the lines",
         withCarriageReturnsOnly(header("S") + "3\t2\r\n1\t2\r\n"),
         "",
         "S",
         "1",
         "9",
         0.5,
         "100",
         {{1, 2}, {3, 2}}},
    };
    for (const auto& c : cases) {
        CrossSectionDocument document;
        fill(document.points, {{99, 99}});
        document.settings.datum = std::string(1, '5');
        const std::string error = load(c.bytes, document);
        EXPECT_EQ(error, c.error) << c.name;
        EXPECT_EQ(document.description, c.description) << c.name;
        EXPECT_EQ(document.settings.minimum, c.minimum) << c.name;
        EXPECT_EQ(document.settings.maximum, c.maximum) << c.name;
        EXPECT_EQ(document.settings.increment(), c.increment) << c.name;
        EXPECT_EQ(document.settings.datum, c.datum) << c.name;
        EXPECT_EQ(rowsOf(document.points), c.rows) << c.name;
        EXPECT_EQ(document.points.suspendCount(), 0) << c.name;
    }
}

TEST(LoadCrossSection, DecimalCommaSystem) {
    CrossSectionDocument document;
    EXPECT_EQ(load(header("S", "0,25") + "1,5\t2,5\r\n3.5\t4\r\n", document, NumberFormat{','}),
              "");
    EXPECT_EQ(document.settings.increment(), 0.25);
    EXPECT_EQ(rowsOf(document.points), (Rows{{1.5, 2.5}, {3.5, 4}}));
    // The increment goes through the standard conversion, which knows only the system separator.
    EXPECT_EQ(load(header("S", "0.25"), document, NumberFormat{','}),
              "'0.25' is not a valid floating point value");
}

TEST(LoadCrossSection, PlainTableText) {
    const std::string kNoSection = noCrossSectionMessage("");
    const LoadCase cases[] = {
        {"columns by name, case ignored",
         "elevation\tSTATION\n2\t10\n3\t5\n",
         "",
         "",
         "0",
         "1",
         0.01,
         "0.00",
         {{5, 3}, {10, 2}}},
        {"ignored and RecId columns, empty values",
         "RecId\tStation\tNote\tElevation\r\n7\t1\tx\t\r\n8\t0\t\t4\r",
         "",
         "",
         "0",
         "1",
         0.01,
         "0.00",
         {{0, 4}, {1, std::nullopt}}},
        {"lone CR ends lines, equal stations in file order",
         "Station\tElevation\r1\t5\r1\t3\r0\t0",
         "",
         "",
         "0",
         "1",
         0.01,
         "0.00",
         {{0, 0}, {1, 5}, {1, 3}}},
        {"values with blanks around",
         "Station\tElevation\n  2 \t 1.5\n",
         "",
         "",
         "0",
         "1",
         0.01,
         "0.00",
         {{2, 1.5}}},
        {"row of three values",
         "Station\tElevation\n1\t2\n3\t4\t5\n",
         "List index out of bounds (2)",
         "",
         "0",
         "1",
         0.01,
         "0.00",
         {{1, 2}}},
        {"row ending in two TABs",
         "Station\tElevation\n1\t2\t\t\n",
         "List index out of bounds (2)",
         "",
         "0",
         "1",
         0.01,
         "0.00",
         {}},
        {"value that does not convert",
         "Station\tElevation\n1\t2\n3\tx\n",
         "'x' is not a valid floating point value for field 'Elevation'",
         "",
         "0",
         "1",
         0.01,
         "0.00",
         {{1, 2}}},
        {"row without a station",
         "Station\tElevation\n5\t2\n\t4\n7\tx\n",
         "Field 'Station' must have a value",
         "",
         "0",
         "1",
         0.01,
         "0.00",
         {{5, 2}}},
        {"code 0 ends the text",
         std::string("Station\n4\n\0"
                     "5\n",
                     13),
         "",
         "",
         "0",
         "1",
         0.01,
         "0.00",
         {{4, std::nullopt}}},
        // Neither the marker nor a heading that names a Station column: no section, nothing
        // changed (a load of such a file used to empty the document without a word).
        {"lower-case marker is not the marker",
         "//korvadel\n",
         kNoSection,
         "before",
         "-3",
         "1",
         0.01,
         "0.00",
         {{99, 99}}},
        {"binary file, code 0 before any line end",
         std::string("\x7f"
                     "ELF\x02\x01\x01\0\0\x03\0>\0\n\tStation",
                     22),
         kNoSection,
         "before",
         "-3",
         "1",
         0.01,
         "0.00",
         {{99, 99}}},
        {"binary file with line ends",
         "\x89PNG\r\n\x1a\n\x0d\tIHDR\n\x01\x02",
         kNoSection,
         "before",
         "-3",
         "1",
         0.01,
         "0.00",
         {{99, 99}}},
        {"a line end alone", "\n", kNoSection, "before", "-3", "1", 0.01, "0.00", {{99, 99}}},
        {"empty file", "", "", "", "0", "1", 0.01, "0.00", {}},
        {"header only", "Station\tElevation\r\n", "", "", "0", "1", 0.01, "0.00", {}},
        {"byte-order mark before the column names",
         "\xEF\xBB\xBFStation\tElevation\n1\t2\n",
         "",
         "",
         "0",
         "1",
         0.01,
         "0.00",
         {{1, 2}}},
    };
    for (const auto& c : cases) {
        CrossSectionDocument document;
        document.description = "before";
        document.settings.minimum = "-3";
        fill(document.points, {{99, 99}});
        EXPECT_EQ(load(c.bytes, document), c.error) << c.name;
        EXPECT_EQ(document.description, c.description) << c.name;
        EXPECT_EQ(document.settings.minimum, c.minimum) << c.name;
        EXPECT_EQ(document.settings.increment(), c.increment) << c.name;
        EXPECT_EQ(rowsOf(document.points), c.rows) << c.name;
        EXPECT_EQ(document.points.suspendCount(), 0) << c.name;
    }
}

TEST(LoadCrossSection, FileThatCannotBeOpenedChangesNothing) {
    testing::ScratchFolder folder;
    CrossSectionDocument document;
    document.description = "keep";
    document.settings.datum = "12";
    fill(document.points, {{1, 2}});
    for (const std::string& path : {folder.file("missing.kvd"), folder.path().string()}) {
        try {
            loadCrossSection(path, document);
            FAIL() << "loaded " << path;
        } catch (const UnableToAccessFile& error) {
            EXPECT_STREQ(error.what(),
                         "Unable to access file!\rFile may already be open in\ranother program "
                         "(Excel).");
        }
    }
    EXPECT_EQ(document.description, "keep");
    EXPECT_EQ(document.settings.datum, "12");
    EXPECT_EQ(rowsOf(document.points), (Rows{{1, 2}}));
}

TEST(LoadCrossSection, ViewsHearOnceAndAreResumedAfterAnError) {
    CrossSectionDocument document;
    testing::ChangeCounter changes(document.points);
    EXPECT_EQ(load(header("S") + "1\t2\r\n3\t4\r\n", document), "");
    EXPECT_EQ(changes.count, 1);
    changes.count = 0;
    EXPECT_NE(load(header("S") + "1\t2\r\nx\r\n", document), "");
    EXPECT_EQ(changes.count, 1);
    EXPECT_EQ(document.points.suspendCount(), 0);
}

TEST(LoadCrossSection, ExampleFileLoads) {
    CrossSectionDocument document;
    loadCrossSection(std::string(KORVADEL_EXAMPLES) + "/mill-creek.kvd", document);
    EXPECT_EQ(document.description, "Mill Creek below the county bridge (survey 2024-06-11)");
    EXPECT_EQ(document.points.rowCount(), 33u); // every point line of the file
    const Rows rows = rowsOf(document.points);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        EXPECT_LE(rows[i - 1].station, rows[i].station);
    }
}

} // namespace
} // namespace korvadel
