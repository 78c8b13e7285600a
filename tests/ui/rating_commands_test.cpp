// Both rating commands end to end: bounds, edge warning, progress dialog, bounds prompt and the
// rating window; and the main window's keys from the other windows.

#include "components/Chart.h"
#include "components/GradientProgressBar.h"
#include "components/IncrementSpinBox.h"
#include "model/RatingTable.h"
#include "support/TestProgram.h"
#include "ui/ElevWarn.h"
#include "ui/Importwarning.h"
#include "ui/Main.h"
#include "ui/Progress.h"
#include "ui/SAForm.h"
#include "ui/about.h"
#include "ui/tableprompt.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace korvadel;

namespace {

struct Row {
    double stage;
    double area;
};

QList<QPointF> ratingRows(const RatingTable& table) {
    QList<QPointF> rows;
    for (std::size_t row = 0; row < table.rowCount(); ++row)
        rows.append(QPointF(table.stageAt(row), table.areaAt(row)));
    return rows;
}

// The trapezoid channel (0, 10), (2, 0), (8, 0), (10, 10).
void enterChannel(TForm1* main, double shift = 0.0) {
    PointTable& points = main->document().points;
    points.clear();
    points.appendRow(0, 10 + shift);
    points.appendRow(2, 0 + shift);
    points.appendRow(8, 0 + shift);
    points.appendRow(10, 10 + shift);
}

} // namespace

class RatingCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void mainCommandFillsAndShowsTheRatingWindow_data();
    void mainCommandFillsAndShowsTheRatingWindow();
    void edgeWarningIsModalAndTheRunGoesOn();
    void boundsPromptCommandUsesItsOwnFieldsUnrounded();
    void mainCommandClosesTheBoundsPrompt();
    void regeneratingRefillsInPlace();
    void rowWithoutStationStopsBeforeTheWindowOpens();
    void mainWindowKeysWorkFromOtherWindowsButNotUnderAModalDialog();
    void regeneratedRatingWindowTakesTheKeyboard();
};

void RatingCommandsTest::mainCommandFillsAndShowsTheRatingWindow_data() {
    QTest::addColumn<QString>("maximum");
    QTest::addColumn<double>("increment");
    QTest::addColumn<int>("rows");
    QTest::addColumn<double>("lastStage");
    QTest::addColumn<double>("lastArea");
    QTest::addColumn<bool>("warns");
    QTest::newRow("0 to 5 by 1") << QStringLiteral("5") << 1.0 << 6 << 5.0 << 35.0 << false;
    QTest::newRow("0 to 12 by 1") << QStringLiteral("12") << 1.0 << 13 << 12.0 << 100.0 << true;
    QTest::newRow("0 to 1 by 0.01") << QStringLiteral("1") << 0.01 << 100 << 0.99 << 0.0 << false;
    QTest::newRow("maximum below minimum")
        << QStringLiteral("-1") << 1.0 << 0 << 0.0 << 0.0 << false;
    QTest::newRow("maximum at the bank")
        << QStringLiteral("10") << 0.5 << 21 << 10.0 << 80.0 << false;
}

void RatingCommandsTest::mainCommandFillsAndShowsTheRatingWindow() {
    QFETCH(QString, maximum);
    QFETCH(double, increment);
    QFETCH(int, rows);
    QFETCH(double, lastStage);
    QFETCH(double, lastArea);
    QFETCH(bool, warns);

    TestProgram program;
    TForm1* main = program.main();
    enterChannel(main, 0.0);
    if (QTest::currentDataTag() == QByteArray("0 to 1 by 0.01"))
        enterChannel(main, 1.0); // the bed above every stage: all areas 0
    main->edMaxStage->setText(maximum);
    main->SpinStageInc->setIncrement(increment);
    main->Button1->click();

    QCOMPARE(program.seam.messages.size(), 0);
    QCOMPARE(program.seam.modals.size(), warns ? 1 : 0);
    TForm2* window = program.ratingWindow();
    QVERIFY(window->isVisible());
    QVERIFY(!static_cast<QWidget*>(program.windows().ProgressForm)->isVisible());
    const QList<QPointF> table = ratingRows(window->MemSA);
    QCOMPARE(table.size(), rows);
    QCOMPARE(window->DBChart1->seriesGraph()->dataCount(), rows);
    if (rows > 0) {
        QCOMPARE(table.last().x(), lastStage);
        QCOMPARE(table.last().y(), lastArea);
    }
    QCOMPARE(main->document().points.suspendCount(), 0);
    QCOMPARE(window->MemSA.suspendCount(), 0);
    // The bar went up to one position per stage.
    if (rows > 0)
        QCOMPARE(program.windows().ProgressForm->ProgressBar1->position(), rows);
}

void RatingCommandsTest::edgeWarningIsModalAndTheRunGoesOn() {
    TestProgram program;
    TForm1* main = program.main();
    enterChannel(main);
    main->edMaxStage->setText(QStringLiteral("12"));
    main->SpinStageInc->setIncrement(1.0);
    bool sawModal = false;
    bool tableEmptyWhileShown = false;
    program.seam.onModal([&](QDialog& dialog) {
        sawModal = dialog.isModal() || dialog.windowModality() == Qt::ApplicationModal;
        tableEmptyWhileShown = program.ratingWindow()->MemSA.rowCount() == 0;
        dialog.reject(); // the close box
    });
    main->Button1->click();
    QVERIFY(sawModal);
    QVERIFY(tableEmptyWhileShown);
    QCOMPARE(program.seam.modals.size(), 1);
    QCOMPARE(program.seam.modals.first().objectName, QStringLiteral("EWForm"));
    QCOMPARE(program.ratingWindow()->MemSA.rowCount(), std::size_t{13});

    // An empty section reads both ends as 0.0: a positive maximum warns.
    main->document().points.clear();
    main->edMaxStage->setText(QStringLiteral("0.5"));
    main->Button1->click();
    QCOMPARE(program.seam.modals.size(), 2);
    main->edMaxStage->setText(QStringLiteral("0"));
    main->Button1->click();
    QCOMPARE(program.seam.modals.size(), 2);
}

void RatingCommandsTest::boundsPromptCommandUsesItsOwnFieldsUnrounded() {
    TestProgram program;
    TForm1* main = program.main();
    enterChannel(main);
    main->edMaxStage->setText(QStringLiteral("99")); // not used by the prompt
    main->CreateStageAreaTable1->trigger();
    auto* prompt = program.windows().PromptWindow;
    QVERIFY(prompt->isVisible());
    prompt->edMinStage->setText(QStringLiteral("0.125"));
    prompt->edMaxStage->setText(QStringLiteral("0.125"));
    emit prompt->okClicked();

    QVERIFY(!prompt->isVisible());
    QCOMPARE(program.seam.modals.size(), 0);
    QVERIFY(program.ratingWindow()->isVisible());
    const QList<QPointF> table = ratingRows(program.ratingWindow()->MemSA);
    QCOMPARE(table.size(), 1);
    QCOMPARE(table.first().x(), 0.125);
    // Water 0.125 deep over a 6-wide bed with 1:5 banks: 6 * 0.125 + 0.125 * 0.025 = 0.753125.
    QCOMPARE(table.first().y(), 0.753125);

    // The prompt keeps what was typed; a bad field stops before anything changes.
    prompt->edMaxStage->setText(QStringLiteral("x"));
    main->CreateStageAreaTable1->trigger();
    emit prompt->okClicked();
    QCOMPARE(program.seam.messages.size(), 1);
    QCOMPARE(program.seam.messages.first().text,
             QStringLiteral("'x' is not a valid floating point value."));
    QVERIFY(prompt->isVisible());
    QCOMPARE(prompt->edMinStage->text(), QStringLiteral("0.125"));
    QCOMPARE(program.ratingWindow()->MemSA.rowCount(), std::size_t{1});
}

void RatingCommandsTest::mainCommandClosesTheBoundsPrompt() {
    TestProgram program;
    TForm1* main = program.main();
    enterChannel(main);
    main->CreateStageAreaTable1->trigger();
    QVERIFY(program.windows().PromptWindow->isVisible());
    main->Button1->click();
    QVERIFY(!program.windows().PromptWindow->isVisible());
    QVERIFY(program.ratingWindow()->isVisible());
}

void RatingCommandsTest::regeneratingRefillsInPlace() {
    TestProgram program;
    TForm1* main = program.main();
    enterChannel(main);
    main->edMaxStage->setText(QStringLiteral("5"));
    main->SpinStageInc->setIncrement(1.0);
    main->Button1->click();
    TForm2* window = program.ratingWindow();
    QCOMPARE(window->MemSA.rowCount(), std::size_t{6});
    const QPoint placed = window->pos();

    main->edMaxStage->setText(QStringLiteral("2"));
    main->Button1->click();
    QCOMPARE(window->MemSA.rowCount(), std::size_t{3});
    QCOMPARE(window->DBChart1->seriesGraph()->dataCount(), 3);
    QCOMPARE(window->pos(), placed);

    window->CloseWindow1->trigger();
    QVERIFY(!window->isVisible());
    QCOMPARE(window->MemSA.rowCount(), std::size_t{3});
    main->Button1->click();
    QVERIFY(window->isVisible());
}

void RatingCommandsTest::rowWithoutStationStopsBeforeTheWindowOpens() {
    TestProgram program;
    TForm1* main = program.main();
    PointTable& points = main->document().points;
    // The blank start-up row gets an elevation but no station.
    points.setElevation(3.0);
    main->Button1->click();
    QCOMPARE(program.seam.messages.size(), 1);
    QCOMPARE(program.seam.messages.first().text,
             QStringLiteral("Field 'Station' must have a value."));
    QVERIFY(!program.ratingWindow()->isVisible());
    QVERIFY(!static_cast<QWidget*>(program.windows().ProgressForm)->isVisible());
    QCOMPARE(program.ratingWindow()->MemSA.rowCount(), std::size_t{0});
    QCOMPARE(points.suspendCount(), 0);
    QCOMPARE(program.ratingWindow()->MemSA.suspendCount(), 0);
}

void RatingCommandsTest::mainWindowKeysWorkFromOtherWindowsButNotUnderAModalDialog() {
    QTemporaryDir folder;
    const QString startDir = QDir::currentPath();
    TestProgram program;
    TForm1* main = program.main();
    enterChannel(main);
    main->edMaxStage->setText(QStringLiteral("2"));
    main->SpinStageInc->setIncrement(1.0);
    main->Button1->click();
    TForm2* window = program.ratingWindow();
    TestProgram::activate(window);
    QCOMPARE(QApplication::activeWindow(), window);

    // Ctrl+S in the rating window saves the cross-section.
    program.seam.chooseFile(folder.filePath(QStringLiteral("from-rating-window")));
    QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(program.seam.fileDialogs.size(), 1);
    QVERIFY(QFile::exists(folder.filePath(QStringLiteral("from-rating-window.kvd"))));

    // With the about box open (F1) the same key does nothing.
    int dialogsWhileModal = -1;
    program.seam.onModal([&](QDialog& about) {
        QTest::keyClick(window, Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(&about, Qt::Key_S, Qt::ControlModifier);
        dialogsWhileModal = static_cast<int>(program.seam.fileDialogs.size());
    });
    QTest::keyClick(window, Qt::Key_F1);
    QCOMPARE(program.seam.modals.size(), 1);
    QCOMPARE(program.seam.modals.first().objectName, QStringLiteral("AboutBox1"));
    QCOMPARE(dialogsWhileModal, 1);

    // Ctrl+T from the rating window opens the prompt too.
    TestProgram::activate(window);
    QTest::keyClick(window, Qt::Key_T, Qt::ControlModifier);
    QVERIFY(program.windows().PromptWindow->isVisible());
    QDir::setCurrent(startDir);
}

// Made again from the main window (Alt+C or the prompt's "&Ok"), the open rating window comes to
// the front as the active window, so the keys go to it.
void RatingCommandsTest::regeneratedRatingWindowTakesTheKeyboard() {
    TestProgram program;
    TForm1* main = program.main();
    program.rateTrapezoid(QStringLiteral("2"));
    TForm2* window = program.ratingWindow();
    QVERIFY(window->isVisible());
    for (const bool fromPrompt : {false, true}) {
        TestProgram::activate(main);
        QCOMPARE(QApplication::activeWindow(), main);
        if (fromPrompt)
            program.windows().PromptWindow->Button1->click();
        else
            QTest::keyClick(main, Qt::Key_C, Qt::AltModifier);
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(window));
    }
    QVERIFY(program.seam.messages.isEmpty());
}

QTEST_MAIN(RatingCommandsTest)
#include "rating_commands_test.moc"
