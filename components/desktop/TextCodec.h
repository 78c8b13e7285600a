// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <exception>
#include <string>
#include <string_view>

namespace korvadel {

// The one place where bytes and screen text meet. Files are single-byte text in Windows-1252;
// a character the code page cannot hold is written as '?'.
std::string toFileText(const QString& text);
QString fromFileText(const std::string& bytes);

// File names as the file system takes them (its own encoding), and back.
std::string toFilePath(const QString& fileName);
QString fromFilePath(const std::string& path);

// A dialog filter list of the format tables ("Description|patterns|..."), which are ASCII.
QString filterText(std::string_view filter);

// The text of a failure as the user reads it. Messages are built from file names (in the file
// system's encoding) and from field texts (in the program's code page), so whichever reading
// is clean is taken. Running out of memory reads "Out of memory"; the line breaks of the
// "Unable to access file!" warning (carriage returns) become line feeds.
QString messageText(const std::exception& error);

// The user's decimal separator from the system locale, read once by the program.
char systemDecimalSeparator();

} // namespace korvadel
