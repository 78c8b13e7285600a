// SPDX-License-Identifier: GPL-3.0-or-later
// korvadel-cli report: the batch road to the printed rating table report.

#include "tests/support/CliRun.h"
#include "tests/support/PdfText.h"
#include "tests/support/WriteTestSupport.h"

#include <QJsonDocument>
#include <QJsonObject>
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
    void velocityRatingReportHoldsTheEquationAndEveryMeasurement();

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

// The index-velocity report: the equation on its first page as the JSON gives it, and every
// measurement of a list that runs over several pages, each page of the table under its heading.
void ReportCliTest::velocityRatingReportHoldsTheEquationAndEveryMeasurement() {
    const QString section = QStringLiteral(KORVADEL_EXAMPLES "/harlan-canal.kvd");
    QFile example(QStringLiteral(KORVADEL_EXAMPLES "/harlan-canal-measurements.csv"));
    QVERIFY(example.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = example.readAll().trimmed().split('\n');
    // 5 x 24 measurements: the example's, numbered 1001 on.
    QByteArray many = lines[0] + '\n';
    int number = 1001;
    for (int copy = 0; copy < 5; ++copy)
        for (qsizetype i = 1; i < lines.size(); ++i)
            many += QByteArray::number(number++) + lines[i].mid(lines[i].indexOf(',')) + '\n';
    const QString measurements = filePath("many.csv");
    testing::writeAllTo(folder_.file("many.csv"), many.toStdString());

    const QString pdf = filePath("velocity.pdf");
    const Run run =
        runCli({QStringLiteral("velocity-rating"), section, measurements, QStringLiteral("--model"),
                QStringLiteral("stage"), QStringLiteral("--format"), QStringLiteral("pdf"),
                QStringLiteral("-o"), pdf});
    QCOMPARE(run.exitCode, 0);
    const testing::CliRun json = testing::runCli(folder_, {"velocity-rating", section.toStdString(),
                                                           measurements.toStdString(), "--model",
                                                           "stage", "--format", "json"});
    const QString equation = QJsonDocument::fromJson(QByteArray::fromStdString(json.out))
                                 .object()[QStringLiteral("equation")]
                                 .toString();
    QVERIFY(equation.startsWith(QStringLiteral("V = ")));

    const PdfPages pages = readPdfWords(pdf);
    QVERIFY(pages.size() >= 4); // 120 rows over three pages and more, then the plots
    QStringList first;
    for (const PdfWord& word : pages[0])
        first << word.text;
    QVERIFY2(first.join(u' ').contains(equation), qPrintable(first.join(u' ')));
    QVERIFY(first.join(u' ').contains(QStringLiteral("in ft/s")));
    // Each number once, in the table's first column; the heading on every page it runs onto.
    QMap<QString, int> seen;
    int tablePages = 0;
    for (const QList<PdfWord>& page : pages) {
        bool rows = false;
        for (const PdfWord& word : page)
            if (std::abs(word.xMm - 15.0) < 1.0 && word.text.size() == 4 &&
                word.text.startsWith(u'1')) {
                ++seen[word.text];
                rows = true;
            }
        if (rows) {
            ++tablePages;
            QVERIFY(!wordsNamed(page, QStringLiteral("Residual")).isEmpty());
        }
    }
    QCOMPARE(seen.size(), 120);
    for (auto it = seen.cbegin(); it != seen.cend(); ++it)
        QCOMPARE(it.value(), 1);
    QVERIFY(tablePages >= 3);
}

QTEST_MAIN(ReportCliTest)
#include "report_cli_test.moc"
