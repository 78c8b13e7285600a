// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The desktop seam the program runs with: Qt's own file dialogs and message boxes.
//
//   class QtDesktopSeam : public DesktopSeam {
//       bool runFileDialog(QWidget* parent, FileDialogState& state) override;
//       void showMessage(QWidget* parent, MessageKind kind, const QString& caption,
//                        const QString& text) override;
//       bool confirm(QWidget* parent, const QString& caption, const QString& text) override;
//       SaveAnswer askToSave(QWidget* parent, const QString& text) override;
//       int execModal(QDialog& dialog) override;
//   };

#include "components/desktop/DesktopSeam.h"

namespace korvadel {

class QtDesktopSeam : public DesktopSeam {
public:
    bool runFileDialog(QWidget* parent, FileDialogState& state) override;
    void showMessage(QWidget* parent, MessageKind kind, const QString& caption,
                     const QString& text) override;
    bool confirm(QWidget* parent, const QString& caption, const QString& text) override;
    SaveAnswer askToSave(QWidget* parent, const QString& text) override;
    int execModal(QDialog& dialog) override;
};

} // namespace korvadel
