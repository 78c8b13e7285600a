// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/BoundsPrompt.h"

#include "components/desktop/ScreenPlacement.h"
#include "components/desktop/TextCodec.h"
#include "components/widgets/IncrementSpinBox.h"
#include "model/Numbers.h"

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
    : ProgramDialog(QStringLiteral("boundsPrompt"), QStringLiteral("Select bounds"), kFixedFrame,
                    parent),
      separator_(decimalSeparator),
      minimumStage_(named(new QLineEdit(QStringLiteral("0"), this), "minimumStage")),
      maximumStage_(named(new QLineEdit(QStringLiteral("1"), this), "maximumStage")),
      stageIncrement_(named(new IncrementSpinBox(decimalSeparator, this), "stageIncrement")),
      okButton_(named(new QPushButton(QStringLiteral("&Ok"), this), "okButton")),
      cancelButton_(named(new QPushButton(QStringLiteral("&Cancel"), this), "cancelButton")) {
    setFixedSize(248, 184);
    setModal(false);

    const std::pair<const char*, int> labels[] = {
        {"Minimum Stage", 28}, {"Maximum Stage", 72}, {"Stage Increment", 112}};
    QWidget* fields[] = {minimumStage_, maximumStage_, stageIncrement_};
    for (std::size_t i = 0; i < std::size(labels); ++i) {
        auto* label = new QLabel(QLatin1String(labels[i].first), this);
        label->move(20, labels[i].second);
        label->adjustSize();
        label->setBuddy(fields[i]);
    }
    minimumStage_->setGeometry(136, 28, 73, 21);
    maximumStage_->setGeometry(136, 68, 73, 21);
    stageIncrement_->setGeometry(136, 108, 73, 21);
    okButton_->setGeometry(72, 152, 75, 25);
    cancelButton_->setGeometry(164, 152, 75, 25);
    for (QPushButton* button : {okButton_, cancelButton_}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    setTabOrder(minimumStage_, maximumStage_);
    setTabOrder(maximumStage_, stageIncrement_);
    setTabOrder(stageIncrement_, okButton_);
    setTabOrder(okButton_, cancelButton_);

    connect(okButton_, &QPushButton::clicked, this, &BoundsPrompt::okClicked);
    connect(cancelButton_, &QPushButton::clicked, this, &QWidget::hide);
    // Enter and Escape are not the buttons' keys here: a half-typed bound must not start a
    // rating or throw the window away.
    ignoreKeys({Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter});
}

QString BoundsPrompt::minimumText() const {
    return minimumStage_->text();
}
QString BoundsPrompt::maximumText() const {
    return maximumStage_->text();
}
double BoundsPrompt::increment() const {
    return stageIncrement_->increment();
}

bool BoundsPrompt::selectUnreadableField() {
    for (QLineEdit* field : {minimumStage_, maximumStage_}) {
        double value = 0.0;
        if (tryTextToFloat(toFileText(field->text()), value, NumberFormat{separator_}))
            continue;
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
        return true;
    }
    return false;
}

void BoundsPrompt::comingUp(QShowEvent* event) {
    // Ready for the first bound to be typed over what it held, also after the window system
    // has moved the focus around while activating the window.
    if (!event->spontaneous()) {
        selectMinimum_ = true;
        selectMinimum();
    }
}

void BoundsPrompt::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && selectMinimum_) {
        selectMinimum_ = false;
        selectMinimum();
    }
}

void BoundsPrompt::selectMinimum() {
    minimumStage_->setFocus(Qt::OtherFocusReason);
    minimumStage_->selectAll();
}

} // namespace korvadel
