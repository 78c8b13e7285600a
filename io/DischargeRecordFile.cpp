// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/DischargeRecordFile.h"

#include "io/Fields.h"
#include "io/LineReader.h"
#include "io/NamedColumns.h"
#include "model/DischargeRecord.h"
#include "model/Error.h"
#include "model/IsoTime.h"
#include "model/Numbers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace korvadel {
namespace {

constexpr std::size_t kBlockRows = 8192;
constexpr std::size_t kFlushBytes = std::size_t{1} << 20;
constexpr std::int32_t kNoDay = std::numeric_limits<std::int32_t>::min();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Rows read but not yet written: their inputs, and the texts written back as they were.
struct Block {
    std::vector<double> gageHeights;
    std::vector<double> indexVelocities;
    std::vector<std::int32_t> days;
    std::vector<std::int64_t> lines;
    std::string texts;               // time, gage height and index velocity of every row
    std::vector<std::uint32_t> ends; // where each of those three texts ends in `texts`
    std::vector<double> areas, velocities, discharges;

    Block() {
        for (auto* column : {&gageHeights, &indexVelocities, &areas, &velocities, &discharges})
            column->reserve(kBlockRows);
        days.reserve(kBlockRows);
        lines.reserve(kBlockRows);
        ends.reserve(3 * kBlockRows);
    }
    std::size_t size() const { return gageHeights.size(); }
    std::string_view text(std::size_t row, std::size_t which) const {
        const std::size_t at = 3 * row + which;
        const std::uint32_t begin = at == 0 ? 0 : ends[at - 1];
        return std::string_view(texts).substr(begin, ends[at] - begin);
    }
    void addText(std::string_view text) {
        texts += text;
        ends.push_back(static_cast<std::uint32_t>(texts.size()));
    }
    void clear() {
        gageHeights.clear();
        indexVelocities.clear();
        days.clear();
        lines.clear();
        texts.clear();
        ends.clear();
    }
};

// The rows of a block turned into output: areas, velocities and discharges computed, then
// written as text (or added to the days), the bytes handed on a megabyte at a time.
class RecordFormatter {
public:
    RecordFormatter(const RecordSection& section, const VelocityEquation& equation, bool daily,
                    const ByteSink& sink)
        : section_(section), equation_(equation), daily_(daily), sink_(sink) {
        if (!daily_)
            append("time,gage_height,index_velocity,area,mean_velocity,discharge\r\n");
    }

    void format(Block& block) {
        const std::size_t count = block.size();
        block.areas.resize(count);
        block.velocities.resize(count);
        block.discharges.resize(count);
        computeDischarges(section_.stations, section_.elevations, section_.elevationShift,
                          equation_,
                          {block.gageHeights, block.indexVelocities, block.areas, block.velocities,
                           block.discharges});
        for (std::size_t row = 0; row < count; ++row) {
            const double gageHeight = block.gageHeights[row];
            if (gageHeight > summary_.highestGageHeight)
                summary_.highestGageHeight = gageHeight;
            const bool gap = block.days[row] == kNoDay || std::isnan(gageHeight) ||
                             std::isnan(block.indexVelocities[row]) ||
                             std::isnan(block.areas[row]) || std::isnan(block.velocities[row]) ||
                             std::isnan(block.discharges[row]);
            if (gap && summary_.rowsWithGaps++ == 0)
                summary_.firstGapLine = block.lines[row];
            if (daily_) {
                if (block.days[row] != kNoDay)
                    days_.add(block.days[row], block.discharges[row]);
                continue;
            }
            const std::string_view time = block.text(row, 0);
            const std::string_view stage = block.text(row, 1);
            const std::string_view index = block.text(row, 2);
            char* at =
                reserve(time.size() + stage.size() + index.size() + 3 * kMaxGeneralLength + 8);
            at = put(at, time);
            *at++ = ',';
            at = put(at, stage);
            *at++ = ',';
            at = put(at, index);
            *at++ = ',';
            at = putNumber(at, block.areas[row]);
            *at++ = ',';
            at = putNumber(at, block.velocities[row]);
            *at++ = ',';
            at = putNumber(at, block.discharges[row]);
            *at++ = '\r';
            *at++ = '\n';
            used_ = static_cast<std::size_t>(at - out_.data());
        }
        summary_.rows += static_cast<std::int64_t>(count);
    }

    RecordSummary finish() {
        if (daily_)
            writeDays();
        if (used_ > 0)
            sink_(std::string_view(out_.data(), used_));
        used_ = 0;
        return summary_;
    }

private:
    // Room for `bytes` more at the end of the output, which is handed on once it holds a
    // megabyte; a row needs at most a few lines' worth.
    char* reserve(std::size_t bytes) {
        if (used_ >= kFlushBytes) {
            sink_(std::string_view(out_.data(), used_));
            used_ = 0;
        }
        if (out_.size() < used_ + bytes)
            out_.resize(std::max(used_ + bytes, 2 * kFlushBytes));
        return out_.data() + used_;
    }

    void append(std::string_view text) {
        text.copy(reserve(text.size()), text.size());
        used_ += text.size();
    }

    static char* put(char* at, std::string_view text) {
        text.copy(at, text.size());
        return at + text.size();
    }

    static char* putNumber(char* at, double value) {
        return std::isnan(value) ? at : appendGeneral(at, value);
    }

    void writeDays() {
        append("date,mean_discharge,values\r\n");
        for (const DailyDischarge& day : days_.days()) {
            append(isoDateText(day.day));
            append(",");
            if (!std::isnan(day.mean))
                append(formatGeneral(day.mean));
            append(",");
            append(std::to_string(day.values));
            append("\r\n");
        }
    }

    const RecordSection& section_;
    const VelocityEquation& equation_;
    bool daily_;
    const ByteSink& sink_;
    DailyMeans days_;
    std::string out_; // the first used_ bytes are output not yet handed on
    std::size_t used_ = 0;
    RecordSummary summary_;
};

// Runs the formatter on a second thread, one block at a time, while the reader fills the
// other block: reading and splitting the lines and formatting the numbers take about as long
// each, so a long record takes about half the time on two cores. The blocks are formatted in
// the order they are handed over; a failure of the formatter (a full disk) is rethrown to the
// reader at its next hand-over or at the end.
class FormatterThread {
public:
    explicit FormatterThread(RecordFormatter& formatter)
        : formatter_(formatter), thread_([this] { work(); }) {}
    ~FormatterThread() { stop(); }
    FormatterThread(const FormatterThread&) = delete;
    FormatterThread& operator=(const FormatterThread&) = delete;

    // Hands `block` over once the block handed before it is done; returns the block that is
    // free again for the reader to fill (emptied).
    Block& handOver(Block& block, Block& other) {
        std::unique_lock lock(mutex_);
        idle_.wait(lock, [this] { return !busy_; });
        rethrow();
        busy_ = true;
        handed_ = &block;
        ready_.notify_one();
        other.clear();
        return other;
    }

    // Waits for the last block and ends the thread.
    void finish() {
        {
            std::unique_lock lock(mutex_);
            idle_.wait(lock, [this] { return !busy_; });
        }
        stop();
        rethrow();
    }

private:
    void work() {
        for (;;) {
            Block* block = nullptr;
            {
                std::unique_lock lock(mutex_);
                ready_.wait(lock, [this] { return handed_ != nullptr || stopping_; });
                if (handed_ == nullptr)
                    return;
                block = std::exchange(handed_, nullptr);
            }
            std::exception_ptr failure;
            if (!failure_) {
                try {
                    formatter_.format(*block);
                } catch (...) {
                    failure = std::current_exception();
                }
            }
            std::lock_guard lock(mutex_);
            if (failure)
                failure_ = failure;
            busy_ = false;
            idle_.notify_all();
        }
    }

    void stop() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
            ready_.notify_one();
        }
        if (thread_.joinable())
            thread_.join();
    }

    void rethrow() {
        if (failure_)
            std::rethrow_exception(std::exchange(failure_, nullptr));
    }

    RecordFormatter& formatter_;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::condition_variable idle_;
    Block* handed_ = nullptr;
    bool busy_ = false;
    bool stopping_ = false;
    std::exception_ptr failure_;
    std::thread thread_;
};

// Reads the record's heading and rows into blocks for the formatter.
class RecordReader {
public:
    RecordReader(LineReader& lines, std::string_view name) : lines_(lines), name_(name) {}

    RecordSummary run(RecordFormatter& formatter) {
        readHeading();
        Block blocks[2];
        Block* filling = &blocks[0];
        FormatterThread thread(formatter);
        while (!lines_.atEnd()) {
            const std::string_view line = next();
            if (trimmed(line).empty())
                continue;
            readRow(line, *filling);
            if (filling->size() == kBlockRows)
                filling = &thread.handOver(*filling, filling == &blocks[0] ? blocks[1] : blocks[0]);
        }
        if (filling->size() > 0)
            thread.handOver(*filling, filling == &blocks[0] ? blocks[1] : blocks[0]);
        thread.finish();
        return formatter.finish();
    }

private:
    std::string_view next() {
        const std::string_view line = lines_.readLine(kMaxNamedColumnLine + 1);
        if (line.size() > kMaxNamedColumnLine)
            throw Error(std::string(name_) + ", line " + std::to_string(lines_.lineNumber()) +
                        ": the line is longer than " + std::to_string(kMaxNamedColumnLine) +
                        " characters");
        return line;
    }

    void readHeading() {
        std::string_view line;
        while (!lines_.atEnd() && trimmed(line = next()).empty()) {
        }
        SplitFields(line, delimiters_, '"', true, fields_);
        static constexpr std::string_view kNames[] = {"time", "gage_height", "index_velocity"};
        for (std::size_t c = 0; c < 3; ++c) {
            column_[c] = fields_.size();
            for (std::size_t i = 0; i < fields_.size() && column_[c] == fields_.size(); ++i)
                if (columnKey(fields_[i]) == kNames[c])
                    column_[c] = i;
            if (column_[c] == fields_.size())
                throw Error(std::string(name_) + ": no column named " + std::string(kNames[c]) +
                            " in the heading" +
                            (line.empty() ? std::string()
                                          : " (line " + std::to_string(lines_.lineNumber()) + ")"));
        }
    }

    std::string_view field(std::size_t column) const {
        return column_[column] < fields_.size() ? trimmed(fields_[column_[column]])
                                                : std::string_view();
    }

    // Most records quote nothing: their lines are cut at every comma in one pass, as the
    // splitter would cut them; a line with a quote goes through the splitter.
    void split(std::string_view line) {
        if (line.find('"') != std::string_view::npos) {
            SplitFields(line, delimiters_, '"', true, fields_);
            return;
        }
        fields_.clear();
        std::size_t start = 0;
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (line[i] == ',') {
                fields_.add(line.substr(start, i - start));
                start = i + 1;
            }
        }
        fields_.add(line.substr(start));
    }

    void readRow(std::string_view line, Block& block) {
        split(line);
        const std::string_view time = field(0);
        const std::optional<std::int32_t> day = readDay_(time);
        block.days.push_back(day ? *day : kNoDay);
        block.addText(day ? time : std::string_view());
        for (std::size_t c = 1; c < 3; ++c) {
            const std::string_view text = field(c);
            double value = kNaN;
            if (!readDecimal(text, value))
                value = kNaN;
            (c == 1 ? block.gageHeights : block.indexVelocities).push_back(value);
            block.addText(std::isnan(value) ? std::string_view() : text);
        }
        block.lines.push_back(lines_.lineNumber());
    }

    LineReader& lines_;
    std::string_view name_;
    DelimiterSet delimiters_{","};
    FieldList fields_;
    std::array<std::size_t, 3> column_{};
    CalendarDayReader readDay_;
};

} // namespace

RecordSummary writeDischargeRecord(LineReader& reader, std::string_view name,
                                   const RecordSection& section, const VelocityEquation& equation,
                                   bool daily, const ByteSink& sink) {
    RecordFormatter formatter(section, equation, daily, sink);
    return RecordReader(reader, name).run(formatter);
}

RecordSummary writeDischargeRecord(const std::string& path, const RecordSection& section,
                                   const VelocityEquation& equation, bool daily,
                                   const ByteSink& sink) {
    LineReader reader(path);
    return writeDischargeRecord(reader, path, section, equation, daily, sink);
}

std::string recordGapsLine(std::string_view name, const RecordSummary& summary) {
    if (summary.rowsWithGaps == 0)
        return {};
    return std::string(name) + ": " + std::to_string(summary.rowsWithGaps) + " of " +
           std::to_string(summary.rows) + (summary.rows == 1 ? " row has" : " rows have") +
           " an empty or unreadable value or a result out of range (the first on line " +
           std::to_string(summary.firstGapLine) +
           "); the fields that depend on it are left empty.\n";
}

} // namespace korvadel
