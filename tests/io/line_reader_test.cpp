// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/LineReader.h"

#include "model/Error.h"
#include "tests/support/WriteTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvadel {
namespace {

using Lines = std::vector<std::string>;

Lines readAllLines(LineReader& reader, std::size_t keep = LineReader::kWhole) {
    Lines lines;
    while (!reader.atEnd()) {
        lines.emplace_back(reader.readLine(keep));
    }
    return lines;
}

struct BreakCase {
    const char* name;
    std::string bytes;
    Lines text;  // with the text breaks of the point readers
    Lines table; // with the breaks of the plain table text
};

const BreakCase kBreakCases[] = {
    {"LF", "a\nb\n", {"a", "b"}, {"a", "b"}},
    {"CR LF", "a\r\nb\r\n", {"a", "b"}, {"a", "b"}},
    {"no final break", "a\nb", {"a", "b"}, {"a", "b"}},
    {"lone CR", "a\rb\nc", {"ab", "c"}, {"a", "b", "c"}},
    {"CR before CR LF", "a\r\r\nb", {"a", "b"}, {"a", "", "b"}},
    {"final CR", "a\r", {"a"}, {"a"}},
    {"blank last line", "a\n\n", {"a", ""}, {"a", ""}},
    {"empty", "", {}, {}},
    {"only a break", "\r\n", {""}, {""}},
    {"code 26 ends the text file",
     "a\nb\x1a"
     "c\nd",
     {"a", "b"},
     {"a",
      "b\x1a"
      "c",
      "d"}},
    {"code 26 after a break", "a\n\x1a\n", {"a"}, {"a", "\x1a"}},
    {"code 26 first",
     "\x1a"
     "abc",
     {},
     {"\x1a"
      "abc"}},
    {"code 0 ends the table text",
     std::string("a\nb\0c\nd", 7),
     {"a", std::string("b\0c", 3), "d"},
     {"a", "b"}},
    {"byte-order mark skipped",
     "\xEF\xBB\xBF"
     "a\nb",
     {"a", "b"},
     {"a", "b"}},
    {"byte-order mark alone", "\xEF\xBB\xBF", {}, {}},
    {"byte-order mark only at the start",
     "\xEF\xBB\xBF\xEF\xBB\xBF"
     "a\n\xEF\xBB\xBF",
     {"\xEF\xBB\xBF"
      "a",
      "\xEF\xBB\xBF"},
     {"\xEF\xBB\xBF"
      "a",
      "\xEF\xBB\xBF"}},
    {"carriage returns alone", "a\r\rb\r", {"a", "", "b"}, {"a", "", "b"}},
    {"line feed only after code 26", "a\rb\x1a\nc", {"a", "b"}, {"a", "b\x1a", "c"}},
};

TEST(LineReader, BreakRulesFromMemory) {
    for (const auto& c : kBreakCases) {
        LineReader text = LineReader::overBytes(c.bytes, LineReader::Breaks::Text);
        EXPECT_EQ(readAllLines(text), c.text) << c.name;
        LineReader table = LineReader::overBytes(c.bytes, LineReader::Breaks::Table);
        EXPECT_EQ(readAllLines(table), c.table) << c.name;
    }
}

// The same rules must hold where a line or a CR LF pair straddles the boundary of two blocks.
TEST(LineReader, BreakRulesAcrossBlockBoundaries) {
    testing::ScratchFolder folder;
    const std::size_t block = LineReader::kBlockSize;
    for (const std::size_t offset : {block - 2, block - 1, block, block + 1}) {
        std::string bytes(offset, 'x');
        bytes += "\r\nnext\rline\r\nlast";
        const std::string path = folder.file("block.txt");
        testing::writeAllTo(path, bytes);
        {
            LineReader reader(path, LineReader::Breaks::Text);
            const Lines lines = readAllLines(reader);
            ASSERT_EQ(lines.size(), 3u) << offset;
            EXPECT_EQ(lines[0], std::string(offset, 'x')) << offset;
            EXPECT_EQ(lines[1], "nextline") << offset;
            EXPECT_EQ(lines[2], "last") << offset;
        }
        {
            LineReader reader(path, LineReader::Breaks::Table);
            const Lines lines = readAllLines(reader);
            ASSERT_EQ(lines.size(), 4u) << offset;
            EXPECT_EQ(lines[0].size(), offset);
            EXPECT_EQ(lines[1], "next");
            EXPECT_EQ(lines[2], "line");
            EXPECT_EQ(lines[3], "last");
        }
    }
}

// Whether a carriage return ends a line depends on a line feed anywhere before the text ends,
// which may lie blocks ahead of the first carriage return.
TEST(LineReader, CarriageReturnsAloneAcrossBlocks) {
    testing::ScratchFolder folder;
    const std::string path = folder.file("mac.txt");
    const std::string filler(2 * LineReader::kBlockSize + 5, 'x');
    struct Case {
        const char* name;
        std::string bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"line feed two blocks on", "a\rb" + filler + "\nc", {"ab" + filler, "c"}},
        {"line feed only after code 26", "a\rb" + filler + "\x1a\nc", {"a", "b" + filler}},
        {"none at all", "a\rb" + filler + "\r", {"a", "b" + filler}},
        {"first carriage return in a later block", filler + "\ra\rb", {filler, "a", "b"}},
        {"byte-order mark",
         "\xEF\xBB\xBF"
         "a\rb\r",
         {"a", "b"}},
    };
    for (const Case& c : cases) {
        testing::writeAllTo(path, c.bytes);
        LineReader reader(path, LineReader::Breaks::Text);
        EXPECT_EQ(readAllLines(reader), c.lines) << c.name;
        // Reading again from the start decides afresh and skips the mark again.
        reader.restart(LineReader::Breaks::Text);
        EXPECT_EQ(readAllLines(reader), c.lines) << c.name;
    }
}

TEST(LineReader, PastTheEndGivesEmptyLinesAndCountsThem) {
    LineReader reader = LineReader::overBytes("a\nb\n");
    EXPECT_EQ(reader.readLine(), "a");
    EXPECT_EQ(reader.lineNumber(), 1);
    reader.skipLine();
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(reader.readLine(), "");
    EXPECT_EQ(reader.lineNumber(), 3);
    reader.skipLines(2'000'000'000);
    EXPECT_EQ(reader.lineNumber(), 2'000'000'003);
    EXPECT_EQ(reader.readLine(), "");
}

TEST(LineReader, KeepsOnlyTheAskedPrefixAndSkipsLeadingBlanks) {
    const std::string bytes = std::string(10, 'a') + "\r\n \t\x01  30 a\r\n" + std::string(5, ' ');
    LineReader reader = LineReader::overBytes(bytes);
    EXPECT_EQ(reader.readLine(4), "aaaa");
    EXPECT_EQ(reader.readLine(LineReader::kWhole, true), "30 a");
    EXPECT_EQ(reader.readLine(LineReader::kWhole, true), "");
    EXPECT_TRUE(reader.atEnd());
}

TEST(LineReader, RestartReadsFromTheFirstByteWithOtherBreaks) {
    LineReader reader = LineReader::overBytes("a\rb\nc");
    EXPECT_EQ(reader.readLine(), "ab");
    reader.restart(LineReader::Breaks::Table);
    EXPECT_EQ(readAllLines(reader), (Lines{"a", "b", "c"}));
}

TEST(LineReader, OpeningFailuresGiveTheFileError) {
    testing::ScratchFolder folder;
    const auto messageFor = [](const std::string& path) -> std::string {
        try {
            LineReader reader(path);
        } catch (const Error& error) {
            return error.what();
        }
        return "(opened)";
    };
    EXPECT_EQ(messageFor(folder.file("missing.txt")), "File not found");
    EXPECT_EQ(messageFor(folder.path().string()), "File access denied");
}

TEST(LineReader, LongLinesFromAFile) {
    testing::ScratchFolder folder;
    const std::string path = folder.file("long.txt");
    const std::string longLine(3 * LineReader::kBlockSize + 17, 'q');
    testing::writeAllTo(path, longLine + "\n" + "1,2\n");
    LineReader reader(path);
    EXPECT_EQ(reader.readLine(255), std::string(255, 'q'));
    EXPECT_EQ(reader.readLine(), "1,2");
    EXPECT_TRUE(reader.atEnd());
    reader.restart(LineReader::Breaks::Text);
    EXPECT_EQ(reader.readLine().size(), longLine.size());
}

} // namespace
} // namespace korvadel
