// The grid's data link (dataset notifications, modified flag, field map) and its
// list of selected records.
#include "DBGridGxDataLink.h"
#include "DBGridGxColumns.h"
#include "platform/db/DataSet.h"
#include "platform/db/Field.h"
#include <algorithm>

TGridDataLinkGx::TGridDataLinkGx(IDBGridGx* grid)
    : FGrid(grid)
{
    SetVisualControl(true);
}

TGridDataLinkGx::~TGridDataLinkGx()
{
    ClearMapping();
}

bool TGridDataLinkGx::AddMapping(const QString& fieldName)
{
    if (FFieldCount >= MaxMapSize)
        FGrid->RaiseGridError(QStringLiteral("Grid requested to display more than 256 columns"));
    TField* field = nullptr;
    TDataSet* ds = DataSet();
    if (FSparseMap) {
        if (ds)
            field = ds->FindField(fieldName);
    } else {
        if (!ds)
            DatabaseErrorFmt(DBText::FieldNotFound, fieldName);
        field = ds->FieldByName(fieldName);
    }
    if (FFieldCount == FFieldMapSize) {
        qint64 size = FFieldMapSize == 0 ? 8 : qint64(FFieldMapSize) * 2;
        size = std::max<qint64>(size, FFieldCount + 1);
        size = std::min<qint64>(size, MaxMapSize);
        FFieldMapSize = int(size);
        FFieldMap.resize(size_t(FFieldMapSize), -1);
    }
    FFieldMap[size_t(FFieldCount)] = field ? field->Index() : -1;
    ++FFieldCount;
    return true;
}

void TGridDataLinkGx::ClearMapping()
{
    FFieldMap.clear();
    FFieldMapSize = 0;
    FFieldCount = 0;
}

TField* TGridDataLinkGx::GetMappedField(int index) const
{
    if (index < 0 || index >= FFieldCount)
        return nullptr;
    const int fieldIndex = FFieldMap[size_t(index)];
    TDataSet* ds = DataSet();
    if (fieldIndex < 0 || !ds || fieldIndex >= ds->FieldCount())
        return nullptr;
    return ds->Fields().Fields(fieldIndex);
}

int TGridDataLinkGx::GetMappedFieldIndex(int index) const
{
    if (index < 0 || index >= FFieldCount)
        return -1;
    return FFieldMap[size_t(index)];
}

bool TGridDataLinkGx::DefaultFields() const
{
    TDataSet* ds = DataSet();
    if (!ds)
        return true;
    if (FSparseMap)
        for (int i = 0; i < FFieldCount; ++i)
            if (FFieldMap[size_t(i)] < 0)
                return false;
    return ds->DefaultFields();
}

void TGridDataLinkGx::Reset()
{
    if (FModified)
        RecordChanged(nullptr);
    else if (TDataSet* ds = DataSet())
        ds->Cancel();
}

void TGridDataLinkGx::TakeBookmark()
{
    TDataSet* ds = DataSet();
    FLastBookmark = ds && ds->Active() ? ds->GetBookmark() : TBookmark();
}

void TGridDataLinkGx::ActiveChanged()
{
    FGrid->LinkActive(Active());
    FModified = false;
    if (Active())
        TakeBookmark();
}

void TGridDataLinkGx::DataEvent(TDataEvent event, qintptr info)
{
    TDataLink::DataEvent(event, info);
    if (event == deDisabledStateChange)
        if (TDBGridColumnsGx* columns = FGrid->Columns())
            columns->ActiveChanged();
}

void TGridDataLinkGx::DataSetChanged()
{
    FGrid->DataChanged();
    FModified = false;
    TakeBookmark();
}

void TGridDataLinkGx::DataSetScrolled(int distance)
{
    FGrid->Scroll(distance);
    TakeBookmark();
}

void TGridDataLinkGx::LayoutChanged()
{
    FGrid->DataLayoutChanged();
    TDataLink::LayoutChanged();
}

void TGridDataLinkGx::FocusControl(TField*& field)
{
    if (!field)
        return;
    FGrid->SetSelectedField(field);
    if (FGrid->SelectedField() == field && FGrid->AcquireFocus()) {
        field = nullptr;
        FGrid->ShowEditor();
    }
}

void TGridDataLinkGx::EditingChanged()
{
    FGrid->EditingChanged();
}

void TGridDataLinkGx::RecordChanged(TField* field)
{
    FGrid->RecordChanged(field);
    FModified = false;
}

void TGridDataLinkGx::UpdateData()
{
    if (FInUpdateData)
        return;
    FInUpdateData = true;
    try {
        if (FModified)
            FGrid->UpdateData();
        FModified = false;
    } catch (...) {
        FInUpdateData = false;
        throw;
    }
    FInUpdateData = false;
}

// ---------------------------------------------------------------- selected rows

TDataSet* TBookmarkListGx::GetDataSet() const { return FGrid->DataSet(); }

void TBookmarkListGx::Invalidate() { FGrid->Invalidate(); }

void TBookmarkListGx::Clear()
{
    TBMListGx::Clear();
    if (!FGrid->Destroying())
        FGrid->SelectionChanged();
}

void TBookmarkListGx::SetCurrentRowSelected(bool value)
{
    TDataSet* ds = GetDataSet();
    if (!ds || !ds->Active() || ds->IsEmpty() || ds->ActiveRecord() >= ds->BufferRecordCount())
        return;
    TBMListGx::SetCurrentRowSelected(value);
    FGrid->InvalidateCurrentRow();
    if (FGrid->SelectionType() != gstRecordBookmarks && Count() > 0)
        FGrid->SelectRecordBookmarks();
}

void TBookmarkListGx::ItemChanged(const TBookmark& item)
{
    TBMListGx::ItemChanged(item);
    FGrid->SelectionUpdateState();
    FGrid->SelectionChanged();
}

void TBookmarkListGx::ListChanged()
{
    FGrid->SelectionUpdateState();
}

TRect TBookmarkListGx::SelectionToGridRect()
{
    TRect result(-1, -1, -1, -1);
    TGridDataLinkGx* link = FGrid->DataLink();
    if (!link || !link->Active())
        return result;
    TDataSet* ds = link->DataSet();
    int first = -1, last = -1;
    std::vector<TBookmark> shown;
    int firstRow = 0;
    if (FGrid->ShownRowBookmarks(shown, firstRow)) {
        // Rows read from a memory table: each row on screen read in its place.
        for (int r = 0; r < int(shown.size()); ++r) {
            int index = 0;
            if (Find(shown[size_t(r)], index)) {
                if (first < 0)
                    first = firstRow + r;
                last = firstRow + r;
            }
        }
        if (first < 0)
            return result;
        return TRect(0, first, FGrid->ColCount() - 1, last);
    }
    const int saved = link->ActiveRecord();
    try {
        for (int r = 0; r < link->RecordCount(); ++r) {
            link->SetActiveRecord(r);
            int index = 0;
            if (Find(ds->GetBookmark(), index)) {
                if (first < 0)
                    first = r;
                last = r;
            }
        }
    } catch (...) {
        link->SetActiveRecord(saved);
        throw;
    }
    link->SetActiveRecord(saved);
    if (first < 0)
        return result;
    const int offset = FGrid->TopDataOffset();
    return TRect(0, first + offset, FGrid->ColCount() - 1, last + offset);
}
