// SPDX-License-Identifier: GPL-3.0-or-later
// Files nobody should ever hand the program, handed to every reader: enormous lines, NUL bytes,
// binary garbage, ten million lines, numbers past the double range. Each read runs in a child
// process so that a crash, a hang (alarm) or a reader that holds a whole file in memory (the
// child's peak resident size from wait4) is seen as a failure of that case instead of taking
// the test program down. The figures of every case are printed.

#include "io/CrossSectionFile.h"
#include "io/DischargeRecordFile.h"
#include "io/LineReader.h"
#include "io/MeasurementFile.h"
#include "io/PointImport.h"
#include "io/PointReaders.h"
#include "model/CrossSectionDocument.h"
#include "model/Error.h"
#include "model/PointTable.h"
#include "model/VelocityRating.h"
#include "tests/support/WriteTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace korvadel {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

constexpr std::int64_t kGigabyte = std::int64_t{1} << 30;
// What a reader may add to the resident size of the process it runs in. Holding a 1 GB line
// (or a tenth of the garbage file per byte) goes far past either figure; the sanitizer's
// quarantine and shadow memory need the larger one.
constexpr long kRssAllowanceKb = kSanitized ? 640 * 1024 : 160 * 1024;
constexpr unsigned kTimeLimitSeconds = kSanitized ? 120 : 30;

// ---------------------------------------------------------------------------------------------
// Running a reader in a child

struct Outcome {
    bool exited = false; // the child ran to its end (otherwise `signal` killed it)
    int signal = 0;
    std::string result; // "rows N" or "rows N; <message>"
    long rssKb = 0;     // the child's peak resident size
    double seconds = 0;
};

Outcome runInChild(const std::function<std::string()>& body) {
    int fds[2];
    if (::pipe(fds) != 0) {
        std::abort();
    }
    std::fflush(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid < 0) {
        std::abort();
    }
    if (pid == 0) {
        ::close(fds[0]);
        ::alarm(kTimeLimitSeconds);
        std::string result;
        try {
            result = body();
        } catch (const std::exception& e) {
            // An Error would have been caught by the body: anything else escaping a reader is
            // no message a user could read.
            result = std::string("unexpected exception: ") + e.what();
        }
        const char* p = result.data();
        std::size_t left = result.size();
        while (left > 0) {
            const ssize_t n = ::write(fds[1], p, left);
            if (n <= 0) {
                break;
            }
            p += n;
            left -= static_cast<std::size_t>(n);
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    Outcome outcome;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        outcome.result.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    int status = 0;
    rusage usage{};
    while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    outcome.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    outcome.rssKb = usage.ru_maxrss;
    outcome.exited = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    outcome.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return outcome;
}

// The resident size a child starts with (it shares the test program's pages).
long baselineRssKb() {
    return runInChild([] { return std::string(); }).rssKb;
}

// A message as the error box would show it, with control characters made visible so that the
// printed figures stay readable.
std::string printable(const std::string& text, std::size_t limit = 160) {
    std::string out;
    for (char c : text.substr(0, limit)) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 32 || u == 127) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", u);
            out += hex;
        } else {
            out += c;
        }
    }
    if (text.size() > limit) {
        out += "...";
    }
    return out;
}

// A table left by a reader must keep the table's own promises whatever the input was.
std::string tableProblems(PointTable& points) {
    if (points.suspendCount() != 0) {
        return "views still suspended";
    }
    if (points.state() != PointTable::State::Browsing) {
        return "a row is still pending";
    }
    const auto stations = points.stations();
    if (stations.size() != points.rowCount()) {
        return "row count and stations disagree";
    }
    if (!std::is_sorted(stations.begin(), stations.end())) {
        return "stations not ascending";
    }
    return {};
}

enum class Reader { CrossSection, CommaDelimited, Adcp, Measurements, Record };

const char* nameOf(Reader reader) {
    switch (reader) {
    case Reader::CrossSection:
        return "cross-section load";
    case Reader::CommaDelimited:
        return "comma-delimited import";
    case Reader::Adcp:
        return "ADCP import";
    case Reader::Measurements:
        return "measurements";
    case Reader::Record:
        return "discharge record";
    }
    return "";
}

// The readers of named columns: measurements read, or record rows turned into discharge (the
// output counted and dropped).
std::string readNamedColumns(Reader reader, const std::string& path) {
    std::size_t rows = 0;
    std::string message;
    try {
        // Named "input" in the messages, so that they can be pinned.
        LineReader lines(path);
        if (reader == Reader::Measurements) {
            rows = readMeasurements(lines, "input").measurements.size();
        } else {
            const double stations[] = {0, 10};
            const double elevations[] = {0, 0};
            VelocityEquation equation;
            equation.coefficients = {0.1, 0.9};
            std::uint64_t written = 0;
            rows = static_cast<std::size_t>(
                writeDischargeRecord(
                    lines, "input", {stations, elevations, 0.0}, equation, false,
                    [&written](std::string_view bytes) { written += bytes.size(); })
                    .rows);
        }
    } catch (const Error& e) {
        message = e.what();
    }
    return "rows " + std::to_string(rows) + (message.empty() ? "" : "; " + message);
}

// "rows N" when the read finished, "rows N; <message>" when it stopped with an error.
std::string readWith(Reader reader, const std::string& path) {
    if (reader == Reader::Measurements || reader == Reader::Record)
        return readNamedColumns(reader, path);
    CrossSectionDocument document;
    PointTable& points = document.points;
    std::string message;
    try {
        switch (reader) {
        case Reader::CrossSection:
            loadCrossSection(path, document);
            break;
        case Reader::CommaDelimited:
            importCommaDelimited(path, points);
            break;
        case Reader::Adcp:
            importWinRiver(path, points);
            break;
        case Reader::Measurements:
        case Reader::Record:
            break;
        }
    } catch (const Error& e) {
        message = e.what();
    }
    const std::string problems = tableProblems(points);
    if (!problems.empty()) {
        return "table broken: " + problems;
    }
    std::string result = "rows " + std::to_string(points.rowCount());
    if (!message.empty()) {
        result += "; " + message;
    }
    return result;
}

// ---------------------------------------------------------------------------------------------
// Files

// Writes a file from chunks the producer appends to `chunk` until it returns false; the file
// never sits in memory whole.
void writeChunks(const std::string& path, const std::function<bool(std::string& chunk)>& next) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0) << path;
    std::string chunk;
    bool more = true;
    while (more) {
        chunk.clear();
        more = next(chunk);
        const char* p = chunk.data();
        std::size_t left = chunk.size();
        while (left > 0) {
            const ssize_t n = ::write(fd, p, left);
            ASSERT_GT(n, 0) << "writing " << path;
            p += n;
            left -= static_cast<std::size_t>(n);
        }
    }
    ::close(fd);
}

void writeBytes(const std::string& path, const std::string& bytes) {
    bool done = false;
    writeChunks(path, [&](std::string& chunk) {
        if (!done) {
            chunk = bytes;
        }
        done = true;
        return false;
    });
}

// `size` bytes of `pattern` repeated, without a line break unless the pattern has one.
void writeRepeated(const std::string& path, const std::string& pattern, std::int64_t size) {
    std::string block;
    while (block.size() < (std::size_t{1} << 20)) {
        block += pattern;
    }
    block.resize((std::size_t{1} << 20) / pattern.size() * pattern.size());
    std::int64_t left = size;
    writeChunks(path, [&](std::string& chunk) {
        const auto take = static_cast<std::size_t>(std::min<std::int64_t>(left, block.size()));
        chunk.assign(block, 0, take);
        left -= static_cast<std::int64_t>(take);
        return left > 0;
    });
}

// A file of `size` NUL bytes that takes no time and no disk to make.
void writeSparse(const std::string& path, std::int64_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, size), 0);
    ::close(fd);
}

// One ensemble of the ADCP Classic ASCII layout: six lines and `bins` bin lines, of which
// `claimed` are announced on line 6.
void appendEnsemble(std::string& out, int index, int bins, std::int64_t claimed,
                    const char* depths = nullptr) {
    char defaultDepths[64];
    std::snprintf(defaultDepths, sizeof defaultDepths, "%.2f %.2f 2.20 2.30",
                  2.0 + (index % 7) * 0.1, 2.1 + (index % 5) * 0.1);
    if (depths == nullptr) {
        depths = defaultDepths;
    }
    char text[1024];
    std::snprintf(text, sizeof text,
                  " 24  5 17 10 12 %2d %2d %5d 1 0 0\n"
                  " -0.41 1.02 182.31 -1.83 2.10 25.1 0.00 0.00 %s\n"
                  " 1.45 0.00 %.2f 0.00 %.2f\n"
                  " 0.25 0.50 0.5 0.25 5.81\n"
                  " 12.4 3.3 0.0 0.0 0.0 0.0 0.0\n"
                  "%lld cm BT dB 0.43 0.43\n",
                  index % 60, index % 100, index, depths, index * 0.5, index * 0.5,
                  static_cast<long long>(claimed));
    out += text;
    for (int b = 0; b < bins; ++b) {
        out += " 0.5 9 -32768\n";
    }
}

std::string adcpHeader() {
    return "Korvadel synthetic transect\nBack Scatter in dB\n 25 400 10 1 4 1 1 1\n";
}

// ---------------------------------------------------------------------------------------------
// The cases

// The cross-section reader's refusal of a file that holds no section, for the file at hand.
const std::string kNoSection = "no section";

struct Expected {
    Reader reader;
    // The exact outcome, or empty when only "no crash, a message or a clean result" is known.
    std::string result;
};

struct HostileCase {
    const char* name;
    std::function<void(const std::string& path)> make;
    std::vector<Expected> expected;
};

void runCases(const std::vector<HostileCase>& cases) {
    testing::ScratchFolder folder;
    for (const HostileCase& hostile : cases) {
        const std::string path = folder.file("input");
        const auto made = std::chrono::steady_clock::now();
        hostile.make(path);
        if (::testing::Test::HasFatalFailure()) {
            return;
        }
        const double makeSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - made).count();
        std::error_code ignored;
        const auto size = std::filesystem::file_size(path, ignored);
        // Making the file may have grown the test program, whose pages the child shares.
        const long baseline = baselineRssKb();
        std::printf("[ hostile ] %s: %llu bytes, made in %.2f s\n", hostile.name,
                    static_cast<unsigned long long>(size), makeSeconds);
        for (const Expected& expected : hostile.expected) {
            SCOPED_TRACE(std::string(hostile.name) + ", " + nameOf(expected.reader));
            const Outcome outcome = runInChild([&] { return readWith(expected.reader, path); });
            const long grownKb = std::max(0L, outcome.rssKb - baseline);
            std::printf("[ hostile ]   %-22s %7.2f s  peak +%6ld KiB  %s\n",
                        nameOf(expected.reader), outcome.seconds, grownKb,
                        outcome.exited ? printable(outcome.result).c_str()
                                       : (outcome.signal == SIGALRM ? "TIMED OUT" : "CRASHED"));
            EXPECT_TRUE(outcome.exited) << "signal " << outcome.signal;
            EXPECT_LE(grownKb, kRssAllowanceKb);
            EXPECT_EQ(outcome.result.find("unexpected exception"), std::string::npos)
                << outcome.result;
            EXPECT_EQ(outcome.result.find("table broken"), std::string::npos) << outcome.result;
            EXPECT_EQ(outcome.result.rfind("rows ", 0), 0u) << outcome.result;
            if (expected.result == kNoSection) {
                EXPECT_EQ(outcome.result, "rows 0; " + noCrossSectionMessage(path));
            } else if (!expected.result.empty()) {
                EXPECT_EQ(outcome.result, expected.result);
            }
        }
        std::filesystem::remove(path, ignored);
    }
}

TEST(HostileFiles, OneGigabyteWithoutALineBreak) {
    runCases({
        {"1 GB of digits, no line break",
         [](const std::string& path) { writeRepeated(path, "1234567890", kGigabyte); },
         {{Reader::CrossSection, kNoSection},
          {Reader::CommaDelimited, "rows 0; List index out of bounds (1)"},
          {Reader::Adcp, "rows 0"},
          {Reader::Measurements, "rows 0; input, line 1: the line is longer than 65536 characters"},
          {Reader::Record, "rows 0; input, line 1: the line is longer than 65536 characters"}}},
        // The plain table splits at TABs: a line of a billion empty pieces.
        {"1 GB of TABs, no line break",
         [](const std::string& path) { writeRepeated(path, "\t", kGigabyte); },
         {{Reader::CrossSection, kNoSection},
          {Reader::CommaDelimited, "rows 0; List index out of bounds (1)"},
          {Reader::Adcp, "rows 0"}}},
        // NUL ends the plain table's text at once; every other reader sees one enormous line.
        {"1 GB of NUL bytes (sparse)",
         [](const std::string& path) { writeSparse(path, kGigabyte); },
         {{Reader::CrossSection, kNoSection},
          {Reader::CommaDelimited, "rows 0; List index out of bounds (1)"},
          {Reader::Adcp, "rows 0"}}},
    });
}

// Runs of TABs in a plain table are taken a run at a time; each TAB still counts as a column.
TEST(HostileFiles, PlainTableRunsOfTabs) {
    struct Case {
        const char* bytes;
        std::string result;
    };
    const std::vector<Case> cases = {
        {"Station\t\t\tElevation\n1\t\t\t2\n", "rows 1"},
        {"\t\tStation\tElevation\n\t\t1\t2\n\t\t3\n", "rows 2"},
        {"Station\tElevation\n1\t2\t\t\n", "rows 0; List index out of bounds (2)"},
        {"Station\tElevation\n1\t\t\t\t\t\n", "rows 0; List index out of bounds (2)"},
        {"Station\t\t\t\n1\t\t\t\t2\n", "rows 0; List index out of bounds (3)"},
        {"\t\t\t\nx\t\t\t\n", "rows 0; " + noCrossSectionMessage("")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(printable(c.bytes));
        CrossSectionDocument document;
        LineReader reader = LineReader::overBytes(c.bytes);
        std::string result;
        try {
            loadCrossSection(reader, document);
        } catch (const Error& e) {
            result = std::string("; ") + e.what();
        }
        EXPECT_EQ("rows " + std::to_string(document.points.rowCount()) + result, c.result);
    }
}

TEST(HostileFiles, NulAndEndOfFileCharactersMidLine) {
    const std::string kvd = "//Korvadel\r\n//Station\tX\r\n//GHMinimum\t0\r\n//GHMaximum\t1\r\n"
                            "//GHIncrement\t0.5\r\n//GHDatum\t0\r\nStation\tElevation\r\n";
    runCases({
        {"code 26 in a comma-delimited point line",
         [](const std::string& path) { writeBytes(path, "0,10\r\n5,2\x1a,junk\r\n10,10\r\n"); },
         // Read as a plain table, whose code 26 is an ordinary character: no column is named
         // Station, so the file holds no section.
         {{Reader::CommaDelimited, "rows 2"}, {Reader::CrossSection, kNoSection}}},
        {"code 26 in a cross-section point line",
         [&](const std::string& path) {
             writeBytes(path, kvd + "0\t5\r\n10\t2\x1a"
                                    "5\r\n");
         },
         {{Reader::CrossSection, "rows 2"}}},
        {"NUL inside a cross-section point",
         [&](const std::string& path) {
             writeBytes(path, kvd + "0\t5\r\n1" + std::string(1, '\0') + "0\t2\r\n");
         },
         {{Reader::CrossSection, "rows 1; Line 9: '1?0' is not a valid floating point value"}}},
        {"NUL in a plain table ends its text",
         [](const std::string& path) {
             writeBytes(path, "Station\tElevation\n1\t2\n3\t" + std::string(1, '\0') + "4\n5\t6\n");
         },
         {{Reader::CrossSection, "rows 2"}}},
        // The message names the field; a NUL would cut it short where the error box shows it.
        {"NUL in an ADCP depth",
         [](const std::string& path) {
             std::string text = adcpHeader();
             appendEnsemble(text, 1, 2, 2, "2.0 2#.2 2.2 2.3");
             text[text.find('#')] = '\0';
             writeBytes(path, text);
         },
         {{Reader::Adcp, "rows 0; Line 5: '2?.2' is not a valid floating point value"}}},
        {"code 26 in an ADCP depth line",
         [](const std::string& path) {
             std::string text = adcpHeader();
             appendEnsemble(text, 1, 2, 2, "2.0 2.1\x1a 2.2 2.3");
             writeBytes(path, text);
         },
         {{Reader::Adcp, "rows 0; List index out of bounds (10)"}}},
        {"code 26 ends an ADCP file inside an ensemble",
         [](const std::string& path) {
             std::string text = adcpHeader();
             appendEnsemble(text, 1, 2, 2);
             appendEnsemble(text, 2, 2, 2);
             text.insert(text.rfind("cm BT"), "\x1a");
             writeBytes(path, text);
         },
         // The second ensemble's line 6 ends at code 26 with its count and no space after it.
         {{Reader::Adcp, "rows 1; '' is not a valid integer value"}}},
    });
}

TEST(HostileFiles, BinaryGarbage) {
    std::vector<HostileCase> cases;
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        // Some garbage with many line breaks, some with few; some with code 26, some without.
        const std::size_t size = std::size_t{16} << 20;
        cases.push_back({"16 MB of random bytes",
                         [seed, size](const std::string& path) {
                             std::mt19937_64 random(seed);
                             std::size_t left = size;
                             writeChunks(path, [&](std::string& chunk) {
                                 chunk.resize(std::min<std::size_t>(left, 1 << 20));
                                 for (char& c : chunk) {
                                     c = static_cast<char>(random());
                                     if (seed % 2 == 0 && (c == 26 || c == 0)) {
                                         c = 'x'; // let the readers see the whole file
                                     }
                                     if (seed >= 3 && c == '\n') {
                                         c = ' '; // very long lines
                                     }
                                 }
                                 left -= chunk.size();
                                 return left > 0;
                             });
                         },
                         {{Reader::CrossSection, ""},
                          {Reader::CommaDelimited, ""},
                          {Reader::Adcp, ""},
                          {Reader::Measurements, ""},
                          {Reader::Record, ""}}});
    }
    // Behind a heading that the readers of named columns accept, so that the rows are read.
    cases.push_back({"a heading, then 16 MB of random bytes",
                     [](const std::string& path) {
                         std::mt19937_64 random(5);
                         bool first = true;
                         std::size_t left = std::size_t{16} << 20;
                         writeChunks(path, [&](std::string& chunk) {
                             if (first)
                                 chunk = "number,start,gage_height,discharge,time,"
                                         "index_velocity\n";
                             first = false;
                             for (std::size_t i = 0; i < (1u << 20); ++i)
                                 chunk += static_cast<char>(random() % 7 == 0 ? ',' : random());
                             left -= 1u << 20;
                             return left > 0;
                         });
                     },
                     {{Reader::Measurements, ""}, {Reader::Record, ""}}});
    std::printf("[ hostile ] seeds 1 to 5 of std::mt19937_64\n");
    runCases(cases);
}

TEST(HostileFiles, TenMillionLineAdcpWithBinCountsPastTheEnd) {
    const std::int64_t lines = kSanitized ? 3'000'000 : 10'000'000;
    const int binsPerEnsemble = 30;
    const std::int64_t ensembles = (lines - 3) / (6 + binsPerEnsemble);
    const auto make = [=](std::int64_t lastClaim, int extraClaim) {
        return [=](const std::string& path) {
            std::int64_t index = 0;
            bool header = true;
            writeChunks(path, [&](std::string& chunk) {
                if (header) {
                    chunk += adcpHeader();
                    header = false;
                }
                while (chunk.size() < (1u << 20) && index < ensembles) {
                    const bool last = index + 1 == ensembles;
                    appendEnsemble(chunk, static_cast<int>(index), binsPerEnsemble,
                                   last ? lastClaim : binsPerEnsemble + extraClaim);
                    ++index;
                }
                return index < ensembles;
            });
        };
    };
    const std::string all = "rows " + std::to_string(ensembles);
    runCases({
        {"ADCP, the last ensemble claims 2147483647 bins",
         make(2147483647, 0),
         {{Reader::Adcp, all}, {Reader::CommaDelimited, ""}, {Reader::CrossSection, ""}}},
        {"ADCP, the last ensemble claims ten million bins more than the file has",
         make(binsPerEnsemble + lines, 0),
         {{Reader::Adcp, all}}},
        // One bin too many: the second ensemble is read one line late, so its line 3 (five
        // fields) is taken for the depth line.
        {"ADCP, every ensemble claims one bin more than it has",
         make(binsPerEnsemble + 1, 1),
         {{Reader::Adcp, "rows 1; List index out of bounds (8)"}}},
    });
}

TEST(HostileFiles, NumbersPastTheDoubleRange) {
    const std::string kvdHeader =
        "//Korvadel\r\n//Station\tX\r\n//GHMinimum\t0\r\n//GHMaximum\t1\r\n"
        "//GHIncrement\t0.5\r\n//GHDatum\t0\r\nStation\tElevation\r\n";
    const auto adcpWithDepths = [](const std::string& depths) {
        return [depths](const std::string& path) {
            std::string text = adcpHeader();
            appendEnsemble(text, 1, 1, 1, depths.c_str());
            writeBytes(path, text);
        };
    };
    runCases({
        {"NaN, infinities and 1e400 in a record, a million rows",
         [](const std::string& path) {
             std::string text = "time,gage_height,index_velocity\n";
             for (int i = 0; i < 1'000'000; ++i)
                 text += i % 4 == 0   ? "2024-01-01T00:00,nan,inf\n"
                         : i % 4 == 1 ? "2024-01-01T00:01,1e400,-1e400\n"
                         : i % 4 == 2 ? "2024-01-01T00:02,1e300,1e300\n"
                                      : "2024-01-01T00:03,1.5,0.5\n";
             writeBytes(path, text);
         },
         {{Reader::Record, "rows 1000000"}}},
        {"1e400 in a measurement file",
         [](const std::string& path) {
             writeBytes(path, "number,start,gage_height,discharge\n1,2024-01-01,1e400,2\n");
         },
         {{Reader::Measurements,
           "rows 0; input, line 2, column gage_height: '1e400' is not a valid floating point "
           "value"}}},
        {"1e400 in a comma-delimited file",
         [](const std::string& path) { writeBytes(path, "0,1\n1e400,2\n"); },
         {{Reader::CommaDelimited, "rows 1; Floating point overflow"}}},
        {"1e-400 in a comma-delimited file",
         [](const std::string& path) { writeBytes(path, "1e-400,-1e-400\n"); },
         {{Reader::CommaDelimited, "rows 1"}}},
        {"1e400 as a cross-section point",
         [&](const std::string& path) { writeBytes(path, kvdHeader + "0\t1\r\n-1e400\t2\r\n"); },
         {{Reader::CrossSection, "rows 1; Floating point overflow"}}},
        {"1e400 as the cross-section increment",
         [](const std::string& path) {
             writeBytes(path, "//Korvadel\r\n//Station\tX\r\n//GHMinimum\t0\r\n//GHMaximum\t1\r\n"
                              "//GHIncrement\t1e400\r\n//GHDatum\t0\r\nStation\tElevation\r\n");
         },
         {{Reader::CrossSection, "rows 0; '1e400' is not a valid floating point value"}}},
        {"1e400 and 1e-400 in a plain table",
         [](const std::string& path) {
             writeBytes(path, "Station\tElevation\n1e-400\t1\n1e400\t2\n");
         },
         {{Reader::CrossSection,
           "rows 1; '1e400' is not a valid floating point value for field 'Station'"}}},
        {"1e400 as an ADCP depth",
         adcpWithDepths("2.0 1e400 2.0 2.0"),
         {{Reader::Adcp, "rows 0; Floating point overflow"}}},
        {"ADCP depths whose sum passes the double range",
         adcpWithDepths("1.7e308 1.7e308 1.7e308 1.7e308"),
         {{Reader::Adcp, "rows 0; Floating point overflow"}}},
        // Each reads as zero, which is no depth a beam measures: the ensemble gives no point.
        {"1e-400 as ADCP depths",
         adcpWithDepths("1e-400 1e-400 1e-400 1e-400"),
         {{Reader::Adcp, "rows 0"}}},
    });
}

TEST(HostileFiles, BinCountsAtTheEdgeOfTheIntegerRange) {
    const auto adcpWithCount = [](const std::string& count) {
        return [count](const std::string& path) {
            std::string text = adcpHeader();
            appendEnsemble(text, 1, 3, 3);
            appendEnsemble(text, 2, 3, 3);
            const std::size_t line6 = text.find("3 cm BT");
            text.replace(line6, 1, count);
            writeBytes(path, text);
        };
    };
    runCases({
        {"bin count 2147483647", adcpWithCount("2147483647"), {{Reader::Adcp, "rows 1"}}},
        {"bin count $7FFFFFFF", adcpWithCount("$7FFFFFFF"), {{Reader::Adcp, "rows 1"}}},
        {"bin count 2147483648",
         adcpWithCount("2147483648"),
         {{Reader::Adcp, "rows 0; '2147483648' is not a valid integer value"}}},
        {"bin count -2147483648",
         adcpWithCount("-2147483648"),
         // Skips no bins: the three bin lines are then read as the next ensemble, whose second
         // line lacks the depths.
         {{Reader::Adcp, "rows 1; List index out of bounds (8)"}}},
        {"bin count of a thousand digits",
         adcpWithCount(std::string(1000, '9')),
         {{Reader::Adcp, "rows 0; '" + std::string(1000, '9') + "' is not a valid integer value"}}},
    });
}

TEST(HostileFiles, LinesOfOneMegabyte) {
    const std::string megabyte(std::size_t{1} << 20, '7');
    const std::string kvdHeader =
        "//Korvadel\r\n//Station\tX\r\n//GHMinimum\t0\r\n//GHMaximum\t1\r\n"
        "//GHIncrement\t0.5\r\n//GHDatum\t0\r\nStation\tElevation\r\n";
    runCases({
        {"comma-delimited lines of 1 MB",
         [&](const std::string& path) {
             std::string text;
             for (int i = 0; i < 20; ++i) {
                 text += std::to_string(i) + ",2," + megabyte + "\n";
             }
             writeBytes(path, text);
         },
         {{Reader::CommaDelimited, "rows 20"}}},
        {"a 1 MB station (cut to 255 digits)",
         [&](const std::string& path) { writeBytes(path, megabyte + ",1\n"); },
         {{Reader::CommaDelimited, "rows 0; List index out of bounds (1)"}}},
        {"cross-section description and points of 1 MB",
         [&](const std::string& path) {
             std::string text = "//Korvadel\r\n//Station\t" + megabyte +
                                "\r\n//GHMinimum\t0\r\n//GHMaximum\t1\r\n//GHIncrement\t0.5\r\n"
                                "//GHDatum\t0\r\nStation\tElevation\r\n";
             for (int i = 0; i < 20; ++i) {
                 text += std::to_string(i) + "\t2\t" + megabyte + "\r\n";
             }
             writeBytes(path, text);
         },
         {{Reader::CrossSection, "rows 20"}}},
        {"plain table with rows of 1 MB",
         [&](const std::string& path) {
             std::string text = "Station\tElevation\tNote\n";
             for (int i = 0; i < 20; ++i) {
                 text += std::to_string(i) + "\t2\t" + megabyte + "\n";
             }
             writeBytes(path, text);
         },
         {{Reader::CrossSection, "rows 20"}}},
        {"plain table with a header of a million TABs",
         [&](const std::string& path) {
             writeBytes(path, std::string(std::size_t{1} << 20, '\t') + "Station\n5\n");
         },
         // The line "5" holds only the first column, which has an empty name.
         {{Reader::CrossSection, "rows 0; Field 'Station' must have a value"}}},
        {"ADCP lines of 1 MB",
         [&](const std::string& path) {
             std::string text = adcpHeader();
             appendEnsemble(text, 1, 2, 2);
             appendEnsemble(text, 2, 2, 2);
             std::string padded;
             std::size_t from = 0;
             for (std::size_t at = text.find('\n'); at != std::string::npos;
                  at = text.find('\n', from)) {
                 padded += text.substr(from, at - from) + " " + megabyte + "\n";
                 from = at + 1;
             }
             writeBytes(path, padded);
         },
         {{Reader::Adcp, "rows 2"}}},
    });
}

} // namespace
} // namespace korvadel
