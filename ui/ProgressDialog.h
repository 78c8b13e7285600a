// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/ProgramDialog.h"

class QLabel;
class QPushButton;

namespace korvadel {

class GradientProgressBar;

// The progress dialog ("Calculating Areas"): a tool window with "Please Wait!", the gradient
// progress bar and a Cancel button, shown while a rating is computed. The computation runs on a
// worker thread, so every window paints from the event loop as usual. While the dialog is up
// the program takes no other input (nothing may change the section under the run), but the
// keyboard stays with the window the command came from: Escape there, like Cancel and the
// dialog's close box, asks the run to stop (cancelRequested). The run's end hides the dialog.
class ProgressDialog : public ProgramDialog {
    Q_OBJECT
public:
    explicit ProgressDialog(QWidget* parent = nullptr);

    // Shows the window and holds the program's other input until it is hidden.
    void showNow();
    // The bar's range; each bound that would cross the other is ignored, as on the bar.
    void setRange(int minimum, int maximum);
    // The bar's position.
    void setPosition(int position);

signals:
    void cancelRequested();

protected:
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void requestCancel();

    QLabel* message_;
    GradientProgressBar* progressBar_;
    QPushButton* cancelButton_;
};

} // namespace korvadel
