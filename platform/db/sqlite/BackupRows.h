#pragma once
// A backup file is read as data, never as code: the database it restores into gets its tables,
// indexes and views from the program's template, and from the backup only the rows of the
// template's tables and columns, matched by name and written as values. Nothing the file
// declares (schema text, views, triggers, constraints, defaults, computed columns) is run.
#include <QString>

namespace sqlitedb {

// Makes workFile a database with the template's schema holding the rows of backupFile. Raises,
// naming the reason, for a backup that cannot be read, is damaged, or whose tables or columns
// are not the template's; workFile is then left for the caller to remove.
void BuildFromBackup(const QString& templateFile, const QString& backupFile, const QString& workFile, int timeoutMs);

} // namespace sqlitedb
