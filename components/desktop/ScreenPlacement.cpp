// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/desktop/ScreenPlacement.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace korvadel {

namespace {

QMargins frameMargins(const QWidget& window) {
    if (const QWindow* handle = window.windowHandle())
        return handle->frameMargins();
    return {};
}

} // namespace

void centreOnScreen(QWidget& window) {
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // Before the first show the frame is not known yet; the client area alone is centred then.
    const QMargins margins = frameMargins(window);
    QRect outer(QPoint(0, 0), window.size().grownBy(margins));
    outer.moveCenter(screen->availableGeometry().center());
    window.move(outer.topLeft());
}

void centreForShowing(QWidget& window) {
    QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    QRect frame = window.frameGeometry();
    if (!window.isVisible())
        frame.setSize(window.testAttribute(Qt::WA_Resized) ? window.size() : window.sizeHint());
    frame.moveCenter(available.center());
    window.move(frame.topLeft());
}

QFont designFont(const QFont& base) {
    // Positions and sizes of the fixed windows are pixels at 96 dpi for an 8-point dialog font;
    // the platform's default font is often wider and would wrap or clip their texts.
    QFont font = base;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica")});
    font.setPixelSize(11);
    return font;
}

void useDesignFont(QWidget& window) {
    window.setFont(designFont(window.font()));
}

void setOuterSize(QWidget& window, QSize outer) {
    const QMargins margins = frameMargins(window);
    window.resize(outer.shrunkBy(margins));
}

} // namespace korvadel
