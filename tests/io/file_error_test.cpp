// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/FileError.h"

#include "model/Error.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace korvadel {
namespace {

struct MappedCode {
    int code;
    const char* message;
};

TEST(FileErrorMessage, FoldsSystemCodesOntoTheUsersTexts) {
    const MappedCode cases[] = {
        {ENOENT, "File not found"},
        {ENOTDIR, "Invalid filename"},
        {ENAMETOOLONG, "Invalid filename"},
        {EINVAL, "Invalid filename"},
        {ELOOP, "Invalid filename"},
        {EMFILE, "Too many open files"},
        {ENFILE, "Too many open files"},
        {EACCES, "File access denied"},
        {EPERM, "File access denied"},
        {EROFS, "File access denied"},
        {EISDIR, "File access denied"},
        {ETXTBSY, "File access denied"},
        {ENOSPC, "Disk full"},
        {EDQUOT, "Disk full"},
        {EFBIG, "Disk full"},
        {kReadBeyondEndOfFile, "Read beyond end of file"},
        {kInvalidNumericInput, "Invalid numeric input"},
        {EIO, "I/O error 5"},
        {EXDEV, "I/O error 18"},
        {0, "I/O error 0"},
        {9999, "I/O error 9999"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fileErrorMessage(c.code), c.message) << "code " << c.code;
}

TEST(FileErrorMessage, ThrowsTheSameTextAsAnError) {
    try {
        throwFileError(ENOSPC);
        FAIL() << "no exception";
    } catch (const Error& error) {
        EXPECT_STREQ(error.what(), "Disk full");
    }
}

TEST(CannotCreateMessage, QuotesThePathAndEndsWithoutFullStop) {
    EXPECT_EQ(cannotCreateMessage("/no/such/folder/a.csv", ENOENT),
              "Cannot create file \"/no/such/folder/a.csv\". No such file or directory");
    EXPECT_EQ(cannotCreateMessage("/x.xls", EACCES),
              "Cannot create file \"/x.xls\". Permission denied");
}

TEST(SystemErrorText, NeverEndsInSpaceLineEndOrFullStop) {
    for (int code = 0; code < 140; ++code) {
        const std::string text = systemErrorText(code);
        ASSERT_FALSE(text.empty()) << code;
        EXPECT_EQ(std::string(" .\r\n\t").find(text.back()), std::string::npos)
            << code << ": " << text;
    }
}

} // namespace
} // namespace korvadel
