#pragma once
// The server engine: every database of the program is one PostgreSQL database on a server
// reached as postgres://[user[:password]@]host[:port][/prefix]. The registry database "master"
// is the server database "<prefix>master"; an account set "acc" is "<prefix>acc" (names in
// lower case). The prefix lets several installations, or test runs, share one server.
// Statements arrive as T-SQL, go through the shared translation and then through the
// server's own answers to the same rules (PgDialect).
#include "platform/db/EngineBase.h"
#include "platform/db/EngineExchanges.h"
#include "PgDialect.h"
#include <QHash>
#include <QSet>
#include <QVector>
#include <memory>

struct pg_conn;
struct pg_result;

namespace pgdb {

struct PgAddress {
    QString host = QStringLiteral("127.0.0.1");
    int port = 5432;
    QString user;        // empty: the operating-system user
    QString password;
    QString prefix;      // prepended to every database name
};

// Parses "postgres://user:pw@host:port/prefix" (user, port and prefix optional).
PgAddress ParseAddress(const QString& address);

// True for a PostgreSQL address.
bool IsPgAddress(const QString& dataSource);

// True for a backup in the portable format: the embedded engine's, which the server writes too.
bool IsEmbeddedBackup(const QString& file);

class PgEngine final : public DbEngineBase, public DbExchanges {
public:
    PgEngine(const PgAddress& address, int timeoutSeconds);
    ~PgEngine() override;

    void Execute(const QString& tsql, DbResult& result, int maxRows = 0) override;
    void ExecuteHeld(const QString& tsql) override;
    void SendHeld() override;
    QString HeldFailure() const override { return m_heldFailure; }
    void ExecuteEach(const QStringList& texts, QList<DbResult>& results) override;
    qint64 Exchanges() const override { return m_exchanges; }
    void UseDatabase(const QString& name) override;
    void BeginTransaction() override;
    void CommitTransaction() override;
    void RollbackTransaction() override;

    QList<DbDatabaseInfo> Databases() override;
    void RestoreDatabase(const QString& name, const QString& backupFile, const QString& dataFile, bool replace) override;
    QString DataFolder() const override { return QString(); }

    // The server database that holds database name.
    QString ServerName(const QString& name) const;
    // Runs server SQL as it stands (no translation).
    void ExecuteNative(const QString& sql, DbResult& result, int maxRows = 0);
    // The bytes of result values the server has sent this client so far (every row of every
    // result, whether the caller kept it or not).
    qint64 BytesReceived() const { return m_bytesReceived; }

private:
    void runSqlStatement(const tsql::Statement& s, DbResult& result, int maxRows) override;
    bool queryExists(const QString& condition) override;
    bool lookup(const QString& name, DbDatabaseInfo& info) override;
    DbDatabaseInfo masterInfo() const override;
    void createDatabase(const QString& name) override;
    void backup(const DbDatabaseInfo& db, const QString& backupFile) override;
    void setOnline(const DbDatabaseInfo& db, bool online) override;
    void drop(const DbDatabaseInfo& db) override;
    void disconnectOthers(const DbDatabaseInfo& db) override;
    // The server's name of a new database; raises for a name the server would cut or refuse.
    QString newServerName(const QString& name, const char* what) const;
    pg_conn* connect(const QString& serverDb) const;
    static void withClientClock(QString& sql);
    // before: statements sent ahead of sql in the same round trip (their results are skipped).
    void runSql(pg_conn* c, const QString& sql, DbResult& result, int maxRows, const QStringList& before = {});
    // Statements (one each) in one round trip, results[i] taking the result of sqls[i]. A
    // failing held statement (before[heldFrom .. heldFrom + heldCount)) raises HeldError.
    void runSqls(pg_conn* c, const QStringList& sqls, QList<DbResult>& results, int maxRows,
                 const QStringList& before = {}, int heldFrom = -1, int heldCount = 0);
    struct HeldError {
        int index;
        QString message;
    };
    void readResult(pg_conn* c, pg_result* r, const QString& sql, DbResult& result, int maxRows);
    void runSqlInTrans(const QString& sql, DbResult& result, int maxRows);
    void runSqlsInTrans(const QStringList& sqls, QList<DbResult>& results, int maxRows);
    // BEGIN and the write lock, once per transaction.
    void beginPhysical();
    void takeWriteLock();
    // A statement sent to the server and its answer: one round trip.
    pg_result* ask(pg_conn* c, const char* sql) const;
    void exec(pg_conn* c, const QString& sql) const;
    pg_conn* masterConn();
    void prepareDatabase(pg_conn* c) const;
    // The text columns of tables made before lengths were checked (an older build's database or
    // backup) get the check now, for new rows and changes; what they hold stays as it is. Once
    // per database and client, never failing the switch.
    void addLengthChecks();
    void endOtherSessions(const QString& serverDb);

    // What the schema declared of a column (ColumnDecl), read from the column comments per table.
    ColumnDecl declOf(pg_conn* c, unsigned table, int column);
    void nameColumn(pg_conn* c, const pg_result* r, int f, const QString& sql, DbColumn& col);
    void declareView(pg_conn* c, const QString& tsqlText, const QString& pgText);
    // The backup's rows (read as data into the template's schema) into the empty database of c.
    void importEmbedded(pg_conn* c, const QString& backupFile);
    // A backup in the portable format: the template's schema with this database's rows.
    void exportEmbedded(const DbDatabaseInfo& db, const QString& backupFile);
    void forgetDecls(pg_conn* c) { m_decls.remove(c); }

    PgAddress m_addr;
    int m_timeoutSeconds;
    pg_conn* m_conn = nullptr;     // m_physical: BEGIN sent
    pg_conn* m_master = nullptr;   // a second session on master, for master..t from an account set
    pg_conn* m_watch = nullptr;    // a session on the current database that watches the write lock's holder
    bool m_lockRows = false;       // the statements being run asked for row locks
    bool m_stmtSavepoint = false;  // the last statement's savepoint is still open in the transaction
    QStringList m_ahead;           // statements that go out ahead of the next one in the transaction
    QStringList m_held;            // held writes (server text) and the text each came as
    QStringList m_heldSource;
    QString m_heldFailure;
    mutable qint64 m_exchanges = 0;
    qint64 m_bytesReceived = 0;
    tsql::TranslationCache m_cache;
    QSet<QString> m_lengthsChecked;   // server databases addLengthChecks has looked at
    QHash<pg_conn*, QHash<unsigned, QVector<ColumnDecl>>> m_decls;   // per session: table -> columns
};

// Opens the server engine on address; a non-empty user (the SQL login) replaces the address's
// own login, otherwise the address's user or the operating-system user connects.
std::unique_ptr<DbEngine> OpenPgEngine(const QString& address, int timeoutSeconds,
                                       const QString& user = QString(), const QString& password = QString());

} // namespace pgdb
