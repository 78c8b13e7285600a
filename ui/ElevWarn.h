#pragma once

// The edge warning ("Create Stage Area Rating"), shown modally (through the desktop seam's
// execModal) when the maximum gage height lies above an end of the cross-section. "&OK" and
// the close box both close it; the rating goes on either way.
//
//   TEWForm(QWidget* parent = nullptr);
//   QLabel* Label1 ("Warning!");  QPlainTextEdit* Memo1 (the four lines);  QPushButton* Button1

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

class TEWForm : public QDialog {
    Q_OBJECT
public:
    explicit TEWForm(QWidget* parent = nullptr);

    static QStringList warningLines();

    QLabel* Label1;
    QPlainTextEdit* Memo1;
    QPushButton* Button1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool sized_ = false;
};
