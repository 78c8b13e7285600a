// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace korvadel {

// What a reader saw of the file beside the points it put into the table.
struct ReadSummary {
    // How many rows, taken in file order, have a station less than the station of the row
    // read just before them (rows without a station are passed over). 0 means the file listed
    // its stations in ascending order, equal stations side by side included, and the table
    // holds the points in file order; otherwise the reader's sort moved points. A file listed
    // from right to left, n stations falling, counts n - 1; one point out of its place in an
    // otherwise ascending file counts 1, and so does a file that lists its right half first.
    std::size_t unsortedStations = 0;
};

} // namespace korvadel
