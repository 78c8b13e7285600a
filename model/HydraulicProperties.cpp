// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/HydraulicProperties.h"

#include "model/WettedArea.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace korvadel {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Neumaier's compensated sum. The sweep adds and removes the slopes of many segments; a steep
// one (a nearly flat bed) can carry a slope many orders above the rest, and a plain running sum
// would keep its rounding error long after it is gone.
class CompensatedSum {
public:
    void add(double x) noexcept {
        const double sum = sum_ + x;
        if (!std::isfinite(sum)) {
            sum_ = sum; // an overflowing section: let the infinity show instead of a NaN
            return;
        }
        if (std::fabs(sum_) >= std::fabs(x))
            correction_ += (sum_ - sum) + x;
        else
            correction_ += (x - sum) + sum_;
        sum_ = sum;
    }
    double value() const noexcept { return std::isfinite(sum_) ? sum_ + correction_ : sum_; }
    void clear() noexcept { sum_ = correction_ = 0.0; }

private:
    double sum_ = 0.0;
    double correction_ = 0.0;
};

// How one segment or end wall adds width and perimeter as the level rises from its low end.
struct Piece {
    enum Kind : std::uint8_t {
        Dry,   // a repeated point: nothing, ever
        Step,  // flat: all of its width and length at once, once the level is above it
        Slope, // sloping or vertical: linear in the level from lo to hi
        Wall,  // an end wall: its wet height, rising without end
    };
    Kind kind = Dry;
    double lo = 0.0;
    double hi = 0.0;
    double width = 0.0;     // top width once the level reaches hi
    double perimeter = 0.0; // wetted length once the level reaches hi
    double widthSlope = 0.0;
    double perimeterSlope = 0.0;
};

Piece segmentPiece(double s1, double e1, double s2, double e2) noexcept {
    Piece piece;
    const double w = std::fabs(s2 - s1);
    piece.lo = std::min(e1, e2);
    piece.hi = std::max(e1, e2);
    const double rise = piece.hi - piece.lo;
    if (w == 0.0 && rise == 0.0)
        return piece;
    piece.width = w;
    piece.perimeter = w == 0.0 ? rise : rise == 0.0 ? w : std::hypot(w, rise);
    piece.widthSlope = w / rise;
    piece.perimeterSlope = piece.perimeter / rise;
    // A slope beyond the double range (a rise of a few subnormals) is a step to any level the
    // program can tell apart from its ends.
    const bool flat =
        rise == 0.0 || !std::isfinite(piece.widthSlope) || !std::isfinite(piece.perimeterSlope);
    piece.kind = flat ? Piece::Step : Piece::Slope;
    return piece;
}

Piece wallPiece(double endElevation) noexcept {
    Piece piece;
    piece.kind = Piece::Wall;
    piece.lo = endElevation;
    piece.hi = kInfinity;
    piece.perimeterSlope = 1.0;
    return piece;
}

struct Wet {
    double width = 0.0;
    double perimeter = 0.0;
};

// A piece's share at a level; the bed must lie strictly below the level to be under water.
Wet wetAt(const Piece& piece, double level) noexcept {
    if (!(piece.lo < level))
        return {};
    switch (piece.kind) {
    case Piece::Dry:
        return {};
    case Piece::Step:
        return {piece.width, piece.perimeter};
    case Piece::Wall:
        return {0.0, level - piece.lo};
    case Piece::Slope:
        break;
    }
    if (level >= piece.hi)
        return {piece.width, piece.perimeter};
    const double fraction = (level - piece.lo) / (piece.hi - piece.lo);
    return {piece.width * fraction, piece.perimeter * fraction};
}

// One segment's area as the rating's walk adds it, for a segment that joins the connected
// water part-way through the sweep.
double segmentArea(double s1, double e1, double s2, double e2, double level) noexcept {
    const double w = std::fabs(s2 - s1);
    if (e1 > level) {
        if (e2 <= level)
            return w / (e1 - e2) * (0.5 * ((level - e2) * (level - e2)));
        return 0.0;
    }
    if (e2 > level)
        return w / (e2 - e1) * (0.5 * ((level - e1) * (level - e1)));
    return w * (level - std::min(e1, e2)) - 0.5 * std::fabs(e2 - e1) * w;
}

double quotient(double numerator, double divisor) noexcept {
    if (!(divisor > 0.0))
        return 0.0;
    const double q = numerator / divisor;
    return std::isfinite(q) ? q : 0.0;
}

void deriveQuotients(HydraulicProperties& p, double level, double lowest) noexcept {
    p.hydraulicRadius = quotient(p.area, p.wettedPerimeter);
    p.meanDepth = quotient(p.area, p.topWidth);
    p.maxDepth = level > lowest ? level - lowest : 0.0;
}

// Width, perimeter and area as the level rises: between two breaks (point elevations) the
// width and perimeter grow linearly and the area by the integral of the width. Only the
// pieces that have joined count; every quantity only grows, so nothing is lost to
// cancellation except in the slopes, which are compensated sums.
class Sweep {
public:
    explicit Sweep(double start) : at_(start) {}

    double at() const noexcept { return at_; }
    double topWidth() const noexcept { return std::max(0.0, topWidth_.value()); }
    double perimeter() const noexcept { return std::max(0.0, perimeter_.value()); }
    double area() const noexcept { return std::max(0.0, area_.value()); }

    void advanceTo(double level) noexcept {
        const double d = level - at_;
        if (!(d > 0.0))
            return;
        const double widthSlope = widthSlopes_ > 0 ? std::max(0.0, widthSlope_.value()) : 0.0;
        const double perimeterSlope =
            perimeterSlopes_ > 0 ? std::max(0.0, perimeterSlope_.value()) : 0.0;
        area_.add((topWidth() + 0.5 * widthSlope * d) * d);
        topWidth_.add(widthSlope * d);
        perimeter_.add(perimeterSlope * d);
        at_ = level;
    }

    void startSlope(const Piece& piece) noexcept {
        if (piece.widthSlope > 0.0) {
            widthSlope_.add(piece.widthSlope);
            ++widthSlopes_;
        }
        perimeterSlope_.add(piece.perimeterSlope);
        ++perimeterSlopes_;
    }

    void endSlope(const Piece& piece) noexcept {
        if (piece.widthSlope > 0.0) {
            widthSlope_.add(-piece.widthSlope);
            if (--widthSlopes_ == 0)
                widthSlope_.clear(); // exactly flat again, whatever the rounding left behind
        }
        perimeterSlope_.add(-piece.perimeterSlope);
        if (--perimeterSlopes_ == 0)
            perimeterSlope_.clear();
    }

    void step(const Piece& piece) noexcept {
        topWidth_.add(piece.width);
        perimeter_.add(piece.perimeter);
    }

    // A piece that becomes part of the water at the current level, with what it already holds.
    void join(const Piece& piece, double area) noexcept {
        const Wet wet = wetAt(piece, at_);
        topWidth_.add(wet.width);
        perimeter_.add(wet.perimeter);
        area_.add(area);
        // Events below the current level were passed while the piece was out; the ones at or
        // above it are still to come and will find the piece joined.
        const bool rising = piece.kind == Piece::Slope || piece.kind == Piece::Wall;
        if (rising && piece.lo < at_ && at_ <= piece.hi)
            startSlope(piece);
    }

private:
    double at_;
    CompensatedSum topWidth_;
    CompensatedSum perimeter_;
    CompensatedSum area_;
    CompensatedSum widthSlope_;
    CompensatedSum perimeterSlope_;
    std::int64_t widthSlopes_ = 0;
    std::int64_t perimeterSlopes_ = 0;
};

struct Event {
    enum Kind : std::uint8_t { Start, End, Step };
    double at;
    std::uint32_t piece;
    Kind kind;
};

// The first of the lowest points, each elevation shifted as the level sees it.
std::size_t firstLowest(std::span<const double> elevations, double elevationShift) noexcept {
    std::size_t lowest = 0;
    for (std::size_t i = 1; i < elevations.size(); ++i) {
        if (elevations[i] + elevationShift < elevations[lowest] + elevationShift)
            lowest = i;
    }
    return lowest;
}

WaterRegion connectedRegion(std::span<const double> elevations, double elevationShift,
                            std::size_t lowest, double level) noexcept {
    const std::size_t n = elevations.size();
    std::size_t left = lowest;
    while (left > 0 && elevations[left] + elevationShift < level)
        --left;
    std::size_t right = lowest;
    while (right + 1 < n && elevations[right] + elevationShift < level)
        ++right;
    return {left, right, left == 0 && elevations[0] + elevationShift < level,
            right == n - 1 && elevations[n - 1] + elevationShift < level};
}

double regionArea(std::span<const double> stations, std::span<const double> elevations,
                  const WaterRegion& region, double level, double elevationShift) noexcept {
    const std::size_t count = region.last - region.first + 1;
    return wettedArea(stations.subspan(region.first, count),
                      elevations.subspan(region.first, count), level, elevationShift);
}

} // namespace

HydraulicProperties hydraulicProperties(std::span<const double> stations,
                                        std::span<const double> elevations, double level,
                                        double elevationShift, WaterExtent extent) {
    const std::size_t n = std::min(stations.size(), elevations.size());
    HydraulicProperties p;
    if (n == 0 || !std::isfinite(level))
        return p;
    elevations = elevations.first(n);
    const std::size_t m = firstLowest(elevations, elevationShift);
    const double lowest = elevations[m] + elevationShift;
    if (!(lowest < level))
        return p;

    const WaterRegion region = extent == WaterExtent::ConnectedToLowest
                                   ? connectedRegion(elevations, elevationShift, m, level)
                                   : WaterRegion{0, n - 1, true, true};
    const std::size_t first = region.first;
    const std::size_t last = region.last;
    p.area = regionArea(stations, elevations, region, level, elevationShift);
    double width = 0.0;
    double perimeter = 0.0;
    for (std::size_t i = first; i < last; ++i) {
        const Wet wet = wetAt(segmentPiece(stations[i], elevations[i] + elevationShift,
                                           stations[i + 1], elevations[i + 1] + elevationShift),
                              level);
        width += wet.width;
        perimeter += wet.perimeter;
    }
    if (region.leftWall)
        perimeter += wetAt(wallPiece(elevations[0] + elevationShift), level).perimeter;
    if (region.rightWall)
        perimeter += wetAt(wallPiece(elevations[n - 1] + elevationShift), level).perimeter;
    p.topWidth = width;
    p.wettedPerimeter = perimeter;
    deriveQuotients(p, level, lowest);
    return p;
}

std::vector<HydraulicProperties> hydraulicProperties(std::span<const double> stations,
                                                     std::span<const double> elevations,
                                                     std::span<const double> levels,
                                                     double elevationShift, WaterExtent extent) {
    const std::size_t n = std::min(stations.size(), elevations.size());
    std::vector<HydraulicProperties> results(levels.size());
    if (n == 0 || levels.empty())
        return results;
    stations = stations.first(n);
    elevations = elevations.first(n);

    std::vector<double> shifted(n);
    bool finite = true;
    for (std::size_t i = 0; i < n; ++i) {
        shifted[i] = elevations[i] + elevationShift;
        finite = finite && std::isfinite(shifted[i]) && std::isfinite(stations[i]);
    }
    // The sweep sorts by elevation; a section with non-finite values is walked level by level.
    if (!finite || n > std::numeric_limits<std::uint32_t>::max() - 2) {
        for (std::size_t k = 0; k < levels.size(); ++k)
            results[k] =
                hydraulicProperties(stations, elevations, levels[k], elevationShift, extent);
        return results;
    }
    const std::size_t m = firstLowest(shifted, 0.0);
    const double lowest = shifted[m];

    // Levels above the bed, lowest first; the rest hold no water.
    std::vector<std::size_t> order;
    order.reserve(levels.size());
    for (std::size_t k = 0; k < levels.size(); ++k) {
        if (std::isfinite(levels[k]) && levels[k] > lowest)
            order.push_back(k);
    }
    if (!std::is_sorted(order.begin(), order.end(),
                        [&](std::size_t a, std::size_t b) { return levels[a] < levels[b]; })) {
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return levels[a] < levels[b]; });
    }

    // Pieces 0 .. n-2 are the segments, n-1 and n the left and right walls.
    std::vector<Piece> pieces(n + 1);
    for (std::size_t i = 0; i + 1 < n; ++i)
        pieces[i] = segmentPiece(stations[i], shifted[i], stations[i + 1], shifted[i + 1]);
    pieces[n - 1] = wallPiece(shifted[0]);
    pieces[n] = wallPiece(shifted[n - 1]);
    std::vector<Event> events;
    events.reserve(2 * n + 2);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const Piece& piece = pieces[i];
        const auto id = static_cast<std::uint32_t>(i);
        switch (piece.kind) {
        case Piece::Dry:
            break;
        case Piece::Step:
            events.push_back({piece.lo, id, Event::Step});
            break;
        case Piece::Slope:
            events.push_back({piece.lo, id, Event::Start});
            events.push_back({piece.hi, id, Event::End});
            break;
        case Piece::Wall:
            events.push_back({piece.lo, id, Event::Start});
            break;
        }
    }
    std::sort(events.begin(), events.end(),
              [](const Event& a, const Event& b) { return a.at < b.at; });

    const bool connected = extent == WaterExtent::ConnectedToLowest;
    std::vector<char> joined(pieces.size(), connected ? 0 : 1);
    // The connected region is the points strictly between `left` and `right` (signed, so that
    // -1 and n mean the region has reached a wall).
    std::int64_t left = static_cast<std::int64_t>(m);
    std::int64_t right = static_cast<std::int64_t>(m);
    const auto count = static_cast<std::int64_t>(n);

    Sweep sweep(lowest);
    std::vector<char> whole(levels.size(), connected ? 0 : 1);
    std::size_t next = 0;
    for (const std::size_t k : order) {
        const double level = levels[k];
        for (; next < events.size() && events[next].at < level; ++next) {
            const Event& event = events[next];
            if (!joined[event.piece])
                continue;
            sweep.advanceTo(event.at);
            const Piece& piece = pieces[event.piece];
            switch (event.kind) {
            case Event::Start:
                sweep.startSlope(piece);
                break;
            case Event::End:
                sweep.endSlope(piece);
                break;
            case Event::Step:
                sweep.step(piece);
                break;
            }
        }
        sweep.advanceTo(level);
        if (connected) {
            auto join = [&](std::size_t piece) {
                joined[piece] = 1;
                const double area =
                    piece + 1 < n ? segmentArea(stations[piece], shifted[piece],
                                                stations[piece + 1], shifted[piece + 1], level)
                                  : 0.0;
                sweep.join(pieces[piece], area);
            };
            while (left >= 0 && shifted[static_cast<std::size_t>(left)] < level) {
                --left;
                join(left >= 0 ? static_cast<std::size_t>(left) : n - 1);
            }
            while (right < count && shifted[static_cast<std::size_t>(right)] < level) {
                ++right;
                join(right < count ? static_cast<std::size_t>(right - 1) : n);
            }
            whole[k] = left < 0 && right >= count;
        }
        HydraulicProperties& p = results[k];
        p.topWidth = sweep.topWidth();
        p.wettedPerimeter = sweep.perimeter();
        p.area = sweep.area();
    }

    // The whole section's area is the rating's, from the rating's own kernel.
    std::vector<double> wholeLevels;
    std::vector<std::size_t> wholeIndex;
    for (std::size_t k = 0; k < levels.size(); ++k) {
        if (whole[k]) {
            wholeLevels.push_back(levels[k]);
            wholeIndex.push_back(k);
        }
    }
    std::vector<double> areas(wholeLevels.size());
    wettedAreas(stations, elevations, wholeLevels, elevationShift, areas);
    for (std::size_t j = 0; j < wholeIndex.size(); ++j)
        results[wholeIndex[j]].area = areas[j];

    for (std::size_t k = 0; k < levels.size(); ++k) {
        if (std::isfinite(levels[k]))
            deriveQuotients(results[k], levels[k], lowest);
        else
            results[k] = {};
    }
    return results;
}

void connectedWettedAreas(std::span<const double> stations, std::span<const double> elevations,
                          std::span<const double> levels, double elevationShift,
                          std::span<double> areas) noexcept {
    const std::size_t n = std::min(stations.size(), elevations.size());
    const std::size_t m = n == 0 ? 0 : firstLowest(elevations.first(n), elevationShift);
    for (std::size_t k = 0; k < levels.size() && k < areas.size(); ++k) {
        const double level = levels[k];
        if (n == 0 || !std::isfinite(level) || !(elevations[m] + elevationShift < level)) {
            areas[k] = 0.0;
            continue;
        }
        const WaterRegion region = connectedRegion(elevations.first(n), elevationShift, m, level);
        areas[k] = regionArea(stations, elevations, region, level, elevationShift);
    }
}

WaterRegion waterRegion(std::span<const double> elevations, double level, double elevationShift,
                        WaterExtent extent) noexcept {
    if (elevations.empty())
        return {};
    if (extent == WaterExtent::WholeSection)
        return {0, elevations.size() - 1, true, true};
    return connectedRegion(elevations, elevationShift, firstLowest(elevations, elevationShift),
                           level);
}

} // namespace korvadel
