// The data grid's cell classification, editing rules and small services.
#include "DBGridGx.h"
#include "DBGridGxCells.h"
#include "DBGridGxInputSelection.h"
#include "DBGridGxParts.h"
#include "DBGridGxStyle.h"
#include "DBGridGxUnit.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include "grid/support/MemTableGx.h"
#include "platform/gui/Dialogs.h"
#include <QApplication>
#include <QMenu>

// ---------------------------------------------------------------- cell classification

TCellKindGx TCustomDBGridGx::GetCellType(int ACol, int ARow, int& DataCol, int& DataRow)
{
    const TGridRect box = DataBox();
    TCellGeometryGx g;
    g.IndicatorOffset = FIndicatorOffset;
    g.HasTitles = HasTitles();
    g.FilterRowUnderTitle = FilterRowUnderTitle();
    g.DataBoxLeft = box.Left;
    g.DataBoxTop = box.Top;
    g.DataBoxBottom = box.Bottom;
    g.RowCount = RowCount();
    g.FooterRowCount = FFooterRowCount;
    g.FrozenCols = FFrozenCols;
    return GetCellTypeGx(g, ACol, ARow, DataCol, DataRow);
}

bool TCustomDBGridGx::IsCell3D(int ACol, int ARow, TGridDrawState State, const TRect&)
{
    TCellGeometryGx g;
    g.IndicatorOffset = FIndicatorOffset;
    g.HasTitles = HasTitles();
    g.FilterRowUnderTitle = FilterRowUnderTitle();
    g.RowCount = FullRowCount();
    g.FooterRowCount = FFooterRowCount;
    g.FrozenCols = FFrozenCols;
    const int dc = ACol - FIndicatorOffset;
    bool filterCell = false;
    if (g.FilterRowUnderTitle && dc >= 0 && dc < FColumns->Count()) {
        TColumnGx* c = FColumns->GetColumn(dc);
        filterCell = c->Visible() && c->STFilter()->Visible();
    }
    return IsCell3DGx(g, FOptionsGx, ACol, ARow, State.contains(gdFixed), filterCell);
}

TColumnGx* TCustomDBGridGx::FindFieldColumn(const QString& FieldName)
{
    return ::FindFieldColumn(FColumns.get(), FieldName);
}

TColumnGx* TCustomDBGridGx::ColumnByFieldName(const QString& FieldName)
{
    return ::ColumnByFieldName(this, FieldName);
}

bool TCustomDBGridGx::IsCellSelected(int ACol, int ARow, const TBookmark& Bookmark, int DataCol)
{
    const TDBGridGxSelectionType type = SelectionType();
    if (type == gstAll)
        return true;
    const TGridRect box = DataBox();
    const bool dataRow = ARow >= box.Top && ARow <= box.Bottom;
    if (ACol < box.Left) {
        if (!dataRow)
            return false;
        return type == gstRecordBookmarks && FBookmarks->IndexOf(Bookmark) >= 0;
    }
    if (dataRow)
        return FSelection->DataCellSelected(DataCol, Bookmark);
    if (type != gstColumns || DataCol < 0 || DataCol >= FColumns->Count())
        return false;
    return FSelection->Columns().IndexOf(FColumns->GetColumn(DataCol)) >= 0;
}

bool TCustomDBGridGx::ShowFocusHighlight()
{
    return !Designing() && FOptions.Contains(dgRowSelect) && FDefaultDrawing && IsGridFocused();
}

bool TCustomDBGridGx::IsGridFocused() const
{
    QWidget* focus = QApplication::focusWidget();
    if (!focus)
        return false;
    return focus == this || (InplaceEditor() && focus == InplaceEditor());
}

void TCustomDBGridGx::InvalidateGridRect(const TGridRect& AGridRect)
{
    if (HandleAllocated())
        TCustomGridGx::InvalidateGridRect(AGridRect);
}

void TCustomDBGridGx::InvalidateSelection()
{
    const TDBGridGxSelectionType type = SelectionType();
    if (type == gstAll)
        InvalidateWholeGrid();
    else if (type != gstNon)
        InvalidateGridRect(FSelection->SelectionToGridRect());
    InvalidateCurrentRow();
    FSelectionActive = IsGridFocused();
}

void TCustomDBGridGx::InvalidateCurrentRow()
{
    if (HandleAllocated())
        TCustomGridGx::InvalidateRow(Row());
}

std::unique_ptr<TDBGridGxScrollBar> TCustomDBGridGx::CreateScrollBar(TScrollBarKindGx Kind)
{
    if (Kind == sbVerticalGx)
        return std::make_unique<TVertDBGridGxScrollBar>(this);
    return std::make_unique<THorzDBGridGxScrollBar>(this);
}

std::unique_ptr<TColumnDefValuesGx> TCustomDBGridGx::CreateColumnDefValues()
{
    return std::make_unique<TDBGridGxColumnDefValuesGx>(this);
}

std::unique_ptr<TDBGridColumnsGx> TCustomDBGridGx::CreateColumns()
{
    return std::make_unique<TDBGridColumnsGx>(this, TDBGridColumnsGx::ColumnClass<TDBGridColumnGx>());
}

void TCustomDBGridGx::GetDataSetFields(std::vector<TField*>& List)
{
    TDataSet* ds = DataSet();
    if (!ds)
        return;
    for (TField* f : ds->Fields())
        List.push_back(f);
}

// ---------------------------------------------------------------- style and centre

void TCustomDBGridGx::SetStyle(TDBGridGxStyle* Value)
{
    if (Value == FStyle)
        return;
    if (!Value) {
        UseGlobalStyle();
        return;
    }
    if (FStyle)
        FStyle->RemoveChangeNotification(this);
    FStyle = Value;
    FStyle->AddChangeNotification(this);
}

void TCustomDBGridGx::UseGlobalStyle()
{
    TDBGridGxStyle* global = DBGridGxGlobalStyle();
    if (global != FStyle) {
        if (FStyle)
            FStyle->RemoveChangeNotification(this);
        FStyle = global;
    }
    if (FStyle)
        FStyle->AddChangeNotification(this);
    else
        LayoutChanged();
}

void TCustomDBGridGx::SetCenter(TDBGridGxCenter* Value)
{
    if (Value == FCenter)
        return;
    if (FCenter && FCenterRegistered)
        FCenter->RemoveChangeNotification(this);
    FCenter = Value;
    FCenterRegistered = FCenter != nullptr;
    if (FCenter)
        FCenter->AddChangeNotification(this);
}

// ---------------------------------------------------------------- memory-table services

void TCustomDBGridGx::AcquireMemTable()
{
    IMemTableGx* table = nullptr;
    TDataSet* ds = DataSet();
    if (FTryUseMemTableInt && FDataLink && FDataLink->Active() && ds)
        table = dynamic_cast<IMemTableGx*>(ds);
    AttachMemTable(table);
}

bool TCustomDBGridGx::UsesMemTableScrolling() const
{
    return HasMemTable() && FCenter && FCenter->UseExtendedScrollingForMemTable;
}

// ---------------------------------------------------------------- leaving the grid, previous value, find

void TCustomDBGridGx::DoExit()
{
    if (FDataLink->Active()) {
        try {
            TDataSet* ds = DataSet();
            if (FOptions.Contains(dgCancelOnExit) && ds && ds->State() == dsInsert && !ds->Modified() &&
                !FDataLink->Modified())
                ds->Cancel();
            else
                FDataLink->UpdateRecord();
        } catch (...) {
            SetFocus();
            throw;
        }
    }
    TCustomGridGx::DoExit();
}

void TCustomDBGridGx::SetValueFromPrevRecord()
{
    if (!FDataLink->Active())
        return;
    const int record = FDataLink->ActiveRecord();
    const int index = SelectedIndex();
    if (record <= 0 || index < 0 || index >= FColumns->Count())
        return;
    TColumnGx* column = FColumns->GetColumn(index);
    if (!column->CanModify(true))
        return;
    TField* field = column->Field();
    if (!field)
        return;
    Variant value;
    QString text;
    FDataLink->SetActiveRecord(record - 1);
    try {
        value = field->Lookup() ? column->LookupKeyValue() : field->Value();
        text = field->AsString();
    } catch (...) {
        FDataLink->SetActiveRecord(record);
        throw;
    }
    FDataLink->SetActiveRecord(record);
    if (FSelection)
        FSelection->Clear();
    column->WriteFieldValue(text, value, false);
    ShowEditor();
    if (InplaceEditorVisible())
        InplaceEditor()->SelectAll();
}

bool TCustomDBGridGx::IsFindDialogShowAsModal()
{
    return true;
}

void TCustomDBGridGx::ExecuteFindDialog(const QString& Text, const QString&, bool Modal)
{
    if (FCenter)
        FCenter->ExecuteFindDialog(this, Text, Modal);
    else if (ExecuteDBGridGxFindDialogProc)
        ExecuteDBGridGxFindDialogProc(this, Text, QString(), Modal);
}

void TCustomDBGridGx::DefaultApplySorting()
{
    if (FCenter)
        FCenter->ApplySorting(this);
}

// ---------------------------------------------------------------- editing rules

bool TCustomDBGridGx::CanEditAcceptKey(QChar Key)
{
    const int index = SelectedIndex();
    TColumnGx* column = index >= 0 && index < FColumns->Count() ? FColumns->GetColumn(index) : nullptr;
    if (!FDataLink->Active() || !column || !column->Field())
        return false;
    if (column->HasKeyItems())
        return true;
    return column->CanEditAcceptKey(Key);
}

bool TCustomDBGridGx::CanEditModify()
{
    const int index = SelectedIndex();
    TColumnGx* column = index >= 0 && index < FColumns->Count() ? FColumns->GetColumn(index) : nullptr;
    if (!column || FInplaceSearching)
        return false;
    if (column->GetColumnType() == ctCheckboxes)
        return false;
    if (FReadOnly || !FDataLink->Active() || FDataLink->ReadOnly())
        return false;
    return column->CanModify(true);
}

bool TCustomDBGridGx::CanEditShow()
{
    if (FLocks.LayoutLock() > 0 || !TCustomGridGx::CanEditShow())
        return false;
    // No editor over a closed dataset: it would read the fields of no record.
    if (!DataLink()->Active()) {
        HideEditor();
        return false;
    }
    const int index = SelectedIndex();
    bool result = index >= 0 && index < FColumns->Count();
    if (result) {
        TColumnGx* column = FColumns->GetColumn(index);
        TColCellParamsGx& params = FColCellParamsGx;
        params.Font = &FDummiFont;
        params.TextEditing = column->TextEditing();
        params.ReadOnly = column->ReadOnly();
        if (!Loading())
            column->GetColCellParams(true, params);
        result = params.TextEditing;
    }
    if (result && SelectionType() != gstNon && FOptionsGx.Contains(dghClearSelection) &&
        FAllowedSelections.Contains(gstRectangle))
        result = false;
    if (result && FInplaceSearching)
        result = false;
    if (!result)
        HideEditor();
    return result;
}

bool TCustomDBGridGx::AlwaysShowEditorActive()
{
    return FOptions.Contains(dgAlwaysShowEditor) && !FFilterEditMode;
}

bool TCustomDBGridGx::FilterEditActive()
{
    return FFilterEditMode && SelectionType() == gstNon;
}

int TCustomDBGridGx::GetEditLimit()
{
    const int index = SelectedIndex();
    if (index >= 0 && index < FColumns->Count() && FColumns->GetColumn(index)->HasKeyItems())
        return 0;
    TField* field = SelectedField();
    if (!field || field->DataType() != ftString)
        return 0;
    return field->Size();
}

QString TCustomDBGridGx::GetEditMask(int ACol, int)
{
    const int dc = RawToDataColumn(ACol);
    if (dc < 0 || dc >= FColumns->Count())
        return QString();
    return FColumns->GetColumn(dc)->GetEditMaskText();
}

QString TCustomDBGridGx::GetEditText(int ACol, int)
{
    if (!FDataLink->Active())
        return QString();
    const int dc = RawToDataColumn(ACol);
    if (dc < 0 || dc >= FColumns->Count())
        return QString();
    return FColumns->GetColumn(dc)->GetCellEditText();
}

bool TCustomDBGridGx::AcquireFocus()
{
    bool result = true;
    if (FAcquireFocus && CanFocus() && !Designing()) {
        SetFocus();
        result = IsGridFocused();
    }
    if (result)
        return true;
    return FFilterEdit != nullptr && QApplication::focusWidget() == reinterpret_cast<QWidget*>(FFilterEdit);
}

bool TCustomDBGridGx::ConfirmDelete()
{
    const QString question = FBookmarks->Count() < 2 ? QStringLiteral("Delete record?")
                                                     : QStringLiteral("Delete all selected records?");
    if (!FOptions.Contains(dgConfirmDelete))
        return true;
    QWidget* focused = QApplication::focusWidget();
    const int answer = MessageDlg(question, mtConfirmation, TMsgDlgButtons{mbOK, mbCancel}, 0);
    if (focused && QApplication::focusWidget() != focused)
        focused->setFocus();
    return answer != mrCancel;
}

int TCustomDBGridGx::EditButtonAtPos(int ACol, int ARow, int X, int Y, TColumnGx* Column)
{
    if (!Column)
        return -1;
    if (ARow == 0 && HasTitles())
        return -1;   // the in-title filter button belongs to the filter row
    const TRect cell = CellRect(ACol, ARow);
    const int area = Column->EditButtonsWidth();
    if (Y - cell.Top >= FInplaceEditorButtonHeight || X < cell.Right - area)
        return -1;
    int left = cell.Right - area;
    const int flat = Flat() ? 1 : 0;
    if (Column->HasDefaultEditButton()) {
        left += FInplaceEditorButtonWidth + flat;
        if (X < left)
            return 0;
    }
    TEditButtonsGx* buttons = Column->EditButtons();
    for (int i = 0; buttons && i < buttons->Count(); ++i) {
        TEditButtonGx* b = buttons->ButtonAt(i);
        if (!b->Visible())
            continue;
        left += (b->Width() > 0 ? b->Width() + flat : FInplaceEditorButtonWidth) + flat;
        if (X < left)
            return i + 1;
    }
    return -1;
}

bool TCustomDBGridGx::CanHotTrackCell(int ACol, int ARow)
{
    if (FOptionsGx.Contains(dghHotTrack))
        return ACol >= 0 && ARow >= 0;
    if (FilterButtonsInTitle() && HasTitles() && ARow == 0)
        return true;
    return TCustomGridGx::CanHotTrackCell(ACol, ARow);
}

void TCustomDBGridGx::CellClick(TColumnGx* Column)
{
    if (OnCellClick)
        OnCellClick(Column);
}

void TCustomDBGridGx::ColEnter()
{
    ApplyColumnIme();
    if (OnColEnter)
        OnColEnter(this);
}

void TCustomDBGridGx::ColExit()
{
    if (OnColExit)
        OnColExit(this);
}

void TCustomDBGridGx::EditButtonClick()
{
    if (OnEditButtonClick)
        OnEditButtonClick(this);
}

bool TCustomDBGridGx::IsGridIdle() const
{
    return GridState() == gsNormal && FDBGridGxState == dgsNormal;
}

bool TCustomDBGridGx::IsThemedFixedCells() const
{
    return false;   // visual themes are not drawn by this program
}

bool TCustomDBGridGx::IsThemedCell(bool)
{
    return false;
}

void TCustomDBGridGx::InvalidateIndicatorRow()
{
    if (FOptions.Contains(dgIndicator))
        InvalidateCell(0, FSelRow);
}

bool TCustomDBGridGx::IsDataCellSelected(int DataCol, const TBookmark& Bookmark)
{
    return FSelection->DataCellSelected(DataCol, Bookmark);
}

void TCustomDBGridGx::RefreshEditorPlacement()
{
    FInplaceRow = -1;
    FInplaceColInRowPanel = -1;
    if (InplaceEditorVisible())
        InvalidateEditor();
}

bool TCustomDBGridGx::PopupColumnMenu(int X, int Y)
{
    const TGridCoord cell = MouseCoord(X, Y);
    if (cell.X < FIndicatorOffset || cell.Y < 0)
        return false;
    const int dc = RowPanelActive() ? FInRowPanelCol : cell.X - FIndicatorOffset;
    if (dc < 0 || dc >= FColumns->Count())
        return false;
    QMenu* menu = FColumns->GetColumn(dc)->PopupMenu();
    if (!menu)
        return false;
    CancelMode();
    menu->popup(mapToGlobal(QPoint(X, Y)));
    return true;
}
