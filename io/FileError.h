#pragma once

#include <string>

namespace korvadel {

// The user's text for a system error code (errno): "File not found", "File access denied",
// "Disk full", ... and "I/O error <n>" for anything else.
std::string fileErrorMessage(int errorCode);
[[noreturn]] void throwFileError(int errorCode);

// "Cannot create file "<path>". <system text>" with the system text's trailing spaces, line
// ends and full stops removed.
std::string cannotCreateMessage(const std::string& path, int errorCode);

} // namespace korvadel
