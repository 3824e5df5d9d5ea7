#pragma once
// The SQL engine interface under TADOConnection and TADOQuery. Statements arrive as the
// SQL Server text the program composes; each engine runs them on its own database system.
// Every error is raised as EOleException carrying the engine's message.
#include "platform/rtl/Variant.h"
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

// The field type a result column gets, as SQL Server's provider would hand it over.
enum class DbColumnType {
    String,      // varchar, nvarchar, text columns and text expressions
    FixedChar,   // nchar / char: fixed width, trailing blanks kept
    Integer,     // int and integer expressions
    SmallInt,    // smallint
    Boolean,     // bit
    Bcd,         // numeric(18,4): exact, 4 decimals (values arrive as Currency)
    DateTime,    // datetime (values arrive as TDateTime)
    Float,       // floating-point expressions
};

struct DbColumn {
    QString name;          // as the statement names it; empty for an unnamed expression
    DbColumnType type = DbColumnType::String;
    int size = 0;          // characters for text columns, 0 when unknown
};

using DbRow = QVector<Variant>;

// Result of one Execute: the rows of the last statement that produced a result set (all of
// them, or at most maxRows), and the rows affected by the last writing statement.
struct DbResult {
    bool hasResultSet = false;
    QList<DbColumn> columns;
    QList<DbRow> rows;
    qint64 rowsAffected = -1;
};

// One database as the server lists it.
struct DbDatabaseInfo {
    QString name;
    QString file;          // the data file
    bool online = true;
};

class DbEngine {
public:
    virtual ~DbEngine() = default;

    // Runs a batch of T-SQL text (one or several statements, separated or not). maxRows <= 0
    // fetches every row. A failing statement raises; statements before it keep their effect.
    virtual void Execute(const QString& tsql, DbResult& result, int maxRows = 0) = 0;

    // The current database ("master" after opening).
    virtual const QString& CurrentDatabase() const = 0;
    // "Use name": a no-op for the current database; raises for an unknown or offline database
    // and, for another database, inside a transaction that has done work.
    virtual void UseDatabase(const QString& name) = 0;

    // Transactions. Begin takes the write lock of the current database before the first
    // statement runs, so two clients never read the same counter value. A failing statement
    // inside a transaction fails alone; the caller decides about the transaction.
    virtual void BeginTransaction() = 0;
    virtual void CommitTransaction() = 0;
    virtual void RollbackTransaction() = 0;
    virtual bool InTransaction() const = 0;

    // Administration, as BACKUP / RESTORE / ALTER DATABASE / DROP DATABASE run them.
    virtual QList<DbDatabaseInfo> Databases() = 0;
    virtual bool DatabaseExists(const QString& name) = 0;
    // Creates (or, with replace, overwrites) database name from a backup file. dataFile names the
    // data file for a new database (the MOVE target); empty keeps the existing file or takes the
    // default "<data folder>/<name>_data.mdf".
    virtual void RestoreDatabase(const QString& name, const QString& backupFile,
                                 const QString& dataFile, bool replace) = 0;
    virtual void BackupDatabase(const QString& name, const QString& backupFile) = 0;
    virtual void SetDatabaseOnline(const QString& name, bool online) = 0;
    virtual void DropDatabase(const QString& name) = 0;

    // The folder where new database files go.
    virtual QString DataFolder() const = 0;
    // Whether the current database has the index that "CREATE INDEX name ON table" made; reads
    // the catalogue only, without waiting for other clients' locks.
    virtual bool IndexExists(const QString& table, const QString& name) = 0;
};

// Opens the engine that a connection string's "Data Source" names: an instance name such as
// "\sqlexpress" or ".\sqlexpress" (anything that is not an address) is the embedded engine with
// its data folder dataFolder (by default ProgramDir()/Database); "postgres://..." is reserved for
// the PostgreSQL engine. The connection starts in "master". timeoutSeconds bounds the wait for
// another client's write lock. Raises EOleException when the engine cannot open.
std::unique_ptr<DbEngine> OpenDbEngine(const QString& dataSource, int timeoutSeconds,
                                       const QString& dataFolder = QString());
