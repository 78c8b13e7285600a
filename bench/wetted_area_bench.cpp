// SPDX-License-Identifier: GPL-3.0-or-later
// Wetted area per segment evaluation: one level per pass (the single-stage walk) and sixteen
// consecutive stages per pass (what the rating does).
#include "model/WettedArea.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace {

struct Section {
    std::vector<double> stations;
    std::vector<double> elevations;
};

// A channel 10 units deep with a rough bed, banks at both ends; about half of it is wet at
// level 5.
Section channel(std::size_t points) {
    Section section;
    section.stations.reserve(points);
    section.elevations.reserve(points);
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> roughness(-0.2, 0.2);
    for (std::size_t i = 0; i < points; ++i) {
        const double x = static_cast<double>(i) / static_cast<double>(points - 1);
        section.stations.push_back(x * 1000.0);
        section.elevations.push_back(10.0 * std::pow(std::fabs(2.0 * x - 1.0), 1.5) +
                                     roughness(random));
    }
    return section;
}

void BM_WettedAreaOneLevel(benchmark::State& state) {
    const Section section = channel(static_cast<std::size_t>(state.range(0)));
    double level = 5.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(level);
        benchmark::DoNotOptimize(
            korvadel::wettedArea(section.stations, section.elevations, level, 0.0));
    }
    // One evaluation per point: every point is paired with the next, the last with itself.
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WettedAreaOneLevel)->Arg(1000)->Arg(100000)->Arg(1000000);

void BM_WettedAreaSixteenStages(benchmark::State& state) {
    const Section section = channel(static_cast<std::size_t>(state.range(0)));
    std::array<double, 16> levels{};
    for (std::size_t j = 0; j < levels.size(); ++j)
        levels[j] = 5.0 + 0.01 * static_cast<double>(j);
    std::array<double, 16> areas{};
    for (auto _ : state) {
        benchmark::DoNotOptimize(levels.data());
        korvadel::wettedAreas(section.stations, section.elevations, levels, 0.0, areas);
        benchmark::DoNotOptimize(areas.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) *
                            static_cast<std::int64_t>(levels.size()));
}
BENCHMARK(BM_WettedAreaSixteenStages)->Arg(1000)->Arg(100000)->Arg(1000000);

} // namespace
