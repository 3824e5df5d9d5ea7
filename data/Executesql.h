#pragma once
// Texecsql: runs one statement without a result set on a query owned by the caller. Any
// error is kept in the runner and turned into the silent abort (EAbort), so the database's
// message is never shown; callers that need a result catch the abort.
#include <QString>
#include <exception>
#include <functional>

class TADOQuery;
class Texecsql;

// The database's message of the last statement that the data module's execsql ran and that
// failed; empty after a success.
const QString& lastexecsqlerror();

using TexecsqlEvent = std::function<void(Texecsql* Sender, TADOQuery* query)>;

class Texecsql {
public:
    Texecsql(TADOQuery* fadoq, const QString& tmpsql);
    virtual ~Texecsql() = default;
    void Execute();
    const TexecsqlEvent& ExecsqlEvent() const { return FexecsqlEvent; }
    void SetExecsqlEvent(TexecsqlEvent e) { FexecsqlEvent = std::move(e); }
    // The error caught by the last Execute (nothing reads it but diagnostics and tests).
    std::exception_ptr LastException() const { return FexecsqlException; }

private:
    TADOQuery* Fadoquery;
    QString Fsql;
    std::exception_ptr FexecsqlException;
    TexecsqlEvent FexecsqlEvent;
};
