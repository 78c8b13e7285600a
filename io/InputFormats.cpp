// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/InputFormats.h"

#include "io/CrossSectionFile.h"
#include "io/Fields.h"
#include "io/HecRasGeometry.h"
#include "io/PointImport.h"
#include "io/SurveyPoints.h"
#include "model/CrossSectionDocument.h"

#include <algorithm>
#include <array>

namespace korvadel {

namespace {

bool endsWithIgnoringCase(std::string_view text, std::string_view ending) {
    return text.size() >= ending.size() &&
           equalsIgnoringCase(text.substr(text.size() - ending.size()), ending);
}

ReadSummary readCrossSection(const std::string& path, CrossSectionDocument& document,
                             NumberFormat format, const SectionChoice&) {
    return loadCrossSection(path, document, format);
}

ReadSummary readCommaDelimited(const std::string& path, CrossSectionDocument& document,
                               NumberFormat format, const SectionChoice&) {
    return importCommaDelimited(path, document.points, format);
}

ReadSummary readWinRiver(const std::string& path, CrossSectionDocument& document,
                         NumberFormat format, const SectionChoice&) {
    return importWinRiver(path, document.points, format);
}

// Geometry files are written with a point whatever the locale.
ReadSummary readHecRasFile(const std::string& path, CrossSectionDocument& document, NumberFormat,
                           const SectionChoice& choice) {
    return loadHecRasSection(path, choice.section, document);
}

ReadSummary readSurveyFile(const std::string& path, CrossSectionDocument& document,
                           NumberFormat format, const SectionChoice& choice) {
    return importSurveyedPoints(path, choice.survey, document, format);
}

constexpr std::string_view kCrossSectionEndings[] = {".kvd"};
constexpr std::string_view kCommaDelimitedEndings[] = {".csv"};
constexpr std::string_view kWinRiverEndings[] = {"t.000", "ASC.TXT"};

// ".g01" to ".g99": the geometries of one HEC-RAS project.
constexpr std::size_t kGeometryFiles = 99;
constexpr std::array<char, 4 * kGeometryFiles> kGeometryEndingText = [] {
    std::array<char, 4 * kGeometryFiles> text{};
    for (std::size_t i = 0; i < kGeometryFiles; ++i) {
        text[4 * i] = '.';
        text[4 * i + 1] = 'g';
        text[4 * i + 2] = static_cast<char>('0' + (i + 1) / 10);
        text[4 * i + 3] = static_cast<char>('0' + (i + 1) % 10);
    }
    return text;
}();
constexpr std::array<std::string_view, kGeometryFiles> kHecRasEndings = [] {
    std::array<std::string_view, kGeometryFiles> endings{};
    for (std::size_t i = 0; i < kGeometryFiles; ++i)
        endings[i] = std::string_view(kGeometryEndingText.data() + 4 * i, 4);
    return endings;
}();

const InputFormatInfo kFormats[] = {
    {InputFormat::CrossSection, "kvd", kCrossSectionEndings,
     "Korvadel File (*.kvd)|*.kvd|All Files (*.*)|*.*", readCrossSection},
    {InputFormat::CommaDelimited, "csv", kCommaDelimitedEndings,
     "CSV (Comma Delimited) Files (*.csv)|*.CSV|Text Files (*.txt)|*.TXT|All Files (*.*)|*.*",
     readCommaDelimited},
    {InputFormat::WinRiver, "winriver", kWinRiverEndings,
     "WinRiver Ascii Out Files|*t.000;*ASC.TXT|All Files (*.*)|*.*", readWinRiver},
    // One pattern for the 99 endings; it also shows a ".g00", which no project writes.
    {InputFormat::HecRasGeometry, "hecras", kHecRasEndings,
     "HEC-RAS Geometry Files (*.g01 ... *.g99)|*.g[0-9][0-9]|All Files (*.*)|*.*", readHecRasFile},
    {InputFormat::SurveyedPoints,
     "survey",
     {},
     "Surveyed Points (*.csv)|*.CSV|Text Files (*.txt)|*.TXT|All Files (*.*)|*.*",
     readSurveyFile},
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
