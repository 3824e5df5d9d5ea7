#pragma once
// The server's answers to the translation rules: the shared translation writes statements for
// the embedded engine; these functions turn one of them into the server's own text.
#include <QString>
#include <QStringList>

namespace pgdb {

// One translated statement in the server's dialect; empty when the server has nothing to do
// (the embedded engine's normalising triggers: the server's types keep their values natively).
// Names are folded to lower case, so "[IDlist]" and idlist name the same table; CREATE TABLE
// keeps the declared spellings and text sizes in column comments.
QString PgDialect(const QString& sql);

// A column's declared name and text size as the server keeps them in the column's comment:
// "FID", "billnum 30"; empty when there is nothing to keep (a lower-case name, no size).
QString ColumnComment(const QString& spelling, int size);
void ParseColumnComment(const QString& comment, QString& spelling, int& size);

// True when the T-SQL text asks for exclusive row locks (with(Xlock), UPDLOCK): its SELECT
// then takes the rows FOR UPDATE, so that two clients never read the same counter value.
bool WantsRowLock(const QString& tsql);

// The functions, operators and views every database of the program needs: bit columns that
// take 1/0, case-insensitive text, the object catalogue, datediff and friends.
QStringList DatabaseSetup();
// The part of it that a backup does not carry (a catalogue setting): 1/0 assigned to bit
// columns. A database restored from a backup needs it before the tables come back.
QString BitAssignmentSetup();

} // namespace pgdb
