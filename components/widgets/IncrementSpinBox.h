// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Real-valued spin box for a gage-height increment: range 0.01 to 1.0, step 0.1.
//
//   IncrementSpinBox(char decimalSeparator, QWidget* parent = nullptr);
//   double increment() const;        // the value as the entry reads now: empty or unreadable
//                                    // text reads 0.01, anything else clamped into the range
//   void setIncrement(double value); // clamped into the range, shown in the general format
//   signal keyRefused();             // a printable key that is not part of a number (beeps)
//
// The arrow keys, the wheel and the spin buttons add or subtract 0.1 and clamp. Typing takes
// digits, '+', '-' and the decimal separator (',' and '.' both type the separator); a typed
// value outside the range is brought into it when the entry is finished.

#include <QDoubleSpinBox>

namespace korvadel {

class IncrementSpinBox : public QDoubleSpinBox {
    Q_OBJECT
public:
    explicit IncrementSpinBox(char decimalSeparator, QWidget* parent = nullptr);

    double increment() const;
    void setIncrement(double value);

    QString textFromValue(double value) const override;
    double valueFromText(const QString& text) const override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

signals:
    void keyRefused();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    char separator_;
};

} // namespace korvadel
