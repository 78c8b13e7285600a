// SPDX-License-Identifier: GPL-3.0-or-later
// The rating window's make-up and its three data exports through the shared save dialog.

#include "components/chart/Chart.h"
#include "components/widgets/IncrementSpinBox.h"
#include "tests/support/Controls.h"
#include "tests/support/TestProgram.h"
#include "tests/support/UserInput.h"
#include "ui/AboutBox.h"
#include "ui/AdcpImportWarning.h"
#include "ui/BoundsPrompt.h"
#include "ui/EdgeWarning.h"
#include "ui/MainWindow.h"
#include "ui/ProgressDialog.h"
#include "ui/RatingWindow.h"
#include "ui/Workspace.h"

#include <QAction>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace korvadel;

namespace {

// Stages 0, 1, 2 over the trapezoid channel: areas 0, 6.2, 12.8.
void makeRating(TestProgram& program) {
    ui(program.main()).description->setText(QStringLiteral("Trapezoid"));
    program.rateTrapezoid(QStringLiteral("2"));
}

} // namespace

class RatingWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() { startDir_ = QDir::currentPath(); }
    void cleanup() { QDir::setCurrent(startDir_); }
    void hasItsLayoutAndMenu();
    void exportsWriteTheTableThroughTheSharedDialog_data();
    void exportsWriteTheTableThroughTheSharedDialog();
    void exportThatCannotCreateItsFileReportsIt();
    void worksheetRowLimitIsCheckedBeforeTheDialog();

private:
    QString startDir_;
};

void RatingWindowTest::hasItsLayoutAndMenu() {
    TestProgram program;
    RatingWindow* window = program.ratingWindow();
    QCOMPARE(window->windowTitle(), QStringLiteral("Stage Area Rating"));
    QCOMPARE(ui(window).ratingChart->titleLines(),
             (QStringList{QStringLiteral("Stage Area Rating"), QString()}));
    QCOMPARE(ui(window).ratingChart->bottomAxisTitle(), QStringLiteral("Area"));
    QCOMPARE(ui(window).ratingChart->leftAxisTitle(), QStringLiteral("Stage"));
    const PrintMargins margins = ui(window).ratingChart->printMargins();
    QCOMPARE(QList<int>({margins.left, margins.top, margins.right, margins.bottom}),
             QList<int>({15, 14, 15, 14}));
    const QList<QAction*> bar = window->menuBar()->actions();
    QCOMPARE(bar.size(), 1);
    QCOMPARE(bar[0]->text(), QStringLiteral("&Options"));
    QCOMPARE(menuEntries(bar[0]->menu()),
             (QStringList{
                 QStringLiteral("Print &Table"), QStringLiteral("Print Chart"),
                 QStringLiteral("Export Chart as>JPEG,MetaFile WMF"),
                 QStringLiteral("Export Data as>&Comma Delimited,HTML,Excel,RDB (tab-delimited)"),
                 QStringLiteral("Hydraulic &Properties..."), QStringLiteral("-"),
                 QStringLiteral("&Close Window")}));
    QVERIFY(!window->isVisible());
}

void RatingWindowTest::exportsWriteTheTableThroughTheSharedDialog_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("comma delimited")
        << QStringLiteral("exportCommaDelimitedAction") << QStringLiteral("csv")
        << QStringLiteral(
               "CSV (Comma delimited) (*.csv)|*.CSV|Text (Comma delimited) (*.txt)|*.TXT")
        << QByteArray("0,0\r\n1,6.2\r\n2,12.8\r\n\r\n");
    QTest::newRow("html") << QStringLiteral("exportHtmlAction") << QStringLiteral("html")
                          << QStringLiteral("web files (*.html)|*.HTML")
                          << QByteArray("<table border=\"1\">\r\n<tr><td>0</td><td>0</td></tr>\r\n"
                                        "<tr><td>1</td><td>6.2</td></tr>\r\n"
                                        "<tr><td>2</td><td>12.8</td></tr>\r\n\r\n</table>");
    QTest::newRow("excel") << QStringLiteral("exportExcelAction") << QStringLiteral("xls")
                           << QStringLiteral("Excel files (*.xls)|*.XLS") << QByteArray();
    // The description is the station's name; the datum is the rating's (0 here).
    QTest::newRow("rdb") << QStringLiteral("exportRdbAction") << QStringLiteral("rdb")
                         << QStringLiteral("RDB (tab-delimited) (*.rdb)|*.rdb")
                         << QByteArray("# //FILE TYPE=\"NWIS RATING\"\n"
                                       "# //STATION NAME=\"Trapezoid\"\n"
                                       "# //RATING TYPE=\"STAR\" NAME=\"stage-area\"\n"
                                       "# //RATING_INDEP PARAMETER=\"Gage height\"\n"
                                       "# //RATING_DEP PARAMETER=\"Cross-sectional area\"\n"
                                       "# //GAGE DATUM=\"0\"\n"
                                       "INDEP\tDEP\n16N\t16N\n0\t0\n1\t6.2\n2\t12.8\n");
}

void RatingWindowTest::exportsWriteTheTableThroughTheSharedDialog() {
    QFETCH(QString, command);
    QFETCH(QString, extension);
    QFETCH(QString, filter);
    QFETCH(QByteArray, bytes);
    QTemporaryDir folder;
    TestProgram program;
    makeRating(program);
    RatingWindow* window = program.ratingWindow();
    QCOMPARE(window->workspace().rating().rowCount(), std::size_t{3});
    QAction* action = window->findChild<QAction*>(command);
    QVERIFY(action);

    // Something is left in the dialog from before; each command clears the name.
    window->exportDialog.fileName = QStringLiteral("old name");
    const QString existing =
        writeFile(folder.filePath(QStringLiteral("rating.") + extension), QByteArray(5000, 'x'));
    program.seam.chooseFile(folder.filePath(QStringLiteral("rating")));
    action->trigger();
    QCOMPARE(program.seam.messages.size(), 0);
    const FileDialogState shown = program.seam.fileDialogs.last();
    QCOMPARE(shown.kind, FileDialogState::Kind::Save);
    QCOMPARE(shown.defaultExtension, extension);
    QCOMPARE(shown.filter, filter);
    QVERIFY(shown.fileName.isEmpty());
    QVERIFY(!shown.overwritePrompt);

    // The existing file is replaced without a question.
    const QByteArray written = readFile(existing);
    if (!bytes.isEmpty())
        QCOMPARE(written, bytes);
    else
        QCOMPARE(written.size(), 30 + 38 * 3);
    QCOMPARE(window->workspace().rating().rowCount(), std::size_t{3});

    // Cancelling writes nothing.
    QFile::remove(existing);
    program.seam.cancelFileDialog();
    action->trigger();
    QVERIFY(!QFile::exists(existing));
}

void RatingWindowTest::exportThatCannotCreateItsFileReportsIt() {
    QTemporaryDir folder;
    TestProgram program;
    makeRating(program);
    const QString path = folder.filePath(QStringLiteral("no/such/folder/rating.csv"));
    program.seam.chooseFile(path);
    ui(program.ratingWindow()).exportCommaDelimitedAction->trigger();
    QCOMPARE(program.seam.messages.size(), 1);
    const ScriptedSeam::Message message = program.seam.messages.first();
    QCOMPARE(message.kind, DesktopSeam::MessageKind::Error);
    QVERIFY2(message.text.startsWith(QStringLiteral("Cannot create file \"")),
             qPrintable(message.text));
    QVERIFY2(message.text.endsWith(QLatin1Char('.')), qPrintable(message.text));
    QCOMPARE(program.ratingWindow()->workspace().rating().rowCount(), std::size_t{3});
}

void RatingWindowTest::worksheetRowLimitIsCheckedBeforeTheDialog() {
    TestProgram program;
    RatingTable& rating = program.ratingWindow()->workspace().rating();
    rating.suspendViews();
    for (int row = 0; row <= 65535; ++row)
        rating.appendRow(row * 0.01, row);
    rating.resumeViews();
    ui(program.ratingWindow()).exportExcelAction->trigger();
    QVERIFY(program.seam.fileDialogs.isEmpty());
    QCOMPARE(program.seam.messages.size(), 1);
    QCOMPARE(program.seam.messages.first().text,
             QStringLiteral("The rating has 65536 rows; a worksheet holds at most 65535."));

    // One row fewer fits: the dialog comes up.
    rating.moveTo(rating.rowCount() - 1);
    rating.deleteCurrent();
    program.seam.cancelFileDialog();
    ui(program.ratingWindow()).exportExcelAction->trigger();
    QCOMPARE(program.seam.fileDialogs.size(), 1);
    QCOMPARE(program.seam.messages.size(), 1);
}

QTEST_MAIN(RatingWindowTest)
#include "rating_window_test.moc"
