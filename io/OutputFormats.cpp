// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/OutputFormats.h"

#include "io/RatingExport.h"

namespace korvadel {

namespace {

RdbHeader rdbHeader(const RatingExportContext& context) {
    return RdbHeader{context.description, context.datum};
}

const OutputFormatInfo kFormats[] = {
    {OutputFormat::CommaDelimited, "csv",
     "CSV (Comma delimited) (*.csv)|*.CSV|Text (Comma delimited) (*.txt)|*.TXT", "csv",
     [](const std::string& path, const RatingTable& rating, const RatingExportContext& context) {
         exportRatingCsv(path, rating, context.format);
     },
     [](const RatingTable& rating, const RatingExportContext& context) {
         return ratingCsvBytes(rating, context.format);
     },
     nullptr, false},
    {OutputFormat::Html, "html", "web files (*.html)|*.HTML", "html",
     [](const std::string& path, const RatingTable& rating, const RatingExportContext& context) {
         exportRatingHtml(path, rating, context.format);
     },
     [](const RatingTable& rating, const RatingExportContext& context) {
         return ratingHtmlBytes(rating, context.format);
     },
     nullptr, false},
    {OutputFormat::Excel, "xls", "Excel files (*.xls)|*.XLS", "xls",
     [](const std::string& path, const RatingTable& rating, const RatingExportContext&) {
         exportRatingXls(path, rating);
     },
     [](const RatingTable& rating, const RatingExportContext&) { return ratingXlsBytes(rating); },
     checkWorksheetRows, true},
    {OutputFormat::Rdb, "rdb", "RDB (tab-delimited) (*.rdb)|*.rdb", "rdb",
     [](const std::string& path, const RatingTable& rating, const RatingExportContext& context) {
         exportRatingRdb(path, rating, rdbHeader(context));
     },
     [](const RatingTable& rating, const RatingExportContext& context) {
         return ratingRdbBytes(rating, rdbHeader(context));
     },
     nullptr, false},
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
