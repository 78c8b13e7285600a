// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/ProgramDialog.h"

class QLineEdit;
class QPushButton;

namespace korvadel {

class IncrementSpinBox;

// The bounds prompt ("Select bounds"): its own minimum, maximum and increment for the second
// way of generating a rating. Not modal; hidden, never destroyed; its fields keep what was
// typed from one showing to the next, and it comes up with the minimum selected for typing
// over. It hands its three values back and checks nothing: "&Ok" emits okClicked() and whoever
// runs the rating reads them. "&Cancel" and the close box hide the window; neither button
// answers Enter or Escape. Its controls are found by their object names ("minimumStage",
// "maximumStage", "stageIncrement", "okButton", "cancelButton").
class BoundsPrompt : public ProgramDialog {
    Q_OBJECT
public:
    explicit BoundsPrompt(char decimalSeparator, QWidget* parent = nullptr);

    QString minimumText() const;
    QString maximumText() const;
    double increment() const;

    // After the rating stopped at a bound that is not a number: that field (the minimum when
    // both are) gets the focus with its text selected. False when both convert.
    bool selectUnreadableField();

signals:
    void okClicked();

protected:
    void comingUp(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void selectMinimum();

    char separator_;
    bool selectMinimum_ = false;
    QLineEdit* minimumStage_;
    QLineEdit* maximumStage_;
    IncrementSpinBox* stageIncrement_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};

} // namespace korvadel
