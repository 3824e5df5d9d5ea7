#pragma once
// Column descriptions and typed values of an SQLite result, as the server's provider would
// hand them over: declared column types give the field types; expression columns take the
// type of the values they yield.
#include "platform/db/Engine.h"

struct sqlite3_stmt;

namespace sqlitedb {

// Field type of a declared column type ("varchar(50)", "numeric(18,4)", "int", ...); false when
// the text names no type the program uses.
bool DeclaredType(const QString& decl, DbColumnType& type, int& size);

class ColumnReader {
public:
    void Init(sqlite3_stmt* st);
    const QList<DbColumn>& Columns() const { return m_cols; }
    DbRow Read(sqlite3_stmt* st) const;
    // Settles the types of expression columns from the values read.
    void Finish(QList<DbColumn>& cols, QList<DbRow>& rows) const;
private:
    QList<DbColumn> m_cols;
    QVector<bool> m_declared;
};

// Exact decimal text to a scaled integer (value * 10^scale, rounded half away from zero).
bool DecimalTextToScaled(const char* s, int len, int scale, qint64& out);

} // namespace sqlitedb
