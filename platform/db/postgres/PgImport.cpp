// Backups on the server are in the portable format, the embedded engine's: the account-set
// template and the sample that the build makes, account sets backed up on a single machine and
// those backed up on the server. Restoring one, the embedded engine restores it in a work folder
// (which reads only the rows of the template's tables and columns into the template's schema);
// the server gets the tables, indexes and views of that database, which are the template's, and
// every row. Backing up, the embedded engine makes the template in a work folder, takes the
// server database's rows of its tables and columns, and writes its backup.
#include "PgDialect.h"
#include "PgEngine.h"
#include "platform/db/sqlite/BackupRows.h"
#include "platform/db/sqlite/SqliteEngine.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <libpq-fe.h>

namespace pgdb {

namespace {

const int kRowsPerInsert = 200;

QString literal(const Variant& v)
{
    switch (v.Type()) {
    case VarType::Unassigned:
    case VarType::Null: return QStringLiteral("NULL");
    case VarType::Boolean: return v.AsBoolRaw() ? QStringLiteral("1") : QStringLiteral("0");   // bit: a smallint
    case VarType::Integer: return QString::number(v.AsIntRaw());
    case VarType::Double: return QString::number(v.AsDoubleRaw(), 'g', 17);
    case VarType::Currency: return v.AsCurrencyRaw().ToString();
    case VarType::Date: return tsql::QuoteString(FormatDateTime(QStringLiteral("yyyy-mm-dd hh:nn:ss.zzz"), v.AsDateRaw()));
    default: return tsql::QuoteString(v.ToString());
    }
}

QString quoted(const QString& name)
{
    return tsql::QuoteAlways(name.toLower());
}

const QRegularExpression& identityColumn()
{
    static const QRegularExpression re(QStringLiteral("\"([^\"]+)\"\\s+integer\\s+primary\\s+key\\s+autoincrement"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}

} // namespace

bool IsEmbeddedBackup(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) && f.read(16) == QByteArray("SQLite format 3", 16);
}

void PgEngine::importEmbedded(pg_conn* c, const QString& backupFile)
{
    QTemporaryDir work;
    if (!work.isValid()) throw EOleException(QStringLiteral("RESTORE DATABASE is terminating abnormally (no work folder)."));
    const std::unique_ptr<DbEngine> source = OpenDbEngine(QStringLiteral("\\sqlexpress"), m_timeoutSeconds, work.path());
    const QString name = QStringLiteral("dpx_import");
    source->RestoreDatabase(name, backupFile, work.filePath(name + QStringLiteral("_data.mdf")), false);
    source->UseDatabase(name);
    DbResult objects;
    source->Execute(QStringLiteral("select type, name, sql from sqlite_master where sql is not null and name not like 'sqlite%' "
                                   "order by rowid"), objects);
    DbResult sequences;
    source->Execute(QStringLiteral("select name, seq from sqlite_sequence"), sequences);
    QHash<QString, qint64> lastKey;
    for (const DbRow& row : sequences.rows) lastKey.insert(row[0].ToString().toLower(), row[1].ToString().toLongLong());

    // Tables with their rows first, then the indexes, then the views in the order they were made.
    for (const DbRow& o : objects.rows) {
        if (o[0].ToString() != QLatin1String("table")) continue;
        const QString table = o[1].ToString();
        exec(c, PgDialect(o[2].ToString()));
        DbResult data;
        source->Execute(QStringLiteral("select * from ") + tsql::QuoteAlways(table), data);
        QStringList columns;
        for (const DbColumn& col : data.columns) columns << quoted(col.name);
        const QString head = QStringLiteral("insert into %1 (%2) values ").arg(quoted(table), columns.join(u','));
        for (int first = 0; first < data.rows.size(); first += kRowsPerInsert) {
            QStringList values;
            for (int i = first; i < std::min<int>(first + kRowsPerInsert, data.rows.size()); ++i) {
                QStringList cells;
                for (const Variant& v : data.rows[i]) cells << literal(v);
                values << u'(' + cells.join(u',') + u')';
            }
            exec(c, head + values.join(u','));
        }
        // The key counter goes on after the highest key handed out, as on the embedded engine.
        const auto m = identityColumn().match(o[2].ToString());
        if (m.hasMatch()) {
            const QString key = quoted(m.captured(1));
            exec(c, QStringLiteral("select setval(pg_get_serial_sequence(%1, %2), greatest(k, 1), k > 0) from "
                                   "(select greatest(coalesce(max(%3), 0), %4) as k from %5) as last")
                        .arg(tsql::QuoteString(quoted(table)), tsql::QuoteString(m.captured(1).toLower()), key)
                        .arg(lastKey.value(table.toLower()))
                        .arg(quoted(table)));
        }
    }
    for (const DbRow& o : objects.rows)
        if (o[0].ToString() == QLatin1String("index")) exec(c, PgDialect(o[2].ToString()));
    for (const DbRow& o : objects.rows) {
        if (o[0].ToString() != QLatin1String("view")) continue;
        const QString pg = PgDialect(o[2].ToString());
        exec(c, pg);
        declareView(c, o[2].ToString(), pg);
    }
}

void PgEngine::exportEmbedded(const DbDatabaseInfo& db, const QString& backupFile)
{
    QTemporaryDir work;
    if (!work.isValid()) throw EOleException(QStringLiteral("BACKUP DATABASE is terminating abnormally (no work folder)."));
    sqlitedb::SqliteEngine target(work.path(), m_timeoutSeconds);
    const QString name = QStringLiteral("dpx_export");
    target.RestoreDatabase(name, SchemaTemplateFile(), work.filePath(name + QStringLiteral("_data.mdf")), false);
    target.UseDatabase(name);
    DbResult tables;
    target.ExecuteNative(QStringLiteral("select name, sql from sqlite_master where type = 'table' and name not like 'sqlite%' "
                                        "order by rowid"), tables);
    pg_conn* c = connect(db.file);
    auto finish = [&] {
        forgetDecls(c);
        PQfinish(c);
    };
    try {
        // One snapshot of every table.
        exec(c, QStringLiteral("begin isolation level repeatable read read only"));
        target.BeginTransaction();
        for (const DbRow& t : tables.rows) {
            const QString table = t[0].ToString();
            if (sqlitedb::IsPoolTable(table)) {
                // The pool keeps the account set's own flag columns.
                DbResult shape;
                runSql(c, QStringLiteral("select * from %1 where false").arg(quoted(table)), shape, 0);
                QStringList serverColumns;
                for (const DbColumn& col : shape.columns) serverColumns << col.name;
                DbResult recreated;
                target.Execute(QStringLiteral("drop table ") + tsql::QuoteAlways(table), recreated);
                target.Execute(sqlitedb::PoolCreateStatement(serverColumns), recreated);
            }
            DbResult columns;
            target.ExecuteNative(QStringLiteral("select name from pragma_table_info(%1)").arg(tsql::QuoteString(table)), columns);
            QStringList names, serverNames;
            for (const DbRow& col : columns.rows) {
                names << tsql::QuoteAlways(col[0].ToString());
                serverNames << quoted(col[0].ToString());
            }
            DbResult cleared;
            target.ExecuteNative(QStringLiteral("delete from ") + tsql::QuoteAlways(table), cleared);
            DbResult rows;
            runSql(c, QStringLiteral("select %1 from %2").arg(serverNames.join(u','), quoted(table)), rows, 0);
            const QString head = QStringLiteral("insert into %1 (%2) values (").arg(tsql::QuoteAlways(table), names.join(u','));
            for (const DbRow& row : rows.rows) {
                QStringList cells;
                for (const Variant& v : row) cells << literal(v);
                DbResult inserted;
                target.Execute(head + cells.join(u',') + u')', inserted);
            }
            // The key counter: the last key the server handed out.
            const auto m = identityColumn().match(t[1].ToString());
            if (!m.hasMatch()) continue;
            DbResult sequence;
            runSql(c, QStringLiteral("select pg_get_serial_sequence(%1, %2)")
                          .arg(tsql::QuoteString(quoted(table)), tsql::QuoteString(m.captured(1).toLower())), sequence, 1);
            const QString seqName = sequence.rows.value(0).value(0).ToString();
            qint64 seq = 0;
            if (!seqName.isEmpty()) {
                DbResult last;
                runSql(c, QStringLiteral("select case when is_called then last_value else last_value - 1 end from ") + seqName, last, 1);
                seq = last.rows.value(0).value(0).ToString().toLongLong();
            }
            DbResult counter;
            target.ExecuteNative(QStringLiteral("delete from sqlite_sequence where name = %1").arg(tsql::QuoteString(table)), counter);
            target.ExecuteNative(QStringLiteral("insert into sqlite_sequence (name, seq) select %1, max(%2, coalesce(max(%3), 0)) from %4")
                                     .arg(tsql::QuoteString(table)).arg(seq).arg(tsql::QuoteAlways(m.captured(1)), tsql::QuoteAlways(table)),
                                 counter);
        }
        target.CommitTransaction();
        exec(c, QStringLiteral("commit"));
    } catch (...) {
        if (target.InTransaction()) target.RollbackTransaction();
        finish();
        throw;
    }
    finish();
    target.UseDatabase(QStringLiteral("master"));
    target.BackupDatabase(name, backupFile);
}

} // namespace pgdb
