// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvadel {

// The longest name safeFileName makes, in bytes; file systems allow 255.
inline constexpr std::size_t kMaxMadeFileName = 200;

// A file name made from text a file gives (a river station, say) that stays inside the folder
// it is put in, on any common file system: separators ('/' and '\'), the characters Windows
// refuses in names (< > : " | ? *) and control characters become '_', and so do trailing dots
// and blanks and a name of dots only ("." and ".."); an empty text is "_", and a name Windows
// keeps for a device (CON, NUL, COM1, ...) gets a '_' in front. Empty when the name would be
// longer than kMaxMadeFileName.
std::string safeFileName(std::string_view text);

// Names for several files in one folder: safeFileName(text) + extension for each text, in the
// same order. A name that two or more texts would share, compared ignoring case as some file
// systems do, is given to none of them (each lists the others), so that no file written
// replaces another of the same run.
struct MadeFileName {
    std::string name;                    // empty when the text makes too long a name
    std::vector<std::size_t> sharedWith; // the other texts that would have had the name
    bool usable() const { return !name.empty() && sharedWith.empty(); }
};
std::vector<MadeFileName> distinctFileNames(std::span<const std::string> texts,
                                            std::string_view extension);

} // namespace korvadel
