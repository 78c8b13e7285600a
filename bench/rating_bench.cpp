// A whole rating: stages x points segment evaluations, through the same engine the program uses.
#include "model/PointTable.h"
#include "model/RatingGenerator.h"
#include "model/RatingTable.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>
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
    table.BulkLoad(rows);
    return table;
}

void BM_Rating(benchmark::State& state, korvadel::RatingMode mode) {
    const auto points = static_cast<std::size_t>(state.range(0));
    const auto stages = state.range(1);
    const double increment = 0.01;
    const double maximum = static_cast<double>(stages - 1) * increment;
    korvadel::PointTable table = channel(points, maximum);
    korvadel::RatingTable rating;
    korvadel::RatingObserver observer;
    const korvadel::RatingBounds bounds{"0", std::to_string(maximum), increment, "0"};
    for (auto _ : state) {
        korvadel::generateRating(mode, bounds, table, rating, observer);
        benchmark::DoNotOptimize(rating.AreaAt(rating.RowCount() - 1));
    }
    state.counters["stages"] = static_cast<double>(rating.RowCount());
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(rating.RowCount()) *
                            state.range(0));
}

void BM_RatingMain(benchmark::State& state) {
    BM_Rating(state, korvadel::RatingMode::Main);
}
void BM_RatingBoundsPrompt(benchmark::State& state) {
    BM_Rating(state, korvadel::RatingMode::BoundsPrompt);
}

// {points, stages}
BENCHMARK(BM_RatingMain)
    ->Args({1000000, 1000})
    ->Args({10000, 10000})
    ->Args({1000, 1000})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RatingBoundsPrompt)->Args({1000000, 1000})->Unit(benchmark::kMillisecond);

} // namespace
