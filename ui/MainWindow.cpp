// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindow.h"

#include "components/chart/Chart.h"
#include "components/chart/ChartPrintPreview.h"
#include "components/chart/WaterSurfaceOverlay.h"
#include "components/desktop/ActionTable.h"
#include "components/desktop/FileDropFilter.h"
#include "components/desktop/TextCodec.h"
#include "components/grid/PointGrid.h"
#include "components/history/SectionHistory.h"
#include "components/widgets/FullTextToolTip.h"
#include "ui/FileCommands.h"
#include "ui/GageSettingsPanel.h"
#include "ui/ProgramSettings.h"
#include "ui/Version.h"
#include "ui/WaterLevelAnimation.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QUndoStack>
#include <QVBoxLayout>

#include <exception>

namespace korvadel {

namespace {

// Sizes at 96 dots per inch. The frame the platform adds around the client area is taken as
// 8 pixels across and, with caption and menu bar, 54 down, which puts the panel's parts at
// the heights they are laid out for (45 + 136 + 167 + 77).
constexpr int kOuterWidth = 631;
constexpr int kOuterHeight = 479;
constexpr int kMinimumOuterWidth = 279;
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 54;
constexpr int kPanelWidth = 189;
constexpr int kStationGroupHeight = 45;
constexpr int kGageGroupHeight = 136;
constexpr int kButtonStripHeight = 77;

const QStringList kChartTitle = {QStringLiteral("Cross Section"), QString()};

QKeySequence keys(const char* text) {
    return QKeySequence(QLatin1String(text));
}

} // namespace

MainWindow::MainWindow(Workspace& workspace, QWidget* parent)
    : QMainWindow(parent), workspace_(workspace) {
    setObjectName(QStringLiteral("mainWindow"));
    files_ = new FileCommands(workspace_, *this);

    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* panel = new QWidget(central);
    panel->setObjectName(QStringLiteral("sidePanel"));
    panel->setFixedWidth(kPanelWidth);
    layout->addWidget(panel);

    sectionChart_ = new Chart(central);
    sectionChart_->setObjectName(QStringLiteral("sectionChart"));
    sectionChart_->setTitleLines(kChartTitle);
    sectionChart_->setAxisTitles(QStringLiteral("Location"), QStringLiteral("Elevation"));
    sectionChart_->setFocusPolicy(Qt::NoFocus);
    sectionChart_->setPrintMargins(PrintMargins{15, 15, 15, 15, true, 0});
    layout->addWidget(sectionChart_, 1);
    setCentralWidget(central);

    buildPanel(panel);
    buildMenus();

    animationTimer_ = new QTimer(this);
    animationTimer_->setObjectName(QStringLiteral("animationTimer"));
    connect(animationTimer_, &QTimer::timeout, this, &MainWindow::advanceWaterLevel);

    CrossSectionDocument& document = workspace_.document();
    // The chart follows the point table itself: every change the table reports redraws it.
    sectionChart_->bindAreaSeries(document.points);
    waterSurface_ = std::make_unique<WaterSurfaceOverlay>(*sectionChart_, workspace_.format());
    sectionChart_->setBeforeDraw([this] { showWaterLevel(); });
    std::vector<QWidget*> inputs = settings_->fields();
    inputs.push_back(pointGrid_);
    animation_ = std::make_unique<WaterLevelAnimation>(WaterLevelAnimation::Parts{
        &workspace_.waterLevel(), &document, animateButton_, animationTimer_, sectionChart_,
        std::move(inputs), workspace_.format(), pointGrid_,
        findChild<QAction*>(QStringLiteral("stopAnimationAction"))});

    const int menuHeight = menuBar()->sizeHint().height();
    const int clientHeight = kOuterHeight - kFrameHeight + menuHeight;
    resize(kOuterWidth - kFrameWidth, clientHeight);
    setMinimumSize(kMinimumOuterWidth - kFrameWidth, clientHeight);

    drops_ = new FileDropFilter(*this);
    connect(drops_, &FileDropFilter::fileDropped, this, &MainWindow::openFile);

    followWorkspace();
    startUp();
}

MainWindow::~MainWindow() {
    // QWidget's destructor closes the window and hides its children; a field that settles its
    // text on hiding (the increment box) must not reach this half-destroyed window through the
    // workspace's announcements or an event filter.
    disconnect(&workspace_, nullptr, this, nullptr);
    for (QObject* child : findChildren<QObject*>())
        disconnect(child, nullptr, this, nullptr);
    drops_->detach();
}

void MainWindow::buildPanel(QWidget* panel) {
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* stationGroup = new QGroupBox(QStringLiteral("Station "), panel);
    stationGroup->setObjectName(QStringLiteral("stationGroup"));
    stationGroup->setFixedHeight(kStationGroupHeight);
    description_ = new QLineEdit(stationGroup);
    description_->setObjectName(QStringLiteral("description"));
    description_->setGeometry(12, 16, 149, 21);
    keepFullTextToolTip(*description_);
    column->addWidget(stationGroup);

    settings_ = new GageSettingsPanel(workspace_, panel);
    settings_->setFixedHeight(kGageGroupHeight);
    column->addWidget(settings_);

    pointGrid_ = new PointGrid(workspace_.document().points, workspace_.seam(),
                               workspace_.format().decimalSeparator, panel);
    pointGrid_->setObjectName(QStringLiteral("pointGrid"));
    column->addWidget(pointGrid_, 1);

    auto* strip = new QWidget(panel);
    strip->setObjectName(QStringLiteral("buttonStrip"));
    strip->setFixedHeight(kButtonStripHeight);
    animateButton_ = new QPushButton(WaterLevelAnimation::kStartCaption, strip);
    animateButton_->setObjectName(QStringLiteral("animateButton"));
    animateButton_->setGeometry(4, 12, 177, 25);
    createRatingButton_ = new QPushButton(QStringLiteral("&Create Stage Area Rating"), strip);
    createRatingButton_->setObjectName(QStringLiteral("createRatingButton"));
    createRatingButton_->setGeometry(4, 44, 177, 25);
    column->addWidget(strip);

    // point grid, Minimum, Maximum, Increment, Datum, the two buttons, description
    QWidget* order[] = {pointGrid_,
                        settings_->field(GageField::Minimum),
                        settings_->field(GageField::Maximum),
                        settings_->field(GageField::Increment),
                        settings_->field(GageField::Datum),
                        animateButton_,
                        createRatingButton_,
                        description_};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    CommandRunner& commands = workspace_.commands();
    commands.watch(pointGrid_);
    commands.route(animateButton_, [this] { toggleAnimation(); });
    commands.route(createRatingButton_, [this] { createRating(); });
}

void MainWindow::buildMenus() {
    CommandRunner& commands = workspace_.commands();
    // The main window's keys also work while one of the other windows is active, unless a
    // modal dialog is open.
    const Qt::ShortcutContext everywhere = Qt::ApplicationShortcut;

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("fileMenu"));
    addActionTable(*this, file, commands,
                   {{QStringLiteral("&New Cross Section"),
                     QStringLiteral("newAction"),
                     {keys("Ctrl+N")},
                     [this] { files_->newCrossSection(); }},
                    {},
                    {QStringLiteral("&Load Cross Section"),
                     QStringLiteral("loadAction"),
                     {keys("Ctrl+L")},
                     [this] { files_->loadCrossSection(); }}},
                   everywhere);
    QMenu* importFrom = file->addMenu(QStringLiteral("&Import from"));
    importFrom->setObjectName(QStringLiteral("importMenu"));
    addActionTable(
        *this, importFrom, commands,
        {{QStringLiteral("&Comma Delimited File"),
          QStringLiteral("importCommaDelimitedAction"),
          {},
          [this] { files_->importPoints(InputFormat::CommaDelimited); }},
         {QStringLiteral("&WinRiver Classic ACSII Data File"),
          QStringLiteral("importWinRiverAction"),
          {},
          [this] { emit winRiverImportRequested(); }},
         {QStringLiteral("HEC-RAS &Geometry File..."),
          QStringLiteral("importHecRasAction"),
          {},
          [this] { files_->importHecRasGeometry(); }},
         {QStringLiteral("&Surveyed Points..."), QStringLiteral("importSurveyAction"), {}, [this] {
              files_->importSurveyedPoints();
          }}});
    addActionTable(
        *this, file, commands,
        {{},
         {QStringLiteral("&Save Cross Section"),
          QStringLiteral("saveAction"),
          {keys("Ctrl+S")},
          [this] { files_->saveCrossSection(); }},
         {},
         {QStringLiteral("&Print Cross Section Chart"),
          QStringLiteral("printChartAction"),
          {keys("Ctrl+P")},
          [this] { printSectionChart(); }},
         {},
         {QStringLiteral("E&xit"), QStringLiteral("exitAction"), {}, [this] { close(); }}},
        everywhere);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("editMenu"));
    SectionHistory& history = workspace_.history();
    const QList<QAction*> steps = addActionTable(*this, edit, commands,
                                                 {{QStringLiteral("&Undo"),
                                                   QStringLiteral("undoAction"),
                                                   {keys("Ctrl+Z")},
                                                   [&history] { history.undo(); }},
                                                  {QStringLiteral("&Redo"),
                                                   QStringLiteral("redoAction"),
                                                   {keys("Ctrl+Y"), keys("Ctrl+Shift+Z")},
                                                   [&history] { history.redo(); }}},
                                                 everywhere);
    QUndoStack& stack = history.stack();
    steps[0]->setEnabled(stack.canUndo());
    steps[1]->setEnabled(stack.canRedo());
    connect(&stack, &QUndoStack::canUndoChanged, steps[0], &QAction::setEnabled);
    connect(&stack, &QUndoStack::canRedoChanged, steps[1], &QAction::setEnabled);

    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("toolsMenu"));
    addActionTable(*this, tools, commands,
                   {{QStringLiteral("&Check Section..."),
                     QStringLiteral("checkSectionAction"),
                     {},
                     [this] { emit sectionCheckRequested(); }},
                    {QStringLiteral("Co&mpare with Section..."),
                     QStringLiteral("compareSectionAction"),
                     {},
                     [this] { emit sectionComparisonRequested(); }},
                    {QStringLiteral("&Index Velocity Rating..."),
                     QStringLiteral("indexVelocityAction"),
                     {},
                     [this] { emit indexVelocityRequested(); }}});

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("helpMenu"));
    addActionTable(*this, help, commands,
                   {{QStringLiteral("&About"),
                     QStringLiteral("aboutAction"),
                     {QKeySequence(Qt::Key_F1)},
                     [this] { emit aboutRequested(); }}},
                   everywhere);

    // Reachable by their keys only: no menu shows them.
    addActionTable(*this, nullptr, commands,
                   {{QStringLiteral("Create Stage Area &Table"),
                     QStringLiteral("boundsPromptAction"),
                     {keys("Ctrl+T")},
                     [this] { emit boundsPromptRequested(); }}},
                   everywhere);
    // Escape stops a running animation (the stop caption has no mnemonic); it is enabled only
    // while one runs, so Escape goes on to the grid and the fields otherwise.
    addActionTable(*this, nullptr, commands,
                   {{QStringLiteral("Stop Cross Section Animation"),
                     QStringLiteral("stopAnimationAction"),
                     {QKeySequence(Qt::Key_Escape)},
                     [this] { toggleAnimation(); }}});
}

void MainWindow::followWorkspace() {
    // The description field holds exactly what was typed; the workspace keeps the same text.
    description_->setText(workspace_.descriptionText());
    connect(description_, &QLineEdit::textChanged, &workspace_, &Workspace::setDescriptionText);
    connect(&workspace_, &Workspace::descriptionChanged, this, [this](const QString& text) {
        // Setting the same text again would throw away the field's own undo.
        if (description_->text() != text)
            description_->setText(text);
    });
    connect(&workspace_, &Workspace::documentReplaced, this, [this] {
        description_->setText(workspace_.descriptionText());
        description_->setCursorPosition(0);
        resetChartTitle();
    });
    connect(&workspace_, &Workspace::modifiedChanged, this, &MainWindow::showCaption);
    connect(&workspace_, &Workspace::fileNameChanged, this, &MainWindow::showCaption);
    showCaption();
}

void MainWindow::showCaption() {
    // "Korvadel 1.3", then " - " and the file's name once there is one; an asterisk while
    // there are unsaved changes.
    QString caption = QStringLiteral("Korvadel %1").arg(QLatin1String(kVersion));
    const QString name = QFileInfo(workspace_.fileName()).fileName();
    if (!name.isEmpty())
        caption += QStringLiteral(" - ") + name;
    setWindowTitle(caption + QStringLiteral("[*]"));
    setWindowModified(workspace_.isModified());
}

void MainWindow::resetChartTitle() {
    // A new document does not carry the old one's name printed into the chart's title.
    sectionChart_->setTitleLines(kChartTitle);
}

void MainWindow::startUp() {
    try {
        workspace_.document().points.insertPending();
    } catch (const std::exception&) {
        workspace_.seam().showPlain(nullptr,
                                    QStringLiteral("Error initializing blank value to table"));
    }
    // The first keystroke goes into the blank row.
    pointGrid_->setFocus(Qt::OtherFocusReason);
    try {
        restoreWorkingDirectory();
    } catch (const std::exception&) {
        workspace_.seam().showPlain(nullptr, QStringLiteral("Error reading registry"));
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // What is being typed is part of the section the question is about; a rating being made
    // holds the window until it ends.
    CommandRunner& commands = workspace_.commands();
    bool leave = false;
    if (!workspace_.ratingRunning() && commands.commitPendingEdits())
        commands.run([this, &leave] { leave = files_->settleUnsavedChanges(); });
    if (!leave) {
        event->ignore();
        return;
    }
    commands.run([] { storeWorkingDirectory(); });
    event->accept();
    QMainWindow::closeEvent(event);
    emit closed();
}

void MainWindow::showWaterLevel() {
    const auto level = workspace_.waterLevel().level(workspace_.format());
    if (level)
        sectionChart_->setReferenceLevel(*level);
    waterSurface_->showLevel(level);
}

void MainWindow::selectPoint(double station) {
    CommandRunner& commands = workspace_.commands();
    if (!commands.commitPendingEdits())
        return;
    commands.run([this, station] {
        PointTable& points = workspace_.document().points;
        for (std::size_t row = 0; row < points.rowCount(); ++row) {
            if (points.hasStation(row) && points.stationAt(row) == station) {
                points.moveTo(row);
                pointGrid_->followTableCursor();
                pointGrid_->scrollTo(pointGrid_->currentIndex());
                return;
            }
        }
    });
}

void MainWindow::importWinRiverFile() {
    files_->importPoints(InputFormat::WinRiver);
}

void MainWindow::openFile(const QString& fileName) {
    CommandRunner& commands = workspace_.commands();
    if (workspace_.ratingRunning() || !commands.commitPendingEdits())
        return;
    commands.run([this, &fileName] { files_->openFile(fileName); });
}

bool MainWindow::selectUnreadableSetting(std::initializer_list<GageField> order) {
    return settings_->selectUnreadableField(order);
}

void MainWindow::createRating() {
    try {
        workspace_.createRating(RatingMode::Main, workspace_.ratingBounds());
    } catch (...) {
        selectUnreadableSetting({GageField::Minimum, GageField::Maximum, GageField::Datum});
        throw;
    }
}

void MainWindow::createRatingFromPrompt(const QString& minimum, const QString& maximum,
                                        double increment) {
    RatingBounds bounds = workspace_.ratingBounds();
    bounds.minimum = toFileText(minimum);
    bounds.maximum = toFileText(maximum);
    bounds.increment = increment;
    workspace_.createRating(RatingMode::BoundsPrompt, bounds);
}

void MainWindow::toggleAnimation() {
    animation_->toggle();
}

void MainWindow::advanceWaterLevel() {
    workspace_.commands().run([this] {
        try {
            animation_->tick();
        } catch (...) {
            // The error box runs an event loop of its own: a timer left running would put up a
            // new box at every tick. The animation stays running until the user stops it.
            animationTimer_->stop();
            throw;
        }
    });
}

void MainWindow::printSectionChart() {
    previewChartPrint(workspace_.seam(), workspace_.printers(), *sectionChart_,
                      workspace_.descriptionText(), QStringLiteral("Cross Section"), this);
}

} // namespace korvadel
