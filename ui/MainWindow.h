// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "components/desktop/DesktopSeam.h"
#include "io/InputFormats.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QLineEdit;
class QPushButton;
class QTimer;

namespace korvadel {

class Chart;
class IncrementSpinBox;
class PointGrid;
class WaterLevelAnimation;
class WaterSurfaceOverlay;
class Workspace;

// The main window: the cross-section document's description and gage-height settings in their
// fields, its points in the point grid and the cross-section chart, and every command that
// starts work on the document. It shows the workspace's document and feeds what is typed back
// into it. Commands that open another window are passed on as requests; closing the window
// ends the program.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Workspace& workspace, QWidget* parent = nullptr);
    ~MainWindow() override;

    // What the window shows and works on.
    Workspace& workspace() const { return workspace_; }

    // The rating from the document's settings ("&Create Stage Area Rating").
    void createRating();
    // The rating from the bounds prompt's minimum and maximum (as typed) and increment.
    void createRatingFromPrompt(const QString& minimum, const QString& maximum, double increment);
    // The import of an ADCP's Classic ASCII output proper, once its warning was accepted.
    void importWinRiverFile();
    // A file chosen outside the program (named on its command line, dropped on the window),
    // opened as the File menu opens one of its kind, chosen by its name as the command line's
    // companion chooses its reader: loaded as a cross-section file or imported, into the undo
    // history, with the same boxes; the working directory moves to its folder as after a
    // dialog. An ADCP file is imported without the import's warning: the user already chose it.
    void openFile(const QString& fileName);

    // Puts the document's description and settings into the fields (after New and Load).
    void documentToFields();
    // Stores the working directory as LastDir; called while the window closes.
    void storeLastDir();
    // Puts the point grid's cursor on the first point at `station` (the section check's rows
    // point at their points this way).
    void selectPoint(double station);

    QLineEdit* description = nullptr;
    QLineEdit* minimumStage = nullptr;
    QLineEdit* maximumStage = nullptr;
    IncrementSpinBox* stageIncrement = nullptr;
    QLineEdit* datum = nullptr;
    QPushButton* animateButton = nullptr;      // "&Animate Cross Section"
    QPushButton* createRatingButton = nullptr; // "&Create Stage Area Rating"
    PointGrid* pointGrid = nullptr;
    Chart* sectionChart = nullptr;
    QTimer* animationTimer = nullptr;

    QAction* newAction = nullptr;
    QAction* loadAction = nullptr;
    QAction* importCommaDelimitedAction = nullptr;
    QAction* importWinRiverAction = nullptr;
    QAction* saveAction = nullptr;
    QAction* printChartAction = nullptr;
    QAction* exitAction = nullptr;
    QAction* aboutAction = nullptr;
    QAction* boundsPromptAction = nullptr;   // Ctrl+T, no menu entry
    QAction* undoAction = nullptr;           // "&Undo", Ctrl+Z
    QAction* redoAction = nullptr;           // "&Redo", Ctrl+Y and Ctrl+Shift+Z
    QAction* checkSectionAction = nullptr;   // "&Check Section..."
    QAction* compareSectionAction = nullptr; // "&Compare with Section..."

    // The water surface at the animation's level on the cross-section chart.
    WaterSurfaceOverlay& waterSurface() const { return *waterSurface_; }

    // File dialogs this window owns: cross-section open, cross-section save, and the one import
    // dialog whose filter each import command sets. They remember filter and name between uses.
    FileDialogState openDialog;
    FileDialogState saveDialog;
    FileDialogState importDialog;

signals:
    void aboutRequested();
    void boundsPromptRequested();
    // The import of an ADCP's output starts with its warning.
    void winRiverImportRequested();
    void sectionCheckRequested();
    void sectionComparisonRequested();
    // The main window has closed: the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    // A single local file dragged from a file manager is taken anywhere over the window, the
    // text fields included; anything else with addresses is refused.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void startUp();
    void buildPanel(QWidget* panel);
    void buildMenus();
    void connectFields();
    void restoreLastDir();

    void newCrossSection();
    void loadCrossSection();
    void saveCrossSection();
    void importCommaDelimited();
    // Both imports: the import dialog with the format's filter, then its reader.
    void importPoints(InputFormat format);
    void loadCrossSectionFile(const QString& fileName);
    void importPointsFile(const InputFormatInfo& input, const QString& fileName);
    // Whether the drag can be dropped here (and with which action); true for a drag of
    // addresses, accepted or refused, that the window takes over from its fields.
    bool takeDrag(QDropEvent* event);
    void undoLastChange();
    void redoLastChange();
    void printSectionChart();
    void toggleAnimation();
    void advanceWaterLevel();
    // The chart's fill baseline is the water level, whatever moved it last.
    void showWaterLevel();

    Workspace& workspace_;
    bool syncing_ = false;
    std::unique_ptr<WaterLevelAnimation> animation_;
    std::unique_ptr<WaterSurfaceOverlay> waterSurface_;
};

} // namespace korvadel
