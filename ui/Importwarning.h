#pragma once

// The warning shown before a WinRiver Classic ASCII import. Not modal.
//
//   TWarningForm(QWidget* parent = nullptr);
//   QLabel* Label1 ("Warning!");  QTextEdit* Memo1 (the 19 lines, one paragraph each);
//   QPushButton* Button1 ("&Continue");
//   signal continueClicked();  // emitted after the window has hidden itself: run the import
//
// The close box (and Escape) hides the window without importing.

#include <QDialog>

class QLabel;
class QTextEdit;
class QPushButton;

class TWarningForm : public QDialog {
    Q_OBJECT
public:
    explicit TWarningForm(QWidget* parent = nullptr);

    // The warning text, one entry per line.
    static QStringList warningLines();

    QLabel* Label1;
    QTextEdit* Memo1;
    QPushButton* Button1;

signals:
    void continueClicked();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Button1Click();
    // A line too long for the box wraps so that its last word does not stand alone on a line.
    void balanceWrappedLines();
};
