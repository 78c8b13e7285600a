// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainWindow.h"

#include "components/chart/Chart.h"
#include "components/chart/ChartPrintPreview.h"
#include "components/chart/WaterSurfaceOverlay.h"
#include "components/desktop/TextCodec.h"
#include "components/grid/PointGrid.h"
#include "components/history/SectionHistory.h"
#include "components/widgets/FullTextToolTip.h"
#include "components/widgets/IncrementSpinBox.h"
#include "io/CrossSectionFile.h"
#include "model/CommandSteps.h"
#include "ui/ProgramSettings.h"
#include "ui/Version.h"
#include "ui/WaterLevelAnimation.h"
#include "ui/Workspace.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QUndoStack>
#include <QUrl>
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

QLineEdit* addGageRow(QGroupBox* group, const QString& caption, const QString& name, int y,
                      const QString& text) {
    auto* label = new QLabel(caption, group);
    label->move(16, y + 3);
    auto* field = new QLineEdit(text, group);
    field->setObjectName(name);
    field->setGeometry(76, y, 81, 21);
    label->setBuddy(field);
    return field;
}

} // namespace

MainWindow::MainWindow(Workspace& workspace, QWidget* parent)
    : QMainWindow(parent), workspace_(workspace) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Korvadel %1").arg(QLatin1String(kVersion)));
    connect(&workspace_.history(), &SectionHistory::documentRestored, this,
            &MainWindow::documentToFields);

    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* panel = new QWidget(central);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFixedWidth(kPanelWidth);
    layout->addWidget(panel);

    sectionChart = new Chart(central);
    sectionChart->setObjectName(QStringLiteral("DBChart1"));
    sectionChart->setTitleLines({QStringLiteral("Cross Section"), QString()});
    sectionChart->setAxisTitles(QStringLiteral("Location"), QStringLiteral("Elevation"));
    sectionChart->setFocusPolicy(Qt::NoFocus);
    sectionChart->setPrintMargins(PrintMargins{15, 15, 15, 15, true, 0});
    layout->addWidget(sectionChart, 1);
    setCentralWidget(central);

    buildPanel(panel);
    buildMenus();

    animationTimer = new QTimer(this);
    animationTimer->setObjectName(QStringLiteral("Timer1"));
    connect(animationTimer, &QTimer::timeout, this, &MainWindow::advanceWaterLevel);

    CrossSectionDocument& document = workspace_.document();
    sectionChart->bindAreaSeries(document.points);
    waterSurface_ = std::make_unique<WaterSurfaceOverlay>(*sectionChart, workspace_.format());
    sectionChart->setBeforeDraw([this] { showWaterLevel(); });
    animation_ = std::make_unique<WaterLevelAnimation>(
        WaterLevelAnimation::Parts{&workspace_.waterLevel(),
                                   &document,
                                   animateButton,
                                   animationTimer,
                                   sectionChart,
                                   {minimumStage, maximumStage, stageIncrement, datum, pointGrid},
                                   workspace_.format(),
                                   pointGrid});

    const int menuHeight = menuBar()->sizeHint().height();
    const int clientHeight = kOuterHeight - kFrameHeight + menuHeight;
    resize(kOuterWidth - kFrameWidth, clientHeight);
    setMinimumSize(kMinimumOuterWidth - kFrameWidth, clientHeight);

    // Fields take dropped text; a dropped file is the window's.
    setAcceptDrops(true);
    for (QWidget* child : findChildren<QWidget*>())
        if (child->acceptDrops())
            child->installEventFilter(this);

    startUp();
}

MainWindow::~MainWindow() {
    // QWidget's destructor closes the window and hides its children; a field that settles its
    // text on hiding (the increment box) must not call back into the half-destroyed window.
    for (QObject* child : findChildren<QObject*>()) {
        disconnect(child, nullptr, this, nullptr);
        child->removeEventFilter(this);
    }
}

void MainWindow::buildPanel(QWidget* panel) {
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* stationGroup = new QGroupBox(QStringLiteral("Station "), panel);
    stationGroup->setObjectName(QStringLiteral("GroupBox1"));
    stationGroup->setFixedHeight(kStationGroupHeight);
    description = new QLineEdit(stationGroup);
    description->setObjectName(QStringLiteral("ebDescription"));
    description->setGeometry(12, 16, 149, 21);
    column->addWidget(stationGroup);

    auto* gageGroup = new QGroupBox(QStringLiteral("Gage Height "), panel);
    gageGroup->setObjectName(QStringLiteral("GroupBox2"));
    gageGroup->setFixedHeight(kGageGroupHeight);
    minimumStage = addGageRow(gageGroup, QStringLiteral("Minimum"), QStringLiteral("edMinStage"),
                              24, QStringLiteral("0"));
    maximumStage = addGageRow(gageGroup, QStringLiteral("Maximum"), QStringLiteral("edMaxStage"),
                              51, QStringLiteral("1"));
    auto* incrementLabel = new QLabel(QStringLiteral("Increment"), gageGroup);
    incrementLabel->move(16, 79 + 3);
    stageIncrement = new IncrementSpinBox(workspace_.format().decimalSeparator, gageGroup);
    stageIncrement->setObjectName(QStringLiteral("SpinStageInc"));
    stageIncrement->setGeometry(76, 79, 81, 21);
    datum = addGageRow(gageGroup, QStringLiteral("Datum"), QStringLiteral("ebOffset"), 106,
                       QStringLiteral("0.00"));
    column->addWidget(gageGroup);

    pointGrid = new PointGrid(workspace_.document().points, workspace_.seam(),
                              workspace_.format().decimalSeparator, panel);
    pointGrid->setObjectName(QStringLiteral("DBGrid1"));
    column->addWidget(pointGrid, 1);

    auto* strip = new QWidget(panel);
    strip->setObjectName(QStringLiteral("Panel2"));
    strip->setFixedHeight(kButtonStripHeight);
    animateButton = new QPushButton(QStringLiteral("&Animate Cross Section"), strip);
    animateButton->setObjectName(QStringLiteral("Button2"));
    animateButton->setGeometry(4, 12, 177, 25);
    createRatingButton = new QPushButton(QStringLiteral("&Create Stage Area Rating"), strip);
    createRatingButton->setObjectName(QStringLiteral("Button1"));
    createRatingButton->setGeometry(4, 44, 177, 25);
    column->addWidget(strip);

    // point grid, Minimum, Maximum, Increment, Datum, the two buttons, description
    setTabOrder(pointGrid, minimumStage);
    setTabOrder(minimumStage, maximumStage);
    setTabOrder(maximumStage, stageIncrement);
    setTabOrder(stageIncrement, datum);
    setTabOrder(datum, animateButton);
    setTabOrder(animateButton, createRatingButton);
    setTabOrder(createRatingButton, description);

    CommandRunner& commands = workspace_.commands();
    commands.watch(pointGrid);
    commands.route(animateButton, [this] { toggleAnimation(); });
    commands.route(createRatingButton, [this] { createRating(); });
    connectFields();
}

void MainWindow::buildMenus() {
    CommandRunner& commands = workspace_.commands();
    auto makeAction = [this, &commands](const QString& text, const QString& name,
                                        const QKeySequence& keys, std::function<void()> command) {
        auto* action = new QAction(text, this);
        action->setObjectName(name);
        if (!keys.isEmpty()) {
            action->setShortcut(keys);
            // The main window's keys also work while one of the other windows is active,
            // unless a modal dialog is open.
            action->setShortcutContext(Qt::ApplicationShortcut);
        }
        commands.route(action, std::move(command));
        return action;
    };

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    newAction = makeAction(QStringLiteral("&New Cross Section"), QStringLiteral("NewCrossSection1"),
                           QKeySequence(QStringLiteral("Ctrl+N")), [this] { newCrossSection(); });
    file->addAction(newAction);
    file->addSeparator();
    loadAction =
        makeAction(QStringLiteral("&Load Cross Section"), QStringLiteral("LoadCrossSection1"),
                   QKeySequence(QStringLiteral("Ctrl+L")), [this] { loadCrossSection(); });
    file->addAction(loadAction);
    QMenu* importFrom = file->addMenu(QStringLiteral("&Import from"));
    importFrom->setObjectName(QStringLiteral("ImportFrom1"));
    importCommaDelimitedAction =
        makeAction(QStringLiteral("&Comma Delimited File"), QStringLiteral("CommaDelimitedFile1"),
                   {}, [this] { importCommaDelimited(); });
    importFrom->addAction(importCommaDelimitedAction);
    importWinRiverAction = makeAction(QStringLiteral("&WinRiver Classic ACSII Data File"),
                                      QStringLiteral("WinRiverClassicACSIIDataFile1"), {},
                                      [this] { emit winRiverImportRequested(); });
    importFrom->addAction(importWinRiverAction);
    file->addSeparator();
    saveAction =
        makeAction(QStringLiteral("&Save Cross Section"), QStringLiteral("SaveCrossSection1"),
                   QKeySequence(QStringLiteral("Ctrl+S")), [this] { saveCrossSection(); });
    file->addAction(saveAction);
    file->addSeparator();
    printChartAction = makeAction(
        QStringLiteral("&Print Cross Section Chart"), QStringLiteral("PrintCrossSection1"),
        QKeySequence(QStringLiteral("Ctrl+P")), [this] { printSectionChart(); });
    file->addAction(printChartAction);
    file->addSeparator();
    exitAction =
        makeAction(QStringLiteral("E&xit"), QStringLiteral("Exit1"), {}, [this] { close(); });
    file->addAction(exitAction);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("editMenu"));
    undoAction = makeAction(QStringLiteral("&Undo"), QStringLiteral("undoAction"),
                            QKeySequence(QStringLiteral("Ctrl+Z")), [this] { undoLastChange(); });
    redoAction = makeAction(QStringLiteral("&Redo"), QStringLiteral("redoAction"),
                            QKeySequence(QStringLiteral("Ctrl+Y")), [this] { redoLastChange(); });
    redoAction->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
    edit->addAction(undoAction);
    edit->addAction(redoAction);
    QUndoStack& steps = workspace_.history().stack();
    undoAction->setEnabled(steps.canUndo());
    redoAction->setEnabled(steps.canRedo());
    connect(&steps, &QUndoStack::canUndoChanged, undoAction, &QAction::setEnabled);
    connect(&steps, &QUndoStack::canRedoChanged, redoAction, &QAction::setEnabled);

    QMenu* tools = menuBar()->addMenu(QStringLiteral("&Tools"));
    tools->setObjectName(QStringLiteral("toolsMenu"));
    checkSectionAction =
        makeAction(QStringLiteral("&Check Section..."), QStringLiteral("checkSectionAction"), {},
                   [this] { emit sectionCheckRequested(); });
    compareSectionAction = makeAction(QStringLiteral("&Compare with Section..."),
                                      QStringLiteral("compareSectionAction"), {},
                                      [this] { emit sectionComparisonRequested(); });
    tools->addAction(checkSectionAction);
    tools->addAction(compareSectionAction);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    aboutAction = makeAction(QStringLiteral("&About"), QStringLiteral("About1"),
                             QKeySequence(Qt::Key_F1), [this] { emit aboutRequested(); });
    help->addAction(aboutAction);

    // Reachable by its shortcut only: it has no menu entry.
    boundsPromptAction = makeAction(
        QStringLiteral("Create Stage Area &Table"), QStringLiteral("CreateStageAreaTable1"),
        QKeySequence(QStringLiteral("Ctrl+T")), [this] { emit boundsPromptRequested(); });
    addAction(boundsPromptAction);

    openDialog.kind = FileDialogState::Kind::Open;
    openDialog.filter = filterText(inputFormat(InputFormat::CrossSection).dialogFilter);
    saveDialog.kind = FileDialogState::Kind::Save;
    saveDialog.filter = QStringLiteral("Korvadel File (*.kvd)|*.kvd");
    // A name typed without an extension becomes a cross-section file.
    saveDialog.defaultExtension = QStringLiteral("kvd");
    saveDialog.overwritePrompt = false;
    importDialog.kind = FileDialogState::Kind::Open;
}

void MainWindow::connectFields() {
    // The fixed layout cuts long texts off: a tooltip shows them whole.
    for (QLineEdit* field : {description, minimumStage, maximumStage, datum})
        keepFullTextToolTip(*field);
    // The fields hold exactly what was typed; the document keeps the same texts.
    CrossSectionDocument& document = workspace_.document();
    connect(description, &QLineEdit::textChanged, this, [this, &document](const QString& text) {
        workspace_.setDescriptionText(text);
        if (!syncing_)
            document.description = toFileText(text);
    });
    connect(minimumStage, &QLineEdit::textChanged, this, [this, &document](const QString& text) {
        if (!syncing_)
            document.settings.minimum = toFileText(text);
    });
    connect(maximumStage, &QLineEdit::textChanged, this, [this, &document](const QString& text) {
        if (!syncing_)
            document.settings.maximum = toFileText(text);
    });
    connect(datum, &QLineEdit::textChanged, this, [this, &document](const QString& text) {
        if (!syncing_)
            document.settings.datum = toFileText(text);
    });
    connect(stageIncrement, &IncrementSpinBox::valueChanged, this, [this, &document](double) {
        if (!syncing_)
            document.settings.setIncrement(stageIncrement->increment());
    });
}

void MainWindow::documentToFields() {
    const CrossSectionDocument& document = workspace_.document();
    syncing_ = true;
    description->setText(fromFileText(document.description));
    minimumStage->setText(fromFileText(document.settings.minimum));
    maximumStage->setText(fromFileText(document.settings.maximum));
    stageIncrement->setIncrement(document.settings.increment());
    datum->setText(fromFileText(document.settings.datum));
    // A loaded text is read from its beginning, like a freshly opened field.
    for (QLineEdit* field : {description, minimumStage, maximumStage, datum})
        field->setCursorPosition(0);
    syncing_ = false;
}

void MainWindow::startUp() {
    try {
        workspace_.document().points.insertPending();
    } catch (const std::exception&) {
        workspace_.seam().showPlain(nullptr,
                                    QStringLiteral("Error initializing blank value to table"));
    }
    // The first keystroke goes into the blank row.
    pointGrid->setFocus(Qt::OtherFocusReason);
    restoreLastDir();
}

void MainWindow::restoreLastDir() {
    try {
        restoreWorkingDirectory();
    } catch (const std::exception&) {
        workspace_.seam().showPlain(nullptr, QStringLiteral("Error reading registry"));
    }
}

void MainWindow::storeLastDir() {
    workspace_.commands().run([] { storeWorkingDirectory(); });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    storeLastDir();
    event->accept();
    QMainWindow::closeEvent(event);
    emit closed();
}

void MainWindow::showWaterLevel() {
    const auto level = workspace_.waterLevel().level(workspace_.format());
    if (level)
        sectionChart->setReferenceLevel(*level);
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
                pointGrid->followTableCursor();
                pointGrid->scrollTo(pointGrid->currentIndex());
                return;
            }
        }
    });
}

void MainWindow::newCrossSection() {
    CrossSectionDocument& document = workspace_.document();
    workspace_.history().recordDocumentChange(QStringLiteral("New Cross Section"),
                                              [&document] { document.clearToNew(); });
    workspace_.noteRead({});
    documentToFields();
    sectionChart->refreshFromTable();
}

void MainWindow::loadCrossSection() {
    if (!workspace_.seam().runFileDialog(this, openDialog))
        return;
    loadCrossSectionFile(openDialog.fileName);
}

void MainWindow::loadCrossSectionFile(const QString& fileName) {
    struct Refresh {
        MainWindow* window;
        ~Refresh() {
            // Whatever the reader managed to take from the file is shown, also after a failure
            // part-way.
            window->documentToFields();
            window->sectionChart->refreshFromTable();
        }
    } refresh{this};
    ReadSummary read;
    workspace_.history().recordDocumentChange(
        QStringLiteral("Load Cross Section"), [this, &fileName, &read] {
            read = korvadel::loadCrossSection(toFilePath(fileName), workspace_.document(),
                                              workspace_.format());
        });
    workspace_.noteRead(read);
}

void MainWindow::saveCrossSection() {
    if (!workspace_.seam().runFileDialog(this, saveDialog))
        return;
    korvadel::saveCrossSection(toFilePath(saveDialog.fileName), workspace_.document(),
                               workspace_.format());
}

void MainWindow::importCommaDelimited() {
    importPoints(InputFormat::CommaDelimited);
}

void MainWindow::importWinRiverFile() {
    importPoints(InputFormat::WinRiver);
}

void MainWindow::importPoints(InputFormat format) {
    const InputFormatInfo& input = inputFormat(format);
    importDialog.fileName.clear();
    importDialog.filter = filterText(input.dialogFilter);
    importDialog.defaultExtension.clear();
    if (!workspace_.seam().runFileDialog(this, importDialog))
        return;
    importPointsFile(input, importDialog.fileName);
}

void MainWindow::importPointsFile(const InputFormatInfo& input, const QString& fileName) {
    struct Refresh {
        Chart* chart;
        // The chart shows whatever the import left in the table, also after a failure.
        ~Refresh() { chart->refreshFromTable(); }
    } refresh{sectionChart};
    ReadSummary read;
    workspace_.history().recordDocumentChange(
        QStringLiteral("Import Points"), [this, &input, &fileName, &read] {
            read = input.read(toFilePath(fileName), workspace_.document(), workspace_.format());
        });
    workspace_.noteRead(read);
}

void MainWindow::openFile(const QString& fileName) {
    CommandRunner& commands = workspace_.commands();
    if (!commands.commitPendingEdits())
        return;
    commands.run([this, &fileName] {
        const QFileInfo file(fileName);
        QDir::setCurrent(file.absolutePath());
        const InputFormatInfo& input = inputFormat(inputFormatForPath(toFilePath(file.fileName())));
        if (input.format == InputFormat::CrossSection)
            loadCrossSectionFile(file.absoluteFilePath());
        else
            importPointsFile(input, file.absoluteFilePath());
    });
}

namespace {

// The one local file a drag carries; empty for several, none or a remote one.
QString draggedFile(const QMimeData* data) {
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.constFirst().isLocalFile())
        return {};
    return urls.constFirst().toLocalFile();
}

} // namespace

bool MainWindow::takeDrag(QDropEvent* event) {
    if (!event->mimeData()->hasUrls())
        return false;
    // A move would have the file manager delete the file once it is dropped.
    const Qt::DropActions actions = event->possibleActions();
    const Qt::DropAction action = actions.testFlag(Qt::CopyAction)   ? Qt::CopyAction
                                  : actions.testFlag(Qt::LinkAction) ? Qt::LinkAction
                                                                     : Qt::IgnoreAction;
    if (action == Qt::IgnoreAction || draggedFile(event->mimeData()).isEmpty()) {
        event->ignore();
        return true;
    }
    event->setDropAction(action);
    event->accept();
    return true;
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!takeDrag(event))
        QMainWindow::dragEnterEvent(event);
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
    if (!takeDrag(event))
        QMainWindow::dragMoveEvent(event);
}

void MainWindow::dropEvent(QDropEvent* event) {
    if (!takeDrag(event)) {
        QMainWindow::dropEvent(event);
        return;
    }
    if (!event->isAccepted())
        return;
    // Opened once the drop is over: a box shown inside the drop would hold the file manager's
    // drag until it is answered.
    QTimer::singleShot(0, this,
                       [this, fileName = draggedFile(event->mimeData())] { openFile(fileName); });
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
        return takeDrag(static_cast<QDropEvent*>(event));
    case QEvent::Drop:
        if (static_cast<QDropEvent*>(event)->mimeData()->hasUrls()) {
            dropEvent(static_cast<QDropEvent*>(event));
            return true;
        }
        return false;
    default:
        return QMainWindow::eventFilter(watched, event);
    }
}

void MainWindow::undoLastChange() {
    workspace_.history().undo();
}

void MainWindow::redoLastChange() {
    workspace_.history().redo();
}

void MainWindow::createRating() {
    workspace_.createRating(RatingMode::Main, ratingBounds(workspace_.document().settings));
}

void MainWindow::createRatingFromPrompt(const QString& minimum, const QString& maximum,
                                        double increment) {
    // The prompt's own minimum, maximum and increment over the document's datum.
    RatingBounds bounds = ratingBounds(workspace_.document().settings);
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
            animationTimer->stop();
            throw;
        }
    });
}

void MainWindow::printSectionChart() {
    previewChartPrint(workspace_.seam(), workspace_.printers(), *sectionChart, description->text(),
                      QStringLiteral("Cross Section"), this);
}

} // namespace korvadel
