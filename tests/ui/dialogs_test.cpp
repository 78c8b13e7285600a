// SPDX-License-Identifier: GPL-3.0-or-later
// The small windows: content, layout, keys, what their buttons hand back, and showing again.

#include "components/widgets/GradientProgressBar.h"
#include "components/widgets/IncrementSpinBox.h"
#include "tests/support/ScriptedSeam.h"
#include "ui/AboutBox.h"
#include "ui/AdcpImportWarning.h"
#include "ui/BoundsPrompt.h"
#include "ui/EdgeWarning.h"
#include "ui/ProgressDialog.h"

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
    BoundsPrompt w('.');
    QCOMPARE(w.windowTitle(), QStringLiteral("Select bounds"));
    QCOMPARE(w.size(), QSize(248, 184));
    QCOMPARE(w.isModal(), false);
    QCOMPARE(w.findChild<QLineEdit*>(QStringLiteral("edMinStage")), w.minimumStage);
    QCOMPARE(w.findChild<IncrementSpinBox*>(QStringLiteral("SpinStageInc")), w.stageIncrement);
    QCOMPARE(w.minimumLabel->text(), QStringLiteral("Minimum Stage"));
    QCOMPARE(w.maximumLabel->text(), QStringLiteral("Maximum Stage"));
    QCOMPARE(w.incrementLabel->text(), QStringLiteral("Stage Increment"));
    QCOMPARE(w.maximumLabel->pos(), QPoint(20, 72));
    QCOMPARE(w.minimumStage->geometry().topLeft(), QPoint(136, 28));
    QCOMPARE(w.maximumStage->geometry().topLeft(), QPoint(136, 68));
    QCOMPARE(w.stageIncrement->geometry().topLeft(), QPoint(136, 108));
    QCOMPARE(w.stageIncrement->width(), 73);
    QCOMPARE(w.okButton->geometry(), QRect(72, 152, 75, 25));
    QCOMPARE(w.cancelButton->geometry(), QRect(164, 152, 75, 25));
    QCOMPARE(w.okButton->text(), QStringLiteral("&Ok"));
    QCOMPARE(w.cancelButton->text(), QStringLiteral("&Cancel"));
    QCOMPARE(w.minimumText(), QStringLiteral("0"));
    QCOMPARE(w.maximumText(), QStringLiteral("1"));
    QCOMPARE(w.increment(), 0.01);

    showActive(w);
    QVERIFY(centred(w));
    // Focus order: minimum, maximum, increment, Ok, Cancel.
    w.minimumStage->setFocus();
    QWidget* expected[] = {w.maximumStage, w.stageIncrement, w.okButton, w.cancelButton,
                           w.minimumStage};
    for (QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus == next || next->isAncestorOf(focus));
    }
}

void DialogsTest::promptKeepsItsValuesAndIgnoresEnterAndEscape() {
    BoundsPrompt w('.');
    QSignalSpy ok(&w, &BoundsPrompt::okClicked);
    showActive(w);
    w.minimumStage->setFocus();
    w.minimumStage->selectAll();
    QTest::keyClicks(w.minimumStage, QStringLiteral("2.5"));
    w.maximumStage->setText(QStringLiteral("7"));
    w.stageIncrement->setIncrement(0.2);
    for (QWidget* target :
         {static_cast<QWidget*>(w.minimumStage), static_cast<QWidget*>(w.okButton),
          static_cast<QWidget*>(w.cancelButton)}) {
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Escape);
        QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClick(target, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(w.isVisible());
    }
    QCOMPARE(ok.count(), 0);

    // Hidden by Cancel and by the close box, shown again: the same values, centred again.
    w.cancelButton->click();
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
    BoundsPrompt w(',');
    QSignalSpy ok(&w, &BoundsPrompt::okClicked);
    showActive(w);
    w.maximumStage->setText(QStringLiteral("x"));
    QTest::mouseClick(w.okButton, Qt::LeftButton);
    // The prompt hands over; the owner checks the values and hides it.
    QCOMPARE(ok.count(), 1);
    QVERIFY(w.isVisible());
    QCOMPARE(w.maximumText(), QStringLiteral("x"));
    QCOMPARE(w.okButton->shortcut(), QKeySequence(Qt::ALT | Qt::Key_O));
    QCOMPARE(w.cancelButton->shortcut(), QKeySequence(Qt::ALT | Qt::Key_C));
    w.cancelButton->click();
    QVERIFY(!w.isVisible());
    QCOMPARE(ok.count(), 1);
}

void DialogsTest::progressDialog() {
    ProgressDialog w;
    QCOMPARE(w.windowTitle(), QStringLiteral("Calculating Areas"));
    QVERIFY(w.windowFlags().testFlag(Qt::Tool));
    QCOMPARE(w.size(), QSize(248, 99));
    QCOMPARE(w.message->text(), QStringLiteral("Please Wait!"));
    QCOMPARE(w.message->geometry(), QRect(56, 24, 113, 17));
    QCOMPARE(w.progressBar->geometry(), QRect(4, 60, 229, 16));
    w.progressBar->setMaximum(99);
    w.showNow();
    QVERIFY(w.isVisible());
    QVERIFY(centred(w));
    const int painted = w.progressBar->paintCount();
    QVERIFY(painted > 0);
    w.progressBar->setPosition(50);
    QCOMPARE(w.progressBar->paintCount(), painted + 1);
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
        QCOMPARE(w.progressBar->minimum(), c.expectMinimum);
        QCOMPARE(w.progressBar->maximum(), c.expectMaximum);
    }
    w.setPosition(7);
    QCOMPARE(w.progressBar->position(), 7);
}

void DialogsTest::importWarning() {
    AdcpImportWarning w;
    QCOMPARE(w.windowTitle(), QStringLiteral("Import WinRiver Classic ASCII Data"));
    QCOMPARE(w.size(), QSize(310, 231));
    QCOMPARE(w.heading->text(), QStringLiteral("Warning!"));
    QCOMPARE(w.heading->palette().color(QPalette::WindowText), QColor(Qt::red));
    QCOMPARE(w.heading->font().pixelSize(), 13);
    QCOMPARE(w.message->geometry(), QRect(8, 40, 293, 145));
    QVERIFY(w.message->isReadOnly());
    QCOMPARE(w.message->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    const QStringList lines = w.message->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 19);
    QCOMPARE(lines[0], QStringLiteral("Korvadel currently uses the distance made good "));
    QCOMPARE(lines[10], QString());
    QCOMPARE(lines[14], QStringLiteral("the "));
    QCOMPARE(lines[18], QStringLiteral("rod and level.)"));
    QCOMPARE(w.continueButton->geometry(), QRect(117, 196, 75, 25));
    QCOMPARE(w.continueButton->text(), QStringLiteral("&Continue"));

    // "&Continue" hides the window first, then hands over to the import.
    bool visibleWhenContinued = true;
    int continued = 0;
    connect(&w, &AdcpImportWarning::continueClicked, this, [&] {
        visibleWhenContinued = w.isVisible();
        ++continued;
    });
    showActive(w);
    QVERIFY(centred(w));
    w.continueButton->click();
    QCOMPARE(continued, 1);
    QVERIFY(!visibleWhenContinued);
    // The close box only hides.
    showActive(w);
    w.close();
    QVERIFY(!w.isVisible());
    QCOMPARE(continued, 1);
}

void DialogsTest::edgeWarningClosesEitherWay() {
    EdgeWarning w;
    QCOMPARE(w.windowTitle(), QStringLiteral("Create Stage Area Rating"));
    QVERIFY(w.windowFlags().testFlag(Qt::Tool));
    QVERIFY(w.isModal());
    QCOMPARE(w.heading->text(), QStringLiteral("Warning!"));
    QCOMPARE(w.heading->pos(), QPoint(84, 8));
    QCOMPARE(w.message->geometry(), QRect(12, 28, 185, 69));
    QCOMPARE(w.message->frameShape(), QFrame::NoFrame);
    QCOMPARE(w.message->toPlainText(), QStringLiteral("Maximum gage height exceeds edge \n"
                                                      "elevation. Korvadel assumes a \n"
                                                      "vertical wall at edges where this \n"
                                                      "condition occurs."));
    QCOMPARE(w.okButton->geometry(), QRect(72, 108, 75, 25));
    QCOMPARE(w.okButton->text(), QStringLiteral("&OK"));
    // Resizable: no fixed size.
    QVERIFY(w.minimumSize() != w.maximumSize());

    ScriptedSeam seam;
    bool wasCentred = false;
    seam.onModal([&](QDialog& d) {
        wasCentred = centred(d);
        QTest::mouseClick(static_cast<EdgeWarning&>(d).okButton, Qt::LeftButton);
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
    AboutBox w;
    QCOMPARE(w.windowTitle(), QStringLiteral("About Korvadel"));
    QCOMPARE(w.size(), QSize(298, 213));
    QVERIFY(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QCOMPARE(w.panel->geometry(), QRect(8, 8, 281, 169));
    QCOMPARE(w.icon->geometry(), QRect(28, 20, 32, 32));
    QCOMPARE(w.productName->text(), QStringLiteral("Korvadel"));
    QCOMPARE(w.productName->pos(), QPoint(88, 16));
    QCOMPARE(w.version->text(), QStringLiteral("Version: 1.3"));
    QCOMPARE(w.version->pos(), QPoint(88, 34));
    QVERIFY(w.comments->y() >= 52 && w.comments->geometry().bottom() <= 153);
    // The credit lines name the licence and fit their place whole.
    QVERIFY(w.comments->text().contains(QStringLiteral("GNU GPL,\nversion 3 or later")));
    QVERIFY2(w.comments->sizeHint().height() <= w.comments->height() &&
                 w.comments->sizeHint().width() <= w.comments->width(),
             qPrintable(QStringLiteral("%1 x %2")
                            .arg(w.comments->sizeHint().width())
                            .arg(w.comments->sizeHint().height())));
    QCOMPARE(w.okButton->geometry(), QRect(111, 184, 75, 25));
    QVERIFY(w.okButton->isDefault());

    // The icon: 32 x 32 in at most 16 colours, and a picture (several colours in use).
    const QImage icon = AboutBox::programIcon();
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
