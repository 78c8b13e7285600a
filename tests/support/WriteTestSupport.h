// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers for the tests of the writers: a private scratch folder, whole-file reads and a way to
// meet permission checks even when the tests run as root.

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace korvadel::testing {

class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "korvadel-write-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        path_ = pattern;
        // Open to everyone so a test that drops root privileges can still work inside it.
        ::chmod(path_.c_str(), 0777);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        for (const auto& mount : mounts_)
            ::umount2(mount.c_str(), MNT_DETACH);
        std::filesystem::permissions(path_, std::filesystem::perms::all, ignored);
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored))
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

    // Names in the folder (and below `sub`), for checking that no temporary file was left.
    std::vector<std::string> names(const std::string& sub = {}) const {
        std::vector<std::string> result;
        for (const auto& entry : std::filesystem::directory_iterator(path_ / sub))
            result.push_back(entry.path().filename().string());
        std::sort(result.begin(), result.end());
        return result;
    }

    // A small file system of `bytes` bytes mounted at `sub`; false when mounting is not allowed.
    bool mountTiny(const std::string& sub, std::size_t bytes) {
        const auto where = path_ / sub;
        std::filesystem::create_directories(where);
        const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
        if (::mount("tmpfs", where.c_str(), "tmpfs", 0, options.c_str()) != 0)
            return false;
        mounts_.push_back(where.string());
        return true;
    }

private:
    std::filesystem::path path_;
    std::vector<std::string> mounts_;
};

inline std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeAllTo(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Root ignores file permissions. While one of these lives the process acts as an ordinary user,
// so permission checks happen as they would for the person running the program.
class AsOrdinaryUser {
public:
    AsOrdinaryUser() {
        if (::geteuid() == 0 && ::setegid(65534) == 0 && ::seteuid(65534) == 0)
            dropped_ = true;
    }
    ~AsOrdinaryUser() {
        // The tests after this one would run without the rights they expect.
        if (dropped_ && (::seteuid(0) != 0 || ::setegid(0) != 0))
            std::abort();
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;

    // False when permissions cannot be enforced (root that could not drop its rights).
    bool enforced() const { return ::geteuid() != 0; }

private:
    bool dropped_ = false;
};

} // namespace korvadel::testing
