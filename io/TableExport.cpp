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

// The most bytes a cell can take in a text export: a number, or a text with every character
// escaped (quotes doubled, or the longest HTML entity) and its quotes.
std::size_t cellBound(const TableCell& cell) {
    return cell.kind == TableCell::Kind::Text ? 6 * cell.text.size() + 2 : kMaxGeneralLength;
}

std::size_t rowBound(std::span<const TableCell> cells, std::size_t perCell) {
    std::size_t bound = 32;
    for (const TableCell& cell : cells)
        bound += cellBound(cell) + perCell;
    return bound;
}

char* putCsvText(char* at, std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return at + text.copy(at, text.size());
    *at++ = '"';
    for (const char c : text) {
        *at++ = c;
        if (c == '"')
            *at++ = '"';
    }
    *at++ = '"';
    return at;
}

char* putHtmlText(char* at, std::string_view text) {
    for (const char c : text) {
        switch (c) {
        case '&':
            at += std::string_view("&amp;").copy(at, 5);
            break;
        case '<':
            at += std::string_view("&lt;").copy(at, 4);
            break;
        case '>':
            at += std::string_view("&gt;").copy(at, 4);
            break;
        case '"':
            at += std::string_view("&quot;").copy(at, 6);
            break;
        default:
            *at++ = c;
        }
    }
    return at;
}

// Writes a row of at most `bound` bytes through `put`, which writes at a pointer and returns the
// end: straight into the buffer when it fits a chunk, through a string of its own otherwise (a
// text of hundreds of kilobytes).
template <class Put> void putRow(ChunkWriter& writer, std::size_t bound, Put&& put) {
    if (bound <= kChunkSize) {
        writer.advance(put(writer.reserve(bound)));
        return;
    }
    std::string row(bound, '\0');
    row.resize(static_cast<std::size_t>(put(row.data()) - row.data()));
    writer.put(row);
}

// A row of delimited text; texts are quoted as comma-delimited text needs when `quote` is set.
char* putDelimitedRow(char* at, std::span<const TableCell> cells, NumberFormat format,
                      DelimitedText layout, bool quote) {
    for (std::size_t column = 0; column < cells.size(); ++column) {
        if (column > 0)
            *at++ = layout.separator;
        const TableCell& cell = cells[column];
        if (cell.kind == TableCell::Kind::Number)
            at = appendGeneral(at, cell.number, format);
        else if (cell.kind == TableCell::Kind::Text)
            at = quote ? putCsvText(at, cell.text) : at + cell.text.copy(at, cell.text.size());
    }
    return at + layout.lineEnd.copy(at, layout.lineEnd.size());
}

char* putHtmlRow(char* at, std::span<const TableCell> cells, NumberFormat format,
                 std::string_view open, std::string_view close) {
    at += std::string_view("<tr>").copy(at, 4);
    for (const TableCell& cell : cells) {
        at += open.copy(at, open.size());
        if (cell.kind == TableCell::Kind::Number)
            at = appendGeneral(at, cell.number, format);
        else if (cell.kind == TableCell::Kind::Text)
            at = putHtmlText(at, cell.text);
        at += close.copy(at, close.size());
    }
    at += std::string_view("</tr>\r\n").copy(at, 7);
    return at;
}

// Every column as an array of numbers, or nothing when some column is not kept so.
std::vector<std::span<const double>> numberColumns(const TableSource& table) {
    std::vector<std::span<const double>> columns;
    for (std::size_t column = 0; column < table.columnCount(); ++column) {
        const auto values = table.numberColumn(column);
        if (values.size() != table.rowCount())
            return {};
        columns.push_back(values);
    }
    return columns;
}

std::vector<TableCell> headingCells(const TableSource& table) {
    std::vector<TableCell> cells;
    for (const std::string_view title : table.heading())
        cells.push_back(TableCell::of(title));
    return cells;
}

constexpr DelimitedText kCsvRows{',', "\r\n"};

// The rows of the table, and the heading before them with `heading`: the loop of comma-delimited
// text and of the files that frame such rows themselves.
void writeDelimited(const TableSource& table, NumberFormat format, ChunkWriter& writer,
                    DelimitedText layout, bool quote, bool heading) {
    const auto put = [format, layout, quote](std::span<const TableCell> cells) {
        return [cells, format, layout, quote](char* at) {
            return putDelimitedRow(at, cells, format, layout, quote);
        };
    };
    if (const auto titles = headingCells(table); heading && !titles.empty())
        putRow(writer, rowBound(titles, 1), put(titles));
    if (const auto columns = numberColumns(table); !columns.empty()) {
        const std::size_t bound = columns.size() * (kMaxGeneralLength + 1) + layout.lineEnd.size();
        for (std::size_t row = 0, rows = table.rowCount(); row < rows; ++row) {
            char* at = writer.reserve(bound);
            for (std::size_t column = 0; column < columns.size(); ++column) {
                if (column > 0)
                    *at++ = layout.separator;
                at = appendGeneral(at, columns[column][row], format);
            }
            writer.advance(at + layout.lineEnd.copy(at, layout.lineEnd.size()));
        }
    } else {
        RowReader reader(table);
        for (std::size_t row = 0, rows = table.rowCount(); row < rows; ++row) {
            const auto cells = reader.row(row);
            putRow(writer, rowBound(cells, 1), put(cells));
        }
    }
}

void writeCsv(const TableSource& table, NumberFormat format, ChunkWriter& writer) {
    writeDelimited(table, format, writer, kCsvRows, true, true);
    writer.put("\r\n");
    writer.flush();
}

void writeHtml(const TableSource& table, NumberFormat format, ChunkWriter& writer) {
    writer.put("<table border=\"1\">\r\n");
    if (const auto heading = headingCells(table); !heading.empty())
        putRow(writer, rowBound(heading, 9), [&heading, format](char* at) {
            return putHtmlRow(at, heading, format, "<th>", "</th>");
        });
    if (const auto columns = numberColumns(table); !columns.empty()) {
        const std::size_t bound = columns.size() * (kMaxGeneralLength + 9) + 12;
        for (std::size_t row = 0, rows = table.rowCount(); row < rows; ++row) {
            char* at = writer.reserve(bound);
            std::memcpy(at, "<tr>", 4);
            at += 4;
            for (const auto& column : columns) {
                std::memcpy(at, "<td>", 4);
                at = appendGeneral(at + 4, column[row], format);
                std::memcpy(at, "</td>", 5);
                at += 5;
            }
            std::memcpy(at, "</tr>\r\n", 7);
            writer.advance(at + 7);
        }
    } else {
        RowReader reader(table);
        for (std::size_t row = 0, rows = table.rowCount(); row < rows; ++row) {
            const auto cells = reader.row(row);
            putRow(writer, rowBound(cells, 9), [cells, format](char* at) {
                return putHtmlRow(at, cells, format, "<td>", "</td>");
            });
        }
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

// A NUMBER record for a number, a LABEL record for a text (cut to 255 bytes), nothing for an
// empty cell; at most 267 bytes.
char* putXlsCell(char* at, std::uint16_t row, std::uint16_t column, const TableCell& cell) {
    if (cell.kind == TableCell::Kind::Number) {
        at = putCellHeader(at, 0x0003, 15, row, column);
        return putDouble(at, cell.number);
    }
    if (cell.kind == TableCell::Kind::Text) {
        const auto length = static_cast<std::uint8_t>(std::min<std::size_t>(cell.text.size(), 255));
        at = putCellHeader(at, 0x0004, static_cast<std::uint16_t>(8 + length), row, column);
        *at++ = static_cast<char>(length);
        std::memcpy(at, cell.text.data(), length);
        return at + length;
    }
    return at;
}

void putXlsRow(ChunkWriter& writer, std::uint16_t row, std::span<const TableCell> cells) {
    char* at = writer.reserve(267 * cells.size());
    for (std::size_t column = 0; column < cells.size(); ++column)
        at = putXlsCell(at, row, static_cast<std::uint16_t>(column), cells[column]);
    writer.advance(at);
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
    const auto heading = headingCells(table);
    putXlsRow(writer, 0, heading);
    const auto first = static_cast<std::uint16_t>(heading.empty() ? 0 : 1);
    if (const auto columns = numberColumns(table); !columns.empty()) {
        for (std::uint16_t row = first; row < rows; ++row) {
            char* at = writer.reserve(19 * columns.size());
            for (std::size_t column = 0; column < columns.size(); ++column) {
                at = putCellHeader(at, 0x0003, 15, row, static_cast<std::uint16_t>(column));
                at = putDouble(at, columns[column][row - first]);
            }
            writer.advance(at);
        }
    } else {
        RowReader reader(table);
        for (std::uint16_t row = first; row < rows; ++row)
            putXlsRow(writer, row, reader.row(row - first));
    }
    writer.put(std::string_view("\x0A\x00\x00\x00", 4));
    writer.flush();
}

// A format that writes any table, and a table it can hold; Error otherwise.
void checkFormat(OutputFormat format, const TableSource& table) {
    if (!writesAnyTable(format))
        throw Error("The " + std::string(outputFormat(format).name) +
                    " format does not write a table of this kind");
    if (format == OutputFormat::Excel)
        checkWorksheet(table);
}

void write(OutputFormat format, const TableSource& table, NumberFormat numbers,
           ChunkWriter& writer) {
    switch (format) {
    case OutputFormat::CommaDelimited:
        writeCsv(table, numbers, writer);
        return;
    case OutputFormat::Html:
        writeHtml(table, numbers, writer);
        return;
    case OutputFormat::Excel:
        writeXls(table, writer);
        return;
    default:
        return; // refused by checkFormat
    }
}

} // namespace

std::string tableBytes(OutputFormat format, const TableSource& table, NumberFormat numbers) {
    checkFormat(format, table);
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

void exportTable(const std::string& path, OutputFormat format, const TableSource& table,
                 NumberFormat numbers) {
    // Refused before the file is created: nothing is written for a table that does not fit, nor
    // in a format that writes no table of this kind.
    checkFormat(format, table);
    AtomicFile file(path);
    ChunkWriter writer(
        [](void* context, const char* data, std::size_t size) {
            static_cast<AtomicFile*>(context)->write(data, size);
        },
        &file);
    write(format, table, numbers, writer);
    file.commit();
}

void writeDelimitedRows(const TableSource& table, NumberFormat numbers, DelimitedText layout,
                        const std::function<void(std::string_view)>& sink) {
    ChunkWriter writer(
        [](void* context, const char* data, std::size_t size) {
            (*static_cast<const std::function<void(std::string_view)>*>(context))(
                std::string_view(data, size));
        },
        const_cast<std::function<void(std::string_view)>*>(&sink));
    writeDelimited(table, numbers, writer, layout, false, false);
    writer.flush();
}

} // namespace korvadel
