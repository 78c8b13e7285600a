// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/widgets/IncrementSpinBox.h"

#include "components/desktop/TextCodec.h"
#include "model/GageSettings.h"
#include "model/Numbers.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace korvadel {

IncrementSpinBox::IncrementSpinBox(char decimalSeparator, QWidget* parent)
    : QDoubleSpinBox(parent), separator_(decimalSeparator) {
    // Enough decimals that Qt's own rounding never shows: the text is ours (general format).
    setDecimals(15);
    setRange(GageSettings::kMinIncrement, GageSettings::kMaxIncrement);
    setSingleStep(0.1);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    setKeyboardTracking(false);
    setValue(GageSettings::kMinIncrement);
}

double IncrementSpinBox::increment() const {
    return GageSettings::incrementFromText(toFileText(cleanText()), NumberFormat{separator_});
}

void IncrementSpinBox::setIncrement(double newValue) {
    setValue(GageSettings::clampIncrement(newValue));
    // setValue leaves the text alone when the value is unchanged but the text was edited.
    lineEdit()->setText(textFromValue(value()));
}

QString IncrementSpinBox::textFromValue(double value) const {
    return fromFileText(formatGeneral(value, NumberFormat{separator_}));
}

double IncrementSpinBox::valueFromText(const QString& text) const {
    return GageSettings::incrementFromText(toFileText(text), NumberFormat{separator_});
}

QValidator::State IncrementSpinBox::validate(QString& input, int&) const {
    for (const QChar c : input) {
        if (!c.isDigit() && c != QLatin1Char('+') && c != QLatin1Char('-') &&
            c != QLatin1Char(separator_) && c != QLatin1Char('e') && c != QLatin1Char('E') &&
            c != QLatin1Char(' '))
            return QValidator::Invalid;
    }
    double value = 0.0;
    if (!tryTextToFloat(toFileText(input), value, NumberFormat{separator_}))
        return QValidator::Intermediate;
    if (value < GageSettings::kMinIncrement || value > GageSettings::kMaxIncrement)
        return QValidator::Intermediate;
    return QValidator::Acceptable;
}

void IncrementSpinBox::fixup(QString& input) const {
    // Out of range comes back to the nearest bound, unreadable or empty to the lower one.
    input = textFromValue(valueFromText(input));
}

void IncrementSpinBox::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    const bool printable = text.size() == 1 && text.front().isPrint() &&
                           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (printable) {
        const QChar c = text.front();
        if (c == QLatin1Char(',') || c == QLatin1Char('.')) {
            lineEdit()->insert(QString(QLatin1Char(separator_)));
            event->accept();
            return;
        }
        if (!c.isDigit() && c != QLatin1Char('+') && c != QLatin1Char('-')) {
            QApplication::beep();
            emit keyRefused();
            event->accept();
            return;
        }
    }
    QDoubleSpinBox::keyPressEvent(event);
}

} // namespace korvadel
