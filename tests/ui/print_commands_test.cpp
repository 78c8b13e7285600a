// SPDX-License-Identifier: GPL-3.0-or-later
// The three print commands of the windows: the chart title rewrite and chart print preview of
// both charts, and the rating table report of the rating window.

#include "components/chart/Chart.h"
#include "components/chart/ChartPrintPreview.h"
#include "components/desktop/PrinterAccess.h"
#include "components/report/BandedReport.h"
#include "components/report/ReportPreview.h"
#include "tests/support/Controls.h"
#include "tests/support/TestProgram.h"
#include "ui/MainWindow.h"
#include "ui/RatingWindow.h"
#include "ui/Workspace.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

using namespace korvadel;

namespace {

class NoPrinters : public PrinterAccess {
public:
    QStringList printerNames() const override { return {}; }
    QString defaultPrinterName() const override { return {}; }
    void selectPrinter(QPrinter&, const QString&) const override {}
};

const NoPrinters noPrinters;

void useNoPrinters(TestProgram& program) {
    program.workspace().setPrinters(&noPrinters);
}

} // namespace

class PrintCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void itemsEnabledAndNoReportWindowBeforePrinting();
    void chartTitleRewrite_data();
    void chartTitleRewrite();
    void printedTitleStaysUntilTheDocumentIsReplaced();
    void ratingChartLosesItsEmptySecondLine();
    void tableReportTakesDescriptionAsTyped();
};

void PrintCommandsTest::itemsEnabledAndNoReportWindowBeforePrinting() {
    TestProgram program;
    QVERIFY(ui(program.main()).printChartAction->isEnabled());
    QCOMPARE(ui(program.main()).printChartAction->shortcut(),
             QKeySequence(QStringLiteral("Ctrl+P")));
    QVERIFY(ui(program.ratingWindow()).printTableAction->isEnabled());
    QVERIFY(ui(program.ratingWindow()).printChartAction->isEnabled());
    // The table report has no window of its own until "Print &Table" opens its preview.
    for (QWidget* window : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<ReportPreview*>(window));
}

void PrintCommandsTest::chartTitleRewrite_data() {
    QTest::addColumn<QString>("description");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << QString() << QStringList{QStringLiteral("Cross Section")};
    QTest::newRow("spaces only") << QStringLiteral("   ")
                                 << QStringList{QStringLiteral("Cross Section")};
    QTest::newRow("leading spaces kept")
        << QStringLiteral("  Mill Ford")
        << QStringList{QStringLiteral("  Mill Ford"), QStringLiteral("Cross Section")};
}

void PrintCommandsTest::chartTitleRewrite() {
    QFETCH(QString, description);
    QFETCH(QStringList, lines);
    TestProgram program;
    useNoPrinters(program);
    ui(program.main()).description->setText(description);
    QStringList seenInPreview;
    program.seam.onModal([&](QDialog& dialog) {
        seenInPreview = ui(program.main()).sectionChart->titleLines();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Korvadel Print Preview"));
    });
    ui(program.main()).printChartAction->trigger();
    QCOMPARE(program.seam.modals.size(), 1);
    QCOMPARE(seenInPreview, lines);
    QCOMPARE(ui(program.main()).sectionChart->titleLines(), lines); // kept afterwards
}

// Printing twice gives the same two lines, and Alt+C closes the preview. The printed title
// stays with the chart until the document is replaced: another site's rating is not printed
// under this one's name.
void PrintCommandsTest::printedTitleStaysUntilTheDocumentIsReplaced() {
    TestProgram program;
    useNoPrinters(program);
    MainWindow* main = program.main();
    RatingWindow* window = program.ratingWindow();
    ui(main).description->setText(QStringLiteral("Gage 7"));
    bool closedByKey = false;
    program.seam.onModal([&](QDialog& dialog) {
        TestProgram::activate(&dialog);
        QTest::keyClick(&dialog, Qt::Key_C, Qt::AltModifier);
        closedByKey = !dialog.isVisible() && dialog.result() == QDialog::Accepted;
    });
    ui(main).printChartAction->trigger();
    QVERIFY(closedByKey);
    ui(main).printChartAction->trigger();
    ui(window).printChartAction->trigger();
    const QStringList printed{QStringLiteral("Gage 7"), QStringLiteral("Cross Section")};
    QCOMPARE(ui(main).sectionChart->titleLines(), printed);
    QCOMPARE(ui(window).ratingChart->titleLines(),
             QStringList({QStringLiteral("Gage 7"), QStringLiteral("Stage Area Rating")}));
    QCOMPARE(program.seam.modals.size(), 3);

    // Points typed do not replace the document; New does (its question answered Discard).
    program.document().points.appendRow(1, 1);
    QCOMPARE(ui(main).sectionChart->titleLines(), printed);
    program.seam.answerSave(DesktopSeam::SaveAnswer::Discard);
    ui(main).newAction->trigger();
    QCOMPARE(ui(main).sectionChart->titleLines(),
             QStringList({QStringLiteral("Cross Section"), QString()}));
    QCOMPARE(ui(window).ratingChart->titleLines(),
             QStringList({QStringLiteral("Stage Area Rating"), QString()}));
}

void PrintCommandsTest::ratingChartLosesItsEmptySecondLine() {
    TestProgram program;
    useNoPrinters(program);
    QCOMPARE(ui(program.ratingWindow()).ratingChart->titleLines(),
             QStringList({QStringLiteral("Stage Area Rating"), QString()}));
    ui(program.ratingWindow()).printChartAction->trigger();
    QCOMPARE(ui(program.ratingWindow()).ratingChart->titleLines(),
             QStringList({QStringLiteral("Stage Area Rating")}));
    QCOMPARE(program.seam.modals.size(), 1);
    QCOMPARE(program.seam.modals[0].title, QStringLiteral("Korvadel Print Preview"));
    // The stored margins of the rating chart are shown without a printer.
    QCOMPARE(ui(program.ratingWindow()).ratingChart->printMargins().top, 14);
}

void PrintCommandsTest::tableReportTakesDescriptionAsTyped() {
    TestProgram program;
    useNoPrinters(program);
    ui(program.main()).description->setText(QStringLiteral("   "));
    program.ratingWindow()->workspace().rating().appendRow(1.5, 2.25);
    ReportDocument shown;
    bool otherWindowsUsable = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* preview = qobject_cast<ReportPreview*>(w); preview && preview->isVisible()) {
                shown = preview->document();
                otherWindowsUsable =
                    program.main()->isEnabled() && !QApplication::activeModalWidget();
                preview->close();
            }
    });
    ui(program.ratingWindow()).printTableAction->trigger(); // returns once the preview is closed
    QVERIFY(otherWindowsUsable);
    QCOMPARE(int(shown.pages.size()), 1);
    const auto& items = shown.pages[0].items;
    QCOMPARE(items[0].text, QStringLiteral("   "));
    QCOMPARE(items[1].text, QStringLiteral("Stage Area Rating Table"));
    QCOMPARE(items[4].text, QStringLiteral("1.5"));
    QCOMPARE(items[5].text, QStringLiteral("2.25"));
}

QTEST_MAIN(PrintCommandsTest)
#include "print_commands_test.moc"
