// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/report/ReportPreview.h"

#include "components/desktop/PrinterAccess.h"
#include "model/Error.h"

#include <QAction>
#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>
#include <cmath>
#include <vector>

namespace korvadel {

// ---- ReportPageView -------------------------------------------------------------------------

ReportPageView::ReportPageView(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName(QStringLiteral("reportPageView"));
    viewport()->setAutoFillBackground(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void ReportPageView::setDocument(const ReportDocument* document) {
    document_ = document;
    lastCurrent_ = -1;
    pinnedPage_ = 0;
    updateScale();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
    noteCurrentPage();
}

void ReportPageView::setZoom(Zoom zoom) {
    const int page = currentPage();
    zoom_ = zoom;
    updateScale();
    showPage(page);
    viewport()->update();
}

int ReportPageView::pageCount() const {
    return document_ ? static_cast<int>(document_->pages.size()) : 0;
}

QSizeF ReportPageView::pageSizePx() const {
    if (!document_)
        return {};
    return document_->pageSizeMm * pxPerMm_;
}

void ReportPageView::updateScale() {
    if (document_) {
        const QSizeF mm = document_->pageSizeMm;
        const double availW = std::max(1, viewport()->width() - 2 * kGap);
        const double availH = std::max(1, viewport()->height() - 2 * kGap);
        switch (zoom_) {
        case Zoom::FitPage:
            pxPerMm_ = std::min(availW / mm.width(), availH / mm.height());
            break;
        case Zoom::PageWidth:
            pxPerMm_ = availW / mm.width();
            break;
        case Zoom::Actual:
            pxPerMm_ = logicalDpiX() / 25.4;
            break;
        }
    }
    updateScrollBars();
}

void ReportPageView::updateScrollBars() {
    const QSizeF page = pageSizePx();
    const int contentW = static_cast<int>(std::ceil(page.width())) + 2 * kGap;
    const int contentH = pageCount() * (static_cast<int>(std::ceil(page.height())) + kGap) + kGap;
    horizontalScrollBar()->setRange(0, std::max(0, contentW - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    verticalScrollBar()->setRange(0, std::max(0, contentH - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(std::max(1, static_cast<int>(page.height() / 20)));
}

int ReportPageView::currentPage() const {
    if (pageCount() == 0)
        return 0;
    if (pinnedPage_ >= 0)
        return std::min(pinnedPage_, pageCount() - 1);
    const int pitch = static_cast<int>(std::ceil(pageSizePx().height())) + kGap;
    // The page whose upper part is in view is the one being read.
    const int y = verticalScrollBar()->value() + pitch / 3;
    return std::clamp(y / std::max(1, pitch), 0, pageCount() - 1);
}

void ReportPageView::showPage(int page) {
    if (pageCount() == 0)
        return;
    page = std::clamp(page, 0, pageCount() - 1);
    const int pitch = static_cast<int>(std::ceil(pageSizePx().height())) + kGap;
    // Near the end the scroll range stops short of a page's top; the page asked for stays the
    // current one until the user scrolls.
    showingPage_ = true;
    verticalScrollBar()->setValue(page * pitch);
    showingPage_ = false;
    pinnedPage_ = page;
    viewport()->update();
    noteCurrentPage();
}

void ReportPageView::noteCurrentPage() {
    const int page = currentPage();
    if (page != lastCurrent_) {
        lastCurrent_ = page;
        emit currentPageChanged(page);
    }
}

void ReportPageView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), QColor(128, 128, 128));
    if (!document_)
        return;
    const QSizeF page = pageSizePx();
    const int pitch = static_cast<int>(std::ceil(page.height())) + kGap;
    const int top = verticalScrollBar()->value();
    const int bottom = top + viewport()->height();
    double x = kGap - horizontalScrollBar()->value();
    if (page.width() + 2 * kGap < viewport()->width())
        x = (viewport()->width() - page.width()) / 2;
    const int first = std::max(0, (top - kGap) / std::max(1, pitch));
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (int i = first; i < pageCount(); ++i) {
        const int pageTop = kGap + i * pitch;
        if (pageTop > bottom)
            break;
        const QRectF paper(x, pageTop - top, page.width(), page.height());
        painter.fillRect(paper.translated(3, 3), QColor(70, 70, 70));
        painter.fillRect(paper, Qt::white);
        renderReportPage(painter, *document_, static_cast<std::size_t>(i), paper.topLeft(),
                         pxPerMm_);
    }
}

void ReportPageView::resizeEvent(QResizeEvent* event) {
    const int page = currentPage();
    QAbstractScrollArea::resizeEvent(event);
    updateScale();
    if (zoom_ != Zoom::Actual)
        showPage(page);
}

void ReportPageView::scrollContentsBy(int, int) {
    if (!showingPage_)
        pinnedPage_ = -1;
    viewport()->update();
    noteCurrentPage();
}

// ---- ReportPreview --------------------------------------------------------------------------

ReportPreview::ReportPreview(DesktopSeam& seam, const PrinterAccess& printers,
                             ReportDocument document, QWidget* parent)
    : QMainWindow(parent), seam_(seam), printers_(printers), document_(std::move(document)),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(document_.name);
    setAttribute(Qt::WA_DeleteOnClose, false);

    QToolBar* tools = addToolBar(QStringLiteral("Preview"));
    tools->setObjectName(QStringLiteral("previewToolBar"));
    tools->setMovable(false);
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    addTool(QStringLiteral("Zoom to fit"), "actZoomToFit", &ReportPreview::zoomToFit);
    addTool(QStringLiteral("100%"), "actZoom100", &ReportPreview::zoomActual);
    addTool(QStringLiteral("Zoom to width"), "actZoomToWidth", &ReportPreview::zoomToWidth);
    tools->addSeparator();
    addTool(QStringLiteral("First page"), "actFirstPage", &ReportPreview::firstPage);
    addTool(QStringLiteral("Previous page"), "actPreviousPage", &ReportPreview::previousPage);
    addTool(QStringLiteral("Next page"), "actNextPage", &ReportPreview::nextPage);
    addTool(QStringLiteral("Last page"), "actLastPage", &ReportPreview::lastPage);
    tools->addSeparator();
    QAction* setup =
        addTool(QStringLiteral("Printer setup"), "actPrinterSetup", &ReportPreview::printerSetup);
    QAction* print = addTool(QStringLiteral("Print"), "actPrint", &ReportPreview::print);
    tools->addSeparator();
    addTool(QStringLiteral("Save Report"), "actSaveReport", &ReportPreview::saveReportFile);
    addTool(QStringLiteral("Load Report"), "actLoadReport", &ReportPreview::loadReportFile);
    addTool(QStringLiteral("Save as PDF"), "actSaveAsPdf", &ReportPreview::saveAsPdf);
    tools->addSeparator();
    QAction* close = addTool(QStringLiteral("&Close"), "actClose", nullptr);
    // Alt+C as its caption promises, and Escape, close the preview. They belong to the action,
    // not to the tool button's mnemonic, so they work also when a narrow window has pushed the
    // button into the tool bar's overflow.
    close->setShortcuts({QKeySequence(Qt::ALT | Qt::Key_C), QKeySequence(Qt::Key_Escape)});
    connect(close, &QAction::triggered, this, &QWidget::close);

    if (printers_.hasPrinters()) {
        printers_.selectPrinter(*printer_, printers_.defaultPrinterName());
    } else {
        // Nothing to print to: the report can still be kept as a PDF or a report file.
        const QString why = QStringLiteral("No printer is installed");
        for (QAction* a : {setup, print}) {
            a->setEnabled(false);
            a->setToolTip(why);
        }
    }

    view_ = new ReportPageView(this);
    setCentralWidget(view_);
    pageLabel_ = new QLabel(this);
    pageLabel_->setObjectName(QStringLiteral("pageLabel"));
    statusBar()->addWidget(pageLabel_);
    connect(view_, &ReportPageView::currentPageChanged, this, [this] { showStatus(); });
    view_->setDocument(&document_);
    showStatus();

    const QString filter = QStringLiteral("Korvadel Report (*.kvr)|*.kvr|All Files (*.*)|*.*");
    reportDialog_.filter = filter;
    reportDialog_.defaultExtension = QStringLiteral("kvr");
    pdfDialog_.kind = FileDialogState::Kind::Save;
    pdfDialog_.filter = QStringLiteral("PDF Document (*.pdf)|*.pdf");
    pdfDialog_.defaultExtension = QStringLiteral("pdf");
    pdfDialog_.overwritePrompt = true;
    resize(900, 700);
}

ReportPreview::~ReportPreview() = default;

QAction* ReportPreview::addTool(const QString& text, const char* name,
                                void (ReportPreview::*slot)()) {
    QToolBar* tools = findChild<QToolBar*>(QStringLiteral("previewToolBar"));
    QAction* action = tools->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    if (slot)
        connect(action, &QAction::triggered, this, slot);
    return action;
}

void ReportPreview::exec() {
    view_->setZoom(ReportPageView::Zoom::PageWidth);
    showMaximized();
    view_->setZoom(ReportPageView::Zoom::PageWidth);
    QEventLoop loop;
    connect(this, &ReportPreview::closed, &loop, &QEventLoop::quit);
    if (isVisible())
        loop.exec();
}

void ReportPreview::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}

void ReportPreview::showStatus() {
    pageLabel_->setText(
        QStringLiteral("Page %1 of %2").arg(view_->currentPage() + 1).arg(view_->pageCount()));
}

void ReportPreview::zoomToFit() {
    view_->setZoom(ReportPageView::Zoom::FitPage);
}
void ReportPreview::zoomActual() {
    view_->setZoom(ReportPageView::Zoom::Actual);
}
void ReportPreview::zoomToWidth() {
    view_->setZoom(ReportPageView::Zoom::PageWidth);
}
void ReportPreview::firstPage() {
    view_->showPage(0);
}
void ReportPreview::previousPage() {
    view_->showPage(view_->currentPage() - 1);
}
void ReportPreview::nextPage() {
    view_->showPage(view_->currentPage() + 1);
}
void ReportPreview::lastPage() {
    view_->showPage(view_->pageCount() - 1);
}

void ReportPreview::printerSetup() {
    // The platform's print dialog: accepting it prints with what was chosen there.
    QPrintDialog dialog(printer_.get(), this);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    dialog.setMinMax(1, std::max(1, static_cast<int>(document_.pages.size())));
    if (seam_.execModal(dialog) == QDialog::Accepted)
        print();
}

void ReportPreview::print() {
    QPrinter& printer = *printer_;
    printer.setDocName(document_.name);
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(QPageSize(document_.pageSizeMm, QPageSize::Millimeter),
                                      QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    // The pages and copies the print dialog asked for: a range of pages, and copies that the
    // printer cannot make by itself printed here, collated or page by page.
    const int pageCount = static_cast<int>(document_.pages.size());
    int first = 1;
    int last = pageCount;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        first = std::max(1, printer.fromPage());
        last = std::min(pageCount, std::max(first, printer.toPage()));
    }
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    std::vector<std::size_t> pages;
    for (int copy = 0; copy < (printer.collateCopies() ? copies : 1); ++copy)
        for (int page = first; page <= last; ++page)
            for (int again = 0; again < (printer.collateCopies() ? 1 : copies); ++again)
                pages.push_back(static_cast<std::size_t>(page - 1));
    reportFailure([&] {
        QPainter painter;
        if (pages.empty() || !painter.begin(&printer))
            throw Error("The report could not be sent to the printer");
        paintReportPages(painter, printer, document_, pages);
        painter.end();
    });
}

void ReportPreview::saveReportFile() {
    reportDialog_.kind = FileDialogState::Kind::Save;
    reportDialog_.overwritePrompt = true;
    reportDialog_.title = QStringLiteral("Save Report");
    if (!seam_.runFileDialog(this, reportDialog_))
        return;
    reportFailure([this] { saveReport(document_, reportDialog_.fileName); });
}

void ReportPreview::loadReportFile() {
    reportDialog_.kind = FileDialogState::Kind::Open;
    reportDialog_.overwritePrompt = false;
    reportDialog_.title = QStringLiteral("Load Report");
    if (!seam_.runFileDialog(this, reportDialog_))
        return;
    reportFailure([this] { setDocumentShown(loadReport(reportDialog_.fileName)); });
}

void ReportPreview::saveAsPdf() {
    if (!seam_.runFileDialog(this, pdfDialog_))
        return;
    reportFailure([this] { writeReportPdf(document_, pdfDialog_.fileName); });
}

void ReportPreview::reportFailure(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const std::exception& error) {
        seam_.reportError(this, error);
    }
}

void ReportPreview::setDocumentShown(ReportDocument document) {
    document_ = std::move(document);
    setWindowTitle(document_.name);
    view_->setDocument(&document_);
    view_->showPage(0);
    showStatus();
}

} // namespace korvadel
