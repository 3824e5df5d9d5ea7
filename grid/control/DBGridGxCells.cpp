#include "DBGridGxCells.h"
#include "DBGridGxColumns.h"
#include "grid/support/GxLibVCL.h"
#include "platform/rtl/Exceptions.h"

TCellKindGx GetCellTypeGx(const TCellGeometryGx& g, int aCol, int aRow, int& dataCol, int& dataRow)
{
    TCellKindGx kind;
    if (aCol < g.DataBoxLeft) {
        kind.ColumnKind = cckIndicatorGx;
        dataCol = aCol;
    } else {
        kind.ColumnKind = cckDataGx;
        dataCol = aCol - g.IndicatorOffset;
    }
    const int t = g.HasTitles ? 1 : 0;
    if (aRow < t) {
        kind.RowKind = crkTitleGx;
        dataRow = aRow;
    } else if (aRow < t + (g.FilterRowUnderTitle ? 1 : 0)) {
        kind.RowKind = crkFilterGx;
        dataRow = aRow - t;
    } else if (aRow >= g.DataBoxTop && aRow <= g.DataBoxBottom) {
        kind.RowKind = crkDataGx;
        dataRow = aRow - g.TopDataOffset();
    } else if (aRow == g.DataBoxBottom + 1) {
        kind.RowKind = crkFooterGx;
        dataRow = 0;
    } else if (aRow > g.DataBoxBottom + 1) {
        kind.RowKind = crkFooterGx;
        dataRow = aRow - (g.DataBoxBottom + 1);
    } else {
        throw Exception(QStringLiteral("Algorithm error in TCustomDBGridGx.GetCellType"));
    }
    return kind;
}

bool IsCell3DGx(const TCellGeometryGx& g, TDBGridGxOptions optionsGx, int aCol, int aRow, bool fixedCell,
                bool filterCellAt)
{
    const int dc = aCol - g.IndicatorOffset;
    const int dr = aRow - g.TopDataOffset();
    const bool footer = g.FooterRowCount > 0 && dr > g.RowCount - g.TopDataOffset() - 1;
    bool result = (fixedCell && optionsGx.Contains(dghFixed3D) && (dc < 0 || dr < 0)) ||
                  (optionsGx.Contains(dghFooter3D) && footer) ||
                  (optionsGx.Contains(dghData3D) && !fixedCell && !footer) ||
                  (optionsGx.Contains(dghFrozen3D) && dc >= 0 && dr >= 0 && dc < g.FrozenCols && dr < g.RowCount);
    if (g.FilterRowUnderTitle && filterCellAt && dr == -1)
        result = false;
    return result;
}

TColumnGx* FindFieldColumn(TDBGridColumnsGx* columns, const QString& fieldName)
{
    for (int i = 0; i < columns->Count(); ++i)
        if (NlsCompareText(columns->GetColumn(i)->FieldName(), fieldName) == 0)
            return columns->GetColumn(i);
    return nullptr;
}

TColumnGx* ColumnByFieldName(IDBGridGx* grid, const QString& fieldName)
{
    TColumnGx* column = FindFieldColumn(grid->Columns(), fieldName);
    if (!column)
        grid->RaiseGridError(QStringLiteral("字段名 '%1' 没有找到").arg(fieldName));
    return column;
}

TDBGridOptions StoredOptionsGx(TDBGridOptions value)
{
    if (value.Contains(dgRowSelect)) {
        value.Exclude(dgEditing);
        value.Exclude(dgAlwaysShowEditor);
    }
    return value;
}

void TranslateOptionsGx(TGridOptionsStateGx& s, TDBGridOptions value)
{
    TBaseGridOptionsGx b;
    b.ColSizing = s.Base.ColSizing;
    b.ColMoving = s.Base.ColMoving;
    b.ExtendVertLines = s.OptionsGx.Contains(dghExtendVertLines);
    b.RowSizing = s.RowSizingAllowed;
    b.FixedVertLine = b.VertLine = value.Contains(dgColLines);
    b.FixedHorzLine = b.HorzLine = value.Contains(dgRowLines);
    b.Tabs = value.Contains(dgTabs);
    b.RowSelect = value.Contains(dgRowSelect);
    const TDBGridOptions stored = StoredOptionsGx(value);
    b.Editing = stored.Contains(dgEditing);
    b.AlwaysShowEditor = stored.Contains(dgAlwaysShowEditor);
    s.Base = b;
}

void ReconcileColumnOptionsGx(TGridOptionsStateGx& s, TDBGridOptions o, TDBGridGxOptions e, bool fromOptionsGx)
{
    const bool newResize = o.Contains(dgColumnResize);
    const bool oldResize = s.Options.Contains(dgColumnResize);
    auto both = [](TDBGridGxOptions x) { return x.Contains(dghColumnResize) && x.Contains(dghColumnMove); };
    if (newResize && !oldResize) {
        s.OptionsGx.Include(dghColumnResize).Include(dghColumnMove);
    } else if (!newResize && oldResize) {
        s.OptionsGx.Exclude(dghColumnResize).Exclude(dghColumnMove);
    } else {
        if (both(e) && !both(s.OptionsGx))
            s.Options.Include(dgColumnResize);
        else if (!both(e) && both(s.OptionsGx))
            s.Options.Exclude(dgColumnResize);
    }
    if (o == s.Options && s.Options.Contains(dgColumnResize) && e == s.OptionsGx)
        s.OptionsGx.Include(dghColumnResize).Include(dghColumnMove);
    const TDBGridGxOptions result = fromOptionsGx ? e : s.OptionsGx;
    s.Base.ColSizing = result.Contains(dghColumnResize);
    s.Base.ColMoving = result.Contains(dghColumnMove);
}

bool OptionsChangeNeedsLayoutGx(TDBGridOptions oldValue, TDBGridOptions newValue)
{
    const TDBGridOptions watched{dgEditing, dgAlwaysShowEditor, dgTitles, dgIndicator, dgColLines, dgRowLines,
                                 dgRowSelect, dgAlwaysShowSelection};
    return (oldValue * watched) != (newValue * watched);
}
