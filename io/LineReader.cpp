// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/LineReader.h"

#include "io/FileError.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvadel {

namespace {

constexpr char kEndOfText = 26; // ends a text file
constexpr char kEndOfTable = 0; // ends the plain table text

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF"; // UTF-8

} // namespace

LineReader::LineReader(std::string_view bytes, Breaks breaks)
    : breaks_(breaks), memory_(bytes), data_(bytes.data()), end_(bytes.size()), sourceDone_(true),
      sourceSize_(bytes.size()) {}

LineReader::LineReader(const std::string& path, Breaks breaks)
    : breaks_(breaks), sourceName_(path) {
    do {
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0) {
        throwFileError(errno);
    }
    struct stat info {};
    if (::fstat(fd_, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        throwFileError(EISDIR);
    }
    if (S_ISREG(info.st_mode) && info.st_size > 0) {
        sourceSize_ = static_cast<std::uint64_t>(info.st_size);
    }
    block_ = std::make_unique<char[]>(kBlockSize);
    data_ = block_.get();
}

LineReader::~LineReader() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool LineReader::available() {
    if (pos_ < end_) {
        return true;
    }
    if (sourceDone_) {
        return false;
    }
    ssize_t count;
    do {
        count = ::read(fd_, block_.get(), kBlockSize);
    } while (count < 0 && errno == EINTR);
    if (count < 0) {
        throwFileError(errno);
    }
    pos_ = 0;
    end_ = static_cast<std::size_t>(count);
    sourceOffset_ += end_;
    if (count == 0) {
        sourceDone_ = true;
        return false;
    }
    return true;
}

void LineReader::skipByteOrderMark() {
    atStart_ = false;
    if (!available()) {
        return;
    }
    // A read may hand over fewer bytes than asked for; the mark needs its three together.
    while (fd_ >= 0 && end_ - pos_ < kByteOrderMark.size() && !sourceDone_) {
        ssize_t count;
        do {
            count = ::read(fd_, block_.get() + end_, kBlockSize - end_);
        } while (count < 0 && errno == EINTR);
        if (count < 0) {
            throwFileError(errno);
        }
        if (count == 0) {
            sourceDone_ = true;
        }
        end_ += static_cast<std::size_t>(count);
        sourceOffset_ += static_cast<std::size_t>(count);
    }
    if (std::string_view(data_ + pos_, end_ - pos_).starts_with(kByteOrderMark)) {
        pos_ += kByteOrderMark.size();
    }
}

// Called for each block while no carriage return or line feed has been met. A line feed settles
// it for good (carriage returns are dropped); a carriage return first asks whether any line feed
// follows before the end of the text, which for a file means reading ahead to its end once.
void LineReader::settleCarriageReturns(const char* p, std::size_t length) {
    // Only the bytes up to the first line feed are looked at, so that a large text in memory
    // is not searched through for a file-wide decision.
    const void* lf = std::memchr(p, '\n', length);
    const std::size_t beforeLf =
        lf != nullptr ? static_cast<std::size_t>(static_cast<const char*>(lf) - p) : length;
    const void* eot = std::memchr(p, kEndOfText, beforeLf);
    if (lf != nullptr && eot == nullptr) {
        carriageReturns_ = CarriageReturns::Dropped;
        return;
    }
    const std::size_t text =
        eot != nullptr ? static_cast<std::size_t>(static_cast<const char*>(eot) - p) : length;
    if (std::memchr(p, '\r', text) == nullptr) {
        return; // neither yet: the line goes on into the next block, or the text ends first
    }
    carriageReturns_ = eot == nullptr && lineFeedAfterBlock() ? CarriageReturns::Dropped
                                                              : CarriageReturns::EndLines;
}

// Whether the source holds a line feed after the current block and before the text ends. Reads
// ahead without moving the reading position.
bool LineReader::lineFeedAfterBlock() {
    if (fd_ < 0 || sourceDone_) {
        return false;
    }
    const auto buffer = std::make_unique<char[]>(kBlockSize);
    std::uint64_t offset = sourceOffset_;
    for (;;) {
        ssize_t count;
        do {
            count = ::pread(fd_, buffer.get(), kBlockSize, static_cast<off_t>(offset));
        } while (count < 0 && errno == EINTR);
        if (count < 0) {
            // A source that cannot be read ahead (a pipe) keeps the rules of text with line
            // feeds.
            if (errno == ESPIPE) {
                return true;
            }
            throwFileError(errno);
        }
        if (count == 0) {
            return false;
        }
        const char* p = buffer.get();
        std::size_t text = static_cast<std::size_t>(count);
        const void* eot = std::memchr(p, kEndOfText, text);
        if (eot != nullptr) {
            text = static_cast<std::size_t>(static_cast<const char*>(eot) - p);
        }
        if (std::memchr(p, '\n', text) != nullptr) {
            return true;
        }
        if (eot != nullptr) {
            return false;
        }
        offset += static_cast<std::uint64_t>(count);
    }
}

bool LineReader::atEnd() {
    if (atStart_) {
        skipByteOrderMark();
    }
    if (stopped_ || !available()) {
        return true;
    }
    if (pendingCr_) {
        pendingCr_ = false;
        if (data_[pos_] == '\n') {
            ++pos_;
            if (!available()) {
                return true;
            }
        }
    }
    const char c = data_[pos_];
    if ((breaks_ == Breaks::Text && c == kEndOfText) ||
        (breaks_ == Breaks::Table && c == kEndOfTable)) {
        stopped_ = true;
        return true;
    }
    return false;
}

// Adds a piece of the current line to line_, honouring the kept length, the leading blanks to
// skip and (for text breaks) the carriage returns to drop.
void LineReader::append(const char* p, std::size_t length) {
    if (chunkSink_ != nullptr) {
        while (length > 0) {
            std::size_t piece = length;
            if (breaks_ == Breaks::Text) {
                if (const void* cr = std::memchr(p, '\r', length)) {
                    piece = static_cast<std::size_t>(static_cast<const char*>(cr) - p);
                }
            }
            if (piece > 0) {
                (*chunkSink_)(std::string_view(p, piece));
            }
            if (piece == length) {
                return;
            }
            p += piece + 1;
            length -= piece + 1;
        }
        return;
    }
    if (skipBlanks_) {
        while (length > 0 && static_cast<unsigned char>(*p) <= 32) {
            ++p;
            --length;
        }
        if (length == 0) {
            return;
        }
        skipBlanks_ = false;
    }
    while (length > 0 && line_.size() < keep_) {
        std::size_t piece = length;
        if (breaks_ == Breaks::Text) {
            if (const void* cr = std::memchr(p, '\r', length)) {
                piece = static_cast<std::size_t>(static_cast<const char*>(cr) - p);
            }
        }
        const std::size_t take = std::min(piece, keep_ - line_.size());
        line_.append(p, take);
        if (piece == length) {
            return;
        }
        p += piece + 1; // past the dropped carriage return
        length -= piece + 1;
    }
}

std::string_view LineReader::readLine(std::size_t keep, bool skipLeadingBlanks) {
    ++lineNumber_;
    if (atEnd()) {
        return {};
    }
    line_.clear();
    keep_ = keep;
    skipBlanks_ = skipLeadingBlanks;
    bool first = true;
    for (;;) {
        if (!first && !available()) {
            break; // the last line needs no break
        }
        const char* p = data_ + pos_;
        const std::size_t avail = end_ - pos_;
        std::size_t length = avail; // of the line's text in this block
        bool ended = false;         // the line ends in this block
        std::size_t breakLength = 0;
        if (breaks_ == Breaks::Text) {
            if (carriageReturns_ == CarriageReturns::Undecided) {
                settleCarriageReturns(p, avail);
            }
            const char lineEnd = carriageReturns_ == CarriageReturns::EndLines ? '\r' : '\n';
            if (const void* lf = std::memchr(p, lineEnd, avail)) {
                length = static_cast<std::size_t>(static_cast<const char*>(lf) - p);
                ended = true;
                breakLength = 1;
            }
            if (const void* eot = std::memchr(p, kEndOfText, length)) {
                length = static_cast<std::size_t>(static_cast<const char*>(eot) - p);
                ended = true;
                breakLength = 0;
                stopped_ = true;
            }
            // The common whole line in one block: hand out a view, no copy. A CR right before
            // the LF is part of the break; any other CR needs the copying path.
            if (first && ended && !skipBlanks_ && chunkSink_ == nullptr) {
                std::size_t text = length;
                if (text > 0 && p[text - 1] == '\r') {
                    --text;
                }
                if (std::memchr(p, '\r', text) == nullptr) {
                    pos_ += length + breakLength;
                    return std::string_view(p, std::min(text, keep));
                }
            }
        } else {
            for (std::size_t i = 0; i < avail; ++i) {
                const char c = p[i];
                if (c == '\n' || c == '\r' || c == kEndOfTable) {
                    length = i;
                    ended = true;
                    breakLength = c == kEndOfTable ? 0 : 1;
                    stopped_ = c == kEndOfTable;
                    pendingCr_ = c == '\r';
                    break;
                }
            }
            if (first && ended && !skipBlanks_ && chunkSink_ == nullptr) {
                pos_ += length + breakLength;
                return std::string_view(p, std::min(length, keep));
            }
        }
        append(p, length);
        pos_ += length + breakLength;
        first = false;
        if (ended) {
            break;
        }
    }
    return line_;
}

void LineReader::readLineChunks(const std::function<void(std::string_view)>& chunk) {
    struct Detach {
        LineReader& reader;
        ~Detach() { reader.chunkSink_ = nullptr; }
    } detach{*this};
    chunkSink_ = &chunk;
    readLine();
}

void LineReader::skipLines(std::int64_t count) {
    for (std::int64_t i = 0; i < count; ++i) {
        if (atEnd()) {
            // Past the end every line is empty; count them without reading.
            lineNumber_ += count - i;
            return;
        }
        skipLine();
    }
}

void LineReader::restart(Breaks breaks) {
    breaks_ = breaks;
    stopped_ = false;
    pendingCr_ = false;
    atStart_ = true;
    carriageReturns_ = CarriageReturns::Undecided;
    sourceOffset_ = 0;
    if (fd_ < 0) {
        data_ = memory_.data();
        pos_ = 0;
        end_ = memory_.size();
        sourceDone_ = true;
        return;
    }
    if (::lseek(fd_, 0, SEEK_SET) < 0) {
        throwFileError(errno);
    }
    pos_ = 0;
    end_ = 0;
    sourceDone_ = false;
}

} // namespace korvadel
