// The data grid's layout pass: columns, grid columns and rows, metrics,
// auto-fitting and titles; the reactions that lead to it.
#include "DBGridGx.h"
#include "DBGridGxInputSelection.h"
#include "DBGridGxMetrics.h"
#include "DBGridGxParts.h"
#include "DBGridGxPaintScrollBar.h"
#include "grid/support/EditButtonPaintGx.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include <algorithm>

namespace {

// Runs a closure when the scope ends, also when an exception passes.
template <class F> struct Finally {
    F f;
    ~Finally() { f(); }
};
template <class F> Finally(F) -> Finally<F>;

// Text metrics the pass reads (the device's TEXTMETRIC in the original sense).
struct TTextMetricGx {
    int Height = 0, ExternalLeading = 0, InternalLeading = 0;
};

TTextMetricGx TextMetricsOf(const TFont& font)
{
    TCanvas canvas;
    canvas.SetFont(font);
    TTextMetricGx tm;
    tm.Height = canvas.FontHeight();
    tm.ExternalLeading = canvas.FontExternalLeading();
    const int em = font.Height() < 0 ? -font.Height() : tm.Height;
    tm.InternalLeading = std::max(0, tm.Height - em);
    return tm;
}

int TextHeightOf(const TFont& font, const QString& text)
{
    TCanvas canvas;
    canvas.SetFont(font);
    return canvas.TextHeight(text);
}

} // namespace

// ---------------------------------------------------------------- requests

void TCustomDBGridGx::LayoutChanged()
{
    if (FDestroying)
        return;
    FLocks.LayoutChanged();
}

bool TCustomDBGridGx::HasIndicator() const
{
    return FOptions.Contains(dgIndicator) || FOptionsGx.Contains(dghShowRecNo);
}

bool TCustomDBGridGx::HasTitles() const
{
    return FOptions.Contains(dgTitles);
}

bool TCustomDBGridGx::FilterRowUnderTitle() const
{
    return FSTFilter && FSTFilter->Visible() && FSTFilter->Location() == stflUnderTitleFilterGx;
}

int TCustomDBGridGx::TopDataOffset() const
{
    return (HasTitles() ? 1 : 0) + (FilterRowUnderTitle() ? 1 : 0);
}

bool TCustomDBGridGx::IsUseMultiTitle() const
{
    return FUseMultiTitle && !RowPanelActive();
}

// ---------------------------------------------------------------- the pass

void TCustomDBGridGx::PerformLayout()
{
    // Nothing before the grid is complete (a request from the constructor) or while it goes.
    if (Loading() || FDestroying || !FColumns || !FDataLink || !FSTFilter || !FGridRowPanel)
        return;
    ++FLayoutPassCount;
    FSizeChanged = false;   // the pass answers a waiting size change

    // 1. The pass answers a queued deferred request too.
    if (HandleAllocated())
        FLocks.DiscardDeferred();
    FColWidthsChanged = false;
    LockPaint();
    Finally unlockPaint{[this] { UnlockPaint(); }};

    // 2. Run-time columns go once stored ones follow them.
    for (int i = 1; i < FColumns->Count(); ++i)
        if (FColumns->GetColumn(i)->Stored() && !FColumns->GetColumn(i - 1)->Stored()) {
            for (int k = FColumns->Count() - 1; k >= 0; --k)
                if (!FColumns->GetColumn(k)->Stored())
                    delete FColumns->GetColumn(k);
            break;
        }

    // 3.
    FIndicatorOffset = HasIndicator() ? 1 : 0;

    // 4.
    FDataLink->ClearMapping();
    if (FDataLink->Active())
        BuildFieldMap();

    // 5.
    BindColumns();

    // 6.
    FVisibleColumns.Clear();
    for (int i = 0; i < FColumns->Count(); ++i)
        if (FColumns->GetColumn(i)->Visible())
            FVisibleColumns.Add(FColumns->GetColumn(i));
    const int hidden = CountHiddenLeading();

    // 7. The places of the row panel's cells; in row-panel mode the columns follow their places.
    if (HandleAllocated()) {
        FColumns->RelayoutCellsInRowPanel();
        if (RowPanelActive()) {
            SortColumnsByRowPanelPlacement();
            FVisibleColumns.Clear();
            for (int i = 0; i < FColumns->Count(); ++i)
                if (FColumns->GetColumn(i)->Visible())
                    FVisibleColumns.Add(FColumns->GetColumn(i));
        }
    }

    // 8. Grid columns.
    const bool activeOrCustomized = FDataLink->Active() || FColumns->State() == csCustomized;
    const TFixedColsGx fixed = CalcFixedColsGx(FFrozenCols, FIndicatorOffset, FVisibleColumns.Count(),
                                               FColumns->Count(), FContraColCount, activeOrCustomized, hidden);
    // Only what changes is given to the base grid (a changed fixed count resets its current cell).
    const int newCount = std::max(1, fixed.ColCount);
    const int newFixed = std::max(0, std::min(fixed.FixedCols, newCount - 1));
    const int newFrozen = std::max(0, std::min(fixed.FrozenCount, newFixed));
    if (TCustomGridGx::ColCount() != newCount || TCustomGridGx::ContraColCount() != fixed.ContraCols) {
        TCustomGridGx::SetContraColCount(0);
        TCustomGridGx::SetColCount(newCount);
        TCustomGridGx::SetContraColCount(fixed.ContraCols);
    }
    TCustomGridGx::SetFrozenColCount(std::min(FrozenColCount(), newFixed));
    TCustomGridGx::SetFixedCols(newFixed);
    TCustomGridGx::SetFrozenColCount(newFrozen);

    // 9. Row metrics.
    CalcRowMetrics();

    // 10. Scroll bars: the horizontal one belongs to the base grid unless the
    // columns fit the width; the grid drives the vertical one itself.
    const bool horz = !(FAutoFitColWidths && !Designing()) && FHorzScrollBar->Visible() &&
                      !FHorzScrollBar->ExtScrollBar();
    // The window always has room for the vertical bar; the grid fills it (UpdateScrollBar).
    const TScrollStyle style = horz ? TScrollStyle::ssBoth : TScrollStyle::ssVertical;
    if (style != ScrollBarsStyle()) {
        SetScrollBarsStyle(style);
        UpdateScrollBar();
    }

    // 11.
    SetColWidthsFromColumns();

    // 12.
    if (FAutoFitColWidths && !Designing() && HandleAllocated()) {
        UpdateScrollBar();
        AutoFitColumns();
    }

    // 13.
    CalcTitleMetrics();

    // 14.
    SetColWidthsFromColumns();

    // 15.
    {
        const int leftCol = LeftCol();
        const bool rowSelect = FOptions.Contains(dgRowSelect);
        Finally restore{[this, leftCol, rowSelect] {
            if (rowSelect && leftCol >= FixedCols() && leftCol < TCustomGridGx::ColCount())
                SetLeftCol(leftCol);
        }};
        UpdateRowCount();
    }

    // 16.
    if (FRowDetailPanel->Active())
        UpdateRowDetailPanel();
    UpdateActiveRow();
    InvalidateWholeGrid();
    if (FSelection && FSelection->SelectionType() == gstColumns)
        FSelection->Refresh();
    if (FFilterEditMode)
        LeaveFilterEditMode();

    // 17.
    UpdateGridLineColors();
}

void TCustomDBGridGx::BindColumns()
{
    TDBGridColumnsGx* columns = FColumns.get();
    if (columns->State() == csCustomized) {
        for (int i = 0; i < columns->Count(); ++i)
            columns->GetColumn(i)->ForgetField();
        return;
    }
    TDataSet* ds = DataSet();
    const bool active = FDataLink->Active();
    columns->BeginUpdate();
    Finally end{[columns] { columns->EndUpdate(); }};
    if (active || (ds && !ds->DefaultFields())) {
        for (int k = columns->Count() - 1; k >= 0; --k) {
            TColumnGx* column = columns->GetColumn(k);
            TField* field = column->Field();
            bool mapped = false;
            if (field)
                for (int m = 0; m < FDataLink->FieldCount() && !mapped; ++m)
                    mapped = FDataLink->GetMappedField(m) == field;
            if (!mapped)
                delete column;
        }
    } else {
        columns->Clear();
    }
    const int positions = std::max(FDataLink->FieldCount(), columns->Count() == 0 ? 1 : 0);
    for (int j = 0; j < positions; ++j) {
        TField* field = j < FDataLink->FieldCount() ? FDataLink->GetMappedField(j) : nullptr;
        int found = -1;
        if (field)
            for (int k = j; k < columns->Count() && found < 0; ++k)
                if (columns->GetColumn(k)->Field() == field)
                    found = k;
        if (found < 0) {
            TColumnGx* column = columns->AddDefaultColumn();
            if (field)
                column->SetField(field);
            found = columns->Count() - 1;
        }
        if (found != j)
            columns->Move(found, j);
    }
}

int TCustomDBGridGx::CountHiddenLeading() const
{
    int hidden = 0;
    const int count = FColumns->Count();
    for (int i = 0; i < count && i < FFrozenCols + hidden; ++i)
        if (!FColumns->GetColumn(i)->Visible())
            ++hidden;
    // Invisible columns directly after the zone belong to it.
    for (int i = FFrozenCols + hidden; i < count && !FColumns->GetColumn(i)->Visible(); ++i)
        ++hidden;
    return hidden;
}

void TCustomDBGridGx::CalcRowMetrics()
{
    const TFont& font = *TCustomControl::Font();
    const int line = FOptions.Contains(dgRowLines) ? GridLineWidth() : 0;
    const int P = (Flat() ? 1 : 3) + line;
    const int TH = TextHeightOf(font, QStringLiteral("Wg"));
    const TTextMetricGx tm = TextMetricsOf(font);
    if (FNewRowHeight > 0 || FRowLines > 0)
        FStdDefaultRowHeight = FNewRowHeight + (tm.ExternalLeading + tm.Height) * FRowLines;
    else
        FStdDefaultRowHeight = P + TH;
    if (FOptionsGx.Contains(dghFitRowHeightToText))
        FStdDefaultRowHeight = FitRowHeightToTextGx(FStdDefaultRowHeight, P, TH, FRowLines, FNewRowHeight);
    if (RowPanelActive() && FGridMasterCellHeight > 0) {
        FStdDefaultRowHeight = FGridMasterCellHeight;
        FColWidthsChanged = true;
    }
    if (FStdDefaultRowHeight <= qRound(FInplaceEditorButtonWidth * 1.5))
        FInplaceEditorButtonHeight = FStdDefaultRowHeight;
    else
        FInplaceEditorButtonHeight = DefaultEditButtonHeight(FInplaceEditorButtonWidth, Flat());
    FAllowWordWrap = tm.ExternalLeading + tm.Height + tm.InternalLeading + FInterlinear < FStdDefaultRowHeight;
    if (FOptions.Contains(dgTitles) && !IsUseMultiTitle()) {
        int height = 0;
        for (int i = 0; i < FColumns->Count(); ++i)
            height = std::max(height, TextHeightOf(*FColumns->GetColumn(i)->Title()->Font(), QStringLiteral("Wg")) +
                                          FInterlinear);
        if (height == 0)
            height = TextHeightOf(FTitleFont, QStringLiteral("Wg")) + FInterlinear;
        FTitleRowHeight = height;
    }
}

void TCustomDBGridGx::AutoFitColumns()
{
    const int clientWidth = ClientWidth();
    const int indicatorWidth = FIndicatorOffset > 0 ? TCustomGridGx::ColWidths(0) : 0;
    if (RowPanelActive()) {
        // The panel's cells scale with the panel to the room there is.
        const int avail = clientWidth - indicatorWidth - (FOptions.Contains(dgColLines) ? 1 : 0);
        const int from = FGridMasterCellWidth + GridLineWidth();
        if (from > 0 && avail > 0 && from != avail)
            FColumns->ScaleWidths(from, avail);
        return;
    }
    std::vector<TAutoFitColumnGx> fit;
    std::vector<TColumnGx*> cols;
    for (int i = 0; i < FColumns->Count(); ++i) {
        TColumnGx* c = FColumns->GetColumn(i);
        TAutoFitColumnGx a;
        a.Visible = c->Visible();
        a.AutoFit = c->AutoFitColWidth();
        a.InitWidth = c->InitWidth();
        a.Width = c->Width();
        a.MinWidth = c->MinWidth();
        a.MaxWidth = c->MaxWidth();
        fit.push_back(a);
        cols.push_back(c);
    }
    AutoFitColumnWidthsGx(fit, clientWidth, FMinAutoFitWidth, indicatorWidth, FOptions.Contains(dgColLines),
                          FIndicatorOffset > 0, FExtraFirstColumnWidth);
    FColumns->BeginUpdate();
    Finally end{[this] { FColumns->EndUpdate(); }};
    for (size_t i = 0; i < cols.size(); ++i)
        if (fit[i].Visible && fit[i].AutoFit) {
            const int init = cols[i]->InitWidth();
            cols[i]->SetWidth(fit[i].Width);
            cols[i]->SetInitWidth(init);   // setting a width keeps the fitting's start
            cols[i]->SetNotInWidthRange(fit[i].NotInWidthRange);
        }
}

void TCustomDBGridGx::CalcTitleMetrics()
{
    if (!FOptions.Contains(dgTitles))
        return;
    if (FTitleHeight != 0 || FTitleLines != 0) {
        TFont* tallest = &FTitleFont;
        int tallestHeight = -1;
        for (int i = 0; i < FColumns->Count(); ++i) {
            TFont* f = FColumns->GetColumn(i)->Title()->Font();
            const int h = TextMetricsOf(*f).Height;
            if (h > tallestHeight) {
                tallestHeight = h;
                tallest = f;
            }
        }
        const TTextMetricGx tm = TextMetricsOf(*tallest);
        FTitleHeightFull = TitleHeightFullGx(FTitleLines, tm.Height, tm.ExternalLeading, FTitleHeight,
                                             FOptions.Contains(dgRowLines));
        FTitleRowHeight = FTitleHeightFull;
    }
    if (IsUseMultiTitle()) {
        FLeafFieldArr.assign(size_t(FColumns->Count()), LeafCol{});
        CreateFieldTree(FHeadTree.get(), FColumns.get(), FTitleRowHeight, FOptions.Contains(dgColLines),
                        FLeafFieldArr);
        FTitleRowHeight = CalcHeadTreeHeight(FHeadTree.get()) - (FOptionsGx.Contains(dghFixed3D) ? 1 : 3);
    }
    if (RowPanelActive() && FGridMasterCellHeight > 0)
        FTitleRowHeight = FGridMasterCellHeight;
}

int TCustomDBGridGx::CalcHeadTreeHeight(THeadTreeNode* Node)
{
    TCanvas canvas;
    canvas.SetFont(FTitleFont);
    return ::CalcHeadTreeHeight(Node, FVTitleMargin, HeadTextHeightOnCanvas(&canvas, &FTitleFont, FVTitleMargin));
}

void TCustomDBGridGx::SetColWidthsFromColumns()
{
    FExtraFirstColumnWidth = FDataGrouping->Active() ? 18 * FDataGrouping->ActiveGroupLevelsCount() : 0;
    const bool colLines = FOptions.Contains(dgColLines);
    if (RowPanelActive()) {
        if (FIndicatorOffset < TCustomGridGx::ColCount())
            TCustomGridGx::SetColWidths(FIndicatorOffset, FGridMasterCellWidth);
        for (int i = FIndicatorOffset + 1; i < FullColCount(); ++i)
            TCustomGridGx::SetColWidths(i, colLines ? -1 : 0);
    } else {
        bool first = true;
        for (int i = 0; i < FColumns->Count(); ++i) {
            const int col = i + FIndicatorOffset;
            if (col >= FullColCount())
                break;
            TColumnGx* c = FColumns->GetColumn(i);
            const bool visible = c->Visible();
            TField* f = FDataLink->Active() ? c->Field() : nullptr;
            SetTabStops(col, visible && !c->ReadOnly() && f && !f->Calculated());
            int w = visible ? c->Width() : (colLines ? -1 : 0);
            if (visible && first) {
                w += FExtraFirstColumnWidth;
                first = false;
            }
            if (TCustomGridGx::ColWidths(col) != w)
                TCustomGridGx::SetColWidths(col, w);
        }
    }
    if (FIndicatorOffset > 0 && HandleAllocated())
        TCustomGridGx::SetColWidths(0, CalcIndicatorColWidth());
    FLastVisibleCol = -1;
    for (int i = FullColCount() - 1; i >= 0; --i)
        if (TCustomGridGx::ColWidths(i) > 0) {
            FLastVisibleCol = i;
            break;
        }
}

int TCustomDBGridGx::CalcIndicatorColWidth()
{
    TDataSet* ds = DataSet();
    const int count = FDataLink && FDataLink->Active() && ds ? ds->RecordCount() : 0;
    TCanvas canvas;
    return CalcIndicatorColWidthGx(&canvas, *TCustomControl::Font(), FOptions.Contains(dgIndicator),
                                   FOptionsGx.Contains(dghShowRecNo), ds != nullptr, count);
}

void TCustomDBGridGx::UpdateGridLineColors()
{
    TGridLineColorsGx* colors = GridLineColors();
    if (!colors)
        return;
    TColor dark;
    if (Flat())
        dark = clGray;
    else
        dark = clBlack;   // visual themes are not drawn by this program
    colors->SetDarkColor(dark);
    const bool darkContra = FOptionsGx.Contains(dghFooter3D) || FFooterColor != clWindow;
    colors->SetVertAreaContraVertColor(darkContra ? colors->GetDarkColor() : colors->GetBrightColor());
}

void TCustomDBGridGx::BuildFieldMap()
{
    TDataSet* ds = DataSet();
    if (FColumns->State() == csCustomized) {
        FDataLink->SetSparseMap(true);
        for (int i = 0; i < FColumns->Count(); ++i)
            FDataLink->AddMapping(FColumns->GetColumn(i)->FieldName());
    } else if (ds) {
        FDataLink->SetSparseMap(false);
        for (TField* f : ds->Fields())
            if (f->Visible())
                FDataLink->AddMapping(f->FieldName());
    }
}

// ---------------------------------------------------------------- reactions

void TCustomDBGridGx::ColWidthsChanged()
{
    if (!FDataLink || !FColumns) {
        TCustomGridGx::ColWidthsChanged();
        return;
    }
    // The filter editor follows its cell once the bracket below has ended.
    Finally placeFilterEdit{[this] {
        if (FFilterEditMode)
            UpdateFilterEdit(false);
    }};
    if (FSTFilter)
        FSTFilter->BeginUpdate();
    Finally endFilter{[this] {
        if (FSTFilter)
            FSTFilter->EndUpdate();
    }};
    bool locked = false;
    if ((FDataLink->Active() || FColumns->State() == csCustomized) && TryBeginLayoutGx()) {
        locked = true;
        Finally endLayout{[this] { EndLayoutGx(); }};
        TCustomGridGx::ColWidthsChanged();
        bool firstVisible = true;
        for (int i = FIndicatorOffset; i < FullColCount(); ++i) {
            const int dataCol = i - FIndicatorOffset;
            if (dataCol >= FColumns->Count())
                break;
            TColumnGx* c = FColumns->GetColumn(dataCol);
            const int extra = (c->Visible() && firstVisible) ? FExtraFirstColumnWidth : 0;
            if (c->Visible())
                firstVisible = false;
            int w = TCustomGridGx::ColWidths(i) - extra;
            if (c->MaxWidth() > 0 && w > c->MaxWidth())
                w = c->MaxWidth();
            if (c->MinWidth() > 0 && w < c->MinWidth())
                w = c->MinWidth();
            if (TCustomGridGx::ColWidths(i) != w + extra)
                TCustomGridGx::SetColWidths(i, w + extra);
        }
        firstVisible = true;
        for (int i = 0; i < FColumns->Count(); ++i) {
            TColumnGx* c = FColumns->GetColumn(i);
            if (!c->Visible())
                continue;
            const int col = i + FIndicatorOffset;
            const int extra = firstVisible ? FExtraFirstColumnWidth : 0;
            firstVisible = false;
            if (col >= FullColCount())
                break;
            const int newWidth = TCustomGridGx::ColWidths(col) - extra;
            if (!FAutoFitColWidths || Designing()) {
                c->SetWidth(newWidth);
                continue;
            }
            const int oldWidth = c->Width();
            if (newWidth == oldWidth)
                continue;
            if (FOptionsGx.Contains(dghResizeWholeRightPart)) {
                auto mulDivRound = [](int a, int b, int d) { return d == 0 ? -1 : MulDiv(a, b, d); };
                // A column sized from nothing has no proportion to keep: it takes the width given.
                if (c->AutoFitColWidth())
                    c->SetInitWidth(oldWidth == 0 ? std::max(1, TCustomGridGx::ColWidths(col))
                                                  : mulDivRound(TCustomGridGx::ColWidths(col), c->InitWidth(), oldWidth));
                else
                    c->SetWidth(newWidth);
                int D = 0;
                for (int k = i + 1; k < FColumns->Count(); ++k) {
                    TColumnGx* r = FColumns->GetColumn(k);
                    if (r->Visible() && r->AutoFitColWidth())
                        D += r->Width();
                }
                for (int k = i + 1; k < FColumns->Count(); ++k) {
                    TColumnGx* r = FColumns->GetColumn(k);
                    if (r->Visible() && r->AutoFitColWidth())
                        r->SetInitWidth(std::max(1, mulDivRound(D + oldWidth - newWidth, r->InitWidth(), D)));
                }
            } else if (c->AutoFitColWidth()) {
                const int oldInit = c->InitWidth();
                const int newInit = oldWidth == 0 ? oldInit : MulDiv(oldInit, newWidth, oldWidth);
                c->SetInitWidth(newInit);
                for (int k = i + 1; k < FColumns->Count(); ++k) {
                    TColumnGx* r = FColumns->GetColumn(k);
                    if (r->Visible()) {
                        r->SetInitWidth(std::max(0, r->InitWidth() + oldInit - newInit));
                        break;
                    }
                }
            } else {
                c->SetWidth(newWidth);
            }
        }
    } else {
        TCustomGridGx::ColWidthsChanged();
    }
    FInplaceRow = -1;
    FInplaceColInRowPanel = -1;
    if (!FDataLink->Active() || !HasMemTable() || !locked)
        FColWidthsChanged = true;
    else {
        BeginLayoutGx();
        Finally endLayout{[this] { EndLayoutGx(); }};
        UpdateAllDataRowHeights();
    }
    if (OnColWidthsChanged)
        OnColWidthsChanged(this);
    UpdateExtHorzScrollBar();
}

void TCustomDBGridGx::ColumnMoved(int FromIndex, int ToIndex)
{
    // The filter editor follows its cell once the bracket below has ended.
    Finally placeFilterEdit{[this] {
        if (FFilterEditMode)
            UpdateFilterEdit(false);
    }};
    if (FSTFilter)
        FSTFilter->BeginUpdate();
    Finally endFilter{[this] {
        if (FSTFilter)
            FSTFilter->EndUpdate();
    }};
    const int from = RawToDataColumn(FromIndex);
    const int to = RawToDataColumn(ToIndex);
    if (from >= 0 && from < FColumns->Count() && to >= 0 && to < FColumns->Count())
        FColumns->GetColumn(from)->SetIndex(to);
    if (OnColumnMoved)
        OnColumnMoved(this, from, to);
    FFilterCol = SelectedIndex();
}

void TCustomDBGridGx::DataChanged()
{
    if (!HandleAllocated() || FSumListRecalcing)
        return;
    if (FRowDetailPanel->Visible() && FDataLink->Active()) {
        TDataSet* ds = DataSet();
        if (ds && ds->GetBookmark() != FDataLink->LastBookmark())
            FRowDetailPanel->SetVisible(false);
    }
    const int width = CalcIndicatorColWidth();
    if (width == FRecNoTextWidth)
        UpdateRowCount();
    else {
        FRecNoTextWidth = width;
        FSizeChanged = true;
        LayoutChanged();
    }
    const bool wasVisible = FVertScrollBar->IsScrollBarVisible();
    UpdateScrollBar();
    if (wasVisible != FVertScrollBar->IsScrollBarVisible() && FAutoFitColWidths && !Designing()) {
        BeginLayoutGx();
        DeferLayoutGx();
    }
    UpdateActiveRow();
    FInplaceRow = -1;
    FInplaceColInRowPanel = -1;
    InvalidateWholeGrid();
}

void TCustomDBGridGx::RowHeightsChanged()
{
    if (!FOptionsGx.Contains(dghAutoFitRowHeight) && !OnGetRowHeight && FDefaultRowChanged) {
        FDefaultRowChanged = false;
        for (int r = HasTitles() ? 1 : 0; r < RowCount(); ++r)
            if (RowHeights(r) != FStdDefaultRowHeight) {
                const int dragged = RowHeights(r);
                SetRowLines(0);
                SetRowHeight(dragged);
                UpdateScrollBar();
                break;
            }
    }
    TCustomGridGx::RowHeightsChanged();
}

void TCustomDBGridGx::Loaded()
{
    ReconcileColumnOptions(FOptions, FOptionsGx, false);
    FDataGrouping->ResolveColumnNames();
    if (FColumns->Count() > 0) {
        TCustomGridGx::SetColCount(FColumns->Count());
        if (FAutoFitColWidths && !Designing()) {
            FColumns->BeginUpdate();
            for (int i = 0; i < FColumns->Count(); ++i)
                FColumns->GetColumn(i)->SetInitWidth(FColumns->GetColumn(i)->Width());
            FColumns->EndUpdate();
            SetScrollBarsStyle(TScrollStyle::ssVertical);
        }
    }
    SetSortMarkedColumns();
    LayoutChanged();
    BeginLayoutGx();
    DeferLayoutGx();
}

void TCustomDBGridGx::ChangeScale(int M, int D)
{
    if (M == D || D == 0)
        return;
    if (!FParentFont) {
        FSelfChangingTitleFont = true;
        FTitleFont.SetSize(MulDiv(TCustomControl::Font()->Size(), M, D));
        FSelfChangingTitleFont = false;
        FSelfChangingFooterFont = true;
        FFooterFont.SetSize(MulDiv(FFooterFont.Size(), M, D));
        FSelfChangingFooterFont = false;
    }
    FColumns->BeginUpdate();
    Finally end{[this] { FColumns->EndUpdate(); }};
    int sum = 0, scaledBefore = 0;
    for (int i = 0; i < FColumns->Count(); ++i) {
        TColumnGx* c = FColumns->GetColumn(i);
        if (c->AssignedValues().Contains(cvFont))
            c->Font()->SetSize(MulDiv(c->Font()->Size(), M, D));
        if (c->AssignedValues().Contains(cvTitleFont))
            c->Title()->Font()->SetSize(MulDiv(c->Title()->Font()->Size(), M, D));
        if (c->Footer()->AssignedValues().Contains(cvFooterFont))
            c->Footer()->Font()->SetSize(MulDiv(c->Footer()->Font()->Size(), M, D));
        for (int k = 0; k < c->Footers()->Count(); ++k)
            if (c->Footers()->Items(k)->AssignedValues().Contains(cvFooterFont))
                c->Footers()->Items(k)->Font()->SetSize(MulDiv(c->Footers()->Items(k)->Font()->Size(), M, D));
        sum += c->Width();
        const int scaled = MulDiv(sum, M, D);
        c->SetWidth(scaled - scaledBefore);
        scaledBefore = scaled;
    }
}

void TCustomDBGridGx::Paint()
{
    FDrawnGroupList.clear();
    CheckBufferedPaint();
    TCustomGridGx::Paint();
    PaintFlatBorder();
}

void TCustomDBGridGx::CheckDrawCellBorder(int ACol, int ARow, TCellBorderTypeGx BorderType, bool& IsDraw,
                                          TColor& BorderColor, bool& IsExtent)
{
    if (FUseMultiTitle && ARow == 0 && HasTitles() && ACol >= FIndicatorOffset &&
        (BorderType == cbtLeftGx || BorderType == cbtRightGx)) {
        IsDraw = false;
        return;
    }
    TCustomGridGx::CheckDrawCellBorder(ACol, ARow, BorderType, IsDraw, BorderColor, IsExtent);
}

void TCustomDBGridGx::Resize()
{
    TCustomGridGx::Resize();
    // Under a lock the size change waits for the release of the last lock.
    if (FLocks.UpdateLock() > 0) {
        FSizeChanged = true;
        return;
    }
    UpdateAfterResize();
}

void TCustomDBGridGx::UpdateAfterResize()
{
    FSizeChanged = false;
    if (FDestroying)
        return;
    const bool indicatorChanged = FIndicatorOffset > 0 && TCustomGridGx::ColWidths(0) != CalcIndicatorColWidth();
    if ((FAutoFitColWidths || indicatorChanged) && !Designing()) {
        LayoutChanged();
        if (InplaceEditorVisible())
            InvalidateEditor();
    } else {
        UpdateRowCount();
        UpdateScrollBar();
    }
}
