// The base grid's shape: counts of lines, fixed / frozen / contra counts, line
// sizes held in extents arrays, inserting, deleting and moving lines, and the
// stored sizes.
#include "GridsGx.h"

#include <algorithm>

static const char* const SIndexOutOfRange = "Grid index out of range";
static const char* const STooManyDeleted = "Too many rows or columns deleted";
static const char* const SGridTooLarge = "Grid too large for operation";
static const char* const SFixedColTooBig = "Fixed column count must be less than column count";
static const char* const SFixedRowTooBig = "Fixed row count must be less than row count";

// ---- extents arrays -----------------------------------------------------------------------

void ResizeExtents(TIntegerArray& Extents, int Index, int Amount, int Default)
{
    if (Amount == 0) return;
    const int oldCount = Extents.empty() ? 0 : Extents[0];
    if (Index < 0 || Index > oldCount) RaiseGridError(QString::fromLatin1(SIndexOutOfRange));
    const long long newCount = (long long)oldCount + Amount;
    if (newCount < 0) RaiseGridError(QString::fromLatin1(STooManyDeleted));
    if (newCount >= MaxExtentsCountGx) RaiseGridError(QString::fromLatin1(SGridTooLarge));
    if (newCount == 0) {
        Extents.clear();
        return;
    }
    Extents.resize(size_t(newCount) + 1);
    if (size_t(Index) + 1 < Extents.size()) std::fill(Extents.begin() + Index + 1, Extents.end(), Default);
    Extents[0] = int(newCount);
}

void SetExtentsCount(TIntegerArray& Extents, int NewCount, int Default)
{
    const int oldCount = Extents.empty() ? 0 : Extents[0];
    ResizeExtents(Extents, oldCount, NewCount - oldCount, Default);
}

void MoveExtentItem(TIntegerArray& Extents, int FromIndex, int ToIndex)
{
    if (FromIndex == ToIndex || Extents.empty()) return;
    const int n = int(Extents.size());
    if (FromIndex < 1 || FromIndex >= n || ToIndex < 1 || ToIndex >= n) RaiseGridError(QString::fromLatin1(SIndexOutOfRange));
    const int v = Extents[FromIndex];
    Extents.erase(Extents.begin() + FromIndex);
    Extents.insert(Extents.begin() + ToIndex, v);
}

bool SameExtents(const TIntegerArray& A, const TIntegerArray& B)
{
    if (A.empty() && B.empty()) return true;
    if (A.empty() != B.empty()) return false;
    if (A[0] != B[0]) return false;
    for (int i = 0; i <= A[0]; ++i)
        if (A[i] != B[i]) return false;
    return true;
}

int ShiftIndexOnMove(int Index, int From, int To)
{
    if (Index == From) return To;
    if (From < To && Index > From && Index <= To) return Index - 1;
    if (From > To && Index >= To && Index < From) return Index + 1;
    return Index;
}

// ---- counts -------------------------------------------------------------------------------

void TCustomGridGx::SetColCount(int Value)
{
    if (Value <= 0) Value = 1;
    if (Value == FColCount) return;
    if (FFixedCols >= Value) SetFixedCols(Value - 1);
    if (FContraColCount > 0)
        InsertOrDeleteLines(std::min(FColCount, Value), Value - FColCount, false);
    else
        ChangeGridSize(Value, FRowCount);
    if (HasOption(goRowSelect)) {
        FAnchor.X = FColCount - 1;
        InvalidateWholeGrid();
    }
    UpdateGridDataWidth();
    SyncScrollRanges();
}

void TCustomGridGx::SetRowCount(int Value)
{
    if (Value <= 0) Value = 1;
    if (Value == FRowCount) return;
    if (FFixedRows >= Value) SetFixedRows(Value - 1);
    if (FContraRowCount > 0)
        InsertOrDeleteLines(std::min(FRowCount, Value), Value - FRowCount, true);
    else
        ChangeGridSize(FColCount, Value);
    UpdateGridDataHeight();
    SyncScrollRanges();
}

void TCustomGridGx::ChangeGridSize(int NewColCount, int NewRowCount)
{
    const bool window = testAttribute(Qt::WA_WState_Created);
    const TGridLayoutGx oldLayout = CalcGridLayout();
    const int oldCols = FColCount, oldRows = FRowCount;
    const int oldFixedCols = FFixedCols, oldFixedRows = FFixedRows;
    const TGridCoord oldTopLeft = FTopLeft;
    try {
        FColCount = NewColCount;
        FRowCount = NewRowCount;
        if (FFixedCols >= NewColCount) FFixedCols = std::max(0, NewColCount - 1);
        if (FFixedRows >= NewRowCount) FFixedRows = std::max(0, NewRowCount - 1);
        if (!FColWidths.empty()) SetExtentsCount(FColWidths, FullColCount(), FDefaultColWidth);
        if (!FTabStops.empty()) SetExtentsCount(FTabStops, FullColCount(), 1);
        if (!FRowHeights.empty()) SetExtentsCount(FRowHeights, FullRowCount(), FDefaultRowHeight);
    } catch (...) {
        FColCount = oldCols;
        FRowCount = oldRows;
        FFixedCols = oldFixedCols;
        FFixedRows = oldFixedRows;
        try {
            if (!FColWidths.empty()) SetExtentsCount(FColWidths, FullColCount(), FDefaultColWidth);
            if (!FTabStops.empty()) SetExtentsCount(FTabStops, FullColCount(), 1);
            if (!FRowHeights.empty()) SetExtentsCount(FRowHeights, FullRowCount(), FDefaultRowHeight);
        } catch (...) {
            // Extents that cannot grow keep their old size; the counts stand regardless.
        }
        UpdateGridDataWidth();
        UpdateGridDataHeight();
        InvalidateWholeGrid();
        throw;
    }
    // The top-left cell stays inside the grid.
    FTopLeft.X = std::clamp(FTopLeft.X, FFixedCols, std::max(FFixedCols, FColCount - 1));
    FTopLeft.Y = std::clamp(FTopLeft.Y, FFixedRows, std::max(FFixedRows, FRowCount - 1));
    if (FTopLeft.X != oldTopLeft.X) FDataOffset.cx = 0;
    if (FTopLeft.Y != oldTopLeft.Y) FDataOffset.cy = 0;
    const TGridCoord clamped{std::min(FCurrent.X, FColCount - 1), std::min(FCurrent.Y, FRowCount - 1)};
    if (!(clamped == FCurrent)) SetCurrentCell(clamped.X, clamped.Y, true, true, true);
    const TGridCoord anchor{std::min(FAnchor.X, FColCount - 1), std::min(FAnchor.Y, FRowCount - 1)};
    if (!(anchor == FAnchor)) FAnchor = anchor;
    if (window) {
        if (VirtualView || !(oldTopLeft == FTopLeft)) {
            InvalidateWholeGrid();
        } else {
            const TGridLayoutGx L = CalcGridLayout();
            const int col = std::min(oldLayout.Horz.LastWholeLine, L.Horz.LastWholeLine);
            const int row = std::min(oldLayout.Vert.LastWholeLine, L.Vert.LastWholeLine);
            InvalidateRect(TRect(LineStart(L.Horz, col), 0, width(), height()));
            InvalidateRect(TRect(0, LineStart(L.Vert, row), width(), height()));
        }
    }
    SyncScrollRanges();
    SizeChanged(oldCols, oldRows);
}

void TCustomGridGx::SetFixedCols(int Value)
{
    if (Value == FFixedCols) return;
    if (Value < 0) RaiseGridError(QString::fromLatin1(SIndexOutOfRange));
    if (Value >= FColCount) RaiseGridError(QString::fromLatin1(SFixedColTooBig));
    FFixedCols = Value;
    UpdateGridDataWidth();
    ResetCells();
    SyncScrollRanges();
    InvalidateWholeGrid();
}

void TCustomGridGx::SetFixedRows(int Value)
{
    if (Value == FFixedRows) return;
    if (Value < 0) RaiseGridError(QString::fromLatin1(SIndexOutOfRange));
    if (Value >= FRowCount) RaiseGridError(QString::fromLatin1(SFixedRowTooBig));
    FFixedRows = Value;
    UpdateGridDataHeight();
    ResetCells();
    SyncScrollRanges();
    InvalidateWholeGrid();
}

void TCustomGridGx::ResetCells()
{
    FTopLeft = {FFixedCols, FFixedRows};
    FDataOffset = {};
    FCurrent = FTopLeft;
    FAnchor = FCurrent;
    if (HasOption(goRowSelect)) FAnchor.X = FColCount - 1;
}

void TCustomGridGx::SetFrozenColCount(int Value)
{
    if (Value == FFrozenColCount) return;
    FFrozenColCount = Value;
    InvalidateWholeGrid();
}

void TCustomGridGx::SetFrozenRowCount(int Value)
{
    if (Value == FFrozenRowCount) return;
    FFrozenRowCount = Value;
    InvalidateWholeGrid();
}

void TCustomGridGx::SetContraColCount(int Value)
{
    if (Value == FContraColCount) return;
    if (Value < 0) RaiseGridError(QStringLiteral("FContraColCount can not be negative."));
    ChangeContraSize(Value, FContraRowCount);
    UpdateGridDataWidth();
    SyncScrollRanges();
}

void TCustomGridGx::SetContraRowCount(int Value)
{
    if (Value == FContraRowCount) return;
    if (Value < 0) RaiseGridError(QStringLiteral("FContraRowCount can not be negative."));
    ChangeContraSize(FContraColCount, Value);
    UpdateGridDataHeight();
    SyncScrollRanges();
}

void TCustomGridGx::ChangeContraSize(int NewContraColCount, int NewContraRowCount)
{
    const int oldCols = FContraColCount, oldRows = FContraRowCount;
    FContraColCount = NewContraColCount;
    FContraRowCount = NewContraRowCount;
    try {
        if (!FColWidths.empty()) SetExtentsCount(FColWidths, FullColCount(), FDefaultColWidth);
        if (!FTabStops.empty()) SetExtentsCount(FTabStops, FullColCount(), 1);
        if (!FRowHeights.empty()) SetExtentsCount(FRowHeights, FullRowCount(), FDefaultRowHeight);
    } catch (...) {
        FContraColCount = oldCols;
        FContraRowCount = oldRows;
        throw;
    }
    InvalidateWholeGrid();
    SyncScrollRanges();
}

// ---- sizes --------------------------------------------------------------------------------

int TCustomGridGx::ColWidths(int Index) const
{
    if (FColWidths.empty() || Index < 0 || Index >= FullColCount() || Index >= FColWidths[0]) return FDefaultColWidth;
    return FColWidths[Index + 1];
}

int TCustomGridGx::RowHeights(int Index) const
{
    if (FRowHeights.empty() || Index < 0 || Index >= FullRowCount() || Index >= FRowHeights[0]) return FDefaultRowHeight;
    return FRowHeights[Index + 1];
}

bool TCustomGridGx::TabStops(int Index) const
{
    if (FTabStops.empty() || Index < 0 || Index >= FullColCount() || Index >= FTabStops[0]) return true;
    return FTabStops[Index + 1] != 0;
}

void TCustomGridGx::SetColWidths(int Index, int Value)
{
    if (FColWidths.empty()) SetExtentsCount(FColWidths, FullColCount(), FDefaultColWidth);
    if (Index < 0 || Index >= FullColCount()) RaiseGridError(QString::fromLatin1(SIndexOutOfRange));
    const int old = FColWidths[Index + 1];
    if (old == Value) return;
    FColWidths[Index + 1] = Value;
    GridDataWidthChanged(Index, old, Value);
    ColWidthsChanged();
}

void TCustomGridGx::SetRowHeights(int Index, int Value)
{
    if (FRowHeights.empty()) SetExtentsCount(FRowHeights, FullRowCount(), FDefaultRowHeight);
    if (Index < 0 || Index >= FullRowCount()) RaiseGridError(QString::fromLatin1(SIndexOutOfRange));
    const int old = FRowHeights[Index + 1];
    if (old == Value) return;
    FRowHeights[Index + 1] = Value;
    GridDataHeightChanged(Index, old, Value);
    RowHeightsChanged();
}

void TCustomGridGx::SetTabStops(int Index, bool Value)
{
    if (FTabStops.empty()) SetExtentsCount(FTabStops, FullColCount(), 1);
    if (Index < 0 || Index >= FullColCount()) RaiseGridError(QString::fromLatin1(SIndexOutOfRange));
    FTabStops[Index + 1] = Value ? 1 : 0;
}

void TCustomGridGx::SetDefaultColWidth(int Value)
{
    if (Value == FDefaultColWidth) return;
    FColWidths.clear();
    FDefaultColWidth = Value;
    UpdateGridDataWidth();
    ColWidthsChanged();
    InvalidateWholeGrid();
}

void TCustomGridGx::SetDefaultRowHeight(int Value)
{
    if (Value == FDefaultRowHeight) return;
    FRowHeights.clear();
    FDefaultRowHeight = Value;
    UpdateGridDataHeight();
    RowHeightsChanged();
    InvalidateWholeGrid();
}

void TCustomGridGx::SetGridLineWidth(int Value)
{
    if (Value == FGridLineWidth) return;
    FGridLineWidth = Value;
    UpdateGridDataWidth();
    UpdateGridDataHeight();
    SyncScrollRanges();
    InvalidateWholeGrid();
}

void TCustomGridGx::ColWidthsChanged()
{
    SyncScrollRanges();
    UpdateEdit();
}

void TCustomGridGx::RowHeightsChanged()
{
    SyncScrollRanges();
    UpdateEdit();
}

void TCustomGridGx::GridDataWidthChanged(int Index, int OldSize, int NewSize)
{
    InvalidateWholeGrid();
    if (!IsSmoothHorzScroll()) return;
    if (Index >= FFixedCols && Index < FColCount) {
        FGridDataSize.cx += NewSize - OldSize;
    } else {
        const TGridLayoutGx L = CalcGridLayout();
        FDataPageSize.cx = std::max(0, L.Horz.DataLimit - L.Horz.FixedEnd);
    }
}

void TCustomGridGx::GridDataHeightChanged(int Index, int OldSize, int NewSize)
{
    InvalidateWholeGrid();
    if (!IsSmoothVertScroll()) return;
    if (Index >= FFixedRows && Index < FRowCount) {
        FGridDataSize.cy += NewSize - OldSize;
    } else {
        const TGridLayoutGx L = CalcGridLayout();
        FDataPageSize.cy = std::max(0, L.Vert.DataLimit - L.Vert.FixedEnd);
    }
}

namespace {

// Σ (size + line width) over the lines [From, To) of an extents array; an empty
// array sums without walking.
long long SumLines(const TIntegerArray& E, int Default, int From, int To, int LineWidth)
{
    if (To <= From) return 0;
    if (E.empty()) return (long long)(To - From) * (Default + LineWidth);
    long long s = 0;
    for (int i = From; i < To; ++i) s += (i < E[0] ? E[i + 1] : Default) + LineWidth;
    return s;
}

} // namespace

void TCustomGridGx::UpdateGridDataWidth()
{
    FGridDataSize.cx = int(std::min<long long>(INT_MAX, SumLines(FColWidths, FDefaultColWidth, FFixedCols, FColCount, FGridLineWidth)));
    FSmoothPos.X = int(SumLines(FColWidths, FDefaultColWidth, FFixedCols, FTopLeft.X, FGridLineWidth)) + FDataOffset.cx;
    const TGridLayoutGx L = CalcGridLayout();
    FDataPageSize.cx = std::max(0, L.Horz.DataLimit - L.Horz.FixedEnd);
}

void TCustomGridGx::UpdateGridDataHeight()
{
    FGridDataSize.cy = int(std::min<long long>(INT_MAX, SumLines(FRowHeights, FDefaultRowHeight, FFixedRows, FRowCount, FGridLineWidth)));
    FSmoothPos.Y = int(std::min<long long>(INT_MAX, SumLines(FRowHeights, FDefaultRowHeight, FFixedRows, FTopLeft.Y, FGridLineWidth))) + FDataOffset.cy;
    const TGridLayoutGx L = CalcGridLayout();
    FDataPageSize.cy = std::max(0, L.Vert.DataLimit - L.Vert.FixedEnd);
}

// ---- looks --------------------------------------------------------------------------------

void TCustomGridGx::SetFixedColor(TColor Value)
{
    if (Value == FFixedColor) return;
    FFixedColor = Value;
    InvalidateWholeGrid();
}

void TCustomGridGx::SetFlat(bool Value)
{
    if (Value == FFlat) return;
    FFlat = Value;
    UpdateFixedLineColor();
    FlatChanged();
    InvalidateWholeGrid();
}

void TCustomGridGx::UpdateFixedLineColor()
{
    FFixedLineColor = FFlat ? TColor(8421504) : clBlack;
}

void TCustomGridGx::SetBorderStyle(TGridBorderStyleGx Value)
{
    if (Value == FBorderStyle) return;
    FBorderStyle = Value;
    BorderStyleChanged();
}

void TCustomGridGx::SetScrollBarsStyle(TScrollStyle Value)
{
    if (Value == FScrollBars) return;
    FScrollBars = Value;
    SetScrollBars(Value);
    SyncScrollRanges();
    InvalidateWholeGrid();
}

void TCustomGridGx::SetOptions(TGridOptions Value)
{
    if (Value & goRowSelect) Value &= ~TGridOptions(goAlwaysShowEditor);
    if (Value == FOptions) return;
    FOptions = Value;
    if (!FEditorMode) {
        if (HasOption(goAlwaysShowEditor))
            ShowEditor();
        else
            HideEditor();
    }
    if (!IsSmoothHorzScroll() && FDataOffset.cx != 0) FDataOffset.cx = 0;
    if (HasOption(goRowSelect)) SetCurrentCell(FCurrent.X, FCurrent.Y, false, false, true);
    UpdateGridDataWidth();
    UpdateGridDataHeight();
    SyncScrollRanges();
    InvalidateWholeGrid();
}

// ---- inserting, deleting and moving lines -------------------------------------------------

void TCustomGridGx::InsertOrDeleteLines(int Index, int Amount, bool IsRows)
{
    if (Amount == 0) return;
    TGridCoord cur = FCurrent;
    const int oldCols = FColCount, oldRows = FRowCount;
    TGridRect r{FFixedCols, FFixedRows, FColCount - 1, FRowCount - 1};
    int& count = IsRows ? FRowCount : FColCount;
    const int newCount = count + Amount;
    if (newCount < Index) RaiseGridError(QString::fromLatin1(STooManyDeleted));
    TIntegerArray& ext = IsRows ? FRowHeights : FColWidths;
    const int def = IsRows ? FDefaultRowHeight : FDefaultColWidth;
    int distance;
    if (Amount < 0 && !ext.empty())
        distance = -int(SumLines(ext, def, Index, Index - Amount, 0));
    else
        distance = def * Amount;
    if (!ext.empty()) ResizeExtents(ext, Index, Amount, def);
    if (!IsRows && !FTabStops.empty()) ResizeExtents(FTabStops, Index, Amount, 1);
    count = newCount;
    int& c = IsRows ? cur.Y : cur.X;
    if (c >= Index) c = (Amount < 0 && c < Index - Amount) ? Index : c + Amount;
    c = std::max(0, std::min(c, count - 1));
    const int tl = IsRows ? FTopLeft.Y : FTopLeft.X;
    if (IsRows) {
        r.Top = Index;
        if (tl >= Index + std::abs(Amount)) r.Bottom = tl - 1;
    } else {
        r.Left = Index;
        if (tl >= Index + std::abs(Amount)) r.Right = tl - 1;
    }
    if (IsRows) UpdateGridDataHeight(); else UpdateGridDataWidth();
    if (testAttribute(Qt::WA_WState_Created)) {
        const TRect cr = GridRectToClient(r, true);
        if (FContraColCount > 0 || FContraRowCount > 0) {
            InvalidateWholeGrid();
        } else if (!cr.IsEmpty()) {
            TRect area = IsRows ? TRect(0, cr.Top, ClientWidth(), ClientHeight()) : TRect(cr.Left, 0, ClientWidth(), ClientHeight());
            ScrollWindow(IsRows ? 0 : distance, IsRows ? distance : 0, &area);
            Update();
        }
    }
    SizeChanged(oldCols, oldRows);
    if (!(cur == FCurrent)) SetCurrentCell(cur.X, cur.Y, true, true, true);
    FAnchor.X = std::min(FAnchor.X, FColCount - 1);
    FAnchor.Y = std::min(FAnchor.Y, FRowCount - 1);
    SyncScrollRanges();
}

void TCustomGridGx::MoveLineInternal(bool IsRows, int FromIndex, int ToIndex)
{
    if (FromIndex == ToIndex) return;
    TIntegerArray& ext = IsRows ? FRowHeights : FColWidths;
    const bool hadExtents = !ext.empty();
    if (hadExtents) MoveExtentItem(ext, FromIndex + 1, ToIndex + 1);
    if (!IsRows && !FTabStops.empty()) MoveExtentItem(FTabStops, FromIndex + 1, ToIndex + 1);
    if (IsRows) {
        FCurrent.Y = ShiftIndexOnMove(FCurrent.Y, FromIndex, ToIndex);
        FAnchor.Y = ShiftIndexOnMove(FAnchor.Y, FromIndex, ToIndex);
        if (FInplaceRow >= 0) FInplaceRow = ShiftIndexOnMove(FInplaceRow, FromIndex, ToIndex);
    } else {
        FCurrent.X = ShiftIndexOnMove(FCurrent.X, FromIndex, ToIndex);
        FAnchor.X = ShiftIndexOnMove(FAnchor.X, FromIndex, ToIndex);
        if (FInplaceCol >= 0) FInplaceCol = ShiftIndexOnMove(FInplaceCol, FromIndex, ToIndex);
    }
    const int lo = std::min(FromIndex, ToIndex), hi = std::max(FromIndex, ToIndex);
    if (IsRows)
        InvalidateGridRect({0, lo, FTopLeft.X + VisibleColCount() + 1, hi});
    else
        InvalidateGridRect({lo, 0, hi, FTopLeft.Y + VisibleRowCount() + 1});
    if (IsRows) {
        RowMoved(FromIndex, ToIndex);
        if (hadExtents) RowHeightsChanged();
    } else {
        ColumnMoved(FromIndex, ToIndex);
        if (hadExtents) ColWidthsChanged();
    }
    UpdateEdit();
}

void TCustomGridGx::MoveColumnLine(int FromIndex, int ToIndex)
{
    MoveLineInternal(false, FromIndex, ToIndex);
}

void TCustomGridGx::MoveRowLine(int FromIndex, int ToIndex)
{
    MoveLineInternal(true, FromIndex, ToIndex);
}

void TCustomGridGx::DeleteColumn(int ACol)
{
    MoveColumnLine(ACol, FullColCount() - 1);
    SetColCount(FColCount - 1);
}

void TCustomGridGx::DeleteRow(int ARow)
{
    LockPaint();
    try {
        if (FCurrent.Y == ARow && ARow > 0) MoveColRow(FCurrent.X, ARow - 1, true, false);
        MoveRowLine(ARow, FullRowCount() - 1);
        SetRowCount(FRowCount - 1);
    } catch (...) {
        UnlockPaint();
        throw;
    }
    UnlockPaint();
    InvalidateWholeGrid();
    SyncScrollRanges();
}

// ---- stored sizes -------------------------------------------------------------------------

namespace {

QList<int> StoredExtents(const TIntegerArray& E, int Count, int Default, const TIntegerArray* Ancestor)
{
    const bool write = Ancestor ? !SameExtents(E, *Ancestor) : !E.empty();
    QList<int> out;
    if (!write) return out;
    for (int i = 0; i < Count; ++i) out << (E.empty() || i >= E[0] ? Default : E[i + 1]);
    return out;
}

} // namespace

QList<int> TCustomGridGx::StoredColWidths(const TIntegerArray* Ancestor) const
{
    if (!FSaveCellExtents) return {};
    return StoredExtents(FColWidths, FColCount, FDefaultColWidth, Ancestor);
}

QList<int> TCustomGridGx::StoredRowHeights(const TIntegerArray* Ancestor) const
{
    if (!FSaveCellExtents) return {};
    return StoredExtents(FRowHeights, FRowCount, FDefaultRowHeight, Ancestor);
}

void TCustomGridGx::LoadColWidths(const QList<int>& Values)
{
    for (int i = 0; i < Values.size(); ++i) SetColWidths(i, Values[i]);
}

void TCustomGridGx::LoadRowHeights(const QList<int>& Values)
{
    for (int i = 0; i < Values.size(); ++i) SetRowHeights(i, Values[i]);
}
