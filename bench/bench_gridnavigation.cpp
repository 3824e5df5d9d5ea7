// Moving through a data grid by keyboard: Ctrl+End to the last record and
// Ctrl+Home back, and a page down, on a list of 100,000 records against one of
// 1,000 records in the same run. The grid only moves its window of buffered
// records, so the time of each step may not grow with the record count.
//
// Counters:
//   ratio   time on the 100,000-record list / time on the 1,000-record list
#include "grid/control/DBGridGx.h"
#include "grid/control/DBGridGxUnit.h"
#include "platform/db/ClientDataSet.h"
#include "platform/db/DataSource.h"

#include "qtbench_main.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <chrono>
#include <memory>

namespace {

struct TGridList {
    TClientDataSet Data;
    TDataSource Source;
    std::unique_ptr<TDBGridGx> Grid;
};

std::unique_ptr<TGridList> MakeList(int records)
{
    auto l = std::make_unique<TGridList>();
    l->Data.FieldDefs().Add(QStringLiteral("fid"), ftInteger);
    l->Data.FieldDefs().Add(QStringLiteral("code"), ftString, 20);
    l->Data.FieldDefs().Add(QStringLiteral("mname"), ftString, 40);
    l->Data.CreateDataSet();
    l->Data.DisableControls();
    for (int i = 1; i <= records; ++i)
        l->Data.AppendRecord({Variant(i), Variant(QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0'))),
                              Variant(QStringLiteral("材料 %1").arg(i))});
    l->Data.EnableControls();
    l->Data.First();
    l->Source.SetDataSet(&l->Data);
    l->Grid = std::make_unique<TDBGridGx>();
    l->Grid->resize(640, 480);
    l->Grid->SetDataSource(&l->Source);
    l->Grid->show();
    QApplication::processEvents();
    return l;
}

double Keys(TGridList* l, std::initializer_list<std::pair<WORD, TShiftState>> keys, QImage& img)
{
    const auto t0 = std::chrono::steady_clock::now();
    for (auto [key, shift] : keys) {
        WORD k = key;
        l->Grid->KeyDown(k, shift);
    }
    l->Grid->render(&img);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void Run(benchmark::State& state, std::initializer_list<std::pair<WORD, TShiftState>> keys)
{
    InitDBGridGxUnits();
    auto small = MakeList(1000);
    auto large = MakeList(100000);
    QImage img(640, 480, QImage::Format_ARGB32_Premultiplied);
    double smallTime = 0, largeTime = 0;
    for (auto _ : state) {
        smallTime += Keys(small.get(), keys, img);
        const double t = Keys(large.get(), keys, img);
        largeTime += t;
        state.SetIterationTime(t);
    }
    if (large->Data.RecNo() < 1) state.SkipWithError("no current record");
    state.counters["ratio"] = largeTime / smallTime;
}

void BM_LastAndBack(benchmark::State& state)
{
    Run(state, {{VK_END, TShiftState(ssCtrl)}, {VK_HOME, TShiftState(ssCtrl)}});
}

void BM_PageDown(benchmark::State& state)
{
    // From the first record a page down, and back up, so that every step moves.
    Run(state, {{VK_NEXT, TShiftState()}, {VK_PRIOR, TShiftState()}});
}

} // namespace

BENCHMARK(BM_LastAndBack)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(BM_PageDown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
