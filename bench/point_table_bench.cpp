// SPDX-License-Identifier: GPL-3.0-or-later
// Filling the point table the way the readers do: one bulk load, or one appendRow per point.
#include "model/PointTable.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

std::vector<korvadel::PointTable::LoadRow> rows(std::size_t count, bool shuffled) {
    std::vector<korvadel::PointTable::LoadRow> result;
    result.reserve(count);
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> station(0.0, 1000.0);
    for (std::size_t i = 0; i < count; ++i) {
        const double s = shuffled ? station(random) : static_cast<double>(i) * 0.01;
        result.push_back({s, static_cast<double>(i % 97)});
    }
    return result;
}

void BM_BulkLoad(benchmark::State& state) {
    const auto load = rows(static_cast<std::size_t>(state.range(0)), state.range(1) != 0);
    for (auto _ : state) {
        korvadel::PointTable table;
        table.bulkLoad(load);
        benchmark::DoNotOptimize(table.rowCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
// {rows, shuffled}
BENCHMARK(BM_BulkLoad)->Args({1000000, 0})->Args({1000000, 1})->Unit(benchmark::kMillisecond);

void BM_AppendRowAscending(benchmark::State& state) {
    const auto load = rows(static_cast<std::size_t>(state.range(0)), false);
    for (auto _ : state) {
        korvadel::PointTable table;
        table.suspendViews();
        for (const auto& row : load)
            table.appendRow(*row.station, *row.elevation);
        table.resumeViews();
        benchmark::DoNotOptimize(table.rowCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_AppendRowAscending)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace
