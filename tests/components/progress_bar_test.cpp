// SPDX-License-Identifier: GPL-3.0-or-later
// The gradient progress bar's drawing rules, checked on rendered pixels.

#include "components/widgets/GradientProgressBar.h"

#include <QImage>
#include <QPainter>
#include <QtTest>

using namespace korvadel;

namespace {

struct Shown {
    GradientProgressBar bar;
    Shown() {
        bar.resize(229, 16);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
    }
    QImage image() {
        QImage out(bar.size(), QImage::Format_RGB32);
        out.fill(Qt::magenta);
        bar.render(&out);
        return out;
    }
    // A pixel of the bar's inside, at column x of the contents, on its top row (the text is
    // centred and kept clear of the columns the tests look at).
    QRgb pixel(const QImage& image, int x) const {
        const QRect inside = bar.contentsRect();
        return image.pixel(inside.left() + x, inside.top());
    }
};

QRgb shade(int x, int width) {
    const int span = width - 1;
    return qRgb(255 * x / span, 255 * x / span, 128 + 127 * x / span);
}

} // namespace

class ProgressBarTest : public QObject {
    Q_OBJECT
private slots:
    void percentageText_data();
    void percentageText();
    void halfAndPastTheEnd();
    void ignoredRangesAndZeroRange();
    void repaintsOnlyWhenTheDrawingChanges();
};

void ProgressBarTest::percentageText_data() {
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("share"); // of the bar filled
    QTest::newRow("start") << 0 << 10 << 0 << "0 %" << 0.0;
    QTest::newRow("half") << 0 << 10 << 5 << "50 %" << 0.5;
    QTest::newRow("full") << 0 << 10 << 10 << "100 %" << 1.0;
    QTest::newRow("past the end") << 0 << 10 << 11 << "110 %" << 1.0;
    QTest::newRow("half down to even") << 0 << 8 << 1 << "12 %" << 0.125;
    QTest::newRow("half up to even") << 0 << 8 << 3 << "38 %" << 0.375;
    QTest::newRow("half of one percent") << 0 << 200 << 1 << "0 %" << 0.005;
    QTest::newRow("one and a half") << 0 << 200 << 3 << "2 %" << 0.015;
    QTest::newRow("step count 99") << 0 << 99 << 100 << "101 %" << 1.0;
    QTest::newRow("before the start") << 0 << 10 << -3 << "-30 %" << 0.0;
    // The text divides the position itself by the range.
    QTest::newRow("raised minimum") << 5 << 15 << 10 << "100 %" << 0.5;
}

void ProgressBarTest::percentageText() {
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, position);
    QFETCH(QString, text);
    QFETCH(double, share);
    Shown s;
    s.bar.setMaximum(maximum);
    s.bar.setMinimum(minimum);
    s.bar.setPosition(position);
    QCOMPARE(s.bar.text(), text);
    const int width = s.bar.contentsRect().width();
    QCOMPARE(s.bar.fillWidth(), static_cast<int>(share * width));
}

void ProgressBarTest::halfAndPastTheEnd() {
    Shown s;
    const int width = s.bar.contentsRect().width();
    QVERIFY(width > 200);
    const QRgb empty = s.bar.palette().color(QPalette::Mid).rgb();
    s.bar.setMaximum(10);

    QImage image = s.image();
    QCOMPARE(s.pixel(image, 0), empty); // nothing filled at the minimum
    QCOMPARE(s.pixel(image, width - 1), empty);

    s.bar.setPosition(5);
    image = s.image();
    const int half = width / 2;
    QCOMPARE(s.bar.fillWidth(), half);
    QCOMPARE(s.pixel(image, 0), qRgb(0, 0, 128)); // navy at the bar's left edge
    QCOMPARE(s.pixel(image, 20), shade(20, width));
    QCOMPARE(s.pixel(image, half - 1), shade(half - 1, width)); // only the navy end shows
    QCOMPARE(s.pixel(image, half), empty);
    QCOMPARE(s.pixel(image, width - 1), empty);
    // The white text sits in the middle (nothing else there is that light).
    const QRect inside = s.bar.contentsRect();
    int white = 0;
    for (int x = inside.left(); x <= inside.right(); ++x)
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            white += image.pixelColor(x, y).lightness() > 230;
    QVERIFY(white > 5);

    s.bar.setPosition(11);
    image = s.image();
    QCOMPARE(s.bar.fillWidth(), width);
    QCOMPARE(s.bar.text(), QStringLiteral("110 %"));
    QCOMPARE(s.pixel(image, 0), qRgb(0, 0, 128));
    QCOMPARE(s.pixel(image, width - 1), qRgb(255, 255, 255)); // white at the right edge
    QCOMPARE(s.pixel(image, width - 30), shade(width - 30, width));
    // The frame is lowered: darker on the top-left edge than on the bottom-right.
    QVERIFY(image.pixelColor(0, 0).lightness() < image.pixelColor(228, 15).lightness());
}

void ProgressBarTest::ignoredRangesAndZeroRange() {
    Shown s;
    s.bar.setMaximum(10);
    s.bar.setMaximum(-1); // below the minimum: ignored
    QCOMPARE(s.bar.maximum(), 10);
    s.bar.setMinimum(11); // above the maximum: ignored
    QCOMPARE(s.bar.minimum(), 0);
    s.bar.setMinimum(10); // equal is a (zero) range
    QCOMPARE(s.bar.minimum(), 10);

    // A zero range draws without failing: empty at the minimum, full past it.
    s.bar.setPosition(10);
    QImage image = s.image();
    QCOMPARE(s.bar.fillWidth(), 0);
    QCOMPARE(s.bar.text(), QStringLiteral("0 %"));
    s.bar.setPosition(11);
    image = s.image();
    QCOMPARE(s.bar.fillWidth(), s.bar.contentsRect().width());
    QCOMPARE(s.bar.text(), QStringLiteral("100 %"));
    QCOMPARE(s.pixel(image, 0), qRgb(0, 0, 128));
    // The position is never clamped.
    s.bar.setPosition(1000);
    QCOMPARE(s.bar.position(), 1000);
}

void ProgressBarTest::repaintsOnlyWhenTheDrawingChanges() {
    Shown s;
    s.bar.setMaximum(10000);
    s.bar.setPosition(0);
    int before = s.bar.paintCount();
    s.bar.setPosition(0);
    s.bar.setMaximum(10000);
    QCOMPARE(s.bar.paintCount(), before);

    // A change that shows paints at once, without going back to the event loop.
    s.bar.setPosition(5000);
    QCOMPARE(s.bar.paintCount(), before + 1);

    // 10,000 steps over a bar of about 225 columns and 101 distinct texts.
    s.bar.setPosition(0);
    before = s.bar.paintCount();
    for (int k = 1; k <= 10000; ++k)
        s.bar.setPosition(k);
    const int painted = s.bar.paintCount() - before;
    const int width = s.bar.contentsRect().width();
    QVERIFY2(painted >= 100 && painted <= width + 101,
             qPrintable(QStringLiteral("painted %1 times").arg(painted)));
}

QTEST_MAIN(ProgressBarTest)
#include "progress_bar_test.moc"
