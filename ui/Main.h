#pragma once

#include "components/DesktopSeam.h"
#include "io/InputFormats.h"
#include "model/CrossSectionDocument.h"
#include "model/NumberFormat.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <string>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;
struct ProgramContext;

namespace korvadel {
class Chart;
class PointGrid;
class SectionHistory;
class WaterLevelAnimation;
class IncrementSpinBox;
} // namespace korvadel

// The main window: the one cross-section document of the run, its fields, the point grid, the
// cross-section chart and every command that starts work. Closing it ends the program.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(ProgramContext& context, QWidget* parent = nullptr);
    ~TForm1() override;

    korvadel::CrossSectionDocument& document() { return document_; }
    // Undo and redo of every change to the section.
    korvadel::SectionHistory& history() const { return *history_; }
    korvadel::Chart* chart() const { return DBChart1; }
    korvadel::PointGrid* pointGrid() const { return DBGrid1; }

    // Runs a command: any error it meets ends up in the error box (or, for a file that cannot be
    // opened for reading, in the warning box) and the program goes on.
    void runCommand(const std::function<void()>& command);

    // Rating generation from the document's settings, and from the bounds prompt's fields.
    void Button1Click();
    void CreateRatingFromPrompt();

    // Puts the document's description and settings into the fields (after New and Load).
    void documentToFields();

    // Controls, named as the rest of the program refers to them.
    QLineEdit* ebDescription = nullptr;
    QLineEdit* edMinStage = nullptr;
    QLineEdit* edMaxStage = nullptr;
    korvadel::IncrementSpinBox* SpinStageInc = nullptr;
    QLineEdit* ebOffset = nullptr;
    QPushButton* Button2 = nullptr; // "&Animate Cross Section"
    QPushButton* Button1 = nullptr; // "&Create Stage Area Rating"
    korvadel::PointGrid* DBGrid1 = nullptr;
    korvadel::Chart* DBChart1 = nullptr;
    QLineEdit* dxEdit1 = nullptr; // water level, never shown
    QTimer* Timer1 = nullptr;

    QAction* NewCrossSection1 = nullptr;
    QAction* LoadCrossSection1 = nullptr;
    QAction* CommaDelimitedFile1 = nullptr;
    QAction* WinRiverClassicACSIIDataFile1 = nullptr;
    QAction* SaveCrossSection1 = nullptr;
    QAction* PrintCrossSection1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* About1 = nullptr;
    QAction* CreateStageAreaTable1 = nullptr;
    QAction* undoAction = nullptr; // "&Undo", Ctrl+Z
    QAction* redoAction = nullptr; // "&Redo", Ctrl+Y and Ctrl+Shift+Z

    // File dialogs this window owns: cross-section open, cross-section save, and the one import
    // dialog whose filter each import command sets.
    korvadel::FileDialogState OpenDialog1;
    korvadel::FileDialogState SaveDialog1;
    korvadel::FileDialogState OpenDialog2;

    // The WinRiver import proper, run by the import warning's "&Continue".
    void runWinRiverImport();

    // Stores the working directory as LastDir; called while the window closes.
    void storeLastDir();

signals:
    // The main window has closed: the program ends.
    void formClosed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void buildPanel(QWidget* panel);
    void buildMenus();
    void connectFields();
    void restoreLastDir();

    void NewCrossSection1Click();
    void LoadCrossSection1Click();
    void CommaDelimitedFile1Click();
    void WinRiverClassicACSIIDataFile1Click();
    // Both imports: the import dialog with the format's filter, then its reader.
    void importPoints(korvadel::InputFormat format);
    void undoLastChange();
    void redoLastChange();
    void SaveCrossSection1Click();
    void About1Click();
    void CreateStageAreaTable1Click();

    // Water-level animation (ui/WaterLevelAnimation): the button toggles, the timer ticks.
    void Button2Click();
    void Timer1Timer();
    // Cross-section chart printing: filled in with printing.
    void PrintCrossSection1Click();

    void beforeChartDraw();

    ProgramContext& context_;
    korvadel::CrossSectionDocument document_;
    korvadel::SectionHistory* history_ = nullptr;
    bool syncing_ = false;
    std::unique_ptr<korvadel::WaterLevelAnimation> animation_;
};
