#pragma once
// The rows a posting looks up line by line (stock, prices, batches, turnover rows, the
// materials' kinds), read for all the lines of the bill at once at its start, inside its
// transaction. A lookup answered here gives what its own SELECT would give at that point:
//   - only a key with no row or with exactly one row is kept (with several, which one a
//     SELECT reads first is the engine's to say, so that lookup goes to the database);
//   - every write the posting makes names, before it runs, the rows it may change (the key
//     values of its rows), and what is kept of those rows is forgotten; a write that names
//     nothing makes the whole table forgotten;
//   - an insert forgets the "no row" answers of the table's other keys (a new row may hold
//     any value in the columns the statement leaves to the table).
// A posting names a handful of tables and keys thousands of times: they are interned once
// (small ids) and the kept rows stay in the results they were read in.
#include "platform/db/Engine.h"
#include <QHash>
#include <algorithm>
#include <array>
#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <initializer_list>
#include <vector>

// The columns of a result kept by a posting.
struct PostingColumns {
    QString text;             // their names in lower case, one after the other
    QList<qsizetype> ends;    // where each name ends in text
    bool ascii = true;        // all of them
    qsizetype size() const { return ends.size(); }
    QStringView name(qsizetype i) const
    {
        const qsizetype from = i > 0 ? ends[i - 1] : 0;
        return QStringView(text).mid(from, ends[i] - from);
    }
};

// What is kept of the rows of one key.
struct PostingRows {
    int count = 0;                              // 0 or 1
    const PostingColumns* columns = nullptr;    // of the row
    const DbRow* row = nullptr;
    // The row's value of column, or nullptr when it was not read.
    const Variant* value(QStringView column) const;
};

class PostingLookups {
public:
    using Rows = PostingRows;
    using Names = std::initializer_list<QString>;
    using Values = std::initializer_list<int>;

    // The rows of result, read for the key tuples keys of keyfields (one or two fields; keys
    // holds the tuples one after the other); the first columns of the result are the key
    // fields, in the same order. A key without rows in it is known to have none. table may
    // name several tables joined ("a+b"): a write to any of them forgets it.
    void take(const QString& table, Names keyfields, const QList<int>& keys, DbResult result);
    // What is kept of the rows of table whose keyfields hold keys; nullptr when nothing is.
    const Rows* find(const QString& table, Names keyfields, Values keys);

    // The next write on table changes or adds rows whose keyfields hold keys.
    void expect(const QString& table, Names keyfields, Values keys);
    // A statement about to run: a write forgets what it may change.
    void write(const QString& sql);

    // Keys of the kept rows: the key fields of a table (interned) and their values.
    struct Key {
        int spec = -1;
        int a = 0, b = 0;
        friend bool operator==(const Key& x, const Key& y) { return x.spec == y.spec && x.a == y.a && x.b == y.b; }
        friend size_t qHash(const Key& k, size_t seed = 0) { return qHashMulti(seed, k.spec, k.a, k.b); }
    };

private:
    // Values by key in one flat table (open addressing): a posting looks keys up and adds them
    // thousands of times and never takes one out.
    template <typename V>
    class KeyTable {
    public:
        V* find(const Key& k)
        {
            if (m_slots.empty())
                return nullptr;
            for (size_t i = slot(k);; i = (i + 1) & (m_slots.size() - 1)) {
                Slot& s = m_slots[i];
                if (s.key == k)
                    return &s.value;
                if (s.key.spec < 0)
                    return nullptr;
            }
        }
        const V* find(const Key& k) const { return const_cast<KeyTable*>(this)->find(k); }
        // The value of k, added as V{} when it had none (added tells).
        V& get(const Key& k, bool& added)
        {
            if ((m_count + 1) * 4 > qsizetype(m_slots.size()) * 3)
                grow(m_count + 1);
            for (size_t i = slot(k);; i = (i + 1) & (m_slots.size() - 1)) {
                Slot& s = m_slots[i];
                added = s.key.spec < 0;
                if (added) {
                    s.key = k;
                    ++m_count;
                }
                if (added || s.key == k)
                    return s.value;
            }
        }
        void reserve(qsizetype n)
        {
            if (n * 4 > qsizetype(m_slots.size()) * 3)
                grow(n);
        }
        qsizetype size() const { return m_count; }
        void clear()
        {
            std::fill(m_slots.begin(), m_slots.end(), Slot{});
            m_count = 0;
        }

    private:
        struct Slot {
            Key key;   // spec -1: free
            V value{};
        };
        size_t slot(const Key& k) const
        {
            quint64 h = (quint64(quint32(k.a)) | quint64(quint32(k.b)) << 32) ^ (quint64(quint32(k.spec)) * 0x9e3779b97f4a7c15ULL);
            h ^= h >> 33;
            h *= 0xff51afd7ed558ccdULL;
            h ^= h >> 33;
            return size_t(h) & (m_slots.size() - 1);
        }
        void grow(qsizetype n)
        {
            size_t size = 64;
            while (qsizetype(size) * 3 < n * 4)
                size *= 2;
            std::vector<Slot> old(size);
            old.swap(m_slots);
            m_count = 0;
            bool added;
            for (Slot& s : old)
                if (s.key.spec >= 0)
                    get(s.key, added) = std::move(s.value);
        }
        std::vector<Slot> m_slots;   // a power of two of them
        qsizetype m_count = 0;
    };

    // A table and key fields as a caller names them, resolved.
    struct Resolved {
        int table = -1;   // interned
        int spec = -1;    // the key fields of table (interned); -1 for more than two
        bool swap = false;   // the second field sorts first
    };
    struct Spec {
        int table;        // interned
        QString fields;   // lower case, sorted, joined by ","
    };
    struct Spelling {
        size_t hash;
        std::array<qsizetype, 3> sizes;   // of table, first and second field (-1: no second)
        QString text;                     // their text one after the other, as a caller spells them
        Resolved resolved;
    };
    // Where a caller's names were last seen (a call site names them by the same text each
    // time): a hint only, their text decides.
    struct Hint {
        std::array<const QChar*, 3> where{};
        int spelling = -1;
    };
    int tableid(QStringView name);
    // The id of a table named in a statement; -1 when no posting call named it.
    int knowntable(QStringView name) const;
    Resolved resolve(const QString& table, const QString* fields, qsizetype n);
    Resolved resolve(const QString& table, Names keyfields) { return resolve(table, keyfields.begin(), qsizetype(keyfields.size())); }
    static Key make(const Resolved& r, int first, int second)
    {
        return r.swap ? Key{r.spec, second, first} : Key{r.spec, first, second};
    }
    // The key of keys, spec -1 for more than two fields or a count that does not match.
    static Key keyof(const Resolved& r, Names keyfields, Values keys)
    {
        if (r.spec < 0 || keys.size() != keyfields.size())
            return Key{};
        return make(r, keys.begin()[0], keys.size() == 2 ? keys.begin()[1] : 0);
    }
    void forgettable(int table);
    // What is kept of k is forgotten (its entry stays, dead, to be taken again).
    void forget(const Key& k)
    {
        Rows* kept = m_entries.find(k);
        if (kept && kept->count >= 0) {
            kept->count = -1;
            --m_live;
        }
    }

    // A result taken and its columns.
    struct Taken {
        PostingColumns columns;
        DbResult result;
    };
    // The kept rows a write naming a row key forgets: a list per key, linked in one vector.
    struct Link {
        Key entry;
        int next;   // index, -1 at the end
    };

    QList<QString> m_tables;                        // lower case, by id
    std::vector<Spelling> m_spellings;
    std::array<Hint, 64> m_hints;
    std::vector<Spec> m_specs;
    std::deque<Taken> m_taken;
    KeyTable<Rows> m_entries;                      // count -1: forgotten
    qsizetype m_live = 0;                          // entries not forgotten
    KeyTable<int> m_byrow;                         // table|field=value of a kept row -> 1 + first link
    std::vector<Link> m_links;
    std::vector<std::vector<Key>> m_empty;         // by spec: entries with no row
    std::vector<std::vector<Key>> m_bytable;       // by table: entries read from it
    std::vector<std::pair<int, Key>> m_expected;   // table, rows of the next write
};
