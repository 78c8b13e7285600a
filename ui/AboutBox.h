// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/ProgramDialog.h"

#include <QImage>

namespace korvadel {

// The about box ("About Korvadel"): modal (shown through the desktop seam's execModal), stays on
// top. "OK" is the default button: it and Enter close the box; Escape does nothing.
class AboutBox : public ProgramDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);

    // The program's 32 x 32, 16-colour icon, drawn in code.
    static QImage programIcon();
};

} // namespace korvadel
