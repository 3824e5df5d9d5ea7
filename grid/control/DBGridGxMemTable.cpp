// The data grid over a memory table: every record view is a grid row, the drawing
// record is an instant read of a view record (or a node of the group tree), the
// current row follows the table's current view, and the vertical bar, its
// messages and the wheel scroll rows.
#include "DBGridGx.h"
#include "DBGridGxGroups.h"
#include "DBGridGxParts.h"
#include "grid/support/MemTableGx.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "platform/gui/Application.h"

#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

// ---------------------------------------------------------------- registration and notices

void TCustomDBGridGx::AttachMemTable(IMemTableGx* Table)
{
    if (Table == FIntMemTable)
        return;
    if (FIntMemTable)
        FIntMemTable->UnregisterEventReceiver(this);
    FIntMemTable = Table;
    if (FIntMemTable)
        FIntMemTable->RegisterEventReceiver(this);
}

bool TCustomDBGridGx::MemTableNotice(QEvent* e)
{
    if (e->type() != TMemTableDataEventGx::EventType())
        return false;
    auto* m = static_cast<TMemTableDataEventGx*>(e);
    Application->Guard([&] { MemTableDataEvent(m->RecNum, m->Kind, m->Param); });
    return true;
}

// ---------------------------------------------------------------- drawing record

void TCustomDBGridGx::MemTableSelectDrawRecord(int DataRow)
{
    TGridGroupDataTreeGx* tree = FDataGrouping->GroupDataTree();
    if (FDataGrouping->IsGroupingWorks() && tree->FlatVisibleCount() > 0) {
        FDrawGroupDataNode = tree->FlatVisibleNode(DataRow);
        if (!FDrawGroupDataNode || FDrawGroupDataNode->NodeType() != dntDataSetRecordGx)
            return;
        FOldActiveRecord = FIntMemTable->GetInstantReadCurRecordView();
        FIntMemTable->InstantReadEnter(FDrawGroupDataNode->DataSetRecordViewNo());
        return;
    }
    FOldActiveRecord = FIntMemTable->GetInstantReadCurRecordView();
    FIntMemTable->InstantReadEnter(DataRow);
}

void TCustomDBGridGx::MemTableRestoreDrawRecord()
{
    if (FDrawGroupDataNode) {
        if (FDrawGroupDataNode->NodeType() == dntDataSetRecordGx)
            FIntMemTable->InstantReadLeave();
        FDrawGroupDataNode = nullptr;
    } else if (!(FDataGrouping->IsGroupingWorks() && FDataGrouping->GroupDataTree()->FlatVisibleCount() > 0)) {
        FIntMemTable->InstantReadLeave();
    }
    FOldActiveRecord = -1;
}

int TCustomDBGridGx::MemTableDrawRecordCount()
{
    if (FDataGrouping->IsGroupingWorks())
        return FDataGrouping->GroupDataTree()->FlatVisibleCount();
    return FIntMemTable->GetRecordViewsCount();
}

bool TCustomDBGridGx::MemTableIsDrawRecordCurrent(int DataRow)
{
    const int current = FOldActiveRecord >= 0 ? FOldActiveRecord : FIntMemTable->GetInstantReadCurRecordView();
    TGridGroupDataTreeGx* tree = FDataGrouping->GroupDataTree();
    if (FDataGrouping->IsGroupingWorks() && tree->FlatVisibleCount() > 0) {
        TGroupDataTreeNodeGx* node = tree->FlatVisibleNode(DataRow);
        return node && node->NodeType() == dntDataSetRecordGx && node->DataSetRecordViewNo() == current;
    }
    return DataRow == current;
}

// ---------------------------------------------------------------- row count and current row

void TCustomDBGridGx::MemTableUpdateRowCount()
{
    const int top = TopDataOffset();
    if (top >= RowCount()) {
        if (Row() >= top + 1)
            MoveColRow(Col(), top, false, false);
        TCustomGridGx::SetRowCount(top + 1);
    }
    TCustomGridGx::SetFixedRows(top);
    FOldTopLeft = TopLeft();
    if (HasTitles())
        TCustomGridGx::SetRowHeights(0, FTitleRowHeight);
    for (int r = HasTitles() ? 1 : 0; r < top; ++r)
        TCustomGridGx::SetRowHeights(r, FStdDefaultRowHeight);
    TCustomGridGx::SetContraRowCount(FFooterRowCount);
    const bool grouped = FDataGrouping->IsGroupingWorks();
    if (FIntMemTable->GetTreeViewActive() || !grouped) {
        const int views = FDataLink->Active() ? FIntMemTable->GetRecordViewsCount() : 0;
        if (!grouped)
            SetGridRowCount(std::max(views, 1) + top);
    }
    if (!HandleAllocated())
        return;
    SafeMoveTop(TopRow());
    if (FColWidthsChanged && DataRowCount() == DrawRecordCount()) {
        UpdateAllDataRowHeights();
        FColWidthsChanged = false;
    }
    if (!grouped) {
        int target = FIntMemTable->GetInstantReadCurRecordView();
        target = target < 0 || target + top >= RowCount() ? top : target + top;
        MoveColRow(Col(), target, false, !FLockAutoShowCurCell && !RowPanelActive());
    }
    MemTableFetchRecords();
    InvalidateWholeGrid();
}

void TCustomDBGridGx::MemTableUpdateActiveRow(int Distance)
{
    if (!FInplaceSearchingInProcess)
        StopInplaceSearch();
    const int oldTop = TopRow();
    const int current = FIntMemTable->GetInstantReadCurRecordView();
    if (FDataGrouping->IsGroupingWorks()) {
        if (Distance != 0 && !FInternalUpdatingDatasetPos) {
            TGridGroupDataTreeGx* tree = FDataGrouping->GroupDataTree();
            InvalidateRow(tree->IndexOfVisibleRecordViewNo(current) + TopDataOffset());
            InvalidateRow(tree->IndexOfVisibleRecordViewNo(current - Distance) + TopDataOffset());
        }
        if (!FInternalUpdatingDatasetPos) {
            const QScopedValueRollback<bool> clear(FInternalUpdatingDatasetPos, true);
            GotoGroupRecordByViewNo(current, false);
        }
    } else {
        int target = current + TopDataOffset();
        if (current < 0 || target >= RowCount())
            target = TopDataOffset();
        if (target != Row()) {
            if (!FOptions.Contains(dgAlwaysShowEditor))
                HideEditor();
            int col = Col();
            if (col < FIndicatorOffset)
                col = FIndicatorOffset;
            MoveColRow(col, target, false, !FLockAutoShowCurCell);
            InvalidateEditor();
        }
    }
    if (InplaceEditorVisible())
        if (TField* field = SelectedField(); field && field->Text() != FEditText)
            InvalidateEditor();
    if (AnyColumnHidesDuplicates() && TopRow() != oldTop) {
        InvalidateRow(oldTop);
        InvalidateRow(TopRow());
    }
    InvalidateFooter();
    UpdateScrollBar();
}

void TCustomDBGridGx::MemTableFetchRecords()
{
    if (!FIntMemTable || !HandleAllocated() || FFetchingRecords)
        return;
    const QScopedValueRollback<bool> clear(FFetchingRecords, true);
    const TGridLayoutGx L = CalcGridLayout();
    int bottom = L.Vert.DataStart;
    for (int r = TopRow(); r < RowCount(); ++r)
        bottom += RowHeights(r) + L.Vert.LineWidth;
    const int dataEnd = L.Vert.DataLimit;
    if (bottom < dataEnd)
        FIntMemTable->FetchRecords((dataEnd - bottom) / std::max(1, FStdDefaultRowHeight) + 1);
    else if (L.Vert.LastWholeLine == RowCount() - 1)
        FIntMemTable->FetchRecords(1);
}

// ---------------------------------------------------------------- vertical bar

void TCustomDBGridGx::MemTableUpdateScrollBar()
{
    if (IsSmoothVertScroll())
        return;
    const TScrollBarVisibleModeGx mode = FVertScrollBar->VisibleMode();
    TScrollInfo old;
    old.fMask = SIF_ALL;
    TCustomControl::GetScrollInfo(SB_VERT, old);
    TScrollInfo si = old;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | (mode == sbAlwaysShowGx ? UINT(SIF_DISABLENOSCROLL) : 0u);
    si.nMin = 1;
    const TGridLayoutGx L = CalcGridLayout();
    if (FOptionsGx.Contains(dghAutoFitRowHeight)) {
        si.nPage = 0;
        si.nMax = SafeMoveTop(RowCount(), true) - FixedRows() + 1;
    } else {
        si.nPage = UINT(std::max(0, L.Vert.LastWholeLine - TopRow() + 1));
        si.nMax = RowCount() - FixedRows();
    }
    si.nPos = TopRow() - FixedRows() + 1;
    ApplyVertScrollInfo(si, old);
}

void TCustomDBGridGx::MemTableVertScroll(int ScrollCode, int Pos)
{
    if (!FDataLink->Active())
        return;
    const TGridLayoutGx L = CalcGridLayout();
    const int top = TopRow();
    int target = top;
    switch (ScrollCode) {
    case SB_LINEUP: target = top - 1; break;
    case SB_LINEDOWN: target = top + 1; break;
    case SB_PAGEUP: {
        // The top row of the previous page: rows above that fill the data area.
        int room = L.Vert.DataLimit - L.Vert.DataStart;
        int r = top;
        while (r > FixedRows() && room - (RowHeights(r - 1) + L.Vert.LineWidth) >= 0) {
            room -= RowHeights(r - 1) + L.Vert.LineWidth;
            --r;
        }
        target = top - std::max(1, top - r);
        break;
    }
    case SB_PAGEDOWN: target = top + std::max(1, L.Vert.LastWholeLine - top); break;
    case SB_TOP: target = FixedRows(); break;
    case SB_BOTTOM: target = RowCount(); break;
    case SB_THUMBPOSITION: target = FixedRows() + Pos - 1; break;
    case SB_THUMBTRACK:
        if (!FVertScrollBar->Tracking()) {
            UpdateScrollBar();
            return;
        }
        target = FixedRows() + Pos - 1;
        break;
    default:
        UpdateScrollBar();
        return;
    }
    SafeMoveTop(target);
    UpdateScrollBar();
}

// ---------------------------------------------------------------- wheel

bool TCustomDBGridGx::MemTableWheel(bool Down, TShiftState Shift, TPoint MousePos)
{
    bool handled = false;
    if (Down && OnMouseWheelDown)
        OnMouseWheelDown(this, Shift, MousePos, handled);
    if (!Down && OnMouseWheelUp)
        OnMouseWheelUp(this, Shift, MousePos, handled);
    if (handled)
        return true;
    const int step = Down ? 1 : -1;
    const bool shift = Shift.contains(ssShift), ctrl = Shift.contains(ssCtrl);
    if (shift && !ctrl) {
        Down ? DataSet()->Next() : DataSet()->Prior();
    } else if (shift && ctrl) {
        MoveBy(step * VisibleDataRowCount());
    } else if (!ctrl) {
        if (IsSmoothVertScroll())
            TCustomGridGx::ScrollBarMessage(SB_VERT, Down ? SB_LINEDOWN : SB_LINEUP, 0);
        else
            SafeMoveTop(TopRow() + step);
        UpdateScrollBar();
    } else {
        const int page = VisibleDataRowCount();
        if (Down && RowCount() - (TopRow() + page) < page)
            FIntMemTable->FetchRecords(page - (RowCount() - (TopRow() + page)));
        SafeMoveTop(TopRow() + step * page);
        UpdateScrollBar();
    }
    return true;
}

// ---------------------------------------------------------------- top-left change

void TCustomDBGridGx::MemTableTopLeftChanged(const TGridCoord& OldTopLeft)
{
    MemTableFetchRecords();
    if (TopRow() <= OldTopLeft.Y)
        return;
    // The row that was the last partly shown one before is whole now: repaint it.
    const TGridLayoutGx L = CalcGridLayout();
    const int room = L.Vert.DataLimit - L.Vert.DataStart;
    int sum = 0;
    for (int r = OldTopLeft.Y; r < RowCount(); ++r) {
        sum += RowHeights(r) + L.Vert.LineWidth;
        if (sum > room) {
            InvalidateRow(r);
            break;
        }
    }
}
