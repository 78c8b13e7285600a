#pragma once

#include "model/NumberFormat.h"

#include <string>

namespace korvadel {

class RatingTable;

// The three data exports of the rating window. Each writes to a temporary file beside `path`
// and replaces it only when complete; the table is not changed.
void exportRatingCsv(const std::string& path, const RatingTable& rating, NumberFormat format = {});
void exportRatingHtml(const std::string& path, const RatingTable& rating, NumberFormat format = {});
void exportRatingXls(const std::string& path, const RatingTable& rating);

// The bytes each export writes.
std::string ratingCsvBytes(const RatingTable& rating, NumberFormat format = {});
std::string ratingHtmlBytes(const RatingTable& rating, NumberFormat format = {});
std::string ratingXlsBytes(const RatingTable& rating);

} // namespace korvadel
