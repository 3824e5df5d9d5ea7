#pragma once
// What an engine that exchanges statements with a server over a connection offers beyond
// DbEngine, so that a caller can spare round trips. An engine in the process has none of it:
// its statements cost no more one by one.
#include "platform/db/Engine.h"

class DbExchanges {
public:
    virtual ~DbExchanges() = default;

    // A statement whose result the caller does not read, inside the caller's transaction: it is
    // held and sent ahead of the next statement, with SendHeld or with the commit, together with
    // the others held, in one exchange (outside a transaction it runs at once, as Execute). A
    // held statement that fails when it is sent raises there; it and the statements held with
    // it are undone, the transaction goes on, and HeldFailure gives its text until the next
    // transaction begins.
    virtual void ExecuteHeld(const QString& tsql) = 0;
    virtual void SendHeld() = 0;
    virtual QString HeldFailure() const = 0;
    // Reads in one exchange: results[i] is what Execute(texts[i]) gives.
    virtual void ExecuteEach(const QStringList& texts, QList<DbResult>& results) = 0;
    // The exchanges with the server so far (each a round trip).
    virtual qint64 Exchanges() const = 0;
};
