// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/desktop/ActionTable.h"

#include "components/desktop/CommandRunner.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace korvadel {

QList<QAction*> addActionTable(QWidget& window, QMenu* menu, CommandRunner& commands,
                               std::initializer_list<ActionEntry> entries,
                               Qt::ShortcutContext keysAct) {
    QList<QAction*> actions;
    for (const ActionEntry& entry : entries) {
        if (entry.text.isEmpty()) {
            if (menu)
                menu->addSeparator();
            continue;
        }
        auto* action = new QAction(entry.text, &window);
        action->setObjectName(entry.objectName);
        if (!entry.keys.isEmpty()) {
            action->setShortcuts(entry.keys);
            action->setShortcutContext(keysAct);
        }
        if (entry.command)
            commands.route(action, entry.command);
        if (menu)
            menu->addAction(action);
        else
            window.addAction(action);
        actions.append(action);
    }
    return actions;
}

} // namespace korvadel
