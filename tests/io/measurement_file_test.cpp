// SPDX-License-Identifier: GPL-3.0-or-later
// Reading discharge measurements and stage and index-velocity records: both measurement files,
// the cells each may leave empty, and every message that names a file, line and column.
#include "io/DischargeRecordFile.h"
#include "io/LineReader.h"
#include "io/MeasurementFile.h"
#include "model/Error.h"
#include "model/Numbers.h"
#include "model/VelocityRating.h"

#include <gtest/gtest.h>

#include <string>

namespace korvadel {
namespace {

std::string optionalText(const std::optional<double>& value) {
    return value ? formatGeneral(*value) : "-";
}

// The measurements, one "number start end gage discharge index area use comment" each, or
// the error's message.
std::string describe(const std::string& bytes) {
    LineReader reader = LineReader::overBytes(bytes);
    try {
        const MeasurementFile file = readMeasurements(reader, "m.csv");
        std::string out = file.rdb ? "rdb" : "csv";
        out += file.hasIndexVelocity ? "+vi" : "";
        out += file.hasMeasuredArea ? "+area" : "";
        for (const Measurement& m : file.measurements)
            out += "; " + m.number + " " + m.start + " " + (m.end.empty() ? "-" : m.end) + " " +
                   formatGeneral(m.gageHeight) + " " + formatGeneral(m.discharge) + " " +
                   optionalText(m.indexVelocity) + " " + optionalText(m.measuredArea) + " " +
                   std::string(measurementUseName(m.use)) + " " + m.comment + " @" +
                   std::to_string(m.line);
        return out;
    } catch (const Error& e) {
        return e.what();
    }
}

TEST(MeasurementFile, ReadersAndTheirMessages) {
    const std::string heading = "number,start,gage_height,discharge,index_velocity\n";
    const std::string rdb = "# //UNITED STATES GEOLOGICAL SURVEY\n#\n"
                            "agency_cd\tsite_no\tmeasurement_nu\tmeasurement_dt\ttz_cd\t"
                            "gage_height_va\tdischarge_va\tchan_area\n"
                            "5s\t15s\t6s\t19d\t6s\t12s\t12s\t12s\n";
    struct Case {
        const char* name;
        std::string bytes;
        std::string expected;
    };
    const Case cases[] = {
        {"every column, quoted comment, empty use is fit",
         "\xEF\xBB\xBFnumber,start,end,gage_height,discharge,index_velocity,measured_area,use,"
         "comment,extra\r\n"
         "7,2024-05-01T10:00,10:40,2.5,31.2,0.61,40.1,,\"Bridge, upstream \"\"side\"\"\",x\r\n"
         "\r\n"
         "8,2024-05-02,2024-05-02T11:00:00Z,-0.25,-3,-0.1,,Exclude,\r\n",
         "csv+vi+area; 7 2024-05-01T10:00 10:40 2.5 31.2 0.61 40.1 fit Bridge, upstream "
         "\"side\" @2; 8 2024-05-02 2024-05-02T11:00:00Z -0.25 -3 -0.1 - exclude  @4"},
        {"names in any case, space for underscore, in any order",
         "Discharge,Gage Height, NUMBER ,Start,Use\n12.5,1.25,M-3,2024-01-01,VALIDATE\n",
         "csv; M-3 2024-01-01 - 1.25 12.5 - - validate  @2"},
        {"a short row leaves its last cells empty",
         "number,start,gage_height,discharge,index_velocity,comment\n1,2024-01-01,1,2\n",
         "csv+vi; 1 2024-01-01 - 1 2 - - fit  @2"},
        {"USGS field-measurement file",
         rdb + "USGS\t01234567\t245\t2019-05-14 10:30\tEDT\t3.12\t512\t210\n"
               "USGS\t01234567\t246\t2019-06-20 09:15:00\tEDT\t2.90\t431\t\n",
         "rdb+area; 245 2019-05-14 10:30 - 3.12 512 - 210 fit  @5; 246 2019-06-20 09:15:00 - "
         "2.9 431 - - fit  @6"},
        {"USGS file without its format row",
         "measurement_nu\tmeasurement_dt\tgage_height_va\tdischarge_va\n9\t2020-01-01\t1\t2\n",
         "rdb; 9 2020-01-01 - 1 2 - - fit  @2"},
        {"no rows", heading, "csv+vi"},
        {"empty file", "", "m.csv: no heading line naming the columns"},
        {"comments only", "# nothing\n#\n", "m.csv: no heading line naming the columns"},
        {"a required column missing", "number,start,discharge\n1,2024-01-01,5\n",
         "m.csv: no column named gage_height or gage_height_va in the heading (line 1)"},
        {"bad number", heading + "1,2024-01-01,1.2.3,5,1\n",
         "m.csv, line 2, column gage_height: '1.2.3' is not a valid floating point value"},
        {"two signs", heading + "1,2024-01-01,+-1,2,1\n",
         "m.csv, line 2, column gage_height: '+-1' is not a valid floating point value"},
        {"NaN is no number", heading + "1,2024-01-01,1,nan,1\n",
         "m.csv, line 2, column discharge: 'nan' is not a valid floating point value"},
        {"past the range of numbers", heading + "1,2024-01-01,1,2,1e400\n",
         "m.csv, line 2, column index_velocity: '1e400' is not a valid floating point value"},
        {"empty required value", heading + "1,2024-01-01,1, ,1\n",
         "m.csv, line 2, column discharge: the value is empty"},
        {"no number", heading + ",2024-01-01,1,2,1\n",
         "m.csv, line 2, column number: the measurement has no number"},
        {"time not ISO 8601", heading + "1,05/14/2019,1,2,1\n",
         "m.csv, line 2, column start: '05/14/2019' is not an ISO 8601 date or date and time "
         "(YYYY-MM-DD, YYYY-MM-DDThh:mm or YYYY-MM-DD hh:mm:ss)"},
        {"end neither a time nor a time of day",
         "number,start,end,gage_height,discharge\n1,2024-01-01,25:00,1,2\n",
         "m.csv, line 2, column end: '25:00' is not an ISO 8601 date and time or a time of day "
         "(hh:mm)"},
        {"unknown use", "number,start,gage_height,discharge,Use\n1,2024-01-01,1,2,maybe\n",
         "m.csv, line 2, column Use: 'maybe' is not fit, validate or exclude"},
        {"a line without end", heading + std::string(70000, '7'),
         "m.csv, line 2: the line is longer than 65536 characters"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(describe(c.bytes), c.expected) << c.name;
}

TEST(MeasurementFile, FitMeasurementsNeedAnIndexVelocity) {
    const auto check = [](const std::string& bytes) {
        LineReader reader = LineReader::overBytes(bytes);
        try {
            requireFitIndexVelocities(readMeasurements(reader, "m.csv"));
            return std::string("ok");
        } catch (const Error& e) {
            return std::string(e.what());
        }
    };
    const std::string heading = "number,start,gage_height,discharge,Index Velocity,use\n";
    EXPECT_EQ(check(heading + "1,2024-01-01,1,2,0.5,fit\n2,2024-01-02,1,2,,exclude\n"), "ok");
    EXPECT_EQ(check(heading + "1,2024-01-01,1,2,0.5,\n2,2024-01-02,1,2,,\n"),
              "m.csv, line 3, column Index Velocity: measurement 2 is fitted but has no index "
              "velocity (give one, or use exclude)");
    EXPECT_EQ(check("measurement_nu\tmeasurement_dt\tgage_height_va\tdischarge_va\n"
                    "9\t2020-01-01\t1\t2\n"),
              "m.csv: no column named index_velocity; the velocity rating needs the index "
              "velocity of every fit measurement (a USGS measurement file has none: add the "
              "column)");
}

// What the window saves reads back as it was: texts with commas and quotes, cells left empty,
// every use, times of day as ends.
TEST(MeasurementFile, SavedMeasurementsReadBack) {
    const std::string bytes =
        "number,start,end,gage_height,discharge,index_velocity,measured_area,use,comment\n"
        "7,2024-05-01T10:00,10:40,2.5,31.2,0.61,40.1,fit,\"Bridge, upstream \"\"side\"\"\"\n"
        "8,2024-05-02,,-0.25,-3,,,exclude,Ice\n"
        "A-9,2024-05-03 08:00,2024-05-03T09:00Z,1e-3,0.5,0.2,,validate,\n";
    const std::string first = describe(bytes);
    LineReader reader = LineReader::overBytes(bytes);
    const std::string saved = measurementFileBytes(readMeasurements(reader, "m.csv").measurements);
    EXPECT_EQ(describe(saved), first);
    EXPECT_EQ(saved.substr(0, saved.find('\r')),
              "number,start,end,gage_height,discharge,index_velocity,measured_area,use,comment");
}

// The record's rows through the whole discharge road: what each row gives, and the count of
// rows with a gap. The section is a rectangle 10 wide (area 10 h), V = 0.5 + 2 Vi.
TEST(DischargeRecordFile, RowsWithGapsGiveEmptyFields) {
    const double stations[] = {0, 10};
    const double elevations[] = {5, 5};
    const RecordSection section{stations, elevations, -5.0};
    VelocityEquation equation;
    equation.coefficients = {0.5, 2.0};
    const auto run = [&](const std::string& bytes, bool daily, RecordSummary& summary) {
        LineReader reader = LineReader::overBytes(bytes);
        std::string out;
        summary = writeDischargeRecord(reader, "r.csv", section, equation, daily,
                                       [&out](std::string_view piece) { out += piece; });
        return out;
    };
    const std::string record = "Index_Velocity,Time,other,Gage Height\r\n"
                               "1,2024-03-01T00:00,x,2\r\n"
                               "\"0.5\",2024-03-01T12:00,x,\" 1.50 \"\r\n"
                               ",2024-03-01T18:00,x,1\r\n"
                               "0.25,2024-03-02 06:00,x,abc\r\n"
                               "0.25,yesterday,x,1\r\n"
                               "nan,2024-03-02T07:00,x,1e400\r\n"
                               "1,2024-03-03T08:00+02:00\r\n";
    RecordSummary summary;
    EXPECT_EQ(run(record, false, summary),
              "time,gage_height,index_velocity,area,mean_velocity,discharge\r\n"
              "2024-03-01T00:00,2,1,20,2.5,50\r\n"
              "2024-03-01T12:00,1.50,0.5,15,1.5,22.5\r\n"
              "2024-03-01T18:00,1,,10,,\r\n"
              "2024-03-02 06:00,,0.25,,1,\r\n"
              ",1,0.25,10,1,10\r\n"
              "2024-03-02T07:00,,,,,\r\n"
              "2024-03-03T08:00+02:00,,1,,2.5,\r\n");
    EXPECT_EQ(summary.rows, 7);
    EXPECT_EQ(summary.rowsWithGaps, 5);
    EXPECT_EQ(summary.firstGapLine, 4);
    EXPECT_EQ(summary.highestGageHeight, 2);
    EXPECT_EQ(recordGapsLine("r.csv", summary),
              "r.csv: 5 of 7 rows have an empty or unreadable value or a result out of range "
              "(the first on line 4); the fields that depend on it are left empty.\n");
    EXPECT_EQ(run(record, true, summary), "date,mean_discharge,values\r\n"
                                          "2024-03-01,36.25,2\r\n"
                                          "2024-03-02,,0\r\n"
                                          "2024-03-03,,0\r\n");

    for (const std::string& bad : {std::string("time,gage_height\n1,2\n"), std::string()}) {
        try {
            run(bad, false, summary);
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()),
                      bad.empty()
                          ? "r.csv: no column named time in the heading"
                          : "r.csv: no column named index_velocity in the heading (line 1)");
        }
    }
}

} // namespace
} // namespace korvadel
