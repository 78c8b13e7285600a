#pragma once

// The progress dialog ("Calculating Areas"): a tool window with "Please Wait!" and the
// gradient progress bar, shown while a rating is computed.
//
//   TProgressForm(QWidget* parent = nullptr);
//   QLabel* Label1;  korvadel::GradientProgressBar* ProgressBar1;
//   void showNow();  // shows the window, waits (at most a second) until the window system
//                    // has exposed it and paints it; user input stays queued, so the
//                    // computation that follows is not interrupted
//   void setRange(int minimum, int maximum);  // ProgressBar1's range; each bound that would
//                                             // cross the other is ignored, as on the bar
//   void setPosition(int position);           // ProgressBar1's position; repaints at once
//
// The owner sets ProgressBar1's minimum, maximum and position; the bar repaints itself.

#include <QDialog>
#include <QElapsedTimer>

class QLabel;

namespace korvadel {
class GradientProgressBar;
}

class TProgressForm : public QDialog {
    Q_OBJECT
public:
    explicit TProgressForm(QWidget* parent = nullptr);

    void showNow();
    void setRange(int minimum, int maximum);
    void setPosition(int position);

    QLabel* Label1;
    korvadel::GradientProgressBar* ProgressBar1;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    static constexpr int kExposeWaitMilliseconds = 1000;
    static constexpr int kLetInMilliseconds = 50;
    QElapsedTimer sinceLetIn_;
};
