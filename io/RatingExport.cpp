// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/RatingExport.h"

#include "model/Error.h"
#include "model/RatingTable.h"

namespace korvadel {

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
    return tableBytes(TableFormat::Csv, RatingTableSource(rating), format);
}

std::string ratingHtmlBytes(const RatingTable& rating, NumberFormat format) {
    return tableBytes(TableFormat::Html, RatingTableSource(rating), format);
}

std::string ratingXlsBytes(const RatingTable& rating) {
    checkWorksheetRows(rating);
    return tableBytes(TableFormat::Xls, RatingTableSource(rating));
}

void exportRatingCsv(const std::string& path, const RatingTable& rating, NumberFormat format) {
    exportTable(path, TableFormat::Csv, RatingTableSource(rating), format);
}

void exportRatingHtml(const std::string& path, const RatingTable& rating, NumberFormat format) {
    exportTable(path, TableFormat::Html, RatingTableSource(rating), format);
}

void exportRatingXls(const std::string& path, const RatingTable& rating) {
    // Refused before the file is created: nothing is written for a rating that does not fit.
    checkWorksheetRows(rating);
    exportTable(path, TableFormat::Xls, RatingTableSource(rating));
}

} // namespace korvadel
