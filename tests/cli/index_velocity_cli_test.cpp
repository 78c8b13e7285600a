// SPDX-License-Identifier: GPL-3.0-or-later
// korvadel-cli measurements, velocity-rating and discharge run as a user runs them: one golden
// file per output format (made from the examples by the command lines below), and the exit
// status and message of every way they refuse.
#include "tests/support/CliRun.h"
#include "tests/support/WriteTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvadel {
namespace {

using testing::CliRun;
using testing::readAll;
using testing::runCli;
using testing::ScratchFolder;
using testing::writeAllTo;

const std::string kExamples = KORVADEL_EXAMPLES;
const std::string kGolden = std::string(KORVADEL_TEST_DATA) + "/index-velocity/";
const std::string kSection = kExamples + "/harlan-canal.kvd";
const std::string kMeasurements = kExamples + "/harlan-canal-measurements.csv";
const std::string kRecord = kExamples + "/harlan-canal-record.csv";

TEST(IndexVelocityCli, OutputsMatchTheirGoldenFiles) {
    ScratchFolder folder;
    struct Case {
        std::vector<std::string> args;
        std::string golden;
        std::string err;
    };
    const std::string areaLine = "Area difference beyond 5 %: 1 of 24 measurements with a "
                                 "measured area.\n";
    const std::string gapLine = kRecord + ": 4 of 672 rows have an empty or unreadable value or "
                                          "a result out of range (the first on line 330); the "
                                          "fields that depend on it are left empty.\n";
    const std::string fit[] = {"--measurements", kMeasurements, "--model", "simple"};
    const Case cases[] = {
        {{"measurements", kSection, kMeasurements}, "measurements.csv", areaLine},
        {{"measurements", kSection, kMeasurements, "--to", "html"}, "measurements.html", areaLine},
        {{"measurements", kSection, kMeasurements, "--to", "xls", "-o", "out"},
         "measurements.xls",
         areaLine},
        {{"velocity-rating", kSection, kMeasurements, "--model", "simple"},
         "velocity-rating-simple.txt",
         ""},
        {{"velocity-rating", kSection, kMeasurements, "--model=compound", "--breakpoint", "0.8",
          "--format", "json", "-o", "out"},
         "velocity-rating-compound.json",
         ""},
        {{"discharge", kSection, kRecord, fit[0], fit[1], fit[2], fit[3]},
         "discharge.csv",
         gapLine},
        {{"discharge", kSection, kRecord, fit[0], fit[1], fit[2], fit[3], "--daily", "-o", "out"},
         "discharge-daily.csv",
         gapLine},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.golden);
        const CliRun run = runCli(folder, c.args);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, c.err);
        const bool toFile = c.args[c.args.size() - 2] == "-o";
        EXPECT_EQ(toFile ? readAll(folder.file("out")) : run.out, readAll(kGolden + c.golden));
        EXPECT_EQ(toFile, run.out.empty());
    }
}

TEST(IndexVelocityCli, RefusalsSayWhyAndExitOneOrTwo) {
    ScratchFolder folder;
    const std::string heading = "number,start,gage_height,discharge,index_velocity,use\n";
    writeAllTo(folder.file("bad.csv"), heading + "1,2024-01-01,3,30,0.7,\n2,2024-01-02,3,x,1,\n");
    writeAllTo(folder.file("dry.csv"), heading + "1,2024-01-01,3,30,0.7,\n5,2024-01-02,0.5,1,1,\n");
    writeAllTo(folder.file("two.csv"), heading + "1,2024-01-01,3,30,0.7,\n2,2024-01-02,3,40,"
                                                 "0.9,\n3,2024-01-03,3,30,0.9,exclude\n");
    writeAllTo(folder.file("same.csv"), heading + "1,2024-01-01,3,30,0.7,\n2,2024-01-02,2,20,"
                                                  "0.7,\n3,2024-01-03,4,40,0.7,\n");
    writeAllTo(folder.file("usgs.rdb"), "#\nmeasurement_nu\tmeasurement_dt\tgage_height_va\t"
                                        "discharge_va\n5s\t19d\t12s\t12s\n1\t2024-01-01\t3\t30\n");
    writeAllTo(folder.file("record.csv"), "time,stage\n2024-01-01,3\n");
    writeAllTo(folder.file("old.csv"), "kept");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err; // the first line of standard error
    };
    const std::string m = kMeasurements;
    const Case cases[] = {
        {{"measurements", kSection}, 2, "korvadel-cli: MEASUREMENTS is missing"},
        {{"measurements", kSection, m, "--to", "pdf"},
         2,
         "korvadel-cli: --to must be csv, html or xls, not 'pdf'"},
        {{"measurements", kSection, m, "--to", "xls"}, 2, "korvadel-cli: --to xls needs -o OUT"},
        {{"measurements", kSection, m, "--max", "3"}, 2, "korvadel-cli: unknown option '--max'"},
        {{"velocity-rating", kSection, m},
         2,
         "korvadel-cli: velocity-rating needs --model simple|coefficient|stage|compound"},
        {{"velocity-rating", kSection, m, "--model", "cubic"},
         2,
         "korvadel-cli: --model must be simple, coefficient, stage or compound, not 'cubic'"},
        {{"velocity-rating", kSection, m, "--model", "stage", "--breakpoint", "1"},
         2,
         "korvadel-cli: --breakpoint applies to --model compound only"},
        {{"velocity-rating", kSection, m, "--model", "compound"},
         2,
         "korvadel-cli: --model compound needs --breakpoint X"},
        {{"velocity-rating", kSection, m, "--model", "simple", "--format", "yaml"},
         2,
         "korvadel-cli: --format must be text, json or pdf, not 'yaml'"},
        {{"velocity-rating", kSection, m, "--model", "simple", "--format", "pdf"},
         2,
         "korvadel-cli: --format pdf needs -o FILE.pdf"},
        {{"velocity-rating", kSection, m, "--model", "simple", "--units", "metres"},
         2,
         "korvadel-cli: --units applies to --format pdf only"},
        {{"velocity-rating", kSection, m, "--model", "simple", "--format", "pdf", "--units",
          "yards", "-o", "r.pdf"},
         2,
         "korvadel-cli: --units must be feet or metres, not 'yards'"},
        {{"discharge", kSection, kRecord, "--model", "simple"},
         2,
         "korvadel-cli: discharge needs either --measurements FILE or --coefficients LIST"},
        {{"discharge", kSection, kRecord, "--model", "coefficient", "--coefficients", "1,2"},
         2,
         "korvadel-cli: --coefficients for --model coefficient takes 1 number, not 2"},
        {{"discharge", kSection, kRecord, "--model", "simple", "--coefficients", "0.1,b"},
         1,
         "korvadel-cli: --coefficients: 'b' is not a valid floating point value."},
        {{"velocity-rating", kSection, m, "--model", "compound", "--breakpoint", "x"},
         1,
         "korvadel-cli: --breakpoint: 'x' is not a valid floating point value."},
        {{"measurements", kSection, m, "--threshold", "-1"},
         1,
         "korvadel-cli: --threshold must be 0 or more, not -1."},
        {{"measurements", kSection, m, "--datum", "9x"},
         1,
         "korvadel-cli: --datum: '9x' is not a valid floating point value."},
        {{"measurements", kSection, "bad.csv"},
         1,
         "korvadel-cli: bad.csv, line 3, column discharge: 'x' is not a valid floating point "
         "value."},
        {{"measurements", kSection, "dry.csv"},
         1,
         "korvadel-cli: Measurement 5 at gage height 0.5: the section holds no water there "
         "(rated area 0), so it has no mean velocity."},
        {{"velocity-rating", kSection, "two.csv", "--model", "simple"},
         1,
         "korvadel-cli: The simple rating needs at least 3 fit measurements (2 parameters and "
         "one degree of freedom); there are 2."},
        {{"discharge", kSection, kRecord, "--measurements", "same.csv", "--model", "simple"},
         1,
         "korvadel-cli: The fit measurements cannot determine the simple rating (a singular "
         "design): every index velocity is the same."},
        {{"velocity-rating", kSection, "usgs.rdb", "--model", "simple"},
         1,
         "korvadel-cli: usgs.rdb: no column named index_velocity; the velocity rating needs the "
         "index velocity of every fit measurement (a USGS measurement file has none: add the "
         "column)"},
        {{"discharge", kSection, "record.csv", "--model", "simple", "--coefficients", "0,1"},
         1,
         "korvadel-cli: record.csv: no column named gage_height in the heading (line 1)"},
        {{"velocity-rating", kSection, m, "--model", "simple", "-o", "no/such/out.txt"},
         1,
         "korvadel-cli: Cannot create file \"" + folder.file("no/such/out.txt") +
             "\". No such file or directory."},
        {{"discharge", kSection, "record.csv", "--model", "simple", "--coefficients", "0,1", "-o",
          "old.csv"},
         1,
         "korvadel-cli: record.csv: no column named gage_height in the heading (line 1)"},
    };
    for (const Case& c : cases) {
        const CliRun run = runCli(folder, c.args);
        EXPECT_EQ(run.status, c.status) << c.err;
        EXPECT_EQ(run.err.substr(0, run.err.find('\n')), c.err);
        if (c.status == 1) {
            EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
        }
    }
    EXPECT_EQ(readAll(folder.file("old.csv")), "kept");
}

// A HEC-RAS cross section or surveyed points are read as every command reads them: the rated
// area is the area command's at the same level (datum 0).
TEST(IndexVelocityCli, SectionsOfEveryReadableKind) {
    ScratchFolder folder;
    writeAllTo(folder.file("m.csv"), "number,start,gage_height,discharge\n1,2024-01-01,101.5,20\n");
    const std::vector<std::string> readings[] = {
        {kExamples + "/willow-fork.g01", "--section", "2150"},
        {kExamples + "/willow-fork-survey.csv", "--from", "survey", "--left-pin", "LP",
         "--right-pin", "RP"}};
    for (const std::vector<std::string>& reading : readings) {
        std::vector<std::string> area = {"area", "--level", "101.5"};
        area.insert(area.end(), reading.begin(), reading.end());
        std::vector<std::string> measurements = {"measurements", reading[0], "m.csv"};
        measurements.insert(measurements.end(), reading.begin() + 1, reading.end());
        const CliRun expected = runCli(folder, area);
        const CliRun run = runCli(folder, measurements);
        ASSERT_EQ(run.status, 0) << run.err;
        // The row's seventh cell, rated_area.
        std::string cells = run.out.substr(run.out.find("\r\n") + 2);
        for (int skip = 0; skip < 6; ++skip)
            cells.erase(0, cells.find(',') + 1);
        EXPECT_EQ(cells.substr(0, cells.find(',')) + "\n", expected.out) << reading[0];
    }
}

TEST(IndexVelocityCli, GageHeightsAboveAnEndOfTheSectionWarn) {
    ScratchFolder folder;
    writeAllTo(folder.file("high.csv"), "time,gage_height,index_velocity\n"
                                        "2024-01-01T00:00,6.5,0.5\n2024-01-01T00:15,3,0.5\n");
    const std::string warning = "Warning! Maximum gage height exceeds edge elevation. Korvadel "
                                "assumes a vertical wall at edges where this condition occurs.\n";
    // Once for the record and the measurements together.
    const CliRun fitted = runCli(folder, {"discharge", kSection, "high.csv", "--model", "simple",
                                          "--measurements", kMeasurements});
    EXPECT_EQ(fitted.status, 0);
    EXPECT_EQ(fitted.err, warning);
    const CliRun run = runCli(folder, {"discharge", kSection, "high.csv", "--model", "simple",
                                       "--coefficients", "0,1", "--daily"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, warning);
    // The run goes on: both rows count, the first with the water held by the walls.
    EXPECT_EQ(run.out.substr(0, 39), "date,mean_discharge,values\r\n2024-01-01,");
    EXPECT_EQ(run.out.substr(run.out.size() - 4), ",2\r\n");
}

} // namespace
} // namespace korvadel
