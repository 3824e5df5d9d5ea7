#pragma once
// The embedded engine: every database is one SQLite file in the data folder; the registry
// database "master" (master_data.mdf) also holds the catalogue of databases. The connection's
// current database is SQLite's main database; master is attached as "master" beside it.
#include "platform/db/Engine.h"
#include "platform/db/tsql/Translator.h"
#include <QHash>

struct sqlite3;
struct sqlite3_stmt;

namespace sqlitedb {

class SqliteEngine final : public DbEngine {
public:
    SqliteEngine(const QString& dataFolder, int timeoutSeconds);
    ~SqliteEngine() override;

    void Execute(const QString& tsql, DbResult& result, int maxRows = 0) override;
    QString CurrentDatabase() const override { return m_current; }
    void UseDatabase(const QString& name) override;
    void BeginTransaction() override;
    void CommitTransaction() override;
    void RollbackTransaction() override;
    bool InTransaction() const override { return m_inTrans; }

    QList<DbDatabaseInfo> Databases() override;
    bool DatabaseExists(const QString& name) override;
    void RestoreDatabase(const QString& name, const QString& backupFile, const QString& dataFile, bool replace) override;
    void BackupDatabase(const QString& name, const QString& backupFile) override;
    void SetDatabaseOnline(const QString& name, bool online) override;
    void DropDatabase(const QString& name) override;
    QString DataFolder() const override { return m_dataFolder; }

    // Runs SQLite text as it stands (no translation); for tools and comparisons.
    void ExecuteNative(const QString& sql, DbResult& result, int maxRows = 0);
    sqlite3* Handle() const { return m_db; }
    QString MasterFile() const;

    // Opens an SQLite connection on a file with the engine's functions and settings.
    static sqlite3* OpenFile(const QString& file, int timeoutMs, bool create);

private:
    struct Cached;
    void open(const QString& name, const QString& file);
    void closeDb();
    void runStatement(const tsql::Statement& s, DbResult& result, int maxRows);
    void runSql(const QString& sql, DbResult& result, int maxRows, bool catalogOnly = false);
    bool queryExists(const QString& sql);
    void ensurePhysicalTransaction();
    void requireNoWork(const char* what);
    bool isMaster(const QString& name) const;
    bool lookup(const QString& name, DbDatabaseInfo& info);
    QString catalog() const;   // the schema that holds the catalogue table on this connection
    void execSimple(const char* sql);
    [[noreturn]] void fail(const QString& context = QString());

    QString m_dataFolder;
    int m_timeoutMs;
    sqlite3* m_db = nullptr;
    QString m_current;
    bool m_inTrans = false;     // BeginTransaction called
    bool m_physical = false;    // BEGIN IMMEDIATE issued
    tsql::TranslationCache m_cache;
    QHash<QString, Cached*> m_stmts;
    quint64 m_useCounter = 0;
};

} // namespace sqlitedb
