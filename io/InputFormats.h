// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/ReadSummary.h"
#include "model/NumberFormat.h"

#include <span>
#include <string>
#include <string_view>

namespace korvadel {

class CrossSectionDocument;

// The files a cross-section can be read from. The desktop program's open dialogs and the
// command line's reader choice both come from this one table.
enum class InputFormat { CrossSection, CommaDelimited, WinRiver };

struct InputFormatInfo {
    InputFormat format;
    // The name the command line knows it by (--from).
    std::string_view name;
    // Endings that choose it for a file name, case ignored (the command line's default).
    std::span<const std::string_view> nameEndings;
    // The open dialog's filter list as the program shows it: "Description|patterns|...".
    std::string_view dialogFilter;
    // Reads the file into the document: the cross-section file brings its description and
    // settings, the imports replace the points only. Throws Error with the reader's message.
    ReadSummary (*read)(const std::string& path, CrossSectionDocument& document,
                        NumberFormat format);
};

// Every format, the cross-section file first.
std::span<const InputFormatInfo> inputFormats();
const InputFormatInfo& inputFormat(InputFormat format);
// By --from name; nullptr for a name no format has.
const InputFormatInfo* inputFormatNamed(std::string_view name);
// By the end of the file name; the cross-section file when no ending matches.
InputFormat inputFormatForPath(std::string_view path);

} // namespace korvadel
