#pragma once
// The server's answers to the translation rules: the shared translation writes statements for
// the embedded engine; these functions turn one of them into the server's own text.
#include <QString>
#include <QStringList>

namespace pgdb {

// One translated statement in the server's dialect; empty when the server has nothing to do
// (the embedded engine's normalising triggers: the server's types keep their values natively).
// Names are folded to lower case, so "[IDlist]" and idlist name the same table; CREATE TABLE
// keeps what the server's column types do not say in column comments (ColumnDecl). A bit
// column is a smallint, so that the 1 and 0 the program writes and compares are its values.
QString PgDialect(const QString& sql);

// What the schema declared of a column and the server's own column does not say: the name's
// spelling (the server folds names to lower case), the size of a text column (its
// case-insensitive text type has no length) and that a smallint column is a bit. The server
// keeps it in the column's comment: "FID", "billnum 30", "visibled bit".
struct ColumnDecl {
    QString spelling;
    int size = 0;
    bool bit = false;
};
// The comment for decl; empty when there is nothing to keep (a lower-case name, no size, no bit).
QString ColumnComment(const ColumnDecl& decl);
ColumnDecl ParseColumnComment(const QString& comment);

// True when the T-SQL text asks for exclusive row locks (with(Xlock), UPDLOCK): its SELECT
// then takes the rows FOR UPDATE, so that two clients never read the same counter value.
bool WantsRowLock(const QString& tsql);

// The functions and views every database of the program needs: the object catalogue,
// datediff and friends, case-insensitive text.
QStringList DatabaseSetup();

} // namespace pgdb
