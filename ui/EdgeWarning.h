// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/ProgramDialog.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace korvadel {

// The edge warning ("Create Stage Area Rating"), shown modally (through the desktop seam's
// execModal) when the maximum gage height lies above an end of the cross-section: the red
// "Warning!" over four lines of text. "&OK" and the close box both close it; the rating goes
// on either way.
class EdgeWarning : public ProgramDialog {
    Q_OBJECT
public:
    explicit EdgeWarning(QWidget* parent = nullptr);

    static QStringList warningLines();

protected:
    void comingUp(QShowEvent* event) override;

private:
    QLabel* heading_;
    QPlainTextEdit* message_;
    QPushButton* okButton_;
    bool sized_ = false;
};

} // namespace korvadel
