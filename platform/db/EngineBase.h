#pragma once
// What the engines share above their own database system: the current database, the caller's
// transaction (started on the server only with its first statement), the dispatch of translated
// statements, and the checks an administration statement makes before the engine acts.
#include "platform/db/Engine.h"
#include "platform/db/tsql/Translator.h"

class DbEngineBase : public DbEngine {
public:
    const QString& CurrentDatabase() const override { return m_current; }
    void BeginTransaction() override;
    bool InTransaction() const override { return m_inTrans; }
    bool DatabaseExists(const QString& name) override;
    void BackupDatabase(const QString& name, const QString& backupFile) override;
    void SetDatabaseOnline(const QString& name, bool online) override;
    void DropDatabase(const QString& name) override;
    bool IndexExists(const QString& table, const QString& name) override;

protected:
    static bool isMaster(const QString& name);
    // Raises for a name no database may have: empty, a path, or with control characters.
    static void checkDatabaseName(const QString& name, const char* what);
    // While a batch runs: the databases it takes offline only to restore them right after.
    // Those are not marked offline (the other clients are sent away all the same), so a failed
    // or interrupted restore leaves the database as it was, online.
    class BatchScope {
    public:
        BatchScope(DbEngineBase& engine, const tsql::Batch& batch);
        ~BatchScope();
    private:
        DbEngineBase& m_engine;
        QStringList m_saved;
    };
    // Raises once the caller's transaction has done work: what must not run inside one.
    void requireNoWork(const char* what) const;
    // Runs one translated statement: SQL through the engine, the others by their kind.
    void runStatement(const tsql::Statement& s, DbResult& result, int maxRows);

    // The engine's own parts.
    virtual void runSqlStatement(const tsql::Statement& s, DbResult& result, int maxRows) = 0;
    virtual bool queryExists(const QString& condition) = 0;
    virtual bool lookup(const QString& name, DbDatabaseInfo& info) = 0;
    virtual DbDatabaseInfo masterInfo() const = 0;
    // The checked operations: the database exists (and for a backup, is online), is not master
    // (but for a backup) and, for going offline or dropping, is not the current one.
    virtual void createDatabase(const QString& name) = 0;
    virtual void backup(const DbDatabaseInfo& db, const QString& backupFile) = 0;
    virtual void setOnline(const DbDatabaseInfo& db, bool online) = 0;
    // Ends the other clients' use of a database without taking it offline.
    virtual void disconnectOthers(const DbDatabaseInfo& db) { Q_UNUSED(db); }
    virtual void drop(const DbDatabaseInfo& db) = 0;

    QString m_current;
    bool m_inTrans = false;    // BeginTransaction called
    bool m_physical = false;   // the engine's own transaction started
    QStringList m_restoring;   // see BatchScope
};
