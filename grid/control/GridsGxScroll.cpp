// The base grid's current cell, anchor and selection, repainting of what
// changed, bringing cells into view, and scrolling by lines or by pixels with
// the scroll bars in step.
#include "GridsGx.h"

#include <QScopedValueRollback>
#include <QScrollBar>
#include <algorithm>

namespace {

bool WindowExists(const QWidget* w)
{
    return w->testAttribute(Qt::WA_WState_Created);
}

// Σ (size + line width) of the lines [From, To) of an axis, stopping once past Cap.
long long AxisSum(const TAxisLayoutGx& A, int From, int To, long long Cap = LLONG_MAX)
{
    if (To <= From) return 0;
    if (!A.Extents || A.Extents->empty()) return (long long)(To - From) * (A.DefaultSize + A.LineWidth);
    long long s = 0;
    for (int i = From; i < To && s <= Cap; ++i) s += A.SizeOf(i) + A.LineWidth;
    return s;
}

// Pixel distance the content moves when the first scrolling line and offset
// change from (OldLine, OldOff) to (NewLine, NewOff); negative moving forward.
long long MoveDistance(const TAxisLayoutGx& A, int OldLine, int OldOff, int NewLine, int NewOff, long long Cap)
{
    long long d = NewLine >= OldLine ? -AxisSum(A, OldLine, NewLine, Cap) : AxisSum(A, NewLine, OldLine, Cap);
    return d + OldOff - NewOff;
}

} // namespace

// ---- current cell and anchor --------------------------------------------------------------

void TCustomGridGx::SetCurrentCell(int ACol, int ARow, bool ShowVert, bool ShowHorz, bool MoveAnchor)
{
    if (ACol < 0 || ARow < 0 || ACol >= FColCount || ARow >= FRowCount)
        RaiseGridError(QStringLiteral("Grid index out of range"));
    if (!SelectCell(ACol, ARow)) return;
    const TGridRect oldSel = Selection();
    const TGridCoord oldCur = FCurrent;
    FCurrent = {ACol, ARow};
    if (!HasOption(goAlwaysShowEditor)) HideEditor();
    if (MoveAnchor || !HasOption(goRangeSelect)) {
        FAnchor = FCurrent;
        if (HasOption(goRowSelect)) FAnchor.X = FColCount - 1;
    }
    if (HasOption(goRowSelect)) FCurrent.X = FTopLeft.X;
    if (ShowVert || ShowHorz) ScrollCellIntoView(FCurrent, ShowHorz && !HasOption(goRowSelect), ShowVert);
    RepaintSelectionChange(oldSel);
    InvalidateGridCell(oldCur.X, oldCur.Y);
    InvalidateGridCell(FCurrent.X, FCurrent.Y);
}

void TCustomGridGx::FocusCell(int ACol, int ARow, bool MoveAnchor)
{
    SetCurrentCell(ACol, ARow, true, true, MoveAnchor);
    UpdateEdit();
    Click();
}

void TCustomGridGx::SetCurrentCol(int Value)
{
    if (Value != FCurrent.X) FocusCell(Value, FCurrent.Y, true);
}

void TCustomGridGx::SetCurrentRow(int Value)
{
    if (Value != FCurrent.Y) FocusCell(FCurrent.X, Value, true);
}

void TCustomGridGx::SetSelection(const TGridRect& Value)
{
    const TGridRect oldSel = Selection();
    FAnchor = {Value.Left, Value.Top};
    FCurrent = {Value.Right, Value.Bottom};
    RepaintSelectionChange(oldSel);
}

void TCustomGridGx::SetAnchorCell(const TGridCoord& Coord, bool Show)
{
    if (!(HasOption(goRangeSelect) && !HasOption(goEditing))) {
        SetCurrentCell(Coord.X, Coord.Y, Show, Show, true);
        return;
    }
    const TGridRect oldSel = Selection();
    FAnchor = Coord;
    if (HasOption(goRowSelect)) FAnchor.X = FColCount - 1;
    ScrollCellIntoView(FAnchor, true, true);
    RepaintSelectionChange(oldSel);
}

void TCustomGridGx::MoveAnchorBy(int Directions)
{
    TGridCoord a = FAnchor;
    if ((Directions & gmdLeftGx) && a.X > FFixedCols) --a.X;
    if ((Directions & gmdRightGx) && a.X < FColCount - 1) ++a.X;
    if ((Directions & gmdUpGx) && a.Y > FFixedRows) --a.Y;
    if ((Directions & gmdDownGx) && a.Y < FRowCount - 1) ++a.Y;
    if (!(a == FAnchor)) SetAnchorCell(a, true);
}

// ---- repainting ---------------------------------------------------------------------------

void TCustomGridGx::InvalidateGridRect(const TGridRect& GridRect)
{
    if (!WindowExists(this)) return;
    const TRect r = GridRectToClient(GridRect, true);
    if (!r.IsEmpty()) InvalidateRect(r);
}

void TCustomGridGx::InvalidateGridCell(int ACol, int ARow)
{
    InvalidateGridRect({ACol, ARow, ACol, ARow});
}

void TCustomGridGx::InvalidateGridCol(int ACol)
{
    if (!WindowExists(this)) return;
    InvalidateGridRect({ACol, 0, ACol, FTopLeft.Y + VisibleRowCount() + 1});
    if (FContraRowCount > 0) InvalidateGridRect({ACol, FRowCount, ACol, FullRowCount() - 1});
}

void TCustomGridGx::InvalidateGridRow(int ARow)
{
    if (!WindowExists(this)) return;
    InvalidateGridRect({0, ARow, FTopLeft.X + VisibleColCount() + 1, ARow});
    if (FContraColCount > 0) InvalidateGridRect({FColCount, ARow, FullColCount() - 1, ARow});
}

void TCustomGridGx::InvalidateWholeGrid()
{
    if (WindowExists(this)) Invalidate();
}

void TCustomGridGx::RepaintSelectionChange(const TGridRect& OldSelection)
{
    if (!WindowExists(this)) return;
    const TGridLayoutGx L = CalcGridLayout();
    const TRect a = GridRectToClient(OldSelection, true, L);
    const TRect b = GridRectToClient(Selection(), true, L);
    if (a == b) return;
    TRect i;
    if (a.IsEmpty() || b.IsEmpty() || !IntersectRect(i, a, b)) {
        if (!a.IsEmpty()) InvalidateRect(a);
        if (!b.IsEmpty()) InvalidateRect(b);
        return;
    }
    // The union less the intersection, as a left, top, right and bottom part.
    TRect u;
    UnionRect(u, a, b);
    const TRect parts[4] = {
        {u.Left, u.Top, i.Left, u.Bottom},
        {i.Left, u.Top, i.Right, i.Top},
        {i.Right, u.Top, u.Right, u.Bottom},
        {i.Left, i.Bottom, i.Right, u.Bottom},
    };
    for (const TRect& p : parts)
        if (!p.IsEmpty()) InvalidateRect(p);
}

// ---- top-left cell ------------------------------------------------------------------------

void TCustomGridGx::ScrollCellIntoView(const TGridCoord& Coord, bool Horz, bool Vert)
{
    if (!WindowExists(this)) return;
    TGridLayoutGx L = CalcGridLayout();
    auto inView = [](const TAxisLayoutGx& A, int c) {
        return c >= A.FirstDataLine && c <= A.LastWholeLine && !(c == A.FirstDataLine && A.PixelOffset != 0);
    };
    if (inView(L.Horz, Coord.X) && inView(L.Vert, Coord.Y)) return;
    const TGridCoord oldTopLeft = FTopLeft;
    const TSize oldOffset = FDataOffset;
    const TGridCoord last = LastTopLeft(Coord, L);
    const TSize over = LastTopLeftOffset(Coord, L);
    Update();
    auto axis = [&](const TAxisLayoutGx& A, int c, int& tl, int& off, int lastTl, int overhang, bool smooth) {
        if (c == tl && off != 0) {
            off = 0;
        } else if (c < tl && c >= A.FixedCount) {
            tl = c;
            off = 0;
        } else if (c > A.LastWholeLine) {
            tl = lastTl;
            off = 0;
            if (smooth && tl > A.FixedCount && overhang != 0) {
                --tl;
                while (tl > A.FixedCount && A.SizeOf(tl) <= 0) --tl;
                off = overhang;
            }
        }
    };
    if (Horz) axis(L.Horz, Coord.X, FTopLeft.X, FDataOffset.cx, last.X, over.cx, IsSmoothHorzScroll());
    if (Vert) axis(L.Vert, Coord.Y, FTopLeft.Y, FDataOffset.cy, last.Y, over.cy, IsSmoothVertScroll());
    if (!(oldTopLeft == FTopLeft) || !(oldOffset == FDataOffset)) AfterTopLeftMove(oldTopLeft, oldOffset);
}

void TCustomGridGx::SetTopLeftCell(int ALeft, int ATop)
{
    if (ALeft == FTopLeft.X && ATop == FTopLeft.Y) return;
    Update();
    const TGridCoord oldTopLeft = FTopLeft;
    const TSize oldOffset = FDataOffset;
    FTopLeft = {ALeft, ATop};
    if (ALeft != oldTopLeft.X) FDataOffset.cx = 0;
    if (ATop != oldTopLeft.Y) FDataOffset.cy = 0;
    AfterTopLeftMove(oldTopLeft, oldOffset);
}

void TCustomGridGx::AfterTopLeftMove(const TGridCoord& OldTopLeft, const TSize& OldOffset)
{
    SyncScrollPositions();
    const TGridLayoutGx L = CalcGridLayout();
    const long long capH = 2LL * (L.Horz.ClientSize + 1), capV = 2LL * (L.Vert.ClientSize + 1);
    const long long dx = MoveDistance(L.Horz, OldTopLeft.X, OldOffset.cx, FTopLeft.X, FDataOffset.cx, capH);
    const long long dy = MoveDistance(L.Vert, OldTopLeft.Y, OldOffset.cy, FTopLeft.Y, FDataOffset.cy, capV);
    if (WindowExists(this)) {
        if (std::llabs(dx) > L.Horz.DataEnd - L.Horz.FixedEnd || std::llabs(dy) > L.Vert.DataEnd - L.Vert.FixedEnd)
            InvalidateWholeGrid();
        else if (dx != 0 || dy != 0)
            ScrollDataWindow(int(dx), int(dy));
    }
    TopLeftChanged();
}

void TCustomGridGx::TopLeftChanged()
{
    if (FEditorMode && FInplaceEdit) {
        TRect r;
        CalcEditRect(FCurrent.X, FCurrent.Y, r);
        FInplaceEdit->UpdateLoc(r);
    }
    const TPoint p = CursorPos();
    UpdateHotTrackCell(p.X, p.Y);
}

void TCustomGridGx::ScrollDataWindow(int DX, int DY)
{
    if (!WindowExists(this)) return;
    const TGridLayoutGx L = CalcGridLayout();
    const TAxisLayoutGx& H = L.Horz;
    const TAxisLayoutGx& V = L.Vert;
    auto scroll = [this](const TRect& r, int dx, int dy) {
        if (!r.IsEmpty()) ScrollWindow(dx, dy, &r);
    };
    if (DX != 0 && DY != 0) {
        scroll({H.FixedEnd, V.NearIndent, H.DataLimit, V.FixedEnd}, DX, 0);
        scroll({H.NearIndent, V.FixedEnd, H.FixedEnd, V.DataLimit}, 0, DY);
        scroll({H.FixedEnd, V.FixedEnd, H.DataLimit, V.DataLimit}, DX, DY);
        scroll({H.FixedEnd, V.DataLimit, H.DataLimit, V.FarLimit}, DX, 0);
        scroll({H.DataLimit, V.FixedEnd, H.FarLimit, V.DataLimit}, 0, DY);
    } else if (DY != 0) {
        scroll({H.NearIndent, V.FixedEnd, H.FarLimit, V.DataLimit}, 0, DY);
    } else if (DX != 0) {
        scroll({H.FixedEnd, V.NearIndent, H.DataLimit, V.FarLimit}, DX, 0);
    }
    if (HasOption(goRowSelect)) InvalidateGridRect(Selection());
}

// ---- pixel scrolling ----------------------------------------------------------------------

int TCustomGridGx::HorzLineScrollStep()
{
    return std::max(1, FDataPageSize.cx / 20);
}

int TCustomGridGx::VertLineScrollStep()
{
    return std::max(1, FDataPageSize.cy / 20);
}

void TCustomGridGx::ScrollDataPixels(int DX, int DY)
{
    const TGridLayoutGx L = CalcGridLayout();
    auto limit = [](const TAxisLayoutGx& A, int d) {
        if (d > 0) {
            // The scrolling lines still reach the data limit afterwards.
            const long long want = (long long)A.DataLimit - A.DataStart + d;
            const long long end = A.DataStart + AxisSum(A, A.FirstDataLine, A.LineCount, want);
            if (end - d < A.DataLimit) d = int(std::max<long long>(0, end - A.DataLimit));
        } else if (d < 0) {
            // Scrolling back stops at the first scrolling line.
            const long long pos = AxisSum(A, A.FixedCount, A.FirstDataLine, -(long long)d) + A.PixelOffset;
            d = int(std::max<long long>(d, -pos));
        }
        return d;
    };
    DX = IsSmoothHorzScroll() ? limit(L.Horz, DX) : 0;
    DY = IsSmoothVertScroll() ? limit(L.Vert, DY) : 0;
    if (DX != 0 || DY != 0) ShiftTopLeftByPixels(DX, DY);
}

void TCustomGridGx::ShiftTopLeftByPixels(int DX, int DY)
{
    const TGridLayoutGx L = CalcGridLayout();
    const TGridCoord oldTopLeft = FTopLeft;
    const TSize oldOffset = FDataOffset;
    auto shift = [](const TAxisLayoutGx& A, int d, int& tl, int& off) {
        off += d;
        while (tl < A.LineCount - 1 && off >= A.SizeOf(tl) + A.LineWidth && A.SizeOf(tl) + A.LineWidth > 0) {
            off -= A.SizeOf(tl) + A.LineWidth;
            ++tl;
        }
        while (off < 0 && tl > A.FixedCount) {
            --tl;
            off += A.SizeOf(tl) + A.LineWidth;
        }
        if (off < 0) off = 0;
    };
    if (DX != 0) shift(L.Horz, DX, FTopLeft.X, FDataOffset.cx);
    if (DY != 0) shift(L.Vert, DY, FTopLeft.Y, FDataOffset.cy);
    AfterTopLeftMove(oldTopLeft, oldOffset);
}

// ---- scroll bars --------------------------------------------------------------------------

void TCustomGridGx::ScrollBarMessage(int Bar, int ScrollCode, int Pos)
{
    HandleScrollBar(Bar, ScrollCode, Pos);
}

void TCustomGridGx::HandleScrollBar(int Bar, int ScrollCode, int Pos)
{
    if (isVisible() && CanFocus() && TabStop() && !hasFocus()) SetFocus();
    const bool horz = Bar == SB_HORZ;
    const bool smooth = horz ? (IsSmoothHorzScroll() || FColCount == 1) : IsSmoothVertScroll();
    if (smooth) {
        const int step = horz ? HorzLineScrollStep() : VertLineScrollStep();
        const int page = horz ? FDataPageSize.cx : FDataPageSize.cy;
        const int pos = horz ? FSmoothPos.X : FSmoothPos.Y;
        const int size = horz ? FGridDataSize.cx : FGridDataSize.cy;
        int delta = 0;
        switch (ScrollCode) {
        case SB_LINEUP: delta = -step; break;
        case SB_LINEDOWN: delta = step; break;
        case SB_PAGEUP: delta = -page; break;
        case SB_PAGEDOWN: delta = page; break;
        case SB_THUMBPOSITION: delta = Pos - pos; break;
        case SB_THUMBTRACK: delta = HasOption(goThumbTracking) ? Pos - pos : 0; break;
        case SB_TOP: delta = -pos; break;
        case SB_BOTTOM: delta = size - page; break;
        default: break;
        }
        if (horz)
            ScrollDataPixels(delta, 0);
        else
            ScrollDataPixels(0, delta);
        return;
    }
    const TGridLayoutGx L = CalcGridLayout();
    const TAxisLayoutGx& A = horz ? L.Horz : L.Vert;
    const int old = horz ? FTopLeft.X : FTopLeft.Y;
    const int Min = A.FixedCount;
    const TGridCoord lastCell{FColCount - 1, FRowCount - 1};
    const TGridCoord ltl = LastTopLeft(lastCell, L);
    const int Max = std::max(Min, horz ? ltl.X : ltl.Y);
    std::function<int(int)> step;
    switch (ScrollCode) {
    case SB_LINEUP: step = [](int v) { return v - 1; }; break;
    case SB_LINEDOWN: step = [](int v) { return v + 1; }; break;
    case SB_PAGEUP: {
        const TGridCoord back = LastTopLeft(horz ? TGridCoord{old, 0} : TGridCoord{0, old}, L);
        const int page = std::max(1, old - (horz ? back.X : back.Y));
        step = [page](int v) { return v - page; };
        break;
    }
    case SB_PAGEDOWN: {
        const int page = std::max(1, A.LastWholeLine - old);
        step = [page](int v) { return v + page; };
        break;
    }
    case SB_THUMBTRACK:
        if (!HasOption(goThumbTracking)) return;
        [[fallthrough]];
    case SB_THUMBPOSITION: {
        const int v = MulDiv(Pos, Max - Min, 127) + Min;
        step = [v](int) { return v; };
        break;
    }
    case SB_TOP: step = [Min](int) { return Min; }; break;
    case SB_BOTTOM: step = [Max](int) { return Max; }; break;
    default: return;
    }
    int v = step(old);
    // Hidden lines are passed over.
    for (int prev = old; v > Min && v < Max && A.SizeOf(v) <= 0 && v != prev;) {
        prev = v;
        v = step(v);
    }
    v = std::clamp(v, Min, Max);
    if (horz)
        SetTopLeftCell(v, FTopLeft.Y);
    else
        SetTopLeftCell(FTopLeft.X, v);
}

namespace {

void WriteScrollInfo(TCustomControl* c, int bar, int nMin, int nMax, int page, int pos, UINT mask)
{
    TScrollInfo cur;
    cur.fMask = SIF_ALL;
    c->GetScrollInfo(bar, cur);
    TScrollInfo si;
    si.fMask = mask;
    si.nMin = nMin;
    si.nMax = nMax;
    si.nPage = UINT(std::max(0, page));
    si.nPos = pos;
    const bool same = (!(mask & SIF_RANGE) || (cur.nMin == nMin && cur.nMax == nMax)) &&
                      (!(mask & SIF_PAGE) || cur.nPage == si.nPage) && (!(mask & SIF_POS) || cur.nPos == pos);
    if (!same) c->SetScrollInfo(bar, si, true);
}

} // namespace

void TCustomGridGx::SyncScrollPositions()
{
    if (!WindowExists(this) || FScrollBars == TScrollStyle::ssNone) return;
    const TGridLayoutGx L = CalcGridLayout();
    const TGridCoord ltl = LastTopLeft({FColCount - 1, FRowCount - 1}, L);
    const bool hasH = FScrollBars == TScrollStyle::ssHorizontal || FScrollBars == TScrollStyle::ssBoth;
    const bool hasV = FScrollBars == TScrollStyle::ssVertical || FScrollBars == TScrollStyle::ssBoth;
    if (hasH) {
        if (IsSmoothHorzScroll()) {
            FSmoothPos.X = int(AxisSum(L.Horz, FFixedCols, FTopLeft.X) - (long long)(FTopLeft.X - FFixedCols) * L.Horz.LineWidth +
                               (long long)(FTopLeft.X - FFixedCols) * FGridLineWidth) + FDataOffset.cx;
            WriteScrollInfo(this, SB_HORZ, 0, FGridDataSize.cx - 1, FDataPageSize.cx, FSmoothPos.X, SIF_ALL & ~SIF_TRACKPOS);
        } else if (FColCount == 1) {
            WriteScrollInfo(this, SB_HORZ, 0, 0, 0, 0, SIF_POS);
        } else {
            WriteScrollInfo(this, SB_HORZ, 0, 0, 0, MulDiv(FTopLeft.X - FFixedCols, 127, ltl.X - FFixedCols), SIF_POS);
        }
    }
    if (hasV && !VertScrollBarFilledElsewhere()) {
        if (IsSmoothVertScroll()) {
            FSmoothPos.Y = int(std::min<long long>(INT_MAX, AxisSum(L.Vert, FFixedRows, FTopLeft.Y))) + FDataOffset.cy;
            WriteScrollInfo(this, SB_VERT, 0, FGridDataSize.cy - 1, FDataPageSize.cy, FSmoothPos.Y, SIF_ALL & ~SIF_TRACKPOS);
        } else {
            WriteScrollInfo(this, SB_VERT, 0, 0, 0, MulDiv(FTopLeft.Y - FFixedRows, 127, ltl.Y - FFixedRows), SIF_POS);
        }
    }
}

void TCustomGridGx::SyncScrollRanges()
{
    if (FScrollBars == TScrollStyle::ssNone || !WindowExists(this) || !isVisible() || PaintLocked() || FSyncingRanges)
        return;
    const QScopedValueRollback<bool> guard(FSyncingRanges, true);
    const bool hasH = FScrollBars == TScrollStyle::ssHorizontal || FScrollBars == TScrollStyle::ssBoth;
    const bool hasV = FScrollBars == TScrollStyle::ssVertical || FScrollBars == TScrollStyle::ssBoth;
    const TGridCoord oldTopLeft = FTopLeft;
    const TSize oldOffset = FDataOffset;
    const TGridCoord lastCell{FColCount - 1, FRowCount - 1};

    auto horizontal = [&](int w, int h) {
        const TGridLayoutGx L = CalcGridLayoutFor(w, h);
        if (IsSmoothHorzScroll()) {
            const int room = w - L.Horz.FixedEnd;
            const int maxPos = FGridDataSize.cx - room;
            if (FSmoothPos.X > maxPos) ScrollDataPixels(maxPos - FSmoothPos.X, 0);
            FDataPageSize.cx = std::max(0, room);
            WriteScrollInfo(this, SB_HORZ, 0, FGridDataSize.cx - 1, FDataPageSize.cx, FSmoothPos.X, SIF_RANGE | SIF_PAGE | SIF_POS);
        } else if (FColCount == 1) {
            WriteScrollInfo(this, SB_HORZ, 0, std::max(0, ColWidths(0) - w), 0, 0, SIF_RANGE | SIF_PAGE);
        } else {
            const int ltl = LastTopLeft(lastCell, L).X;
            WriteScrollInfo(this, SB_HORZ, 0, ltl > FFixedCols ? 127 : 0, 0, 0, SIF_RANGE | SIF_PAGE);
            if (ltl < oldTopLeft.X) {
                Update();
                FTopLeft.X = ltl;
            }
        }
    };
    auto vertical = [&](int w, int h) {
        const TGridLayoutGx L = CalcGridLayoutFor(w, h);
        if (IsSmoothVertScroll()) {
            const int room = h - L.Vert.FixedEnd;
            const int maxPos = FGridDataSize.cy - room;
            if (FSmoothPos.Y > maxPos) ScrollDataPixels(0, maxPos - FSmoothPos.Y);
            FDataPageSize.cy = std::max(0, room);
            WriteScrollInfo(this, SB_VERT, 0, FGridDataSize.cy - 1, FDataPageSize.cy, FSmoothPos.Y, SIF_RANGE | SIF_PAGE | SIF_POS);
        } else {
            const int ltl = LastTopLeft(lastCell, L).Y;
            WriteScrollInfo(this, SB_VERT, 0, ltl > FFixedRows ? 127 : 0, 0, 0, SIF_RANGE | SIF_PAGE);
            if (ltl < oldTopLeft.Y) {
                Update();
                FTopLeft.Y = ltl;
            }
        }
    };

    // The client size without the bars that show now.
    int w = ClientWidth() + (ScrollBarVisible(SB_VERT) ? ScrollBarExtent() : 0);
    int h = ClientHeight() + (ScrollBarVisible(SB_HORZ) ? ScrollBarExtent() : 0);
    if (hasH) horizontal(w, h);
    if (hasV && !VertScrollBarFilledElsewhere())
        vertical(ClientWidth() + (ScrollBarVisible(SB_VERT) ? ScrollBarExtent() : 0), ClientHeight());
    if (hasH && ClientWidth() != w) horizontal(ClientWidth(), ClientHeight());
    const TGridLayoutGx L = CalcGridLayout();
    if (!IsSmoothHorzScroll()) FDataPageSize.cx = std::max(0, L.Horz.DataLimit - L.Horz.FixedEnd);
    if (!IsSmoothVertScroll()) FDataPageSize.cy = std::max(0, L.Vert.DataLimit - L.Vert.FixedEnd);
    SyncScrollPositions();
    const bool changed = IsSmoothHorzScroll() ? FTopLeft.Y != oldTopLeft.Y : !(FTopLeft == oldTopLeft);
    if (changed) AfterTopLeftMove(oldTopLeft, oldOffset);
}

// ---- wheel, size, visibility --------------------------------------------------------------

bool TCustomGridGx::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    if (TCustomControl::DoMouseWheelDown(Shift, MousePos)) return true;
    if (IsSmoothVertScroll())
        ScrollDataPixels(0, VertLineScrollStep());
    else if (FCurrent.Y < FRowCount - 1)
        SetCurrentRow(FCurrent.Y + 1);
    return true;
}

bool TCustomGridGx::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    if (TCustomControl::DoMouseWheelUp(Shift, MousePos)) return true;
    if (IsSmoothVertScroll())
        ScrollDataPixels(0, -VertLineScrollStep());
    else if (FCurrent.Y > FFixedRows)
        SetCurrentRow(FCurrent.Y - 1);
    return true;
}

void TCustomGridGx::Resize()
{
    TCustomControl::Resize();
    if (FSyncingRanges) return;
    SyncScrollRanges();
    if (FContraColCount > 0 || FContraRowCount > 0) InvalidateWholeGrid();
}

void TCustomGridGx::showEvent(QShowEvent* e)
{
    TCustomControl::showEvent(e);
    UpdateGridDataWidth();
    UpdateGridDataHeight();
    SyncScrollRanges();
}
