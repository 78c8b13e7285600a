// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/WmfWriter.h"

#include "io/AtomicFile.h"
#include "model/Error.h"

#include <algorithm>
#include <limits>

namespace korvadel {
namespace {

enum Function : std::uint16_t {
    MetaEof = 0x0000,
    MetaSaveDC = 0x001E,
    MetaSetBkMode = 0x0102,
    MetaSetMapMode = 0x0103,
    MetaSetPolyFillMode = 0x0106,
    MetaRestoreDC = 0x0127,
    MetaSelectObject = 0x012D,
    MetaSetTextAlign = 0x012E,
    MetaDeleteObject = 0x01F0,
    MetaSetBkColor = 0x0201,
    MetaSetTextColor = 0x0209,
    MetaSetWindowOrg = 0x020B,
    MetaSetWindowExt = 0x020C,
    MetaSetViewportOrg = 0x020D,
    MetaSetViewportExt = 0x020E,
    MetaCreatePenIndirect = 0x02FA,
    MetaCreateFontIndirect = 0x02FB,
    MetaCreateBrushIndirect = 0x02FC,
    MetaIntersectClipRect = 0x0416,
    MetaEllipse = 0x0418,
    MetaRectangle = 0x041B,
    MetaPolygon = 0x0324,
    MetaPolyline = 0x0325,
    MetaTextOut = 0x0521,
    MetaExtTextOut = 0x0A32,
    MetaStretchDib = 0x0F43,
};

constexpr std::uint32_t kSrcCopy = 0x00CC0020;
constexpr std::size_t kRecordHeaderWords = 3; // size (2 words) and function
constexpr std::size_t kMaxPolyPoints = 0x7FFF;

void putWord(std::string& out, std::uint16_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>(value >> 8));
}

std::int16_t clampCoordinate(int value) {
    return static_cast<std::int16_t>(std::clamp(value, -32768, 32767));
}

} // namespace

long long mulDivRounded(long long a, long long b, long long c) {
    if (c == 0)
        return 0;
    const long long product = a * b;
    const bool negative = (product < 0) != (c < 0);
    const long long magnitude = (product < 0 ? -product : product);
    const long long divisor = c < 0 ? -c : c;
    const long long rounded = (2 * magnitude + divisor) / (2 * divisor);
    return negative ? -rounded : rounded;
}

WmfWriter::WmfWriter() {
    records_.reserve(4096);
}

void WmfWriter::begin(std::uint16_t function, std::size_t parameterWords) {
    recordStart_ = records_.size();
    records_.reserve(records_.size() + kRecordHeaderWords + parameterWords);
    records_.push_back(0); // size, filled in by end()
    records_.push_back(0);
    records_.push_back(function);
}

void WmfWriter::word(int value) {
    records_.push_back(static_cast<std::uint16_t>(value));
}

void WmfWriter::dword(std::uint32_t value) {
    records_.push_back(static_cast<std::uint16_t>(value & 0xFFFF));
    records_.push_back(static_cast<std::uint16_t>(value >> 16));
}

void WmfWriter::bytes(std::string_view data) {
    for (std::size_t i = 0; i < data.size(); i += 2) {
        const auto low = static_cast<unsigned char>(data[i]);
        const auto high = i + 1 < data.size() ? static_cast<unsigned char>(data[i + 1]) : 0u;
        records_.push_back(static_cast<std::uint16_t>(low | (high << 8)));
    }
}

void WmfWriter::end() {
    const std::size_t size = records_.size() - recordStart_;
    records_[recordStart_] = static_cast<std::uint16_t>(size & 0xFFFF);
    records_[recordStart_ + 1] = static_cast<std::uint16_t>(size >> 16);
    maxRecordWords_ = std::max(maxRecordWords_, size);
    ++recordCount_;
}

void WmfWriter::wordRecord(std::uint16_t function, int value) {
    begin(function, 1);
    word(value);
    end();
}

void WmfWriter::colorRecord(std::uint16_t function, std::uint32_t color) {
    begin(function, 2);
    dword(color);
    end();
}

// The records of a point or a size store y before x.
void WmfWriter::pointRecord(std::uint16_t function, int x, int y) {
    begin(function, 2);
    word(clampCoordinate(y));
    word(clampCoordinate(x));
    end();
}

// The records of a rectangle store its corners backwards: bottom, right, top, left.
void WmfWriter::rectangleRecord(std::uint16_t function, int left, int top, int right, int bottom) {
    begin(function, 4);
    word(clampCoordinate(bottom));
    word(clampCoordinate(right));
    word(clampCoordinate(top));
    word(clampCoordinate(left));
    end();
}

void WmfWriter::pointsRecord(std::uint16_t function, std::span<const Point> points) {
    begin(function, 1 + 2 * points.size());
    word(static_cast<int>(points.size()));
    for (const Point& point : points) {
        word(point.x);
        word(point.y);
    }
    end();
}

void WmfWriter::setMapMode(std::uint16_t mode) {
    wordRecord(MetaSetMapMode, mode);
}

void WmfWriter::setWindowOrg(int x, int y) {
    pointRecord(MetaSetWindowOrg, x, y);
}

void WmfWriter::setWindowExt(int width, int height) {
    pointRecord(MetaSetWindowExt, width, height);
}

void WmfWriter::setViewportOrg(int x, int y) {
    pointRecord(MetaSetViewportOrg, x, y);
}

void WmfWriter::setViewportExt(int width, int height) {
    pointRecord(MetaSetViewportExt, width, height);
}

int WmfWriter::takeSlot() {
    const auto free = std::find(slots_.begin(), slots_.end(), false);
    if (free != slots_.end()) {
        *free = true;
        return static_cast<int>(free - slots_.begin());
    }
    if (slots_.size() >= 0xFFFF)
        throw Error("Too many metafile objects");
    slots_.push_back(true);
    return static_cast<int>(slots_.size() - 1);
}

int WmfWriter::createPen(std::uint16_t style, int width, std::uint32_t color) {
    begin(MetaCreatePenIndirect, 5);
    word(style);
    word(clampCoordinate(std::max(width, 0))); // width is the x of a point; y is unused
    word(0);
    dword(color);
    end();
    return takeSlot();
}

int WmfWriter::createBrush(std::uint16_t style, std::uint32_t color, std::uint16_t hatch) {
    begin(MetaCreateBrushIndirect, 4);
    word(style);
    dword(color);
    word(hatch);
    end();
    return takeSlot();
}

int WmfWriter::createFont(const Font& font) {
    std::string face = font.faceName.substr(0, 31);
    face.push_back('\0');
    begin(MetaCreateFontIndirect, 9 + (face.size() + 1) / 2);
    word(font.height);
    word(font.width);
    word(font.escapement);
    word(font.orientation);
    word(font.weight);
    word((font.italic ? 1 : 0) | (font.underline ? 1 : 0) << 8);
    word((font.strikeOut ? 1 : 0) | font.charSet << 8);
    word(font.outPrecision | font.clipPrecision << 8);
    word(font.quality | font.pitchAndFamily << 8);
    bytes(face);
    end();
    return takeSlot();
}

void WmfWriter::selectObject(int slot) {
    wordRecord(MetaSelectObject, slot);
}

void WmfWriter::deleteObject(int slot) {
    wordRecord(MetaDeleteObject, slot);
    if (slot >= 0 && static_cast<std::size_t>(slot) < slots_.size())
        slots_[static_cast<std::size_t>(slot)] = false;
}

int WmfWriter::objectsInUse() const {
    return static_cast<int>(std::count(slots_.begin(), slots_.end(), true));
}

void WmfWriter::setBkMode(std::uint16_t mode) {
    wordRecord(MetaSetBkMode, mode);
}

void WmfWriter::setBkColor(std::uint32_t color) {
    colorRecord(MetaSetBkColor, color);
}

void WmfWriter::setTextColor(std::uint32_t color) {
    colorRecord(MetaSetTextColor, color);
}

void WmfWriter::setTextAlign(std::uint16_t align) {
    wordRecord(MetaSetTextAlign, align);
}

void WmfWriter::setPolyFillMode(std::uint16_t mode) {
    wordRecord(MetaSetPolyFillMode, mode);
}

// A record counts its points in a signed 16-bit field; longer lines go out in pieces that
// share their end points, so nothing is lost and nothing is drawn twice.
void WmfWriter::polyline(const std::vector<Point>& points) {
    if (points.size() < 2)
        return;
    std::size_t first = 0;
    while (first + 1 < points.size()) {
        const std::size_t count = std::min(kMaxPolyPoints, points.size() - first);
        pointsRecord(MetaPolyline, std::span(points).subspan(first, count));
        first += count - 1;
    }
}

void WmfWriter::polygon(const std::vector<Point>& points) {
    if (points.size() < 2)
        return;
    // A filled outline cannot be split without changing its inside; an outline this long is
    // thinned to every n-th point, which at 16-bit coordinates loses nothing visible.
    std::vector<Point> thinned;
    const std::vector<Point>* source = &points;
    if (points.size() > kMaxPolyPoints) {
        const std::size_t step = (points.size() + kMaxPolyPoints - 2) / (kMaxPolyPoints - 1);
        for (std::size_t i = 0; i < points.size(); i += step)
            thinned.push_back(points[i]);
        if (thinned.size() < kMaxPolyPoints)
            thinned.push_back(points.back());
        source = &thinned;
    }
    pointsRecord(MetaPolygon, *source);
}

void WmfWriter::rectangle(int left, int top, int right, int bottom) {
    rectangleRecord(MetaRectangle, left, top, right, bottom);
}

void WmfWriter::ellipse(int left, int top, int right, int bottom) {
    rectangleRecord(MetaEllipse, left, top, right, bottom);
}

void WmfWriter::extTextOut(int x, int y, std::string_view text,
                           const std::vector<std::int16_t>& advances) {
    if (text.empty())
        return;
    text = text.substr(0, 0x7FFF);
    const bool withAdvances = advances.size() == text.size();
    begin(MetaExtTextOut, 4 + (text.size() + 1) / 2 + (withAdvances ? text.size() : 0));
    word(clampCoordinate(y));
    word(clampCoordinate(x));
    word(static_cast<int>(text.size()));
    word(0); // no clipping or opaque rectangle
    bytes(text);
    if (withAdvances)
        for (std::int16_t advance : advances)
            word(advance);
    end();
}

void WmfWriter::textOut(int x, int y, std::string_view text) {
    if (text.empty())
        return;
    text = text.substr(0, 0x7FFF);
    begin(MetaTextOut, 3 + (text.size() + 1) / 2);
    word(static_cast<int>(text.size()));
    bytes(text);
    word(clampCoordinate(y));
    word(clampCoordinate(x));
    end();
}

void WmfWriter::stretchDib(int x, int y, int width, int height, int sourceWidth, int sourceHeight,
                           const std::vector<std::uint8_t>& bgrBottomUpRows) {
    if (sourceWidth <= 0 || sourceHeight <= 0)
        return;
    const std::size_t stride = (static_cast<std::size_t>(sourceWidth) * 3 + 3) & ~std::size_t{3};
    const std::size_t imageSize = stride * static_cast<std::size_t>(sourceHeight);
    if (bgrBottomUpRows.size() < imageSize)
        throw Error("Invalid bitmap size");
    const std::size_t dibBytes = 40 + imageSize;
    begin(MetaStretchDib, 2 + 9 + dibBytes / 2);
    dword(kSrcCopy);
    word(0); // DIB_RGB_COLORS
    word(sourceHeight);
    word(sourceWidth);
    word(0);
    word(0);
    word(clampCoordinate(height));
    word(clampCoordinate(width));
    word(clampCoordinate(y));
    word(clampCoordinate(x));
    // BITMAPINFOHEADER
    dword(40);
    dword(static_cast<std::uint32_t>(sourceWidth));
    dword(static_cast<std::uint32_t>(sourceHeight));
    word(1);  // planes
    word(24); // bits per pixel
    dword(0); // BI_RGB
    dword(static_cast<std::uint32_t>(imageSize));
    dword(0);
    dword(0);
    dword(0);
    dword(0);
    bytes(std::string_view(reinterpret_cast<const char*>(bgrBottomUpRows.data()), imageSize));
    end();
}

void WmfWriter::saveDC() {
    begin(MetaSaveDC, 0);
    end();
}

void WmfWriter::restoreDC(int relative) {
    wordRecord(MetaRestoreDC, relative);
}

void WmfWriter::intersectClipRect(int left, int top, int right, int bottom) {
    rectangleRecord(MetaIntersectClipRect, left, top, right, bottom);
}

WmfWriter::Box WmfWriter::placeableBox(int widthPixels, int heightPixels, int screenWidthMm,
                                       int screenHeightMm, int screenWidthPixels,
                                       int screenHeightPixels) {
    auto side = [](int pixels, int screenMm, int screenPixels) {
        if (screenPixels <= 0 || screenMm <= 0) // no physical size known: 96 per inch
            return static_cast<std::int16_t>(std::clamp(pixels, 0, 32767));
        const long long hundredthsMm = mulDivRounded(pixels, 100LL * screenMm, screenPixels);
        const long long units = mulDivRounded(hundredthsMm, kUnitsPerInch, 2540);
        return static_cast<std::int16_t>(std::clamp<long long>(units, 0, 32767));
    };
    return Box{side(widthPixels, screenWidthMm, screenWidthPixels),
               side(heightPixels, screenHeightMm, screenHeightPixels)};
}

std::string WmfWriter::finish(Box box) const {
    std::string out;
    const std::size_t headerWords = 9;
    const std::size_t totalWords = headerWords + records_.size() + 3;
    out.reserve(22 + 2 * totalWords);

    // Placeable header.
    const std::uint16_t header[10] = {0xCDD7,
                                      0x9AC6,
                                      0,
                                      0,
                                      0,
                                      static_cast<std::uint16_t>(box.right),
                                      static_cast<std::uint16_t>(box.bottom),
                                      kUnitsPerInch,
                                      0,
                                      0};
    std::uint16_t checksum = 0;
    for (std::uint16_t value : header) {
        checksum ^= value;
        putWord(out, value);
    }
    putWord(out, checksum);

    // Metafile header record.
    putWord(out, 1); // in memory
    putWord(out, static_cast<std::uint16_t>(headerWords));
    putWord(out, 0x0300);
    putWord(out, static_cast<std::uint16_t>(totalWords & 0xFFFF));
    putWord(out, static_cast<std::uint16_t>(totalWords >> 16));
    putWord(out, static_cast<std::uint16_t>(slots_.size()));
    putWord(out, static_cast<std::uint16_t>(maxRecordWords_ & 0xFFFF));
    putWord(out, static_cast<std::uint16_t>(maxRecordWords_ >> 16));
    putWord(out, 0);

    for (std::uint16_t value : records_)
        putWord(out, value);

    // End record.
    putWord(out, 3);
    putWord(out, 0);
    putWord(out, MetaEof);
    return out;
}

void WmfWriter::write(AtomicFile& file, Box box) const {
    file.write(finish(box));
    file.commit();
}

} // namespace korvadel
