// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/desktop/CommaDelimitedExport.h"

#include "components/desktop/DesktopSeam.h"
#include "io/AtomicFile.h"

#include <QFile>

namespace korvadel {

bool exportCommaDelimited(DesktopSeam& seam, QWidget* parent, FileDialogState& dialog,
                          const std::function<std::string()>& text) {
    dialog.kind = FileDialogState::Kind::Save;
    dialog.filter =
        QStringLiteral("CSV (Comma delimited) (*.csv)|*.CSV|Text (Comma delimited) (*.txt)|*.TXT");
    dialog.defaultExtension = QStringLiteral("csv");
    dialog.overwritePrompt = true;
    if (!seam.runFileDialog(parent, dialog))
        return false;
    writeFileAtomically(QFile::encodeName(dialog.fileName).toStdString(), text());
    return true;
}

} // namespace korvadel
