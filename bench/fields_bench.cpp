// SPDX-License-Identifier: GPL-3.0-or-later
// Line reading, field splitting and number reading: the inner loop of every point reader.

#include "io/Fields.h"
#include "io/LineReader.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <random>
#include <string>

namespace korvadel {
namespace {

// Lines like a surveyor's comma-delimited export: station and elevation with a few decimals.
std::string commaLines(std::size_t points) {
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> station(0.0, 500.0);
    std::uniform_real_distribution<double> elevation(90.0, 110.0);
    std::string text;
    char line[64];
    for (std::size_t i = 0; i < points; ++i) {
        const int n =
            std::snprintf(line, sizeof line, "%.3f,%.4f\r\n", station(random), elevation(random));
        text.append(line, static_cast<std::size_t>(n));
    }
    return text;
}

// Lines like the depth line of an ADCP ensemble: twelve space-separated fields.
std::string adcpDepthLines(std::size_t lines) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> depth(0.5, 8.0);
    std::string text;
    char line[160];
    for (std::size_t i = 0; i < lines; ++i) {
        const int n = std::snprintf(line, sizeof line,
                                    "   0.00   0.00   0.00   0.00   0.0   0.0   0.0   0.0 "
                                    "%6.2f %6.2f %6.2f %6.2f\r\n",
                                    depth(random), depth(random), depth(random), depth(random));
        text.append(line, static_cast<std::size_t>(n));
    }
    return text;
}

void BM_SplitAndRead_Comma(benchmark::State& state) {
    const std::string text = commaLines(static_cast<std::size_t>(state.range(0)));
    const DelimiterSet comma(",");
    FieldList fields;
    for (auto _ : state) {
        LineReader reader = LineReader::overBytes(text);
        double sum = 0.0;
        while (!reader.atEnd()) {
            SplitFields(reader.readLine(kMaxSplitLine), comma, '"', false, fields);
            sum += FieldToReal(fields.at(0)).value + FieldToReal(fields.at(1)).value;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_SplitAndRead_Comma)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_SplitAndRead_CommaDecimalComma(benchmark::State& state) {
    const std::string text = commaLines(static_cast<std::size_t>(state.range(0)));
    const DelimiterSet comma(",");
    FieldList fields;
    for (auto _ : state) {
        LineReader reader = LineReader::overBytes(text);
        double sum = 0.0;
        while (!reader.atEnd()) {
            SplitFields(reader.readLine(kMaxSplitLine), comma, '"', false, fields);
            sum += FieldToReal(fields.at(0), ',').value + FieldToReal(fields.at(1), ',').value;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_SplitAndRead_CommaDecimalComma)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_SplitAndRead_AdcpDepths(benchmark::State& state) {
    const std::string text = adcpDepthLines(static_cast<std::size_t>(state.range(0)));
    const DelimiterSet space(" ");
    FieldList fields;
    for (auto _ : state) {
        LineReader reader = LineReader::overBytes(text);
        double sum = 0.0;
        while (!reader.atEnd()) {
            SplitFields(reader.readLine(kMaxSplitLine), space, '"', false, fields);
            for (std::size_t k = 8; k < 12; ++k) {
                sum += FieldToReal(fields.at(k)).value;
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_SplitAndRead_AdcpDepths)->Arg(200'000)->Unit(benchmark::kMillisecond);

void BM_LineReading(benchmark::State& state) {
    const std::string text = commaLines(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        LineReader reader = LineReader::overBytes(text);
        std::size_t total = 0;
        while (!reader.atEnd()) {
            total += reader.readLine(kMaxSplitLine).size();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_LineReading)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

void BM_FieldToReal(benchmark::State& state) {
    const char* texts[] = {"123.456", "-0.25", "98.7654", "1E-5", "407.125", "100"};
    std::size_t bytes = 0;
    for (const char* t : texts) {
        bytes += std::char_traits<char>::length(t);
    }
    for (auto _ : state) {
        double sum = 0.0;
        for (const char* t : texts) {
            sum += FieldToReal(t).value;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * std::size(texts)));
}
BENCHMARK(BM_FieldToReal);

} // namespace
} // namespace korvadel
