#include "io/RatingExport.h"

#include "io/AtomicFile.h"
#include "model/Error.h"
#include "model/RatingTable.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>

namespace korvadel {
namespace {

// Longest text one number can take: sign, 15 digits, separator, up to 4 leading zeros after it,
// or "E-324"; 40 leaves room.
constexpr std::size_t kMaxNumberText = 40;
constexpr std::size_t kChunkSize = std::size_t{1} << 18;

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};

// Ratings are full of values with a few decimals (0.01, 27.2, 2.278). For those the digits come
// from one integer: the smallest k for which value * 10^k rounds to an integer n that divides
// back to exactly the value. n / 10^k is then a decimal of at most 15 digits within half a unit
// of the double, which is the general format's 15-digit rounding. Plain notation only
// (0.0001 <= value < 1E15); anything else returns nullptr and takes the general road.
char* appendShortDecimal(char* out, double value, char separator) {
    if (!(value >= 1e-4 && value < 1e15))
        return nullptr;
    for (int k = 0; k < static_cast<int>(std::size(kPowersOfTen)); ++k) {
        const double scaled = std::nearbyint(value * kPowersOfTen[k]);
        if (scaled >= 1e15)
            return nullptr;
        if (scaled / kPowersOfTen[k] != value)
            continue;
        char digits[24];
        const int count = static_cast<int>(
            std::to_chars(digits, digits + sizeof digits, static_cast<std::uint64_t>(scaled)).ptr -
            digits);
        if (k == 0) {
            std::memcpy(out, digits, static_cast<std::size_t>(count));
            return out + count;
        }
        if (count > k) {
            const int whole = count - k;
            std::memcpy(out, digits, static_cast<std::size_t>(whole));
            out += whole;
            *out++ = separator;
            std::memcpy(out, digits + whole, static_cast<std::size_t>(k));
            return out + k;
        }
        *out++ = '0';
        *out++ = separator;
        for (int i = count; i < k; ++i)
            *out++ = '0';
        std::memcpy(out, digits, static_cast<std::size_t>(count));
        return out + count;
    }
    return nullptr;
}

// The general number format written straight into a caller's buffer, so that a million-row
// export allocates nothing per number. The shortest text that reads back as the same double is
// also the 15-digit rounding whenever it has 15 digits or fewer (a double's half-unit is
// smaller than half a unit in the 15th digit), so the fast shortest conversion serves almost
// every normal value and the fixed 15-digit conversion is used only for the rest.
char* appendGeneral(char* out, double value, char separator) {
    if (std::isnan(value)) {
        std::memcpy(out, "NAN", 3);
        return out + 3;
    }
    if (std::isinf(value)) {
        if (value < 0)
            *out++ = '-';
        std::memcpy(out, "INF", 3);
        return out + 3;
    }
    if (value == 0) {
        *out = '0';
        return out + 1;
    }
    if (value < 0) {
        *out++ = '-';
        value = -value;
    }
    if (char* end = appendShortDecimal(out, value, separator))
        return end;

    // Scientific text "d.ddddde+XX": collect the significant digits and the decimal exponent.
    char scientific[48];
    auto result = std::to_chars(scientific, scientific + sizeof scientific, value,
                                std::chars_format::scientific);
    char digits[24];
    int count = 0;
    const char* p = scientific;
    for (; p < result.ptr && *p != 'e'; ++p)
        if (*p != '.')
            digits[count++] = *p;
    // Below the normal range a double's half-unit can exceed half a unit in the 15th digit.
    if (count > 15 || !std::isnormal(value)) {
        result = std::to_chars(scientific, scientific + sizeof scientific, value,
                               std::chars_format::scientific, 14);
        count = 0;
        for (p = scientific; p < result.ptr && *p != 'e'; ++p)
            if (*p != '.')
                digits[count++] = *p;
        while (count > 1 && digits[count - 1] == '0')
            --count;
    }
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+'), result.ptr, exponent);

    if (exponent >= -4 && exponent < 15) {
        if (exponent < 0) {
            *out++ = '0';
            *out++ = separator;
            for (int i = -1; i > exponent; --i)
                *out++ = '0';
            std::memcpy(out, digits, static_cast<std::size_t>(count));
            return out + count;
        }
        const int whole = exponent + 1;
        if (count <= whole) {
            std::memcpy(out, digits, static_cast<std::size_t>(count));
            out += count;
            for (int i = count; i < whole; ++i)
                *out++ = '0';
            return out;
        }
        std::memcpy(out, digits, static_cast<std::size_t>(whole));
        out += whole;
        *out++ = separator;
        std::memcpy(out, digits + whole, static_cast<std::size_t>(count - whole));
        return out + (count - whole);
    }
    *out++ = digits[0];
    if (count > 1) {
        *out++ = separator;
        std::memcpy(out, digits + 1, static_cast<std::size_t>(count - 1));
        out += count - 1;
    }
    *out++ = 'E';
    return std::to_chars(out, out + 8, exponent).ptr;
}

// Gathers the bytes of an export in a fixed buffer and hands them on in large pieces.
template <class Sink> class ChunkWriter {
public:
    explicit ChunkWriter(Sink& sink)
        : sink_(sink), buffer_(std::make_unique_for_overwrite<char[]>(kChunkSize)),
          end_(buffer_.get()) {}
    // Room for at least `bytes` more bytes; returns where to write them.
    char* reserve(std::size_t bytes) {
        if (static_cast<std::size_t>(buffer_.get() + kChunkSize - end_) < bytes)
            flush();
        return end_;
    }
    void advance(char* newEnd) { end_ = newEnd; }
    void put(const char* text, std::size_t size) {
        char* at = reserve(size);
        std::memcpy(at, text, size);
        end_ = at + size;
    }
    void flush() {
        sink_(buffer_.get(), static_cast<std::size_t>(end_ - buffer_.get()));
        end_ = buffer_.get();
    }

private:
    Sink& sink_;
    std::unique_ptr<char[]> buffer_;
    char* end_;
};

template <class Sink> void writeCsv(const RatingTable& rating, NumberFormat format, Sink& sink) {
    ChunkWriter<Sink> writer(sink);
    const char separator = format.decimalSeparator;
    for (std::size_t row = 0, rows = rating.RowCount(); row < rows; ++row) {
        char* at = writer.reserve(2 * kMaxNumberText + 3);
        at = appendGeneral(at, rating.StageAt(row), separator);
        *at++ = ',';
        at = appendGeneral(at, rating.AreaAt(row), separator);
        *at++ = '\r';
        *at++ = '\n';
        writer.advance(at);
    }
    writer.put("\r\n", 2);
    writer.flush();
}

template <class Sink> void writeHtml(const RatingTable& rating, NumberFormat format, Sink& sink) {
    static constexpr char kHead[] = "<table border=\"1\">\r\n";
    static constexpr char kTail[] = "\r\n</table>";
    ChunkWriter<Sink> writer(sink);
    writer.put(kHead, sizeof kHead - 1);
    const char separator = format.decimalSeparator;
    for (std::size_t row = 0, rows = rating.RowCount(); row < rows; ++row) {
        char* at = writer.reserve(2 * kMaxNumberText + 40);
        std::memcpy(at, "<tr><td>", 8);
        at = appendGeneral(at + 8, rating.StageAt(row), separator);
        std::memcpy(at, "</td><td>", 9);
        at = appendGeneral(at + 9, rating.AreaAt(row), separator);
        std::memcpy(at, "</td></tr>\r\n", 12);
        writer.advance(at + 12);
    }
    writer.put(kTail, sizeof kTail - 1);
    writer.flush();
}

char* put16(char* at, std::uint16_t value) {
    at[0] = static_cast<char>(value & 0xFF);
    at[1] = static_cast<char>(value >> 8);
    return at + 2;
}

char* putDouble(char* at, double value) {
    // A spreadsheet shows -0 as "-0"; the text exports write it as 0, and so does the worksheet.
    if (value == 0)
        value = 0.0;
    const auto bits = std::bit_cast<std::uint64_t>(value);
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(at, &bits, 8);
    } else {
        for (int i = 0; i < 8; ++i)
            at[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    }
    return at + 8;
}

char* putNumber(char* at, std::uint16_t row, std::uint16_t column, double value) {
    at = put16(at, 0x0003);
    at = put16(at, 15);
    at = put16(at, row);
    at = put16(at, column);
    at[0] = at[1] = at[2] = 0; // cell attributes
    return putDouble(at + 3, value);
}

template <class Sink> void writeXls(const RatingTable& rating, Sink& sink) {
    const auto rows = static_cast<std::uint16_t>(rating.RowCount());
    ChunkWriter<Sink> writer(sink);
    char* at = writer.reserve(26);
    // BOF: version 0, worksheet, build 0, year 0.
    at = put16(at, 0x0809);
    at = put16(at, 8);
    at = put16(at, 0);
    at = put16(at, 0x0010);
    at = put16(at, 0);
    at = put16(at, 0);
    // DIMENSIONS: rows 0 up to the row count, columns 0 up to 2.
    at = put16(at, 0x0200);
    at = put16(at, 10);
    at = put16(at, 0);
    at = put16(at, rows);
    at = put16(at, 0);
    at = put16(at, 2);
    at = put16(at, 0);
    writer.advance(at);
    for (std::uint16_t row = 0; row < rows; ++row) {
        at = writer.reserve(38);
        at = putNumber(at, row, 0, rating.StageAt(row));
        at = putNumber(at, row, 1, rating.AreaAt(row));
        writer.advance(at);
    }
    writer.put("\x0A\x00\x00\x00", 4);
    writer.flush();
}

struct StringSink {
    std::string& bytes;
    void operator()(const char* data, std::size_t size) { bytes.append(data, size); }
};

struct FileSink {
    AtomicFile& file;
    void operator()(const char* data, std::size_t size) { file.write(data, size); }
};

template <class Writer> std::string toBytes(std::size_t expectedSize, Writer&& writeTo) {
    std::string bytes;
    bytes.reserve(expectedSize);
    StringSink sink{bytes};
    writeTo(sink);
    return bytes;
}

template <class Writer> void toFile(const std::string& path, Writer&& writeTo) {
    AtomicFile file(path);
    FileSink sink{file};
    writeTo(sink);
    file.commit();
}

} // namespace

void checkWorksheetRows(const RatingTable& rating) {
    if (rating.RowCount() > kMaxWorksheetRows)
        throw Error("The rating has " + std::to_string(rating.RowCount()) +
                    " rows; a worksheet holds at most 65535");
}

std::string ratingCsvBytes(const RatingTable& rating, NumberFormat format) {
    return toBytes(rating.RowCount() * 16 + 2,
                   [&](StringSink& sink) { writeCsv(rating, format, sink); });
}

std::string ratingHtmlBytes(const RatingTable& rating, NumberFormat format) {
    return toBytes(rating.RowCount() * 40 + 32,
                   [&](StringSink& sink) { writeHtml(rating, format, sink); });
}

std::string ratingXlsBytes(const RatingTable& rating) {
    checkWorksheetRows(rating);
    return toBytes(30 + 38 * rating.RowCount(), [&](StringSink& sink) { writeXls(rating, sink); });
}

void exportRatingCsv(const std::string& path, const RatingTable& rating, NumberFormat format) {
    toFile(path, [&](FileSink& sink) { writeCsv(rating, format, sink); });
}

void exportRatingHtml(const std::string& path, const RatingTable& rating, NumberFormat format) {
    toFile(path, [&](FileSink& sink) { writeHtml(rating, format, sink); });
}

void exportRatingXls(const std::string& path, const RatingTable& rating) {
    // Refused before the file is created: nothing is written for a rating that does not fit.
    checkWorksheetRows(rating);
    toFile(path, [&](FileSink& sink) { writeXls(rating, sink); });
}

} // namespace korvadel
