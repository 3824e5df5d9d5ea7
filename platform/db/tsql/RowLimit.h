#pragma once
// A query that is to give at most n rows says so in the statement the engine runs, so that the
// engine produces and sends those rows only (a page of a paged list, not every row after it).
#include <QString>

namespace tsql {

// sql (one translated statement) with " limit n" at its end when it is a single SELECT that
// returns rows and sets no limit of its own; sql as it stands otherwise (n <= 0, a statement
// that writes, SELECT ... INTO, a locking or already limited SELECT, several statements, a
// text with a line comment).
QString WithRowLimit(const QString& sql, int n);

} // namespace tsql
