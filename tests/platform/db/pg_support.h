#pragma once
// The engine the shared engine tests run on: the embedded engine on a data folder, or, when
// DPX_TEST_ENGINE is "postgres", the test server at DPX_PG_ADDRESS under a database prefix of
// the test's own (scripts/test.sh starts the server; CTest runs the shared tests both ways).
#include "platform/db/Engine.h"
#include "platform/db/postgres/PgEngine.h"
#include <QCoreApplication>
#include <atomic>
#include <libpq-fe.h>

namespace pgtest {

inline QString ServerAddress() { return qEnvironmentVariable("DPX_PG_ADDRESS"); }
inline bool OnServer() { return qEnvironmentVariable("DPX_TEST_ENGINE") == QLatin1String("postgres"); }

// The libpq connection info of the test server's maintenance database, as the server's own login.
inline QByteArray MaintenanceInfo()
{
    const pgdb::PgAddress a = pgdb::ParseAddress(ServerAddress());
    return QStringLiteral("host=%1 port=%2 dbname=postgres connect_timeout=5%3")
        .arg(a.host).arg(a.port)
        .arg(a.user.isEmpty() ? QString() : QStringLiteral(" user=") + a.user).toUtf8();
}

// Why the test server cannot be used, or an empty text: the address is not set, or the server
// there does not answer (asked once per process, waiting at most a few seconds).
inline QString ServerProblem()
{
    if (ServerAddress().isEmpty())
        return QStringLiteral("DPX_PG_ADDRESS is not set: the test server did not start");
    static const QString answer = [] {
        PGconn* c = PQconnectdb(MaintenanceInfo().constData());
        const QString problem = PQstatus(c) == CONNECTION_OK
                                    ? QString()
                                    : QStringLiteral("the test server at %1 does not answer: %2")
                                          .arg(ServerAddress(), QString::fromUtf8(PQerrorMessage(c)).trimmed());
        PQfinish(c);
        return problem;
    }();
    return answer;
}

// A database prefix no other test (or test process) uses.
inline QString NewPrefix()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("t%1_%2_").arg(QCoreApplication::applicationPid()).arg(++counter);
}

// Drops every database whose name starts with prefix.
inline void DropPrefixed(const QString& prefix)
{
    PGconn* c = PQconnectdb(MaintenanceInfo().constData());
    if (PQstatus(c) == CONNECTION_OK) {
        PGresult* r = PQexec(c, QStringLiteral("select datname from pg_database where left(datname, %1) = '%2'")
                                    .arg(prefix.size()).arg(prefix).toUtf8().constData());
        QStringList names;
        for (int i = 0; i < PQntuples(r); ++i) names << QString::fromUtf8(PQgetvalue(r, i, 0));
        PQclear(r);
        for (const QString& n : names)
            PQclear(PQexec(c, QStringLiteral("drop database if exists \"%1\" with (force)").arg(n).toUtf8().constData()));
    }
    PQfinish(c);
}

} // namespace pgtest
