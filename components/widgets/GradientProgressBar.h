// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Horizontal progress bar that shades its fill from navy at the bar's left edge to white at
// its right edge, with the percentage in white in the middle.
//
//   GradientProgressBar(QWidget* parent = nullptr);
//   int minimum() const; int maximum() const; int position() const;
//   void setMinimum(int);   // ignored when above the maximum
//   void setMaximum(int);   // ignored when below the minimum
//   void setPosition(int);  // not clamped: 11 of 0..10 shows a full bar and "110 %"
//   int fillWidth() const;  // filled columns at the current size
//   QString text() const;   // "N %", N = position * 100 / (maximum - minimum), half to even
//   int paintCount() const; // paint events so far
//
// The rating loop sets the position without returning to the event loop, so a change that
// alters what the bar shows repaints at once (repaint(), not update()); a change that leaves
// the fill width and the text as drawn repaints nothing.
//
// A zero range (maximum == minimum) shows an empty bar and "0 %" while the position is at or
// below the minimum, and a full bar and "100 %" once it is past it.

#include <QFrame>
#include <QString>

namespace korvadel {

class GradientProgressBar : public QFrame {
    Q_OBJECT
public:
    static constexpr QRgb kNavy = 0xFF000080;

    explicit GradientProgressBar(QWidget* parent = nullptr);

    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    int position() const { return position_; }
    void setMinimum(int value);
    void setMaximum(int value);
    void setPosition(int value);

    int fillWidth() const;
    QString text() const;
    int paintCount() const { return paintCount_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int fillWidthFor(int barWidth) const;
    void changed();

    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
    int drawnFill_ = -1;
    QString drawnText_;
    int paintCount_ = 0;
};

} // namespace korvadel
