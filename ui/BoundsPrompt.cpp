// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/BoundsPrompt.h"

#include "components/desktop/ScreenPlacement.h"
#include "components/widgets/IncrementSpinBox.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace korvadel {

namespace {

template <typename T> T* named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

BoundsPrompt::BoundsPrompt(char decimalSeparator, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      minimumLabel(named(new QLabel(QStringLiteral("Minimum Stage"), this), "Label1")),
      maximumLabel(named(new QLabel(QStringLiteral("Maximum Stage"), this), "Label2")),
      incrementLabel(named(new QLabel(QStringLiteral("Stage Increment"), this), "Label3")),
      minimumStage(named(new QLineEdit(QStringLiteral("0"), this), "edMinStage")),
      maximumStage(named(new QLineEdit(QStringLiteral("1"), this), "edMaxStage")),
      stageIncrement(named(new IncrementSpinBox(decimalSeparator, this), "SpinStageInc")),
      okButton(named(new QPushButton(QStringLiteral("&Ok"), this), "Button1")),
      cancelButton(named(new QPushButton(QStringLiteral("&Cancel"), this), "Button2")) {
    setObjectName(QStringLiteral("PromptWindow"));
    useDesignFont(*this);
    setWindowTitle(QStringLiteral("Select bounds"));
    setFixedSize(248, 184);
    setModal(false);

    minimumLabel->move(20, 28);
    maximumLabel->move(20, 72);
    incrementLabel->move(20, 112);
    for (QLabel* label : {minimumLabel, maximumLabel, incrementLabel})
        label->adjustSize();
    minimumStage->setGeometry(136, 28, 73, 21);
    maximumStage->setGeometry(136, 68, 73, 21);
    stageIncrement->setGeometry(136, 108, 73, 21);
    okButton->setGeometry(72, 152, 75, 25);
    cancelButton->setGeometry(164, 152, 75, 25);
    for (QPushButton* button : {okButton, cancelButton}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    setTabOrder(minimumStage, maximumStage);
    setTabOrder(maximumStage, stageIncrement);
    setTabOrder(stageIncrement, okButton);
    setTabOrder(okButton, cancelButton);

    connect(okButton, &QPushButton::clicked, this, &BoundsPrompt::okClicked);
    connect(cancelButton, &QPushButton::clicked, this, &QWidget::hide);
}

QString BoundsPrompt::minimumText() const {
    return minimumStage->text();
}
QString BoundsPrompt::maximumText() const {
    return maximumStage->text();
}
double BoundsPrompt::increment() const {
    return stageIncrement->increment();
}

void BoundsPrompt::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnScreen(*this);
}

void BoundsPrompt::keyPressEvent(QKeyEvent* event) {
    // Enter and Escape are not the buttons' keys here: a half-typed bound must not start a
    // rating or throw the window away.
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

} // namespace korvadel
