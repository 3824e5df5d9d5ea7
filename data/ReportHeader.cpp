// Merged header blocks of report string grids, painted over the grid's own cells.
#include "ReportGrid.h"

#include "ExcelExport.h"
#include "platform/gui/DrawUtils.h"
#include "platform/gui/StringGrid.h"

namespace {

// One block of a header layout, in grid cells.
struct Block {
    int col, row, ncols, nrows;
    QString text;
    bool holds(int c, int r) const { return c >= col && c < col + ncols && r >= row && r < row + nrows; }
};

using Layout = QList<Block>;

void paintblockat(TStringGrid* grid, int col, int row, const Layout& layout)
{
    for (const Block& b : layout)
        if (b.holds(col, row)) {
            drawmergedcell(grid, b.col, b.row, 2, b.text, b.nrows, b.ncols);
            return;
        }
}

// One caption per column in row 0, each over `rows` rows.
void tall(Layout& l, int from, int rows, const char* texts)
{
    const QStringList t = QString::fromUtf8(texts).split(QLatin1Char(' '));
    for (int i = 0; i < t.size(); ++i)
        l.append({from + i, 0, 1, rows, t[i]});
}

// A caption over a pair of columns in `row`, "数量" and "金额" below it.
void pairgroup(Layout& l, int col, int row, const QString& text)
{
    l.append({col, row, 2, 1, text});
    l.append({col, row + 1, 1, 1, QStringLiteral("数量")});
    l.append({col + 1, row + 1, 1, 1, QStringLiteral("金额")});
}

Layout groupsafter(const char* tallTexts, int tallCount, const char* groups)
{
    Layout l;
    tall(l, 0, 2, tallTexts);
    const QStringList g = QString::fromUtf8(groups).split(QLatin1Char(' '));
    for (int i = 0; i < g.size(); ++i)
        pairgroup(l, tallCount + 2 * i, 0, g[i]);
    return l;
}

Layout onerow(const char* texts)
{
    Layout l;
    tall(l, 0, 1, texts);
    return l;
}

void cyldpthead(TStringGrid* grid, int col, int row, const QStringList& units, int f)
{
    const int n = int(units.size());
    if (col < 0 || col > 5)
        grid->SetColCount(f + 2 * n);
    Layout l;
    tall(l, 0, 3, "序号 名称 规格 单位");
    l.append({4, 0, 2, 2, QStringLiteral("在用")});
    l.append({4, 2, 1, 1, QStringLiteral("数量")});
    l.append({5, 2, 1, 1, QStringLiteral("金额")});
    if (n > 0) {
        l.append({f, 0, 2 * n, 1, QStringLiteral("其中")});
        for (int i = 0; i < n; ++i)
            pairgroup(l, f + 2 * i, 1, units[i]);
    }
    paintblockat(grid, col, row, l);
}

void consumehead(TStringGrid* grid, int col, int row, const QStringList& items)
{
    const int n = int(items.size());
    grid->SetColCount(2 * n + 2);
    Layout l;
    tall(l, 0, 2, "序号 内容");
    for (int i = 0; i < n; ++i)
        pairgroup(l, 2 + 2 * i, 0, items[i]);
    paintblockat(grid, col, row, l);
}

void stathead(TStringGrid* grid, int col, int row, const QString& totalcaption, const QStringList& items)
{
    const int n = int(items.size());
    grid->SetColCount(2 * n + 4);
    Layout l;
    tall(l, 0, 3, "序号 分类名称");
    l.append({2, 0, 2, 2, totalcaption});
    l.append({2, 2, 1, 1, QStringLiteral("数量")});
    l.append({3, 2, 1, 1, QStringLiteral("金额")});
    if (n > 0)
        l.append({4, 0, 2 * n, 1, QStringLiteral("其") + QString(11, QLatin1Char(' ')) + QStringLiteral("中")});
    for (int i = 0; i < n; ++i)
        pairgroup(l, 4 + 2 * i, 1, items[i]);
    paintblockat(grid, col, row, l);
}

} // namespace

void mergedcellrect(TStringGrid* grid, int col, int row, TRect& rect, int nrows, int ncols)
{
    const int L = grid->LeftCol();
    const int V = grid->VisibleColCount();
    const int last = col + ncols - 1;
    int left = 0;
    if (col >= L && col <= L + V) {
        left = grid->CellRect(col, row).Left;
    } else if (col < L && last >= L) {
        left = 0;
    } else {
        rect = TRect(0, 0, 0, 0);
        return;
    }
    int right = 0;
    if (last <= L + V - 1)
        right = grid->CellRect(last, row).Right;
    else
        right = grid->ClientRect().Right;
    rect = TRect(left, grid->CellRect(L, row).Top, right, grid->CellRect(L, row + nrows - 1).Bottom);
}

void drawmergedcell(TStringGrid* grid, int col, int row, int align, const QString& text, int nrows, int ncols)
{
    TRect r;
    mergedcellrect(grid, col, row, r, nrows, ncols);
    if (r.IsEmpty())
        return;   // wholly out of view
    r.Right += 1;
    r.Bottom += 1;
    TCanvas* canvas = grid->Canvas();
    if (!canvas)
        return;   // no window to paint on
    DrawEdge(canvas, r, BDR_RAISEDINNER, BF_TOPLEFT);
    DrawEdge(canvas, r, BDR_RAISEDINNER, BF_BOTTOMRIGHT);
    TRect t = r;
    switch (align) {
    case 0:
        t.Left += 4;
        DrawText(canvas, text, t, DT_SINGLELINE | DT_VCENTER);
        break;
    case 1:
        t.Right -= 4;
        DrawText(canvas, text, t, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
        break;
    case 2:
        DrawText(canvas, text, t, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
        break;
    default:
        break;
    }
}

void drawcyldetailhead(TStringGrid* grid, int col, int row)
{
    static const Layout l = onerow("序号 领用单位 材料名称 规格型号 单位 数量 期初日期 期末日期 使用天数 备注");
    paintblockat(grid, col, row, l);
}

void drawcylsumhead(TStringGrid* grid, int col, int row)
{
    static const Layout l = groupsafter("序号 材料名称 规格型号 单位", 4, "总计 在库 在用");
    paintblockat(grid, col, row, l);
}

void drawcyldpthead(TStringGrid* grid, int col, int row, const TCaptionLists& units, int f)
{
    cyldpthead(grid, col, row, reportcaptions(units), f);
}

void drawcyldpthead(TStringGrid* grid, int col, int row, const TNodeList& units, int f)
{
    cyldpthead(grid, col, row, reportcaptions(units), f);
}

void drawconsumehead(TStringGrid* grid, int col, int row, const TNodeList& items)
{
    consumehead(grid, col, row, reportcaptions(items));
}

void drawconsumehead(TStringGrid* grid, int col, int row, const TCaptionLists& items)
{
    consumehead(grid, col, row, reportcaptions(items));
}

void drawstathead(TStringGrid* grid, int col, int row, const QString& totalcaption, const TNodeList& items)
{
    stathead(grid, col, row, totalcaption, reportcaptions(items));
}

void drawstathead(TStringGrid* grid, int col, int row, const QString& totalcaption, const TCaptionLists& items)
{
    stathead(grid, col, row, totalcaption, reportcaptions(items));
}

void drawmtrlisthead(TStringGrid* grid, int col, int row)
{
    static const Layout l = onerow("序号 材料名称 规格型号 单位 数量 金额 备注");
    paintblockat(grid, col, row, l);
}

void drawbreedsumhead(TStringGrid* grid, int col, int row)
{
    static const Layout l = groupsafter("序号 分类名称", 2, "上期结存 本期收入 本期支出 本期结存");
    paintblockat(grid, col, row, l);
}

void drawmtrsumhead(TStringGrid* grid, int col, int row)
{
    static const Layout l = groupsafter("序号 材料名称 规格型号 单位", 4, "期初 收入 支出 结存");
    paintblockat(grid, col, row, l);
}
