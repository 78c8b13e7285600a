// SPDX-License-Identifier: GPL-3.0-or-later
// Where the undo history stops following the section: the step limit, rows replaced without a
// recorded step, and a step that no longer fits the table.

#include "components/history/SectionHistory.h"
#include "model/CrossSectionDocument.h"
#include "model/Error.h"

#include <QUndoStack>
#include <QtTest>

using namespace korvadel;

class SectionHistoryTest : public QObject {
    Q_OBJECT
private slots:
    void keepsTheLastHundredSteps();
    void rowsReplacedWithoutARecordedStepClearIt();
    void aStepThatNoLongerFitsClearsIt();
};

void SectionHistoryTest::keepsTheLastHundredSteps() {
    CrossSectionDocument document;
    SectionHistory history(document);
    for (int station = 1; station <= 105; ++station)
        document.points.appendRow(station, 0);
    QCOMPARE(history.stack().count(), 100);
    for (int step = 0; step < 100; ++step)
        history.undo();
    QVERIFY(!history.stack().canUndo());
    QCOMPARE(document.points.rowCount(), std::size_t{5});
    QCOMPARE(document.points.stationAt(4), 5.0);
}

void SectionHistoryTest::rowsReplacedWithoutARecordedStepClearIt() {
    CrossSectionDocument document;
    SectionHistory history(document);
    document.points.appendRow(1, 0);
    document.points.appendRow(2, 0);
    history.recordDocumentChange(QStringLiteral("Load"), [&] {
        document.points.bulkLoad({{5, 1}, {6, 2}});
    });
    QCOMPARE(history.stack().count(), 3);
    document.points.bulkLoad({{7, 1}});
    QCOMPARE(history.stack().count(), 0);
}

void SectionHistoryTest::aStepThatNoLongerFitsClearsIt() {
    CrossSectionDocument document;
    SectionHistory history(document);
    document.points.appendRow(1, 0);
    document.points.appendRow(2, 0);
    // The rows the history would take back go without its knowing (the exact row operations
    // report nothing).
    document.points.removeRowAt(1);
    document.points.removeRowAt(0);
    QString message;
    try {
        history.undo();
    } catch (const Error& error) {
        message = QString::fromUtf8(error.what());
    }
    QCOMPARE(message, QStringLiteral("The changes to the cross section can no longer be undone"));
    QCOMPARE(history.stack().count(), 0);
    QCOMPARE(document.points.rowCount(), std::size_t{0});
}

QTEST_MAIN(SectionHistoryTest)
#include "section_history_test.moc"
