// SPDX-License-Identifier: GPL-3.0-or-later
// The increment spin box's rules: stepping and clamping, typing, reading.

#include "components/widgets/IncrementSpinBox.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

using namespace korvadel;

class IncrementSpinBoxTest : public QObject {
    Q_OBJECT
private slots:
    void stepping_data();
    void stepping();
    void typing_data();
    void typing();
    void refusedKeysAndSeparator();
    void readingTheEntry();
};

namespace {

struct Shown {
    IncrementSpinBox box;
    explicit Shown(char separator = '.') : box(separator) {
        box.show();
        QApplication::setActiveWindow(&box);
        box.setFocus();
    }
    QString text() const { return box.text(); }
};

} // namespace

void IncrementSpinBoxTest::stepping_data() {
    QTest::addColumn<double>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<double>("result");
    QTest::addColumn<QString>("text");
    QTest::newRow("up at 0.91 clamps") << 0.91 << int(Qt::Key_Up) << 1.0 << "1";
    QTest::newRow("down at 0.1 clamps") << 0.1 << int(Qt::Key_Down) << 0.01 << "0.01";
    QTest::newRow("up from the start") << 0.01 << int(Qt::Key_Up) << 0.11 << "0.11";
    QTest::newRow("down at 0.5") << 0.5 << int(Qt::Key_Down) << 0.4 << "0.4";
    QTest::newRow("up at the top") << 1.0 << int(Qt::Key_Up) << 1.0 << "1";
    QTest::newRow("down at the bottom") << 0.01 << int(Qt::Key_Down) << 0.01 << "0.01";
}

void IncrementSpinBoxTest::stepping() {
    QFETCH(double, start);
    QFETCH(int, key);
    QFETCH(double, result);
    QFETCH(QString, text);
    Shown s;
    s.box.setIncrement(start);
    QTest::keyClick(&s.box, Qt::Key(key));
    QCOMPARE(s.box.increment(), result);
    QCOMPARE(s.text(), text);
    // The wheel and the spin buttons step the same way.
    s.box.setIncrement(start);
    s.box.stepBy(key == Qt::Key_Up ? 1 : -1);
    QCOMPARE(s.box.increment(), result);
}

void IncrementSpinBoxTest::typing_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("result");
    QTest::addColumn<QString>("text");
    QTest::newRow("in range") << "0.25" << 0.25 << "0.25";
    QTest::newRow("comma types the separator") << "0,5" << 0.5 << "0.5";
    QTest::newRow("above") << "5" << 1.0 << "1";
    QTest::newRow("zero") << "0" << 0.01 << "0.01";
    QTest::newRow("negative") << "-0.3" << 0.01 << "0.01";
    QTest::newRow("unreadable") << "+-" << 0.01 << "0.01";
    QTest::newRow("empty") << "" << 0.01 << "0.01";
    QTest::newRow("letters refused") << "0.a3" << 0.3 << "0.3";
}

void IncrementSpinBoxTest::typing() {
    QFETCH(QString, typed);
    QFETCH(double, result);
    QFETCH(QString, text);
    Shown s;
    s.box.setIncrement(0.7);
    s.box.selectAll();
    QTest::keyClick(&s.box, Qt::Key_Backspace);
    QTest::keyClicks(&s.box, typed);
    QTest::keyClick(&s.box, Qt::Key_Return); // the entry is finished
    QCOMPARE(s.box.increment(), result);
    QCOMPARE(s.text(), text);
}

void IncrementSpinBoxTest::refusedKeysAndSeparator() {
    Shown s(',');
    s.box.setIncrement(0.5);
    QCOMPARE(s.text(), QStringLiteral("0,5"));
    QSignalSpy refused(&s.box, &IncrementSpinBox::keyRefused);
    s.box.findChild<QLineEdit*>()->setCursorPosition(3);
    QTest::keyClicks(&s.box, QStringLiteral("ax !"));
    QCOMPARE(refused.count(), 4);
    QCOMPARE(s.text(), QStringLiteral("0,5"));
    s.box.selectAll();
    QTest::keyClicks(&s.box, QStringLiteral("0.75"));
    QCOMPARE(s.text(), QStringLiteral("0,75"));
    QCOMPARE(s.box.increment(), 0.75);
    QCOMPARE(refused.count(), 4);
}

void IncrementSpinBoxTest::readingTheEntry() {
    Shown s;
    s.box.setIncrement(5);
    QCOMPARE(s.box.increment(), 1.0);
    s.box.setIncrement(0);
    QCOMPARE(s.box.increment(), 0.01);
    QCOMPARE(s.text(), QStringLiteral("0.01"));
    s.box.setIncrement(0.3);
    // Read while the entry is still being typed: what it says now, brought into the range.
    s.box.selectAll();
    QTest::keyClicks(&s.box, QStringLiteral("7"));
    QCOMPARE(s.box.increment(), 1.0);
    s.box.clear();
    QCOMPARE(s.box.increment(), 0.01);
}

QTEST_MAIN(IncrementSpinBoxTest)
#include "increment_spin_box_test.moc"
