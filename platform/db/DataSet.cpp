#include "DataSet.h"
#include "DataSource.h"
#include "FilterExpr.h"
#include <algorithm>

namespace {

bool InEditModes(TDataSetState s)
{
    return s == dsEdit || s == dsInsert;
}

// Runs a dataset event handler when one is assigned.
void Fire(const TDataSet::TDataSetNotifyEvent& ev, TDataSet* ds)
{
    if (ev)
        ev(ds);
}

bool IsTextField(const TField* f)
{
    switch (f->DataType()) {
    case ftString: case ftWideString: case ftFixedChar: case ftFixedWideChar:
    case ftMemo: case ftWideMemo:
        return true;
    default:
        return false;
    }
}

// Puts the dataset in a temporary reading state for one record and restores it afterwards.
class TempRecord {
public:
    TempRecord(TDataSetState& state, TRecordId& id, const std::vector<Variant>*& values,
               TDataSetState tempState, TRecordId newId, const std::vector<Variant>* newValues)
        : m_state(state), m_id(id), m_values(values),
          m_oldState(state), m_oldId(id), m_oldValues(values)
    {
        state = tempState;
        id = newId;
        values = newValues;
    }
    ~TempRecord()
    {
        m_state = m_oldState;
        m_id = m_oldId;
        m_values = m_oldValues;
    }
private:
    TDataSetState& m_state;
    TRecordId& m_id;
    const std::vector<Variant>*& m_values;
    TDataSetState m_oldState;
    TRecordId m_oldId;
    const std::vector<Variant>* m_oldValues;
};

constexpr TRecordId EditCalcId = -2;

} // namespace

// ---------------------------------------------------------------- life cycle

TDataSet::TDataSet()
{
    m_fields.m_dataSet = this;
}

TDataSet::~TDataSet()
{
    DestroyingDataSet();
}

void TDataSet::DestroyingDataSet()
{
    const auto notifications = std::move(m_freeNotifications);
    m_freeNotifications.clear();
    for (const auto& n : notifications)
        if (n.second)
            n.second(this);
    if (m_state != dsInactive) {
        m_state = dsInactive;
        m_editValues.clear();
        m_insertRow = -1;
        m_recordCount = 0;
        NotifyLinks(deUpdateState, 0);
    }
    for (TDataSource* ds : std::vector<TDataSource*>(m_dataSources))
        ds->SetDataSet(nullptr);
    m_dataSources.clear();
    if (!m_defaultFieldsOwned.empty())
        DestroyFields();
}

void TDataSet::AddFreeNotification(const void* owner, TDataSetNotifyEvent event)
{
    RemoveFreeNotification(owner);
    m_freeNotifications.emplace_back(owner, std::move(event));
}

void TDataSet::RemoveFreeNotification(const void* owner)
{
    std::erase_if(m_freeNotifications, [owner](const auto& n) { return n.first == owner; });
}

void TDataSet::CheckActive() const
{
    if (m_state == dsInactive)
        DatabaseError(QString::fromUtf8(DBText::DataSetClosed));
}

void TDataSet::CheckInactive() const
{
    if (m_state != dsInactive)
        DatabaseError(QString::fromUtf8(DBText::DataSetOpen));
}

void TDataSet::CheckCanModify() const
{
    if (!CanModify())
        DatabaseError(QString::fromUtf8(DBText::DataSetReadOnly));
}

void TDataSet::Open()
{
    if (m_state != dsInactive)
        return;
    Fire(BeforeOpen, this);
    m_state = dsOpening;
    try {
        InternalOpen();
        CreateFieldsFromDefs();
        RebuildView();
    } catch (...) {
        m_state = dsInactive;
        try { InternalClose(); } catch (...) {}
        DestroyFields();
        throw;
    }
    m_state = dsInactive;
    m_bof = true;
    m_insertRow = -1;
    m_activeRecord = 0;
    FillWindow(0);
    m_eof = ViewCount() == 0;
    m_modified = false;
    SetState(dsBrowse);
    Fire(AfterOpen, this);
    if (!IsEmpty())
        Fire(AfterScroll, this);
}

void TDataSet::Close()
{
    if (m_state == dsInactive)
        return;
    Fire(BeforeClose, this);
    m_editValues.clear();
    m_editId = NoRecord;
    m_editRow = -1;
    m_insertRow = -1;
    m_modified = false;
    m_calcId = NoRecord;
    SetState(dsInactive);
    InternalClose();
    m_recordCount = 0;
    m_firstPos = 0;
    m_activeRecord = 0;
    m_bof = m_eof = true;
    DestroyFields();
    Fire(AfterClose, this);
}

void TDataSet::SetState(TDataSetState s)
{
    if (m_state == s)
        return;
    m_state = s;
    m_modified = false;
    NotifyLinks(deUpdateState, 0);
}

// ---------------------------------------------------------------- fields

TField* TDataSet::AddField(std::unique_ptr<TField> field)
{
    CheckInactive();
    if (m_fields.FindField(field->FieldName()))
        DatabaseErrorFmt(DBText::DuplicateFieldName, field->FieldName());
    TField* f = field.get();
    f->m_dataSet = this;
    f->m_persistent = true;
    m_persistentFields.push_back(std::move(field));
    m_fields.Add(f);
    return f;
}

void TDataSet::CreateFieldsFromDefs()
{
    bool persistentData = std::any_of(m_persistentFields.begin(), m_persistentFields.end(),
                                      [](const auto& f) { return f->FieldKind() == fkData; });
    m_defaultFields = !persistentData;
    m_fields.Clear();
    if (m_defaultFields) {
        for (const TFieldDef& d : m_fieldDefs) {
            std::unique_ptr<TField> f = TField::Create(d.DataType());
            f->SetFieldName(d.Name());
            f->SetSize(d.Size());
            f->SetRequired(d.Required());
            f->SetReadOnly(d.ReadOnly());
            if (d.DataType() == ftFixedChar || d.DataType() == ftFixedWideChar || d.DataType() == ftString
                || d.DataType() == ftWideString)
                f->SetDataTypeInternal(d.DataType());
            f->m_fieldNo = d.FieldNo();
            f->m_dataSet = this;
            m_fields.Add(f.get());
            m_defaultFieldsOwned.push_back(std::move(f));
        }
    }
    m_hasCalcFields = false;
    for (const auto& f : m_persistentFields) {
        if (f->FieldKind() == fkData) {
            const TFieldDef* d = m_fieldDefs.Find(f->FieldName());
            if (!d)
                DatabaseErrorFmt(DBText::FieldNotFound, f->FieldName());
            f->m_fieldNo = d->FieldNo();
        } else {
            f->m_fieldNo = 0;
            if (f->Calculated())
                m_hasCalcFields = true;
        }
        m_fields.Add(f.get());
    }
    m_calcValues.assign(size_t(m_fields.Count()), Variant::Null());
    m_calcId = NoRecord;
}

void TDataSet::DestroyFields()
{
    m_fields.Clear();
    m_defaultFieldsOwned.clear();
    for (const auto& f : m_persistentFields)
        m_fields.Add(f.get());
}

TField* TDataSet::FieldByName(const QString& name) const
{
    return m_fields.FieldByName(name);
}

void TDataSet::GetFieldNames(QStringList& list) const
{
    list.clear();
    if (m_fields.Count() > 0) {
        for (TField* f : m_fields)
            list << f->FieldName();
    } else {
        list = m_fieldDefs.Names();
    }
}

QStringList TDataSet::FieldNames() const
{
    QStringList l;
    GetFieldNames(l);
    return l;
}

std::vector<TField*> TDataSet::GetFieldList(const QString& names) const
{
    std::vector<TField*> r;
    for (const QString& n : names.split(u';')) {
        QString t = n.trimmed();
        if (!t.isEmpty())
            r.push_back(FieldByName(t));
    }
    return r;
}

void TDataSet::ClearFields()
{
    if (!InEditModes(m_state))
        DatabaseError(QString::fromUtf8(DBText::NotEditing));
    for (Variant& v : m_editValues)
        v = Variant::Null();
    m_modified = true;
    m_calcId = NoRecord;
    NotifyLinks(deRecordChange, 0);
}

// ---------------------------------------------------------------- field values

TRecordId TDataSet::BufferRecord(int index) const
{
    if (index < 0 || index >= m_recordCount)
        return NoRecord;
    int pos;
    if (m_insertRow >= 0) {
        if (index == m_insertRow)
            return NoRecord;
        pos = m_firstPos + (index > m_insertRow ? index - 1 : index);
    } else {
        pos = m_firstPos + index;
    }
    return pos >= 0 && pos < ViewCount() ? ViewRecord(pos) : NoRecord;
}

TRecordId TDataSet::CurrentRecordId() const
{
    // The record of the active window row; a data link painting another row moves it.
    return m_state == dsInactive ? NoRecord : BufferRecord(m_activeRecord);
}

bool TDataSet::IsEditRow() const
{
    return InEditModes(m_state) && m_activeRecord == m_editRow;
}

Variant TDataSet::ReadField(const TField* field, TRecordId id, const std::vector<Variant>* values)
{
    if (field->FieldKind() == fkData) {
        if (values)
            return (*values)[size_t(field->FieldNo() - 1)];
        return id == NoRecord ? Variant::Null() : StoredValue(id, field->FieldNo());
    }
    if (field->FieldKind() == fkLookup) {
        if (!field->LookupDataSet || !field->LookupDataSet->Active())
            return Variant::Null();
        std::vector<TField*> keys = GetFieldList(field->KeyFields);
        std::vector<Variant> kv;
        for (TField* k : keys) {
            Variant v = ReadField(k, id, values);
            if (v.IsEmptyOrNull())
                return Variant::Null();
            kv.push_back(v);
        }
        return field->LookupDataSet->Lookup(field->LookupKeyFields, kv, field->LookupResultField);
    }
    return CalcFieldValue(field, id, values);
}

Variant TDataSet::CalcFieldValue(const TField* field, TRecordId id, const std::vector<Variant>* values)
{
    size_t idx = size_t(field->Index());
    if (m_state == dsCalcFields)
        return idx < m_calcValues.size() ? m_calcValues[idx] : Variant::Null();
    TRecordId key = values == &m_editValues ? EditCalcId : id;
    if (key == NoRecord)
        return Variant::Null();
    if (m_calcId != key) {
        std::vector<Variant> calc(size_t(m_fields.Count()), Variant::Null());
        {
            TempRecord t(m_state, m_tempId, m_tempValues, dsCalcFields, id, values);
            m_calcValues.swap(calc);
            try {
                Fire(OnCalcFields, this);
            } catch (...) {
                m_calcValues.swap(calc);
                throw;
            }
            m_calcValues.swap(calc);
        }
        m_calcValues.swap(calc);
        m_calcId = key;
    }
    return idx < m_calcValues.size() ? m_calcValues[idx] : Variant::Null();
}

void TDataSet::BeginViewRead(int pos)
{
    CheckActive();
    if (pos < 0 || pos >= ViewCount())
        DatabaseError(QString::fromUtf8(DBText::RecordNotFound));
    m_viewReads.push_back({m_state, m_tempId, m_tempValues});
    m_state = dsFilter;
    m_tempId = ViewRecord(pos);
    m_tempValues = nullptr;
}

void TDataSet::EndViewRead()
{
    if (m_viewReads.empty())
        return;
    const SavedRead r = m_viewReads.back();
    m_viewReads.pop_back();
    m_state = r.state;
    m_tempId = r.id;
    m_tempValues = r.values;
}

Variant TDataSet::GetFieldValue(const TField* field) const
{
    CheckActive();
    auto* self = const_cast<TDataSet*>(this);
    if (m_state == dsFilter || m_state == dsCalcFields)
        return self->ReadField(field, m_tempId, m_tempValues);
    if (IsEditRow())
        return self->ReadField(field, m_editId, &m_editValues);
    return self->ReadField(field, BufferRecord(m_activeRecord), nullptr);
}

void TDataSet::SetFieldValueFrom(TField* field, const Variant& converted)
{
    CheckActive();
    if (m_state == dsCalcFields) {
        if (!field->Calculated())
            DatabaseErrorFmt(DBText::FieldReadOnly, field->DisplayName());
        size_t idx = size_t(field->Index());
        if (idx < m_calcValues.size())
            m_calcValues[idx] = converted;
        return;
    }
    if (!InEditModes(m_state))
        DatabaseError(QString::fromUtf8(DBText::NotEditing));
    if (field->ReadOnly() || field->FieldKind() != fkData)
        DatabaseErrorFmt(DBText::FieldReadOnly, field->DisplayName());
    int saveActive = m_activeRecord;
    m_activeRecord = m_editRow;
    Variant& slot = m_editValues[size_t(field->FieldNo() - 1)];
    Variant old = slot;
    slot = converted;
    m_calcId = NoRecord;
    if (field->OnValidate) {
        try {
            field->OnValidate(field);
        } catch (...) {
            slot = old;
            m_activeRecord = saveActive;
            throw;
        }
    }
    m_modified = true;
    m_activeRecord = saveActive;
    if (field->OnChange)
        field->OnChange(field);
    NotifyLinks(deFieldChange, reinterpret_cast<qintptr>(field));
}

Variant TDataSet::GetOldFieldValue(const TField* field) const
{
    CheckActive();
    if (field->FieldKind() != fkData)
        return GetFieldValue(field);
    if (m_state == dsInsert)
        return Variant::Null();
    TRecordId id = IsEditRow() ? m_editId : BufferRecord(m_activeRecord);
    if (m_state == dsFilter || m_state == dsCalcFields)
        id = m_tempId;
    return id == NoRecord ? Variant::Null() : OriginalValue(id, field->FieldNo());
}

Variant TDataSet::GetNewFieldValue(const TField* field) const
{
    CheckActive();
    if (field->FieldKind() != fkData || IsEditRow() || m_state == dsFilter || m_state == dsCalcFields)
        return GetFieldValue(field);
    TRecordId id = BufferRecord(m_activeRecord);
    return id == NoRecord ? Variant() : DeltaNewValue(id, field->FieldNo());
}

// ---------------------------------------------------------------- window

int TDataSet::ClampFirst(int first) const
{
    int maxFirst = std::max(0, ViewCount() - m_bufferCount);
    return std::clamp(first, 0, maxFirst);
}

void TDataSet::FillWindow(int firstPos)
{
    m_firstPos = firstPos;
    m_recordCount = std::clamp(ViewCount() - firstPos, 0, m_bufferCount);
    if (m_activeRecord >= m_recordCount)
        m_activeRecord = std::max(0, m_recordCount - 1);
}

void TDataSet::JumpTo(int pos, int mode)
{
    int first = mode == 1 ? pos : mode == 2 ? pos - m_bufferCount + 1 : pos - (m_bufferCount - 1) / 2;
    first = ClampFirst(first);
    m_activeRecord = pos - first;
    FillWindow(first);
    m_activeRecord = std::clamp(pos - first, 0, std::max(0, m_recordCount - 1));
}

void TDataSet::Resync(TRecordId keep, bool center)
{
    m_calcId = NoRecord;
    int n = ViewCount();
    if (n == 0) {
        m_firstPos = 0;
        m_recordCount = 0;
        m_activeRecord = 0;
        m_bof = m_eof = true;
        NotifyLinks(deDataSetChange, 0);
        return;
    }
    int pos = keep != NoRecord ? ViewPos(keep) : -1;
    if (pos < 0)
        pos = std::clamp(m_firstPos + m_activeRecord, 0, n - 1);
    int row = std::clamp(m_activeRecord, 0, m_bufferCount - 1);
    int first = ClampFirst(center ? pos - (m_bufferCount - 1) / 2 : pos - row);
    FillWindow(first);
    m_activeRecord = pos - first;
    m_bof = m_eof = false;
    NotifyLinks(deDataSetChange, 0);
}

void TDataSet::UpdateBufferCount()
{
    int b = 1;
    for (TDataSource* ds : m_dataSources)
        b = std::max(b, ds->MaxBufferCount());
    if (b == m_bufferCount)
        return;
    m_bufferCount = b;
    if (m_state == dsInactive)
        return;
    if (m_state == dsInsert) {
        m_recordCount = std::min(m_bufferCount, ViewCount() - m_firstPos + 1);
        if (m_insertRow >= m_recordCount) {
            int shift = m_insertRow - (m_recordCount - 1);
            m_firstPos += shift;
            m_insertRow -= shift;
            m_activeRecord = m_editRow = m_insertRow;
            m_recordCount = std::min(m_bufferCount, ViewCount() - m_firstPos + 1);
        }
        NotifyLinks(deDataSetChange, 0);
        return;
    }
    int pos = m_firstPos + m_activeRecord;
    int first = m_firstPos;
    if (pos >= first + m_bufferCount)
        first = pos - m_bufferCount + 1;
    first = ClampFirst(first);
    FillWindow(first);
    m_activeRecord = std::max(0, pos - first);
    if (m_state == dsEdit)
        m_editRow = m_activeRecord;
    NotifyLinks(deDataSetChange, 0);
}

// ---------------------------------------------------------------- navigation

bool TDataSet::IsEmpty() const
{
    if (m_state == dsInactive)
        return true;
    return ViewCount() == 0 && m_state != dsInsert;
}

int TDataSet::RecordCount() const
{
    CheckActive();
    return ViewCount();
}

int TDataSet::RecNo() const
{
    CheckActive();
    if (m_state == dsInsert || m_recordCount == 0)
        return -1;
    return m_firstPos + m_activeRecord + 1;
}

void TDataSet::SetRecNo(int recNo)
{
    CheckBrowseMode();
    int n = ViewCount();
    if (n == 0)
        return;
    int pos = std::clamp(recNo, 1, n) - 1;
    if (pos == m_firstPos + m_activeRecord)
        return;
    Fire(BeforeScroll, this);
    JumpTo(pos, 0);
    m_bof = m_eof = false;
    NotifyLinks(deDataSetChange, 0);
    Fire(AfterScroll, this);
}

void TDataSet::First()
{
    CheckBrowseMode();
    Fire(BeforeScroll, this);
    JumpTo(0, 1);
    m_bof = true;
    m_eof = ViewCount() == 0;
    NotifyLinks(deDataSetChange, 0);
    Fire(AfterScroll, this);
}

void TDataSet::Last()
{
    CheckBrowseMode();
    Fire(BeforeScroll, this);
    int n = ViewCount();
    JumpTo(std::max(0, n - 1), 2);
    m_eof = true;
    m_bof = n == 0;
    NotifyLinks(deDataSetChange, 0);
    Fire(AfterScroll, this);
}

int TDataSet::MoveBy(int distance)
{
    CheckBrowseMode();
    if (distance == 0)
        return 0;
    Fire(BeforeScroll, this);
    int n = ViewCount();
    int moved = 0;
    if (n == 0) {
        m_bof = m_eof = true;
    } else {
        int cur = m_firstPos + m_activeRecord;
        int target = std::clamp(cur + distance, 0, n - 1);
        moved = target - cur;
        if (distance > 0) {
            m_eof = moved < distance;
            m_bof = false;
        } else {
            m_bof = moved > distance;
            m_eof = false;
        }
        if (moved != 0) {
            int first = m_firstPos;
            if (target >= first + m_recordCount)
                first = target - m_bufferCount + 1;
            else if (target < first)
                first = target;
            first = ClampFirst(first);
            int shift = first - m_firstPos;
            FillWindow(first);
            m_activeRecord = target - first;
            NotifyLinks(deDataSetScroll, shift);
        }
    }
    Fire(AfterScroll, this);
    return moved;
}

// ---------------------------------------------------------------- editing

void TDataSet::Edit()
{
    CheckActive();
    if (InEditModes(m_state))
        return;
    if (ViewCount() == 0) {
        Append();
        return;
    }
    CheckCanModify();
    Fire(BeforeEdit, this);
    m_editId = BufferRecord(m_activeRecord);
    m_editRow = m_activeRecord;
    int cols = m_fieldDefs.Count();
    m_editValues.resize(size_t(cols));
    for (int c = 0; c < cols; ++c) {
        Variant v = StoredValue(m_editId, c + 1);
        m_editValues[size_t(c)] = v.IsUnassigned() ? Variant::Null() : v;
    }
    m_calcId = NoRecord;
    SetState(dsEdit);
    NotifyLinks(deRecordChange, 0);
    Fire(AfterEdit, this);
}

void TDataSet::Insert()
{
    CheckBrowseMode();
    CheckCanModify();
    Fire(BeforeInsert, this);
    Fire(BeforeScroll, this);
    int n = ViewCount();
    if (n == 0 || m_recordCount == 0) {
        m_firstPos = std::min(m_firstPos, n);
        m_insertBefore = NoRecord;
        m_insertRow = 0;
        m_recordCount = 1;
    } else {
        m_insertBefore = BufferRecord(m_activeRecord);
        m_insertRow = m_activeRecord;
        m_recordCount = std::min(m_bufferCount, n - m_firstPos + 1);
    }
    m_activeRecord = m_editRow = m_insertRow;
    m_bof = m_eof = false;
    EndEdit();  // resets the edit buffer
    m_editValues.assign(size_t(m_fieldDefs.Count()), Variant::Null());
    SetState(dsInsert);
    if (OnNewRecord) {
        try {
            OnNewRecord(this);
        } catch (...) {
            Cancel();
            throw;
        }
    }
    m_modified = false;
    NotifyLinks(deDataSetChange, 0);
    Fire(AfterInsert, this);
    Fire(AfterScroll, this);
}

void TDataSet::Append()
{
    CheckBrowseMode();
    CheckCanModify();
    Fire(BeforeInsert, this);
    Fire(BeforeScroll, this);
    int n = ViewCount();
    int first = std::max(0, n - (m_bufferCount - 1));
    m_firstPos = first;
    m_insertRow = n - first;
    m_recordCount = m_insertRow + 1;
    m_insertBefore = NoRecord;
    m_activeRecord = m_editRow = m_insertRow;
    m_bof = false;
    m_eof = true;
    EndEdit();
    m_editValues.assign(size_t(m_fieldDefs.Count()), Variant::Null());
    SetState(dsInsert);
    if (OnNewRecord) {
        try {
            OnNewRecord(this);
        } catch (...) {
            Cancel();
            throw;
        }
    }
    m_modified = false;
    NotifyLinks(deDataSetChange, 0);
    Fire(AfterInsert, this);
    Fire(AfterScroll, this);
}

void TDataSet::EndEdit()
{
    m_editValues.clear();
    m_editId = NoRecord;
    m_calcId = NoRecord;
}

void TDataSet::UpdateRecord()
{
    if (!InEditModes(m_state))
        DatabaseError(QString::fromUtf8(DBText::NotEditing));
    NotifyLinks(deUpdateRecord, 0);
}

void TDataSet::Post()
{
    CheckActive();
    UpdateRecord();
    NotifyLinks(deCheckBrowseMode, 0);
    Fire(BeforePost, this);
    if (!InEditModes(m_state))
        return;
    for (TField* f : m_fields) {
        if (f->FieldKind() == fkData && f->Required() && !f->ReadOnly()
            && m_editValues[size_t(f->FieldNo() - 1)].IsEmptyOrNull()) {
            f->FocusControl();
            DatabaseErrorFmt(DBText::FieldRequired, f->DisplayName());
        }
    }
    bool inserting = m_state == dsInsert;
    std::vector<Variant> values = std::move(m_editValues);
    TRecordId id;
    try {
        id = StoreRecord(m_editId, std::move(values), inserting, m_insertBefore);
    } catch (...) {
        if (m_editValues.empty())
            m_editValues = std::vector<Variant>(size_t(m_fieldDefs.Count()), Variant::Null());
        throw;
    }
    EndEdit();
    m_insertRow = -1;
    m_editRow = -1;
    m_insertBefore = NoRecord;
    SetState(dsBrowse);
    Resync(id);
    Fire(AfterPost, this);
}

void TDataSet::Cancel()
{
    CheckActive();
    if (!InEditModes(m_state))
        return;
    NotifyLinks(deCheckBrowseMode, 0);
    Fire(BeforeCancel, this);
    bool wasInsert = m_state == dsInsert;
    TRecordId keep = wasInsert ? m_insertBefore : m_editId;
    int n = ViewCount();
    if (wasInsert && keep == NoRecord && n > 0)
        keep = ViewRecord(n - 1);
    EndEdit();
    if (wasInsert) {
        if (m_insertRow >= 0 && m_activeRecord > m_insertRow && m_activeRecord > 0)
            --m_activeRecord;
        m_insertRow = -1;
    }
    m_editRow = -1;
    m_insertBefore = NoRecord;
    SetState(dsBrowse);
    Resync(keep);
    Fire(AfterCancel, this);
    if (wasInsert)
        Fire(AfterScroll, this);
}

void TDataSet::Delete()
{
    CheckActive();
    if (m_state == dsInsert) {
        Cancel();
        return;
    }
    if (ViewCount() == 0)
        DatabaseError(QString::fromUtf8(DBText::DataSetEmpty));
    CheckCanModify();
    NotifyLinks(deCheckBrowseMode, 0);
    Fire(BeforeDelete, this);
    Fire(BeforeScroll, this);
    TRecordId id = m_state == dsEdit ? m_editId : BufferRecord(m_activeRecord);
    if (m_state == dsEdit)
        m_activeRecord = m_editRow;
    RemoveRecord(id);
    EndEdit();
    m_editRow = -1;
    m_calcId = NoRecord;
    SetState(dsBrowse);
    Resync(NoRecord);
    if (ViewCount() > 0 && m_firstPos + m_activeRecord == ViewCount() - 1)
        m_eof = false;
    Fire(AfterDelete, this);
    Fire(AfterScroll, this);
}

void TDataSet::CheckBrowseMode()
{
    CheckActive();
    NotifyLinks(deCheckBrowseMode, 0);
    if (InEditModes(m_state)) {
        UpdateRecord();
        if (m_modified)
            Post();
        else
            Cancel();
    }
}

void TDataSet::InsertRecord(const std::vector<Variant>& values)
{
    Insert();
    for (size_t i = 0; i < values.size() && int(i) < m_fields.Count(); ++i)
        if (!values[i].IsUnassigned())
            m_fields.Fields(int(i))->SetValue(values[i]);
    Post();
}

void TDataSet::AppendRecord(const std::vector<Variant>& values)
{
    Append();
    for (size_t i = 0; i < values.size() && int(i) < m_fields.Count(); ++i)
        if (!values[i].IsUnassigned())
            m_fields.Fields(int(i))->SetValue(values[i]);
    Post();
}

void TDataSet::Refresh()
{
    CheckBrowseMode();
    Fire(BeforeRefresh, this);
    TRecordId keep = CurrentRecordId();
    DoRefresh();
    m_calcId = NoRecord;
    RebuildView();
    Resync(keep);
    Fire(AfterRefresh, this);
}

// ---------------------------------------------------------------- bookmarks

TBookmark TDataSet::GetBookmark() const
{
    if (m_state == dsInactive)
        return {};
    TRecordId id = CurrentRecordId();
    return id == NoRecord ? TBookmark() : TBookmark(id);
}

bool TDataSet::BookmarkValid(const TBookmark& bm) const
{
    return m_state != dsInactive && !bm.IsEmpty() && RecordExists(bm.Id()) && ViewPos(bm.Id()) >= 0;
}

int TDataSet::CompareBookmarks(const TBookmark& a, const TBookmark& b) const
{
    if (a.IsEmpty() || b.IsEmpty())
        return a.IsEmpty() == b.IsEmpty() ? 0 : (a.IsEmpty() ? -1 : 1);
    if (a == b)
        return 0;
    int pa = ViewPos(a.Id()), pb = ViewPos(b.Id());
    if (pa != pb)
        return pa < pb ? -1 : 1;
    return a.Id() < b.Id() ? -1 : 1;
}

void TDataSet::GotoBookmark(const TBookmark& bm)
{
    CheckBrowseMode();
    int pos = bm.IsEmpty() ? -1 : ViewPos(bm.Id());
    if (pos < 0)
        DatabaseError(QString::fromUtf8(DBText::RecordNotFound));
    Fire(BeforeScroll, this);
    JumpTo(pos, 0);
    m_bof = m_eof = false;
    NotifyLinks(deDataSetChange, 0);
    Fire(AfterScroll, this);
}

// ---------------------------------------------------------------- searching

bool TDataSet::FindRecord(const std::vector<TField*>& fields, const std::vector<Variant>& keys,
                          TLocateOptions options, TRecordId& found)
{
    if (fields.size() != keys.size())
        DatabaseError(QStringLiteral("Field count and key value count differ"));
    std::vector<Variant> conv(keys.size());
    std::vector<bool> asText(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        asText[i] = IsTextField(fields[i]);
        if (keys[i].IsEmptyOrNull()) {
            conv[i] = Variant::Null();
        } else if (asText[i]) {
            conv[i] = Variant(keys[i].ToString());
        } else {
            try {
                conv[i] = fields[i]->ConvertValue(keys[i]);
            } catch (const Exception&) {
                return false;   // a key that the field cannot hold matches nothing
            }
        }
    }
    Qt::CaseSensitivity cs = (options & loCaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    int n = ViewCount();
    for (int pos = 0; pos < n; ++pos) {
        TRecordId id = ViewRecord(pos);
        bool match = true;
        TempRecord t(m_state, m_tempId, m_tempValues, dsFilter, id, nullptr);
        for (size_t i = 0; i < fields.size() && match; ++i) {
            Variant v = fields[i]->Value();
            if (conv[i].IsNull()) {
                match = v.IsNull();
            } else if (v.IsNull()) {
                match = false;
            } else if (asText[i]) {
                QString s = v.ToString();
                const QString& k = conv[i].AsStringRaw();
                match = (options & loPartialKey) ? s.startsWith(k, cs) : s.compare(k, cs) == 0;
            } else {
                match = Variant::Compare(v, conv[i]) == 0;
            }
        }
        if (match) {
            found = id;
            return true;
        }
    }
    return false;
}

bool TDataSet::Locate(const QString& keyFields, const Variant& keyValue, TLocateOptions options)
{
    return Locate(keyFields, std::vector<Variant>{keyValue}, options);
}

bool TDataSet::Locate(const QString& keyFields, const std::vector<Variant>& keyValues, TLocateOptions options)
{
    CheckBrowseMode();
    TRecordId id = NoRecord;
    if (!FindRecord(GetFieldList(keyFields), keyValues, options, id))
        return false;
    Fire(BeforeScroll, this);
    JumpTo(ViewPos(id), 0);
    m_bof = m_eof = false;
    NotifyLinks(deDataSetChange, 0);
    Fire(AfterScroll, this);
    return true;
}

Variant TDataSet::Lookup(const QString& keyFields, const Variant& keyValue, const QString& resultField)
{
    return Lookup(keyFields, std::vector<Variant>{keyValue}, resultField);
}

Variant TDataSet::Lookup(const QString& keyFields, const std::vector<Variant>& keyValues, const QString& resultField)
{
    std::vector<Variant> r = LookupValues(keyFields, keyValues, resultField);
    return r.empty() ? Variant::Null() : r.front();
}

std::vector<Variant> TDataSet::LookupValues(const QString& keyFields, const std::vector<Variant>& keyValues,
                                            const QString& resultFields)
{
    CheckActive();
    std::vector<TField*> results = GetFieldList(resultFields);
    TRecordId id = NoRecord;
    if (!FindRecord(GetFieldList(keyFields), keyValues, 0, id))
        return std::vector<Variant>(results.size(), Variant::Null());
    TempRecord t(m_state, m_tempId, m_tempValues, dsFilter, id, nullptr);
    std::vector<Variant> r;
    for (TField* f : results)
        r.push_back(f->Value());
    return r;
}

// ---------------------------------------------------------------- filtering

bool TDataSet::RecordPassesFilter(TRecordId id)
{
    if (!FilterActive())
        return true;
    TempRecord t(m_state, m_tempId, m_tempValues, dsFilter, id, nullptr);
    if (m_filterExpr && !m_filterExpr->Matches(this, m_filterOptions))
        return false;
    if (OnFilterRecord) {
        bool accept = true;
        OnFilterRecord(this, accept);
        return accept;
    }
    return true;
}

void TDataSet::SetFilter(const QString& text)
{
    if (text == m_filterText)
        return;
    std::shared_ptr<TFilterExpr> expr;
    if (!text.trimmed().isEmpty())
        expr = TFilterExpr::Parse(text);
    if (Active() && m_filtered)
        CheckBrowseMode();
    m_filterText = text;
    m_filterExpr = expr;
    if (Active() && m_filtered) {
        RebuildView();
        First();
    }
}

void TDataSet::SetFiltered(bool v)
{
    if (v == m_filtered && !(v && OnFilterRecord))
        return;
    if (Active())
        CheckBrowseMode();
    m_filtered = v;
    if (Active()) {
        RebuildView();
        First();
    }
}

void TDataSet::SetFilterOptions(TFilterOptions v)
{
    if (v == m_filterOptions)
        return;
    if (Active() && m_filtered)
        CheckBrowseMode();
    m_filterOptions = v;
    if (Active() && m_filtered) {
        RebuildView();
        First();
    }
}

// ---------------------------------------------------------------- controls and links

void TDataSet::DisableControls()
{
    if (m_disableCount == 0) {
        m_disableState = m_state;
        m_enableEvent = deDataSetChange;
    }
    ++m_disableCount;
    if (m_disableCount == 1)
        NotifyLinks(deDisabledStateChange, 0);
}

void TDataSet::EnableControls()
{
    if (m_disableCount == 0)
        return;
    if (--m_disableCount > 0)
        return;
    NotifyLinks(deDisabledStateChange, 1);
    if (m_disableState != m_state)
        NotifyLinks(deUpdateState, 0);
    if (m_disableState != dsInactive && m_state != dsInactive)
        NotifyLinks(m_enableEvent, 0);
}

void TDataSet::DataEvent(TDataEvent event, qintptr info)
{
    if (event == deLayoutChange)
        m_calcId = NoRecord;   // calculated values are kept by field position
    NotifyLinks(event, info);
}

void TDataSet::NotifyLinks(TDataEvent event, qintptr info)
{
    if (m_dataSources.empty())
        return;
    if (m_disableCount > 0) {
        switch (event) {
        case deUpdateRecord:
        case deCheckBrowseMode:
        case deFocusControl:
        case deDisabledStateChange:
            break;
        case deLayoutChange:
            m_enableEvent = deLayoutChange;
            return;
        default:
            return;
        }
    }
    for (TDataSource* ds : std::vector<TDataSource*>(m_dataSources))
        ds->DataEvent(event, info);
}

void TDataSet::AttachDataSource(TDataSource* ds)
{
    if (std::find(m_dataSources.begin(), m_dataSources.end(), ds) == m_dataSources.end())
        m_dataSources.push_back(ds);
    UpdateBufferCount();
}

void TDataSet::DetachDataSource(TDataSource* ds)
{
    m_dataSources.erase(std::remove(m_dataSources.begin(), m_dataSources.end(), ds), m_dataSources.end());
    UpdateBufferCount();
}
