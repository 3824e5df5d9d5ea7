#include "DataSource.h"
#include <algorithm>

// ---------------------------------------------------------------- TDataSource

TDataSource::~TDataSource()
{
    OnStateChange = nullptr;
    OnDataChange = nullptr;
    OnUpdateData = nullptr;
    for (TDataLink* l : std::vector<TDataLink*>(m_links))
        l->SetDataSource(nullptr);
    SetDataSet(nullptr);
}

void TDataSource::SetDataSet(TDataSet* ds)
{
    if (ds == m_dataSet)
        return;
    if (m_dataSet)
        m_dataSet->DetachDataSource(this);
    m_dataSet = ds;
    if (m_dataSet)
        m_dataSet->AttachDataSource(this);
    NotifyState();
    for (TDataLink* l : std::vector<TDataLink*>(m_links))
        l->UpdateState();
}

void TDataSource::SetEnabled(bool v)
{
    if (m_enabled == v)
        return;
    m_enabled = v;
    NotifyState();
    for (TDataLink* l : std::vector<TDataLink*>(m_links))
        l->UpdateState();
}

void TDataSource::NotifyState()
{
    TDataSetState s = (m_dataSet && m_enabled) ? m_dataSet->State() : dsInactive;
    if (s == m_state)
        return;
    m_state = s;
    if (OnStateChange)
        OnStateChange(this);
}

void TDataSource::Edit()
{
    if (m_autoEdit && m_dataSet && m_state == dsBrowse)
        m_dataSet->Edit();
}

bool TDataSource::IsLinkedTo(const TDataSet* ds) const
{
    return ds && m_dataSet == ds;
}

int TDataSource::MaxBufferCount() const
{
    int b = 1;
    for (TDataLink* l : m_links)
        b = std::max(b, l->BufferCount());
    return b;
}

void TDataSource::AddLink(TDataLink* link)
{
    m_links.push_back(link);
    if (m_dataSet)
        m_dataSet->UpdateBufferCount();
}

void TDataSource::RemoveLink(TDataLink* link)
{
    m_links.erase(std::remove(m_links.begin(), m_links.end(), link), m_links.end());
    if (m_dataSet)
        m_dataSet->UpdateBufferCount();
}

void TDataSource::DataEvent(TDataEvent event, qintptr info)
{
    if (event == deUpdateState) {
        NotifyState();
    } else if (!m_enabled) {
        return;
    }
    for (TDataLink* l : std::vector<TDataLink*>(m_links)) {
        if (std::find(m_links.begin(), m_links.end(), l) != m_links.end())
            l->DataEvent(event, info);
    }
    switch (event) {
    case deFieldChange:
    case deRecordChange:
        if (OnDataChange)
            OnDataChange(this, reinterpret_cast<TField*>(info));
        break;
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange:
        if (OnDataChange)
            OnDataChange(this, nullptr);
        break;
    case deUpdateRecord:
        if (OnUpdateData)
            OnUpdateData(this);
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------- TDataLink

TDataLink::~TDataLink()
{
    if (m_dataSource)
        m_dataSource->RemoveLink(this);
    m_dataSource = nullptr;
}

void TDataLink::SetDataSource(TDataSource* ds)
{
    if (ds == m_dataSource)
        return;
    if (m_dataSourceFixed)
        DatabaseError(QStringLiteral("Operation not allowed on a fixed data source"));
    if (m_dataSource)
        m_dataSource->RemoveLink(this);
    m_dataSource = ds;
    if (m_dataSource)
        m_dataSource->AddLink(this);
    UpdateState();
}

TDataSet* TDataLink::DataSet() const
{
    return m_dataSource ? m_dataSource->DataSet() : nullptr;
}

void TDataLink::SetReadOnly(bool v)
{
    if (m_readOnly == v)
        return;
    m_readOnly = v;
    UpdateState();
}

void TDataLink::SetBufferCount(int v)
{
    v = std::max(1, v);
    if (m_bufferCount == v)
        return;
    m_bufferCount = v;
    TDataSet* ds = DataSet();
    if (ds)
        ds->UpdateBufferCount();
    if (m_active)
        UpdateRange(0);
}

int TDataLink::ActiveRecord() const
{
    TDataSet* ds = DataSet();
    if (!m_active || !ds)
        return 0;
    return ds->m_activeRecord - m_firstRecord;
}

void TDataLink::SetActiveRecord(int v)
{
    TDataSet* ds = DataSet();
    if (m_active && ds)
        ds->m_activeRecord = v + m_firstRecord;
}

int TDataLink::RecordCount() const
{
    TDataSet* ds = DataSet();
    if (!m_active || !ds)
        return 0;
    return std::clamp(ds->m_recordCount - m_firstRecord, 0, m_bufferCount);
}

bool TDataLink::Bof() const
{
    TDataSet* ds = DataSet();
    return ds ? ds->Bof() : true;
}

bool TDataLink::Eof() const
{
    TDataSet* ds = DataSet();
    return ds ? ds->Eof() : true;
}

bool TDataLink::Edit()
{
    if (!m_readOnly && m_dataSource)
        m_dataSource->Edit();
    return m_editing;
}

void TDataLink::UpdateRecord()
{
    m_updating = true;
    try {
        UpdateData();
    } catch (...) {
        m_updating = false;
        throw;
    }
    m_updating = false;
}

int TDataLink::MoveBy(int distance)
{
    TDataSet* ds = DataSet();
    return (m_active && ds) ? ds->MoveBy(distance) : 0;
}

int TDataLink::UpdateRange(int shift)
{
    TDataSet* ds = DataSet();
    if (!ds)
        return 0;
    int old = m_firstRecord - shift;
    int f = old;
    int a = ds->m_activeRecord;
    if (a < f)
        f = a;
    if (a >= f + m_bufferCount)
        f = a - m_bufferCount + 1;
    f = std::min(f, std::max(0, ds->m_recordCount - m_bufferCount));
    f = std::max(f, 0);
    m_firstRecord = f;
    return f - old;
}

void TDataLink::SetActive(bool v)
{
    if (m_active == v)
        return;
    m_active = v;
    m_firstRecord = 0;
    if (v)
        UpdateRange(0);
    ActiveChanged();
}

void TDataLink::SetEditing(bool v)
{
    if (m_editing == v)
        return;
    m_editing = v;
    EditingChanged();
}

void TDataLink::UpdateState()
{
    TDataSet* ds = DataSet();
    bool active = m_dataSource && m_dataSource->Enabled() && ds && ds->Active();
    SetActive(active);
    TDataSetState s = active ? ds->State() : dsInactive;
    SetEditing((s == dsEdit || s == dsInsert) && !m_readOnly);
}

void TDataLink::DataEvent(TDataEvent event, qintptr info)
{
    if (event == deUpdateState) {
        UpdateState();
        return;
    }
    if (!m_active)
        return;
    switch (event) {
    case deFieldChange:
    case deRecordChange:
        if (!m_updating)
            RecordChanged(reinterpret_cast<TField*>(info));
        break;
    case deDataSetChange:
        UpdateRange(0);
        DataSetChanged();
        break;
    case deDataSetScroll:
        DataSetScrolled(UpdateRange(int(info)));
        break;
    case deLayoutChange:
        UpdateRange(0);
        LayoutChanged();
        break;
    case deUpdateRecord:
        UpdateRecord();
        break;
    case deCheckBrowseMode:
        CheckBrowseMode();
        break;
    case deFocusControl:
        FocusControl(*reinterpret_cast<TField**>(info));
        break;
    default:
        break;
    }
}
