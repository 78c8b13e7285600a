// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/SurveyPoints.h"

#include "io/Fields.h"
#include "io/LineReader.h"
#include "model/CrossSectionDocument.h"
#include "model/Error.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>

namespace korvadel {

namespace {

enum Column { Name, Easting, Northing, Elevation, kColumns };

struct ColumnNames {
    const char* what; // as messages name it
    std::array<std::string_view, 3> names;
};

constexpr ColumnNames kColumnNames[kColumns] = {
    {"name", {"name", "point", ""}},
    {"easting", {"easting", "x", "e"}},
    {"northing", {"northing", "y", "n"}},
    {"elevation", {"elevation", "z", "h"}},
};

std::string quoted(std::string_view text) {
    return "'" + std::string(text) + "'";
}

} // namespace

std::vector<SurveyPoint> readSurveyPoints(LineReader& reader, NumberFormat format) {
    const DelimiterSet comma(",");
    FieldList fields;
    std::array<std::optional<std::size_t>, kColumns> at;
    bool headed = false;
    std::vector<SurveyPoint> points;
    while (!reader.atEnd()) {
        const std::string_view line = reader.readLine(kMaxSplitLine);
        if (trimmed(line).empty())
            continue;
        SplitFields(line, comma, '"', true, fields);
        const std::string lineName = "Line " + std::to_string(reader.lineNumber());
        if (!headed) {
            headed = true;
            for (std::size_t i = 0; i < fields.size(); ++i) {
                const std::string_view heading = trimmed(fields[i]);
                for (std::size_t c = 0; c < kColumns; ++c) {
                    for (const std::string_view name : kColumnNames[c].names) {
                        if (name.empty() || !equalsIgnoringCase(heading, name))
                            continue;
                        if (at[c] && *at[c] != i)
                            throw Error(lineName + ": two columns give the " +
                                        kColumnNames[c].what);
                        at[c] = i;
                    }
                }
            }
            for (std::size_t c = 0; c < kColumns; ++c) {
                if (!at[c]) {
                    std::string names;
                    for (const std::string_view name : kColumnNames[c].names)
                        if (!name.empty())
                            names += (names.empty() ? "" : ", ") + std::string(name);
                    throw Error(lineName + ": the heading names no " + kColumnNames[c].what +
                                " column (" + names + ")");
                }
            }
            continue;
        }
        SurveyPoint point;
        std::array<double*, kColumns> values{nullptr, &point.easting, &point.northing,
                                             &point.elevation};
        for (std::size_t c = 0; c < kColumns; ++c) {
            if (*at[c] >= fields.size())
                throw Error(lineName + " has no " + kColumnNames[c].what);
            const std::string_view text = trimmed(fields[*at[c]]);
            if (c == Name) {
                point.name = text;
                continue;
            }
            if (text.empty())
                throw Error(lineName + ": the " + kColumnNames[c].what + " is empty");
            const FieldNumber number = FieldToReal(text, format.decimalSeparator);
            if (!number.ok)
                throw Error(lineName + ": " + quoted(text) +
                            " is not a valid floating point value");
            *values[c] = number.value;
        }
        points.push_back(std::move(point));
    }
    return points;
}

std::vector<SurveyPoint> readSurveyPoints(const std::string& path, NumberFormat format) {
    LineReader reader(path);
    return readSurveyPoints(reader, format);
}

ReadSummary importSurveyedPoints(const std::string& path, const SurveyLine& line,
                                 CrossSectionDocument& document, NumberFormat format) {
    const std::vector<SurveyPoint> points = readSurveyPoints(path, format);
    return loadSurveyProjection(points, projectSurvey(points, line, format), document);
}

ReadSummary loadSurveyProjection(std::span<const SurveyPoint> points, SurveyProjection projection,
                                 CrossSectionDocument& document) {
    PointTable::LoadColumns rows;
    rows.reserve(points.size());
    for (const ProjectedPoint& point : projection.points)
        if (point.kept && point.index < points.size())
            rows.add(point.station, points[point.index].elevation);
    ReadSummary summary;
    summary.unsortedStations = document.points.bulkLoad(std::move(rows));
    document.points.first();
    summary.notes = std::move(projection.warnings);
    return summary;
}

} // namespace korvadel
