#include "ClientDataSet.h"
#include "Provider.h"

namespace {

// Same value and same kind (Null and a value differ; numbers compare exactly).
bool SameValue(const Variant& a, const Variant& b)
{
    if (a.Type() != b.Type())
        return false;
    return a.IsEmptyOrNull() || a == b;
}

} // namespace

// ---------------------------------------------------------------- TDataPacket

const TFieldDefs& TDataPacket::FieldDefs() const
{
    static const TFieldDefs empty;
    return m_c ? m_c->fieldDefs : empty;
}

int TDataPacket::RecordCount() const
{
    if (!m_c)
        return 0;
    if (m_c->isDelta)
        return int(m_c->rows.size());
    int n = 0;
    for (const TPacketRow& r : m_c->rows)
        if (r.status != usDeleted)
            ++n;
    return n;
}

// ---------------------------------------------------------------- TClientDataSet

TClientDataSet::TClientDataSet() = default;

TClientDataSet::~TClientDataSet()
{
    DestroyingDataSet();
}

void TClientDataSet::LoadData()
{
    if (m_creating)
        return;
    if (!m_pending.IsNull()) {
        LoadPacket(*m_pending.Content(), m_pending.SoleOwner());
        return;
    }
    if (m_provider) {
        TDataPacket p = m_provider->GetRecords(m_packetRecords);
        if (p.IsNull())
            DatabaseError(QString::fromUtf8(DBText::MissingDataPacket));
        LoadPacket(*p.Content());
        return;
    }
    DatabaseError(QString::fromUtf8(DBText::MissingDataPacket));
}

void TClientDataSet::LoadPacket(const TPacketContent& c, bool take)
{
    FieldDefs() = c.fieldDefs;
    ReserveRecords(qsizetype(c.rows.size()));
    std::vector<TRecordId> ids;
    ids.reserve(c.rows.size());
    for (const TPacketRow& r : c.rows) {
        if (take)
            AddLoadedValues(std::move(const_cast<std::vector<Variant>&>(r.values)));
        else
            AddLoadedValues(r.values);
        TRecordId id = TRecordId(StoreSize() - 1);
        ids.push_back(id);
        RecordMeta& m = Meta(id);
        m.status = r.status;
        m.changes = r.changes;
        if (c.isDelta) {
            m.flags = FlagDeltaRow;
            m.changes = 0;
            continue;
        }
        if (r.status == usDeleted)
            m.flags = FlagDeleted;
        if (!r.original.empty())
            Originals()[id] = r.original;
        ChangeCounter() += m.changes;
    }
    if (!c.isDelta)
        for (int row : c.logOrder)
            LogOrder().push_back(ids[size_t(row)]);
}

void TClientDataSet::CreateDataSet()
{
    CheckInactive();
    if (FieldDefs().Count() == 0) {
        for (TField* f : Fields())
            if (f->FieldKind() == fkData)
                FieldDefs().Add(f->FieldName(), f->DataType(), f->Size(), f->Required());
    }
    if (FieldDefs().Count() == 0)
        DatabaseError(QString::fromUtf8(DBText::NoFieldDefs));
    m_pending = TDataPacket();
    m_creating = true;
    try {
        Open();
    } catch (...) {
        m_creating = false;
        throw;
    }
    m_creating = false;
}

void TClientDataSet::EmptyDataSet()
{
    CheckActive();
    if (State() == dsEdit || State() == dsInsert)
        Cancel();
    ClearStore();
    RebuildView();
    Resync(NoRecord);
}

TDataPacket TClientDataSet::Data() const
{
    if (!Active())
        return {};
    auto c = std::make_shared<TPacketContent>();
    c->fieldDefs = FieldDefs();
    const int cols = DataFieldCount();
    std::vector<int> rowOf(size_t(StoreSize()), -1);
    for (TRecordId id : NaturalOrder()) {
        const RecordMeta& m = Meta(id);
        if ((m.flags & FlagDead) && !(m.flags & FlagDeltaRow))
            continue;
        if (m.flags & FlagDeltaRow)
            c->isDelta = true;
        TPacketRow r;
        r.values.reserve(size_t(cols));
        for (int col = 0; col < cols; ++col)
            r.values.push_back(Cell(id, col));
        if (const auto* o = Original(id))
            r.original = *o;
        r.status = m.status;
        r.changes = m.changes;
        rowOf[size_t(id)] = int(c->rows.size());
        c->rows.push_back(std::move(r));
    }
    for (TRecordId id : LogOrder())
        if (Meta(id).changes > 0 && rowOf[size_t(id)] >= 0)
            c->logOrder.push_back(rowOf[size_t(id)]);
    return TDataPacket(std::move(c));
}

void TClientDataSet::SetData(const TDataPacket& packet)
{
    OpenWith(TDataPacket(packet));
}

void TClientDataSet::SetData(TDataPacket&& packet)
{
    OpenWith(std::move(packet));
}

void TClientDataSet::OpenWith(TDataPacket&& packet)
{
    Close();
    if (packet.IsNull())
        return;
    m_pending = std::move(packet);
    try {
        Open();
    } catch (...) {
        m_pending = TDataPacket();
        throw;
    }
    m_pending = TDataPacket();
}

void TClientDataSet::AppendData(const TDataPacket& packet, bool /*eof*/)
{
    if (packet.IsNull())
        return;
    if (!Active()) {
        SetData(packet);
        return;
    }
    const TPacketContent& c = *packet.Content();
    // Columns are matched by name; a column the packet lacks stays Null.
    std::vector<int> src;
    for (const TFieldDef& d : FieldDefs())
        src.push_back(c.fieldDefs.IndexOf(d.Name()));
    std::vector<std::vector<Variant>> rows;
    rows.reserve(c.rows.size());
    for (const TPacketRow& r : c.rows) {
        if (r.status == usDeleted && !c.isDelta)
            continue;
        std::vector<Variant> v;
        v.reserve(src.size());
        for (int s : src)
            v.push_back(s >= 0 && size_t(s) < r.values.size() ? r.values[size_t(s)] : Variant::Null());
        rows.push_back(std::move(v));
    }
    AppendLoadedRecords(rows);
}

int TClientDataSet::ChangeCount() const
{
    return Active() ? ChangeCounter() : 0;
}

TDataPacket TClientDataSet::Delta() const
{
    CheckActive();
    auto c = std::make_shared<TPacketContent>();
    c->fieldDefs = FieldDefs();
    c->isDelta = true;
    const int cols = DataFieldCount();
    for (TRecordId id : LogOrder()) {
        const RecordMeta& m = Meta(id);
        if (m.changes == 0 || (m.flags & FlagDeltaRow))
            continue;
        const std::vector<Variant>* o = Original(id);
        std::vector<Variant> cur(static_cast<size_t>(cols));
        for (int col = 0; col < cols; ++col)
            cur[size_t(col)] = Cell(id, col);
        switch (m.status) {
        case usModified: {
            TPacketRow before{*o, {}, usUnmodified, 0};
            TPacketRow after;
            after.status = usModified;
            after.values.resize(size_t(cols));
            for (int col = 0; col < cols; ++col)
                if (!SameValue(cur[size_t(col)], (*o)[size_t(col)]))
                    after.values[size_t(col)] = cur[size_t(col)];
            c->rows.push_back(std::move(before));
            c->rows.push_back(std::move(after));
            break;
        }
        case usInserted:
            c->rows.push_back(TPacketRow{std::move(cur), {}, usInserted, 0});
            break;
        case usDeleted:
            c->rows.push_back(TPacketRow{o ? *o : std::move(cur), {}, usDeleted, 0});
            break;
        case usUnmodified:
            break;
        }
    }
    return TDataPacket(std::move(c));
}

void TClientDataSet::MergeChangeLog()
{
    CheckActive();
    for (TRecordId id : LogOrder()) {
        RecordMeta& m = Meta(id);
        if (m.flags & FlagDeltaRow)
            continue;
        if (m.status == usDeleted)
            m.flags = quint8((m.flags & ~FlagDeleted) | FlagDead);
        m.status = usUnmodified;
        m.changes = 0;
        Originals().erase(id);
    }
    LogOrder().clear();
    ChangeCounter() = 0;
}

void TClientDataSet::CancelUpdates()
{
    CheckActive();
    if (State() == dsEdit || State() == dsInsert)
        Cancel();
    TRecordId keep = CurrentRecordId();
    const int cols = DataFieldCount();
    for (TRecordId id : LogOrder()) {
        RecordMeta& m = Meta(id);
        if (m.changes == 0 || (m.flags & FlagDeltaRow))
            continue;
        if (m.status == usInserted) {
            m.flags |= FlagDead;
        } else {
            if (const auto* o = Original(id)) {
                for (int col = 0; col < cols; ++col)
                    Cell(id, col) = (*o)[size_t(col)];
            }
            m.flags = quint8(m.flags & ~FlagDeleted);
        }
        m.status = usUnmodified;
        m.changes = 0;
        Originals().erase(id);
    }
    LogOrder().clear();
    ChangeCounter() = 0;
    RebuildView();
    Resync(keep);
}
