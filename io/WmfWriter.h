// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvadel {

class AtomicFile;

// Builds a placeable Windows metafile record by record: the 22-byte placeable header, the
// metafile header record, the drawing records and the end record. Coordinates are logical
// units of the anisotropic window set by setWindow(); the writer keeps the object table (the
// lowest free slot is taken by each created object, as a player assigns them) and the sizes
// the metafile header must state.
class WmfWriter {
public:
    struct Point {
        std::int16_t x = 0;
        std::int16_t y = 0;
    };

    // Colour as a COLORREF: 0x00BBGGRR.
    static constexpr std::uint32_t rgb(int red, int green, int blue) {
        return static_cast<std::uint32_t>(red & 0xFF) |
               (static_cast<std::uint32_t>(green & 0xFF) << 8) |
               (static_cast<std::uint32_t>(blue & 0xFF) << 16);
    }

    enum PenStyle : std::uint16_t {
        PenSolid = 0,
        PenDash = 1,
        PenDot = 2,
        PenDashDot = 3,
        PenDashDotDot = 4,
        PenNull = 5,
        PenEndcapRound = 0x0000,
        PenEndcapSquare = 0x0100,
        PenEndcapFlat = 0x0200,
        PenJoinRound = 0x0000,
        PenJoinBevel = 0x1000,
        PenJoinMiter = 0x2000
    };
    enum BrushStyle : std::uint16_t { BrushSolid = 0, BrushNull = 1, BrushHatched = 2 };
    enum Hatch : std::uint16_t {
        HatchHorizontal = 0,
        HatchVertical = 1,
        HatchFDiagonal = 2,
        HatchBDiagonal = 3,
        HatchCross = 4,
        HatchDiagCross = 5
    };
    enum BkMode : std::uint16_t { Transparent = 1, Opaque = 2 };
    enum PolyFillMode : std::uint16_t { Alternate = 1, Winding = 2 };
    enum TextAlign : std::uint16_t {
        TaLeft = 0,
        TaRight = 2,
        TaCenter = 6,
        TaTop = 0,
        TaBottom = 8,
        TaBaseline = 24,
        TaNoUpdateCp = 0
    };
    static constexpr std::uint16_t kMapModeAnisotropic = 8;

    struct Font {
        std::int16_t height = 0; // negative: character height (em) in logical units
        std::int16_t width = 0;
        std::int16_t escapement = 0; // tenths of a degree, counter-clockwise
        std::int16_t orientation = 0;
        std::int16_t weight = 400;
        bool italic = false;
        bool underline = false;
        bool strikeOut = false;
        std::uint8_t charSet = 0; // ANSI
        std::uint8_t outPrecision = 0;
        std::uint8_t clipPrecision = 0;
        std::uint8_t quality = 0;
        std::uint8_t pitchAndFamily = 0;
        std::string faceName; // single-byte text, cut to 31 bytes

        auto operator<=>(const Font&) const = default;
    };

    WmfWriter();

    // Mapping: MM_ANISOTROPIC with the window origin and extent in logical units.
    void setMapMode(std::uint16_t mode);
    void setWindowOrg(int x, int y);
    void setWindowExt(int width, int height);
    void setViewportOrg(int x, int y);
    void setViewportExt(int width, int height);

    // Objects return their slot in the object table.
    int createPen(std::uint16_t style, int width, std::uint32_t color);
    int createBrush(std::uint16_t style, std::uint32_t color, std::uint16_t hatch = 0);
    int createFont(const Font& font);
    void selectObject(int slot);
    void deleteObject(int slot);
    int objectsInUse() const;

    void setBkMode(std::uint16_t mode);
    void setBkColor(std::uint32_t color);
    void setTextColor(std::uint32_t color);
    void setTextAlign(std::uint16_t align);
    void setPolyFillMode(std::uint16_t mode);

    void polyline(const std::vector<Point>& points);
    void polygon(const std::vector<Point>& points);
    void rectangle(int left, int top, int right, int bottom);
    void ellipse(int left, int top, int right, int bottom);
    // Text in the file's single-byte code page; advances, when given, one per byte.
    void extTextOut(int x, int y, std::string_view text,
                    const std::vector<std::int16_t>& advances = {});
    void textOut(int x, int y, std::string_view text);
    // A 24-bit bottom-up device-independent bitmap stretched onto the destination rectangle.
    void stretchDib(int x, int y, int width, int height, int sourceWidth, int sourceHeight,
                    const std::vector<std::uint8_t>& bgrBottomUpRows);

    void saveDC();
    void restoreDC(int relative = -1);
    void intersectClipRect(int left, int top, int right, int bottom);

    // The placeable header's bounding box: the picture's physical size in 1/96 inch, from its
    // size in pixels and the reference screen's size in millimetres and pixels.
    struct Box {
        std::int16_t right = 0;
        std::int16_t bottom = 0;
    };
    static Box placeableBox(int widthPixels, int heightPixels, int screenWidthMm,
                            int screenHeightMm, int screenWidthPixels, int screenHeightPixels);
    static constexpr std::uint16_t kUnitsPerInch = 96;

    // The complete file: placeable header with the box, metafile header, records, end record.
    std::string finish(Box box) const;
    // Writes finish(box) through the file and commits it.
    void write(AtomicFile& file, Box box) const;

    std::size_t recordCount() const { return recordCount_; }

private:
    void begin(std::uint16_t function, std::size_t parameterWords);
    void word(int value);
    void dword(std::uint32_t value);
    void bytes(std::string_view data); // padded to a whole word
    void end();
    int takeSlot();
    // Whole records of the common shapes.
    void wordRecord(std::uint16_t function, int value);
    void colorRecord(std::uint16_t function, std::uint32_t color);
    void pointRecord(std::uint16_t function, int x, int y);
    void rectangleRecord(std::uint16_t function, int left, int top, int right, int bottom);
    void pointsRecord(std::uint16_t function, std::span<const Point> points);

    std::vector<std::uint16_t> records_;
    std::size_t recordStart_ = 0;
    std::size_t maxRecordWords_ = 3; // the end record
    std::size_t recordCount_ = 0;
    std::vector<bool> slots_;
};

// Round(a * b / c) for positive values with halves away from zero, as the box formula divides.
long long mulDivRounded(long long a, long long b, long long c);

} // namespace korvadel
