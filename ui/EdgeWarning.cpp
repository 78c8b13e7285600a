// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/EdgeWarning.h"

#include "components/desktop/ScreenPlacement.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace korvadel {

EdgeWarning::EdgeWarning(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      heading(new QLabel(QStringLiteral("Warning!"), this)), message(new QPlainTextEdit(this)),
      okButton(new QPushButton(QStringLiteral("&OK"), this)) {
    setObjectName(QStringLiteral("EWForm"));
    useDesignFont(*this);
    heading->setObjectName(QStringLiteral("Label1"));
    message->setObjectName(QStringLiteral("Memo1"));
    okButton->setObjectName(QStringLiteral("Button1"));
    setWindowTitle(QStringLiteral("Create Stage Area Rating"));
    setModal(true);
    setSizeGripEnabled(false);
    resize(216, 170); // until the frame is known; see showEvent

    QPalette red = heading->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    heading->setPalette(red);
    heading->adjustSize();
    heading->move(84, 8);

    message->setGeometry(12, 28, 185, 69);
    message->setReadOnly(true);
    message->setFrameShape(QFrame::NoFrame);
    message->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    message->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    message->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    message->setFocusPolicy(Qt::NoFocus);
    QPalette background = message->palette();
    background.setColor(QPalette::Base, palette().color(QPalette::Window));
    message->setPalette(background);
    message->document()->setDocumentMargin(0);
    message->setPlainText(warningLines().join(QLatin1Char('\n')));

    okButton->setGeometry(72, 108, 75, 25);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
}

QStringList EdgeWarning::warningLines() {
    return {
        QStringLiteral("Maximum gage height exceeds edge "),
        QStringLiteral("elevation. Korvadel assumes a "),
        QStringLiteral("vertical wall at edges where this "),
        QStringLiteral("condition occurs."),
    };
}

void EdgeWarning::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The window's size is given with its frame; the frame is known once it is shown. After
    // that the user's own resizing is kept.
    if (!sized_) {
        setOuterSize(*this, QSize(216, 170));
        sized_ = true;
    }
    centreOnScreen(*this);
}

} // namespace korvadel
