// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace korvadel {

class IncrementSpinBox;

// The bounds prompt ("Select bounds"): its own minimum, maximum and increment for the second
// way of generating a rating. Not modal; hidden, never destroyed; its fields keep what was
// typed from one showing to the next. It hands its three values back and checks nothing: "&Ok"
// emits okClicked() and whoever runs the rating reads them. "&Cancel" and the close box hide
// the window; neither button answers Enter or Escape.
class BoundsPrompt : public QDialog {
    Q_OBJECT
public:
    explicit BoundsPrompt(char decimalSeparator, QWidget* parent = nullptr);

    QString minimumText() const;
    QString maximumText() const;
    double increment() const;

    QLabel* minimumLabel;
    QLabel* maximumLabel;
    QLabel* incrementLabel;
    QLineEdit* minimumStage;
    QLineEdit* maximumStage;
    IncrementSpinBox* stageIncrement;
    QPushButton* okButton;
    QPushButton* cancelButton;

signals:
    void okClicked();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace korvadel
