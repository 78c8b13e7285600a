// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace korvadel {

class GradientProgressBar;

// The progress dialog ("Calculating Areas"): a tool window with "Please Wait!", the gradient
// progress bar and a Cancel button, shown while a rating is computed. The computation runs on a
// worker thread, so the dialog paints from the event loop like any window; while it is up it is
// modal, so nothing else changes the section under the run. Cancel, Escape and the close box
// all ask the run to stop (cancelRequested); the run's end hides the dialog.
class ProgressDialog : public QDialog {
    Q_OBJECT
public:
    explicit ProgressDialog(QWidget* parent = nullptr);

    // Shows the window, modal, with Cancel ready.
    void showNow();
    // The bar's range; each bound that would cross the other is ignored, as on the bar.
    void setRange(int minimum, int maximum);
    // The bar's position.
    void setPosition(int position);

signals:
    void cancelRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void requestCancel();

    QLabel* message_;
    GradientProgressBar* progressBar_;
    QPushButton* cancelButton_;
};

} // namespace korvadel
