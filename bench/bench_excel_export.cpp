// Exporting 100,000 dataset rows of 10 columns to an .xlsx report sheet (header, data rows
// with borders, file written), against libxlsxwriter writing the same cells directly in the
// same run.
//
// Counters:
//   ratio         export time / direct-writer time (same cells, same run)
//   write_ratio   writing the in-memory workbook alone / direct-writer time
#include "cpuclock.h"
#include "data/ExcelExport.h"
#include "platform/db/DB.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Format.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <xlsxwriter.h>

namespace {

constexpr int Rows = 100000;
constexpr int Cols = 10;

QString NameOf(int i) { return QStringLiteral("材料%1").arg(i % 3000); }
QString TypeOf(int i) { return QStringLiteral("规格%1").arg(i % 97); }
QString UnitOf(int i) { return i % 3 == 0 ? QStringLiteral("吨") : QStringLiteral("件"); }
double QtyOf(int i) { return (i % 997) * 0.125; }
double PriceOf(int i) { return 10 + (i % 113) * 0.25; }
TDateTime DateOf(int i) { return TDateTime(45000.0 + i % 365); }

std::unique_ptr<TClientDataSet> NewDataSet()
{
    auto ds = std::make_unique<TClientDataSet>();
    ds->FieldDefs().Add("bdate", ftDateTime);
    ds->FieldDefs().Add("bnum", ftInteger);
    ds->FieldDefs().Add("mname", ftString, 20);
    ds->FieldDefs().Add("mtype", ftString, 20);
    ds->FieldDefs().Add("munit", ftString, 10);
    ds->FieldDefs().Add("qty", ftBCD);
    ds->FieldDefs().Add("sprice", ftBCD);
    ds->FieldDefs().Add("dprice", ftBCD);
    ds->FieldDefs().Add("rate", ftFloat);
    ds->FieldDefs().Add("remark", ftString, 50);
    ds->CreateDataSet();
    for (int i = 0; i < Rows; ++i)
        ds->AppendRecord({Variant(DateOf(i)), Variant(i + 1), Variant(NameOf(i)), Variant(TypeOf(i)), Variant(UnitOf(i)),
                          Variant(Currency::FromDouble(QtyOf(i))), Variant(Currency::FromDouble(PriceOf(i))),
                          Variant(Currency::FromDouble(QtyOf(i) * PriceOf(i))), Variant(PriceOf(i) / 7),
                          Variant(i % 10 == 0 ? QStringLiteral("备注") : QString())});
    ds->MergeChangeLog();
    return ds;
}

// The same cells straight through the writer: texts as shared strings, numbers as numbers,
// one bordered format over the data rows.
void WriteDirect(const QString& path)
{
    lxw_workbook* wb = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet* ws = workbook_add_worksheet(wb, nullptr);
    lxw_format* cell = workbook_add_format(wb);
    format_set_border(cell, LXW_BORDER_THIN);
    format_set_font_size(cell, 10);
    for (int i = 0; i < Rows; ++i) {
        const lxw_row_t r = lxw_row_t(i + 2);
        worksheet_write_string(ws, r, 0, DateTimeToStr(DateOf(i)).toUtf8().constData(), cell);
        worksheet_write_number(ws, r, 1, i + 1, cell);
        worksheet_write_string(ws, r, 2, NameOf(i).toUtf8().constData(), cell);
        worksheet_write_string(ws, r, 3, TypeOf(i).toUtf8().constData(), cell);
        worksheet_write_string(ws, r, 4, UnitOf(i).toUtf8().constData(), cell);
        worksheet_write_number(ws, r, 5, QtyOf(i), cell);
        worksheet_write_number(ws, r, 6, PriceOf(i), cell);
        worksheet_write_number(ws, r, 7, QtyOf(i) * PriceOf(i), cell);
        worksheet_write_number(ws, r, 8, PriceOf(i) / 7, cell);
        if (i % 10 == 0)
            worksheet_write_string(ws, r, 9, "备注", cell);
        else
            worksheet_write_blank(ws, r, 9, cell);
    }
    workbook_close(wb);
}

double Seconds(CpuClock::time_point a, CpuClock::time_point b)
{
    return std::chrono::duration<double>(b - a).count();
}

void BM_ExportDataSet(benchmark::State& state)
{
    auto ds = NewDataSet();
    QTemporaryDir dir;
    const QString ours = dir.filePath(QStringLiteral("export.xlsx"));
    const QString direct = dir.filePath(QStringLiteral("direct.xlsx"));
    double exportTime = 0, writeTime = 0, directTime = 0;
    for (auto _ : state) {
        auto t0 = CpuClock::now();
        ExcelApp app = CreateExcelApplication();
        TExcelWorkbook* book = app->WorkbooksAdd();
        TExcelWorksheet* sheet = book->Worksheets(1);
        excelstoragehead(sheet, 0);
        datasettoexcel(ds.get(), sheet, 0, Cols, 1, 3);
        auto t1 = CpuClock::now();
        book->SaveAs(ours);
        auto t2 = CpuClock::now();
        app->Quit();
        auto t3 = CpuClock::now();
        WriteDirect(direct);
        auto t4 = CpuClock::now();
        exportTime += Seconds(t0, t2);
        writeTime += Seconds(t1, t2);
        directTime += Seconds(t3, t4);
        state.SetIterationTime(Seconds(t0, t2));
    }
    state.counters["ratio"] = exportTime / directTime;
    state.counters["write_ratio"] = writeTime / directTime;
    state.SetItemsProcessed(state.iterations() * Rows * Cols);
}

} // namespace

BENCHMARK(BM_ExportDataSet)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
