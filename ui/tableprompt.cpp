#include "ui/tableprompt.h"

#include "components/IncrementSpinBox.h"
#include "components/ScreenPlacement.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

template <typename T> T* named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

TPromptWindow::TPromptWindow(char decimalSeparator, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      Label1(named(new QLabel(QStringLiteral("Minimum Stage"), this), "Label1")),
      Label2(named(new QLabel(QStringLiteral("Maximum Stage"), this), "Label2")),
      Label3(named(new QLabel(QStringLiteral("Stage Increment"), this), "Label3")),
      edMinStage(named(new QLineEdit(QStringLiteral("0"), this), "edMinStage")),
      edMaxStage(named(new QLineEdit(QStringLiteral("1"), this), "edMaxStage")),
      SpinStageInc(named(new korvadel::IncrementSpinBox(decimalSeparator, this), "SpinStageInc")),
      Button1(named(new QPushButton(QStringLiteral("&Ok"), this), "Button1")),
      Button2(named(new QPushButton(QStringLiteral("&Cancel"), this), "Button2")) {
    setObjectName(QStringLiteral("PromptWindow"));
    korvadel::useDesignFont(*this);
    setWindowTitle(QStringLiteral("Select bounds"));
    setFixedSize(248, 184);
    setModal(false);

    Label1->move(20, 28);
    Label2->move(20, 72);
    Label3->move(20, 112);
    for (QLabel* label : {Label1, Label2, Label3})
        label->adjustSize();
    edMinStage->setGeometry(136, 28, 73, 21);
    edMaxStage->setGeometry(136, 68, 73, 21);
    SpinStageInc->setGeometry(136, 108, 73, 21);
    Button1->setGeometry(72, 152, 75, 25);
    Button2->setGeometry(164, 152, 75, 25);
    for (QPushButton* button : {Button1, Button2}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    setTabOrder(edMinStage, edMaxStage);
    setTabOrder(edMaxStage, SpinStageInc);
    setTabOrder(SpinStageInc, Button1);
    setTabOrder(Button1, Button2);

    connect(Button1, &QPushButton::clicked, this, &TPromptWindow::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TPromptWindow::Button2Click);
}

QString TPromptWindow::minimumText() const {
    return edMinStage->text();
}
QString TPromptWindow::maximumText() const {
    return edMaxStage->text();
}
double TPromptWindow::increment() const {
    return SpinStageInc->increment();
}

void TPromptWindow::Button1Click() {
    emit okClicked();
}

void TPromptWindow::Button2Click() {
    hide();
}

void TPromptWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    korvadel::centreOnScreen(*this);
}

void TPromptWindow::keyPressEvent(QKeyEvent* event) {
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
