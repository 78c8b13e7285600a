// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/FileError.h"
#include "io/ReadSummary.h"
#include "model/NumberFormat.h"

#include <string>

namespace korvadel {

class CrossSectionDocument;

// Writes the document as a cross-section file (CR LF lines). Settles the table first; writes to
// a temporary file and replaces `path` only when everything was written.
void saveCrossSection(const std::string& path, CrossSectionDocument& document,
                      NumberFormat format = {});

// Reads a cross-section file, or a plain tab-separated table when the marker line is missing.
// A file that is neither (not empty, and its first line names no Station column) is refused
// with noCrossSectionMessage before anything changes: a binary file holds no section.
ReadSummary loadCrossSection(const std::string& path, CrossSectionDocument& document,
                             NumberFormat format = {});

} // namespace korvadel
