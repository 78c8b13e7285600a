// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

namespace korvadel {

// Writes a file so that a failure never destroys what was there: the bytes go to a temporary
// file in the same folder, which replaces the target only after it was completely written and
// closed. On any failure the temporary file is removed and an Error is thrown. The target must be
// writable by the same rules the system applies to opening it for writing: a read-only file or
// a folder in its place fails at construction, before anything is created.
//
// A target that exists but is not a regular file (a device such as /dev/null, a pipe) cannot be
// replaced; it is opened and written directly.
class AtomicFile {
public:
    // How a failure to create the file is reported. Write, close and replace failures always
    // give the file error text ("Disk full", ...).
    enum class CreateErrors {
        CannotCreate, // "Cannot create file "<full path>". <system text>" (the exports)
        FileError     // the file error text, e.g. "File access denied" (the cross-section save)
    };

    explicit AtomicFile(std::string path, CreateErrors errors = CreateErrors::CannotCreate);
    ~AtomicFile(); // removes the temporary file unless commit() succeeded
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void write(const void* data, std::size_t size);
    void write(const std::string& bytes) { write(bytes.data(), bytes.size()); }
    void commit();

    const std::string& path() const { return path_; }

    // Writes are gathered into blocks of this size before they reach the system.
    static constexpr std::size_t kBlockSize = std::size_t{1} << 20;

private:
    void flush();
    void writeAll(const char* data, std::size_t size);
    [[noreturn]] void fail(int errorCode, bool creating);
    void discard() noexcept;

    std::string path_;
    std::string target_; // path_ with symbolic links resolved: the file actually replaced
    std::string tempPath_;
    int fd_ = -1;
    std::string buffer_;
    CreateErrors errors_;
    bool direct_ = false;
    bool failed_ = false;
    bool committed_ = false;
};

// Convenience: the whole file in one call.
void writeFileAtomically(const std::string& path, const std::string& bytes,
                         AtomicFile::CreateErrors errors = AtomicFile::CreateErrors::CannotCreate);

} // namespace korvadel
