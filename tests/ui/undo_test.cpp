// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and redo of every change to the section through the main window: cell edits, rows
// inserted and deleted, New, Load (also one that stops part-way) and both imports.

#include "components/grid/PointGrid.h"
#include "components/grid/RatingGrid.h"
#include "components/history/SectionHistory.h"
#include "components/widgets/IncrementSpinBox.h"
#include "tests/support/Controls.h"
#include "tests/support/TestProgram.h"
#include "tests/support/UserInput.h"
#include "ui/AdcpImportWarning.h"
#include "ui/MainWindow.h"
#include "ui/RatingWindow.h"
#include "ui/Workspace.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

using namespace korvadel;

namespace {

// The committed rows as "station:elevation" ("station:" for an empty elevation); the row being
// typed into is not part of the section yet.
QStringList sectionRows(const PointTable& table) {
    QStringList rows;
    for (std::size_t row = 0; row < table.rowCount(); ++row) {
        if (table.state() == PointTable::State::Inserting &&
            static_cast<std::ptrdiff_t>(row) == table.editRow())
            continue;
        rows << QString::number(table.stationAt(row)) + QLatin1Char(':') +
                    (table.hasElevation(row) ? QString::number(table.elevationAt(row)) : QString());
    }
    return rows;
}

QStringList texts(std::initializer_list<const char*> items) {
    QStringList list;
    for (const char* item : items)
        list << QString::fromUtf8(item);
    return list;
}

// The description, the three gage-height texts, the increment and the rows.
QStringList documentShown(MainWindow* main) {
    return QStringList{ui(main).description->text(), ui(main).minimumStage->text(),
                       ui(main).maximumStage->text(), ui(main).datum->text(),
                       QString::number(ui(main).stageIncrement->increment())} +
           sectionRows(main->workspace().document().points);
}

} // namespace

class UndoTest : public QObject {
    Q_OBJECT
private slots:
    void gridChangesUndoAndRedoStepByStep();
    void wholeDocumentChangesUndoToWhatTheUserHad_data();
    void wholeDocumentChangesUndoToWhatTheUserHad();
    void lineEditsKeepTheirOwnUndo();
    void ratingRowDeletionsAreNotPartOfIt();
    void stepThatNoLongerFitsIsReportedAndEndsTheHistory();
};

// Typed rows, an edit that moves a row past an equal station, Insert, both deletions: each is
// one step, and undo and redo walk back and forth through exactly the states the user saw.
void UndoTest::gridChangesUndoAndRedoStepByStep() {
    TestProgram program;
    MainWindow* main = program.main();
    PointTable& points = main->workspace().document().points;
    QVERIFY(!ui(main).undoAction->isEnabled());
    QList<QStringList> seen{sectionRows(points)};
    const auto step = [&] { seen << sectionRows(points); };

    type(QStringLiteral("0"));
    key(Qt::Key_Tab);
    type(QStringLiteral("5"));
    key(Qt::Key_Return);
    step();
    for (const char* row : {"10\t5", "10\t2", "20\t6"}) {
        const QStringList cells = QString::fromLatin1(row).split(QLatin1Char('\t'));
        type(cells[0]);
        key(Qt::Key_Tab);
        type(cells[1]);
        key(Qt::Key_Return);
        step();
    }
    QCOMPARE(seen.last(), texts({"0:5", "10:2", "10:5", "20:6"}));
    // The first row edited to 15 travels past both tens.
    for (int up = 0; up < 4; ++up)
        key(Qt::Key_Up);
    type(QStringLiteral("15"));
    key(Qt::Key_Down);
    step();
    QCOMPARE(seen.last(), texts({"10:2", "10:5", "15:5", "20:6"}));
    // An elevation cleared, a row inserted, then both deletions.
    const auto moveTo = [main](int row, int column) {
        ui(main).pointGrid->setCurrentIndex(ui(main).pointGrid->model()->index(row, column));
    };
    moveTo(0, 1);
    key(Qt::Key_F2);
    key(Qt::Key_Backspace);
    moveTo(1, 1);
    step();
    key(Qt::Key_Insert);
    key(Qt::Key_Left);
    type(QStringLiteral("12"));
    moveTo(0, 0);
    step();
    QCOMPARE(seen.last(), texts({"10:", "10:5", "12:", "15:5", "20:6"}));
    program.seam.answerConfirm(true);
    key(Qt::Key_Delete, Qt::ControlModifier);
    step();
    ui(main).pointGrid->deleteRowAction()->trigger();
    step();
    QVERIFY(program.seam.messages.isEmpty());
    for (qsizetype i = 1; i < seen.size(); ++i)
        QVERIFY2(seen[i] != seen[i - 1], qPrintable(QString::number(i)));
    QCOMPARE(main->workspace().history().stack().count(), seen.size() - 1);

    for (qsizetype i = seen.size() - 1; i > 0; --i) {
        QVERIFY(ui(main).undoAction->isEnabled());
        key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(sectionRows(points), seen[i - 1]);
    }
    QVERIFY(!ui(main).undoAction->isEnabled());
    for (qsizetype i = 1; i < seen.size(); ++i) {
        key(i % 2 ? Qt::Key_Y : Qt::Key_Z,
            i % 2 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(sectionRows(points), seen[i]);
    }
    QVERIFY(!ui(main).redoAction->isEnabled());
    QVERIFY(program.seam.messages.isEmpty());

    // A new row typed and not yet left is the step Ctrl+Z takes back first; one that has only
    // an elevation stops the undo with the table's message.
    const int last = ui(main).pointGrid->model()->rowCount() - 1;
    moveTo(last, 0);
    key(Qt::Key_Down);
    type(QStringLiteral("30"));
    key(Qt::Key_Tab);
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(sectionRows(points), seen.last());
    key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(sectionRows(points), seen.last() + texts({"30:"}));
    key(Qt::Key_Z, Qt::ControlModifier);
    moveTo(last, 0);
    key(Qt::Key_Down);
    key(Qt::Key_Tab);
    type(QStringLiteral("4"));
    ui(main).undoAction->trigger();
    QCOMPARE(program.seam.messages.size(), 1);
    QCOMPARE(program.seam.messages.last().text,
             QStringLiteral("Field 'Station' must have a value."));
    QCOMPARE(sectionRows(points), seen.last());
}

void UndoTest::wholeDocumentChangesUndoToWhatTheUserHad_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("after");
    const QStringList kept{QStringLiteral("mine"), QStringLiteral("3"), QStringLiteral("4"),
                           QStringLiteral("100"), QStringLiteral("0.5")};
    QTest::newRow("New") << QStringLiteral("new")
                         << QStringList{QString(), QStringLiteral("0"), QStringLiteral("1"),
                                        QStringLiteral("0.00"), QStringLiteral("0.01")};
    QTest::newRow("Load stopping at a bad line")
        << QStringLiteral("load")
        << QStringList{QStringLiteral("Loaded"), QStringLiteral("1"),   QStringLiteral("2"),
                       QStringLiteral("10"),     QStringLiteral("0.5"), QStringLiteral("0:1")};
    QTest::newRow("comma-delimited import")
        << QStringLiteral("csv") << kept + texts({"0:10", "5:2", "10:10"});
    QTest::newRow("WinRiver import")
        << QStringLiteral("winriver") << kept + QStringList{QStringLiteral("3:-1")};
}

void UndoTest::wholeDocumentChangesUndoToWhatTheUserHad() {
    QFETCH(QString, command);
    QFETCH(QStringList, after);
    QTemporaryDir folder;
    TestProgram program;
    MainWindow* main = program.main();
    ui(main).description->setText(QStringLiteral("mine"));
    ui(main).minimumStage->setText(QStringLiteral("3"));
    ui(main).maximumStage->setText(QStringLiteral("4"));
    ui(main).datum->setText(QStringLiteral("100"));
    ui(main).stageIncrement->setIncrement(0.5);
    // Two rows committed and a third still being typed when the command comes.
    type(QStringLiteral("1"));
    key(Qt::Key_Tab);
    type(QStringLiteral("7"));
    key(Qt::Key_Return);
    type(QStringLiteral("2"));
    key(Qt::Key_Tab);
    type(QStringLiteral("8"));
    key(Qt::Key_Return);
    type(QStringLiteral("9"));
    const QStringList before =
        QStringList{QStringLiteral("mine"), QStringLiteral("3"), QStringLiteral("4"),
                    QStringLiteral("100"), QStringLiteral("0.5")} +
        texts({"1:7", "2:8", "9:"});

    // The section has unsaved changes: New and Load ask first, and are let go on.
    program.seam.answerSave(DesktopSeam::SaveAnswer::Discard);
    if (command == QLatin1String("new")) {
        key(Qt::Key_N, Qt::ControlModifier);
    } else if (command == QLatin1String("load")) {
        program.seam.chooseFile(writeFile(folder.filePath(QStringLiteral("bad.kvd")),
                                          "//Korvadel\r\n//Station\tLoaded\r\n//GHMinimum\t1\r\n"
                                          "//GHMaximum\t2\r\n//GHIncrement\t0.5\r\n"
                                          "//GHDatum\t10\r\nStation\tElevation\r\n0\t1\r\n"
                                          "x\t2\r\n"));
        key(Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(program.seam.messages.size(), 1);
    } else if (command == QLatin1String("csv")) {
        program.seam.chooseFile(
            writeFile(folder.filePath(QStringLiteral("p.csv")), "10,10\r\n0,10\r\n5,2\r\n"));
        ui(main).importCommaDelimitedAction->trigger();
    } else {
        program.seam.chooseFile(writeFile(folder.filePath(QStringLiteral("at.000")),
                                          "h\r\nh\r\nh\r\nensemble\r\n0 0 0 0 0 0 0 0 1 1 1 1\r\n"
                                          "0 0 0 0 3\r\nskip\r\nskip\r\n0 cm BT dB 0 0\r\n"));
        ui(program.importWarning()).continueButton->click();
    }
    QCOMPARE(documentShown(main), after);

    ui(main).undoAction->trigger();
    QCOMPARE(documentShown(main), before);
    ui(main).redoAction->trigger();
    QCOMPARE(documentShown(main), after);
    ui(main).undoAction->trigger();
    ui(main).undoAction->trigger(); // the row typed before the command was its own step
    QCOMPARE(documentShown(main), before.mid(0, 7));
    QCOMPARE(ui(main).pointGrid->model()->rowCount(), 2);
}

// Ctrl+Z in a focused field or cell editor undoes the typing there and leaves the section's
// history alone.
void UndoTest::lineEditsKeepTheirOwnUndo() {
    TestProgram program;
    MainWindow* main = program.main();
    type(QStringLiteral("5"));
    key(Qt::Key_Down);
    QCOMPARE(main->workspace().history().stack().count(), 1);

    ui(main).description->setFocus();
    type(QStringLiteral("ab"));
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(ui(main).description->text(), QString());
    QCOMPARE(main->workspace().history().stack().index(), 1);

    ui(main).pointGrid->setFocus();
    type(QStringLiteral("7"));
    QVERIFY(ui(main).pointGrid->isEditing());
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(qobject_cast<QLineEdit*>(QApplication::focusWidget())->text(), QStringLiteral("5"));
    QCOMPARE(main->workspace().history().stack().index(), 1);
    QCOMPARE(sectionRows(main->workspace().document().points), texts({"5:"}));
}

void UndoTest::ratingRowDeletionsAreNotPartOfIt() {
    TestProgram program;
    MainWindow* main = program.main();
    program.rateTrapezoid(QStringLiteral("2"));
    const int steps = main->workspace().history().stack().count();
    RatingWindow* window = program.ratingWindow();
    TestProgram::activate(window);
    ui(window).ratingGrid->setFocus();
    program.seam.answerConfirm(true);
    key(Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(window->workspace().rating().rowCount(), std::size_t{2});
    QCOMPARE(main->workspace().history().stack().count(), steps);
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(window->workspace().rating().rowCount(), std::size_t{2});
}

// The rows a step would take back gone without the history's knowing: Ctrl+Z says so in the error
// box, leaves the rows as they are and nothing more to undo or redo.
void UndoTest::stepThatNoLongerFitsIsReportedAndEndsTheHistory() {
    TestProgram program;
    MainWindow* main = program.main();
    PointTable& points = main->workspace().document().points;
    points.appendRow(1, 0);
    points.appendRow(2, 0);
    QVERIFY(ui(main).undoAction->isEnabled());
    points.removeRowAt(1);
    points.removeRowAt(0);
    ui(main).pointGrid->setFocus();
    key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(program.seam.messages.size(), 1);
    QCOMPARE(program.seam.messages.last().text,
             QStringLiteral("The changes to the cross section can no longer be undone."));
    QCOMPARE(points.rowCount(), std::size_t{0});
    QCOMPARE(ui(main).pointGrid->model()->rowCount(), static_cast<int>(points.rowCount()));
    QVERIFY(!ui(main).undoAction->isEnabled());
    QVERIFY(!ui(main).redoAction->isEnabled());
}

QTEST_MAIN(UndoTest)
#include "undo_test.moc"
