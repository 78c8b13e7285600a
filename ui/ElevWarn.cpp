#include "ui/ElevWarn.h"

#include "components/ScreenPlacement.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

TEWForm::TEWForm(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      Label1(new QLabel(QStringLiteral("Warning!"), this)), Memo1(new QPlainTextEdit(this)),
      Button1(new QPushButton(QStringLiteral("&OK"), this)) {
    setObjectName(QStringLiteral("EWForm"));
    korvadel::useDesignFont(*this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Button1->setObjectName(QStringLiteral("Button1"));
    setWindowTitle(QStringLiteral("Create Stage Area Rating"));
    setModal(true);
    setSizeGripEnabled(false);
    resize(216, 170); // until the frame is known; see showEvent

    QPalette red = Label1->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    Label1->setPalette(red);
    Label1->adjustSize();
    Label1->move(84, 8);

    Memo1->setGeometry(12, 28, 185, 69);
    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setFocusPolicy(Qt::NoFocus);
    QPalette background = Memo1->palette();
    background.setColor(QPalette::Base, palette().color(QPalette::Window));
    Memo1->setPalette(background);
    Memo1->document()->setDocumentMargin(0);
    Memo1->setPlainText(warningLines().join(QLatin1Char('\n')));

    Button1->setGeometry(72, 108, 75, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

QStringList TEWForm::warningLines() {
    return {
        QStringLiteral("Maximum gage height exceeds edge "),
        QStringLiteral("elevation. Korvadel assumes a "),
        QStringLiteral("vertical wall at edges where this "),
        QStringLiteral("condition occurs."),
    };
}

void TEWForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // The window's size is given with its frame; the frame is known once it is shown. After
    // that the user's own resizing is kept.
    if (!sized_) {
        korvadel::setOuterSize(*this, QSize(216, 170));
        sized_ = true;
    }
    korvadel::centreOnScreen(*this);
}
