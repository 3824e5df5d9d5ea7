// Report sheets in a spreadsheet: title, header blocks with merged captions, data rows.
#include "ExcelExport.h"

#include "frmconst.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/gui/StringGrid.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

namespace {

QString letter(int k)
{
    return k >= 1 && k <= 26 ? QString(QChar(u'A' + k - 1)) : QString();
}

// One caption of a header block: its top-left cell and how many rows and columns it covers.
struct Caption {
    int row, col, rows, cols;
    QString text;
};

struct HeadLayout {
    QString title;
    int width = 0;                 // columns of the sheet
    bool landscape = false;
    int headRows = 1;              // header rows from row 2
    QList<Caption> captions;
    QList<double> widths;          // from column 1
    bool widthsByColumns = false;  // whole columns, which are centred as well
    bool rowHeight20 = false;
    int blockTop = 2;              // first row of the bordered header block
};

// Captions that run down all header rows, one per column from column `from`.
void tall(HeadLayout& l, int from, const QStringList& texts)
{
    for (int i = 0; i < texts.size(); ++i)
        l.captions.append({2, from + i, l.headRows, 1, texts[i]});
}

// A group caption over its columns in header row `row`, its sub-captions one per cell below.
void group(HeadLayout& l, int row, int col, const QString& text, const QStringList& subs)
{
    l.captions.append({row, col, 1, int(subs.size()), text});
    for (int i = 0; i < subs.size(); ++i)
        l.captions.append({row + 1, col + i, 1, 1, subs[i]});
}

const QStringList& pair()
{
    static const QStringList p{QStringLiteral("数量"), QStringLiteral("金额")};
    return p;
}

QList<double> repeated(QList<double> first, double w, int times)
{
    for (int i = 0; i < times; ++i)
        first << w;
    return first;
}

void writecell(TExcelWorksheet* sheet, int row, int col, const QString& text)
{
    sheet->Cells(row, col).SetValue(text);
}

void writehead(TExcelWorksheet* sheet, const HeadLayout& l)
{
    if (l.landscape)
        sheet->PageSetup().SetOrientation(xlLandscape);
    writecell(sheet, 1, 1, l.title);
    TExcelRange title = sheet->Range(excelrange(1, 1, 1, l.width));
    title.Merge();
    title.SetRowHeight(30);
    title.SetHorizontalAlignment(xlHAlignCenter);
    title.Font().SetSize(16);
    title.Font().SetBold(true);

    for (const Caption& c : l.captions) {
        writecell(sheet, c.row, c.col, c.text);
        if (c.rows > 1 || c.cols > 1)
            sheet->Range(excelrange(c.row, c.col, c.rows, c.cols)).Merge();
    }
    for (int i = 0; i < l.widths.size(); ++i) {
        const Currency w = Currency::FromDouble(l.widths[i]);
        if (l.widthsByColumns) {
            sheet->Columns(i + 1).SetColumnWidth(w);
            sheet->Columns(i + 1).SetHorizontalAlignment(xlHAlignCenter);
        } else {
            sheet->Cells(1 + l.headRows, i + 1).SetColumnWidth(w);
        }
    }
    TExcelRange block = sheet->Range(excelrange(l.blockTop, 1, l.headRows + 2 - l.blockTop, l.width));
    block.Borders().SetLineStyle(xlContinuous);
    block.SetHorizontalAlignment(xlHAlignCenter);
    block.Font().SetSize(10);
    if (l.rowHeight20)
        block.SetRowHeight(20);
}

HeadLayout oneRow(const QString& title, const QStringList& captions, QList<double> widths, bool byColumns,
                  bool landscape)
{
    HeadLayout l;
    l.title = title;
    l.width = int(captions.size());
    l.landscape = landscape;
    tall(l, 1, captions);
    l.widths = std::move(widths);
    l.widthsByColumns = byColumns;
    return l;
}

QStringList split(const char* text)
{
    return QString::fromUtf8(text).split(QLatin1Char(' '));
}

// Writes one field's value into a cell: text as text, integers and exact decimals as numbers,
// date-times in the default date-time text (empty when the field is empty), everything else
// as a floating-point number in the general form (the cell reads it back as a number).
void writefield(TExcelWorksheet* sheet, int row, int col, const TField* field)
{
    switch (field->DataType()) {
    case ftString: case ftWideString: case ftFixedChar: case ftFixedWideChar: case ftMemo: case ftWideMemo:
        sheet->Cells(row, col).SetValue(field->AsString());
        break;
    case ftSmallint: case ftInteger: case ftWord:
        // The number the decimal text reads as, without the detour through the text.
        sheet->Cells(row, col).SetValue(Variant(double(field->AsInteger())));
        break;
    case ftBCD: case ftFMTBcd:
        // Four decimals and at most fifteen digits: the general form is exact, so the text
        // would read back as this very number.
        sheet->Cells(row, col).SetValue(Variant(field->AsFloat()));
        break;
    case ftDate: case ftTime: case ftDateTime:
        sheet->Cells(row, col).SetValue(field->IsNull() ? QString() : DateTimeToStr(field->AsDateTime()));
        break;
    case ftBoolean:
        throw EDatabaseError(QStringLiteral("Invalid type conversion for field '%1'").arg(field->FieldName()));
    default:
        sheet->Cells(row, col).SetValue(FloatToStr(field->AsFloat()));
        break;
    }
}

void borderrows(TExcelWorksheet* sheet, int r, int c, int h, int w)
{
    TExcelRange range = sheet->Range(excelrange(r, c, h, w));
    range.Borders().SetLineStyle(xlContinuous);
    range.Font().SetSize(10);
}

template <typename List>
void cyldpthead(TExcelWorksheet* sheet, const List& units)
{
    const QStringList names = reportcaptions(units);
    const int n = int(names.size());
    HeadLayout l;
    l.title = accname + QStringLiteral("周转材料在库在用汇总表");
    l.width = 2 * n + 6;
    l.landscape = true;
    l.headRows = 3;
    tall(l, 1, split("序号 名称 规格 单位"));
    l.captions.append({2, 5, 2, 2, QStringLiteral("在用")});
    l.captions.append({4, 5, 1, 1, pair()[0]});
    l.captions.append({4, 6, 1, 1, pair()[1]});
    if (n > 0) {
        l.captions.append({2, 7, 1, 2 * n, QStringLiteral("其中")});
        for (int i = 0; i < n; ++i)
            group(l, 3, 7 + 2 * i, names[i], pair());
    }
    writehead(sheet, l);
}

template <typename List>
void consumehead(TExcelWorksheet* sheet, const List& items, const QString& title)
{
    const QStringList names = reportcaptions(items);
    const int n = int(names.size());
    HeadLayout l;
    l.title = title;
    l.width = 2 * n + 2;
    l.headRows = 2;
    tall(l, 1, split("序号 内容"));
    for (int i = 0; i < n; ++i)
        group(l, 2, 3 + 2 * i, names[i], pair());
    writehead(sheet, l);
}

template <typename List>
void stathead(TExcelWorksheet* sheet, const List& items, const QString& title, const QString& totalcaption)
{
    const QStringList names = reportcaptions(items);
    const int n = int(names.size());
    HeadLayout l;
    l.title = title;
    l.width = 2 * n + 4;
    l.headRows = 3;
    tall(l, 1, split("序号 分类名"));
    l.captions.append({2, 3, 2, 2, totalcaption});
    l.captions.append({4, 3, 1, 1, pair()[0]});
    l.captions.append({4, 4, 1, 1, pair()[1]});
    // Without items there are no item columns, and no "其中" over them.
    if (n > 0) {
        l.captions.append({2, 5, 1, 2 * n, QStringLiteral("其") + QString(13, QLatin1Char(' ')) + QStringLiteral("中")});
        for (int i = 0; i < n; ++i)
            group(l, 3, 5 + 2 * i, names[i], pair());
    }
    writehead(sheet, l);
}

// The two-row detail layouts of stock-in and stock-out: seven tall captions, two price
// groups, the remark.
HeadLayout detailTwoRows(const QString& title, const QStringList& first, const QString& group1,
                         const QStringList& subs1, const QString& group2, QList<double> widths)
{
    HeadLayout l;
    l.title = title;
    l.width = 13;
    l.landscape = true;
    l.headRows = 2;
    tall(l, 1, first);
    group(l, 2, 8, group1, subs1);
    group(l, 2, 11, group2, split("单价 复价"));
    l.captions.append({2, 13, 2, 1, QStringLiteral("备注")});
    l.widths = std::move(widths);
    l.widthsByColumns = true;
    l.rowHeight20 = true;
    return l;
}

} // namespace

QStringList reportcaptions(const TNodeList& list)
{
    QStringList out;
    for (const tnodelist& n : list)
        out << n.text;
    return out;
}

QStringList reportcaptions(const TCaptionLists& list)
{
    QStringList out;
    for (const TCaptionList& c : list)
        out << c.caption;
    return out;
}

ExcelApp createexcelapp()
{
    ExcelApp app = CreateExcelApplication();
    app->SetVisible(true);
    app->WorkbooksAdd();
    return app;
}

QString excelcolname(int n)
{
    if (n <= 0)
        return QString();
    if (n <= 26)
        return letter(n);
    if (n % 26 != 0)
        return letter(n / 26) + letter(n % 26);
    return letter(n / 26 - 1) + QStringLiteral("z");
}

QString excelrange(int r, int c, int h, int w)
{
    return excelcolname(c) + QString::number(r) + QLatin1Char(':') + excelcolname(c + w - 1)
           + QString::number(r + h - 1);
}

void datasettoexcel(TDataSet* dataset, TExcelWorksheet* sheet, int f, int k, int c, int r)
{
    if (!dataset->Active())
        return;
    dataset->First();
    int p = 0;
    for (; !dataset->Eof(); dataset->Next(), ++p)
        for (int i = 0; i < k; ++i)
            if (f + i >= 0 && f + i < dataset->FieldCount())
                writefield(sheet, r + p, c + i, dataset->Fields()[f + i]);
    borderrows(sheet, r, c, dataset->RecordCount(), k);
}

void datasettoexcelnumbered(TDataSet* dataset, TExcelWorksheet* sheet, int r, int k, int c)
{
    if (!dataset->Active())
        return;
    dataset->First();
    int p = 0;
    for (; !dataset->Eof(); dataset->Next(), ++p) {
        sheet->Cells(r + p, 1).SetValue(IntToStr(p + 1));
        for (int i = 0; i < k && i < dataset->FieldCount(); ++i)
            writefield(sheet, r + p, c + i + 1, dataset->Fields()[i]);
    }
    borderrows(sheet, r, c, dataset->RecordCount(), k + 1);
}

void datasettoexcelnumbered(TDataSet* dataset, TExcelWorksheet* sheet, int r, const QStringList& fields, int c)
{
    if (!dataset->Active())
        return;
    QList<TField*> columns;
    for (const QString& name : fields)
        columns << (name.isEmpty() ? nullptr : dataset->FindField(name));
    dataset->First();
    int p = 0;
    for (; !dataset->Eof(); dataset->Next(), ++p) {
        sheet->Cells(r + p, 1).SetValue(IntToStr(p + 1));
        for (int i = 0; i < columns.size(); ++i)
            if (columns[i])
                writefield(sheet, r + p, c + i + 1, columns[i]);
    }
    borderrows(sheet, r, c, dataset->RecordCount(), int(fields.size()) + 1);
}

void gridtoexcel(TStringGrid* grid, TExcelWorksheet* sheet)
{
    const int F = grid->FixedRows();
    const int R = grid->RowCount();
    for (int j = 0; j < R - F; ++j)
        for (int i = 0; i < grid->ColCount(); ++i)
            sheet->Cells(F + 2 + j, i + 1).SetValue(grid->Cells(i, F + j));
    if (R > F)
        borderrows(sheet, F + 2, 1, R - F, grid->ColCount());
}

void excelstoragehead(TExcelWorksheet* sheet, int flag)
{
    if (flag == 1)
        writehead(sheet, oneRow(QStringLiteral("材料库存明细表"), split("序号 日期 编号 材料名称 规格型号 单位 数量 币种 单价 复价 备注"),
                                {7.25, 12.5, 11.88, 13.25, 13.15, 8.25, 6.88, 8.13, 10.25, 11.38, 20.88}, true, true));
    else
        writehead(sheet, oneRow(QStringLiteral("材料库存明细表"), split("序号 日期 编号 材料名称 规格型号 单位 数量 单价 复价 备注"),
                                {7.5, 13.88, 11.88, 14.38, 11.5, 8.5, 11.38, 11.38, 11.38, 23.25}, true, true));
}

void excelledgerhead(TExcelWorksheet* sheet, const QString& mname, const QString& mtype, const QString& munit,
                     const QString& qty, const QString& amount)
{
    // Row 2 carries the material; the captions below it form the header block.
    const QStringList labels = split("名称： 型号： 单位： 数量： 金额：");
    const QStringList values{mname, mtype, munit, qty, amount};
    for (int i = 0; i < 5; ++i) {
        writecell(sheet, 2, 2 * i + 1, labels[i]);
        sheet->Cells(2, 2 * i + 1).SetHorizontalAlignment(xlHAlignCenter);
        writecell(sheet, 2, 2 * i + 2, values[i]);
        sheet->Cells(2, 2 * i + 2).SetHorizontalAlignment(xlHAlignLeft);
    }
    HeadLayout l;
    l.title = QStringLiteral("材 料 分 级 分 户 明 细 帐");
    l.width = 13;
    l.landscape = true;
    l.headRows = 3;
    l.blockTop = 3;
    for (int i = 0; i < 4; ++i)
        l.captions.append({3, i + 1, 2, 1, split("日期 凭证编号 摘要 来源或领用")[i]});
    group(l, 3, 5, QStringLiteral("收入"), split("数量 单价 金额"));
    group(l, 3, 8, QStringLiteral("支出"), split("数量 单价 金额"));
    group(l, 3, 11, QStringLiteral("结存"), pair());
    l.captions.append({3, 13, 2, 1, QStringLiteral("备注")});
    l.widths = repeated({10, 10, 8, 14}, 8, 8) << 15;
    writehead(sheet, l);
}

void excelcyldetailhead(TExcelWorksheet* sheet)
{
    writehead(sheet, oneRow(accname + QStringLiteral("周转材料领用统计表"),
                            split("序号 领用单位 材料名称 规格型号 单位 数量 期初日期 期末日期 使用天数 备注"),
                            {6.38, 18, 13.25, 12.38, 8.25, 8.25, 14.5, 14.5, 8.25, 22.5}, false, true));
}

void excelcyldpthead(TExcelWorksheet* sheet, const TCaptionLists& units) { cyldpthead(sheet, units); }
void excelcyldpthead(TExcelWorksheet* sheet, const TNodeList& units) { cyldpthead(sheet, units); }

void excelcylsumhead(TExcelWorksheet* sheet)
{
    HeadLayout l;
    l.title = accname + QStringLiteral("周转材料在库在用汇总表");
    l.width = 10;
    l.landscape = true;
    l.headRows = 2;
    tall(l, 1, split("序号 材料名称 规格型号 单位"));
    group(l, 2, 5, QStringLiteral("总计"), pair());
    group(l, 2, 7, QStringLiteral("在库"), pair());
    group(l, 2, 9, QStringLiteral("在用"), pair());
    l.widths = repeated({9, 16, 15.53, 9.38}, 12.5, 6);
    writehead(sheet, l);
}

void excelmtrdetailhead(TExcelWorksheet* sheet)
{
    HeadLayout l;
    l.title = accname + QStringLiteral("材料进出存统计明细表");
    l.width = 12;
    l.landscape = true;
    l.headRows = 2;
    tall(l, 1, split("序号 材料名称 规格型号 单位"));
    const QStringList groups = split("上期结存 本期收入 本期支出 本期结存");
    for (int i = 0; i < 4; ++i)
        group(l, 2, 5 + 2 * i, groups[i], pair());
    l.widths = repeated({7.5, 13.25, 11.5, 7.88}, 10.38, 8);
    writehead(sheet, l);
}

void excelbreedsumhead(TExcelWorksheet* sheet)
{
    HeadLayout l;
    l.title = accname + QStringLiteral("材料进出存汇总统计报表");
    l.width = 10;
    l.landscape = true;
    l.headRows = 2;
    tall(l, 1, split("序号 分类名称"));
    const QStringList groups = split("期初 收入 支出 结存");
    for (int i = 0; i < 4; ++i)
        group(l, 2, 3 + 2 * i, groups[i], pair());
    l.widths = repeated({6.75, 15}, 12.88, 8);
    writehead(sheet, l);
}

void excelconsumehead(TExcelWorksheet* sheet, const TNodeList& items, const QString& title)
{
    consumehead(sheet, items, title);
}

void excelconsumehead(TExcelWorksheet* sheet, const TCaptionLists& items, const QString& title)
{
    consumehead(sheet, items, title);
}

void excelstathead(TExcelWorksheet* sheet, const TNodeList& items, const QString& title, const QString& totalcaption)
{
    stathead(sheet, items, title, totalcaption);
}

void excelstathead(TExcelWorksheet* sheet, const TCaptionLists& items, const QString& title,
                   const QString& totalcaption)
{
    stathead(sheet, items, title, totalcaption);
}

void excelmtrlisthead(TExcelWorksheet* sheet, const QString& title)
{
    writehead(sheet, oneRow(title, split("序号 材料名称 规格型号 计量单位 数量 金额 备注"),
                            {8.75, 13.88, 11.5, 7.13, 11.38, 13.38, 17.5}, true, false));
}

void excelimdetailhead(TExcelWorksheet* sheet, int flag)
{
    const QList<double> widths{5.25, 10.63, 8.63, 11.63, 9.63, 5.25, 7.88, 9, 7.13, 8.63, 8.5, 11.63, 19};
    const QStringList first = split("序号 入库日期 批号 名称 规格 单位 数量");
    const QString title = QStringLiteral("材料入库明细表");
    if (systype == TSystype::overseas)
        writehead(sheet, detailTwoRows(title, first, QStringLiteral("采购币种价格"), split("原价 运什费 合计"),
                                       QStringLiteral("折结算币种价格"), widths));
    else if (flag == 1)
        writehead(sheet, detailTwoRows(title, first, QStringLiteral("实际价格"), split("原价 运什费 合计"),
                                       QStringLiteral("计划价格"), widths));
    else
        writehead(sheet, oneRow(title, split("序号 日期 编号 材料名称 规格型号 计量单位 数量 单价 复价 备注"),
                                {7.5, 13.88, 11.88, 14.38, 11.5, 8.5, 11.38, 11.38, 11.38, 23.25}, true, true));
}

void excelimsumhead(TExcelWorksheet* sheet)
{
    writehead(sheet, oneRow(QStringLiteral("材料入库汇总清单"), split("序号 名称 规格 单位 数量 金额 备注"),
                            {8, 14, 11.63, 8.38, 12.23, 10.75, 18.25}, true, false));
}

void excelexdetailhead(TExcelWorksheet* sheet, int flag)
{
    if (flag == 1)
        writehead(sheet, detailTwoRows(QStringLiteral("材料出库明细表"), split("序号 出库日期 编号 名称 规格 单位 数量"),
                                       QStringLiteral("采购币种价格"), split("币种 单价 复价"),
                                       QStringLiteral("折结算币种价格"),
                                       {4.5, 11.25, 11.25, 13.88, 10.25, 5.25, 7.25, 7.5, 9, 9.25, 9.5, 10.5, 14.5}));
    else
        writehead(sheet, oneRow(QStringLiteral("材料出库明细表"),
                                split("序号 日期 编号 材料名称 规格型号 计量单位 数量 单价 复价 备注"),
                                {7.5, 13.88, 11.88, 14.38, 11.5, 11.38, 11.38, 11.38, 11.38, 21.25}, true, true));
}

void excelexsumhead(TExcelWorksheet* sheet)
{
    writehead(sheet, oneRow(QStringLiteral("材料出库汇总清单"), split("序号 名称 规格 单位 数量 金额 备注"),
                            {8, 14, 11.63, 8.38, 12.23, 10.75, 18.25}, true, false));
}
