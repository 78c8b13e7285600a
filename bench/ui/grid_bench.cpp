// SPDX-License-Identifier: GPL-3.0-or-later
// The point grid over large sections (a load replacing the rows, moving the cursor, one row
// edited), and the progress bar through a long rating run.

#include "components/desktop/QtDesktopSeam.h"
#include "components/grid/PointGrid.h"
#include "components/widgets/GradientProgressBar.h"
#include "model/PointTable.h"

#include <QApplication>
#include <QKeyEvent>

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

using namespace korvadel;

namespace {

std::vector<PointTable::LoadRow> section(std::size_t count) {
    std::vector<PointTable::LoadRow> rows;
    rows.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double station = static_cast<double>(i) * 0.01;
        rows.push_back({station, -3.0 * std::sin(static_cast<double>(i) / count * M_PI)});
    }
    return rows;
}

void press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier,
           const QString& text = {}) {
    QKeyEvent down(QEvent::KeyPress, key, mods, text);
    QCoreApplication::sendEvent(target, &down);
    QKeyEvent up(QEvent::KeyRelease, key, mods, text);
    QCoreApplication::sendEvent(target, &up);
}

void typeText(const QString& text) {
    for (const QChar c : text) {
        const auto key =
            c == QLatin1Char('.') ? Qt::Key_Period : Qt::Key(Qt::Key_0 + c.digitValue());
        press(QApplication::focusWidget(), key, Qt::NoModifier, QString(c));
    }
}

struct ShownGrid {
    PointTable table;
    QtDesktopSeam seam;
    PointGrid grid{table, seam, '.'};
    ShownGrid() {
        grid.resize(189, 400);
        grid.show();
        QApplication::processEvents();
    }
};

// Rows replaced while the views are suspended, then the grid refreshed and painted once.
void BM_GridLoad(benchmark::State& state) {
    const auto rows = section(static_cast<std::size_t>(state.range(0)));
    ShownGrid g;
    for (auto _ : state) {
        g.table.suspendViews();
        g.table.bulkLoad(rows);
        g.table.resumeViews();
        g.grid.repaint();
    }
}
BENCHMARK(BM_GridLoad)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Down and Up in the middle of the section, each painted.
void BM_GridCursorStep(benchmark::State& state) {
    ShownGrid g;
    g.table.bulkLoad(section(static_cast<std::size_t>(state.range(0))));
    g.grid.setFocus();
    g.grid.setCurrentIndex(g.grid.model()->index(static_cast<int>(state.range(0) / 2), 0));
    for (auto _ : state) {
        press(&g.grid, Qt::Key_Down);
        g.grid.repaint();
        press(&g.grid, Qt::Key_Up);
        g.grid.repaint();
    }
}
BENCHMARK(BM_GridCursorStep)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// Jumping from the first row to the last and back (Ctrl+End, Ctrl+Home).
void BM_GridJumpToEnds(benchmark::State& state) {
    ShownGrid g;
    g.table.bulkLoad(section(static_cast<std::size_t>(state.range(0))));
    g.grid.setFocus();
    for (auto _ : state) {
        press(&g.grid, Qt::Key_End, Qt::ControlModifier);
        g.grid.repaint();
        press(&g.grid, Qt::Key_Home, Qt::ControlModifier);
        g.grid.repaint();
    }
}
BENCHMARK(BM_GridJumpToEnds)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// A row in the middle retyped to a station near the end and left: the row moves across the
// section and the grid follows it.
void BM_GridEditMovesRow(benchmark::State& state) {
    ShownGrid g;
    const auto count = static_cast<std::size_t>(state.range(0));
    g.table.bulkLoad(section(count));
    g.grid.setFocus();
    bool far = true;
    for (auto _ : state) {
        g.grid.setCurrentIndex(g.grid.model()->index(static_cast<int>(count / 2), 0));
        typeText(far ? QStringLiteral("9999.995") : QStringLiteral("0.005"));
        press(QApplication::focusWidget(), Qt::Key_Down);
        g.grid.repaint();
        far = !far;
    }
}
BENCHMARK(BM_GridEditMovesRow)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The bar through a run of 10,000 stages, shown: it paints only when the fill or the text
// changes.
void BM_ProgressBarRun(benchmark::State& state) {
    GradientProgressBar bar;
    bar.resize(229, 16);
    bar.show();
    QApplication::processEvents();
    const int steps = static_cast<int>(state.range(0));
    bar.setMaximum(steps);
    int paints = 0;
    for (auto _ : state) {
        bar.setPosition(0);
        const int before = bar.paintCount();
        for (int k = 1; k <= steps + 1; ++k)
            bar.setPosition(k);
        paints = bar.paintCount() - before;
    }
    state.counters["paints_per_run"] = paints;
}
BENCHMARK(BM_ProgressBarRun)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
