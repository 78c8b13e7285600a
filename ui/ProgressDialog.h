// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QElapsedTimer>

class QLabel;

namespace korvadel {

class GradientProgressBar;

// The progress dialog ("Calculating Areas"): a tool window with "Please Wait!" and the
// gradient progress bar, shown while a rating is computed. The computation holds the thread,
// so the dialog paints itself as it changes instead of waiting for the event loop.
class ProgressDialog : public QDialog {
    Q_OBJECT
public:
    explicit ProgressDialog(QWidget* parent = nullptr);

    // Shows the window, waits (at most a second) until the window system has exposed it and
    // paints it. User input stays queued, so the computation that follows is not interrupted.
    void showNow();
    // The bar's range; each bound that would cross the other is ignored, as on the bar.
    void setRange(int minimum, int maximum);
    // The bar's position; repaints at once.
    void setPosition(int position);

    QLabel* message;
    GradientProgressBar* progressBar;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    static constexpr int kExposeWaitMilliseconds = 1000;
    static constexpr int kLetInMilliseconds = 50;
    QElapsedTimer sinceLetIn_;
};

} // namespace korvadel
