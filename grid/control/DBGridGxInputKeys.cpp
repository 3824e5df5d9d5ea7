// The data grid's keyboard: navigation between records and columns, record
// selection with Shift, delete, insert and append, the editor, incremental
// search and the find dialog, check-box columns.
#include "DBGridGx.h"
#include "DBGridGxInputSelection.h"
#include "DBGridGxParts.h"
#include "DBGridGxUnit.h"
#include "platform/gui/Application.h"
#include "platform/gui/Clipboard.h"

#include <QApplication>
#include <QInputMethodEvent>

namespace {

bool IsCheckOrImageColumn(TColumnGx* column)
{
    const TColumnGxType t = column->GetColumnType();
    return t == ctKeyImageList || t == ctCheckboxes;
}

} // namespace

TColumnGx* TCustomDBGridGx::CurrentColumnGx() const
{
    const int index = SelectedIndex();
    return index >= 0 && index < FColumns->Count() ? FColumns->GetColumn(index) : nullptr;
}

bool TCustomDBGridGx::DataSetCanBeChanged() const
{
    TDataSet* ds = DataSet();
    return ds && ds->CanModify() && !FReadOnly && !FDataLink->ReadOnly();
}

bool TCustomDBGridGx::InsertingUntouched() const
{
    TDataSet* ds = DataSet();
    return ds && ds->State() == dsInsert && !ds->Modified() && !FDataLink->Modified();
}

// ---------------------------------------------------------------- selection helpers

void TCustomDBGridGx::ClearSelection()
{
    if (FOptions.Contains(dgMultiSelect))
        FBookmarks->Clear();
    FSelecting = false;
    if (FSelection->SelectionType() != gstNon) {
        FSelection->Clear();
        Invalidate();
        InvalidateEditor();
    }
}

void TCustomDBGridGx::ClearSelectionIfNeeded()
{
    if (FOptionsGx.Contains(dghClearSelection))
        ClearSelection();
    FSelecting = false;
}

void TCustomDBGridGx::MarkCurrentRecord(bool Selected)
{
    FBookmarks->SetCurrentRowSelected(Selected);
}

void TCustomDBGridGx::MoveOrJump(int Distance, bool ToEnd)
{
    if (!ToEnd)
        MoveBy(Distance);
    else if (Distance == 1)
        DataSet()->Last();
    else
        DataSet()->First();
}

void TCustomDBGridGx::MoveBySelecting(bool Select, int Distance, bool RowsOnly, bool ToEnd)
{
    TDataSet* ds = DataSet();
    if (RowsOnly || FOptions.Contains(dgRowSelect)) {
        const bool records = Select && IsSelectionTypeAllowed(gstRecordBookmarks);
        BeginUpdateGx();
        try {
            while (Distance != 0) {
                bool marked = false;
                if (FOptions.Contains(dgMultiSelect) && FDataLink->Active()) {
                    if (!records) {
                        ClearSelectionIfNeeded();
                    } else if (FSelecting && !FSelectionAnchor.IsEmpty() && ds->BookmarkValid(FSelectionAnchor)) {
                        const int cmp = FBookmarks->CompareWithCurrent(FSelectionAnchor);
                        // cmp < 0: the anchor lies before the current record.
                        const bool towards = (cmp < 0 && Distance < 0) || (cmp > 0 && Distance > 0);
                        if (towards) {
                            MarkCurrentRecord(FAntiSelection ? FSelectionAnchorSelected : false);
                        } else {
                            marked = true;
                        }
                    } else {
                        FSelectionAnchor = ds->GetBookmark();
                        FSelectionAnchorSelected = FBookmarks->CurrentRowSelected();
                        MarkCurrentRecord(FAntiSelection ? !FSelectionAnchorSelected : true);
                        FSelecting = true;
                        marked = true;
                    }
                }
                if (MoveBy(Distance > 0 ? 1 : -1) == 0)
                    break;
                if (marked)
                    MarkCurrentRecord(FAntiSelection ? !FSelectionAnchorSelected : true);
                if (!ToEnd)
                    Distance += Distance > 0 ? -1 : 1;
            }
        } catch (...) {
            EndUpdateGx();
            throw;
        }
        EndUpdateGx();
    } else if (Select && IsSelectionTypeAllowed(gstRectangle)) {
        BeginUpdateGx();
        try {
            if (FSelection->SelectionType() != gstRectangle) {
                FSelection->Rect().Clear();
                FSelection->Rect().Select(SelectedIndex(), ds->GetBookmark(), false);
            }
            MoveOrJump(Distance, ToEnd);
            FSelection->Rect().Select(SelectedIndex(), ds->GetBookmark(), true);
        } catch (...) {
            EndUpdateGx();
            throw;
        }
        EndUpdateGx();
    } else {
        MoveOrJump(Distance, ToEnd);
    }
    if (FLocks.UpdateLock() == 0)
        Update();
}

// ---------------------------------------------------------------- record steps

void TCustomDBGridGx::GoToNextRecord(bool Select, TShiftState Shift)
{
    TDataSet* ds = DataSet();
    if (InsertingUntouched()) {
        if (ds->Eof())
            return;
        ds->Cancel();
    } else {
        const bool multiShift = Shift.contains(ssShift) && FOptions.Contains(dgMultiSelect);
        const bool rowsOnly = !IsSelectionTypeAllowed(gstRectangle);
        if (multiShift)
            MoveBySelecting(Select, 1, rowsOnly, false);
        else
            MoveBySelecting(false, 1, true, false);
    }
    if (ds->Eof() && DataSetCanBeChanged() && FOptions.Contains(dgEditing) && FAllowedOperations.Contains(alopAppendGx))
        DataAppend();
}

void TCustomDBGridGx::GoToPriorRecord(bool Select, TShiftState Shift)
{
    TDataSet* ds = DataSet();
    if (InsertingUntouched()) {
        if (ds->Eof())
            ds->Cancel();
        return;
    }
    const bool multiShift = Shift.contains(ssShift) && FOptions.Contains(dgMultiSelect);
    const bool rowsOnly = !IsSelectionTypeAllowed(gstRectangle);
    if (multiShift)
        MoveBySelecting(Select, -1, rowsOnly, false);
    else
        MoveBySelecting(false, -1, true, false);
}

void TCustomDBGridGx::TabToColumn(bool Forward)
{
    ClearSelectionIfNeeded();
    BeginUpdateGx();
    try {
        TColumnGx* current = CurrentColumnGx();
        TColumnGx* next = current ? FColumns->GetNextTabColumn(current, Forward) : FColumns->GetFirstTabColumn();
        if (!next || next == current) {
            if (Forward) {
                GoToNextRecord(false, TShiftState());
                next = FColumns->GetFirstTabColumn();
            } else {
                GoToPriorRecord(false, TShiftState());
                next = FColumns->GetLastTabColumn();
            }
        }
        if (next)
            SelectColumnIndex(next->Index(), 0, false);
    } catch (...) {
        EndUpdateGx();
        throw;
    }
    EndUpdateGx();
}

bool TCustomDBGridGx::RowPanelNavKey(WORD Key, TShiftState Shift)
{
    if (!RowPanelActive() || FGridRowPanel->NavKeysNavigationType() != rpntCellToCellGx)
        return false;
    TColumnGx* current = CurrentColumnGx();
    if (!current)
        return false;
    if (Key == VK_LEFT || Key == VK_RIGHT) {
        TColumnGx* next = FColumns->GetNextHorzColumn(current, Key == VK_RIGHT, false, true);
        if (next != current)
            SelectColumnIndex(next->Index(), 0, false);
        return true;
    }
    // Up and Down keep to the panel column the walk started from.
    TColumnGx* base = FColumns->UpDownBaseColumn() ? FColumns->UpDownBaseColumn() : current;
    FColumns->SetUpDownBaseColumn(base);
    const bool down = Key == VK_DOWN;
    TColumnGx* next = FColumns->GetNextVertColumn(current, down);
    if (next == current) {
        // Off the panel's edge: the far cell of the neighbouring record.
        if (down) {
            const bool locked = FLockAutoShowCurCell;
            FLockAutoShowCurCell = true;
            struct Restore {
                bool& flag;
                bool value;
                ~Restore() { flag = value; }
            } restore{FLockAutoShowCurCell, locked};
            GoToNextRecord(true, Shift);
            next = FColumns->GetTopColumn(current);
        } else {
            GoToPriorRecord(true, Shift);
            next = FColumns->GetBottomColumn(current);
        }
    }
    if (next != current)
        SelectColumnIndex(next->Index(), 0, false);
    FColumns->SetUpDownBaseColumn(base);
    return true;
}

void TCustomDBGridGx::SelectVisibleColumn(bool Last, bool ExtendRect)
{
    if (FVisibleColumns.Count() == 0)
        return;
    TColumnGx* c = FVisibleColumns.GetColumn(Last ? FVisibleColumns.Count() - 1 : 0);
    SelectColumnIndex(c->Index(), 0, ExtendRect);
}

void TCustomDBGridGx::StepVisibleColumn(int Direction, bool ExtendRect)
{
    const int index = SelectedIndex() + Direction;
    if (index < 0 || index >= FColumns->Count())
        return;
    SelectColumnIndex(index, Direction, ExtendRect);
}

void TCustomDBGridGx::DeleteRecords()
{
    TDataSet* ds = DataSet();
    if (FReadOnly || !ds || ds->IsEmpty() || !ds->CanModify() || FDataLink->ReadOnly() ||
        !FAllowedOperations.Contains(alopDeleteGx))
        return;
    if (!ConfirmDelete())
        return;
    if (FBookmarks->Count() == 0)
        ds->Delete();
    else
        FBookmarks->Delete();
}

// ---------------------------------------------------------------- key down

void TCustomDBGridGx::KeyDown(WORD& Key, TShiftState Shift)
{
    // While the in-title filter list is open, keys go to it.
    if (InTitleListboxKeyDown(Key, Shift)) {
        Key = 0;
        return;
    }
    FAntiSelection = Shift.contains(ssCtrl) || !FOptionsGx.Contains(dghClearSelection);
    TCustomControl::KeyDown(Key, Shift);
    if (Key == 0)
        return;
    if (GroupRowKeyDown(Key, Shift))
        return;
    TDataSet* ds = DataSet();
    if (Key == VK_UP && FSTFilter->Visible() && FSTFilter->Location() == stflUnderTitleFilterGx &&
        FDataLink->Active() && ds && (ds->Bof() || Shift.contains(ssCtrl))) {
        EnterFilterRowFromAbove();
        Key = 0;
        return;
    }
    if (!FDataLink->Active() || !CanGridAcceptKey(Key, Shift))
        return;

    const bool ctrl = Shift.contains(ssCtrl);
    const bool shift = Shift.contains(ssShift);
    const bool alt = Shift.contains(ssAlt);
    const bool multiShift = shift && FOptions.Contains(dgMultiSelect);
    const TShortCut shortCut = ShortCutGx(Key, shift, ctrl, alt);

    // Shortcuts.
    if (FilterButtonsInTitle() && shortCut == TitleFilterDropKey && SelectedIndex() >= 0 &&
        SelectedIndex() < FColumns->Count() && FColumns->GetColumn(SelectedIndex())->STFilter()->Visible()) {
        ShowInTitleFilterListbox(FColumns->GetColumn(SelectedIndex()));
    } else if (shortCut == PrevRecordValueKey) {
        SetValueFromPrevRecord();
    } else if (shortCut == IncSearchStartKey && FOptionsGx.Contains(dghIncSearch)) {
        if (FInplaceSearching && FOptionsGx.Contains(dghDialogFind) && FindDialogKey == IncSearchStartKey) {
            StopInplaceSearch();
            OpenFindDialog(QString());
        } else {
            StartInplaceSearch(QString(), -1, inpsFromFirstGx);
        }
    } else if (shortCut == FindDialogKey && FOptionsGx.Contains(dghDialogFind)) {
        OpenFindDialog(QString());
    } else if (FInplaceSearching) {
        const bool plain = !ctrl && !shift && !alt;
        if (plain && (Key == VK_RETURN || Key == VK_ESCAPE || Key == VK_F2)) {
            StopInplaceSearch();
        } else if (plain && Key == VK_BACK) {
            FInplaceSearchText.chop(1);
            InvalidateRow(Row());
            RestartSearchTimer();
            Key = 0;
            return;
        } else if (shortCut == IncSearchNextKey) {
            StartInplaceSearch(QString(), FInplaceSearchTimeOut, inpsToNextGx);
            Key = 0;
            return;
        } else if (shortCut == IncSearchPriorKey) {
            StartInplaceSearch(QString(), FInplaceSearchTimeOut, inpsToPriorGx);
            Key = 0;
            return;
        }
    }

    if (ctrl) {
        if (!shift && (Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END || Key == VK_HOME || Key == VK_UP ||
                       Key == VK_DOWN))
            ClearSelectionIfNeeded();
        switch (Key) {
        case VK_PRIOR:
        case VK_UP:
            if (multiShift)
                MoveBySelecting(true, -FDataLink->ActiveRecord(), false, false);
            else
                MoveBy(-FDataLink->ActiveRecord());
            break;
        case VK_NEXT:
        case VK_DOWN: {
            if (Key == VK_DOWN && ShowRowDetailPanelFromKey())
                break;
            const int distance = FDataLink->BufferCount() - FDataLink->ActiveRecord() - 1;
            if (multiShift)
                MoveBySelecting(true, distance, false, false);
            else
                MoveBy(distance);
            break;
        }
        case VK_END:
            if (multiShift)
                MoveBySelecting(true, 1, false, true);
            else
                ds->Last();
            break;
        case VK_HOME:
            if (multiShift)
                MoveBySelecting(true, -1, false, true);
            else
                ds->First();
            break;
        case VK_LEFT:
            SelectVisibleColumn(false, false);
            break;
        case VK_RIGHT:
            SelectVisibleColumn(true, false);
            break;
        case VK_INSERT:
        case 'C':
            if (FEditActions.Contains(geaCopyGx) && CheckCopyAction())
                ExecuteEditAction(geaCopyGx);
            break;
        case VK_DELETE:
            if (!FEditActions.Contains(geaDeleteGx) || FSelection->SelectionType() == gstNon ||
                FSelection->SelectionType() == gstRecordBookmarks)
                DeleteRecords();
            else if (CheckDeleteAction())
                ExecuteEditAction(geaDeleteGx);
            break;
        case 'A':
            if (FEditActions.Contains(geaSelectAllGx) && CheckSelectAllAction())
                FSelection->SelectAll();
            break;
        case 'V':
            if (FInplaceSearching) {
                StartInplaceSearch(Clipboard()->AsText(), FInplaceSearchTimeOut, inpsFromFirstGx);
            } else if (FEditActions.Contains(geaPasteGx) && CheckPasteAction()) {
                ExecuteEditAction(geaPasteGx);
            }
            break;
        case 'X':
            if (FEditActions.Contains(geaCutGx) && CheckCutAction())
                ExecuteEditAction(geaCutGx);
            break;
        default:
            break;
        }
    } else {
        const bool rowsOnly = !IsSelectionTypeAllowed(gstRectangle);
        switch (Key) {
        case VK_TAB:
            if (!alt)
                TabToColumn(!shift);
            break;
        case VK_RETURN:
            if (FOptionsGx.Contains(dghEnterAsTab))
                TabToColumn(!shift);
            break;
        case VK_ESCAPE:
            FDataLink->Reset();
            ClearSelection();
            if (!FOptions.Contains(dgAlwaysShowEditor))
                HideEditor();
            if (GridState() == gsColSizing || GridState() == gsRowSizing || GridState() == gsColMoving ||
                GridState() == gsRowMoving || FDBGridGxState == dgsColSizing || FDBGridGxState == dgsRowMoving ||
                FDBGridGxState == dgsGroupPanelTitleMoving)
                Perform(WM_CANCELMODE);
            break;
        case VK_PRIOR:
        case VK_NEXT: {
            const int page = std::max(1, VisibleDataRowCount());
            const int distance = Key == VK_PRIOR ? -page : page;
            if (multiShift) {
                MoveBySelecting(true, distance, rowsOnly, false);
            } else {
                ClearSelectionIfNeeded();
                MoveBy(distance);
            }
            break;
        }
        case VK_END:
        case VK_HOME: {
            const bool end = Key == VK_END;
            if (FVisibleColumns.Count() <= 1 || FOptions.Contains(dgRowSelect)) {
                if (multiShift) {
                    MoveBySelecting(true, end ? 1 : -1, false, true);
                } else {
                    ClearSelectionIfNeeded();
                    end ? ds->Last() : ds->First();
                }
            } else {
                if (!multiShift)
                    ClearSelectionIfNeeded();
                SelectVisibleColumn(end, multiShift);
            }
            break;
        }
        case VK_LEFT:
        case VK_RIGHT: {
            const int direction = Key == VK_LEFT ? -1 : 1;
            if (FOptions.Contains(dgRowSelect)) {
                ScrollDataPixels(direction * HorzLineScrollStep(), 0);
            } else if (multiShift) {
                StepVisibleColumn(direction, true);
            } else {
                ClearSelectionIfNeeded();
                if (!RowPanelNavKey(Key, Shift))
                    StepVisibleColumn(direction, false);
            }
            break;
        }
        case VK_UP:
            if (!RowPanelNavKey(Key, Shift))
                GoToPriorRecord(true, Shift);
            break;
        case VK_DOWN:
            if (FRowDetailPanel->Active() && FRowDetailPanel->Visible())
                FocusRowDetailPanel();
            else if (!RowPanelNavKey(Key, Shift))
                GoToNextRecord(true, Shift);
            break;
        case VK_INSERT:
            if (shift) {
                if (FEditActions.Contains(geaPasteGx) && CheckPasteAction())
                    ExecuteEditAction(geaPasteGx);
            } else if (!alt && DataSetCanBeChanged() && FOptions.Contains(dgEditing)) {
                ClearSelectionIfNeeded();
                if (FAllowedOperations.Contains(alopInsertGx))
                    DataInsert();
                else if (FAllowedOperations.Contains(alopAppendGx))
                    DataAppend();
            }
            break;
        case VK_DELETE:
            if (shift && FEditActions.Contains(geaCutGx) && CheckCutAction())
                ExecuteEditAction(geaCutGx);
            break;
        case VK_MULTIPLY:
        case VK_ADD:
        case VK_SUBTRACT:
            if (ToggleNodeOrDetailByKey(Key))
                Key = 0;
            break;
        case VK_F2:
            SetEditorMode(true);
            break;
        default:
            break;
        }
    }

    // Delete clears a check-box or image cell.
    if (Key == VK_DELETE && !ctrl && !FOptions.Contains(dgRowSelect)) {
        TColumnGx* column = CurrentColumnGx();
        if (column && IsCheckOrImageColumn(column) && column->Field() && !column->Field()->Required() &&
            column->CanModify(true))
            column->WriteCellValue(QString(), Variant::Null(), false);
    }
}

void TCustomDBGridGx::FocusRowDetailPanel()
{
    if (!FRowDetailControl)
        return;
    if (QWidget* active = FRowDetailPanel->ActiveControl()) {
        active->setFocus();
        return;
    }
    // The first control of the panel in tab order that takes the focus by Tab.
    for (QWidget* w = FRowDetailControl->nextInFocusChain(); w && w != FRowDetailControl; w = w->nextInFocusChain())
        if (FRowDetailControl->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() &&
            w->isVisibleTo(FRowDetailControl)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
}

// ---------------------------------------------------------------- characters

void TCustomDBGridGx::DataKeyPress(QChar& Key)
{
    if (FOptionsGx.Contains(dghEnterAsTab) && Key.unicode() == 13)
        Key = QChar(9);
    if (!FOptions.Contains(dgAlwaysShowEditor) && Key.unicode() == 13)
        FDataLink->UpdateRecord();
    DoGridKeyPress(Key);
    if (Key.unicode() == 0)
        return;
    const bool prefer = FOptionsGx.Contains(dghPreferIncSearch) && !FOptions.Contains(dgAlwaysShowEditor) &&
                        !InplaceEditorVisible();
    if ((FInplaceSearching || prefer) && Key.unicode() > 31 && FDataLink->Active()) {
        TDataSet* ds = DataSet();
        if (ds->State() != dsEdit && ds->State() != dsInsert && ds->State() != dsSetKey) {
            const QString text = FCompleteKeyPress.isEmpty() ? QString(Key) : FCompleteKeyPress;
            StartInplaceSearch(text, FInplaceSearching ? FInplaceSearchTimeOut : IncSearchTimeOut, inpsFromFirstGx);
            Key = QChar(0);
        }
    }
}

void TCustomDBGridGx::KeyPress(QChar& Key)
{
    if (FInTitleFilterListboxVisible && FInTitleFilterListbox) {
        InTitleListboxKeyPress(Key);
        Key = QChar(0);
        return;
    }
    // While the filter row is being edited, typing goes into the filter editor.
    if (ForwardKeyToFilterEditor(Key)) {
        Key = QChar(0);
        return;
    }
    FCompleteKeyPress = QString(Key);
    struct Reset {
        QString& text;
        ~Reset() { text.clear(); }
    } reset{FCompleteKeyPress};

    TColumnGx* column = CurrentColumnGx();
    if (column && IsCheckOrImageColumn(column) && Key == u' ' && !FOptions.Contains(dgRowSelect)) {
        DataKeyPress(Key);
        if (Key == u' ') {
            column->StepFieldValue(GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
            Key = QChar(0);
        }
        return;
    }
    TDataSet* ds = DataSet();
    const bool cannotEdit = column && (!column->CanModify(false) || !FOptions.Contains(dgEditing));
    const bool prefer = FOptionsGx.Contains(dghPreferIncSearch) && !FOptions.Contains(dgAlwaysShowEditor) &&
                        !InplaceEditorVisible();
    if ((FInplaceSearching || (FOptionsGx.Contains(dghIncSearch) && cannotEdit) || prefer) &&
        (Key.unicode() > 31 || Key.unicode() == 8) && FDataLink->Active() && ds && ds->State() != dsEdit &&
        ds->State() != dsInsert && ds->State() != dsSetKey) {
        if (!FInplaceSearching && Key.unicode() > 31)
            StartInplaceSearch(QString(Key), IncSearchTimeOut, inpsFromFirstGx);
        else
            DataKeyPress(Key);
        Key = QChar(0);
        return;
    }
    DataKeyPress(Key);
    if (Key.unicode() == 0)
        return;
    // With a tree or a row-detail panel, * + - belong to the node or the panel (their keys did
    // that on the way down) and do not open the editor.
    if ((IsTreeMode() || (FRowDetailPanel && FRowDetailPanel->Active())) &&
        (Key == u'*' || Key == u'+' || Key == u'-')) {
        Key = QChar(0);
        return;
    }
    if (TCustomGridGx::HasOption(goEditing) && (Key.unicode() == 8 || Key.unicode() >= 32)) {
        ShowEditorChar(Key);
        Key = QChar(0);
    }
}

UINT TCustomDBGridGx::GetDlgCode()
{
    UINT code = TCustomGridGx::GetDlgCode();
    if (FOptionsGx.Contains(dghPreferIncSearch))
        code |= DLGC_WANTCHARS;
    return code;
}

bool TCustomDBGridGx::WantSpecialKey(WORD Key, TShiftState Shift)
{
    if (TCustomGridGx::WantSpecialKey(Key, Shift))
        return true;
    // Enter and Esc close an open in-title filter list.
    if (FInTitleFilterListboxVisible && (Key == VK_RETURN || Key == VK_ESCAPE))
        return true;
    // Esc ends a running incremental search or mouse operation.
    if (Key == VK_ESCAPE && (FInplaceSearching || GridState() != gsNormal || FDBGridGxState != dgsNormal))
        return true;
    // Esc cancels an unsaved edit instead of pressing the dialog's cancel button.
    TDataSet* ds = DataSet();
    if (Key == VK_ESCAPE && ds && FDataLink->Active() &&
        (ds->Modified() || FDataLink->Modified() || ds->State() == dsEdit || ds->State() == dsInsert))
        return true;
    return false;
}

bool TCustomDBGridGx::event(QEvent* e)
{
    if (MemTableNotice(e))
        return true;
    if (e->type() != QEvent::InputMethod)
        return TCustomGridGx::event(e);
    bool taken = false;
    Application->Guard([&] {
        if (!FDataLink->Active() || !FOptions.Contains(dgEditing))
            return;
        ShowEditor();
        if (!InplaceEditorVisible())
            return;
        InplaceEditor()->setFocus();
        QApplication::sendEvent(InplaceEditor(), e);
        taken = true;
    });
    e->setAccepted(taken);
    return true;
}
