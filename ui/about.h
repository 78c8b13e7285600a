#pragma once

// The about box ("About Korvadel"): modal (shown through the desktop seam's execModal), stays
// on top. "OK" is the default button: it and Enter close the box; Escape does nothing.
//
//   TAboutBox1(QWidget* parent = nullptr);
//   QWidget* Panel1;  QLabel* ProgramIcon;  QLabel* ProductName;  QLabel* Version;
//   QLabel* Comments;  QPushButton* OKButton;
//   static QImage programIcon();  // the program's 32 x 32, 16-colour icon, drawn in code

#include <QDialog>
#include <QImage>

class QLabel;
class QPushButton;

class TAboutBox1 : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox1(QWidget* parent = nullptr);

    static QImage programIcon();

    QWidget* Panel1;
    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QLabel* Comments;
    QPushButton* OKButton;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
