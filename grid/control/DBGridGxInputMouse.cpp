// The data grid's mouse: title buttons, column sizing (line or live), column
// dragging hand-over to the base grid, record, rectangle and column selection by
// mouse with auto-scroll, edit buttons of the cell and check-box columns.
#include "DBGridGx.h"
#include "DBGridGxEdit.h"
#include "DBGridGxInputSelection.h"
#include "DBGridGxParts.h"
#include "DBGridGxStyle.h"
#include "DBGridGxUnit.h"

#include <QApplication>
#include <QGuiApplication>

namespace {

// What CursorAt answers over the record- and column-selection zones; the
// grid's own arrow cursors replace them on the window.
constexpr TCursor RecordSelectCursor = crHandPoint;
constexpr TCursor ColumnSelectCursor = crUpArrow;

// A press turns into a drag beyond this many pixels.
constexpr int DragThreshold = 3;

bool BeyondThreshold(const TPoint& a, int x, int y)
{
    return std::abs(a.X - x) > DragThreshold || std::abs(a.Y - y) > DragThreshold;
}

bool IsCheckOrImage(TColumnGx* column)
{
    const TColumnGxType t = column->GetColumnType();
    return t == ctKeyImageList || t == ctCheckboxes;
}

} // namespace

bool TCustomDBGridGx::PointInRect(const TPoint& P, const TRect& R)
{
    return P.X >= R.Left && P.X <= R.Right && P.Y >= R.Top && P.Y <= R.Bottom;
}

TColumnGx* TCustomDBGridGx::ColumnAtRaw(int ACol) const
{
    const int dc = ACol - FIndicatorOffset;
    return dc >= 0 && dc < FColumns->Count() ? FColumns->GetColumn(dc) : nullptr;
}

bool TCustomDBGridGx::InColumnSelectZone(int X, int Y)
{
    if (!FDataLink->Active() || !FOptions.Contains(dgMultiSelect) || !FOptions.Contains(dgTitles) ||
        FOptions.Contains(dgRowSelect) || !FAllowedSelections.Contains(gstColumns))
        return false;
    const TGridCoord cell = MouseCoord(X, Y);
    if (cell.Y != 0 || cell.X < FIndicatorOffset || cell.X >= TCustomGridGx::ColCount())
        return false;
    const TRect r = CellRect(cell.X, cell.Y);
    if (Y > r.Bottom)
        return false;
    return r.Bottom - r.Top < 7 || Y >= r.Bottom - 7;
}

void TCustomDBGridGx::TrackButton(int X, int Y)
{
    if (FPressedCol < 0)
        return;
    const TGridCoord cell = MouseCoord(X, Y);
    const bool over = cell.X == FPressedCol && cell.Y == 0 && X >= 0 && Y >= 0;
    if (over != FPressed) {
        FPressed = over;
        InvalidateTitle();
    }
}

void TCustomDBGridGx::StopTracking()
{
    if (FDBGridGxState == dgsRowMoving)
        EndMouseOperation(-1, -1, false);
    StopAutoScrollTimer();
    if (FTracking) {
        TrackButton(-1, -1);
        FPressed = false;
        InvalidateTitle();
    }
    FTracking = false;
    FIndicatorPressed = false;
    FDataTracking = false;
    SetMouseCapture(false);
    FPressedCol = -1;
    FPressedDataCol = -1;
    FDBGridGxState = dgsNormal;
}

void TCustomDBGridGx::TitleClick(TColumnGx* Column)
{
    if (OnTitleClick)
        OnTitleClick(Column);
}

void TCustomDBGridGx::TitleBtnClick(int ACol, TColumnGx* Column)
{
    if (OnTitleBtnClick)
        OnTitleBtnClick(this, ACol, Column);
}

void TCustomDBGridGx::CheckTitleButton(int ACol, bool& Enabled)
{
    TColumnGx* column = ColumnAtRaw(ACol);
    if (!column)
        Enabled = false;
    if (OnCheckButton)
        OnCheckButton(this, ACol, column, Enabled);
}

TGridCoord TCustomDBGridGx::PointToCell(int X, int Y)
{
    return MouseCoord(X, Y);
}

void TCustomDBGridGx::DefaultCellMouseClick(const TGridCoord& Cell, TMouseButton Button, TShiftState Shift, int X,
                                            int Y)
{
    if (FCenter)
        FCenter->CellMouseClick(this, Cell.X, Cell.Y, int(Button), int(Shift.bits()), X, Y);
}

void TCustomDBGridGx::UpdateHotTrackCell(int X, int Y)
{
    const TGridCoord old = FHotTrackCell;
    auto valid = [](const TGridCoord& c) { return c.X >= 0 && c.Y >= 0; };
    if (RowPanelActive()) {
        // The hot cell and the row-panel column under the mouse inside it.
        const TGridCoord cell = MouseCoord(X, Y);
        const bool hot = CanHotTrackCell(cell.X, cell.Y);
        const TGridCoord now = hot ? cell : TGridCoord{-1, -1};
        const TRect hotRect = hot ? CellRect(cell.X, cell.Y) : TRect();
        TColumnGx* panelColumn =
            hot ? GetColumnInRowPanelAtPos(TPoint(X - hotRect.Left, Y - hotRect.Top), HasTitles() && cell.Y == 0)
                : nullptr;
        if (!(now == old) || panelColumn != FHotTrackRowPanelColumn) {
            if (valid(old))
                InvalidateCell(old.X, old.Y);
            FHotTrackCell = now;
            FHotTrackRowPanelColumn = panelColumn;
            if (valid(now))
                InvalidateCell(now.X, now.Y);
        }
        if (valid(now)) {
            const TRect r = CellRect(now.X, now.Y);
            FHotTrackInCellPos = {X - r.Left, Y - r.Top};
        }
    } else {
        TCustomGridGx::UpdateHotTrackCell(X, Y);
    }

    const TGridCoord hot = FHotTrackCell;
    int dataCol = -1, dataRow = -1;
    TColumnGx* column = nullptr;
    TCellKindGx kind;
    if (valid(hot) && hot.X < TCustomGridGx::ColCount() && hot.Y < FullRowCount()) {
        kind = GetCellType(hot.X, hot.Y, dataCol, dataRow);
        if (kind.ColumnKind == cckDataGx && (kind.RowKind == crkDataGx || kind.RowKind == crkTitleGx))
            column = ColumnAtRaw(hot.X);
    }

    // The leaf part of a multi-level title.
    bool titleOver = false;
    if (column && kind.RowKind == crkTitleGx && IsUseMultiTitle()) {
        const int dc = RawToDataColumn(hot.X);
        THeadTreeNode* leaf = dc >= 0 && dc < int(FLeafFieldArr.size()) ? FLeafFieldArr[size_t(dc)].FLeaf : nullptr;
        if (leaf)
            titleOver = Y > CellRect(hot.X, hot.Y).Bottom - leaf->Height;
    }
    if (titleOver != FHotTrackMultiTitleOver) {
        FHotTrackMultiTitleOver = titleOver;
        if (valid(hot))
            InvalidateCell(hot.X, hot.Y);
    }

    // The edit button under the mouse; an application-wide cursor (a running
    // operation) keeps the buttons as they are.
    if (column && kind.RowKind == crkDataGx) {
        const int button = EditButtonAtPos(hot.X, hot.Y, X, Y, column);
        if (button != FHotTrackEditButton && !QGuiApplication::overrideCursor()) {
            FHotTrackEditButton = button;
            InvalidateCell(hot.X, hot.Y);
        }
    } else {
        FHotTrackEditButton = -1;
    }

    // Highlighted hot rows follow the mouse from row to row.
    if (FOptionsGx.Contains(dghHotTrack) && (FOptionsGx.Contains(dghRowHighlight) || FOptions.Contains(dgRowSelect))) {
        const bool oldInIndicator = old.X >= 0 && old.X < FIndicatorOffset;
        const bool nowInIndicator = hot.X >= 0 && hot.X < FIndicatorOffset;
        if (old.Y != hot.Y || oldInIndicator != nowInIndicator) {
            if (old.Y >= 0)
                InvalidateRow(old.Y);
            if (hot.Y >= 0)
                InvalidateRow(hot.Y);
        }
    }
}

void TCustomDBGridGx::MouseLeave()
{
    TCustomGridGx::MouseLeave();
    // The mouse has gone: no data row stays hot.
    if (FOptionsGx.Contains(dghHotTrack) && FHotTrackCell.Y > 0) {
        const int row = FHotTrackCell.Y;
        FHotTrackCell = {-1, -1};
        InvalidateRow(row);
    }
}

void TCustomDBGridGx::DblClick()
{
    TCustomGridGx::DblClick();
}

// ---------------------------------------------------------------- press

void TCustomDBGridGx::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbRight)
        SetMouseCapture(true);
    FGroupDataMovingIndex = -1;
    FStartShiftState = Shift;
    FPressedCell = TGridCoord{-1, -1};
    FPressedDataCol = -1;
    FDownMousePos = TPoint(X, Y);
    // A press anywhere but on a title's filter button closes an open in-title filter list.
    if (FInTitleFilterListboxVisible) {
        TRect button;
        if (IsTitleFilterButtonHit(MouseCoord(X, Y), TPoint(X, Y), button) == 0)
            HideInTitleFilterListbox(false);
    }
    if (!AcquireFocus())
        return;

    const TGridCoord cell = MouseCoord(X, Y);
    int dataCol = -1, dataRow = -1;
    const bool inCells = cell.X >= 0 && cell.Y >= 0 && cell.X < TCustomGridGx::ColCount() && cell.Y < FullRowCount();
    const TCellKindGx kind = inCells ? GetCellType(cell.X, cell.Y, dataCol, dataRow) : TCellKindGx{};
    if (!inCells && GroupPanelMouseDown(Button, Shift, X, Y)) {
        TCustomControl::MouseDown(Button, Shift, X, Y);
        return;
    }
    if (inCells && Button == mbLeft && !Shift.contains(ssDouble) && kind.RowKind == crkDataGx &&
        GroupRowMouseDown(X, Y, dataCol)) {
        TCustomControl::MouseDown(Button, Shift, X, Y);
        return;
    }
    if (FFilterEditMode && inCells && kind.RowKind == crkDataGx)
        LeaveFilterEditMode();
    // Row-panel titles: sizing inside the panel, title buttons and column moving.
    if (RowPanelActive() && inCells && kind.RowKind == crkTitleGx && kind.ColumnKind == cckDataGx && cell.Y == 0 &&
        HasTitles() && RowPanelTitleMouseDown(Button, Shift, X, Y))
        return;

    // Double click.
    if (Button == mbLeft && Shift.contains(ssDouble)) {
        TGridState state = gsNormal;
        int index = -1, pos = 0, ofs = 0;
        CalcSizingState(X, Y, state, index, pos, ofs, CalcGridLayout());
        bool fitted = false;
        if (state == gsColSizing && FOptionsGx.Contains(dghDblClickOptimizeColWidth)) {
            if (TColumnGx* column = ColumnAtRaw(index)) {
                OptimizeSelectedColsWidth(column);
                fitted = true;
            }
        } else if (inCells && kind.RowKind == crkDataGx && kind.ColumnKind == cckDataGx) {
            TColumnGx* column = ColumnAtRaw(cell.X);
            if (column && IsCheckOrImage(column) && column->DblClickNextVal())
                column->StepFieldValue(Shift.contains(ssShift) ? -1 : 1);
        }
        if (!fitted)
            DblClick();
        TCustomControl::MouseDown(Button, Shift, X, Y);
        return;
    }

    // The borders of frozen columns in the titles: the grid sizes them itself, with a dotted line
    // or live.
    {
        int ofs = 0, pos = 0, index = -1;
        TDBGridGxState frozen = dgsNormal;
        if (Button == mbLeft && CalcFrozenSizingState(X, Y, ofs, pos, index, frozen)) {
            FDataLink->UpdateRecord();
            FDBGridGxState = frozen;
            FSizingIndex = index;
            FSizingPos = pos;
            FSizingOfs = ofs;
            FFrozenLineSizing = !FOptionsGx.Contains(dghTraceColSizing);
            if (FFrozenLineSizing)
                DrawFrozenSizingLine(CalcGridLayout().Horz.DataLimit, height());
            SetMouseCapture(true);
            TCustomControl::MouseDown(Button, Shift, X, Y);
            return;
        }
    }
    // Sizing borders.
    {
        TGridState state = gsNormal;
        int index = -1, pos = 0, ofs = 0;
        const TGridLayoutGx layout = CalcGridLayout();
        CalcSizingState(X, Y, state, index, pos, ofs, layout);
        if (state != gsNormal) {
            FDataLink->UpdateRecord();
            if (FOptionsGx.Contains(dghTraceColSizing) && Button == mbLeft && state == gsColSizing &&
                !RowPanelActive()) {
                FFrozenLineSizing = false;
                FDBGridGxState = dgsColSizing;
                FSizingIndex = index;
                FSizingPos = pos;
                FSizingOfs = ofs;
                SetMouseCapture(true);
                TCustomControl::MouseDown(Button, Shift, X, Y);
                return;
            }
            TCustomGridGx::MouseDown(Button, Shift, X, Y);
            return;
        }
    }

    // Column selection from the lowest pixels of a title.
    if (Button == mbLeft && InColumnSelectZone(X, Y)) {
        if (TColumnGx* column = ColumnAtRaw(cell.X)) {
            InvalidateCol(cell.X);
            FDBGridGxState = dgsColSelecting;
            SetAutoScrollTimer(60);
            if (Shift.contains(ssShift)) {
                FSelection->Columns().SelectShift(column);
            } else if (Shift.contains(ssCtrl)) {
                FSelection->Columns().InvertSelect(column);
            } else {
                Invalidate();
                FSelection->Columns().Select(column, false);
            }
            SetMouseCapture(true);
            return;
        }
    }

    // Title cells of data columns.
    TMouseButton button = Button;
    if (inCells && kind.RowKind == crkTitleGx && kind.ColumnKind == cckDataGx && cell.Y == 0) {
        TRect filterButton;
        if (IsTitleFilterButtonHit(cell, TPoint(X, Y), filterButton) != 0) {
            FTrackingStateRect = filterButton;
            if (FInTitleFilterListboxVisible)
                HideInTitleFilterListbox(false);
            else
                ShowInTitleFilterListbox(ColumnAtRaw(cell.X));
            InvalidateTitle();
            TCustomControl::MouseDown(Button, Shift, X, Y);
            return;
        }
        if (button == mbRight && FOptionsGx.Contains(dghColumnMove)) {
            FSwapButtons = true;
            button = mbLeft;
        }
        if (button == mbLeft) {
            TColumnGx* column = ColumnAtRaw(cell.X);
            bool enabled = column && column->Title()->TitleButton();
            CheckTitleButton(cell.X, enabled);
            if (enabled) {
                SetMouseCapture(true);
                FTracking = true;
                FPressedCol = cell.X;
                FPressedDataCol = dataCol;
                FDBGridGxState = dgsTitleDown;
                TrackButton(X, Y);
                TCustomControl::MouseDown(Button, Shift, X, Y);
                return;
            }
        }
    }

    // A filter cell under the titles: its editor.
    if (inCells && kind.RowKind == crkFilterGx && kind.ColumnKind == cckDataGx && Button == mbLeft &&
        IsFilterCellShown(dataCol)) {
        ShowFilterEdit(dataCol);
        TCustomControl::MouseDown(Button, Shift, X, Y);
        return;
    }

    // Other title or fixed rows: the indicator title, then the base grid (column moving).
    if (inCells && kind.RowKind != crkDataGx) {
        if (cell.X < FIndicatorOffset && cell.Y == 0 && HasTitles()) {
            const TRect r = CellRect(cell.X, cell.Y);
            if (FCenter)
                FCenter->IndicatorTitleMouseDown(this, cell.X, cell.Y, int(Button), int(Shift.bits()),
                                                 X - r.Left, Y - r.Top);
            InvalidateEditor();
        }
        FDataLink->UpdateRecord();
        if (button == mbLeft && Button != mbLeft) {
            TCustomGridGx::MouseDown(mbLeft, Shift, X, Y);
            return;
        }
        TCustomGridGx::MouseDown(Button, Shift, X, Y);
        return;
    }

    if (!inCells || kind.RowKind != crkDataGx) {
        TCustomControl::MouseDown(Button, Shift, X, Y);
        return;
    }
    if (!FDataLink->Active()) {
        TCustomControl::MouseDown(Button, Shift, X, Y);
        return;
    }
    if (StartRecordsMoving(X, Y, false) || TreeSignMouseDown(X, Y, false))
        return;

    BeginUpdateGx();
    try {
        if (RowPanelActive())
            RowPanelDataMouseDown(Button, Shift, X, Y, cell);
        else
            DataMouseDown(Button, Shift, X, Y, cell, dataCol);
    } catch (...) {
        EndUpdateGx();
        throw;
    }
    EndUpdateGx();
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomDBGridGx::DataMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y, TGridCoord Cell,
                                    int DataCol)
{
    TDataSet* ds = DataSet();
    const bool indicator = Cell.X < FIndicatorOffset;
    const bool multi = FOptions.Contains(dgMultiSelect);
    const bool rowSelect = FOptions.Contains(dgRowSelect);
    // 1. Commit, hide the editor, remember where the grid was.
    FDataLink->UpdateRecord();
    HideEditor();
    const int oldCol = Col(), oldRow = Row();
    const TBookmark oldBookmark = ds->GetBookmark();
    FLockAutoShowCurCell = true;
    struct Unlock {
        bool& flag;
        ~Unlock() { flag = false; }
    } unlock{FLockAutoShowCurCell};
    // 2. A press on the row-detail sign toggles the panel.
    const bool toggleDetail = FRowDetailPanel->Active() && !indicator && IsMouseOnRowDetailSign(X, Y);
    // 3. Move to the pressed record (a press on the current one keeps an open detail panel).
    if (!(Shift.contains(ssShift) && multi && (rowSelect || indicator)) && Cell.Y != Row())
        MoveBy(Cell.Y - Row());
    // 4.
    if (toggleDetail) {
        FRowDetailPanel->SetVisible(!FRowDetailPanel->Visible());
        return;
    }
    // 5. The pressed column.
    if (!indicator && DataCol >= 0)
        SelectColumnIndex(DataCol, 0, false);
    // 6.
    if (!MouseCapture())
        return;
    // 7. A press on a selected cell may start drag and drop.
    if (FAutoDrag && !Shift.contains(ssShift) && Button == mbLeft && IsDataCellSelected(DataCol, ds->GetBookmark())) {
        FSelectedCellPressed = true;
        return;
    }
    const bool rectAllowed = IsSelectionTypeAllowed(gstRectangle);
    // 8. Data area tracking and rectangles.
    if (!indicator && !(multi && rowSelect)) {
        FTracking = true;
        FDataTracking = true;
        if (!Shift.contains(ssCtrl) && !Shift.contains(ssShift) && FOptionsGx.Contains(dghClearSelection)) {
            if (Button == mbLeft || (Button == mbRight && !IsDataCellSelected(DataCol, ds->GetBookmark())))
                ClearSelectionIfNeeded();
        }
        if (rectAllowed && Button == mbLeft && !ds->IsEmpty()) {
            if (Shift.contains(ssShift)) {
                if (FSelection->SelectionType() != gstRectangle) {
                    FSelection->Rect().Clear();
                    FSelection->Rect().Select(RawToDataColumn(oldCol), oldBookmark, false);
                }
                FSelection->Rect().Select(DataCol, ds->GetBookmark(), true);
            } else {
                FSelection->Rect().Select(DataCol, ds->GetBookmark(), false);
            }
            FDBGridGxState = dgsRectSelecting;
        }
    }
    // 9. Record selection.
    if (IsSelectionTypeAllowed(gstRecordBookmarks) && (rowSelect || indicator || !rectAllowed)) {
        if (Shift.contains(ssShift) && Cell.Y != oldRow) {
            // The range from the current record takes the current record's
            // state; Ctrl (or no clearing) toggles it instead.
            FAntiSelection = Shift.contains(ssCtrl) || !FOptionsGx.Contains(dghClearSelection);
            FSelecting = false;
            MoveBySelecting(true, Cell.Y - oldRow, true, false);
        } else if (Shift.contains(ssCtrl) || !FOptionsGx.Contains(dghClearSelection)) {
            if (Button == mbLeft)
                FBookmarks->SetCurrentRowSelected(!FBookmarks->CurrentRowSelected());
        } else if (Button == mbLeft) {
            ClearSelectionIfNeeded();
            FBookmarks->SetCurrentRowSelected(true);
        }
        if (rowSelect || indicator || !rectAllowed) {
            FIndicatorPressed = true;
            FTracking = true;
            FSelecting = true;
            FSelectionAnchor = ds->GetBookmark();
            FSelectionAnchorSelected = !FBookmarks->CurrentRowSelected();
            FAntiSelection = Shift.contains(ssCtrl) || !FOptionsGx.Contains(dghClearSelection);
            FDBGridGxState = dgsRowSelecting;
        }
    }
    const bool wasCurrent = Cell.X == oldCol && Cell.Y == oldRow;
    // 10.
    if (Button == mbLeft && AlwaysShowEditorActive() && (wasCurrent || FOptions.Contains(dgAlwaysShowEditor)))
        ShowEditor();
    // 11. Edit buttons of the cell.
    if (Button == mbRight || indicator) {
        InvalidateEditor();
        return;
    }
    TColumnGx* column = ColumnAtRaw(Cell.X);
    if (!column)
        return;
    OpenEditorOnClick(column, CellRect(Cell.X, Cell.Y), X, Y, wasCurrent);
    if (IsCheckOrImage(column))
        FPressedCell = Cell;
}

// ---------------------------------------------------------------- move

void TCustomDBGridGx::ShowSelectCursor(int X, int Y)
{
    // The grid's own arrows over the indicator and the lowest pixels of titles.
    const TCursor c = CursorAt(X, Y);
    if (c == RecordSelectCursor || c == ColumnSelectCursor)
        if (const QCursor* own = DBGridGxCursor(c == ColumnSelectCursor ? 0 : 1))
            QWidget::setCursor(*own);
}

void TCustomDBGridGx::MouseMove(TShiftState Shift, int X, int Y)
{
    FMoveMousePos = TPoint(X, Y);
    if (GroupPanelMouseMove(Shift, X, Y))
        return;
    if (GridState() == gsNormal && FDBGridGxState == dgsNormal) {
        ShowSelectCursor(X, Y);
        HintMouseMoved(X, Y);
    }
    if (FSelectedCellPressed) {
        FSelectedCellPressed = false;
        return;
    }
    if (RowPanelActive()) {
        if (GridState() == gsColMoving) {
            TrackColumnToGroupMoving(X, Y);
            return;
        }
        if (FTracking && FPressedCol != -1) {
            // A pressed title moved beyond the threshold moves its column inside the panel.
            if (MouseCapture() && HasTitles() && FOptionsGx.Contains(dghColumnMove) && GridState() == gsNormal &&
                (FDBGridGxState == dgsNormal || FDBGridGxState == dgsTitleDown) &&
                BeyondThreshold(FDownMousePos, X, Y))
                RowPanelColumnHitTest(X, Y);
            else if (FPressedAsButton)
                TrackButton(X, Y);
            return;
        }
    }
    if (FDBGridGxState == dgsRowMoving) {
        int row = 0, level = 0;
        CalcRecordsDropPosition(X, Y, row, level);
        return;
    }
    // A pressed title button.
    if (FTracking && FPressedCol != -1) {
        TrackButton(X, Y);
        if (FOptionsGx.Contains(dghColumnMove) && BeyondThreshold(FDownMousePos, X, Y)) {
            const TPoint down = FDownMousePos;
            StopTracking();
            SetMouseCapture(true);
            TCustomGridGx::MouseDown(mbLeft, TShiftState{ssLeft}, down.X, down.Y);
            TCustomGridGx::MouseMove(Shift, X, Y);
        }
        return;
    }
    if (FIndicatorPressed || FDataTracking || FDBGridGxState == dgsRectSelecting) {
        const int gridWidth = width(), gridHeight = height();
        const int cx = std::clamp(X, 0, std::max(0, gridWidth - 1));
        const int cy = std::clamp(Y, 0, std::max(0, gridHeight - 1));
        const TGridCoord cell = MouseCoord(cx, cy);
        const bool addSel = !(FMoveMousePos == FDownMousePos);
        const TRect data = DataRect();
        if (Y > data.Top && Y < data.Bottom && cell.Y >= TopDataOffset() && cell.Y != Row())
            MoveBySelecting(Shift.contains(ssLeft) && addSel, cell.Y - Row(), FDBGridGxState != dgsRectSelecting,
                            false);
        if (FDataTracking && X > data.Left && X < data.Right && cell.X >= FIndicatorOffset && cell.X != Col()) {
            const int dc = RawToDataColumn(cell.X);
            SelectColumnIndex(dc, dc > SelectedIndex() ? 1 : -1, false);
            if (FDBGridGxState == dgsRectSelecting)
                FSelection->Rect().Select(SelectedIndex(), DataSet()->GetBookmark(), true);
        }
        FDownMousePos = TPoint(X, Y);
        FMouseShift = Shift;
        TrackMouseSelection(Shift, X, Y);
        return;
    }
    if (FDBGridGxState == dgsColSelecting) {
        const TRect data = DataRect();
        const TGridCoord cell = MouseCoord(X, 0);
        if (X >= data.Left && X < data.Right && ColumnAtRaw(cell.X))
            FSelection->Columns().SelectShift(ColumnAtRaw(cell.X));
        else
            TrackMouseSelection(Shift, X, Y);
        return;
    }
    // A column title over the grouping panel: the line shows where among the levels it would drop.
    if (GridState() == gsColMoving && OverGroupPanel(TPoint(X, Y))) {
        FColMoveOverGroupPanel = true;
        ShowGroupPanelMoveLine(X);
        return;
    }
    if (GridState() == gsColMoving && FColMoveOverGroupPanel) {
        // Back among the titles: the grid's own line, as high as the grid.
        FColMoveOverGroupPanel = false;
        HideMoveLine();
        DrawMove(CalcGridLayout());
    }
    if (FDBGridGxState == dgsColSizing && FFrozenLineSizing) {
        const int limit = CalcGridLayout().Horz.DataLimit;
        DrawFrozenSizingLine(limit, height());
        FSizingPos = FSizingOfs + X;
        DrawFrozenSizingLine(limit, height());
        return;
    }
    if (FDBGridGxState == dgsColSizing ||
        (GridState() == gsColSizing && FOptionsGx.Contains(dghTraceColSizing) && !RowPanelActive())) {
        LiveColumnSizing(X);
        return;
    }
    TCustomGridGx::MouseMove(Shift, X, Y);
}

void TCustomDBGridGx::LiveColumnSizing(int X)
{
    const int index = FSizingIndex;
    if (index < 0 || index >= FullColCount())
        return;
    const TRect cell = CellRect(index, 0);
    // A column of the right-fixed part grows to the left: from the mouse to its right edge.
    int width = index >= TCustomGridGx::ColCount() ? cell.Right - X : X - cell.Left;
    if (FAutoFitColWidths) {
        // Leave each column from the sized one to the last at least a pixel.
        const int rest = TCustomGridGx::ColCount() - index;
        if (X > ClientWidth() - rest * (1 + GridLineWidth()))
            return;
    }
    width = std::max(1, width);
    if (width != ColWidths(index))
        SetColWidths(index, width);
}

// ---------------------------------------------------------------- release

void TCustomDBGridGx::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FDSMouseCapture = false;
    if (GroupPanelMouseUp(X, Y)) {
        TCustomControl::MouseUp(Button, Shift, X, Y);
        return;
    }
    const TGridCoord cell = MouseCoord(X, Y);
    int dataCol = -1, dataRow = -1;
    const bool inCells = cell.X >= 0 && cell.Y >= 0 && cell.X < TCustomGridGx::ColCount() && cell.Y < FullRowCount();
    const TCellKindGx kind = inCells ? GetCellType(cell.X, cell.Y, dataCol, dataRow) : TCellKindGx{};

    if (RowPanelActive()) {
        if (GridState() == gsColMoving) {
            EndRowPanelColumnMoving(X, Y, true);
            TCustomControl::MouseUp(Button, Shift, X, Y);
            return;
        }
        if (GridState() == gsColSizing || GridState() == gsRowSizing) {
            RowPanelSizingMouseUp(Shift, X, Y);
            TCustomControl::MouseUp(Button, Shift, X, Y);
            return;
        }
    }
    if (FDBGridGxState == dgsRowMoving)
        EndMouseOperation(X, Y, true);
    if (FSelectedCellPressed) {
        FSelectedCellPressed = false;
        if (Shift.contains(ssCtrl) && FOptions.Contains(dgRowSelect))
            FBookmarks->SetCurrentRowSelected(!FBookmarks->CurrentRowSelected());
        else if (FOptionsGx.Contains(dghClearSelection))
            ClearSelectionIfNeeded();
    } else if (FDBGridGxState == dgsColSizing) {
        if (FFrozenLineSizing) {
            // The line goes; the column takes the width up to it, when more than a pixel.
            const TGridLayoutGx layout = CalcGridLayout();
            DrawFrozenSizingLine(layout.Horz.DataLimit, height());
            FFrozenLineSizing = false;
            int left = layout.Horz.NearIndent;
            for (int col = 0; col < FSizingIndex; ++col)
                left += ColWidths(col) + TCustomGridGx::GridLineWidth();
            const int width = FSizingPos - left;
            if (width > 1 && FSizingIndex >= 0 && FSizingIndex < TCustomGridGx::ColCount())
                SetColWidths(FSizingIndex, width);
        }
        FDBGridGxState = dgsNormal;
        SetMouseCapture(false);
        TCustomControl::MouseUp(Button, Shift, X, Y);
        return;
    }

    FColMoveOverGroupPanel = false;
    const TDBGridGxState state = FDBGridGxState;
    FDBGridGxState = dgsNormal;
    const TGridState baseState = GridState();
    FSelecting = false;
    // A row the user sized gives the default height of the data rows.
    if (baseState == gsRowSizing)
        FDefaultRowChanged = true;

    // Title button release.
    if (FTracking && FPressedCol >= 0) {
        const int pressed = FPressedCol, pressedData = FPressedDataCol;
        bool counts = X >= 0 && Y >= 0 && X < ClientWidth() && Y < ClientHeight() && cell.Y == 0 &&
                      cell.X == pressed;
        TColumnGx* column = counts ? ColumnAtRaw(pressed) : nullptr;
        if (RowPanelActive()) {
            // Inside a panel the click counts on the pressed column, when it is a title button.
            column = counts && FPressedAsButton ? RowPanelColumnAt(X, Y, true) : nullptr;
            if (column && column->Index() != pressedData)
                column = nullptr;
        }
        FPressedAsButton = false;
        StopTracking();
        if (counts) {
            if (column) {
                TitleBtnClick(column->Index() + FIndicatorOffset, column);
                FSortMarking = Shift.contains(ssCtrl);
                if (FOptionsGx.Contains(dghAutoSortMarking))
                    column->Title()->SetNextSortMarkerValue(Shift.contains(ssCtrl) &&
                                                            FOptionsGx.Contains(dghMultiSortMarking));
                if (!Shift.contains(ssCtrl))
                    SortMarkingChanged();
            }
        }
    }
    if (FSwapButtons) {
        FSwapButtons = false;
        SetMouseCapture(false);
        Button = mbLeft;
    }
    if (FIndicatorPressed || FDataTracking)
        StopTracking();
    if (state != dgsNormal)
        StopAutoScrollTimer();

    const bool wasSizing = baseState == gsColSizing || baseState == gsRowSizing;
    TCustomGridGx::MouseUp(Button, Shift, X, Y);
    if (wasSizing)
        return;
    if (InplaceEditorVisible() && PtInRect(TRect(InplaceEditor()->geometry()), TPoint(X, Y)))
        return;
    if (Button == mbLeft && inCells && kind.ColumnKind == cckDataGx) {
        TColumnGx* column =
            RowPanelActive() ? RowPanelColumnAt(X, Y, kind.RowKind == crkTitleGx) : ColumnAtRaw(cell.X);
        if (column) {
            if (kind.RowKind == crkTitleGx)
                TitleClick(column);
            else if (kind.RowKind == crkDataGx && !TreeSignMouseDown(X, Y, true))
                CellClick(column);
        }
    }
    FDefaultRowChanged = false;
    // Check boxes.
    if (inCells && FPressedCell.X == cell.X && FPressedCell.Y == cell.Y && kind.RowKind == crkDataGx) {
        TColumnGx* column = ColumnAtRaw(cell.X);
        if (RowPanelActive()) {
            // In a panel: the pressed check-box column, when the release falls on it too.
            column = RowPanelColumnAt(X, Y, false);
            if (column && column->Index() != FPressedRowPanelColumn)
                column = nullptr;
        }
        if (column && IsCheckOrImage(column) && !column->DblClickNextVal() && !Shift.contains(ssDouble) &&
            column->CanModify(false))
            column->StepFieldValue(Shift.contains(ssShift) ? -1 : 1);
    }
    FPressedCell = TGridCoord{-1, -1};
    FPressedRowPanelColumn = -1;
}

TCursor TCustomDBGridGx::CursorAt(int X, int Y)
{
    if (GridState() != gsNormal || FDBGridGxState != dgsNormal) {
        if (FDBGridGxState == dgsColSizing)
            return crHSplit;
        return TCustomGridGx::CursorAt(X, Y);
    }
    if (IsOnSizingBorder(X, Y))
        return crHSplit;
    {
        TGridState state = gsNormal;
        int index = -1, pos = 0, ofs = 0;
        CalcSizingState(X, Y, state, index, pos, ofs, CalcGridLayout());
        if (state != gsNormal)
            return TCustomGridGx::CursorAt(X, Y);
    }
    if (FDataLink->Active() && FOptions.Contains(dgMultiSelect)) {
        const TGridCoord cell = MouseCoord(X, Y);
        TDataSet* ds = DataSet();
        if (cell.X >= 0 && cell.X < FIndicatorOffset && cell.Y >= TopDataOffset() && cell.Y < RowCount() && ds &&
            !(ds->Bof() && ds->Eof()) && FAllowedSelections.Contains(gstRecordBookmarks))
            return RecordSelectCursor;
        if (InColumnSelectZone(X, Y))
            return ColumnSelectCursor;
    }
    return TCustomGridGx::CursorAt(X, Y);
}

void TCustomDBGridGx::OpenEditorOnClick(TColumnGx* Column, const TRect& Place, int X, int Y, bool WasCurrent)
{
    const int buttons = Column->EditButtonsWidth();
    const TRect area(Place.Right - buttons, Place.Top, Place.Right, Place.Bottom);
    const bool inButtons = buttons > 0 && PointInRect(TPoint(X, Y), area);
    if (FOptions.Contains(dgAlwaysShowEditor) || inButtons || WasCurrent)
        ShowEditor();
    if (InplaceEditorVisible() && inButtons)
        PressEditorButtonAt(X, Y);
}
