// SPDX-License-Identifier: GPL-3.0-or-later
// The small windows: content, layout, keys, what their buttons hand back, and showing again.

#include "components/widgets/GradientProgressBar.h"
#include "components/widgets/IncrementSpinBox.h"
#include "tests/support/Controls.h"
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
    QCOMPARE(labelFor(ui(&w).minimumStage)->text(), QStringLiteral("Minimum Stage"));
    QCOMPARE(labelFor(ui(&w).maximumStage)->text(), QStringLiteral("Maximum Stage"));
    QCOMPARE(labelFor(ui(&w).stageIncrement)->text(), QStringLiteral("Stage Increment"));
    QCOMPARE(labelFor(ui(&w).maximumStage)->pos(), QPoint(20, 72));
    QCOMPARE(ui(&w).minimumStage->geometry().topLeft(), QPoint(136, 28));
    QCOMPARE(ui(&w).maximumStage->geometry().topLeft(), QPoint(136, 68));
    QCOMPARE(ui(&w).stageIncrement->geometry().topLeft(), QPoint(136, 108));
    QCOMPARE(ui(&w).stageIncrement->width(), 73);
    QCOMPARE(ui(&w).okButton->geometry(), QRect(72, 152, 75, 25));
    QCOMPARE(ui(&w).cancelButton->geometry(), QRect(164, 152, 75, 25));
    QCOMPARE(ui(&w).okButton->text(), QStringLiteral("&Ok"));
    QCOMPARE(ui(&w).cancelButton->text(), QStringLiteral("&Cancel"));
    QCOMPARE(w.minimumText(), QStringLiteral("0"));
    QCOMPARE(w.maximumText(), QStringLiteral("1"));
    QCOMPARE(w.increment(), 0.01);

    showActive(w);
    QVERIFY(centred(w));
    // Focus order: minimum, maximum, increment, Ok, Cancel.
    ui(&w).minimumStage->setFocus();
    QWidget* expected[] = {ui(&w).maximumStage, ui(&w).stageIncrement, ui(&w).okButton,
                           ui(&w).cancelButton, ui(&w).minimumStage};
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
    ui(&w).minimumStage->setFocus();
    ui(&w).minimumStage->selectAll();
    QTest::keyClicks(ui(&w).minimumStage, QStringLiteral("2.5"));
    ui(&w).maximumStage->setText(QStringLiteral("7"));
    ui(&w).stageIncrement->setIncrement(0.2);
    for (QWidget* target :
         {static_cast<QWidget*>(ui(&w).minimumStage), static_cast<QWidget*>(ui(&w).okButton),
          static_cast<QWidget*>(ui(&w).cancelButton)}) {
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Escape);
        QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClick(target, Qt::Key_Enter, Qt::KeypadModifier);
        QVERIFY(w.isVisible());
    }
    QCOMPARE(ok.count(), 0);

    // Hidden by Cancel and by the close box, shown again: the same values, centred again.
    ui(&w).cancelButton->click();
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
    // It comes up ready for the minimum to be typed over.
    QCOMPARE(QApplication::focusWidget(), ui(&w).minimumStage);
    QCOMPARE(ui(&w).minimumStage->selectedText(), QStringLiteral("2.5"));
}

void DialogsTest::promptButtons() {
    BoundsPrompt w(',');
    QSignalSpy ok(&w, &BoundsPrompt::okClicked);
    showActive(w);
    ui(&w).maximumStage->setText(QStringLiteral("x"));
    QTest::mouseClick(ui(&w).okButton, Qt::LeftButton);
    // The prompt hands over; the owner checks the values and hides it.
    QCOMPARE(ok.count(), 1);
    QVERIFY(w.isVisible());
    QCOMPARE(w.maximumText(), QStringLiteral("x"));
    QCOMPARE(ui(&w).okButton->shortcut(), QKeySequence(Qt::ALT | Qt::Key_O));
    QCOMPARE(ui(&w).cancelButton->shortcut(), QKeySequence(Qt::ALT | Qt::Key_C));
    ui(&w).cancelButton->click();
    QVERIFY(!w.isVisible());
    QCOMPARE(ok.count(), 1);
}

void DialogsTest::progressDialog() {
    ProgressDialog w;
    QCOMPARE(w.windowTitle(), QStringLiteral("Calculating Areas"));
    QVERIFY(w.windowFlags().testFlag(Qt::Tool));
    QCOMPARE(w.size(), QSize(248, 131));
    QCOMPARE(ui(&w).message->text(), QStringLiteral("Please Wait!"));
    QCOMPARE(ui(&w).message->geometry(), QRect(56, 24, 113, 17));
    QCOMPARE(ui(&w).progressBar->geometry(), QRect(4, 60, 229, 16));
    ui(&w).progressBar->setMaximum(99);
    w.showNow();
    QVERIFY(w.isVisible());
    QVERIFY(centred(w));
    QTRY_VERIFY(ui(&w).progressBar->paintCount() > 0);
    const int painted = ui(&w).progressBar->paintCount();
    ui(&w).progressBar->setPosition(50);
    QCOMPARE(ui(&w).progressBar->paintCount(), painted + 1);
    // Cancel, Escape (also in the window the command came from) and the close box ask the run
    // to stop; the run's end hides the dialog. Other input waits until then.
    QLineEdit elsewhere;
    elsewhere.show();
    QSignalSpy cancels(&w, &ProgressDialog::cancelRequested);
    QTest::keyClick(&w, Qt::Key_Escape);
    QTest::keyClick(&elsewhere, Qt::Key_Escape);
    QTest::keyClicks(&elsewhere, QStringLiteral("typed"));
    QTest::mouseClick(ui(&w).cancelButton, Qt::LeftButton);
    w.close();
    QCOMPARE(cancels.size(), 4);
    QVERIFY(w.isVisible());
    QCOMPARE(elsewhere.text(), QString());
    w.hide();
    QTest::keyClicks(&elsewhere, QStringLiteral("typed"));
    QCOMPARE(elsewhere.text(), QStringLiteral("typed"));
    w.showNow();

    // The range as a rating run sets it: a negative step count leaves the maximum as it was.
    struct Case {
        int minimum, maximum, expectMinimum, expectMaximum;
    };
    const Case cases[] = {{0, 10, 0, 10}, {0, -5, 0, 10}, {20, 30, 20, 30},
                          {0, 5, 0, 5},   {3, 3, 3, 3},   {4, 2, 3, 3}};
    for (const Case& c : cases) {
        w.setRange(c.minimum, c.maximum);
        QCOMPARE(ui(&w).progressBar->minimum(), c.expectMinimum);
        QCOMPARE(ui(&w).progressBar->maximum(), c.expectMaximum);
    }
    w.setPosition(7);
    QCOMPARE(ui(&w).progressBar->position(), 7);
}

void DialogsTest::importWarning() {
    AdcpImportWarning w;
    QCOMPARE(w.windowTitle(), QStringLiteral("Import WinRiver Classic ASCII Data"));
    QCOMPARE(w.size(), QSize(310, 231));
    QCOMPARE(ui(&w).heading->text(), QStringLiteral("Warning!"));
    QCOMPARE(ui(&w).heading->palette().color(QPalette::WindowText), QColor(Qt::red));
    QCOMPARE(ui(&w).heading->font().pixelSize(), 13);
    QCOMPARE(ui(&w).message->geometry(), QRect(8, 40, 293, 145));
    QVERIFY(ui(&w).message->isReadOnly());
    QCOMPARE(ui(&w).message->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    const QStringList lines = ui(&w).message->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 19);
    QCOMPARE(lines[0], QStringLiteral("Korvadel currently uses the distance made good "));
    QCOMPARE(lines[10], QString());
    QCOMPARE(lines[14], QStringLiteral("the "));
    QCOMPARE(lines[18], QStringLiteral("rod and level.)"));
    QCOMPARE(ui(&w).continueButton->geometry(), QRect(117, 196, 75, 25));
    QCOMPARE(ui(&w).continueButton->text(), QStringLiteral("&Continue"));

    // "&Continue" hides the window first, then hands over to the import.
    bool visibleWhenContinued = true;
    int continued = 0;
    connect(&w, &AdcpImportWarning::continueClicked, this, [&] {
        visibleWhenContinued = w.isVisible();
        ++continued;
    });
    showActive(w);
    QVERIFY(centred(w));
    ui(&w).continueButton->click();
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
    QCOMPARE(ui(&w).heading->text(), QStringLiteral("Warning!"));
    QCOMPARE(ui(&w).heading->pos(), QPoint(84, 8));
    QCOMPARE(ui(&w).message->geometry(), QRect(12, 28, 185, 69));
    QCOMPARE(ui(&w).message->frameShape(), QFrame::NoFrame);
    QCOMPARE(ui(&w).message->toPlainText(), QStringLiteral("Maximum gage height exceeds edge \n"
                                                           "elevation. Korvadel assumes a \n"
                                                           "vertical wall at edges where this \n"
                                                           "condition occurs."));
    QCOMPARE(ui(&w).okButton->geometry(), QRect(72, 108, 75, 25));
    QCOMPARE(ui(&w).okButton->text(), QStringLiteral("&OK"));
    // Resizable: no fixed size.
    QVERIFY(w.minimumSize() != w.maximumSize());

    ScriptedSeam seam;
    bool wasCentred = false;
    seam.onModal([&](QDialog& d) {
        wasCentred = centred(d);
        QTest::mouseClick(ui(static_cast<EdgeWarning*>(&d)).okButton, Qt::LeftButton);
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
    QCOMPARE(ui(&w).panel->geometry(), QRect(8, 8, 281, 169));
    QCOMPARE(ui(&w).icon->geometry(), QRect(28, 20, 32, 32));
    QCOMPARE(ui(&w).productName->text(), QStringLiteral("Korvadel"));
    QCOMPARE(ui(&w).productName->pos(), QPoint(88, 16));
    QCOMPARE(ui(&w).version->text(), QStringLiteral("Version: 1.3"));
    QCOMPARE(ui(&w).version->pos(), QPoint(88, 34));
    QVERIFY(ui(&w).comments->y() >= 52 && ui(&w).comments->geometry().bottom() <= 153);
    // The credit lines name the licence and fit their place whole.
    QVERIFY(ui(&w).comments->text().contains(QStringLiteral("GNU GPL,\nversion 3 or later")));
    QVERIFY2(ui(&w).comments->sizeHint().height() <= ui(&w).comments->height() &&
                 ui(&w).comments->sizeHint().width() <= ui(&w).comments->width(),
             qPrintable(QStringLiteral("%1 x %2")
                            .arg(ui(&w).comments->sizeHint().width())
                            .arg(ui(&w).comments->sizeHint().height())));
    QCOMPARE(ui(&w).okButton->geometry(), QRect(111, 184, 75, 25));
    QVERIFY(ui(&w).okButton->isDefault());

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
    QCOMPARE(seam.modals[0].objectName, QStringLiteral("aboutBox"));
}

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
