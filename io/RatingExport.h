// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/TableExport.h"
#include "model/NumberFormat.h"

#include <cstddef>
#include <string>

namespace korvadel {

class RatingTable;

// The rating as an exported table: stage then area, no heading, both columns read whole.
class RatingTableSource : public TableSource {
public:
    explicit RatingTableSource(const RatingTable& rating) : rating_(rating) {}
    std::size_t rowCount() const override;
    std::size_t columnCount() const override { return 2; }
    void cells(std::size_t row, std::span<TableCell> cells) const override;
    std::span<const double> numberColumn(std::size_t column) const override;

private:
    const RatingTable& rating_;
};

// What an agency rating file says about the rating beside its rows.
struct RdbHeader {
    std::string stationName; // the section's description
    double datum = 0.0;      // gage height = elevation - datum
};

// The three data exports of the rating window. Each writes to a temporary file beside `path`
// and replaces it only when complete; the table is not changed.
void exportRatingCsv(const std::string& path, const RatingTable& rating, NumberFormat format = {});
void exportRatingHtml(const std::string& path, const RatingTable& rating, NumberFormat format = {});
void exportRatingXls(const std::string& path, const RatingTable& rating);
// The rating as an agency rating file: tab-delimited with "# //" header lines, the column names
// INDEP and DEP, their formats 16N, then one line per gage height, LF line ends. The numbers are
// the comma-delimited export's digits, always with a point, which such files require.
void exportRatingRdb(const std::string& path, const RatingTable& rating, const RdbHeader& header);

// Throws the worksheet export's message when the rating has more rows than a worksheet holds.
void checkWorksheetRows(const RatingTable& rating);

// The bytes each export writes.
std::string ratingCsvBytes(const RatingTable& rating, NumberFormat format = {});
std::string ratingHtmlBytes(const RatingTable& rating, NumberFormat format = {});
std::string ratingXlsBytes(const RatingTable& rating);
std::string ratingRdbBytes(const RatingTable& rating, const RdbHeader& header);

} // namespace korvadel
