// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Keys and text as a user gives them: to whatever has the keyboard (a grid or the cell editor
// it opened), and menus as a user reads them.
//
//   type(QStringLiteral("12.5"));
//   key(Qt::Key_Tab);
//   menuEntries(menu) == QStringList{"&Save|Ctrl+S", "-", "Export>JPEG,HTML"}

#include <QString>
#include <QStringList>
#include <Qt>

class QMenu;
class QWidget;

namespace korvadel {

void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void type(const QString& text);

// The menu's entries in order: "text|shortcut" ("text" alone without one), "-" for a separator,
// and a submenu as "text>" followed by its entries joined by commas.
QStringList menuEntries(const QMenu* menu);

// The Alt letters that more than one control of `window` claims, as "where L: text, text":
// among its menu bar's titles and the labelled fields, buttons, group boxes and tabs it would
// show, and among the entries of each of its menus. Empty when every letter reaches one control.
QStringList mnemonicClashes(const QWidget* window);

} // namespace korvadel
