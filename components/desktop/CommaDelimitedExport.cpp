// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/desktop/CommaDelimitedExport.h"

#include "components/desktop/DesktopSeam.h"
#include "components/desktop/TextCodec.h"
#include "io/AtomicFile.h"
#include "io/OutputFormats.h"

namespace korvadel {

bool exportCommaDelimited(DesktopSeam& seam, QWidget* parent, FileDialogState& dialog,
                          const std::function<std::string()>& text) {
    const OutputFormatInfo& csv = outputFormat(OutputFormat::CommaDelimited);
    dialog.kind = FileDialogState::Kind::Save;
    dialog.filter = filterText(csv.dialogFilter);
    dialog.defaultExtension = filterText(csv.extension);
    dialog.overwritePrompt = true;
    if (!seam.runFileDialog(parent, dialog))
        return false;
    writeFileAtomically(toFilePath(dialog.fileName), text());
    return true;
}

} // namespace korvadel
