#pragma once
// Shared routines of the data services and the forms: the SQL literal of a value, price
// rounding, the numeric-text test, date truncation, the program's sub-folders, the screen
// point below a control, and the fixed stock-detail query text.
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Variant.h"
#include <QPoint>
#include <QString>

class QWidget;

// SQL literal: NULL; a date in the default date-time text, quoted; text trimmed of blanks and
// control characters, quoted; Boolean 1 / 0; anything else converted to text, trimmed and
// quoted. Quoting doubles every single quote.
QString vartosqlvalue(const Variant& value);
// Text between single quotes with every single quote doubled.
QString quotedsqltext(const QString& text);
// The rest of a "like '" prefix condition for a code: the code with its quotes doubled and
// LIKE's own characters ('%', '_', the bracket) escaped, then "%'"; the escape clause follows
// only when something was escaped, so plain codes keep their usual statement text.
QString likeprefix(const QString& code);
// The quantity of a bill line (aliased c) not yet given back, as a SQL expression: its own
// quantity and the (negative) quantities of the saved return lines that name it (stock-in:
// ibdetail.idid, stock-out: ebdetail.edid). What both return pickers offer.
QString returnableqty(bool stockin);
// What goes back of a line's amount with rest of its quantity qty: the whole amount when all of
// it goes back, otherwise its share, rounded to digits decimals.
double returnedamount(double amount, double rest, double qty, int digits);
// The whole prefix condition "column like '<code>%'" for a code. With ranged, a range on the
// column that holds every row the LIKE matches follows ("and column >= '<code>' and column <
// '<bound>'"), so that an engine whose LIKE cannot use an index on the column's case-blind
// collation still reads the rows from one; the LIKE keeps the result exact. Only for an
// engine whose text order is the code points' order with ASCII letters folded.
QString prefixcondition(const QString& column, const QString& code, bool ranged);
// Trims blanks and control characters at both ends.
QString trimtext(const QString& text);
// The same trimming, as a view of text.
QStringView trimmedtext(QStringView text);

// A value read from the database as a number: Null (and Unassigned) read as 0.
inline int intvalue(const Variant& v) { return v.IsEmptyOrNull() ? 0 : v.ToInt(); }
inline double doublevalue(const Variant& v) { return v.IsEmptyOrNull() ? 0.0 : v.ToDouble(); }

// x rounded half away from zero to n decimals (n < 0 rounds to tens, hundreds, ...). The
// division and the addition run in extended precision on the double value.
double roundtodigits(qint8 n, double x);

// True when every character is a digit or a point and at most one point occurs (also for
// the empty text).
bool isnumstr(const QString& text);

// The calendar date of a date-time, at 00:00; datetoday gives today at 00:00.
TDateTime dateofdatetime(TDateTime value);
TDateTime datetoday();

// The program folder's sub-folder name, ending with a separator; created (one level) when
// missing. A failure to create it is not reported.
QString getappsubdir(const QString& name);

// Screen position of the control's bottom-left corner, where a drop-down picker opens.
QPoint getcontrolbottomleft(const QWidget* control);

// The price-batch SELECT of the stock-detail query; the caller appends its condition.
QString getsrgdetailsql();
