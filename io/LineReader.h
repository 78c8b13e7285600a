// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <string_view>

namespace korvadel {

// Reads a text file (or bytes in memory) line by line, in large blocks.
//
// Text breaks, the rule of every point reader: a line ends at LF or CR LF; a carriage return not
// followed by LF is dropped from the text and does not end the line; code 26 ends the file; a
// final line break adds no empty line. A text with no LF anywhere before its end but with
// carriage returns (the old Macintosh line end) has each carriage return end a line instead.
// Table breaks, the rule of the plain table text: LF, CR LF and a lone CR each end a line, and
// code 0 ends the text.
//
// Both skip a UTF-8 byte-order mark (EF BB BF) at the very start, which spreadsheets and editors
// put before text they save as UTF-8.
//
// Reading or skipping past the end gives empty lines and no error. A failure of the device is
// thrown as the file error of its system code.
class LineReader {
public:
    enum class Breaks { Text, Table };

    static constexpr std::size_t kBlockSize = std::size_t{1} << 20;
    static constexpr std::size_t kWhole = std::numeric_limits<std::size_t>::max();

    // Bytes owned by the caller, which must outlive the reader.
    static LineReader overBytes(std::string_view bytes, Breaks breaks = Breaks::Text) {
        return LineReader(bytes, breaks);
    }
    // Opens the file; throws the file error ("File not found", ...) when it cannot be opened.
    // A folder cannot be opened as a file ("File access denied").
    explicit LineReader(const std::string& path, Breaks breaks = Breaks::Text);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // True when no character remains (or the next one ends the text).
    bool atEnd();

    // The next line without its break. Only the first `keep` characters are kept (the rest is
    // read and dropped), which bounds the memory a reader needs for a line it cuts anyway; with
    // `skipLeadingBlanks` the characters with codes 0 to 32 at its start are dropped first. The
    // view is valid until the next call.
    std::string_view readLine(std::size_t keep = kWhole, bool skipLeadingBlanks = false);
    void skipLine() { readLine(0); }
    // The next line handed over in pieces as they come (carriage returns dropped by the text
    // breaks), so a line of any length needs no memory of its own.
    void readLineChunks(const std::function<void(std::string_view)>& chunk);
    void skipLines(std::int64_t count);

    // Lines read or skipped so far, the ones past the end included: the number of the line that
    // was read last, counting from 1.
    std::int64_t lineNumber() const { return lineNumber_; }

    // The size of the file (or of the bytes in memory) as it was opened; 0 when not known, as
    // for a pipe.
    std::uint64_t sourceSize() const { return sourceSize_; }
    // Bytes read or skipped so far, from the first byte of the source.
    std::uint64_t bytesRead() const { return fd_ >= 0 ? sourceOffset_ - end_ + pos_ : pos_; }

    // Back to the first byte, reading with the given breaks from there.
    void restart(Breaks breaks);

    // The path the file was opened by; empty for bytes in memory.
    const std::string& sourceName() const { return sourceName_; }
    // The text ended at its end mark (code 26 with text breaks, code 0 with table breaks) rather
    // than at the end of the source.
    bool endedAtMark() const { return stopped_; }

private:
    // How text breaks treat a carriage return, settled at the first one met (see above).
    enum class CarriageReturns : unsigned char { Undecided, Dropped, EndLines };

    LineReader(std::string_view bytes, Breaks breaks);
    bool available();
    void skipByteOrderMark();
    void settleCarriageReturns(const char* p, std::size_t length);
    bool lineFeedAfterBlock();
    void append(const char* p, std::size_t length);

    Breaks breaks_;
    std::string sourceName_;
    int fd_ = -1;
    std::string_view memory_;
    std::unique_ptr<char[]> block_;
    const char* data_ = nullptr;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool sourceDone_ = false; // no more bytes will come from the source
    bool stopped_ = false;    // the text ended at code 26 (text breaks) or code 0 (table breaks)
    bool pendingCr_ = false; // table breaks: the last line ended at CR; a LF after it belongs to it

    bool atStart_ = true; // a byte-order mark may still come
    CarriageReturns carriageReturns_ = CarriageReturns::Undecided;
    std::uint64_t sourceOffset_ = 0; // of the first byte after the block in the file
    std::uint64_t sourceSize_ = 0;

    std::string line_;
    const std::function<void(std::string_view)>* chunkSink_ = nullptr;
    std::size_t keep_ = kWhole;
    bool skipBlanks_ = false;
    std::int64_t lineNumber_ = 0;
};

} // namespace korvadel
