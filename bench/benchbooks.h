#pragma once
// Account sets for the benchmarks that run forms over the data module: a program folder with
// the embedded engine's settings, and account sets restored from the template into it, which
// each benchmark fills with its own rows.
#include "DM.h"
#include "cpuclock.h"
#include "frmconst.h"
#include "platform/db/ADOConnection.h"
#include "platform/db/ADOQuery.h"
#include "platform/rtl/IniFile.h"
#include "platform/rtl/MessageSink.h"
#include "platform/rtl/Program.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <functional>

namespace benchbooks {

inline QString quoted(const QString& text)
{
    QString t = text;
    t.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

// The process's CPU time that f takes, in seconds.
inline double seconds(const std::function<void()>& f)
{
    const auto t0 = CpuClock::now();
    f();
    return std::chrono::duration<double>(CpuClock::now() - t0).count();
}

// The program folder of the run, with the embedded engine's settings; messages are answered.
class Folder {
public:
    Folder()
    {
        SetProgramDirForTesting(dir.path());
        for (const char* sub : {"Database", "log", "dpxdata"})
            QDir(dir.path()).mkpath(QString::fromLatin1(sub));
        // restores take their schema from the program folder's template
        QFile::copy(QStringLiteral(DPX_PROGRAM_DIR "/dpxdata/materialdb"), dir.filePath(QStringLiteral("dpxdata/materialdb")));
        TIniFile ini(dir.filePath(QStringLiteral("log/adolinksetting.ini")));
        ini.WriteString(QStringLiteral("Login"), QStringLiteral("Server Name"), QStringLiteral("\\sqlexpress"));
        ini.WriteString(QStringLiteral("Login"), QStringLiteral("Security Info"), QStringLiteral("False"));
        ini.WriteString(QStringLiteral("Login"), QStringLiteral("ConnectTimeOut"), QStringLiteral("30"));
        MessageSink::Set([](MsgKind, const QString&, const QString&) { return true; });
    }
    ~Folder()
    {
        MessageSink::Set({});
        SetProgramDirForTesting(QString());
    }
    QTemporaryDir dir;
};

// An account set restored from the template under the given name, current on its own
// connection, which run() writes through.
class AccountSet {
public:
    AccountSet(Folder& folder, const QString& name) : m_name(name)
    {
        m_con.SetLoginPrompt(false);
        m_con.SetConnectionString(QStringLiteral("Provider=SQLOLEDB.1;Integrated Security=SSPI;Persist Security Info=False;"
                                                 "Initial Catalog=master;Data Source=\\sqlexpress"));
        m_con.Open();
        const auto file = [&](const char* suffix) {
            return quoted(folder.dir.filePath(QStringLiteral("Database/") + name + QLatin1String(suffix)));
        };
        run(QStringLiteral("Use Master  RESTORE DATABASE ") + name + QStringLiteral(" FROM DISK =")
            + quoted(QStringLiteral(DPX_PROGRAM_DIR "/dpxdata/materialdb"))
            + QStringLiteral(" with file=1,replace,MOVE 'materialdb_data' TO ") + file("_data.mdf")
            + QStringLiteral(",MOVE 'materialdB_Log' TO ") + file("_log.ldf"));
        run(QStringLiteral("Use ") + name);
    }

    void run(const QString& sql)
    {
        TADOQuery q(&m_con);
        q.SQL() << sql;
        q.ExecSQL();
    }
    TADOConnection& connection() { return m_con; }

    // Points the data module at this account set, in its open period 0.
    void use(TrmtDM& dm)
    {
        dbname = m_name;
        curpid = 0;
        dm.OpenindicatinnDB(dbname);
    }

private:
    TADOConnection m_con;
    QString m_name;
};

} // namespace benchbooks
