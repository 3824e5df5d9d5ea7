// The data grid's current cell and its reactions to the data link: the link
// opening and closing, the dataset scrolling, records changing, the edit commit
// of the in-place editor's text, the row count and the current column.
#include "DBGridGx.h"
#include "DBGridGxInputSelection.h"
#include "DBGridGxParts.h"
#include "platform/db/DataSet.h"

namespace {

bool IsMemoType(TField* field)
{
    return field->DataType() == ftMemo || field->DataType() == ftWideMemo;
}

QString CrLf(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

} // namespace

// ---------------------------------------------------------------- link opened or closed

void TCustomDBGridGx::SetDataSource(TDataSource* Value)
{
    if (Value == FDataLink->DataSource())
        return;
    ClearSelection();
    FDataLink->SetDataSource(Value);
    LinkActive(FDataLink->Active());
    FSumList->SetDataSet(Value ? Value->DataSet() : nullptr);
}

void TCustomDBGridGx::LinkActive(bool Value)
{
    if (!Value && FRowDetailPanel->Visible())
        FRowDetailPanel->SetVisible(false);
    AcquireMemTable();
    if (!Value)
        HideEditor();
    if (FSelection)
        FSelection->LinkActive(Value);
    FSumList->SetDataSet(Value ? DataSet() : nullptr);
    if (FIntMemTable) {
        if (FDataGrouping->IsGroupingWorks())
            SortMarkingChanged();
        MemTableDataEvent(-1, 4, 0);
        UpdateRowCount();
    }
    if (FDestroying)
        return;
    LayoutChanged();
    if (Value) {
        // The current row follows the reopened data set's current record before an editor is
        // shown over it, so that the editor shows the value of the row it stands on.
        if (!FIntMemTable && FDataLink->ActiveRecord() >= RowCount() - TopDataOffset())
            UpdateRowCount();
        UpdateActiveRow();
    }
    if (Value && AlwaysShowEditorActive())
        ShowEditor();
    UpdateScrollBar();
    AcquireMemTable();
    FColumns->ActiveChanged();
}

// ---------------------------------------------------------------- dataset scrolled

void TCustomDBGridGx::Scroll(int Distance)
{
    if (FRowDetailPanel->Visible())
        FRowDetailPanel->SetVisible(false);
    if (FIntMemTable) {
        MemTableUpdateActiveRow(Distance);
        return;
    }
    if (!HandleAllocated())
        return;
    const int lastCol = std::max(FIndicatorOffset, TCustomGridGx::ColCount() - 1);
    const TRect oldRect = BoxRect(0, Row(), lastCol, Row());
    if (FDataLink->ActiveRecord() >= RowCount() - TopDataOffset())
        UpdateRowCount();
    UpdateScrollBar();
    UpdateActiveRow();
    const TRect newRect = BoxRect(0, Row(), lastCol, Row());
    InvalidateRect(oldRect);
    InvalidateRect(newRect);
    if (Distance != 0) {
        struct ShowAgain {
            TCustomDBGridGx* grid;
            ~ShowAgain()
            {
                if (grid->FOptions.Contains(dgAlwaysShowEditor))
                    grid->ShowEditor();
            }
        } again{this};
        HideEditor();
        const int visible = VisibleDataRowCount();
        if (std::abs(Distance) > visible) {
            InvalidateWholeGrid();
        } else {
            const int h = FStdDefaultRowHeight + (FOptions.Contains(dgRowLines) ? GridLineWidth() : 0);
            if (HasIndicator() && FSelRow >= TopDataOffset() && FSelRow < RowCount())
                InvalidateCell(0, FSelRow);
            const TRect data = BoxRect(0, TopDataOffset(), lastCol, RowCount() - 1);
            ScrollWindow(0, -h * Distance, &data);
            if (HasIndicator())
                InvalidateCell(0, Row());
            if (FOptionsGx.Contains(dghHotTrack))
                UpdateHotTrackCell(CursorPos().X, CursorPos().Y);
            if (AnyColumnHidesDuplicates())
                InvalidateRow(TopDataOffset());
        }
    }
    InvalidateFooter();
    if (FLocks.UpdateLock() == 0)
        Update();
}

void TCustomDBGridGx::UpdateActiveRow()
{
    if (FIntMemTable) {
        MemTableUpdateActiveRow(0);
        return;
    }
    if (!FInplaceSearchingInProcess)
        StopInplaceSearch();
    if (!FDataLink->Active() || !HandleAllocated() || Loading())
        return;
    const int row = FDataLink->ActiveRecord() + TopDataOffset();
    if (row != Row() && row < RowCount()) {
        if (!FOptions.Contains(dgAlwaysShowEditor))
            HideEditor();
        MoveColRow(Col(), row, false, false);
        InvalidateEditor();
    }
    if (TField* field = SelectedField())
        if (field->Text() != FEditText)
            InvalidateEditor();
}

// ---------------------------------------------------------------- record changed

void TCustomDBGridGx::RecordChanged(TField* Field)
{
    if (!HandleAllocated())
        return;
    if (Field) {
        for (int i = 0; i < FColumns->Count(); ++i)
            if (FColumns->GetColumn(i)->Field() == Field)
                InvalidateRow(Row());
    } else {
        Invalidate();
    }
    TColumnGx* column = CurrentColumnGx();
    TField* current = column ? column->Field() : nullptr;
    if (current && (!Field || Field == current)) {
        QString text;
        if (FDrawMemoText && IsMemoType(current))
            text = CrLf(current->AsString());
        else if (column->GetColumnType() == ctKeyPickList)
            text = column->DisplayText();
        else
            text = current->Text();
        if (text != FEditText) {
            InvalidateEditor();
            if (InplaceEditor())
                InplaceEditor()->Deselect();
        }
    }
}

void TCustomDBGridGx::EditingChanged()
{
    InvalidateIndicatorRow();
}

// ---------------------------------------------------------------- edit commit

void TCustomDBGridGx::UpdateData()
{
    TColumnGx* column = CurrentColumnGx();
    if (!column)
        return;
    TField* field = column->Field();
    if (!field) {
        column->WriteFieldValue(FEditText, Variant(), true);
        return;
    }
    switch (column->GetColumnType()) {
    case ctPickList: {
        if (column->OnNotInList && !column->PickList().contains(FEditText)) {
            bool accept = false;
            column->OnNotInList(column, FEditText, accept);
        }
        column->WriteFieldValue(FEditText, Variant(), true);
        return;
    }
    case ctKeyPickList: {
        const QStringList& picks = column->PickList();
        const QStringList& keys = column->KeyList();
        int i = int(picks.indexOf(FEditText));
        if (i >= 0) {
            // A text in the pick list whose position the key list lacks counts
            // as not in the list: it never takes the key of an earlier edit.
            if (i < keys.size())
                FEditKeyValue = Variant(keys.at(i));
            else
                i = -1;
        }
        if (i < 0) {
            Variant key = Variant::Null();
            if (!FEditText.isEmpty() && column->OnNotInList) {
                bool accept = false;
                column->OnNotInList(column, FEditText, accept);
                if (accept) {
                    const int again = int(column->PickList().indexOf(FEditText));
                    if (again >= 0 && again < column->KeyList().size())
                        key = Variant(column->KeyList().at(again));
                }
            }
            FEditKeyValue = key;
        }
        column->WriteFieldValue(FEditText, FEditKeyValue, false);
        return;
    }
    default:
        break;
    }
    if (field->Lookup() && !field->KeyFields.isEmpty()) {
        TDataSet* lookup = field->LookupDataSet;
        if (FEditKeyValue.IsNull() && !FEditText.isEmpty() && column->OnNotInList && lookup) {
            if (!lookup->Locate(field->LookupResultField, Variant(FEditText), loCaseInsensitive)) {
                bool accept = false;
                column->OnNotInList(column, FEditText, accept);
                if (accept && lookup->Locate(field->LookupResultField, Variant(FEditText), loCaseInsensitive))
                    FEditKeyValue = lookup->FieldValue(field->LookupKeyFields);
            }
        }
        std::vector<TField*> keys = field->DataSet()->GetFieldList(field->KeyFields);
        bool all = !keys.empty();
        for (TField* k : keys)
            all = all && k->CanModify();
        if (all) {
            field->DataSet()->Edit();
            column->WriteFieldValue(FEditText, FEditKeyValue, false);
        }
        if (FDrawMemoText && IsMemoType(field))
            field->SetAsString(FEditText);
        else
            field->SetText(FEditText);
        return;
    }
    column->WriteFieldValue(FEditText, Variant(), true);
}

void TCustomDBGridGx::SetEditText(int, int, const QString& Value)
{
    FEditText = Value;
}

// ---------------------------------------------------------------- rows and the record buffer

void TCustomDBGridGx::UpdateRowCount()
{
    if (!FDataLink)
        return;
    if (FIntMemTable) {
        MemTableUpdateRowCount();
        return;
    }
    const int old = RowCount();
    const int first = TopDataOffset();
    const int line = FOptions.Contains(dgRowLines) ? GridLineWidth() : 0;
    if (first >= RowCount())
        TCustomGridGx::SetRowCount(first + 1);
    TCustomGridGx::SetFixedRows(first);
    int used = 0;
    if (HasTitles())
        used += FTitleRowHeight + line;
    for (int r = HasTitles() ? 1 : 0; r < first; ++r)
        used += FStdDefaultRowHeight + line;
    if (FFooterRowCount > 0)
        used += (FStdDefaultRowHeight + line) * FFooterRowCount + line;
    TCustomGridGx::SetDefaultRowHeight(FStdDefaultRowHeight);
    if (HasTitles())
        TCustomGridGx::SetRowHeights(0, FTitleRowHeight);
    TDataSet* ds = DataSet();
    if (FDataLink->Active() && ds && ds->RecordCount() > 0 && HandleAllocated()) {
        FDataLink->SetBufferCount(std::max(1, (ClientHeight() - used) / (FStdDefaultRowHeight + line)));
        SetGridRowCount(FDataLink->RecordCount() + first);
        TCustomGridGx::SetContraRowCount(FFooterRowCount);
        UpdateActiveRow();
    } else {
        SetGridRowCount(first + 1);
        TCustomGridGx::SetContraRowCount(FFooterRowCount);
    }
    if (RowCount() != old)
        Invalidate();
}

void TCustomDBGridGx::SetGridRowCount(int Value)
{
    if (Row() >= Value && Value > 0)
        MoveColRow(Col(), Value - 1, false, false);
    TCustomGridGx::SetRowCount(Value);
}

int TCustomDBGridGx::VisibleDataRowCount()
{
    return std::max(1, std::min(VisibleRowCount(), FDataLink->Active() ? FDataLink->BufferCount() : 1));
}

void TCustomDBGridGx::MoveAnchorBy(int Directions)
{
    if (!FDataLink->Active())
        return;
    if (Directions & gmdUpGx)
        MoveBy(-(FDataLink->ActiveRecord() + 1));
    if (Directions & gmdDownGx)
        MoveBy(FDataLink->RecordCount() - FDataLink->ActiveRecord());
    const int horz = Directions & (gmdLeftGx | gmdRightGx);
    if (horz)
        TCustomGridGx::MoveAnchorBy(horz);
}

// ---------------------------------------------------------------- current column

void TCustomDBGridGx::SelectColumnIndex(int Index, int Direction, bool ExtendRect)
{
    TDataSet* ds = DataSet();
    const bool rect = ExtendRect && !FOptions.Contains(dgRowSelect) && IsSelectionTypeAllowed(gstRectangle) &&
                      FDataLink->Active() && ds && !ds->IsEmpty();
    if (rect && FSelection->SelectionType() != gstRectangle) {
        FSelection->Rect().Clear();
        FSelection->Rect().Select(SelectedIndex(), ds->GetBookmark(), false);
    }
    FDataLink->UpdateRecord();
    const int count = FColumns->Count();
    if (count == 0)
        return;
    Index = std::clamp(Index, 0, count - 1);
    if (Direction != 0) {
        while (Index >= 0 && Index < count && !FColumns->GetColumn(Index)->Visible())
            Index += Direction;
        if (Index < 0 || Index >= count - FContraColCount)
            return;
    }
    if (Index != SelectedIndex()) {
        if (!FInColExit) {
            FInColExit = true;
            const int before = SelectedIndex();
            try {
                ColExit();
            } catch (...) {
                FInColExit = false;
                throw;
            }
            FInColExit = false;
            if (SelectedIndex() != before)
                return;
        }
        if (!FOptions.Contains(dgAlwaysShowEditor))
            HideEditor();
        if (RowPanelActive()) {
            FInRowPanelCol = Index;
            InvalidateEditor();
        } else if (!FOptions.Contains(dgRowSelect)) {
            const int raw = DataToRawColumn(Index);
            if (raw >= 0 && raw < TCustomGridGx::ColCount())
                MoveColRow(raw, Row(), true, true);
        }
        TColumnGx* column = FColumns->GetColumn(Index);
        const TColumnGxType t = column->GetColumnType();
        if (t != ctKeyImageList && t != ctCheckboxes && FOptions.Contains(dgAlwaysShowEditor) && !FFilterEditMode)
            ShowEditor();
        ColEnter();
    }
    if (rect)
        FSelection->Rect().Select(SelectedIndex(), ds->GetBookmark(), true);
    StopInplaceSearch();
    if (SelectedIndex() >= 0 && SelectedIndex() < count)
        FColumns->SetUpDownBaseColumn(FColumns->GetColumn(SelectedIndex()));
}

void TCustomDBGridGx::SetSelectedField(TField* Value)
{
    if (!Value)
        return;
    for (int i = 0; i < FColumns->Count(); ++i)
        if (FColumns->GetColumn(i)->Field() == Value)
            SelectColumnIndex(i, 0, false);
}

// ---------------------------------------------------------------- input method

void TCustomDBGridGx::UpdateColumnIme()
{
    FImeName = FOriginalImeName;
    FImeMode = FOriginalImeMode;
    if (TColumnGx* column = CurrentColumnGx()) {
        if (column->AssignedValues().Contains(cvImeName))
            FImeName = column->ImeName();
        if (column->AssignedValues().Contains(cvImeMode))
            FImeMode = column->ImeMode();
    }
}

void TCustomDBGridGx::ApplyColumnIme()
{
    UpdateColumnIme();
    // The input method follows the focused widget; a disabled one switches it off.
    setAttribute(Qt::WA_InputMethodEnabled, FImeMode != imDisable && FImeMode != imClose);
    if (InplaceEditor())
        InplaceEditor()->setAttribute(Qt::WA_InputMethodEnabled, FImeMode != imDisable && FImeMode != imClose);
}

bool TCustomDBGridGx::AnyColumnHidesDuplicates()
{
    for (int i = 0; i < FColumns->Count(); ++i)
        if (FColumns->GetColumn(i)->HideDuplicates())
            return true;
    return false;
}

bool TCustomDBGridGx::ValidFieldIndex(int FieldIndex)
{
    return FieldIndex >= 0 && FieldIndex < FDataLink->FieldMapSize() && FDataLink->GetMappedFieldIndex(FieldIndex) >= 0;
}
