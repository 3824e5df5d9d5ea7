#include "Engine.h"
#include "sqlite/SqliteEngine.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Program.h"

std::unique_ptr<DbEngine> OpenDbEngine(const QString& dataSource, int timeoutSeconds, const QString& dataFolder)
{
    const QString ds = dataSource.trimmed();
    if (ds.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive) ||
        ds.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive))
        throw EOleException(QStringLiteral("[DBNETLIB][ConnectionOpen (Connect()).]The PostgreSQL engine is not available in this build."));
    // Any instance name (\sqlexpress, .\sqlexpress, (local), a host name) is the embedded engine.
    const QString folder = dataFolder.isEmpty() ? ProgramDir() + QStringLiteral("/Database") : dataFolder;
    return std::make_unique<sqlitedb::SqliteEngine>(folder, timeoutSeconds);
}
