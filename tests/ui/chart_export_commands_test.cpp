// SPDX-License-Identifier: GPL-3.0-or-later
// "Export Chart as" in the rating window: the two save dialogs, the files, the error box, and
// the chart left as it was.

#include "components/chart/Chart.h"
#include "tests/support/Controls.h"
#include "tests/support/Tables.h"
#include "tests/support/TestProgram.h"
#include "tests/support/WmfTestSupport.h"
#include "ui/MainWindow.h"
#include "ui/RatingWindow.h"
#include "ui/Workspace.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

using namespace korvadel;

namespace {

void fillAndShowRating(RatingWindow* window) {
    fillRating(window->workspace().rating(), 11, [](int i) {
        return std::pair{i * 0.5, i * 3.0 + i * i * 0.1};
    });
    ui(window).ratingChart->refreshFromTable();
    window->showRating();
}

std::string fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

} // namespace

class ChartExportCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void jpegHasItsOwnDialogAndWritesTheChartAtItsSize();
    void metafileUsesTheSharedDialogWithoutAQuestion();
    void cancelWritesNothingAndFailuresReachTheErrorBox();
};

void ChartExportCommandsTest::jpegHasItsOwnDialogAndWritesTheChartAtItsSize() {
    TestProgram program;
    RatingWindow* window = program.ratingWindow();
    fillAndShowRating(window);
    QVERIFY(ui(window).exportJpegAction->isEnabled());
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("chart.jpg"));
    const QStringList titles = ui(window).ratingChart->titleLines();

    program.seam.chooseFile(path);
    ui(window).exportJpegAction->trigger();
    QCOMPARE(program.seam.messages.size(), 0);
    QCOMPARE(program.seam.fileDialogs.size(), 1);
    const FileDialogState shown = program.seam.fileDialogs.at(0);
    QCOMPARE(shown.kind, FileDialogState::Kind::Save);
    QCOMPARE(shown.filter, QStringLiteral("JPEG files (*.jpg)|*.jpg"));
    QCOMPARE(shown.defaultExtension, QStringLiteral("jpg"));
    QCOMPARE(shown.fileName, QString());
    QVERIFY(shown.overwritePrompt);
    QCOMPARE(QImage(path, "JPG").size(), ui(window).ratingChart->clientSize());
    QCOMPARE(ui(window).ratingChart->titleLines(), titles);

    // The next JPEG dialog starts empty again, and the shared dialog was not touched.
    program.seam.chooseFile(path);
    ui(window).exportJpegAction->trigger();
    QCOMPARE(program.seam.fileDialogs.at(1).fileName, QString());
    QCOMPARE(window->exportDialog.defaultExtension, QString());

    // A larger window gives a larger picture.
    window->resize(window->size() + QSize(120, 80));
    QApplication::processEvents();
    program.seam.chooseFile(path);
    ui(window).exportJpegAction->trigger();
    QCOMPARE(QImage(path, "JPG").size(), ui(window).ratingChart->clientSize());
}

void ChartExportCommandsTest::metafileUsesTheSharedDialogWithoutAQuestion() {
    TestProgram program;
    RatingWindow* window = program.ratingWindow();
    fillAndShowRating(window);
    ui(window).ratingChart->setTitleLines(
        {QStringLiteral("Bear Creek"), QStringLiteral("Stage Area Rating")});
    QVERIFY(ui(window).exportMetafileAction->isEnabled());
    QTemporaryDir folder;
    // A data export leaves its own extension and name in the shared dialog first.
    program.seam.chooseFile(folder.filePath(QStringLiteral("rating.csv")));
    ui(window).exportCommaDelimitedAction->trigger();
    const QString path = folder.filePath(QStringLiteral("chart.wmf"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();

    program.seam.chooseFile(path);
    ui(window).exportMetafileAction->trigger();
    QCOMPARE(program.seam.messages.size(), 0);
    const FileDialogState shown = program.seam.fileDialogs.last();
    QCOMPARE(shown.filter, QStringLiteral("Windows Meta Files (*.wmf)|*.WMF"));
    QCOMPARE(shown.defaultExtension, QStringLiteral("wmf"));
    QCOMPARE(shown.fileName, QString());
    QVERIFY(!shown.overwritePrompt);
    QCOMPARE(window->exportDialog.defaultExtension, QStringLiteral("wmf"));

    const auto file = korvadel::testing::parseWmf(fileBytes(path));
    QCOMPARE(QString::fromStdString(file.problem), QString());
    QCOMPARE(file.checksum, file.computedChecksum);
    const auto texts = file.texts();
    for (const char* wanted : {"Bear Creek", "Stage Area Rating", "Area", "Stage"})
        QVERIFY2(std::find(texts.begin(), texts.end(), wanted) != texts.end(), wanted);
    const QSize size = ui(window).ratingChart->clientSize();
    for (const auto& record : file.records)
        if (record.function == 0x020C)
            QCOMPARE(record.parameters, (std::vector<std::uint16_t>{std::uint16_t(size.height()),
                                                                    std::uint16_t(size.width())}));
}

void ChartExportCommandsTest::cancelWritesNothingAndFailuresReachTheErrorBox() {
    TestProgram program;
    RatingWindow* window = program.ratingWindow();
    fillAndShowRating(window);
    QTemporaryDir folder;
    program.seam.cancelFileDialog();
    ui(window).exportJpegAction->trigger();
    program.seam.cancelFileDialog();
    ui(window).exportMetafileAction->trigger();
    QCOMPARE(program.seam.messages.size(), 0);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 0);

    const QStringList titles = ui(window).ratingChart->titleLines();
    for (QAction* action : {ui(window).exportJpegAction, ui(window).exportMetafileAction}) {
        program.seam.clearRecords();
        const QString path = folder.filePath(QStringLiteral("missing/chart.pic"));
        program.seam.chooseFile(path);
        action->trigger();
        QCOMPARE(program.seam.messages.size(), 1);
        QCOMPARE(program.seam.messages.at(0).kind, DesktopSeam::MessageKind::Error);
        QCOMPARE(program.seam.messages.at(0).text,
                 QStringLiteral("Cannot create file \"%1\". No such file or directory.").arg(path));
        QCOMPARE(ui(window).ratingChart->titleLines(), titles);
        QCOMPARE(window->workspace().rating().rowCount(), std::size_t(11));
    }
}

QTEST_MAIN(ChartExportCommandsTest)
#include "chart_export_commands_test.moc"
