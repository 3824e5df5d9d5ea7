// The base grid: creation, the out-of-boundary margins, the axis layout and the
// geometric queries built on it.
#include "GridsGx.h"
#include "GridsGxLines.h"

#include "platform/gui/Application.h"
#include "platform/gui/Form.h"

#include <QApplication>
#include <algorithm>

void RaiseGridError(const QString& Text)
{
    throw EInvalidGridOperationGx(Text);
}

// ---- out-of-boundary margins ------------------------------------------------------------

void TGridOutBoundaryDataGx::Changed()
{
    if (FGrid) FGrid->OutBoundaryDataChanged();
}

#define DPX_OUTBOUNDARY_SETTER(Name, Type)                                                   \
    void TGridOutBoundaryDataGx::Set##Name(Type Value)                                       \
    {                                                                                        \
        if (F##Name == Value) return;                                                        \
        F##Name = Value;                                                                     \
        Changed();                                                                           \
    }
DPX_OUTBOUNDARY_SETTER(LeftIndent, int)
DPX_OUTBOUNDARY_SETTER(TopIndent, int)
DPX_OUTBOUNDARY_SETTER(RightIndent, int)
DPX_OUTBOUNDARY_SETTER(BottomIndent, int)
DPX_OUTBOUNDARY_SETTER(LeftTopDrawPriority, TCornerDrawPriorityGx)
DPX_OUTBOUNDARY_SETTER(RightTopDrawPriority, TCornerDrawPriorityGx)
DPX_OUTBOUNDARY_SETTER(RightBottomDrawPriority, TCornerDrawPriorityGx)
#undef DPX_OUTBOUNDARY_SETTER

bool TGridOutBoundaryDataGx::GetOutBoundaryRect(TRect& ARect, TCellBorderTypeGx OutBoundaryType) const
{
    // Measured inside the border of a flat grid, then moved onto it.
    const int b = FGrid->NonClientBorderWidth();
    const int cw = FGrid->ClientWidth() - 2 * b;
    const int ch = FGrid->ClientHeight() - 2 * b;
    const bool ltVert = FLeftTopDrawPriority == crpVerticalDataPriorityGx;
    const bool rtVert = FRightTopDrawPriority == crpVerticalDataPriorityGx;
    const bool lbVert = FLeftBottomDrawPriority == crpVerticalDataPriorityGx;
    const bool rbVert = FRightBottomDrawPriority == crpVerticalDataPriorityGx;
    bool any = false;
    switch (OutBoundaryType) {
    case cbtTopGx:
        if (FTopIndent < 1) return false;
        ARect = TRect(ltVert ? FLeftIndent : 0, 0, rtVert ? cw - FRightIndent : cw, FTopIndent);
        any = true;
        break;
    case cbtLeftGx:
        if (FLeftIndent <= 0) return false;
        ARect = TRect(0, ltVert ? 0 : FTopIndent, FLeftIndent, lbVert ? ch : ch - FBottomIndent);
        any = true;
        break;
    case cbtBottomGx:
        if (FBottomIndent <= 0) return false;
        ARect = TRect(lbVert ? FLeftIndent : 0, ch - FBottomIndent, rbVert ? cw - FRightIndent : cw, ch);
        any = true;
        break;
    case cbtRightGx:
        if (FRightIndent < 1) return false;
        ARect = TRect(cw - FRightIndent, rtVert ? 0 : FTopIndent, cw, rbVert ? ch : ch - FBottomIndent);
        any = true;
        break;
    }
    if (any)
        ARect = TRect(ARect.Left + b, ARect.Top + b, ARect.Right + b, ARect.Bottom + b);
    return any;
}

void TGridOutBoundaryDataGx::InvalidateOutBoundary(TCellBorderTypeGx OutBoundaryType)
{
    TRect r;
    if (GetOutBoundaryRect(r, OutBoundaryType)) FGrid->InvalidateRect(r);
}

// ---- creation -----------------------------------------------------------------------------

TCustomGridGx::TCustomGridGx(QWidget* parent) : TCustomControl(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    SetClickEvents(false);
    FGridLinesCache = new TGridLinesCacheGx();
    SetColor(clWindow);
    SetTabStop(true);
    resize(FColCount * FDefaultColWidth, FRowCount * FDefaultRowHeight);
    ResetCells();
    FFixedLineColor = clBlack;
    FGridLineColors = CreateGridLineColors();
    FOutBoundaryData = new TGridOutBoundaryDataGx(this);
    FMouseDownCell = MouseCoord(-1, -1);
    UpdateGridDataWidth();
    UpdateGridDataHeight();
    SetScrollBars(FScrollBars);
}

TCustomGridGx::~TCustomGridGx()
{
    KillTimer(1);
    if (FGridState == gsColMoving) HideMoveLine();
    delete FInplaceEdit.data();
    delete FGridLineColors;
    delete FGridLinesCache;
    delete FOutBoundaryData;
}

TGridLineColorsGx* TCustomGridGx::CreateGridLineColors()
{
    return new TGridLineColorsGx(this);
}

// ---- layout -------------------------------------------------------------------------------

void TCustomGridGx::CalcAxisLayout(TAxisLayoutGx& A, bool IsRows, int Size) const
{
    const TGridOptions lineOpts = IsRows ? (goFixedHorzLine | goHorzLine) : (goFixedVertLine | goVertLine);
    A.LineWidth = (FOptions & lineOpts) ? FGridLineWidth : 0;
    const int border = NonClientBorderWidth();
    A.NearIndent = border + (IsRows ? FOutBoundaryData->TopIndent() : FOutBoundaryData->LeftIndent());
    A.FarIndent = IsRows ? FOutBoundaryData->BottomIndent() : FOutBoundaryData->RightIndent();
    A.FixedCount = IsRows ? FFixedRows : FFixedCols;
    A.FrozenCount = IsRows ? FFrozenRowCount : FFrozenColCount;
    A.ContraCount = IsRows ? FContraRowCount : FContraColCount;
    A.FirstDataLine = IsRows ? FTopLeft.Y : FTopLeft.X;
    A.LineCount = IsRows ? FRowCount : FColCount;
    A.FullCount = A.LineCount + A.ContraCount;
    A.Extents = IsRows ? &FRowHeights : &FColWidths;
    A.DefaultSize = IsRows ? FDefaultRowHeight : FDefaultColWidth;
    const int lw = A.LineWidth;

    // Contra pass.
    A.ClientSize = Size - border;
    int contra = 0;
    for (int i = A.LineCount; i < A.FullCount; ++i) contra += A.SizeOf(i) + lw;
    A.ContraStart = A.ClientSize - contra - (A.ContraCount > 0 ? lw : 0);

    // Fixed pass.
    A.FixedEnd = A.NearIndent;
    for (int i = 0; i < A.FixedCount; ++i) A.FixedEnd += A.SizeOf(i) + lw;
    A.FrozenStart = A.FixedEnd;
    for (int i = std::max(0, A.FixedCount - A.FrozenCount); i < A.FixedCount; ++i) A.FrozenStart -= A.SizeOf(i) + lw;

    // Final pass.
    A.PixelOffset = IsRows ? FDataOffset.cy : FDataOffset.cx;
    A.DataStart = A.FixedEnd - A.PixelOffset;
    A.FarLimit = A.ClientSize - A.FarIndent;
    A.DataLimit = A.ContraStart;
    A.DataEnd = A.DataStart;
    A.LastWholeLine = A.FirstDataLine;
    A.LastWholeEnd = A.FixedEnd;
    for (int i = A.FirstDataLine; i < A.LineCount; ++i) {
        A.DataEnd += A.SizeOf(i) + lw;
        if (A.DataEnd > A.DataLimit) {
            A.DataEnd = A.DataLimit;
            break;
        }
        A.LastWholeLine = i;
        A.LastWholeEnd = A.DataEnd;
    }
    A.AreaEnd = A.ContraCount == 0 ? A.DataEnd : A.FarLimit;
}

TGridLayoutGx TCustomGridGx::CalcGridLayoutFor(int Width, int Height) const
{
    TGridLayoutGx L;
    CalcAxisLayout(L.Horz, false, Width);
    CalcAxisLayout(L.Vert, true, Height);
    return L;
}

TGridLayoutGx TCustomGridGx::CalcGridLayout() const
{
    return CalcGridLayoutFor(ClientWidth(), ClientHeight());
}

// ---- hit tests ----------------------------------------------------------------------------

namespace {

// The line of the axis that contains the point; -1 when none. Hidden lines never contain one.
int AxisCellAt(const TAxisLayoutGx& A, int P)
{
    const int lw = A.LineWidth;
    if (P < A.NearIndent) return -1;
    if (P < A.FixedEnd) {
        int start = A.NearIndent;
        for (int i = 0; i < A.FixedCount; ++i) {
            const int s = A.SizeOf(i);
            const int end = start + s + lw;
            if (s > 0 && P >= start && P < end) return i;
            start = end;
        }
        return -1;
    }
    if (A.ContraCount > 0 && P >= A.ContraStart) {
        int start = A.ContraStart + lw;
        for (int i = A.LineCount; i < A.FullCount; ++i) {
            const int s = A.SizeOf(i);
            const int end = start + s + lw;
            if (s > 0 && P >= start && P < end) return i;
            start = end;
        }
        return -1;
    }
    int start = A.DataStart;
    for (int i = A.FirstDataLine; i < A.LineCount && start < A.DataLimit; ++i) {
        const int s = A.SizeOf(i);
        const int end = start + s + lw;
        if (s > 0 && P >= start && P < end) return i;
        start = end;
    }
    return -1;
}

} // namespace

TGridCoord TCustomGridGx::CellAtPoint(int X, int Y, const TGridLayoutGx& Layout) const
{
    return {AxisCellAt(Layout.Horz, X), AxisCellAt(Layout.Vert, Y)};
}

TGridCoord TCustomGridGx::MouseCoord(int X, int Y) const
{
    TGridCoord c = CellAtPoint(X, Y, CalcGridLayout());
    if (c.X < 0)
        c.Y = -1;
    else if (c.Y < 0)
        c.X = -1;
    return c;
}

namespace {

// Start of a line; false when the accumulated start passes the far limit.
bool AxisLineStart(const TAxisLayoutGx& A, int Line, int& Start)
{
    const int lw = A.LineWidth;
    int first, start;
    if (Line < A.FixedCount) {
        first = 0;
        start = A.NearIndent;
    } else if (Line < A.LineCount) {
        if (Line < A.FirstDataLine) {
            Start = A.NearIndent;
            return true;
        }
        first = A.FirstDataLine;
        start = A.DataStart;
    } else {
        first = A.LineCount;
        start = A.ContraStart + lw;
    }
    for (int i = first; i < Line; ++i) {
        start += A.SizeOf(i) + lw;
        if (start > A.FarLimit) return false;
    }
    Start = start;
    return start <= A.FarLimit;
}

} // namespace

int TCustomGridGx::LineStart(const TAxisLayoutGx& A, int Line) const
{
    int start = 0;
    return AxisLineStart(A, Line, start) ? start : 0;
}

namespace {

// The client span of a range of lines on one axis; false when none of it shows.
bool AxisSpan(const TAxisLayoutGx& A, int First, int Last, bool IncludeLine, int& Near, int& Far)
{
    if (First > Last || Last < 0 || First >= A.FullCount) return false;
    First = std::max(First, 0);
    if (First > A.LastWholeLine + 1 && Last < A.LineCount) return false;
    if (First > A.LastWholeLine + 1 && First < A.LineCount) First = A.LineCount;
    if (First >= A.FixedCount && First < A.FirstDataLine && First < A.LineCount) {
        if (Last < A.FirstDataLine) return false;
        First = A.FirstDataLine;
    }
    // A range from the fixed lines into the scrolled-out ones ends with the fixed lines.
    if (First < A.FixedCount && Last >= A.FixedCount && Last < A.FirstDataLine) Last = A.FixedCount - 1;
    if (Last >= A.LineCount) {
        Last = std::min(Last, A.FullCount - 1);
    } else if (Last > A.LastWholeLine && Last >= A.FixedCount) {
        const int next = A.LastWholeLine + 1;
        int nextStart = 0;
        const bool shown = next < A.LineCount && AxisLineStart(A, next, nextStart) && nextStart < A.DataLimit;
        Last = shown ? next : A.LastWholeLine;
    }
    if (!AxisLineStart(A, First, Near)) return false;
    int lastStart = 0;
    Far = AxisLineStart(A, Last, lastStart) ? lastStart + A.SizeOf(Last) : Near + A.SizeOf(First);
    const int limit = Last >= A.LineCount ? A.FarLimit : A.DataLimit;
    if (Last >= A.FixedCount) Far = std::min(Far, limit);
    if (First >= A.FixedCount && First < A.LineCount) Near = std::max(Near, A.FixedEnd);
    if (IncludeLine) Far += A.LineWidth;
    return Far > Near;
}

} // namespace

TRect TCustomGridGx::GridRectToClient(const TGridRect& GridRect, bool IncludeLine, const TGridLayoutGx& Layout) const
{
    int l, r, t, b;
    if (!AxisSpan(Layout.Horz, GridRect.Left, GridRect.Right, IncludeLine, l, r)) return {};
    if (!AxisSpan(Layout.Vert, GridRect.Top, GridRect.Bottom, IncludeLine, t, b)) return {};
    return {l, t, r, b};
}

TRect TCustomGridGx::CellRect(int ACol, int ARow) const
{
    return GridRectToClient({ACol, ARow, ACol, ARow}, false);
}

bool TCustomGridGx::PointInGridRect(int Col, int Row, const TGridRect& Rect)
{
    return Col >= Rect.Left && Col <= Rect.Right && Row >= Rect.Top && Row <= Rect.Bottom;
}

TGridRect TCustomGridGx::GridRectFromCoords(const TGridCoord& A, const TGridCoord& B)
{
    return {std::min(A.X, B.X), std::min(A.Y, B.Y), std::max(A.X, B.X), std::max(A.Y, B.Y)};
}

TGridRect TCustomGridGx::Selection() const
{
    return GridRectFromCoords(FCurrent, FAnchor);
}

int TCustomGridGx::VisibleColCount() const
{
    return CalcGridLayout().Horz.LastWholeLine - FTopLeft.X + 1;
}

int TCustomGridGx::VisibleRowCount() const
{
    return CalcGridLayout().Vert.LastWholeLine - FTopLeft.Y + 1;
}

namespace {

struct TLastTopLeftAxis {
    int Line = 0;
    int Overhang = 0;
};

TLastTopLeftAxis AxisLastTopLeft(const TAxisLayoutGx& A, int Coord)
{
    const int lw = A.LineWidth;
    const int line = std::max(Coord, A.FixedCount);
    TLastTopLeftAxis r{line, 0};
    int room = A.DataLimit + lw;
    bool fitted = false;
    for (int i = line; i >= A.FixedCount; --i) {
        const int s = A.SizeOf(i);
        if (s <= 0) continue;
        room -= s + lw;
        if (room <= A.FixedEnd) {
            if (!fitted && A.SizeOf(line) <= 0) r.Line = i;
            // Pixels of the non-fitting line that stay under the fixed area when
            // the lines up to Coord end at the data limit.
            if (fitted && r.Line != Coord) {
                const int over = A.FixedEnd + lw - room;
                r.Overhang = over > 0 && over < s + lw ? over : 0;
            }
            return r;
        }
        r.Line = i;
        fitted = true;
    }
    return r;
}

} // namespace

TGridCoord TCustomGridGx::LastTopLeft(const TGridCoord& Coord, const TGridLayoutGx& Layout) const
{
    return {AxisLastTopLeft(Layout.Horz, Coord.X).Line, AxisLastTopLeft(Layout.Vert, Coord.Y).Line};
}

TSize TCustomGridGx::LastTopLeftOffset(const TGridCoord& Coord, const TGridLayoutGx& Layout) const
{
    return {AxisLastTopLeft(Layout.Horz, Coord.X).Overhang, AxisLastTopLeft(Layout.Vert, Coord.Y).Overhang};
}

bool TCustomGridGx::IsActiveControl() const
{
    if (TForm* form = ParentForm()) {
        QWidget* a = form->ActiveControl();
        // The grid's own cell editor holding the focus keeps the grid active.
        if (a) return a == this || (FInplaceEdit && a == FInplaceEdit.data());
    }
    QWidget* f = QApplication::focusWidget();
    return f && (f == this || isAncestorOf(f));
}
