// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/NumberFormat.h"

#include <cstddef>
#include <string>

namespace korvadel {

class RatingTable;

// The three data exports of the rating window. Each writes to a temporary file beside `path`
// and replaces it only when complete; the table is not changed.
void exportRatingCsv(const std::string& path, const RatingTable& rating, NumberFormat format = {});
void exportRatingHtml(const std::string& path, const RatingTable& rating, NumberFormat format = {});
void exportRatingXls(const std::string& path, const RatingTable& rating);

// The worksheet numbers its rows in 16 bits: a rating of more than this many rows is refused.
inline constexpr std::size_t kMaxWorksheetRows = 65535;
// Throws the worksheet export's message when the rating has more rows than a worksheet holds.
void checkWorksheetRows(const RatingTable& rating);

// The bytes each export writes.
std::string ratingCsvBytes(const RatingTable& rating, NumberFormat format = {});
std::string ratingHtmlBytes(const RatingTable& rating, NumberFormat format = {});
std::string ratingXlsBytes(const RatingTable& rating);

} // namespace korvadel
