#include "components/ChartPrintPreview.h"

#include "components/Chart.h"

#include <QPainter>
#include <QPicture>

#include <algorithm>
#include <cmath>

namespace korvadel {

// ---- ChartPrintSource -----------------------------------------------------------------------

QSize ChartPrintSource::clientSize() const { return chart_.clientSize(); }

void ChartPrintSource::render(QPainter& painter, const QRect& target, int detail)
{
    if (detail <= 0) {
        chart_.render(painter, target);
        return;
    }
    if (target.isEmpty())
        return;
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
    painter.scale(static_cast<double>(target.width()) / w, static_cast<double>(target.height()) / h);
    painter.setClipRect(QRect(0, 0, w, h), Qt::IntersectClip);
    picture.play(&painter);
    painter.restore();
    chart_.replot(QCustomPlot::rpQueuedReplot);
}

PrintMargins ChartPrintSource::printMargins() const { return chart_.printMargins(); }

void ChartPrintSource::setPrintMargins(const PrintMargins& margins)
{
    chart_.setPrintMargins(margins);
}

void ChartPrintSource::redraw() { chart_.replot(); }

} // namespace korvadel
