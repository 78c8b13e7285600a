// SPDX-License-Identifier: GPL-3.0-or-later
// A whole rating: stages x points segment evaluations, through the same engine the program uses,
// on one thread and on every core. Times are wall-clock (UseRealTime) and the CPU column is the
// whole process's (MeasureProcessCPUTime), so a threaded run shows both what it cost and how
// long it took.
#include "model/PointTable.h"
#include "model/RatingGenerator.h"
#include "model/RatingTable.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

// A channel whose bed spans the whole stage range, so the stages sweep it from dry to brim-full.
korvadel::PointTable channel(std::size_t points, double depth) {
    std::vector<korvadel::PointTable::LoadRow> rows;
    rows.reserve(points);
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> roughness(-0.01, 0.01);
    for (std::size_t i = 0; i < points; ++i) {
        const double x = static_cast<double>(i) / static_cast<double>(points - 1);
        rows.push_back(
            {x * 500.0, depth * (std::pow(std::fabs(2.0 * x - 1.0), 1.5) + roughness(random))});
    }
    korvadel::PointTable table;
    table.bulkLoad(rows);
    return table;
}

long everyCore() {
    return std::max(1L, static_cast<long>(std::thread::hardware_concurrency()));
}

// {points, stages, threads}; threads 0 is the program's own choice.
void BM_Rating(benchmark::State& state, korvadel::RatingMode mode) {
    const auto points = static_cast<std::size_t>(state.range(0));
    const auto stages = state.range(1);
    const auto threads = static_cast<unsigned>(state.range(2));
    const double increment = 0.01;
    const double maximum = static_cast<double>(stages - 1) * increment;
    korvadel::PointTable table = channel(points, maximum);
    korvadel::RatingTable rating;
    korvadel::RatingObserver observer;
    const korvadel::RatingBounds bounds{"0", std::to_string(maximum), increment, "0"};
    for (auto _ : state) {
        korvadel::generateRating(mode, bounds, table, rating, observer, {}, threads);
        benchmark::DoNotOptimize(rating.areaAt(rating.rowCount() - 1));
    }
    state.counters["stages"] = static_cast<double>(rating.rowCount());
    state.counters["threads"] = threads;
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(rating.rowCount()) *
                            state.range(0));
}

void BM_RatingMain(benchmark::State& state) {
    BM_Rating(state, korvadel::RatingMode::Main);
}
void BM_RatingBoundsPrompt(benchmark::State& state) {
    BM_Rating(state, korvadel::RatingMode::BoundsPrompt);
}

// On a machine shared with other work, the best of several repetitions is what the rating itself
// costs; the median shows what the sharing adds.
double best(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

void sizes(benchmark::internal::Benchmark* b) {
    for (const auto& [points, stages] :
         {std::pair{1000000L, 1000L}, {10000L, 10000L}, {100000L, 10000L}, {1000L, 1000L}}) {
        b->Args({points, stages, 1});
        b->Args({points, stages, everyCore()});
    }
}

// Where a second thread starts to pay: 100,000 to 4 million segment evaluations over few, some
// and many points, one thread against every core.
void crossover(benchmark::internal::Benchmark* b) {
    for (long points : {100L, 1000L, 10000L}) {
        for (long segments : {100000L, 250000L, 500000L, 1000000L, 4000000L}) {
            b->Args({points, segments / points, 1});
            b->Args({points, segments / points, everyCore()});
        }
    }
}

BENCHMARK(BM_RatingMain)
    ->Apply(sizes)
    ->ComputeStatistics("min", best)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RatingBoundsPrompt)
    ->Args({1000000, 1000, 1})
    ->Args({1000000, 1000, everyCore()})
    ->ComputeStatistics("min", best)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RatingMain)
    ->Name("BM_RatingCrossover")
    ->Apply(crossover)
    ->ComputeStatistics("min", best)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

} // namespace
