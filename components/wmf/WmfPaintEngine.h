// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/WmfWriter.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPaintEngine>
#include <QPen>
#include <QRect>
#include <QTransform>

#include <map>
#include <tuple>
#include <vector>

namespace korvadel {

// Turns QPainter calls into Windows metafile records: paths, polygons, lines, rectangles and
// ellipses become vector records drawn with pens, brushes (hatches included) and fonts made
// from the painter's state; text becomes text records; clipping to rectangles uses the
// device context's save and restore. The logical coordinates are device pixels.
//
// The engine claims every feature so that QPainter never falls back to rasterising; what a
// metafile cannot express (transparency, gradients, textures) is drawn in the nearest solid form.
class WmfPaintEngine : public QPaintEngine {
public:
    WmfPaintEngine();

    bool begin(QPaintDevice* device) override;
    bool end() override;
    void updateState(const QPaintEngineState& state) override;

    void drawPath(const QPainterPath& path) override;
    void drawPolygon(const QPointF* points, int pointCount, PolygonDrawMode mode) override;
    void drawLines(const QLineF* lines, int lineCount) override;
    void drawRects(const QRectF* rects, int rectCount) override;
    void drawEllipse(const QRectF& rect) override;
    void drawPoints(const QPointF* points, int pointCount) override;
    void drawTextItem(const QPointF& point, const QTextItem& textItem) override;
    void drawPixmap(const QRectF& target, const QPixmap& pixmap, const QRectF& source) override;
    void drawImage(const QRectF& target, const QImage& image, const QRectF& source,
                   Qt::ImageConversionFlags flags) override;

    Type type() const override { return QPaintEngine::User; }

    const WmfWriter& writer() const { return writer_; }

private:
    struct DcState {
        int pen = -1; // slots selected; -1: the device context's default
        int brush = -1;
        int font = -1;
        std::uint32_t textColor = 0;
        std::uint16_t bkMode = WmfWriter::Opaque;
        std::uint32_t bkColor = 0xFFFFFF;
        std::uint16_t fillMode = WmfWriter::Alternate;
    };

    enum class Use { Stroke, Fill, StrokeAndFill };
    bool hasPen() const;
    bool hasBrush() const;
    void selectDrawing(Use use);
    void selectPen(bool visible);
    void selectBrush(bool visible);
    void selectFont(const QFont& font, double angle, double scale);
    void setTextColor(std::uint32_t color);
    void setFillMode(std::uint16_t mode);
    void applyClip();
    void evictObjects(bool all = false);
    WmfWriter::Point map(const QPointF& point) const;
    std::vector<WmfWriter::Point> mapPolygon(const QPolygonF& polygon,
                                             bool transformed = false) const;
    bool axisAligned() const;
    void drawImageRecord(const QRectF& target, const QImage& image, const QRectF& source);

    WmfWriter writer_;
    QPen pen_;
    QBrush brush_;
    QFont font_;
    QTransform transform_;
    QColor background_ = Qt::white;
    Qt::BGMode backgroundMode_ = Qt::TransparentMode;
    bool clipDirty_ = false;
    bool clipSaved_ = false;

    DcState dc_;
    std::vector<DcState> saved_;
    using PenKey = std::tuple<std::uint16_t, int, std::uint32_t>;
    using BrushKey = std::tuple<std::uint16_t, std::uint32_t, std::uint16_t>;
    std::map<PenKey, int> pens_;
    std::map<BrushKey, int> brushes_;
    std::map<WmfWriter::Font, int> fonts_;
};

} // namespace korvadel
