// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/SubsectionConveyance.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

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
    // What the user should hear about the points read that did not stop the read, one line
    // each: surveyed points off the section line, a section longer than its own program allows.
    std::vector<std::string> notes;
    // Where Manning's n changes across the section and its values, when the file gives them
    // (a HEC-RAS cross section); the bank stations with them.
    std::optional<Subsections> roughness;
    std::optional<double> leftBank;
    std::optional<double> rightBank;
};

} // namespace korvadel
