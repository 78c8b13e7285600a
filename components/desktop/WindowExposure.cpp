// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/desktop/WindowExposure.h"

#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace korvadel {

namespace {

// Ends the wait when the window system reports the window exposed; the expose event itself goes
// on to the window, which paints in answer to it.
class ExposeWatch : public QObject {
public:
    ExposeWatch(QWindow& window, QEventLoop& loop) : window_(window), loop_(loop) {
        window_.installEventFilter(this);
    }
    ~ExposeWatch() override { window_.removeEventFilter(this); }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (object == &window_ && event->type() == QEvent::Expose && window_.isExposed())
            loop_.quit();
        return false;
    }

private:
    QWindow& window_;
    QEventLoop& loop_;
};

} // namespace

bool isExposed(const QWidget& window) {
    const QWindow* handle = window.windowHandle();
    return handle && handle->isExposed();
}

bool waitUntilExposed(QWidget& window, int milliseconds) {
    QWindow* handle = window.windowHandle();
    if (!handle || !window.isVisible())
        return false;
    if (handle->isExposed())
        return true;
    QEventLoop loop;
    ExposeWatch watch(*handle, loop);
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return handle->isExposed();
}

} // namespace korvadel
