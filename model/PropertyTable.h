// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/HydraulicProperties.h"
#include "model/ManningFlow.h"
#include "model/SubsectionConveyance.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvadel {

// The hydraulic properties of a section over the stages of a rating, as one table: one row per
// stage, in the columns stage, area, top_width, wetted_perimeter, hydraulic_radius, mean_depth,
// max_depth, and with Manning's inputs also conveyance and discharge; with a section divided
// into subsections, then also conveyance_1, conveyance_2, ... (one per subsection, left to
// right), the conveyance being their sum.
struct PropertyTable {
    std::vector<double> stages;                  // rounded to 2 decimals, as the rating stores them
    std::vector<HydraulicProperties> properties; // at the unrounded stages, unrounded
    std::optional<ManningInputs> manning;
    std::vector<ManningFlow> flows; // one per stage when `manning` is given, otherwise none
    // With Manning's inputs and a divided section: its subsections, and row by row the
    // conveyance of each (subsections.count() values a row).
    std::optional<Subsections> subsections;
    std::vector<double> subsectionConveyances;

    std::size_t subsectionCount() const { return subsections ? subsections->count() : 0; }
};

// The table at `stages`, the unrounded stages of a rating run (RatingStages), each compared with
// elevation + elevationShift. With WaterExtent::WholeSection the area column is the rating's
// unrounded area to the bit. Throws Error when Manning's inputs are refused or a conveyance or
// discharge would be too large to be represented (manningFlow), before any row is returned.
//
// With `subsections` that divide the section (and Manning's inputs), the conveyance is the sum
// of the subsections' (subsectionFlow) and their n replaces the one of `manning`; undivided
// subsections (no boundary) change nothing, so the table is then the one of `manning` alone.
// The refusals name the inputs with `format`'s decimal separator, as they were typed.
PropertyTable propertyTable(std::span<const double> stations, std::span<const double> elevations,
                            std::span<const double> stages, double elevationShift,
                            WaterExtent extent,
                            const std::optional<ManningInputs>& manning = std::nullopt,
                            const std::optional<Subsections>& subsections = std::nullopt,
                            NumberFormat format = {});

// The column names, as the heading line writes them: with `subsections` above 1, the
// conveyance of each after the discharge.
std::vector<std::string> propertyColumns(bool withManning, std::size_t subsections = 0);

// Comma-delimited text of the table: the heading line, then one line per stage, each ended by
// CR LF. The stage is written as the rating writes it (2 decimals), every other value unrounded
// in the general number format. Numbers always take a point: with a decimal comma a line of
// nine numbers could not be split back into its columns. appendPropertyCsvRows adds the rows
// alone, for a table written in parts.
std::string propertyTableCsv(const PropertyTable& table);
std::string propertyCsvHeading(bool withManning, std::size_t subsections = 0);
void appendPropertyCsvRows(std::string& out, const PropertyTable& table);

} // namespace korvadel
