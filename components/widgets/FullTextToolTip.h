// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Texts the fixed layouts cut off are shown whole in a tooltip: a field's text wider than the
// field, a grid cell's text wider than its column (an unrounded area, a long station).
//
//   void keepFullTextToolTip(QLineEdit& field);  // the field's tooltip follows its text: the
//                                                // whole text while it does not fit, else none
//   bool textFits(const QLineEdit& field);

class QLineEdit;

namespace korvadel {

void keepFullTextToolTip(QLineEdit& field);
bool textFits(const QLineEdit& field);

} // namespace korvadel
