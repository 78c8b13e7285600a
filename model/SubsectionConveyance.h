// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/HydraulicProperties.h"
#include "model/ManningFlow.h"
#include "model/NumberFormat.h"

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace korvadel {

// A section cut into subsections by vertical lines at given stations, each with its own
// Manning's n: the left overbank, the channel and the right overbank, or wherever n changes
// across the section. One hydraulic radius for a whole section understates the conveyance once
// the water spreads over shallow overbanks; summing the subsections' conveyances does not.
struct Subsections {
    // The stations of the dividing lines, ascending; two equal stations leave an empty
    // subsection between them. None: the section is one.
    std::vector<double> boundaries;
    // Manning's n of each subsection from left to right: one more than the boundaries.
    std::vector<double> roughness;

    std::size_t count() const { return roughness.size(); }
    bool divided() const { return !boundaries.empty(); }
};

// Boundaries finite and not falling, one n per subsection, each n a finite number above
// 0. Throws Error naming the input as the user gave it (`boundariesName`, `roughnessName`).
void checkSubsections(const Subsections& subsections, std::string_view boundariesName,
                      std::string_view roughnessName, NumberFormat format = {});

struct SubsectionGeometry {
    double area = 0.0;
    double wettedPerimeter = 0.0;
};

// The area and wetted perimeter of each subsection at one level, with the water of the whole
// section as hydraulicProperties counts it (`extent`). Subsection i holds the stations from
// boundaries[i - 1] to boundaries[i]; the first reaches from the section's start, the last to
// its end, and a boundary outside the section leaves an empty subsection. A segment crossing a
// boundary is cut there, its elevation interpolated. The dividing lines are not wetted
// perimeter: the bed on either side meets the same water. What stands exactly on a boundary
// goes to the subsection whose water it holds: the left end wall and a vertical step to the
// subsection on its right, the right end wall to the one on its left. So the areas add up to
// the section's area and the perimeters to its perimeter, up to rounding. `out` takes one
// entry per subsection (boundaries.size() + 1); every entry is 0 at a level without water.
void subsectionGeometry(std::span<const double> stations, std::span<const double> elevations,
                        double level, double elevationShift, WaterExtent extent,
                        std::span<const double> boundaries,
                        std::span<SubsectionGeometry> out) noexcept;

// Conveyance by subsections: K_i = (k / n_i) A_i R_i^(2/3) with R_i = A_i / P_i (0 for a
// subsection without wetted perimeter), K the sum of the K_i and Q = K sqrt(S). Evaluated in
// extended precision, like manningFlow: a result too small for a double is 0, one too large
// throws Error naming the n values and the slope.
struct SubsectionFlow {
    std::vector<double> conveyances; // K_i, one per subsection
    ManningFlow total;               // K and Q
};
SubsectionFlow subsectionFlow(std::span<const SubsectionGeometry> geometry,
                              const Subsections& subsections, double slope, UnitSystem units,
                              NumberFormat format = {});

} // namespace korvadel
