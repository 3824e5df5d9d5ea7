#include "Engine.h"
#include "sqlite/SqliteEngine.h"
#include "postgres/PgEngine.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Program.h"

std::unique_ptr<DbEngine> OpenDbEngine(const QString& dataSource, int timeoutSeconds, const QString& dataFolder)
{
    const QString ds = dataSource.trimmed();
    if (pgdb::IsPgAddress(ds)) return pgdb::OpenPgEngine(ds, timeoutSeconds);
    // Any instance name (\sqlexpress, .\sqlexpress, (local), a host name) is the embedded engine.
    const QString folder = dataFolder.isEmpty() ? ProgramDir() + QStringLiteral("/Database") : dataFolder;
    return std::make_unique<sqlitedb::SqliteEngine>(folder, timeoutSeconds);
}
