// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

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

} // namespace korvadel
