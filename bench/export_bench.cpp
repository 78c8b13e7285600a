// SPDX-License-Identifier: GPL-3.0-or-later
// Throughput of the three rating exports, in memory and through the safe file writer.
// The worksheet holds at most 65,535 rows, so it is measured at that size.

#include "io/RatingExport.h"
#include "model/RatingTable.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

using namespace korvadel;

// Stages 0.00, 0.01, ... and the areas of a trapezoidal channel rounded to 0.001, as the main
// rating command stores them.
const RatingTable& ratingOf(std::size_t rows) {
    static RatingTable rating;
    if (rating.rowCount() != rows) {
        rating.clear();
        rating.reserve(rows);
        for (std::size_t i = 0; i < rows; ++i) {
            const double stage = static_cast<double>(i) / 100;
            const double area = std::round((6 * stage + 0.2 * stage * stage) * 1000) / 1000;
            rating.appendRow(stage, area);
        }
    }
    return rating;
}

std::string scratchFile(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

constexpr std::size_t kRows = 1'000'000;
constexpr std::size_t kWorksheetRows = 65'535;

template <class MakeBytes>
void inMemory(benchmark::State& state, std::size_t rows, MakeBytes makeBytes) {
    const RatingTable& rating = ratingOf(rows);
    std::size_t size = 0;
    for (auto _ : state) {
        const std::string bytes = makeBytes(rating);
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
    state.counters["rows/s"] = benchmark::Counter(static_cast<double>(state.iterations() * rows),
                                                  benchmark::Counter::kIsRate);
}

template <class Export>
void toFile(benchmark::State& state, std::size_t rows, const char* name, Export exportTo) {
    const RatingTable& rating = ratingOf(rows);
    const std::string path = scratchFile(name);
    for (auto _ : state)
        exportTo(path, rating);
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(path)));
    state.counters["rows/s"] = benchmark::Counter(static_cast<double>(state.iterations() * rows),
                                                  benchmark::Counter::kIsRate);
    std::remove(path.c_str());
}

void BM_CsvBytes(benchmark::State& state) {
    inMemory(state, kRows, [](const RatingTable& r) { return ratingCsvBytes(r); });
}
void BM_HtmlBytes(benchmark::State& state) {
    inMemory(state, kRows, [](const RatingTable& r) { return ratingHtmlBytes(r); });
}
void BM_XlsBytes(benchmark::State& state) {
    inMemory(state, kWorksheetRows, [](const RatingTable& r) { return ratingXlsBytes(r); });
}
void BM_CsvFile(benchmark::State& state) {
    toFile(state, kRows, "korvadel-bench.csv",
           [](const std::string& p, const RatingTable& r) { exportRatingCsv(p, r); });
}
void BM_HtmlFile(benchmark::State& state) {
    toFile(state, kRows, "korvadel-bench.html",
           [](const std::string& p, const RatingTable& r) { exportRatingHtml(p, r); });
}
void BM_XlsFile(benchmark::State& state) {
    toFile(state, kWorksheetRows, "korvadel-bench.xls",
           [](const std::string& p, const RatingTable& r) { exportRatingXls(p, r); });
}

BENCHMARK(BM_CsvBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HtmlBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XlsBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HtmlFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XlsFile)->Unit(benchmark::kMillisecond);

} // namespace
