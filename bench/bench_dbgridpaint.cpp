// Painting one page of the data grid over a client dataset of 1,000,000 records
// against one of 1,000 records in the same run, with footer sums switched on.
// Painting reads only the records of the page; the sums are kept up to date by
// their producer and never recomputed for a paint, so the ratio stays near 1.
//
// Counters:
//   ratio   paint time on the 1,000,000-record grid / paint time on the 1,000-record grid
#include "cpuclock.h"
#include "grid/control/DBGridGx.h"
#include "grid/control/DBGridGxUnit.h"
#include "platform/db/DB.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct Page {
    std::unique_ptr<TClientDataSet> ds;
    TDataSource source;
    std::unique_ptr<TDBGridGx> grid;
};

std::unique_ptr<Page> MakePage(int records)
{
    auto p = std::make_unique<Page>();
    p->ds = std::make_unique<TClientDataSet>();
    p->ds->FieldDefs().Add("id", ftInteger);
    p->ds->FieldDefs().Add("mname", ftString, 20);
    p->ds->FieldDefs().Add("qty", ftBCD);
    p->ds->CreateDataSet();
    TField* id = p->ds->FieldByName("id");
    TField* name = p->ds->FieldByName("mname");
    TField* qty = p->ds->FieldByName("qty");
    for (int i = 0; i < records; ++i) {
        p->ds->Append();
        id->SetAsInteger(i + 1);
        name->SetAsString(QStringLiteral("M%1").arg(i % 5000));
        qty->SetAsCurrency(Currency::FromRaw(qint64(i % 997) * 1250 - 500000));
        p->ds->Post();
    }
    p->ds->First();
    p->source.SetDataSet(p->ds.get());
    p->grid = std::make_unique<TDBGridGx>();
    p->grid->resize(800, 600);
    p->grid->SetDataSource(&p->source);
    p->grid->SetFooterRowCount(1);
    TColumnGx* q = p->grid->Columns()->GetColumn(2);
    q->Footers()->Add()->SetValueType(fvtSum);
    p->grid->Columns()->GetColumn(1)->Footers()->Add()->SetValueType(fvtCount);
    p->grid->SumList()->SetActive(true);
    p->grid->OnGetCellParams = [qty](QObject*, TColumnGx*, TFont* f, TColor&, TGridDrawState) {
        f->SetColor(qty->AsFloat() < 0 ? clRed : clBlack);
    };
    p->grid->show();
    QApplication::processEvents();
    p->ds->SetRecNo(records / 2);
    QApplication::processEvents();
    return p;
}

double PaintPage(Page& p, QImage& img)
{
    const auto t0 = CpuClock::now();
    p.grid->Invalidate();
    p.grid->render(&img);
    return std::chrono::duration<double>(CpuClock::now() - t0).count();
}

void BM_PaintDataPage(benchmark::State& state)
{
    auto small = MakePage(1000);
    auto large = MakePage(1000000);
    QImage img(800, 600, QImage::Format_ARGB32_Premultiplied);
    double smallTime = 0, largeTime = 0;
    for (auto _ : state) {
        smallTime += PaintPage(*small, img);
        const double t = PaintPage(*large, img);
        largeTime += t;
        state.SetIterationTime(t);
    }
    if (large->grid->GetFooterValue(0, large->grid->Columns()->GetColumn(1)) != QStringLiteral("1000000"))
        state.SkipWithError("the footer does not count the records");
    state.counters["ratio"] = largeTime / smallTime;
}

} // namespace

BENCHMARK(BM_PaintDataPage)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InitDBGridGxUnits();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    DoneDBGridGxUnits();
    return 0;
}
