// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/PropertyTable.h"

#include "model/Numbers.h"

#include <iterator>

namespace korvadel {

namespace {

constexpr std::string_view kColumns[] = {
    "stage",      "area",      "top_width",  "wetted_perimeter", "hydraulic_radius",
    "mean_depth", "max_depth", "conveyance", "discharge"};
constexpr std::size_t kGeometryColumns = 7;

} // namespace

PropertyTable propertyTable(std::span<const double> stations, std::span<const double> elevations,
                            std::span<const double> stages, double elevationShift,
                            WaterExtent extent, const std::optional<ManningInputs>& manning) {
    PropertyTable table;
    table.manning = manning;
    table.properties = hydraulicProperties(stations, elevations, stages, elevationShift, extent);
    table.stages.reserve(stages.size());
    for (const double stage : stages)
        table.stages.push_back(roundScaled(stage, 100));
    if (manning) {
        table.flows.reserve(stages.size());
        for (const HydraulicProperties& properties : table.properties)
            table.flows.push_back(manningFlow(properties, *manning));
    }
    return table;
}

std::vector<std::string_view> propertyColumns(bool withManning) {
    const std::size_t count = withManning ? std::size(kColumns) : kGeometryColumns;
    return {std::begin(kColumns), std::begin(kColumns) + count};
}

std::string propertyCsvHeading(bool withManning) {
    std::string heading;
    for (const std::string_view column : propertyColumns(withManning)) {
        if (!heading.empty())
            heading += ',';
        heading += column;
    }
    heading += "\r\n";
    return heading;
}

void appendPropertyCsvRows(std::string& out, const PropertyTable& table) {
    const bool withManning = table.manning.has_value();
    char line[std::size(kColumns) * (kMaxGeneralLength + 1) + 2];
    for (std::size_t i = 0; i < table.stages.size(); ++i) {
        const HydraulicProperties& p = table.properties[i];
        char* at = appendGeneral(line, table.stages[i]);
        const auto put = [&at](double value) {
            *at++ = ',';
            at = appendGeneral(at, value);
        };
        put(p.area);
        put(p.topWidth);
        put(p.wettedPerimeter);
        put(p.hydraulicRadius);
        put(p.meanDepth);
        put(p.maxDepth);
        if (withManning) {
            put(table.flows[i].conveyance);
            put(table.flows[i].discharge);
        }
        *at++ = '\r';
        *at++ = '\n';
        out.append(line, static_cast<std::size_t>(at - line));
    }
}

std::string propertyTableCsv(const PropertyTable& table) {
    std::string text = propertyCsvHeading(table.manning.has_value());
    appendPropertyCsvRows(text, table);
    return text;
}

} // namespace korvadel
