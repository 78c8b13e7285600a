// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/FileError.h"

#include "model/Error.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <type_traits>

namespace korvadel {

// The user sees the same handful of file-error texts whatever the platform reports. The system's
// codes are folded onto them like this:
//   ENOENT                                        -> "File not found"
//   ENOTDIR, ENAMETOOLONG, EINVAL, EILSEQ, ELOOP  -> "Invalid filename" (the name itself cannot
//                                                    name a file: a path through a file, too
//                                                    long, characters the file system refuses,
//                                                    a symbolic-link loop)
//   EMFILE, ENFILE                                -> "Too many open files"
//   EACCES, EPERM, EROFS, EISDIR, ETXTBSY, EBUSY  -> "File access denied" (no permission, a
//                                                    read-only medium, a folder where a file was
//                                                    expected, a file in use by the system)
//   ENOSPC, EDQUOT, EFBIG                         -> "Disk full" (no room left, quota exhausted,
//                                                    file larger than the file system allows)
//   kReadBeyondEndOfFile, kInvalidNumericInput    -> the two reading errors that have no errno
//   anything else N                               -> "I/O error N"
std::string fileErrorMessage(int errorCode) {
    switch (errorCode) {
    case ENOENT:
        return "File not found";
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ:
    case ELOOP:
        return "Invalid filename";
    case EMFILE:
    case ENFILE:
        return "Too many open files";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
    case EBUSY:
        return "File access denied";
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return "Disk full";
    case kReadBeyondEndOfFile:
        return "Read beyond end of file";
    case kInvalidNumericInput:
        return "Invalid numeric input";
    default:
        return "I/O error " + std::to_string(errorCode);
    }
}

void throwFileError(int errorCode) {
    throw Error(fileErrorMessage(errorCode));
}

std::string systemErrorText(int errorCode) {
    char buffer[256];
    buffer[0] = '\0';
    // The GNU strerror_r may return a static string instead of filling the buffer; the XSI one
    // returns an int. Both are handled by looking at what came back.
    auto result = strerror_r(errorCode, buffer, sizeof buffer);
    std::string text;
    if constexpr (std::is_same_v<decltype(result), char*>)
        text = result ? result : buffer;
    else
        text = result == 0 ? buffer : "Unknown error " + std::to_string(errorCode);
    while (!text.empty()) {
        const char last = text.back();
        if (last == ' ' || last == '\r' || last == '\n' || last == '.' || last == '\t')
            text.pop_back();
        else
            break;
    }
    return text;
}

std::string cannotCreateMessage(const std::string& path, int errorCode) {
    return "Cannot create file \"" + path + "\". " + systemErrorText(errorCode);
}

UnableToAccessFile::UnableToAccessFile()
    : Error("Unable to access file!\rFile may already be open in\ranother program (Excel).") {}

std::string noCrossSectionMessage(std::string_view path) {
    return (path.empty() ? std::string("The file") : "\"" + std::string(path) + "\"") +
           " holds no cross-section: its first line is neither \"//Korvadel\" nor a table "
           "heading with a Station column";
}

} // namespace korvadel
