#pragma once
// The shape of an SQLite statement: its text with the literal values that a comparison, an
// assignment or a VALUES list gives replaced by parameters, and those values. Statements the
// program composes differ mostly by such values, so statements of one shape share one
// prepared statement. A literal elsewhere (a column number after ORDER BY, a LIMIT, a
// function's argument, a DDL default) stays in the text.
#include <QString>
#include <QVector>

struct sqlite3_stmt;

namespace sqlitedb {

struct ShapeValue {
    enum Kind { Integer, Real, Text } kind = Integer;
    qint64 i = 0;
    double d = 0;
    QByteArray text;   // UTF-8
};

struct StatementShape {
    QString text;                 // the statement with "?" for every lifted literal
    QVector<ShapeValue> values;   // the lifted literals, in order
};

// Splits sql into its shape. Statements that already carry parameters, or that define the
// schema, keep their text whole (no values).
StatementShape ShapeOf(const QString& sql);

// Binds the lifted values to a statement prepared from the shape's text; false on an error.
bool BindShape(sqlite3_stmt* stmt, const StatementShape& shape);

} // namespace sqlitedb
