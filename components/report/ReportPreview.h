// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "components/desktop/DesktopSeam.h"
#include "components/report/BandedReport.h"

#include <QAbstractScrollArea>
#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QPrinter;

namespace korvadel {

class PrinterAccess;

// The pages of a report stacked top to bottom on a grey desk. Only the pages in view are
// painted, so long reports open and scroll at once.
class ReportPageView : public QAbstractScrollArea {
    Q_OBJECT
public:
    enum class Zoom { FitPage, PageWidth, Actual };

    explicit ReportPageView(QWidget* parent = nullptr);

    void setDocument(const ReportDocument* document);
    void setZoom(Zoom zoom);
    Zoom zoom() const { return zoom_; }
    double pixelsPerMm() const { return pxPerMm_; }

    int pageCount() const;
    int currentPage() const; // 0-based
    void showPage(int page);

    static constexpr int kGap = 12;

signals:
    void currentPageChanged(int page);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    QSizeF pageSizePx() const;
    void updateScale();
    void updateScrollBars();
    void noteCurrentPage();

    const ReportDocument* document_ = nullptr;
    Zoom zoom_ = Zoom::PageWidth;
    double pxPerMm_ = 1;
    int lastCurrent_ = -1;
    int pinnedPage_ = 0; // page put in view by showPage, until the user scrolls
    bool showingPage_ = false;
};

// The report preview: a top-level window, maximized, not modal. exec() returns when it closes
// while every other window of the program keeps working. Without an installed printer the
// printer setup and print buttons are disabled; saving as PDF and as a report still work.
class ReportPreview : public QMainWindow {
    Q_OBJECT
public:
    ReportPreview(DesktopSeam& seam, const PrinterAccess& printers, ReportDocument document,
                  QWidget* parent = nullptr);
    ~ReportPreview() override;

    // Shows the window maximized and waits until it is closed.
    void exec();

    const ReportDocument& document() const { return document_; }
    ReportPageView* pageView() const { return view_; }
    QPrinter& printer() { return *printer_; }

    void zoomToFit();
    void zoomActual();
    void zoomToWidth();
    void firstPage();
    void previousPage();
    void nextPage();
    void lastPage();
    void printerSetup();
    void print();
    void saveReportFile();
    void loadReportFile();
    void saveAsPdf();

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* addTool(const QString& text, const char* name, void (ReportPreview::*slot)());
    void showStatus();
    void setDocumentShown(ReportDocument document);
    // Runs one of the preview's own file operations; a failure goes to the seam's error sink.
    void reportFailure(const std::function<void()>& operation);

    DesktopSeam& seam_;
    const PrinterAccess& printers_;
    ReportDocument document_;
    std::unique_ptr<QPrinter> printer_;
    ReportPageView* view_ = nullptr;
    QLabel* pageLabel_ = nullptr;
    FileDialogState reportDialog_;
    FileDialogState pdfDialog_;
};

} // namespace korvadel
