#pragma once

// The bounds prompt ("Select bounds"): its own minimum, maximum and increment for the second
// way of generating a rating. Not modal; hidden, never destroyed; its fields keep what was
// typed from one showing to the next.
//
//   TPromptWindow(char decimalSeparator, QWidget* parent = nullptr);
//   QLineEdit* edMinStage;  QLineEdit* edMaxStage;  korvadel::IncrementSpinBox* SpinStageInc;
//   QPushButton* Button1 ("&Ok");  QPushButton* Button2 ("&Cancel");
//   QString minimumText() const;  QString maximumText() const;  double increment() const;
//   signal okClicked();   // "&Ok": the owner reads the three values and runs the rating;
//                         // the prompt itself neither hides nor checks anything
//
// Neither button answers Enter or Escape; "&Cancel" and the close box hide the window.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace korvadel {
class IncrementSpinBox;
}

class TPromptWindow : public QDialog {
    Q_OBJECT
public:
    explicit TPromptWindow(char decimalSeparator, QWidget* parent = nullptr);

    QString minimumText() const;
    QString maximumText() const;
    double increment() const;

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLineEdit* edMinStage;
    QLineEdit* edMaxStage;
    korvadel::IncrementSpinBox* SpinStageInc;
    QPushButton* Button1;
    QPushButton* Button2;

signals:
    void okClicked();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Button1Click();
    void Button2Click();
};
