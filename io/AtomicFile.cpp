// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/AtomicFile.h"

#include "io/FileError.h"
#include "model/Error.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace korvadel {
namespace {

std::string fullPath(const std::string& path) {
    std::error_code error;
    const auto absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

// A symbolic link is written through, as opening it would: the file it points to is replaced
// and the link stays.
std::string resolveLinks(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return path;
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr)
        return path; // a dangling link is replaced itself
    return resolved;
}

std::string uniqueSuffix() {
    static std::atomic<unsigned> counter{0};
    const auto now = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    const unsigned long long mix = now ^ (static_cast<unsigned long long>(::getpid()) << 32) ^
                                   (counter.fetch_add(1) * 0x9E3779B97F4A7C15ull);
    char text[24];
    std::snprintf(text, sizeof text, "%012llx", mix & 0xFFFFFFFFFFFFull);
    return text;
}

} // namespace

AtomicFile::AtomicFile(std::string path, CreateErrors errors)
    : path_(std::move(path)), errors_(errors) {
    if (path_.empty())
        fail(ENOENT, true);
    target_ = resolveLinks(path_);

    struct stat info {};
    mode_t keepMode = 0;
    bool exists = false;
    if (::stat(target_.c_str(), &info) == 0) {
        exists = true;
        if (S_ISDIR(info.st_mode))
            fail(EISDIR, true);
        if (!S_ISREG(info.st_mode)) {
            direct_ = true;
            fd_ = ::open(target_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
            if (fd_ < 0)
                fail(errno, true);
            buffer_.reserve(kBlockSize);
            return;
        }
        // Renaming only needs the folder to be writable, so a read-only file would be replaced
        // silently. Asking the system to open it for writing (without truncating) applies
        // exactly the rules a direct write would meet.
        const int probe = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
        if (probe < 0)
            fail(errno, true);
        ::close(probe);
        keepMode = info.st_mode & 07777;
    } else if (errno != ENOENT) {
        fail(errno, true);
    }

    const std::filesystem::path targetPath(target_);
    std::string folder = targetPath.parent_path().string();
    std::string name = targetPath.filename().string();
    // The temporary name must stay a valid name even when the target's name is at the limit.
    if (name.size() > 200)
        name.resize(200);
    const std::string prefix = (folder.empty() ? std::string() : folder + "/") + "." + name + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = prefix + uniqueSuffix() + ".tmp";
        fd_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            tempPath_ = std::move(candidate);
            break;
        }
        if (errno != EEXIST)
            fail(errno, true);
    }
    if (fd_ < 0)
        fail(EEXIST, true);
    if (exists) {
        // The replacement keeps the permissions and, where allowed, the owner of the old file.
        if (info.st_uid != ::geteuid() || info.st_gid != ::getegid()) {
            // Where the change is refused the file keeps the writer's owner, as a new one would.
            [[maybe_unused]] const int refused = ::fchown(fd_, info.st_uid, info.st_gid);
        }
        (void)::fchmod(fd_, keepMode);
    }
    buffer_.reserve(kBlockSize);
}

AtomicFile::~AtomicFile() {
    if (!committed_)
        discard();
}

void AtomicFile::discard() noexcept {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!tempPath_.empty()) {
        ::unlink(tempPath_.c_str());
        tempPath_.clear();
    }
}

void AtomicFile::fail(int errorCode, bool creating) {
    discard();
    failed_ = true;
    if (creating && errors_ == CreateErrors::CannotCreate)
        throw Error(cannotCreateMessage(fullPath(path_), errorCode));
    // Creating a file can only meet "no such file" when its folder is missing, which is a name
    // that cannot be used rather than a file that is not there.
    if (creating && errorCode == ENOENT)
        errorCode = ENOTDIR;
    throwFileError(errorCode);
}

void AtomicFile::writeAll(const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd_, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            fail(errno, false);
        }
        if (written == 0)
            fail(ENOSPC, false);
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

void AtomicFile::flush() {
    if (!buffer_.empty()) {
        writeAll(buffer_.data(), buffer_.size());
        buffer_.clear();
    }
}

void AtomicFile::write(const void* data, std::size_t size) {
    if (failed_ || committed_ || fd_ < 0)
        throw Error("I/O error " + std::to_string(EBADF));
    const char* bytes = static_cast<const char*>(data);
    if (buffer_.size() + size < kBlockSize) {
        buffer_.append(bytes, size);
        return;
    }
    flush();
    if (size >= kBlockSize)
        writeAll(bytes, size);
    else
        buffer_.append(bytes, size);
}

void AtomicFile::commit() {
    if (failed_ || committed_ || fd_ < 0)
        throw Error("I/O error " + std::to_string(EBADF));
    flush();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR)
        fail(errno, false);
    if (!direct_) {
        if (::rename(tempPath_.c_str(), target_.c_str()) != 0)
            fail(errno, false);
        tempPath_.clear();
    }
    committed_ = true;
}

void writeFileAtomically(const std::string& path, const std::string& bytes,
                         AtomicFile::CreateErrors errors) {
    AtomicFile file(path, errors);
    file.write(bytes);
    file.commit();
}

} // namespace korvadel
