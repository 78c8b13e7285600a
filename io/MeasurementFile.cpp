// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/MeasurementFile.h"

#include "io/Fields.h"
#include "io/LineReader.h"
#include "io/NamedColumns.h"
#include "model/Error.h"
#include "model/IsoTime.h"

#include <array>
#include <optional>

namespace korvadel {
namespace {

enum Column : std::size_t {
    Number,
    Start,
    End,
    GageHeight,
    Discharge,
    IndexVelocity,
    MeasuredArea,
    Use,
    Comment,
    ColumnCount
};

// The names each column goes by: ours, then the USGS field-measurement file's.
struct ColumnNames {
    Column column;
    std::string_view name;
    std::string_view rdbName;
    bool required;
};
constexpr ColumnNames kColumns[] = {
    {Number, "number", "measurement_nu", true},
    {Start, "start", "measurement_dt", true},
    {End, "end", "", false},
    {GageHeight, "gage_height", "gage_height_va", true},
    {Discharge, "discharge", "discharge_va", true},
    {IndexVelocity, "index_velocity", "", false},
    {MeasuredArea, "measured_area", "chan_area", false},
    {Use, "use", "", false},
    {Comment, "comment", "", false},
};

constexpr std::size_t kAbsent = static_cast<std::size_t>(-1);

bool isRdbFormat(std::string_view field) {
    // A width and a type: 5s, 15s, 12n, 19d (the width may be missing).
    while (!field.empty() && field.front() >= '0' && field.front() <= '9')
        field.remove_prefix(1);
    return field.size() == 1 && std::string_view("sndSND").find(field[0]) != std::string_view::npos;
}

bool isBlank(std::string_view line) {
    return trimmed(line).empty();
}

// A quoted field whose quotes the splitter kept (it held doubled quotes): without the outer
// quotes, each doubled quote one.
std::string unquoted(std::string_view field) {
    field = trimmed(field);
    if (field.size() < 2 || field.front() != '"' || field.back() != '"')
        return std::string(field);
    std::string text;
    for (std::size_t i = 1; i + 1 < field.size(); ++i) {
        text += field[i];
        if (field[i] == '"' && field[i + 1] == '"' && i + 2 < field.size())
            ++i;
    }
    return text;
}

class Reader {
public:
    Reader(LineReader& lines, std::string_view name) : lines_(lines) { file_.name = name; }

    MeasurementFile read() {
        std::string_view line = next();
        while (!lines_.atEnd() && isBlank(line))
            line = next();
        file_.rdb =
            !line.empty() &&
            (line.front() == '#' || (line.find('\t') != line.npos && line.find(',') == line.npos));
        if (file_.rdb) {
            delimiters_ = DelimiterSet("\t");
            quote_.reset();
            while (!lines_.atEnd() && ((!line.empty() && line.front() == '#') || isBlank(line)))
                line = next();
        }
        if (isBlank(line) || line.front() == '#')
            throw Error(file_.name + ": no heading line naming the columns");
        readHeading(line);
        bool formatsChecked = !file_.rdb;
        while (!lines_.atEnd()) {
            line = next();
            if (isBlank(line))
                continue;
            SplitFields(line, delimiters_, quote_, true, fields_);
            if (!formatsChecked) {
                formatsChecked = true;
                if (isFormatRow())
                    continue;
            }
            readRow();
        }
        return std::move(file_);
    }

private:
    std::string_view next() {
        const std::string_view line = lines_.readLine(kMaxNamedColumnLine + 1);
        if (line.size() > kMaxNamedColumnLine)
            throw Error(file_.name + ", line " + std::to_string(lines_.lineNumber()) +
                        ": the line is longer than " + std::to_string(kMaxNamedColumnLine) +
                        " characters");
        return line;
    }

    void readHeading(std::string_view line) {
        headingLine_ = lines_.lineNumber();
        SplitFields(line, delimiters_, quote_, true, fields_);
        index_.fill(kAbsent);
        for (std::size_t i = 0; i < fields_.size(); ++i) {
            const std::string key = columnKey(unquoted(fields_[i]));
            for (const ColumnNames& names : kColumns) {
                if (index_[names.column] == kAbsent &&
                    (key == names.name || (!names.rdbName.empty() && key == names.rdbName))) {
                    index_[names.column] = i;
                    names_[names.column] = unquoted(fields_[i]);
                }
            }
        }
        for (const ColumnNames& names : kColumns)
            if (names.required && index_[names.column] == kAbsent)
                throw Error(file_.name + ": no column named " + std::string(names.name) +
                            (names.rdbName.empty() ? "" : " or " + std::string(names.rdbName)) +
                            " in the heading (line " + std::to_string(headingLine_) + ")");
        file_.hasIndexVelocity = index_[IndexVelocity] != kAbsent;
        file_.hasMeasuredArea = index_[MeasuredArea] != kAbsent;
        if (file_.hasIndexVelocity)
            file_.indexVelocityColumn = names_[IndexVelocity];
    }

    bool isFormatRow() const {
        for (std::size_t i = 0; i < fields_.size(); ++i)
            if (!isRdbFormat(trimmed(fields_[i])))
                return false;
        return fields_.size() > 0;
    }

    // The cell of a column, empty when the file or the row does not have it.
    std::string cell(Column column) const {
        const std::size_t at = index_[column];
        return at < fields_.size() ? unquoted(fields_[at]) : std::string();
    }

    [[noreturn]] void fail(Column column, std::string_view what) const {
        throw Error(cellMessage(file_.name, lines_.lineNumber(), names_[column], what));
    }

    double number(Column column) const {
        const std::string text = cell(column);
        if (trimmed(text).empty())
            fail(column, "the value is empty");
        double value = 0.0;
        if (!readDecimal(text, value))
            fail(column, notANumber(text));
        return value;
    }

    std::optional<double> optionalNumber(Column column) const {
        const std::string text = cell(column);
        if (trimmed(text).empty())
            return std::nullopt;
        double value = 0.0;
        if (!readDecimal(text, value))
            fail(column, notANumber(text));
        return value;
    }

    void readRow() {
        if (file_.measurements.size() >= kMaxMeasurements)
            throw Error(file_.name + ", line " + std::to_string(lines_.lineNumber()) +
                        ": more than " + std::to_string(kMaxMeasurements) +
                        " measurements; this is no list of discharge measurements");
        Measurement m;
        m.line = lines_.lineNumber();
        m.number = trimmed(cell(Number));
        if (m.number.empty())
            fail(Number, "the measurement has no number");
        m.start = trimmed(cell(Start));
        if (!isoCalendarDay(m.start))
            fail(Start, quotedValue(m.start) +
                            " is not an ISO 8601 date or date and time (YYYY-MM-DD, "
                            "YYYY-MM-DDThh:mm or YYYY-MM-DD hh:mm:ss)");
        m.end = trimmed(cell(End));
        if (!m.end.empty() && !isMeasurementEnd(m.end))
            fail(End,
                 quotedValue(m.end) + " is not an ISO 8601 date and time or a time of day (hh:mm)");
        m.gageHeight = number(GageHeight);
        m.discharge = number(Discharge);
        m.indexVelocity = optionalNumber(IndexVelocity);
        m.measuredArea = optionalNumber(MeasuredArea);
        const std::optional<MeasurementUse> use = measurementUseNamed(cell(Use));
        if (use)
            m.use = *use;
        else
            fail(Use, quotedValue(cell(Use)) + " is not fit, validate or exclude");
        m.comment = trimmed(cell(Comment));
        text_ += m.number.size() + m.start.size() + m.end.size() + m.comment.size();
        if (text_ > kMaxMeasurementText)
            throw Error(file_.name + ", line " + std::to_string(m.line) +
                        ": the measurements hold more than " +
                        std::to_string(kMaxMeasurementText >> 20) + " MB of text");
        file_.measurements.push_back(std::move(m));
    }

    LineReader& lines_;
    MeasurementFile file_;
    DelimiterSet delimiters_{","};
    std::optional<char> quote_ = '"';
    FieldList fields_;
    std::array<std::size_t, ColumnCount> index_{};
    std::array<std::string, ColumnCount> names_;
    std::int64_t headingLine_ = 0;
    std::size_t text_ = 0;
};

} // namespace

bool isMeasurementEnd(std::string_view text) {
    // A time of day is the time of a date and time on any valid day.
    return isoCalendarDay(text) ||
           (trimmed(text).size() >= 5 &&
            isoCalendarDay("2000-01-01T" + std::string(trimmed(text))).has_value());
}

std::optional<MeasurementUse> measurementUseNamed(std::string_view text) {
    const std::string use = columnKey(text);
    if (use.empty() || use == "fit")
        return MeasurementUse::Fit;
    if (use == "validate")
        return MeasurementUse::Validate;
    if (use == "exclude")
        return MeasurementUse::Exclude;
    return std::nullopt;
}

MeasurementFile readMeasurements(LineReader& reader, std::string_view name) {
    return Reader(reader, name).read();
}

MeasurementFile readMeasurements(const std::string& path) {
    LineReader reader(path);
    return readMeasurements(reader, path);
}

void requireFitIndexVelocities(const MeasurementFile& file) {
    if (!file.hasIndexVelocity)
        throw Error(file.name +
                    ": no column named index_velocity; the velocity rating needs the "
                    "index velocity of every fit measurement" +
                    (file.rdb ? " (a USGS measurement file has none: add the column)" : ""));
    for (const Measurement& m : file.measurements)
        if (m.use == MeasurementUse::Fit && !m.indexVelocity)
            throw Error(cellMessage(file.name, m.line, file.indexVelocityColumn,
                                    "measurement " + m.number +
                                        " is fitted but has no index velocity (give one, or use "
                                        "exclude)"));
}

} // namespace korvadel
