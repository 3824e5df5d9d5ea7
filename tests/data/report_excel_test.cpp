// Report sheets in the spreadsheet: column letters and ranges, header blocks and data rows,
// read back from the written .xlsx.
#include "ExcelExport.h"
#include "frmconst.h"
#include "platform/office/xlsxreader.h"
#include "qstringprint.h"

#include "platform/db/ClientDataSet.h"
#include "platform/gui/StringGrid.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace dpxtest;

namespace {

// Writes the first workbook of the application and reads it back.
XlsxBook Written(const ExcelApp& app, const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("report.xlsx"));
    app->Workbooks(1)->SaveAs(path);
    return readXlsx(path);
}

struct ExcelExportTest : ::testing::Test {
    void SetUp() override
    {
        previous = ExcelDesktop::SetOpener([this](const QString& path) {
            opened << path;
            return true;
        });
        accname = QStringLiteral("一公司");
        systype = TSystype::local;
    }
    void TearDown() override
    {
        ExcelDesktop::SetOpener(previous);
        for (const QString& p : opened)
            QFile::remove(p);
        accname.clear();
        systype = TSystype::local;
    }
    ExcelDesktop::Opener previous;
    QStringList opened;
    QTemporaryDir dir;
};

} // namespace

TEST(ExcelNames, ColumnLettersAndRanges)
{
    struct Case { int n; const char* letters; };
    const Case cases[] = {{-1, ""},  {0, ""},    {1, "A"},    {26, "Z"},   {27, "AA"}, {51, "AY"},
                          {52, "Az"}, {53, "BA"}, {78, "Bz"}, {701, "ZY"}, {702, "Zz"}, {703, "A"}};
    for (const Case& c : cases)
        EXPECT_EQ(excelcolname(c.n), QString::fromLatin1(c.letters)) << c.n;
    EXPECT_EQ(excelrange(2, 1, 3, 13), QStringLiteral("A2:M4"));
    EXPECT_EQ(excelrange(1, 1, 1, 52), QStringLiteral("A1:Az1"));
    // The lower-case letter addresses the same column.
    ExcelApp app = CreateExcelApplication();
    EXPECT_EQ(app->WorkbooksAdd()->Worksheets(1)->Range(excelrange(1, 1, 1, 52)).Address(), QStringLiteral("A1:AZ1"));
}

TEST_F(ExcelExportTest, StatisticsSheetFromAGrid)
{
    TStringGrid grid;
    grid.SetFixedRows(3);
    grid.SetColCount(8);
    grid.SetRowCount(5);
    grid.SetCells(0, 3, QStringLiteral("一"));
    grid.SetCells(1, 3, QStringLiteral("钢材"));
    grid.SetCells(2, 3, QStringLiteral("12.5"));
    grid.SetCells(6, 3, QStringLiteral("3"));
    grid.SetCells(1, 4, QStringLiteral("合计"));
    grid.SetCells(2, 4, QStringLiteral("0"));
    TNodeList items(2);
    items[0].text = QStringLiteral("甲厂");
    items[1].text = QStringLiteral("乙厂");
    {
        ExcelApp app = createexcelapp();
        EXPECT_TRUE(app->Visible());
        TExcelWorksheet* sheet = app->Workbooks(1)->Worksheets(1);
        excelstathead(sheet, items, accname + QStringLiteral("入库材料（按供应厂商）统计报表"), QStringLiteral("本期收入"));
        gridtoexcel(&grid, sheet);
        sheet->SetName(QStringLiteral("供应商统计"));
    }
    // Released: the workbook went to the desktop.
    ASSERT_EQ(opened.size(), 1);
    const XlsxBook x = readXlsx(opened[0]);
    ASSERT_TRUE(x.ok);
    EXPECT_EQ(x.sheets[0].name, QStringLiteral("供应商统计"));
    EXPECT_EQ(x.text(0, "A1"), QStringLiteral("一公司入库材料（按供应厂商）统计报表"));
    QStringList merges = x.sheets[0].merges;
    merges.sort();
    EXPECT_EQ(merges, (QStringList{"A1:H1", "A2:A4", "B2:B4", "C2:D3", "E2:H2", "E3:F3", "G3:H3"}));
    EXPECT_EQ(x.text(0, "B2"), QStringLiteral("分类名"));
    EXPECT_EQ(x.text(0, "C2"), QStringLiteral("本期收入"));
    EXPECT_EQ(x.text(0, "E2"), QStringLiteral("其             中"));
    EXPECT_EQ(x.text(0, "G3"), QStringLiteral("乙厂"));
    EXPECT_EQ(x.text(0, "G4"), QStringLiteral("数量"));
    EXPECT_EQ(x.text(0, "H4"), QStringLiteral("金额"));
    // Title: merged, 30 points high, centred, 16 points bold; header block bordered, centred, 10.
    EXPECT_EQ(x.sheets[0].heights.value(1), 30);
    EXPECT_EQ(x.style(0, "A1").fontSize, 16);
    EXPECT_TRUE(x.style(0, "A1").bold);
    EXPECT_EQ(x.style(0, "A1").halign, QStringLiteral("center"));
    for (const char* ref : {"A2", "D3", "H4", "B4"}) {
        EXPECT_TRUE(x.style(0, ref).allBorders) << ref;
        EXPECT_EQ(x.style(0, ref).fontSize, 10) << ref;
        EXPECT_EQ(x.style(0, ref).halign, QStringLiteral("center")) << ref;
    }
    EXPECT_EQ(x.sheets[0].orientation, QString());   // portrait
    // Data rows from sheet row F + 2 = 5, numbers as numbers, borders and font size 10.
    EXPECT_EQ(x.text(0, "B5"), QStringLiteral("钢材"));
    EXPECT_EQ(x.text(0, "C5"), QStringLiteral("12.5"));
    EXPECT_FALSE(x.sheets[0].cells.value(QStringLiteral("C5")).isString);
    EXPECT_EQ(x.text(0, "G5"), QStringLiteral("3"));
    EXPECT_EQ(x.text(0, "B6"), QStringLiteral("合计"));
    EXPECT_TRUE(x.style(0, "H6").allBorders);
    EXPECT_EQ(x.style(0, "H6").fontSize, 10);
    EXPECT_FALSE(x.has(0, "A7"));
}

TEST_F(ExcelExportTest, GridRowsGoBelowAHeaderOfTheGridsHeight)
{
    TStringGrid grid;
    grid.SetFixedRows(2);
    grid.SetColCount(3);
    grid.SetRowCount(10);
    for (int r = 2; r < 10; ++r)
        grid.SetCells(1, r, QStringLiteral("行%1").arg(r));
    ExcelApp app = createexcelapp();
    TExcelWorksheet* sheet = app->Workbooks(1)->Worksheets(2);
    gridtoexcel(&grid, sheet);
    EXPECT_EQ(sheet->Cells(3, 2).Text(), QString());
    EXPECT_EQ(sheet->Cells(4, 2).Text(), QStringLiteral("行2"));
    EXPECT_EQ(sheet->Cells(11, 2).Text(), QStringLiteral("行9"));
    EXPECT_EQ(sheet->Cells(12, 2).Text(), QString());
    EXPECT_EQ(sheet->Cells(11, 3).Borders().LineStyle(), xlContinuous);
    EXPECT_EQ(sheet->Cells(12, 3).Borders().LineStyle(), xlLineStyleNone);
    EXPECT_EQ(sheet->Cells(3, 1).Borders().LineStyle(), xlLineStyleNone);
    app->Quit();
}

TEST_F(ExcelExportTest, ListHeadersSetWidthsAndCentreTheirColumns)
{
    ExcelApp app = createexcelapp();
    excelstoragehead(app->Workbooks(1)->Worksheets(1), 0);
    excelimdetailhead(app->Workbooks(1)->Worksheets(2), 1);
    excelledgerhead(app->Workbooks(1)->Worksheets(3), QStringLiteral("钢筋"), QStringLiteral("Φ12"), QStringLiteral("吨"),
                    QStringLiteral("3.5"), QStringLiteral("12000"));
    const XlsxBook x = Written(app, dir);
    app->Quit();
    ASSERT_TRUE(x.ok);

    // Stock list: one header row, widths through whole columns, which are centred.
    EXPECT_EQ(x.sheets[0].merges, QStringList{"A1:J1"});
    EXPECT_EQ(x.text(0, "A1"), QStringLiteral("材料库存明细表"));
    EXPECT_EQ(x.text(0, "J2"), QStringLiteral("备注"));
    const double widths[] = {7.5, 13.88, 11.88, 14.38, 11.5, 8.5, 11.38, 11.38, 11.38, 23.25};
    for (int c = 1; c <= 10; ++c)
        EXPECT_EQ(x.widthPixels(0, c), expectedWidthPixels(widths[c - 1])) << c;
    EXPECT_EQ(x.sheets[0].orientation, QStringLiteral("landscape"));

    // Stock-in details of a local account set with planned prices: two header rows 20 high.
    QStringList merges = x.sheets[1].merges;
    merges.sort();
    EXPECT_EQ(merges, (QStringList{"A1:M1", "A2:A3", "B2:B3", "C2:C3", "D2:D3", "E2:E3", "F2:F3", "G2:G3", "H2:J2",
                                   "K2:L2", "M2:M3"}));
    EXPECT_EQ(x.text(1, "H2"), QStringLiteral("实际价格"));
    EXPECT_EQ(x.text(1, "I3"), QStringLiteral("运什费"));
    EXPECT_EQ(x.text(1, "K2"), QStringLiteral("计划价格"));
    EXPECT_EQ(x.text(1, "L3"), QStringLiteral("复价"));
    EXPECT_EQ(x.sheets[1].heights.value(2), 20);
    EXPECT_EQ(x.sheets[1].heights.value(3), 20);
    EXPECT_EQ(x.widthPixels(1, 13), expectedWidthPixels(19));

    // Ledger: the material in row 2, captions in rows 3 and 4.
    EXPECT_EQ(x.text(2, "A1"), QStringLiteral("材 料 分 级 分 户 明 细 帐"));
    EXPECT_EQ(x.text(2, "A2"), QStringLiteral("名称："));
    EXPECT_EQ(x.text(2, "B2"), QStringLiteral("钢筋"));
    EXPECT_EQ(x.text(2, "J2"), QStringLiteral("12000"));
    EXPECT_EQ(x.style(2, "A2").halign, QStringLiteral("center"));
    EXPECT_EQ(x.style(2, "B2").halign, QStringLiteral("left"));
    EXPECT_FALSE(x.style(2, "B2").allBorders);
    merges = x.sheets[2].merges;
    merges.sort();
    EXPECT_EQ(merges, (QStringList{"A1:M1", "A3:A4", "B3:B4", "C3:C4", "D3:D4", "E3:G3", "H3:J3", "K3:L3", "M3:M4"}));
    EXPECT_EQ(x.text(2, "K3"), QStringLiteral("结存"));
    EXPECT_EQ(x.text(2, "L4"), QStringLiteral("金额"));
    EXPECT_TRUE(x.style(2, "L4").allBorders);
    EXPECT_EQ(x.widthPixels(2, 4), expectedWidthPixels(14));
    EXPECT_EQ(x.widthPixels(2, 13), expectedWidthPixels(15));
}

TEST_F(ExcelExportTest, HeaderLayoutsByListAndSetting)
{
    ExcelApp app = createexcelapp();
    TExcelWorkbook* book = app->Workbooks(1);
    TCaptionLists units(2);
    units[0].caption = QStringLiteral("一队");
    units[1].caption = QStringLiteral("二队");
    excelcyldpthead(book->Worksheets(1), units);
    excelcyldpthead(book->Worksheets(2), TCaptionLists{});
    excelstathead(book->Worksheets(3), TNodeList{}, QStringLiteral("空"), QStringLiteral("支出合计"));
    TExcelWorksheet* s4 = book->AddWorksheet();
    systype = TSystype::overseas;
    excelimdetailhead(s4, 0);
    TExcelWorksheet* s5 = book->AddWorksheet();
    excelexdetailhead(s5, 1);
    TExcelWorksheet* s6 = book->AddWorksheet();
    excelconsumehead(s6, units, QStringLiteral("数据统计情况"));

    auto merged = [](TExcelWorksheet* s) {
        QStringList out;
        for (const TExcelArea& a : s->MergedAreas())
            out << TExcelRange(s, a).Address();
        out.sort();
        return out;
    };
    EXPECT_EQ(merged(book->Worksheets(1)),
              (QStringList{"A1:J1", "A2:A4", "B2:B4", "C2:C4", "D2:D4", "E2:F3", "G2:J2", "G3:H3", "I3:J3"}));
    EXPECT_EQ(book->Worksheets(1)->Cells(1, 1).Text(), QStringLiteral("一公司周转材料在库在用汇总表"));
    EXPECT_EQ(book->Worksheets(1)->Cells(3, 9).Text(), QStringLiteral("二队"));
    EXPECT_EQ(merged(book->Worksheets(2)), (QStringList{"A1:F1", "A2:A4", "B2:B4", "C2:C4", "D2:D4", "E2:F3"}));
    // Without items there is no "其中" block over no columns.
    EXPECT_EQ(merged(book->Worksheets(3)), (QStringList{"A1:D1", "A2:A4", "B2:B4", "C2:D3"}));
    EXPECT_EQ(book->Worksheets(3)->Cells(2, 5).Text(), QString());
    EXPECT_EQ(s4->Cells(2, 8).Text(), QStringLiteral("采购币种价格"));
    EXPECT_EQ(s4->Cells(2, 11).Text(), QStringLiteral("折结算币种价格"));
    EXPECT_EQ(s5->Cells(3, 8).Text(), QStringLiteral("币种"));
    EXPECT_DOUBLE_EQ(s5->Cells(1, 1).ColumnWidth(), 4.5);
    EXPECT_EQ(s5->Cells(100, 4).HorizontalAlignment(), xlHAlignCenter);
    EXPECT_EQ(merged(s6), (QStringList{"A1:F1", "A2:A3", "B2:B3", "C2:D2", "E2:F2"}));
    EXPECT_EQ(s6->PageSetup().Orientation(), xlPortrait);
    EXPECT_EQ(s4->PageSetup().Orientation(), xlLandscape);
    app->Quit();
}

TEST_F(ExcelExportTest, DatasetRowsByFieldType)
{
    TClientDataSet ds;
    ds.FieldDefs().Add(QStringLiteral("fid"), ftInteger);
    ds.FieldDefs().Add(QStringLiteral("bdate"), ftDateTime);
    ds.FieldDefs().Add(QStringLiteral("bnum"), ftString, 20);
    ds.FieldDefs().Add(QStringLiteral("qty"), ftBCD);
    ds.FieldDefs().Add(QStringLiteral("price"), ftFloat);
    ds.FieldDefs().Add(QStringLiteral("flag"), ftBoolean);

    ExcelApp app = createexcelapp();
    TExcelWorksheet* sheet = app->Workbooks(1)->Worksheets(1);
    datasettoexcel(&ds, sheet, 0, 5, 1, 3);   // closed: nothing
    EXPECT_EQ(sheet->RowCount(), 0);

    ds.CreateDataSet();
    ds.AppendRecord({Variant(7), Variant(EncodeDate(2024, 3, 1)), Variant(QStringLiteral("007")),
                     Variant(Currency::FromDouble(2.5)), Variant(0.1), Variant(true)});
    ds.AppendRecord({Variant(8), Variant::Null(), Variant(QStringLiteral("A-1")), Variant(Currency::FromDouble(-1)),
                     Variant::Null(), Variant(false)});
    datasettoexcel(&ds, sheet, 1, 4, 2, 3);
    EXPECT_EQ(sheet->Cells(3, 2).Text(), QStringLiteral("2024-03-01"));
    EXPECT_EQ(sheet->Cells(3, 3).Text(), QStringLiteral("007"));
    EXPECT_EQ(sheet->Cells(3, 4).Value().Type(), VarType::Double);
    EXPECT_EQ(sheet->Cells(3, 5).Text(), QStringLiteral("0.1"));
    EXPECT_EQ(sheet->Cells(4, 2).Text(), QString());    // an empty date stays blank
    EXPECT_EQ(sheet->Cells(4, 4).Text(), QStringLiteral("-1"));
    EXPECT_EQ(sheet->Cells(4, 5).Text(), QStringLiteral("0"));
    EXPECT_EQ(sheet->Cells(4, 5).Borders().LineStyle(), xlContinuous);
    EXPECT_EQ(sheet->Cells(4, 5).Font().Size(), 10);
    EXPECT_EQ(sheet->Cells(4, 6).Borders().LineStyle(), xlLineStyleNone);
    EXPECT_EQ(sheet->Cells(5, 2).Borders().LineStyle(), xlLineStyleNone);

    TExcelWorksheet* numbered = app->Workbooks(1)->Worksheets(2);
    datasettoexcelnumbered(&ds, numbered, 3, 3, 1);
    EXPECT_EQ(numbered->Cells(3, 1).Text(), QStringLiteral("1"));
    EXPECT_EQ(numbered->Cells(4, 1).Text(), QStringLiteral("2"));
    EXPECT_EQ(numbered->Cells(4, 2).Text(), QStringLiteral("8"));
    EXPECT_EQ(numbered->Cells(4, 4).Text(), QStringLiteral("A-1"));
    EXPECT_EQ(numbered->Cells(4, 4).Borders().LineStyle(), xlContinuous);
    EXPECT_EQ(numbered->Cells(4, 5).Borders().LineStyle(), xlLineStyleNone);

    // A Boolean field cannot be written as a number: the export stops, earlier cells stay.
    TExcelWorksheet* third = app->Workbooks(1)->Worksheets(3);
    EXPECT_THROW(datasettoexcel(&ds, third, 4, 2, 1, 1), EDatabaseError);
    EXPECT_EQ(third->Cells(1, 1).Text(), QStringLiteral("0.1"));
    EXPECT_EQ(third->Cells(1, 1).Borders().LineStyle(), xlLineStyleNone);
    app->Quit();
}
