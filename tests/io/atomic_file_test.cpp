// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/AtomicFile.h"

#include "model/Error.h"
#include "tests/support/ReadTestSupport.h"
#include "tests/support/WriteTestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace korvadel {
namespace {

using testing::AsOrdinaryUser;
using testing::errorOf;
using testing::readAll;
using testing::ScratchFolder;
using testing::writeAllTo;

TEST(AtomicFile, CreatesANewFileWithExactlyTheBytesWritten) {
    ScratchFolder folder;
    const std::string path = folder.file("new.csv");
    {
        AtomicFile file(path);
        file.write("abc", 3);
        file.write(std::string("\r\n"));
        file.commit();
    }
    EXPECT_EQ(readAll(path), "abc\r\n");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"new.csv"});
}

TEST(AtomicFile, ReplacesAnExistingFileAndKeepsItsPermissionsAndOwner) {
    ScratchFolder folder;
    const std::string path = folder.file("old.csv");
    writeAllTo(path, std::string(10000, 'x'));
    ::chmod(path.c_str(), 0640);
    // Someone else's file, when we are allowed to say so.
    const bool otherOwner = ::chown(path.c_str(), 65534, 65534) == 0;
    writeFileAtomically(path, "short");
    EXPECT_EQ(readAll(path), "short");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    if (otherOwner) {
        EXPECT_EQ(info.st_uid, 65534u);
        EXPECT_EQ(info.st_gid, 65534u);
    }
    EXPECT_EQ(folder.names(), std::vector<std::string>{"old.csv"});
}

TEST(AtomicFile, LargeWritesArriveInOrder) {
    ScratchFolder folder;
    const std::string path = folder.file("big.bin");
    std::string expected;
    {
        AtomicFile file(path);
        // Pieces below, at and above the block size, so every path through the buffer is used.
        const std::size_t sizes[] = {1,
                                     AtomicFile::kBlockSize - 1,
                                     7,
                                     AtomicFile::kBlockSize,
                                     3 * AtomicFile::kBlockSize + 5,
                                     2};
        char fill = 'a';
        for (std::size_t size : sizes) {
            const std::string piece(size, fill++);
            file.write(piece);
            expected += piece;
        }
        file.commit();
    }
    EXPECT_EQ(readAll(path), expected);
}

TEST(AtomicFile, WritesThroughASymbolicLinkAndKeepsTheLink) {
    ScratchFolder folder;
    const std::string real = folder.file("real.csv");
    const std::string link = folder.file("link.csv");
    writeAllTo(real, "old");
    std::filesystem::create_symlink(real, link);
    writeFileAtomically(link, "new");
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readAll(real), "new");
}

TEST(AtomicFile, WritesDirectlyIntoADevice) {
    // A null device of our own where the system lets us make one, else the system's.
    ScratchFolder folder;
    std::string device = folder.file("null");
    if (::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) != 0)
        device = "/dev/null";
    writeFileAtomically(device, "discarded");
    struct stat info {};
    ASSERT_EQ(::stat(device.c_str(), &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode)) << "the device was replaced";
    for (const auto& entry :
         std::filesystem::directory_iterator(std::filesystem::path(device).parent_path()))
        EXPECT_FALSE(entry.path().filename().string().starts_with(".null."))
            << entry.path() << " left beside the device";
}

TEST(AtomicFile, NothingLeftWhenNotCommitted) {
    ScratchFolder folder;
    const std::string path = folder.file("kept.csv");
    writeAllTo(path, "old contents");
    {
        AtomicFile file(path);
        file.write(std::string(3 * AtomicFile::kBlockSize, 'n'));
        // abandoned, as when an exception leaves the writer
    }
    EXPECT_EQ(readAll(path), "old contents");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"kept.csv"});
}

// Creation failures: nothing may appear in the folder and an existing target stays as it was.
class AtomicFileCreateFailure : public ::testing::Test {};

TEST_F(AtomicFileCreateFailure, MissingFolder) {
    ScratchFolder folder;
    const std::string path = folder.file("missing/out.csv");
    EXPECT_EQ(errorOf([&] { writeFileAtomically(path, "x"); }),
              "Cannot create file \"" + path + "\". No such file or directory");
    EXPECT_EQ(errorOf([&] { writeFileAtomically(path, "x", AtomicFile::CreateErrors::FileError); }),
              "Invalid filename");
    EXPECT_TRUE(folder.names().empty());
}

TEST_F(AtomicFileCreateFailure, RelativePathIsReportedInFull) {
    const std::string relative = "korvadel-no-such-folder/out.csv";
    const std::string full = (std::filesystem::current_path() / relative).string();
    EXPECT_EQ(errorOf([&] { writeFileAtomically(relative, "x"); }),
              "Cannot create file \"" + full + "\". No such file or directory");
}

TEST_F(AtomicFileCreateFailure, FolderInPlaceOfTheFile) {
    ScratchFolder folder;
    std::filesystem::create_directory(folder.path() / "dir.csv");
    const std::string path = folder.file("dir.csv");
    EXPECT_EQ(errorOf([&] { writeFileAtomically(path, "x"); }),
              "Cannot create file \"" + path + "\". Is a directory");
    EXPECT_EQ(errorOf([&] { writeFileAtomically(path, "x", AtomicFile::CreateErrors::FileError); }),
              "File access denied");
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST_F(AtomicFileCreateFailure, ReadOnlyTargetIsNotReplaced) {
    ScratchFolder folder;
    const std::string path = folder.file("locked.kvd");
    writeAllTo(path, "precious");
    ::chmod(path.c_str(), 0444);
    AsOrdinaryUser user;
    if (!user.enforced())
        GTEST_SKIP() << "permissions are not enforced for this user";
    EXPECT_EQ(errorOf([&] { writeFileAtomically(path, "x", AtomicFile::CreateErrors::FileError); }),
              "File access denied");
    EXPECT_EQ(errorOf([&] { writeFileAtomically(path, "x"); }),
              "Cannot create file \"" + path + "\". Permission denied");
    EXPECT_EQ(readAll(path), "precious");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"locked.kvd"});
}

TEST_F(AtomicFileCreateFailure, ReadOnlyFolder) {
    ScratchFolder folder;
    std::filesystem::create_directory(folder.path() / "ro");
    const std::string existing = folder.file("ro/old.csv");
    writeAllTo(existing, "old");
    ::chmod(existing.c_str(), 0666);
    ::chmod((folder.path() / "ro").c_str(), 0555);
    AsOrdinaryUser user;
    if (!user.enforced())
        GTEST_SKIP() << "permissions are not enforced for this user";
    const std::string fresh = folder.file("ro/new.csv");
    EXPECT_EQ(errorOf([&] { writeFileAtomically(fresh, "x"); }),
              "Cannot create file \"" + fresh + "\". Permission denied");
    EXPECT_EQ(errorOf([&] { writeFileAtomically(existing, "x"); }),
              "Cannot create file \"" + existing + "\". Permission denied");
    EXPECT_EQ(readAll(existing), "old");
    EXPECT_EQ(folder.names("ro"), std::vector<std::string>{"old.csv"});
}

TEST(AtomicFileWriteFailure, FullDiskKeepsTheOldFileAndLeavesNoTemporaryFile) {
    ScratchFolder folder;
    if (!folder.mountTiny("tiny", 64 * 1024))
        GTEST_SKIP() << "cannot mount a small file system here";
    const std::string path = folder.file("tiny/rating.csv");
    writeAllTo(path, "old rating");
    for (auto errors :
         {AtomicFile::CreateErrors::CannotCreate, AtomicFile::CreateErrors::FileError}) {
        EXPECT_EQ(errorOf([&] {
                      AtomicFile file(path, errors);
                      for (int i = 0; i < 64; ++i)
                          file.write(std::string(16 * 1024, 'z'));
                      file.commit();
                  }),
                  "Disk full");
        EXPECT_EQ(readAll(path), "old rating");
        EXPECT_EQ(folder.names("tiny"), std::vector<std::string>{"rating.csv"});
    }
}

TEST(AtomicFileWriteFailure, UseAfterFailureIsRefused) {
    ScratchFolder folder;
    AtomicFile file(folder.file("a.csv"));
    file.write("a", 1);
    file.commit();
    EXPECT_THROW(file.write("b", 1), Error);
    EXPECT_THROW(file.commit(), Error);
    EXPECT_EQ(readAll(folder.file("a.csv")), "a");
}

} // namespace
} // namespace korvadel
