// The small windows: content, layout, keys, what their buttons hand back, and showing again.

#include "components/GradientProgressBar.h"
#include "components/IncrementSpinBox.h"
#include "support/ScriptedSeam.h"
#include "ui/ElevWarn.h"
#include "ui/Importwarning.h"
#include "ui/Progress.h"
#include "ui/about.h"
#include "ui/tableprompt.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

using namespace korvadel;

namespace {

void showActive(QWidget& w) {
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

bool centred(const QWidget& w) {
    const QPoint screen = w.screen()->availableGeometry().center();
    const QPoint centre = w.frameGeometry().center();
    return (centre - screen).manhattanLength() <= 2;
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void promptLayout();
    void promptKeepsItsValuesAndIgnoresEnterAndEscape();
    void promptButtons();
    void progressDialog();
    void importWarning();
    void edgeWarningClosesEitherWay();
    void aboutBox();
};

void DialogsTest::promptLayout() {
    TPromptWindow w('.');
    QCOMPARE(w.windowTitle(), QStringLiteral("Select bounds"));
    QCOMPARE(w.size(), QSize(248, 184));
    QCOMPARE(w.isModal(), false);
    QCOMPARE(w.findChild<QLineEdit*>(QStringLiteral("edMinStage")), w.edMinStage);
    QCOMPARE(w.findChild<IncrementSpinBox*>(QStringLiteral("SpinStageInc")), w.SpinStageInc);
    QCOMPARE(w.Label1->text(), QStringLiteral("Minimum Stage"));
    QCOMPARE(w.Label2->text(), QStringLiteral("Maximum Stage"));
    QCOMPARE(w.Label3->text(), QStringLiteral("Stage Increment"));
    QCOMPARE(w.Label2->pos(), QPoint(20, 72));
    QCOMPARE(w.edMinStage->geometry().topLeft(), QPoint(136, 28));
    QCOMPARE(w.edMaxStage->geometry().topLeft(), QPoint(136, 68));
    QCOMPARE(w.SpinStageInc->geometry().topLeft(), QPoint(136, 108));
    QCOMPARE(w.SpinStageInc->width(), 73);
    QCOMPARE(w.Button1->geometry(), QRect(72, 152, 75, 25));
    QCOMPARE(w.Button2->geometry(), QRect(164, 152, 75, 25));
    QCOMPARE(w.Button1->text(), QStringLiteral("&Ok"));
    QCOMPARE(w.Button2->text(), QStringLiteral("&Cancel"));
    QCOMPARE(w.minimumText(), QStringLiteral("0"));
    QCOMPARE(w.maximumText(), QStringLiteral("1"));
    QCOMPARE(w.increment(), 0.01);

    showActive(w);
    QVERIFY(centred(w));
    // Focus order: minimum, maximum, increment, Ok, Cancel.
    w.edMinStage->setFocus();
    QWidget* expected[] = {w.edMaxStage, w.SpinStageInc, w.Button1, w.Button2, w.edMinStage};
    for (QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus == next || next->isAncestorOf(focus));
    }
}

void DialogsTest::promptKeepsItsValuesAndIgnoresEnterAndEscape() {
    TPromptWindow w('.');
    QSignalSpy ok(&w, &TPromptWindow::okClicked);
    showActive(w);
    w.edMinStage->setFocus();
    w.edMinStage->selectAll();
    QTest::keyClicks(w.edMinStage, QStringLiteral("2.5"));
    w.edMaxStage->setText(QStringLiteral("7"));
    w.SpinStageInc->setIncrement(0.2);
    for (QWidget* target : {static_cast<QWidget*>(w.edMinStage), static_cast<QWidget*>(w.Button1),
                            static_cast<QWidget*>(w.Button2)}) {
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Escape);
        QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClick(target, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(w.isVisible());
    }
    QCOMPARE(ok.count(), 0);

    // Hidden by Cancel and by the close box, shown again: the same values, centred again.
    w.Button2->click();
    QVERIFY(!w.isVisible());
    showActive(w);
    w.move(0, 0);
    w.close();
    QVERIFY(!w.isVisible());
    showActive(w);
    QVERIFY(centred(w));
    QCOMPARE(w.minimumText(), QStringLiteral("2.5"));
    QCOMPARE(w.maximumText(), QStringLiteral("7"));
    QCOMPARE(w.increment(), 0.2);
}

void DialogsTest::promptButtons() {
    TPromptWindow w(',');
    QSignalSpy ok(&w, &TPromptWindow::okClicked);
    showActive(w);
    w.edMaxStage->setText(QStringLiteral("x"));
    QTest::mouseClick(w.Button1, Qt::LeftButton);
    // The prompt hands over; the owner checks the values and hides it.
    QCOMPARE(ok.count(), 1);
    QVERIFY(w.isVisible());
    QCOMPARE(w.maximumText(), QStringLiteral("x"));
    QCOMPARE(w.Button1->shortcut(), QKeySequence(Qt::ALT | Qt::Key_O));
    QCOMPARE(w.Button2->shortcut(), QKeySequence(Qt::ALT | Qt::Key_C));
    w.Button2->click();
    QVERIFY(!w.isVisible());
    QCOMPARE(ok.count(), 1);
}

void DialogsTest::progressDialog() {
    TProgressForm w;
    QCOMPARE(w.windowTitle(), QStringLiteral("Calculating Areas"));
    QVERIFY(w.windowFlags().testFlag(Qt::Tool));
    QCOMPARE(w.size(), QSize(248, 99));
    QCOMPARE(w.Label1->text(), QStringLiteral("Please Wait!"));
    QCOMPARE(w.Label1->geometry(), QRect(56, 24, 113, 17));
    QCOMPARE(w.ProgressBar1->geometry(), QRect(4, 60, 229, 16));
    w.ProgressBar1->setMaximum(99);
    w.showNow();
    QVERIFY(w.isVisible());
    QVERIFY(centred(w));
    const int painted = w.ProgressBar1->paintCount();
    QVERIFY(painted > 0);
    w.ProgressBar1->setPosition(50);
    QCOMPARE(w.ProgressBar1->paintCount(), painted + 1);
    QTest::keyClick(&w, Qt::Key_Escape);
    QVERIFY(w.isVisible());

    // The range as a rating run sets it: a negative step count leaves the maximum as it was.
    struct Case {
        int minimum, maximum, expectMinimum, expectMaximum;
    };
    const Case cases[] = {{0, 10, 0, 10}, {0, -5, 0, 10}, {20, 30, 20, 30},
                          {0, 5, 0, 5},   {3, 3, 3, 3},   {4, 2, 3, 3}};
    for (const Case& c : cases) {
        w.setRange(c.minimum, c.maximum);
        QCOMPARE(w.ProgressBar1->minimum(), c.expectMinimum);
        QCOMPARE(w.ProgressBar1->maximum(), c.expectMaximum);
    }
    w.setPosition(7);
    QCOMPARE(w.ProgressBar1->position(), 7);
}

void DialogsTest::importWarning() {
    TWarningForm w;
    QCOMPARE(w.windowTitle(), QStringLiteral("Import WinRiver Classic ASCII Data"));
    QCOMPARE(w.size(), QSize(310, 231));
    QCOMPARE(w.Label1->text(), QStringLiteral("Warning!"));
    QCOMPARE(w.Label1->palette().color(QPalette::WindowText), QColor(Qt::red));
    QCOMPARE(w.Label1->font().pixelSize(), 13);
    QCOMPARE(w.Memo1->geometry(), QRect(8, 40, 293, 145));
    QVERIFY(w.Memo1->isReadOnly());
    QCOMPARE(w.Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    const QStringList lines = w.Memo1->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 19);
    QCOMPARE(lines[0], QStringLiteral("Korvadel currently uses the distance made good "));
    QCOMPARE(lines[10], QString());
    QCOMPARE(lines[14], QStringLiteral("the "));
    QCOMPARE(lines[18], QStringLiteral("rod and level.)"));
    QCOMPARE(w.Button1->geometry(), QRect(117, 196, 75, 25));
    QCOMPARE(w.Button1->text(), QStringLiteral("&Continue"));

    // "&Continue" hides the window first, then hands over to the import.
    bool visibleWhenContinued = true;
    int continued = 0;
    connect(&w, &TWarningForm::continueClicked, this, [&] {
        visibleWhenContinued = w.isVisible();
        ++continued;
    });
    showActive(w);
    QVERIFY(centred(w));
    w.Button1->click();
    QCOMPARE(continued, 1);
    QVERIFY(!visibleWhenContinued);
    // The close box only hides.
    showActive(w);
    w.close();
    QVERIFY(!w.isVisible());
    QCOMPARE(continued, 1);
}

void DialogsTest::edgeWarningClosesEitherWay() {
    TEWForm w;
    QCOMPARE(w.windowTitle(), QStringLiteral("Create Stage Area Rating"));
    QVERIFY(w.windowFlags().testFlag(Qt::Tool));
    QVERIFY(w.isModal());
    QCOMPARE(w.Label1->text(), QStringLiteral("Warning!"));
    QCOMPARE(w.Label1->pos(), QPoint(84, 8));
    QCOMPARE(w.Memo1->geometry(), QRect(12, 28, 185, 69));
    QCOMPARE(w.Memo1->frameShape(), QFrame::NoFrame);
    QCOMPARE(w.Memo1->toPlainText(), QStringLiteral("Maximum gage height exceeds edge \n"
                                                    "elevation. Korvadel assumes a \n"
                                                    "vertical wall at edges where this \n"
                                                    "condition occurs."));
    QCOMPARE(w.Button1->geometry(), QRect(72, 108, 75, 25));
    QCOMPARE(w.Button1->text(), QStringLiteral("&OK"));
    // Resizable: no fixed size.
    QVERIFY(w.minimumSize() != w.maximumSize());

    ScriptedSeam seam;
    bool wasCentred = false;
    seam.onModal([&](QDialog& d) {
        wasCentred = centred(d);
        QTest::mouseClick(static_cast<TEWForm&>(d).Button1, Qt::LeftButton);
    });
    seam.onModal([](QDialog& d) { d.close(); });
    QCOMPARE(seam.execModal(w), int(QDialog::Accepted));
    QVERIFY(wasCentred);
    QCOMPARE(seam.execModal(w), int(QDialog::Rejected));
    QVERIFY(!w.isVisible());
    QCOMPARE(seam.modals.size(), 2);
    QCOMPARE(seam.modals[0].title, QStringLiteral("Create Stage Area Rating"));
}

void DialogsTest::aboutBox() {
    TAboutBox1 w;
    QCOMPARE(w.windowTitle(), QStringLiteral("About Korvadel"));
    QCOMPARE(w.size(), QSize(298, 213));
    QVERIFY(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(w.Panel1->geometry(), QRect(8, 8, 281, 169));
    QCOMPARE(w.ProgramIcon->geometry(), QRect(28, 20, 32, 32));
    QCOMPARE(w.ProductName->text(), QStringLiteral("Korvadel"));
    QCOMPARE(w.ProductName->pos(), QPoint(88, 16));
    QCOMPARE(w.Version->text(), QStringLiteral("Version: 1.3"));
    QCOMPARE(w.Version->pos(), QPoint(88, 34));
    QVERIFY(w.Comments->y() >= 52 && w.Comments->geometry().bottom() <= 153);
    QCOMPARE(w.OKButton->geometry(), QRect(111, 184, 75, 25));
    QVERIFY(w.OKButton->isDefault());

    // The icon: 32 x 32 in at most 16 colours, and a picture (several colours in use).
    const QImage icon = TAboutBox1::programIcon();
    QCOMPARE(icon.size(), QSize(32, 32));
    QVERIFY(icon.colorCount() <= 16);
    QSet<QRgb> used;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            used.insert(icon.pixel(x, y));
    QVERIFY(used.size() >= 5);

    ScriptedSeam seam;
    bool stillOpenAfterEscape = false;
    seam.onModal([&](QDialog& d) {
        QTest::keyClick(&d, Qt::Key_Escape);
        stillOpenAfterEscape = d.isVisible() && d.result() == QDialog::Rejected;
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &d,
                        Qt::Key_Return);
    });
    QCOMPARE(seam.execModal(w), int(QDialog::Accepted));
    QVERIFY(stillOpenAfterEscape);
    QCOMPARE(seam.modals[0].objectName, QStringLiteral("AboutBox1"));
}

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
