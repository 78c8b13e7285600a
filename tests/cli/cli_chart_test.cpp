// SPDX-License-Identifier: GPL-3.0-or-later
// korvadel-cli chart: the rating chart of a section file as a JPEG or metafile picture, made
// without a display.

#include "tests/support/CliRun.h"
#include "tests/support/WmfTestSupport.h"
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

const std::string kSection = "//Korvadel\r\n"
                             "//Station\tTest reach\r\n"
                             "//GHMinimum\t0\r\n"
                             "//GHMaximum\t5\r\n"
                             "//GHIncrement\t0.5\r\n"
                             "//GHDatum\t0.00\r\n"
                             "Station\tElevation\r\n"
                             "0\t10\r\n"
                             "2\t0\r\n"
                             "8\t0\r\n"
                             "10\t10\r\n";

// Width and height from the first frame header of a JPEG stream, and whether it is baseline.
struct JpegFrame {
    int width = 0, height = 0;
    bool baseline = false;
};

JpegFrame jpegFrame(const std::string& bytes) {
    JpegFrame frame;
    std::size_t at = 2;
    while (at + 9 < bytes.size() && static_cast<unsigned char>(bytes[at]) == 0xFF) {
        const auto marker = static_cast<unsigned char>(bytes[at + 1]);
        const std::size_t length = static_cast<unsigned char>(bytes[at + 2]) << 8 |
                                   static_cast<unsigned char>(bytes[at + 3]);
        if (marker == 0xC0 || marker == 0xC2) {
            frame.baseline = marker == 0xC0;
            frame.height = static_cast<unsigned char>(bytes[at + 5]) << 8 |
                           static_cast<unsigned char>(bytes[at + 6]);
            frame.width = static_cast<unsigned char>(bytes[at + 7]) << 8 |
                          static_cast<unsigned char>(bytes[at + 8]);
            break;
        }
        at += 2 + length;
    }
    return frame;
}

class CliChart : public ::testing::Test {
protected:
    void SetUp() override {
#ifndef KORVADEL_CLI_WITH_UI
        GTEST_SKIP() << "korvadel-cli was built without the desktop libraries";
#endif
        writeAllTo(folder.file("section.kvd"), kSection);
    }
    ScratchFolder folder;
};

TEST_F(CliChart, MetafileShowsTheRatingWithTheDescriptionOverTheTitle) {
    // The description comes as UTF-8 from the command line.
    const CliRun run =
        runCli(folder, {"chart", "section.kvd", "--to", "wmf", "-o", "chart.wmf", "--width", "500",
                        "--height", "400", "--description", "R\xC3\xADo Grande"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, ""); // no platform chatter on a successful run
    const auto file = testing::parseWmf(readAll(folder.file("chart.wmf")));
    ASSERT_EQ(file.problem, "");
    EXPECT_EQ(file.checksum, file.computedChecksum);
    // Without a screen the picture is taken at 96 per inch: the box is its size in pixels.
    EXPECT_EQ(file.right, 500);
    EXPECT_EQ(file.bottom, 400);
    bool window = false;
    for (const auto& record : file.records)
        if (record.function == 0x020C)
            window = record.parameters == std::vector<std::uint16_t>{400, 500};
    EXPECT_TRUE(window) << "the window is the picture in pixels";
    const auto texts = file.texts();
    for (const char* wanted : {"R\xEDo Grande", "Stage Area Rating", "Area", "Stage"})
        EXPECT_NE(std::find(texts.begin(), texts.end(), wanted), texts.end()) << wanted;
    EXPECT_EQ(file.count(0x0418), 11u) << "one marker per stage 0, 0.5, ... 5";
}

TEST_F(CliChart, JpegAtTheGivenOrTheWindowsSize) {
    CliRun run = runCli(folder, {"chart", "section.kvd", "--to", "jpeg", "-o", "chart.jpg",
                                 "--width", "321", "--height", "234"});
    ASSERT_EQ(run.status, 0) << run.err;
    JpegFrame frame = jpegFrame(readAll(folder.file("chart.jpg")));
    EXPECT_EQ(frame.width, 321);
    EXPECT_EQ(frame.height, 234);
    EXPECT_TRUE(frame.baseline);

    run =
        runCli(folder, {"chart", "section.kvd", "--to", "jpeg", "-o", "default.jpg", "--max", "3"});
    ASSERT_EQ(run.status, 0) << run.err;
    frame = jpegFrame(readAll(folder.file("default.jpg")));
    // The chart fills the rating window beside its 205-pixel grid panel.
    EXPECT_GT(frame.width, 300);
    EXPECT_LT(frame.width, 660 - 205);
    EXPECT_GT(frame.height, 300);
    EXPECT_LT(frame.height, 454);
}

TEST_F(CliChart, RefusesWhatItCannotDo) {
    struct Case {
        std::vector<std::string> arguments; // after "chart"
        int status;
        const char* message;
    };
    const Case cases[] = {
        {{"section.kvd", "-o", "x.jpg"}, 2, "--to jpeg or --to wmf"},
        {{"section.kvd", "--to", "png", "-o", "x.png"}, 2, "--to must be jpeg or wmf, not 'png'"},
        {{"section.kvd", "--to", "jpeg"}, 2, "chart needs -o OUT"},
        {{"section.kvd", "--to", "jpeg", "-o", "x.jpg", "--width", "0"},
         2,
         "--width must be from 1"},
        {{"section.kvd", "--to", "wmf", "-o", "x.wmf", "--height", "tall"},
         2,
         "--height must be a whole"},
        {{"section.kvd", "--to", "wmf", "-o", "missing/x.wmf"}, 1, "Cannot create file \""},
        {{"absent.kvd", "--to", "wmf", "-o", "x.wmf"}, 1, ""},
        {{"empty.csv", "--to", "wmf", "-o", "x.wmf"},
         1,
         "korvadel-cli: empty.csv: no cross-section points were read (a rating needs at least "
         "two)\n"},
    };
    writeAllTo(folder.file("empty.csv"), "");
    for (const Case& c : cases) {
        std::vector<std::string> arguments{"chart"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const CliRun run = runCli(folder, arguments);
        EXPECT_EQ(run.status, c.status) << ::testing::PrintToString(c.arguments) << "\n" << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos)
            << ::testing::PrintToString(c.arguments) << "\n"
            << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("x.wmf")));
    EXPECT_FALSE(std::filesystem::exists(folder.file("x.jpg")));
}

} // namespace
} // namespace korvadel
