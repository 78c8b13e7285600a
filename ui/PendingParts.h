#pragma once

// Stand-ins for components that are not in the tree yet; removed when they arrive.

#include <QDialog>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QTableView>

namespace korvadel {
class DesktopSeam;
class PointTable;
class RatingTable;

class IncrementSpinBox : public QDoubleSpinBox {
    Q_OBJECT
public:
    explicit IncrementSpinBox(char, QWidget* parent = nullptr) : QDoubleSpinBox(parent)
    {
        setRange(0.01, 1.0);
        setSingleStep(0.1);
        setValue(0.01);
    }
};

class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr) : QTableView(parent) {}
    void bindPoints(PointTable&, char, DesktopSeam&) {}
    void bindRating(RatingTable&, char, DesktopSeam&) {}
};
} // namespace korvadel

class TPromptWindow : public QDialog {
    Q_OBJECT
public:
    explicit TPromptWindow(char separator, QWidget* parent = nullptr)
        : QDialog(parent), edMinStage(new QLineEdit(QStringLiteral("0"), this)),
          edMaxStage(new QLineEdit(QStringLiteral("1"), this)),
          SpinStageInc(new korvadel::IncrementSpinBox(separator, this))
    {
    }
    QString minimumText() const { return edMinStage->text(); }
    QString maximumText() const { return edMaxStage->text(); }
    double increment() const { return SpinStageInc->value(); }
    QLineEdit* edMinStage;
    QLineEdit* edMaxStage;
    korvadel::IncrementSpinBox* SpinStageInc;
signals:
    void okClicked();
};

class TProgressForm : public QDialog {
    Q_OBJECT
public:
    TProgressForm() = default;
    void setRange(int minimum, int maximum) { minimum_ = minimum; maximum_ = maximum; }
    void setPosition(int position) { position_ = position; }
    int minimum_ = 0, maximum_ = 100, position_ = 0;
};

class TWarningForm : public QDialog {
    Q_OBJECT
public:
    TWarningForm() = default;
signals:
    void continueClicked();
};

class TEWForm : public QDialog {
    Q_OBJECT
public:
    TEWForm() { setObjectName(QStringLiteral("EWForm")); }
};

class TAboutBox1 : public QDialog {
    Q_OBJECT
public:
    TAboutBox1() { setObjectName(QStringLiteral("AboutBox1")); }
};
