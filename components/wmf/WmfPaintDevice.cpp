// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/wmf/WmfPaintDevice.h"

#include "components/wmf/WmfPaintEngine.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace korvadel {

ScreenReference ScreenReference::fromScreen(const QScreen* screen) {
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    ScreenReference reference;
    if (!screen)
        return reference;
    reference.dpiX = screen->logicalDotsPerInchX();
    reference.dpiY = screen->logicalDotsPerInchY();
    // The headless platforms make up a physical size (the offscreen one at 100 dots per inch);
    // without a real screen the picture's box is taken at 96 per inch, which is its pixel size.
    // Text keeps the resolution the chart was laid out with.
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
        return reference;
    const QSizeF physical = screen->physicalSize();
    const QSize pixels = screen->geometry().size();
    reference.widthMm = static_cast<int>(std::lround(physical.width()));
    reference.heightMm = static_cast<int>(std::lround(physical.height()));
    reference.widthPixels = pixels.width();
    reference.heightPixels = pixels.height();
    return reference;
}

WmfPaintDevice::WmfPaintDevice(QSize size, const ScreenReference& screen)
    : size_(size.expandedTo(QSize(1, 1))), screen_(screen),
      engine_(std::make_unique<WmfPaintEngine>()) {}

WmfPaintDevice::~WmfPaintDevice() = default;

QPaintEngine* WmfPaintDevice::paintEngine() const {
    return engine_.get();
}

WmfWriter::Box WmfPaintDevice::box() const {
    return WmfWriter::placeableBox(size_.width(), size_.height(), screen_.widthMm, screen_.heightMm,
                                   screen_.widthPixels, screen_.heightPixels);
}

std::string WmfPaintDevice::metafile() const {
    return engine_->writer().finish(box());
}

void WmfPaintDevice::write(AtomicFile& file) const {
    engine_->writer().write(file, box());
}

int WmfPaintDevice::metric(PaintDeviceMetric metric) const {
    auto millimetres = [](int pixels, int screenMm, int screenPixels, double dpi) {
        if (screenMm > 0 && screenPixels > 0)
            return static_cast<int>(std::lround(double(pixels) * screenMm / screenPixels));
        return static_cast<int>(std::lround(pixels * 25.4 / dpi));
    };
    switch (metric) {
    case PdmWidth:
        return size_.width();
    case PdmHeight:
        return size_.height();
    case PdmWidthMM:
        return millimetres(size_.width(), screen_.widthMm, screen_.widthPixels, screen_.dpiX);
    case PdmHeightMM:
        return millimetres(size_.height(), screen_.heightMm, screen_.heightPixels, screen_.dpiY);
    case PdmNumColors:
        return 1 << 24;
    case PdmDepth:
        return 24;
    case PdmDpiX:
    case PdmPhysicalDpiX:
        return static_cast<int>(std::lround(screen_.dpiX));
    case PdmDpiY:
    case PdmPhysicalDpiY:
        return static_cast<int>(std::lround(screen_.dpiY));
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
    default:
        return QPaintDevice::metric(metric);
    }
}

} // namespace korvadel
