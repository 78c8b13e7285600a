// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/SectionCheck.h"

#include "model/Numbers.h"
#include "model/WettedArea.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace korvadel {

namespace {

constexpr double kWallShareWarning = 0.05;
constexpr double kWideGapFactor = 10.0;
constexpr double kSpikeFactor = 3.0;

// NaN last, so that a sort stays a strict weak ordering whatever the values.
bool totalLess(double a, double b) noexcept {
    return std::isnan(b) ? !std::isnan(a) : a < b;
}

// Median of the positive values; 0 when there are none.
double positiveMedian(std::vector<double> values) {
    std::erase_if(values, [](double v) { return !(v > 0.0); });
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t half = values.size() / 2;
    return values.size() % 2 == 1 ? values[half] : values[half - 1] / 2 + values[half] / 2;
}

// A computed difference or sum carries the binary remainders of its operands (105 - 104.9 is
// 0.0999999999999943); twelve significant digits are more than any survey holds and drop them.
double significant(double value) {
    if (value == 0.0 || !std::isfinite(value))
        return value;
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    const long double scale = std::pow(10.0L, 11 - exponent);
    return static_cast<double>(std::round(value * scale) / scale);
}

class Checker {
public:
    Checker(const SectionCheckInput& input, NumberFormat format)
        : stations_(input.stations.first(std::min(input.stations.size(), input.elevations.size()))),
          elevations_(input.elevations.first(stations_.size())), input_(input), format_(format),
          shift_(-input.datum) {}

    std::vector<Finding> run() {
        const std::size_t n = stations_.size();
        if (input_.unsortedStations > 0)
            unsortedInput();
        for (const double station : input_.stationsWithoutElevation) {
            add(Severity::Warning, FindingCode::MissingElevation, station,
                "The point at station " + number(station) +
                    " has no elevation; it counts as elevation 0.");
        }
        if (n < 2) {
            add(Severity::Warning, FindingCode::TooFewPoints, std::nullopt,
                n == 0 ? "The section has no points; at least two are needed to rate it."
                       : "The section has only one point; at least two are needed to rate it.");
        } else {
            shifted_.resize(n);
            for (std::size_t i = 0; i < n; ++i)
                shifted_[i] = elevations_[i] + shift_;
            lowest_ = 0;
            for (std::size_t i = 1; i < n; ++i) {
                if (shifted_[i] < shifted_[lowest_])
                    lowest_ = i;
            }
            areaAtMaximum_ = area(input_.maximum);
            duplicateStations();
            gageRange();
            endsBelowMaximum();
            isolatedWater();
            wideGaps();
            spikes();
        }
        std::stable_sort(findings_.begin(), findings_.end(),
                         [](const Finding& a, const Finding& b) {
                             if (a.severity != b.severity)
                                 return a.severity < b.severity;
                             if (a.station.has_value() != b.station.has_value())
                                 return !a.station.has_value();
                             if (a.station && *a.station != *b.station)
                                 return totalLess(*a.station, *b.station);
                             return a.code < b.code;
                         });
        return std::move(findings_);
    }

private:
    std::string number(double value) const { return formatGeneral(value, format_); }
    std::string derived(double value) const { return number(significant(value)); }
    std::string areaText(double value) const { return number(roundScaled(value, 1000)); }
    std::string tenths(double value) const { return number(roundScaled(value, 10)); }

    // The rating's area at a gage height.
    double area(double gageHeight) const {
        return wettedArea(stations_, elevations_, gageHeight, shift_);
    }

    void add(Severity severity, FindingCode code, std::optional<double> station,
             std::string message) {
        findings_.push_back({severity, code, station, std::move(message)});
    }

    void unsortedInput() {
        const std::size_t count = input_.unsortedStations;
        add(Severity::Info, FindingCode::UnsortedInput, std::nullopt,
            "The file listed " + std::to_string(count) + (count == 1 ? " station" : " stations") +
                " out of ascending order; the points were put in station order.");
    }

    void duplicateStations() {
        const std::size_t n = stations_.size();
        std::vector<double> group;
        for (std::size_t first = 0, last = 0; first < n; first = last) {
            last = first + 1;
            while (last < n && stations_[last] == stations_[first])
                ++last;
            if (last - first < 2)
                continue;
            group.assign(elevations_.begin() + static_cast<std::ptrdiff_t>(first),
                         elevations_.begin() + static_cast<std::ptrdiff_t>(last));
            std::sort(group.begin(), group.end(), totalLess);
            const double station = stations_[first];
            std::size_t distinct = 0;
            for (std::size_t i = 0, j = 0; i < group.size(); i = j) {
                j = i + 1;
                while (j < group.size() && group[j] == group[i])
                    ++j;
                ++distinct;
                if (j - i > 1) {
                    add(Severity::Warning, FindingCode::DuplicateStation, station,
                        "The point at station " + number(station) + ", elevation " +
                            number(group[i]) + " is listed " + std::to_string(j - i) + " times.");
                }
            }
            if (distinct > 1) {
                add(Severity::Info, FindingCode::DuplicateStation, station,
                    "Station " + number(station) + " holds " + std::to_string(last - first) +
                        " points with elevations from " + number(group.front()) + " to " +
                        number(group.back()) + ", a vertical step.");
            }
        }
    }

    void gageRange() {
        const double bed = shifted_[lowest_];
        if (input_.minimum < bed) {
            add(Severity::Info, FindingCode::MinimumBelowBed, std::nullopt,
                "The minimum gage height " + number(input_.minimum) +
                    " lies below the lowest bed (gage height " + derived(bed) + " at station " +
                    number(stations_[lowest_]) +
                    (input_.maximum <= bed
                         ? "); the maximum " + number(input_.maximum) +
                               " is no higher, so every row of the rating has zero area."
                         : std::string("); the rating starts with rows of zero area.")));
        }
        const auto left = std::span(shifted_).first(lowest_ + 1);
        const auto right = std::span(shifted_).subspan(lowest_);
        const double leftBank = *std::max_element(left.begin(), left.end());
        const double rightBank = *std::max_element(right.begin(), right.end());
        if (input_.maximum > leftBank && input_.maximum > rightBank) {
            add(Severity::Info, FindingCode::MaximumAboveBanks, std::nullopt,
                "The maximum gage height " + number(input_.maximum) +
                    " lies above both banks (gage heights " + derived(leftBank) + " and " +
                    derived(rightBank) +
                    "); the water spreads over the whole section, held only by the assumed "
                    "walls.");
        }
    }

    void endsBelowMaximum() {
        const double maximum = input_.maximum;
        const std::size_t ends[] = {0, stations_.size() - 1};
        for (const std::size_t end : ends) {
            const double endHeight = shifted_[end];
            if (!(endHeight < maximum))
                continue;
            const double above = areaAtMaximum_ - area(endHeight);
            const double share = areaAtMaximum_ > 0.0 ? above / areaAtMaximum_ : 0.0;
            add(share > kWallShareWarning ? Severity::Warning : Severity::Info,
                FindingCode::EndBelowMaximum, stations_[end],
                std::string(end == 0 ? "The left" : "The right") + " end at elevation " +
                    number(elevations_[end]) + " lies " + derived(maximum - endHeight) +
                    " below the water at the maximum gage height (elevation " +
                    derived(maximum + input_.datum) + "); " + tenths(100.0 * share) +
                    " % of the area there (" + areaText(above) + " of " + areaText(areaAtMaximum_) +
                    ") stands above the end, held only by the assumed vertical wall.");
        }
    }

    void isolatedWater() {
        const double level = input_.maximum;
        const std::size_t n = stations_.size();
        for (std::size_t first = 0, last = 0; first < n; first = last + 1) {
            // One run of points below the level: [first, last).
            while (first < n && !(shifted_[first] < level))
                ++first;
            last = first;
            while (last < n && shifted_[last] < level)
                ++last;
            if (first >= n)
                break;
            if (first <= lowest_ && lowest_ < last)
                continue; // the water connected to the lowest point
            const std::size_t from = first > 0 ? first - 1 : 0;
            const std::size_t to = last < n ? last : n - 1;
            const std::size_t count = to - from + 1;
            const double hollow = wettedArea(stations_.subspan(from, count),
                                             elevations_.subspan(from, count), level, shift_);
            if (!(hollow > 0.0))
                continue;
            std::size_t deepest = first;
            for (std::size_t i = first + 1; i < last; ++i) {
                if (shifted_[i] < shifted_[deepest])
                    deepest = i;
            }
            const double share = areaAtMaximum_ > 0.0 ? hollow / areaAtMaximum_ : 0.0;
            add(Severity::Warning, FindingCode::IsolatedWater, stations_[deepest],
                "At the maximum gage height, water stands between stations " +
                    number(stations_[from]) + " and " + number(stations_[to]) +
                    " apart from the lowest point: area " + areaText(hollow) + ", " +
                    tenths(100.0 * share) + " % of the area there.");
        }
    }

    void wideGaps() {
        const std::size_t n = stations_.size();
        std::vector<double> spacing(n - 1);
        for (std::size_t i = 0; i + 1 < n; ++i)
            spacing[i] = stations_[i + 1] - stations_[i];
        const double median = positiveMedian(spacing);
        if (!(median > 0.0))
            return;
        for (std::size_t i = 0; i + 1 < n; ++i) {
            if (spacing[i] > kWideGapFactor * median) {
                add(Severity::Info, FindingCode::WideGap, stations_[i],
                    "The gap of " + derived(spacing[i]) + " between stations " +
                        number(stations_[i]) + " and " + number(stations_[i + 1]) + " is " +
                        tenths(spacing[i] / median) + " times the median spacing " +
                        derived(median) + ".");
            }
        }
    }

    void spikes() {
        const std::size_t n = stations_.size();
        std::vector<double> steps(n - 1);
        for (std::size_t i = 0; i + 1 < n; ++i)
            steps[i] = std::fabs(elevations_[i + 1] - elevations_[i]);
        const double median = positiveMedian(steps);
        if (!(median > 0.0))
            return;
        const double limit = kSpikeFactor * median;
        for (std::size_t i = 1; i + 1 < n; ++i) {
            const double e = elevations_[i];
            const double above = std::min(e - elevations_[i - 1], e - elevations_[i + 1]);
            const double below = std::min(elevations_[i - 1] - e, elevations_[i + 1] - e);
            const bool up = above > limit;
            if (!up && !(below > limit))
                continue;
            add(Severity::Info, FindingCode::Spike, stations_[i],
                "The point at station " + number(stations_[i]) + " lies " +
                    derived(up ? above : below) + (up ? " above" : " below") +
                    " both neighbours, more than 3 times the median elevation step " +
                    derived(median) + ".");
        }
    }

    std::span<const double> stations_;
    std::span<const double> elevations_;
    const SectionCheckInput& input_;
    NumberFormat format_;
    double shift_;
    std::vector<double> shifted_;
    std::size_t lowest_ = 0;
    double areaAtMaximum_ = 0.0;
    std::vector<Finding> findings_;
};

std::string csvField(std::string text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

} // namespace

std::string_view findingCodeName(FindingCode code) noexcept {
    switch (code) {
    case FindingCode::TooFewPoints:
        return "too-few-points";
    case FindingCode::MissingElevation:
        return "missing-elevation";
    case FindingCode::UnsortedInput:
        return "unsorted-input";
    case FindingCode::MinimumBelowBed:
        return "minimum-below-bed";
    case FindingCode::MaximumAboveBanks:
        return "maximum-above-banks";
    case FindingCode::EndBelowMaximum:
        return "end-below-maximum";
    case FindingCode::IsolatedWater:
        return "isolated-water";
    case FindingCode::DuplicateStation:
        return "duplicate-station";
    case FindingCode::WideGap:
        return "wide-gap";
    case FindingCode::Spike:
        return "spike";
    }
    return "";
}

std::string_view severityName(Severity severity) noexcept {
    return severity == Severity::Warning ? "warning" : "info";
}

std::vector<Finding> checkSection(const SectionCheckInput& input, NumberFormat format) {
    return Checker(input, format).run();
}

bool hasWarning(std::span<const Finding> findings) noexcept {
    return std::any_of(findings.begin(), findings.end(),
                       [](const Finding& f) { return f.severity == Severity::Warning; });
}

std::string findingsText(std::span<const Finding> findings, NumberFormat format) {
    if (findings.empty())
        return "No findings.\n";
    std::string text;
    for (const Finding& finding : findings) {
        text += severityName(finding.severity);
        text += ' ';
        text += findingCodeName(finding.code);
        if (finding.station) {
            text += " at station ";
            text += formatGeneral(*finding.station, format);
        }
        text += ": ";
        text += finding.message;
        text += '\n';
    }
    return text;
}

std::string findingsCsv(std::span<const Finding> findings, NumberFormat format) {
    std::string text = "severity,code,station,message\r\n";
    for (const Finding& finding : findings) {
        text += severityName(finding.severity);
        text += ',';
        text += findingCodeName(finding.code);
        text += ',';
        if (finding.station)
            text += csvField(formatGeneral(*finding.station, format));
        text += ',';
        text += csvField(finding.message);
        text += "\r\n";
    }
    return text;
}

} // namespace korvadel
