// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/ProgramDialog.h"

class QLabel;
class QTextEdit;
class QPushButton;

namespace korvadel {

// The warning shown before an import of an ADCP's Classic ASCII output: the red "Warning!" over
// the nineteen lines (one paragraph each) on how the transect becomes points. Not modal.
// "&Continue" hides the window, then emits continueClicked(): run the import. The close box
// (and Escape) hides the window without importing.
class AdcpImportWarning : public ProgramDialog {
    Q_OBJECT
public:
    explicit AdcpImportWarning(QWidget* parent = nullptr);

    // The warning text, one entry per line.
    static QStringList warningLines();

signals:
    void continueClicked();

protected:
    void comingUp(QShowEvent* event) override;

private:
    QLabel* heading_;
    QTextEdit* message_;
    QPushButton* continueButton_;
    void continueImport();
    // A line too long for the box wraps so that its last word does not stand alone on a line.
    void balanceWrappedLines();
};

} // namespace korvadel
