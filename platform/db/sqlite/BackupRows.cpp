#include "BackupRows.h"
#include "SqliteEngine.h"
#include "SqliteFunctions.h"
#include "platform/db/tsql/Translator.h"
#include "platform/rtl/Exceptions.h"
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <sqlite3.h>

namespace sqlitedb {

namespace {

const char* const kTerminating = " RESTORE DATABASE is terminating abnormally.";

struct Table {
    QString name;            // as declared
    QString type;            // "table" or "view"
    bool plain = true;       // a table of its own rows (not a virtual table)
    bool autoincrement = false;
    QStringList columns;     // as declared, in order
    QStringList computed;    // computed or hidden columns
};
using Tables = QMap<QString, Table>;   // by lower-case name

QString text(sqlite3_stmt* st, int col)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, col)));
}

// One connection that only reads a file and runs nothing the file declares: no trigger or view
// runs, and no function reaches the file's schema.
sqlite3* openForReading(const QString& file)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw EOleException(QStringLiteral("Cannot open backup device '%1'.").arg(file) + QLatin1String(kTerminating));
    }
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
    RegisterFunctions(db);   // the check reads the indexes by the engine's collations
    return db;
}

struct Closer {
    sqlite3* db;
    ~Closer() { sqlite3_close(db); }
};
struct Finalizer {
    sqlite3_stmt* st = nullptr;
    ~Finalizer() { sqlite3_finalize(st); }
};

QString errorOf(sqlite3* db) { return QString::fromUtf8(sqlite3_errmsg(db)); }

// The whole file passes the engine's full check.
void checkWhole(sqlite3* db, const QString& backupFile)
{
    Finalizer st;
    QString verdict;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check(1)", -1, &st.st, nullptr) == SQLITE_OK && sqlite3_step(st.st) == SQLITE_ROW)
        verdict = text(st.st, 0);
    else
        verdict = errorOf(db);
    if (verdict != QLatin1String("ok"))
        throw EOleException(QStringLiteral("The backup set on device '%1' is damaged (%2).").arg(backupFile, verdict)
                            + QLatin1String(kTerminating));
}

Tables readTables(sqlite3* db, const QString& file)
{
    Tables out;
    Finalizer st;
    if (sqlite3_prepare_v2(db, "select name, type, sql from main.sqlite_master where type in ('table', 'view') "
                               "and name not like 'sqlite%'", -1, &st.st, nullptr) != SQLITE_OK)
        throw EOleException(QStringLiteral("The backup set on device '%1' is damaged (%2).").arg(file, errorOf(db))
                            + QLatin1String(kTerminating));
    while (sqlite3_step(st.st) == SQLITE_ROW) {
        Table t;
        t.name = text(st.st, 0);
        t.type = text(st.st, 1);
        const QString sql = text(st.st, 2).simplified();
        t.plain = !sql.startsWith(QLatin1String("create virtual"), Qt::CaseInsensitive);
        t.autoincrement = sql.contains(QLatin1String("autoincrement"), Qt::CaseInsensitive);
        out.insert(t.name.toLower(), t);
    }
    for (Table& t : out) {
        if (t.type != QLatin1String("table") || !t.plain) continue;
        Finalizer c;
        if (sqlite3_prepare_v2(db, "select name, hidden from pragma_table_xinfo(?1, 'main')", -1, &c.st, nullptr) != SQLITE_OK)
            throw EOleException(QStringLiteral("The backup set on device '%1' is damaged (%2).").arg(file, errorOf(db))
                                + QLatin1String(kTerminating));
        const QByteArray name = t.name.toUtf8();
        sqlite3_bind_text(c.st, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        while (sqlite3_step(c.st) == SQLITE_ROW)
            (sqlite3_column_int(c.st, 1) == 0 ? t.columns : t.computed) << text(c.st, 0);
    }
    return out;
}

// The bill-number pool: the data module re-creates it with one flag column per bill category and
// direction, so its flag columns are the account set's own, not the template's. A backup's pool
// is made anew by the statement the data module makes it with, from names of letters, digits
// and underscores only.
const char* const kPool = "billtypelist";
const char* const kPoolKey = "fid";

bool isPoolFlag(const QString& name)
{
    static const QRegularExpression flag(QStringLiteral("^(im|ex)[\\p{L}\\p{N}_]{1,50}$"), QRegularExpression::CaseInsensitiveOption);
    return flag.match(name).hasMatch();
}

QSet<QString> lowerSet(const QStringList& names)
{
    QSet<QString> out;
    for (const QString& n : names) out.insert(n.toLower());
    return out;
}

// What keeps the backup from being an account set of the template's kind, one item per table.
QStringList differences(const Tables& tpl, const Tables& backup)
{
    QStringList out;
    for (const Table& t : tpl) {
        if (t.type != QLatin1String("table")) continue;
        const auto b = backup.constFind(t.name.toLower());
        if (b == backup.constEnd()) {
            out << QStringLiteral("table %1 is missing").arg(t.name);
            continue;
        }
        if (b->type != QLatin1String("table") || !b->plain) {
            out << QStringLiteral("%1 is not a table").arg(b->name);
            continue;
        }
        const bool pool = t.name.compare(QLatin1String(kPool), Qt::CaseInsensitive) == 0;
        const QSet<QString> want = pool ? QSet<QString>{QString::fromLatin1(kPoolKey)} : lowerSet(t.columns);
        const QSet<QString> have = lowerSet(b->columns);
        QStringList missing, extra;
        for (const QString& c : t.columns)
            if (!have.contains(c.toLower()) && (!pool || want.contains(c.toLower()))) missing << c;
        for (const QString& c : b->columns)
            if (!want.contains(c.toLower()) && (!pool || !isPoolFlag(c))) extra << c;
        QStringList parts;
        if (!missing.isEmpty()) parts << QStringLiteral("no column %1").arg(missing.join(QLatin1String(", ")));
        if (!extra.isEmpty()) parts << QStringLiteral("column %1 not in the account set").arg(extra.join(QLatin1String(", ")));
        if (!b->computed.isEmpty()) parts << QStringLiteral("computed column %1").arg(b->computed.join(QLatin1String(", ")));
        if (!parts.isEmpty()) out << QStringLiteral("table %1: %2").arg(t.name, parts.join(QLatin1String("; ")));
    }
    // Tables of another program come first: they say most plainly what the file is.
    QStringList foreign;
    for (const Table& b : backup) {
        const auto t = tpl.constFind(b.name.toLower());
        if (b.type == QLatin1String("table") && (t == tpl.constEnd() || t->type != QLatin1String("table")))
            foreign << QStringLiteral("table %1 is not in the account set").arg(b.name);
    }
    return foreign + out;
}

void exec(sqlite3* db, const QString& sql, const QString& context)
{
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw EOleException(context + QStringLiteral(": ") + errorOf(db) + u'.' + QLatin1String(kTerminating));
}

// The rows of table t, column by column as the template names them, bound as values.
void copyRows(sqlite3* src, sqlite3* dst, const Table& t, const QString& backupFile)
{
    QStringList cols, marks;
    for (const QString& c : t.columns) {
        cols << tsql::QuoteAlways(c);
        marks << QStringLiteral("?");
    }
    const QString table = tsql::QuoteAlways(t.name);
    Finalizer read, write;
    const QByteArray select = (QStringLiteral("select ") + cols.join(u',') + QStringLiteral(" from main.") + table).toUtf8();
    const QByteArray insert = QStringLiteral("insert into main.%1 (%2) values (%3)")
                                  .arg(table, cols.join(u','), marks.join(u',')).toUtf8();
    if (sqlite3_prepare_v2(src, select.constData(), -1, &read.st, nullptr) != SQLITE_OK)
        throw EOleException(QStringLiteral("The backup set on device '%1' cannot be read (table %2: %3).")
                                .arg(backupFile, t.name, errorOf(src)) + QLatin1String(kTerminating));
    if (sqlite3_prepare_v2(dst, insert.constData(), -1, &write.st, nullptr) != SQLITE_OK)
        throw EOleException(QStringLiteral("Table %1: %2.").arg(t.name, errorOf(dst)) + QLatin1String(kTerminating));
    const int n = int(t.columns.size());
    int rc;
    while ((rc = sqlite3_step(read.st)) == SQLITE_ROW) {
        for (int i = 0; i < n; ++i) {
            if (sqlite3_column_type(read.st, i) == SQLITE_BLOB)
                throw EOleException(QStringLiteral("The backup set on device '%1' holds binary data in column %2 of table %3.")
                                        .arg(backupFile, t.columns[i], t.name) + QLatin1String(kTerminating));
            sqlite3_bind_value(write.st, i + 1, sqlite3_column_value(read.st, i));
        }
        if (sqlite3_step(write.st) != SQLITE_DONE)
            throw EOleException(QStringLiteral("The backup set on device '%1' holds a row that table %2 refuses (%3).")
                                    .arg(backupFile, t.name, tsql::TruncationMessage(errorOf(dst)).isEmpty()
                                                                 ? errorOf(dst) : tsql::TruncationMessage(errorOf(dst)))
                                + QLatin1String(kTerminating));
        sqlite3_reset(write.st);
    }
    if (rc != SQLITE_DONE)
        throw EOleException(QStringLiteral("The backup set on device '%1' is damaged (table %2: %3).")
                                .arg(backupFile, t.name, errorOf(src)) + QLatin1String(kTerminating));
}

// The pool with the backup's flag columns, as the data module creates it.
void reshapePool(sqlite3* dst, Table& pool, const Table& backup)
{
    if (lowerSet(pool.columns) == lowerSet(backup.columns)) return;
    QStringList columns{QString::fromLatin1(kPoolKey)};
    for (const QString& c : backup.columns)
        if (isPoolFlag(c)) columns << c;
    exec(dst, QStringLiteral("drop table main.") + tsql::QuoteAlways(pool.name), pool.name);
    for (const tsql::Statement& st : tsql::TranslateBatch(PoolCreateStatement(backup.columns), false))
        for (const QString& sql : st.sql) exec(dst, sql, pool.name);
    pool.columns = columns;
}

// The key counters go on after the highest key the backup handed out.
void copyCounters(sqlite3* src, sqlite3* dst, const Tables& tpl)
{
    Finalizer read, update, insert;
    // A backup without keys handed out has no counters.
    if (sqlite3_prepare_v2(src, "select name, seq from main.sqlite_sequence", -1, &read.st, nullptr) != SQLITE_OK) return;
    sqlite3_prepare_v2(dst, "update main.sqlite_sequence set seq = max(seq, ?2) where name = ?1", -1, &update.st, nullptr);
    sqlite3_prepare_v2(dst, "insert into main.sqlite_sequence (name, seq) values (?1, ?2)", -1, &insert.st, nullptr);
    while (sqlite3_step(read.st) == SQLITE_ROW) {
        const auto t = tpl.constFind(text(read.st, 0).toLower());
        if (t == tpl.constEnd() || !t->autoincrement || sqlite3_column_type(read.st, 1) != SQLITE_INTEGER) continue;
        const QByteArray name = t->name.toUtf8();
        const sqlite3_int64 seq = sqlite3_column_int64(read.st, 1);
        sqlite3_bind_text(update.st, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(update.st, 2, seq);
        sqlite3_step(update.st);
        sqlite3_reset(update.st);
        if (sqlite3_changes(dst) == 0) {
            sqlite3_bind_text(insert.st, 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int64(insert.st, 2, seq);
            sqlite3_step(insert.st);
            sqlite3_reset(insert.st);
        }
    }
}

} // namespace

bool IsPoolTable(const QString& table)
{
    return table.compare(QLatin1String(kPool), Qt::CaseInsensitive) == 0;
}

QString PoolCreateStatement(const QStringList& columns)
{
    QString create = QStringLiteral("CREATE TABLE [dbo].[%1] ([%2] [int] IDENTITY (1, 1) NOT NULL ").arg(QLatin1String(kPool), QLatin1String(kPoolKey));
    for (const QString& c : columns)
        if (isPoolFlag(c)) create += QStringLiteral(",[%1] [bit] NULL default 0").arg(c);
    return create + QStringLiteral(") ON [PRIMARY]");
}

void BuildFromBackup(const QString& templateFile, const QString& backupFile, const QString& workFile, int timeoutMs)
{
    if (!QFile::exists(templateFile))
        throw EOleException(QStringLiteral("The account-set template '%1' is missing; no backup can be restored without it.")
                                .arg(templateFile) + QLatin1String(kTerminating));
    const Closer src{openForReading(backupFile)};
    checkWhole(src.db, backupFile);
    const Tables backup = readTables(src.db, backupFile);
    const Closer tplDb{openForReading(templateFile)};
    const Tables tpl = readTables(tplDb.db, templateFile);
    bool anyTable = false;
    for (const Table& b : backup) anyTable = anyTable || b.type == QLatin1String("table");
    if (!anyTable)
        throw EOleException(QStringLiteral("The backup set on device '%1' holds no database.").arg(backupFile)
                            + QLatin1String(kTerminating));
    const QStringList diff = differences(tpl, backup);
    if (!diff.isEmpty()) {
        QStringList shown = diff.mid(0, 8);
        if (diff.size() > shown.size()) shown << QStringLiteral("%1 more").arg(diff.size() - shown.size());
        throw EOleException(QStringLiteral("The backup set on device '%1' does not hold an account set of this program (%2).")
                                .arg(backupFile, shown.join(QLatin1String("; "))) + QLatin1String(kTerminating));
    }

    // The template's pages make the schema; its rows go, the backup's come.
    const Closer dst{SqliteEngine::OpenFile(workFile, timeoutMs, true)};
    sqlite3_backup* b = sqlite3_backup_init(dst.db, "main", tplDb.db, "main");
    if (!b) throw EOleException(QStringLiteral("RESTORE DATABASE: ") + errorOf(dst.db) + u'.' + QLatin1String(kTerminating));
    const int rc = sqlite3_backup_step(b, -1);
    sqlite3_backup_finish(b);
    if (rc != SQLITE_DONE)
        throw EOleException(QStringLiteral("RESTORE DATABASE: the template cannot be copied (%1).").arg(QString::fromUtf8(sqlite3_errstr(rc)))
                            + QLatin1String(kTerminating));
    exec(dst.db, QStringLiteral("BEGIN IMMEDIATE"), QStringLiteral("RESTORE DATABASE"));
    Tables target = tpl;
    for (Table& t : target)
        if (t.type == QLatin1String("table")) exec(dst.db, QStringLiteral("delete from main.") + tsql::QuoteAlways(t.name), t.name);
    sqlite3_exec(dst.db, "delete from main.sqlite_sequence", nullptr, nullptr, nullptr);
    const auto pool = target.find(QString::fromLatin1(kPool));
    if (pool != target.end() && pool->type == QLatin1String("table")) reshapePool(dst.db, *pool, backup.value(pool.key()));
    for (const Table& t : target)
        if (t.type == QLatin1String("table")) copyRows(src.db, dst.db, t, backupFile);
    copyCounters(src.db, dst.db, tpl);
    exec(dst.db, QStringLiteral("COMMIT"), QStringLiteral("RESTORE DATABASE"));
}

} // namespace sqlitedb
