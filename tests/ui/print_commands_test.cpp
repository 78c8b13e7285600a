// The three print commands of the windows: the chart title rewrite and chart print preview of
// both charts, and the rating table report of the rating window.

#include "components/BandedReport.h"
#include "components/Chart.h"
#include "components/ChartPrintPreview.h"
#include "components/PrinterAccess.h"
#include "components/ReportPreview.h"
#include "support/TestProgram.h"
#include "ui/Main.h"
#include "ui/SAForm.h"
#include "ui/Unit3.h"

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

void useNoPrinters(TestProgram& program) { program.program.context().printers = &noPrinters; }

} // namespace

class PrintCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void itemsEnabledAndReportWindowHidden();
    void chartTitleRewrite_data();
    void chartTitleRewrite();
    void printingTwiceKeepsTwoLines();
    void ratingChartLosesItsEmptySecondLine();
    void tableReportTakesDescriptionAsTyped();
};

void PrintCommandsTest::itemsEnabledAndReportWindowHidden()
{
    TestProgram program;
    QVERIFY(program.main()->PrintCrossSection1->isEnabled());
    QCOMPARE(program.main()->PrintCrossSection1->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
    QVERIFY(program.ratingWindow()->PrintTable1->isEnabled());
    QVERIFY(program.ratingWindow()->PrintChart2->isEnabled());
    QVERIFY(program.windows().Form3);
    QVERIFY(!program.windows().Form3->isVisible());
}

void PrintCommandsTest::chartTitleRewrite_data()
{
    QTest::addColumn<QString>("description");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << QString() << QStringList{QStringLiteral("Cross Section")};
    QTest::newRow("spaces only") << QStringLiteral("   ") << QStringList{QStringLiteral("Cross Section")};
    QTest::newRow("leading spaces kept")
        << QStringLiteral("  Mill Ford") << QStringList{QStringLiteral("  Mill Ford"), QStringLiteral("Cross Section")};
}

void PrintCommandsTest::chartTitleRewrite()
{
    QFETCH(QString, description);
    QFETCH(QStringList, lines);
    TestProgram program;
    useNoPrinters(program);
    program.main()->ebDescription->setText(description);
    QStringList seenInPreview;
    program.seam.onModal([&](QDialog& dialog) {
        seenInPreview = program.main()->DBChart1->titleLines();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Korvadel Print Preview"));
    });
    program.main()->PrintCrossSection1->trigger();
    QCOMPARE(program.seam.modals.size(), 1);
    QCOMPARE(seenInPreview, lines);
    QCOMPARE(program.main()->DBChart1->titleLines(), lines); // kept afterwards
}

void PrintCommandsTest::printingTwiceKeepsTwoLines()
{
    TestProgram program;
    useNoPrinters(program);
    program.main()->ebDescription->setText(QStringLiteral("Gage 7"));
    program.main()->PrintCrossSection1->trigger();
    program.main()->PrintCrossSection1->trigger();
    QCOMPARE(program.main()->DBChart1->titleLines(),
             QStringList({QStringLiteral("Gage 7"), QStringLiteral("Cross Section")}));
    QCOMPARE(program.seam.modals.size(), 2);
}

void PrintCommandsTest::ratingChartLosesItsEmptySecondLine()
{
    TestProgram program;
    useNoPrinters(program);
    QCOMPARE(program.ratingWindow()->DBChart1->titleLines(),
             QStringList({QStringLiteral("Stage Area Rating"), QString()}));
    program.ratingWindow()->PrintChart2->trigger();
    QCOMPARE(program.ratingWindow()->DBChart1->titleLines(),
             QStringList({QStringLiteral("Stage Area Rating")}));
    QCOMPARE(program.seam.modals.size(), 1);
    QCOMPARE(program.seam.modals[0].title, QStringLiteral("Korvadel Print Preview"));
    // The stored margins of the rating chart are shown without a printer.
    QCOMPARE(program.ratingWindow()->DBChart1->printMargins().top, 14);
}

void PrintCommandsTest::tableReportTakesDescriptionAsTyped()
{
    TestProgram program;
    useNoPrinters(program);
    program.main()->ebDescription->setText(QStringLiteral("   "));
    program.ratingWindow()->MemSA.appendRow(1.5, 2.25);
    ReportDocument shown;
    bool otherWindowsUsable = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* preview = qobject_cast<ReportPreview*>(w); preview && preview->isVisible()) {
                shown = preview->document();
                otherWindowsUsable = program.main()->isEnabled() && !QApplication::activeModalWidget();
                preview->close();
            }
    });
    program.ratingWindow()->PrintTable1->trigger(); // returns once the preview is closed
    QCOMPARE(program.windows().Form3->description(), QStringLiteral("   "));
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
