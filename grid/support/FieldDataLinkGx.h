#pragma once
// The data link of the grid library's data-aware editors. Beside binding an
// editor to one field (or several, "a;b;c", with MultiFields), it has a
// data-independent mode: without data source and field name it keeps the
// editor's value itself and imitates the edit cycle without a dataset.
#include "GxLibVCL.h"
#include "ToolCtrlsGx.h"
#include "platform/db/DataSource.h"
#include <functional>

class QWidget;

class TFieldDataLinkGx : public TDataLink {
public:
    using TNotifyEvent = std::function<void(TFieldDataLinkGx* sender)>;

    TFieldDataLinkGx();
    ~TFieldDataLinkGx() override;

    // Value of the link in data-independent mode; Null after creation.
    Variant DataIndependentValue;

    bool Active() const;
    bool CanModify() const;
    QWidget* Control() const { return FControl; }
    void SetControl(QWidget* control) { FControl = control; }
    bool DataIndepended() const { return FDataIndepended; }
    bool DataSetActive() const;
    TDataSource* DataSource() const { return TDataLink::DataSource(); }
    void SetDataSource(TDataSource* value);
    bool Editing() const { return FEditing; }
    TField* Field() const { return FFields.empty() ? nullptr : FFields.front(); }
    TField* Fields(int index) const;
    int FieldsCount() const { return int(FFields.size()); }
    const QString& FieldName() const { return FFieldName; }
    void SetFieldName(const QString& value);
    bool MultiFields() const { return FMultiFields; }
    void SetMultiFields(bool value);
    bool IsModified() const { return FModified; }

    TNotifyEvent OnActiveChange;
    TNotifyEvent OnDataChange;
    TNotifyEvent OnEditingChange;
    TNotifyEvent OnUpdateData;

    bool Edit();
    void Modified() { FModified = true; }
    void SetModified(bool value) { FModified = value; }
    void SetText(const QString& text);
    // With several fields the value is a variant array, one element per field.
    void SetValue(const Variant& value);
    void Reset();

    void DataEvent(TDataEvent event, qintptr info) override;

protected:
    virtual void UpdateField();
    virtual bool IsDataIndepended() const;

    void ActiveChanged() override;
    void LayoutChanged() override;
    void EditingChanged() override;
    void RecordChanged(TField* field) override;
    void UpdateData() override;
    void FocusControl(TField*& field) override;

private:
    void SetEditing(bool value);
    void SetFields(const TFieldsArrGx& fields);
    void UpdateDataIndepended();
    void UpdateRightToLeft();
    bool IsLinkField(const TField* field) const;

    TFieldsArrGx FFields;
    QString FFieldName;
    QWidget* FControl = nullptr;
    bool FMultiFields = false;
    bool FDataIndepended = true;
    bool FEditing = false;
    bool FModified = false;
};
