// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/TableExport.h"

#include "io/AtomicFile.h"
#include "model/Error.h"
#include "model/Numbers.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace korvadel {
namespace {

constexpr TableFormatInfo kFormats[] = {
    {TableFormat::Csv, "csv", "csv",
     "CSV (Comma delimited) (*.csv)|*.CSV|Text (Comma delimited) (*.txt)|*.TXT", false},
    {TableFormat::Html, "html", "html", "web files (*.html)|*.HTML", false},
    {TableFormat::Xls, "xls", "xls", "Excel files (*.xls)|*.XLS", true},
};

constexpr std::size_t kChunkSize = std::size_t{1} << 18;

// Gathers the bytes of an export in a fixed buffer and hands them on in large pieces.
class ChunkWriter {
public:
    using Sink = void (*)(void* context, const char* data, std::size_t size);
    ChunkWriter(Sink sink, void* context)
        : sink_(sink), context_(context),
          buffer_(std::make_unique_for_overwrite<char[]>(kChunkSize)), end_(buffer_.get()) {}
    // Room for `bytes` more bytes (at most kChunkSize); returns where to write them.
    char* reserve(std::size_t bytes) {
        if (static_cast<std::size_t>(buffer_.get() + kChunkSize - end_) < bytes)
            flush();
        return end_;
    }
    void advance(char* newEnd) { end_ = newEnd; }
    void put(std::string_view text) {
        while (!text.empty()) {
            const std::size_t piece = std::min(text.size(), kChunkSize);
            char* at = reserve(piece);
            std::memcpy(at, text.data(), piece);
            end_ = at + piece;
            text.remove_prefix(piece);
        }
    }
    void put(char c) {
        *reserve(1) = c;
        ++end_;
    }
    void number(double value, NumberFormat format) {
        advance(appendGeneral(reserve(kMaxGeneralLength), value, format));
    }
    void flush() {
        sink_(context_, buffer_.get(), static_cast<std::size_t>(end_ - buffer_.get()));
        end_ = buffer_.get();
    }

private:
    Sink sink_;
    void* context_;
    std::unique_ptr<char[]> buffer_;
    char* end_;
};

// Reads the table row by row into one reused list of cells.
class RowReader {
public:
    explicit RowReader(const TableSource& table) : table_(table), cells_(table.columnCount()) {}
    std::span<const TableCell> row(std::size_t index) {
        std::fill(cells_.begin(), cells_.end(), TableCell{});
        table_.cells(index, cells_);
        return cells_;
    }

private:
    const TableSource& table_;
    std::vector<TableCell> cells_;
};

void putCsvText(ChunkWriter& writer, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        writer.put(text);
        return;
    }
    writer.put('"');
    for (std::size_t quote; (quote = text.find('"')) != std::string_view::npos;) {
        writer.put(text.substr(0, quote + 1));
        writer.put('"');
        text.remove_prefix(quote + 1);
    }
    writer.put(text);
    writer.put('"');
}

void putHtmlText(ChunkWriter& writer, std::string_view text) {
    for (std::size_t special; (special = text.find_first_of("&<>\"")) != std::string_view::npos;) {
        writer.put(text.substr(0, special));
        switch (text[special]) {
        case '&':
            writer.put("&amp;");
            break;
        case '<':
            writer.put("&lt;");
            break;
        case '>':
            writer.put("&gt;");
            break;
        default:
            writer.put("&quot;");
            break;
        }
        text.remove_prefix(special + 1);
    }
    writer.put(text);
}

void writeCsv(const TableSource& table, NumberFormat format, ChunkWriter& writer) {
    const auto heading = table.heading();
    for (std::size_t column = 0; column < heading.size(); ++column) {
        if (column > 0)
            writer.put(',');
        putCsvText(writer, heading[column]);
    }
    if (!heading.empty())
        writer.put("\r\n");
    RowReader reader(table);
    for (std::size_t row = 0, rows = table.rowCount(); row < rows; ++row) {
        const auto cells = reader.row(row);
        for (std::size_t column = 0; column < cells.size(); ++column) {
            if (column > 0)
                writer.put(',');
            const TableCell& cell = cells[column];
            if (cell.kind == TableCell::Kind::Number)
                writer.number(cell.number, format);
            else if (cell.kind == TableCell::Kind::Text)
                putCsvText(writer, cell.text);
        }
        writer.put("\r\n");
    }
    writer.put("\r\n");
    writer.flush();
}

void writeHtml(const TableSource& table, NumberFormat format, ChunkWriter& writer) {
    writer.put("<table border=\"1\">\r\n");
    const auto heading = table.heading();
    if (!heading.empty()) {
        writer.put("<tr>");
        for (std::string_view title : heading) {
            writer.put("<th>");
            putHtmlText(writer, title);
            writer.put("</th>");
        }
        writer.put("</tr>\r\n");
    }
    RowReader reader(table);
    for (std::size_t row = 0, rows = table.rowCount(); row < rows; ++row) {
        writer.put("<tr>");
        for (const TableCell& cell : reader.row(row)) {
            writer.put("<td>");
            if (cell.kind == TableCell::Kind::Number)
                writer.number(cell.number, format);
            else if (cell.kind == TableCell::Kind::Text)
                putHtmlText(writer, cell.text);
            writer.put("</td>");
        }
        writer.put("</tr>\r\n");
    }
    writer.put("\r\n</table>");
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

// A record's id, length, row and column, and the three cell attribute bytes (all 0).
char* putCellHeader(char* at, std::uint16_t id, std::uint16_t length, std::uint16_t row,
                    std::uint16_t column) {
    at = put16(at, id);
    at = put16(at, length);
    at = put16(at, row);
    at = put16(at, column);
    at[0] = at[1] = at[2] = 0;
    return at + 3;
}

void putXlsCell(ChunkWriter& writer, std::uint16_t row, std::uint16_t column,
                const TableCell& cell) {
    if (cell.kind == TableCell::Kind::Number) {
        char* at = writer.reserve(19);
        at = putCellHeader(at, 0x0003, 15, row, column);
        writer.advance(putDouble(at, cell.number));
    } else if (cell.kind == TableCell::Kind::Text) {
        const auto length = static_cast<std::uint8_t>(std::min<std::size_t>(cell.text.size(), 255));
        char* at = writer.reserve(12u + length);
        at = putCellHeader(at, 0x0004, static_cast<std::uint16_t>(8 + length), row, column);
        *at++ = static_cast<char>(length);
        std::memcpy(at, cell.text.data(), length);
        writer.advance(at + length);
    }
}

std::size_t worksheetRows(const TableSource& table) {
    return table.rowCount() + (table.heading().empty() ? 0 : 1);
}

void checkWorksheet(const TableSource& table) {
    const std::size_t rows = worksheetRows(table);
    if (rows > kMaxWorksheetRows)
        throw Error("The table has " + std::to_string(rows) +
                    " rows; a worksheet holds at most 65535");
    if (table.columnCount() > kMaxWorksheetColumns)
        throw Error("The table has " + std::to_string(table.columnCount()) +
                    " columns; a worksheet holds at most 256");
}

void writeXls(const TableSource& table, ChunkWriter& writer) {
    const auto rows = static_cast<std::uint16_t>(worksheetRows(table));
    const auto columns = static_cast<std::uint16_t>(table.columnCount());
    char* at = writer.reserve(26);
    // BOF: version 0, worksheet, build 0, year 0.
    at = put16(at, 0x0809);
    at = put16(at, 8);
    at = put16(at, 0);
    at = put16(at, 0x0010);
    at = put16(at, 0);
    at = put16(at, 0);
    // DIMENSIONS: rows 0 up to the row count, columns 0 up to the column count.
    at = put16(at, 0x0200);
    at = put16(at, 10);
    at = put16(at, 0);
    at = put16(at, rows);
    at = put16(at, 0);
    at = put16(at, columns);
    at = put16(at, 0);
    writer.advance(at);
    const auto heading = table.heading();
    for (std::size_t column = 0; column < heading.size(); ++column)
        putXlsCell(writer, 0, static_cast<std::uint16_t>(column), TableCell::of(heading[column]));
    const auto first = static_cast<std::uint16_t>(heading.empty() ? 0 : 1);
    RowReader reader(table);
    for (std::uint16_t row = first; row < rows; ++row) {
        const auto cells = reader.row(row - first);
        for (std::size_t column = 0; column < cells.size(); ++column)
            putXlsCell(writer, row, static_cast<std::uint16_t>(column), cells[column]);
    }
    writer.put(std::string_view("\x0A\x00\x00\x00", 4));
    writer.flush();
}

void write(TableFormat format, const TableSource& table, NumberFormat numbers,
           ChunkWriter& writer) {
    switch (format) {
    case TableFormat::Csv:
        writeCsv(table, numbers, writer);
        break;
    case TableFormat::Html:
        writeHtml(table, numbers, writer);
        break;
    case TableFormat::Xls:
        writeXls(table, writer);
        break;
    }
}

} // namespace

std::span<const TableFormatInfo> tableFormats() {
    return kFormats;
}

const TableFormatInfo& tableFormatInfo(TableFormat format) {
    for (const TableFormatInfo& info : kFormats)
        if (info.format == format)
            return info;
    return kFormats[0];
}

const TableFormatInfo* tableFormatNamed(std::string_view name) {
    for (const TableFormatInfo& info : kFormats)
        if (info.name == name)
            return &info;
    return nullptr;
}

std::string tableBytes(TableFormat format, const TableSource& table, NumberFormat numbers) {
    if (format == TableFormat::Xls)
        checkWorksheet(table);
    std::string bytes;
    bytes.reserve(32 + table.rowCount() * table.columnCount() * 20);
    ChunkWriter writer(
        [](void* context, const char* data, std::size_t size) {
            static_cast<std::string*>(context)->append(data, size);
        },
        &bytes);
    write(format, table, numbers, writer);
    return bytes;
}

void exportTable(const std::string& path, TableFormat format, const TableSource& table,
                 NumberFormat numbers) {
    // Refused before the file is created: nothing is written for a table that does not fit.
    if (format == TableFormat::Xls)
        checkWorksheet(table);
    AtomicFile file(path);
    ChunkWriter writer(
        [](void* context, const char* data, std::size_t size) {
            static_cast<AtomicFile*>(context)->write(data, size);
        },
        &file);
    write(format, table, numbers, writer);
    file.commit();
}

} // namespace korvadel
