#pragma once
// The collations and functions that make SQLite behave as the program expects of its server:
//  - collation dpxci: text compares ignoring case and trailing blanks;
//  - collation dpxdate: datetime texts compare as instants ('2024/1/5' = '2024-01-05');
//  - dpx_num(x, scale): x rounded to scale decimals (numeric columns hold exact decimals);
//  - dpx_dt(x): the canonical text of a datetime ('yyyy-mm-dd', then ' hh:nn:ss' when the time
//    is not midnight, then '.zzz' when there are milliseconds); '' is 1900-01-01;
//  - dpx_pad(x, n): fixed-width text padded with blanks;
//  - datediff(unit, a, b), dateadd(unit, n, d), getdate(), object_id(name);
//  - sum() and total() exact for values with up to 4 decimals.
// Both the engine and anything else that opens an account-set file register them.
#include <QString>
#include <QtGlobal>

struct sqlite3;

namespace sqlitedb {

void RegisterFunctions(sqlite3* db);

// Datetime text parsing shared with the engine's value conversion. Accepts "2024-01-05",
// "2024/1/5", "2024-1-5 8:30", "2024-01-05 08:30:00.123", "2024-01-05T08:30:00", "20240105".
// Gives milliseconds since 0001-01-01 local time.
bool ParseDateTime(const char* s, int len, qint64& msecs);
bool ParseDateTime(const QString& s, qint64& msecs);
// Canonical text of an instant.
QString CanonicalDateTime(qint64 msecs);
// The class library's day count (days since 1899-12-30, time as fraction) of an instant, and back.
double MsecsToDays(qint64 msecs);
qint64 DaysToMsecs(double days);

} // namespace sqlitedb
