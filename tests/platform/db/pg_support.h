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

// A database prefix no other test (or test process) uses.
inline QString NewPrefix()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("t%1_%2_").arg(QCoreApplication::applicationPid()).arg(++counter);
}

// Drops every database whose name starts with prefix.
inline void DropPrefixed(const QString& prefix)
{
    const pgdb::PgAddress a = pgdb::ParseAddress(ServerAddress());
    const QByteArray info = QStringLiteral("host=%1 port=%2 dbname=postgres%3")
                                .arg(a.host).arg(a.port)
                                .arg(a.user.isEmpty() ? QString() : QStringLiteral(" user=") + a.user).toUtf8();
    PGconn* c = PQconnectdb(info.constData());
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
