#include "PostingLookups.h"
#include <cstring>
#include <algorithm>

namespace {

// The columns by which a kept row is also found when a write names its rows: the keys the
// posting's writes are made by.
const QString kRowKeys[] = {QStringLiteral("fid"), QStringLiteral("iid"), QStringLiteral("eid"), QStringLiteral("mid")};

bool isascii(QStringView s)
{
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c.unicode() < 0x80; });
}

char16_t asciilower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
}

// An ASCII word equals lower (lower case) but for the case of its letters.
bool asciiequal(QStringView word, QStringView lower)
{
    if (word.size() != lower.size())
        return false;
    for (qsizetype i = 0; i < word.size(); ++i)
        if (asciilower(word[i].unicode()) != lower[i].unicode())
            return false;
    return true;
}

// Whether name, as given (ascii: it is ASCII; lower: its lower case otherwise), is the
// table interned as known (lower case).
bool sametable(QStringView name, bool ascii, const QString& lower, const QString& known)
{
    return ascii ? asciiequal(name, known) : lower == known;
}

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

// word is text (lower case) but for case; a word of other letters than ASCII ones compares
// as the string class does.
template <qsizetype N>
bool is(QStringView word, const char16_t (&text)[N])
{
    const QStringView t(text, N - 1);
    if (isascii(word))
        return asciiequal(word, t);
    return word.compare(t, Qt::CaseInsensitive) == 0;
}

} // namespace

const Variant* PostingRows::value(QStringView column) const
{
    if (!columns || !row)
        return nullptr;
    const qsizetype n = std::min(columns->size(), row->size());
    if (columns->ascii && isascii(column)) {
        for (qsizetype i = 0; i < n; ++i)
            if (asciiequal(column, columns->name(i)))
                return &row->at(i);
        return nullptr;
    }
    for (qsizetype i = 0; i < n; ++i)
        if (column.compare(columns->name(i), Qt::CaseInsensitive) == 0)
            return &row->at(i);
    return nullptr;
}

int PostingLookups::knowntable(QStringView name) const
{
    const bool ascii = isascii(name);
    const QString lower = ascii ? QString() : name.toString().toLower();
    // Mostly the table the caller has just named.
    if (!m_expected.empty() && sametable(name, ascii, lower, m_tables[m_expected.front().first]))
        return m_expected.front().first;
    for (qsizetype id = 0; id < m_tables.size(); ++id)
        if (sametable(name, ascii, lower, m_tables[id]))
            return int(id);
    return -1;
}

int PostingLookups::tableid(QStringView name)
{
    const int known = knowntable(name);
    if (known >= 0)
        return known;
    m_tables.append(name.toString().toLower());
    m_bytable.resize(m_tables.size());
    return int(m_tables.size() - 1);
}

PostingLookups::Resolved PostingLookups::resolve(const QString& table, const QString* fields, qsizetype n)
{
    if (n < 1 || n > 2)
        return Resolved{tableid(table), -1, false};
    const QStringView first = fields[0];
    const QStringView second = n == 2 ? QStringView(fields[1]) : QStringView();
    const std::array<const QChar*, 3> where{table.constData(), first.data(), second.data()};
    const std::array<qsizetype, 3> sizes{table.size(), first.size(), n == 2 ? second.size() : -1};
    const auto same = [&](const Spelling& s) {
        if (s.sizes[0] != sizes[0] || s.sizes[1] != sizes[1] || s.sizes[2] != sizes[2])
            return false;
        const QChar* text = s.text.constData();
        for (const QStringView name : {QStringView(table), first, second}) {
            if (!name.isEmpty() && std::memcmp(text, name.data(), size_t(name.size()) * sizeof(QChar)) != 0)
                return false;
            text += name.size();
        }
        return true;
    };
    Hint& hint = m_hints[(quintptr(where[0]) * 3 + quintptr(where[1]) * 5 + quintptr(where[2]) * 7) / 8 % m_hints.size()];
    if (hint.spelling >= 0 && hint.where[0] == where[0] && hint.where[1] == where[1] && hint.where[2] == where[2]
        && same(m_spellings[size_t(hint.spelling)]))
        return m_spellings[size_t(hint.spelling)].resolved;
    size_t hash = size_t(n);
    for (const QStringView s : {QStringView(table), first, second})
        for (const QChar c : s)
            hash = hash * 31 + c.unicode();
    for (size_t i = 0; i < m_spellings.size(); ++i)
        if (m_spellings[i].hash == hash && same(m_spellings[i])) {
            hint = {where, int(i)};
            return m_spellings[i].resolved;
        }
    Resolved r;
    r.table = tableid(table);
    r.swap = n == 2 && fields[1].compare(fields[0], Qt::CaseInsensitive) < 0;
    const QString given = n == 1 ? fields[0] : fields[0] + u',' + fields[1];
    const QString key = r.swap ? fields[1].toLower() + u',' + fields[0].toLower() : given.toLower();
    for (size_t i = 0; i < m_specs.size() && r.spec < 0; ++i)
        if (m_specs[i].table == r.table && m_specs[i].fields == key)
            r.spec = int(i);
    if (r.spec < 0) {
        r.spec = int(m_specs.size());
        m_specs.push_back({r.table, key});
        m_empty.resize(m_specs.size());
    }
    QString text = table;
    text.append(first).append(second);
    m_spellings.push_back({hash, sizes, text, r});
    hint = {where, int(m_spellings.size() - 1)};
    return r;
}

void PostingLookups::take(const QString& table, Names keyfields, const QList<int>& keys, DbResult result)
{
    const qsizetype n = qsizetype(keyfields.size());
    if (n < 1 || n > 2)
        return;
    PostingColumns columns;
    columns.ends.reserve(result.columns.size());
    for (const DbColumn& c : std::as_const(result.columns)) {
        columns.text += c.name.toLower();
        columns.ends.append(columns.text.size());
        columns.ascii = columns.ascii && isascii(c.name);
    }
    const QList<DbRow>& rows = std::as_const(result.rows);
    // The kept rows are found by these columns too.
    QList<QPair<qsizetype, int>> rowkeys;   // column, spec
    for (const QString& key : kRowKeys)
        for (qsizetype i = 0; i < columns.size(); ++i)
            if (columns.name(i) == key) {
                rowkeys.append({i, resolve(table, {key}).spec});
                break;
            }
    QList<int> parts;
    for (const auto part : QStringView(table).tokenize(u'+'))
        parts.append(tableid(part));
    const Resolved spec = resolve(table, keyfields);
    // Each key of the result: the row holding it (1 + its index), -1 for several.
    KeyTable<qsizetype> rowof;
    rowof.reserve(rows.size());
    bool added;
    for (qsizetype at = 0; at < rows.size(); ++at) {
        const DbRow& r = rows[at];
        if (r.size() < columns.size())
            return;
        if (r[0].IsEmptyOrNull())
            continue;
        const int a = r[0].ToInt();
        if (n == 2 && r[1].IsEmptyOrNull())
            continue;
        qsizetype& slot = rowof.get(make(spec, a, n == 2 ? r[1].ToInt() : 0), added);
        slot = slot == 0 ? at + 1 : -1;
    }
    const Taken& taken = m_taken.emplace_back(Taken{std::move(columns), std::move(result)});
    m_entries.reserve(m_entries.size() + keys.size() / n);
    m_byrow.reserve(m_byrow.size() + taken.result.rows.size() * rowkeys.size());
    m_links.reserve(m_links.size() + size_t(taken.result.rows.size() * rowkeys.size()));
    for (qsizetype at = 0; at + n <= keys.size(); at += n) {
        const Key k = make(spec, keys[at], n == 2 ? keys[at + 1] : 0);
        // Which of several rows a SELECT reads first is the engine's to say.
        const qsizetype* found = rowof.find(k);
        const qsizetype slot = found ? *found : 0;
        if (slot < 0)
            continue;
        Rows& e = m_entries.get(k, added);
        if (!added && e.count >= 0)
            continue;
        ++m_live;
        if (slot > 0) {
            const DbRow& row = taken.result.rows.at(slot - 1);
            e = Rows{1, &taken.columns, &row};
            for (const auto& [column, rowspec] : std::as_const(rowkeys)) {
                if (row[column].IsEmptyOrNull())
                    continue;
                int& head = m_byrow.get(Key{rowspec, row[column].ToInt(), 0}, added);
                m_links.push_back({k, head - 1});
                head = int(m_links.size());
            }
        } else {
            e = Rows{};
            m_empty[k.spec].push_back(k);
        }
        for (int part : std::as_const(parts))
            m_bytable[part].push_back(k);
    }
}

const PostingLookups::Rows* PostingLookups::find(const QString& table, Names keyfields, Values keys)
{
    if (m_live == 0)
        return nullptr;
    const Key k = keyof(resolve(table, keyfields), keyfields, keys);
    if (k.spec < 0)
        return nullptr;
    const Rows* kept = m_entries.find(k);
    return kept && kept->count >= 0 ? kept : nullptr;
}

void PostingLookups::expect(const QString& table, Names keyfields, Values keys)
{
    const Resolved r = resolve(table, keyfields);
    m_expected.emplace_back(r.table, keyof(r, keyfields, keys));
}

void PostingLookups::forgettable(int table)
{
    for (const Key& k : m_bytable[table])
        forget(k);
    m_bytable[table].clear();
}

void PostingLookups::write(const QString& sql)
{
    if (m_live == 0) {
        m_expected.clear();
        return;
    }
    Words words(sql);
    const QStringView verb = words.next();
    if (is(verb, u"select"))
        return;
    const bool insert = is(verb, u"insert");
    const bool update = !insert && is(verb, u"update");
    const bool remove = !insert && !update && is(verb, u"delete");
    QStringView name = words.next();
    if ((insert && is(name, u"into")) || (remove && is(name, u"from")))
        name = words.next();
    if (is(name, u"dbo"))
        name = words.next();
    if ((!insert && !update && !remove) || name.isEmpty()) {
        // Not a write of one table that can be told: nothing read stays.
        m_entries.clear();
        m_live = 0;
        for (auto& kept : m_bytable)
            kept.clear();
        m_expected.clear();
        return;
    }
    // A table no posting call has named holds nothing kept.
    const int table = knowntable(name);
    bool named = false;   // the write names its rows
    bool whole = false;   // one of them by more key fields than are kept
    for (const auto& [t, k] : m_expected)
        if (t == table) {
            named = true;
            whole = whole || k.spec < 0;
        }
    if (table < 0 || !named || whole) {
        m_expected.clear();
        if (table >= 0)
            forgettable(table);
        return;
    }
    for (const auto& [t, k] : m_expected) {
        if (t != table)
            continue;
        forget(k);
        if (const int* head = m_byrow.find(k))
            for (int link = *head - 1; link >= 0; link = m_links[link].next)
                forget(m_links[link].entry);
    }
    if (insert) {
        // A new row may hold any value in the columns the statement leaves to the table (an
        // identity key): what is known to have no row by those is forgotten.
        for (size_t spec = 0; spec < m_specs.size(); ++spec) {
            std::vector<Key>& empty = m_empty[spec];
            if (empty.empty() || m_specs[spec].table != table)
                continue;
            const bool own = std::any_of(m_expected.cbegin(), m_expected.cend(),
                                         [&](const auto& e) { return e.first == table && e.second.spec == int(spec); });
            if (own)
                continue;
            for (const Key& k : empty)
                forget(k);
            empty.clear();
        }
    }
    m_expected.clear();
}
