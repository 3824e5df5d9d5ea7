// The spreadsheet stand-in: ranges and formats in memory, the .xlsx written from them, the
// hand-over of visible workbooks to the desktop and the clipboard paste of the imports.
#include "platform/office/Excel.h"
#include "xlsxreader.h"

#include "platform/gui/Clipboard.h"
#include "platform/gui/Dialogs.h"
#include "platform/rtl/Exceptions.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace dpxtest;

namespace {

struct OpenerScope {
    explicit OpenerScope(ExcelDesktop::Opener o) : previous(ExcelDesktop::SetOpener(std::move(o))) {}
    ~OpenerScope() { ExcelDesktop::SetOpener(previous); }
    ExcelDesktop::Opener previous;
};

} // namespace

TEST(ExcelModel, RangesByAddressAndCells)
{
    ExcelApp app = CreateExcelApplication();
    TExcelWorksheet* sheet = app->WorkbooksAdd()->Worksheets(1);
    struct Case { const char* address; TExcelArea area; const char* normal; };
    const Case cases[] = {
        {"A1", {1, 1, 1, 1}, "A1"},
        {"A2:M4", {2, 1, 4, 13}, "A2:M4"},
        {"A1:Az1", {1, 1, 1, 52}, "A1:AZ1"},
        {"$B$3:$C$9", {3, 2, 9, 3}, "B3:C9"},
        {"c9:b3", {3, 2, 9, 3}, "B3:C9"},
        {"ZZ10", {10, 702, 10, 702}, "ZZ10"},
    };
    for (const Case& c : cases) {
        const TExcelRange r = sheet->Range(QString::fromLatin1(c.address));
        EXPECT_EQ(r.Area(), c.area) << c.address;
        EXPECT_EQ(r.Address(), QString::fromLatin1(c.normal));
    }
    for (const char* bad : {"", "A", "1", "A0", "A1:B", "A1:B2:C3", "中1", "XFE1"})
        EXPECT_THROW(sheet->Range(QString::fromUtf8(bad)), EOleException) << bad;
    EXPECT_THROW(sheet->Cells(0, 1), EOleException);
    EXPECT_THROW(sheet->Cells(1, kExcelMaxCols + 1), EOleException);
    EXPECT_THROW(app->Workbooks(1)->Worksheets(4), EOleException);
    EXPECT_THROW(app->Workbooks(2), EOleException);
    EXPECT_EQ(app->Workbooks(1)->WorksheetCount(), 3);
}

TEST(ExcelModel, TypedTextBecomesNumbersButCodesStayText)
{
    ExcelApp app = CreateExcelApplication();
    TExcelWorksheet* sheet = app->WorkbooksAdd()->Worksheets(1);
    struct Case { const char* typed; VarType kind; const char* text; };
    const Case cases[] = {
        {"12.5", VarType::Double, "12.5"}, {"-3", VarType::Double, "-3"}, {"0.25", VarType::Double, "0.25"},
        {"007", VarType::String, "007"},   {"1,000", VarType::String, "1,000"},
        {"1e5", VarType::String, "1e5"},   {"钢筋", VarType::String, "钢筋"},
        {"2024-01-05", VarType::String, "2024-01-05"}, {"5.", VarType::String, "5."},
    };
    int row = 1;
    for (const Case& c : cases) {
        sheet->Cells(row, 1).SetValue(QString::fromUtf8(c.typed));
        EXPECT_EQ(sheet->Cells(row, 1).Value().Type(), c.kind) << c.typed;
        EXPECT_EQ(sheet->Cells(row, 1).Text(), QString::fromUtf8(c.text));
        ++row;
    }
    EXPECT_EQ(sheet->Cells(50, 50).Text(), QString());
    sheet->Cells(1, 1).SetValue(QString());
    EXPECT_TRUE(sheet->Cells(1, 1).Value().IsUnassigned());
}

TEST(ExcelModel, MergeKeepsTopLeftAndJoinsOverlaps)
{
    ExcelApp app = CreateExcelApplication();
    TExcelWorksheet* sheet = app->WorkbooksAdd()->Worksheets(1);
    sheet->Cells(1, 1).SetValue(QStringLiteral("标题"));
    sheet->Cells(1, 2).SetValue(QStringLiteral("丢"));
    sheet->Range(QStringLiteral("A1:C1")).Merge();
    EXPECT_EQ(sheet->Cells(1, 1).Text(), QStringLiteral("标题"));
    EXPECT_EQ(sheet->Cells(1, 2).Text(), QString());
    sheet->Range(QStringLiteral("C1:D2")).Merge();
    ASSERT_EQ(sheet->MergedAreas().size(), 1);
    EXPECT_EQ(sheet->MergedAreas()[0], (TExcelArea{1, 1, 2, 4}));
    sheet->Range(QStringLiteral("F5")).Merge();   // one cell: nothing to merge
    EXPECT_EQ(sheet->MergedAreas().size(), 1);
}

TEST(ExcelModel, FormatsOfRangesAndColumns)
{
    ExcelApp app = CreateExcelApplication();
    TExcelWorksheet* sheet = app->WorkbooksAdd()->Worksheets(1);
    TExcelRange r = sheet->Range(QStringLiteral("B2:C3"));
    r.Font().SetSize(16);
    r.Font().SetBold(true);
    r.Borders().SetLineStyle(xlContinuous);
    r.SetHorizontalAlignment(-4108);   // the named centre constant
    EXPECT_EQ(sheet->Cells(3, 3).HorizontalAlignment(), xlHAlignCenter);
    EXPECT_EQ(sheet->Cells(3, 3).Font().Size(), 16);
    EXPECT_TRUE(sheet->Cells(2, 2).Font().Bold());
    EXPECT_EQ(sheet->Cells(2, 2).Borders().LineStyle(), xlContinuous);
    EXPECT_EQ(sheet->Cells(4, 4).Borders().LineStyle(), xlLineStyleNone);
    EXPECT_EQ(sheet->Cells(4, 4).Font().Size(), 11);
    EXPECT_THROW(r.SetHorizontalAlignment(9), EOleException);
    EXPECT_THROW(r.Borders().SetLineStyle(77), EOleException);

    sheet->Cells(7, 5).SetValue(1);
    sheet->Columns(5).SetHorizontalAlignment(3);
    sheet->Columns(5).SetColumnWidth(Currency::FromString(QStringLiteral("13.88")));
    EXPECT_EQ(sheet->Cells(7, 5).HorizontalAlignment(), 3);    // held before
    EXPECT_EQ(sheet->Cells(900, 5).HorizontalAlignment(), 3);  // made after
    EXPECT_DOUBLE_EQ(sheet->Cells(1, 5).ColumnWidth(), 13.88);
    EXPECT_DOUBLE_EQ(sheet->Cells(1, 6).ColumnWidth(), TExcelWorksheet::kStandardWidth);
    sheet->Range(QStringLiteral("A1:J1")).SetRowHeight(30);
    EXPECT_DOUBLE_EQ(sheet->Cells(1, 9).RowHeight(), 30);
    EXPECT_DOUBLE_EQ(sheet->Cells(2, 9).RowHeight(), TExcelWorksheet::kStandardHeight);

    EXPECT_THROW(sheet->SetName(QStringLiteral("a/b")), EOleException);
    EXPECT_THROW(sheet->SetName(QStringLiteral("sheet2")), EOleException);   // names ignore case
    sheet->SetName(QStringLiteral("进出存汇总表"));
    EXPECT_EQ(sheet->Name(), QStringLiteral("进出存汇总表"));
}

TEST(ExcelFile, WrittenWorkbookReadsBack)
{
    QTemporaryDir dir;
    ExcelApp app = CreateExcelApplication();
    TExcelWorkbook* book = app->WorkbooksAdd();
    TExcelWorksheet* sheet = book->Worksheets(1);
    sheet->SetName(QStringLiteral("库存明细表"));
    sheet->PageSetup().SetOrientation(xlLandscape);
    sheet->Cells(1, 1).SetValue(QStringLiteral("材料库存明细表"));
    TExcelRange title = sheet->Range(QStringLiteral("A1:C1"));
    title.Merge();
    title.SetRowHeight(30);
    title.SetHorizontalAlignment(3);
    title.Font().SetSize(16);
    title.Font().SetBold(true);
    sheet->Cells(2, 1).SetValue(QStringLiteral("数量"));
    sheet->Cells(2, 2).SetValue(QStringLiteral("12.5"));
    sheet->Cells(2, 3).SetValue(QStringLiteral("007"));
    sheet->Range(QStringLiteral("A2:C2")).Borders().SetLineStyle(1);
    sheet->Columns(2).SetColumnWidth(13.88);
    sheet->Columns(2).SetHorizontalAlignment(3);
    const QString path = dir.filePath(QStringLiteral("out.xlsx"));
    book->SaveAs(path);
    EXPECT_TRUE(book->Saved());

    const XlsxBook x = readXlsx(path);
    ASSERT_TRUE(x.ok);
    ASSERT_EQ(x.sheets.size(), 3);
    EXPECT_EQ(x.sheets[0].name, QStringLiteral("库存明细表"));
    EXPECT_EQ(x.sheets[1].name, QStringLiteral("Sheet2"));
    EXPECT_EQ(x.text(0, QStringLiteral("A1")), QStringLiteral("材料库存明细表"));
    EXPECT_EQ(x.text(0, QStringLiteral("B2")), QStringLiteral("12.5"));
    EXPECT_FALSE(x.sheets[0].cells[QStringLiteral("B2")].isString);
    EXPECT_EQ(x.text(0, QStringLiteral("C2")), QStringLiteral("007"));
    EXPECT_EQ(x.sheets[0].merges, QStringList{QStringLiteral("A1:C1")});
    EXPECT_EQ(x.sheets[0].heights.value(1), 30);
    EXPECT_EQ(x.sheets[0].orientation, QStringLiteral("landscape"));
    EXPECT_EQ(x.sheets[1].orientation, QString());
    EXPECT_EQ(x.widthPixels(0, 2), expectedWidthPixels(13.88));
    const XlsxStyle t = x.style(0, QStringLiteral("A1"));
    EXPECT_EQ(t.fontSize, 16);
    EXPECT_TRUE(t.bold);
    EXPECT_EQ(t.halign, QStringLiteral("center"));
    EXPECT_TRUE(x.style(0, QStringLiteral("C2")).allBorders);
    EXPECT_EQ(x.style(0, QStringLiteral("C2")).border, QStringLiteral("thin"));
    EXPECT_EQ(x.style(0, QStringLiteral("B2")).halign, QStringLiteral("center"));
    EXPECT_EQ(x.style(0, QStringLiteral("C2")).halign, QString());

    EXPECT_THROW(book->SaveAs(dir.filePath(QStringLiteral("missing/folder/out.xlsx"))), EOleException);
}

TEST(ExcelDesktopHandOver, VisibleWorkbookGoesToTheDesktopOnRelease)
{
    QStringList opened;
    OpenerScope scope([&](const QString& path) { opened << path; return true; });
    {
        ExcelApp app = CreateExcelApplication();
        app->SetVisible(true);
        app->WorkbooksAdd()->Worksheets(1)->Cells(1, 1).SetValue(QStringLiteral("报表"));
        EXPECT_TRUE(opened.isEmpty());
    }
    ASSERT_EQ(opened.size(), 1);
    const XlsxBook x = readXlsx(opened[0]);
    EXPECT_EQ(x.text(0, QStringLiteral("A1")), QStringLiteral("报表"));
    QFile::remove(opened[0]);

    {   // hidden, or quitted, or saved: nothing is shown
        ExcelApp hidden = CreateExcelApplication();
        hidden->WorkbooksAdd();
        ExcelApp quitted = CreateExcelApplication();
        quitted->SetVisible(true);
        quitted->WorkbooksAdd();
        quitted->Quit();
        ExcelApp saved = CreateExcelApplication();
        saved->SetVisible(true);
        saved->WorkbooksAdd()->SetSaved(true);
    }
    EXPECT_EQ(opened.size(), 1);
}

TEST(ExcelDesktopHandOver, WithoutASpreadsheetProgramThePathIsShown)
{
    TDialogScriptScope dialogs;
    OpenerScope scope([](const QString&) { return false; });
    QString path;
    {
        ExcelApp app = CreateExcelApplication();
        path = ExcelDesktop::Present(app->WorkbooksAdd());
    }
    ASSERT_EQ(DialogScript::Log().size(), 1);
    EXPECT_TRUE(DialogScript::Log()[0].Text.startsWith(QStringLiteral("没有找到可以打开电子表格的程序")));
    EXPECT_TRUE(DialogScript::Log()[0].Text.endsWith(path));
    EXPECT_TRUE(QFile::exists(path));
    QFile::remove(path);
}

TEST(ExcelDesktopHandOver, DefaultOpenerStartsNothingWithoutAScreen)
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("offscreen"));
    TDialogScriptScope dialogs;
    OpenerScope scope({});   // the default
    QString path;
    {
        ExcelApp app = CreateExcelApplication();
        path = ExcelDesktop::Present(app->WorkbooksAdd());
    }
    EXPECT_TRUE(DialogScript::Log().isEmpty());
    EXPECT_TRUE(QFile::exists(path));
    QFile::remove(path);
}

TEST(ExcelPaste, ClipboardTextLandsInCellsAsText)
{
    struct Case { const char* text; QList<QStringList> rows; };
    const Case cases[] = {
        {"a\tb\tc\r\n1\t2\t3\r\n", {{"a", "b", "c"}, {"1", "2", "3"}}},
        {"a\t\tc\nx", {{"a", "", "c"}, {"x"}}},
        {"\"多\n行\"\t\"说\"\"明\"\n", {{"多\n行", "说\"明"}}},
        {"\"半\tx\n", {{"\"半", "x"}}},
        {"", {}},
        {"\n\nz", {{""}, {""}, {"z"}}},
    };
    for (const Case& c : cases) {
        const QList<QStringList> got = ParseTabText(QString::fromUtf8(c.text));
        QList<QStringList> want;
        for (const QStringList& r : c.rows) {
            QStringList w;
            for (const QString& s : r)
                w << s;
            want << w;
        }
        EXPECT_EQ(got, want) << c.text;
    }

    Clipboard()->SetAsText(QStringLiteral("钢筋\tΦ12\t吨\t1,000\t3500\t\r\n水泥\t\t袋\t-5\t20\t备注\r\n"));
    ExcelApp app = CreateExcelApplication();
    app->SetVisible(false);
    TExcelWorksheet* sheet = app->WorkbooksAdd()->Worksheets(1);
    sheet->Paste();
    EXPECT_EQ(sheet->Cells(1, 1).Text(), QStringLiteral("钢筋"));
    EXPECT_EQ(sheet->Cells(1, 4).Text(), QStringLiteral("1,000"));
    EXPECT_EQ(sheet->Cells(1, 5).Value().Type(), VarType::String);   // as pasted
    EXPECT_EQ(sheet->Cells(2, 2).Text(), QString());
    EXPECT_EQ(sheet->Cells(2, 4).Text(), QStringLiteral("-5"));
    EXPECT_EQ(sheet->Cells(2, 6).Text(), QStringLiteral("备注"));
    EXPECT_EQ(sheet->Cells(3, 1).Text(), QString());
    app->ActiveWorkbook()->SetSaved(true);
    app->Quit();
}
