// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/OutputFormats.h"

#include "io/RatingExport.h"

namespace korvadel {

namespace {

const OutputFormatInfo kFormats[] = {
    {OutputFormat::CommaDelimited, "csv",
     "CSV (Comma delimited) (*.csv)|*.CSV|Text (Comma delimited) (*.txt)|*.TXT", "csv",
     exportRatingCsv, ratingCsvBytes, nullptr, false},
    {OutputFormat::Html, "html", "web files (*.html)|*.HTML", "html", exportRatingHtml,
     ratingHtmlBytes, nullptr, false},
    {OutputFormat::Excel, "xls", "Excel files (*.xls)|*.XLS", "xls",
     [](const std::string& path, const RatingTable& rating, NumberFormat) {
         exportRatingXls(path, rating);
     },
     [](const RatingTable& rating, NumberFormat) { return ratingXlsBytes(rating); },
     checkWorksheetRows, true},
    {OutputFormat::Jpeg, "jpeg", "JPEG files (*.jpg)|*.jpg", "jpg", nullptr, nullptr, nullptr,
     true},
    {OutputFormat::Metafile, "wmf", "Windows Meta Files (*.wmf)|*.WMF", "wmf", nullptr, nullptr,
     nullptr, true},
};

} // namespace

std::span<const OutputFormatInfo> outputFormats() {
    return kFormats;
}

const OutputFormatInfo& outputFormat(OutputFormat format) {
    for (const OutputFormatInfo& info : kFormats)
        if (info.format == format)
            return info;
    return kFormats[0];
}

const OutputFormatInfo* outputFormatNamed(std::string_view name, bool tables) {
    for (const OutputFormatInfo& info : kFormats)
        if (info.isTable() == tables && info.name == name)
            return &info;
    return nullptr;
}

std::string outputFormatNames(bool tables) {
    std::string names;
    std::size_t left = 0;
    for (const OutputFormatInfo& info : kFormats)
        left += info.isTable() == tables ? 1 : 0;
    for (const OutputFormatInfo& info : kFormats) {
        if (info.isTable() != tables)
            continue;
        if (!names.empty())
            names += left == 1 ? " or " : ", ";
        names += info.name;
        --left;
    }
    return names;
}

} // namespace korvadel
