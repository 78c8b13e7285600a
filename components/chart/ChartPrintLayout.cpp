// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/chart/ChartPrintLayout.h"

#include "model/Numbers.h"

namespace korvadel {

namespace {

int roundEven(long double value) {
    return static_cast<int>(roundHalfEven(value));
}

bool isBlankChar(QChar c) {
    return c.unicode() <= 0x20 || c.category() == QChar::Other_Control;
}

} // namespace

MarginPercents proportionalMargins(QSize chart, QSize page, double aspect) {
    MarginPercents m;
    const long double w = chart.width() > 0 ? chart.width() : 1;
    const long double h = chart.height() > 0 ? chart.height() : 1;
    const long double pw = page.width() > 0 ? page.width() : 1;
    const long double ph = page.height() > 0 ? page.height() : 1;
    // Integer division of the rounded percentage truncates toward zero, as the margins are
    // whole percentages per side.
    if (w > h) {
        const int both = roundEven(100 * (ph - 0.6L * pw * (h / w) * aspect) / ph);
        m.top = m.bottom = both / 2;
    } else {
        const int both = roundEven(100 * (pw - 0.6L * ph * (w / h) * aspect) / pw);
        m.left = m.right = both / 2;
    }
    return m;
}

QRect printedRect(const MarginPercents& m, QSize page) {
    const long double pw = page.width();
    const long double ph = page.height();
    const int left = roundEven(m.left * pw / 100);
    const int right = page.width() - roundEven(m.right * pw / 100);
    const int top = roundEven(m.top * ph / 100);
    const int bottom = page.height() - roundEven(m.bottom * ph / 100);
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

bool marginsAcceptable(const MarginPercents& m) {
    return m.left >= 0 && m.top >= 0 && m.right >= 0 && m.bottom >= 0 && m.left + m.right < 100 &&
           m.top + m.bottom < 100;
}

QStringList printTitleLines(const QString& description, const QString& fixedTitle) {
    qsizetype first = 0;
    qsizetype last = description.size();
    while (first < last && isBlankChar(description[first]))
        ++first;
    while (last > first && isBlankChar(description[last - 1]))
        --last;
    if (first < last)
        return {description, fixedTitle};
    return {fixedTitle};
}

} // namespace korvadel
