// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/WmfWriter.h"

#include "io/AtomicFile.h"
#include "model/Error.h"
#include "tests/support/WmfTestSupport.h"
#include "tests/support/WriteTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace korvadel {
namespace {

std::vector<std::uint16_t> words(std::initializer_list<int> values) {
    std::vector<std::uint16_t> result;
    for (int value : values)
        result.push_back(static_cast<std::uint16_t>(value));
    return result;
}

TEST(WmfWriter, PlaceableBoxFollowsTheScreensPhysicalSize) {
    struct Case {
        int width, height, screenWmm, screenHmm, screenWpx, screenHpx, right, bottom;
    };
    // 96 pixels per inch: 1920 px over 508 mm; the box equals the size in pixels.
    // 1366 x 768 over 344 x 194 mm: 451 px -> 11357 hundredths of a mm -> 429 units, and
    // 365 px -> 9220 -> 348.
    const Case cases[] = {
        {451, 365, 508, 286, 1920, 1080, 451, 365},
        {451, 365, 344, 194, 1366, 768, 429, 348},
        {1, 1, 344, 194, 1366, 768, 1, 1},
        {640, 480, 0, 0, 1024, 768, 640, 480}, // no physical size known
    };
    for (const Case& c : cases) {
        const auto box = WmfWriter::placeableBox(c.width, c.height, c.screenWmm, c.screenHmm,
                                                 c.screenWpx, c.screenHpx);
        EXPECT_EQ(box.right, c.right) << c.width << " on " << c.screenWpx;
        EXPECT_EQ(box.bottom, c.bottom) << c.height << " on " << c.screenHpx;
        if (c.screenWmm > 0) {
            // The same two rounded divisions, worked in floating point.
            const long hundredths = std::lround(c.width * 100.0 * c.screenWmm / c.screenWpx);
            EXPECT_EQ(box.right, std::lround(hundredths * 96.0 / 2540.0));
        }
    }
    EXPECT_EQ(mulDivRounded(5, 1, 2), 3);
    EXPECT_EQ(mulDivRounded(7, 1, 2), 4);
    EXPECT_EQ(mulDivRounded(-5, 1, 2), -3);
}

TEST(WmfWriter, HeadersAndRecordsAreWellFormed) {
    WmfWriter writer;
    writer.setMapMode(WmfWriter::kMapModeAnisotropic);
    writer.setWindowOrg(0, 0);
    writer.setWindowExt(451, 365);
    const int pen = writer.createPen(WmfWriter::PenSolid | WmfWriter::PenEndcapSquare, 2,
                                     WmfWriter::rgb(222, 71, 33));
    const int brush = writer.createBrush(WmfWriter::BrushHatched, WmfWriter::rgb(169, 214, 211),
                                         WmfWriter::HatchBDiagonal);
    writer.selectObject(pen);
    writer.selectObject(brush);
    writer.rectangle(10, 20, 30, 40);
    writer.polyline({{1, 2}, {3, 4}, {5, 6}});
    writer.extTextOut(7, 8, "Stage", {5, 5, 5, 5, 5});
    writer.deleteObject(pen);
    WmfWriter::Font font;
    font.height = -12;
    font.faceName = "Sans";
    EXPECT_EQ(writer.createFont(font), pen) << "a freed slot is taken again";

    const std::string bytes = writer.finish(WmfWriter::Box{451, 365});
    const testing::WmfFile file = testing::parseWmf(bytes);
    ASSERT_EQ(file.problem, "");

    // Placeable header, byte for byte.
    const unsigned char placeable[] = {0xD7, 0xCD, 0xC6, 0x9A, 0,  0, 0, 0, 0, 0,
                                       0xC3, 0x01, 0x6D, 0x01, 96, 0, 0, 0, 0, 0};
    EXPECT_EQ(bytes.substr(0, 20), std::string(reinterpret_cast<const char*>(placeable), 20));
    EXPECT_EQ(file.checksum, file.computedChecksum);
    EXPECT_EQ(file.checksum, 0xCDD7 ^ 0x9AC6 ^ 451 ^ 365 ^ 96);

    EXPECT_EQ(file.type, 1);
    EXPECT_EQ(file.headerWords, 9);
    EXPECT_EQ(file.version, 0x0300);
    EXPECT_EQ(file.objects, 2);
    EXPECT_EQ(file.maxRecordWords, file.largestRecordWords);
    EXPECT_EQ(file.members, 0);
    EXPECT_EQ(bytes.substr(bytes.size() - 6), std::string("\x03\0\0\0\0\0", 6));

    ASSERT_EQ(file.records.size(), 13u);
    EXPECT_EQ(file.records[0].function, 0x0103);
    EXPECT_EQ(file.records[0].parameters, words({8}));
    EXPECT_EQ(file.records[2].function, 0x020C);
    EXPECT_EQ(file.records[2].parameters, words({365, 451})) << "y before x";
    EXPECT_EQ(file.records[3].function, 0x02FA);
    EXPECT_EQ(file.records[3].parameters, words({0x0100, 2, 0, 0x47DE, 0x0021}));
    EXPECT_EQ(file.records[4].function, 0x02FC);
    EXPECT_EQ(file.records[4].parameters, words({2, 0xD6A9, 0x00D3, 3}));
    EXPECT_EQ(file.records[7].function, 0x041B);
    EXPECT_EQ(file.records[7].parameters, words({40, 30, 20, 10}));
    EXPECT_EQ(file.records[8].function, 0x0325);
    EXPECT_EQ(file.records[8].parameters, words({3, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(file.records[9].function, 0x0A32);
    EXPECT_EQ(file.records[9].parameters,
              words({8, 7, 5, 0, 'S' | 't' << 8, 'a' | 'g' << 8, 'e', 5, 5, 5, 5, 5}));
    EXPECT_EQ(file.texts(), std::vector<std::string>{"Stage"});
    EXPECT_EQ(file.records[10].function, 0x01F0);
    EXPECT_EQ(file.records[11].function, 0x02FB);
    EXPECT_EQ(file.records[11].parameters.size(), 9u + 3u) << "face name \"Sans\\0\" padded";
}

TEST(WmfWriter, LongLinesAreSplitIntoRecordsThatShareTheirEnds) {
    WmfWriter writer;
    std::vector<WmfWriter::Point> points;
    for (int i = 0; i < 70000; ++i)
        points.push_back(
            {static_cast<std::int16_t>(i % 30000), static_cast<std::int16_t>(i / 30000)});
    writer.polyline(points);
    writer.polygon(points);
    const testing::WmfFile file = testing::parseWmf(writer.finish({100, 100}));
    ASSERT_EQ(file.problem, "");
    ASSERT_EQ(file.count(0x0325), 3u);
    std::size_t total = 0;
    for (const auto& record : file.records)
        if (record.function == 0x0325) {
            EXPECT_LE(record.parameters[0], 0x7FFF);
            total += record.parameters[0];
        }
    EXPECT_EQ(total, 70000u + 2u) << "each split repeats one point";
    ASSERT_EQ(file.count(0x0324), 1u);
    EXPECT_LE(file.records[3].parameters[0], 0x7FFF);
    EXPECT_EQ(file.maxRecordWords, file.largestRecordWords);
}

TEST(WmfWriter, WritesThroughTheSafeFile) {
    testing::ScratchFolder folder;
    const std::string path = folder.file("chart.wmf");
    WmfWriter writer;
    writer.ellipse(1, 2, 3, 4);
    {
        AtomicFile file(path);
        writer.write(file, {10, 10});
    }
    EXPECT_EQ(testing::readAll(path), writer.finish({10, 10}));
}

} // namespace
} // namespace korvadel
