// SPDX-License-Identifier: GPL-3.0-or-later
// Every writer against every way a write can fail: a missing folder, a read-only folder, a
// read-only target and a disk that fills part-way through. Whatever happens, the message is the
// one the user is meant to see, the file that was there is untouched and no temporary file is
// left in the folder.
//
// Root ignores permission bits, and the tests run as root in CI, so each read-only case is met
// in a way that also stops root where it can be arranged (an immutable file, a read-only bind
// mount), besides the ordinary permission bits checked as an ordinary user.

#include "io/AtomicFile.h"
#include "io/CrossSectionFile.h"
#include "io/JpegWriter.h"
#include "io/RatingExport.h"
#include "io/WmfWriter.h"
#include "model/CrossSectionDocument.h"
#include "model/Error.h"
#include "model/RatingTable.h"
#include "tests/support/FaultInjection.h"
#include "tests/support/ReadTestSupport.h"
#include "tests/support/WriteTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace korvadel {
namespace {

using testing::AsOrdinaryUser;
using testing::errorOf;
using testing::Immutable;
using testing::readAll;
using testing::ReadOnlyMount;
using testing::ScratchFolder;
using testing::writeAllTo;

// Each writer writes well over 64 KiB, so a small file system fills before it is done.
struct Writer {
    const char* name;
    bool fileErrorTexts; // the save shows the plain file error; exports and images "Cannot create"
    std::function<void(const std::string& path)> write;
};

const CrossSectionDocument& bigDocument() {
    static CrossSectionDocument document = [] {
        CrossSectionDocument d;
        d.description = "Write fault test";
        for (int i = 0; i < 20000; ++i) {
            d.points.appendRow(i * 0.25, 100.0 - (i % 97) * 0.125);
        }
        return d;
    }();
    return document;
}

const RatingTable& bigRating() {
    static RatingTable rating = [] {
        RatingTable r;
        for (int i = 0; i < 20000; ++i) {
            r.appendRow(10.0 + i * 0.01, i * 1.37);
        }
        return r;
    }();
    return rating;
}

// Noise compresses badly: a few hundred KiB of JPEG.
const std::vector<unsigned char>& noisyPixels() {
    static std::vector<unsigned char> pixels = [] {
        std::vector<unsigned char> p(400 * 300 * 3);
        std::mt19937 random(5);
        for (unsigned char& c : p) {
            c = static_cast<unsigned char>(random());
        }
        return p;
    }();
    return pixels;
}

std::vector<Writer> writers() {
    return {
        {"cross-section save", true,
         [](const std::string& path) {
             CrossSectionDocument document;
             document.description = bigDocument().description;
             for (std::size_t i = 0; i < bigDocument().points.rowCount(); ++i) {
                 document.points.appendRow(bigDocument().points.stationAt(i),
                                           bigDocument().points.elevationAt(i));
             }
             saveCrossSection(path, document);
         }},
        {"comma-delimited export", false,
         [](const std::string& path) { exportRatingCsv(path, bigRating()); }},
        {"HTML export", false,
         [](const std::string& path) { exportRatingHtml(path, bigRating()); }},
        {"worksheet export", false,
         [](const std::string& path) { exportRatingXls(path, bigRating()); }},
        {"JPEG picture", false,
         [](const std::string& path) {
             // The command creates the file before it draws the picture.
             AtomicFile file(path);
             RgbPicture picture{noisyPixels().data(), 400, 300, 400 * 3};
             JpegWriter::write(file, picture);
         }},
        {"metafile picture", false,
         [](const std::string& path) {
             WmfWriter metafile;
             metafile.setMapMode(WmfWriter::kMapModeAnisotropic);
             metafile.setWindowExt(4000, 3000);
             std::vector<WmfWriter::Point> line;
             for (int i = 0; i < 8000; ++i) {
                 line.push_back({static_cast<std::int16_t>(i % 4000),
                                 static_cast<std::int16_t>((i * 7) % 3000)});
             }
             for (int i = 0; i < 4; ++i) {
                 metafile.polyline(line);
             }
             AtomicFile file(path);
             metafile.write(file, WmfWriter::placeableBox(400, 300, 320, 240, 1280, 960));
         }},
    };
}

// The message a writer gives for a creation failure with the system's `cause`, and the file
// error text the save gives for it.
std::string createMessage(const Writer& writer, const std::string& path, const char* cause,
                          const char* fileError) {
    return writer.fileErrorTexts ? std::string(fileError)
                                 : "Cannot create file \"" + path + "\". " + cause;
}

// Writes with every writer into `path` and checks the message, that the old contents (if any)
// survive and that the folder holds exactly what it held before.
void expectEveryWriterFails(
    const std::string& path, const std::string& folderName, const ScratchFolder& folder,
    const char* cause, const char* fileError,
    const std::function<void(const std::function<void()>&)>& as =
        [](const std::function<void()>& f) { f(); }) {
    const bool existed = std::filesystem::exists(path);
    const std::string old = existed ? readAll(path) : std::string();
    const auto before = folder.names(folderName);
    for (const Writer& writer : writers()) {
        SCOPED_TRACE(writer.name);
        std::string message;
        as([&] { message = errorOf([&] { writer.write(path); }); });
        EXPECT_EQ(message, createMessage(writer, path, cause, fileError));
        if (existed) {
            EXPECT_EQ(readAll(path), old);
        }
        EXPECT_EQ(folder.names(folderName), before);
    }
}

TEST(WriteFaults, EveryWriterSucceedsWhereNothingGetsInTheWay) {
    ScratchFolder folder;
    for (const Writer& writer : writers()) {
        SCOPED_TRACE(writer.name);
        const std::string path = folder.file("out");
        writeAllTo(path, "old");
        EXPECT_EQ(errorOf([&] { writer.write(path); }), "");
        EXPECT_GT(readAll(path).size(), 64u * 1024);
        EXPECT_EQ(folder.names(), std::vector<std::string>{"out"});
    }
}

TEST(WriteFaults, MissingFolder) {
    ScratchFolder folder;
    expectEveryWriterFails(folder.file("no such folder/out"), "", folder,
                           "No such file or directory", "Invalid filename");
}

TEST(WriteFaults, ReadOnlyFolderForAnOrdinaryUser) {
    ScratchFolder folder;
    std::filesystem::create_directory(folder.path() / "ro");
    const std::string existing = folder.file("ro/old");
    writeAllTo(existing, "old contents");
    ::chmod(existing.c_str(), 0666);
    ::chmod((folder.path() / "ro").c_str(), 0555);
    {
        AsOrdinaryUser probe;
        if (!probe.enforced()) {
            GTEST_SKIP() << "permissions are not enforced for this user";
        }
    }
    const auto asUser = [](const std::function<void()>& f) {
        AsOrdinaryUser user;
        f();
    };
    expectEveryWriterFails(folder.file("ro/new"), "ro", folder, "Permission denied",
                           "File access denied", asUser);
    // A writable file in a read-only folder: writing it in place would work, but replacing it
    // safely needs the folder; it is refused and stays as it was.
    expectEveryWriterFails(existing, "ro", folder, "Permission denied", "File access denied",
                           asUser);
}

TEST(WriteFaults, ReadOnlyFileSystem) {
    ScratchFolder folder;
    std::filesystem::create_directory(folder.path() / "data");
    writeAllTo(folder.file("data/old"), "old contents");
    ReadOnlyMount mount(folder.file("data"), folder.file("ro"));
    if (!mount.readOnly()) {
        GTEST_SKIP() << "cannot make a read-only bind mount here (needs root)";
    }
    expectEveryWriterFails(folder.file("ro/new"), "ro", folder, "Read-only file system",
                           "File access denied");
    expectEveryWriterFails(folder.file("ro/old"), "ro", folder, "Read-only file system",
                           "File access denied");
}

TEST(WriteFaults, ReadOnlyTargetForAnOrdinaryUser) {
    ScratchFolder folder;
    const std::string path = folder.file("locked");
    writeAllTo(path, "old contents");
    ::chmod(path.c_str(), 0444);
    {
        AsOrdinaryUser probe;
        if (!probe.enforced()) {
            GTEST_SKIP() << "permissions are not enforced for this user";
        }
    }
    expectEveryWriterFails(path, "", folder, "Permission denied", "File access denied",
                           [](const std::function<void()>& f) {
                               AsOrdinaryUser user;
                               f();
                           });
}

TEST(WriteFaults, ImmutableTarget) {
    ScratchFolder folder;
    const std::string path = folder.file("locked");
    writeAllTo(path, "old contents");
    Immutable immutable(path);
    if (!immutable.set()) {
        GTEST_SKIP() << "cannot mark a file immutable here (needs root and a file system with "
                        "the attribute)";
    }
    expectEveryWriterFails(path, "", folder, "Operation not permitted", "File access denied");
}

TEST(WriteFaults, DiskFillsPartWay) {
    ScratchFolder folder;
    if (!folder.mountTiny("tiny", 64 * 1024)) {
        GTEST_SKIP() << "cannot mount a small file system here (needs root)";
    }
    const std::string path = folder.file("tiny/out");
    writeAllTo(path, "old contents");
    for (const Writer& writer : writers()) {
        SCOPED_TRACE(writer.name);
        EXPECT_EQ(errorOf([&] { writer.write(path); }), "Disk full");
        EXPECT_EQ(readAll(path), "old contents");
        EXPECT_EQ(folder.names("tiny"), std::vector<std::string>{"out"});
    }
    // The space the failed writes took is free again: a small file still fits.
    writeAllTo(folder.file("tiny/small"), std::string(32 * 1024, 's'));
    EXPECT_EQ(readAll(folder.file("tiny/small")).size(), 32u * 1024);
}

} // namespace
} // namespace korvadel
