// SPDX-License-Identifier: GPL-3.0-or-later
// Surveyed points over any bytes, laid onto the line between the first and the last point.

#include "FuzzSupport.h"
#include "io/LineReader.h"
#include "io/SurveyPoints.h"
#include "model/Error.h"
#include "model/SurveyProjection.h"

#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

using namespace korvadel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const char separator : {'.', ','}) {
        LineReader reader = LineReader::overBytes(bytes);
        std::vector<SurveyPoint> points;
        try {
            points = readSurveyPoints(reader, NumberFormat{separator});
        } catch (const Error&) {
            continue;
        }
        for (const bool flip : {false, true}) {
            SurveyLine line;
            line.flip = flip;
            try {
                const SurveyProjection projection = projectSurvey(points, line);
                fuzz::check(projection.points.size() == points.size(), "points lost");
                for (const ProjectedPoint& point : projection.points)
                    fuzz::check(!std::isnan(point.station) && !std::isnan(point.offset),
                                "projection not a number");
            } catch (const Error&) {
            }
        }
    }
    return 0;
}
