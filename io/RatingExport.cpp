// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/RatingExport.h"

#include "io/AtomicFile.h"
#include "model/Error.h"
#include "model/Numbers.h"
#include "model/RatingTable.h"

#include <string_view>

namespace korvadel {
namespace {

// A header value between double quotes: a quote inside it becomes an apostrophe and a control
// character a blank, so the line stays one line a reader can take apart.
std::string headerValue(std::string_view text) {
    std::string value(text);
    for (char& c : value) {
        if (c == '"')
            c = '\'';
        else if (static_cast<unsigned char>(c) < 32 || c == 127)
            c = ' ';
    }
    return value;
}

std::string rdbHead(const RdbHeader& header) {
    return "# //FILE TYPE=\"NWIS RATING\"\n"
           "# //STATION NAME=\"" +
           headerValue(header.stationName) +
           "\"\n"
           "# //RATING TYPE=\"STAR\" NAME=\"stage-area\"\n"
           "# //RATING_INDEP PARAMETER=\"Gage height\"\n"
           "# //RATING_DEP PARAMETER=\"Cross-sectional area\"\n"
           "# //GAGE DATUM=\"" +
           formatGeneral(header.datum, NumberFormat{'.'}) +
           "\"\n"
           "INDEP\tDEP\n"
           "16N\t16N\n";
}

// The agency file's rows: the comma-delimited export's loop with a TAB between the numbers and
// LF after them.
constexpr DelimitedText kRdbRows{'\t', "\n"};

} // namespace

std::size_t RatingTableSource::rowCount() const {
    return rating_.rowCount();
}

void RatingTableSource::cells(std::size_t row, std::span<TableCell> cells) const {
    cells[0] = TableCell::of(rating_.stageAt(row));
    cells[1] = TableCell::of(rating_.areaAt(row));
}

std::span<const double> RatingTableSource::numberColumn(std::size_t column) const {
    return column == 0 ? rating_.stages() : rating_.areas();
}

void checkWorksheetRows(const RatingTable& rating) {
    if (rating.rowCount() > kMaxWorksheetRows)
        throw Error("The rating has " + std::to_string(rating.rowCount()) +
                    " rows; a worksheet holds at most 65535");
}

std::string ratingCsvBytes(const RatingTable& rating, NumberFormat format) {
    return tableBytes(OutputFormat::CommaDelimited, RatingTableSource(rating), format);
}

std::string ratingHtmlBytes(const RatingTable& rating, NumberFormat format) {
    return tableBytes(OutputFormat::Html, RatingTableSource(rating), format);
}

std::string ratingXlsBytes(const RatingTable& rating) {
    checkWorksheetRows(rating);
    return tableBytes(OutputFormat::Excel, RatingTableSource(rating));
}

std::string ratingRdbBytes(const RatingTable& rating, const RdbHeader& header) {
    std::string bytes = rdbHead(header);
    writeDelimitedRows(RatingTableSource(rating), NumberFormat{'.'}, kRdbRows,
                       [&bytes](std::string_view piece) { bytes += piece; });
    return bytes;
}

void exportRatingCsv(const std::string& path, const RatingTable& rating, NumberFormat format) {
    exportTable(path, OutputFormat::CommaDelimited, RatingTableSource(rating), format);
}

void exportRatingHtml(const std::string& path, const RatingTable& rating, NumberFormat format) {
    exportTable(path, OutputFormat::Html, RatingTableSource(rating), format);
}

void exportRatingXls(const std::string& path, const RatingTable& rating) {
    // Refused before the file is created: nothing is written for a rating that does not fit.
    checkWorksheetRows(rating);
    exportTable(path, OutputFormat::Excel, RatingTableSource(rating));
}

void exportRatingRdb(const std::string& path, const RatingTable& rating, const RdbHeader& header) {
    AtomicFile file(path);
    file.write(rdbHead(header));
    writeDelimitedRows(RatingTableSource(rating), NumberFormat{'.'}, kRdbRows,
                       [&file](std::string_view piece) { file.write(piece.data(), piece.size()); });
    file.commit();
}

} // namespace korvadel
