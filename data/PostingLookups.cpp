#include "PostingLookups.h"
#include <algorithm>

namespace {

// The columns by which a kept row is also found when a write names its rows: the keys the
// posting's writes are made by.
const char* const kRowKeys[] = {"fid", "iid", "eid", "mid"};

// The words of a statement's start: letters, digits and "_", with "[", "]" and "." dropped
// around them ("[dbo].[t]" reads as "dbo", "t").
class Words {
public:
    explicit Words(const QString& s) : m_s(s) {}
    QStringView next()
    {
        while (m_at < m_s.size() && (m_s[m_at].isSpace() || m_s[m_at] == u'[' || m_s[m_at] == u']' || m_s[m_at] == u'.'))
            ++m_at;
        const qsizetype from = m_at;
        while (m_at < m_s.size() && (m_s[m_at].isLetterOrNumber() || m_s[m_at] == u'_'))
            ++m_at;
        return QStringView(m_s).mid(from, m_at - from);
    }

private:
    const QString& m_s;
    qsizetype m_at = 0;
};

bool is(QStringView word, const char* text)
{
    return word.compare(QLatin1String(text), Qt::CaseInsensitive) == 0;
}

} // namespace

const Variant* PostingRows::value(QStringView column) const
{
    if (!columns)
        return nullptr;
    for (qsizetype i = 0; i < columns->size() && i < row.size(); ++i)
        if (column.compare(columns->at(i), Qt::CaseInsensitive) == 0)
            return &row[i];
    return nullptr;
}

int PostingLookups::tableid(QStringView name)
{
    // A posting names a handful of tables, mostly by the same spelling.
    for (const auto& [spelled, id] : std::as_const(m_tables))
        if (spelled == name)
            return id;
    const QString lower = name.toString().toLower();
    int id = -1;
    for (const auto& [spelled, known] : std::as_const(m_tables))
        if (spelled == lower)
            id = known;
    if (id < 0) {
        id = m_tablecount++;
        m_tables.append({lower, id});
    }
    m_tables.append({name.toString(), id});
    return id;
}

int PostingLookups::specof(const QString& table, const QStringList& keyfields, bool& swap)
{
    const qsizetype n = keyfields.size();
    swap = false;
    if (n < 1 || n > 2)
        return -1;
    const int t = tableid(table);
    swap = n == 2 && keyfields[1].compare(keyfields[0], Qt::CaseInsensitive) < 0;
    for (const Spelling& s : std::as_const(m_spellings))
        if (s.table == t && s.first == keyfields[0] && (n == 1 ? s.second.isNull() : s.second == keyfields[1]))
            return s.spec;
    const QString given = n == 1 ? keyfields[0] : keyfields[0] + u',' + keyfields[1];
    const QString fields = swap ? keyfields[1].toLower() + u',' + keyfields[0].toLower() : given.toLower();
    int spec = -1;
    for (int i = 0; i < m_specs.size() && spec < 0; ++i)
        if (m_specs[i].table == t && m_specs[i].fields == fields)
            spec = i;
    if (spec < 0) {
        spec = int(m_specs.size());
        m_specs.append({t, fields});
    }
    m_spellings.append({t, keyfields[0], n == 1 ? QString() : keyfields[1], spec});
    return spec;
}

PostingLookups::Key PostingLookups::keyof(const QString& table, const QStringList& keyfields, const QList<int>& keys)
{
    bool swap;
    const int spec = specof(table, keyfields, swap);
    if (spec < 0 || keys.size() != keyfields.size())
        return Key{};
    return make(spec, swap, keys);
}

PostingLookups::Key PostingLookups::make(int spec, bool swap, const QList<int>& keys)
{
    return Key{spec, keys[swap ? 1 : 0], keys.size() == 2 ? keys[swap ? 0 : 1] : 0};
}

void PostingLookups::take(const QString& table, const QStringList& keyfields, const QList<QList<int>>& keys,
                          const DbResult& result)
{
    const qsizetype n = keyfields.size();
    if (n < 1 || n > 2)
        return;
    auto columns = std::make_shared<QStringList>();
    for (const DbColumn& c : result.columns)
        columns->append(c.name.toLower());
    // The kept rows are found by these columns too.
    QList<QPair<qsizetype, int>> rowkeys;   // column, spec
    for (const char* key : kRowKeys) {
        const QString c = QString::fromLatin1(key);
        const qsizetype i = columns->indexOf(c);
        bool swap;
        if (i >= 0)
            rowkeys.append({i, specof(table, {c}, swap)});
    }
    QList<int> parts;
    for (const auto part : QStringView(table).split(u'+'))
        parts.append(tableid(part));
    bool swap;
    const int spec = specof(table, keyfields, swap);
    if (spec < 0)
        return;
    m_entries.reserve(m_entries.size() + keys.size());
    QHash<Key, const DbRow*> one;
    one.reserve(result.rows.size());
    QSet<Key> several;
    QList<int> values(n);
    for (const DbRow& r : result.rows) {
        if (r.size() < columns->size())
            return;
        bool null = false;
        for (qsizetype i = 0; i < n; ++i) {
            null = null || r[i].IsEmptyOrNull();
            values[i] = null ? 0 : r[i].ToInt();
        }
        if (null)
            continue;
        const Key k = make(spec, swap, values);
        if (one.contains(k))
            several.insert(k);
        else
            one.insert(k, &r);
    }
    for (const QList<int>& tuple : keys) {
        if (tuple.size() != n)
            continue;
        const Key k = make(spec, swap, tuple);
        // Which of several rows a SELECT reads first is the engine's to say.
        if (several.contains(k) || m_entries.contains(k))
            continue;
        Rows e;
        const DbRow* r = one.value(k);
        if (r) {
            e.count = 1;
            e.columns = columns;
            e.row = *r;
            for (const auto& [column, spec] : rowkeys)
                if (!e.row[column].IsEmptyOrNull())
                    m_byrow[Key{spec, e.row[column].ToInt(), 0}].append(k);
        } else {
            m_empty[k.spec].append(k);
        }
        for (int part : parts)
            m_bytable[part].append(k);
        m_entries.insert(k, e);
    }
}

const PostingLookups::Rows* PostingLookups::find(const QString& table, const QStringList& keyfields,
                                                 const QList<int>& keys)
{
    if (m_entries.isEmpty())
        return nullptr;
    const auto it = m_entries.constFind(keyof(table, keyfields, keys));
    return it == m_entries.constEnd() ? nullptr : &*it;
}

void PostingLookups::expect(const QString& table, const QStringList& keyfields, const QList<int>& keys)
{
    m_expected.append({tableid(table), keyof(table, keyfields, keys)});
}

void PostingLookups::forgettable(int table)
{
    for (const Key& k : m_bytable.take(table))
        m_entries.remove(k);
}

void PostingLookups::write(const QString& sql)
{
    if (m_entries.isEmpty()) {
        m_expected.clear();
        return;
    }
    Words words(sql);
    const QStringView verb = words.next();
    if (is(verb, "select"))
        return;
    const bool insert = is(verb, "insert");
    QStringView name = words.next();
    if ((insert && is(name, "into")) || (is(verb, "delete") && is(name, "from")))
        name = words.next();
    if (is(name, "dbo"))
        name = words.next();
    if ((!insert && !is(verb, "update") && !is(verb, "delete")) || name.isEmpty()) {
        // Not a write of one table that can be told: nothing read stays.
        m_entries.clear();
        m_bytable.clear();
        m_expected.clear();
        return;
    }
    const int table = tableid(name);
    QList<Key> named;   // the rows the write names
    for (const auto& [t, k] : std::as_const(m_expected))
        if (t == table)
            named.append(k);
    m_expected.clear();
    if (named.isEmpty() || std::any_of(named.cbegin(), named.cend(), [](const Key& k) { return k.spec < 0; })) {
        forgettable(table);
        return;
    }
    for (const Key& k : std::as_const(named)) {
        m_entries.remove(k);
        for (const Key& kept : m_byrow.value(k))
            m_entries.remove(kept);
    }
    if (!insert)
        return;
    // A new row may hold any value in the columns the statement leaves to the table (an
    // identity key): what is known to have no row by those is forgotten.
    for (auto it = m_empty.begin(); it != m_empty.end();) {
        const int spec = it.key();
        const bool other = m_specs[spec].table == table
                        && std::none_of(named.cbegin(), named.cend(), [spec](const Key& k) { return k.spec == spec; });
        if (!other) {
            ++it;
            continue;
        }
        for (const Key& k : std::as_const(it.value()))
            m_entries.remove(k);
        it = m_empty.erase(it);
    }
}
