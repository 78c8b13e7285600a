// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/RowReading.h"

#include "io/Fields.h"

namespace korvadel {

void readPointLines(LineReader& reader, const DelimiterSet& delimiters, NumberFormat format,
                    bool headingFirst, PointTable::LoadColumns& rows) {
    const char separator = format.decimalSeparator;
    FieldList fields;
    while (!reader.atEnd()) {
        SplitFields(reader.readLine(kMaxSplitLine), delimiters, '"', false, fields);
        const std::string_view stationText = fields.at(0);
        const FieldNumber station = FieldToReal(stationText, separator);
        const std::string_view elevationText = fields.at(1);
        const FieldNumber elevation = FieldToReal(elevationText, separator);
        if (!station.ok && !elevation.ok && headingFirst && reader.lineNumber() == 1) {
            continue;
        }
        if (!station.ok) {
            throwNotANumber(reader.lineNumber(), stationText);
        }
        if (!elevation.ok) {
            throwNotANumber(reader.lineNumber(), elevationText);
        }
        rows.add(station.value, elevation.value);
        sizeForWholeFile(rows, reader);
    }
}

} // namespace korvadel
