#pragma once
// The rows a posting looks up line by line (stock, prices, batches, turnover rows, the
// materials' kinds), read for all the lines of the bill at once at its start, inside its
// transaction. A lookup answered here gives what its own SELECT would give at that point:
//   - only a key with no row or with exactly one row is kept (with several, which one a
//     SELECT reads first is the engine's to say, so that lookup goes to the database);
//   - every write the posting makes names, before it runs, the rows it may change (the key
//     values of its rows), and what is kept of those rows is forgotten; a write that names
//     nothing makes the whole table forgotten.
#include "platform/db/Engine.h"
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>

// What is kept of the rows of one key.
struct PostingRows {
    int count = 0;                                 // 0 or 1
    std::shared_ptr<const QStringList> columns;    // lower case, of the row
    DbRow row;
    // The row's value of column, or nullptr when it was not read.
    const Variant* value(QStringView column) const;
};

class PostingLookups {
public:
    using Rows = PostingRows;

    // The rows of result, read for the key tuples keys of keyfields (one or two fields); the
    // first columns of the result are the key fields, in the same order. A key without rows
    // in it is known to have none. table may name several tables joined ("a+b"): a write to
    // any of them forgets it.
    void take(const QString& table, const QStringList& keyfields, const QList<QList<int>>& keys,
              const DbResult& result);
    // What is kept of the rows of table whose keyfields hold keys; nullptr when nothing is.
    const Rows* find(const QString& table, const QStringList& keyfields, const QList<int>& keys);

    // The next write on table changes or adds rows whose keyfields hold keys.
    void expect(const QString& table, const QStringList& keyfields, const QList<int>& keys);
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
    struct Spec {
        int table;        // interned
        QString fields;   // lower case, sorted, joined by ","
    };
    int tableid(QStringView name);
    // The key fields of table (interned; -1 for more than two), swap when the second field
    // sorts first.
    int specof(const QString& table, const QStringList& keyfields, bool& swap);
    // The key of table and keyfields holding keys; spec -1 for more than two fields.
    Key keyof(const QString& table, const QStringList& keyfields, const QList<int>& keys);
    static Key make(int spec, bool swap, const QList<int>& keys);
    void forgettable(int table);

    struct Spelling {
        int table;
        QString first, second;   // the key fields as a caller spells them (second null for one)
        int spec;
    };
    QList<QPair<QString, int>> m_tables;           // name as spelled, and lower case -> id
    int m_tablecount = 0;
    QList<Spelling> m_spellings;
    QList<Spec> m_specs;
    QHash<Key, Rows> m_entries;
    QHash<Key, QList<Key>> m_byrow;                // table|field=value of a kept row -> entries
    QHash<int, QList<Key>> m_empty;                // spec -> entries with no row
    QHash<int, QList<Key>> m_bytable;              // table -> entries read from it
    QList<QPair<int, Key>> m_expected;             // table, rows of the next write
};
