// SPDX-License-Identifier: GPL-3.0-or-later
// What a user waits for in the windows: start-up to the shown main window, a large section
// loaded into grid and chart, and a long rating from the button to the rating window.
//
//   QT_QPA_PLATFORM=offscreen build/release/bench/windows_bench

#include "components/chart/Chart.h"
#include "components/desktop/DesktopSeam.h"
#include "ui/MainWindow.h"
#include "ui/Program.h"
#include "ui/RatingWindow.h"
#include "ui/Workspace.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <string>

using namespace korvadel;

namespace {

// Answers every file dialog with one path and records nothing else.
class FixedSeam : public DesktopSeam {
public:
    QString path;
    int messages = 0;
    bool runFileDialog(QWidget*, FileDialogState& state) override {
        state.fileName = path;
        return true;
    }
    void showMessage(QWidget*, MessageKind, const QString&, const QString& text) override {
        ++messages;
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    bool confirm(QWidget*, const QString&, const QString&) override { return true; }
    SaveAnswer askToSave(QWidget*, const QString&) override { return SaveAnswer::Discard; }
    int execModal(QDialog&) override { return 0; }
};

void settle() {
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

QString sectionFile(QTemporaryDir& folder, int points) {
    const QString path = folder.filePath(QStringLiteral("section-%1.kvd").arg(points));
    if (QFile::exists(path))
        return path;
    std::string text = "//Korvadel\r\n//Station\tbench\r\n//GHMinimum\t0\r\n//GHMaximum\t99.99\r\n"
                       "//GHIncrement\t0.01\r\n//GHDatum\t0\r\nStation\tElevation\r\n";
    text.reserve(static_cast<std::size_t>(points) * 24);
    char line[64];
    for (int i = 0; i < points; ++i) {
        const double x = i * 0.1;
        const double bed = 100.0 * std::abs(2.0 * i / (points - 1) - 1.0) + std::sin(i * 0.01);
        std::snprintf(line, sizeof line, "%.15g\t%.15g\r\n", x, bed);
        text += line;
    }
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(text.data(), static_cast<qint64>(text.size()));
    return path;
}

QTemporaryDir& scratch() {
    static QTemporaryDir folder;
    return folder;
}

void BM_StartUpToShownMainWindow(benchmark::State& state) {
    for (auto _ : state) {
        FixedSeam seam;
        Program program(seam, NumberFormat{'.'});
        program.createWindows();
        program.showMainWindow();
        program.mainWindow()->repaint();
        settle();
        state.PauseTiming();
        program.mainWindow()->hide();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpToShownMainWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_LoadSectionIntoGridAndChart(benchmark::State& state) {
    const int points = static_cast<int>(state.range(0));
    FixedSeam seam;
    seam.path = sectionFile(scratch(), points);
    Program program(seam, NumberFormat{'.'});
    program.createWindows();
    program.showMainWindow();
    settle();
    MainWindow* main = program.mainWindow();
    for (auto _ : state) {
        main->findChild<QAction*>(QStringLiteral("loadAction"))->trigger();
        main->findChild<Chart*>(QStringLiteral("sectionChart"))->replot();
        main->repaint();
        settle();
    }
    if (main->workspace().document().points.rowCount() != static_cast<std::size_t>(points) ||
        seam.messages)
        state.SkipWithError("the section did not load");
}
BENCHMARK(BM_LoadSectionIntoGridAndChart)
    ->Arg(10'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void BM_RatingFromButtonToWindow(benchmark::State& state) {
    FixedSeam seam;
    seam.path = sectionFile(scratch(), 10'000);
    Program program(seam, NumberFormat{'.'});
    program.createWindows();
    program.showMainWindow();
    MainWindow* main = program.mainWindow();
    main->findChild<QAction*>(QStringLiteral("loadAction"))
        ->trigger(); // 0 to 99.99 by 0.01: 10,000 stages
    settle();
    RatingWindow* window = program.ratingWindow();
    for (auto _ : state) {
        main->createRating();
        window->findChild<Chart*>(QStringLiteral("ratingChart"))->replot();
        window->repaint();
        settle();
    }
    if (window->workspace().rating().rowCount() < 9'999 || !window->isVisible())
        state.SkipWithError("the rating did not come out as 10,000 rows");
}
BENCHMARK(BM_RatingFromButtonToWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
