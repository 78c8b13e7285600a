// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/InputFormats.h"

#include "io/CrossSectionFile.h"
#include "io/PointImport.h"
#include "model/CrossSectionDocument.h"

#include <algorithm>

namespace korvadel {

namespace {

bool endsWithIgnoringCase(std::string_view text, std::string_view ending) {
    if (text.size() < ending.size())
        return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return std::equal(ending.begin(), ending.end(),
                      text.end() - static_cast<std::ptrdiff_t>(ending.size()),
                      [&](char a, char b) { return lower(a) == lower(b); });
}

ReadSummary readCrossSection(const std::string& path, CrossSectionDocument& document,
                             NumberFormat format) {
    return loadCrossSection(path, document, format);
}

ReadSummary readCommaDelimited(const std::string& path, CrossSectionDocument& document,
                               NumberFormat format) {
    return importCommaDelimited(path, document.points, format);
}

ReadSummary readWinRiver(const std::string& path, CrossSectionDocument& document,
                         NumberFormat format) {
    return importWinRiver(path, document.points, format);
}

constexpr std::string_view kCrossSectionEndings[] = {".kvd"};
constexpr std::string_view kCommaDelimitedEndings[] = {".csv"};
constexpr std::string_view kWinRiverEndings[] = {"t.000", "ASC.TXT"};

const InputFormatInfo kFormats[] = {
    {InputFormat::CrossSection, "kvd", kCrossSectionEndings,
     "Korvadel File (*.kvd)|*.kvd|All Files (*.*)|*.*", readCrossSection},
    {InputFormat::CommaDelimited, "csv", kCommaDelimitedEndings,
     "CSV (Comma Delimited) Files (*.csv)|*.CSV|Text Files (*.txt)|*.TXT|All Files (*.*)|*.*",
     readCommaDelimited},
    {InputFormat::WinRiver, "winriver", kWinRiverEndings,
     "WinRiver Ascii Out Files|*t.000;*ASC.TXT|All Files (*.*)|*.*", readWinRiver},
};

} // namespace

std::span<const InputFormatInfo> inputFormats() {
    return kFormats;
}

const InputFormatInfo& inputFormat(InputFormat format) {
    for (const InputFormatInfo& info : kFormats)
        if (info.format == format)
            return info;
    return kFormats[0];
}

const InputFormatInfo* inputFormatNamed(std::string_view name) {
    for (const InputFormatInfo& info : kFormats)
        if (info.name == name)
            return &info;
    return nullptr;
}

InputFormat inputFormatForPath(std::string_view path) {
    for (const InputFormatInfo& info : kFormats)
        for (const std::string_view ending : info.nameEndings)
            if (endsWithIgnoringCase(path, ending))
                return info.format;
    return InputFormat::CrossSection;
}

} // namespace korvadel
