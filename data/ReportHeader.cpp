// Merged header blocks of report string grids, painted over the grid's own cells.
#include "ReportGrid.h"

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

QString captionof(const tnodelist& n) { return n.text; }
QString captionof(const TCaptionList& c) { return c.caption; }

// The fixed "数量" / "金额" under a pair of columns starting at `first`.
QString pairsub(int col, int first) { return (col - first) % 2 == 0 ? QStringLiteral("数量") : QStringLiteral("金额"); }

// Column items from column `first` on: a caption over all item columns in row `top` (when
// `over` is given), each item's caption over its pair in the next row, the pair's
// sub-captions below. False when the cell is not in an item column.
template <typename List>
bool itemblock(TStringGrid* grid, int col, int row, const List& items, int first, int top, const QString& over)
{
    const int n = int(items.size());
    if (col < first || col >= first + 2 * n)
        return false;
    const int pairStart = first + 2 * ((col - first) / 2);
    if (!over.isNull() && row == top)
        drawmergedcell(grid, first, top, 2, over, 1, 2 * n);
    else if (row == top + (over.isNull() ? 0 : 1))
        drawmergedcell(grid, pairStart, row, 2, captionof(items[(col - first) / 2]), 1, 2);
    else if (row == top + (over.isNull() ? 1 : 2))
        drawmergedcell(grid, col, row, 2, pairsub(col, first), 1, 1);
    return true;
}

template <typename List>
void cyldpthead(TStringGrid* grid, int col, int row, const List& units, int f)
{
    const int n = int(units.size());
    if (col < 0 || col > 5)
        grid->SetColCount(f + 2 * n);
    static const char16_t* const tallTexts[] = {u"序号", u"名称", u"规格", u"单位"};
    if (col >= 0 && col <= 3)
        drawmergedcell(grid, col, 0, 2, QString::fromUtf16(tallTexts[col]), 3, 1);
    else if ((col == 4 || col == 5) && row < 2)
        drawmergedcell(grid, 4, 0, 2, QStringLiteral("在用"), 2, 2);
    else if (col == 4 || col == 5)
        drawmergedcell(grid, col, 2, 2, pairsub(col, 4), 1, 1);
    else if (n > 0)
        itemblock(grid, col, row, units, f, 0, QStringLiteral("其中"));
}

template <typename List>
void consumehead(TStringGrid* grid, int col, int row, const List& items)
{
    grid->SetColCount(2 * int(items.size()) + 2);
    if (col == 0 || col == 1)
        drawmergedcell(grid, col, 0, 2, col == 0 ? QStringLiteral("序号") : QStringLiteral("内容"), 2, 1);
    else
        itemblock(grid, col, row, items, 2, 0, QString());
}

template <typename List>
void stathead(TStringGrid* grid, int col, int row, const QString& totalcaption, const List& items)
{
    grid->SetColCount(2 * int(items.size()) + 4);
    if (col == 0 || col == 1)
        drawmergedcell(grid, col, 0, 2, col == 0 ? QStringLiteral("序号") : QStringLiteral("分类名称"), 3, 1);
    else if ((col == 2 || col == 3) && row < 2)
        drawmergedcell(grid, 2, 0, 2, totalcaption, 2, 2);
    else if (col == 2 || col == 3)
        drawmergedcell(grid, col, 2, 2, pairsub(col, 2), 1, 1);
    else
        itemblock(grid, col, row, items, 4, 0, QStringLiteral("其") + QString(11, QLatin1Char(' ')) + QStringLiteral("中"));
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
    cyldpthead(grid, col, row, units, f);
}

void drawcyldpthead(TStringGrid* grid, int col, int row, const TNodeList& units, int f)
{
    cyldpthead(grid, col, row, units, f);
}

void drawconsumehead(TStringGrid* grid, int col, int row, const TNodeList& items)
{
    consumehead(grid, col, row, items);
}

void drawconsumehead(TStringGrid* grid, int col, int row, const TCaptionLists& items)
{
    consumehead(grid, col, row, items);
}

void drawstathead(TStringGrid* grid, int col, int row, const QString& totalcaption, const TNodeList& items)
{
    stathead(grid, col, row, totalcaption, items);
}

void drawstathead(TStringGrid* grid, int col, int row, const QString& totalcaption, const TCaptionLists& items)
{
    stathead(grid, col, row, totalcaption, items);
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
