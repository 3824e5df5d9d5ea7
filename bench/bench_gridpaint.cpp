// Painting one visible page of the base grid and scrolling it by one page, on a
// grid of 1,000,000 rows against one of 1,000 rows in the same run. Nothing may
// walk all rows to paint or scroll a page, so both ratios stay near 1.
//
// Counters:
//   ratio   time on the 1,000,000-row grid / time on the 1,000-row grid
#include "grid/control/GridsGx.h"

#include "qtbench_main.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>

namespace {

class TBenchGrid : public TCustomGridGx {
public:
    using TCustomGridGx::TCustomGridGx;
    qint64 Cells = 0;
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override
    {
        Canvas()->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, QString::number(ARow));
        ++Cells;
    }
};

std::unique_ptr<TBenchGrid> MakeGrid(int rows)
{
    auto g = std::make_unique<TBenchGrid>();
    g->SetScrollBarsStyle(TScrollStyle::ssBoth);
    g->resize(800, 600);
    g->SetColCount(12);
    g->SetRowCount(rows);
    g->SetFixedCols(1);
    g->SetFixedRows(1);
    g->show();
    QApplication::processEvents();
    g->SetTopRow(rows / 2);
    return g;
}

double PaintPage(TBenchGrid* g, QImage& img)
{
    const auto t0 = std::chrono::steady_clock::now();
    g->Invalidate();
    g->render(&img);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

double ScrollPage(TBenchGrid* g, QImage& img, bool down)
{
    const auto t0 = std::chrono::steady_clock::now();
    g->HandleScrollBar(SB_VERT, down ? SB_PAGEDOWN : SB_PAGEUP, 0);
    g->render(&img);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void BM_PaintPage(benchmark::State& state)
{
    auto small = MakeGrid(1000);
    auto large = MakeGrid(1000000);
    QImage img(800, 600, QImage::Format_ARGB32_Premultiplied);
    double smallTime = 0, largeTime = 0;
    for (auto _ : state) {
        smallTime += PaintPage(small.get(), img);
        const double t = PaintPage(large.get(), img);
        largeTime += t;
        state.SetIterationTime(t);
    }
    if (large->Cells == 0) state.SkipWithError("nothing painted");
    state.counters["ratio"] = largeTime / smallTime;
}

void BM_ScrollPage(benchmark::State& state)
{
    auto small = MakeGrid(1000);
    auto large = MakeGrid(1000000);
    QImage img(800, 600, QImage::Format_ARGB32_Premultiplied);
    double smallTime = 0, largeTime = 0;
    bool down = true;
    for (auto _ : state) {
        smallTime += ScrollPage(small.get(), img, down);
        const double t = ScrollPage(large.get(), img, down);
        largeTime += t;
        state.SetIterationTime(t);
        down = !down;
    }
    if (large->TopRow() < 1000000 / 2 - 100) state.SkipWithError("did not scroll");
    state.counters["ratio"] = largeTime / smallTime;
}

} // namespace

BENCHMARK(BM_PaintPage)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(BM_ScrollPage)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
