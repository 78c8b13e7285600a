// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Ways to make a write fail that stop root as well: a read-only bind mount and an immutable file.
// Each undoes itself when it goes; each reports whether it could be arranged (it needs root).

#include <filesystem>
#include <string>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace korvadel::testing {

// A read-only bind mount stops root too.
class ReadOnlyMount {
public:
    ReadOnlyMount(const std::string& source, const std::string& target) : target_(target) {
        std::filesystem::create_directories(target);
        if (::mount(source.c_str(), target.c_str(), nullptr, MS_BIND, nullptr) != 0) {
            return;
        }
        mounted_ = true;
        readOnly_ = ::mount(nullptr, target.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                            nullptr) == 0;
    }
    ~ReadOnlyMount() {
        if (mounted_) {
            ::umount2(target_.c_str(), MNT_DETACH);
        }
    }
    ReadOnlyMount(const ReadOnlyMount&) = delete;
    ReadOnlyMount& operator=(const ReadOnlyMount&) = delete;
    bool readOnly() const { return readOnly_; }

private:
    std::string target_;
    bool mounted_ = false;
    bool readOnly_ = false;
};

// An immutable file cannot be written, renamed over or removed, by root either.
class Immutable {
public:
    explicit Immutable(const std::string& path) : path_(path) { set_ = change(true); }
    ~Immutable() {
        if (set_) {
            change(false);
        }
    }
    Immutable(const Immutable&) = delete;
    Immutable& operator=(const Immutable&) = delete;
    bool set() const { return set_; }

private:
    bool change(bool on) {
        const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            return false;
        }
        int flags = 0;
        bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (ok) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return ok;
    }
    std::string path_;
    bool set_ = false;
};

} // namespace korvadel::testing
