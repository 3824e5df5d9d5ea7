#include "Engine.h"
#include "sqlite/BackupRows.h"
#include "sqlite/SqliteEngine.h"
#include "postgres/PgEngine.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Program.h"
#include <QRegularExpression>

QString SchemaTemplateFile()
{
    return ProgramDir() + QStringLiteral("/dpxdata/materialdb");
}

std::unique_ptr<DbEngine> OpenDbEngine(const QString& dataSource, int timeoutSeconds, const QString& dataFolder)
{
    const QString ds = dataSource.trimmed();
    if (pgdb::IsPgAddress(ds)) return pgdb::OpenPgEngine(ds, timeoutSeconds);
    // An instance of this computer (\sqlexpress, .\sqlexpress, (local)\sqlexpress, localhost\sqlexpress)
    // is the embedded engine. Anything else names a server this program cannot reach; it is
    // refused rather than taken for this computer's (empty) registry.
    static const QRegularExpression instance(QStringLiteral("^(\\.|\\(local\\)|localhost)?\\\\[A-Za-z_][A-Za-z0-9_$#]*$"),
                                             QRegularExpression::CaseInsensitiveOption);
    if (!instance.match(ds).hasMatch())
        throw EOleException(QStringLiteral("[DBNETLIB][ConnectionOpen (Connect()).]The server name '%1' is not understood. "
                                           "Use \\sqlexpress for the account sets of this computer, or "
                                           "postgres://[user@]host[:port][/prefix] for a database server.").arg(ds));
    const QString folder = dataFolder.isEmpty() ? ProgramDir() + QStringLiteral("/Database") : dataFolder;
    return std::make_unique<sqlitedb::SqliteEngine>(folder, timeoutSeconds);
}
