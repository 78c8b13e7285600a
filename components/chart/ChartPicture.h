// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

#include <string>

namespace korvadel {

class Chart;
struct ScreenReference;

// The chart's two picture files. Both draw the chart exactly as the screen shows it, at its
// current client size and with its current title lines, and leave the chart as it was. A file
// that cannot be created gives "Cannot create file "<path>". <reason>"; a failed write leaves
// any file of that name untouched.

// The chart drawn into a 24-bit picture of its client size over its background colour.
QImage chartPicture(Chart& chart);

// JPEG at quality 95. The file is created before anything is drawn.
void saveChartJpeg(Chart& chart, const std::string& path);

// Placeable Windows metafile recorded with `screen` as reference device. The drawing is recorded
// first and discarded when the file cannot be created.
void saveChartMetafile(Chart& chart, const std::string& path, const ScreenReference& screen);

} // namespace korvadel
