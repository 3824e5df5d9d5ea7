#pragma once
// A backup file is read as data, never as code: the database it restores into gets its tables,
// indexes and views from the program's template, and from the backup only the rows of the
// template's tables and columns, matched by name and written as values. Nothing the file
// declares (schema text, views, triggers, constraints, defaults, computed columns) is run.
#include <QString>
#include <QStringList>

// The account-set template every restore takes its schema from: <program folder>/dpxdata/materialdb.
// RESTORE DATABASE on both engines gives the database the template's schema and the backup's rows
// of its tables and columns, as values; a backup of other tables or columns is refused, and a
// refused or failed restore leaves an existing database as it was, online.
QString SchemaTemplateFile();

namespace sqlitedb {

// Makes workFile a database with the template's schema holding the rows of backupFile. Raises,
// naming the reason, for a backup that cannot be read, is damaged, or whose tables or columns
// are not the template's; workFile is then left for the caller to remove.
void BuildFromBackup(const QString& templateFile, const QString& backupFile, const QString& workFile, int timeoutMs);

// The bill-number pool's flag columns are the account set's own: a backup carries the set's.
bool IsPoolTable(const QString& table);
// The statement the data module makes the pool with, for the flag columns among columns (names
// of letters, digits and underscores after "im" or "ex"; other names are left out).
QString PoolCreateStatement(const QStringList& columns);

} // namespace sqlitedb
