// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ProgressDialog.h"

#include "components/desktop/ScreenPlacement.h"
#include "components/desktop/WindowExposure.h"
#include "components/widgets/GradientProgressBar.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>

namespace korvadel {

ProgressDialog::ProgressDialog(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      message(new QLabel(QStringLiteral("Please Wait!"), this)),
      progressBar(new GradientProgressBar(this)) {
    setObjectName(QStringLiteral("ProgressForm"));
    useDesignFont(*this);
    message->setObjectName(QStringLiteral("Label1"));
    progressBar->setObjectName(QStringLiteral("ProgressBar1"));
    setWindowTitle(QStringLiteral("Calculating Areas"));
    setFixedSize(248, 99);
    setModal(false);
    message->setGeometry(56, 24, 113, 17);
    progressBar->setGeometry(4, 60, 229, 16);
}

void ProgressDialog::showNow() {
    show();
    raise();
    // The window has to reach the screen before the computation takes the thread; only the
    // window system's own events are let through for that. Once it is exposed, every change
    // of the bar paints at once.
    waitUntilExposed(*this, kExposeWaitMilliseconds);
    repaint();
    sinceLetIn_.start();
}

void ProgressDialog::setRange(int minimum, int maximum) {
    // Set in the order that lets a new range replace an old one it does not overlap; a bound
    // that still crosses the other is ignored by the bar.
    if (minimum <= progressBar->maximum()) {
        progressBar->setMinimum(minimum);
        progressBar->setMaximum(maximum);
    } else {
        progressBar->setMaximum(maximum);
        progressBar->setMinimum(minimum);
    }
}

void ProgressDialog::setPosition(int position) {
    // A window manager slower than the wait above exposes the window during the run: the
    // window system's events are let in now and then until it has, never the user's input.
    if (isVisible() && !isExposed(*this) && sinceLetIn_.isValid() &&
        sinceLetIn_.elapsed() >= kLetInMilliseconds) {
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        sinceLetIn_.restart();
        if (isExposed(*this))
            repaint();
    }
    progressBar->setPosition(position);
}

void ProgressDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnScreen(*this);
}

void ProgressDialog::keyPressEvent(QKeyEvent* event) {
    // Escape would hide the dialog in the middle of a run.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace korvadel
