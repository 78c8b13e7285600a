// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Error.h"

#include <string>
#include <string_view>

namespace korvadel {

// Reading errors that the system does not report through errno; they stay negative so that they
// never meet a real errno value.
inline constexpr int kReadBeyondEndOfFile = -100;
inline constexpr int kInvalidNumericInput = -106;

// The user's text for a system error code (errno): "File not found", "File access denied",
// "Disk full", ... and "I/O error <n>" for anything else.
std::string fileErrorMessage(int errorCode);
[[noreturn]] void throwFileError(int errorCode);

// The system's own description of an errno value, without trailing spaces, line ends or full
// stops (the error box adds the final full stop).
std::string systemErrorText(int errorCode);

// "Cannot create file "<path>". <system text>" with the system text's trailing spaces, line
// ends and full stops removed.
std::string cannotCreateMessage(const std::string& path, int errorCode);

// Thrown when an input file cannot be opened by Load or the comma-delimited import; the caller
// shows the message in a warning box (caption "Warning") rather than the error box.
class UnableToAccessFile : public Error {
public:
    UnableToAccessFile();
};

// A file read as a cross-section that is neither a cross-section file nor a table of points:
// ""<path>" holds no cross-section: ...", or "The file holds no cross-section: ..." when the
// bytes have no name.
std::string noCrossSectionMessage(std::string_view path);

} // namespace korvadel
