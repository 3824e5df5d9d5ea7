// Row-panel mode: the settings object, the placement of the columns inside the
// record's panel, the column order, the hit tests inside a panel, the panel
// painters of titles, data and footers, horizontal scrolling to a column and
// the in-place editor over a panel column.
#include "DBGridGxRowPanel.h"
#include "DBGridGx.h"
#include "DBGridGxParts.h"
#include "platform/gui/Canvas.h"

#include <algorithm>
#include <cmath>

// ---------------------------------------------------------------- settings

void TGridRowPanelGx::SetActive(bool value)
{
    if (FActive == value)
        return;
    FActive = value;
    if (value)
        FGrid->SetOriginCol(FGrid->IndicatorOffset());
    FGrid->LayoutChanged();
}

void TGridRowPanelGx::Assign(const TGridRowPanelGx& source)
{
    SetActive(source.FActive);
}

void TCustomDBGridGx::SetRowPanelNone()
{
    // A form that streams no row panel while it loads leaves the mode on.
    if (Loading())
        FGridRowPanel->SetActive(true);
}

void TCustomDBGridGx::SetOriginCol(int Value)
{
    TCustomGridGx::SetCol(Value);
}

// ---------------------------------------------------------------- placement

void TColumnGx::SetInRowLinePos(int value)
{
    if (FRowLine == value)
        return;
    FRowLine = value;
    Changed(true);
}

void TColumnGx::SetInRowLineHeight(int value)
{
    if (FHeight == value)
        return;
    FHeight = value;
    Changed(true);
}

int TCustomDBGridGx::InRowPanelLineHeight()
{
    TCanvas canvas;
    canvas.SetFont(*TCustomControl::Font());
    return canvas.TextHeight(QStringLiteral("Wg")) + 4 + (Flat() ? 0 : 1);
}

void TDBGridColumnsGx::RelayoutCellsInRowPanel()
{
    if (auto* grid = dynamic_cast<TCustomDBGridGx*>(FGrid))
        grid->RelayoutCellsInRowPanel();
}

void TCustomDBGridGx::RelayoutCellsInRowPanel()
{
    const int h = InRowPanelLineHeight();
    const int g = GridLineWidth();
    std::vector<int> edges;   // right edge of each panel line so far
    int masterWidth = 0, masterHeight = 0;
    bool anyVisible = false;
    for (int i = 0; i < FColumns->Count(); ++i) {
        TColumnGx* c = FColumns->GetColumn(i);
        const int pos = c->InRowLinePos();
        const int lines = c->InRowLineHeight();
        if (int(edges.size()) < pos + lines)
            edges.resize(size_t(pos + lines), 0);
        int x = 0;
        for (int l = pos; l < pos + lines; ++l)
            x = std::max(x, edges[size_t(l)]);
        const bool visible = c->Visible();
        TColumnGx::TInRowPanelPlacement& p = c->RowPlacement();
        p.Left = x;
        p.Top = pos * (g + h);
        p.Width = visible ? c->Width() : 0;
        p.Height = lines * (g + h) - 1;
        p.DataCellLeft = p.Left;
        p.DataCellWidth = p.Width;
        if (p.Left == 0) {
            p.Width += FExtraFirstColumnWidth;
            p.DataCellLeft += FExtraFirstColumnWidth;
        }
        for (int l = pos; l < pos + lines; ++l)
            edges[size_t(l)] = visible ? x + p.Width + g : x;
        if (visible) {
            anyVisible = true;
            masterWidth = std::max(masterWidth, p.Left + c->Width());
            masterHeight = std::max(masterHeight, p.Top + p.Height);
        }
    }
    FGridMasterCellWidth = anyVisible ? masterWidth : 0;
    FGridMasterCellHeight = std::max(masterHeight, h);
}

void TDBGridColumnsGx::ScaleWidths(int Divisor, int Denominator)
{
    auto* grid = dynamic_cast<TCustomDBGridGx*>(FGrid);
    if (!grid || Divisor == 0)
        return;
    const int g = grid->GridLineWidth();
    // Round half to even, as the placement's widths are rounded.
    auto round = [](double v) { return int(std::nearbyint(v)); };
    BeginUpdate();
    for (TColumnGx* c : FItems) {
        const int left = c->RowPlacement().Left;
        const int width = round(double(c->Width() + left + g) / Divisor * Denominator) -
                          round(double(Denominator) * left / Divisor) - g;
        c->SetWidth(width);
    }
    EndUpdate();
    grid->RelayoutCellsInRowPanel();
}

void TCustomDBGridGx::SortColumnsByRowPanelPlacement()
{
    if (!RowPanelActive())
        return;
    std::vector<TColumnGx*> sorted;
    for (int i = 0; i < FColumns->Count(); ++i)
        sorted.push_back(FColumns->GetColumn(i));
    std::stable_sort(sorted.begin(), sorted.end(), [](TColumnGx* a, TColumnGx* b) {
        const auto& pa = a->RowPlacement();
        const auto& pb = b->RowPlacement();
        if (pa.Left != pb.Left)
            return pa.Left < pb.Left;
        if (pa.Top != pb.Top)
            return pa.Top < pb.Top;
        return !a->Visible() && b->Visible();
    });
    FColumns->BeginUpdate();
    for (int i = 0; i < int(sorted.size()); ++i)
        if (sorted[size_t(i)]->Index() != i)
            sorted[size_t(i)]->SetIndex(i);
    FColumns->EndUpdate();
}

// ---------------------------------------------------------------- hit tests

TColumnGx* TCustomDBGridGx::GetColumnInRowPanelAtPos(const TPoint& InCellPos, bool IsTitleTypeCell)
{
    const int g = GridLineWidth();
    const int addRight = FOptions.Contains(dgColLines) ? g : 0;
    const int addBottom = FOptions.Contains(dgRowLines) ? g : 0;
    for (int i = 0; i < FColumns->Count(); ++i) {
        TColumnGx* c = FColumns->GetColumn(i);
        const auto& p = c->RowPlacement();
        const int left = IsTitleTypeCell ? p.Left : p.DataCellLeft;
        const int width = IsTitleTypeCell ? p.Width : p.DataCellWidth;
        const TRect r(left, p.Top, left + width + addRight, p.Top + p.Height + addBottom);
        if (InCellPos.X >= r.Left && InCellPos.X < r.Right && InCellPos.Y >= r.Top && InCellPos.Y < r.Bottom)
            return c;
    }
    return nullptr;
}

TColumnGx* TCustomDBGridGx::GetCellRectInRowPanelAtPos(const TPoint& InCellPos, TRect& ACellRect, bool IncludeLines)
{
    const int g = GridLineWidth();
    const int addRight = IncludeLines && FOptions.Contains(dgColLines) ? g : 0;
    const int addBottom = IncludeLines && FOptions.Contains(dgRowLines) ? g : 0;
    for (int i = 0; i < FColumns->Count(); ++i) {
        TColumnGx* c = FColumns->GetColumn(i);
        const auto& p = c->RowPlacement();
        const TRect r(p.Left, p.Top, p.Left + p.Width + addRight, p.Top + p.Height + addBottom);
        if (InCellPos.X >= r.Left && InCellPos.X < r.Right && InCellPos.Y >= r.Top && InCellPos.Y < r.Bottom) {
            ACellRect = r;
            return c;
        }
    }
    return nullptr;
}

// ---------------------------------------------------------------- painters

TRect TCustomDBGridGx::RowPanelColumnRect(TColumnGx* Column, const TRect& Cell, bool DataCell) const
{
    const auto& p = Column->RowPlacement();
    const int left = DataCell ? p.DataCellLeft : p.Left;
    const int width = DataCell ? p.DataCellWidth : p.Width;
    return TRect(Cell.Left + left, Cell.Top + p.Top, Cell.Left + left + width, Cell.Top + p.Top + p.Height);
}

void TCustomDBGridGx::PaintRowPanel(TRowPanelKindGx Kind, int ACol, int ARow, const TRect& ARect,
                                    TGridDrawState AState)
{
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(Kind == rpkTitleGx ? FColumnDefValues->Title()->Color() : Color());
    canvas->FillRect(ARect);
    TGridLineColorsGx* lines = GridLineColors();
    TColor horz = clSilver, vert = clSilver;
    if (lines) {
        horz = Kind == rpkTitleGx ? lines->GetFixedHorzColor()
               : Kind == rpkDataGx ? lines->GetDataHorzColor()
                                   : lines->GetVertAreaContraHorzColor();
        vert = Kind == rpkTitleGx ? lines->GetFixedVertColor()
               : Kind == rpkDataGx ? lines->GetDataVertColor()
                                   : lines->GetVertAreaContraVertColor();
    }
    int dataCol = 0, dataRow = 0;
    GetCellType(ACol, ARow, dataCol, dataRow);
    const bool currentRow = ARow == Row();
    for (int i = 0; i < FColumns->Count(); ++i) {
        TColumnGx* c = FColumns->GetColumn(i);
        if (!c->Visible())
            continue;
        const TRect r = RowPanelColumnRect(c, ARect, Kind == rpkDataGx);
        if (r.Bottom < ARect.Bottom) {
            canvas->Pen()->SetColor(horz);
            canvas->MoveTo(r.Left, r.Bottom);
            canvas->LineTo(r.Right + 1, r.Bottom);
        }
        if (r.Right < ARect.Right) {
            canvas->Pen()->SetColor(vert);
            canvas->MoveTo(r.Right, r.Top);
            canvas->LineTo(r.Right, r.Bottom + 1);
        }
        TGridDrawState state = AState;
        state >> gdSelected >> gdFocused >> gdHotTrack;
        if (currentRow && Kind == rpkDataGx) {
            const bool selectedCol = i == SelectedIndex();
            if (IsGridFocused() && (selectedCol || FOptions.Contains(dgRowSelect)))
                state << gdFocused;
            if (selectedCol)
                state << gdSelected;
        }
        if (HotTrackCell().X == ACol && HotTrackCell().Y == ARow && FHotTrackRowPanelColumn == c)
            state << gdHotTrack;
        const int col = FIndicatorOffset + i;
        switch (Kind) {
        case rpkTitleGx: DrawTitleCell(col, ARow, r, state); break;
        case rpkFooterGx: DrawFooterCell(i, dataRow, r, state); break;
        case rpkDataGx:
            FColCellParamsGx.State = ToGridDrawStateGx(state);
            DrawDataCellArea({col, ARow}, {i, dataRow}, c, r, FColCellParamsGx);
            break;
        }
    }
}

void TCustomDBGridGx::DrawRowPanelTitleCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    PaintRowPanel(rpkTitleGx, ACol, ARow, ARect, AState);
}

void TCustomDBGridGx::DrawRowPanelDataCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    PaintRowPanel(rpkDataGx, ACol, ARow, ARect, AState);
}

void TCustomDBGridGx::DrawRowPanelFooterCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState)
{
    PaintRowPanel(rpkFooterGx, ACol, ARow, ARect, AState);
}

// ---------------------------------------------------------------- scrolling and the current panel column

void TCustomDBGridGx::ScrollToRowPanelColumn(int Index)
{
    if (Index < 0 || Index >= FColumns->Count())
        return;
    const auto& p = FColumns->GetColumn(Index)->RowPlacement();
    const int c = p.DataCellLeft;
    const int w = p.DataCellWidth;
    const TAxisLayoutGx h = CalcGridLayout().Horz;
    const int page = h.DataLimit - h.FixedEnd;
    const int g = FOptions.Contains(dgColLines) ? GridLineWidth() : 0;
    int s = SmoothPos().X;
    if (c + w > ClientWidth() + s) {
        const int by = w > page ? c - s : (c + w - page + g) - s;
        ScrollDataPixels(by, 0);
        s = SmoothPos().X;
    }
    if (c < s)
        ScrollDataPixels(c - s, 0);
}

void TCustomDBGridGx::SetInRowPanelCol(int Index)
{
    if (Index == FInRowPanelCol)
        return;
    ScrollToRowPanelColumn(Index);
    FInRowPanelCol = Index;
    UpdateEdit();
    InvalidateCurrentRow();
}

bool TCustomDBGridGx::IsSmoothHorzScroll()
{
    if (!FHorzScrollBar)
        return TCustomGridGx::IsSmoothHorzScroll();
    return FHorzScrollBar->SmoothStep() || RowPanelActive();
}

bool TCustomDBGridGx::IsSmoothVertScroll()
{
    return FVertScrollBar && FVertScrollBar->SmoothStep();
}

void TCustomDBGridGx::FocusCell(int ACol, int ARow, bool MoveAnchor)
{
    if (!RowPanelActive()) {
        TCustomGridGx::FocusCell(ACol, ARow, MoveAnchor);
        return;
    }
    // The current cell moves without being shown; the panel scrolls to the current column.
    const bool locked = FLockAutoShowCurCell;
    FLockAutoShowCurCell = true;
    MoveColRow(ACol, ARow, MoveAnchor, false);
    FLockAutoShowCurCell = locked;
    ScrollToRowPanelColumn(SelectedIndex());
    UpdateEdit();
    Click();
}

// ---------------------------------------------------------------- the editor over a panel column

void TCustomDBGridGx::ShowEditor()
{
    if (FFilterEditMode)
        LeaveFilterEditMode();
    if (RowPanelActive())
        ScrollToRowPanelColumn(FInRowPanelCol);
    TCustomGridGx::ShowEditor();
}

void TCustomDBGridGx::HideEditor()
{
    TCustomGridGx::HideEditor();
    if (RowPanelActive()) {
        InvalidateCell(Col(), Row());
        FInplaceColInRowPanel = -1;
        FInplaceRow = -1;
    }
}

void TCustomDBGridGx::UpdateEdit()
{
    if (!RowPanelActive()) {
        TCustomGridGx::UpdateEdit();
        return;
    }
    if (!CanEditShow())
        return;
    const bool created = EnsureInplaceEdit();
    if (created || FInplaceColInRowPanel != FInRowPanelCol || FInplaceRow != Row()) {
        if (!created)
            CloseInplaceEditor();
        LoadInplaceEditor();
        FInplaceColInRowPanel = FInRowPanelCol;
    }
    if (CanEditShow()) {
        TRect r;
        CalcEditRect(Col(), Row(), r);
        InplaceEditor()->Move(r);
    }
}

void TCustomDBGridGx::UpdateText()
{
    if (!RowPanelActive()) {
        TCustomGridGx::UpdateText();
        return;
    }
    if (InplaceEditor() && FInplaceColInRowPanel >= 0 && FInplaceRow >= 0)
        SetEditText(FInplaceColInRowPanel + FIndicatorOffset, FInplaceRow, InplaceEditor()->text());
}

TRect TCustomDBGridGx::RowPanelEditRect()
{
    if (FInRowPanelCol < 0 || FInRowPanelCol >= FColumns->Count())
        return TRect();
    TColumnGx* column = FColumns->GetColumn(FInRowPanelCol);
    TRect r = RowPanelColumnRect(column, CellRect(Col(), Row()), true);
    // CellRect already leaves out the scrolled-away part of the panel.
    if (FRowDetailPanel->Active() && FVisibleColumns.Count() > 0 && column == FVisibleColumns.GetColumn(0))
        r.Left += 18;
    return r;
}
