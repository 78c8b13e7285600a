// SPDX-License-Identifier: GPL-3.0-or-later
// End-to-end tests of korvadel-cli: the program is run as a user would run it, and its exit
// status, standard output, standard error and files are checked.

#include "tests/support/CliRun.h"
#include "tests/support/WriteTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

namespace korvadel {
namespace {

using testing::CliRun;
using testing::readAll;
using testing::runCli;
using testing::ScratchFolder;
using testing::writeAllTo;

// The trapezoid (0,10) (2,0) (8,0) (10,10): a 6-wide bed with banks rising 5 per unit across,
// so the area below gage height h is 6h + 0.2h^2.
const std::string kSectionKvd = "//Korvadel\r\n"
                                "//Station\tTest reach\r\n"
                                "//GHMinimum\t0\r\n"
                                "//GHMaximum\t5\r\n"
                                "//GHIncrement\t1\r\n"
                                "//GHDatum\t0.00\r\n"
                                "Station\tElevation\r\n"
                                "0\t10\r\n"
                                "2\t0\r\n"
                                "8\t0\r\n"
                                "10\t10\r\n";
const std::string kSectionCsv = "10,10\r\n0,10\r\n2,0\r\n8,0\r\n";
const std::string kTrapezoidRating = "0,0\r\n1,6.2\r\n2,12.8\r\n3,19.8\r\n4,27.2\r\n5,35\r\n\r\n";
const std::string kEdgeWarning = "Warning! Maximum gage height exceeds edge elevation. Korvadel "
                                 "assumes a vertical wall at edges where this condition occurs.\n";

class Cli : public ::testing::Test {
protected:
    void SetUp() override {
        writeAllTo(folder.file("section.kvd"), kSectionKvd);
        writeAllTo(folder.file("section.csv"), kSectionCsv);
    }
    ScratchFolder folder;
};

TEST_F(Cli, RatingFromTheFilesSettingsToStandardOutput) {
    const CliRun run = runCli(folder, {"rating", "section.kvd"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, kTrapezoidRating);
    EXPECT_EQ(run.err, "");
}

TEST_F(Cli, OptionsOverrideTheSettingsAndTheEdgeWarningIsOneLine) {
    const CliRun run = runCli(folder, {"rating", "section.kvd", "--max", "12", "--min=11"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "11,90\r\n12,100\r\n\r\n");
    EXPECT_EQ(run.err, kEdgeWarning);
}

TEST_F(Cli, ImportedPointsStartFromTheDefaultSettings) {
    // Defaults: 0 to 1 by 0.01 gives the stages 0.00 to 0.99.
    const CliRun defaults = runCli(folder, {"rating", "section.csv"});
    EXPECT_EQ(defaults.status, 0);
    EXPECT_EQ(defaults.out.substr(0, 17), "0,0\r\n0.01,0.06\r\n0");
    EXPECT_NE(defaults.out.find("\r\n0.99,"), std::string::npos);
    EXPECT_EQ(defaults.out.find("\r\n1,"), std::string::npos);

    const CliRun run =
        runCli(folder, {"rating", "section.txt", "--from", "csv", "--increment", "0.5"});
    EXPECT_EQ(run.status, 1); // section.txt does not exist
    writeAllTo(folder.file("section.txt"), kSectionCsv);
    const CliRun fromCsv =
        runCli(folder, {"rating", "section.txt", "--from", "csv", "--increment", "0.5"});
    EXPECT_EQ(fromCsv.status, 0);
    EXPECT_EQ(fromCsv.out, "0,0\r\n0.5,3.05\r\n1,6.2\r\n\r\n");
}

TEST_F(Cli, IncrementIsClampedLikeTheSettingAndSaysSo) {
    const CliRun high = runCli(folder, {"rating", "section.kvd", "--max", "3", "--increment", "5"});
    EXPECT_EQ(high.status, 0);
    EXPECT_EQ(high.out, "0,0\r\n1,6.2\r\n2,12.8\r\n3,19.8\r\n\r\n");
    EXPECT_EQ(high.err, "increment 5 lowered to 1, the largest allowed\n");
    const CliRun low =
        runCli(folder, {"rating", "section.kvd", "--max", "0.02", "--increment", "0.005"});
    EXPECT_EQ(low.status, 0);
    EXPECT_EQ(low.out, "0,0\r\n0.01,0.06\r\n0.02,0.12\r\n\r\n");
    EXPECT_EQ(low.err, "increment 0.005 raised to 0.01, the smallest allowed\n");
    const CliRun inside = runCli(folder, {"rating", "section.kvd", "--increment", "1"});
    EXPECT_EQ(inside.err, "");
}

TEST_F(Cli, BoundsPromptUsesTheDatumButDoesNotRound) {
    // Raised by 100: both computations turn elevations into gage heights with the datum.
    writeAllTo(folder.file("high.csv"), "0,110\r\n2,100\r\n8,100\r\n10,110\r\n");
    const std::vector<std::string> common{"rating", "high.csv", "--datum", "100",         "--min",
                                          "0.125",  "--max",    "0.375",   "--increment", "0.25"};
    const CliRun main = runCli(folder, common);
    EXPECT_EQ(main.status, 0);
    EXPECT_EQ(main.out, "0.12,0.753\r\n0.38,2.278\r\n\r\n");
    auto prompt = common;
    prompt.push_back("--bounds-prompt");
    const CliRun bounds = runCli(folder, prompt);
    EXPECT_EQ(bounds.status, 0);
    EXPECT_EQ(bounds.out, "0.125,0.753125\r\n0.375,2.278125\r\n\r\n");
    EXPECT_EQ(bounds.err, "");
}

TEST_F(Cli, ExportsToFiles) {
    const CliRun csv = runCli(folder, {"rating", "section.kvd", "-o", "r.csv"});
    const CliRun html =
        runCli(folder, {"rating", "section.kvd", "--to", "html", "--output=r.html"});
    const CliRun xls = runCli(folder, {"rating", "section.kvd", "--to", "xls", "-or.xls"});
    for (const CliRun* run : {&csv, &html, &xls}) {
        EXPECT_EQ(run->status, 0) << run->err;
        EXPECT_EQ(run->out, "");
    }
    EXPECT_EQ(readAll(folder.file("r.csv")), kTrapezoidRating);
    EXPECT_EQ(readAll(folder.file("r.html")), "<table border=\"1\">\r\n"
                                              "<tr><td>0</td><td>0</td></tr>\r\n"
                                              "<tr><td>1</td><td>6.2</td></tr>\r\n"
                                              "<tr><td>2</td><td>12.8</td></tr>\r\n"
                                              "<tr><td>3</td><td>19.8</td></tr>\r\n"
                                              "<tr><td>4</td><td>27.2</td></tr>\r\n"
                                              "<tr><td>5</td><td>35</td></tr>\r\n"
                                              "\r\n</table>");
    const std::string sheet = readAll(folder.file("r.xls"));
    EXPECT_EQ(sheet.size(), 30u + 38u * 6u);
}

TEST_F(Cli, DecimalSeparatorOptionAndLocale) {
    // The file's datum "0.00" does not read with a decimal comma, so it is given again.
    const CliRun unreadable = runCli(folder, {"rating", "section.kvd", "--decimal-separator", ","});
    EXPECT_EQ(unreadable.status, 1);
    EXPECT_EQ(unreadable.err, "korvadel-cli: '0.00' is not a valid floating point value.\n");
    const CliRun option =
        runCli(folder, {"rating", "section.kvd", "--decimal-separator", ",", "--datum", "0,00"});
    EXPECT_EQ(option.status, 0) << option.err;
    EXPECT_EQ(option.out, "0,0\r\n1,6,2\r\n2,12,8\r\n3,19,8\r\n4,27,2\r\n5,35\r\n\r\n");

    // A locale with a decimal comma, compiled into the scratch folder when the system can.
    const std::string locales = folder.file("locales");
    std::filesystem::create_directory(locales);
    const std::string build =
        "localedef -i de_DE -f UTF-8 '" + locales + "/de_DE.UTF-8' >/dev/null 2>&1";
    if (std::system(build.c_str()) != 0)
        GTEST_SKIP() << "cannot build a German locale here";
    const CliRun german = runCli(folder, {"area", "section.kvd", "--level", "2,5"},
                                 {"LOCPATH=" + locales, "LC_ALL=de_DE.UTF-8"});
    EXPECT_EQ(german.status, 0) << german.err;
    EXPECT_EQ(german.out, "16,25\n");
    const CliRun overridden =
        runCli(folder, {"area", "section.kvd", "--level", "2.5", "--decimal-separator", "."},
               {"LOCPATH=" + locales, "LC_ALL=de_DE.UTF-8"});
    EXPECT_EQ(overridden.out, "16.25\n");
}

TEST_F(Cli, Area) {
    struct Case {
        const char* level;
        const char* printed;
    };
    for (const Case& c :
         {Case{"5", "35\n"}, Case{"2.5", "16.25\n"}, Case{"-1", "0\n"}, Case{"12", "100\n"}}) {
        const CliRun run = runCli(folder, {"area", "section.csv", "--level", c.level});
        EXPECT_EQ(run.status, 0) << c.level;
        EXPECT_EQ(run.out, c.printed) << c.level;
    }
}

TEST_F(Cli, ConvertWritesACrossSectionFile) {
    const CliRun fromCsv = runCli(folder, {"convert", "section.csv", "-o", "out.kvd"});
    EXPECT_EQ(fromCsv.status, 0) << fromCsv.err;
    EXPECT_EQ(readAll(folder.file("out.kvd")), "//Korvadel\r\n"
                                               "//Station\t\r\n"
                                               "//GHMinimum\t0\r\n"
                                               "//GHMaximum\t1\r\n"
                                               "//GHIncrement\t0.01\r\n"
                                               "//GHDatum\t0.00\r\n"
                                               "Station\tElevation\r\n"
                                               "0\t10\r\n"
                                               "2\t0\r\n"
                                               "8\t0\r\n"
                                               "10\t10\r\n");
    const CliRun fromKvd = runCli(folder, {"convert", "section.kvd", "-o", "copy.kvd"});
    EXPECT_EQ(fromKvd.status, 0);
    EXPECT_EQ(readAll(folder.file("copy.kvd")), kSectionKvd);
}

TEST_F(Cli, ProgramErrorsExitOneWithTheProgramsMessage) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::string missingFolder = folder.file("none/r.csv");
    const Case cases[] = {
        {{"rating", "missing.kvd"},
         "Unable to access file! File may already be open in another program (Excel)."},
        {{"rating", "missing.csv"},
         "Unable to access file! File may already be open in another program (Excel)."},
        {{"rating", "missingASC.TXT"}, "File not found."},
        {{"rating", "section.kvd", "--min", "abc"}, "'abc' is not a valid floating point value."},
        {{"rating", "section.kvd", "--increment", "1,5"},
         "'1,5' is not a valid floating point value."},
        {{"area", "section.kvd", "--level", "x"}, "'x' is not a valid floating point value."},
        {{"rating", "section.kvd", "-o", missingFolder},
         "Cannot create file \"" + missingFolder + "\". No such file or directory."},
        {{"convert", "section.kvd", "-o", "none/x.kvd"}, "Invalid filename."},
        // A rating or an area of fewer than two points is no result, whatever the reader read.
        {{"rating", "heading.csv"},
         "heading.csv: no cross-section points were read (a rating needs at least two)"},
        {{"area", "heading.csv", "--level", "1"},
         "heading.csv: no cross-section points were read (a rating needs at least two)"},
        {{"rating", "one.kvd", "--to", "html"},
         "one.kvd: only one cross-section point was read (a rating needs at least two)"},
        // A program renamed: not a section, whichever command reads it.
        {{"convert", "binary.kvd", "-o", "out.kvd"},
         "\"binary.kvd\" holds no cross-section: its first line is neither \"//Korvadel\" nor a "
         "table heading with a Station column."},
    };
    std::filesystem::copy_file(KORVADEL_CLI, folder.file("binary.kvd"));
    writeAllTo(folder.file("heading.csv"), "Station,Elevation\r\n");
    writeAllTo(folder.file("one.kvd"),
               kSectionKvd.substr(0, kSectionKvd.find("0\t10")) + "1\t2\r\n");
    for (const auto& c : cases) {
        const CliRun run = runCli(folder, c.args);
        EXPECT_EQ(run.status, 1) << c.args[1];
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "korvadel-cli: " + c.message + "\n");
    }
}

TEST_F(Cli, WorksheetOfTooManyRowsIsRefusedAndNothingWritten) {
    const CliRun run = runCli(folder, {"rating", "section.kvd", "--max", "700", "--increment",
                                       "0.01", "--to", "xls", "-o", "big.xls"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind(kEdgeWarning + "korvadel-cli: The rating has 700", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(" rows; a worksheet holds at most 65535.\n"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder.file("big.xls")));
}

TEST_F(Cli, UsageErrorsExitTwo) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate", "section.kvd"},
        {"rating"},
        {"rating", "section.kvd", "extra.kvd"},
        {"rating", "section.kvd", "--colour", "red"},
        {"rating", "section.kvd", "--max"},
        {"rating", "section.kvd", "--to", "pdf"},
        {"rating", "section.kvd", "--to", "xls"},
        {"rating", "section.kvd", "--from", "excel"},
        {"rating", "section.kvd", "--decimal-separator", ",."},
        {"rating", "section.kvd", "--bounds-prompt=yes"},
        {"convert", "section.kvd"},
        {"area", "section.kvd"},
        {"area", "section.kvd", "--level", "1", "--to", "csv"},
        {"rating", "section.kvd", "--section", "10"},
        {"rating", "section.csv", "--left-pin", "A"},
        {"convert", "section.kvd", "-o", "x.kvd", "--flip"},
        {"rating", "geometry.g01", "--all"},
        {"rating", "section.kvd", "--all", "-o", "out"},
        {"rating", "geometry.g01", "--all", "--section", "10", "-o", "out"},
        {"properties", "section.kvd", "--subdivide", "4"},
        {"properties", "section.kvd", "--manning-n", "0.03,0.04", "--slope", "0.001"},
        {"properties", "geometry.g01", "--units", "us"},
        {"sections"},
    };
    for (const auto& args : cases) {
        const CliRun run = runCli(folder, args);
        std::string shown;
        for (const auto& arg : args)
            shown += arg + " ";
        EXPECT_EQ(run.status, 2) << shown;
        EXPECT_EQ(run.out, "") << shown;
        EXPECT_EQ(run.err.rfind("korvadel-cli: ", 0), 0u) << shown << run.err;
        EXPECT_NE(run.err.find("--help"), std::string::npos) << shown;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("section.xls")));
    EXPECT_FALSE(std::filesystem::exists(folder.file("out")));
}

TEST_F(Cli, HelpDocumentsEveryOption) {
    const CliRun run = runCli(folder, {"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    for (const char* text : {"rating FILE",
                             "convert FILE",
                             "area FILE",
                             "properties FILE",
                             "check FILE",
                             "compare OLD NEW",
                             "sections FILE.g01",
                             "--all",
                             "--from kvd|csv|winriver|hecras|survey",
                             "--section SECTION",
                             "RIVER/REACH/RS",
                             "--left-pin NAME",
                             "--right-pin NAME",
                             "--start-station S",
                             "--max-offset D",
                             "--drop-off-line",
                             "--flip",
                             "positive downstream",
                             "--subdivide S...",
                             "--manning-n N...",
                             "conveyance_1",
                             "--to csv|html|xls|rdb",
                             "--decimal-separator C",
                             "--min T",
                             "--max T",
                             "--increment X",
                             "--datum T",
                             "--bounds-prompt",
                             "-o, --output OUT",
                             "--level L",
                             "--connected",
                             "--slope S",
                             "--units si|us",
                             "--format text|csv",
                             "--threshold PERCENT",
                             "-h, --help",
                             "Exit status",
                             "check found at least one warning"})
        EXPECT_NE(run.out.find(text), std::string::npos) << text;
    // Terminals of 80 columns show every line whole, and help2man reads no line as wrapped.
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);)
        EXPECT_LE(line.size(), 79u) << line;

    const CliRun command = runCli(folder, {"area", "--help"});
    EXPECT_EQ(command.status, 0);
    EXPECT_NE(command.out.find("--level L"), std::string::npos);
    EXPECT_EQ(command.out.find("--bounds-prompt"), std::string::npos);
}

// --- properties, check, compare, --connected ---

// A channel whose lowest point is at station 4, and behind a bank top of 6 a hollow at station
// 10: below the level 4 the channel holds 4 + 16/3, the hollow 2 more.
const std::string kHollowCsv = "0,8\r\n4,0\r\n8,6\r\n10,2\r\n12,6\r\n14,8\r\n";
// The trapezoid's bed widened to 8, its banks rising 10 per unit across: 8h + 0.1h^2.
const std::string kWideCsv = "0,10\r\n1,0\r\n9,0\r\n10,10\r\n";

std::vector<std::string> crlfLines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start) + "<no CR LF>");
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

std::vector<double> numbersOf(const std::string& line) {
    std::vector<double> numbers;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = line.find(',', start);
        numbers.push_back(std::strtod(line.substr(start, comma - start).c_str(), nullptr));
        if (comma == std::string::npos)
            return numbers;
        start = comma + 1;
    }
}

const std::string kPropertiesHeading =
    "stage,area,top_width,wetted_perimeter,hydraulic_radius,mean_depth,max_depth";

class CliAnalysis : public Cli {
protected:
    void SetUp() override {
        Cli::SetUp();
        writeAllTo(folder.file("hollow.csv"), kHollowCsv);
        writeAllTo(folder.file("wide.csv"), kWideCsv);
        // The trapezoid 100 higher, rated under a datum of 100.
        writeAllTo(folder.file("high.csv"), "0,110\r\n2,100\r\n8,100\r\n10,110\r\n");
    }
};

// The trapezoid at gage height 1: water from station 1.8 to 8.2 over the 6-wide bed, each bank
// wet for sqrt(0.2^2 + 1) along its slope.
TEST_F(CliAnalysis, PropertiesOfTheTrapezoidByHand) {
    const CliRun run = runCli(folder, {"properties", "section.kvd"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    const auto lines = crlfLines(run.out);
    ASSERT_EQ(lines.size(), 7u) << run.out; // heading and stages 0 to 5, no empty last line
    EXPECT_EQ(lines[0], kPropertiesHeading);
    EXPECT_EQ(lines[1], "0,0,0,0,0,0,0");
    EXPECT_EQ(lines[2].substr(0, 14), "1,6.2,6.4,8.03"); // stage, area and width exactly
    const double perimeter = 6 + 2 * std::sqrt(1.04);
    const std::vector<double> expected = {1, 6.2, 6.4, perimeter, 6.2 / perimeter, 6.2 / 6.4, 1};
    const std::vector<double> row = numbersOf(lines[2]);
    ASSERT_EQ(row.size(), expected.size());
    for (std::size_t i = 0; i < row.size(); ++i)
        EXPECT_NEAR(row[i], expected[i], 1e-13) << i;
    EXPECT_EQ(lines[6].substr(0, 9), "5,35,8,16");

    // The stages and their text are the rating's, the level takes the datum off the bed, and -o
    // writes the same bytes.
    const CliRun high = runCli(folder, {"properties", "high.csv", "--datum", "100", "--min",
                                        "0.125", "--max", "5", "--increment", "0.25", "-o", "p"});
    const CliRun low = runCli(folder, {"properties", "section.csv", "--min", "0.125", "--max", "5",
                                       "--increment", "0.25"});
    EXPECT_EQ(high.status, 0) << high.err;
    EXPECT_EQ(high.out, "");
    EXPECT_EQ(readAll(folder.file("p")), low.out);
    const auto stages = crlfLines(low.out);
    ASSERT_EQ(stages.size(), 21u);
    EXPECT_EQ(stages[1].substr(0, 5), "0.12,");
    EXPECT_EQ(stages[2].substr(0, 5), "0.38,");
}

// K = (k / n) A R^(2/3) and Q = K sqrt(S) from each row's own area and radius; feet take
// k = 1.486.
TEST_F(CliAnalysis, PropertiesWithManningsFormula) {
    const std::vector<std::string> manning = {"properties", "section.kvd", "--manning-n",
                                              "0.03",       "--slope",     "0.0004"};
    const CliRun si = runCli(folder, manning);
    auto usArgs = manning;
    usArgs.insert(usArgs.end(), {"--units", "us"});
    const CliRun us = runCli(folder, usArgs);
    ASSERT_EQ(si.status, 0) << si.err;
    ASSERT_EQ(us.status, 0) << us.err;
    const auto siLines = crlfLines(si.out);
    const auto usLines = crlfLines(us.out);
    ASSERT_EQ(siLines.size(), 7u);
    ASSERT_EQ(usLines.size(), 7u);
    EXPECT_EQ(siLines[0], kPropertiesHeading + ",conveyance,discharge");
    EXPECT_EQ(siLines[1], "0,0,0,0,0,0,0,0,0");
    for (std::size_t i = 2; i < siLines.size(); ++i) {
        const auto row = numbersOf(siLines[i]);
        const auto feet = numbersOf(usLines[i]);
        ASSERT_EQ(row.size(), 9u);
        const double conveyance = 1 / 0.03 * row[1] * std::pow(row[4], 2.0 / 3.0);
        EXPECT_NEAR(row[7], conveyance, 1e-12 * conveyance) << i;
        EXPECT_NEAR(row[8], conveyance * 0.02, 1e-12 * conveyance) << i;
        EXPECT_NEAR(feet[7], 1.486 * row[7], 1e-12 * conveyance) << i;
        EXPECT_EQ(std::vector<double>(feet.begin(), feet.begin() + 7),
                  std::vector<double>(row.begin(), row.begin() + 7));
    }
}

TEST_F(CliAnalysis, BadOptionValuesNameTheOptionAndComputeNothing) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message; // after "korvadel-cli: "; for usage errors its first line
    };
    const Case cases[] = {
        {{"properties", "section.kvd", "--manning-n", "0.03"}, 2, "--manning-n needs --slope S"},
        {{"properties", "section.kvd", "--slope", "0.001"}, 2, "--slope needs --manning-n N"},
        {{"properties", "section.kvd", "--units", "us"},
         2,
         "--units needs --manning-n N and --slope S"},
        {{"properties", "section.kvd", "--manning-n", "1", "--slope", "1", "--units", "metric"},
         2,
         "--units must be si or us, not 'metric'"},
        {{"properties", "section.kvd", "--bounds-prompt"}, 2, "unknown option '--bounds-prompt'"},
        {{"check", "section.kvd", "--format", "xml"}, 2, "--format must be text or csv, not 'xml'"},
        {{"compare", "section.kvd"}, 2, "NEW is missing"},
        {{"compare", "section.kvd", "wide.csv", "hollow.csv"},
         2,
         "unexpected argument 'hollow.csv'"},
        // Bad values are refused before the file is read: this one does not exist.
        {{"properties", "missing.kvd", "--manning-n", "0", "--slope", "0.001"},
         1,
         "--manning-n must be greater than 0, not 0."},
        {{"properties", "section.kvd", "--manning-n", "-0.02", "--slope", "0.001"},
         1,
         "--manning-n must be greater than 0, not -0.02."},
        {{"properties", "section.kvd", "--manning-n", "n", "--slope", "0.001"},
         1,
         "--manning-n: 'n' is not a valid floating point value."},
        {{"properties", "section.kvd", "--manning-n", "0.03", "--slope", "-1"},
         1,
         "--slope must be greater than 0, not -1."},
        {{"properties", "section.kvd", "--manning-n", "0.03", "--slope", "1e-400"},
         1,
         "--slope must be greater than 0, not 0."}, // too small for a double: reads 0
        {{"properties", "section.kvd", "--manning-n", "1e-300", "--slope", "1e300"},
         1,
         "Manning's n 1E-300 and the slope 1E300 give a conveyance or discharge too large to be "
         "represented."},
        {{"compare", "section.kvd", "wide.csv", "--threshold", "-1"},
         1,
         "--threshold must be 0 or more, not -1."},
        {{"compare", "section.kvd", "wide.csv", "--threshold", "5%"},
         1,
         "--threshold: '5%' is not a valid floating point value."},
        {{"properties", "one.csv"},
         1,
         "one.csv: only one cross-section point was read (a rating needs at least two)"},
        {{"properties", "section.kvd", "--manning-n", "0.03,0.04", "--subdivide", "3,4", "--slope",
          "1"},
         1,
         "--manning-n needs 3 values, one for each subsection, not 2."},
        {{"properties", "section.kvd", "--manning-n", "0.03,0.04,0.05", "--subdivide", "6,4",
          "--slope", "1"},
         1,
         "--subdivide must rise from left to right: 4 follows 6."},
        {{"properties", "section.kvd", "--manning-n", "0.03;x", "--subdivide", "4", "--slope", "1"},
         1,
         "--manning-n: 'x' is not a valid floating point value."},
        {{"convert", "missing.csv", "--from", "survey", "--max-offset", "-1", "-o", "x.kvd"},
         1,
         "--max-offset must be 0 or more, not -1."},
        {{"convert", "missing.csv", "--from", "survey", "--start-station", "1,5", "-o", "x.kvd"},
         1,
         "--start-station: '1,5' is not a valid floating point value."},
        {{"compare", "section.kvd", "one.csv"},
         1,
         "one.csv: only one cross-section point was read (a rating needs at least two)"},
    };
    writeAllTo(folder.file("one.csv"), "1,2\r\n");
    for (const Case& c : cases) {
        const CliRun run = runCli(folder, c.args);
        EXPECT_EQ(run.status, c.status) << c.message;
        EXPECT_EQ(run.out, "") << c.message;
        EXPECT_EQ(run.err.substr(0, run.err.find('\n')), "korvadel-cli: " + c.message);
    }
}

TEST_F(CliAnalysis, ConnectedWaterLeavesTheBankHollowOut) {
    struct Case {
        std::vector<std::string> args;
        std::string whole;
        std::string connected;
    };
    const Case cases[] = {
        {{"area", "hollow.csv", "--level", "4"}, "11.3333333333333\n", "9.33333333333333\n"},
        // Over the bank top the hollow is part of the channel.
        {{"area", "hollow.csv", "--level", "7"}, "40.75\n", "40.75\n"},
        {{"rating", "hollow.csv", "--min", "3", "--max", "4", "--increment", "1"},
         "3,5.75\r\n4,11.333\r\n\r\n",
         "3,5.25\r\n4,9.333\r\n\r\n"},
    };
    for (const Case& c : cases) {
        const CliRun whole = runCli(folder, c.args);
        auto args = c.args;
        args.push_back("--connected");
        const CliRun connected = runCli(folder, args);
        EXPECT_EQ(whole.status, 0) << whole.err;
        EXPECT_EQ(connected.status, 0) << connected.err;
        EXPECT_EQ(whole.out, c.whole);
        EXPECT_EQ(connected.out, c.connected);
    }
    // The properties of the channel alone: 4.667 wide between its banks' crossings at 2 and
    // 6.667, its banks sqrt(20) and sqrt(23.111) long.
    const CliRun properties =
        runCli(folder, {"properties", "hollow.csv", "--min", "4", "--max", "4", "--connected"});
    const auto lines = crlfLines(properties.out);
    ASSERT_EQ(lines.size(), 2u) << properties.err;
    const auto row = numbersOf(lines[1]);
    const double perimeter = std::sqrt(20.0) + std::sqrt(64.0 / 9 + 16);
    const std::vector<double> expected = {4, 28.0 / 3, 14.0 / 3, perimeter, 28.0 / 3 / perimeter,
                                          2, 4};
    ASSERT_EQ(row.size(), expected.size());
    for (std::size_t i = 0; i < row.size(); ++i)
        EXPECT_NEAR(row[i], expected[i], 1e-12) << i;
}

TEST_F(CliAnalysis, CheckExitStatusAndFormats) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string out;
    };
    writeAllTo(folder.file("one.csv"), "1,2\r\n");
    writeAllTo(folder.file("gap.kvd"), "Station\tElevation\r\n0\t10\r\n5\t\r\n10\t10\r\n");
    // A repeated point at a station written with a decimal comma, listed out of order.
    writeAllTo(folder.file("repeat.csv"), "\"2,5\",1\r\n0,4\r\n\"2,5\",1\r\n5,4\r\n");
    const Case cases[] = {
        {{"check", "section.kvd"}, 0, "No findings.\n"},
        {{"check", "section.csv"},
         0,
         "info unsorted-input: The file listed 1 station out of ascending order; the points were "
         "put in station order.\n"},
        {{"check", "one.csv"},
         3,
         "warning too-few-points: The section has only one point; at least two are needed to "
         "rate it.\n"},
        {{"check", "hollow.csv", "--max", "4", "--format", "csv"},
         3,
         "severity,code,station,message\r\n"
         "warning,isolated-water,10,\"At the maximum gage height, water stands between stations "
         "8 and 12 apart from the lowest point: area 2, 17.6 % of the area there.\"\r\n"},
        {{"check", "repeat.csv", "--decimal-separator", ",", "--datum", "0", "--min", "1",
          "--format", "csv"},
         3,
         "severity,code,station,message\r\n"
         "warning,duplicate-station,\"2,5\",\"The point at station 2,5, elevation 1 is listed 2 "
         "times.\"\r\n"
         "info,unsorted-input,,The file listed 1 station out of ascending order; the points were "
         "put in station order.\r\n"},
        {{"check", "gap.kvd"},
         3,
         "warning missing-elevation at station 5: The point at station 5 has no elevation; it "
         "counts as elevation 0.\n"},
        {{"check", "missing.csv"}, 1, ""},
        {{"check", "section.kvd", "--max", "x"}, 1, ""},
    };
    for (const Case& c : cases) {
        const CliRun run = runCli(folder, c.args);
        EXPECT_EQ(run.status, c.status) << c.args[1];
        EXPECT_EQ(run.out, c.out) << c.args[1];
        EXPECT_EQ(run.err.empty(), c.status != 1) << c.args[1] << run.err;
    }
}

// The trapezoid, 6h + 0.2h^2, against the widened bed, 8h + 0.1h^2: the difference 2h - 0.1h^2
// is 1.9 at 1 and 7.5 at 5.
TEST_F(CliAnalysis, CompareTwoSurveysOverTheOldSurveysStages) {
    const std::string table =
        "stage,area_old,area_new,difference,percent_difference,beyond_threshold\r\n"
        "0,0,0,0,,no\r\n"
        "1,6.2,8.1,1.9,30.6451612903226,yes\r\n"
        "2,12.8,16.4,3.6,28.125,yes\r\n"
        "3,19.8,24.9,5.1,25.7575757575758,yes\r\n"
        "4,27.2,33.6,6.4,23.5294117647059,no\r\n"
        "5,35,42.5,7.5,21.4285714285714,no\r\n";
    const CliRun run = runCli(folder, {"compare", "section.kvd", "wide.csv", "--threshold", "25"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, table);
    EXPECT_EQ(
        run.err,
        "Largest difference 30.65 % at stage 1; 3 of 6 stages beyond the threshold of 25 %.\n");

    // Default threshold, to a file; above the banks each survey's edge warning names its file,
    // and the summary stays last.
    const CliRun high =
        runCli(folder, {"compare", "section.kvd", "wide.csv", "--max", "12", "-o", "c.csv"});
    EXPECT_EQ(high.status, 0);
    EXPECT_EQ(high.out, "");
    EXPECT_EQ(readAll(folder.file("c.csv")).substr(0, table.size() - 40),
              table.substr(0, table.size() - 40));
    EXPECT_EQ(high.err, "section.kvd: " + kEdgeWarning + "wide.csv: " + kEdgeWarning +
                            "Largest difference 30.65 % at stage 1; 12 of 13 stages beyond the "
                            "threshold of 5 %.\n");

    // The settings are OLD's: imported points start from 0 to 1 by 0.01.
    const CliRun reversed = runCli(folder, {"compare", "wide.csv", "section.kvd"});
    EXPECT_EQ(crlfLines(reversed.out).size(), 101u);
    EXPECT_TRUE(reversed.err.ends_with("; 99 of 100 stages beyond the threshold of 5 %.\n"))
        << reversed.err;
}

// --- HEC-RAS geometry, surveyed points, conveyance by subsections, the agency rating file ---

std::string example(const std::string& name) {
    return std::string(KORVADEL_EXAMPLES) + "/" + name;
}

std::string testData(const std::string& name) {
    return readAll(std::string(KORVADEL_TEST_DATA) + "/" + name);
}

TEST_F(CliAnalysis, SectionsOfAGeometryFile) {
    const CliRun run = runCli(folder, {"sections", example("willow-fork.g01")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, testData("willow-fork-sections.csv"));

    // A block that cannot be read is named; the others list, and the status says so.
    writeAllTo(folder.file("broken.g01"),
               "River Reach=Creek,Main \"B\"\n"
               "Type RM Length L Ch R = 1 ,20      ,1,1,1\n#Sta/Elev= 2 \n"
               "       0      10       5       0\n"
               "Type RM Length L Ch R = 1 ,10      ,1,1,1\n#Sta/Elev= 2 \n"
               "       0      10       5       x\n"
               "Type RM Length L Ch R = 1 ,5       ,1,1,1\n#Sta/Elev= 1 \n"
               "       0      10\nBank Sta=0,0.5\n");
    const CliRun broken = runCli(folder, {"sections", "broken.g01"});
    EXPECT_EQ(broken.status, 3);
    EXPECT_EQ(broken.out, "river,reach,station,points,left_bank,right_bank\r\n"
                          "Creek,\"Main \"\"B\"\"\",20,2,,\r\n"
                          "Creek,\"Main \"\"B\"\"\",5,1,0,0.5\r\n");
    EXPECT_EQ(broken.err, "korvadel-cli: broken.g01, line 7, river station 10: only 0 of 4 "
                          "numbers before this line.\n");
}

// Every cross section rated into a folder gives the bytes that rating it alone writes; file
// names made from river stations stay in the folder, and two stations that would share a name
// are both refused.
TEST_F(CliAnalysis, AllCrossSectionsAreTheirOwnRatings) {
    const std::vector<std::string> settings = {"--datum", "0",   "--min",       "98.5",
                                               "--max",   "101", "--increment", "0.5"};
    for (const std::string to : {"csv", "rdb"}) {
        std::vector<std::string> all = {
            "rating", example("willow-fork.g01"), "--all", "-o", "out-" + to, "--to", to};
        all.insert(all.end(), settings.begin(), settings.end());
        const CliRun run = runCli(folder, all);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, "Wrote 6 ratings to out-" + to + ".\n");
        const std::vector<std::pair<std::string, std::string>> files = {
            {"Willow Fork/Upper/2150", "2150"}, {"2100*", "2100_"}, {"2050", "2050"},
            {"Willow Fork/Lower/1800", "1800"}, {"1500", "1500"},   {"320", "320"}};
        EXPECT_EQ(folder.names("out-" + to).size(), files.size());
        for (const auto& [section, name] : files) {
            std::vector<std::string> one = {
                "rating", example("willow-fork.g01"), "--section", section, "--to", to};
            one.insert(one.end(), settings.begin(), settings.end());
            const CliRun alone = runCli(folder, one);
            EXPECT_EQ(alone.status, 0) << alone.err;
            EXPECT_GT(alone.out.size(), 20u) << section;
            EXPECT_EQ(readAll(folder.file("out-" + to + "/" + name + "." + to)), alone.out)
                << section;
        }
    }

    // A geometry's section compared with itself converted: --section applies to the one file
    // that is a geometry file.
    const CliRun converted = runCli(
        folder, {"convert", example("willow-fork.g01"), "--section", "2150", "-o", "2150.kvd"});
    EXPECT_EQ(converted.status, 0) << converted.err;
    const CliRun compared = runCli(folder, {"compare", example("willow-fork.g01"), "2150.kvd",
                                            "--section", "2150", "--datum", "98.9", "--max", "5"});
    EXPECT_EQ(compared.status, 0) << compared.err;
    EXPECT_EQ(compared.err, "Largest difference 0 % at stage 0.01; 0 of 501 stages beyond the "
                            "threshold of 5 %.\n");

    writeAllTo(folder.file("names.g01"), "Type RM Length L Ch R = 1 ,5.99*,1,1,1\n"
                                         "#Sta/Elev= 2 \n       0      10       5       0\n"
                                         "Type RM Length L Ch R = 1 ,5.99?,1,1,1\n"
                                         "#Sta/Elev= 2 \n       0      10       5       0\n"
                                         "Type RM Length L Ch R = 1 ,../up,1,1,1\n"
                                         "#Sta/Elev= 2 \n       0      10       5       0\n"
                                         "Type RM Length L Ch R = 1 ,1,1,1,1\n"
                                         "#Sta/Elev= 1 \n       0      10\n");
    const CliRun names = runCli(
        folder, {"rating", "names.g01", "--all", "-o", "n", "--max", "2", "--increment", "1"});
    EXPECT_EQ(names.status, 1);
    EXPECT_EQ(names.out, "Wrote 1 rating to n; 3 cross sections were not written.\n");
    EXPECT_EQ(names.err, "korvadel-cli: 5.99*: n/5.99_.csv would also hold the rating of 5.99?; "
                         "neither is written.\n"
                         "korvadel-cli: 5.99?: n/5.99_.csv would also hold the rating of 5.99*; "
                         "neither is written.\n"
                         "../up: " +
                             kEdgeWarning +
                             "korvadel-cli: 1: names.g01: only one cross-section point was read "
                             "(a rating needs at least two)\n");
    EXPECT_EQ(folder.names("n"), std::vector<std::string>{".._up.csv"});
    // A triangle 5 wide and 10 deep beside the right wall: 0.25 h^2.
    EXPECT_EQ(readAll(folder.file("n/.._up.csv")), "0,0\r\n1,0.25\r\n2,1\r\n\r\n");
}

TEST_F(CliAnalysis, RatingAsAnAgencyFile) {
    const CliRun run = runCli(folder, {"rating", example("mill-creek.kvd"), "--to", "rdb"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, testData("mill-creek.rdb"));
    const CliRun file =
        runCli(folder, {"rating", example("mill-creek.kvd"), "--to", "rdb", "-o", "m.rdb"});
    EXPECT_EQ(file.status, 0);
    EXPECT_EQ(readAll(folder.file("m.rdb")), run.out);
}

// The example survey between its pins (stations 0 to 22 and a shot at 24.3 past the right
// pin); as the file lists it (the first and last points as pins), flipped, or without the
// points reported.
TEST_F(CliAnalysis, SurveyedPointsBecomeASection) {
    const std::string survey = example("willow-fork-survey.csv");
    const CliRun pins = runCli(folder, {"convert", survey, "--from", "survey", "--left-pin", "LP",
                                        "--right-pin", "RP", "-o", "s.kvd"});
    EXPECT_EQ(pins.status, 0);
    EXPECT_EQ(readAll(folder.file("s.kvd")), testData("willow-fork-survey.kvd"));
    EXPECT_EQ(pins.err, survey +
                            ": Point 'S5' at station 10 lies 1.85 downstream of the section "
                            "line (more than 1).\n" +
                            survey + ": Point 'FP1' at station 24.3 lies beyond the right pin.\n");

    struct Case {
        std::vector<std::string> options;
        std::string firstRows; // after the column line
        std::size_t points;
    };
    const Case cases[] = {
        // The line from LP to FP1 turns by atan(0.2 / 24.3): S1 at 2 cos + 0.12 sin.
        {{}, "0\t103.52\r\n2.0009\t102.9\r\n4.4982\t101.7\r\n", 13},
        {{"--right-pin", "RP", "--flip", "--start-station", "100"},
         "97.7\t103.1\r\n100\t103.4\r\n",
         13},
        {{"--right-pin", "RP", "--drop-off-line", "--max-offset", "0.22"},
         "0\t103.52\r\n2\t102.9\r\n4.5\t101.7\r\n6\t100.8\r\n8\t100.1\r\n12\t99.6\r\n"
         "18.5\t101.8\r\n",
         9},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"convert", survey, "--from", "survey", "-o", "c.kvd"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const CliRun run = runCli(folder, args);
        EXPECT_EQ(run.status, 0) << run.err;
        const std::string written = readAll(folder.file("c.kvd"));
        const std::size_t rows = written.find("Elevation\r\n") + 11;
        EXPECT_EQ(written.substr(rows, c.firstRows.size()), c.firstRows) << c.firstRows;
        EXPECT_EQ(crlfLines(written).size(), 7 + c.points) << c.firstRows;
    }
}

// With one n and no boundary the table is the one written before subsections existed
// (pine-run-properties.csv was written by that program); a HEC-RAS section brings its own n
// values; with subsections each row's conveyance is the sum of its columns.
TEST_F(CliAnalysis, PropertiesBySubsections) {
    const CliRun today =
        runCli(folder, {"properties", example("pine-run.kvd"), "--min", "0", "--max", "4",
                        "--increment", "0.25", "--slope", "0.0005", "--manning-n", "0.035"});
    EXPECT_EQ(today.status, 0) << today.err;
    EXPECT_EQ(today.out, testData("pine-run-properties.csv"));

    const std::vector<std::string> alder = {"properties", example("willow-fork.g01"),
                                            "--section",  "320",
                                            "--datum",    "1236.4",
                                            "--max",      "3",
                                            "--slope",    "0.002"};
    auto alderN = alder;
    alderN.insert(alderN.end(), {"--manning-n", "0.04"});
    const CliRun fileN = runCli(folder, alder);
    EXPECT_EQ(fileN.status, 0) << fileN.err;
    EXPECT_EQ(fileN.out, runCli(folder, alderN).out);
    EXPECT_EQ(crlfLines(fileN.out)[0], kPropertiesHeading + ",conveyance,discharge");

    const CliRun upper =
        runCli(folder, {"properties", example("willow-fork.g01"), "--section", "2150", "--slope",
                        "0.001", "--datum", "98.9", "--max", "5", "--increment", "0.5"});
    EXPECT_EQ(upper.status, 0) << upper.err;
    EXPECT_EQ(upper.out, testData("willow-fork-2150-properties.csv"));

    // The trapezoid cut at its bank toes, worked by hand in the model's tests: at gage height 5
    // the banks carry 31.0889 each and the bed 2924.018.
    const CliRun cut = runCli(folder, {"properties", "section.kvd", "--subdivide", "2,8",
                                       "--manning-n", "0.05,0.03,0.05", "--slope", "0.001"});
    EXPECT_EQ(cut.status, 0) << cut.err;
    const auto lines = crlfLines(cut.out);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0],
              kPropertiesHeading + ",conveyance,discharge,conveyance_1,conveyance_2,conveyance_3");
    const auto five = numbersOf(lines[6]);
    ASSERT_EQ(five.size(), 12u);
    EXPECT_NEAR(five[9], 31.0889, 1e-4);
    EXPECT_NEAR(five[10], 2924.018, 1e-3);
    for (const std::string& line : std::vector<std::string>(lines.begin() + 1, lines.end())) {
        const auto row = numbersOf(line);
        EXPECT_NEAR(row[7], row[9] + row[10] + row[11], 1e-9 * row[7]) << line;
        EXPECT_NEAR(row[8], row[7] * std::sqrt(0.001), 1e-9 * row[7]) << line;
    }
}

} // namespace
} // namespace korvadel

namespace korvadel {
namespace {

// The sample files read by each reader: writing them as cross-section files and reading those
// back must give the same rating, and the area command must agree with the rating's areas.
TEST(CliExamples, RatingSurvivesConversionToACrossSectionFile) {
    ScratchFolder folder;
    for (const char* name : {"mill-creek.kvd", "bear-river.csv", "clearwater_000t.000"}) {
        const std::string example = std::string(KORVADEL_EXAMPLES) + "/" + name;
        ASSERT_TRUE(std::filesystem::exists(example)) << example << " is missing";
        const std::vector<std::string> settings{"--min",       "-5",  "--max",   "220",
                                                "--increment", "0.5", "--datum", "0"};
        std::vector<std::string> original{"rating", example};
        original.insert(original.end(), settings.begin(), settings.end());
        const CliRun direct = runCli(folder, original);
        EXPECT_EQ(direct.status, 0) << name << ": " << direct.err;
        EXPECT_GT(direct.out.size(), 450u) << name;

        const CliRun convert = runCli(folder, {"convert", example, "-o", "converted.kvd"});
        EXPECT_EQ(convert.status, 0) << name << ": " << convert.err;
        std::vector<std::string> again{"rating", "converted.kvd"};
        again.insert(again.end(), settings.begin(), settings.end());
        const CliRun converted = runCli(folder, again);
        EXPECT_EQ(converted.status, 0) << name;
        EXPECT_EQ(converted.out, direct.out) << name;
    }
}

TEST(CliExamples, AreaAgreesWithTheUnroundedRating) {
    ScratchFolder folder;
    const std::string example = std::string(KORVADEL_EXAMPLES) + "/mill-creek.kvd";
    ASSERT_TRUE(std::filesystem::exists(example)) << example << " is missing";
    for (const char* level : {"100.25", "101.5", "104"}) {
        const CliRun rating = runCli(folder, {"rating", example, "--bounds-prompt", "--datum", "0",
                                              "--min", level, "--max", level});
        const CliRun area = runCli(folder, {"area", example, "--level", level});
        ASSERT_EQ(rating.status, 0) << rating.err;
        ASSERT_EQ(area.status, 0) << area.err;
        const std::string row = std::string(level) + "," + area.out.substr(0, area.out.size() - 1);
        EXPECT_EQ(rating.out, row + "\r\n\r\n");
        EXPECT_NE(area.out, "0\n") << level;
    }
}

} // namespace
} // namespace korvadel
