// SPDX-License-Identifier: GPL-3.0-or-later
// The discharge of a ten-year record at one-minute steps (5,256,000 rows, about 160 MB), read,
// computed and written to a file as `korvadel-cli discharge ... -o OUT` does, with and without
// the daily means. The record is generated once into a temporary folder. Times are wall-clock
// (UseRealTime) and the CPU column is the whole process's (MeasureProcessCPUTime): the rows are
// read on one thread and formatted on another.
#include "io/AtomicFile.h"
#include "io/DischargeRecordFile.h"
#include "model/IsoTime.h"
#include "model/VelocityRating.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <unistd.h>

namespace {

constexpr std::int64_t kRows = 10LL * 365 * 24 * 60;

// A lined canal, metres; datum 95.
const double kStations[] = {0, 2, 5, 8, 14, 20, 24, 27, 29};
const double kElevations[] = {101.2, 99.1, 96.6, 95.8, 95.6, 95.7, 96.5, 99.0, 101.3};

class Record {
public:
    Record() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "korvadel-discharge-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        folder_ = pattern;
        std::ofstream out(path(), std::ios::binary);
        out << "time,gage_height,index_velocity\r\n";
        const std::int32_t first = *korvadel::isoCalendarDay("2015-01-01");
        std::string chunk;
        char line[64];
        for (std::int64_t minute = 0; minute < kRows; ++minute) {
            const double hours = static_cast<double>(minute) / 60.0;
            const double gate =
                0.5 + 0.5 * std::tanh(3.0 * std::sin(2 * std::numbers::pi * (hours - 7) / 24));
            const double stage =
                2.6 + 0.9 * (1 - gate) + 0.15 * std::sin(2 * std::numbers::pi * hours / 61);
            const double index = 0.25 + 0.75 * gate + 0.01 * std::sin(hours * 7.3);
            const std::string date =
                korvadel::isoDateText(first + static_cast<std::int32_t>(minute / 1440));
            std::snprintf(line, sizeof line, "%sT%02d:%02d,%.3f,%.3f\r\n", date.c_str(),
                          static_cast<int>(minute / 60 % 24), static_cast<int>(minute % 60), stage,
                          index);
            chunk += line;
            if (chunk.size() > (1 << 20)) {
                out << chunk;
                chunk.clear();
            }
        }
        out << chunk;
    }
    ~Record() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    std::string path() const { return (folder_ / "record.csv").string(); }
    std::string output() const { return (folder_ / "discharge.csv").string(); }

private:
    std::filesystem::path folder_;
};

const Record& record() {
    static const Record made;
    return made;
}

void BM_DischargeRecord(benchmark::State& state) {
    const bool daily = state.range(0) != 0;
    const Record& input = record();
    korvadel::VelocityEquation equation;
    equation.coefficients = {0.04, 0.87, 0.0};
    const korvadel::RecordSection section{kStations, kElevations, -95.0};
    korvadel::RecordSummary summary;
    for (auto _ : state) {
        korvadel::AtomicFile file(input.output());
        summary = korvadel::writeDischargeRecord(
            input.path(), section, equation, daily,
            [&file](std::string_view bytes) { file.write(bytes.data(), bytes.size()); });
        file.commit();
    }
    state.counters["rows"] = static_cast<double>(summary.rows);
    state.SetItemsProcessed(state.iterations() * summary.rows);
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(input.path())));
}
BENCHMARK(BM_DischargeRecord)
    ->ArgName("daily")
    ->Arg(0)
    ->Arg(1)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
