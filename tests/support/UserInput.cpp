// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/UserInput.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QtTest>

namespace korvadel {

void key(Qt::Key k, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(QApplication::focusWidget(), k, modifiers);
}

void type(const QString& text) {
    for (const QChar c : text)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
}

QStringList menuEntries(const QMenu* menu) {
    QStringList entries;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator())
            entries << QStringLiteral("-");
        else if (action->menu())
            entries << action->text() + QLatin1Char('>') +
                           menuEntries(action->menu()).join(QLatin1Char(','));
        else if (action->shortcut().isEmpty())
            entries << action->text();
        else
            entries << action->text() + QLatin1Char('|') + action->shortcut().toString();
    }
    return entries;
}

} // namespace korvadel
