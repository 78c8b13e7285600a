// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Placing the program's windows on the screen.
//
//   void centreOnScreen(QWidget& window);   // the window's frame centred on its screen
//   void centreForShowing(QWidget& window); // a window about to come up, by its own size (by
//                                           // its frame while it is shown), made no larger
//                                           // than the screen's free area and with its title
//                                           // bar on it: the main and the rating window are
//                                           // placed so
//   void presentWindow(QWidget& window);    // a window brought up by a command: centred when
//                                           // it was hidden (left where it is when shown),
//                                           // shown, raised and given the keyboard
//   void setOuterSize(QWidget& window, QSize outer);  // client size so the frame is `outer`
//   void useDesignFont(QWidget& window);  // the 11-pixel sans-serif the fixed layouts are
//                                         // measured for (Arial metrics where available)
//   QFont designFont(const QFont& base);  // that font, otherwise like `base`; the program
//                                         // makes it the application's font, so every window,
//                                         // box and dialog shows one font

#include <QFont>
#include <QSize>

class QWidget;

namespace korvadel {

void centreOnScreen(QWidget& window);
void centreForShowing(QWidget& window);
void presentWindow(QWidget& window);
void setOuterSize(QWidget& window, QSize outer);
void useDesignFont(QWidget& window);
QFont designFont(const QFont& base);

} // namespace korvadel
