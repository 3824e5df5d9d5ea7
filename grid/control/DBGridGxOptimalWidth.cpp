// Optimal column widths: each column just wide enough for its title, the text
// of every record and its footers.
#include "DBGridGx.h"
#include "DBGridGxInputSelection.h"
#include "grid/support/ToolCtrlsGxDraw.h"
#include "platform/db/DataSet.h"
#include "platform/gui/DrawUtils.h"
#include "platform/gui/ImageList.h"
#include <algorithm>

namespace {

// Width (and height) of a text measured in a rectangle, word-wrapped or on one line.
TSize MeasureText(TCanvas* canvas, const QString& text, int width, bool wrap)
{
    TRect r(0, 0, std::max(1, width), 0);
    DrawText(canvas, text, r, DT_CALCRECT | DT_NOPREFIX | (wrap ? DT_WORDBREAK : DT_SINGLELINE));
    return TSize(r.Right - r.Left, r.Bottom - r.Top);
}

} // namespace

void TCustomDBGridGx::OptimizeColumnsWidth(TColumnsGxList& columns)
{
    OptimizeColsWidth(columns);
}

void TCustomDBGridGx::OptimizeSelectedColsWidth(TColumnGx* WithColumn)
{
    TColumnsGxList list;
    if (FSelection->SelectionType() == gstColumns) {
        for (int i = 0; i < FSelection->Columns().Count(); ++i)
            list.Add(FSelection->Columns().GetColumn(i));
    } else if (FSelection->SelectionType() == gstAll) {
        for (int i = 0; i < FColumns->Count(); ++i)
            list.Add(FColumns->GetColumn(i));
    }
    if (WithColumn && list.IndexOf(WithColumn) < 0)
        list.Add(WithColumn);
    OptimizeColsWidth(list);
}

int TCustomDBGridGx::OptimalTitleWidth(TColumnGx* Column)
{
    TColumnTitleGx* title = Column->Title();
    int m = 4;
    const int marking = title->GetSortMarkingWidth();
    if (marking >= 3)
        m = marking + 2;
    if (FTitleImages && title->ImageIndex() != -1)
        return m + FTitleImages->Width();
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(*title->Font());
    QString text = title->Caption();
    int height = FTitleRowHeight;
    if (IsUseMultiTitle()) {
        for (const LeafCol& leaf : FLeafFieldArr)
            if (leaf.FColumn == Column && leaf.FLeaf) {
                text = leaf.FLeaf->Text;
                height = leaf.FLeaf->Height;
            }
    }
    const int width = Column->Width() - m;
    if (title->Orientation() == tohVertical)
        return m + MeasureText(canvas, text, height, false).cy;
    const bool wrap = IsUseMultiTitle() || FTitleHeight != 0 || FTitleLines != 0;
    return MeasureText(canvas, text, width, wrap).cx + m;
}

int TCustomDBGridGx::OptimalDataWidth(TColumnGx* Column)
{
    int b = 4;
    if (Column->AlwaysShowEditButton())
        b = Column->EditButtonsWidth() + 4;
    if (FVisibleColumns.Count() > 0 && FVisibleColumns.GetColumn(0) == Column)
        b += GetCellTreeElmentsAreaWidth();
    if (Column->ShowImageAndText() && Column->ImageList())
        b += Column->ImageList()->Width() + 4;
    switch (Column->GetColumnType()) {
    case ctKeyImageList:
        return b + (Column->ImageList() ? Column->ImageList()->Width() : 0);
    case ctCheckboxes:
        return b + CheckBoxGlyphSize().cx;
    default: break;
    }
    TFont font;
    font.Assign(*Column->Font());
    TColCellParamsGx params;
    Column->FillColCellParams(params);
    params.Font = &font;
    params.Background = Canvas()->Brush()->Color();
    params.State = 0;
    params.Alignment = Column->Alignment();
    params.Col = Column->Index() + FIndicatorOffset;
    params.Row = 0;
    GetCellParams(Column, &font, params.Background, TGridDrawState{});
    Column->GetColCellParams(false, params);
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(font);
    return b + canvas->TextWidth(params.Text);
}

int TCustomDBGridGx::OptimalFooterWidth(TColumnGx* Column)
{
    int w = 0;
    for (int row = 0; row < FFooterRowCount; ++row) {
        TColumnFooterGx* footer = Column->UsedFooter(row);
        if (!footer)
            continue;
        TFont font;
        font.Assign(*footer->Font());
        TColor color = footer->Color();
        TAlignment alignment = footer->Alignment();
        QString text = GetFooterValue(row, Column);
        GetFooterParams(Column->Index(), row, Column, &font, color, alignment, TGridDrawState{}, text);
        TCanvas* canvas = Canvas();
        canvas->Font()->Assign(font);
        const bool wrap = footer->WordWrap() && FAllowWordWrap;
        w = std::max(w, MeasureText(canvas, text, Column->Width(), wrap).cx + 5);
    }
    return w;
}

void TCustomDBGridGx::OptimizeColsWidth(TColumnsGxList& ColumnsList)
{
    const int n = ColumnsList.Count();
    std::vector<int> widths(size_t(n), 0);
    for (int i = 0; i < n; ++i)
        widths[size_t(i)] = OptimalTitleWidth(ColumnsList.GetColumn(i));
    if (!FDataLink->Active())
        return;
    TDataSet* ds = DataSet();
    ds->DisableControls();
    SaveBookmark();
    try {
        ds->First();
        int r = ds->RecNo();
        const int count = ds->RecordCount();
        while (!ds->Eof()) {
            for (int i = 0; i < n; ++i)
                widths[size_t(i)] = std::max(widths[size_t(i)], OptimalDataWidth(ColumnsList.GetColumn(i)));
            ds->Next();
            if (ds->IsSequenced() && r >= count)
                break;
            r = ds->RecNo();
        }
    } catch (...) {
        RestoreBookmark();
        ds->EnableControls();
        throw;
    }
    RestoreBookmark();
    ds->EnableControls();
    const bool bracket = !FAutoFitColWidths;
    if (bracket)
        BeginLayoutGx();
    try {
        for (int i = 0; i < n; ++i) {
            TColumnGx* column = ColumnsList.GetColumn(i);
            column->SetWidth(std::max(widths[size_t(i)], OptimalFooterWidth(column)));
        }
    } catch (...) {
        if (bracket)
            EndLayoutGx();
        throw;
    }
    if (bracket)
        EndLayoutGx();
}
