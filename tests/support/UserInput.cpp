// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/UserInput.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
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

namespace {

// The letter after the first single '&' ("&&" stands for an ampersand), upper case.
QChar mnemonicOf(const QString& text) {
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] != QLatin1Char('&'))
            return text[i + 1].toUpper();
        ++i;
    }
    return {};
}

void addClashes(const QStringList& texts, const QString& where, QStringList& clashes) {
    QMap<QChar, QStringList> byLetter;
    for (const QString& text : texts)
        if (const QChar letter = mnemonicOf(text); !letter.isNull())
            byLetter[letter] << text;
    for (auto it = byLetter.cbegin(); it != byLetter.cend(); ++it)
        if (it.value().size() > 1)
            clashes << QStringLiteral("%1 %2: %3")
                           .arg(where, it.key(), it.value().join(QStringLiteral(", ")));
}

void addMenuClashes(const QMenu* menu, QStringList& clashes) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        if (!action->isVisible() || action->isSeparator())
            continue;
        texts << action->text();
        if (action->menu())
            addMenuClashes(action->menu(), clashes);
    }
    addClashes(texts, menu->title(), clashes);
}

} // namespace

QStringList mnemonicClashes(const QWidget* window) {
    QStringList texts;
    QStringList clashes;
    // Only what the window itself would show: not its dialogs, not the pages of other tabs.
    const auto shown = [window](const QWidget* widget) {
        return widget->window() == window && widget->isVisibleTo(window);
    };
    for (const QMenuBar* bar : window->findChildren<QMenuBar*>()) {
        if (!shown(bar))
            continue;
        for (const QAction* action : bar->actions()) {
            texts << action->text();
            if (action->menu())
                addMenuClashes(action->menu(), clashes);
        }
    }
    for (const QLabel* label : window->findChildren<QLabel*>())
        if (label->buddy() && shown(label))
            texts << label->text();
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>())
        if (shown(button))
            texts << button->text();
    for (const QGroupBox* box : window->findChildren<QGroupBox*>())
        if (shown(box))
            texts << box->title();
    for (const QTabBar* tabs : window->findChildren<QTabBar*>())
        if (shown(tabs))
            for (int i = 0; i < tabs->count(); ++i)
                texts << tabs->tabText(i);
    addClashes(texts, window->windowTitle(), clashes);
    return clashes;
}

} // namespace korvadel
