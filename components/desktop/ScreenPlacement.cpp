// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/desktop/ScreenPlacement.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace korvadel {

namespace {

constexpr int kGuessedBorder = 4;
constexpr int kGuessedTitleBar = 30;

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
    // A window larger than the free area of the screen is made to fit it, as far as its
    // minimum size lets it. Before the first show the platform has not said how wide its
    // frame is; a usual title bar and border stand in for it.
    const QMargins frame = window.isVisible() ? frameMargins(window)
                                              : QMargins(kGuessedBorder, kGuessedTitleBar,
                                                         kGuessedBorder, kGuessedBorder);
    const QSize room = available.size().shrunkBy(frame).expandedTo(window.minimumSize());
    const QSize client = window.isVisible() || window.testAttribute(Qt::WA_Resized)
                             ? window.size()
                             : window.sizeHint();
    if (client.width() > room.width() || client.height() > room.height())
        window.resize(client.boundedTo(room));

    QRect outer = window.frameGeometry();
    if (!window.isVisible())
        outer.setSize(window.testAttribute(Qt::WA_Resized) ? window.size() : window.sizeHint());
    outer.moveCenter(available.center());
    // The title bar stays on the screen, so the window can always be moved.
    outer.moveLeft(std::max(outer.left(), available.left()));
    outer.moveTop(std::max(outer.top(), available.top()));
    window.move(outer.topLeft());
}

void presentWindow(QWidget& window) {
    if (!window.isVisible())
        centreForShowing(window);
    window.show();
    window.raise();
    window.activateWindow();
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
