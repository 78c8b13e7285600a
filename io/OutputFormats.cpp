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
     nullptr, false, true},
    {OutputFormat::Html, "html", "web files (*.html)|*.HTML", "html",
     [](const std::string& path, const RatingTable& rating, const RatingExportContext& context) {
         exportRatingHtml(path, rating, context.format);
     },
     [](const RatingTable& rating, const RatingExportContext& context) {
         return ratingHtmlBytes(rating, context.format);
     },
     nullptr, false, true},
    {OutputFormat::Excel, "xls", "Excel files (*.xls)|*.XLS", "xls",
     [](const std::string& path, const RatingTable& rating, const RatingExportContext&) {
         exportRatingXls(path, rating);
     },
     [](const RatingTable& rating, const RatingExportContext&) { return ratingXlsBytes(rating); },
     checkWorksheetRows, true, true},
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

namespace {

template <class Offered>
const OutputFormatInfo* namedAmong(std::string_view name, Offered offered) {
    for (const OutputFormatInfo& info : kFormats)
        if (offered(info) && info.name == name)
            return &info;
    return nullptr;
}

// "csv, html or xls"
template <class Offered> std::string namesOf(Offered offered) {
    std::string names;
    std::size_t left = 0;
    for (const OutputFormatInfo& info : kFormats)
        left += offered(info) ? 1 : 0;
    for (const OutputFormatInfo& info : kFormats) {
        if (!offered(info))
            continue;
        if (!names.empty())
            names += left == 1 ? " or " : ", ";
        names += info.name;
        --left;
    }
    return names;
}

} // namespace

const OutputFormatInfo* outputFormatNamed(std::string_view name, bool tables) {
    return namedAmong(name,
                      [tables](const OutputFormatInfo& info) { return info.isTable() == tables; });
}

std::string outputFormatNames(bool tables) {
    return namesOf([tables](const OutputFormatInfo& info) { return info.isTable() == tables; });
}

const OutputFormatInfo* anyTableFormatNamed(std::string_view name) {
    return namedAmong(name, [](const OutputFormatInfo& info) { return info.anyTable; });
}

std::string anyTableFormatNames() {
    return namesOf([](const OutputFormatInfo& info) { return info.anyTable; });
}

bool writesAnyTable(OutputFormat format) {
    return outputFormat(format).anyTable;
}

} // namespace korvadel
