// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/ReadSummary.h"
#include "model/Error.h"
#include "model/NumberFormat.h"

#include <string>

namespace korvadel {

class CrossSectionDocument;

// Thrown when an input file cannot be opened by Load or the comma-delimited import; the caller
// shows the message in a warning box (caption "Warning") rather than the error box.
class UnableToAccessFile : public Error {
public:
    UnableToAccessFile();
};

// Writes the document as a cross-section file (CR LF lines). Settles the table first; writes to
// a temporary file and replaces `path` only when everything was written.
void saveCrossSection(const std::string& path, CrossSectionDocument& document,
                      NumberFormat format = {});

// Reads a cross-section file, or a plain tab-separated table when the marker line is missing.
ReadSummary loadCrossSection(const std::string& path, CrossSectionDocument& document,
                             NumberFormat format = {});

} // namespace korvadel
