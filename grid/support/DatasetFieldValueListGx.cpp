#include "DatasetFieldValueListGx.h"
#include "GxLibVCL.h"
#include <algorithm>

void TDataLinkGx::DataEvent(TDataEvent event, qintptr info)
{
    TDataLink::DataEvent(event, info);
    if (OnDataEvent)
        OnDataEvent(event, info);
}

TDatasetFieldValueListGx::TDatasetFieldValueListGx()
    : FDataLink(std::make_unique<TDataLinkGx>()), FDataSource(std::make_unique<TDataSource>())
{
    FDataLink->OnDataEvent = [this](TDataEvent event, qintptr info) { DataEvent(event, info); };
}

TDatasetFieldValueListGx::~TDatasetFieldValueListGx()
{
    FDataLink->OnDataEvent = nullptr;
    FDataLink->SetDataSource(nullptr);
    FDataSource->SetDataSet(nullptr);
}

void TDatasetFieldValueListGx::SetFieldName(const QString& value)
{
    if (value == FFieldName)
        return;
    FDataObsoleted = true;
    FFieldName = value;
}

void TDatasetFieldValueListGx::SetDataSource(TDataSource* value)
{
    if (value == FDataLink->DataSource())
        return;
    FDataObsoleted = true;
    FDataLink->SetDataSource(value);
}

void TDatasetFieldValueListGx::SetDataSet(TDataSet* value)
{
    if (FDataLink->DataSource() != FDataSource.get())
        SetDataSource(FDataSource.get());
    if (value != FDataLink->DataSet()) {
        FDataObsoleted = true;
        FDataSource->SetDataSet(value);
    }
}

const QStringList& TDatasetFieldValueListGx::Values()
{
    if (FDataObsoleted)
        Reread();
    return FValues;
}

void TDatasetFieldValueListGx::DataEvent(TDataEvent event, qintptr)
{
    if (event == deDataSetChange || event == dePropertyChange || event == deFieldListChange)
        FDataObsoleted = true;
}

void TDatasetFieldValueListGx::AddValue(const QString& text)
{
    auto less = [](const QString& a, const QString& b) { return NlsCompareText(a, b) < 0; };
    auto at = std::lower_bound(FValues.begin(), FValues.end(), text, less);
    if (at == FValues.end() || NlsCompareText(*at, text) != 0)
        FValues.insert(at, text);
}

void TDatasetFieldValueListGx::Reread()
{
    FValues.clear();
    TDataSet* ds = FDataLink->DataSet();
    TField* field = FDataLink->Active() && ds ? ds->FindField(FFieldName) : nullptr;
    if (!field)
        return;
    // The walk returns to the record it started from, so reading the values never
    // moves the user's cursor. The events of the walk itself must not mark the
    // values obsolete again.
    const TBookmark start = ds->GetBookmark();
    ds->DisableControls();
    try {
        ds->First();
        while (!ds->Eof()) {
            AddValue(field->AsString());
            ds->Next();
        }
        if (!start.IsEmpty() && ds->BookmarkValid(start))
            ds->GotoBookmark(start);
    } catch (...) {
        ds->EnableControls();
        throw;
    }
    ds->EnableControls();
    FDataObsoleted = false;
}
