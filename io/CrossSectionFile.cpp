// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/CrossSectionFile.h"

#include "io/AtomicFile.h"
#include "io/Fields.h"
#include "io/LineReader.h"
#include "io/PointReaders.h"
#include "io/RowReading.h"
#include "model/CrossSectionDocument.h"
#include "model/Numbers.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace korvadel {

namespace {

// A point in the general format, except that the largest magnitudes, which 15 digits round up
// past the largest double (the file would then not load), are written with all their digits.
char* appendPoint(char* out, double value, NumberFormat format) {
    constexpr double kRoundsPastLargest = 1.797693134862315e308;
    if (std::fabs(value) >= kRoundsPastLargest)
        return appendGeneralExact(out, value, format);
    return appendGeneral(out, value, format);
}

constexpr std::string_view kMarker = "//Korvadel";
constexpr std::string_view kCrLf = "\r\n";

// The marker line is compared after trimming; a longer line cannot be the marker unless it is
// padded with this many blanks, which no program writes.
constexpr std::size_t kMarkerKeep = 4096;

// A value or name longer than this cannot be a number or a column name the reader knows, so
// only its start is kept (for the message); this bounds the memory a line of any length needs.
constexpr std::size_t kPieceKeep = 4096;

// Reads the next plain-table line and cuts it at its TABs: the text before the first TAB, then
// the text between each TAB and the next, until the text left is empty; so a final TAB adds no
// piece, two TABs in a row give an empty piece, and a line without TAB is one piece (an empty
// line none). `piece` gets the kept start of each piece and its full length; a run of empty
// pieces goes to `emptyPieces` with its count in one call, so a line of TABs costs little.
template <class Piece, class EmptyPieces>
void readTabPieces(LineReader& reader, std::string& kept, Piece&& piece,
                   EmptyPieces&& emptyPieces) {
    kept.clear();
    std::size_t length = 0;
    reader.readLineChunks([&](std::string_view chunk) {
        for (;;) {
            if (length == 0 && !chunk.empty() && chunk.front() == '\t') {
                const std::size_t run = std::min(chunk.find_first_not_of('\t'), chunk.size());
                emptyPieces(run);
                chunk.remove_prefix(run);
                continue;
            }
            const std::size_t tab = chunk.find('\t');
            const std::string_view part = chunk.substr(0, tab);
            if (kept.size() < kPieceKeep) {
                kept.append(part.substr(0, kPieceKeep - kept.size()));
            }
            length += part.size();
            if (tab == std::string_view::npos) {
                return;
            }
            piece(std::string_view(kept), length);
            kept.clear();
            length = 0;
            chunk.remove_prefix(tab + 1);
        }
    });
    if (length > 0) {
        piece(std::string_view(kept), length);
    }
}

enum class Column : unsigned char { Ignored, Station, Elevation };

// The first line of a file without the marker line: the names of a TAB-separated table.
struct PlainHeading {
    // Roles are kept up to the last column that loads anything; a heading of a million ignored
    // columns then costs nothing but their count.
    std::vector<Column> columns;
    std::size_t columnCount = 0;
    bool namesStation = false;
};

PlainHeading readPlainHeading(LineReader& reader, std::string& kept) {
    PlainHeading heading;
    readTabPieces(
        reader, kept,
        [&](std::string_view name, std::size_t length) {
            ++heading.columnCount;
            Column role = Column::Ignored;
            if (length == name.size() && equalsIgnoringCase(name, "Station")) {
                role = Column::Station;
                heading.namesStation = true;
            } else if (length == name.size() && equalsIgnoringCase(name, "Elevation")) {
                role = Column::Elevation;
            }
            if (role != Column::Ignored) {
                heading.columns.resize(heading.columnCount, Column::Ignored);
                heading.columns.back() = role;
            }
        },
        [&](std::size_t count) { heading.columnCount += count; });
    return heading;
}

// The rows of a plain table under its heading. Every value goes through the standard
// conversion, so its errors are the standard ones.
ReadSummary loadPlainRows(LineReader& reader, const PlainHeading& heading, PointTable& points,
                          NumberFormat format) {
    const std::size_t columnCount = heading.columnCount;
    const std::vector<Column>& columns = heading.columns;
    std::string kept;
    return readRowsInto(points, [&](PointTable::LoadColumns& rows) {
        while (!reader.atEnd()) {
            std::optional<double> station;
            std::optional<double> elevation;
            std::size_t k = 0;
            readTabPieces(
                reader, kept,
                [&](std::string_view value, std::size_t length) {
                    const std::size_t position = k++;
                    if (position >= columnCount) {
                        throw Error("List index out of bounds (" + std::to_string(position) + ")");
                    }
                    const Column column =
                        position < columns.size() ? columns[position] : Column::Ignored;
                    if (column == Column::Ignored || length == 0) {
                        return;
                    }
                    double number = 0.0;
                    if (length != value.size() || !tryTextToFloat(value, number, format)) {
                        throw Error("'" + std::string(value) +
                                    "' is not a valid floating point value for field '" +
                                    (column == Column::Station ? "Station" : "Elevation") + "'");
                    }
                    (column == Column::Station ? station : elevation) = number;
                },
                [&](std::size_t count) {
                    // Empty values load nothing, but each still needs its column.
                    if (k + count > columnCount) {
                        const std::size_t position = std::max(k, columnCount);
                        throw Error("List index out of bounds (" + std::to_string(position) + ")");
                    }
                    k += count;
                });
            if (!station) {
                // The table refuses this row with its required-field message; the rows before
                // it stay.
                rows.stopAtMissingStation();
                return;
            }
            rows.add(*station, elevation);
            sizeForWholeFile(rows, reader);
        }
    });
}

} // namespace

void saveCrossSection(const std::string& path, CrossSectionDocument& document,
                      NumberFormat format) {
    PointTable& points = document.points;
    // Settling may fail for a pending row without Station; that must happen before the file is
    // touched.
    points.first();

    AtomicFile file(path, AtomicFile::CreateErrors::FileError);
    const GageSettings& settings = document.settings;
    std::string header;
    header.append(kMarker).append(kCrLf);
    header.append("//Station\t").append(document.description).append(kCrLf);
    header.append("//GHMinimum\t").append(settings.minimum).append(kCrLf);
    header.append("//GHMaximum\t").append(settings.maximum).append(kCrLf);
    header.append("//GHIncrement\t")
        .append(formatGeneral(settings.increment(), format))
        .append(kCrLf);
    header.append("//GHDatum\t").append(settings.datum).append(kCrLf);
    header.append("Station\tElevation").append(kCrLf);
    file.write(header);

    // The points go straight into one block, which is handed on whenever it is nearly full.
    constexpr std::size_t kLineRoom = 2 * kMaxGeneralLength + 3;
    std::string block(AtomicFile::kBlockSize + kLineRoom, '\0');
    char* const start = block.data();
    char* const full = start + AtomicFile::kBlockSize;
    char* at = start;
    const auto stations = points.stations();
    const auto elevations = points.elevations();
    for (std::size_t i = 0; i < stations.size(); ++i) {
        at = appendPoint(at, stations[i], format);
        *at++ = '\t';
        at = appendPoint(at, elevations[i], format);
        *at++ = '\r';
        *at++ = '\n';
        if (at >= full) {
            file.write(start, static_cast<std::size_t>(at - start));
            at = start;
        }
    }
    file.write(start, static_cast<std::size_t>(at - start));
    file.commit();

    // Where a walk from the first row to the end leaves the cursor: on the last row, at the end.
    if (points.rowCount() > 0) {
        points.last();
        points.next();
    }
}

ReadSummary loadCrossSection(LineReader& reader, CrossSectionDocument& document,
                             NumberFormat format) {
    // Whether the file holds a section at all is settled before anything changes: a file that
    // is neither a cross-section file nor a table of points (a picture or a program renamed,
    // say) leaves the document as it was.
    const bool marked = trimmed(reader.readLine(kMarkerKeep, true)) == kMarker;
    std::optional<PlainHeading> heading;
    if (!marked) {
        reader.restart(LineReader::Breaks::Table);
        const bool empty = reader.atEnd() && !reader.endedAtMark();
        if (!empty) {
            std::string kept;
            heading = readPlainHeading(reader, kept);
        }
        if (!empty && !heading->namesStation) {
            throw Error(noCrossSectionMessage(reader.sourceName()));
        }
    }

    document.resetSettings();
    PointTable& points = document.points;
    ViewSuspension views(points);
    points.clear();
    points.first();
    if (!marked) {
        return heading ? loadPlainRows(reader, *heading, points, format) : ReadSummary{};
    }

    const DelimiterSet tab("\t");
    FieldList fields;
    // Header lines are taken by position; their keys are not examined.
    const auto headerValue = [&]() {
        SplitFields(reader.readLine(kMaxSplitLine), tab, '"', false, fields);
        return fields.size() > 1 ? std::string(fields.at(1)) : std::string();
    };
    GageSettings& settings = document.settings;
    document.description = headerValue();
    settings.minimum = headerValue();
    settings.maximum = headerValue();
    settings.setIncrement(textToFloat(headerValue(), format));
    settings.datum = headerValue();
    reader.skipLine(); // column heading

    return readRowsInto(points, [&](PointTable::LoadColumns& rows) {
        readPointLines(reader, tab, format, false, rows);
    });
}

ReadSummary loadCrossSection(const std::string& path, CrossSectionDocument& document,
                             NumberFormat format) {
    return readUnlessUnableToAccess(
        path, [&](LineReader& reader) { return loadCrossSection(reader, document, format); });
}

} // namespace korvadel
