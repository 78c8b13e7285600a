// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ProgressDialog.h"

#include "components/desktop/ScreenPlacement.h"
#include "components/widgets/GradientProgressBar.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QWindow>

namespace korvadel {

ProgressDialog::ProgressDialog(QWidget* parent)
    : ProgramDialog(QStringLiteral("progressDialog"), QStringLiteral("Calculating Areas"),
                    Qt::Tool | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                        Qt::WindowCloseButtonHint,
                    parent),
      message_(new QLabel(QStringLiteral("Please Wait!"), this)),
      progressBar_(new GradientProgressBar(this)),
      cancelButton_(new QPushButton(QStringLiteral("Cancel"), this)) {
    message_->setObjectName(QStringLiteral("message"));
    progressBar_->setObjectName(QStringLiteral("progressBar"));
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));
    // The label and the bar where they always were; the button below them.
    setFixedSize(248, 131);
    message_->setGeometry(56, 24, 113, 17);
    progressBar_->setGeometry(4, 60, 229, 16);
    cancelButton_->setGeometry(86, 94, 75, 25);
    cancelButton_->setAutoDefault(false);
    connect(cancelButton_, &QPushButton::clicked, this, &ProgressDialog::requestCancel);
}

void ProgressDialog::showNow() {
    show();
    raise();
    QApplication::instance()->installEventFilter(this);
}

void ProgressDialog::setRange(int minimum, int maximum) {
    // Set in the order that lets a new range replace an old one it does not overlap; a bound
    // that still crosses the other is ignored by the bar.
    if (minimum <= progressBar_->maximum()) {
        progressBar_->setMinimum(minimum);
        progressBar_->setMaximum(maximum);
    } else {
        progressBar_->setMaximum(maximum);
        progressBar_->setMinimum(minimum);
    }
}

void ProgressDialog::setPosition(int position) {
    progressBar_->setPosition(position);
}

void ProgressDialog::hideEvent(QHideEvent* event) {
    QApplication::instance()->removeEventFilter(this);
    QDialog::hideEvent(event);
}

bool ProgressDialog::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
        // The dialog's own button and close box work; everything else waits for the run.
        auto* widget = qobject_cast<QWidget*>(watched);
        if (watched == windowHandle() || (widget && (widget == this || isAncestorOf(widget))))
            return false;
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            requestCancel();
        if (event->type() == QEvent::ShortcutOverride)
            event->accept(); // no shortcut of another window fires
        return true;
    }
    default:
        return false;
    }
}

void ProgressDialog::closeEvent(QCloseEvent* event) {
    // The close box stops the run; the dialog goes when the run has ended.
    event->ignore();
    requestCancel();
}

void ProgressDialog::reject() {
    // Escape.
    requestCancel();
}

void ProgressDialog::requestCancel() {
    if (isVisible())
        emit cancelRequested();
}

} // namespace korvadel
