// SPDX-License-Identifier: GPL-3.0-or-later
// korvadel-cli report: the batch road to the printed rating table report.

#include "tests/support/CliRun.h"
#include "tests/support/PdfText.h"
#include "tests/support/WriteTestSupport.h"

#include <QtTest>

#include <cmath>

using namespace korvadel;

namespace {

struct Run {
    int exitCode = -1;
    QString err;
};

const QString kSection = QStringLiteral(KORVADEL_EXAMPLES "/mill-creek.kvd");

} // namespace

class ReportCliTest : public QObject {
    Q_OBJECT

private slots:
    void descriptionFromFileAndSettings();
    void descriptionOptionAndLongRating();
    void refusals();

private:
    QString filePath(const char* name) const { return QString::fromStdString(folder_.file(name)); }
    Run runCli(const QStringList& args) const {
        std::vector<std::string> arguments;
        for (const QString& arg : args)
            arguments.push_back(arg.toStdString());
        const testing::CliRun run = testing::runCli(folder_, arguments);
        return {run.status, QString::fromStdString(run.err)};
    }

    testing::ScratchFolder folder_;
};

void ReportCliTest::descriptionFromFileAndSettings() {
    // The example's own settings: 0.5 to 6 by 0.1, 56 stages, all on page 1.
    const QString pdf = filePath("mill.pdf");
    const Run run = runCli({QStringLiteral("report"), kSection, QStringLiteral("-o"), pdf});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QString()); // nothing but the program's own messages, and none here
    const PdfPages pages = readPdfWords(pdf);
    QCOMPARE(pages.size(), 1);
    QVERIFY(!wordsNamed(pages[0], QStringLiteral("Mill")).isEmpty());
    QVERIFY(!wordsNamed(pages[0], QStringLiteral("Rating")).isEmpty());
    // First column: header "Stage" at 25.4 mm, then 48 rows starting at stage 0.5; the second
    // column starts at row 49 (stage 5.3).
    const QList<PdfWord> first = wordsNamed(pages[0], QStringLiteral("0.5"));
    QVERIFY(!first.isEmpty());
    QVERIFY(std::abs(first[0].xMm - 25.4) < 0.4);
    const QList<PdfWord> second = wordsNamed(pages[0], QStringLiteral("5.3"));
    QVERIFY(!second.isEmpty());
    QVERIFY(std::abs(second[0].xMm - (25.4 + 63.5)) < 0.4);
    QCOMPARE(wordsNamed(pages[0], QStringLiteral("Stage")).size(), 3); // two headers + title
}

void ReportCliTest::descriptionOptionAndLongRating() {
    // 0.5 to 6 by 0.01: 551 stages = 144 + 150 + 150 + 107, four pages.
    const QString pdf = filePath("long.pdf");
    const Run run = runCli({QStringLiteral("report"), kSection, QStringLiteral("--increment"),
                            QStringLiteral("0.01"), QStringLiteral("--description"),
                            QStringLiteral("Special run"), QStringLiteral("-o"), pdf});
    QCOMPARE(run.exitCode, 0);
    const PdfPages pages = readPdfWords(pdf);
    QCOMPARE(pages.size(), 4);
    QVERIFY(!wordsNamed(pages[0], QStringLiteral("Special")).isEmpty());
    QVERIFY(wordsNamed(pages[0], QStringLiteral("Mill")).isEmpty());
    for (int p = 1; p < 4; ++p) {
        QVERIFY(wordsNamed(pages[p], QStringLiteral("Rating")).isEmpty());
        QCOMPARE(wordsNamed(pages[p], QStringLiteral("Stage")).size(), 3);
    }
}

void ReportCliTest::refusals() {
    Run run = runCli({QStringLiteral("report"), kSection});
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.err.contains(QStringLiteral("-o")));
    const QString missing = filePath("no-such.kvd");
    run = runCli({QStringLiteral("report"), missing, QStringLiteral("-o"), filePath("x.pdf")});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(!QFile::exists(filePath("x.pdf")));
    run = runCli({QStringLiteral("report"), kSection, QStringLiteral("-o"),
                  filePath("no-such-folder/x.pdf")});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(QStringLiteral("Cannot create file")), qPrintable(run.err));
}

QTEST_MAIN(ReportCliTest)
#include "report_cli_test.moc"
