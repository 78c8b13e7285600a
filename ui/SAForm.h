#pragma once

#include "components/DesktopSeam.h"
#include "model/NumberFormat.h"
#include "model/RatingTable.h"

#include <QMainWindow>

#include <string>

class QAction;
struct ProgramContext;

namespace korvadel {
class Chart;
class RatingGrid;
} // namespace korvadel

// The rating window: the last stage-area rating as a grid beside its stage-against-area curve,
// with the menu that exports and prints them. It owns the one rating table of the run; the
// rating commands refill it and show the window.
class TForm2 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm2(ProgramContext& context, QWidget* parent = nullptr);
    ~TForm2() override;

    // Shows the window (centred), or leaves it as it is when it is already shown.
    void showRating();

    korvadel::RatingTable MemSA;
    korvadel::RatingGrid* DBGrid1 = nullptr;
    korvadel::Chart* DBChart1 = nullptr;

    QAction* PrintTable1 = nullptr;
    QAction* PrintChart2 = nullptr;
    QAction* JPEG1 = nullptr;
    QAction* MetaFileWMF1 = nullptr;
    QAction* Text1 = nullptr;
    QAction* HTML1 = nullptr;
    QAction* Excel1 = nullptr;
    QAction* CloseWindow1 = nullptr;

    // The save dialog the data exports share; each command sets its own extension and filter.
    korvadel::FileDialogState SaveDialog1;

    void Text1Click();
    void HTML1Click();
    void Excel1Click();

private:
    void CloseWindow1Click();
    // Filled in with printing and the chart pictures.
    void PrintTable1Click();
    void PrintChart2Click();
    void JPEG1Click();
    void MetaFileWMF1Click();

    using Writer = void (*)(const std::string& path, const korvadel::RatingTable& rating,
                            korvadel::NumberFormat format);
    void exportData(const QString& defaultExtension, const QString& filter, Writer writer);

    ProgramContext& context_;
};
