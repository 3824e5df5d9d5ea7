#include "EngineBase.h"
#include "platform/rtl/Exceptions.h"
#include <QDir>
#include <QFileInfo>

namespace {

[[noreturn]] void noSuchDatabase(const QString& name)
{
    throw EOleException(QStringLiteral("Database '%1' does not exist. Make sure that the name is entered correctly.").arg(name));
}

bool isCurrent(const DbDatabaseInfo& db, const QString& current)
{
    return db.name.compare(current, Qt::CaseInsensitive) == 0;
}

} // namespace

bool DbEngineBase::isMaster(const QString& name)
{
    return name.compare(QLatin1String("master"), Qt::CaseInsensitive) == 0;
}

void DbEngineBase::checkDatabaseName(const QString& name, const char* what)
{
    const bool path = name.contains(u'/') || name.contains(u'\\') || name.contains(u':') || name == QLatin1String(".")
                      || name == QLatin1String("..");
    bool control = false;
    for (const QChar c : name) control = control || c.unicode() < 0x20;
    if (name.trimmed().isEmpty() || path || control)
        throw EOleException(QStringLiteral("%1 cannot process database '%2': the name is not a valid database name.")
                                .arg(QLatin1String(what), name));
}

DbEngineBase::BatchScope::BatchScope(DbEngineBase& engine, const tsql::Batch& batch)
    : m_engine(engine), m_saved(engine.m_restoring)
{
    using tsql::StmtKind;
    for (qsizetype i = 0; i < batch.size(); ++i) {
        if (batch[i].kind != StmtKind::SetOffline) continue;
        for (qsizetype j = i + 1; j < batch.size(); ++j)
            if (batch[j].kind == StmtKind::Restore && batch[j].name.compare(batch[i].name, Qt::CaseInsensitive) == 0) {
                m_engine.m_restoring << batch[i].name;
                break;
            }
    }
}

DbEngineBase::BatchScope::~BatchScope() { m_engine.m_restoring = m_saved; }

void DbEngineBase::requireNoWork(const char* what) const
{
    if (m_physical)
        throw EOleException(QStringLiteral("%1 statement not allowed within multi-statement transaction.")
                                .arg(QLatin1String(what)));
}

void DbEngineBase::BeginTransaction()
{
    if (m_inTrans) throw EOleException(QStringLiteral("Cannot start more transactions on this session."));
    m_inTrans = true;
    m_physical = false;
}

void DbEngineBase::runStatement(const tsql::Statement& s, DbResult& result, int maxRows)
{
    using tsql::StmtKind;
    switch (s.kind) {
    case StmtKind::Nothing:
        return;
    case StmtKind::Use:
        UseDatabase(s.name);
        return;
    case StmtKind::Sql:
        runSqlStatement(s, result, maxRows);
        return;
    case StmtKind::IfExists:
        if (queryExists(s.condition) != s.negate) runStatement(*s.body, result, maxRows);
        return;
    case StmtKind::CreateDatabase: {
        requireNoWork("CREATE DATABASE");
        checkDatabaseName(s.name, "CREATE DATABASE");
        DbDatabaseInfo info;
        if (isMaster(s.name) || lookup(s.name, info))
            throw EOleException(QStringLiteral("Database '%1' already exists. Choose a different database name.").arg(s.name));
        createDatabase(s.name);
        return;
    }
    case StmtKind::Restore:
        RestoreDatabase(s.name, s.path, s.dataFile, s.replace);
        return;
    case StmtKind::Backup:
        BackupDatabase(s.name, s.path);
        return;
    case StmtKind::SetOnline:
    case StmtKind::SetOffline:
        SetDatabaseOnline(s.name, s.kind == StmtKind::SetOnline);
        return;
    case StmtKind::DropDatabase:
        for (const QString& n : s.names) DropDatabase(n);
        return;
    }
}

bool DbEngineBase::IndexExists(const QString& table, const QString& name)
{
    // Index names are per database on both engines: the table's name goes before the index's.
    return queryExists(QStringLiteral("select * from sqlite_master where type='index' and lower(name)=lower(%1)")
                           .arg(tsql::QuoteString(table + u'$' + name)));
}

bool DbEngineBase::DatabaseExists(const QString& name)
{
    DbDatabaseInfo info;
    return isMaster(name) || lookup(name, info);
}

void DbEngineBase::BackupDatabase(const QString& name, const QString& backupFile)
{
    requireNoWork("BACKUP DATABASE");
    DbDatabaseInfo info;
    if (isMaster(name)) info = masterInfo();
    else if (!lookup(name, info)) noSuchDatabase(name);
    if (!info.online)
        throw EOleException(QStringLiteral("Database '%1' cannot be opened because it is offline.").arg(info.name));
    const QFileInfo fi(backupFile);
    if (backupFile.isEmpty() || !fi.absoluteDir().exists() || fi.isDir())
        throw EOleException(QStringLiteral("Cannot open backup device '%1'. The system cannot find the path specified. "
                                           "BACKUP DATABASE is terminating abnormally.").arg(QDir::toNativeSeparators(backupFile)));
    backup(info, backupFile);
}

void DbEngineBase::SetDatabaseOnline(const QString& name, bool online)
{
    requireNoWork("ALTER DATABASE");
    DbDatabaseInfo info;
    if (isMaster(name))
        throw EOleException(QStringLiteral("Option 'OFFLINE' cannot be set in database 'master'."));
    if (!lookup(name, info)) noSuchDatabase(name);
    if (!online && isCurrent(info, m_current))
        throw EOleException(QStringLiteral("ALTER DATABASE failed because a lock could not be placed on database '%1'. Try again later.").arg(info.name));
    if (!online && m_restoring.contains(info.name, Qt::CaseInsensitive)) {
        disconnectOthers(info);
        return;
    }
    setOnline(info, online);
}

void DbEngineBase::DropDatabase(const QString& name)
{
    requireNoWork("DROP DATABASE");
    if (isMaster(name))
        throw EOleException(QStringLiteral("Cannot drop the database 'master' because it is a system database."));
    DbDatabaseInfo info;
    if (!lookup(name, info))
        throw EOleException(QStringLiteral("Cannot drop the database '%1', because it does not exist or you do not have permission.").arg(name));
    if (isCurrent(info, m_current))
        throw EOleException(QStringLiteral("Cannot drop database \"%1\" because it is currently in use.").arg(info.name));
    drop(info);
}
