// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/chart/ChartPicture.h"

#include "components/chart/Chart.h"
#include "components/wmf/WmfPaintDevice.h"
#include "io/AtomicFile.h"
#include "io/JpegWriter.h"

#include <QPainter>

namespace korvadel {

QImage chartPicture(Chart& chart) {
    const QSize size = chart.clientSize();
    QImage picture(size, QImage::Format_RGB888);
    // A new picture is white; it takes the chart's background (the button face) unless that is
    // white already.
    const QColor background = chart.palette().color(QPalette::Button);
    picture.fill(background.rgb() == qRgb(255, 255, 255) ? QColor(Qt::white) : background);
    QPainter painter(&picture);
    chart.render(painter, QRect(QPoint(0, 0), size));
    return picture;
}

void saveChartJpeg(Chart& chart, const std::string& path) {
    AtomicFile file(path);
    const QImage picture = chartPicture(chart);
    const RgbPicture pixels{picture.constBits(), picture.width(), picture.height(),
                            static_cast<std::size_t>(picture.bytesPerLine())};
    JpegWriter::write(file, pixels);
}

void saveChartMetafile(Chart& chart, const std::string& path, const ScreenReference& screen) {
    WmfPaintDevice device(chart.clientSize(), screen);
    {
        QPainter painter(&device);
        chart.render(painter, QRect(QPoint(0, 0), device.size()));
    }
    AtomicFile file(path);
    device.write(file);
}

} // namespace korvadel
