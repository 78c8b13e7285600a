// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace korvadel {

// The rows of a point table, column by column (stations, elevations with empty read as 0.0), so
// the hydraulics can run over contiguous arrays once the table is settled.
struct PointColumns {
    static constexpr std::uint8_t kHasStation = 1;
    static constexpr std::uint8_t kHasElevation = 2;

    std::vector<double> stations;
    std::vector<double> elevations;
    std::vector<std::uint8_t> flags; // kHasStation | kHasElevation
    std::vector<std::int64_t> recIds;

    std::size_t size() const { return stations.size(); }
};

// Ascending station order. A NaN station cannot come from the readers, but if one ever got in
// it sorts last instead of breaking the ordering the searches and the sorts rely on.
inline bool stationLess(double a, double b) {
    return a < b || (b != b && a == a);
}

// The rows of one load in the order they were read, column by column: what the readers collect,
// at 16 bytes a row, to hand to the point table whole.
class PointLoad {
public:
    void reserve(std::size_t rows) {
        stations_.reserve(rows);
        elevations_.reserve(rows);
    }
    std::size_t size() const { return stations_.size(); }
    void add(double station, double elevation) {
        stations_.push_back(station);
        elevations_.push_back(elevation);
        if (!allElevations_)
            hasElevation_.push_back(1);
    }
    void add(double station, std::optional<double> elevation);
    // The rows end at one without Station, which the table refuses as its commit would; rows
    // added after this are not loaded.
    void stopAtMissingStation() {
        if (!stationMissing_)
            loaded_ = stations_.size();
        stationMissing_ = true;
    }
    bool stationMissing() const { return stationMissing_; }

private:
    friend std::size_t takeLoad(PointLoad&& rows, PointColumns& columns, std::int64_t& nextRecId);
    std::vector<double> stations_;
    std::vector<double> elevations_; // 0.0 where a row has none
    // Kept, one entry a row, from the first row without elevation on.
    std::vector<std::uint8_t> hasElevation_;
    bool allElevations_ = true;
    bool stationMissing_ = false;
    std::size_t loaded_ = 0; // the rows before the one without Station
};

// Makes the rows of a load the columns (whatever they held), numbered from `nextRecId` on in
// load order and placed in ascending station order, equal stations in load order; rows from a
// missing station on are left out. Returns the number of rows whose station is below that of
// the row before them, in load order (0: no sort was needed).
std::size_t takeLoad(PointLoad&& rows, PointColumns& columns, std::int64_t& nextRecId);

} // namespace korvadel
