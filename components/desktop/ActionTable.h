// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The menus of every window as tables: one row an action, routed through the command runner.
//
//   addActionTable(window, menu, commands, {
//       {"&Save Cross Section", "saveAction", {QKeySequence("Ctrl+S")}, [] { ... }},
//       {},                                         // a separator
//       {"E&xit", "exitAction", {}, [] { ... }},
//   });
//
// Each action is a child of `window` (tests and other windows find it by its objectName) and
// is added to `menu`, or only to the window when `menu` is null (reachable by its keys alone).
// Keys act while the window is active; with Qt::ApplicationShortcut they also act from the
// program's other windows, unless a modal dialog is open.

#include <QKeySequence>
#include <QList>
#include <QString>

#include <functional>
#include <initializer_list>

class QAction;
class QMenu;
class QWidget;

namespace korvadel {

class CommandRunner;

struct ActionEntry {
    QString text; // empty: a separator
    QString objectName;
    QList<QKeySequence> keys;
    std::function<void()> command;
};

QList<QAction*> addActionTable(QWidget& window, QMenu* menu, CommandRunner& commands,
                               std::initializer_list<ActionEntry> entries,
                               Qt::ShortcutContext keysAct = Qt::WindowShortcut);

} // namespace korvadel
