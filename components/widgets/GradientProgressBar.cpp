// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/widgets/GradientProgressBar.h"

#include "model/Numbers.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace korvadel {

GradientProgressBar::GradientProgressBar(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize GradientProgressBar::sizeHint() const {
    return {229, 16};
}

void GradientProgressBar::setMinimum(int value) {
    if (value > maximum_)
        return;
    minimum_ = value;
    changed();
}

void GradientProgressBar::setMaximum(int value) {
    if (value < minimum_)
        return;
    maximum_ = value;
    changed();
}

void GradientProgressBar::setPosition(int value) {
    position_ = value;
    changed();
}

int GradientProgressBar::fillWidthFor(int barWidth) const {
    if (barWidth <= 0 || position_ <= minimum_)
        return 0;
    if (maximum_ == minimum_)
        return barWidth;
    const long double share = (static_cast<long double>(position_) - minimum_) /
                              (static_cast<long double>(maximum_) - minimum_);
    if (share >= 1.0L)
        return barWidth;
    return static_cast<int>(std::floor(share * barWidth));
}

int GradientProgressBar::fillWidth() const {
    return fillWidthFor(contentsRect().width());
}

QString GradientProgressBar::text() const {
    long double percent = 0.0L;
    if (maximum_ != minimum_)
        percent = roundHalfEven(static_cast<long double>(position_) * 100.0L /
                                (static_cast<long double>(maximum_) - minimum_));
    else if (position_ > minimum_)
        percent = 100.0L;
    return QString::number(static_cast<qlonglong>(percent)) + QStringLiteral(" %");
}

void GradientProgressBar::changed() {
    if (!isVisible())
        return;
    if (fillWidth() != drawnFill_ || text() != drawnText_)
        repaint();
}

void GradientProgressBar::paintEvent(QPaintEvent* event) {
    ++paintCount_;
    QFrame::paintEvent(event); // the lowered frame
    QPainter painter(this);
    const QRect bar = contentsRect();
    if (bar.isEmpty())
        return;
    const int fill = fillWidthFor(bar.width());
    // The empty part is darker than the window so the white percentage stays readable at 0 %.
    painter.fillRect(bar.adjusted(fill, 0, 0, 0), palette().color(QPalette::Mid));
    // Shading runs over the whole bar: column x gets the colour of its place between the left
    // edge (navy) and the right edge (white), however much is filled.
    const int span = std::max(bar.width() - 1, 1);
    for (int x = 0; x < fill; ++x) {
        const int red = 255 * x / span;
        const int blue = 128 + 127 * x / span;
        painter.setPen(QColor(red, red, blue));
        painter.drawLine(bar.left() + x, bar.top(), bar.left() + x, bar.bottom());
    }
    const QString label = text();
    painter.setPen(Qt::white);
    painter.drawText(bar, Qt::AlignCenter, label);
    drawnFill_ = fill;
    drawnText_ = label;
}

} // namespace korvadel
