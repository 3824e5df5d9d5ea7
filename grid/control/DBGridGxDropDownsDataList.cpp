// The cell editor's data list: the column's own drop-down data grid over the
// lookup dataset, opened, read and closed by the editor.
#include "DBGridGxEdit.h"

#include "DBGridGx.h"
#include "DBGridGxRoutines.h"
#include "DBLookupGridGx.h"
#include "grid/support/DropDownEditGx.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"

#include <algorithm>

namespace {

// The dataset a column's list shows: its drop-down box's source, else its lookup field's.
TDataSet* ColumnListDataSet(TColumnGx* column)
{
    TDataSource* source = column->DropDownBox()->ListSource();
    if (source && source->DataSet())
        return source->DataSet();
    TField* field = column->Field();
    return field ? field->LookupDataSet : nullptr;
}

} // namespace

QWidget* TDBGridInplaceEdit::DataListWidget() const
{
    return FDataList;
}

void TDBGridInplaceEdit::TakeOverDataList(TColumnGx* Column)
{
    if (!Column) {
        FActiveList = nullptr;
        return;
    }
    TPopupDataGridGx* list = Column->DataList();
    if (list != FDataList) {
        ReleaseDataList();
        FDataList = list;
        list->hide();
        list->SetCtl3D(true);
        list->SetParentCtl3D(false);
        new TDropDownActivationGuardGx(list, this);
        list->OnMouseCloseUp = [this](QObject*, bool Accept) { CloseUp(Accept); };
        list->OnColumnMoved = [this](QObject*, int, int) { FListColumnMothed = true; };
        // The column frees its list; the editor forgets it then.
        connect(list, &QObject::destroyed, this, [this] {
            FDataList = nullptr;
            FActiveList = nullptr;
            FListVisible = false;
            FDroppedDown = false;
            if (!FDestroying)
                FEditStyle = esSimple;
        });
    }
    FActiveList = list;
}

void TDBGridInplaceEdit::ReleaseDataList()
{
    if (!FDataList)
        return;
    disconnect(FDataList, &QObject::destroyed, this, nullptr);
    FDataList->OnMouseCloseUp = nullptr;
    FDataList->OnColumnMoved = nullptr;
    // Its guard hands the activation to this editor's window; the next editor brings its own.
    const QObjectList children = FDataList->children();
    for (QObject* child : children)
        if (dynamic_cast<TDropDownActivationGuardGx*>(child))
            delete child;
    FDataList->hide();
    FDataList = nullptr;
}

bool TDBGridInplaceEdit::DropDownDataList(TColumnGx* Column)
{
    TDataSet* listDataSet = ColumnListDataSet(Column);
    if (!listDataSet)
        return false;
    TPopupDataGridGx* list = FDataList;
    TField* field = Column->Field();
    list->SetColor(EditorColor());
    list->Font()->Assign(*Column->Font());
    list->SpecRow()->Assign(*Column->DropDownSpecRow());
    list->SetShowTitles(Column->DropDownShowTitles());
    const int records = listDataSet->RecordCount();
    list->SetRowCount(listDataSet->IsSequenced() && records >= 1 && records < Column->DropDownRows()
                          ? records
                          : Column->DropDownRows());
    FLookupSource->SetDataSet(listDataSet);
    list->SetUseMultiTitle(Column->DropDownBox()->UseMultiTitle());
    list->SetLookupOptions(Column->DropDownBox()->Options());
    list->SetListSource(FLookupSource.get());
    list->SetKeyField(field ? field->LookupKeyFields : QString());
    list->SetListField(Column->LookupDisplayFields());
    list->SetListFieldIndex(0);
    int listWidth;
    if (Column->DropDownWidth() == -1)
        listWidth = list->GetColumnsWidthToFit() + (list->width() - list->ClientWidth());
    else if (Column->DropDownWidth() <= 0)
        listWidth = width();
    else
        listWidth = Column->DropDownWidth();
    list->resize(std::max(listWidth, width()), list->height());
    list->SetKeyValue(FDBGrid->EditKeyValue());
    FListColumnMothed = false;
    list->SetAutoFitColWidths(Column->DropDownBox()->AutoFitColWidths());
    return true;
}

void TDBGridInplaceEdit::ShowDataList(TColumnGx* Column)
{
    FDataList->show();
    FDataList->SizeGrip()->SetGripVisible(Column->DropDownSizing());
    FDataList->SetSizeGripResized(false);
}

Variant TDBGridInplaceEdit::CloseDataList(TColumnGx* Column)
{
    TPopupDataGridGx* list = FDataList;
    const Variant value = list->KeyValue();
    FClosedListText = list->SelectedItem();
    if (list->SizeGripResized()) {
        Column->SetDropDownRows(list->RowCount());
        Column->SetDropDownWidth(list->width());
    }
    if (FListColumnMothed)
        Column->DropDownSpecRow()->SetCellsText(list->SpecRow()->CellsText());
    HideDropDownGx(list, this);
    list->SetAutoFitColWidths(false);
    list->SetListSource(nullptr);
    FLookupSource->SetDataSet(nullptr);
    return value;
}

void TDBGridInplaceEdit::AcceptDataList(TColumnGx* Column, const Variant& Value)
{
    TField* field = Column->Field();
    if (!field || !field->DataSet())
        return;
    const std::vector<TField*> keys = field->DataSet()->GetFieldList(field->KeyFields);
    if (!AllFieldsCanModify(keys) || !FDBGrid->CanEditModify() || !Column->CanModify(true))
        return;
    try {
        FDBGrid->DataLink()->Edit();
        if (FDBGrid->DataLink()->Editing()) {
            FDBGrid->DataLink()->SetModified();
            FDBGrid->SetEditKeyValue(Value);
            FDBGrid->SetEditText(FClosedListText);
        }
    } catch (...) {
        setText(field->Text() + QLatin1Char(' '));
        throw;
    }
    setText(FClosedListText);
    selectAll();
}

bool TDBGridInplaceEdit::DataListNotInList(TColumnGx* Column)
{
    TField* field = Column->Field();
    TDataSet* list = ColumnListDataSet(Column);
    if (!field || !list || !list->Active())
        return false;
    return !list->Locate(field->LookupResultField, Variant(text()), loCaseInsensitive);
}

QString TDBGridInplaceEdit::DataListSelectedItem() const
{
    return FDataList ? FDataList->SelectedItem() : QString();
}

TRect TDBGridInplaceEdit::DataListDataRect() const
{
    return FDataList ? FDataList->DataRect() : TRect();
}

void TDBGridInplaceEdit::FollowDataList()
{
    if (FDataList && FEditStyle == esDataList)
        FDataList->SetKeyValue(FDBGrid->EditKeyValue());
}

bool TDBGridInplaceEdit::ProcessDataListCharKey(TColumnGx* Column, QChar Key)
{
    TField* field = Column->Field();
    TDataSet* list = ColumnListDataSet(Column);
    if (!field || !list || !list->Active() || !FDBGrid->EditingAllowedForCurrentRecord() || !Column->CanModify(false))
        return false;
    if (Key.unicode() == 8)
        return true;
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const QString typed = text().left(start) + Key;
    const bool found = list->Locate(field->LookupResultField, Variant(typed), loCaseInsensitive | loPartialKey);
    if (!found && !Column->OnNotInList)
        return true;
    FDBGrid->DataLink()->Edit();
    if (!FDBGrid->DataLink()->Editing())
        return true;
    FDBGrid->DataLink()->SetModified();
    if (found) {
        const QString result = list->FieldByName(field->LookupResultField)->Text();
        setText(result);
        setSelection(int(result.size()), int(typed.size()) - int(result.size()));
        FDBGrid->SetEditKeyValue(list->FieldValue(field->LookupKeyFields));
        FDBGrid->SetEditText(result);
        FollowDataList();
    } else {
        setText(typed);
        FDBGrid->SetEditKeyValue(Variant(typed));
        FDBGrid->SetEditText(typed);
    }
    return true;
}
