// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/wmf/WmfPaintEngine.h"

#include "components/desktop/TextCodec.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTextItem>

#include <algorithm>
#include <cmath>

namespace korvadel {
namespace {

// Beyond this many live objects the unused ones are deleted; charts use a few dozen.
constexpr std::size_t kObjectCacheLimit = 256;

std::uint32_t colorRef(const QColor& color) {
    const QColor rgbColor = color.toRgb();
    return WmfWriter::rgb(rgbColor.red(), rgbColor.green(), rgbColor.blue());
}

QColor brushColor(const QBrush& brush) {
    if (const QGradient* gradient = brush.gradient(); gradient && !gradient->stops().isEmpty())
        return gradient->stops().first().second;
    if (brush.style() == Qt::TexturePattern)
        return Qt::gray;
    return brush.color();
}

int roundToInt(double value) {
    return static_cast<int>(std::lround(std::clamp(value, -1.0e9, 1.0e9)));
}

WmfWriter::Point devicePoint(const QPointF& point) {
    return {static_cast<std::int16_t>(std::clamp(roundToInt(point.x()), -32768, 32767)),
            static_cast<std::int16_t>(std::clamp(roundToInt(point.y()), -32768, 32767))};
}

double transformScale(const QTransform& transform) {
    return std::sqrt(std::abs(transform.determinant()));
}

} // namespace

WmfPaintEngine::WmfPaintEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

bool WmfPaintEngine::begin(QPaintDevice* device) {
    writer_ = WmfWriter();
    dc_ = DcState();
    saved_.clear();
    pens_.clear();
    brushes_.clear();
    fonts_.clear();
    clipSaved_ = false;
    clipDirty_ = false;
    transform_ = QTransform();

    const int width = std::max(1, device->width());
    const int height = std::max(1, device->height());
    writer_.setMapMode(WmfWriter::kMapModeAnisotropic);
    writer_.setWindowOrg(0, 0);
    writer_.setWindowExt(width, height);
    // Qt draws hatches and text without filling their background; so do we.
    writer_.setBkMode(WmfWriter::Transparent);
    dc_.bkMode = WmfWriter::Transparent;
    writer_.setTextAlign(WmfWriter::TaBaseline | WmfWriter::TaLeft);
    setActive(true);
    return true;
}

bool WmfPaintEngine::end() {
    while (!saved_.empty()) {
        writer_.restoreDC(-1);
        dc_ = saved_.back();
        saved_.pop_back();
    }
    clipSaved_ = false;
    evictObjects(true);
    setActive(false);
    return true;
}

void WmfPaintEngine::updateState(const QPaintEngineState& state) {
    const DirtyFlags flags = state.state();
    if (flags & DirtyPen)
        pen_ = state.pen();
    if (flags & DirtyBrush)
        brush_ = state.brush();
    if (flags & DirtyFont)
        font_ = state.font();
    if (flags & DirtyBackground)
        background_ = state.backgroundBrush().color();
    if (flags & DirtyBackgroundMode)
        backgroundMode_ = state.backgroundMode();
    if (flags & DirtyTransform)
        transform_ = state.transform();
    if (flags & (DirtyClipEnabled | DirtyClipRegion | DirtyClipPath))
        clipDirty_ = true;
}

// Clipping is kept as one saved device context: a new clip restores the unclipped context
// and intersects again, which is all that rectangles need and all that every reader follows.
void WmfPaintEngine::applyClip() {
    if (!clipDirty_)
        return;
    clipDirty_ = false;
    if (clipSaved_) {
        writer_.restoreDC(-1);
        dc_ = saved_.back();
        saved_.pop_back();
        clipSaved_ = false;
    }
    QPainter* p = painter();
    if (!p || !p->hasClipping())
        return;
    const QRectF logical = p->clipBoundingRect();
    const QRectF device = p->combinedTransform().mapRect(logical);
    saved_.push_back(dc_);
    writer_.saveDC();
    clipSaved_ = true;
    writer_.intersectClipRect(roundToInt(device.left()), roundToInt(device.top()),
                              roundToInt(device.right()), roundToInt(device.bottom()));
}

bool WmfPaintEngine::hasPen() const {
    return pen_.style() != Qt::NoPen && pen_.brush().style() != Qt::NoBrush &&
           brushColor(pen_.brush()).alpha() != 0;
}

bool WmfPaintEngine::hasBrush() const {
    return brush_.style() != Qt::NoBrush && brushColor(brush_).alpha() != 0;
}

void WmfPaintEngine::selectDrawing(Use use) {
    applyClip();
    const std::uint16_t bkMode =
        backgroundMode_ == Qt::OpaqueMode ? WmfWriter::Opaque : WmfWriter::Transparent;
    if (dc_.bkMode != bkMode) {
        writer_.setBkMode(bkMode);
        dc_.bkMode = bkMode;
    }
    if (bkMode == WmfWriter::Opaque && dc_.bkColor != colorRef(background_)) {
        writer_.setBkColor(colorRef(background_));
        dc_.bkColor = colorRef(background_);
    }
    selectPen(use != Use::Fill && hasPen());
    selectBrush(use != Use::Stroke && hasBrush());
}

void WmfPaintEngine::selectPen(bool visible) {
    std::uint16_t style = WmfWriter::PenNull;
    int width = 0;
    std::uint32_t color = 0;
    if (visible) {
        switch (pen_.style()) {
        case Qt::DashLine:
        case Qt::CustomDashLine:
            style = WmfWriter::PenDash;
            break;
        case Qt::DotLine:
            style = WmfWriter::PenDot;
            break;
        case Qt::DashDotLine:
            style = WmfWriter::PenDashDot;
            break;
        case Qt::DashDotDotLine:
            style = WmfWriter::PenDashDotDot;
            break;
        default:
            style = WmfWriter::PenSolid;
            break;
        }
        switch (pen_.capStyle()) {
        case Qt::SquareCap:
            style |= WmfWriter::PenEndcapSquare;
            break;
        case Qt::FlatCap:
            style |= WmfWriter::PenEndcapFlat;
            break;
        default:
            break;
        }
        switch (pen_.joinStyle()) {
        case Qt::MiterJoin:
        case Qt::SvgMiterJoin:
            style |= WmfWriter::PenJoinMiter;
            break;
        case Qt::BevelJoin:
            style |= WmfWriter::PenJoinBevel;
            break;
        default:
            break;
        }
        const double widthF = pen_.widthF();
        if (pen_.isCosmetic())
            width = widthF <= 1.0 ? 0 : roundToInt(widthF);
        else
            width = std::max(1, roundToInt(widthF * transformScale(transform_)));
        color = colorRef(brushColor(pen_.brush()));
    }
    const PenKey key{style, width, color};
    auto found = pens_.find(key);
    if (found == pens_.end()) {
        evictObjects();
        found = pens_.emplace(key, writer_.createPen(style, width, color)).first;
    }
    if (dc_.pen != found->second) {
        writer_.selectObject(found->second);
        dc_.pen = found->second;
    }
}

void WmfPaintEngine::selectBrush(bool visible) {
    std::uint16_t style = WmfWriter::BrushNull;
    std::uint32_t color = 0;
    std::uint16_t hatch = 0;
    if (visible) {
        color = colorRef(brushColor(brush_));
        style = WmfWriter::BrushHatched;
        switch (brush_.style()) {
        case Qt::HorPattern:
            hatch = WmfWriter::HatchHorizontal;
            break;
        case Qt::VerPattern:
            hatch = WmfWriter::HatchVertical;
            break;
        case Qt::CrossPattern:
            hatch = WmfWriter::HatchCross;
            break;
        case Qt::BDiagPattern:
            hatch = WmfWriter::HatchBDiagonal;
            break;
        case Qt::FDiagPattern:
            hatch = WmfWriter::HatchFDiagonal;
            break;
        case Qt::DiagCrossPattern:
            hatch = WmfWriter::HatchDiagCross;
            break;
        default:
            style = WmfWriter::BrushSolid;
            break;
        }
    }
    const BrushKey key{style, color, hatch};
    auto found = brushes_.find(key);
    if (found == brushes_.end()) {
        evictObjects();
        found = brushes_.emplace(key, writer_.createBrush(style, color, hatch)).first;
    }
    if (dc_.brush != found->second) {
        writer_.selectObject(found->second);
        dc_.brush = found->second;
    }
}

void WmfPaintEngine::selectFont(const QFont& font, double angle, double scale) {
    WmfWriter::Font wmfFont;
    double pixels = font.pixelSize() > 0 ? font.pixelSize() : 0.0;
    if (pixels <= 0.0) {
        const QPaintDevice* device = paintDevice();
        const double dpi = device ? device->logicalDpiY() : 96.0;
        pixels = font.pointSizeF() * dpi / 72.0;
    }
    wmfFont.height = static_cast<std::int16_t>(-std::max(1, roundToInt(pixels * scale)));
    wmfFont.escapement = static_cast<std::int16_t>(roundToInt(angle * 10.0) % 3600);
    wmfFont.orientation = wmfFont.escapement;
    // QFont weights run 1..1000 in Qt 6 on the same scale as the metafile's.
    wmfFont.weight =
        static_cast<std::int16_t>(std::clamp(static_cast<int>(font.weight()), 0, 1000));
    wmfFont.italic = font.italic();
    wmfFont.underline = font.underline();
    wmfFont.strikeOut = font.strikeOut();
    wmfFont.faceName = toFileText(font.family());
    if (wmfFont.faceName.size() > 31)
        wmfFont.faceName.resize(31);

    auto found = fonts_.find(wmfFont);
    if (found == fonts_.end()) {
        evictObjects();
        found = fonts_.emplace(wmfFont, writer_.createFont(wmfFont)).first;
    }
    if (dc_.font != found->second) {
        writer_.selectObject(found->second);
        dc_.font = found->second;
    }
}

// Objects selected now or in a saved context stay; a player would otherwise be left holding
// a deleted object after the restore.
void WmfPaintEngine::evictObjects(bool all) {
    if (!all && pens_.size() + brushes_.size() + fonts_.size() < kObjectCacheLimit)
        return;
    auto pinned = [this](int slot) {
        if (slot == dc_.pen || slot == dc_.brush || slot == dc_.font)
            return true;
        return std::any_of(saved_.begin(), saved_.end(), [slot](const DcState& state) {
            return slot == state.pen || slot == state.brush || slot == state.font;
        });
    };
    auto sweep = [&](auto& cache) {
        for (auto it = cache.begin(); it != cache.end();) {
            if (pinned(it->second)) {
                ++it;
            } else {
                writer_.deleteObject(it->second);
                it = cache.erase(it);
            }
        }
    };
    sweep(pens_);
    sweep(brushes_);
    sweep(fonts_);
}

void WmfPaintEngine::setTextColor(std::uint32_t color) {
    if (dc_.textColor != color) {
        writer_.setTextColor(color);
        dc_.textColor = color;
    }
}

void WmfPaintEngine::setFillMode(std::uint16_t mode) {
    if (dc_.fillMode != mode) {
        writer_.setPolyFillMode(mode);
        dc_.fillMode = mode;
    }
}

WmfWriter::Point WmfPaintEngine::map(const QPointF& point) const {
    return devicePoint(transform_.map(point));
}

std::vector<WmfWriter::Point> WmfPaintEngine::mapPolygon(const QPolygonF& polygon,
                                                         bool transformed) const {
    std::vector<WmfWriter::Point> points;
    points.reserve(static_cast<std::size_t>(polygon.size()));
    for (const QPointF& point : polygon) {
        const WmfWriter::Point mapped = transformed ? devicePoint(point) : map(point);
        // Consecutive points on the same logical unit add bytes and nothing else.
        if (!points.empty() && points.back().x == mapped.x && points.back().y == mapped.y)
            continue;
        points.push_back(mapped);
    }
    return points;
}

bool WmfPaintEngine::axisAligned() const {
    return transform_.type() <= QTransform::TxScale;
}

void WmfPaintEngine::drawPath(const QPainterPath& path) {
    if (path.isEmpty())
        return;
    if (hasBrush()) {
        selectDrawing(Use::Fill);
        setFillMode(path.fillRule() == Qt::WindingFill ? WmfWriter::Winding : WmfWriter::Alternate);
        for (const QPolygonF& polygon : path.toFillPolygons(transform_))
            writer_.polygon(mapPolygon(polygon, true));
    }
    if (hasPen()) {
        selectDrawing(Use::Stroke);
        for (const QPolygonF& polygon : path.toSubpathPolygons())
            writer_.polyline(mapPolygon(polygon));
    }
}

void WmfPaintEngine::drawPolygon(const QPointF* points, int pointCount, PolygonDrawMode mode) {
    if (pointCount < 2)
        return;
    const QPolygonF polygon(QList<QPointF>(points, points + pointCount));
    if (mode == PolylineMode) {
        if (!hasPen())
            return;
        selectDrawing(Use::Stroke);
        writer_.polyline(mapPolygon(polygon));
        return;
    }
    if (!hasPen() && !hasBrush())
        return;
    selectDrawing(Use::StrokeAndFill);
    setFillMode(mode == WindingMode ? WmfWriter::Winding : WmfWriter::Alternate);
    writer_.polygon(mapPolygon(polygon));
}

void WmfPaintEngine::drawLines(const QLineF* lines, int lineCount) {
    if (!hasPen() || lineCount <= 0)
        return;
    selectDrawing(Use::Stroke);
    std::vector<WmfWriter::Point> run;
    for (int i = 0; i < lineCount; ++i) {
        const WmfWriter::Point from = map(lines[i].p1());
        const WmfWriter::Point to = map(lines[i].p2());
        // Lines that continue one another are joined into one record.
        if (!run.empty() && run.back().x == from.x && run.back().y == from.y) {
            run.push_back(to);
            continue;
        }
        if (run.size() >= 2)
            writer_.polyline(run);
        run = {from, to};
    }
    if (run.size() >= 2)
        writer_.polyline(run);
}

void WmfPaintEngine::drawRects(const QRectF* rects, int rectCount) {
    if ((!hasPen() && !hasBrush()) || rectCount <= 0)
        return;
    for (int i = 0; i < rectCount; ++i) {
        if (!axisAligned()) {
            QPainterPath path;
            path.addRect(rects[i]);
            drawPath(path);
            continue;
        }
        selectDrawing(Use::StrokeAndFill);
        const QRectF device = transform_.mapRect(rects[i].normalized());
        writer_.rectangle(roundToInt(device.left()), roundToInt(device.top()),
                          roundToInt(device.right()), roundToInt(device.bottom()));
    }
}

void WmfPaintEngine::drawEllipse(const QRectF& rect) {
    if (!hasPen() && !hasBrush())
        return;
    if (!axisAligned()) {
        QPainterPath path;
        path.addEllipse(rect);
        drawPath(path);
        return;
    }
    selectDrawing(Use::StrokeAndFill);
    const QRectF device = transform_.mapRect(rect.normalized());
    writer_.ellipse(roundToInt(device.left()), roundToInt(device.top()), roundToInt(device.right()),
                    roundToInt(device.bottom()));
}

void WmfPaintEngine::drawPoints(const QPointF* points, int pointCount) {
    if (!hasPen())
        return;
    selectDrawing(Use::Stroke);
    for (int i = 0; i < pointCount; ++i) {
        const WmfWriter::Point at = map(points[i]);
        writer_.polyline({at, {static_cast<std::int16_t>(at.x + 1), at.y}});
    }
}

void WmfPaintEngine::drawTextItem(const QPointF& point, const QTextItem& textItem) {
    const QString text = textItem.text();
    if (text.isEmpty())
        return;
    applyClip();
    const QFont font = textItem.font();
    const QPointF direction = transform_.map(QPointF(1, 0)) - transform_.map(QPointF(0, 0));
    // Screen y runs down, the escapement counts counter-clockwise as seen.
    const double angle = -std::atan2(direction.y(), direction.x()) * 180.0 / M_PI;
    const double scale = transformScale(transform_);
    selectFont(font, angle < 0 ? angle + 360.0 : angle, scale);
    setTextColor(colorRef(brushColor(pen_.brush())));

    // No advance array: readers then lay the text out as one run in the font they substitute,
    // and keep it as one string (with advances some split it into single characters).
    const std::string bytes = toFileText(text);
    const WmfWriter::Point at = map(point);
    writer_.extTextOut(at.x, at.y, bytes);
}

void WmfPaintEngine::drawImageRecord(const QRectF& target, const QImage& image,
                                     const QRectF& source) {
    const QImage part = image.copy(source.toAlignedRect()).convertToFormat(QImage::Format_RGB888);
    if (part.isNull())
        return;
    applyClip();
    const int width = part.width();
    const int height = part.height();
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    std::vector<std::uint8_t> rows(stride * static_cast<std::size_t>(height), 0);
    for (int y = 0; y < height; ++y) {
        const uchar* line = part.constScanLine(y);
        std::uint8_t* out = rows.data() + stride * static_cast<std::size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x) {
            out[3 * x] = line[3 * x + 2];
            out[3 * x + 1] = line[3 * x + 1];
            out[3 * x + 2] = line[3 * x];
        }
    }
    const QRectF device = transform_.mapRect(target);
    writer_.stretchDib(roundToInt(device.left()), roundToInt(device.top()),
                       roundToInt(device.width()), roundToInt(device.height()), width, height,
                       rows);
}

void WmfPaintEngine::drawPixmap(const QRectF& target, const QPixmap& pixmap, const QRectF& source) {
    drawImageRecord(target, pixmap.toImage(), source);
}

void WmfPaintEngine::drawImage(const QRectF& target, const QImage& image, const QRectF& source,
                               Qt::ImageConversionFlags) {
    drawImageRecord(target, image, source);
}

} // namespace korvadel
