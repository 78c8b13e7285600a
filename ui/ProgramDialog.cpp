// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ProgramDialog.h"

#include "components/desktop/ScreenPlacement.h"

#include <QKeyEvent>
#include <QLabel>

#include <algorithm>

namespace korvadel {

ProgramDialog::ProgramDialog(const QString& objectName, const QString& caption,
                             Qt::WindowFlags flags, QWidget* parent)
    : QDialog(parent, flags) {
    setObjectName(objectName);
    setWindowTitle(caption);
    useDesignFont(*this);
}

void ProgramDialog::comingUp(QShowEvent*) {}

QLabel* ProgramDialog::addWarningHeading(int pixelSize) {
    auto* heading = new QLabel(QStringLiteral("Warning!"), this);
    heading->setObjectName(QStringLiteral("heading"));
    if (pixelSize > 0) {
        QFont font = heading->font();
        font.setPixelSize(pixelSize);
        heading->setFont(font);
    }
    QPalette red = heading->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    heading->setPalette(red);
    heading->adjustSize();
    return heading;
}

void ProgramDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    comingUp(event);
    centreOnScreen(*this);
}

void ProgramDialog::keyPressEvent(QKeyEvent* event) {
    if (std::find(ignoredKeys_.begin(), ignoredKeys_.end(), event->key()) != ignoredKeys_.end()) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace korvadel
