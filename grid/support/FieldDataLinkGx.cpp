#include "FieldDataLinkGx.h"
#include "platform/db/DataSet.h"
#include "GxLibVCLGui.h"
#include <QWidget>
#include <algorithm>

TFieldDataLinkGx::TFieldDataLinkGx()
{
    SetVisualControl(true);
    DataIndependentValue = Variant::Null();
}

TFieldDataLinkGx::~TFieldDataLinkGx() = default;

bool TFieldDataLinkGx::Active() const
{
    return FDataIndepended || (TDataLink::Active() && Field() != nullptr);
}

bool TFieldDataLinkGx::DataSetActive() const
{
    return DataSource() && DataSource()->DataSet() && DataSource()->DataSet()->Active();
}

bool TFieldDataLinkGx::CanModify() const
{
    if (Field() && Field()->CanModify())
        return true;
    return FDataIndepended;
}

TField* TFieldDataLinkGx::Fields(int index) const
{
    return index >= 0 && index < FieldsCount() ? FFields[size_t(index)] : nullptr;
}

bool TFieldDataLinkGx::IsLinkField(const TField* field) const
{
    return std::find(FFields.begin(), FFields.end(), field) != FFields.end();
}

void TFieldDataLinkGx::SetDataSource(TDataSource* value)
{
    if (value == DataSource())
        return;
    TDataLink::SetDataSource(value);
    UpdateDataIndepended();
}

void TFieldDataLinkGx::SetFieldName(const QString& value)
{
    if (value == FFieldName)
        return;
    FFieldName = value;
    UpdateField();
    UpdateDataIndepended();
}

void TFieldDataLinkGx::SetMultiFields(bool value)
{
    if (value == FMultiFields)
        return;
    FMultiFields = value;
    UpdateField();
}

bool TFieldDataLinkGx::Edit()
{
    if (FDataIndepended) {
        if (!FEditing && !ReadOnly()) {
            FEditing = true;
            FModified = false;
            if (OnEditingChange)
                OnEditingChange(this);
        }
    } else if (CanModify()) {
        TDataLink::Edit();
    }
    return FEditing;
}

void TFieldDataLinkGx::SetText(const QString& text)
{
    if (FDataIndepended) {
        DataIndependentValue = Variant(text);
        RecordChanged(nullptr);
        return;
    }
    TField* field = Field();
    if (!field)
        return;
    if (field->DataType() == ftMemo || field->DataType() == ftWideMemo)
        field->SetAsString(text);
    else
        field->SetText(text);
}

void TFieldDataLinkGx::SetValue(const Variant& value)
{
    if (FDataIndepended) {
        DataIndependentValue = value;
        RecordChanged(nullptr);
    } else if (FieldsCount() > 1) {
        if (value.IsNull()) {
            for (TField* f : FFields)
                f->SetValue(Variant::Null());
            return;
        }
        for (int i = 0; i < FieldsCount(); ++i)
            FFields[size_t(i)]->SetValue(value.ArrayItem(value.ArrayLowBound() + i));
    } else if (TField* field = Field()) {
        field->SetValue(value);
    }
}

void TFieldDataLinkGx::Reset()
{
    RecordChanged(nullptr);
}

bool TFieldDataLinkGx::IsDataIndepended() const
{
    return DataSource() == nullptr && FFieldName.isEmpty();
}

void TFieldDataLinkGx::UpdateDataIndepended()
{
    const bool independent = IsDataIndepended();
    if (independent == FDataIndepended)
        return;
    FDataIndepended = independent;
    DataIndependentValue = Variant::Null();
    LayoutChanged();
    if (independent)
        RecordChanged(nullptr);
}

void TFieldDataLinkGx::UpdateField()
{
    TFieldsArrGx fields;
    if (TDataLink::Active() && !FFieldName.isEmpty()) {
        TDataSet* ds = DataSet();
        if (FMultiFields) {
            if (FControl)
                GetFieldsByNames(&fields, ds, FControl, FFieldName);
            else
                fields = ds->GetFieldList(FFieldName);
        } else if (FControl) {
            TField* field = ds->FindField(FFieldName);
            if (!field) {
                QString message = QString::fromLatin1(DBText::FieldNotFound).arg(FFieldName);
                if (!FControl->objectName().isEmpty())
                    message = FControl->objectName() + QStringLiteral(": ") + message;
                throw EDatabaseError(message);
            }
            fields.push_back(field);
        } else {
            fields.push_back(ds->FieldByName(FFieldName));
        }
    }
    SetFields(fields);
}

void TFieldDataLinkGx::SetFields(const TFieldsArrGx& fields)
{
    FFields = fields;
    EditingChanged();
    RecordChanged(nullptr);
    UpdateRightToLeft();
}

void TFieldDataLinkGx::UpdateRightToLeft()
{
    // Our editors take their alignment from the field on every paint, so a change
    // of direction needs no recreated window.
    if (FControl && FControl->layoutDirection() == Qt::RightToLeft)
        WinInvalidateRect(FControl, nullptr, false);
}

void TFieldDataLinkGx::SetEditing(bool value)
{
    if (FEditing == value)
        return;
    FEditing = value;
    FModified = false;
    if (OnEditingChange)
        OnEditingChange(this);
}

void TFieldDataLinkGx::ActiveChanged()
{
    UpdateField();
    if (OnActiveChange)
        OnActiveChange(this);
}

void TFieldDataLinkGx::LayoutChanged()
{
    UpdateField();
}

void TFieldDataLinkGx::EditingChanged()
{
    SetEditing(TDataLink::Editing() && CanModify());
}

void TFieldDataLinkGx::RecordChanged(TField* field)
{
    if (field && !IsLinkField(field))
        return;
    if (OnDataChange)
        OnDataChange(this);
    FModified = false;
}

void TFieldDataLinkGx::DataEvent(TDataEvent event, qintptr info)
{
    TDataLink::DataEvent(event, info);
    if (event == deDisabledStateChange) {
        if (info != 0)
            UpdateField();
        else
            FFields.clear();
    }
}

void TFieldDataLinkGx::UpdateData()
{
    if (FDataIndepended) {
        if (FModified && OnUpdateData)
            OnUpdateData(this);
        FEditing = false;
    } else if (FModified && Field() && OnUpdateData) {
        OnUpdateData(this);
    }
    FModified = false;
}

void TFieldDataLinkGx::FocusControl(TField*& field)
{
    if (!field || !IsLinkField(field) || !FControl)
        return;
    if (FControl->isEnabled() && FControl->isVisible() && FControl->focusPolicy() != Qt::NoFocus) {
        field = nullptr;
        FControl->setFocus();
    }
}
