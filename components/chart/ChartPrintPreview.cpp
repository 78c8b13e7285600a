// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/chart/ChartPrintPreview.h"

#include "components/chart/Chart.h"
#include "components/desktop/PrinterAccess.h"
#include "components/desktop/ScreenPlacement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace korvadel {

// ---- PrintPageImage -------------------------------------------------------------------------

namespace {
constexpr double kGrip = 6; // pixels around an edge that pick it up for resizing
} // namespace

PrintPageImage::PrintPageImage(ChartPrintPreview& preview, QWidget* parent)
    : QWidget(parent), preview_(preview) {
    setObjectName(QStringLiteral("pageImage"));
    setMinimumSize(360, 300);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QRectF PrintPageImage::paperRect() const {
    const QSize page = preview_.pageSize();
    if (page.isEmpty())
        return {};
    const double pad = 10;
    const double scale =
        std::min((width() - 2 * pad) / page.width(), (height() - 2 * pad) / page.height());
    const QSizeF size(page.width() * scale, page.height() * scale);
    return QRectF(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

QRectF PrintPageImage::chartRect() const {
    const QRectF paper = paperRect();
    const QSize page = preview_.pageSize();
    if (paper.isEmpty())
        return {};
    const QRect r = preview_.printedRectangle();
    const double sx = paper.width() / page.width();
    const double sy = paper.height() / page.height();
    return QRectF(paper.left() + r.left() * sx, paper.top() + r.top() * sy, (r.width()) * sx,
                  (r.height()) * sy);
}

void PrintPageImage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    const QRectF paper = paperRect();
    if (paper.isEmpty())
        return;
    painter.fillRect(paper.translated(3, 3), QColor(60, 60, 60));
    painter.fillRect(paper, Qt::white);
    const QRectF chart = chartRect();
    if (!chart.isEmpty())
        preview_.chart().render(painter, chart.toAlignedRect(), preview_.detail());
    if (preview_.viewMargins()) {
        QPen pen(Qt::blue, 1, Qt::DashLine);
        painter.setPen(pen);
        painter.drawLine(QPointF(chart.left(), paper.top()), QPointF(chart.left(), paper.bottom()));
        painter.drawLine(QPointF(chart.right(), paper.top()),
                         QPointF(chart.right(), paper.bottom()));
        painter.drawLine(QPointF(paper.left(), chart.top()), QPointF(paper.right(), chart.top()));
        painter.drawLine(QPointF(paper.left(), chart.bottom()),
                         QPointF(paper.right(), chart.bottom()));
    }
}

int PrintPageImage::edgesAt(QPointF p) const {
    const QRectF r = chartRect();
    if (!r.adjusted(-kGrip, -kGrip, kGrip, kGrip).contains(p))
        return None;
    int edges = None;
    if (std::abs(p.x() - r.left()) <= kGrip)
        edges |= Left;
    else if (std::abs(p.x() - r.right()) <= kGrip)
        edges |= Right;
    if (std::abs(p.y() - r.top()) <= kGrip)
        edges |= Top;
    else if (std::abs(p.y() - r.bottom()) <= kGrip)
        edges |= Bottom;
    if (edges == None && r.contains(p))
        edges = Move;
    return edges;
}

void PrintPageImage::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    dragEdges_ = edgesAt(event->position());
    dragStart_ = event->position();
    dragRect_ = chartRect();
}

void PrintPageImage::mouseMoveEvent(QMouseEvent* event) {
    const QPointF pos = event->position();
    if (dragEdges_ == None) {
        const int edges = edgesAt(pos);
        Qt::CursorShape shape = Qt::ArrowCursor;
        if (edges == Move)
            shape = Qt::SizeAllCursor;
        else if (edges == (Left | Top) || edges == (Right | Bottom))
            shape = Qt::SizeFDiagCursor;
        else if (edges == (Right | Top) || edges == (Left | Bottom))
            shape = Qt::SizeBDiagCursor;
        else if (edges & (Left | Right))
            shape = Qt::SizeHorCursor;
        else if (edges & (Top | Bottom))
            shape = Qt::SizeVerCursor;
        setCursor(shape);
        return;
    }
    const QRectF paper = paperRect();
    const QPointF d = pos - dragStart_;
    QRectF r = dragRect_;
    if (dragEdges_ == Move) {
        r.translate(std::clamp(d.x(), paper.left() - r.left(), paper.right() - r.right()),
                    std::clamp(d.y(), paper.top() - r.top(), paper.bottom() - r.bottom()));
    } else {
        if (dragEdges_ & Left)
            r.setLeft(std::clamp(r.left() + d.x(), paper.left(), r.right() - 1));
        if (dragEdges_ & Right)
            r.setRight(std::clamp(r.right() + d.x(), r.left() + 1, paper.right()));
        if (dragEdges_ & Top)
            r.setTop(std::clamp(r.top() + d.y(), paper.top(), r.bottom() - 1));
        if (dragEdges_ & Bottom)
            r.setBottom(std::clamp(r.bottom() + d.y(), r.top() + 1, paper.bottom()));
    }
    MarginPercents m;
    m.left = static_cast<int>(std::lround((r.left() - paper.left()) * 100 / paper.width()));
    m.right = static_cast<int>(std::lround((paper.right() - r.right()) * 100 / paper.width()));
    m.top = static_cast<int>(std::lround((r.top() - paper.top()) * 100 / paper.height()));
    m.bottom = static_cast<int>(std::lround((paper.bottom() - r.bottom()) * 100 / paper.height()));
    if (!(m == preview_.margins()))
        preview_.setMarginsByUser(m);
}

void PrintPageImage::mouseReleaseEvent(QMouseEvent*) {
    dragEdges_ = None;
}

// ---- ChartPrintPreview ----------------------------------------------------------------------

namespace {
constexpr int kMostDetail = 4;

MarginPercents toPercents(const PrintMargins& m) {
    return {m.left, m.top, m.right, m.bottom};
}
} // namespace

ChartPrintPreview::ChartPrintPreview(DesktopSeam& seam, const PrinterAccess& printers,
                                     PrintableChart& chart, QWidget* parent)
    : QDialog(parent), seam_(seam), printers_(printers), chart_(chart),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setObjectName(QStringLiteral("ChartPrintPreview"));
    setWindowTitle(QStringLiteral("Korvadel Print Preview"));
    setModal(true);
    buildControls();

    const PrintMargins stored = chart_.printMargins();
    margins_ = toPercents(stored);
    updating_ = true;
    proportionalBox_->setChecked(stored.proportional);
    detailSlider_->setValue(std::clamp(stored.detail, 0, kMostDetail));
    updating_ = false;

    const QStringList names = printers_.printerNames();
    hasPrinter_ = !names.isEmpty();
    printerList_->addItems(names);
    if (hasPrinter_) {
        const int current =
            std::max(0, static_cast<int>(names.indexOf(printers_.defaultPrinterName())));
        updating_ = true;
        printerList_->setCurrentIndex(current);
        updating_ = false;
        printers_.selectPrinter(*printer_, names[current]);
        // Charts are wider than tall; every opening starts from landscape.
        printer_->setPageOrientation(QPageLayout::Landscape);
        updating_ = true;
        landscapeButton_->setChecked(true);
        updating_ = false;
        readPage();
        if (stored.proportional)
            recompute();
    } else {
        for (QWidget* w :
             {static_cast<QWidget*>(printButton_), static_cast<QWidget*>(setupButton_),
              static_cast<QWidget*>(portraitButton_), static_cast<QWidget*>(landscapeButton_)})
            w->setEnabled(false);
        readPage();
    }
    resetTo_ = margins_;
    showMargins();
}

ChartPrintPreview::~ChartPrintPreview() = default;

void ChartPrintPreview::buildControls() {
    pageImage_ = new PrintPageImage(*this, this);

    auto* side = new QVBoxLayout;
    auto* printerLabel = new QLabel(QStringLiteral("P&rinter:"), this);
    printerList_ = new QComboBox(this);
    printerList_->setObjectName(QStringLiteral("printerList"));
    printerLabel->setBuddy(printerList_);
    setupButton_ = new QPushButton(QStringLiteral("&Setup..."), this);
    setupButton_->setObjectName(QStringLiteral("setupButton"));
    side->addWidget(printerLabel);
    side->addWidget(printerList_);
    side->addWidget(setupButton_);

    auto* orientation = new QGroupBox(QStringLiteral("Orien&tation:"), this);
    orientation->setObjectName(QStringLiteral("orientationGroup"));
    portraitButton_ = new QRadioButton(QStringLiteral("P&ortrait"), orientation);
    portraitButton_->setObjectName(QStringLiteral("portraitButton"));
    landscapeButton_ = new QRadioButton(QStringLiteral("&Landscape"), orientation);
    landscapeButton_->setObjectName(QStringLiteral("landscapeButton"));
    landscapeButton_->setChecked(true);
    auto* orientationLayout = new QVBoxLayout(orientation);
    orientationLayout->addWidget(portraitButton_);
    orientationLayout->addWidget(landscapeButton_);
    side->addWidget(orientation);

    auto* marginsBox = new QGroupBox(QStringLiteral("Margins (%)"), this);
    auto* grid = new QGridLayout(marginsBox);
    auto field = [&](const char* name, int row, int column) {
        auto* spin = new QSpinBox(marginsBox);
        spin->setObjectName(QString::fromLatin1(name));
        spin->setRange(0, 99);
        spin->setKeyboardTracking(false); // judge the typed number, not each keystroke
        grid->addWidget(spin, row, column);
        return spin;
    };
    // Laid out as on the page: top above, left and right beside, bottom below.
    topMargin_ = field("topMargin", 0, 1);
    leftMargin_ = field("leftMargin", 1, 0);
    rightMargin_ = field("rightMargin", 1, 2);
    bottomMargin_ = field("bottomMargin", 2, 1);
    side->addWidget(marginsBox);

    resetMarginsButton_ = new QPushButton(QStringLiteral("Reset &Margins"), this);
    resetMarginsButton_->setObjectName(QStringLiteral("resetMarginsButton"));
    side->addWidget(resetMarginsButton_);
    viewMarginsBox_ = new QCheckBox(QStringLiteral("&View Margins"), this);
    viewMarginsBox_->setObjectName(QStringLiteral("viewMarginsBox"));
    side->addWidget(viewMarginsBox_);

    side->addWidget(new QLabel(QStringLiteral("Detail:"), this));
    detailSlider_ = new QSlider(Qt::Horizontal, this);
    detailSlider_->setObjectName(QStringLiteral("detailSlider"));
    detailSlider_->setRange(0, kMostDetail);
    detailSlider_->setPageStep(1);
    detailSlider_->setTickPosition(QSlider::TicksBelow);
    detailSlider_->setInvertedAppearance(true); // "More" on the left, "Normal" on the right
    side->addWidget(detailSlider_);
    auto* detailEnds = new QHBoxLayout;
    detailEnds->addWidget(new QLabel(QStringLiteral("More"), this));
    detailEnds->addStretch();
    detailEnds->addWidget(new QLabel(QStringLiteral("Normal"), this));
    side->addLayout(detailEnds);

    proportionalBox_ = new QCheckBox(QStringLiteral("Proport&ional"), this);
    proportionalBox_->setObjectName(QStringLiteral("proportionalBox"));
    proportionalBox_->setChecked(true);
    side->addWidget(proportionalBox_);
    side->addStretch();

    printButton_ = new QPushButton(QStringLiteral("&Print"), this);
    printButton_->setObjectName(QStringLiteral("printButton"));
    closeButton_ = new QPushButton(QStringLiteral("Close"), this);
    closeButton_->setObjectName(QStringLiteral("closeButton"));
    side->addWidget(printButton_);
    side->addWidget(closeButton_);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(pageImage_, 1);
    layout->addLayout(side);
    resize(820, 560);

    connect(printerList_, &QComboBox::currentIndexChanged, this, &ChartPrintPreview::printerChosen);
    connect(setupButton_, &QPushButton::clicked, this, &ChartPrintPreview::setupPrinter);
    connect(portraitButton_, &QRadioButton::toggled, this, &ChartPrintPreview::orientationChosen);
    for (QSpinBox* spin : {topMargin_, leftMargin_, bottomMargin_, rightMargin_})
        connect(spin, &QSpinBox::valueChanged, this, &ChartPrintPreview::marginFieldChanged);
    connect(resetMarginsButton_, &QPushButton::clicked, this, &ChartPrintPreview::resetMargins);
    connect(viewMarginsBox_, &QCheckBox::toggled, pageImage_, qOverload<>(&QWidget::update));
    connect(detailSlider_, &QSlider::valueChanged, this, [this] {
        if (!updating_)
            storeInChart();
        pageImage_->update();
    });
    connect(proportionalBox_, &QCheckBox::toggled, this, &ChartPrintPreview::proportionalToggled);
    connect(printButton_, &QPushButton::clicked, this, &ChartPrintPreview::print);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::accept);
    // Alt+C closes it, as it closes the report preview; Escape does too, as in any dialog.
    auto* closeKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_C), this);
    closeKey->setObjectName(QStringLiteral("closeShortcut"));
    connect(closeKey, &QShortcut::activated, this, &QDialog::accept);
}

void ChartPrintPreview::showModal() {
    centreForShowing(*this);
    seam_.execModal(*this);
}

bool ChartPrintPreview::proportional() const {
    return proportionalBox_->isChecked();
}
bool ChartPrintPreview::viewMargins() const {
    return viewMarginsBox_->isChecked();
}
int ChartPrintPreview::detail() const {
    return detailSlider_->value();
}

void ChartPrintPreview::readPage() {
    if (hasPrinter_) {
        pageSize_ = printer_->pageRect(QPrinter::DevicePixel).toRect().size();
        const int dpiY = printer_->logicalDpiY();
        aspect_ = dpiY > 0 ? static_cast<double>(printer_->logicalDpiX()) / dpiY : 1.0;
    }
    if (!hasPrinter_ || pageSize_.isEmpty()) {
        // Nothing to ask: the screen stands in for the page.
        const QScreen* screen = QGuiApplication::primaryScreen();
        pageSize_ = screen ? screen->size() : QSize(1024, 768);
        aspect_ = 1.0;
    }
}

void ChartPrintPreview::recompute() {
    margins_ = proportionalMargins(chart_.clientSize(), pageSize_, aspect_);
    resetTo_ = margins_;
    storeInChart();
    showMargins();
}

void ChartPrintPreview::showMargins() {
    updating_ = true;
    topMargin_->setValue(margins_.top);
    leftMargin_->setValue(margins_.left);
    bottomMargin_->setValue(margins_.bottom);
    rightMargin_->setValue(margins_.right);
    updating_ = false;
    resetMarginsButton_->setEnabled(!(margins_ == resetTo_));
    pageImage_->update();
}

void ChartPrintPreview::storeInChart() {
    PrintMargins stored = chart_.printMargins();
    stored.left = margins_.left;
    stored.top = margins_.top;
    stored.right = margins_.right;
    stored.bottom = margins_.bottom;
    stored.proportional = proportionalBox_->isChecked();
    stored.detail = detailSlider_->value();
    chart_.setPrintMargins(stored);
}

bool ChartPrintPreview::setMarginsByUser(const MarginPercents& margins) {
    if (!marginsAcceptable(margins)) {
        showMargins(); // puts the refused field back
        return false;
    }
    margins_ = margins;
    updating_ = true;
    proportionalBox_->setChecked(false);
    updating_ = false;
    storeInChart();
    showMargins();
    return true;
}

void ChartPrintPreview::marginFieldChanged() {
    if (updating_)
        return;
    setMarginsByUser(
        {leftMargin_->value(), topMargin_->value(), rightMargin_->value(), bottomMargin_->value()});
}

void ChartPrintPreview::resetMargins() {
    margins_ = resetTo_;
    storeInChart();
    showMargins();
}

void ChartPrintPreview::proportionalToggled(bool on) {
    if (updating_)
        return;
    if (on && hasPrinter_)
        recompute();
    else
        storeInChart();
}

void ChartPrintPreview::printerChosen(int index) {
    if (updating_ || !hasPrinter_ || index < 0)
        return;
    const QPageLayout::Orientation orientation = printer_->pageLayout().orientation();
    printers_.selectPrinter(*printer_, printerList_->itemText(index));
    printer_->setPageOrientation(orientation);
    readPage();
    if (proportional())
        recompute();
    else
        pageImage_->update();
}

void ChartPrintPreview::orientationChosen() {
    if (updating_ || !hasPrinter_)
        return;
    printer_->setPageOrientation(portraitButton_->isChecked() ? QPageLayout::Portrait
                                                              : QPageLayout::Landscape);
    readPage();
    if (proportional())
        recompute();
    else
        pageImage_->update();
}

void ChartPrintPreview::setupPrinter() {
    if (!hasPrinter_)
        return;
    QPageSetupDialog dialog(printer_.get(), this);
    if (seam_.execModal(dialog) != QDialog::Accepted)
        return;
    updating_ = true;
    const bool portrait = printer_->pageLayout().orientation() == QPageLayout::Portrait;
    portraitButton_->setChecked(portrait);
    landscapeButton_->setChecked(!portrait);
    updating_ = false;
    readPage();
    if (proportional())
        recompute();
    else
        pageImage_->update();
}

void ChartPrintPreview::print() {
    if (!hasPrinter_)
        return;
    readPage();
    if (proportional())
        recompute();
    printer_->setDocName(QStringLiteral("Korvadel Chart"));
    QPainter painter;
    if (!painter.begin(printer_.get()))
        return; // the platform reports failed jobs itself
    chart_.render(painter, printedRect(margins_, pageSize_), detail());
    painter.end();
}

void ChartPrintPreview::done(int result) {
    storeInChart();
    chart_.redraw();
    QDialog::done(result);
}

} // namespace korvadel
