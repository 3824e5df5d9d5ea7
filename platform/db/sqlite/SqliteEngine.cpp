#include "SqliteEngine.h"
#include "BackupRows.h"
#include "SqliteFunctions.h"
#include "SqliteShape.h"
#include "SqliteValues.h"
#include "platform/db/tsql/RowLimit.h"
#include "platform/rtl/Exceptions.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <malloc.h>
#include <sqlite3.h>

namespace sqlitedb {

namespace {

const char* const kMaster = "master";

QString errText(sqlite3* db)
{
    const int code = sqlite3_errcode(db);
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED)   // another client kept its write lock too long
        return QStringLiteral("Lock request time out period exceeded. (%1)").arg(QString::fromUtf8(sqlite3_errmsg(db)));
    const QString msg = QString::fromUtf8(sqlite3_errmsg(db));
    const QString truncation = tsql::TruncationMessage(msg);
    return truncation.isEmpty() ? msg : truncation;
}

void removeDbFiles(const QString& file)
{
    for (const char* suffix : {"", "-wal", "-shm", "-journal", "-queue"})
        QFile::remove(file + QLatin1String(suffix));
}

bool looksLikeDatabaseFile(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return false;
    return f.read(16) == QByteArray("SQLite format 3", 16);
}

// Copies database "main" of src into "main" of dst, waiting for other clients' locks.
void copyDatabase(sqlite3* dst, sqlite3* src, int timeoutMs, const QString& what)
{
    sqlite3_backup* b = sqlite3_backup_init(dst, "main", src, "main");
    if (!b) throw EOleException(what + QStringLiteral(": ") + errText(dst));
    QElapsedTimer timer;
    timer.start();
    int rc;
    for (;;) {
        rc = sqlite3_backup_step(b, -1);
        if (rc == SQLITE_DONE) break;
        if ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && timer.elapsed() < timeoutMs) {
            QThread::msleep(5);
            continue;
        }
        break;
    }
    sqlite3_backup_finish(b);
    if (rc != SQLITE_DONE)
        throw EOleException(what + QStringLiteral(" failed: ") + QString::fromUtf8(sqlite3_errstr(rc)));
}

} // namespace

struct SqliteEngine::Cached {
    sqlite3_stmt* stmt = nullptr;
    ColumnReader reader;
    bool readOnly = true;
    quint64 lastUse = 0;
    ~Cached() { sqlite3_finalize(stmt); }
};

sqlite3* SqliteEngine::OpenFile(const QString& file, int timeoutMs, bool create)
{
    // SQLite frees a statement's journal after every write inside a transaction. Where that
    // leaves more than the trim threshold free at the top of the heap, the C library hands the
    // memory back to the system each time (a system call and a flush of every processor's
    // address cache); a few MiB kept at the top spare that.
    static const bool heapKept = [] { return mallopt(M_TRIM_THRESHOLD, 16 << 20) == 1; }();
    Q_UNUSED(heapKept);
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    const int rc = sqlite3_open_v2(QFile::encodeName(file).constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString msg = db ? errText(db) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db);
        throw EOleException(QStringLiteral("Unable to open the physical file \"%1\": %2").arg(file, msg));
    }
    sqlite3_busy_timeout(db, timeoutMs);
    RegisterFunctions(db);
    sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA recursive_triggers=OFF;",
                 nullptr, nullptr, nullptr);
    return db;
}

SqliteEngine::SqliteEngine(const QString& dataFolder, int timeoutSeconds)
    : m_dataFolder(QDir::cleanPath(dataFolder)),
      m_timeoutMs(std::max(1, timeoutSeconds > 0 ? timeoutSeconds : 15) * 1000)
{
    if (!QDir().mkpath(m_dataFolder))
        throw EOleException(QStringLiteral("Cannot create the data folder \"%1\".").arg(m_dataFolder));
    sqlite3* db = OpenFile(MasterFile(), m_timeoutMs, true);
    const int rc = sqlite3_exec(db,
        "create table if not exists dpx_databases (name text primary key collate nocase, "
        "file text not null, online integer not null default 1)", nullptr, nullptr, nullptr);
    const QString msg = errText(db);
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw EOleException(msg);
    open(QLatin1String(kMaster), QString());
}

SqliteEngine::~SqliteEngine()
{
    if (m_physical && m_db) endWrite("ROLLBACK");
    closeDb();
}

QString SqliteEngine::MasterFile() const
{
    return m_dataFolder + QStringLiteral("/master_data.mdf");
}

void SqliteEngine::closeDb()
{
    m_queue.Close();
    qDeleteAll(m_stmts);
    m_stmts.clear();
    if (m_db) sqlite3_close(m_db);
    m_db = nullptr;
}

void SqliteEngine::open(const QString& name, const QString& file)
{
    // The current database stays open until the new one has opened: a failed switch changes nothing.
    if (isMaster(name)) {
        sqlite3* db = OpenFile(MasterFile(), m_timeoutMs, true);
        closeDb();
        m_db = db;
        m_current = QLatin1String(kMaster);
        m_queue.Open(MasterFile());
        addLengthChecks(MasterFile());
        return;
    }
    if (!QFileInfo::exists(file))
        throw EOleException(QStringLiteral("Unable to open the physical file \"%1\" of database '%2'.").arg(file, name));
    if (!looksLikeDatabaseFile(file))
        throw EOleException(QStringLiteral("The physical file \"%1\" of database '%2' is empty or damaged; "
                                           "the database cannot be opened.").arg(file, name));
    sqlite3* db = OpenFile(file, m_timeoutMs, false);
    // Reading the catalogue finds a damaged file now, not at the first statement.
    const QByteArray attach = "ATTACH DATABASE " + tsql::QuoteString(MasterFile()).toUtf8() + " AS master";
    if (sqlite3_exec(db, "select count(*) from main.sqlite_master", nullptr, nullptr, nullptr) != SQLITE_OK
        || sqlite3_exec(db, attach.constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        const QString msg = errText(db);
        sqlite3_close(db);
        throw EOleException(QStringLiteral("Database '%1' cannot be opened: %2").arg(name, msg));
    }
    // A damaged page is found before the account set is used, once per file and client.
    if (!m_filesChecked.contains(file)) {
        sqlite3_stmt* st = nullptr;
        QString verdict;
        if (sqlite3_prepare_v2(db, "PRAGMA main.quick_check(1)", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            verdict = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        else
            verdict = errText(db);
        sqlite3_finalize(st);
        if (verdict != QLatin1String("ok")) {
            sqlite3_close(db);
            throw EOleException(QStringLiteral("The data file \"%1\" of database '%2' is damaged (%3); the database cannot be "
                                               "opened. Restore it from a backup.").arg(file, name, verdict));
        }
        m_filesChecked.insert(file);
    }
    closeDb();
    m_db = db;
    m_current = name;
    m_queue.Open(file);
    addLengthChecks(file);
}

void SqliteEngine::addLengthChecks(const QString& file)
{
    if (m_lengthsChecked.contains(file)) return;
    m_lengthsChecked.insert(file);
    static const QRegularExpression sized(QStringLiteral("^\\s*n?(var)?char\\s*\\(\\s*(\\d+)\\s*\\)\\s*$"),
                                          QRegularExpression::CaseInsensitiveOption);
    const auto rows = [this](const char* sql, const QString& arg = QString()) {
        QList<QStringList> out;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &st, nullptr) == SQLITE_OK) {
            const QByteArray a = arg.toUtf8();
            if (!arg.isNull()) sqlite3_bind_text(st, 1, a.constData(), a.size(), SQLITE_TRANSIENT);
            while (sqlite3_step(st) == SQLITE_ROW) {
                QStringList row;
                for (int i = 0; i < sqlite3_column_count(st); ++i)
                    row << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)));
                out << row;
            }
        }
        sqlite3_finalize(st);
        return out;
    };
    QSet<QString> present;   // the triggers of earlier runs
    for (const QStringList& t : rows("select lower(name) from main.sqlite_master where type='trigger'")) present.insert(t[0]);
    QStringList triggers;
    for (const QStringList& t : rows("select name, sql from main.sqlite_master where type='table' and name not like 'sqlite%'")) {
        const QString& table = t[0];
        for (const QStringList& c : rows("select name, type from pragma_table_info(?1, 'main')", table)) {
            const auto m = sized.match(c[1]);
            const QString check = QLatin1String(tsql::kLengthCheck) + c[0];
            // A table made with its checks has them as constraints.
            if (!m.hasMatch() || t[1].contains(check, Qt::CaseInsensitive)) continue;
            const QString when = QStringLiteral(" ON %1 WHEN length(NEW.%2) > %3 BEGIN SELECT RAISE(ABORT, %4); END")
                                     .arg(tsql::QuoteAlways(table), tsql::QuoteAlways(c[0]), m.captured(2), tsql::QuoteString(check));
            const QString name = QLatin1String(tsql::kLengthCheck) + table + u'$' + c[0];
            if (!present.contains((name + QStringLiteral("$i")).toLower()))
                triggers << QStringLiteral("CREATE TRIGGER %1 BEFORE INSERT").arg(tsql::QuoteAlways(name + QStringLiteral("$i"))) + when;
            if (!present.contains((name + QStringLiteral("$u")).toLower()))
                triggers << QStringLiteral("CREATE TRIGGER %1 BEFORE UPDATE OF %2")
                                    .arg(tsql::QuoteAlways(name + QStringLiteral("$u")), tsql::QuoteAlways(c[0])) + when;
        }
    }
    if (triggers.isEmpty()) return;
    // All or none; a database another client keeps busy, or one that cannot be written, is
    // looked at again by the next client that opens it.
    try {
        beginWrite();
    } catch (const EOleException&) {
        return;
    }
    for (const QString& sql : triggers) {
        if (sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK) {
            endWrite("ROLLBACK");
            return;
        }
    }
    try {
        endWrite("COMMIT");
    } catch (const EOleException&) {
    }
}

QString SqliteEngine::catalog() const
{
    return isMaster(m_current) ? QStringLiteral("main") : QStringLiteral("master");
}

void SqliteEngine::fail(const QString& context)
{
    const QString msg = errText(m_db);
    throw EOleException(context.isEmpty() ? msg : context + QStringLiteral(": ") + msg);
}

void SqliteEngine::execSimple(const char* sql)
{
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) fail();
}

void SqliteEngine::beginWrite()
{
    // Writers take turns in the order they came; then the engine's own lock.
    if (!m_queue.Enter(m_timeoutMs))
        throw EOleException(QStringLiteral("Lock request time out period exceeded. (the writes of other clients "
                                           "ahead of this one did not move on)"));
    if (sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
        const QString msg = errText(m_db);
        m_queue.Leave();
        throw EOleException(msg);
    }
}

void SqliteEngine::endWrite(const char* sql)
{
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    const QString msg = rc == SQLITE_OK ? QString() : errText(m_db);
    if (rc != SQLITE_OK && qstrcmp(sql, "COMMIT") == 0) {
        // A commit that cannot finish leaves nothing half done.
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        m_queue.Leave();
        throw EOleException(msg);
    }
    m_queue.Leave();
}

void SqliteEngine::ensurePhysicalTransaction()
{
    if (m_inTrans && !m_physical) {
        beginWrite();
        m_physical = true;
    }
}

// ----- statements -----

void SqliteEngine::Execute(const QString& text, DbResult& result, int maxRows)
{
    result = DbResult();
    auto batch = m_cache.Get(text, isMaster(m_current));
    const BatchScope scope(*this, *batch);
    const bool translatedForMaster = isMaster(m_current);
    for (const tsql::Statement& s : *batch) {
        // A "Use" earlier in the batch may have changed what "master..t" means.
        if (s.kind == tsql::StmtKind::Sql && s.mentionsMaster && translatedForMaster != isMaster(m_current)) {
            const tsql::Batch again = tsql::TranslateBatch(s.source, isMaster(m_current));
            for (const tsql::Statement& a : again) runStatement(a, result, maxRows);
            continue;
        }
        runStatement(s, result, maxRows);
    }
}

void SqliteEngine::ExecuteNative(const QString& sql, DbResult& result, int maxRows)
{
    result = DbResult();
    runSql(sql, result, maxRows);
}

void SqliteEngine::runSqlStatement(const tsql::Statement& s, DbResult& result, int maxRows)
{
    if (s.sql.size() == 1) {
        // A query for a few rows (a page) says so: the engine then stops after them even where
        // the order needs a sort, which would otherwise take every row.
        runSql(tsql::WithRowLimit(s.sql.first(), maxRows), result, maxRows);
        return;
    }
    // Several SQLite statements for one T-SQL statement (a table with its triggers): one unit.
    ensurePhysicalTransaction();
    if (m_physical) execSimple("SAVEPOINT dpx_stmt");
    else beginWrite();
    try {
        for (const QString& q : s.sql) runSql(q, result, maxRows);
    } catch (...) {
        if (m_physical) sqlite3_exec(m_db, "ROLLBACK TO dpx_stmt; RELEASE dpx_stmt", nullptr, nullptr, nullptr);
        else endWrite("ROLLBACK");
        throw;
    }
    if (m_physical) execSimple("RELEASE dpx_stmt");
    else endWrite("COMMIT");
}

void SqliteEngine::createDatabase(const QString& name)
{
    const QString file = m_dataFolder + u'/' + name + QStringLiteral("_data.mdf");
    removeDbFiles(file);
    sqlite3_close(OpenFile(file, m_timeoutMs, true));
    DbResult r;
    runSql(QStringLiteral("insert into %1.dpx_databases (name, file, online) values (%2, %3, 1)")
               .arg(catalog(), tsql::QuoteString(name), tsql::QuoteString(file)), r, 0, true);
}

bool SqliteEngine::queryExists(const QString& sql)
{
    DbResult r;
    runSql(QStringLiteral("select exists (") + sql + u')', r, 1);
    return !r.rows.isEmpty() && r.rows.first().value(0).Type() == VarType::Integer &&
           r.rows.first().value(0).AsIntRaw() != 0;
}

SqliteEngine::Cached* SqliteEngine::prepared(const QString& text)
{
    if (Cached* c = m_stmts.value(text)) return c;
    const QByteArray utf8 = text.toUtf8();
    sqlite3_stmt* st = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v3(m_db, utf8.constData(), utf8.size(), SQLITE_PREPARE_PERSISTENT, &st, &tail) != SQLITE_OK)
        fail();
    if (!st) return nullptr;   // nothing but blanks
    auto* c = new Cached;
    c->stmt = st;
    c->readOnly = sqlite3_stmt_readonly(st) != 0;
    c->reader.Init(st);
    // Statements are kept by their shape, so the ones that differ only by their values share
    // one; the least recently used goes first.
    if (m_stmts.size() >= kCachedStatements) {
        auto oldest = m_stmts.begin();
        for (auto it = m_stmts.begin(); it != m_stmts.end(); ++it)
            if (it.value()->lastUse < oldest.value()->lastUse) oldest = it;
        delete oldest.value();
        m_stmts.erase(oldest);
    }
    m_stmts.insert(text, c);
    return c;
}

void SqliteEngine::runSql(const QString& sql, DbResult& result, int maxRows, bool catalogOnly)
{
    StatementShape shape = catalogOnly ? StatementShape{sql, {}} : ShapeOf(sql);
    Cached* c = nullptr;
    if (!shape.values.isEmpty()) {
        // A shape SQLite does not take as it stands runs as written.
        try {
            c = prepared(shape.text);
        } catch (const EOleException&) {
            c = nullptr;
        }
        if (c && !BindShape(c->stmt, shape)) {
            sqlite3_clear_bindings(c->stmt);
            c = nullptr;
        }
        if (!c) shape = StatementShape{sql, {}};
    }
    if (!c) c = prepared(sql);
    if (!c) return;
    c->lastUse = ++m_useCounter;
    sqlite3_stmt* st = c->stmt;
    // The catalogue steps of "Use" and the administration do not start the caller's transaction.
    if (!catalogOnly) ensurePhysicalTransaction();
    // A writing statement outside a transaction takes the write lock first, so that it waits
    // for another client's transaction instead of failing on a stale snapshot.
    const bool ownTrans = !c->readOnly && !m_physical && sqlite3_get_autocommit(m_db);
    if (ownTrans) beginWrite();
    const int ncol = sqlite3_column_count(st);
    if (ncol != c->reader.Columns().size()) c->reader.Init(st);   // recompiled after a schema change
    if (ncol > 0) {
        result.hasResultSet = true;
        result.rows.clear();
        if (maxRows > 0)
            result.rows.reserve(std::min(maxRows, 1024));   // a page's rows, in one piece
        result.columns = c->reader.Columns();
    }
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        if (maxRows > 0 && result.rows.size() >= maxRows) break;
        result.rows.push_back(c->reader.Read(st));
    }
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        const QString msg = errText(m_db);
        sqlite3_reset(st);
        if (!shape.values.isEmpty()) sqlite3_clear_bindings(st);
        if (ownTrans) endWrite("ROLLBACK");
        throw EOleException(msg);
    }
    if (!c->readOnly) result.rowsAffected = sqlite3_changes64(m_db);
    sqlite3_reset(st);
    if (!shape.values.isEmpty()) sqlite3_clear_bindings(st);   // no text of this statement stays behind
    if (ncol > 0) c->reader.Finish(result.columns, result.rows);
    if (ownTrans) endWrite("COMMIT");
}

// ----- transactions and the current database -----

void SqliteEngine::CommitTransaction()
{
    if (!m_inTrans) throw EOleException(QStringLiteral("The COMMIT TRANSACTION request has no corresponding BEGIN TRANSACTION."));
    if (m_physical && sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        const QString msg = errText(m_db);
        // A commit that cannot finish leaves nothing half done.
        endWrite("ROLLBACK");
        m_inTrans = m_physical = false;
        throw EOleException(msg);
    }
    m_queue.Leave();
    m_inTrans = m_physical = false;
}

void SqliteEngine::RollbackTransaction()
{
    if (!m_inTrans) throw EOleException(QStringLiteral("The ROLLBACK TRANSACTION request has no corresponding BEGIN TRANSACTION."));
    if (m_physical) endWrite("ROLLBACK");
    m_inTrans = m_physical = false;
}

void SqliteEngine::UseDatabase(const QString& name)
{
    if (name.compare(m_current, Qt::CaseInsensitive) == 0) return;
    if (m_physical)
        throw EOleException(QStringLiteral("Cannot switch to database '%1' inside a transaction.").arg(name));
    if (isMaster(name)) {
        open(name, QString());
        return;
    }
    DbDatabaseInfo info;
    if (!lookup(name, info))
        throw EOleException(QStringLiteral("Database '%1' does not exist. Make sure that the name is entered correctly.").arg(name));
    if (!info.online)
        throw EOleException(QStringLiteral("Database '%1' cannot be opened because it is offline.").arg(info.name));
    open(info.name, info.file);
}

// ----- administration -----

bool SqliteEngine::lookup(const QString& name, DbDatabaseInfo& info)
{
    DbResult r;
    runSql(QStringLiteral("select name, file, online from %1.dpx_databases where name = %2")
               .arg(catalog(), tsql::QuoteString(name)), r, 1, true);
    if (r.rows.isEmpty()) return false;
    info.name = r.rows[0][0].AsStringRaw();
    info.file = r.rows[0][1].AsStringRaw();
    info.online = r.rows[0][2].AsIntRaw() != 0;
    return true;
}

QList<DbDatabaseInfo> SqliteEngine::Databases()
{
    QList<DbDatabaseInfo> out;
    out.push_back({QLatin1String(kMaster), MasterFile(), true});
    DbResult r;
    runSql(QStringLiteral("select name, file, online from %1.dpx_databases order by name").arg(catalog()), r, 0, true);
    for (const DbRow& row : r.rows)
        out.push_back({row[0].AsStringRaw(), row[1].AsStringRaw(), row[2].AsIntRaw() != 0});
    return out;
}

DbDatabaseInfo SqliteEngine::masterInfo() const
{
    return {QLatin1String(kMaster), MasterFile(), true};
}

void SqliteEngine::RestoreDatabase(const QString& name, const QString& backupFile, const QString& dataFile, bool replace)
{
    requireNoWork("RESTORE DATABASE");
    if (isMaster(name))
        throw EOleException(QStringLiteral("RESTORE cannot process database '%1'.").arg(name));
    checkDatabaseName(name, "RESTORE");
    if (!QFileInfo(backupFile).isFile())
        throw EOleException(QStringLiteral("Cannot open backup device '%1'. The system cannot find the file specified. "
                                           "RESTORE DATABASE is terminating abnormally.").arg(QDir::toNativeSeparators(backupFile)));
    if (!looksLikeDatabaseFile(backupFile))
        throw EOleException(QStringLiteral("The media family on device '%1' is incorrectly formed. "
                                           "RESTORE DATABASE is terminating abnormally.").arg(backupFile));
    DbDatabaseInfo info;
    const bool exists = lookup(name, info);
    // Restoring to new files (MOVE) makes a new database; it never overwrites an existing one.
    if (exists && !dataFile.isEmpty())
        throw EOleException(QStringLiteral("Database '%1' already exists. Choose a different database name.").arg(info.name));
    const QString target = exists ? info.file
                                  : (dataFile.isEmpty() ? m_dataFolder + u'/' + name + QStringLiteral("_data.mdf") : dataFile);
    if (!exists) {
        if (QFileInfo::exists(target) && !replace)
            throw EOleException(QStringLiteral("The file '%1' cannot be overwritten. Use WITH REPLACE to overwrite it.").arg(target));
        QDir().mkpath(QFileInfo(target).absolutePath());
        removeDbFiles(target);
    }
    // The backup's rows go into a work file made from the template; the target is replaced only
    // once that is complete, in one write transaction of the target: a failure or a killed
    // process leaves the old data.
    const QString work = target + QStringLiteral(".restore");
    removeDbFiles(work);
    const bool intoCurrent = exists && info.name.compare(m_current, Qt::CaseInsensitive) == 0;
    sqlite3* src = nullptr;
    sqlite3* dst = nullptr;
    try {
        BuildFromBackup(SchemaTemplateFile(), backupFile, work, m_timeoutMs);
        src = OpenFile(work, m_timeoutMs, false);
        dst = intoCurrent ? m_db : OpenFile(target, m_timeoutMs, true);
        copyDatabase(dst, src, m_timeoutMs, QStringLiteral("RESTORE DATABASE"));
    } catch (...) {
        if (src) sqlite3_close(src);
        if (dst && dst != m_db) sqlite3_close(dst);
        removeDbFiles(work);
        if (!exists) removeDbFiles(target);
        throw;
    }
    sqlite3_close(src);
    removeDbFiles(work);
    if (dst != m_db) {
        sqlite3_exec(dst, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
        sqlite3_close(dst);
    }
    // The backup may come from an older build.
    m_lengthsChecked.remove(exists ? info.file : target);
    if (intoCurrent) addLengthChecks(info.file);
    if (!exists) {
        DbResult r;
        runSql(QStringLiteral("insert into %1.dpx_databases (name, file, online) values (%2, %3, 1)")
                   .arg(catalog(), tsql::QuoteString(name), tsql::QuoteString(QFileInfo(target).absoluteFilePath())), r, 0, true);
    } else if (!info.online) {
        setOnline(info, true);   // a restored database is online
    }
}

void SqliteEngine::backup(const DbDatabaseInfo& info, const QString& backupFile)
{
    const QString tmp = backupFile + QStringLiteral(".part");
    removeDbFiles(tmp);
    const bool fromCurrent = info.name.compare(m_current, Qt::CaseInsensitive) == 0;
    sqlite3* src = nullptr;
    sqlite3* dst = nullptr;
    try {
        src = fromCurrent ? m_db : OpenFile(info.file, m_timeoutMs, false);
        dst = OpenFile(tmp, m_timeoutMs, true);
        copyDatabase(dst, src, m_timeoutMs, QStringLiteral("BACKUP DATABASE"));
        // A backup is one self-contained file.
        sqlite3_exec(dst, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    } catch (...) {
        if (src && src != m_db) sqlite3_close(src);
        if (dst) sqlite3_close(dst);
        removeDbFiles(tmp);
        throw;
    }
    if (src != m_db) sqlite3_close(src);
    sqlite3_close(dst);
    QFile::remove(backupFile);   // WITH INIT: the file holds this backup only
    if (!QFile::rename(tmp, backupFile)) {
        removeDbFiles(tmp);
        throw EOleException(QStringLiteral("Cannot open backup device '%1'.").arg(backupFile));
    }
}

void SqliteEngine::setOnline(const DbDatabaseInfo& info, bool online)
{
    DbResult r;
    runSql(QStringLiteral("update %1.dpx_databases set online = %2 where name = %3")
               .arg(catalog()).arg(online ? 1 : 0).arg(tsql::QuoteString(info.name)), r, 0, true);
}

void SqliteEngine::drop(const DbDatabaseInfo& info)
{
    if (info.online && QFileInfo::exists(info.file)) {
        // Every client that has the database open holds a shared lock on its file; an exclusive
        // lock is granted only when no other client uses it.
        sqlite3* db = OpenFile(info.file, 0, false);
        const int rc = sqlite3_exec(db, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; COMMIT;", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        if (rc != SQLITE_OK)
            throw EOleException(QStringLiteral("Cannot drop database \"%1\" because it is currently in use.").arg(info.name));
    }
    DbResult r;
    runSql(QStringLiteral("delete from %1.dpx_databases where name = %2").arg(catalog(), tsql::QuoteString(info.name)), r, 0, true);
    removeDbFiles(info.file);
}

} // namespace sqlitedb
