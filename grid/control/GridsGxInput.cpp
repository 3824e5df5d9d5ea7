// Keyboard and mouse of the base grid: cell navigation, range selection with
// the auto-scroll timer, sizing and moving of lines, hot tracking, cell clicks
// and the cursor.
#include "GridsGx.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <algorithm>

int GridMessageTime()
{
    static QElapsedTimer clock;
    if (!clock.isValid()) clock.start();
    return int(clock.elapsed() & 0x3FFFFFFF) + 1;
}

int ColMoveScrollInterval(int EdgeX, int RoomX, int MouseX, bool LeftSide)
{
    // Room between the data area's edge and the monitor's work area on that side.
    const int s = LeftSide ? EdgeX - RoomX : RoomX - EdgeX;
    const int maxDist = std::min(s, 200);
    if (maxDist <= 0) return 60;
    const int dist = std::min(maxDist, LeftSide ? EdgeX - MouseX : MouseX - EdgeX);
    const int d = dist > 10 ? dist - 10 : 1;
    return std::max(60, 60 + int(double(maxDist) / d * 1.5));
}

// ---- keyboard -----------------------------------------------------------------------------

UINT TCustomGridGx::GetDlgCode()
{
    UINT code = DLGC_WANTARROWS;
    if (!HasOption(goRowSelect)) {
        if (HasOption(goTabs)) code |= DLGC_WANTTAB;
        if (HasOption(goEditing)) code |= DLGC_WANTCHARS;
    }
    return code;
}

bool TCustomGridGx::WantSpecialKey(WORD Key, TShiftState Shift)
{
    return Key == VK_RETURN && HasOption(goEditing);
}

void TCustomGridGx::KeyDown(WORD& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    if (!CanGridAcceptKey(Key, Shift)) Key = 0;
    if (Key == 0) return;
    const TGridLayoutGx L = CalcGridLayout();
    const int pageWidth = std::max(1, L.Horz.LastWholeLine - FTopLeft.X);
    const int pageHeight = std::max(1, L.Vert.LastWholeLine - FTopLeft.Y);
    TGridCoord nc = FCurrent, ntl = FTopLeft;
    bool backTab = false;
    const bool rowSelect = HasOption(goRowSelect);
    if (Shift.contains(ssCtrl)) {
        switch (Key) {
        case VK_PRIOR: nc.Y = FTopLeft.Y; break;
        case VK_NEXT: nc.Y = L.Vert.LastWholeLine; break;
        case VK_END: nc = {FColCount - 1, FRowCount - 1}; break;
        case VK_HOME: nc = {FFixedCols, FFixedRows}; break;
        case VK_LEFT:
            if (!rowSelect) {
                nc.X -= pageWidth;
                ntl.X -= pageWidth;
            }
            break;
        case VK_RIGHT:
            if (!rowSelect) {
                nc.X += pageWidth;
                ntl.X += pageWidth;
            }
            break;
        case VK_UP: ntl.Y -= 1; break;
        case VK_DOWN: ntl.Y += 1; break;
        default: break;
        }
    } else {
        switch (Key) {
        case VK_TAB:
            if (!Shift.contains(ssAlt)) {
                const bool back = Shift.contains(ssShift);
                backTab = back;
                // One round over the scrolling columns at most: from a frozen column the walk never meets the
                // current column again, so without a tab stop it stays where it is.
                const int columns = std::max(1, FColCount - FFixedCols);
                int walked = 0;
                do {
                    if (!back) {
                        if (++nc.X >= FColCount) {
                            nc.X = FFixedCols;
                            if (++nc.Y >= FRowCount) nc.Y = FFixedRows;
                        }
                    } else {
                        if (--nc.X < FFixedCols) {
                            nc.X = FColCount - 1;
                            if (--nc.Y < FFixedRows) nc.Y = FRowCount - 1;
                        }
                    }
                } while (!TabStops(nc.X) && nc.X != FCurrent.X && ++walked <= columns);
                if (walked > columns) nc = FCurrent;
            }
            break;
        case VK_PRIOR:
            nc.Y -= pageHeight;
            ntl.Y -= pageHeight;
            break;
        case VK_NEXT:
            nc.Y += pageHeight;
            ntl.Y += pageHeight;
            break;
        case VK_END:
            if (rowSelect) nc.Y = FRowCount - 1; else nc.X = FColCount - 1;
            break;
        case VK_HOME:
            if (rowSelect) nc.Y = FFixedRows; else nc.X = FFixedCols;
            break;
        case VK_LEFT:
        case VK_RIGHT:
            if (rowSelect) {
                ScrollDataPixels(Key == VK_LEFT ? -HorzLineScrollStep() : HorzLineScrollStep(), 0);
                return;
            }
            nc.X += Key == VK_LEFT ? -1 : 1;
            break;
        case VK_UP: nc.Y -= 1; break;
        case VK_DOWN: nc.Y += 1; break;
        case VK_F2: SetEditorMode(true); break;
        default: break;
        }
    }
    const TGridCoord last = LastTopLeft({FColCount - 1, FRowCount - 1}, L);
    ntl.X = std::clamp(ntl.X, FFixedCols, std::max(FFixedCols, last.X));
    ntl.Y = std::clamp(ntl.Y, FFixedRows, std::max(FFixedRows, last.Y));
    if (!(ntl == FTopLeft)) SetTopLeftCell(ntl.X, ntl.Y);
    nc.X = std::clamp(nc.X, std::max(0, FFixedCols - FFrozenColCount), FColCount - 1);
    nc.Y = std::clamp(nc.Y, std::max(0, FFixedRows - FFrozenRowCount), FRowCount - 1);
    if (!(nc == FCurrent)) FocusCell(nc.X, nc.Y, !Shift.contains(ssShift) || backTab);
}

void TCustomGridGx::KeyPress(QChar& Key)
{
    // Typing on the grid starts editing: the character goes to the editor.
    if (HasOption(goEditing) && (Key.unicode() == 8 || Key.unicode() >= 32)) {
        ShowEditorChar(Key);
        Key = QChar(0);
        return;
    }
    DoGridKeyPress(Key);
}

void TCustomGridGx::DoGridKeyPress(QChar& Key)
{
    TCustomControl::KeyPress(Key);
    if (!HasOption(goAlwaysShowEditor) && Key.unicode() == 13) {
        if (FEditorMode)
            HideEditor();
        else
            ShowEditor();
        Key = QChar(0);
    }
}

void TCustomGridGx::DoExit()
{
    TCustomControl::DoExit();
    // The focus going to the grid's own editor does not leave the grid.
    QWidget* to = QApplication::focusWidget();
    if (to && isAncestorOf(to)) return;
    if (!HasOption(goAlwaysShowEditor)) HideEditor();
}

void TCustomGridGx::FocusSet()
{
    InvalidateGridRect(Selection());
    const bool fromEditor = FFocusFromEditor;
    FFocusFromEditor = false;
    if (!fromEditor) UpdateEdit();
}

void TCustomGridGx::FocusKilled()
{
    InvalidateGridRect(Selection());
    QWidget* to = QApplication::focusWidget();
    if (!FInplaceEdit || to != FInplaceEdit) CloseInplaceEditor();
}

// ---- mouse --------------------------------------------------------------------------------

void TCustomGridGx::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    CloseInplaceEditor();
    if (CanFocus() || !ParentForm()) {
        if (!hasFocus()) SetFocus();
        if (!IsActiveControl()) {
            SetMouseCapture(false);
            return;
        }
    }
    const TPoint pt(X, Y);
    if (Button == mbLeft && Shift.contains(ssDouble)) {
        if (CanCellMouseClick(X, Y)) {
            const TGridCoord cell = MouseCoord(X, Y);
            if (cell == FMouseDownCell) {
                const TRect cr = CellRect(cell.X, cell.Y);
                CellMouseClick(cell, Button, Shift, X - cr.Left, Y - cr.Top);
            }
        }
        DblClick();
        TCustomControl::MouseDown(Button, Shift, X, Y);
        return;
    }
    if (Button == mbLeft) {
        const TGridLayoutGx L = CalcGridLayout();
        TGridState state = gsNormal;
        int index = -1, pos = 0, ofs = 0;
        CalcSizingState(X, Y, state, index, pos, ofs, L);
        if (state != gsNormal) {
            FGridState = state;
            FSizingIndex = index;
            FSizingPos = pos;
            FSizingOfs = ofs;
            DrawSizingLine(L);
        } else {
            const TGridCoord cell = CellAtPoint(X, Y, L);
            const int trueFixedCols = FFixedCols - FFrozenColCount, trueFixedRows = FFixedRows - FFrozenRowCount;
            const bool outside = cell.X < trueFixedCols || cell.Y < trueFixedRows || cell.X >= FColCount || cell.Y >= FRowCount;
            if (outside) {
                if (HasOption(goRowMoving) && cell.X >= 0 && cell.X < trueFixedCols && cell.Y >= FFixedRows && cell.Y < FRowCount) {
                    FMoveIndex = FMovePos = cell.Y;
                    if (BeginRowDrag(FMoveIndex, FMovePos, pt)) {
                        FGridState = gsRowMoving;
                        Update();
                        DrawMove(L);
                        StartGridTimer(60);
                    }
                } else if (HasOption(goColMoving) && cell.Y >= 0 && cell.Y < trueFixedRows && cell.X >= FFixedCols &&
                           cell.X < FColCount) {
                    FMoveIndex = FMovePos = cell.X;
                    FMovePosRightSite = false;
                    if (BeginColumnDrag(FMoveIndex, FMovePos, pt)) {
                        FGridState = gsColMoving;
                        Update();
                        DrawMove(L);
                        StartGridTimer(60);
                    }
                }
            } else if (HasOption(goEditing)) {
                if (cell == FCurrent) {
                    ShowEditor();
                } else {
                    SetCurrentCell(cell.X, cell.Y, true, true, true);
                    UpdateEdit();
                }
                Click();
            } else {
                FGridState = gsSelecting;
                StartGridTimer(60);
                if (Shift.contains(ssShift))
                    SetAnchorCell(cell, true);
                else
                    SetCurrentCell(cell.X, cell.Y, true, true, true);
            }
        }
    }
    try {
        TCustomControl::MouseDown(Button, Shift, X, Y);
    } catch (...) {
        if (FGridState == gsColMoving || FGridState == gsRowMoving) {
            HideMoveLine();
            KillTimer(1);
            FGridState = gsNormal;
        }
        throw;
    }
    if (FInplaceEdit) FInplaceEdit->FClickTime = GridMessageTime();
    FMouseDownCell = MouseCoord(X, Y);
}

void TCustomGridGx::MouseMove(TShiftState Shift, int X, int Y)
{
    const TGridLayoutGx L = CalcGridLayout();
    switch (FGridState) {
    case gsRowSizing:
    case gsColSizing:
        DrawSizingLine(L);
        FSizingPos = (FGridState == gsRowSizing ? Y : X) + FSizingOfs;
        DrawSizingLine(L);
        break;
    case gsNormal:
        UpdateHotTrackCell(X, Y);
        break;
    case gsSelecting:
    case gsRowMoving:
    case gsColMoving: {
        TGridCoord cell = CellAtPoint(X, Y, L);
        const bool inX = cell.X >= FFixedCols - FFrozenColCount && cell.X <= std::min(L.Horz.LastWholeLine + 1, FColCount - 1);
        const bool inY = cell.Y >= FFixedRows - FFrozenRowCount && cell.Y <= std::min(L.Vert.LastWholeLine + 1, FRowCount - 1);
        if (FGridState == gsSelecting) {
            if (inX && inY && !(cell == FAnchor)) SetAnchorCell(cell, true);
        } else if (FGridState == gsRowMoving) {
            MoveAndScroll(Y, inY ? cell.Y : -1, TPoint(X, Y), true, L.Vert, L);
        } else {
            MoveAndScroll(X, inX ? cell.X : -1, TPoint(X, Y), false, L.Horz, L);
        }
        break;
    }
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

int TCustomGridGx::NewSizeAtMouseUp(const TAxisLayoutGx& A, int Index) const
{
    const int lw = A.LineWidth;
    if (Index >= A.LineCount) {
        int end = A.ContraStart - lw;
        for (int i = A.LineCount; i <= Index; ++i) end += A.SizeOf(i) + lw;
        return end - FSizingPos;
    }
    int start;
    if (Index < A.FixedCount - A.FrozenCount) {
        start = A.NearIndent;
        for (int i = 0; i < Index; ++i) start += A.SizeOf(i) + lw;
    } else if (Index < A.FixedCount) {
        start = A.FrozenStart;
        for (int i = A.FixedCount - A.FrozenCount; i < Index; ++i) start += A.SizeOf(i) + lw;
    } else {
        start = A.DataStart;
        for (int i = A.FirstDataLine; i < Index; ++i) start += A.SizeOf(i) + lw;
    }
    return FSizingPos - start;
}

void TCustomGridGx::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (CanCellMouseClick(X, Y)) {
        const TGridCoord cell = MouseCoord(X, Y);
        if (cell == FMouseDownCell && cell.X >= 0) {
            const TRect cr = CellRect(cell.X, cell.Y);
            CellMouseClick(cell, Button, Shift, X - cr.Left, Y - cr.Top);
        }
    }
    const TPoint pt(X, Y);
    const TGridState state = FGridState;
    switch (state) {
    case gsSelecting:
        MouseMove(Shift, X, Y);
        KillTimer(1);
        FGridState = gsNormal;
        UpdateEdit();
        Click();
        break;
    case gsRowSizing:
    case gsColSizing: {
        const TGridLayoutGx L = CalcGridLayout();
        DrawSizingLine(L);
        FGridState = gsNormal;
        const int size = NewSizeAtMouseUp(state == gsColSizing ? L.Horz : L.Vert, FSizingIndex);
        if (size > 1) {
            if (state == gsColSizing)
                SetColWidths(FSizingIndex, size);
            else
                SetRowHeights(FSizingIndex, size);
        }
        break;
    }
    case gsRowMoving: {
        DrawMove(CalcGridLayout());
        KillTimer(1);
        FGridState = gsNormal;
        int from = FMoveIndex, to = FMovePos;
        if (EndRowDrag(from, to, pt) && from != to) MoveRowLine(from, to);
        UpdateEdit();
        break;
    }
    case gsColMoving: {
        HideMoveLine();
        KillTimer(1);
        FGridState = gsNormal;
        int from = FMoveIndex, to = FMovePos;
        if (EndColumnDrag(from, to, pt) && from != to) MoveColumnLine(from, to);
        UpdateEdit();
        break;
    }
    case gsNormal:
        UpdateEdit();
        break;
    }
    FGridState = gsNormal;
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCustomGridGx::CancelMode()
{
    switch (FGridState) {
    case gsSelecting:
        KillTimer(1);
        break;
    case gsRowSizing:
    case gsColSizing:
        DrawSizingLine(CalcGridLayout());
        break;
    case gsRowMoving:
        DrawMove(CalcGridLayout());
        KillTimer(1);
        break;
    case gsColMoving:
        HideMoveLine();
        KillTimer(1);
        break;
    case gsNormal:
        break;
    }
    FGridState = gsNormal;
}

bool TCustomGridGx::EndColumnDrag(int& Origin, int& Destination, const TPoint& MousePt)
{
    if (Origin < Destination && !FMovePosRightSite) --Destination;
    return true;
}

void TCustomGridGx::Timer(UINT id)
{
    if (id != 1) return;
    if (FGridState != gsSelecting && FGridState != gsRowMoving && FGridState != gsColMoving) return;
    const TPoint pt = CursorPos();
    const TGridLayoutGx L = CalcGridLayout();
    const TGridCoord cell = CellAtPoint(pt.X, pt.Y, L);
    if (FGridState == gsSelecting) {
        int dirs = 0;
        if (pt.X < L.Horz.FixedEnd) dirs |= gmdLeftGx;
        else if (pt.X > L.Horz.LastWholeEnd) dirs |= gmdRightGx;
        if (pt.Y < L.Vert.FixedEnd) dirs |= gmdUpGx;
        else if (pt.Y > L.Vert.LastWholeEnd) dirs |= gmdDownGx;
        if (dirs) MoveAnchorBy(dirs);
        return;
    }
    if (FGridState == gsRowMoving) {
        MoveAndScroll(pt.Y, cell.Y, pt, true, L.Vert, L);
        return;
    }
    FMoveScrolled = false;
    MoveAndScroll(pt.X, cell.X, pt, false, L.Horz, L);
    if (FGridState != gsColMoving) return;
    const TGridLayoutGx L2 = CalcGridLayout();
    int interval = 60;
    const QRect work = screen() ? screen()->availableGeometry() : QRect();
    const int mouseX = ClientToScreen(pt).X;
    if (FMovePos < FFixedCols) {
        interval = 60;
    } else if (pt.X < L2.Horz.FixedEnd) {
        interval = ColMoveScrollInterval(ClientToScreen({L2.Horz.FixedEnd, 0}).X, work.left(), mouseX, true);
    } else if (pt.X > L2.Horz.DataLimit) {
        interval = ColMoveScrollInterval(ClientToScreen({L2.Horz.DataLimit, 0}).X, work.left() + work.width(), mouseX, false);
    } else {
        interval = FMoveScrolled ? 360 : 60;
    }
    StartGridTimer(interval);
}

bool TCustomGridGx::CalcMoveRightSite(int Pos, int Target, const TGridLayoutGx& Layout) const
{
    bool rs = FMoveIndex < Target;
    if (FGridState == gsColMoving && ColWidths(FMoveIndex) < 1) {
        int first = FMoveIndex + 1;
        while (first < FColCount && ColWidths(first) < 1) ++first;
        if (Target == first) {
            const int start = LineStart(Layout.Horz, Target);
            if (Pos < start + ColWidths(Target) / 2) rs = false;
        }
    }
    return rs;
}

void TCustomGridGx::MoveAndScroll(int Pos, int CellIndex, const TPoint& MousePt, bool IsRow, const TAxisLayoutGx& Axis,
                                  const TGridLayoutGx& Layout)
{
    const int lastLine = Axis.LineCount - 1;
    if (Axis.PixelOffset == 0 && FMovePos == Axis.FixedCount && Pos < Axis.FixedEnd && CellIndex < 0) return;
    if (FMovePos == lastLine && Pos > Axis.DataEnd) return;
    TGridLayoutGx L = Layout;
    int target = CellIndex;
    const int bar = IsRow ? SB_VERT : SB_HORZ;
    bool scrolled = false;
    if (Pos < Axis.FixedEnd) {
        if (FMovePos > Axis.FixedCount || Axis.PixelOffset != 0) {
            HandleScrollBar(bar, SB_LINEUP, 0);
            Update();
            L = CalcGridLayout();
            scrolled = true;
        }
        target = IsRow ? FTopLeft.Y : FTopLeft.X;
    } else if (Pos >= Axis.LastWholeEnd) {
        if (FMovePos == Axis.LastWholeLine && FMovePos != lastLine) {
            const int old = IsRow ? FTopLeft.Y : FTopLeft.X;
            HandleScrollBar(bar, SB_LINEDOWN, 0);
            Update();
            L = CalcGridLayout();
            scrolled = true;
            if ((IsRow ? FTopLeft.Y : FTopLeft.X) > old) FMoveScrolled = true;
        }
        target = IsRow ? L.Vert.LastWholeLine : L.Horz.LastWholeLine;
    } else if (target < 0) {
        target = FMovePos;
    }
    const bool rightSite = IsRow ? FMoveIndex < target : CalcMoveRightSite(Pos, target, L);
    if (!scrolled && target == FMovePos && rightSite == FMovePosRightSite) return;
    if (IsRow) DrawMove(L);  // erases the inverted marker
    int origin = FMoveIndex;
    const bool ok = IsRow ? CheckRowDrag(origin, target, MousePt) : CheckColumnDrag(origin, target, MousePt);
    if (ok) {
        FMovePos = target;
        FMovePosRightSite = rightSite;
    }
    DrawMove(L);
}

void TCustomGridGx::DrawMove(const TGridLayoutGx& Layout)
{
    if (FGridState == gsRowMoving) {
        const int top = LineStart(Layout.Vert, FMovePos);
        const int y = FMoveIndex < FMovePos ? top + RowHeights(FMovePos) : top;
        Canvas()->InvertRect(TRect(0, y - 2, ClientWidth(), y + 3));
        Overlay()->Flush(this);
    } else if (FGridState == gsColMoving) {
        const int left = LineStart(Layout.Horz, FMovePos);
        const int x = FMovePosRightSite ? left + ColWidths(FMovePos) : left - 1;
        const TPoint p(x, Layout.Vert.NearIndent);
        TGridMoveLineGx* ml = GridMoveLine();
        if (ml->isVisible())
            ml->MoveToFor(this, p);
        else
            ml->StartShow(this, p, Layout.Vert.AreaEnd - Layout.Vert.NearIndent, true);
    }
}

void TCustomGridGx::HideMoveLine()
{
    if (GridMoveLineExists()) GridMoveLine()->hide();
}

void TCustomGridGx::StartColumnMove(int AMoveIndex, int X, int Y, const TGridLayoutGx& Layout)
{
    FMoveIndex = AMoveIndex;
    FMovePos = std::max(CellAtPoint(X, Y, Layout).X, FTopLeft.X);
    FGridState = gsColMoving;
    FMovePosRightSite = CalcMoveRightSite(X, FMovePos, Layout);
    FGridState = gsNormal;
    if (BeginColumnDrag(FMoveIndex, FMovePos, TPoint(X, Y))) {
        FGridState = gsColMoving;
        Update();
        DrawMove(Layout);
        StartGridTimer(60);
    }
}

// ---- sizing -------------------------------------------------------------------------------

namespace {

// The line whose far edge lies in the sizing hot zone around P; -1 when none.
bool AxisSizingTest(const TAxisLayoutGx& A, int P, int& Index, int& SizingPos)
{
    const int lw = A.LineWidth;
    const int zone = std::max(lw, 7);
    const int before = lw <= 6 ? (7 - lw) / 2 : 0;
    auto hit = [&](int linePos) { return P >= linePos - before && P < linePos - before + zone; };
    int pos = A.FrozenStart;
    for (int i = A.FixedCount - A.FrozenCount; i < A.FixedCount && pos <= A.DataEnd; ++i) {
        const int end = pos + A.SizeOf(i);
        if (A.SizeOf(i) > 0 && hit(end)) {
            Index = i;
            SizingPos = end;
            return true;
        }
        pos = end + lw;
    }
    pos = A.DataStart;
    for (int i = A.FirstDataLine; i < A.LineCount && pos <= A.DataEnd; ++i) {
        const int end = pos + A.SizeOf(i);
        if (end > A.DataEnd) break;
        if (A.SizeOf(i) > 0 && end >= A.FixedEnd && hit(end)) {
            Index = i;
            SizingPos = end;
            return true;
        }
        pos = end + lw;
    }
    if (A.DataEnd == A.DataLimit && P >= A.DataLimit - zone && P <= A.DataLimit) {
        Index = A.LastWholeEnd == A.FixedEnd ? A.LastWholeLine : A.LastWholeLine + 1;
        if (Index >= A.LineCount) Index = A.LineCount - 1;
        SizingPos = A.DataLimit;
        return true;
    }
    if (A.ContraCount > 0 && P >= A.ContraStart && P <= A.DataLimit + before) {
        Index = A.LineCount;
        SizingPos = A.DataLimit;
        return true;
    }
    pos = A.ContraStart + lw;
    for (int i = A.LineCount; i < A.FullCount - 1 && pos <= A.AreaEnd; ++i) {
        const int end = pos + A.SizeOf(i);
        if (hit(end)) {
            Index = i + 1;
            SizingPos = end;
            return true;
        }
        pos = end + lw;
    }
    return false;
}

} // namespace

void TCustomGridGx::CalcSizingState(int X, int Y, TGridState& State, int& Index, int& SizingPos, int& SizingOfs,
                                    const TGridLayoutGx& Layout)
{
    State = gsNormal;
    Index = -1;
    if (!HasOption(goRowSizing) && !HasOption(goColSizing)) return;
    if (X > Layout.Horz.FrozenStart && HasOption(goColSizing)) {
        if (Y >= Layout.Vert.NearIndent && Y < Layout.Vert.FrozenStart && AxisSizingTest(Layout.Horz, X, Index, SizingPos)) {
            State = gsColSizing;
            SizingOfs = SizingPos - X;
        }
    } else if (Y > Layout.Vert.FrozenStart && HasOption(goRowSizing) && X < Layout.Horz.FrozenStart) {
        if (AxisSizingTest(Layout.Vert, Y, Index, SizingPos)) {
            State = gsRowSizing;
            SizingOfs = SizingPos - Y;
        }
    }
    if (State == gsNormal) Index = -1;
}

void TCustomGridGx::CalcSizingLine(const TGridLayoutGx& Layout, int& StartPos, int& EndPos)
{
    if (FGridState == gsColSizing) {
        StartPos = Layout.Vert.NearIndent;
        EndPos = Layout.Vert.AreaEnd;
    } else {
        StartPos = Layout.Horz.NearIndent;
        EndPos = Layout.Horz.AreaEnd;
    }
}

void TCustomGridGx::DrawSizingLine(const TGridLayoutGx& Layout)
{
    TCanvas* c = Canvas();
    const TPen saved = *c->Pen();
    c->Pen()->SetStyle(psDot);
    c->Pen()->SetMode(pmXor);
    c->Pen()->SetColor(clWhite);
    c->Pen()->SetWidth(1);
    int start = 0, end = 0;
    CalcSizingLine(Layout, start, end);
    if (FGridState == gsColSizing) {
        c->MoveTo(FSizingPos, start);
        c->LineTo(FSizingPos, end);
    } else {
        c->MoveTo(start, FSizingPos);
        c->LineTo(end, FSizingPos);
    }
    c->SetPen(saved);
    Overlay()->Flush(this);
}

TCursor TCustomGridGx::CursorAt(int X, int Y)
{
    FHitTest = TPoint(X, Y);
    TGridState state = FGridState;
    if (state == gsNormal) {
        int index = -1, pos = 0, ofs = 0;
        CalcSizingState(X, Y, state, index, pos, ofs, CalcGridLayout());
    }
    if (state == gsRowSizing) return crVSplit;
    if (state == gsColSizing) return crHSplit;
    return TCustomControl::CursorAt(X, Y);
}

// ---- hot tracking and clicks --------------------------------------------------------------

void TCustomGridGx::UpdateHotTrackCell(int X, int Y)
{
    const TGridCoord cell = MouseCoord(X, Y);
    if (CanHotTrackCell(cell.X, cell.Y)) {
        if (!(cell == FHotTrackCell)) {
            if (FHotTrackCell.X >= 0 && FHotTrackCell.Y >= 0) InvalidateGridCell(FHotTrackCell.X, FHotTrackCell.Y);
            FHotTrackCell = cell;
            InvalidateGridCell(cell.X, cell.Y);
        }
    } else if (FHotTrackCell.X >= 0 || FHotTrackCell.Y >= 0) {
        InvalidateGridCell(FHotTrackCell.X, FHotTrackCell.Y);
        FHotTrackCell = {-1, -1};
    }
    if (FHotTrackCell.X >= 0 && FHotTrackCell.Y >= 0) {
        const TRect r = CellRect(FHotTrackCell.X, FHotTrackCell.Y);
        FHotTrackInCellPos = {X - r.Left, Y - r.Top};
    }
}

void TCustomGridGx::MouseLeave()
{
    TCustomControl::MouseLeave();
    const TPoint p = CursorPos();
    UpdateHotTrackCell(p.X, p.Y);
}

bool TCustomGridGx::CanCellMouseClick(int X, int Y)
{
    return FGridState == gsNormal && X >= 0 && Y >= 0;
}

void TCustomGridGx::CellMouseClick(const TGridCoord& Cell, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (OnCellMouseClick)
        OnCellMouseClick(this, Cell, Button, Shift, X, Y);
    else
        DefaultCellMouseClick(Cell, Button, Shift, X, Y);
}
