// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <string>

namespace korvadel {

// The one place where file bytes and screen text meet. Files are single-byte text in
// Windows-1252; a character the code page cannot hold is written as '?'.
std::string toFileText(const QString& text);
QString fromFileText(const std::string& bytes);

// The user's decimal separator from the system locale, read once by the program.
char systemDecimalSeparator();

} // namespace korvadel
