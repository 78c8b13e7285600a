// SPDX-License-Identifier: GPL-3.0-or-later
// HEC-RAS geometry files: cross sections read by column, other blocks passed over, malformed
// blocks named, a section chosen by name; and the file names made from river stations.

#include "io/FileNames.h"
#include "io/HecRasGeometry.h"
#include "io/LineReader.h"
#include "model/CrossSectionDocument.h"
#include "tests/support/ReadTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace korvadel {
namespace {

using testing::errorOf;

HecRasGeometry geometryOf(const std::string& text) {
    LineReader reader = LineReader::overBytes(text);
    return readHecRasGeometry(reader, "g.g01");
}

std::string node(const std::string& station, int type = 1) {
    return "Type RM Length L Ch R = " + std::to_string(type) + " ," + station + "    ,10,10,10\n";
}

// A cross section of two points, (0, 10) and (5, 0).
std::string section(const std::string& station) {
    return node(station) + "#Sta/Elev= 2 \n       0      10       5       0\n";
}

std::vector<std::string> pathsOf(const HecRasGeometry& geometry) {
    std::vector<std::string> paths;
    for (const HecRasCrossSection& s : geometry.sections)
        paths.push_back(s.path());
    return paths;
}

// What the sections command's golden list does not show: the numbers and n values read.
TEST(HecRasGeometry, ExampleFileListsItsCrossSections) {
    const HecRasGeometry geometry =
        readHecRasGeometry(std::string(KORVADEL_EXAMPLES) + "/willow-fork.g01");
    EXPECT_EQ(geometry.title, "Willow Fork and Alder Creek (made-up geometry)");
    EXPECT_TRUE(geometry.problems.empty());
    // The bridge at 2075 and the inline weir at 1650 are not cross sections.
    EXPECT_EQ(pathsOf(geometry),
              (std::vector<std::string>{"Willow Fork/Upper/2150", "Willow Fork/Upper/2100*",
                                        "Willow Fork/Upper/2050", "Willow Fork/Lower/1800",
                                        "Willow Fork/Lower/1500", "Alder Creek/Main/320"}));
    const HecRasCrossSection& full = geometry.sections[2];
    EXPECT_EQ(full.stations.size(), 500u);
    EXPECT_EQ(full.stations.back(), 249.5);
    EXPECT_TRUE(std::is_sorted(full.stations.begin(), full.stations.end()));
    // Every pair of full fields runs together: 10012.251237.70510018.361236.687...
    const HecRasCrossSection& wide = geometry.sections[3];
    EXPECT_EQ(wide.description(), "Willow Fork Lower 1800");
    EXPECT_EQ(std::vector<double>(wide.stations.begin(), wide.stations.begin() + 2),
              (std::vector<double>{10012.25, 10018.36}));
    EXPECT_EQ(std::vector<double>(wide.elevations.begin(), wide.elevations.begin() + 2),
              (std::vector<double>{1237.705, 1236.687}));
    EXPECT_EQ(wide.subsections().boundaries,
              (std::vector<double>{10048.25, 10090.25, 10136.25, 10160.25}));
    EXPECT_EQ(wide.subsections().roughness, (std::vector<double>{0.08, 0.045, 0.03, 0.045, 0.08}));
    EXPECT_TRUE(geometry.sections[5].subsections().boundaries.empty()); // one n only
}

TEST(HecRasGeometry, NumbersAreCutByColumnNeverAtBlanks) {
    struct Case {
        const char* line;
        std::vector<double> values;
    };
    const Case cases[] = {
        {"   -12.5-1003.25", {-12.5, -1003.25}},
        {"12345.671234.567", {12345.67, 1234.567}},
        {"      .5     -.5", {0.5, -0.5}},
        {"     100    1E-2", {100, 0.01}},
        {"       0       0", {0, 0}},
    };
    for (const Case& c : cases) {
        const HecRasGeometry geometry = geometryOf(node("1") + "#Sta/Elev= 1 \n" + c.line + "  \n");
        ASSERT_EQ(geometry.sections.size(), 1u) << c.line;
        EXPECT_EQ(geometry.sections[0].stations, std::vector<double>{c.values[0]}) << c.line;
        EXPECT_EQ(geometry.sections[0].elevations, std::vector<double>{c.values[1]}) << c.line;
    }
    // Ten fields a line for the points, nine (three triplets) for the n values.
    const auto field = [](int value) {
        const std::string digits = std::to_string(value);
        return std::string(8 - digits.size(), ' ') + digits;
    };
    std::string text = node("1") + "#Sta/Elev= 6 \n";
    for (int i = 0; i < 12; ++i)
        text += (i == 10 ? "\n" : "") + field(i);
    text += "\n#Mann= 4 , -1 , 0\n";
    // The first two n begin at one station (an overbank of no width), as HEC-RAS writes it.
    const int nStations[] = {0, 0, 4, 6};
    for (int i = 0; i < 4; ++i)
        text += std::string(i == 3 ? "\n" : "") + field(nStations[i]) + "     .0" +
                std::to_string(i + 1) + "       0";
    text += "\nBank Sta=2, 8\n";
    const HecRasGeometry geometry = geometryOf(text);
    ASSERT_EQ(geometry.sections.size(), 1u) << text;
    EXPECT_EQ(geometry.sections[0].stations, (std::vector<double>{0, 2, 4, 6, 8, 10}));
    EXPECT_EQ(geometry.sections[0].elevations, (std::vector<double>{1, 3, 5, 7, 9, 11}));
    EXPECT_EQ(geometry.sections[0].roughnessStations, (std::vector<double>{0, 0, 4, 6}));
    EXPECT_EQ(geometry.sections[0].subsections().boundaries, (std::vector<double>{0, 4, 6}));
    EXPECT_EQ(geometry.sections[0].roughness, (std::vector<double>{0.01, 0.02, 0.03, 0.04}));
    EXPECT_EQ(geometry.sections[0].rightBank, 8.0);
}

TEST(HecRasGeometry, OtherBlocksAndKeywordsArePassedOver) {
    const HecRasGeometry geometry = geometryOf(
        "Geom Title=Test\nRiver Reach=Big River       ,Upper           \n"
        "Reach XY= 2 \n           100.5           200.5           300.5           400.5\n" +
        section("9.5") + "BEGIN DESC:\nType RM Length L Ch R = 1 ,99\n#Sta/Elev= 9 \nEND DESC:\n" +
        "XS GIS Cut Line=2\n           1.25            2.5           3.75              5\n" +
        node("9", 3) + "#Sta/Elev= 2 \n       0      10       5       0\n" + node("8", 5) +
        "Unknown Keyword=1,2\n" + section("7*") +
        "Junct Name=J1\n#Sta/Elev= 1 \n       1       1\n" +
        "River Reach=Big River       ,Lower\n" + section("6"));
    EXPECT_TRUE(geometry.problems.empty());
    EXPECT_EQ(pathsOf(geometry),
              (std::vector<std::string>{"Big River/Upper/9.5", "Big River/Upper/7*",
                                        "Big River/Lower/6"}));
    EXPECT_EQ(geometry.sections[1].line, 19);
}

// A block that cannot be read is named with the file, the line and the river station; the
// sections before and after it list all the same.
TEST(HecRasGeometry, MalformedBlocksAreNamedAndTheOthersStillList) {
    struct Case {
        std::string block; // follows a good section at 10 (lines 1 to 3), from line 4 on
        std::string message;
        bool followed = true; // by a good section at 5
    };
    const std::string at7 = node("7");
    const std::string tenFields =
        "       0      10       1       9       2       8       3       7       4       6";
    const Case cases[] = {
        {at7 + "#Sta/Elev= x \n", "line 5, river station 7: #Sta/Elev= needs a count of values, "
                                  "not 'x'"},
        {at7 + "#Sta/Elev= -2 \n", "line 5, river station 7: #Sta/Elev= needs a count of "
                                   "values, not '-2'"},
        {at7 + "#Sta/Elev= 6 \n" + tenFields + "\nBank Sta=0,5\n",
         "line 7, river station 7: only 10 of 12 numbers before this line"},
        {at7 + "#Sta/Elev= 3 \n       0      10       5       0\n",
         "line 6, river station 7: column 33: a number is missing"},
        {at7 + "#Sta/Elev= 2 \n       0   1.2.3       5       0\n",
         "line 6, river station 7: column 9: '   1.2.3' is not a number"},
        {at7 + "#Sta/Elev= 2 \n       0      10               5\n",
         "line 6, river station 7: column 17: a number is missing"},
        {at7 + "#Sta/Elev= 1 \n   1e999       0\n",
         "line 6, river station 7: column 1: '   1e999' is not a number"},
        {at7 + "#Sta/Elev= 1 \n       1       0\n#Sta/Elev= 1 \n       1       0\n",
         "line 7, river station 7: a second #Sta/Elev= in one cross section"},
        {at7 + "Bank Sta=12\n", "line 5, river station 7: Bank Sta= needs two numbers, not '12'"},
        {at7 + "#Mann= 2 , 0 , 0\n       5     .04       0       0     .05       0\n",
         "line 6, river station 7: the #Mann= stations fall (0 after 5)"},
        {at7 + "#Mann= 1 , 0 , 0\n       0       0       0\n",
         "line 6, river station 7: Manning's n 0 is not above 0"},
        {"Type RM Length L Ch R = 1 ,        ,1,1,1\n",
         "line 4, river station (none): the cross section has no river station"},
        {"Type RM Length L Ch R = X ,7,1,1,1\n",
         "line 4, river station 7: the node type 'X' is not a number"},
        {at7 + "#Sta/Elev= 6 \n" + tenFields + "\n",
         "line 6, river station 7: the file ends after 10 of 12 numbers", false},
    };
    for (const Case& c : cases) {
        const HecRasGeometry geometry =
            geometryOf(section("10") + c.block + (c.followed ? section("5") : ""));
        EXPECT_EQ(pathsOf(geometry), c.followed ? (std::vector<std::string>{"//10", "//5"})
                                                : (std::vector<std::string>{"//10"}))
            << c.message;
        ASSERT_EQ(geometry.problems.size(), 1u) << c.message;
        EXPECT_EQ(geometry.problems[0].message, "g.g01, " + c.message);
    }
}

TEST(HecRasGeometry, ChoosingASection) {
    const HecRasGeometry geometry =
        geometryOf("River Reach=R1,Up\n" + section("10") + section("5.5*") + node("7") +
                   "#Sta/Elev= z\nRiver Reach=R1,Down\n" + section("10"));
    struct Case {
        const char* choice;
        std::string chosen; // its path, or the message
    };
    const Case cases[] = {
        {"5.5*", "R1/Up/5.5*"},
        {" R1/Down/10 ", "R1/Down/10"},
        {"10", "g.g01 has river station 10 in 2 places (R1/Up/10, R1/Down/10); name it as "
               "RIVER/REACH/RS"},
        {"5.5", "g.g01 has no cross section 5.5"},
        {"R1/Up/11", "g.g01 has no cross section R1/Up/11"},
        {"7", "g.g01, line 9, river station 7: #Sta/Elev= needs a count of values, not 'z'"},
        {"", "g.g01 holds 4 cross sections; choose one as RIVER/REACH/RS or by its river "
             "station"},
    };
    for (const Case& c : cases) {
        std::string chosen;
        const std::string error =
            errorOf([&] { chosen = chooseHecRasSection(geometry, c.choice, "g.g01").path(); });
        EXPECT_EQ(error.empty() ? chosen : error, c.chosen) << c.choice;
    }
    EXPECT_EQ(chooseHecRasSection(geometryOf(section("3")), "", "g.g01").riverStation, "3");
    EXPECT_EQ(errorOf([] { chooseHecRasSection(geometryOf("Geom Title=x\n"), "", "g.g01"); }),
              "g.g01 holds no cross sections");
}

// A section of more points than HEC-RAS takes is read whole, with a note; its points go into
// the table in station order and its name becomes the description.
TEST(HecRasGeometry, LoadedSectionBringsItsNameNValuesAndNotes) {
    std::string text = "River Reach=Creek,Main\n" + node("42") + "#Sta/Elev= 501 \n";
    for (int i = 0; i < 501; ++i) {
        const std::string station = std::to_string(i == 0 ? 600 : i);
        text +=
            std::string(8 - station.size(), ' ') + station + "       1" + (i % 5 == 4 ? "\n" : "");
    }
    text += "\n#Mann= 2 , -1 , 0\n       1     .05       0     300     .03       0\n";
    const HecRasGeometry geometry = geometryOf(text);
    ASSERT_EQ(geometry.sections.size(), 1u);
    CrossSectionDocument document;
    document.settings.datum = "3";
    const ReadSummary summary = loadHecRasSection(geometry.sections[0], document);
    EXPECT_EQ(document.description, "Creek Main 42");
    EXPECT_EQ(document.settings.datum, "3");
    ASSERT_EQ(document.points.rowCount(), 501u);
    EXPECT_EQ(document.points.stationAt(0), 1.0);
    EXPECT_EQ(document.points.stationAt(500), 600.0);
    EXPECT_EQ(summary.unsortedStations, 1u);
    EXPECT_EQ(summary.notes,
              std::vector<std::string>{
                  "Creek Main 42 has 501 points; HEC-RAS itself takes at most 500."});
    ASSERT_TRUE(summary.roughness);
    EXPECT_EQ(summary.roughness->boundaries, std::vector<double>{300});
    EXPECT_EQ(summary.roughness->roughness, (std::vector<double>{0.05, 0.03}));
    EXPECT_FALSE(summary.leftBank);
}

TEST(FileNames, RiverStationsMakeNamesThatStayInTheirFolder) {
    struct Case {
        std::string text;
        std::string name;
    };
    const Case cases[] = {
        {"2150", "2150"},
        {"2100*", "2100_"},
        {"../etc/passwd", ".._etc_passwd"},
        {"..", "__"},
        {".", "_"},
        {"", "_"},
        {"a\\b:c<d>e|f?\"g", "a_b_c_d_e_f__g"},
        {"12.5. ", "12.5__"},
        {"x\ty\x01", "x_y_"},
        {"con", "_con"},
        {"LPT1.5", "_LPT1.5"},
        {"COM10", "COM10"},
        {"Console", "Console"},
        {std::string(200, '9'), std::string(200, '9')},
        {std::string(201, '9'), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(safeFileName(c.text), c.name) << c.text;

    const std::vector<std::string> stations = {"5.99*", "5.99?", "7", "A", "a", "8", "8/"};
    const std::vector<MadeFileName> names = distinctFileNames(stations, ".csv");
    const std::vector<std::vector<std::size_t>> shared = {{1}, {0}, {}, {4}, {3}, {}, {}};
    ASSERT_EQ(names.size(), stations.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(names[i].sharedWith, shared[i]) << stations[i];
        EXPECT_EQ(names[i].usable(), shared[i].empty()) << stations[i];
    }
    EXPECT_EQ(names[0].name, "5.99_.csv");
    EXPECT_EQ(names[6].name, "8_.csv");
}

} // namespace
} // namespace korvadel
