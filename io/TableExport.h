// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "io/OutputFormats.h"
#include "model/NumberFormat.h"

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace korvadel {

// One cell of an exported table: nothing, a number or a text.
struct TableCell {
    enum class Kind : unsigned char { Empty, Number, Text };
    Kind kind = Kind::Empty;
    double number = 0.0;
    std::string_view text; // valid until the next row is asked for

    static TableCell of(double value) { return {Kind::Number, value, {}}; }
    static TableCell of(std::string_view value) { return {Kind::Text, 0.0, value}; }
};

// A table as the exports read it, row by row. The rating and the measurement summary are
// tables; the writers below know nothing else about them.
class TableSource {
public:
    virtual ~TableSource() = default;
    // Column titles written before the rows; none by default (the rating has none).
    virtual std::span<const std::string_view> heading() const { return {}; }
    virtual std::size_t rowCount() const = 0;
    virtual std::size_t columnCount() const = 0;
    // Fills the columnCount() cells of a row.
    virtual void cells(std::size_t row, std::span<TableCell> cells) const = 0;
    // A column that holds a number in every row, as one array of rowCount() values; empty when
    // the column is not kept so. A table whose every column is one (the rating) is written
    // from them directly, cell by cell as cells() would give them.
    virtual std::span<const double> numberColumn(std::size_t /*column*/) const { return {}; }
};

// The formats of io/OutputFormats that write any table: comma-delimited text, the HTML table
// and the worksheet. The layouts are the rating export's, with a heading row when the table has
// one:
//   csv   the cells of a row joined by commas, each row ended by CR LF and one more CR LF after
//         the last; a text holding a comma, a quote or a line break is quoted, its quotes
//         doubled; numbers are never quoted
//   html  a bare <table border="1"> with one <tr> per row, <th> cells for the heading and <td>
//         cells after it; texts have &, <, > and " escaped
//   xls   a worksheet record stream: BOF, DIMENSIONS, a NUMBER or LABEL record per cell that
//         is not empty (a label holds at most 255 bytes), EOF; at most 65,535 rows
// Numbers are written in the general number format with the given decimal separator; the
// worksheet holds the doubles themselves. Any other format is refused with an Error.
// The worksheet numbers its rows in 16 bits and its columns in 8.
inline constexpr std::size_t kMaxWorksheetRows = 65535;
inline constexpr std::size_t kMaxWorksheetColumns = 256;

// Writes the table to a temporary file beside `path` and replaces `path` only when complete.
// A table too large for a worksheet is refused before anything is created.
void exportTable(const std::string& path, OutputFormat format, const TableSource& table,
                 NumberFormat numbers = {});
// The bytes the export writes.
std::string tableBytes(OutputFormat format, const TableSource& table, NumberFormat numbers = {});

// The rows alone (no heading, nothing after them) as delimited text, cells joined by
// `separator` and each row ended by `lineEnd`, texts as they are: for files that frame the
// rows themselves, such as the agency rating file. The bytes go to `sink` in pieces.
struct DelimitedText {
    char separator;
    std::string_view lineEnd;
};
void writeDelimitedRows(const TableSource& table, NumberFormat numbers, DelimitedText layout,
                        const std::function<void(std::string_view)>& sink);

} // namespace korvadel
