// SPDX-License-Identifier: GPL-3.0-or-later
// Texts on screen are not cut off: the stop caption fits its button, every window shows the
// same font, the import warning's wrapped lines leave no word alone, and texts the layout cuts
// off show whole in a tooltip.

#include "components/grid/RatingGrid.h"
#include "components/widgets/IncrementSpinBox.h"
#include "tests/support/Controls.h"
#include "tests/support/TestProgram.h"
#include "ui/AboutBox.h"
#include "ui/AdcpImportWarning.h"
#include "ui/BoundsPrompt.h"
#include "ui/EdgeWarning.h"
#include "ui/MainWindow.h"
#include "ui/ProgressDialog.h"
#include "ui/RatingWindow.h"
#include "ui/Workspace.h"

#include <QAbstractTextDocumentLayout>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QToolTip>
#include <QtTest>

using namespace korvadel;

class TextFitTest : public QObject {
    Q_OBJECT
private slots:
    void stopCaptionFitsItsButton();
    void everyWindowShowsOneFont();
    void warningLinesLeaveNoWordAlone();
    void cutOffTextsShowWholeInATooltip();
};

void TextFitTest::stopCaptionFitsItsButton() {
    TestProgram program;
    MainWindow* main = program.main();
    main->workspace().document().points.appendRow(0, 1);
    main->workspace().document().points.appendRow(10, 0);
    ui(main).animateButton->click();
    QCOMPARE(ui(main).animateButton->text(), QStringLiteral("Stop Cross Section Animation"));
    QCOMPARE(ui(main).animateButton->width(), 177);
    QVERIFY2(ui(main).animateButton->sizeHint().width() <= ui(main).animateButton->width(),
             qPrintable(QString::number(ui(main).animateButton->sizeHint().width())));
    ui(main).animateButton->click();
}

void TextFitTest::everyWindowShowsOneFont() {
    TestProgram program;
    const QFont font = program.main()->font();
    for (QWidget* window :
         {static_cast<QWidget*>(program.ratingWindow()),
          static_cast<QWidget*>(program.boundsPrompt()), static_cast<QWidget*>(program.aboutBox()),
          static_cast<QWidget*>(program.progressDialog()),
          static_cast<QWidget*>(program.importWarning()),
          static_cast<QWidget*>(program.edgeWarning())})
        QVERIFY2(window->font() == font, qPrintable(window->objectName()));
    QCOMPARE(QApplication::font(), font);
    QCOMPARE(ui(program.main()).description->font(), font);
}

void TextFitTest::warningLinesLeaveNoWordAlone() {
    TestProgram program;
    AdcpImportWarning* warning = program.importWarning();
    ui(program.main()).importWinRiverAction->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(warning));
    QTextDocument* text = ui(warning).message->document();
    QCOMPARE(text->blockCount(), 19);
    int wrapped = 0;
    for (QTextBlock block = text->begin(); block.isValid(); block = block.next()) {
        text->documentLayout()->blockBoundingRect(block);
        const QTextLayout* lines = block.layout();
        if (lines->lineCount() < 2)
            continue;
        ++wrapped;
        const QTextLine last = lines->lineAt(lines->lineCount() - 1);
        const QString words = block.text().mid(last.textStart(), last.textLength()).trimmed();
        QVERIFY2(words.contains(QLatin1Char(' ')), qPrintable(block.text()));
    }
    QVERIFY(wrapped > 0);
}

void TextFitTest::cutOffTextsShowWholeInATooltip() {
    TestProgram program;
    MainWindow* main = program.main();
    const QString longText = QStringLiteral("Mill Creek below the county bridge, left bank");
    ui(main).description->setText(longText);
    QCOMPARE(ui(main).description->toolTip(), longText);
    ui(main).description->setText(QStringLiteral("Mill Creek"));
    QCOMPARE(ui(main).description->toolTip(), QString());

    // The bounds prompt's rating keeps the areas unrounded: 1/3 of a unit at the first stage.
    main->workspace().document().points.clear();
    for (const auto& [station, elevation] : {std::pair{0, 10}, {1, 0}, {3, 0}, {4, 10}})
        main->workspace().document().points.appendRow(station, elevation);
    ui(program.boundsPrompt()).maximumStage->setText(QStringLiteral("1"));
    ui(program.boundsPrompt()).stageIncrement->setIncrement(1.0 / 3.0);
    ui(program.boundsPrompt()).okButton->click();
    RatingGrid* grid = ui(program.ratingWindow()).ratingGrid;
    QVERIFY(QTest::qWaitForWindowExposed(program.ratingWindow()));
    const QModelIndex cut = grid->model()->index(1, 1);
    const QString area = cut.data().toString();
    QVERIFY2(grid->fontMetrics().horizontalAdvance(area) > grid->columnWidth(1), qPrintable(area));
    const QPoint at = grid->visualRect(cut).center();
    QHelpEvent help(QEvent::ToolTip, at, grid->viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid->viewport(), &help);
    QTRY_COMPARE(QToolTip::text(), area);

    const QModelIndex whole = grid->model()->index(0, 0);
    const QPoint atWhole = grid->visualRect(whole).center();
    QHelpEvent none(QEvent::ToolTip, atWhole, grid->viewport()->mapToGlobal(atWhole));
    QApplication::sendEvent(grid->viewport(), &none);
    QTRY_VERIFY(!QToolTip::isVisible());
}

QTEST_MAIN(TextFitTest)
#include "text_fit_test.moc"
