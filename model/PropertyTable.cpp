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
                            WaterExtent extent, const std::optional<ManningInputs>& manning,
                            const std::optional<Subsections>& subsections, NumberFormat format) {
    PropertyTable table;
    table.manning = manning;
    table.properties = hydraulicProperties(stations, elevations, stages, elevationShift, extent);
    table.stages.reserve(stages.size());
    for (const double stage : stages)
        table.stages.push_back(roundScaled(stage, 100));
    if (!manning)
        return table;
    table.flows.reserve(stages.size());
    if (!subsections || !subsections->divided()) {
        for (const HydraulicProperties& properties : table.properties)
            table.flows.push_back(manningFlow(properties, *manning, format));
        return table;
    }
    checkSubsections(*subsections, "The subsection boundaries", "Manning's n", format);
    table.subsections = subsections;
    const std::size_t count = subsections->count();
    table.subsectionConveyances.reserve(stages.size() * count);
    std::vector<SubsectionGeometry> geometry(count);
    for (const double stage : stages) {
        subsectionGeometry(stations, elevations, stage, elevationShift, extent,
                           subsections->boundaries, geometry);
        const SubsectionFlow flow =
            subsectionFlow(geometry, *subsections, manning->slope, manning->units, format);
        table.flows.push_back(flow.total);
        table.subsectionConveyances.insert(table.subsectionConveyances.end(),
                                           flow.conveyances.begin(), flow.conveyances.end());
    }
    return table;
}

std::vector<std::string> propertyColumns(bool withManning, std::size_t subsections) {
    const std::size_t count = withManning ? std::size(kColumns) : kGeometryColumns;
    std::vector<std::string> columns(std::begin(kColumns), std::begin(kColumns) + count);
    if (withManning && subsections > 1) {
        for (std::size_t i = 1; i <= subsections; ++i)
            columns.push_back("conveyance_" + std::to_string(i));
    }
    return columns;
}

std::string propertyCsvHeading(bool withManning, std::size_t subsections) {
    std::string heading;
    for (const std::string& column : propertyColumns(withManning, subsections)) {
        if (!heading.empty())
            heading += ',';
        heading += column;
    }
    heading += "\r\n";
    return heading;
}

void appendPropertyCsvRows(std::string& out, const PropertyTable& table) {
    const bool withManning = table.manning.has_value();
    const std::size_t subsections = table.subsectionCount();
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
        out.append(line, static_cast<std::size_t>(at - line));
        for (std::size_t j = 0; j < subsections; ++j) {
            at = line;
            put(table.subsectionConveyances[i * subsections + j]);
            out.append(line, static_cast<std::size_t>(at - line));
        }
        out += "\r\n";
    }
}

std::string propertyTableCsv(const PropertyTable& table) {
    std::string text = propertyCsvHeading(table.manning.has_value(), table.subsectionCount());
    appendPropertyCsvRows(text, table);
    return text;
}

} // namespace korvadel
