#include "MemDataSet.h"
#include <algorithm>

namespace {

// Whether a loaded value is already what its field's conversion makes of it (the usual case:
// the engine hands each column in its own type), so that the conversion can be left out.
bool converted(const TField& f, const Variant& v)
{
    switch (f.DataType()) {
    case ftString:
    case ftFixedChar: {
        if (v.Type() != VarType::String)
            return false;
        return f.Size() <= 0 || v.AsStringRaw().size() <= f.Size();
    }
    case ftInteger: {
        const auto& i = static_cast<const TIntegerField&>(f);
        if (v.Type() != VarType::Integer || i.MinValue() != 0 || i.MaxValue() != 0)
            return false;
        const qint64 n = v.AsIntRaw();
        return n >= -2147483648LL && n <= 2147483647LL;
    }
    case ftBCD:
        return v.Type() == VarType::Currency;
    default:
        return false;
    }
}

void convert(const TField& f, Variant& v)
{
    if (!v.IsEmptyOrNull() && !converted(f, v))
        v = f.ConvertValue(v);
}

} // namespace

TMemDataSet::TMemDataSet() = default;

TMemDataSet::~TMemDataSet()
{
    DestroyingDataSet();
}

// ---------------------------------------------------------------- loading

void TMemDataSet::ReserveRecords(qsizetype n)
{
    size_t cols = size_t(std::max(1, FieldDefs().Count()));
    m_values.reserve(size_t(n) * cols);
    m_meta.reserve(size_t(n));
    m_order.reserve(size_t(n));
    m_posOf.reserve(size_t(n));
}

TMemDataSet::TValueConverters TMemDataSet::ValueConverters(const TFieldDefs& defs)
{
    TValueConverters converters;
    for (const TFieldDef& d : defs) {
        auto f = TField::Create(d.DataType());
        f->SetFieldName(d.Name());
        f->SetSize(d.Size());
        converters.push_back(std::move(f));
    }
    return converters;
}

void TMemDataSet::ConvertValues(const TValueConverters& converters, std::vector<Variant>& values)
{
    values.resize(converters.size(), Variant::Null());
    for (size_t c = 0; c < converters.size(); ++c)
        convert(*converters[c], values[c]);
}

std::vector<Variant> TMemDataSet::ConvertRow(std::vector<Variant>&& values)
{
    if (int(m_converters.size()) != FieldDefs().Count())
        m_converters = ValueConverters(FieldDefs());
    ConvertValues(m_converters, values);
    return std::move(values);
}

void TMemDataSet::AddLoadedRecord(std::vector<Variant> values)
{
    m_columns = FieldDefs().Count();
    TRecordId id = NewStoreRecord(ConvertRow(std::move(values)), usUnmodified, 0);
    m_order.push_back(id);
}

void TMemDataSet::AddLoadedValues(const std::vector<Variant>& values)
{
    // As AddLoadedRecord, the converted values going straight into the store.
    m_columns = FieldDefs().Count();
    if (int(m_converters.size()) != m_columns)
        m_converters = ValueConverters(FieldDefs());
    for (size_t c = 0; c < size_t(m_columns); ++c) {
        if (c >= values.size())
            m_values.push_back(Variant::Null());
        else if (values[c].IsEmptyOrNull() || converted(*m_converters[c], values[c]))
            m_values.push_back(values[c]);
        else
            m_values.push_back(m_converters[c]->ConvertValue(values[c]));
    }
    m_order.push_back(NewStoreRecord({}, usUnmodified, 0, false));
}

void TMemDataSet::AddLoadedValues(std::vector<Variant>&& values)
{
    m_columns = FieldDefs().Count();
    if (int(m_converters.size()) != m_columns)
        m_converters = ValueConverters(FieldDefs());
    values.resize(size_t(m_columns), Variant::Null());
    for (size_t c = 0; c < size_t(m_columns); ++c) {
        m_values.push_back(std::move(values[c]));
        convert(*m_converters[c], m_values.back());
    }
    m_order.push_back(NewStoreRecord({}, usUnmodified, 0, false));
}

void TMemDataSet::AppendLoadedRecords(const std::vector<std::vector<Variant>>& rows)
{
    CheckActive();
    CheckBrowseMode();
    TRecordId keep = CurrentRecordId();
    ReserveRecords(StoreSize() + qsizetype(rows.size()));
    for (const auto& r : rows)
        AddLoadedRecord(r);
    RebuildView();
    Resync(keep);
}

TRecordId TMemDataSet::NewStoreRecord(std::vector<Variant>&& values, TUpdateStatus status, quint8 flags, bool withValues)
{
    if (withValues) {
        values.resize(size_t(m_columns), Variant::Null());
        for (Variant& v : values)
            m_values.push_back(std::move(v));
    }
    RecordMeta m;
    m.status = status;
    m.flags = flags;
    m_meta.push_back(m);
    m_posOf.push_back(-1);
    return TRecordId(m_meta.size() - 1);
}

void TMemDataSet::ClearStore()
{
    m_values.clear();
    m_meta.clear();
    m_original.clear();
    m_order.clear();
    m_view.clear();
    m_posOf.clear();
    m_logOrder.clear();
    m_changeCount = 0;
}

void TMemDataSet::InternalOpen()
{
    ClearStore();
    m_converters.clear();
    LoadData();
    m_columns = FieldDefs().Count();
    if (m_values.size() != m_meta.size() * size_t(m_columns))
        DatabaseError(QStringLiteral("Record values do not match the field definitions"));
    m_converters.clear();
}

void TMemDataSet::InternalClose()
{
    ClearStore();
}

qint64 TMemDataSet::RecordMemoryBytes() const
{
    qint64 bytes = qint64(m_values.capacity() * sizeof(Variant) + m_meta.capacity() * sizeof(RecordMeta)
                          + m_order.capacity() * sizeof(TRecordId) + m_view.capacity() * sizeof(TRecordId)
                          + m_posOf.capacity() * sizeof(int) + m_logOrder.capacity() * sizeof(TRecordId));
    for (const Variant& v : m_values)
        if (v.Type() == VarType::String && !v.AsStringRaw().isEmpty())
            bytes += qint64(v.AsStringRaw().capacity()) * 2 + 24;   // character data and its header
    for (const auto& [id, vals] : m_original)
        bytes += qint64(vals.capacity() * sizeof(Variant)) + 32;
    return bytes;
}

// ---------------------------------------------------------------- view

bool TMemDataSet::IsLive(TRecordId id) const
{
    const RecordMeta& m = m_meta[size_t(id)];
    if (m.flags & FlagDeltaRow)
        return true;
    return (m.flags & (FlagDeleted | FlagDead)) == 0;
}

int TMemDataSet::ViewPos(TRecordId id) const
{
    return id >= 0 && size_t(id) < m_posOf.size() ? m_posOf[size_t(id)] : -1;
}

bool TMemDataSet::RecordExists(TRecordId id) const
{
    return id >= 0 && size_t(id) < m_meta.size() && IsLive(id);
}

Variant TMemDataSet::StoredValue(TRecordId id, int fieldNo) const
{
    return Cell(id, fieldNo - 1);
}

const std::vector<Variant>* TMemDataSet::Original(TRecordId id) const
{
    auto it = m_original.find(id);
    return it == m_original.end() ? nullptr : &it->second;
}

Variant TMemDataSet::OriginalValue(TRecordId id, int fieldNo) const
{
    if (const auto* o = Original(id))
        return (*o)[size_t(fieldNo - 1)];
    if (m_meta[size_t(id)].status == usInserted && !(m_meta[size_t(id)].flags & FlagDeltaRow))
        return Variant::Null();
    return Cell(id, fieldNo - 1);
}

Variant TMemDataSet::DeltaNewValue(TRecordId id, int fieldNo) const
{
    return Cell(id, fieldNo - 1);
}

void TMemDataSet::SetIndexFieldNames(const QString& names)
{
    if (names == m_indexFieldNames)
        return;
    if (Active())
        CheckBrowseMode();
    m_indexFieldNames = names;
    if (Active()) {
        TRecordId keep = CurrentRecordId();
        RebuildView();
        Resync(keep);
    }
}

void TMemDataSet::ParseIndex()
{
    m_sortKeys.clear();
    for (const QString& part : m_indexFieldNames.split(u';', Qt::SkipEmptyParts)) {
        QStringList words = part.simplified().split(u' ');
        if (words.isEmpty() || words[0].isEmpty())
            continue;
        bool desc = false;
        if (words.size() > 1) {
            QString dir = words[1].toUpper();
            if (dir == QLatin1String("DESC") || dir == QLatin1String("DESCENDING"))
                desc = true;
            else if (dir != QLatin1String("ASC") && dir != QLatin1String("ASCENDING"))
                DatabaseErrorFmt(DBText::FieldNotFound, part.trimmed());
        }
        int col = FieldDefs().IndexOf(words[0]);
        if (col < 0)
            DatabaseErrorFmt(DBText::FieldNotFound, words[0]);
        m_sortKeys.push_back({col, desc});
    }
}

bool TMemDataSet::Less(TRecordId a, TRecordId b) const
{
    for (const SortKey& k : m_sortKeys) {
        int c = Variant::Compare(Cell(a, k.col), Cell(b, k.col), true);
        if (c != 0)
            return k.desc ? c > 0 : c < 0;
    }
    return false;
}

int TMemDataSet::SortedInsertPos(TRecordId id) const
{
    auto it = std::upper_bound(m_view.begin(), m_view.end(), id,
                               [this](TRecordId x, TRecordId y) { return Less(x, y); });
    return int(it - m_view.begin());
}

void TMemDataSet::RebuildPositions(size_t from)
{
    for (size_t i = from; i < m_view.size(); ++i)
        m_posOf[size_t(m_view[i])] = int(i);
}

void TMemDataSet::RebuildView()
{
    ParseIndex();
    m_view.clear();
    std::fill(m_posOf.begin(), m_posOf.end(), -1);
    bool filtering = FilterActive();
    for (TRecordId id : m_order)
        if (IsLive(id) && (!filtering || RecordPassesFilter(id)))
            m_view.push_back(id);
    if (!m_sortKeys.empty())
        std::stable_sort(m_view.begin(), m_view.end(), [this](TRecordId a, TRecordId b) { return Less(a, b); });
    RebuildPositions(0);
}

void TMemDataSet::RemoveFromView(TRecordId id)
{
    int pos = ViewPos(id);
    if (pos < 0)
        return;
    m_view.erase(m_view.begin() + pos);
    m_posOf[size_t(id)] = -1;
    RebuildPositions(size_t(pos));
}

void TMemDataSet::PlaceInView(TRecordId id, TRecordId before)
{
    if (FilterActive() && !RecordPassesFilter(id))
        return;
    int pos;
    if (!m_sortKeys.empty())
        pos = SortedInsertPos(id);
    else if (before != NoRecord && ViewPos(before) >= 0)
        pos = ViewPos(before);
    else
        pos = int(m_view.size());
    m_view.insert(m_view.begin() + pos, id);
    RebuildPositions(size_t(pos));
}

// ---------------------------------------------------------------- writing

TRecordId TMemDataSet::StoreRecord(TRecordId id, std::vector<Variant>&& values, bool inserting,
                                   TRecordId insertBefore)
{
    if (inserting) {
        TRecordId nid = NewStoreRecord(std::move(values), m_logChanges ? usInserted : usUnmodified, 0);
        if (insertBefore == NoRecord) {
            m_order.push_back(nid);
        } else {
            auto it = std::find(m_order.begin(), m_order.end(), insertBefore);
            m_order.insert(it, nid);
        }
        if (m_logChanges) {
            m_meta[size_t(nid)].changes = 1;
            ++m_changeCount;
            m_logOrder.push_back(nid);
        }
        PlaceInView(nid, insertBefore);
        return nid;
    }
    RecordMeta& m = m_meta[size_t(id)];
    if (m_logChanges && !(m.flags & FlagDeltaRow)) {
        if (m.status == usUnmodified) {
            std::vector<Variant> old(static_cast<size_t>(m_columns));
            for (int c = 0; c < m_columns; ++c)
                old[size_t(c)] = Cell(id, c);
            m_original[id] = std::move(old);
            m.status = usModified;
        }
        if (m.changes == 0)
            m_logOrder.push_back(id);
        ++m.changes;
        ++m_changeCount;
    }
    for (int c = 0; c < m_columns; ++c)
        Cell(id, c) = std::move(values[size_t(c)]);
    bool reposition = !m_sortKeys.empty() || FilterActive();
    if (reposition) {
        RemoveFromView(id);
        // Keep an unsorted record where it was: place it before its successor in natural order.
        TRecordId before = NoRecord;
        if (m_sortKeys.empty()) {
            auto it = std::find(m_order.begin(), m_order.end(), id);
            for (++it; it != m_order.end(); ++it)
                if (ViewPos(*it) >= 0) {
                    before = *it;
                    break;
                }
        }
        PlaceInView(id, before);
    }
    return id;
}

void TMemDataSet::RemoveRecord(TRecordId id)
{
    RecordMeta& m = m_meta[size_t(id)];
    if (m_logChanges && !(m.flags & FlagDeltaRow)) {
        if (m.status == usInserted) {
            m_changeCount -= m.changes;
            m.changes = 0;
            m.status = usUnmodified;
            m.flags |= FlagDead;
        } else {
            if (m.changes == 0)
                m_logOrder.push_back(id);
            ++m.changes;
            ++m_changeCount;
            m.status = usDeleted;
            m.flags |= FlagDeleted;
        }
    } else {
        m.flags = quint8((m.flags & ~FlagDeltaRow) | FlagDead);
    }
    RemoveFromView(id);
}

TUpdateStatus TMemDataSet::UpdateStatus() const
{
    if (!Active())
        return usUnmodified;
    if (State() == dsInsert)
        return usInserted;
    TRecordId id = CurrentRecordId();
    return id == NoRecord ? usUnmodified : m_meta[size_t(id)].status;
}
