// SPDX-License-Identifier: GPL-3.0-or-later
// Hydraulic properties of a whole stage run: 10,000 stages over a section of 100,000 points, the
// whole section and the water connected to the channel. The section has a channel and two
// floodplain hollows, so the connected region grows in steps as the stages rise.
#include "model/HydraulicProperties.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace {

struct Section {
    std::vector<double> stations;
    std::vector<double> elevations;
};

Section floodplain(std::size_t points) {
    Section section;
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> roughness(-0.05, 0.05);
    for (std::size_t i = 0; i < points; ++i) {
        const double x = static_cast<double>(i) / static_cast<double>(points - 1);
        const double channel = 10.0 * std::pow(std::fabs(2.0 * x - 1.0), 1.5);
        const double hollows =
            3.0 * std::exp(-std::pow((std::fabs(2.0 * x - 1.0) - 0.7) / 0.05, 2));
        section.stations.push_back(x * 1000.0);
        section.elevations.push_back(channel - hollows + roughness(random));
    }
    return section;
}

void BM_PropertiesOfAStageRun(benchmark::State& state) {
    const Section section = floodplain(static_cast<std::size_t>(state.range(0)));
    // Stages accumulated from the bed to above the banks, as the rating produces them.
    std::vector<double> stages;
    for (double stage = 0.0; stages.size() < static_cast<std::size_t>(state.range(1));
         stage += 0.0011)
        stages.push_back(stage);
    const auto extent = state.range(2) == 0 ? korvadel::WaterExtent::WholeSection
                                            : korvadel::WaterExtent::ConnectedToLowest;
    for (auto _ : state) {
        auto properties = korvadel::hydraulicProperties(section.stations, section.elevations,
                                                        stages, 0.0, extent);
        benchmark::DoNotOptimize(properties.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(1));
    state.SetLabel(state.range(2) == 0 ? "whole section" : "connected water");
}
BENCHMARK(BM_PropertiesOfAStageRun)
    ->Args({100000, 10000, 0})
    ->Args({100000, 10000, 1})
    ->Args({10000, 1000, 0})
    ->Unit(benchmark::kMillisecond);

} // namespace
