// SPDX-License-Identifier: GPL-3.0-or-later
// The report preview's two files (the report file and the PDF) against the write faults every
// other writer meets: a missing folder, a read-only file system, an immutable target and a disk
// that fills part-way. The message names the file, the old file stays and nothing is left over.

#include "components/report/BandedReport.h"
#include "model/Error.h"
#include "tests/support/ErrorMessage.h"
#include "tests/support/FaultInjection.h"
#include "tests/support/WriteTestSupport.h"

#include <QtTest>

#include <functional>
#include <string>

using namespace korvadel;
using namespace korvadel::testing;

namespace {

// Enough pages and texts that both files are well over 64 KiB.
ReportDocument bigReport() {
    ReportDocument document;
    document.name = QStringLiteral("Write fault report");
    for (int p = 0; p < 100; ++p) {
        ReportPage page;
        for (int i = 0; i < 60; ++i) {
            page.items.push_back({QRectF(10 + (i % 3) * 60, 10 + (i / 3) * 12, 50, 10), false,
                                  QStringLiteral("%1 %2 stage %3").arg(p).arg(i).arg(p * 1.37)});
        }
        document.pages.push_back(page);
    }
    return document;
}

struct ReportWriter {
    const char* name;
    std::function<void(const QString&)> write;
};

std::vector<ReportWriter> reportWriters() {
    return {
        {"report file", [](const QString& path) { saveReport(bigReport(), path); }},
        {"PDF", [](const QString& path) { writeReportPdf(bigReport(), path); }},
    };
}

} // namespace

class ReportWriteFaultsTest : public QObject {
    Q_OBJECT

    // Every writer into `path` fails with a "Cannot create file" message naming it, the old file
    // (if any) survives and the folder holds what it held before.
    void expectFailure(const ScratchFolder& folder, const std::string& sub, const std::string& path,
                       bool diskFull = false) {
        const bool existed = std::filesystem::exists(path);
        const std::string old = existed ? readAll(path) : std::string();
        const auto before = folder.names(sub);
        for (const ReportWriter& writer : reportWriters()) {
            const std::string message =
                messageOf([&] { writer.write(QString::fromStdString(path)); });
            const std::string prefix = "Cannot create file \"" + path + "\".";
            QVERIFY2(message.rfind(prefix, 0) == 0,
                     (std::string(writer.name) + ": " + message).c_str());
            // The error box adds the final full stop; the cause must be there and not end in one.
            QVERIFY2(message.size() > prefix.size() + 1 && message.back() != '.',
                     (std::string(writer.name) + ": " + message).c_str());
            if (diskFull)
                QVERIFY2(message.find("space") != std::string::npos ||
                             message.find("full") != std::string::npos,
                         (std::string(writer.name) + ": " + message).c_str());
            if (existed)
                QCOMPARE(readAll(path), old);
            QCOMPARE(folder.names(sub), before);
        }
    }

private slots:
    void writesWhereNothingGetsInTheWay() {
        ScratchFolder folder;
        for (const ReportWriter& writer : reportWriters()) {
            const std::string path = folder.file("report");
            writeAllTo(path, "old");
            QCOMPARE(messageOf([&] { writer.write(QString::fromStdString(path)); }),
                     std::string(kNoError));
            QVERIFY(readAll(path).size() > 64 * 1024);
            QCOMPARE(folder.names(), std::vector<std::string>{"report"});
        }
    }

    void missingFolder() {
        ScratchFolder folder;
        expectFailure(folder, "", folder.file("no such folder/report"));
    }

    void readOnlyFileSystem() {
        ScratchFolder folder;
        std::filesystem::create_directory(folder.path() / "data");
        writeAllTo(folder.file("data/old"), "old contents");
        ReadOnlyMount mount(folder.file("data"), folder.file("ro"));
        if (!mount.readOnly())
            QSKIP("cannot make a read-only bind mount here (needs root)");
        expectFailure(folder, "ro", folder.file("ro/new"));
        expectFailure(folder, "ro", folder.file("ro/old"));
    }

    void immutableTarget() {
        ScratchFolder folder;
        const std::string path = folder.file("locked");
        writeAllTo(path, "old contents");
        Immutable immutable(path);
        if (!immutable.set())
            QSKIP("cannot mark a file immutable here (needs root and a file system with the "
                  "attribute)");
        expectFailure(folder, "", path);
    }

    void diskFillsPartWay() {
        ScratchFolder folder;
        if (!folder.mountTiny("tiny", 64 * 1024))
            QSKIP("cannot mount a small file system here (needs root)");
        const std::string path = folder.file("tiny/report");
        writeAllTo(path, "old contents");
        expectFailure(folder, "tiny", path, true);
    }
};

QTEST_MAIN(ReportWriteFaultsTest)
#include "report_write_faults_test.moc"
