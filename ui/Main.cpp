#include "ui/Main.h"

#include "components/Chart.h"
#include "components/ChartPrintPreview.h"
#include "components/FullTextToolTip.h"
#include "components/IncrementSpinBox.h"
#include "components/PointGrid.h"
#include "components/PrinterAccess.h"
#include "components/SectionHistory.h"
#include "components/TextCodec.h"
#include "io/CrossSectionFile.h"
#include "io/InputFormats.h"
#include "model/Numbers.h"
#include "ui/ElevWarn.h"
#include "ui/Importwarning.h"
#include "ui/Placement.h"
#include "ui/ProgramSettings.h"
#include "ui/RatingRun.h"
#include "ui/SAForm.h"
#include "ui/WaterLevelAnimation.h"
#include "ui/Windows.h"
#include "ui/about.h"
#include "ui/tableprompt.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUndoStack>
#include <QVBoxLayout>

#include <exception>
#include <new>

using namespace korvadel;

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

std::string toPath(const QString& fileName) {
    return QFile::encodeName(fileName).toStdString();
}

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

TForm1::TForm1(ProgramContext& context, QWidget* parent) : QMainWindow(parent), context_(context) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Korvadel 1.3"));
    context_.windows.Form1 = this;
    history_ = new SectionHistory(document_, this);
    history_->setRestoredHandler([this] { documentToFields(); });

    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* panel = new QWidget(central);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFixedWidth(kPanelWidth);
    layout->addWidget(panel);

    DBChart1 = new Chart(central);
    DBChart1->setObjectName(QStringLiteral("DBChart1"));
    DBChart1->setTitleLines({QStringLiteral("Cross Section"), QString()});
    DBChart1->setAxisTitles(QStringLiteral("Location"), QStringLiteral("Elevation"));
    DBChart1->setFocusPolicy(Qt::NoFocus);
    DBChart1->setPrintMargins(PrintMargins{15, 15, 15, 15, true, 0});
    layout->addWidget(DBChart1, 1);
    setCentralWidget(central);

    buildPanel(panel);
    buildMenus();

    dxEdit1 = new QLineEdit(QStringLiteral("0.00"), this);
    dxEdit1->setObjectName(QStringLiteral("dxEdit1"));
    dxEdit1->hide();
    dxEdit1->setFocusPolicy(Qt::NoFocus);
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);

    DBChart1->bindAreaSeries(document_.points);
    DBChart1->setBeforeDraw([this] { beforeChartDraw(); });
    animation_ = std::make_unique<WaterLevelAnimation>(
        WaterLevelAnimation::Parts{&document_,
                                   Button2,
                                   Timer1,
                                   dxEdit1,
                                   DBChart1,
                                   {edMinStage, edMaxStage, SpinStageInc, ebOffset, DBGrid1},
                                   context_.format,
                                   DBGrid1});

    const int menuHeight = menuBar()->sizeHint().height();
    const int clientHeight = kOuterHeight - kFrameHeight + menuHeight;
    resize(kOuterWidth - kFrameWidth, clientHeight);
    setMinimumSize(kMinimumOuterWidth - kFrameWidth, clientHeight);

    FormCreate();
}

TForm1::~TForm1() {
    // The chart, the grid and the history follow the document's table: they go before it does.
    delete centralWidget();
    delete history_;
}

void TForm1::buildPanel(QWidget* panel) {
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* stationGroup = new QGroupBox(QStringLiteral("Station "), panel);
    stationGroup->setObjectName(QStringLiteral("GroupBox1"));
    stationGroup->setFixedHeight(kStationGroupHeight);
    ebDescription = new QLineEdit(stationGroup);
    ebDescription->setObjectName(QStringLiteral("ebDescription"));
    ebDescription->setGeometry(12, 16, 149, 21);
    column->addWidget(stationGroup);

    auto* gageGroup = new QGroupBox(QStringLiteral("Gage Height "), panel);
    gageGroup->setObjectName(QStringLiteral("GroupBox2"));
    gageGroup->setFixedHeight(kGageGroupHeight);
    edMinStage = addGageRow(gageGroup, QStringLiteral("Minimum"), QStringLiteral("edMinStage"), 24,
                            QStringLiteral("0"));
    edMaxStage = addGageRow(gageGroup, QStringLiteral("Maximum"), QStringLiteral("edMaxStage"), 51,
                            QStringLiteral("1"));
    auto* incrementLabel = new QLabel(QStringLiteral("Increment"), gageGroup);
    incrementLabel->move(16, 79 + 3);
    SpinStageInc = new IncrementSpinBox(context_.format.decimalSeparator, gageGroup);
    SpinStageInc->setObjectName(QStringLiteral("SpinStageInc"));
    SpinStageInc->setGeometry(76, 79, 81, 21);
    ebOffset = addGageRow(gageGroup, QStringLiteral("Datum"), QStringLiteral("ebOffset"), 106,
                          QStringLiteral("0.00"));
    column->addWidget(gageGroup);

    DBGrid1 =
        new PointGrid(document_.points, *context_.seam, context_.format.decimalSeparator, panel);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    column->addWidget(DBGrid1, 1);

    auto* strip = new QWidget(panel);
    strip->setObjectName(QStringLiteral("Panel2"));
    strip->setFixedHeight(kButtonStripHeight);
    Button2 = new QPushButton(QStringLiteral("&Animate Cross Section"), strip);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(4, 12, 177, 25);
    Button1 = new QPushButton(QStringLiteral("&Create Stage Area Rating"), strip);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(4, 44, 177, 25);
    column->addWidget(strip);

    // point grid, Minimum, Maximum, Increment, Datum, the two buttons, description
    setTabOrder(DBGrid1, edMinStage);
    setTabOrder(edMinStage, edMaxStage);
    setTabOrder(edMaxStage, SpinStageInc);
    setTabOrder(SpinStageInc, ebOffset);
    setTabOrder(ebOffset, Button2);
    setTabOrder(Button2, Button1);
    setTabOrder(Button1, ebDescription);

    context_.commands.watch(DBGrid1);
    context_.commands.route(Button2, [this] { Button2Click(); });
    context_.commands.route(Button1, [this] { Button1Click(); });
    connectFields();
}

void TForm1::buildMenus() {
    auto makeAction = [this](const QString& text, const QString& name, const QKeySequence& keys,
                             void (TForm1::*handler)()) {
        auto* action = new QAction(text, this);
        action->setObjectName(name);
        if (!keys.isEmpty()) {
            action->setShortcut(keys);
            // The main window's keys also work while one of the other windows is active,
            // unless a modal dialog is open.
            action->setShortcutContext(Qt::ApplicationShortcut);
        }
        if (handler)
            context_.commands.route(action, [this, handler] { (this->*handler)(); });
        return action;
    };

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("File1"));
    NewCrossSection1 =
        makeAction(QStringLiteral("&New Cross Section"), QStringLiteral("NewCrossSection1"),
                   QKeySequence(QStringLiteral("Ctrl+N")), &TForm1::NewCrossSection1Click);
    file->addAction(NewCrossSection1);
    file->addSeparator();
    LoadCrossSection1 =
        makeAction(QStringLiteral("&Load Cross Section"), QStringLiteral("LoadCrossSection1"),
                   QKeySequence(QStringLiteral("Ctrl+L")), &TForm1::LoadCrossSection1Click);
    file->addAction(LoadCrossSection1);
    QMenu* importFrom = file->addMenu(QStringLiteral("&Import from"));
    importFrom->setObjectName(QStringLiteral("ImportFrom1"));
    CommaDelimitedFile1 =
        makeAction(QStringLiteral("&Comma Delimited File"), QStringLiteral("CommaDelimitedFile1"),
                   {}, &TForm1::CommaDelimitedFile1Click);
    importFrom->addAction(CommaDelimitedFile1);
    WinRiverClassicACSIIDataFile1 = makeAction(QStringLiteral("&WinRiver Classic ACSII Data File"),
                                               QStringLiteral("WinRiverClassicACSIIDataFile1"), {},
                                               &TForm1::WinRiverClassicACSIIDataFile1Click);
    importFrom->addAction(WinRiverClassicACSIIDataFile1);
    file->addSeparator();
    SaveCrossSection1 =
        makeAction(QStringLiteral("&Save Cross Section"), QStringLiteral("SaveCrossSection1"),
                   QKeySequence(QStringLiteral("Ctrl+S")), &TForm1::SaveCrossSection1Click);
    file->addAction(SaveCrossSection1);
    file->addSeparator();
    PrintCrossSection1 = makeAction(
        QStringLiteral("&Print Cross Section Chart"), QStringLiteral("PrintCrossSection1"),
        QKeySequence(QStringLiteral("Ctrl+P")), &TForm1::PrintCrossSection1Click);
    file->addAction(PrintCrossSection1);
    file->addSeparator();
    Exit1 = makeAction(QStringLiteral("E&xit"), QStringLiteral("Exit1"), {}, nullptr);
    context_.commands.route(Exit1, [this] { close(); });
    file->addAction(Exit1);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("editMenu"));
    undoAction = makeAction(QStringLiteral("&Undo"), QStringLiteral("undoAction"),
                            QKeySequence(QStringLiteral("Ctrl+Z")), &TForm1::undoLastChange);
    redoAction = makeAction(QStringLiteral("&Redo"), QStringLiteral("redoAction"),
                            QKeySequence(QStringLiteral("Ctrl+Y")), &TForm1::redoLastChange);
    redoAction->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
    edit->addAction(undoAction);
    edit->addAction(redoAction);
    QUndoStack& steps = history_->stack();
    undoAction->setEnabled(steps.canUndo());
    redoAction->setEnabled(steps.canRedo());
    connect(&steps, &QUndoStack::canUndoChanged, undoAction, &QAction::setEnabled);
    connect(&steps, &QUndoStack::canRedoChanged, redoAction, &QAction::setEnabled);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("Help1"));
    About1 = makeAction(QStringLiteral("&About"), QStringLiteral("About1"),
                        QKeySequence(Qt::Key_F1), &TForm1::About1Click);
    help->addAction(About1);

    // Reachable by its shortcut only: it has no menu entry.
    CreateStageAreaTable1 = makeAction(
        QStringLiteral("Create Stage Area &Table"), QStringLiteral("CreateStageAreaTable1"),
        QKeySequence(QStringLiteral("Ctrl+T")), &TForm1::CreateStageAreaTable1Click);
    addAction(CreateStageAreaTable1);

    OpenDialog1.kind = FileDialogState::Kind::Open;
    const std::string_view crossSection = inputFormat(InputFormat::CrossSection).dialogFilter;
    OpenDialog1.filter = QString::fromLatin1(crossSection.data(),
                                             static_cast<qsizetype>(crossSection.size()));
    SaveDialog1.kind = FileDialogState::Kind::Save;
    SaveDialog1.filter = QStringLiteral("Korvadel File (*.kvd)|*.kvd");
    // A name typed without an extension becomes a cross-section file.
    SaveDialog1.defaultExtension = QStringLiteral("kvd");
    SaveDialog1.overwritePrompt = false;
    OpenDialog2.kind = FileDialogState::Kind::Open;
}

void TForm1::connectFields() {
    // The fixed layout cuts long texts off: a tooltip shows them whole.
    for (QLineEdit* field : {ebDescription, edMinStage, edMaxStage, ebOffset})
        keepFullTextToolTip(*field);
    // The fields hold exactly what was typed; the document keeps the same texts.
    connect(ebDescription, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!syncing_)
            document_.description = toFileText(text);
    });
    connect(edMinStage, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!syncing_)
            document_.settings.minimum = toFileText(text);
    });
    connect(edMaxStage, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!syncing_)
            document_.settings.maximum = toFileText(text);
    });
    connect(ebOffset, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!syncing_)
            document_.settings.datum = toFileText(text);
    });
    connect(SpinStageInc, &IncrementSpinBox::valueChanged, this, [this](double) {
        if (!syncing_)
            document_.settings.setIncrement(SpinStageInc->increment());
    });
}

void TForm1::documentToFields() {
    syncing_ = true;
    ebDescription->setText(fromFileText(document_.description));
    edMinStage->setText(fromFileText(document_.settings.minimum));
    edMaxStage->setText(fromFileText(document_.settings.maximum));
    SpinStageInc->setIncrement(document_.settings.increment());
    ebOffset->setText(fromFileText(document_.settings.datum));
    // A loaded text is read from its beginning, like a freshly opened field.
    for (QLineEdit* field : {ebDescription, edMinStage, edMaxStage, ebOffset})
        field->setCursorPosition(0);
    syncing_ = false;
}

void TForm1::FormCreate() {
    try {
        document_.points.insertPending();
    } catch (const std::exception&) {
        context_.seam->showPlain(nullptr,
                                 QStringLiteral("Error initializing blank value to table"));
    }
    // The first keystroke goes into the blank row.
    DBGrid1->setFocus(Qt::OtherFocusReason);
    restoreLastDir();
}

void TForm1::restoreLastDir() {
    try {
        restoreWorkingDirectory();
    } catch (const std::exception&) {
        context_.seam->showPlain(nullptr, QStringLiteral("Error reading registry"));
    }
}

void TForm1::storeLastDir() {
    runCommand([] { storeWorkingDirectory(); });
}

void TForm1::closeEvent(QCloseEvent* event) {
    storeLastDir();
    event->accept();
    QMainWindow::closeEvent(event);
    emit formClosed();
}

void TForm1::runCommand(const std::function<void()>& command) {
    try {
        command();
    } catch (const UnableToAccessFile& error) {
        QString text = messageText(error.what());
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        context_.seam->showMessage(this, DesktopSeam::MessageKind::Warning,
                                   QStringLiteral("Warning"), text);
    } catch (const std::bad_alloc&) {
        context_.seam->showError(this, QStringLiteral("Out of memory"));
    } catch (const std::exception& error) {
        context_.seam->showError(this, messageText(error.what()));
    }
}

void TForm1::beforeChartDraw() {
    // The fill baseline is the water level, whatever moved it last.
    const QString level = dxEdit1->text();
    if (level.isEmpty())
        return;
    double value = 0.0;
    if (tryTextToFloat(toFileText(level), value, context_.format))
        DBChart1->setReferenceLevel(value);
}

void TForm1::NewCrossSection1Click() {
    runCommand([this] {
        history_->recordDocumentChange(QStringLiteral("New Cross Section"),
                                       [this] { document_.clearToNew(); });
        documentToFields();
        DBChart1->refreshFromTable();
    });
}

void TForm1::LoadCrossSection1Click() {
    if (!context_.seam->runFileDialog(this, OpenDialog1))
        return;
    runCommand([this] {
        struct Refresh {
            TForm1* form;
            ~Refresh() {
                // Whatever the reader managed to take from the file is shown, also after a
                // failure part-way.
                form->documentToFields();
                form->DBChart1->refreshFromTable();
            }
        } refresh{this};
        history_->recordDocumentChange(QStringLiteral("Load Cross Section"), [this] {
            loadCrossSection(toPath(OpenDialog1.fileName), document_, context_.format);
        });
    });
}

void TForm1::SaveCrossSection1Click() {
    if (!context_.seam->runFileDialog(this, SaveDialog1))
        return;
    runCommand(
        [this] { saveCrossSection(toPath(SaveDialog1.fileName), document_, context_.format); });
}

void TForm1::CommaDelimitedFile1Click() {
    importPoints(InputFormat::CommaDelimited);
}

void TForm1::WinRiverClassicACSIIDataFile1Click() {
    TWarningForm* warning = context_.windows.WarningForm;
    if (!warning)
        return;
    centreOnScreen(warning);
    warning->show();
    warning->raise();
    warning->activateWindow();
}

void TForm1::runWinRiverImport() {
    importPoints(InputFormat::WinRiver);
}

void TForm1::importPoints(InputFormat format) {
    const InputFormatInfo& input = inputFormat(format);
    OpenDialog2.fileName.clear();
    OpenDialog2.filter = QString::fromLatin1(input.dialogFilter.data(),
                                             static_cast<qsizetype>(input.dialogFilter.size()));
    OpenDialog2.defaultExtension.clear();
    if (!context_.seam->runFileDialog(this, OpenDialog2))
        return;
    runCommand([this, &input] {
        struct Refresh {
            Chart* chart;
            // The chart shows whatever the import left in the table, also after a failure.
            ~Refresh() { chart->refreshFromTable(); }
        } refresh{DBChart1};
        history_->recordDocumentChange(QStringLiteral("Import Points"), [this, &input] {
            input.read(toPath(OpenDialog2.fileName), document_, context_.format);
        });
    });
}

void TForm1::undoLastChange() {
    runCommand([this] { history_->undo(); });
}

void TForm1::redoLastChange() {
    runCommand([this] { history_->redo(); });
}

void TForm1::About1Click() {
    TAboutBox1* about = context_.windows.AboutBox1;
    if (!about)
        return;
    about->setWindowModality(Qt::ApplicationModal);
    centreOnScreen(about);
    context_.seam->execModal(*about);
}

void TForm1::CreateStageAreaTable1Click() {
    TPromptWindow* prompt = context_.windows.PromptWindow;
    if (!prompt)
        return;
    if (!prompt->isVisible())
        centreOnScreen(prompt);
    prompt->show();
    prompt->raise();
    prompt->activateWindow();
}

void TForm1::Button1Click() {
    runCommand([this] {
        const RatingBounds bounds{document_.settings.minimum, document_.settings.maximum,
                                  document_.settings.increment(), document_.settings.datum};
        runRating(context_, RatingMode::Main, bounds);
    });
}

void TForm1::CreateRatingFromPrompt() {
    TPromptWindow* prompt = context_.windows.PromptWindow;
    if (!prompt)
        return;
    runCommand([this, prompt] {
        const RatingBounds bounds{toFileText(prompt->minimumText()),
                                  toFileText(prompt->maximumText()), prompt->increment(),
                                  document_.settings.datum};
        runRating(context_, RatingMode::BoundsPrompt, bounds);
    });
}

void TForm1::Button2Click() {
    runCommand([this] { animation_->toggle(); });
}

void TForm1::Timer1Timer() {
    runCommand([this] {
        try {
            animation_->tick();
        } catch (...) {
            // The error box runs an event loop of its own: a timer left running would put up a
            // new box at every tick. The animation stays running until the user stops it.
            Timer1->stop();
            throw;
        }
    });
}

void TForm1::PrintCrossSection1Click() {
    previewChartPrint(*context_.seam, context_.printers ? *context_.printers : systemPrinters(),
                      *DBChart1, ebDescription->text(), QStringLiteral("Cross Section"), this);
}
