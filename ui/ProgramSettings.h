// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>

class QSettings;

namespace korvadel {

// The one setting that outlives a run: the working directory, LastDir in section General of the
// store named Korvadel (the current user's registry key Korvadel on Windows, Korvadel.conf in
// the user's configuration folder elsewhere).
std::unique_ptr<QSettings> openProgramSettings();
QString lastDirKey();

// Start-up: makes LastDir the working directory when it names an existing folder. Throws
// Error("Error reading registry") when the store or the value cannot be read.
void restoreWorkingDirectory();
// Shut-down: writes the working directory as LastDir. Throws Error with the store's complaint.
void storeWorkingDirectory();

} // namespace korvadel
