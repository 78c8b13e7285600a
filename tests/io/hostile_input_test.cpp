// SPDX-License-Identifier: GPL-3.0-or-later
// Inputs no survey produces: enormous lines, control bytes, binary garbage. Every reader must
// answer with a result or a clear message, in bounded memory.

#include "io/CrossSectionFile.h"
#include "io/LineReader.h"
#include "io/PointImport.h"
#include "io/PointReaders.h"
#include "model/CrossSectionDocument.h"
#include "tests/support/ReadTestSupport.h"
#include "tests/support/WriteTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <sys/resource.h>

namespace korvadel {
namespace {

using testing::errorOf;
using testing::Row;
using testing::rowsOf;
using Rows = std::vector<Row>;

long peakKilobytes() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void expectSorted(const PointTable& points) {
    EXPECT_EQ(points.suspendCount(), 0);
    for (std::size_t i = 1; i < points.rowCount(); ++i) {
        EXPECT_LE(points.stationAt(i - 1), points.stationAt(i));
    }
}

// A file of one 96 MB line: each reader gets through it without holding the line.
TEST(HostileInput, HugeLineWithoutBreakNeedsNoMemoryOfItsOwn) {
    testing::ScratchFolder folder;
    const std::string path = folder.file("one-line.txt");
    {
        std::ofstream out(path, std::ios::binary);
        const std::string block(1 << 20, 'x');
        out << "1,2\t";
        for (int i = 0; i < 96; ++i) {
            out << block;
        }
    }
    const long before = peakKilobytes();
    CrossSectionDocument document;
    // A heading without a Station column and nothing else: no section.
    EXPECT_EQ(errorOf([&] { loadCrossSection(path, document); }), noCrossSectionMessage(path));
    EXPECT_EQ(document.points.rowCount(), 0u);
    PointTable points;
    EXPECT_EQ(errorOf([&] { importCommaDelimited(path, points); }),
              std::string("Line 1: '2\t") + std::string(251, 'x') +
                  "' is not a valid floating point value");
    // The three header lines are skipped and nothing follows.
    EXPECT_EQ(errorOf([&] { importWinRiver(path, points); }), "");
    // Far less than the 96 MB line: the readers keep only the start of a line they cut anyway.
    EXPECT_LT(peakKilobytes() - before, 32 * 1024);
}

TEST(HostileInput, LongLinesInEveryReader) {
    const std::string megabyte(1 << 20, '7');
    {
        CrossSectionDocument document;
        const std::string bytes = "Station\t" + megabyte + "\tElevation\n1\t" + megabyte + "\t2\n";
        LineReader reader = LineReader::overBytes(bytes);
        EXPECT_EQ(errorOf([&] { loadCrossSection(reader, document); }), "");
        EXPECT_EQ(rowsOf(document.points), (Rows{{1, 2}}));
    }
    {
        CrossSectionDocument document;
        const std::string bytes = "Station\n" + megabyte + "\n";
        LineReader reader = LineReader::overBytes(bytes);
        const std::string error = errorOf([&] { loadCrossSection(reader, document); });
        EXPECT_EQ(error.rfind("'7777", 0), 0u) << error.substr(0, 40);
        EXPECT_NE(error.find("' is not a valid floating point value for field 'Station'"),
                  std::string::npos);
        EXPECT_LT(error.size(), 5000u);
    }
    {
        PointTable points;
        const std::string bytes = "3,4," + megabyte + "\r\n1,2\r\n";
        LineReader reader = LineReader::overBytes(bytes);
        importCommaDelimited(reader, points);
        EXPECT_EQ(rowsOf(points), (Rows{{1, 2}, {3, 4}}));
    }
    {
        PointTable points;
        const std::string bytes = "h\nh\nh\ne\n0 1 2 3 4 5 6 7 1 1 1 1\n0 1 2 3 9\n4\n5\n" +
                                  std::string(100000, ' ') + "1 x\n" + megabyte + "\n";
        LineReader reader = LineReader::overBytes(bytes);
        importWinRiver(reader, points);
        EXPECT_EQ(rowsOf(points), (Rows{{9, -1}}));
    }
}

TEST(HostileInput, ControlBytesInsideLines) {
    PointTable points;
    const std::string withNul("1,2\0junk\n3,4\n", 13);
    LineReader nul = LineReader::overBytes(withNul);
    // The message holds the field as split; a NUL shows as '?' so the message is not cut there.
    EXPECT_EQ(errorOf([&] { importCommaDelimited(nul, points); }),
              "Line 1: '2?junk' is not a valid floating point value");
    LineReader control = LineReader::overBytes("1,2\x01x\n");
    EXPECT_EQ(errorOf([&] { importCommaDelimited(control, points); }),
              "Line 1: '2\x01x' is not a valid floating point value");
    EXPECT_EQ(points.rowCount(), 0u);

    LineReader eof = LineReader::overBytes("1,2\n3,4\x1a\n5,6\n");
    EXPECT_EQ(errorOf([&] { importCommaDelimited(eof, points); }), "");
    EXPECT_EQ(rowsOf(points), (Rows{{1, 2}, {3, 4}}));
}

// Random bytes, and random damage to the sample files: a result or a message, never a crash,
// and the table always sorted with its views resumed.
TEST(HostileInput, BinaryGarbageAndDamagedSamples) {
    std::mt19937 random(77);
    std::vector<std::string> inputs;
    for (int i = 0; i < 40; ++i) {
        std::string bytes(static_cast<std::size_t>(random() % 4000), '\0');
        for (char& c : bytes) {
            c = static_cast<char>(random());
        }
        inputs.push_back(bytes);
    }
    for (const char* name : {"/mill-creek.kvd", "/bear-river.csv", "/clearwater_000t.000"}) {
        std::ifstream in(std::string(KORVADEL_EXAMPLES) + name, std::ios::binary);
        const std::string sample((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
        for (int i = 0; i < 20; ++i) {
            std::string damaged = sample.substr(0, random() % (sample.size() + 1));
            for (int k = 0; k < 8 && !damaged.empty(); ++k) {
                damaged[random() % damaged.size()] = static_cast<char>(random());
            }
            inputs.push_back(damaged);
        }
    }
    for (const std::string& bytes : inputs) {
        CrossSectionDocument document;
        LineReader a = LineReader::overBytes(bytes);
        errorOf([&] { loadCrossSection(a, document); });
        expectSorted(document.points);
        PointTable points;
        LineReader b = LineReader::overBytes(bytes);
        errorOf([&] { importCommaDelimited(b, points); });
        expectSorted(points);
        LineReader c = LineReader::overBytes(bytes);
        errorOf([&] { importWinRiver(c, points); });
        expectSorted(points);
    }
}

} // namespace
} // namespace korvadel
