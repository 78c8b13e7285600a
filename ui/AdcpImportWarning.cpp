// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AdcpImportWarning.h"

#include "components/desktop/ScreenPlacement.h"

#include <QAbstractTextDocumentLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextLayout>

#include <utility>

namespace korvadel {

namespace {

// How far a wrapped line is narrowed per try when its last word would stand alone.
constexpr int kMarginStep = 2;

} // namespace

AdcpImportWarning::AdcpImportWarning(QWidget* parent)
    : ProgramDialog(QStringLiteral("adcpImportWarning"),
                    QStringLiteral("Import WinRiver Classic ASCII Data"), kFixedFrame, parent),
      heading_(addWarningHeading(13)), message_(new QTextEdit(this)),
      continueButton_(new QPushButton(QStringLiteral("&Continue"), this)) {
    message_->setObjectName(QStringLiteral("message"));
    continueButton_->setObjectName(QStringLiteral("continueButton"));
    setFixedSize(310, 231);
    setModal(false);

    heading_->move(128, 12);

    message_->setGeometry(8, 40, 293, 145);
    message_->setReadOnly(true);
    message_->setAcceptRichText(false);
    message_->setUndoRedoEnabled(false);
    message_->setLineWrapMode(QTextEdit::WidgetWidth);
    message_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    message_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette background = message_->palette();
    background.setColor(QPalette::Base, palette().color(QPalette::Window));
    message_->setPalette(background);
    message_->setPlainText(warningLines().join(QLatin1Char('\n')));

    continueButton_->setGeometry(117, 196, 75, 25);
    connect(continueButton_, &QPushButton::clicked, this, &AdcpImportWarning::continueImport);
}

QStringList AdcpImportWarning::warningLines() {
    return {
        QStringLiteral("Korvadel currently uses the distance made good "),
        QStringLiteral("between ensembles to establish the location for each "),
        QStringLiteral("elevation point. Distance traveled in any direction will be "),
        QStringLiteral("added to the previous location to determine the next "),
        QStringLiteral("elevation location. ADCP movement in transects used to "),
        QStringLiteral("determine the cross section should be in a straight line "),
        QStringLiteral("perpendicular to the channel. Distance traveled in any "),
        QStringLiteral("other direction may result in a measured cross-sectional "),
        QStringLiteral("area that is larger than the actual cross-sectional area. "),
        QStringLiteral("Averaging multiple ensembles may reduce this error"),
        QString(),
        QStringLiteral("Also, the primary purpose of ADCP's is not the collection "),
        QStringLiteral("of depth and cross sectional information. In areas with "),
        QStringLiteral("unstable or changing bed material ADCP's may not be "),
        QStringLiteral("the "),
        QStringLiteral("best tool to use for cross sectional data collection. In "),
        QStringLiteral("these instances, other methods of collecting depth data"),
        QStringLiteral("should be considered (i.e. Depth sounder or a stadia "),
        QStringLiteral("rod and level.)"),
    };
}

void AdcpImportWarning::continueImport() {
    hide();
    emit continueClicked();
}

void AdcpImportWarning::comingUp(QShowEvent*) {
    // The box has its final width once shown.
    balanceWrappedLines();
}

void AdcpImportWarning::balanceWrappedLines() {
    QTextDocument* text = message_->document();
    QAbstractTextDocumentLayout* layout = text->documentLayout();
    // Lines the block takes and whether its last one holds a single word.
    const auto laidOut = [layout](const QTextBlock& block) {
        layout->blockBoundingRect(block); // lays the block out
        const QTextLayout* lines = block.layout();
        if (!lines || lines->lineCount() < 2)
            return std::pair{1, false};
        const QTextLine last = lines->lineAt(lines->lineCount() - 1);
        const QString words = block.text().mid(last.textStart(), last.textLength()).trimmed();
        return std::pair{lines->lineCount(), !words.contains(QLatin1Char(' '))};
    };
    const auto setRightMargin = [](const QTextBlock& block, int margin) {
        QTextBlockFormat format = block.blockFormat();
        format.setRightMargin(margin);
        QTextCursor(block).setBlockFormat(format);
    };
    const int width = static_cast<int>(text->textWidth());
    for (QTextBlock block = text->begin(); block.isValid(); block = block.next()) {
        setRightMargin(block, 0);
        const auto [lines, orphan] = laidOut(block);
        if (!orphan)
            continue;
        // Narrow the block a little at a time until a second word joins the last one, as long
        // as the line count stays; otherwise it keeps the full width.
        int kept = 0;
        for (int margin = kMarginStep; margin < width / 2; margin += kMarginStep) {
            setRightMargin(block, margin);
            const auto [count, alone] = laidOut(block);
            if (count != lines)
                break;
            if (!alone) {
                kept = margin;
                break;
            }
        }
        setRightMargin(block, kept);
    }
}

} // namespace korvadel
