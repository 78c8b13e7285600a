#include "ui/Progress.h"

#include "components/GradientProgressBar.h"
#include "components/ScreenPlacement.h"
#include "components/WindowExposure.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>

TProgressForm::TProgressForm(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      Label1(new QLabel(QStringLiteral("Please Wait!"), this)),
      ProgressBar1(new korvadel::GradientProgressBar(this)) {
    setObjectName(QStringLiteral("ProgressForm"));
    korvadel::useDesignFont(*this);
    Label1->setObjectName(QStringLiteral("Label1"));
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    setWindowTitle(QStringLiteral("Calculating Areas"));
    setFixedSize(248, 99);
    setModal(false);
    Label1->setGeometry(56, 24, 113, 17);
    ProgressBar1->setGeometry(4, 60, 229, 16);
}

void TProgressForm::showNow() {
    show();
    raise();
    // The window has to reach the screen before the computation takes the thread; only the
    // window system's own events are let through for that. Once it is exposed, every change
    // of the bar paints at once.
    korvadel::waitUntilExposed(*this, kExposeWaitMilliseconds);
    repaint();
    sinceLetIn_.start();
}

void TProgressForm::setRange(int minimum, int maximum) {
    // Set in the order that lets a new range replace an old one it does not overlap; a bound
    // that still crosses the other is ignored by the bar.
    if (minimum <= ProgressBar1->maximum()) {
        ProgressBar1->setMinimum(minimum);
        ProgressBar1->setMaximum(maximum);
    } else {
        ProgressBar1->setMaximum(maximum);
        ProgressBar1->setMinimum(minimum);
    }
}

void TProgressForm::setPosition(int position) {
    // A window manager slower than the wait above exposes the window during the run: the
    // window system's events are let in now and then until it has, never the user's input.
    if (isVisible() && !korvadel::isExposed(*this) && sinceLetIn_.isValid() &&
        sinceLetIn_.elapsed() >= kLetInMilliseconds) {
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        sinceLetIn_.restart();
        if (korvadel::isExposed(*this))
            repaint();
    }
    ProgressBar1->setPosition(position);
}

void TProgressForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    korvadel::centreOnScreen(*this);
}

void TProgressForm::keyPressEvent(QKeyEvent* event) {
    // Escape would hide the dialog in the middle of a run.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
