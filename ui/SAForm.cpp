#include "ui/SAForm.h"

#include "components/Chart.h"
#include "components/ChartPicture.h"
#include "components/ChartPrintPreview.h"
#include "components/PrinterAccess.h"
#include "components/RatingGrid.h"
#include "components/WmfPaintDevice.h"
#include "io/RatingExport.h"
#include "ui/Main.h"
#include "ui/Placement.h"
#include "ui/Unit3.h"
#include "ui/Windows.h"

#include <QAction>
#include <QFile>
#include <QFrame>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QVBoxLayout>

using namespace korvadel;

namespace {

// Sizes at 96 dots per inch; the platform's frame is taken as in the main window.
constexpr int kOuterWidth = 660;
constexpr int kOuterHeight = 454;
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 54;
constexpr int kPanelWidth = 205;

} // namespace

TForm2::TForm2(ProgramContext& context, QWidget* parent) : QMainWindow(parent), context_(context) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Stage Area Rating"));
    context_.windows.Form2 = this;

    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* panel = new QFrame(central);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(1);
    panel->setFixedWidth(kPanelWidth);
    auto* panelLayout = new QVBoxLayout(panel);
    panelLayout->setContentsMargins(1, 1, 1, 1);
    DBGrid1 = new RatingGrid(MemSA, *context_.seam, context_.format.decimalSeparator, panel);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    panelLayout->addWidget(DBGrid1);
    layout->addWidget(panel);

    DBChart1 = new Chart(central);
    DBChart1->setObjectName(QStringLiteral("DBChart1"));
    DBChart1->setTitleLines({QStringLiteral("Stage Area Rating"), QString()});
    DBChart1->setAxisTitles(QStringLiteral("Area"), QStringLiteral("Stage"));
    DBChart1->setPrintMargins(PrintMargins{15, 14, 15, 14, true, 0});
    DBChart1->setAnimatedZoom(true);
    DBChart1->bindLineSeries(MemSA);
    layout->addWidget(DBChart1, 1);
    setCentralWidget(central);

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    options->setObjectName(QStringLiteral("Options1"));
    auto add = [this](QMenu* menu, const QString& text, const QString& name,
                      void (TForm2::*handler)()) {
        auto* action = menu->addAction(text);
        action->setObjectName(name);
        context_.commands.route(action, [this, handler] { (this->*handler)(); });
        return action;
    };
    PrintTable1 = add(options, QStringLiteral("Print &Table"), QStringLiteral("PrintTable1"),
                      &TForm2::PrintTable1Click);
    PrintChart2 = add(options, QStringLiteral("Print Chart"), QStringLiteral("PrintChart2"),
                      &TForm2::PrintChart2Click);
    QMenu* exportChart = options->addMenu(QStringLiteral("Export Chart as"));
    exportChart->setObjectName(QStringLiteral("ExportChartas1"));
    JPEG1 = add(exportChart, QStringLiteral("JPEG"), QStringLiteral("JPEG1"), &TForm2::JPEG1Click);
    MetaFileWMF1 = add(exportChart, QStringLiteral("MetaFile WMF"), QStringLiteral("MetaFileWMF1"),
                       &TForm2::MetaFileWMF1Click);
    QMenu* exportData = options->addMenu(QStringLiteral("Export Data as"));
    exportData->setObjectName(QStringLiteral("ExportDataas1"));
    Text1 = add(exportData, QStringLiteral("&Comma Delimited"), QStringLiteral("Text1"),
                &TForm2::Text1Click);
    HTML1 = add(exportData, QStringLiteral("HTML"), QStringLiteral("HTML1"), &TForm2::HTML1Click);
    Excel1 =
        add(exportData, QStringLiteral("Excel"), QStringLiteral("Excel1"), &TForm2::Excel1Click);
    options->addSeparator();
    CloseWindow1 = add(options, QStringLiteral("&Close Window"), QStringLiteral("CloseWindow1"),
                       &TForm2::CloseWindow1Click);

    SaveDialog1.kind = FileDialogState::Kind::Save;
    SaveDialog1.overwritePrompt = false;

    const int menuHeight = menuBar()->sizeHint().height();
    resize(kOuterWidth - kFrameWidth, kOuterHeight - kFrameHeight + menuHeight);
}

TForm2::~TForm2() {
    // The grid and the chart follow MemSA: they go before it does.
    delete centralWidget();
}

void TForm2::showRating() {
    // Centred every time it comes up; a window already shown stays where it is.
    if (!isVisible())
        centreOnScreen(this);
    show();
    raise();
    // Made again while open, it takes the keyboard from the window the command came from.
    activateWindow();
}

void TForm2::CloseWindow1Click() {
    hide();
}

void TForm2::exportData(const QString& defaultExtension, const QString& filter, Writer writer) {
    SaveDialog1.defaultExtension = defaultExtension;
    SaveDialog1.filter = filter;
    SaveDialog1.fileName.clear();
    if (!context_.seam->runFileDialog(this, SaveDialog1))
        return;
    context_.windows.Form1->runCommand([this, writer] {
        writer(QFile::encodeName(SaveDialog1.fileName).toStdString(), MemSA, context_.format);
    });
}

void TForm2::Text1Click() {
    exportData(
        QStringLiteral("csv"),
        QStringLiteral("CSV (Comma delimited) (*.csv)|*.CSV|Text (Comma delimited) (*.txt)|*.TXT"),
        [](const std::string& path, const RatingTable& rating, NumberFormat format) {
            exportRatingCsv(path, rating, format);
        });
}

void TForm2::HTML1Click() {
    exportData(QStringLiteral("html"), QStringLiteral("web files (*.html)|*.HTML"),
               [](const std::string& path, const RatingTable& rating, NumberFormat format) {
                   exportRatingHtml(path, rating, format);
               });
}

void TForm2::Excel1Click() {
    // A rating the worksheet cannot hold is refused before a file name is asked for.
    bool fits = false;
    context_.windows.Form1->runCommand([this, &fits] {
        checkWorksheetRows(MemSA);
        fits = true;
    });
    if (!fits)
        return;
    exportData(QStringLiteral("xls"), QStringLiteral("Excel files (*.xls)|*.XLS"),
               [](const std::string& path, const RatingTable& rating, NumberFormat) {
                   exportRatingXls(path, rating);
               });
}

void TForm2::PrintTable1Click() {
    TForm3* report = context_.windows.Form3;
    report->setDescription(context_.windows.Form1->ebDescription->text());
    report->Preview(MemSA, context_.printers ? *context_.printers : systemPrinters());
}

void TForm2::PrintChart2Click() {
    previewChartPrint(*context_.seam, context_.printers ? *context_.printers : systemPrinters(),
                      *DBChart1, context_.windows.Form1->ebDescription->text(),
                      QStringLiteral("Stage Area Rating"), this);
}

void TForm2::JPEG1Click() {
    // A dialog of its own, made afresh each time: it starts with an empty name and asks before
    // replacing a file.
    FileDialogState dialog;
    dialog.kind = FileDialogState::Kind::Save;
    dialog.filter = QStringLiteral("JPEG files (*.jpg)|*.jpg");
    dialog.defaultExtension = QStringLiteral("jpg");
    dialog.overwritePrompt = true;
    if (!context_.seam->runFileDialog(this, dialog))
        return;
    const std::string path = QFile::encodeName(dialog.fileName).toStdString();
    context_.windows.Form1->runCommand([this, &path] { saveChartJpeg(*DBChart1, path); });
}

void TForm2::MetaFileWMF1Click() {
    SaveDialog1.defaultExtension = QStringLiteral("wmf");
    SaveDialog1.filter = QStringLiteral("Windows Meta Files (*.wmf)|*.WMF");
    SaveDialog1.fileName.clear();
    if (!context_.seam->runFileDialog(this, SaveDialog1))
        return;
    const std::string path = QFile::encodeName(SaveDialog1.fileName).toStdString();
    context_.windows.Form1->runCommand([this, &path] {
        saveChartMetafile(*DBChart1, path, ScreenReference::fromScreen(screen()));
    });
}
