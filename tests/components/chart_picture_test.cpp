// SPDX-License-Identifier: GPL-3.0-or-later
// The rating chart's picture files, made from a chart as the rating window holds it: size,
// content, title lines, failures, and the chart left as it was.

#include "components/chart/Chart.h"
#include "components/chart/ChartPicture.h"
#include "components/wmf/WmfPaintDevice.h"
#include "model/Error.h"
#include "model/RatingTable.h"
#include "tests/support/WmfTestSupport.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include <fstream>

using namespace korvadel;

namespace {

struct RatingChart {
    RatingTable rating;
    Chart chart;
    RatingChart() {
        for (int i = 0; i <= 100; i += 10)
            rating.appendRow(i * 0.01, 4.0 * i * 0.01 + 0.5 * i * i * 1e-4);
        chart.resize(451, 365);
        chart.setTitleLines({QStringLiteral("Stage Area Rating"), QString()});
        chart.setAxisTitles(QStringLiteral("Area"), QStringLiteral("Stage"));
        chart.bindLineSeries(rating);
    }
};

struct ChartSnapshot {
    QStringList titles;
    QCPRange x, y;
    int points;
    QSize size;
    bool operator==(const ChartSnapshot&) const = default;
};

ChartSnapshot snapshot(const Chart& chart) {
    return {chart.titleLines(), chart.xAxis->range(), chart.yAxis->range(),
            chart.seriesGraph()->dataCount(), chart.size()};
}

std::string readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll().toStdString();
}

std::string local(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

class ChartPictureTest : public QObject {
    Q_OBJECT
private slots:
    void jpegShowsTheChartAtItsClientSize();
    void metafileCarriesTheTitleLinesAndTheBox();
    void uncreatableFilesAreReportedAndChangeNothing_data();
    void uncreatableFilesAreReportedAndChangeNothing();
};

void ChartPictureTest::jpegShowsTheChartAtItsClientSize() {
    RatingChart r;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("chart.jpg"));
    const ChartSnapshot before = snapshot(r.chart);
    saveChartJpeg(r.chart, local(path));
    QVERIFY(snapshot(r.chart) == before);

    QImage decoded(path, "JPG");
    QCOMPARE(decoded.size(), r.chart.clientSize());
    // The decoded picture is the chart as drawn, within JPEG's loss.
    const QImage drawn = chartPicture(r.chart).convertToFormat(QImage::Format_RGB32);
    decoded = decoded.convertToFormat(QImage::Format_RGB32);
    double difference = 0;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x) {
            const QRgb a = drawn.pixel(x, y), b = decoded.pixel(x, y);
            difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                          std::abs(qBlue(a) - qBlue(b));
        }
    QVERIFY2(difference / (drawn.width() * drawn.height() * 3) < 4.0,
             qPrintable(QString::number(difference)));
    // The background is the button face; the plot area is white; the line is there.
    QCOMPARE(QColor(drawn.pixel(2, 2)).rgb(), r.chart.palette().color(QPalette::Button).rgb());
    bool lineColour = false;
    for (int y = 0; y < drawn.height() && !lineColour; ++y)
        for (int x = 0; x < drawn.width() && !lineColour; ++x)
            lineColour = drawn.pixel(x, y) == qRgb(222, 71, 33);
    QVERIFY(lineColour);

    // A larger chart gives a larger picture; the same chart twice gives the same size.
    r.chart.resize(600, 420);
    saveChartJpeg(r.chart, local(path));
    QCOMPARE(QImage(path, "JPG").size(), QSize(600, 420));
    saveChartJpeg(r.chart, local(path));
    QCOMPARE(QImage(path, "JPG").size(), QSize(600, 420));
}

void ChartPictureTest::metafileCarriesTheTitleLinesAndTheBox() {
    RatingChart r;
    r.chart.setTitleLines({QStringLiteral("Bear Creek"), QStringLiteral("Stage Area Rating")});
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("chart.wmf"));
    const ChartSnapshot before = snapshot(r.chart);
    // 1366 x 768 pixels over 344 x 194 mm: 451 x 365 pixels make a box of 429 x 348.
    saveChartMetafile(r.chart, local(path), ScreenReference{344, 194, 1366, 768, 96, 96});
    QVERIFY(snapshot(r.chart) == before);

    const auto file = korvadel::testing::parseWmf(readAll(path));
    QCOMPARE(QString::fromStdString(file.problem), QString());
    QCOMPARE(file.right, 429);
    QCOMPARE(file.bottom, 348);
    QCOMPARE(file.checksum, file.computedChecksum);
    const auto texts = file.texts();
    for (const char* wanted : {"Bear Creek", "Stage Area Rating", "Area", "Stage"})
        QVERIFY2(std::find(texts.begin(), texts.end(), wanted) != texts.end(), wanted);
    // The window is the picture in pixels.
    for (const auto& record : file.records)
        if (record.function == 0x020C)
            QCOMPARE(record.parameters, (std::vector<std::uint16_t>{365, 451}));
}

void ChartPictureTest::uncreatableFilesAreReportedAndChangeNothing_data() {
    QTest::addColumn<bool>("jpeg");
    QTest::newRow("jpeg") << true;
    QTest::newRow("metafile") << false;
}

void ChartPictureTest::uncreatableFilesAreReportedAndChangeNothing() {
    QFETCH(bool, jpeg);
    RatingChart r;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("missing/chart.pic"));
    const ChartSnapshot before = snapshot(r.chart);
    try {
        if (jpeg)
            saveChartJpeg(r.chart, local(path));
        else
            saveChartMetafile(r.chart, local(path), ScreenReference{});
        QFAIL("no error");
    } catch (const Error& error) {
        QCOMPARE(QString::fromStdString(error.what()),
                 QStringLiteral("Cannot create file \"%1\". No such file or directory").arg(path));
    }
    QVERIFY(snapshot(r.chart) == before);

    // A file that was there survives a failed replacement: a folder in its place cannot be
    // written, and the existing neighbour is untouched.
    const QString existing = folder.filePath(QStringLiteral("old.pic"));
    std::ofstream(local(existing)) << "old";
    QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("taken.pic")));
    QVERIFY_THROWS_EXCEPTION(
        Error, jpeg
                   ? saveChartJpeg(r.chart, local(folder.filePath(QStringLiteral("taken.pic"))))
                   : saveChartMetafile(r.chart, local(folder.filePath(QStringLiteral("taken.pic"))),
                                       ScreenReference{}));
    QCOMPARE(readAll(existing), std::string("old"));
}

QTEST_MAIN(ChartPictureTest)
#include "chart_picture_test.moc"
