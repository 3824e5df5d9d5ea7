// Restoring an embedded-engine backup onto the server: the account-set template and the sample
// that the build makes, and account sets backed up on a single machine. The embedded engine
// opens the backup in a work folder; the server gets its tables, indexes and views from their
// definitions (the statements the schema made them with, in the embedded engine's dialect) and
// every row.
#include "PgDialect.h"
#include "PgEngine.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include <QFile>
#include <QRegularExpression>
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
    static const QRegularExpression identity(QStringLiteral("\"([^\"]+)\"\\s+integer\\s+primary\\s+key\\s+autoincrement"),
                                             QRegularExpression::CaseInsensitiveOption);
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
        const auto m = identity.match(o[2].ToString());
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

} // namespace pgdb
