// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AboutBox.h"

#include "components/desktop/ScreenPlacement.h"
#include "ui/Version.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <qdrawutil.h>

#include <cmath>

namespace korvadel {

namespace {

// A panel with a lowered outer and a raised inner bevel, one pixel each.
class BevelPanel : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        const QRect outer = rect();
        qDrawShadePanel(&painter, outer, palette(), true, 1);
        qDrawShadePanel(&painter, outer.adjusted(1, 1, -1, -1), palette(), false, 1);
    }
};

// The sixteen colours of the classic palette, in their usual order.
const QRgb kPalette16[16] = {
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};

enum Colour : uchar {
    Black = 0,
    Green = 2,
    Olive = 3,
    Navy = 4,
    Grey = 8,
    Yellow = 11,
    Blue = 12,
    Aqua = 14,
    White = 15
};

// Top of the ground in column x: level banks at both sides, sloping sides and a flat bed.
int groundTop(int x) {
    const double fromMiddle = std::abs(x - 15.5);
    if (fromMiddle >= 12.0)
        return 9;
    if (fromMiddle <= 4.0)
        return 27;
    return static_cast<int>(std::lround(9.0 + (12.0 - fromMiddle) / 8.0 * 18.0));
}

} // namespace

QImage AboutBox::programIcon() {
    // A river cross-section: sky, the banks with grass, the channel filled with water up to a
    // level below the banks, the bed outlined, the ground below.
    QImage image(32, 32, QImage::Format_Indexed8);
    image.setColorTable(QList<QRgb>(std::begin(kPalette16), std::end(kPalette16)));
    constexpr int waterLevel = 15;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const int top = groundTop(x);
            uchar colour = White;
            if (y == top || (y > top && (y == groundTop(x - 1) || y == groundTop(x + 1))))
                colour = (top == 9 && (x < 4 || x > 27)) ? Green : Black;
            else if (y > top)
                colour = ((x + y) % 5 == 0) ? Grey : Olive;
            else if (y == waterLevel)
                colour = Navy;
            else if (y > waterLevel)
                colour = ((x * 3 + y) % 11 == 0) ? Aqua : Blue;
            else if ((x - 25) * (x - 25) + (y - 4) * (y - 4) <= 6)
                colour = Yellow;
            image.setPixel(x, y, colour);
        }
    }
    return image;
}

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint),
      panel(new BevelPanel(this)), icon(new QLabel(panel)),
      productName(new QLabel(QStringLiteral("Korvadel"), panel)),
      version(new QLabel(QStringLiteral("Version: %1").arg(QLatin1String(kVersion)), panel)),
      comments(new QLabel(panel)), okButton(new QPushButton(QStringLiteral("OK"), this)) {
    setObjectName(QStringLiteral("AboutBox1"));
    useDesignFont(*this);
    panel->setObjectName(QStringLiteral("Panel1"));
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    productName->setObjectName(QStringLiteral("ProductName"));
    version->setObjectName(QStringLiteral("Version"));
    comments->setObjectName(QStringLiteral("Comments"));
    okButton->setObjectName(QStringLiteral("OKButton"));
    setWindowTitle(QStringLiteral("About Korvadel"));
    setFixedSize(298, 213);
    setModal(true);

    panel->setGeometry(8, 8, 281, 169);
    icon->setGeometry(28, 20, 32, 32);
    icon->setPixmap(QPixmap::fromImage(programIcon()));
    productName->move(88, 16);
    productName->adjustSize();
    version->move(88, 34);
    version->adjustSize();
    comments->setText(QStringLiteral("Stage-area ratings from surveyed\n"
                                     "river cross-sections.\n"
                                     "Copyright \u00a9 %1.\n"
                                     "Free software under the GNU GPL,\n"
                                     "version 3 or later; NO WARRANTY.\n"
                                     "Charts drawn with QCustomPlot,\n"
                                     "windows with Qt.")
                          .arg(QLatin1String(kCopyright)));
    comments->setGeometry(28, 60, 240, 93);
    comments->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    okButton->setGeometry(111, 184, 75, 25);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
}

void AboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnScreen(*this);
    okButton->setFocus();
}

void AboutBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace korvadel
