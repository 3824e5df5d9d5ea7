#pragma once
// TADOConnection: the connection component the program's data module holds. It takes the
// connection string the program builds ("Provider=SQLOLEDB.1;...;Initial Catalog=master;
// Data Source=\sqlexpress") and opens the engine that "Data Source" names (Engine.h).
// Every engine error reaches the caller as EOleException with the engine's message.
#include "Engine.h"
#include <QList>
#include <QString>
#include <memory>

class TADOQuery;

class TADOConnection {
public:
    TADOConnection();
    ~TADOConnection();
    TADOConnection(const TADOConnection&) = delete;
    TADOConnection& operator=(const TADOConnection&) = delete;

    QString Name() const { return m_name; }
    void SetName(const QString& v) { m_name = v; }

    const QString& ConnectionString() const { return m_connectionString; }
    // Raises while the connection is open.
    void SetConnectionString(const QString& s);
    QString Provider() const { return m_provider; }
    void SetProvider(const QString& v) { m_provider = v; }
    bool LoginPrompt() const { return m_loginPrompt; }
    void SetLoginPrompt(bool v) { m_loginPrompt = v; }
    bool KeepConnection() const { return m_keepConnection; }
    void SetKeepConnection(bool v) { m_keepConnection = v; }
    // Seconds to wait for the server: bounds the wait for another client's write lock.
    int ConnectionTimeout() const { return m_connectionTimeout; }
    void SetConnectionTimeout(int v) { m_connectionTimeout = v; }
    int CommandTimeout() const { return m_commandTimeout; }
    void SetCommandTimeout(int v) { m_commandTimeout = v; }

    // One value of the connection string ("Data Source", "Initial Catalog"; keys ignore case).
    QString ConnectionValue(const QString& key) const;

    void Open();
    void Close();              // closes the queries bound to it
    bool Connected() const { return m_engine != nullptr; }
    void SetConnected(bool v) { v ? Open() : Close(); }

    // Transactions; BeginTrans returns the nesting level (1).
    int BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool InTransaction() const;

    // Runs a statement (or a batch) without a result.
    void Execute(const QString& sql, int* rowsAffected = nullptr);

    // The open engine; raises "Connection is closed" style errors when closed.
    DbEngine& Engine();
    QString CurrentDatabase() const { return m_engine ? m_engine->CurrentDatabase() : QString(); }

private:
    friend class TADOQuery;
    void attach(TADOQuery* q);
    void detach(TADOQuery* q);

    QString m_name;
    QString m_connectionString;
    QString m_provider = QStringLiteral("SQLOLEDB.1");
    bool m_loginPrompt = true;
    bool m_keepConnection = true;
    int m_connectionTimeout = 15;
    int m_commandTimeout = 30;
    std::unique_ptr<DbEngine> m_engine;
    QList<TADOQuery*> m_queries;
};
