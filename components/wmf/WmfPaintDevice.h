// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/WmfWriter.h"

#include <QPaintDevice>
#include <QSize>

#include <memory>
#include <string>

class QScreen;

namespace korvadel {

class AtomicFile;
class WmfPaintEngine;

// The screen a metafile is recorded for: its physical size gives the placeable header's box,
// its resolution the size of text drawn onto the picture.
struct ScreenReference {
    int widthMm = 0;
    int heightMm = 0;
    int widthPixels = 0;
    int heightPixels = 0;
    double dpiX = 96.0;
    double dpiY = 96.0;

    // The primary screen when null. Without a real screen (a headless platform) no physical
    // size, so the box is the picture's size at 96 per inch.
    static ScreenReference fromScreen(const QScreen* screen);
};

// A picture surface that records everything painted on it as Windows metafile records.
// Paint on it with a QPainter, end the painter, then take metafile() or write() the file.
class WmfPaintDevice : public QPaintDevice {
public:
    WmfPaintDevice(QSize size, const ScreenReference& screen);
    ~WmfPaintDevice() override;

    QPaintEngine* paintEngine() const override;
    QSize size() const { return size_; }
    const ScreenReference& screen() const { return screen_; }

    WmfWriter::Box box() const;
    // The complete placeable metafile of what was painted.
    std::string metafile() const;
    void write(AtomicFile& file) const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QSize size_;
    ScreenReference screen_;
    std::unique_ptr<WmfPaintEngine> engine_;
};

} // namespace korvadel
