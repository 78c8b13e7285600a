// SPDX-License-Identifier: GPL-3.0-or-later
// The metafile paint device: QPainter calls come out as vector records, and a whole chart
// drawn onto it is a metafile that a real reader (libwmf's wmf2svg) understands.

#include "components/chart/Chart.h"
#include "components/wmf/WmfPaintDevice.h"
#include "model/RatingTable.h"
#include "tests/support/Tables.h"
#include "tests/support/WmfTestSupport.h"

#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <fstream>

using namespace korvadel;
using korvadel::testing::parseWmf;
using korvadel::testing::WmfFile;

namespace {

enum : std::uint16_t {
    SaveDC = 0x001E,
    RestoreDC = 0x0127,
    SelectObject = 0x012D,
    DeleteObject = 0x01F0,
    CreatePen = 0x02FA,
    CreateFont = 0x02FB,
    CreateBrush = 0x02FC,
    IntersectClip = 0x0416,
    Ellipse = 0x0418,
    Rectangle = 0x041B,
    Polygon = 0x0324,
    Polyline = 0x0325,
    ExtTextOut = 0x0A32,
    StretchDib = 0x0F43,
    SetMapMode = 0x0103,
    SetWindowExt = 0x020C
};

ScreenReference screen96() {
    return ScreenReference{508, 286, 1920, 1080, 96.0, 96.0};
}

} // namespace

class WmfPaintEngineTest : public QObject {
    Q_OBJECT
private slots:
    void plainPainterCallsBecomeRecords();
    void objectsStayValidAcrossClipChanges();
    void chartIsReadByARealMetafileReader();
};

void WmfPaintEngineTest::plainPainterCallsBecomeRecords() {
    WmfPaintDevice device(QSize(200, 100), screen96());
    {
        QPainter painter(&device);
        painter.setPen(QPen(QColor(222, 71, 33), 2, Qt::SolidLine, Qt::SquareCap));
        painter.setBrush(QBrush(QColor(169, 214, 211), Qt::BDiagPattern));
        painter.drawRect(QRectF(10, 10, 50, 30));
        painter.setBrush(Qt::black);
        painter.drawEllipse(QPointF(100, 50), 3, 3);
        const QPointF line[] = {{0, 0}, {50, 80}, {150, 20}};
        painter.drawPolyline(line, 3);
        painter.setClipRect(QRect(5, 5, 100, 60));
        painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 12));
        painter.drawText(QPointF(20, 40), QStringLiteral("Area"));
        painter.setClipping(false);
        painter.translate(30, 90);
        painter.rotate(-90);
        painter.drawText(QPointF(0, 0), QStringLiteral("Stage"));
    }
    const WmfFile file = parseWmf(device.metafile());
    QCOMPARE(QString::fromStdString(file.problem), QString());
    QCOMPARE(file.right, 200);
    QCOMPARE(file.bottom, 100);
    QCOMPARE(file.checksum, file.computedChecksum);
    QCOMPARE(file.maxRecordWords, file.largestRecordWords);

    QCOMPARE(file.records[0].function, SetMapMode);
    QCOMPARE(file.records[0].parameters.at(0), 8); // anisotropic
    QCOMPARE(file.count(StretchDib), 0u);
    QCOMPARE(file.count(Rectangle), 1u);
    QCOMPARE(file.count(Ellipse), 1u);
    QVERIFY(file.count(Polyline) >= 1);
    QCOMPARE(file.count(SaveDC), file.count(RestoreDC));
    QCOMPARE(file.count(IntersectClip), 1u);
    QCOMPARE(file.texts(), (std::vector<std::string>{"Area", "Stage"}));

    bool hatched = false, squarePen = false;
    std::vector<int> escapements;
    for (const auto& record : file.records) {
        if (record.function == CreateBrush && record.parameters[0] == 2)
            hatched = record.parameters[3] == 3 && record.parameters[1] == 0xD6A9 &&
                      record.parameters[2] == 0x00D3;
        if (record.function == CreatePen && record.parameters[1] == 2)
            squarePen = (record.parameters[0] & 0x0F00) == 0x0100 && record.parameters[3] == 0x47DE;
        if (record.function == CreateFont)
            escapements.push_back(static_cast<std::int16_t>(record.parameters[2]));
    }
    QVERIFY(hatched);
    QVERIFY(squarePen);
    QCOMPARE(escapements, (std::vector<int>{0, 900}));

    // The ellipse's box is where the painter put it.
    for (const auto& record : file.records)
        if (record.function == Ellipse)
            QCOMPARE(record.parameters, (std::vector<std::uint16_t>{53, 103, 47, 97}));
}

// After a restore the player's context holds what was selected at the save; nothing selected
// there may have been deleted in between, and every selected slot must exist.
void WmfPaintEngineTest::objectsStayValidAcrossClipChanges() {
    WmfPaintDevice device(QSize(300, 300), screen96());
    {
        QPainter painter(&device);
        for (int i = 0; i < 600; ++i) {
            painter.setClipRect(QRect(i % 50, 0, 200, 200));
            painter.setPen(QPen(QColor(i % 256, 0, 0), 1 + i % 3));
            painter.setBrush(QColor(0, i % 256, 0));
            painter.drawRect(i % 100, i % 90, 20, 20);
        }
    }
    const WmfFile file = parseWmf(device.metafile());
    QCOMPARE(QString::fromStdString(file.problem), QString());
    std::vector<bool> live(file.objects, false);
    std::vector<std::vector<bool>> savedLive;
    std::vector<int> selected(3, -1);
    std::vector<std::vector<int>> savedSelected;
    std::vector<int> kind(file.objects, -1);
    auto take = [&](int type) {
        const auto slot = std::find(live.begin(), live.end(), false);
        QVERIFY(slot != live.end());
        *slot = true;
        kind[std::size_t(slot - live.begin())] = type;
    };
    for (const auto& record : file.records) {
        switch (record.function) {
        case CreatePen:
            take(0);
            break;
        case CreateBrush:
            take(1);
            break;
        case CreateFont:
            take(2);
            break;
        case SelectObject:
            QVERIFY(live.at(record.parameters[0]));
            selected[std::size_t(kind[record.parameters[0]])] = record.parameters[0];
            break;
        case DeleteObject:
            QVERIFY(live.at(record.parameters[0]));
            for (int s : selected)
                QVERIFY(s != record.parameters[0]);
            for (const auto& saved : savedSelected)
                for (int s : saved)
                    QVERIFY(s != record.parameters[0]);
            live[record.parameters[0]] = false;
            break;
        case SaveDC:
            savedSelected.push_back(selected);
            break;
        case RestoreDC:
            QVERIFY(!savedSelected.empty());
            selected = savedSelected.back();
            savedSelected.pop_back();
            break;
        default:
            break;
        }
    }
    QVERIFY(file.count(DeleteObject) > 0); // the cache was swept along the way
    QVERIFY(file.objects <= 300);
}

void WmfPaintEngineTest::chartIsReadByARealMetafileReader() {
    RatingTable rating;
    fillRating(rating, 200, [](int i) {
        const double stage = i * 0.01;
        return std::pair{stage, 3.0 * stage * stage + 2.0 * stage};
    });
    Chart chart;
    chart.resize(451, 365);
    chart.setTitleLines(
        {QStringLiteral("Bear Creek at Mill Road"), QStringLiteral("Stage Area Rating")});
    chart.setAxisTitles(QStringLiteral("Area"), QStringLiteral("Stage"));
    chart.bindLineSeries(rating);
    chart.refreshFromTable();

    WmfPaintDevice device(chart.clientSize(), screen96());
    {
        QPainter painter(&device);
        chart.render(painter, QRect(QPoint(0, 0), chart.clientSize()));
    }
    const std::string bytes = device.metafile();
    const WmfFile file = parseWmf(bytes);
    QCOMPARE(QString::fromStdString(file.problem), QString());
    QCOMPARE(file.right, 451);
    QCOMPARE(file.bottom, 365);
    QCOMPARE(file.count(StretchDib), 0u);
    QVERIFY(file.count(Ellipse) >= 100); // one marker per drawn point
    const auto texts = file.texts();
    for (const char* wanted : {"Bear Creek at Mill Road", "Stage Area Rating", "Area", "Stage"})
        QVERIFY2(std::find(texts.begin(), texts.end(), wanted) != texts.end(), wanted);

    const QString wmf2svg = QStandardPaths::findExecutable(QStringLiteral("wmf2svg"));
    if (wmf2svg.isEmpty())
        QSKIP("wmf2svg (Debian package libwmf-bin) is not installed; the reader check is skipped");
    QTemporaryDir folder;
    folder.setAutoRemove(qEnvironmentVariableIsEmpty("KORVADEL_KEEP_TEST_FILES"));
    const QString in = folder.filePath(QStringLiteral("chart.wmf"));
    const QString out = folder.filePath(QStringLiteral("chart.svg"));
    std::ofstream(in.toStdString(), std::ios::binary) << bytes;
    QProcess reader;
    reader.start(wmf2svg, {QStringLiteral("-o"), out, in});
    QVERIFY(reader.waitForFinished(60000));
    QCOMPARE(reader.exitCode(), 0);
    QFile svgFile(out);
    QVERIFY(svgFile.open(QIODevice::ReadOnly));
    const QString svg = QString::fromUtf8(svgFile.readAll());
    for (const char* wanted :
         {">Bear Creek at Mill Road<", ">Stage Area Rating<", ">Area<", ">Stage<"})
        QVERIFY2(svg.contains(QLatin1String(wanted)), wanted);
    QVERIFY(svg.contains(QLatin1String("<ellipse")) || svg.contains(QLatin1String("<circle")));
}

QTEST_MAIN(WmfPaintEngineTest)
#include "wmf_paint_engine_test.moc"
