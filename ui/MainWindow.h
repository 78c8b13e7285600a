// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/Workspace.h"

#include <QMainWindow>

#include <initializer_list>
#include <memory>

class QLineEdit;
class QPushButton;
class QTimer;

namespace korvadel {

class Chart;
class FileCommands;
class FileDropFilter;
class GageSettingsPanel;
class PointGrid;
class WaterLevelAnimation;
class WaterSurfaceOverlay;

// The main window: the cross-section document's description and gage-height settings in their
// fields, its points in the point grid and the cross-section chart, and every command that
// starts work on the document. It shows the workspace's document and follows its announcements;
// what is typed goes back into the workspace. The file commands live in FileCommands; commands
// that open another window are passed on as requests; closing the window ends the program,
// after the question about unsaved changes.
//
// Its controls are its own; other windows and tests reach them by their object names
// ("description", "minimumStage", "pointGrid", "sectionChart", "createRatingButton", ...).
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Workspace& workspace, QWidget* parent = nullptr);
    ~MainWindow() override;

    // What the window shows and works on.
    Workspace& workspace() const { return workspace_; }
    FileCommands& files() const { return *files_; }

    // The rating from the document's settings ("&Create Stage Area Rating").
    void createRating();
    // The rating from the bounds prompt's minimum and maximum (as typed) and increment, over
    // the main window's datum.
    void createRatingFromPrompt(const QString& minimum, const QString& maximum, double increment);
    // After a command stopped at a gage-height text that is not a number: the first of the
    // fields in `order` (the order the command reads them) that does not convert gets the focus
    // with its text selected, for the user to type over. False when none is unreadable.
    bool selectUnreadableSetting(std::initializer_list<GageField> order);
    // The import of an ADCP's Classic ASCII output proper, once its warning was accepted.
    void importWinRiverFile();
    // A file chosen outside the program (FileCommands::openFile), under the command runner.
    void openFile(const QString& fileName);

    // Puts the point grid's cursor on the first point at `station` (the section check's rows
    // point at their points this way).
    void selectPoint(double station);

    // The water surface at the animation's level on the cross-section chart.
    WaterSurfaceOverlay& waterSurface() const { return *waterSurface_; }

signals:
    void aboutRequested();
    void boundsPromptRequested();
    // The import of an ADCP's output starts with its warning.
    void winRiverImportRequested();
    void sectionCheckRequested();
    void indexVelocityRequested();
    void sectionComparisonRequested();
    // The main window has closed: the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildPanel(QWidget* panel);
    void buildMenus();
    void followWorkspace();
    void startUp();
    void showCaption();
    void resetChartTitle();
    void printSectionChart();
    void toggleAnimation();
    void advanceWaterLevel();
    // The chart's fill baseline is the water level, whatever moved it last.
    void showWaterLevel();

    Workspace& workspace_;
    FileCommands* files_ = nullptr;
    QLineEdit* description_ = nullptr;
    GageSettingsPanel* settings_ = nullptr;
    PointGrid* pointGrid_ = nullptr;
    QPushButton* animateButton_ = nullptr;
    QPushButton* createRatingButton_ = nullptr;
    Chart* sectionChart_ = nullptr;
    QTimer* animationTimer_ = nullptr;
    FileDropFilter* drops_ = nullptr;
    std::unique_ptr<WaterLevelAnimation> animation_;
    std::unique_ptr<WaterSurfaceOverlay> waterSurface_;
};

} // namespace korvadel
