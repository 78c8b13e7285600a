// SPDX-License-Identifier: GPL-3.0-or-later
// The rating table report at scale: laying out 10,000 rows, and the whole road of
// "Print Table" up to a painted preview window.

#include "components/desktop/PrinterAccess.h"
#include "components/report/BandedReport.h"
#include "components/report/RatingTableReport.h"
#include "components/report/ReportPreview.h"
#include "model/RatingTable.h"

#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace korvadel;

namespace {

// The preview needs a seam only for its file and printer commands, which are not run here.
class SilentSeam : public DesktopSeam {
public:
    bool runFileDialog(QWidget*, FileDialogState&) override { return false; }
    void showMessage(QWidget*, MessageKind, const QString&, const QString&) override {}
    bool confirm(QWidget*, const QString&, const QString&) override { return false; }
    SaveAnswer askToSave(QWidget*, const QString&) override { return SaveAnswer::Cancel; }
    int execModal(QDialog&) override { return 0; }
};

class NoPrinters : public PrinterAccess {
public:
    QStringList printerNames() const override { return {}; }
    QString defaultPrinterName() const override { return {}; }
    void selectPrinter(QPrinter&, const QString&) const override {}
};

const RatingTable& rating(std::size_t rows) {
    static RatingTable table;
    if (table.rowCount() != rows) {
        table.clear();
        for (std::size_t i = 0; i < rows; ++i)
            table.appendRow(100.0 + i * 0.01, i * 3.1416 + 0.25);
    }
    return table;
}

void BM_LayOutReport(benchmark::State& state) {
    const RatingTable& table = rating(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        ReportDocument doc = layOutRatingTableReport(table, QStringLiteral("Mill Ford"), {});
        benchmark::DoNotOptimize(doc.pages.size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LayOutReport)->Arg(10000)->Unit(benchmark::kMillisecond);

// Layout, preview window built, maximized and its first page painted.
void BM_ReportPreviewShown(benchmark::State& state) {
    const RatingTable& table = rating(static_cast<std::size_t>(state.range(0)));
    SilentSeam seam;
    NoPrinters printers;
    for (auto _ : state) {
        ReportPreview preview(seam, printers,
                              layOutRatingTableReport(table, QStringLiteral("Mill Ford"), {}));
        preview.showMaximized();
        preview.zoomToWidth();
        QPixmap shown = preview.grab();
        benchmark::DoNotOptimize(shown.width());
    }
}
BENCHMARK(BM_ReportPreviewShown)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_SaveAndLoadReport(benchmark::State& state) {
    const ReportDocument doc =
        layOutRatingTableReport(rating(static_cast<std::size_t>(state.range(0))), QString(), {});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("r.kvr"));
    for (auto _ : state) {
        saveReport(doc, path);
        benchmark::DoNotOptimize(loadReport(path).pages.size());
    }
}
BENCHMARK(BM_SaveAndLoadReport)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ReportToPdf(benchmark::State& state) {
    const ReportDocument doc =
        layOutRatingTableReport(rating(static_cast<std::size_t>(state.range(0))), QString(), {});
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("r.pdf"));
    for (auto _ : state)
        writeReportPdf(doc, path);
}
BENCHMARK(BM_ReportToPdf)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
