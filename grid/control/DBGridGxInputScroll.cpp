// The data grid's window messages (focus, size, timers, cancel mode, the
// deferred layout), the scroll bars, the mouse wheel, auto-scrolling while the
// mouse selects beyond the data area, and positions saved around dataset work.
#include "DBGridGx.h"
#include "DBGridGxEdit.h"
#include "DBGridGxInputSelection.h"
#include "DBGridGxParts.h"
#include "DBGridGxSumList.h"
#include "grid/support/DBSumLst.h"

#include <QApplication>

namespace {

constexpr UINT AutoScrollTimerId = 1;
constexpr UINT SearchTimerId = 2;

} // namespace

// ---------------------------------------------------------------- messages

void TCustomDBGridGx::WndProc(TMessage& Message)
{
    TCustomGridGx::WndProc(Message);
}

void TCustomDBGridGx::MessageReceived(TMessage& Message)
{
    TCustomGridGx::MessageReceived(Message);
}

void TCustomDBGridGx::RepaintFocusChange()
{
    if (IsGridFocused() == FSelectionActive)
        return;
    InvalidateSelection();
    if (FEditButtonsShowOptions.Contains(sebShowOnlyWhenGridActiveGx) &&
        !FEditButtonsShowOptions.Contains(sebShowOnlyForCurCellGx) &&
        !FEditButtonsShowOptions.Contains(sebShowOnlyForCurRowGx))
        Invalidate();
}

void TCustomDBGridGx::FocusSet()
{
    if (!FFocusFromEditor)
        ApplyColumnIme();
    TCustomGridGx::FocusSet();
    if (FOptions.Contains(dgRowSelect))
        InvalidateRow(Row());
    // In filter-edit mode the focus goes on into the filter editor, unless it came from there.
    if (FFilterEditMode && !FFilterEditGivesFocus && FilterEditorVisible())
        FilterEditorTakeFocus();
    RepaintFocusChange();
}

void TCustomDBGridGx::FocusKilled()
{
    QWidget* to = QApplication::focusWidget();
    const bool toEditor = to && InplaceEditor() && to == InplaceEditor();
    if (FSortMarking && !toEditor) {
        FSortMarking = false;
        SortMarkingChanged();
    }
    if (FOptions.Contains(dgRowSelect))
        InvalidateRow(Row());
    TCustomGridGx::FocusKilled();
    RepaintFocusChange();
}

void TCustomDBGridGx::CancelMode()
{
    if (FDBGridGxState == dgsColSizing && FFrozenLineSizing)
        DrawFrozenSizingLine(CalcGridLayout().Horz.DataLimit, height());
    FFrozenLineSizing = false;
    if (GridState() == gsColMoving && RowPanelActive())
        EndRowPanelColumnMoving(-1, -1, false);
    TCustomGridGx::CancelMode();
    FDSMouseCapture = false;
    const TDBGridGxState state = FDBGridGxState;
    StopTracking();
    if (state != dgsNormal)
        StopAutoScrollTimer();
    FDBGridGxState = dgsNormal;
}

void TCustomDBGridGx::Timer(UINT id)
{
    if (id == AutoScrollTimerId) {
        if (FIndicatorPressed || FDataTracking || FDBGridGxState == dgsColSelecting ||
            FDBGridGxState == dgsRectSelecting) {
            TrackMouseSelection(FMouseShift, FDownMousePos.X, FDownMousePos.Y);
            return;
        }
        if (FDBGridGxState == dgsRowMoving) {
            const TPoint p = CursorPos();
            int row = 0, level = 0;
            CalcRecordsDropPosition(p.X, p.Y, row, level);
            return;
        }
        if (GridState() == gsColMoving && RowPanelActive()) {
            // Where the mouse was last seen over the grid.
            TrackColumnToGroupMoving(FMoveMousePos.X, FMoveMousePos.Y);
            return;
        }
        if (GridState() == gsColMoving && FColMoveOverGroupPanel) {
            // The title waits over the grouping panel: its insertion line stays where it is.
            return;
        }
    } else if (id == SearchTimerId) {
        StopInplaceSearch();
        return;
    }
    TCustomGridGx::Timer(id);
}

// ---------------------------------------------------------------- auto-scroll timer

void TCustomDBGridGx::SetAutoScrollTimer(int Interval)
{
    if (!FTimerActive || Interval != FTimerInterval) {
        SetTimer(AutoScrollTimerId, GridTimerInterval(Interval));
        FTimerInterval = Interval;
    }
    FTimerActive = true;
}

void TCustomDBGridGx::StopAutoScrollTimer()
{
    if (FTimerActive) {
        KillTimer(AutoScrollTimerId);
        FTimerActive = false;
        FTimerInterval = -1;
    }
}

void TCustomDBGridGx::TrackMouseSelection(TShiftState, int, int)
{
    const TRect data = DataRect();
    if (FDBGridGxState == dgsColSelecting) {
        const TPoint p = CursorPos();
        const int fixed = TCustomGridGx::FixedCols();
        auto extendTo = [this](int rawCol) {
            if (TColumnGx* column = ColumnAtRaw(rawCol))
                FSelection->Columns().SelectShift(column);
        };
        if (p.X >= data.Right) {
            if (VisibleColCount() + LeftCol() < TCustomGridGx::ColCount()) {
                SetLeftCol(LeftCol() + 1);
                const int next = VisibleColCount() + LeftCol() + fixed;
                extendTo(next < TCustomGridGx::ColCount() ? next : VisibleColCount() + LeftCol() - 1);
            } else {
                extendTo(VisibleColCount() + LeftCol() - 1);
            }
            SetAutoScrollTimer(std::max(0, 200 - 10 * (p.X - data.Right)));
        } else if (p.X < data.Left) {
            if (LeftCol() > fixed) {
                SetLeftCol(LeftCol() - 1);
                extendTo(LeftCol() - 1 >= fixed ? LeftCol() - 1 : LeftCol());
            } else {
                extendTo(LeftCol());
            }
            SetAutoScrollTimer(std::max(0, 200 - 10 * (data.Left - p.X)));
        }
        return;
    }
    const TPoint p = FDownMousePos;
    int vert = 0, horz = 0, vdist = 0, hdist = 0;
    if (p.Y < data.Top) {
        vert = -1;
        vdist = data.Top - p.Y;
    } else if (p.Y >= data.Bottom) {
        vert = 1;
        vdist = p.Y - data.Bottom + 1;
    }
    if (p.X < data.Left) {
        horz = -1;
        hdist = data.Left - p.X;
    } else if (p.X >= data.Right) {
        horz = 1;
        hdist = p.X - data.Right + 1;
    }
    const int distance = std::max(vdist, hdist);
    if (vert == 0 && horz == 0) {
        StopAutoScrollTimer();
        return;
    }
    BeginUpdateGx();
    try {
        const int rows = vert * std::min(distance / 6, 8);
        if (vert != 0 && FDBGridGxState != dgsRectSelecting && rows != 0)
            MoveBySelecting(FMouseShift.contains(ssLeft), rows, true, false);
        if (horz != 0 && FDataTracking) {
            const int left = std::clamp(LeftCol() + horz, TCustomGridGx::FixedCols(),
                                        std::max(TCustomGridGx::FixedCols(), TCustomGridGx::ColCount() - 1));
            SetLeftCol(left);
        }
        if (horz != 0 && FDBGridGxState != dgsRowSelecting)
            SelectColumnIndex(SelectedIndex() + horz, horz, false);
        if (FDBGridGxState == dgsRectSelecting) {
            if (rows != 0)
                MoveBy(rows);
            FSelection->Rect().Select(SelectedIndex(), DataSet()->GetBookmark(), true);
        }
    } catch (...) {
        EndUpdateGx();
        throw;
    }
    EndUpdateGx();
    if (FLocks.UpdateLock() == 0)
        Update();
    SetAutoScrollTimer(std::max(0, 200 - 15 * distance));
}

// ---------------------------------------------------------------- scroll bars and wheel

void TCustomDBGridGx::ScrollBarMessage(int Bar, int ScrollCode, int Pos)
{
    if (Bar == SB_HORZ) {
        TCustomGridGx::ScrollBarMessage(Bar, ScrollCode, Pos);
        UpdateExtHorzScrollBar();
        return;
    }
    if (!AcquireFocus())
        return;
    if (UsesMemTableScrolling()) {
        if (!IsSmoothVertScroll())
            MemTableVertScroll(ScrollCode, Pos);
        else if (FVertScrollBar->Tracking() && ScrollCode == SB_THUMBTRACK)
            ScrollBarMessage(Bar, SB_THUMBPOSITION, std::max(0, Pos));
        else
            TCustomGridGx::ScrollBarMessage(Bar, ScrollCode, Pos);
        return;
    }
    if (!FDataLink->Active())
        return;
    TDataSet* ds = DataSet();
    const int page = VisibleDataRowCount();
    switch (ScrollCode) {
    case SB_LINEUP:
        MoveBy(-FDataLink->ActiveRecord() - 1);
        break;
    case SB_LINEDOWN:
        MoveBy(FDataLink->RecordCount() - FDataLink->ActiveRecord());
        break;
    case SB_PAGEUP:
        MoveBy(-page);
        break;
    case SB_PAGEDOWN:
        MoveBy(page);
        break;
    case SB_THUMBPOSITION:
        if (FThumbTracked) {
            FThumbTracked = false;
            break;
        }
        if (!ds->IsSequenced()) {
            switch (Pos) {
            case 0: ds->First(); break;
            case 1: MoveBy(-page); break;
            case 3: MoveBy(page); break;
            case 4: ds->Last(); break;
            default: break;
            }
        } else if (Pos > 1 && Pos < ds->RecordCount()) {
            ds->SetRecNo(Pos);
        } else if (Pos >= ds->RecordCount()) {
            ds->Last();
        } else {
            ds->First();
        }
        break;
    case SB_THUMBTRACK:
        if (FVertScrollBar->Tracking()) {
            MoveBy(Pos - ds->RecNo());
            FThumbTracked = true;
        }
        break;
    case SB_TOP:
        ds->First();
        break;
    case SB_BOTTOM:
        ds->Last();
        break;
    default:
        break;
    }
}

bool TCustomDBGridGx::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos)
{
    bool handled = false;
    if (OnMouseWheel)
        OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
    if (handled)
        return true;
    // A touchpad reports a notch in parts; a change of direction starts afresh.
    if ((FWheelDelta < 0) != (WheelDelta < 0))
        FWheelDelta = 0;
    FWheelDelta += WheelDelta;
    while (FWheelDelta <= -WHEEL_DELTA) {
        FWheelDelta += WHEEL_DELTA;
        DoMouseWheelDown(Shift, MousePos);
    }
    while (FWheelDelta >= WHEEL_DELTA) {
        FWheelDelta -= WHEEL_DELTA;
        DoMouseWheelUp(Shift, MousePos);
    }
    return true;
}

bool TCustomDBGridGx::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    if (InplaceEditorVisible())
        if (auto* editor = dynamic_cast<TDBGridInplaceEdit*>(InplaceEditor()); editor && editor->ListVisible())
            return true;
    if (UsesMemTableScrolling() && FDataLink->Active())
        return MemTableWheel(true, Shift, MousePos);
    if (FDataLink->Active())
        MoveBy(1);
    return true;
}

bool TCustomDBGridGx::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    if (InplaceEditorVisible())
        if (auto* editor = dynamic_cast<TDBGridInplaceEdit*>(InplaceEditor()); editor && editor->ListVisible())
            return true;
    if (UsesMemTableScrolling() && FDataLink->Active())
        return MemTableWheel(false, Shift, MousePos);
    if (FDataLink->Active())
        MoveBy(-1);
    return true;
}

void TCustomDBGridGx::TopLeftChanged()
{
    const bool firstShown = LeftCol() == TCustomGridGx::FixedCols();
    if (firstShown != FTopLeftVisible) {
        InvalidateTitle();
        FTopLeftVisible = firstShown;
    }
    TCustomGridGx::TopLeftChanged();
    UpdateExtHorzScrollBar();
    if (FIntMemTable)
        MemTableTopLeftChanged(FOldTopLeft);
    if (FFilterEditMode)
        UpdateFilterEdit(false);
    if (OnTopLeftChanged)
        OnTopLeftChanged(this);
    FOldTopLeft = TopLeft();
}

// ---------------------------------------------------------------- data area and positions

TRect TCustomDBGridGx::DataRect()
{
    const TGridRect box = DataBox();
    return BoxRect(box.Left, box.Top, box.Right, box.Bottom);
}

TGridRect TCustomDBGridGx::DataBox()
{
    const int top = TopDataOffset();
    const int bottom = std::max(top, RowCount() - 1);
    return TGridRect{FIndicatorOffset, top, FullColCount() - 1, bottom};
}

int TCustomDBGridGx::DataRowCount()
{
    return RowCount() - TopDataOffset();
}

int TCustomDBGridGx::DataRowToRecNo(int DataRow)
{
    if (!FDataLink->Active())
        return 0;
    if (FIntMemTable)
        return DataRow + 1;
    const int saved = FDataLink->ActiveRecord();
    FDataLink->SetActiveRecord(DataRow);
    int recNo = 0;
    try {
        recNo = DataSet()->RecNo();
    } catch (...) {
        FDataLink->SetActiveRecord(saved);
        throw;
    }
    FDataLink->SetActiveRecord(saved);
    return recNo;
}

void TCustomDBGridGx::SaveBookmark()
{
    TDataSet* ds = DataSet();
    if (!ds || !ds->Active())
        return;
    if (FIntMemTable) {
        FLockedBookmark = ds->GetBookmark();
        FLookedOffset = 0;
        return;
    }
    // The record in the middle of the window, and the current record's distance from it.
    const int offset = ds->ActiveRecord() - (ds->BufferRecordCount() - 1) / 2;
    ds->MoveBy(-offset);
    FLockedBookmark = ds->GetBookmark();
    FLookedOffset = offset;
    ds->MoveBy(offset);
}

void TCustomDBGridGx::RestoreBookmark()
{
    TDataSet* ds = DataSet();
    if (!ds || !ds->Active() || FLockedBookmark.IsEmpty() || !ds->BookmarkValid(FLockedBookmark))
        return;
    ds->GotoBookmark(FLockedBookmark);
    ds->MoveBy(FLookedOffset);
}
