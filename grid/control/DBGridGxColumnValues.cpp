// A column's cell values and editing rules for the dataset's current record:
// its kind, the shown and edited texts, check boxes, images, writing back,
// stepping to the next value and the permission to edit.
#include "DBGridGxColumns.h"
#include "DBGridGxDataLink.h"
#include "DBGridGxRoutines.h"
#include "platform/gui/ImageList.h"
#include "grid/support/ToolCtrlsGx.h"
#include "platform/db/DataSet.h"
#include "platform/db/DataSource.h"
#include "platform/db/Field.h"
#include "platform/rtl/FormatSettings.h"
#include "grid/support/EditButtonPaintGx.h"
#include "grid/support/ToolCtrlsGxDraw.h"
#include "platform/gui/Canvas.h"
#include "platform/gui/ControlBase.h"
#include "platform/gui/DrawUtils.h"

namespace {

bool IsNumericType(TFieldType t)
{
    switch (t) {
    case ftSmallint: case ftInteger: case ftWord: case ftFloat: case ftCurrency: case ftBCD: case ftFMTBcd:
        return true;
    default:
        return false;
    }
}

bool IsCheckNumberType(TFieldType t)
{
    switch (t) {
    case ftSmallint: case ftInteger: case ftFloat: case ftCurrency: case ftBCD: case ftFMTBcd:
        return true;
    default:
        return false;
    }
}

// One ';'-separated part of a key-list entry equals the text, ignoring case; an
// empty entry, or one ending in ';', also matches an empty text.
bool KeyEntryMatches(const QString& entry, const QString& text)
{
    if (entry.isEmpty() || entry.endsWith(QLatin1Char(';')))
        if (text.isEmpty())
            return true;
    const QStringList parts = ExtractFieldNamesGx(entry);
    for (const QString& part : parts)
        if (part.compare(text, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString FirstKeyPart(const QStringList& keyList, int index)
{
    if (index >= keyList.size())
        return QString();
    const QString entry = keyList.at(index);
    const int semi = entry.indexOf(QLatin1Char(';'));
    return semi < 0 ? entry : entry.left(semi);
}

// The characters a field takes from the keyboard.
bool FieldAcceptsChar(const TField* field, QChar key)
{
    switch (field->DataType()) {
    case ftSmallint: case ftInteger: case ftWord: case ftAutoInc: case ftLargeint:
        return key.isDigit() || key == QLatin1Char('+') || key == QLatin1Char('-');
    case ftFloat: case ftCurrency: case ftBCD: case ftFMTBcd:
        return key.isDigit() || key == QLatin1Char('+') || key == QLatin1Char('-') || key == FormatSettings::DecimalSeparator ||
               key == QLatin1Char('e') || key == QLatin1Char('E');
    case ftBoolean:
        return key.isLetterOrNumber();
    default:
        return true;
    }
}

TDataSet* ListDataSetOf(TColumnGx* column, TField* field)
{
    TDataSource* src = column->DropDownBox()->ListSource();
    if (src && src->DataSet())
        return src->DataSet();
    return field ? field->LookupDataSet : nullptr;
}

} // namespace

bool TColumnGx::IsMemoField(TField* field) const
{
    if (!field)
        return false;
    const TFieldType t = field->DataType();
    return t == ftMemo || t == ftWideMemo;
}

TColumnGxType TColumnGx::GetColumnType()
{
    TField* field = Field();
    if (Checkboxes())
        return ctCheckboxes;
    if (field && field->Lookup())
        return ctLookupField;
    if (HasPickItems() && !HasKeyItems())
        return ctPickList;
    if (FImageList && !FShowImageAndText)
        return ctKeyImageList;
    if (HasKeyItems() && HasPickItems())
        return ctKeyPickList;
    return ctCommon;
}

Variant TColumnGx::LookupKeyValue()
{
    TField* field = Field();
    if (!field || !field->DataSet() || field->KeyFields.isEmpty())
        return Variant::Null();
    const TFieldsArrGx keys = FieldsToArray(field->DataSet(), nullptr, field->KeyFields);
    if (keys.size() == 1)
        return keys.front()->Value();
    std::vector<Variant> values;
    for (TField* f : keys)
        values.push_back(f->Value());
    return Variant::Array(std::move(values));
}

QString TColumnGx::DisplayText()
{
    TField* field = Field();
    if (!field || GetColumnType() == ctKeyImageList)
        return QString();
    if (HasKeyItems()) {
        const QStringList& keys = KeyList();
        const int pickCount = FPickList ? int(FPickList->size()) : 0;
        const int i = keys.indexOf(field->Text());
        if (i >= 0 && i < pickCount)
            return FPickList->at(i);
        if (FNotInKeyListIndex >= 0 && FNotInKeyListIndex < pickCount)
            return FPickList->at(FNotInKeyListIndex);
        return QString();
    }
    IDBGridGx* grid = Grid();
    if (grid && grid->DrawMemoText() && IsMemoField(field))
        return field->AsString();
    if (GetColumnType() == ctLookupField && FDropDownSpecRow->Visible()) {
        bool special = VariantsEqual(LookupKeyValue(), FDropDownSpecRow->Value());
        if (!special && FDropDownSpecRow->ShowIfNotInKeyList()) {
            TDataSet* lookup = field->LookupDataSet;
            special = field->IsNull() || !lookup || !lookup->Active();
        }
        if (special)
            return FDropDownSpecRow->CellTextAt(0);
    }
    return FormatFieldValueGx(field, FDisplayFormat);
}

QString TColumnGx::EditText()
{
    TField* field = Field();
    if (!field || GetColumnType() == ctKeyImageList)
        return QString();
    if (!HasKeyItems()) {
        IDBGridGx* grid = Grid();
        if (grid && grid->DrawMemoText() && IsMemoField(field))
            return field->AsString();
        if (!field->Lookup())
            return field->Text();
    }
    return DisplayText();
}

QString TColumnGx::GetCellEditText()
{
    IDBGridGx* grid = Grid();
    if (!LinkActive())
        return QString();
    QString text;
    TField* field = Field();
    if (field) {
        if (HasKeyItems()) {
            const int i = KeyList().indexOf(field->Text());
            if (i >= 0 && FPickList && i < FPickList->size())
                text = FPickList->at(i);
        } else if (grid->DrawMemoText() && IsMemoField(field)) {
            text = field->AsString();
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
            text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        } else {
            text = field->Text();
        }
    }
    if (field && field->Lookup() && !field->KeyFields.isEmpty()) {
        const Variant key = LookupKeyValue();
        bool special = false;
        if (FDropDownSpecRow->Visible()) {
            special = VariantsEqual(key, FDropDownSpecRow->Value());
            if (!special && FDropDownSpecRow->ShowIfNotInKeyList()) {
                TDataSet* lookup = field->LookupDataSet;
                bool located = false;
                if (lookup && lookup->Active())
                    located = !lookup->Lookup(field->LookupKeyFields, key, field->LookupKeyFields).IsNull();
                special = !located;
            }
        }
        if (special) {
            grid->SetEditKeyValue(FDropDownSpecRow->Value());
            text = FDropDownSpecRow->CellTextAt(0);
        } else {
            grid->SetEditKeyValue(key);
        }
    } else {
        grid->SetEditKeyValue(Variant::Null());
    }
    TColCellParamsGx params;
    params.Text = text;
    params.Font = grid->Canvas()->Font();
    GetColCellParams(true, params);
    grid->SetEditText(params.Text);
    return params.Text;
}

void TColumnGx::SetCellEditText(const QString& value)
{
    if (IDBGridGx* grid = Grid())
        grid->SetEditText(value);
}

QString TColumnGx::GetEditMaskText()
{
    if (!LinkActive())
        return QString();
    if (!FEditMask.isEmpty())
        return FEditMask;
    TField* field = Field();
    if (!field || HasKeyItems())
        return QString();
    return field->EditMask();
}

TCheckBoxState TColumnGx::GetCheckboxState()
{
    TField* field = Field();
    if (!field)
        return cbUnchecked;
    if (!HasKeyItems()) {
        if (field->DataType() == ftBoolean) {
            if (field->IsNull())
                return cbGrayed;
            return field->AsBoolean() ? cbChecked : cbUnchecked;
        }
        if (IsCheckNumberType(field->DataType())) {
            if (field->IsNull())
                return cbGrayed;
            return field->AsFloat() == 1.0 ? cbChecked : cbUnchecked;
        }
    }
    const QStringList& keys = KeyList();
    const QString text = field->Text();
    if (!keys.isEmpty() && KeyEntryMatches(keys.at(0), text))
        return cbChecked;
    if (keys.size() >= 2 && KeyEntryMatches(keys.at(1), text))
        return cbUnchecked;
    return cbGrayed;
}

void TColumnGx::SetCheckboxState(TCheckBoxState value)
{
    TField* field = Field();
    if (!field)
        return;
    if (value == cbGrayed) {
        WriteCellValue(QString(), Variant::Null(), false);
    } else if (field->DataType() == ftBoolean) {
        WriteCellValue(QString(), Variant(value == cbChecked), false);
    } else if (IsCheckNumberType(field->DataType())) {
        WriteCellValue(QString(), Variant(value == cbChecked ? 1 : 0), false);
    } else {
        const QStringList keys = FKeyList ? *FKeyList : QStringList();
        WriteCellValue(FirstKeyPart(keys, value == cbChecked ? 0 : 1), Variant(), true);
    }
}

int TColumnGx::GetImageIndex()
{
    TField* field = Field();
    if (!field)
        return -1;
    int result = -1;
    if (HasKeyItems()) {
        result = KeyList().indexOf(field->Text());
    } else if (HasPickItems()) {
        result = PickList().indexOf(field->Text());
    } else if (IsNumericType(field->DataType()) && !field->IsNull()) {
        const double v = field->AsFloat();
        if (v >= -2147483648.0 && v <= 2147483647.0)
            result = int(v);
    }
    return result == -1 ? FNotInKeyListIndex : result;
}

void TColumnGx::WriteCellValue(const QString& text, const Variant& value, bool useText)
{
    IDBGridGx* grid = Grid();
    if (!grid)
        return;
    WriteFieldValue(text, value, useText);
    if (FMRUList->AutoAdd() && FMRUList->Active() && grid->InplaceEditorVisible())
        FMRUList->Add(text);
}

void TColumnGx::WriteFieldValue(const QString& text, const Variant& value, bool useText)
{
    IDBGridGx* grid = Grid();
    if (!grid)
        return;
    QString t = text;
    Variant v = value;
    bool useT = useText;
    bool handled = false;
    if (OnUpdateData)
        OnUpdateData(this, t, v, useT, handled);
    TField* field = Field();
    if (handled || !field)
        return;
    if (!useT) {
        if (field->Lookup() && !field->KeyFields.isEmpty())
            SetFieldsValue(field->DataSet(), field->KeyFields, v);
        else
            field->SetValue(v);
    } else if (grid->DrawMemoText() && IsMemoField(field)) {
        field->SetAsString(t);
    } else {
        field->SetText(t);
    }
}

// The field whose permission decides (the first key field of a lookup field);
// false when a lookup field has no key fields or one of them may not be changed.
bool TColumnGx::CheckedFieldCanModify(TField*& checked)
{
    checked = Field();
    if (!checked)
        return false;
    if (checked->Lookup()) {
        if (checked->KeyFields.isEmpty() || !checked->DataSet())
            return false;
        TFieldsArrGx keys;
        try {
            keys = FieldsToArray(checked->DataSet(), nullptr, checked->KeyFields);
        } catch (const EDatabaseError&) {
            return false;
        }
        if (keys.empty())
            return false;
        for (TField* k : keys)
            if (!k->CanModify())
                return false;
        checked = keys.front();
    }
    return checked->CanModify();
}

bool TColumnGx::CanModify(bool tryEdit)
{
    IDBGridGx* grid = Grid();
    if (grid && (grid->ReadOnly() || !LinkActive() || grid->DataLink()->ReadOnly()))
        return false;
    if (ReadOnly() || !Field())
        return false;
    TField* checked = nullptr;
    if (!CheckedFieldCanModify(checked))
        return false;
    const bool allowed = !grid || grid->EditingAllowedForCurrentRecord();
    if (!checked->IsBlob() || checked->OnSetText) {
        if (!allowed)
            return false;
    } else if (!(grid && grid->DrawMemoText() && IsMemoField(checked) && allowed)) {
        return false;
    }
    TColCellParamsGx params;
    params.ReadOnly = ReadOnly();
    GetColCellParams(true, params);
    bool result = !params.ReadOnly;
    if (tryEdit && result && grid) {
        grid->DataLink()->Edit();
        result = grid->DataLink()->Editing();
        if (result)
            grid->DataLink()->SetModified();
    }
    return result;
}

void TColumnGx::StepFieldValue(double step)
{
    IDBGridGx* grid = Grid();
    if (!grid || grid->ReadOnly() || !LinkActive() || grid->DataLink()->ReadOnly() || ReadOnly())
        return;
    TField* field = Field();
    if (!field)
        return;
    TField* checked = nullptr;
    if (!CheckedFieldCanModify(checked))
        return;
    if (checked->IsBlob() && !checked->OnSetText)
        return;
    if (!grid->EditingAllowedForCurrentRecord())
        return;
    TColCellParamsGx params;
    params.ReadOnly = !CanModify(false);
    GetColCellParams(true, params);
    if (params.ReadOnly)
        return;
    grid->DataLink()->Edit();
    if (!grid->DataLink()->Editing())
        return;
    grid->DataLink()->SetModified();

    const QString text = grid->InplaceEditorVisible() ? grid->InplaceEditorText() : field->Text();
    // Any step up is forward, so that an increment other than 1 steps both ways.
    const bool forward = step > 0;
    switch (GetColumnType()) {
    case ctCheckboxes:
        SetCheckboxState(GetCheckboxState() == cbChecked ? cbUnchecked : cbChecked);
        return;
    case ctKeyPickList:
    case ctKeyImageList: {
        const QStringList& keys = KeyList();
        if (keys.isEmpty())
            return;
        const int i = keys.indexOf(field->Text());
        int next;
        if (forward)
            next = (i < 0 || i >= keys.size() - 1) ? 0 : i + 1;
        else
            next = (i <= 0) ? int(keys.size()) - 1 : i - 1;
        WriteCellValue(text, Variant(keys.at(next)), false);
        return;
    }
    case ctPickList: {
        const QStringList& picks = PickList();
        const int i = picks.indexOf(field->Text());
        if (forward) {
            if (i < 0 || i >= picks.size() - 1)
                field->SetText(picks.at(0));
            else
                WriteCellValue(picks.at(i + 1), Variant(), true);
        } else {
            if (i <= 0)
                field->SetText(picks.last());
            else
                WriteCellValue(picks.at(i - 1), Variant(), true);
        }
        return;
    }
    case ctLookupField: {
        TDataSet* list = ListDataSetOf(this, field);
        if (!list || !list->Active())
            return;
        if (checked->IsNull()) {
            list->First();
        } else if (!list->Locate(field->LookupKeyFields, LookupKeyValue())) {
            list->First();
        } else if (!forward) {
            if (list->Bof()) {
                list->Last();
            } else {
                list->Prior();
                if (list->Bof())
                    list->Last();
            }
        } else {
            if (list->Eof()) {
                list->First();
            } else {
                list->Next();
                if (list->Eof())
                    list->First();
            }
        }
        const TFieldsArrGx listKeys = FieldsToArray(list, nullptr, field->LookupKeyFields);
        Variant key;
        if (listKeys.size() == 1) {
            key = listKeys.front()->Value();
        } else {
            std::vector<Variant> values;
            for (TField* f : listKeys)
                values.push_back(f->Value());
            key = Variant::Array(std::move(values));
        }
        WriteCellValue(text, key, false);
        if (TField* result = list->FindField(field->LookupResultField))
            field->SetText(result->Text());
        return;
    }
    default:
        break;
    }
    if (IsNumericType(field->DataType())) {
        const double old = field->IsNull() ? -step : field->AsFloat();
        try {
            WriteCellValue(text, Variant(old + step), false);
        } catch (const EDatabaseError&) {
            // A value the field refuses leaves it as it was: stepping never complains.
        }
    }
}

bool TColumnGx::CanEditAcceptKey(QChar key)
{
    TField* field = Field();
    if (!field)
        return bool(OnUpdateData);
    if (HasKeyItems())
        return true;
    return FieldAcceptsChar(field, key);
}

QString TColumnGx::GetAcceptableEditText(const QString& inputEditText)
{
    QString result;
    for (QChar ch : inputEditText)
        if (CanEditAcceptKey(ch))
            result += ch;
    return result;
}

bool TColumnGx::CanEditText()
{
    TColCellParamsGx params;
    FillColCellParams(params);
    GetColCellParams(false, params);
    return params.TextEditing;
}

bool TColumnGx::IsTabStop()
{
    if (!Visible() || ReadOnly() || !LinkActive())
        return false;
    TField* field = Field();
    if (!field || field->Calculated())
        return false;
    return !IsFieldReadOnlyForGrid(field);
}

void TColumnGx::FillColCellParams(TColCellParamsGx& params)
{
    IDBGridGx* grid = Grid();
    params.Row = -1;
    params.Col = -1;
    params.State = 0;
    params.Font = grid ? grid->SpareFont() : Font();
    params.Background = Color();
    params.Alignment = Alignment();
    params.ImageIndex = GetImageIndex();
    params.Text = DisplayText();
    params.CheckboxState = GetCheckboxState();
    params.ReadOnly = ReadOnly();
    params.TextEditing = TextEditing();
    params.BlankCell = false;
}

void TColumnGx::GetColCellParams(bool editMode, TColCellParamsGx& params)
{
    if (OnGetCellParams)
        OnGetCellParams(this, editMode, params);
}

// ---------------------------------------------------------------- edit buttons and row heights

bool TColumnGx::HasDefaultEditButton()
{
    switch (FButtonStyle) {
    case cbsNone:
        return false;
    case cbsAuto: {
        TField* field = Field();
        if (field && field->Lookup()) {
            TField* checked = nullptr;
            return CheckedFieldCanModify(checked);
        }
        return HasPickItems() || HasKeyItems();
    }
    default:
        return true;
    }
}

int TColumnGx::EditButtonsWidth()
{
    IDBGridGx* grid = Grid();
    const bool flat = grid && grid->Flat();
    const int defaultWidth =
        flat ? GetDefaultFlatButtonWidth() + (IsThemingActive() ? 0 : 1) : GetSystemMetrics(SM_CXVSCROLL);
    int width = HasDefaultEditButton() ? defaultWidth : 0;
    for (int i = 0; i < FEditButtons->Count(); ++i) {
        TEditButtonGx* button = FEditButtons->ButtonAt(i);
        if (!button->Visible())
            continue;
        width += button->Width() > 0 ? button->Width() : defaultWidth;
        if (flat && !IsThemingActive())
            width += 1;
    }
    return width;
}

int TColumnGx::CalcRowHeight()
{
    IDBGridGx* grid = Grid();
    if (!grid)
        return 0;
    int result = grid->StdDefaultRowHeight();
    if (!grid->OptionsGx().Contains(dghAutoFitRowHeight))
        return result;
    TCanvas* canvas = grid->Canvas();
    TFont saved;
    saved.Assign(*canvas->Font());
    canvas->SetFont(*Font());
    int width = Width() - (AlwaysShowEditButton() ? EditButtonsWidth() + 4 : 4);
    if (FShowImageAndText && FImageList)
        width -= FImageList->Width() + 4;
    TRect r(0, 0, std::max(1, width), 0);
    const int height =
        DrawText(canvas, DisplayText(), r, DT_CALCRECT | DT_NOPREFIX | (WordWrap() ? DT_WORDBREAK : DT_SINGLELINE));
    canvas->SetFont(saved);
    if (height > result)
        result = height + (grid->Flat() ? 1 : 3) + (grid->Options().Contains(dgRowLines) ? grid->GridLineWidth() : 0);
    return result;
}

bool TColumnGx::CurLineWordWrap(int rowHeight)
{
    IDBGridGx* grid = Grid();
    if (!grid)
        return false;
    TCanvas* canvas = grid->Canvas();
    TFont saved;
    saved.Assign(*canvas->Font());
    canvas->SetFont(*Font());
    const int height = canvas->FontHeight();
    const int em = Font()->Height() < 0 ? -Font()->Height() : height;
    const int internalLeading = std::max(0, height - em);
    const int needed = grid->Interlinear() + canvas->FontExternalLeading() + height + internalLeading;
    canvas->SetFont(saved);
    return needed < rowHeight;
}

void TColumnGx::OptimizeWidth()
{
    IDBGridGx* grid = Grid();
    if (!grid)
        return;
    TColumnsGxList list;
    list.Add(this);
    grid->OptimizeColumnsWidth(list);
}
