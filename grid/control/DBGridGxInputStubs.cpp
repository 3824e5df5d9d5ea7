// Placeholders of the data grid's interaction: the in-place editor, searching,
// the current cell and the data-link reactions, selection, keyboard, mouse, edit
// actions, window messages, scrolling and incremental search. The link
// reactions and the row count are plain working versions.
#include "DBGridGx.h"
#include "DBGridGxInputSelection.h"
#include "DBGridGxParts.h"
#include "platform/db/DataSet.h"

// ---------------------------------------------------------------- data link and current cell

void TCustomDBGridGx::SetDataSource(TDataSource* Value)
{
    if (Value == FDataLink->DataSource())
        return;
    if (FBookmarks)
        FBookmarks->Clear();
    FDataLink->SetDataSource(Value);
    LinkActive(FDataLink->Active());
}

void TCustomDBGridGx::LinkActive(bool Value)
{
    AcquireMemTable();
    if (!Value)
        HideEditor();
    if (FSelection)
        FSelection->Clear();
    FSumList->SetDataSet(Value ? DataSet() : nullptr);
    if (FDestroying)
        return;
    LayoutChanged();
    UpdateScrollBar();
    FColumns->ActiveChanged();
}

void TCustomDBGridGx::Scroll(int)
{
    if (!HandleAllocated())
        return;
    if (FDataLink->ActiveRecord() >= RowCount() - TopDataOffset())
        UpdateRowCount();
    UpdateScrollBar();
    UpdateActiveRow();
    InvalidateWholeGrid();
}

void TCustomDBGridGx::UpdateActiveRow()
{
    if (!FDataLink->Active() || !HandleAllocated() || Loading())
        return;
    const int row = FDataLink->ActiveRecord() + TopDataOffset();
    if (row != Row() && row < RowCount())
        MoveColRow(Col(), row, false, false);
}

void TCustomDBGridGx::RecordChanged(TField*)
{
    if (HandleAllocated())
        InvalidateWholeGrid();
}

void TCustomDBGridGx::UpdateData() {}
void TCustomDBGridGx::EditingChanged()
{
    InvalidateIndicatorRow();
}
void TCustomDBGridGx::SetEditText(int, int, const QString& Value)
{
    FEditText = Value;
}

void TCustomDBGridGx::UpdateRowCount()
{
    if (!FDataLink)
        return;
    const int first = TopDataOffset();
    const int line = FOptions.Contains(dgRowLines) ? GridLineWidth() : 0;
    if (first >= RowCount())
        TCustomGridGx::SetRowCount(first + 1);
    TCustomGridGx::SetFixedRows(first);
    int used = 0;
    if (HasTitles()) {
        TCustomGridGx::SetRowHeights(0, FTitleRowHeight);
        used += FTitleRowHeight + line;
    }
    for (int r = HasTitles() ? 1 : 0; r < first; ++r)
        used += FStdDefaultRowHeight + line;
    if (FFooterRowCount > 0)
        used += (FStdDefaultRowHeight + line) * FFooterRowCount + line;
    const int titleHeight = HasTitles() ? FTitleRowHeight : 0;
    TCustomGridGx::SetDefaultRowHeight(FStdDefaultRowHeight);
    if (HasTitles())
        TCustomGridGx::SetRowHeights(0, titleHeight);
    TDataSet* ds = DataSet();
    if (FDataLink->Active() && ds && ds->RecordCount() > 0 && HandleAllocated()) {
        FDataLink->SetBufferCount(std::max(1, (ClientHeight() - used) / (FStdDefaultRowHeight + line)));
        TCustomGridGx::SetRowCount(FDataLink->RecordCount() + first);
        TCustomGridGx::SetContraRowCount(FFooterRowCount);
        UpdateActiveRow();
    } else {
        TCustomGridGx::SetRowCount(first + 1);
        TCustomGridGx::SetContraRowCount(FFooterRowCount);
    }
}

void TCustomDBGridGx::SetGridRowCount(int Value)
{
    TCustomGridGx::SetRowCount(Value);
}

void TCustomDBGridGx::MoveAnchorBy(int Directions)
{
    TCustomGridGx::MoveAnchorBy(Directions);
}

void TCustomDBGridGx::SelectColumnIndex(int Index, int, bool)
{
    if (Index < 0 || Index >= FColumns->Count())
        return;
    if (!RowPanelActive() && !FOptions.Contains(dgRowSelect) && Index + FIndicatorOffset < TCustomGridGx::ColCount())
        MoveColRow(Index + FIndicatorOffset, Row(), true, true);
}

void TCustomDBGridGx::SetSelectedField(TField* Value)
{
    for (int i = 0; i < FColumns->Count(); ++i)
        if (FColumns->GetColumn(i)->Field() == Value)
            SelectColumnIndex(i, 0, false);
}

void TCustomDBGridGx::UpdateColumnIme() {}
void TCustomDBGridGx::ApplyColumnIme() {}
bool TCustomDBGridGx::AnyColumnHidesDuplicates()
{
    return false;
}
bool TCustomDBGridGx::ValidFieldIndex(int FieldIndex)
{
    return FieldIndex >= 0 && FieldIndex < FDataLink->FieldCount() && FDataLink->GetMappedFieldIndex(FieldIndex) >= 0;
}

// ---------------------------------------------------------------- editor

TInplaceEdit* TCustomDBGridGx::CreateEditor()
{
    return TCustomGridGx::CreateEditor();
}
void TCustomDBGridGx::ShowEditor()
{
    TCustomGridGx::ShowEditor();
}
void TCustomDBGridGx::HideEditor()
{
    TCustomGridGx::HideEditor();
}
void TCustomDBGridGx::UpdateEdit()
{
    TCustomGridGx::UpdateEdit();
}
void TCustomDBGridGx::UpdateText()
{
    TCustomGridGx::UpdateText();
}
void TCustomDBGridGx::FocusCell(int ACol, int ARow, bool MoveAnchor)
{
    TCustomGridGx::FocusCell(ACol, ARow, MoveAnchor);
}
bool TCustomDBGridGx::LocateText(const QString&, const QString&, int, int, int, int)
{
    return false;
}

// ---------------------------------------------------------------- selection

void TCustomDBGridGx::SelectionChanged()
{
    if (OnSelectionChanged)
        OnSelectionChanged(this);
}

void TDBGridGxSelection::SetSelectionType(TDBGridGxSelectionType value)
{
    FSelectionType = value;
}
TBookmarkListGx* TDBGridGxSelection::Rows() const
{
    return FGrid->SelectedRows();
}
void TDBGridGxSelection::Clear()
{
    FColumns.Clear();
    FSelectionType = gstNon;
}
void TDBGridGxSelection::SelectAll()
{
    FSelectionType = gstAll;
}
void TDBGridGxSelection::UpdateState() {}
void TDBGridGxSelection::Refresh() {}
bool TDBGridGxSelection::DataCellSelected(int, const TBookmark&)
{
    return FSelectionType == gstAll;
}
TGridRect TDBGridGxSelection::SelectionToGridRect()
{
    return TGridRect{-1, -1, -1, -1};
}

// ---------------------------------------------------------------- keyboard and mouse

UINT TCustomDBGridGx::GetDlgCode()
{
    return TCustomGridGx::GetDlgCode();
}
bool TCustomDBGridGx::WantSpecialKey(WORD Key, TShiftState Shift)
{
    return TCustomGridGx::WantSpecialKey(Key, Shift);
}
void TCustomDBGridGx::KeyDown(WORD& Key, TShiftState Shift)
{
    TCustomGridGx::KeyDown(Key, Shift);
}
void TCustomDBGridGx::KeyPress(QChar& Key)
{
    TCustomGridGx::KeyPress(Key);
}
void TCustomDBGridGx::EnterFilterRowFromAbove() {}
void TCustomDBGridGx::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomGridGx::MouseDown(Button, Shift, X, Y);
}
void TCustomDBGridGx::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomGridGx::MouseMove(Shift, X, Y);
}
void TCustomDBGridGx::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomGridGx::MouseUp(Button, Shift, X, Y);
}
void TCustomDBGridGx::MouseLeave()
{
    TCustomGridGx::MouseLeave();
}
void TCustomDBGridGx::DblClick()
{
    TCustomGridGx::DblClick();
}
TCursor TCustomDBGridGx::CursorAt(int X, int Y)
{
    return TCustomGridGx::CursorAt(X, Y);
}
void TCustomDBGridGx::DefaultCellMouseClick(const TGridCoord&, TMouseButton, TShiftState, int, int) {}
void TCustomDBGridGx::StopTracking() {}
void TCustomDBGridGx::EndMouseOperation(int, int, bool)
{
    FDBGridGxState = dgsNormal;
}
void TCustomDBGridGx::TrackMouseSelection(TShiftState, int, int) {}
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
    if (OnCheckButton) {
        const int dc = RawToDataColumn(ACol);
        OnCheckButton(this, ACol, dc >= 0 && dc < FColumns->Count() ? FColumns->GetColumn(dc) : nullptr, Enabled);
    }
}
TGridCoord TCustomDBGridGx::PointToCell(int X, int Y)
{
    return MouseCoord(X, Y);
}
void TCustomDBGridGx::UpdateHotTrackCell(int X, int Y)
{
    TCustomGridGx::UpdateHotTrackCell(X, Y);
}

// ---------------------------------------------------------------- edit actions

bool TCustomDBGridGx::CheckCopyAction()
{
    return false;
}
bool TCustomDBGridGx::CheckCutAction()
{
    return false;
}
bool TCustomDBGridGx::CheckDeleteAction()
{
    return false;
}
bool TCustomDBGridGx::CheckPasteAction()
{
    return false;
}
bool TCustomDBGridGx::CheckSelectAllAction()
{
    return false;
}
void TCustomDBGridGx::DataInsert() {}
void TCustomDBGridGx::DataAppend() {}
bool TCustomDBGridGx::DataCanBeModified()
{
    return false;
}
bool TCustomDBGridGx::CheckEditAction(TDBGridGxEditAction)
{
    return false;
}
void TCustomDBGridGx::ExecuteEditAction(TDBGridGxEditAction) {}
void TCustomDBGridGx::DefaultIndicatorTitleMouseDown(int, int, int, int, int, int) {}
void TCustomDBGridGx::DefaultBuildIndicatorTitleMenu(QMenu*&) {}

// ---------------------------------------------------------------- messages, focus, timers

void TCustomDBGridGx::WndProc(TMessage& Message)
{
    TCustomGridGx::WndProc(Message);
}
void TCustomDBGridGx::MessageReceived(TMessage& Message)
{
    TCustomGridGx::MessageReceived(Message);
}
void TCustomDBGridGx::FocusSet()
{
    TCustomGridGx::FocusSet();
}
void TCustomDBGridGx::FocusKilled()
{
    TCustomGridGx::FocusKilled();
}
void TCustomDBGridGx::CancelMode()
{
    TCustomGridGx::CancelMode();
}
void TCustomDBGridGx::Timer(UINT id)
{
    TCustomGridGx::Timer(id);
}

// ---------------------------------------------------------------- scrolling

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
    return DataRow + 1;
}
void TCustomDBGridGx::SaveBookmark() {}
void TCustomDBGridGx::RestoreBookmark() {}
void TCustomDBGridGx::TopLeftChanged()
{
    TCustomGridGx::TopLeftChanged();
    if (OnTopLeftChanged)
        OnTopLeftChanged(this);
}
bool TCustomDBGridGx::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    return TCustomGridGx::DoMouseWheelDown(Shift, MousePos);
}
bool TCustomDBGridGx::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    return TCustomGridGx::DoMouseWheelUp(Shift, MousePos);
}
void TCustomDBGridGx::StopAutoScrollTimer() {}
void TCustomDBGridGx::ScrollBarMessage(int Bar, int ScrollCode, int Pos)
{
    TCustomGridGx::ScrollBarMessage(Bar, ScrollCode, Pos);
}

// ---------------------------------------------------------------- incremental search

void TCustomDBGridGx::StartInplaceSearch(const QString&, int, TInpsDirectionGx) {}
void TCustomDBGridGx::StopInplaceSearch()
{
    FInplaceSearching = false;
}
