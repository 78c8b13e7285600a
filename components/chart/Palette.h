// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

// The program's colours, so that a curve or a warning means the same thing in every window.
namespace korvadel::palette {

// A rating curve, and the section worked on wherever another one stands beside it.
inline const QColor kRatingLine(222, 71, 33);
// Water: the hatch below a cross-section (drawn at 18 % transparency) ...
inline const QColor kSectionHatch(169, 214, 211);
inline constexpr int kSectionHatchAlpha = 209;
// ... and the surface and anything else that stands for the other survey or the water level.
inline const QColor kWater(25, 95, 200);
// A line that warns about what a window shows (out of date, inputs refused).
inline const QColor kNoticeText(160, 32, 0);
inline const QColor kNoticeBackground(255, 244, 206);

} // namespace korvadel::palette
