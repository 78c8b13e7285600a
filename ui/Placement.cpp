#include "ui/Placement.h"

#include "components/TextCodec.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void centreOnScreen(QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    QRect frame = window->frameGeometry();
    if (!window->isVisible())
        frame.setSize(window->testAttribute(Qt::WA_Resized) ? window->size() : window->sizeHint());
    frame.moveCenter(available.center());
    window->move(frame.topLeft());
}

QString messageText(const char* message) {
    const QString utf8 = QString::fromUtf8(message);
    if (!utf8.contains(QChar::ReplacementCharacter))
        return utf8;
    return korvadel::fromFileText(message);
}
