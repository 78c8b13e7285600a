// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/NumberFormat.h"

#include <span>
#include <string>
#include <string_view>

namespace korvadel {

class RatingTable;

// What a table export may need beside the rows: the decimal separator of the text exports, and
// the description (as the station name) and the datum an agency rating file states.
struct RatingExportContext {
    NumberFormat format;
    std::string description;
    double datum = 0.0;
};

// What a rating can be written as: tables of its rows and pictures of its chart. The rating
// window's export commands (their save dialogs) and the command line's --to both come from this
// one table; a new export is one more row.
enum class OutputFormat { CommaDelimited, Html, Excel, Rdb, Jpeg, Metafile };

struct OutputFormatInfo {
    OutputFormat format;
    // The name the command line knows it by (--to).
    std::string_view name;
    // The save dialog's filter list as the program shows it ("Description|patterns|..."), and
    // the extension a name typed without one gets.
    std::string_view dialogFilter;
    std::string_view extension;
    // A table of the rating's rows: `write` writes it to a file, replacing the file only once it
    // is complete, and `bytes` gives what it writes. Both are null for a picture of the rating
    // chart, which the chart draws itself.
    void (*write)(const std::string& path, const RatingTable& rating,
                  const RatingExportContext& context);
    std::string (*bytes)(const RatingTable& rating, const RatingExportContext& context);
    // Refuses (Error) a rating the format cannot hold, before a file name is asked for; null
    // when it holds any.
    void (*check)(const RatingTable& rating);
    // Bytes that mean nothing on a terminal: the command line writes them to a file only.
    bool binary;
    // Writes any table, not only the rating's rows (io/TableExport): the measurement summary is
    // offered these.
    bool anyTable = false;

    bool isTable() const { return write != nullptr; }
};

// Every format, the tables first.
std::span<const OutputFormatInfo> outputFormats();
const OutputFormatInfo& outputFormat(OutputFormat format);
// By --to name among the tables (`tables`) or the pictures; nullptr for a name none has.
const OutputFormatInfo* outputFormatNamed(std::string_view name, bool tables);
// The --to names of the tables or of the pictures, for a message: "csv, html or xls".
std::string outputFormatNames(bool tables);

// The same among the formats that write any table.
const OutputFormatInfo* anyTableFormatNamed(std::string_view name);
std::string anyTableFormatNames();
bool writesAnyTable(OutputFormat format);

} // namespace korvadel
