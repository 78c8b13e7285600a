// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/RatingExport.h"

#include "io/AtomicFile.h"
#include "model/Error.h"
#include "model/Numbers.h"
#include "model/RatingTable.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

namespace korvadel {
namespace {

constexpr std::size_t kChunkSize = std::size_t{1} << 18;

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

// One line a row: the stage, `separator`, the area, `lineEnd` (one or two characters).
template <class Sink>
void writeRows(ChunkWriter<Sink>& writer, const RatingTable& rating, NumberFormat format,
               char separator, std::string_view lineEnd) {
    for (std::size_t row = 0, rows = rating.rowCount(); row < rows; ++row) {
        char* at = writer.reserve(2 * kMaxGeneralLength + 3);
        at = appendGeneral(at, rating.stageAt(row), format);
        *at++ = separator;
        at = appendGeneral(at, rating.areaAt(row), format);
        for (const char c : lineEnd)
            *at++ = c;
        writer.advance(at);
    }
}

template <class Sink> void writeCsv(const RatingTable& rating, NumberFormat format, Sink& sink) {
    ChunkWriter<Sink> writer(sink);
    writeRows(writer, rating, format, ',', "\r\n");
    writer.put("\r\n", 2);
    writer.flush();
}

template <class Sink> void writeHtml(const RatingTable& rating, NumberFormat format, Sink& sink) {
    static constexpr char kHead[] = "<table border=\"1\">\r\n";
    static constexpr char kTail[] = "\r\n</table>";
    ChunkWriter<Sink> writer(sink);
    writer.put(kHead, sizeof kHead - 1);
    for (std::size_t row = 0, rows = rating.rowCount(); row < rows; ++row) {
        char* at = writer.reserve(2 * kMaxGeneralLength + 40);
        std::memcpy(at, "<tr><td>", 8);
        at = appendGeneral(at + 8, rating.stageAt(row), format);
        std::memcpy(at, "</td><td>", 9);
        at = appendGeneral(at + 9, rating.areaAt(row), format);
        std::memcpy(at, "</td></tr>\r\n", 12);
        writer.advance(at + 12);
    }
    writer.put(kTail, sizeof kTail - 1);
    writer.flush();
}

// A header value between double quotes: a quote inside it becomes an apostrophe and a control
// character a blank, so the line stays one line a reader can take apart.
std::string headerValue(std::string_view text) {
    std::string value(text);
    for (char& c : value) {
        if (c == '"')
            c = '\'';
        else if (static_cast<unsigned char>(c) < 32 || c == 127)
            c = ' ';
    }
    return value;
}

template <class Sink>
void writeRdb(const RatingTable& rating, const RdbHeader& header, Sink& sink) {
    const NumberFormat point{'.'};
    const std::string head = "# //FILE TYPE=\"NWIS RATING\"\n"
                             "# //STATION NAME=\"" +
                             headerValue(header.stationName) +
                             "\"\n"
                             "# //RATING TYPE=\"STAR\" NAME=\"stage-area\"\n"
                             "# //RATING_INDEP PARAMETER=\"Gage height\"\n"
                             "# //RATING_DEP PARAMETER=\"Cross-sectional area\"\n"
                             "# //GAGE DATUM=\"" +
                             formatGeneral(header.datum, point) +
                             "\"\n"
                             "INDEP\tDEP\n"
                             "16N\t16N\n";
    // Straight to the sink: a long description would not fit the writer's buffer.
    sink(head.data(), head.size());
    ChunkWriter<Sink> writer(sink);
    writeRows(writer, rating, point, '\t', "\n");
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
    const auto rows = static_cast<std::uint16_t>(rating.rowCount());
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
        at = putNumber(at, row, 0, rating.stageAt(row));
        at = putNumber(at, row, 1, rating.areaAt(row));
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
    if (rating.rowCount() > kMaxWorksheetRows)
        throw Error("The rating has " + std::to_string(rating.rowCount()) +
                    " rows; a worksheet holds at most 65535");
}

std::string ratingCsvBytes(const RatingTable& rating, NumberFormat format) {
    return toBytes(rating.rowCount() * 16 + 2,
                   [&](StringSink& sink) { writeCsv(rating, format, sink); });
}

std::string ratingHtmlBytes(const RatingTable& rating, NumberFormat format) {
    return toBytes(rating.rowCount() * 40 + 32,
                   [&](StringSink& sink) { writeHtml(rating, format, sink); });
}

std::string ratingXlsBytes(const RatingTable& rating) {
    checkWorksheetRows(rating);
    return toBytes(30 + 38 * rating.rowCount(), [&](StringSink& sink) { writeXls(rating, sink); });
}

std::string ratingRdbBytes(const RatingTable& rating, const RdbHeader& header) {
    return toBytes(rating.rowCount() * 16 + 256,
                   [&](StringSink& sink) { writeRdb(rating, header, sink); });
}

void exportRatingRdb(const std::string& path, const RatingTable& rating, const RdbHeader& header) {
    toFile(path, [&](FileSink& sink) { writeRdb(rating, header, sink); });
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
