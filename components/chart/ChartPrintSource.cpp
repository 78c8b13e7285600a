// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/chart/ChartPrintPreview.h"

#include "components/chart/Chart.h"

#include <QImage>
#include <QPainter>
#include <QPicture>

#include <algorithm>
#include <cmath>

namespace korvadel {

// ---- ChartPrintSource -----------------------------------------------------------------------

QSize ChartPrintSource::clientSize() const {
    return chart_.clientSize();
}

namespace {

// Above this resolution a device counts as paper rather than screen.
constexpr int kScreenLikeDpi = 150;
// Resolution of the chart's image on paper.
constexpr double kPrintImageDpi = 300;

} // namespace

void ChartPrintSource::render(QPainter& painter, const QRect& target, int detail) {
    if (target.isEmpty())
        return;
    const QPaintDevice* device = painter.device();
    if (!device || device->logicalDpiX() <= kScreenLikeDpi) {
        drawScaled(painter, target, detail);
        return;
    }
    // The chart's recorded drawing resolves fonts and pens against the target device, which
    // blows them up on a printer's resolution; on paper the chart goes as an image drawn at
    // screen resolution and scaled up to the printed rectangle.
    const double k = std::min(1.0, kPrintImageDpi / device->logicalDpiX());
    const QSize size(std::max(1, static_cast<int>(std::lround(target.width() * k))),
                     std::max(1, static_cast<int>(std::lround(target.height() * k))));
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter imagePainter(&image);
        imagePainter.setRenderHint(QPainter::Antialiasing);
        imagePainter.setRenderHint(QPainter::TextAntialiasing);
        drawScaled(imagePainter, QRect(QPoint(0, 0), size), detail);
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(target), image);
    painter.restore();
}

void ChartPrintSource::drawScaled(QPainter& painter, const QRect& target, int detail) {
    if (detail <= 0) {
        chart_.render(painter, target);
        return;
    }
    // A larger canvas keeps fonts and pens at their screen size in canvas pixels, so once the
    // canvas is scaled into the rectangle they come out finer and more ticks fit.
    const double factor = 1.0 + 0.25 * detail;
    const QSize base = chart_.clientSize();
    const int w = std::max(1, static_cast<int>(std::lround(base.width() * factor)));
    const int h = std::max(1, static_cast<int>(std::lround(base.height() * factor)));
    QPicture picture;
    {
        QCPPainter recorder(&picture);
        recorder.setMode(QCPPainter::pmVectorized);
        chart_.toPainter(&recorder, w, h);
    }
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(static_cast<double>(target.width()) / w,
                  static_cast<double>(target.height()) / h);
    painter.setClipRect(QRect(0, 0, w, h), Qt::IntersectClip);
    picture.play(&painter);
    painter.restore();
    chart_.replot(QCustomPlot::rpQueuedReplot);
}

PrintMargins ChartPrintSource::printMargins() const {
    return chart_.printMargins();
}

void ChartPrintSource::setPrintMargins(const PrintMargins& margins) {
    chart_.setPrintMargins(margins);
}

void ChartPrintSource::redraw() {
    chart_.replot();
}

} // namespace korvadel

namespace korvadel {

void previewChartPrint(DesktopSeam& seam, const PrinterAccess& printers, Chart& chart,
                       const QString& description, const QString& fixedTitle, QWidget* parent) {
    chart.setTitleLines(printTitleLines(description, fixedTitle));
    chart.replot();
    ChartPrintSource source(chart);
    ChartPrintPreview preview(seam, printers, source, parent);
    preview.showModal();
}

} // namespace korvadel
