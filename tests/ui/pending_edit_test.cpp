// SPDX-License-Identifier: GPL-3.0-or-later
// A value still being typed into the point grid: every command of every window takes it first,
// exactly as leaving the cell would, or stops at the error box when it is not a number.

#include "components/grid/PointGrid.h"
#include "components/widgets/IncrementSpinBox.h"
#include "components/widgets/NoticeLine.h"
#include "tests/support/Controls.h"
#include "tests/support/TestProgram.h"
#include "tests/support/UserInput.h"
#include "ui/AdcpImportWarning.h"
#include "ui/BoundsPrompt.h"
#include "ui/HydraulicPropertiesWindow.h"
#include "ui/MainWindow.h"
#include "ui/RatingWindow.h"
#include "ui/SurveyComparisonWindow.h"
#include "ui/Workspace.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace korvadel;

namespace {

// Puts the grid's cursor on the cell and types into it without leaving it.
void typeInto(MainWindow* main, int row, int column, const QString& text) {
    PointGrid* grid = ui(main).pointGrid;
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(row, column));
    type(text);
    QVERIFY(grid->isEditing());
}

// Every command the user can reach: the menu items and shortcuts of the main window and the
// rating window, the main window's buttons, the bounds prompt's "&Ok", the import warning's
// "&Continue" and the buttons of the properties and comparison windows.
QList<QObject*> everyCommand(TestProgram& program) {
    QList<QObject*> commands;
    std::function<void(const QList<QAction*>&)> collect = [&](const QList<QAction*>& actions) {
        for (QAction* action : actions) {
            if (action->menu())
                collect(action->menu()->actions());
            else if (!action->isSeparator() && !commands.contains(action))
                commands << action;
        }
    };
    for (QMainWindow* window : {static_cast<QMainWindow*>(program.main()),
                                static_cast<QMainWindow*>(program.ratingWindow())}) {
        collect(window->menuBar()->actions());
        collect(window->actions());
    }
    commands << ui(program.main()).createRatingButton << ui(program.main()).animateButton
             << ui(program.boundsPrompt()).okButton << ui(program.importWarning()).continueButton
             << ui(program.program.propertiesWindow()).exportButton
             << ui(program.program.comparisonWindow()).exportButton
             << ui(program.program.comparisonWindow()).swapButton;
    return commands;
}

} // namespace

class PendingEditTest : public QObject {
    Q_OBJECT
private slots:
    void commandsTakeTheValueBeingTyped_data();
    void commandsTakeTheValueBeingTyped();
    void newRowBeingTypedIsSavedByCtrlS();
    void unreadableValueStopsEveryCommand();
};

void PendingEditTest::commandsTakeTheValueBeingTyped_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Ctrl+S") << QStringLiteral("Ctrl+S");
    QTest::newRow("File > Save Cross Section") << QStringLiteral("menu");
    QTest::newRow("Alt+C") << QStringLiteral("Alt+C");
    QTest::newRow("bounds prompt Ok") << QStringLiteral("prompt");
    QTest::newRow("properties Export") << QStringLiteral("properties");
    QTest::newRow("comparison Export") << QStringLiteral("comparison");
}

// The bed point at station 8 is lowered to -2 by typing, and the command is given at once.
void PendingEditTest::commandsTakeTheValueBeingTyped() {
    QFETCH(QString, how);
    QTemporaryDir folder;
    TestProgram program;
    MainWindow* main = program.main();
    program.enterTrapezoid(QStringLiteral("2"));
    ui(program.boundsPrompt()).maximumStage->setText(QStringLiteral("2"));
    ui(program.boundsPrompt()).stageIncrement->setIncrement(1.0);
    const bool exported = how == QLatin1String("properties") || how == QLatin1String("comparison");
    QWidget* window = nullptr;
    if (how == QLatin1String("properties")) {
        ui(main).createRatingButton->click();
        ui(program.ratingWindow()).propertiesAction->trigger();
        window = program.program.propertiesWindow();
    } else if (how == QLatin1String("comparison")) {
        program.seam.chooseFile(QStringLiteral(KORVADEL_EXAMPLES "/mill-creek.kvd"));
        ui(main).compareSectionAction->trigger();
        window = program.program.comparisonWindow();
    }
    QVERIFY(!window || window->isVisible());
    TestProgram::activate(main); // the user goes back to the grid, the window stays open
    const QString path =
        folder.filePath(exported ? QStringLiteral("table.csv") : QStringLiteral("section.kvd"));
    program.seam.chooseFile(path);

    typeInto(main, 2, 1, QStringLiteral("-2"));
    if (how == QLatin1String("Ctrl+S"))
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    else if (how == QLatin1String("menu"))
        ui(main).saveAction->trigger();
    else if (how == QLatin1String("Alt+C"))
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
    else if (how == QLatin1String("prompt"))
        ui(program.boundsPrompt()).okButton->click();
    else
        child<QPushButton>(window, "exportButton")->click();
    QTRY_VERIFY(!ui(main).pointGrid->isEditing());

    QVERIFY(program.seam.messages.isEmpty());
    QCOMPARE(main->workspace().document().points.elevationAt(2), -2.0);
    if (how == QLatin1String("Ctrl+S") || how == QLatin1String("menu")) {
        QVERIFY(readFile(path).contains("\r\n8\t-2\r\n"));
    } else if (exported) {
        // The table written is the one made before the edit, and the window says so.
        QVERIFY(readFile(path).startsWith("stage,"));
        QVERIFY(child<NoticeLine>(window, "outOfDate")->isVisible());
    } else {
        // Below gage height 0 the lowered bed holds 6 1/3 square units of water.
        const RatingTable& rating = program.ratingWindow()->workspace().rating();
        QCOMPARE(rating.rowCount(), std::size_t{3});
        QCOMPARE(rating.stageAt(0), 0.0);
        QVERIFY(qAbs(rating.areaAt(0) - 19.0 / 3.0) < 1e-3);
    }
}

void PendingEditTest::newRowBeingTypedIsSavedByCtrlS() {
    QTemporaryDir folder;
    TestProgram program;
    MainWindow* main = program.main();
    program.enterTrapezoid(QStringLiteral("2"));
    main->workspace().document().points.appendPending();
    typeInto(main, 4, 0, QStringLiteral("12"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("5"));
    const QString path = folder.filePath(QStringLiteral("section.kvd"));
    program.seam.chooseFile(path);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(program.seam.messages.isEmpty());
    QVERIFY(readFile(path).endsWith("\r\n10\t10\r\n12\t5\r\n"));
    QCOMPARE(main->workspace().document().points.rowCount(), std::size_t{5});
    QCOMPARE(ui(main).pointGrid->model()->index(4, 1).data().toString(), QStringLiteral("5"));
}

// Text that is not a number: every command shows the error box of the cell, keeps the entry
// open for correction and does nothing else.
void PendingEditTest::unreadableValueStopsEveryCommand() {
    TestProgram program;
    MainWindow* main = program.main();
    program.rateTrapezoid(QStringLiteral("2"));
    TestProgram::activate(main);
    typeInto(main, 2, 1, QStringLiteral("7x"));
    program.seam.clearRecords();

    const QList<QObject*> commands = everyCommand(program);
    QVERIFY(commands.size() >= 20);
    const QList<bool> shown = {main->isVisible(), program.ratingWindow()->isVisible(),
                               program.boundsPrompt()->isVisible(),
                               program.importWarning()->isVisible()};
    const QString error = QStringLiteral("'7x' is not a valid floating point value.");
    for (QObject* command : commands) {
        const QString name = command->objectName();
        const qsizetype before = program.seam.messages.size();
        if (auto* action = qobject_cast<QAction*>(command)) {
            if (!action->isEnabled())
                continue;
            action->trigger();
        } else {
            qobject_cast<QPushButton*>(command)->click();
        }
        QVERIFY2(program.seam.messages.size() == before + 1, qPrintable(name));
        QCOMPARE(program.seam.messages.last().text, error);
        QVERIFY2(ui(main).pointGrid->isEditing(), qPrintable(name));
        QCOMPARE(qobject_cast<QLineEdit*>(QApplication::focusWidget())->text(),
                 QStringLiteral("7x"));
    }
    QVERIFY(program.seam.fileDialogs.isEmpty());
    QVERIFY(program.seam.modals.isEmpty());
    QCOMPARE(
        (QList<bool>{main->isVisible(), program.ratingWindow()->isVisible(),
                     program.boundsPrompt()->isVisible(), program.importWarning()->isVisible()}),
        shown);
    QCOMPARE(ui(main).animateButton->text(), QStringLiteral("&Animate Cross Section"));
    QCOMPARE(main->workspace().document().points.elevationAt(2), 0.0);

    // Corrected, the same command goes on with the corrected value.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QTest::keyClick(main, Qt::Key_C, Qt::AltModifier);
    QTRY_VERIFY(!ui(main).pointGrid->isEditing());
    QCOMPARE(main->workspace().document().points.elevationAt(2), 7.0);
}

QTEST_MAIN(PendingEditTest)
#include "pending_edit_test.moc"
