#include "PgEngine.h"
#include "PgDialect.h"
#include "platform/db/tsql/RowLimit.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include <QDir>
#include <QFile>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QUrl>
#include <libpq-fe.h>
#include <algorithm>
#include <poll.h>
#include <utility>
#include <vector>

namespace pgdb {

namespace {

const char* const kMaster = "master";
const qint64 kWriteLock = 7420118;   // the advisory lock that writing transactions take

// Type identifiers of the server's built-in types.
enum : Oid { kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kFloat4 = 700, kFloat8 = 701, kBpchar = 1042,
             kDate = 1082, kTimestamp = 1114, kTimestampTz = 1184, kNumeric = 1700 };

QString quoteIdent(const QString& name)
{
    QString q = name;
    q.replace(u'"', QLatin1String("\"\""));
    return u'"' + q + u'"';
}

QString errorOf(pg_conn* c, PGresult* r)
{
    QString msg = QString::fromUtf8(r ? PQresultErrorMessage(r) : PQerrorMessage(c)).trimmed();
    const char* state = r ? PQresultErrorField(r, PG_DIAG_SQLSTATE) : nullptr;
    const QString truncation = tsql::TruncationMessage(msg);
    if (!truncation.isEmpty()) return truncation;
    if (state && qstrcmp(state, "22001") == 0)
        return QStringLiteral("String or binary data would be truncated. The statement has been terminated. (%1)").arg(msg);
    if (state && (qstrcmp(state, "55P03") == 0 || qstrcmp(state, "40P01") == 0))
        msg = QStringLiteral("Lock request time out period exceeded. (%1)").arg(msg);
    const bool ended = state && (qstrncmp(state, "08", 2) == 0 || qstrncmp(state, "57P0", 4) == 0);   // connection gone, server ended it
    if (ended || PQstatus(c) == CONNECTION_BAD)
        msg = QStringLiteral("The connection to the database server was lost; nothing of the unfinished transaction "
                             "was written. (%1)").arg(msg);
    return msg;
}

// A timestamp as the server writes it: "2024-01-31 10:00:00[.123]".
Variant parseTimestamp(const char* text)
{
    const QString s = QString::fromLatin1(text);
    const int y = s.mid(0, 4).toInt(), mo = s.mid(5, 2).toInt(), d = s.mid(8, 2).toInt();
    TDateTime date = EncodeDate(y, mo, d);
    if (s.size() >= 19) {
        const int msec = s.size() > 20 ? qRound(QStringView(s).mid(19).toDouble() * 1000) : 0;
        const double t = EncodeTime(s.mid(11, 2).toInt(), s.mid(14, 2).toInt(), s.mid(17, 2).toInt(), std::min(msec, 999)).Value;
        date.Value = date.Value >= 0 ? date.Value + t : date.Value - t;
    }
    return Variant(date);
}

DbColumnType columnType(Oid type, int mod)
{
    switch (type) {
    case kBool: return DbColumnType::Boolean;
    case kInt2: return DbColumnType::SmallInt;
    case kInt4: case kInt8: return DbColumnType::Integer;
    case kFloat4: case kFloat8: return DbColumnType::Float;
    case kBpchar: return DbColumnType::FixedChar;
    case kDate: case kTimestamp: case kTimestampTz: return DbColumnType::DateTime;
    // numeric(p,4) columns are exact; a computed numeric arrives as a floating-point value
    case kNumeric: return mod >= 4 && ((mod - 4) & 0xffff) == 4 ? DbColumnType::Bcd : DbColumnType::Float;
    default: return DbColumnType::String;
    }
}

Variant cellValue(DbColumnType type, const char* text)
{
    switch (type) {
    case DbColumnType::Boolean: return Variant(qstrcmp(text, "f") != 0 && qstrcmp(text, "0") != 0);   // bit: a smallint
    case DbColumnType::SmallInt:
    case DbColumnType::Integer: return Variant(QByteArray(text).toLongLong());
    case DbColumnType::Float: return Variant(QByteArray(text).toDouble());
    case DbColumnType::Bcd: return Variant(Currency::FromString(QString::fromLatin1(text)));
    case DbColumnType::DateTime: return parseTimestamp(text);
    default: return Variant(QString::fromUtf8(text));
    }
}

} // namespace

bool IsPgAddress(const QString& dataSource)
{
    const QString ds = dataSource.trimmed();
    return ds.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive) ||
           ds.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive);
}

PgAddress ParseAddress(const QString& address)
{
    const QUrl url(address.trimmed());
    if (!url.isValid() || url.host().isEmpty())
        throw EOleException(QStringLiteral("[DBNETLIB][ConnectionOpen (Connect()).]Server does not exist or access denied."));
    PgAddress a;
    a.host = url.host();
    a.port = url.port(5432);
    a.user = url.userName();
    a.password = url.password();
    a.prefix = url.path().mid(1).toLower();
    return a;
}

PgEngine::PgEngine(const PgAddress& address, int timeoutSeconds)
    : m_addr(address), m_timeoutSeconds(timeoutSeconds > 0 ? timeoutSeconds : 15)
{
    // The registry database is made once, by the first client that finds it missing.
    pg_conn* admin = connect(QStringLiteral("postgres"));
    const QString master = ServerName(QLatin1String(kMaster));
    try {
        exec(admin, QStringLiteral("select pg_advisory_lock(7420117)"));
        DbResult r;
        runSql(admin, QStringLiteral("select 1 from pg_database where datname = '%1'").arg(master), r, 1);
        if (r.rows.isEmpty()) {
            exec(admin, QStringLiteral("create database %1 template template0 encoding 'UTF8'").arg(quoteIdent(master)));
            pg_conn* c = connect(master);
            try { prepareDatabase(c); } catch (...) { PQfinish(c); throw; }
            PQfinish(c);
        }
        exec(admin, QStringLiteral("select pg_advisory_unlock(7420117)"));
    } catch (...) {
        PQfinish(admin);
        throw;
    }
    PQfinish(admin);
    m_conn = connect(master);
    m_current = QLatin1String(kMaster);
}

PgEngine::~PgEngine()
{
    if (m_conn) PQfinish(m_conn);
    if (m_master) PQfinish(m_master);
    if (m_watch) PQfinish(m_watch);
}

QString PgEngine::ServerName(const QString& name) const
{
    return m_addr.prefix + name.toLower();
}

pg_conn* PgEngine::connect(const QString& serverDb) const
{
    const QByteArray host = m_addr.host.toUtf8(), port = QByteArray::number(m_addr.port), db = serverDb.toUtf8(),
                     user = m_addr.user.toUtf8(), pw = m_addr.password.toUtf8(),
                     timeout = QByteArray::number(m_timeoutSeconds),
                     options = "-c DateStyle=ISO,YMD -c lock_timeout=" + QByteArray::number(m_timeoutSeconds * 1000) +
                               " -c client_min_messages=warning -c standard_conforming_strings=on";
    QVector<const char*> keys{"host", "port", "dbname", "connect_timeout", "client_encoding", "options", "application_name"};
    QVector<const char*> vals{host.constData(), port.constData(), db.constData(), timeout.constData(), "UTF8",
                              options.constData(), "depotrix"};
    if (!user.isEmpty()) { keys << "user"; vals << user.constData(); }
    if (!pw.isEmpty()) { keys << "password"; vals << pw.constData(); }
    keys << nullptr;
    vals << nullptr;
    pg_conn* c = PQconnectdbParams(keys.constData(), vals.constData(), 0);
    if (PQstatus(c) != CONNECTION_OK) {
        const QString msg = QString::fromUtf8(PQerrorMessage(c)).trimmed();
        PQfinish(c);
        throw EOleException(QStringLiteral("[DBNETLIB][ConnectionOpen (Connect()).]Server does not exist or access denied. (%1)").arg(msg));
    }
    return c;
}

void PgEngine::exec(pg_conn* c, const QString& sql) const
{
    PGresult* r = ask(c, sql.toUtf8().constData());
    const ExecStatusType st = PQresultStatus(r);
    if (st != PGRES_COMMAND_OK && st != PGRES_TUPLES_OK) {
        const QString msg = errorOf(c, r);
        PQclear(r);
        throw EOleException(msg);
    }
    PQclear(r);
}

void PgEngine::prepareDatabase(pg_conn* c) const
{
    for (const QString& s : DatabaseSetup()) exec(c, s);
}

PGresult* PgEngine::ask(pg_conn* c, const char* sql) const
{
    ++m_exchanges;
    return PQexec(c, sql);
}

void PgEngine::readResult(pg_conn* c, PGresult* r, const QString& sql, DbResult& result, int maxRows)
{
    if (PQresultStatus(r) == PGRES_TUPLES_OK) {
        result.hasResultSet = true;
        result.columns.clear();
        result.rows.clear();
        const int nf = PQnfields(r);
        for (int f = 0; f < nf; ++f) {
            DbColumn col;
            col.name = QString::fromUtf8(PQfname(r, f));
            if (col.name == QLatin1String("?column?")) col.name.clear();
            col.type = columnType(PQftype(r, f), PQfmod(r, f));
            const int mod = PQfmod(r, f);
            if ((col.type == DbColumnType::String || col.type == DbColumnType::FixedChar) && mod > 4) col.size = mod - 4;
            nameColumn(c, r, f, sql, col);
            result.columns << col;
        }
        const int sent = PQntuples(r);
        for (int i = 0; i < sent; ++i)
            for (int f = 0; f < nf; ++f) m_bytesReceived += PQgetlength(r, i, f);
        const int n = maxRows > 0 ? std::min(sent, maxRows) : sent;
        result.rows.reserve(n);
        for (int i = 0; i < n; ++i) {
            DbRow row(nf);
            for (int f = 0; f < nf; ++f)
                row[f] = PQgetisnull(r, i, f) ? Variant::Null() : cellValue(result.columns[f].type, PQgetvalue(r, i, f));
            result.rows << row;
        }
    } else if (PQresultStatus(r) == PGRES_COMMAND_OK) {
        const char* n = PQcmdTuples(r);
        if (n && *n) result.rowsAffected = QByteArray(n).toLongLong();
    }
}

void PgEngine::runSql(pg_conn* c, const QString& sql, DbResult& result, int maxRows, const QStringList& before)
{
    QList<DbResult> results;
    runSqls(c, {sql}, results, maxRows, before);
    result = results.value(0);
}

void PgEngine::runSqls(pg_conn* c, const QStringList& sqls, QList<DbResult>& results, int maxRows,
                       const QStringList& before, int heldFrom, int heldCount)
{
    // One text; the server answers each statement in turn and stops at the first that fails.
    // Every piece of before and of sqls is one statement.
    QString prefix;
    for (const QString& b : before) prefix += b + QLatin1String("; ");
    const qsizetype ahead = before.size();
    QString text = prefix;
    QList<qsizetype> starts;
    for (qsizetype i = 0; i < sqls.size(); ++i) {
        if (i > 0) text += QLatin1String("; ");
        starts << text.size();
        text += sqls[i];
    }
    ++m_exchanges;
    if (!PQsendQuery(c, text.toUtf8().constData())) throw EOleException(errorOf(c, nullptr));
    results.clear();
    for (qsizetype i = 0; i < sqls.size(); ++i) results << DbResult();
    // Every answer is taken before any is read: reading one may ask the server about its
    // columns on the same session.
    std::vector<PGresult*> answers;
    PGresult* failed = nullptr;
    qsizetype failedAt = -1;
    while (PGresult* r = PQgetResult(c)) {
        const ExecStatusType st = PQresultStatus(r);
        if (st == PGRES_EMPTY_QUERY || failed) {
            PQclear(r);
        } else if (st != PGRES_TUPLES_OK && st != PGRES_COMMAND_OK) {
            failed = r;
            failedAt = qsizetype(answers.size());
        } else {
            answers.push_back(r);
        }
    }
    for (qsizetype k = 0; k < qsizetype(answers.size()); ++k) {
        if (!failed && k >= ahead && k - ahead < sqls.size())
            readResult(c, answers[size_t(k)], sqls[k - ahead], results[k - ahead], maxRows);
        PQclear(answers[size_t(k)]);
    }
    if (!failed) return;
    if (heldFrom >= 0 && failedAt >= heldFrom && failedAt < heldFrom + heldCount) {
        const QString msg = errorOf(c, failed);
        PQclear(failed);
        throw HeldError{int(failedAt - heldFrom), msg};
    }
    // An empty text written into a datetime column is 1900-01-01, as the program's server
    // reads it; the server names the literal's place, and the statement runs again.
    const char* state = PQresultErrorField(failed, PG_DIAG_SQLSTATE);
    const char* pos = PQresultErrorField(failed, PG_DIAG_STATEMENT_POSITION);
    const qsizetype j = failedAt - ahead;
    if (sqls.size() == 1 && j == 0 && state && pos && qstrcmp(state, "22007") == 0 &&
        QString::fromUtf8(PQresultErrorMessage(failed)).contains(QLatin1String("type timestamp: \"\""))) {
        const QString& sql = sqls[0];
        const qsizetype at = QByteArray(pos).toInt() - 1 - starts[0];
        if (at >= 0 && sql.mid(at, 2) == QLatin1String("''") && (at + 2 >= sql.size() || sql[at + 2] != u'\'')) {
            PQclear(failed);
            QString again = sql;
            again.replace(at, 2, QStringLiteral("'1900-01-01'"));
            // Inside a transaction the failure is undone to the statement's savepoint first.
            runSqls(c, {again}, results, maxRows,
                    before.isEmpty() ? QStringList() : QStringList{QStringLiteral("rollback to savepoint dpx_stmt")});
            return;
        }
    }
    const QString msg = errorOf(c, failed);
    PQclear(failed);
    throw EOleException(msg);
}

// Inside the caller's transaction every statement runs under its own savepoint, so that a
// failing statement fails alone and the transaction goes on.
void PgEngine::runSqlInTrans(const QString& sql, DbResult& result, int maxRows)
{
    QList<DbResult> results;
    runSqlsInTrans({sql}, results, maxRows);
    result = results.value(0);
}

void PgEngine::runSqlsInTrans(const QStringList& sqls, QList<DbResult>& results, int maxRows)
{
    // A session lost outside a transaction is opened again; inside one, every statement fails
    // until the caller ends the transaction (the server has rolled it back).
    if (!m_inTrans && PQstatus(m_conn) == CONNECTION_BAD) {
        PQreset(m_conn);
        if (PQstatus(m_conn) != CONNECTION_OK) throw EOleException(errorOf(m_conn, nullptr));
    }
    if (!m_inTrans) {
        runSqls(m_conn, sqls, results, maxRows);
        return;
    }
    beginPhysical();
    // What waits to be sent goes out with the statements, in the same round trip: the previous
    // statement's savepoint released, the held statements under a savepoint of their own, and
    // the new statement's savepoint; one exchange with the server per statement.
    QStringList before = std::exchange(m_ahead, {});
    if (m_stmtSavepoint) before << QStringLiteral("release savepoint dpx_stmt");
    int heldFrom = -1;
    const QStringList heldSource = std::exchange(m_heldSource, {});
    const QStringList held = std::exchange(m_held, {});
    if (!held.isEmpty()) {
        before << QStringLiteral("savepoint dpx_held");
        heldFrom = int(before.size());
        before << held << QStringLiteral("release savepoint dpx_held");
    }
    before << QStringLiteral("savepoint dpx_stmt");
    m_stmtSavepoint = true;
    try {
        runSqls(m_conn, sqls, results, maxRows, before, heldFrom, int(held.size()));
    } catch (const HeldError& e) {
        // Nothing after the failing statement ran: the held ones are undone together.
        PQclear(ask(m_conn, "rollback to savepoint dpx_held; release savepoint dpx_held"));
        m_stmtSavepoint = false;
        m_heldFailure = heldSource.value(e.index);
        throw EOleException(e.message);
    } catch (...) {
        PQclear(ask(m_conn, "rollback to savepoint dpx_stmt"));
        throw;
    }
}

void PgEngine::beginPhysical()
{
    if (m_physical) return;
    // The transaction takes the database's write lock first (an advisory lock is held per
    // database), as the embedded engine's BEGIN IMMEDIATE does: a read-modify-write such as
    // reserving the lowest free bill-number slot must not read what another client's open
    // transaction is about to change.
    m_physical = true;
    m_stmtSavepoint = false;
    takeWriteLock();
}

void PgEngine::BeginTransaction()
{
    DbEngineBase::BeginTransaction();
    m_heldFailure.clear();
}

void PgEngine::ExecuteHeld(const QString& text)
{
    if (!m_inTrans) {
        DbResult r;
        Execute(text, r);
        return;
    }
    // Only plain writes of the current database are held; anything else runs now, after them.
    const auto batch = m_cache.Get(text, isMaster(m_current));
    QStringList writes;
    for (const tsql::Statement& s : *batch) {
        const bool plain = s.kind == tsql::StmtKind::Sql && !s.mentionsMaster;
        for (const QString& q : plain ? s.sql : QStringList()) {
            QString pg = PgDialect(q);
            static const QRegularExpression write(QStringLiteral("^\\s*(insert|update|delete)\\b"),
                                                  QRegularExpression::CaseInsensitiveOption);
            if (!pg.isEmpty() && !write.match(pg).hasMatch()) {
                writes.clear();
                break;
            }
            withClientClock(pg);
            if (!pg.isEmpty()) writes << pg;
        }
        if (!plain || writes.isEmpty()) {
            SendHeld();
            DbResult r;
            Execute(text, r);
            return;
        }
    }
    beginPhysical();
    for (const QString& w : std::as_const(writes)) {
        m_held << w;
        m_heldSource << text;
    }
}

void PgEngine::SendHeld()
{
    if (m_held.isEmpty() || !m_inTrans) return;
    QList<DbResult> results;
    runSqlsInTrans({}, results, 0);
}

void PgEngine::ExecuteEach(const QStringList& texts, QList<DbResult>& results)
{
    // Plain statements of the current database go in one exchange; anything else one by one.
    QStringList sqls;
    for (const QString& text : texts) {
        const auto batch = m_cache.Get(text, isMaster(m_current));
        if (batch->size() != 1 || batch->first().kind != tsql::StmtKind::Sql || batch->first().mentionsMaster
            || batch->first().sql.size() != 1) {
            results.clear();
            for (const QString& t : texts) {
                results.push_back(DbResult());
                Execute(t, results.back());
            }
            return;
        }
        QString pg = PgDialect(batch->first().sql.first());
        if (WantsRowLock(text) && pg.startsWith(QLatin1String("select"), Qt::CaseInsensitive)) pg += QStringLiteral(" for update");
        withClientClock(pg);
        sqls << pg;
    }
    runSqlsInTrans(sqls, results, 0);
}

// The server grants the lock to its waiters in the order they came. The wait ends with a
// time-out only when the transaction holding the lock has not changed for the whole time-out,
// so that it is bounded by the work ahead of it.
void PgEngine::takeWriteLock()
{
    // The transaction, the unbounded wait and the lock in one round trip; the usual time-out
    // of a lock goes out with the next statement.
    ++m_exchanges;
    if (!PQsendQuery(m_conn, QStringLiteral("begin; set local lock_timeout = 0; select pg_advisory_xact_lock(%1)")
                                 .arg(kWriteLock).toUtf8().constData()))
        throw EOleException(errorOf(m_conn, nullptr));
    const QString holderSql = QStringLiteral("select min(virtualtransaction) from pg_locks where locktype = 'advisory' and granted "
                                             "and classid = 0 and objid = %1 and objsubid = 1 and database = "
                                             "(select oid from pg_database where datname = current_database())")
                                  .arg(kWriteLock);
    auto holder = [&]() -> QString {
        // Asked on this database through a session of its own: the waiting one is busy. A
        // session that cannot be had sees no holder, so the wait is the plain time-out.
        if (!m_watch) {
            try {
                m_watch = connect(QString::fromUtf8(PQdb(m_conn)));
            } catch (const EOleException&) {
                return QString();
            }
        }
        PGresult* r = ask(m_watch, holderSql.toUtf8().constData());
        const bool ok = PQresultStatus(r) == PGRES_TUPLES_OK;
        const QString h = ok && PQntuples(r) > 0 ? QString::fromUtf8(PQgetvalue(r, 0, 0)) : QString();
        PQclear(r);
        if (!ok) {   // opened again next time
            PQfinish(m_watch);
            m_watch = nullptr;
        }
        return h;
    };
    QElapsedTimer quiet;
    quiet.start();
    QElapsedTimer sinceLook;
    sinceLook.start();
    QString last;
    bool cancelled = false;
    // The answer wakes the wait; the holder is looked at every 100 ms of it.
    while (PQconsumeInput(m_conn) && PQisBusy(m_conn)) {
        pollfd fd{PQsocket(m_conn), POLLIN, 0};
        ::poll(&fd, 1, int(std::clamp<qint64>(100 - sinceLook.elapsed(), 1, 100)));
        if (sinceLook.elapsed() < 100 || cancelled) continue;
        sinceLook.restart();
        const QString now = holder();
        if (now != last) {
            last = now;
            quiet.restart();
        } else if (quiet.elapsed() >= qint64(m_timeoutSeconds) * 1000) {
            PGcancel* cancel = PQgetCancel(m_conn);
            char err[256];
            if (cancel) PQcancel(cancel, err, sizeof err);
            PQfreeCancel(cancel);
            cancelled = true;
        }
    }
    QString error;
    while (PGresult* r = PQgetResult(m_conn)) {
        const ExecStatusType st = PQresultStatus(r);
        if (st != PGRES_TUPLES_OK && st != PGRES_COMMAND_OK && error.isEmpty())
            error = cancelled ? QStringLiteral("Lock request time out period exceeded. (the transactions of other clients "
                                               "ahead of this one did not move on)")
                              : errorOf(m_conn, r);
        PQclear(r);
    }
    if (!error.isEmpty()) throw EOleException(error);
    m_ahead << QStringLiteral("set local lock_timeout = %1").arg(qint64(m_timeoutSeconds) * 1000);
}

// ----- declared names and sizes -----

ColumnDecl PgEngine::declOf(pg_conn* c, unsigned table, int column)
{
    QHash<unsigned, QVector<ColumnDecl>>& tables = m_decls[c];
    auto it = tables.find(table);
    if (it == tables.end()) {
        QVector<ColumnDecl> cols;
        PGresult* r = ask(c, QStringLiteral("select attnum, col_description(attrelid, attnum) from pg_catalog.pg_attribute "
                                               "where attrelid = %1 and attnum > 0").arg(table).toUtf8().constData());
        if (PQresultStatus(r) == PGRES_TUPLES_OK) {
            for (int i = 0; i < PQntuples(r); ++i) {
                const int n = QByteArray(PQgetvalue(r, i, 0)).toInt();
                if (n > cols.size()) cols.resize(n);
                if (!PQgetisnull(r, i, 1)) cols[n - 1] = ParseColumnComment(QString::fromUtf8(PQgetvalue(r, i, 1)));
            }
        }
        PQclear(r);
        it = tables.insert(table, cols);
    }
    return column > 0 && column <= it->size() ? it->at(column - 1) : ColumnDecl();
}

namespace {

bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'#' || c == u'@' || c == u'$'; }

// The first spelling of name as a whole word in sql, ignoring case; name itself when absent.
QString spellingIn(const QString& sql, const QString& name)
{
    for (int at = sql.indexOf(name, 0, Qt::CaseInsensitive); at >= 0; at = sql.indexOf(name, at + 1, Qt::CaseInsensitive)) {
        const int end = at + name.size();
        if ((at == 0 || !isNameChar(sql[at - 1])) && (end >= sql.size() || !isNameChar(sql[end])))
            return sql.mid(at, name.size());
    }
    return name;
}

} // namespace

// A result column gets the name as the program declared or wrote it: a table or view column
// its declared spelling, an alias or expression the spelling in the statement; a text column
// its declared size; a bit column (a smallint on the server) the Boolean type.
void PgEngine::nameColumn(pg_conn* c, const pg_result* r, int f, const QString& sql, DbColumn& col)
{
    const Oid table = PQftable(r, f);
    const int column = PQftablecol(r, f);
    if (table >= 16384 && column > 0) {   // the program's own tables and views, not the catalogue
        const ColumnDecl d = declOf(c, table, column);
        if (col.type == DbColumnType::String && col.size == 0) col.size = d.size;
        if (col.type == DbColumnType::SmallInt && d.bit) col.type = DbColumnType::Boolean;
        if (!d.spelling.isEmpty() && d.spelling.compare(col.name, Qt::CaseInsensitive) == 0) {
            col.name = d.spelling;
            return;
        }
    }
    if (!col.name.isEmpty()) col.name = spellingIn(sql, col.name);
}

// CREATE VIEW: each column of the new view keeps the spelling the statement gives it and the
// declared size and bit of the column it shows, as the tables' columns do.
void PgEngine::declareView(pg_conn* c, const QString& tsqlText, const QString& pgText)
{
    const QVector<tsql::Token> t = tsql::Tokenize(pgText);
    QString view;
    for (int i = 2; i < t.size() && !t[i].isWord("as") && !t[i].isOp("("); ++i)
        if (t[i].isName()) view = t[i].text.toLower();
    if (view.isEmpty()) return;
    const bool inTrans = c == m_conn && m_physical;
    try {
        if (inTrans) exec(c, QStringLiteral("savepoint dpx_view"));
        DbResult def;
        runSql(c, QStringLiteral("select pg_get_viewdef(%1::regclass)").arg(tsql::QuoteString(quoteIdent(view))), def, 1);
        QString body = def.rows.value(0).value(0).ToString().trimmed();
        if (body.endsWith(u';')) body.chop(1);
        // The view's own query as a derived table: the server names each column's origin.
        PGresult* r = ask(c, (QStringLiteral("select * from (") + body + QStringLiteral(") as dpx_view limit 0")).toUtf8().constData());
        QStringList comments;
        if (PQresultStatus(r) == PGRES_TUPLES_OK) {
            for (int f = 0; f < PQnfields(r); ++f) {
                const QString name = QString::fromUtf8(PQfname(r, f));
                const Oid table = PQftable(r, f);
                const ColumnDecl d = table >= 16384 ? declOf(c, table, PQftablecol(r, f)) : ColumnDecl();
                const QString spelling = d.spelling.compare(name, Qt::CaseInsensitive) == 0 ? d.spelling : spellingIn(tsqlText, name);
                const QString comment = ColumnComment({spelling, d.size, d.bit});
                if (!comment.isEmpty())
                    comments << QStringLiteral("comment on column %1.%2 is %3")
                                    .arg(quoteIdent(view), quoteIdent(name), tsql::QuoteString(comment));
            }
        }
        PQclear(r);
        if (!comments.isEmpty()) exec(c, comments.join(QStringLiteral("; ")));
        if (inTrans) exec(c, QStringLiteral("release savepoint dpx_view"));
    } catch (const Exception&) {
        // The names stay as the server folds them; the view itself stands.
        if (inTrans) PQclear(ask(c, "rollback to savepoint dpx_view; release savepoint dpx_view"));
    }
    forgetDecls(c);
}

pg_conn* PgEngine::masterConn()
{
    if (m_master && PQstatus(m_master) != CONNECTION_OK) {
        forgetDecls(m_master);
        PQfinish(m_master);
        m_master = nullptr;
    }
    if (!m_master) m_master = connect(ServerName(QLatin1String(kMaster)));
    return m_master;
}

// getdate() in a statement reads the platform clock, as on the embedded engine (tests fix it);
// a column default keeps the server's function.
void PgEngine::withClientClock(QString& sql)
{
    static const QRegularExpression re(QStringLiteral("\\bgetdate\\s*\\(\\s*\\)"), QRegularExpression::CaseInsensitiveOption);
    if (sql.startsWith(QLatin1String("create"), Qt::CaseInsensitive) || !sql.contains(re)) return;
    sql.replace(re, QStringLiteral("'%1'::timestamp").arg(FormatDateTime(QStringLiteral("yyyy-mm-dd hh:nn:ss.zzz"), Now())));
}

void PgEngine::Execute(const QString& text, DbResult& result, int maxRows)
{
    result = DbResult();
    m_lockRows = WantsRowLock(text);
    auto batch = m_cache.Get(text, isMaster(m_current));
    const BatchScope scope(*this, *batch);
    const bool translatedForMaster = isMaster(m_current);
    for (const tsql::Statement& s : *batch) {
        if (s.kind == tsql::StmtKind::Sql && s.mentionsMaster && !isMaster(m_current)) {
            // master..t from an account set: the registry lives in its own database.
            const tsql::Batch again = tsql::TranslateBatch(s.source, true);
            for (const tsql::Statement& a : again)
                for (const QString& q : a.sql) {
                    const QString pg = PgDialect(q);
                    if (!pg.isEmpty()) runSql(masterConn(), pg, result, maxRows);
                }
            continue;
        }
        if (s.kind == tsql::StmtKind::Sql && s.mentionsMaster && translatedForMaster != isMaster(m_current)) {
            const tsql::Batch again = tsql::TranslateBatch(s.source, isMaster(m_current));
            for (const tsql::Statement& a : again) runStatement(a, result, maxRows);
            continue;
        }
        runStatement(s, result, maxRows);
    }
}

void PgEngine::ExecuteNative(const QString& sql, DbResult& result, int maxRows)
{
    result = DbResult();
    runSqlInTrans(sql, result, maxRows);
}

void PgEngine::runSqlStatement(const tsql::Statement& s, DbResult& result, int maxRows)
{
    for (const QString& q : s.sql) {
        QString pg = PgDialect(q);
        if (pg.isEmpty()) continue;
        // A query for a few rows (a page) asks the server for those only: without the limit the
        // server would produce and send every row, the client keeping the first few.
        pg = tsql::WithRowLimit(pg, maxRows);
        if (m_lockRows && pg.startsWith(QLatin1String("select"), Qt::CaseInsensitive)) pg += QStringLiteral(" for update");
        withClientClock(pg);
        runSqlInTrans(pg, result, maxRows);
        if (pg.startsWith(QLatin1String("create view"), Qt::CaseInsensitive)) declareView(m_conn, q, pg);
    }
}

bool PgEngine::queryExists(const QString& condition)
{
    DbResult r;
    runSqlInTrans(QStringLiteral("select exists (") + PgDialect(condition) + u')', r, 1);
    return !r.rows.isEmpty() && r.rows.first().value(0).AsBoolRaw();
}

void PgEngine::createDatabase(const QString& name)
{
    const QString serverDb = newServerName(name, "CREATE DATABASE");
    exec(m_conn, QStringLiteral("create database %1 template template0 encoding 'UTF8'").arg(quoteIdent(serverDb)));
    pg_conn* c = connect(serverDb);
    try {
        prepareDatabase(c);
    } catch (...) {
        PQfinish(c);
        throw;
    }
    PQfinish(c);
}

// ----- transactions and the current database -----

void PgEngine::CommitTransaction()
{
    if (!m_inTrans) throw EOleException(QStringLiteral("The COMMIT TRANSACTION request has no corresponding BEGIN TRANSACTION."));
    const bool physical = m_physical;
    m_inTrans = m_physical = false;
    m_ahead.clear();
    const QStringList held = std::exchange(m_held, {});
    const QStringList heldSource = std::exchange(m_heldSource, {});
    if (physical) {
        // The held statements go out with the commit.
        try {
            QList<DbResult> results;
            runSqls(m_conn, {QStringLiteral("commit")}, results, 0, held, 0, int(held.size()));
        } catch (const HeldError& e) {
            PQclear(ask(m_conn, "rollback"));
            m_heldFailure = heldSource.value(e.index);
            throw EOleException(e.message);
        } catch (...) {
            PQclear(ask(m_conn, "rollback"));
            throw;
        }
    }
}

void PgEngine::RollbackTransaction()
{
    if (!m_inTrans) throw EOleException(QStringLiteral("The ROLLBACK TRANSACTION request has no corresponding BEGIN TRANSACTION."));
    const bool physical = m_physical;
    m_inTrans = m_physical = false;
    m_ahead.clear();
    m_held.clear();
    m_heldSource.clear();
    if (physical) PQclear(ask(m_conn, "rollback"));
}

void PgEngine::UseDatabase(const QString& name)
{
    if (name.compare(m_current, Qt::CaseInsensitive) == 0) return;
    if (m_physical)
        throw EOleException(QStringLiteral("Cannot switch to database '%1' inside a transaction.").arg(name));
    DbDatabaseInfo info;
    if (!isMaster(name)) {
        if (!lookup(name, info))
            throw EOleException(QStringLiteral("Database '%1' does not exist. Make sure that the name is entered correctly.").arg(name));
        if (!info.online)
            throw EOleException(QStringLiteral("Database '%1' cannot be opened because it is offline.").arg(info.name));
    }
    pg_conn* c = connect(ServerName(name));
    forgetDecls(m_conn);
    PQfinish(m_conn);
    m_conn = c;
    if (m_watch) PQfinish(m_watch);
    m_watch = nullptr;
    m_current = isMaster(name) ? QString::fromLatin1(kMaster) : info.name;
    addLengthChecks();
}

void PgEngine::addLengthChecks()
{
    const QString db = ServerName(m_current);
    if (m_lengthsChecked.contains(db)) return;
    m_lengthsChecked.insert(db);
    DbResult r;
    try {
        runSql(m_conn, QStringLiteral(
            "select c.relname, a.attname, col_description(c.oid, a.attnum) from pg_class c "
            "join pg_namespace n on n.oid = c.relnamespace join pg_attribute a on a.attrelid = c.oid "
            "where n.nspname = 'public' and c.relkind = 'r' and a.attnum > 0 and not a.attisdropped "
            "and format_type(a.atttypid, a.atttypmod) = 'citext' and col_description(c.oid, a.attnum) is not null "
            "and not exists (select 1 from pg_constraint k where k.conrelid = c.oid and k.conname = '%1' || a.attname)")
                           .arg(QLatin1String(tsql::kLengthCheck)), r, 0);
    } catch (const EOleException&) {
        return;
    }
    QStringList checks;
    for (const DbRow& row : r.rows) {
        const ColumnDecl decl = ParseColumnComment(row[2].AsStringRaw());
        if (decl.size <= 0) continue;
        const QString column = row[1].AsStringRaw();
        checks << QStringLiteral("alter table %1 add constraint %2 check (length(%3) <= %4) not valid")
                      .arg(quoteIdent(row[0].AsStringRaw()), quoteIdent(QLatin1String(tsql::kLengthCheck) + column),
                           quoteIdent(column))
                      .arg(decl.size);
    }
    if (checks.isEmpty()) return;
    // All or none, without waiting long for the tables; a database other clients keep busy is
    // looked at again by the next client that opens it.
    try {
        exec(m_conn, QStringLiteral("begin; set local lock_timeout = '2s'; ") + checks.join(QStringLiteral("; "))
                         + QStringLiteral("; commit"));
    } catch (const EOleException&) {
        PGresult* rb = ask(m_conn, "rollback");
        PQclear(rb);
    }
}

// ----- administration -----

bool PgEngine::lookup(const QString& name, DbDatabaseInfo& info)
{
    DbResult r;
    runSql(m_conn, QStringLiteral("select datname, datallowconn from pg_database where datname = '%1'")
                       .arg(ServerName(name).replace(u'\'', QLatin1String("''"))), r, 1);
    if (r.rows.isEmpty()) return false;
    info.name = r.rows[0][0].AsStringRaw().mid(m_addr.prefix.size());
    info.file = r.rows[0][0].AsStringRaw();
    info.online = r.rows[0][1].AsBoolRaw();
    return true;
}

QList<DbDatabaseInfo> PgEngine::Databases()
{
    QList<DbDatabaseInfo> out;
    out.push_back({QLatin1String(kMaster), ServerName(QLatin1String(kMaster)), true});
    DbResult r;
    QString p = m_addr.prefix;
    p.replace(u'\'', QLatin1String("''"));
    runSql(m_conn, QStringLiteral("select datname, datallowconn from pg_database where not datistemplate and "
                                  "left(datname, %1) = '%2' and datname <> '%2master' and strpos(datname, '~') = 0 order by datname")
                       .arg(m_addr.prefix.size()).arg(p), r, 0);
    for (const DbRow& row : r.rows) {
        const QString server = row[0].AsStringRaw();
        if (m_addr.prefix.isEmpty() && (server == u"postgres")) continue;
        out.push_back({server.mid(m_addr.prefix.size()), server, row[1].AsBoolRaw()});
    }
    return out;
}

DbDatabaseInfo PgEngine::masterInfo() const
{
    return {QLatin1String(kMaster), ServerName(QLatin1String(kMaster)), true};
}

void PgEngine::endOtherSessions(const QString& serverDb)
{
    DbResult r;
    runSql(m_conn, QStringLiteral("select pg_terminate_backend(pid) from pg_stat_activity where datname = '%1' "
                                  "and pid <> pg_backend_pid()").arg(QString(serverDb).replace(u'\'', QLatin1String("''"))), r, 0);
}

void PgEngine::backup(const DbDatabaseInfo& info, const QString& backupFile)
{
    const QString tmp = backupFile + QStringLiteral(".part");
    QFile::remove(tmp);
    try {
        exportEmbedded(info, tmp);
    } catch (...) {
        QFile::remove(tmp);
        throw;
    }
    QFile::remove(backupFile);   // WITH INIT: the file holds this backup only
    if (!QFile::rename(tmp, backupFile)) {
        QFile::remove(tmp);
        throw EOleException(QStringLiteral("Cannot open backup device '%1'.").arg(backupFile));
    }
}

QString PgEngine::newServerName(const QString& name, const char* what) const
{
    checkDatabaseName(name, what);
    const QString server = ServerName(name);
    // The server cuts longer names, which would make two account sets one.
    if (server.toUtf8().size() > 63)
        throw EOleException(QStringLiteral("The database name '%1' is too long. Maximum length is %2 bytes.")
                                .arg(name).arg(63 - m_addr.prefix.toUtf8().size()));
    return server;
}

void PgEngine::RestoreDatabase(const QString& name, const QString& backupFile, const QString& dataFile, bool replace)
{
    Q_UNUSED(replace);
    requireNoWork("RESTORE DATABASE");
    if (isMaster(name))
        throw EOleException(QStringLiteral("RESTORE cannot process database '%1'.").arg(name));
    const QString target = newServerName(name, "RESTORE");
    if (!QFileInfo(backupFile).isFile())
        throw EOleException(QStringLiteral("Cannot open backup device '%1'. The system cannot find the file specified. "
                                           "RESTORE DATABASE is terminating abnormally.").arg(QDir::toNativeSeparators(backupFile)));
    if (!IsEmbeddedBackup(backupFile)) {
        // The server's own dump format carries statements that its restore tool runs; it is not
        // read. Backups are written in the portable format, which holds rows only.
        QFile f(backupFile);
        if (f.open(QIODevice::ReadOnly) && f.read(5) == QByteArray("PGDMP"))
            throw EOleException(QStringLiteral("The backup set on device '%1' is a dump of the database server, which may carry "
                                               "statements and is not read; back the account set up again with BACKUP DATABASE, "
                                               "which writes rows only. RESTORE DATABASE is terminating abnormally.").arg(backupFile));
        throw EOleException(QStringLiteral("The media family on device '%1' is incorrectly formed. "
                                           "RESTORE DATABASE is terminating abnormally.").arg(backupFile));
    }
    DbDatabaseInfo info;
    const bool exists = lookup(name, info);
    // Restoring to new files (MOVE) makes a new database; it never overwrites an existing one.
    if (exists && !dataFile.isEmpty())
        throw EOleException(QStringLiteral("Database '%1' already exists. Choose a different database name.").arg(info.name));
    const QString server = exists ? info.file : target;
    // The backup goes into a database of its own; the existing one is replaced only once that
    // is complete. A work database left behind by a
    // killed restore is dropped the next time.
    const QString work = m_addr.prefix + QStringLiteral("~restore~")
                         + QString::fromLatin1(QCryptographicHash::hash(server.toUtf8(), QCryptographicHash::Md5).toHex().left(16));
    exec(m_conn, QStringLiteral("drop database if exists %1 with (force)").arg(quoteIdent(work)));
    exec(m_conn, QStringLiteral("create database %1 template template0 encoding 'UTF8'").arg(quoteIdent(work)));
    auto dropWork = [&] {
        PGresult* r = ask(m_conn, QStringLiteral("drop database if exists %1 with (force)").arg(quoteIdent(work)).toUtf8().constData());
        PQclear(r);
    };
    try {
        pg_conn* c = connect(work);
        try {
            prepareDatabase(c);
            importEmbedded(c, backupFile);
        } catch (...) {
            forgetDecls(c);
            PQfinish(c);
            throw;
        }
        forgetDecls(c);
        PQfinish(c);
    } catch (...) {
        dropWork();
        throw;
    }
    const bool intoCurrent = exists && info.name.compare(m_current, Qt::CaseInsensitive) == 0;
    if (intoCurrent) UseDatabase(QLatin1String(kMaster));
    if (exists) {
        // The swap: the old database leaves under a work name, the restored one takes its name.
        const QString old = work + QStringLiteral("~old");
        try {
            exec(m_conn, QStringLiteral("drop database if exists %1 with (force)").arg(quoteIdent(old)));
            endOtherSessions(server);
            exec(m_conn, QStringLiteral("alter database %1 rename to %2").arg(quoteIdent(server), quoteIdent(old)));
        } catch (...) {
            dropWork();
            if (intoCurrent) UseDatabase(info.name);
            throw;
        }
        try {
            exec(m_conn, QStringLiteral("alter database %1 rename to %2").arg(quoteIdent(work), quoteIdent(server)));
        } catch (...) {
            PGresult* r = ask(m_conn, QStringLiteral("alter database %1 rename to %2").arg(quoteIdent(old), quoteIdent(server))
                                             .toUtf8().constData());
            PQclear(r);
            dropWork();
            if (intoCurrent) UseDatabase(info.name);
            throw;
        }
        PGresult* r = ask(m_conn, QStringLiteral("drop database if exists %1 with (force)").arg(quoteIdent(old)).toUtf8().constData());
        PQclear(r);
    } else {
        try {
            exec(m_conn, QStringLiteral("alter database %1 rename to %2").arg(quoteIdent(work), quoteIdent(server)));
        } catch (...) {
            dropWork();
            throw;
        }
    }
    m_lengthsChecked.remove(server);   // the backup may come from an older build
    if (intoCurrent) UseDatabase(info.name);
}

void PgEngine::disconnectOthers(const DbDatabaseInfo& info)
{
    endOtherSessions(info.file);
}

void PgEngine::setOnline(const DbDatabaseInfo& info, bool online)
{
    exec(m_conn, QStringLiteral("alter database %1 with allow_connections %2").arg(quoteIdent(info.file), online ? "true" : "false"));
    // Offline: the other clients' sessions end; their next statement reports the lost connection.
    if (!online) endOtherSessions(info.file);
}

void PgEngine::drop(const DbDatabaseInfo& info)
{
    PGresult* r = ask(m_conn, QStringLiteral("drop database %1").arg(quoteIdent(info.file)).toUtf8().constData());
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
    const char* state = PQresultErrorField(r, PG_DIAG_SQLSTATE);
    const QString msg = errorOf(m_conn, r);
    const bool inUse = state && qstrcmp(state, "55006") == 0;
    PQclear(r);
    if (inUse) throw EOleException(QStringLiteral("Cannot drop database \"%1\" because it is currently in use.").arg(info.name));
    if (!ok) throw EOleException(msg);
}

std::unique_ptr<DbEngine> OpenPgEngine(const QString& address, int timeoutSeconds, const QString& user, const QString& password)
{
    PgAddress a = ParseAddress(address);
    if (!user.isEmpty()) {
        a.user = user;
        a.password = password;
    }
    return std::make_unique<PgEngine>(a, timeoutSeconds);
}

} // namespace pgdb
