// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/PointImport.h"

#include "io/Fields.h"
#include "io/LineReader.h"
#include "io/PointReaders.h"
#include "io/RowReading.h"
#include "model/Numbers.h"
#include "model/PointTable.h"

#include <array>
#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

namespace korvadel {

namespace {

// An ADCP bin-count line is read whole; a count that needs more characters than this (after the
// leading blanks) is not a count, so the rest of such a line is dropped unread.
constexpr std::size_t kBinCountKeep = 65536;

} // namespace

ReadSummary importCommaDelimited(LineReader& reader, PointTable& points, NumberFormat format) {
    ViewSuspension views(points);
    return readRowsInto(points, [&](PointTable::LoadColumns& rows) {
        // A first line without numbers is a column heading such as "Station,Elevation".
        readPointLines(reader, DelimiterSet(","), format, true, rows);
    });
}

ReadSummary importCommaDelimited(const std::string& path, PointTable& points, NumberFormat format) {
    return readUnlessUnableToAccess(
        path, [&](LineReader& reader) { return importCommaDelimited(reader, points, format); });
}

// Every ensemble is six lines and its bins:
//   1 skipped; 2 depths of the four beams in fields 8 to 11; 3 distance made good in field 4
//   (fields 0, 2 and 3 are read too); 4 and 5 skipped; 6 the number of bin lines that follow.
ReadSummary importWinRiver(LineReader& reader, PointTable& points, NumberFormat format) {
    ViewSuspension views(points);
    return readRowsInto(points, [&](PointTable::LoadColumns& rows) {
        const DelimiterSet space(" ");
        const char separator = format.decimalSeparator;
        FieldList fields;
        reader.skipLines(3);
        while (!reader.atEnd()) {
            reader.skipLine();

            SplitFields(reader.readLine(kMaxSplitLine), space, '"', false, fields);
            std::array<FieldNumber, 4> depths;
            std::array<std::string_view, 4> depthTexts;
            for (std::size_t k = 0; k < 4; ++k) {
                depthTexts[k] = fields.at(8 + k);
                depths[k] = FieldToReal(depthTexts[k], separator);
            }
            for (std::size_t k = 0; k < 4; ++k) {
                if (!depths[k].ok) {
                    throwNotANumber(reader.lineNumber(), depthTexts[k]);
                }
            }
            // The mean of the beams that measured, summed in field order, in double precision.
            // Depths are measured down from the surface, so one of zero or below is a beam that
            // failed: the ADCP writes -32768 for it, some processing software 0.00.
            double sum = 0.0;
            int valid = 0;
            for (const FieldNumber& depth : depths) {
                if (depth.value > 0.0) {
                    sum += depth.value;
                    ++valid;
                }
            }
            if (!std::isfinite(sum)) {
                throw Error("Floating point overflow");
            }

            SplitFields(reader.readLine(kMaxSplitLine), space, '"', false, fields);
            FieldToReal(fields.at(0), separator);
            const std::string_view stationText = fields.at(4);
            const FieldNumber station = FieldToReal(stationText, separator);
            FieldToReal(fields.at(2), separator);
            FieldToReal(fields.at(3), separator);
            if (!station.ok) {
                throwNotANumber(reader.lineNumber(), stationText);
            }

            reader.skipLines(2);

            const std::string_view countLine = trimmed(reader.readLine(kBinCountKeep, true));
            const std::size_t blank = countLine.find(' ');
            const std::int32_t bins = textToInt(
                blank == std::string_view::npos ? std::string_view() : countLine.substr(0, blank));
            if (bins > 0) {
                reader.skipLines(bins);
            }

            // An ensemble whose beams all failed gives no point. With only positive depths in
            // the mean every point lies at or below the surface.
            if (valid > 0) {
                rows.add(station.value, 0.0 - sum / valid);
                sizeForWholeFile(rows, reader);
            }
        }
    });
}

ReadSummary importWinRiver(const std::string& path, PointTable& points, NumberFormat format) {
    LineReader reader(path); // "File not found", ... and the table untouched
    return importWinRiver(reader, points, format);
}

} // namespace korvadel
