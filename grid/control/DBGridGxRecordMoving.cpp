// Record dragging by the indicator cell with its dotted insertion line, the
// move of the dragged or selected records, and tree data over a memory table:
// the tree area of the first visible column and its expand sign.
#include "DBGridGx.h"
#include "DBGridGxDataLink.h"
#include "DBGridGxGrouping.h"
#include "DBGridGxParts.h"
#include "DBGridGxStyle.h"
#include "grid/support/MemTableGx.h"
#include "grid/support/ToolCtrlsGxDraw.h"
#include "platform/db/DataSet.h"

#include <QApplication>
#include <QPainter>
#include <algorithm>

namespace {

// Width of one tree level.
constexpr int kTreeLevelWidth = 18;

// The dotted grey insertion line over the grid.
class TDataRowMoveLineGx : public QWidget {
public:
    explicit TDataRowMoveLineGx(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        for (int x = 0; x < width(); x += 2)
            p.fillRect(x, 0, 1, height(), ToQColor(TColor(0xC0C0C0)));
    }
};

struct DrawRecordScope {
    TCustomDBGridGx* grid;
    DrawRecordScope(TCustomDBGridGx* g, int dataRow) : grid(g) { grid->SelectDrawRecord(dataRow); }
    ~DrawRecordScope() { grid->RestoreDrawRecord(); }
};

} // namespace

bool TCustomDBGridGx::IsTreeMode() const
{
    return FIntMemTable && FIntMemTable->GetTreeViewActive();
}

// ---------------------------------------------------------------- starting a drag

bool TCustomDBGridGx::CanStartRecordsMoving(int&, int&, const TPoint&)
{
    return true;
}

bool TCustomDBGridGx::StartRecordsMoving(int X, int Y, bool CheckOnly)
{
    if (!FDataLink->Active() || !FOptionsGx.Contains(dghRecordMoving))
        return false;
    const TGridCoord cell = MouseCoord(X, Y);
    if (cell.X < 0 || cell.Y < 0)
        return false;
    int dataCol = 0, dataRow = 0;
    const TCellKindGx kind = GetCellType(cell.X, cell.Y, dataCol, dataRow);
    if (kind.ColumnKind != cckIndicatorGx || kind.RowKind != crkDataGx || DataSet()->IsEmpty() ||
        dataRow >= DrawRecordCount())
        return false;
    TBookmark bookmark;
    int level = -1;
    {
        DrawRecordScope scope(this, dataRow);
        bookmark = DataSet()->GetBookmark();
        if (IsTreeMode())
            level = FIntMemTable->GetTreeNodeLevel();
        if (FOptions.Contains(dgMultiSelect) && IsSelectionTypeAllowed(gstRecordBookmarks)) {
            const Qt::KeyboardModifiers mods = QApplication::keyboardModifiers();
            if (!FBookmarks->CurrentRowSelected() ||
                (mods & (Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier)))
                return false;
        }
    }
    if (CheckOnly)
        return true;
    FMoveRowSour = FMoveRowDest = cell.Y;
    FMoveBookmarkSour = bookmark;
    FMoveRowSourLevel = level;
    int origin = cell.Y, destination = cell.Y;
    if (CanStartRecordsMoving(origin, destination, TPoint(X, Y))) {
        FDBGridGxState = dgsRowMoving;
        SetMouseCapture(true);
        FMoveRowLeftBounds = CalcMoveRowLineBounds(cell.Y, TPoint(X, Y), FMoveRowDestLevel);
        DrawDataRowMoveLine();
        SetAutoScrollTimer(60);
        FTracking = true;
    }
    return true;
}

int TCustomDBGridGx::CalcMoveRowLineBounds(int ARow, const TPoint& MousePt, int& Level)
{
    if (!IsTreeMode()) {
        Level = -1;
        return 0;
    }
    const int first = TopDataOffset();
    const int row = std::clamp(ARow, first, std::max(first, first + DrawRecordCount() - 1));
    int recordLevel = 1;
    {
        DrawRecordScope scope(this, row - first);
        recordLevel = FIntMemTable->GetTreeNodeLevel();
    }
    const int left = CellRect(FIndicatorOffset, row).Left;
    Level = recordLevel;
    // Further right the level follows the mouse, at most one deeper than the record's.
    const int byMouse = (MousePt.X - left) / kTreeLevelWidth;
    if (byMouse > Level)
        Level = std::min(byMouse, recordLevel + 1);
    return left + Level * kTreeLevelWidth;
}

// ---------------------------------------------------------------- the insertion line

QRect TCustomDBGridGx::DataRowMoveLineRect() const
{
    return FDataRowMoveLine && FDataRowMoveVisible ? FDataRowMoveLine->geometry() : QRect();
}

void TCustomDBGridGx::DrawDataRowMoveLine()
{
    if (!FDataRowMoveLine)
        FDataRowMoveLine = new TDataRowMoveLineGx(this);
    if (FDataRowMoveVisible) {
        HideDataRowMoveLine();
        return;
    }
    const TRect r = CellRect(FIndicatorOffset, FMoveRowDest);
    // Below the destination when the source lies above it (or deeper on the same row), else above it.
    const bool below = FMoveRowSour < FMoveRowDest ||
                       (FMoveRowSour == FMoveRowDest && FMoveRowDestLevel > FMoveRowSourLevel);
    const int y = below ? r.Bottom : r.Top - 1;
    FDataRowMoveLeftBoundary = FMoveRowLeftBounds;
    FDataRowMoveRightBoundary = std::min(CalcGridLayout().Horz.DataEnd, ClientWidth());
    FDataRowMoveLine->setGeometry(FDataRowMoveLeftBoundary, std::max(0, y),
                                  std::max(1, FDataRowMoveRightBoundary - FDataRowMoveLeftBoundary), 1);
    FDataRowMoveLine->show();
    FDataRowMoveLine->raise();
    FDataRowMoveVisible = true;
}

void TCustomDBGridGx::HideDataRowMoveLine()
{
    if (FDataRowMoveLine)
        FDataRowMoveLine->hide();
    FDataRowMoveVisible = false;
}

// ---------------------------------------------------------------- following the mouse

void TCustomDBGridGx::CalcRecordsDropPosition(int X, int Y, int& DropRow, int& DropLevel)
{
    DropRow = FMoveRowDest;
    DropLevel = FMoveRowDestLevel;
    if (FDBGridGxState != dgsRowMoving)
        return;
    const int first = TopDataOffset();
    const int last = first + std::max(0, DrawRecordCount() - 1);
    const TRect data = DataRect();
    int row = MouseCoord(std::max(X, 0), Y).Y;
    // Near the edges the records scroll by one.
    if (Y < data.Top + 2 || (Y >= data.Bottom - 2 && Y < ClientHeight())) {
        const int step = Y < data.Top + 2 ? -1 : 1;
        const bool shown = FDataRowMoveVisible;
        if (shown)
            HideDataRowMoveLine();
        if (FIntMemTable)
            SafeMoveTop(TopRow() + step);
        else
            FDataLink->MoveBy(step == -1 ? -FDataLink->ActiveRecord() - 1
                                         : FDataLink->RecordCount() - FDataLink->ActiveRecord());
        if (shown)
            DrawDataRowMoveLine();
        row = step == -1 ? first : last;
    }
    if (row < first)
        row = first;
    if (row > last || row < 0)
        row = last;
    int level = -1;
    const int left = CalcMoveRowLineBounds(row, TPoint(X, Y), level);
    if (row != FMoveRowDest || level != FMoveRowDestLevel || left != FMoveRowLeftBounds) {
        if (FDataRowMoveVisible)
            HideDataRowMoveLine();
        FMoveRowDest = row;
        FMoveRowDestLevel = level;
        FMoveRowLeftBounds = left;
        DrawDataRowMoveLine();
    }
    DropRow = FMoveRowDest;
    DropLevel = FMoveRowDestLevel;
}

// ---------------------------------------------------------------- ending the drag

void TCustomDBGridGx::EndMouseOperation(int X, int Y, bool Accept)
{
    if (FDBGridGxState != dgsRowMoving) {
        FDBGridGxState = dgsNormal;
        return;
    }
    StopAutoScrollTimer();
    HideDataRowMoveLine();
    FDBGridGxState = dgsNormal;
    int origin = FMoveRowSour, destination = FMoveRowDest;
    if (Accept && EndRowDrag(origin, destination, TPoint(X, Y)) &&
        (FMoveRowDest != FMoveRowSour || FMoveRowDestLevel != FMoveRowSourLevel))
        MoveSelectedRecords(FMoveRowDest - TopDataOffset(), FMoveRowDestLevel, false);
}

bool TCustomDBGridGx::MoveSelectedRecords(int DataRow, int TreeLevel, bool CheckOnly)
{
    if (FBookmarks->Count() > 0)
        return MoveDataRows(FBookmarks.get(), DataRow, TreeLevel, CheckOnly);
    TBMListGx list;
    list.AppendItem(FMoveBookmarkSour);
    return MoveDataRows(&list, DataRow, TreeLevel, CheckOnly);
}

bool TCustomDBGridGx::MoveDataRows(TBMListGx* BookmarkList, int DataRow, int TreeLevel, bool CheckOnly)
{
    if (OnMoveRecords)
        return OnMoveRecords(this, BookmarkList, DataRowToRecNo(DataRow), TreeLevel, CheckOnly);
    return DefaultMoveDataRows(BookmarkList, DataRowToRecNo(DataRow), TreeLevel, CheckOnly);
}

bool TCustomDBGridGx::DefaultMoveDataRows(TBMListGx* BookmarkList, int ToRecNo, int TreeLevel, bool CheckOnly)
{
    if (FIntMemTable)
        return FIntMemTable->MoveRecordsToRecNo(BookmarkList, ToRecNo, TreeLevel, CheckOnly);
    TDataSet* ds = DataSet();
    if (!DataSource() || !ds)
        return false;
    const int a = FDataLink->ActiveRecord();
    const int c = FDataLink->RecordCount();
    const int d = a + ((c + 1) % 2) - c / 2;
    int recNo = 0;
    {
        const int at = std::clamp(a - FLookedOffset, 0, std::max(0, c - 1));
        const int saved = FDataLink->ActiveRecord();
        FDataLink->SetActiveRecord(at);
        recNo = ds->RecNo();
        FDataLink->SetActiveRecord(saved);
    }
    const bool moved = FCenter && FCenter->MoveRecords(this, BookmarkList, ToRecNo, CheckOnly) != 0;
    if (CheckOnly)
        return moved;
    if (recNo > 0)
        ds->SetRecNo(recNo);
    ds->MoveBy(d);
    return moved;
}

// ---------------------------------------------------------------- tree data

int TCustomDBGridGx::GetCellTreeElmentsAreaWidth()
{
    if (!IsTreeMode())
        return 0;
    return std::max(0, FIntMemTable->GetTreeNodeLevel() * kTreeLevelWidth);
}

void TCustomDBGridGx::DrawDataTreeElement(int, int, const TRect& ARect)
{
    if (!IsTreeMode())
        return;
    TCanvas* canvas = Canvas();
    TColor back = Color();
    if (FDataLink->Active() && FBookmarks->CurrentRowSelected())
        back = clHighlight;
    const int level = std::max(1, FIntMemTable->GetTreeNodeLevel());
    const bool parity = (FStdDefaultRowHeight % 2 == 1) && (TopRow() % 2 == 1);
    canvas->Brush()->SetColor(back);
    canvas->FillRect(TRect(ARect.Left, ARect.Top, ARect.Left + level * kTreeLevelWidth, ARect.Bottom));
    // The ancestors' connectors.
    for (int l = 1; l < level; ++l) {
        const TRect box(ARect.Left + (l - 1) * kTreeLevelWidth, ARect.Top, ARect.Left + l * kTreeLevelWidth,
                        ARect.Bottom);
        if (FIntMemTable->GetPrevNodeHaveNextSibling(l))
            DrawTreeElement(canvas, box, 11, false, 1, 1, parity);
    }
    // The node's own box.
    const TRect own(ARect.Left + (level - 1) * kTreeLevelWidth, ARect.Top, ARect.Left + level * kTreeLevelWidth,
                    ARect.Bottom);
    const bool down = FIntMemTable->GetPrevNodeHaveNextSibling(level);
    const bool up = level > 1 || FIntMemTable->GetInstantReadCurRecordView() > 0;
    int kind;
    if (FIntMemTable->GetTreeNodeHasChildren()) {
        const int sub = up && down ? 0 : up ? 1 : down ? 2 : 3;
        kind = (FIntMemTable->GetTreeNodeExpanded() ? 0 : 4) + sub;
    } else {
        kind = up && down ? 8 : down && !up ? 10 : 9;
    }
    DrawTreeElement(canvas, own, kind, false, 1, 1, parity);
    if (FOptions.Contains(dgRowLines)) {
        canvas->Pen()->SetColor(TColor(0xC0C0C0));
        const int x = ARect.Left + level * kTreeLevelWidth - 1;
        canvas->MoveTo(x, ARect.Top);
        canvas->LineTo(x, ARect.Bottom);
    }
}

void TCustomDBGridGx::PaintDetailStripSigns(int DataRow, const TRect& Strip)
{
    // Grouped records: the level blocks run on down the strip, one level deeper.
    if (FExtraFirstColumnWidth > 0 && GroupNodeAtDataRow(DataRow)) {
        DrawGroupExtraColumn(-1, DataRow + TopDataOffset(), Strip, FDataGrouping->ActiveGroupLevelsCount() + 1);
        return;
    }
    if (!IsTreeMode() || DataRow < 0 || DataRow >= DrawRecordCount())
        return;
    SelectDrawRecord(DataRow);
    struct Restore {
        TCustomDBGridGx* g;
        ~Restore() { g->RestoreDrawRecord(); }
    } restore{this};
    // Tree data: the lines of the levels that go on below the record, and of its open children.
    TCanvas* canvas = Canvas();
    const int level = std::max(1, FIntMemTable->GetTreeNodeLevel());
    const bool parity = (FStdDefaultRowHeight % 2 == 1) && (TopRow() % 2 == 1);
    const int last = FIntMemTable->GetTreeNodeHasChildren() && FIntMemTable->GetTreeNodeExpanded() ? level + 1 : level;
    for (int l = 1; l <= last; ++l) {
        if (l <= level && !FIntMemTable->GetPrevNodeHaveNextSibling(l))
            continue;
        const TRect box(Strip.Left + (l - 1) * kTreeLevelWidth, Strip.Top, Strip.Left + l * kTreeLevelWidth, Strip.Bottom);
        DrawTreeElement(canvas, box, 11, false, 1, 1, parity);
    }
}

bool TCustomDBGridGx::TreeSignMouseDown(int X, int Y, bool CheckOnly)
{
    if (!IsTreeMode() || !FDataLink->Active() || FVisibleColumns.Count() == 0)
        return false;
    const TGridCoord cell = MouseCoord(X, Y);
    if (cell.X < 0 || cell.Y < 0)
        return false;
    int dataCol = 0, dataRow = 0;
    if (GetCellType(cell.X, cell.Y, dataCol, dataRow).RowKind != crkDataGx || dataCol < 0 ||
        dataCol >= FColumns->Count() || FColumns->GetColumn(dataCol) != FVisibleColumns.GetColumn(0) ||
        dataRow >= DrawRecordCount())
        return false;
    const int inCellX = X - CellRect(cell.X, cell.Y).Left;
    int area = 0, view = -1;
    bool expanded = false;
    {
        DrawRecordScope scope(this, dataRow);
        area = GetCellTreeElmentsAreaWidth();
        view = FIntMemTable->GetInstantReadCurRecordView();
        expanded = FIntMemTable->GetTreeNodeExpanded();
    }
    if (inCellX < 0 || inCellX >= area)
        return false;
    if (CheckOnly)
        return true;
    if (inCellX >= area - kTreeLevelWidth && view >= 0) {
        TDataSet* ds = DataSet();
        const int top = TopRow();
        ds->DisableControls();
        const int goTo = [&] {
            struct Enable {
                TDataSet* ds;
                ~Enable() { ds->EnableControls(); }
            } enable{ds};
            const int to = FIntMemTable->SetTreeNodeExpanded(view, !expanded);
            if (to >= 0)
                FIntMemTable->SetCurRecordView(to);
            return to;
        }();
        (void)goTo;
        LockPaint();
        const bool locked = FLockAutoShowCurCell;
        FLockAutoShowCurCell = true;
        SafeMoveTop(top);
        FLockAutoShowCurCell = locked;
        UnlockPaint();
        Invalidate();
        UpdateScrollBar();
    }
    return true;
}

bool TCustomDBGridGx::ToggleNodeOrDetailByKey(WORD Key)
{
    if (!FDataLink->Active() || DataSet()->IsEmpty())
        return false;
    if (IsTreeMode()) {
        const int view = FIntMemTable->GetInstantReadCurRecordView();
        const bool expanded = FIntMemTable->GetTreeNodeExpanded();
        const bool want = Key == VK_MULTIPLY ? !expanded : Key == VK_ADD;
        if (view >= 0 && want != expanded) {
            const int top = TopRow();
            const int to = FIntMemTable->SetTreeNodeExpanded(view, want);
            if (to >= 0)
                FIntMemTable->SetCurRecordView(to);
            SafeMoveTop(top);
            Invalidate();
            UpdateScrollBar();
        }
        return true;
    }
    bool allowed = FRowDetailPanel->Active();
    if (allowed && OnCheckRowHaveDetailPanel)
        OnCheckRowHaveDetailPanel(this, allowed);
    if (!allowed)
        return false;
    const bool show = Key == VK_MULTIPLY ? !FRowDetailPanel->Visible() : Key == VK_ADD;
    FRowDetailPanel->SetVisible(show);
    return true;
}
