// Row-panel mode under the mouse: a press on a record's panel makes the column
// under it current, a title press is a title button or starts sizing, and a
// title dragged beyond the threshold moves its column to another place of the
// panel, with the drag box and the move line the grid shows for column moving.
#include "DBGridGx.h"
#include "DBGridGxGroups.h"
#include "DBGridGxInputSelection.h"
#include "DBGridGxParts.h"
#include "DBGridGxRowPanel.h"

#include <QApplication>
#include <algorithm>
#include <cmath>

namespace {

template <class F> struct Finally {
    F f;
    ~Finally() { f(); }
};
template <class F> Finally(F) -> Finally<F>;

int PlacementRight(const TColumnGx* Column)
{
    return Column->RowPlacement().Left + Column->RowPlacement().Width;
}

// Whether the column stands on panel line Line.
bool OnLine(const TColumnGx* Column, int Line)
{
    return Column->InRowLinePos() <= Line && Line < Column->InRowLinePos() + Column->InRowLineHeight();
}

} // namespace

TColumnGx* TCustomDBGridGx::RowPanelColumnAt(int X, int Y, bool TitleType, TRect* Cell)
{
    const TGridCoord cell = MouseCoord(X, Y);
    if (cell.X < FIndicatorOffset || cell.Y < 0 || cell.X >= TCustomGridGx::ColCount() || cell.Y >= FullRowCount())
        return nullptr;
    const TRect r = CellRect(cell.X, cell.Y);
    if (Cell)
        *Cell = r;
    // CellRect already leaves out the scrolled-away part of the panel.
    return GetColumnInRowPanelAtPos(TPoint(X - r.Left, Y - r.Top), TitleType);
}

// ---------------------------------------------------------------- presses

void TCustomDBGridGx::RowPanelDataMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y, TGridCoord Cell)
{
    TDataSet* ds = DataSet();
    TRect cellRect;
    TColumnGx* column = RowPanelColumnAt(X, Y, false, &cellRect);
    FDataLink->UpdateRecord();
    HideEditor();
    const int oldRow = Row();
    const int oldColumn = FInRowPanelCol;
    FLockAutoShowCurCell = true;
    struct Unlock {
        bool& flag;
        ~Unlock() { flag = false; }
    } unlock{FLockAutoShowCurCell};
    const bool toggleDetail = FRowDetailPanel->Active() && IsMouseOnRowDetailSign(X, Y);
    if (Cell.Y != Row())
        MoveBy(Cell.Y - Row());
    if (toggleDetail) {
        FRowDetailPanel->SetVisible(!FRowDetailPanel->Visible());
        return;
    }
    if (column)
        SelectColumnIndex(column->Index(), 0, false);
    if (FOptions.Contains(dgMultiSelect) && FOptions.Contains(dgRowSelect) && Button == mbLeft &&
        IsSelectionTypeAllowed(gstRecordBookmarks)) {
        if (Shift.contains(ssCtrl)) {
            FBookmarks->SetCurrentRowSelected(!FBookmarks->CurrentRowSelected());
        } else {
            ClearSelectionIfNeeded();
            FBookmarks->SetCurrentRowSelected(true);
        }
    }
    if (Button == mbRight || !column || !ds) {
        InvalidateEditor();
        return;
    }
    const bool wasCurrent = Cell.Y == oldRow && column->Index() == oldColumn;
    const TRect place = RowPanelColumnRect(column, cellRect, true);
    OpenEditorOnClick(column, place, X, Y, wasCurrent);
    const TColumnGxType t = column->GetColumnType();
    if (t == ctKeyImageList || t == ctCheckboxes) {
        FPressedCell = Cell;
        FPressedRowPanelColumn = column->Index();
    }
}

bool TCustomDBGridGx::RowPanelTitleMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGridState state = gsNormal;
    int index = -1, pos = 0, ofs = 0;
    CalcSizingState(X, Y, state, index, pos, ofs, CalcGridLayout());
    if (state != gsNormal) {
        FDataLink->UpdateRecord();
        if (Shift.contains(ssDouble)) {
            if (state == gsColSizing && Button == mbLeft)
                FitRowPanelColumn(index);
            TCustomControl::MouseDown(Button, Shift, X, Y);
            return true;
        }
        TCustomGridGx::MouseDown(Button, Shift, X, Y);
        return true;
    }
    TColumnGx* column = RowPanelColumnAt(X, Y, true);
    if (!column)
        return false;
    TMouseButton button = Button;
    if (button == mbRight && FOptionsGx.Contains(dghColumnMove)) {
        FSwapButtons = true;
        button = mbLeft;
    }
    if (button != mbLeft)
        return false;
    // The press may turn into a move of the column; as a title button it is tracked.
    SetMouseCapture(true);
    FTracking = true;
    FPressedCol = MouseCoord(X, Y).X;
    FPressedDataCol = column->Index();
    bool enabled = column->Title()->TitleButton();
    CheckTitleButton(column->Index() + FIndicatorOffset, enabled);
    FPressedAsButton = enabled;
    if (enabled) {
        FDBGridGxState = dgsTitleDown;
        TrackButton(X, Y);
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
    return true;
}

void TCustomDBGridGx::FitRowPanelColumn(int Index)
{
    if (Index < 0 || Index >= FColumns->Count())
        return;
    TColumnGx* column = FColumns->GetColumn(Index);
    const auto& p = column->RowPlacement();
    const int g = GridLineWidth();
    // The nearest column starting right of it on any of its lines, else the panel's edge.
    int edge = FGridMasterCellWidth + 1;
    for (int i = 0; i < FColumns->Count(); ++i) {
        TColumnGx* c = FColumns->GetColumn(i);
        if (c == column || !c->Visible() || c->RowPlacement().Left <= p.Left)
            continue;
        const int top = c->InRowLinePos(), bottom = top + c->InRowLineHeight();
        const int mine = column->InRowLinePos(), myBottom = mine + column->InRowLineHeight();
        if (top < myBottom && mine < bottom)
            edge = std::min(edge, c->RowPlacement().Left);
    }
    const int width = edge - g - p.Left;
    if (width > 1)
        column->SetWidth(width);
}

// ---------------------------------------------------------------- sizing inside the panel

void TCustomDBGridGx::RowPanelSizingMouseUp(TShiftState Shift, int X, int Y)
{
    const TGridState state = FGridState;
    DrawSizingLine(CalcGridLayout());
    FGridState = gsNormal;
    const int index = FSizingIndex;
    if (index < 0 || index >= FColumns->Count())
        return;
    TColumnGx* column = FColumns->GetColumn(index);
    const int g = GridLineWidth();
    const bool alone = Shift.contains(ssShift) || FStartShiftState.contains(ssShift);
    if (state == gsColSizing) {
        const int distance = X - FDownMousePos.X;
        const int oldWidth = column->Width();
        const int oldRight = PlacementRight(column);
        int width = oldWidth + distance;
        // Snapped to another column's right edge within 4 pixels.
        for (int i = 0; i < FColumns->Count(); ++i) {
            TColumnGx* c = FColumns->GetColumn(i);
            if (c == column || !c->Visible())
                continue;
            const int right = PlacementRight(c);
            if (std::abs(column->RowPlacement().Left + width - right) <= 4) {
                width = right - column->RowPlacement().Left;
                break;
            }
        }
        if (width <= 1)
            return;
        FColumns->BeginUpdate();
        Finally end{[this] { FColumns->EndUpdate(); }};
        if (!alone)
            for (int i = 0; i < FColumns->Count(); ++i) {
                TColumnGx* c = FColumns->GetColumn(i);
                if (c != column && c->Visible() && PlacementRight(c) == oldRight)
                    c->SetWidth(c->Width() + width - oldWidth);
            }
        column->SetWidth(width);
    } else if (state == gsRowSizing) {
        const int h = InRowPanelLineHeight() + g;
        const int oldLines = column->InRowLineHeight();
        const int lines = int(std::lround(double(oldLines * h + Y - FDownMousePos.Y) / h));
        if (lines <= 0 || lines == oldLines)
            return;
        const int bottom = column->InRowLinePos() + oldLines;
        FColumns->BeginUpdate();
        Finally end{[this] { FColumns->EndUpdate(); }};
        if (!alone)
            for (int i = 0; i < FColumns->Count(); ++i) {
                TColumnGx* c = FColumns->GetColumn(i);
                if (c != column && c->InRowLinePos() + c->InRowLineHeight() == bottom)
                    c->SetInRowLineHeight(std::max(1, c->InRowLineHeight() + lines - oldLines));
            }
        column->SetInRowLineHeight(lines);
        if (HasMemTable())
            UpdateAllDataRowHeights();
    }
}

// ---------------------------------------------------------------- moving a column inside the panel

void TCustomDBGridGx::RowPanelColumnHitTest(int X, int Y)
{
    const int index = FPressedDataCol;
    if (index < 0 || index >= FColumns->Count())
        return;
    TColumnGx* column = FColumns->GetColumn(index);
    const TRect title = CellRect(FIndicatorOffset, 0);
    FDragCellRect = RowPanelColumnRect(column, title, false);
    FTopLeftCellOffset = TPoint(FDownMousePos.X - FDragCellRect.Left, FDownMousePos.Y - FDragCellRect.Top);
    RowPanelCellHitTest(X, Y);
}

void TCustomDBGridGx::RowPanelCellHitTest(int X, int Y)
{
    const int index = FPressedDataCol;
    StopTracking();
    if (index < 0 || index >= FColumns->Count())
        return;
    TColumnGx* column = FColumns->GetColumn(index);
    FMoveIndex = index;
    FToMoveColumnIndex = index;
    FToMoveInRowLinePos = column->InRowLinePos();
    FGridState = gsColMoving;
    SetMouseCapture(true);
    GridDragBox()->StartShow(this, TPoint(X - FTopLeftCellOffset.X, Y - FTopLeftCellOffset.Y),
                             FDragCellRect.Width(), FDragCellRect.Height());
    TrackColumnToGroupMoving(X, Y);
    SetAutoScrollTimer(60);
}

void TCustomDBGridGx::RowPanelMoveTarget(int X, int Y, int& Line, int& Target)
{
    const TRect title = CellRect(FIndicatorOffset, 0);
    const int inX = X - title.Left;
    int lastLine = 0;
    for (int i = 0; i < FColumns->Count(); ++i) {
        TColumnGx* c = FColumns->GetColumn(i);
        if (c->Visible())
            lastLine = std::max(lastLine, c->InRowLinePos() + c->InRowLineHeight() - 1);
    }
    Line = std::clamp((Y - title.Top) / std::max(1, InRowPanelLineHeight()), 0, lastLine);
    Target = -1;
    int best = -1;
    for (int i = 0; i < FColumns->Count(); ++i) {
        TColumnGx* c = FColumns->GetColumn(i);
        if (!c->Visible() || !OnLine(c, Line))
            continue;
        const int left = c->RowPlacement().Left;
        if (left < inX && left > best) {
            best = left;
            Target = i;
        }
    }
}

void TCustomDBGridGx::TrackColumnToGroupMoving(int X, int Y)
{
    if (GridState() != gsColMoving || !RowPanelActive())
        return;
    TGridDragBoxGx* box = GridDragBox();
    // Over the grouping panel the line shows where the column would go among the levels.
    if (FDataGrouping->GroupPanelVisible() && Y >= 0 && Y < OutBoundaryData()->TopIndent()) {
        box->MoveToFor(this, TPoint(X - FTopLeftCellOffset.X, Y - FTopLeftCellOffset.Y));
        ShowGroupPanelMoveLine(X);
        return;
    }
    const TRect data = DataRect();
    if (X < data.Left || X >= ClientWidth()) {
        ScrollDataPixels((X < data.Left ? -1 : 1) * std::max(1, HorzLineScrollStep() / 2), 0);
        SetAutoScrollTimer(60);
    }
    int line = 0, target = -1;
    RowPanelMoveTarget(X, Y, line, target);
    FToMoveInRowLinePos = line;
    FToMoveColumnIndex = target;
    const TRect title = CellRect(FIndicatorOffset, 0);
    const int h = InRowPanelLineHeight();
    const int top = title.Top + line * (h + GridLineWidth());
    int x = title.Left;
    if (target >= 0)
        x += PlacementRight(FColumns->GetColumn(target));
    // The line stands on the target's right edge (at the line's start without a target).
    ShowMoveLineAt(TPoint(x, top), h);
    box->MoveToFor(this, TPoint(X - FTopLeftCellOffset.X, Y - FTopLeftCellOffset.Y));
}

void TCustomDBGridGx::EndRowPanelColumnMoving(int X, int Y, bool Accept)
{
    HideMoveLine();
    if (GridDragBox()->isVisible())
        GridDragBox()->hide();
    StopAutoScrollTimer();
    FGridState = gsNormal;
    SetMouseCapture(false);
    const int moving = FMoveIndex;
    FMoveIndex = -1;
    if (!Accept || moving < 0 || moving >= FColumns->Count())
        return;
    TColumnGx* column = FColumns->GetColumn(moving);
    if (FDataGrouping->GroupPanelVisible() && Y >= 0 && Y < OutBoundaryData()->TopIndent()) {
        AddGroupLevelForColumn(column, X);
        return;
    }
    TColumnGx* target = FToMoveColumnIndex >= 0 && FToMoveColumnIndex < FColumns->Count()
                            ? FColumns->GetColumn(FToMoveColumnIndex)
                            : nullptr;
    if (target == column && FToMoveInRowLinePos == column->InRowLinePos())
        return;
    // After the last column whose right edge does not pass the target's; first without a target.
    int after = -1;
    if (target) {
        const int right = PlacementRight(target);
        for (int i = 0; i < FColumns->Count(); ++i) {
            TColumnGx* c = FColumns->GetColumn(i);
            if (c != column && PlacementRight(c) <= right)
                after = i;
        }
    }
    const int to = after < 0 ? 0 : (moving < after ? after : after + 1);
    FColumns->BeginUpdate();
    Finally end{[this] { FColumns->EndUpdate(); }};
    column->SetInRowLinePos(FToMoveInRowLinePos);
    if (column->Index() != to)
        column->SetIndex(to);
    if (FGroupDataMovingIndex >= 0) {
        // A level box dragged out of the grouping panel: its column comes back here.
        if (TGridDataGroupLevelGx* level = FDataGrouping->ActiveGroupLevel(FGroupDataMovingIndex))
            FDataGrouping->GroupLevels()->Delete(level->Index());
        FGroupDataMovingIndex = -1;
        column->SetVisible(true);
    }
}

// ---------------------------------------------------------------- the editor's buttons

void TCustomDBGridGx::PressEditorButtonAt(int X, int Y)
{
    StopTracking();
    const QPoint global = mapToGlobal(QPoint(X, Y));
    QWidget* target = QApplication::widgetAt(global);
    if (!target || !InplaceEditor()->isAncestorOf(target))
        target = InplaceEditor()->childAt(InplaceEditor()->mapFromGlobal(global));
    if (auto* control = dynamic_cast<TCustomControl*>(target)) {
        const QPoint local = control->mapFromGlobal(global);
        control->MouseDown(mbLeft, TShiftState{ssLeft}, local.x(), local.y());
    }
}
