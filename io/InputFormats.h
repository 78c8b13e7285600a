// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/ReadSummary.h"
#include "model/NumberFormat.h"
#include "model/SurveyProjection.h"

#include <span>
#include <string>
#include <string_view>

namespace korvadel {

class CrossSectionDocument;

// The files a cross-section can be read from. The desktop program's open dialogs and the
// command line's reader choice both come from this one table.
enum class InputFormat { CrossSection, CommaDelimited, WinRiver, HecRasGeometry, SurveyedPoints };

// What some files need beside their name to give one section: which of a geometry file's cross
// sections, and how surveyed points are laid onto a section line. Other formats ignore it.
struct SectionChoice {
    // A HEC-RAS cross section, "RIVER/REACH/RS" or its river station (chooseHecRasSection);
    // empty: the file's only cross section.
    std::string section;
    SurveyLine survey;
};

struct InputFormatInfo {
    InputFormat format;
    // The name the command line knows it by (--from).
    std::string_view name;
    // Endings that choose it for a file name, case ignored (the command line's default).
    std::span<const std::string_view> nameEndings;
    // The open dialog's filter list as the program shows it: "Description|patterns|...".
    // The formats that need a SectionChoice beside the file (which cross section, which pins)
    // ask for it in a dialog of their own once the file is chosen.
    std::string_view dialogFilter;
    // Reads the file into the document: the cross-section file brings its description and
    // settings, a HEC-RAS cross section its description, the imports replace the points only.
    // Throws Error with the reader's message.
    ReadSummary (*reader)(const std::string& path, CrossSectionDocument& document,
                          NumberFormat format, const SectionChoice& choice);

    ReadSummary read(const std::string& path, CrossSectionDocument& document, NumberFormat format,
                     const SectionChoice& choice = {}) const {
        return reader(path, document, format, choice);
    }
};

// Every format, the cross-section file first. Surveyed points have no name ending of their own
// (they are comma-delimited text); they are chosen by name only.
std::span<const InputFormatInfo> inputFormats();
const InputFormatInfo& inputFormat(InputFormat format);
// By --from name; nullptr for a name no format has.
const InputFormatInfo* inputFormatNamed(std::string_view name);
// By the end of the file name; the cross-section file when no ending matches.
InputFormat inputFormatForPath(std::string_view path);

} // namespace korvadel
