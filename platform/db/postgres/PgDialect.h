#pragma once
// The server's answers to the translation rules: the shared translation writes statements for
// the embedded engine; these functions turn one of them into the server's own text.
#include <QString>
#include <QStringList>

namespace pgdb {

// One translated statement in the server's dialect; empty when the server has nothing to do
// (the embedded engine's normalising triggers: the server's types keep their values natively).
// Names are folded to lower case, so "[IDlist]" and idlist name the same table.
QString PgDialect(const QString& sql);

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
