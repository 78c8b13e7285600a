// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Work that holds the user-interface thread (a rating run) still has to show a window first.
// Under a window manager a newly shown window is mapped, framed and exposed asynchronously, and
// the X server throws away whatever is painted into it before that; a window painted at once and
// then left without an event loop stays blank. These wait for the window system instead of
// painting into the void, letting through only its own events, never the user's input.
//
//   bool waitUntilExposed(QWidget& window, int milliseconds);
//       // true once the window is exposed (at once on a platform without a window manager);
//       // false after `milliseconds` without exposure
//   bool isExposed(const QWidget& window);

class QWidget;

namespace korvadel {

bool waitUntilExposed(QWidget& window, int milliseconds);
bool isExposed(const QWidget& window);

} // namespace korvadel
