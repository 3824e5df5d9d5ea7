// Exporting 100,000 dataset rows of 10 columns to an .xlsx report sheet (header, data rows
// with borders, file written), against libxlsxwriter writing the same cells directly in the
// same run.
// Baseline: WriteDirect writes the sheet the export makes (same cells with the same values and
// types, same formats, column widths, merged title, page setup and sheets) straight through the
// writer to a file of its own in the same folder: the same file the export writes, without the
// workbook model in between. Both run once before the timing and then alternate, the export
// first in one iteration and the direct writer first in the next.
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

// The same sheet straight through the writer, as excelstoragehead and datasettoexcel lay it out:
// landscape; ten centred columns of the header's widths; the title merged over the columns in
// 16-point bold, centred, on a 30-point row; the captions bordered, centred, in 10 points; the
// data rows bordered, centred (the columns' alignment), in 10 points, with dates in their text,
// numbers as numbers and texts as shared strings; the file written where it is asked for.
void WriteDirect(const QString& path)
{
    static const char* const captions[] = {"序号", "日期", "编号", "材料名称", "规格型号", "单位", "数量", "单价", "复价", "备注"};
    static const double widths[] = {7.5, 13.88, 11.88, 14.38, 11.5, 8.5, 11.38, 11.38, 11.38, 23.25};
    lxw_workbook* wb = workbook_new(QFile::encodeName(path).constData());
    lxw_worksheet* ws = workbook_add_worksheet(wb, "Sheet1");
    workbook_add_worksheet(wb, "Sheet2");
    workbook_add_worksheet(wb, "Sheet3");
    worksheet_set_landscape(ws);
    lxw_format* column = workbook_add_format(wb);
    format_set_align(column, LXW_ALIGN_CENTER);
    lxw_format* title = workbook_add_format(wb);
    format_set_font_size(title, 16);
    format_set_bold(title);
    format_set_align(title, LXW_ALIGN_CENTER);
    lxw_format* cell = workbook_add_format(wb);
    format_set_font_size(cell, 10);
    format_set_align(cell, LXW_ALIGN_CENTER);
    format_set_border(cell, LXW_BORDER_THIN);
    for (int c = 0; c < Cols; ++c)
        worksheet_set_column(ws, lxw_col_t(c), lxw_col_t(c), widths[c], column);
    worksheet_set_row(ws, 0, 30, nullptr);
    worksheet_merge_range(ws, 0, 0, 0, Cols - 1, "", title);
    worksheet_write_string(ws, 0, 0, "材料库存明细表", title);
    for (int c = 0; c < Cols; ++c)
        worksheet_write_string(ws, 1, lxw_col_t(c), captions[c], cell);
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
    const QString theirs = dir.filePath(QStringLiteral("direct.xlsx"));
    double exportTime = 0, writeTime = 0, directTime = 0;
    // The export: the workbook filled (header, rows, borders) and written. Gives its times.
    const auto exportBook = [&](double& all, double& write) {
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
        all += Seconds(t0, t2);
        write += Seconds(t1, t2);
    };
    const auto direct = [&](double& all) {
        auto t0 = CpuClock::now();
        WriteDirect(theirs);
        all += Seconds(t0, CpuClock::now());
    };
    double warm = 0, warmWrite = 0;
    exportBook(warm, warmWrite);
    direct(warm);
    bool exportFirst = true;
    for (auto _ : state) {
        const double before = exportTime;
        if (exportFirst) {
            exportBook(exportTime, writeTime);
            direct(directTime);
        } else {
            direct(directTime);
            exportBook(exportTime, writeTime);
        }
        exportFirst = !exportFirst;
        state.SetIterationTime(exportTime - before);
    }
    state.counters["ratio"] = exportTime / directTime;
    state.counters["write_ratio"] = writeTime / directTime;
    state.SetItemsProcessed(state.iterations() * Rows * Cols);
}

} // namespace

BENCHMARK(BM_ExportDataSet)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
