// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/EdgeWarning.h"

#include "components/desktop/ScreenPlacement.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace korvadel {

EdgeWarning::EdgeWarning(QWidget* parent)
    : ProgramDialog(QStringLiteral("edgeWarning"), QStringLiteral("Create Stage Area Rating"),
                    Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint, parent),
      heading_(addWarningHeading()), message_(new QPlainTextEdit(this)),
      okButton_(new QPushButton(QStringLiteral("&OK"), this)) {
    message_->setObjectName(QStringLiteral("message"));
    okButton_->setObjectName(QStringLiteral("okButton"));
    setModal(true);
    setSizeGripEnabled(false);
    resize(216, 170); // until the frame is known; see comingUp
    heading_->move(84, 8);

    message_->setGeometry(12, 28, 185, 69);
    message_->setReadOnly(true);
    message_->setFrameShape(QFrame::NoFrame);
    message_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    message_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    message_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    message_->setFocusPolicy(Qt::NoFocus);
    QPalette background = message_->palette();
    background.setColor(QPalette::Base, palette().color(QPalette::Window));
    message_->setPalette(background);
    message_->document()->setDocumentMargin(0);
    message_->setPlainText(warningLines().join(QLatin1Char('\n')));

    okButton_->setGeometry(72, 108, 75, 25);
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
}

QStringList EdgeWarning::warningLines() {
    return {
        QStringLiteral("Maximum gage height exceeds edge "),
        QStringLiteral("elevation. Korvadel assumes a "),
        QStringLiteral("vertical wall at edges where this "),
        QStringLiteral("condition occurs."),
    };
}

void EdgeWarning::comingUp(QShowEvent*) {
    // The window's size is given with its frame; the frame is known once it is shown. After
    // that the user's own resizing is kept.
    if (!sized_) {
        setOuterSize(*this, QSize(216, 170));
        sized_ = true;
    }
}

} // namespace korvadel
