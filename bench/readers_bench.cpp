// SPDX-License-Identifier: GPL-3.0-or-later
// Each point reader on a one-million-point file: read, sort and table filled, through the same
// path functions the program calls.

#include "io/CrossSectionFile.h"
#include "io/HecRasGeometry.h"
#include "io/PointImport.h"
#include "model/CrossSectionDocument.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace korvadel {
namespace {

constexpr std::size_t kPoints = 1'000'000;

class Inputs {
public:
    Inputs() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "korvadel-readers-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::abort();
        }
        folder_ = pattern;
    }
    ~Inputs() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    // Each file is written when a benchmark first asks for it, so a filtered run stays quick.
    std::string kvd() { return made(folder_ / "section.kvd", &Inputs::writeCrossSection); }
    std::string plain() { return made(folder_ / "table.txt", &Inputs::writeCrossSection); }
    std::string csv() { return made(folder_ / "points.csv", &Inputs::writeCommaDelimited); }
    std::string shuffledCsv() {
        return made(folder_ / "shuffled.csv", &Inputs::writeShuffledCommaDelimited);
    }
    std::string adcp() { return made(folder_ / "transect_000t.000", &Inputs::writeAdcp); }
    std::string geometry() { return made(folder_ / "model.g01", &Inputs::writeGeometry); }

private:
    std::string made(const std::filesystem::path& path, void (Inputs::*write)()) {
        if (!std::filesystem::exists(path)) {
            (this->*write)();
        }
        return path.string();
    }

    static void save(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    // Stations that wander back and forth like a surveyor's shots, so the sort has work to do.
    static std::string points(const char* format) {
        std::mt19937_64 random(3);
        std::uniform_real_distribution<double> step(-0.2, 1.0);
        std::uniform_real_distribution<double> bed(95.0, 105.0);
        std::string text;
        text.reserve(kPoints * 20);
        double station = 0.0;
        char line[80];
        for (std::size_t i = 0; i < kPoints; ++i) {
            station += step(random);
            const int n = std::snprintf(line, sizeof line, format, station, bed(random));
            text.append(line, static_cast<std::size_t>(n));
        }
        return text;
    }

    void writeCrossSection() {
        const std::string header = "//Korvadel\r\n//Station\tBench\r\n//GHMinimum\t0\r\n"
                                   "//GHMaximum\t1\r\n//GHIncrement\t0.01\r\n//GHDatum\t0.00\r\n"
                                   "Station\tElevation\r\n";
        const std::string rows = points("%.2f\t%.3f\r\n");
        save((folder_ / "section.kvd").string(), header + rows);
        save((folder_ / "table.txt").string(), std::string("Station\tElevation\r\n") + rows);
    }

    void writeCommaDelimited() { save((folder_ / "points.csv").string(), points("%.2f,%.3f\r\n")); }

    // The same points with the lines in random order: the loads that need the full sort.
    void writeShuffledCommaDelimited() {
        const std::string text = points("%.2f,%.3f\r\n");
        std::vector<std::string_view> lines;
        for (std::size_t begin = 0; begin < text.size();) {
            const std::size_t end = text.find('\n', begin) + 1;
            lines.emplace_back(text.data() + begin, end - begin);
            begin = end;
        }
        std::shuffle(lines.begin(), lines.end(), std::mt19937_64(5));
        std::string shuffled;
        shuffled.reserve(text.size());
        for (const std::string_view line : lines) {
            shuffled += line;
        }
        save((folder_ / "shuffled.csv").string(), shuffled);
    }

    void writeAdcp() {
        std::mt19937_64 random(9);
        std::uniform_real_distribution<double> depth(0.5, 6.0);
        std::string text = "synthetic\r\nBack Scatter in dB\r\n  25  50  50   1   4 200   1\r\n";
        text.reserve(kPoints * 330);
        char line[2048];
        double made = 0.0;
        for (std::size_t i = 0; i < kPoints; ++i) {
            made += 0.27;
            const double d = depth(random);
            int n = std::snprintf(
                line, sizeof line,
                " 24  6 11 10 14  1 59 %7zu      0    1.10  -1.00  134.62  14.06\r\n"
                "  -0.826    0.374   -0.005   -0.024    0.000    0.000    0.000    0.000 "
                "%8.2f %8.2f %8.2f %8.2f\r\n"
                "%9.2f %9.2f %9.2f %9.2f %9.2f\r\n"
                "  46.5163214 -116.9931820   -0.75   0.25   0.00   0.00\r\n"
                "    0.193   0.018   0.043  -0.012   0.015    0.25  0.25\r\n"
                "1 cm BT dB 0.43 0.045\r\n"
                "   0.45    31.2   18.0     9.4    29.6    0.3   -0.2  80.0  81.0  79.0  80.0 "
                "100   0.0100\r\n",
                i + 1, d, d + 0.05, d - 0.04, d + 0.02, made * 1.02, i * 1.0, made * 0.3,
                made * 0.95, made);
            text.append(line, static_cast<std::size_t>(n));
        }
        save((folder_ / "transect_000t.000").string(), text);
    }

    // A HEC-RAS geometry of 2,000 cross sections of 500 points each (HEC-RAS's limit), the
    // million points of the other files, with the n values, banks and keywords around them.
    void writeGeometry() {
        std::mt19937_64 random(13);
        std::uniform_real_distribution<double> bed(95.0, 105.0);
        std::string text = "Geom Title=Bench\r\nProgram Version=6.30\r\n"
                           "River Reach=Long River      ,Main            \r\n";
        text.reserve(kPoints * 17);
        char line[128];
        for (std::size_t section = 0; section < kGeometrySections; ++section) {
            int n = std::snprintf(line, sizeof line,
                                  "Type RM Length L Ch R = 1 ,%-8zu,100,100,100\r\n"
                                  "Node Last Edited Time=Apr/09/2025 14:22:05\r\n"
                                  "#Sta/Elev= %zu \r\n",
                                  100000 - section * 50, kPoints / kGeometrySections);
            text.append(line, static_cast<std::size_t>(n));
            for (std::size_t i = 0; i < kPoints / kGeometrySections; ++i) {
                n = std::snprintf(line, sizeof line, "%8.2f%8.3f", i * 0.5, bed(random));
                text.append(line, static_cast<std::size_t>(n));
                if (i % 5 == 4)
                    text += "\r\n";
            }
            text += "#Mann= 3 , 0 , 0 \r\n       0     .06       0      80    .035       0"
                    "     170     .06       0\r\nBank Sta=80,170\r\nExp/Cntr=0.3,0.1\r\n";
        }
        save((folder_ / "model.g01").string(), text);
    }

    static constexpr std::size_t kGeometrySections = 2000;

    std::filesystem::path folder_;
};

Inputs& inputs() {
    static Inputs instance;
    return instance;
}

void report(benchmark::State& state, const std::string& path) {
    const auto bytes = std::filesystem::file_size(path);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kPoints));
}

void BM_LoadCrossSection(benchmark::State& state) {
    const std::string path = inputs().kvd();
    CrossSectionDocument document;
    for (auto _ : state) {
        loadCrossSection(path, document);
        benchmark::DoNotOptimize(document.points.rowCount());
    }
    report(state, path);
}
BENCHMARK(BM_LoadCrossSection)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LoadPlainTable(benchmark::State& state) {
    const std::string path = inputs().plain();
    CrossSectionDocument document;
    for (auto _ : state) {
        loadCrossSection(path, document);
        benchmark::DoNotOptimize(document.points.rowCount());
    }
    report(state, path);
}
BENCHMARK(BM_LoadPlainTable)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ImportCommaDelimited(benchmark::State& state) {
    const std::string path = inputs().csv();
    PointTable points;
    for (auto _ : state) {
        importCommaDelimited(path, points);
        benchmark::DoNotOptimize(points.rowCount());
    }
    report(state, path);
}
BENCHMARK(BM_ImportCommaDelimited)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ImportShuffledCommaDelimited(benchmark::State& state) {
    const std::string path = inputs().shuffledCsv();
    PointTable points;
    for (auto _ : state) {
        importCommaDelimited(path, points);
        benchmark::DoNotOptimize(points.rowCount());
    }
    report(state, path);
}
BENCHMARK(BM_ImportShuffledCommaDelimited)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ImportWinRiver(benchmark::State& state) {
    const std::string path = inputs().adcp();
    PointTable points;
    for (auto _ : state) {
        importWinRiver(path, points);
        benchmark::DoNotOptimize(points.rowCount());
    }
    report(state, path);
}
BENCHMARK(BM_ImportWinRiver)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadHecRasGeometry(benchmark::State& state) {
    const std::string path = inputs().geometry();
    for (auto _ : state) {
        const HecRasGeometry geometry = readHecRasGeometry(path);
        benchmark::DoNotOptimize(geometry.sections.size());
    }
    report(state, path);
}
BENCHMARK(BM_ReadHecRasGeometry)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole file read, one section chosen and put into the table: what one command costs.
void BM_LoadHecRasSection(benchmark::State& state) {
    const std::string path = inputs().geometry();
    CrossSectionDocument document;
    for (auto _ : state) {
        loadHecRasSection(path, "50050", document);
        benchmark::DoNotOptimize(document.points.rowCount());
    }
    report(state, path);
}
BENCHMARK(BM_LoadHecRasSection)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SaveCrossSection(benchmark::State& state) {
    CrossSectionDocument document;
    loadCrossSection(inputs().kvd(), document);
    const std::string path = inputs().kvd() + ".saved";
    for (auto _ : state) {
        saveCrossSection(path, document);
    }
    report(state, path);
    std::filesystem::remove(path);
}
BENCHMARK(BM_SaveCrossSection)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace korvadel
