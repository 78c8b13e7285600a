#pragma once

// Stand-ins for the small windows until their real versions are in the tree. Whoever adds one
// of ui/tableprompt.h, ui/Progress.h, ui/Importwarning.h, ui/ElevWarn.h, ui/about.h deletes the
// matching class here and includes the real header where this one is included.

#include "components/IncrementSpinBox.h"

#include <QDialog>
#include <QLineEdit>

class TPromptWindow : public QDialog {
    Q_OBJECT
public:
    explicit TPromptWindow(char separator, QWidget* parent = nullptr)
        : QDialog(parent), edMinStage(new QLineEdit(QStringLiteral("0"), this)),
          edMaxStage(new QLineEdit(QStringLiteral("1"), this)),
          SpinStageInc(new korvadel::IncrementSpinBox(separator, this)) {}
    QString minimumText() const { return edMinStage->text(); }
    QString maximumText() const { return edMaxStage->text(); }
    double increment() const { return SpinStageInc->increment(); }
    QLineEdit* edMinStage;
    QLineEdit* edMaxStage;
    korvadel::IncrementSpinBox* SpinStageInc;
signals:
    void okClicked();
};

class TProgressForm : public QDialog {
    Q_OBJECT
public:
    TProgressForm() = default;
    void setRange(int minimum, int maximum) {
        minimum_ = minimum;
        maximum_ = maximum;
    }
    void setPosition(int position) { position_ = position; }
    int minimum_ = 0, maximum_ = 100, position_ = 0;
};

class TWarningForm : public QDialog {
    Q_OBJECT
public:
    TWarningForm() = default;
signals:
    void continueClicked();
};

class TEWForm : public QDialog {
    Q_OBJECT
public:
    TEWForm() { setObjectName(QStringLiteral("EWForm")); }
};

class TAboutBox1 : public QDialog {
    Q_OBJECT
public:
    TAboutBox1() { setObjectName(QStringLiteral("AboutBox1")); }
};
