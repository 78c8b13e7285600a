// SPDX-License-Identifier: GPL-3.0-or-later
// HEC-RAS geometry files over any bytes: every cross section read is whole, can be chosen by
// its name and loaded, and its n values divide it into subsections the conveyance can use.

#include "FuzzSupport.h"
#include "io/HecRasGeometry.h"
#include "io/LineReader.h"
#include "model/CrossSectionDocument.h"
#include "model/Error.h"
#include "model/SubsectionConveyance.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

using namespace korvadel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    LineReader reader = LineReader::overBytes(bytes);
    const HecRasGeometry geometry = readHecRasGeometry(reader, "fuzz.g01");
    for (const HecRasCrossSection& section : geometry.sections) {
        fuzz::check(section.stations.size() == section.elevations.size(), "points unpaired");
        fuzz::check(section.roughness.size() == section.roughnessStations.size(), "n unpaired");
        const Subsections subsections = section.subsections();
        if (!subsections.roughness.empty()) {
            try {
                checkSubsections(subsections, "stations", "n");
            } catch (const Error&) {
                fuzz::fail("n values read that the conveyance refuses");
            }
        }
        try {
            const HecRasCrossSection& chosen =
                chooseHecRasSection(geometry, section.path(), "fuzz.g01");
            fuzz::check(chosen.path() == section.path(), "another section chosen");
        } catch (const Error&) {
            // The same name twice in the file: refused, which is right.
        }
        CrossSectionDocument document;
        loadHecRasSection(section, document);
        fuzz::checkReadTable(document.points);
        if (subsections.divided() && !section.elevations.empty()) {
            const auto [low, high] =
                std::minmax_element(section.elevations.begin(), section.elevations.end());
            std::vector<SubsectionGeometry> parts(subsections.count());
            document.points.first();
            subsectionGeometry(document.points.stations(), document.points.elevations(),
                               (*low + *high) / 2 + 1, 0.0, WaterExtent::WholeSection,
                               subsections.boundaries, parts);
            for (const SubsectionGeometry& part : parts)
                fuzz::check(!(part.area < -1e-6 * (1 + std::abs(part.area))) &&
                                !(part.wettedPerimeter < 0),
                            "negative subsection");
        }
    }
    for (const HecRasProblem& problem : geometry.problems)
        fuzz::check(problem.message.starts_with("fuzz.g01, line "), "problem without its place");
    return 0;
}
