// Texts on screen are not cut off: the stop caption fits its button, every window shows the
// same font, the import warning's wrapped lines leave no word alone, and texts the layout cuts
// off show whole in a tooltip.

#include "components/IncrementSpinBox.h"
#include "components/RatingGrid.h"
#include "support/TestProgram.h"
#include "ui/ElevWarn.h"
#include "ui/Importwarning.h"
#include "ui/Main.h"
#include "ui/Progress.h"
#include "ui/SAForm.h"
#include "ui/about.h"
#include "ui/tableprompt.h"

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
    TForm1* main = program.main();
    main->document().points.appendRow(0, 1);
    main->document().points.appendRow(10, 0);
    main->Button2->click();
    QCOMPARE(main->Button2->text(), QStringLiteral("Stop Cross Section Animation"));
    QCOMPARE(main->Button2->width(), 177);
    QVERIFY2(main->Button2->sizeHint().width() <= main->Button2->width(),
             qPrintable(QString::number(main->Button2->sizeHint().width())));
    main->Button2->click();
}

void TextFitTest::everyWindowShowsOneFont() {
    TestProgram program;
    Windows& w = program.windows();
    const QFont font = program.main()->font();
    for (QWidget* window :
         {static_cast<QWidget*>(w.Form2), static_cast<QWidget*>(w.PromptWindow),
          static_cast<QWidget*>(w.AboutBox1), static_cast<QWidget*>(w.ProgressForm),
          static_cast<QWidget*>(w.WarningForm), static_cast<QWidget*>(w.EWForm)})
        QVERIFY2(window->font() == font, qPrintable(window->objectName()));
    QCOMPARE(QApplication::font(), font);
    QCOMPARE(program.main()->ebDescription->font(), font);
}

void TextFitTest::warningLinesLeaveNoWordAlone() {
    TestProgram program;
    TWarningForm* warning = program.windows().WarningForm;
    program.main()->WinRiverClassicACSIIDataFile1->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(warning));
    QTextDocument* text = warning->Memo1->document();
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
    TForm1* main = program.main();
    const QString longText = QStringLiteral("Mill Creek below the county bridge, left bank");
    main->ebDescription->setText(longText);
    QCOMPARE(main->ebDescription->toolTip(), longText);
    main->ebDescription->setText(QStringLiteral("Mill Creek"));
    QCOMPARE(main->ebDescription->toolTip(), QString());

    // The bounds prompt's rating keeps the areas unrounded: 1/3 of a unit at the first stage.
    main->document().points.clear();
    for (const auto& [station, elevation] : {std::pair{0, 10}, {1, 0}, {3, 0}, {4, 10}})
        main->document().points.appendRow(station, elevation);
    program.windows().PromptWindow->edMaxStage->setText(QStringLiteral("1"));
    program.windows().PromptWindow->SpinStageInc->setIncrement(1.0 / 3.0);
    program.windows().PromptWindow->Button1->click();
    RatingGrid* grid = program.ratingWindow()->DBGrid1;
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
