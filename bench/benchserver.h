#pragma once
// The database server a benchmark runs on: the one at DPX_PG_ADDRESS, or else a private one
// started for the run with tests/pgserver.sh (PostgreSQL's server package must be installed)
// and stopped at the end.
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QString>

#include <cstdio>
#include <cstdlib>

namespace benchserver {

inline QString sourceFile(const char* rel)
{
    return QStringLiteral(DPX_SOURCE_DIR "/") + QLatin1String(rel);
}

class Server {
public:
    QString address()
    {
        if (m_address.isEmpty())
            m_address = qEnvironmentVariable("DPX_PG_ADDRESS");
        if (m_address.isEmpty()) {
            m_folder = QDir::tempPath() + QStringLiteral("/dpxbenchpg.%1").arg(QCoreApplication::applicationPid());
            QProcess p;
            p.start(sourceFile("tests/pgserver.sh"), {QStringLiteral("start"), m_folder});
            p.waitForFinished(120000);
            m_address = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
            if (p.exitCode() != 0 || m_address.isEmpty()) {
                std::fprintf(stderr, "no database server: set DPX_PG_ADDRESS or install PostgreSQL's server package "
                                     "(tests/pgserver.sh said: %s)\n",
                             p.readAllStandardError().constData());
                std::exit(1);
            }
        }
        return m_address;
    }
    ~Server()
    {
        if (!m_folder.isEmpty())
            QProcess::execute(sourceFile("tests/pgserver.sh"), {QStringLiteral("stop"), m_folder});
    }

private:
    QString m_address, m_folder;
};

inline Server& server()
{
    static Server s;
    return s;
}

} // namespace benchserver
