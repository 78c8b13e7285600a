#pragma once

#include <cstddef>
#include <string>

namespace korvadel {

// Writes a file so that a failure never destroys what was there: the bytes go to a temporary
// file in the same folder, which replaces the target only after it was completely written and
// closed. On any failure the temporary file is removed and an Error is thrown:
// "Cannot create file ..." when the file cannot be created, the file error text otherwise.
class AtomicFile {
public:
    explicit AtomicFile(std::string path);
    ~AtomicFile(); // removes the temporary file unless commit() succeeded
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void write(const void* data, std::size_t size);
    void write(const std::string& bytes) { write(bytes.data(), bytes.size()); }
    void commit();

    const std::string& path() const { return path_; }

private:
    void flush();
    std::string path_;
    std::string tempPath_;
    int fd_ = -1;
    std::string buffer_;
    bool committed_ = false;
};

// Convenience: the whole file in one call.
void writeFileAtomically(const std::string& path, const std::string& bytes);

} // namespace korvadel
