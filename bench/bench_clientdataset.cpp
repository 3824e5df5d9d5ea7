// Appending and scanning 1,000,000 records in a client dataset, against copying the same
// values into a plain vector in the same run.
//
// Counters:
//   ratio              client dataset time / vector time (same values, same run)
//   bytes_per_record   memory the client dataset's records take
//   vector_bytes       the same for the vector baseline
#include "platform/db/DB.h"
#include <benchmark/benchmark.h>
#include <chrono>
#include <vector>

namespace {

constexpr int Records = 1000000;

struct Row {
    int id;
    QString code;
    Currency qty;
    TDateTime date;
};

QString CodeOf(int i)
{
    return QStringLiteral("M%1").arg(i % 50000, 6, 10, QLatin1Char('0'));
}

Currency QtyOf(int i) { return Currency::FromRaw(qint64(i % 997) * 1250); }
TDateTime DateOf(int i) { return TDateTime(45000.0 + i % 365); }

std::unique_ptr<TClientDataSet> NewDataSet()
{
    auto ds = std::make_unique<TClientDataSet>();
    ds->FieldDefs().Add("id", ftInteger);
    ds->FieldDefs().Add("code", ftString, 20);
    ds->FieldDefs().Add("qty", ftBCD);
    ds->FieldDefs().Add("bdate", ftDateTime);
    ds->CreateDataSet();
    return ds;
}

void FillDataSet(TClientDataSet& ds)
{
    TField* id = ds.FieldByName("id");
    TField* code = ds.FieldByName("code");
    TField* qty = ds.FieldByName("qty");
    TField* date = ds.FieldByName("bdate");
    for (int i = 0; i < Records; ++i) {
        ds.Append();
        id->SetAsInteger(i);
        code->SetAsString(CodeOf(i));
        qty->SetAsCurrency(QtyOf(i));
        date->SetAsDateTime(DateOf(i));
        ds.Post();
    }
}

void FillVector(std::vector<Row>& v)
{
    for (int i = 0; i < Records; ++i)
        v.push_back(Row{i, CodeOf(i), QtyOf(i), DateOf(i)});
}

qint64 VectorBytes(const std::vector<Row>& v)
{
    qint64 bytes = qint64(v.capacity() * sizeof(Row));
    for (const Row& r : v)
        bytes += qint64(r.code.capacity()) * 2 + 24;
    return bytes;
}

double Seconds(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b)
{
    return std::chrono::duration<double>(b - a).count();
}

void BM_AppendRecords(benchmark::State& state)
{
    double cdsTime = 0, vecTime = 0;
    qint64 cdsBytes = 0, vecBytes = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        std::vector<Row> v;
        FillVector(v);
        auto t1 = std::chrono::steady_clock::now();
        auto ds = NewDataSet();
        FillDataSet(*ds);
        auto t2 = std::chrono::steady_clock::now();
        vecTime += Seconds(t0, t1);
        cdsTime += Seconds(t1, t2);
        state.SetIterationTime(Seconds(t1, t2));
        cdsBytes = ds->RecordMemoryBytes();
        vecBytes = VectorBytes(v);
        benchmark::DoNotOptimize(ds->RecordCount());
    }
    state.counters["ratio"] = cdsTime / vecTime;
    state.counters["bytes_per_record"] = double(cdsBytes) / Records;
    state.counters["vector_bytes"] = double(vecBytes) / Records;
    state.SetItemsProcessed(state.iterations() * Records);
}

void BM_ScanRecords(benchmark::State& state)
{
    auto ds = NewDataSet();
    FillDataSet(*ds);
    ds->MergeChangeLog();
    std::vector<Row> v;
    FillVector(v);
    TField* id = ds->FieldByName("id");
    TField* code = ds->FieldByName("code");
    TField* qty = ds->FieldByName("qty");
    TField* date = ds->FieldByName("bdate");
    double cdsTime = 0, vecTime = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        qint64 ids = 0, chars = 0;
        Currency total;
        double days = 0;
        for (const Row& r : v) {
            ids += r.id;
            chars += r.code.size();
            total += r.qty;
            days += r.date.Value;
        }
        auto t1 = std::chrono::steady_clock::now();
        qint64 ids2 = 0, chars2 = 0;
        Currency total2;
        double days2 = 0;
        for (ds->First(); !ds->Eof(); ds->Next()) {
            ids2 += id->AsInteger();
            chars2 += code->AsString().size();
            total2 += qty->AsCurrency();
            days2 += date->AsDateTime().Value;
        }
        auto t2 = std::chrono::steady_clock::now();
        if (ids != ids2 || chars != chars2 || total != total2 || days != days2)
            state.SkipWithError("scan results differ");
        benchmark::DoNotOptimize(ids2);
        vecTime += Seconds(t0, t1);
        cdsTime += Seconds(t1, t2);
        state.SetIterationTime(Seconds(t1, t2));
    }
    state.counters["ratio"] = cdsTime / vecTime;
    state.counters["bytes_per_record"] = double(ds->RecordMemoryBytes()) / Records;
    state.counters["vector_bytes"] = double(VectorBytes(v)) / Records;
    state.SetItemsProcessed(state.iterations() * Records);
}

} // namespace

BENCHMARK(BM_AppendRecords)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ScanRecords)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK_MAIN();
