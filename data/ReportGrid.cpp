// Filling report string grids: cross-tabs of categories against column items, turnover
// materials per using unit, dataset copies, and emptying.
#include "ReportGrid.h"

#include "DM.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/gui/StringGrid.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Format.h"

#include <algorithm>

namespace {

void grow(TStringGrid* grid, int cols, int rows)
{
    if (grid->ColCount() < cols)
        grid->SetColCount(cols);
    if (grid->RowCount() < rows)
        grid->SetRowCount(rows);
}

// A figure pair into two cells; zeros stay blank unless `always`.
void writepair(TStringGrid* grid, int col, int row, double num, double cost, bool always = false)
{
    if (always || num != 0)
        grid->SetCells(col, row, FloatToStr(num));
    if (always || cost != 0)
        grid->SetCells(col + 1, row, FloatToStr(cost));
}

} // namespace

QString chinesedigit(int n)
{
    static const char16_t digits[] = u"一二三四五六七八九";
    return n >= 1 && n <= 9 ? QString(QChar(digits[n - 1])) : QString();
}

QString chinesenumber(int n)
{
    if (n >= 100 || n < 1)
        return QString();
    if (n < 10)
        return chinesedigit(n);
    const QString ten = QStringLiteral("十");
    if (n < 20)
        return ten + chinesedigit(n % 10);
    return chinesedigit(n / 10) + ten + chinesedigit(n % 10);
}

void fillcrosstab(TStringGrid* grid, const TNodeList& nodes, const TNodeList& items, const TRowFigure& rowfigure,
                  const TItemFigure& itemfigure)
{
    const int n = int(nodes.size());
    const int m = int(items.size());
    const int F = grid->FixedRows();
    grow(grid, 2 * m + 4, F + n);
    if (n == 0)
        return;   // no top node: no total row either
    int a = 0, b = 0, c = 0, d = 0;
    for (int i = 1; i < n; ++i) {
        const tnodelist& node = nodes[i];
        const int row = F + i - 1;
        QString number;
        switch (node.level) {
        case 1:
            ++a; b = c = d = 0;
            number = chinesenumber(a);
            break;
        case 2:
            ++b; c = d = 0;
            number = QStringLiteral("%1.%2").arg(a).arg(b);
            break;
        case 3:
            ++c; d = 0;
            number = QStringLiteral("%1.%2.%3").arg(a).arg(b).arg(c);
            break;
        default:
            ++d;
            number = QStringLiteral("%1.%2.%3.%4").arg(a).arg(b).arg(c).arg(d);
            break;
        }
        grid->SetCells(0, row, number);
        grid->SetCells(1, row, node.text);
        double num = 0, cost = 0;
        rowfigure(num, cost, node.code);
        writepair(grid, 2, row, num, cost);
        for (int j = 0; j < m; ++j) {
            num = cost = 0;
            itemfigure(num, cost, node.code, items[j]);
            writepair(grid, 4 + 2 * j, row, num, cost);
        }
    }
    const int total = F + n - 1;
    grid->SetCells(1, total, QStringLiteral("合计"));
    double num = 0, cost = 0;
    rowfigure(num, cost, nodes[0].code);
    writepair(grid, 2, total, num, cost, true);
    for (int j = 0; j < m; ++j) {
        num = cost = 0;
        itemfigure(num, cost, nodes[0].code, items[j]);
        writepair(grid, 4 + 2 * j, total, num, cost);
    }
}

namespace {

TRowFigure inrow(int periodno)
{
    return [periodno](double& num, double& cost, const QString& code) {
        rmtDM->GetTypeInnumcost(num, cost, code, periodno);
    };
}

TRowFigure exrow(int periodno)
{
    return [periodno](double& num, double& cost, const QString& code) {
        rmtDM->GetTypeexnumcost(num, cost, code, periodno);
    };
}

} // namespace

void fillinbycurrency(TStringGrid* grid, const TNodeList& nodes, const TNodeList& items, int periodno)
{
    fillcrosstab(grid, nodes, items, inrow(periodno),
                 [periodno](double& num, double& cost, const QString& code, const tnodelist& item) {
                     rmtDM->getinnumcostbycid(num, cost, code, item.fid, periodno);
                 });
}

void fillinbysupplier(TStringGrid* grid, const TNodeList& nodes, const TNodeList& items, int periodno)
{
    fillcrosstab(grid, nodes, items, inrow(periodno),
                 [periodno](double& num, double& cost, const QString& code, const tnodelist& item) {
                     rmtDM->getinnumcostbysupcode(num, cost, code, item.code, periodno);
                 });
}

void fillinbysource(TStringGrid* grid, const TNodeList& nodes, const TNodeList& items, int periodno)
{
    fillcrosstab(grid, nodes, items, inrow(periodno),
                 [periodno](double& num, double& cost, const QString& code, const tnodelist& item) {
                     rmtDM->getinnumcostbycfcode(num, cost, code, item.code, periodno);
                 });
}

void fillexbydepartment(TStringGrid* grid, const TNodeList& nodes, const TNodeList& items, int periodno)
{
    fillcrosstab(grid, nodes, items, exrow(periodno),
                 [periodno](double& num, double& cost, const QString& code, const tnodelist& item) {
                     rmtDM->Getexnumcostbydptcode(num, cost, code, item.code, periodno);
                 });
}

void fillexbyproject(TStringGrid* grid, const TNodeList& nodes, const TNodeList& items, int periodno)
{
    fillcrosstab(grid, nodes, items, exrow(periodno),
                 [periodno](double& num, double& cost, const QString& code, const tnodelist& item) {
                     rmtDM->GetExnumcostbypjtcode(num, cost, code, item.code, periodno);
                 });
}

void fillcylgrid(TStringGrid* grid, int c, int r, const TCaptionLists& units, const TMtrLists& materials,
                 const TMaterialFigure& materialfigure, const TUnitFigure& unitfigure)
{
    const int u = int(units.size());
    const int k = int(materials.size());
    grow(grid, c + 2 * u, r + k);
    for (int i = 0; i < k; ++i) {
        const Tmtrlist& m = materials[i];
        const int row = r + i;
        grid->SetCells(0, row, QString::number(i + 1));
        grid->SetCells(1, row, m.mname);
        grid->SetCells(2, row, m.mtype);
        grid->SetCells(3, row, m.munit);
        double num = 0, cost = 0;
        materialfigure(num, cost, m.mid);
        writepair(grid, 4, row, num, cost);
        for (int j = 0; j < u; ++j) {
            num = cost = 0;
            unitfigure(num, cost, m.mid, units[j].fid);
            writepair(grid, c + 2 * j - 1, row, num, cost);
        }
    }
}

void fillcylbydepartment(TStringGrid* grid, int c, int r, int pid, const TCaptionLists& units,
                         const TMtrLists& materials)
{
    fillcylgrid(grid, c, r, units, materials,
                [pid](double& num, double& cost, int mid) { rmtDM->getcylmuncostbymid(mid, pid, num, cost); },
                [pid](double& num, double& cost, int mid, int dptid) {
                    rmtDM->getcyldptmuncostbymid(mid, dptid, pid, num, cost);
                });
}

void datasettogrid(TStringGrid* grid, TDataSet* dataset, int r, int k, int c)
{
    if (!dataset->Active())
        return;
    dataset->First();
    for (int p = 0; !dataset->Eof(); dataset->Next(), ++p) {
        const int row = r + p;
        if (row >= grid->RowCount())
            grid->SetRowCount(row + 1);
        grid->SetCells(c, row, QString::number(p + 1));
        for (int i = 0; i < k && i < dataset->FieldCount(); ++i) {
            const TField* field = dataset->Fields()[i];
            QString text;
            switch (field->DataType()) {
            case ftString: case ftWideString: case ftFixedChar: case ftFixedWideChar: case ftMemo: case ftWideMemo:
                text = field->AsString();
                break;
            case ftSmallint: case ftInteger: case ftWord:
                text = IntToStr(field->AsInteger());
                break;
            case ftFloat: case ftCurrency: case ftBCD: case ftFMTBcd:
                text = FloatToStr(field->AsFloat());
                break;
            case ftDate: case ftTime: case ftDateTime:
                // An empty date stays blank instead of showing day zero.
                text = field->IsNull() ? QString() : DateTimeToStr(field->AsDateTime());
                break;
            default:
                continue;   // other types leave the cell as it was
            }
            grid->SetCells(c + i + 1, row, text);
        }
    }
}

void cleargridrows(TStringGrid* grid)
{
    const int F = grid->FixedRows();
    for (int row = F; row < grid->RowCount(); ++row)
        for (int col = 0; col < grid->ColCount(); ++col)
            grid->SetCells(col, row, QString());
    grid->SetRowCount(F + 1);
}
