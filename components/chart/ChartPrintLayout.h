// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

namespace korvadel {

// Margins of a printed chart in whole percent: left and right of the page width, top and
// bottom of its height.
struct MarginPercents {
    int left = 15;
    int top = 15;
    int right = 15;
    int bottom = 15;
    bool operator==(const MarginPercents&) const = default;
};

// Margins that give the chart on paper roughly its on-screen shape: the longer side of the
// chart keeps 15 % margins, the other side's margins follow from the chart's aspect.
// chart: the chart's size on screen in pixels; page: the printable page in device pixels;
// aspect: horizontal resolution / vertical resolution of the printer.
MarginPercents proportionalMargins(QSize chart, QSize page, double aspect);

// The rectangle of the page, in device pixels, that the chart is drawn into.
QRect printedRect(const MarginPercents& margins, QSize page);

// Margins the preview accepts: none negative, and opposite margins together under 100 %.
bool marginsAcceptable(const MarginPercents& margins);

// Title lines for a chart about to be printed: the description as typed over the fixed title
// when the description holds anything but spaces and control characters, else the fixed title.
QStringList printTitleLines(const QString& description, const QString& fixedTitle);

} // namespace korvadel
