#pragma once
// The embedded engine: every database is one SQLite file in the data folder; the registry
// database "master" (master_data.mdf) also holds the catalogue of databases. The connection's
// current database is SQLite's main database; master is attached as "master" beside it.
#include "WriteQueue.h"
#include "platform/db/EngineBase.h"
#include <QHash>
#include <QSet>

struct sqlite3;
struct sqlite3_stmt;

namespace sqlitedb {

class SqliteEngine final : public DbEngineBase {
public:
    SqliteEngine(const QString& dataFolder, int timeoutSeconds);
    ~SqliteEngine() override;

    void Execute(const QString& tsql, DbResult& result, int maxRows = 0) override;
    void UseDatabase(const QString& name) override;
    void CommitTransaction() override;
    void RollbackTransaction() override;

    QList<DbDatabaseInfo> Databases() override;
    void RestoreDatabase(const QString& name, const QString& backupFile, const QString& dataFile, bool replace) override;
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
    // The text columns of tables made before lengths were checked (an older build's database
    // or backup) get the check now, as triggers that refuse an over-long value the way the
    // column's own check would; once per file and client, never failing the switch.
    void addLengthChecks(const QString& file);
    void closeDb();
    void runSqlStatement(const tsql::Statement& s, DbResult& result, int maxRows) override;
    bool queryExists(const QString& sql) override;
    bool lookup(const QString& name, DbDatabaseInfo& info) override;
    DbDatabaseInfo masterInfo() const override;
    void createDatabase(const QString& name) override;
    void backup(const DbDatabaseInfo& db, const QString& backupFile) override;
    void setOnline(const DbDatabaseInfo& db, bool online) override;
    void drop(const DbDatabaseInfo& db) override;
    void runSql(const QString& sql, DbResult& result, int maxRows, bool catalogOnly = false);
    // The prepared statement of text from the cache, prepared now when missing; null for a
    // text of blanks only.
    Cached* prepared(const QString& text);
    static constexpr int kCachedStatements = 64;
    void ensurePhysicalTransaction();
    // BEGIN IMMEDIATE after this client's turn in the queue; the end of the write lets the
    // next one go (a failing COMMIT rolls back and raises).
    void beginWrite();
    void endWrite(const char* sql);
    QString catalog() const;   // the schema that holds the catalogue table on this connection
    void execSimple(const char* sql);
    [[noreturn]] void fail(const QString& context = QString());

    QString m_dataFolder;
    int m_timeoutMs;
    sqlite3* m_db = nullptr;   // m_physical: BEGIN IMMEDIATE issued
    tsql::TranslationCache m_cache;
    QHash<QString, Cached*> m_stmts;
    quint64 m_useCounter = 0;
    QSet<QString> m_lengthsChecked;   // files addLengthChecks has looked at
    QSet<QString> m_filesChecked;     // files open() found whole
    WriteQueue m_queue;        // of the current database's file
};

} // namespace sqlitedb
