// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

class QWidget;

namespace korvadel {

class DesktopSeam;
struct FileDialogState;

// The save dialog of a comma-delimited table ("CSV (Comma delimited)" or "Text (Comma
// delimited)", .csv added to a name without an extension, a question before an existing file is
// replaced), then the text written atomically: a failed write leaves the file that was there.
// The text is only made once a name was chosen. False when the dialog was cancelled; errors
// propagate (the command runner shows them).
bool exportCommaDelimited(DesktopSeam& seam, QWidget* parent, FileDialogState& dialog,
                          const std::function<std::string()>& text);

} // namespace korvadel
