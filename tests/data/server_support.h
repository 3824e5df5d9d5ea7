#pragma once
// The engine the data tests run on. By default the embedded engine in the test's temporary
// program folder; when DPX_TEST_ENGINE is "postgres", the test server at DPX_PG_ADDRESS, where
// each test keeps its databases under a name prefix of its own (so that test processes run side
// by side) and drops them at its end. The account-set template on the server is made once per
// process from the schema script and kept as an engine backup, so that every test restores it
// with the same statement as on the embedded engine. Every restore takes its schema from the
// program folder's template (a temporary program folder gets the build's: installTemplate).
#include "../platform/db/pg_support.h"
#include "data/schema/SchemaScript.h"
#include "platform/db/Engine.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/Program.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace dpxtest {

inline bool onServer() { return pgtest::OnServer(); }

// The "Server Name" / Data Source that reaches the databases of prefix.
inline QString serverSource(const QString& prefix) { return pgtest::ServerAddress() + QLatin1Char('/') + prefix; }

// Runs sql on the test server's maintenance database as the server's own login; the error
// text, or empty on success.
inline QString serverExec(const QString& sql)
{
    PGconn* c = PQconnectdb(pgtest::MaintenanceInfo().constData());
    QString error;
    if (PQstatus(c) != CONNECTION_OK) {
        error = QString::fromUtf8(PQerrorMessage(c));
    } else {
        PGresult* r = PQexec(c, sql.toUtf8().constData());
        if (PQresultStatus(r) != PGRES_COMMAND_OK && PQresultStatus(r) != PGRES_TUPLES_OK)
            error = QString::fromUtf8(PQresultErrorMessage(r));
        PQclear(r);
    }
    PQfinish(c);
    return error;
}

// A test's own databases: nothing to do on the embedded engine (they live in the program
// folder), a fresh prefix on the server, dropped with the object.
class TestDatabases {
public:
    TestDatabases()
    {
        if (onServer() && problem().isEmpty())
            m_prefix = pgtest::NewPrefix();
    }
    ~TestDatabases()
    {
        if (!m_prefix.isEmpty())
            pgtest::DropPrefixed(m_prefix);
    }
    TestDatabases(const TestDatabases&) = delete;
    TestDatabases& operator=(const TestDatabases&) = delete;

    // The Data Source of connections to them.
    QString source() const { return m_prefix.isEmpty() ? QStringLiteral("\\sqlexpress") : serverSource(m_prefix); }
    // An empty text when the engine is usable, otherwise why not.
    static QString problem()
    {
        return onServer() ? pgtest::ServerProblem() : QString();
    }

private:
    QString m_prefix;
};

// log/adolinksetting.ini of a program folder as the connection settings dialog writes it for
// Windows authentication on server.
inline void writeSettings(const QString& programdir, const QString& server, const QString& timeout = QStringLiteral("30"))
{
    TIniFile ini(programdir + QStringLiteral("/log/adolinksetting.ini"));
    ini.WriteString(QStringLiteral("Login"), QStringLiteral("Server Name"), server);
    ini.WriteString(QStringLiteral("Login"), QStringLiteral("Security Info"), QStringLiteral("False"));
    ini.WriteString(QStringLiteral("Login"), QStringLiteral("ConnectTimeOut"), timeout);
}

// The account-set template on the test server, made on first use and kept for the process.
// A copy of the build's account-set template in programDir/dpxdata, where restores take their schema from.
inline void installTemplate(const QString& programDir)
{
    QDir(programDir).mkpath(QStringLiteral("dpxdata"));
    const QString target = programDir + QStringLiteral("/dpxdata/materialdb");
    if (!QFile::exists(target))
        QFile::copy(QStringLiteral(DPX_BIN_DIR "/dpxdata/materialdb"), target);
}

class ServerTemplates {
public:
    static ServerTemplates& instance()
    {
        static ServerTemplates t;
        return t;
    }

    // The engine backup of a new account set made from the schema script; raises when it could
    // not be made.
    QString accountSet()
    {
        if (m_template.isEmpty() && m_error.isEmpty()) {
            try {
                m_template = build();
            } catch (const std::exception& e) {
                m_error = QString::fromUtf8(e.what());
            }
        }
        if (!m_error.isEmpty())
            throw Exception(QStringLiteral("the account-set template on the server could not be made: ") + m_error);
        return m_template;
    }

    // The engine backup of the sample account set, made on the server by the build's own tool
    // from the template above; raises when it could not be made.
    QString sample()
    {
        const QString tpl = accountSet();
        if (m_sample.isEmpty() && m_sampleError.isEmpty()) {
            const QString archive = m_dir.filePath(QStringLiteral("materialdbsample"));
            QProcess tool;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
            tool.setProcessEnvironment(env);
            tool.setProcessChannelMode(QProcess::MergedChannels);
            tool.start(QStringLiteral(DPX_MKSAMPLE), {tpl, archive, m_databases.source()});
            const bool finished = tool.waitForFinished(300000);
            const QString out = QString::fromLocal8Bit(tool.readAll());
            if (finished && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0)
                m_sample = archive;
            else
                m_sampleError = out.isEmpty() ? tool.errorString() : out;
        }
        if (!m_sampleError.isEmpty())
            throw Exception(QStringLiteral("the sample account set on the server could not be made: ") + m_sampleError);
        return m_sample;
    }

private:
    ServerTemplates() = default;

    QString build()
    {
        if (!m_dir.isValid())
            throw Exception(QStringLiteral("no temporary folder"));
        const std::unique_ptr<DbEngine> engine = OpenDbEngine(m_databases.source(), 30);
        DbResult r;
        engine->Execute(QStringLiteral("CREATE DATABASE materialdb"), r);
        engine->UseDatabase(QStringLiteral("materialdb"));
        dpxschema::runScript(*engine, dpxschema::readScript(QStringLiteral(DPX_SCHEMA_DIR "/materialdb.sql")));
        engine->UseDatabase(QStringLiteral("master"));
        // the backup, in the portable format, takes the template's tables
        installTemplate(ProgramDir());
        const QString archive = m_dir.filePath(QStringLiteral("materialdb"));
        engine->Execute(QStringLiteral("BACKUP DATABASE materialdb TO DISK ='") + archive + QStringLiteral("' with init"), r);
        return archive;
    }

    TestDatabases m_databases;
    // Kept as long as the run: in the run's temporary folder, not in the test's of first use.
    QTemporaryDir m_dir{qEnvironmentVariable("DPX_TEST_RUN_TMP", QDir::tempPath()) + QStringLiteral("/templates-XXXXXX")};
    QString m_template;
    QString m_error;
    QString m_sample;
    QString m_sampleError;
};

// The account-set template: the build's, or the one made on the test server.
inline QString templateFile()
{
    return onServer() ? ServerTemplates::instance().accountSet() : QStringLiteral(DPX_BIN_DIR "/dpxdata/materialdb");
}

// The sample account set: the build's, or the one made on the test server.
inline QString sampleFile()
{
    return onServer() ? ServerTemplates::instance().sample() : QStringLiteral(DPX_BIN_DIR "/backdata/materialdbsample");
}

} // namespace dpxtest
